#!/usr/bin/env bash
# Sets up, builds and runs every test through CTest twice: in a normal build and in a build
# with the address and undefined-behaviour sanitizers.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

run_suite() {
    local dir=$1
    shift
    cmake -S "$root" -B "$dir" -DDORVEL_BENCH=OFF -DDORVEL_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" -j2
    (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)
}

echo "== Tests"
run_suite "$root/build-test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDORVEL_PACKAGE=ON
echo "== Tests with the address and undefined-behaviour sanitizers"
run_suite "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DDORVEL_SANITIZE=ON
