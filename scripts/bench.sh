#!/usr/bin/env bash
# Installs what is missing, builds in Release and runs the benchmark on the offscreen platform.
# Arguments go to tarvane_bench, e.g.:
#   scripts/bench.sh                                   100 MB corpus, seed 1, 5 repetitions
#   scripts/bench.sh --size-mb 20 --reps 3
#   scripts/bench.sh --corpus /tmp/c100.xml --dump /tmp/c100.txt   keeps the corpus and its text dump
#   scripts/bench.sh --profile dictionary                          one profile (default: both)
#   scripts/bench.sh --big-mb 1024 --big-corpus /tmp/c1g.xml       adds the gigabyte rows
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=common.sh
source "$root/scripts/common.sh"

install_packages

build_release_target "$root" tarvane_bench

export QT_QPA_PLATFORM=offscreen
exec "$build/bench/tarvane_bench" "$@"
