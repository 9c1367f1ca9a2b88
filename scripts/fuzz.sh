#!/usr/bin/env bash
# Installs what is missing, builds the corpus fuzz target with clang in build/fuzz and runs it for
# a bounded time from the seeds in fuzz/seeds (new inputs it finds go to build/fuzz/found).
#   scripts/fuzz.sh          60 seconds
#   scripts/fuzz.sh 1200     20 minutes
# A crash leaves its input in build/fuzz/ as crash-*, and the script fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=common.sh
source "$root/scripts/common.sh"

seconds="${1:-60}"
install_packages "${TARVANE_PACKAGES[@]}" "${TARVANE_FUZZ_PACKAGES[@]}"

build="$root/build/fuzz"
cmake -S "$root" -B "$build" -DTARVANE_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" --target fuzz_corpus -j 2

mkdir -p "$build/found"
cd "$build"
export ASAN_OPTIONS="detect_leaks=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
# One process (no -jobs): the machine is shared.
exec "$build/fuzz/fuzz_corpus" -max_total_time="$seconds" -max_len=65536 -timeout=20 -rss_limit_mb=3072 \
    -print_final_stats=1 "$build/found" "$root/fuzz/seeds"
