# The Debian package: `cpack -G DEB` in the build folder makes kmc_<version>_<arch>.deb
# from the install rules. dpkg-shlibdeps computes the library dependencies; the ones
# below are what no library link shows: Qt's German texts (qtbase_de, loaded at start),
# the fonts asked for by name and /etc/protocols for the socket's protocol name.

set(KMC_MAINTAINER "Seed b7580f37 maintainers <maintainers@users.noreply.c-seed-b7580f37.example>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kmc)
set(CPACK_PACKAGE_VERSION ${KMC_DEB_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "client for text MUDs with a German user interface")
# Debian keeps translated descriptions outside the package, so the German summary is a
# paragraph of the long description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[
Kelmoth's Mud-Client (KMC) connects to a multi-user dungeon over telnet, shows
the server's coloured text in a console and sends what you type in one input
line. Its own command language adds aliases with parameters, recorded walking
paths, tab completion, function keys, keypad walking with a compass,
highlights, stored sessions, a session log, a notebook and online-time
statistics. The practice MUD kmc-demo-mud lets you try it without the internet.

Deutsch: Client für textbasierte MUDs mit deutscher Oberfläche.]=])

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KMC_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KMC_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-liberation, netbase")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
