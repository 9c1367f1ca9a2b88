#!/usr/bin/env bash
# Renders the README pictures (docs/*.png) from the real window, offscreen,
# on a copy of the stock data so that data/ stays untouched.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=common.sh
source "$root/scripts/common.sh"

install_packages

build_release_target "$root" tarvane_gencorpus
build_release_target "$root" tarvane_screenshots

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp -r "$root/data/." "$work/"
mkdir -p "$root/docs"
cd "$work"
# A small corpus of the generated dictionary, for the picture of a formatted article.
"$build/bench/tarvane_gencorpus" --size-mb 1 --profile dictionary --seed 1 "$work/dictionnaire.xml" >/dev/null
QT_QPA_PLATFORM=offscreen "$build/tools/tarvane_screenshots" "$root/docs" "$work/dictionnaire.xml"
echo "Written in $root/docs: corpus.png, recherche-simple.png, recherche-croisee.png, lecture.png, concordance.png, options.png, mise-en-forme.png"
