#!/usr/bin/env bash
# Checks that every C++ source of the tree is formatted as the root .clang-format says; prints
# each deviation and exits non-zero if there is any.
#   check_format.sh [<clang-format>]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
clang_format=${1:-clang-format}
if ! command -v "$clang_format" >/dev/null; then
    echo "check_format.sh: $clang_format is missing (scripts/setup.sh installs it)" >&2
    exit 2
fi

# The source folders are the top-level folders with a CMakeLists.txt; build folders have none.
folders=()
for list in */CMakeLists.txt; do
    folders+=("${list%/CMakeLists.txt}")
done
find "${folders[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z |
    xargs -0 "$clang_format" --dry-run --Werror
