#!/usr/bin/env bash
# Installs the Debian packages the client needs to build, test, package and run, when
# missing.
set -euo pipefail

packages=(cmake g++ ninja-build qt6-base-dev qt6-base-dev-tools libgl-dev fonts-liberation fonts-dejavu-core netbase
          qt6-translations-l10n xvfb xauth x11-utils
          # a desktop with a screen reader's bus for the accessibility tests
          dbus at-spi2-core python3-pyatspi xdotool
          # making and checking the Debian package: PNG icons, dpkg-shlibdeps (needs file),
          # validators for the desktop entry, metainfo and manual pages
          librsvg2-bin dpkg-dev file desktop-file-utils appstream groff-base)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
