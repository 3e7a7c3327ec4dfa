# shellcheck shell=bash
# Installs the Debian packages the build, the tests, the demo and the release
# need, when any is missing. One apt-get update at most; safe to run again.

LINENAV_PACKAGES=(
    cmake g++ clang clang-format clang-tidy lld libclang-rt-14-dev googletest
    g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
    wine wine64 fonts-wine
    xvfb x11-utils xdotool imagemagick zip shellcheck
)

# What release.sh needs: the cross build of linenav.exe and the zip, no Wine.
LINENAV_RELEASE_PACKAGES=(
    cmake g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64 zip
)

# ensure_packages: all of LINENAV_PACKAGES, for everything but the release.
ensure_packages() { ensure_package_list "${LINENAV_PACKAGES[@]}"; }

# ensure_release_packages: LINENAV_RELEASE_PACKAGES alone, for release.sh.
ensure_release_packages() { ensure_package_list "${LINENAV_RELEASE_PACKAGES[@]}"; }

# ensure_package_list package...: installs those of the given packages that are
# missing.
ensure_package_list() {
    local missing=() package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "installing: ${missing[*]}" >&2
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
