#!/usr/bin/env bash
# Installs the Debian packages the client needs to build, test and run, when missing.
set -euo pipefail

packages=(cmake g++ ninja-build qt6-base-dev qt6-base-dev-tools libgl-dev fonts-liberation fonts-dejavu-core netbase
          qt6-translations-l10n xvfb xauth x11-utils)
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
