#!/usr/bin/env bash
# Installs what building, running and testing orxweb needs on Debian 12.
# Idempotent: packages already present are not touched, and apt is not
# called at all when nothing is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-image-formats-plugins libxkbcommon-dev
  fonts-dejavu-core fonts-wqy-microhei
  libcurl4-openssl-dev libgraphicsmagick++1-dev libsane-dev sane-utils
  libturbojpeg0-dev libjpeg62-turbo-dev libjpeg-turbo-progs liblcms2-dev
  python3-pyftpdlib xvfb xauth xdotool imagemagick poppler-utils
  libopencv-dev
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: run as root or install sudo" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
