#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Tesmora
# need; packages that are already there are left alone.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev libxcb1-dev libcurl4-openssl-dev
  fontconfig fonts-liberation2 fonts-croscore
  # Indic, Sinhala and Khmer text, which Qt draws only with a font of the script
  fonts-lohit-deva fonts-lohit-beng-bengali fonts-lohit-guru fonts-lohit-gujr
  fonts-lohit-orya fonts-lohit-taml fonts-lohit-telu fonts-lohit-knda fonts-lohit-mlym
  fonts-lklug-sinhala fonts-khmeros
  # HD subtitles are drawn by libass, the renderer players use
  libass-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  ffmpeg mkvtoolnix dvdauthor lsdvd
  help2man man-db
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
