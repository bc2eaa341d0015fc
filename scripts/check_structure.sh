#!/usr/bin/env bash
# Checks the source tree's structure and prints each offence; exits 1 if there is any:
#  - a folder includes only from the folders it stands on ("#include "<folder>/…"");
#  - platform/ and scoring/ include nothing of Qt Gui, Qt Widgets or Qt PrintSupport, and the
#    layers below the windows (graphics/, sheets/, export/) and tools/ nothing of Qt Widgets or
#    Qt PrintSupport;
#  - only one platform file makes operating-system calls of its own.
#   check_structure.sh [<Qt's header folder>]
# Qt's header folder (which tells a widget header from a Gui one) is asked of qtpaths6 when it
# is not given.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

qt_headers=${1:-$(qtpaths6 --query QT_INSTALL_HEADERS 2>/dev/null)}
if [[ ! -d $qt_headers/QtWidgets ]]; then
    echo "check_structure.sh: no Qt headers in '$qt_headers'; give Qt's header folder" >&2
    exit 2
fi

# What each folder may include from. The layers below the windows are libraries of their own
# that the command-line tools link: the core (platform, scoring) on Qt Core, graphics on Qt Gui,
# then the answer sheets and the export beside each other. The window folders stand on all of
# those, each on the window folders listed before it.
core_layers="platform scoring graphics sheets export"
declare -A may=(
    [platform]=""
    [scoring]="platform"
    [graphics]="platform scoring"
    [sheets]="platform scoring graphics"
    [export]="platform scoring graphics"
    [tools]="$core_layers"
    [fuzz]="platform scoring"
)
windows=(ui charts results collect archive app)
below="$core_layers"
for folder in "${windows[@]}"; do
    may[$folder]=$below
    below="$below $folder"
done
folders=(platform scoring graphics sheets export "${windows[@]}" tools fuzz)

# The Qt modules each folder must not include from.
declare -A forbidden=(
    [platform]="QtGui QtWidgets QtPrintSupport"
    [scoring]="QtGui QtWidgets QtPrintSupport"
    [fuzz]="QtGui QtWidgets QtPrintSupport"
    [graphics]="QtWidgets QtPrintSupport"
    [sheets]="QtWidgets QtPrintSupport"
    [export]="QtWidgets QtPrintSupport"
    [tools]="QtWidgets QtPrintSupport"
)

# The Qt module of an included header: <QtWidgets/QLabel>, <QtWidgets> or <QLabel>. A few old
# header names stand in two modules (qaction.h in QtGui and QtWidgets); the lower one counts.
module_of() {
    local header=$1 module
    if [[ $header == Qt*/* ]]; then
        echo "${header%%/*}"
        return
    fi
    for module in QtGui QtPrintSupport QtWidgets; do
        if [[ $header == "$module" || -e $qt_headers/$module/$header ]]; then
            echo "$module"
            return
        fi
    done
}

sources_of() {
    find "$1" -maxdepth 1 -type f \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null | sort
}

status=0
for folder in "${folders[@]}"; do
    [[ -d $folder ]] || continue
    allowed=" ${may[$folder]} $folder "
    while IFS=: read -r file line include; do
        target=$(sed -E 's/.*#include "([a-z_]+)\/.*/\1/' <<<"$include")
        if [[ $allowed != *" $target "* ]]; then
            echo "$file:$line: $folder/ includes from $target/, which it does not stand on"
            status=1
        fi
    done < <(sources_of "$folder" | xargs -r grep -nE '^\s*#\s*include "[a-z_]+/' /dev/null)

    [[ -n ${forbidden[$folder]:-} ]] || continue
    while IFS=: read -r file line include; do
        header=$(sed -E 's/.*#\s*include\s*<([^>]+)>.*/\1/' <<<"$include")
        module=$(module_of "$header")
        if [[ -n $module && " ${forbidden[$folder]} " == *" $module "* ]]; then
            echo "$file:$line: $folder/ includes <$header> of $module, which it must not use"
            status=1
        fi
    done < <(sources_of "$folder" | xargs -r grep -nE '^\s*#\s*include\s*<Q' /dev/null)
done

os_file=platform/os_files.cpp
while read -r hit; do
    [[ ${hit%%:*} == "$os_file" ]] && continue
    echo "$hit: operating-system headers belong in $os_file only"
    status=1
done < <(grep -rnE --include='*.cpp' --include='*.h' '#include <(unistd|fcntl)\.h>|#include <sys/' \
    "${folders[@]}" tests bench 2>/dev/null)

exit $status
