#!/bin/sh
# Starts «Тест Дорвела» in the user's own working folder. The program reads its data and writes
# its results relative to the folder it is started in, and creates no folder itself, so the
# first start lays out the folder "Тест Дорвела" in the user's documents folder: a copy of the
# data folder and the empty folders result and saved_img. A file or folder already there is
# never replaced: results and any data file the examiner changed stay as they are, also after
# the package is updated or removed.

here=$(dirname "$(readlink -f "$0")")
program="$here/../lib/dorvel/dorvel"
data_source="$here/../share/dorvel/Data"

documents=$(xdg-user-dir DOCUMENTS 2>/dev/null)
[ -n "$documents" ] || documents=$HOME
work="$documents/Тест Дорвела"

# The entry `name` of `folder` in any letter case, as the program looks names up; the name as
# given when there is none.
entry_in() {
    found=$(find "$1" -mindepth 1 -maxdepth 1 -iname "$2" -print -quit 2>/dev/null)
    echo "${found:-$1/$2}"
}

prepare() {
    mkdir -p "$work" || return 1
    data=$(entry_in "$work" Data)
    mkdir -p "$data" "$(entry_in "$work" result)" "$(entry_in "$work" saved_img)" || return 1
    for source in "$data_source"/*; do
        target=$(entry_in "$data" "$(basename "$source")")
        [ -e "$target" ] || cp -Rn "$source" "$target" || return 1
    done
}

if ! prepare; then
    echo "dorvel: не удалось подготовить рабочую папку «$work»." >&2
fi
# Where the working folder cannot be entered, the program starts in the home folder and says
# itself that it finds no data there.
cd "$work" 2>/dev/null || cd "$HOME" || exit 1
exec "$program" "$@"
