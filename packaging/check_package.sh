#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks it: the files it holds, its
# dependencies, its menu entry (desktop-file-validate), and the launcher's preparing of the
# user's working folder, with a stand-in for the program that records where it was started.
#     check_package.sh <build folder> with-export|without-export [with-sheets|without-sheets]
set -euo pipefail
build=$(cd "$1" && pwd)
export_tool=$2
sheets_tool=${3:-without-sheets}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The package's component is installed here first, and CPack packs that folder: CPack's own
# install step would first bring the whole build tree up to date, which a test must not do.
# Everything else is CPack's configuration from the build, as scripts/package.sh uses it.
cmake --install "$build" --component package --prefix "$scratch/stage/usr" --strip \
    >"$scratch/install.log" 2>&1 || { cat "$scratch/install.log" >&2; fail "install"; }
cat >"$scratch/cpack.cmake" <<CONFIG
include("$build/CPackConfig.cmake")
set(CPACK_INSTALL_CMAKE_PROJECTS "")
set(CPACK_INSTALLED_DIRECTORIES "$scratch/stage;/")
CONFIG
cpack --config "$scratch/cpack.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log" >&2; fail "cpack"; }
debs=("$scratch"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single .deb made"
deb=${debs[0]}

# Files: the paths of the package, without the folders.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./|/|' | sort >"$scratch/files"
expected=(/usr/bin/dorvel /usr/lib/dorvel/dorvel
          /usr/share/dorvel/Data/data.kdt /usr/share/dorvel/Data/Key.kdt
          /usr/share/dorvel/Data/graph.bmp /usr/share/dorvel/Data/sq.bmp
          /usr/share/dorvel/Data/check_icon.ico
          /usr/share/applications/dorvel.desktop
          /usr/share/icons/hicolor/scalable/apps/dorvel.svg
          /usr/share/doc/dorvel/copyright /usr/share/doc/dorvel/guide-ru.md)
for size in 16 24 32 48 64 128 256; do
    expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/dorvel.png")
done
if [ "$export_tool" = with-export ]; then expected+=(/usr/bin/dorvel-export); fi
if [ "$sheets_tool" = with-sheets ]; then expected+=(/usr/bin/dorvel-sheets); fi
for path in "${expected[@]}"; do
    grep -qxF "$path" "$scratch/files" || fail "the package lacks $path"
done
# Nothing of the program folder's layout (result, saved_img, a top-level Data) gets in.
unexpected=$(grep -vxF -f <(printf '%s\n' "${expected[@]}") "$scratch/files" || true)
[ -z "$unexpected" ] || fail "the package holds unexpected files: $unexpected"

# Each needed package named once (the export's libraries come from the program's links alone).
depends=$(dpkg-deb -f "$deb" Depends)
needed=(libqt6widgets6 libqt6printsupport6 fonts-liberation fonts-comfortaa qt6-translations-l10n
        libreadstat1)
names=$(printf '%s\n' "$depends" | tr ',' '\n' | awk '{ print $1 }')
for package in "${needed[@]}"; do
    [ "$(grep -cxF "$package" <<<"$names")" = 1 ] ||
        fail "Depends names $package not once: $depends"
done
[ -z "$(sort <<<"$names" | uniq -d)" ] || fail "Depends names a package twice: $depends"
# The sheets tool writes and reads QR codes, straightens scans and renders scanned PDFs.
if [ "$sheets_tool" = with-sheets ]; then
    for package in libzxing2 libopencv-core406 libopencv-imgproc406 libpoppler-qt6-3 \
                   qt6-image-formats-plugins; do
        [ "$(grep -cxF "$package" <<<"$names")" = 1 ] ||
            fail "Depends names $package not once: $depends"
    done
fi

root=$scratch/root
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/dorvel.desktop" ||
    fail "desktop-file-validate"
grep -q '^License: GPL-3.0-or-later' "$root/usr/share/doc/dorvel/copyright" ||
    fail "the copyright file names no GPL-3.0-or-later"

# The packaged launcher finds the packaged program and data (packaging/check_launcher.sh tries
# its rules), with a stand-in program that notes its working directory.
cat >"$root/usr/lib/dorvel/dorvel" <<'STAND_IN'
#!/bin/sh
pwd >"$HOME/started-in"
STAND_IN
chmod +x "$root/usr/lib/dorvel/dorvel"
home=$scratch/home
mkdir "$home"
env -i HOME="$home" PATH=/usr/bin:/bin "$root/usr/bin/dorvel"
work="$home/Тест Дорвела"
[ "$(cat "$home/started-in")" = "$work" ] || fail "started in $(cat "$home/started-in")"
diff -r "$root/usr/share/dorvel/Data" "$work/Data" >/dev/null || fail "the data folder copy differs"
[ -d "$work/result" ] && [ -z "$(ls -A "$work/result")" ] || fail "no empty result folder"
[ -d "$work/saved_img" ] && [ -z "$(ls -A "$work/saved_img")" ] || fail "no empty saved_img folder"
echo "package check passed: $(basename "$deb")"
