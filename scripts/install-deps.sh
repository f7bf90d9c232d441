#!/usr/bin/env bash
# Installs the platform packages that the build, the tests and `make run` need,
# asking apt only for the ones that are missing.
set -euo pipefail

packages=(
    cmake g++ ninja-build clang libclang-rt-14-dev
    qt6-base-dev libqt6opengl6-dev qt6-serialport-dev qt6-charts-dev
    libqt6sql6-sqlite libqt6sql6-psql
    libgtest-dev libgmock-dev libbenchmark-dev
    python3-fonttools fonts-dejavu-core fontconfig
    xvfb xauth imagemagick
    postgresql sqlite3
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
