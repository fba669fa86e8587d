#!/usr/bin/env bash
# Installs the Debian packages TOV needs to build and test, if any is missing.
# run.sh and test.sh call it first; it does nothing when all is there.
set -euo pipefail

tov_packages=(
    cmake
    ninja-build
    g++
    pkg-config
    libgtest-dev
    libpng-dev
    libarchive-dev
    libarchive-tools
    zlib1g-dev
    clang
    libclang-rt-14-dev
    qt6-base-dev
    libsdl2-dev
    libsoxr-dev
    # tools/check_install.sh: validators, manual pages, the Debian package
    desktop-file-utils
    appstream
    man-db
    groff-base
    shared-mime-info
    dpkg-dev
    file
)

tov_install_missing() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

tov_install_missing "${tov_packages[@]}"
