# Shared by scripts/test.sh and scripts/run.sh (sourced, not run): the Debian
# packages the trees need, their installation, and the optional build lock.

# Compilers, the Windows cross toolchain and a headless X server: every tree.
ORVANE_BUILD_PACKAGES=(cmake ninja-build g++ g++-mingw-w64-x86-64-posix mingw-w64-tools xvfb xauth)
# The tests, the fuzzers and the benchmarks.
ORVANE_TEST_PACKAGES=(clang libclang-rt-14-dev googletest pkg-config socat libvterm-dev)
# scripts/run.sh: window lookup (xwininfo), screen capture (xwd) and its conversion to PNG (netpbm).
ORVANE_RUN_PACKAGES=(x11-utils x11-apps netpbm)
# Installed with their recommended packages: they carry the X11 libraries and
# fonts that Wine's window and GDI code load at run time.
ORVANE_WINE_PACKAGES=(wine wine64)

# Runs a build or test command, under the shared lock when one is configured.
locked() {
    if [[ -n ${ORVANE_BUILD_LOCK:-} ]]; then
        flock "$ORVANE_BUILD_LOCK" "$@"
    else
        "$@"
    fi
}

# Prints the packages among the arguments that are not installed.
missing_packages() {
    local p
    for p in "$@"; do
        if ! dpkg-query -W -f='${db:Status-Abbrev}' "$p" 2>/dev/null | grep -q '^ii'; then
            echo "$p"
        fi
    done
}

# Installs whichever of the given packages and of Wine's are missing, with apt-get
# (through sudo when not root); the others without their recommended packages.
install_packages() {
    local missing missing_wine sudo=()
    mapfile -t missing < <(missing_packages "$@")
    mapfile -t missing_wine < <(missing_packages "${ORVANE_WINE_PACKAGES[@]}")
    if (( ${#missing[@]} == 0 && ${#missing_wine[@]} == 0 )); then
        echo "all packages present"
        return 0
    fi
    [[ $(id -u) -eq 0 ]] || sudo=(sudo)
    echo "installing: ${missing[*]} ${missing_wine[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -q
    if (( ${#missing[@]} )); then
        "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
    fi
    if (( ${#missing_wine[@]} )); then
        "${sudo[@]}" apt-get install -y -q "${missing_wine[@]}"
    fi
}
