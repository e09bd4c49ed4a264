#!/usr/bin/env bash
# Installs what building and testing need, from Debian's packages (run as root).
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config ccache
    libicu-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev clang-format clang-tidy
    qt6-base-dev qt6-base-dev-tools libgl-dev libicu-dev
    fonts-liberation xvfb xauth poppler-utils
    qt6-svg-dev libzip-dev
    qt6-image-formats-plugins
    qt6-base-private-dev
    dpkg-dev file lintian appstream desktop-file-utils shared-mime-info xdg-utils
    libglib2.0-bin libfile-mimeinfo-perl man-db hicolor-icon-theme
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} > 0)); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
