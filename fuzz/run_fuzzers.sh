#!/bin/sh
# Builds the fuzz targets in build-fuzz (clang) and runs each for the given number of seconds
# (default 60), one after the other, with a corpus of its own kept in build-fuzz/corpus.
# Usage: fuzz/run_fuzzers.sh [seconds] [build folder]
# It needs clang and its fuzzer runtime (Debian: clang, libclang-rt-14-dev), which
# `scripts/setup.sh fuzz` installs; it runs that first.
set -eu
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" fuzz
# The fuzzers run inside the build folder, so it is made absolute first.
build=${2:-$root/build-fuzz}
mkdir -p "$build"
build=$(cd "$build" && pwd)

cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DDORVEL_FUZZ=ON \
    -DDORVEL_TESTS=OFF -DDORVEL_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target fuzz_result_record fuzz_key

# Seeds: the installation's key followed by a sheet of answers, and one whole record.
mkdir -p "$build/corpus/fuzz_key" "$build/corpus/fuzz_result_record"
{ cat "$root/data/src/key.txt"; printf '\001\002\003%.0s' $(seq 35); } >"$build/corpus/fuzz_key/seed"
{ printf '\006Petrov'; head -c 14 /dev/zero; printf '\004Anna'; head -c 16 /dev/zero
  printf '\0012\000\000\000\000\005PS-21\001\002\003\004\005\006\007\010\011\012\012\011\010\007\006\005\004\000'
  printf '\000\000\000\000\300\037\343\100\001'; head -c 7 /dev/zero
} >"$build/corpus/fuzz_result_record/seed"

status=0
for target in fuzz_result_record fuzz_key; do
    corpus=$build/corpus/$target
    echo "== $target for $seconds s"
    (cd "$build" && "./fuzz/$target" "$corpus" -max_total_time="$seconds" -print_final_stats=1 -max_len=1024 \
        -artifact_prefix="$build/$target-") || status=1
done
exit $status
