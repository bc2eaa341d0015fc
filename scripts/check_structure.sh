#!/usr/bin/env bash
# Checks the source tree's structure: includes point one way (a folder includes only from the
# folders below it), the GUI-free folders include no widgets, and only one platform file makes
# operating-system calls of its own. Prints each offence; exits 1 if there is any.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# From the bottom up. tools/ builds the data folder and may use the chart geometry.
order=(platform scoring ui charts export results collect archive app)
os_file=platform/os_files.cpp

rank() {
    local i
    for i in "${!order[@]}"; do
        [[ ${order[$i]} == "$1" ]] && { echo "$i"; return; }
    done
    echo -1
}

status=0
for folder in "${order[@]}"; do
    mine=$(rank "$folder")
    while IFS=: read -r file line include; do
        target=$(sed -E 's/.*#include "([a-z_]+)\/.*/\1/' <<<"$include")
        theirs=$(rank "$target")
        if ((theirs > mine)); then
            echo "$file:$line: $folder/ includes from $target/, which stands above it"
            status=1
        fi
    done < <(grep -nE '^#include "[a-z_]+/' "$folder"/*.cpp "$folder"/*.h 2>/dev/null)
done

for folder in platform scoring; do
    if grep -nE '#include <Q(Widget|Gui|Painter|Image|Pixmap|Label|Application)' "$folder"/* \
        2>/dev/null; then
        echo "$folder/ must stay free of the user interface"
        status=1
    fi
done

while read -r hit; do
    [[ ${hit%%:*} == "$os_file" ]] && continue
    echo "$hit: operating-system headers belong in $os_file only"
    status=1
done < <(grep -rnE --include='*.cpp' --include='*.h' '#include <(unistd|fcntl)\.h>|#include <sys/' \
    "${order[@]}" tests bench fuzz tools)

exit $status
