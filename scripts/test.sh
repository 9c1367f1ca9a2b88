#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite on the offscreen platform.
#   scripts/test.sh             Release build in build/test
#   scripts/test.sh --sanitize  AddressSanitizer and UndefinedBehaviorSanitizer build in build/sanitize
#   scripts/test.sh --tsan      ThreadSanitizer build in build/tsan, the corpus and search suites only
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=common.sh
source "$root/scripts/common.sh"

install_packages

build="$root/build/test"
options=(-DCMAKE_BUILD_TYPE=Release)
# The suites of corpus/ and search/, where the reader and the concordance sort use a second thread, and two
# window suites (none that forks) where a load runs on a worker thread.
suites=()
case "${1:-}" in
--sanitize)
    build="$root/build/sanitize"
    options=(-DCMAKE_BUILD_TYPE=Debug -DTARVANE_SANITIZE=ON)
    ;;
--tsan)
    build="$root/build/tsan"
    options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVANE_TSAN=ON)
    suites=(tst_xmldecoder tst_corpusfile tst_articleindex tst_settingsfile tst_atomicfile tst_corpusgenerator
            tst_highlighter tst_titlefilter tst_crosssearch tst_fulltextsearch tst_searchreport tst_stockdata
            tst_wordboundary tst_concordance tst_backgroundtask tst_corpusstore)
    ;;
esac
if [ -n "${CI:-}" ]; then
    options+=(-DTARVANE_WERROR=ON)
fi

cmake -S "$root" -B "$build" "${options[@]}" >/dev/null
if [ ${#suites[@]} -eq 0 ]; then
    cmake --build "$build" -j "$(nproc)"
else
    cmake --build "$build" -j "$(nproc)" --target "${suites[@]}"
fi

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
# Qt is not built with the sanitizer: what it does inside its own code (the QtTest watchdog thread
# joined through a futex) is left out, or it looks like races.
export TSAN_OPTIONS="halt_on_error=1:ignore_noninstrumented_modules=1${TSAN_OPTIONS:+:$TSAN_OPTIONS}"
if [ ${#suites[@]} -eq 0 ]; then
    ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
else
    ctest --test-dir "$build" --output-on-failure -j "$(nproc)" -R "^($(IFS='|'; echo "${suites[*]}"))\$"
fi
