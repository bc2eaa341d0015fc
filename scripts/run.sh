#!/usr/bin/env bash
# Sets up, builds, lays out a ready program folder in run/ (the program, its data folder and
# the empty folders result and saved_img) and starts the program there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release -DDORVEL_TESTS=OFF -DDORVEL_BENCH=OFF >/dev/null
cmake --build "$root/build" -j2
cmake --install "$root/build" --prefix "$root/run" >/dev/null

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display to show the program on: run this in a desktop session (or set DISPLAY)." >&2
    printf 'The program folder is ready: cd "%s" && ./dorvel\n' "$root/run" >&2
    exit 1
fi
cd "$root/run"
exec ./dorvel
