#!/usr/bin/env bash
# Installs what the workbench, its tests, benchmarks and fuzz harnesses need on Debian 12 (when run as root
# and something is missing) and configures the build in build/. The callers build what they
# need: start.sh only the programs it starts, test.sh everything.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ make ninja-build pkg-config libgtest-dev libbenchmark-dev libfmt-dev libcli11-dev
          qt6-base-dev qt6-svg-dev xvfb xauth fonts-dejavu-core fontconfig poppler-utils
          libavcodec-dev libavformat-dev libswscale-dev ffmpeg clang libclang-rt-dev desktop-file-utils
          libbiosig-dev libedf-dev libgdf-dev libboost-dev libfftw3-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]} (run as root to install them)" >&2
    exit 1
  fi
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
