#!/usr/bin/env bash
# Installs from Debian's packages whatever the build, the viewer and the tests need.
set -euo pipefail
packages=(
    build-essential cmake ninja-build ccache
    clang-14 libclang-rt-14-dev clang-format
    qt6-base-dev qt6-svg-dev qt6-qpa-plugins qt6-image-formats-plugins qt6-translations-l10n
    libcups2-dev
    libjpeg62-turbo-dev libturbojpeg0-dev libjpeg-turbo-progs
    pkg-config libopenjp2-7-dev libopenjp2-tools
    googletest libgtest-dev
    xvfb xdotool imagemagick x11-utils openbox
    tesseract-ocr tesseract-ocr-ita python3 python3-pil python3-xlib fonts-dejavu-core
    cups printer-driver-cups-pdf poppler-utils
    chromium
)
# The Debian package: CPack's generator reads binaries with `file`; the test installs it under
# fakeroot and checks it, its desktop entry, AppStream data and manual pages with Debian's tools.
packages+=(file fakeroot lintian desktop-file-utils appstream man-db)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# The packing tool's browser and IIIF tests run on Node with npm. A Node of another origin may
# already bring its own npm, which Debian's package would conflict with.
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [[ $(id -u) -ne 0 ]] && SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi
