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
    postgresql sqlite3 locales
    dpkg-dev file desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing missing packages: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A locale with a decimal comma: the tests check that statements and files keep the point
# under it. Debian generates none by itself.
if ! locale -a 2>/dev/null | grep -ix 'sr_RS\.utf-\?8' >/dev/null; then
    if ! grep -qx 'sr_RS.UTF-8 UTF-8' /etc/locale.gen; then
        echo 'sr_RS.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    fi
    $sudo locale-gen
fi
