#!/bin/sh
# Starts «Тест Дорвела» in the user's own working folder. The program reads its data and writes
# its results relative to the folder it is started in, and creates no folder itself, so the
# first start lays out the folder "Тест Дорвела" in the user's documents folder (in the home
# folder where there is none): a copy of the data folder and the empty folders result and
# saved_img. A file or folder already there is never replaced: results and any data file the
# examiner changed stay as they are, also after the package is updated or removed.
#
# Every path here is data: HOME and the documents folder may hold spaces, quotes, backslashes
# or "$(...)", and nothing of them is ever evaluated or echoed through escapes.

unset CDPATH
here=$(dirname -- "$(readlink -f -- "$0")")
program=$here/../lib/dorvel/dorvel
data_source=$here/../share/dorvel/Data
folder_name='Тест Дорвела'

say() {
    printf 'dorvel: %s\n' "$1" >&2
}

# The home folder: an absolute path of an existing folder, or the launcher refuses, so that
# nothing is ever laid out at the top of the file system.
home=${HOME-}
while :; do
    case $home in
    ?*/) home=${home%/} ;;
    *) break ;;
    esac
done
case $home in
/*) [ -d "$home" ] || home= ;;
*) home= ;;
esac
if [ -z "$home" ]; then
    say "нет домашней папки (HOME): рабочую папку «$folder_name» негде подготовить."
    exit 1
fi
base=${home%/}

config=${XDG_CONFIG_HOME-}
case $config in
/*) ;;
*) config=$base/.config ;;
esac
# The working folder once prepared, recorded so that it stays the one used even when a
# documents folder appears later.
record=$config/dorvel/working-folder

# Whether $1 is a path inside the home folder, without "." or ".." steps.
under_home() {
    case $1 in
    "$base"/?*) ;;
    *) return 1 ;;
    esac
    case /${1#"$base"/}/ in
    */../* | */./*) return 1 ;;
    esac
}

# The documents folder as user-dirs.dirs names it, into $documents. The file is written to be
# sourced by a shell, but sourcing it (as xdg-user-dir does, which then evaluates HOME as well)
# would run whatever it or HOME holds, so it is read as data: its two forms, "$HOME/..." and
# "/...", with backslash escapes; the last line naming the folder counts, as when sourced.
documents_folder() {
    file=$config/user-dirs.dirs
    [ -f "$file" ] || return 1
    value='' found=''
    while IFS= read -r line || [ -n "$line" ]; do
        case $line in
        'XDG_DOCUMENTS_DIR="'*'"')
            value=${line#'XDG_DOCUMENTS_DIR="'}
            value=${value%'"'}
            found=1
            ;;
        esac
    done <"$file"
    [ -n "$found" ] || return 1
    case $value in
    '$HOME' | '$HOME/'*)
        prefix=$base
        value=${value#'$HOME'}
        ;;
    /*) prefix= ;;
    *) return 1 ;;
    esac
    value=$(printf '%s' "$value" | sed 's/\\\([$`"\\]\)/\1/g'; printf x)
    documents=$prefix${value%x}
    while :; do
        case $documents in
        ?*/) documents=${documents%/} ;;
        *) break ;;
        esac
    done
}

# The entry `name` of `folder` in any letter case, as the program looks names up; the name as
# given when there is none.
entry_in() {
    found=$(find "$1" -mindepth 1 -maxdepth 1 -iname "$2" -printf '%f' -quit 2>/dev/null)
    printf '%s' "$1/${found:-$2}"
}

# The recorded folder while it is there; else a folder prepared earlier, in the documents
# folder first; else a new one, in the documents folder where that is an existing folder in the
# home folder.
choose_work() {
    recorded=
    if [ -f "$record" ]; then
        recorded=$(cat -- "$record" && printf x) && recorded=${recorded%x} || recorded=
        if under_home "$recorded" && [ -d "$recorded" ]; then
            work=$recorded
            return
        fi
    fi
    in_documents=
    if documents_folder && under_home "$documents" && [ -d "$documents" ]; then
        in_documents=$documents/$folder_name
    fi
    in_home=$base/$folder_name
    if [ -n "$in_documents" ] && [ -d "$in_documents" ]; then
        work=$in_documents
    elif [ -d "$in_home" ]; then
        work=$in_home
    else
        work=${in_documents:-$in_home}
    fi
}

# Makes the folder $1 unless it is there; only that last level is ever created.
make_folder() {
    [ -d "$1" ] || mkdir -- "$1"
}

# Each data file on its own: one that cannot be copied does not keep the others out. A link
# at a data file's name is left alone, even one pointing nowhere: nothing is written through it.
prepare() {
    make_folder "$work" || return 1
    ok=0
    data=$(entry_in "$work" Data)
    make_folder "$(entry_in "$work" result)" || ok=1
    make_folder "$(entry_in "$work" saved_img)" || ok=1
    make_folder "$data" || return 1
    for source in "$data_source"/*; do
        [ -e "$source" ] || continue
        target=$(entry_in "$data" "${source##*/}")
        if [ -L "$target" ] && [ ! -e "$target" ]; then
            say "«$target» — ссылка, которая никуда не ведёт; файл данных не скопирован."
            ok=1
        elif [ ! -e "$target" ]; then
            cp -R -- "$source" "$target" || ok=1
        fi
    done
    return $ok
}

choose_work
if ! prepare; then
    say "не удалось полностью подготовить рабочую папку «$work»."
fi
if cd "$work" 2>/dev/null; then
    if [ "$recorded" != "$work" ]; then
        { mkdir -p -- "${record%/*}" && printf '%s' "$work" >"$record"; } 2>/dev/null ||
            say "не удалось запомнить рабочую папку в «$record»."
    fi
else
    # Where the working folder cannot be entered, the program starts in the home folder and
    # says itself that it finds no data there.
    cd "$home" || exit 1
fi
exec "$program" "$@"
