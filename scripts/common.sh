# Shared by run.sh, test.sh and bench.sh: installs the Debian packages the build needs.
# shellcheck shell=bash

TARVANE_PACKAGES=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libqt6printsupport6
                  libexpat1-dev libxxhash-dev libgl-dev fonts-dejavu-core wfrench libxml2-utils qt6-translations-l10n
                  poppler-utils)
# Only scripts/fuzz.sh needs these, on top of the above.
TARVANE_FUZZ_PACKAGES=(clang libclang-rt-14-dev)

# Installs the packages named, TARVANE_PACKAGES without arguments.
install_packages() {
    local missing=()
    local package
    local wanted=("$@")
    if [ ${#wanted[@]} -eq 0 ]; then
        wanted=("${TARVANE_PACKAGES[@]}")
    fi
    for package in "${wanted[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages: ${missing[*]}" >&2
        echo "Install them with:" >&2
        echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Configures the Release build in build/release and builds one target of it.
build_release_target() {
    local root="$1" target="$2"
    build="$root/build/release"
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" --target "$target" -j "$(nproc)"
}
