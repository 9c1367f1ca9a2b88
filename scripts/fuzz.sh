#!/usr/bin/env bash
# Installs what is missing, builds the fuzz targets with clang in build/fuzz and runs one of them
# for a bounded time from its seeds; new inputs it finds go to build/fuzz/found-TARGET.
#   scripts/fuzz.sh                       fuzz_corpus for 60 seconds, seeds in fuzz/seeds
#   scripts/fuzz.sh 1200                  20 minutes
#   scripts/fuzz.sh 300 fuzz_settings     the settings file, seeds in fuzz/settings-seeds
#   scripts/fuzz.sh 300 fuzz_store        a corpus's store, seeds in fuzz/store-seeds
# A crash leaves its input in build/fuzz/ as crash-*, and the script fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=common.sh
source "$root/scripts/common.sh"

seconds="${1:-60}"
target="${2:-fuzz_corpus}"
case "$target" in
    fuzz_corpus) options=(-dict="$root/fuzz/xml.dict" -max_len=65536) seeds="$root/fuzz/seeds" ;;
    fuzz_settings) options=(-max_len=8192) seeds="$root/fuzz/settings-seeds" ;;
    fuzz_store) options=(-max_len=65536) seeds="$root/fuzz/store-seeds" ;;
    *) echo "Unknown target: $target (fuzz_corpus, fuzz_settings or fuzz_store)" >&2; exit 2 ;;
esac
install_packages "${TARVANE_PACKAGES[@]}" "${TARVANE_FUZZ_PACKAGES[@]}"

build="$root/build/fuzz"
cmake -S "$root" -B "$build" -DTARVANE_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" --target "$target" -j 2

found="$build/found-$target"
mkdir -p "$found"
cd "$build"
export ASAN_OPTIONS="detect_leaks=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
# One process (no -jobs): the machine is shared.
exec "$build/fuzz/$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=3072 -print_final_stats=1 \
    "${options[@]}" "$found" "$seeds"
