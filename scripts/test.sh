#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite on the offscreen platform.
#   scripts/test.sh             Release build in build/test
#   scripts/test.sh --sanitize  AddressSanitizer and UndefinedBehaviorSanitizer build in build/sanitize
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=common.sh
source "$root/scripts/common.sh"

install_packages

build="$root/build/test"
options=(-DCMAKE_BUILD_TYPE=Release)
if [ "${1:-}" = "--sanitize" ]; then
    build="$root/build/sanitize"
    options=(-DCMAKE_BUILD_TYPE=Debug -DTARVANE_SANITIZE=ON)
fi
if [ -n "${CI:-}" ]; then
    options+=(-DTARVANE_WERROR=ON)
fi

cmake -S "$root" -B "$build" "${options[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
