#!/usr/bin/env bash
# Sets up, builds a Release build in build-package/ and makes the Debian package of the program
# with CPack. The last line printed is the path of the .deb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-package
"$root/scripts/setup.sh"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DDORVEL_TESTS=OFF -DDORVEL_BENCH=OFF \
    -DDORVEL_PACKAGE=ON >/dev/null
cmake --build "$build" -j2
rm -f "$build"/deb/*.deb
cpack --config "$build/CPackConfig.cmake" -B "$build/deb" >&2
debs=("$build"/deb/*.deb)
echo "${debs[0]}"
