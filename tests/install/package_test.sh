#!/usr/bin/env bash
# Builds the Debian package from this build and checks it as a player meets it: what dpkg
# shows, valid desktop entry, metainfo and manual pages, and the unpacked client started
# without a display, keeping the player's files in the per-user folder.
set -eu
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "package: $*"; exit 1; }

(cd "$build" && cpack -G DEB -B "$tmp/out" >"$tmp/cpack.log" 2>&1) ||
  { cat "$tmp/cpack.log"; fail "cpack failed"; }
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb="$tmp/out/kmc_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb") among: $(ls "$tmp/out")"

[ "$(dpkg-deb -f "$deb" Package)/$(dpkg-deb -f "$deb" Section)" = kmc/games ] ||
  fail "not package kmc in section games"
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6printsupport6 qt6-translations-l10n fonts-liberation netbase; do
  grep -qE "(^|, )$d( |,|$)" <<<"$depends" || fail "Depends lacks $d: $depends"
done

dpkg -c "$deb" >"$tmp/contents"
stray=$(awk '$2 != "root/root" || ($6 != "./usr/" && $6 !~ /^\.\/usr\/(games|share)\//)' "$tmp/contents")
[ -z "$stray" ] || fail "outside /usr/games and /usr/share or not root's: $stray"
sizes="16 22 24 32 48 64 128 256"
expected="games/kmc games/kmc-demo-mud share/kmc/mudhelp.txt share/applications/kmc.desktop
  share/icons/hicolor/scalable/apps/kmc.svg share/man/man6/kmc.6.gz share/man/man6/kmc-demo-mud.6.gz"
for s in $sizes; do expected+=" share/icons/hicolor/${s}x${s}/apps/kmc.png"; done
for f in $expected; do
  grep -qE "^-\S+ root/root +[0-9]+ \S+ \S+ \./usr/$f$" "$tmp/contents" || fail "not in the package: /usr/$f"
done
grep -qE ' \./usr/share/metainfo/[^/]+\.metainfo\.xml$' "$tmp/contents" || fail "no metainfo file"

root=$tmp/root
dpkg -x "$deb" "$root"
share=$root/usr/share
out=$(desktop-file-validate "$share/applications/kmc.desktop" 2>&1) && [ -z "$out" ] ||
  fail "desktop entry: $out"
appstreamcli validate --no-net "$share"/metainfo/*.metainfo.xml >"$tmp/appstream" 2>&1 ||
  { cat "$tmp/appstream"; fail "metainfo does not validate"; }
for page in kmc kmc-demo-mud; do
  out=$(gzip -dc "$share/man/man6/$page.6.gz" | groff -man -Tutf8 -ww -z 2>&1) && [ -z "$out" ] ||
    fail "man page $page: $out"
done
for s in $sizes; do
  [ "$(od -An -tu4 --endian=big -j16 -N8 "$share/icons/hicolor/${s}x${s}/apps/kmc.png" | xargs)" = "$s $s" ] ||
    fail "icon ${s}x${s} has another size"
done

# As a player's shell would: no display, no platform chosen.
export HOME="$tmp/home" XDG_DATA_HOME="$tmp/home/.local/share" XDG_DATA_DIRS="$share"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
mkdir -p "$HOME"
kmc=$root/usr/games/kmc
"$kmc" --version >"$tmp/version" || fail "kmc --version failed"
[ "$(head -n 1 "$tmp/version")" = "Kelmoth's Mud-Client (KMC) V${version//\~/}" ] ||
  fail "kmc --version says: $(cat "$tmp/version")"
"$kmc" --help >"$tmp/help" || fail "kmc --help failed"
grep -qxF "Hilfetexte: $share/kmc/mudhelp.txt" "$tmp/help" &&
  grep -qF "): $XDG_DATA_HOME/kmc/" "$tmp/help" || fail "kmc --help names other folders: $(cat "$tmp/help")"
"$root/usr/games/kmc-demo-mud" --help >/dev/null || fail "kmc-demo-mud --help failed"

rc=0
QT_QPA_PLATFORM=offscreen timeout 8 "$kmc" || rc=$?
[ $rc -eq 124 ] || fail "the unpacked client ended by itself with $rc"
[ -d "$XDG_DATA_HOME/kmc/conf" ] && [ -d "$XDG_DATA_HOME/kmc/log" ] || fail "no per-user conf/ and log/"
[ ! -e "$root/usr/games/conf" ] || fail "wrote beside the installed program"
echo "package ok: $(basename "$deb"), $(wc -l <"$tmp/contents") entries, player files in $XDG_DATA_HOME/kmc"
