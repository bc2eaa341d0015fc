#!/usr/bin/env bash
# The launcher's preparing of the user's working folder, run as the menu runs it (only HOME and
# PATH set) with a stand-in for the program that records where it was started.
#     check_launcher.sh <launcher script>
set -euo pipefail
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { printf 'FAIL: %s\n' "$*" >&2; exit 1; }

root=$scratch/root
data_files=(data.kdt Key.kdt graph.bmp)
mkdir -p "$root/usr/bin" "$root/usr/lib/dorvel" "$root/usr/share/dorvel/Data" "$scratch/cwd"
cp "$1" "$root/usr/bin/dorvel"
for name in "${data_files[@]}"; do
    printf '%s\n' "$name" >"$root/usr/share/dorvel/Data/$name"
done
cat >"$root/usr/lib/dorvel/dorvel" <<'STAND_IN'
#!/bin/sh
pwd >"$STARTED_IN"
STAND_IN
chmod +x "$root/usr/bin/dorvel" "$root/usr/lib/dorvel/dorvel"

started=$scratch/started-in
launch() {
    rm -f "$started"
    (cd "$scratch/cwd" && env -i HOME="$1" PATH=/usr/bin:/bin STARTED_IN="$started" \
        "$root/usr/bin/dorvel" 2>"$scratch/stderr")
}
# The program started in $1, which holds every data file and the folders result and saved_img.
expect_started_in() {
    [ -f "$started" ] || fail "the program did not start"
    [ "$(cat "$started")" = "$1" ] || fail "started in «$(cat "$started")», not «$1»"
    for name in "${data_files[@]}"; do
        [ -e "$1/Data/$name" ] || [ -L "$1/Data/$name" ] || fail "no $name in «$1/Data»"
    done
    [ -d "$1/result" ] && [ -d "$1/saved_img" ] || fail "no result or saved_img in «$1»"
}
expect_copied() {
    for name in "${data_files[@]}"; do
        cmp -s "$root/usr/share/dorvel/Data/$name" "$1/Data/$name" ||
            fail "$name not copied into «$1/Data»"
    done
}
config_documents() {
    mkdir -p "$1/.config"
    printf 'XDG_DOCUMENTS_DIR="%s"\n' "$2" >"$1/.config/user-dirs.dirs"
}

# HOMEs and documents folders holding what a shell would run or take apart; none of it runs
# (no file X or Y appears), and the working folder lands in the documents folder only where
# that is an existing folder inside HOME.
hostile='h $(touch X) `touch Y` "q" '\''s'\'' back\slash  two  spaces'
#      name                     documents setting                   made  expected folder
rows=("no documents setting"    ""                                  ""    "Тест Дорвела"
      "documents in HOME"       '$HOME/Документы'                   Документы "Документы/Тест Дорвела"
      "escapes in the setting"  '$HOME/d \"q\" \$(touch X) \\b'     'd "q" $(touch X) \b' 'd "q" $(touch X) \b/Тест Дорвела'
      "documents not yet made"  '$HOME/Документы'                   ""    "Тест Дорвела"
      "documents outside HOME"  "$scratch/elsewhere"                ""    "Тест Дорвела"
      "documents above HOME"    '$HOME/../elsewhere'                ""    "Тест Дорвела"
      "documents is HOME"       '$HOME'                             ""    "Тест Дорвела")
mkdir "$scratch/elsewhere"
for ((i = 0; i < ${#rows[@]}; i += 4)); do
    row=${rows[i]}
    home=$scratch/$i/$hostile/
    mkdir -p "$home"
    [ -z "${rows[i + 1]}" ] || config_documents "$home" "${rows[i + 1]}"
    [ -z "${rows[i + 2]}" ] || mkdir "$home/${rows[i + 2]}"
    launch "$home" || fail "$row: the launcher failed"
    expect_started_in "$scratch/$i/$hostile/${rows[i + 3]}"
    expect_copied "$scratch/$i/$hostile/${rows[i + 3]}"
    [ -z "$(find "$scratch" \( -name X -o -name Y \) -print -quit)" ] || fail "$row: a command ran"
    [ -z "$(ls -A "$scratch/elsewhere")" ] || fail "$row: a folder made outside HOME"
    [ "${rows[i + 2]}" = Документы ] || [ ! -e "$home/Документы" ] ||
        fail "$row: the documents folder was created"
done

# A documents folder that appears after the first start does not move the working folder.
home=$scratch/later
mkdir "$home"
launch "$home"
expect_started_in "$home/Тест Дорвела"
config_documents "$home" '$HOME/Документы'
mkdir "$home/Документы"
launch "$home"
expect_started_in "$home/Тест Дорвела"
[ ! -e "$home/Документы/Тест Дорвела" ] || fail "a second working folder was made"
rm "$home/.config/dorvel/working-folder" # without the record, the prepared folder still wins
launch "$home"
expect_started_in "$home/Тест Дорвела"

# A second start keeps what is there: results, a changed key; a data file gone is put back, and
# one that is a link pointing nowhere neither stops the others nor is written through.
work="$home/Тест Дорвела"
echo results >"$work/result/01.02.2027.res"
echo changed >"$work/Data/Key.kdt"
rm "$work/Data/graph.bmp" "$work/Data/data.kdt"
ln -s "$scratch/nowhere/data.kdt" "$work/Data/data.kdt"
launch "$home"
expect_started_in "$work"
[ "$(cat "$work/result/01.02.2027.res")" = results ] || fail "a result file changed"
[ "$(cat "$work/Data/Key.kdt")" = changed ] || fail "a changed data file was replaced"
cmp -s "$root/usr/share/dorvel/Data/graph.bmp" "$work/Data/graph.bmp" || fail "graph.bmp not restored"
[ ! -e "$scratch/nowhere" ] || fail "written through the dangling link"
grep -q 'data.kdt' "$scratch/stderr" || fail "the dangling link was not reported"

# A data folder in another letter case serves; no second one is made beside it.
home=$scratch/plain
mkdir -p "$home/Тест Дорвела/data"
echo own >"$home/Тест Дорвела/data/data.kdt"
launch "$home"
[ "$(cat "$started")" = "$home/Тест Дорвела" ] || fail "started in $(cat "$started")"
[ ! -e "$home/Тест Дорвела/Data" ] || fail "a second data folder was made beside 'data'"
[ "$(cat "$home/Тест Дорвела/data/data.kdt")" = own ] || fail "data.kdt replaced"
[ -f "$home/Тест Дорвела/data/Key.kdt" ] || fail "Key.kdt not added to 'data'"

# Without a usable HOME nothing is laid out and the program does not start.
for home in "" relative "$scratch/missing"; do
    ! launch "$home" || fail "started with HOME «$home»"
    [ ! -e "$started" ] && [ ! -e "$scratch/cwd/Тест Дорвела" ] || fail "HOME «$home» used"
done
echo "launcher check passed"
