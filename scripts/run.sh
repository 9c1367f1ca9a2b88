#!/usr/bin/env bash
# Installs what is missing, builds in Release and starts Tarvane in data/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=common.sh
source "$root/scripts/common.sh"

install_packages

build_release_target "$root" tarvane

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display: Tarvane is a desktop program and needs a graphical session (DISPLAY or WAYLAND_DISPLAY)." >&2
    exit 1
fi

cd "$root/data"
exec "$build/app/tarvane" "$@"
