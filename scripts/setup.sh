#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build, run and test the program: the
# compiler and CMake, Qt 6 Widgets and PrintSupport with the offscreen and xcb platform
# plugins and Qt's Russian texts, fonts with Cyrillic, rsvg-convert for the icon, the
# libraries that write the table as Excel (zlib packs the workbook) and SPSS (ReadStat) files,
# pkg-config to find libraries, unzip for the test that reads the Excel file back, what
# making and checking the Debian package takes, and for paper answer sheets OpenCV's core,
# image processing and geometry parts, zxing-cpp for the QR code, poppler for reading scanned
# PDFs and Qt's TIFF and JPEG plugins, and clang-format for the test of the sources' format.
# Packages already present are not touched.
#     setup.sh [fuzz]   with "fuzz", also clang and its fuzzer runtime for fuzz/run_fuzzers.sh
set -euo pipefail

packages=(g++ cmake make qt6-base-dev libqt6printsupport6 qt6-qpa-plugins libgl-dev
          fonts-liberation fonts-comfortaa fontconfig poppler-utils qt6-translations-l10n
          librsvg2-bin dpkg-dev file desktop-file-utils pkg-config
          zlib1g-dev libreadstat-dev unzip libopencv-core-dev libopencv-imgproc-dev
          libopencv-calib3d-dev libzxing-dev libpoppler-qt6-dev qt6-image-formats-plugins
          clang-format)
if [ "${1:-}" = fuzz ]; then
    packages+=(clang libclang-rt-14-dev)
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
        as_root=(sudo)
    else
        echo "Missing packages (${missing[*]}) and no root rights to install them." >&2
        exit 1
    fi
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
