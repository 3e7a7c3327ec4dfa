# Installs the Debian packages the build, the tests, the demo and the release
# need, when any is missing. One apt-get update at most; safe to run again.

LINENAV_PACKAGES=(
    cmake g++ clang clang-format libclang-rt-14-dev googletest
    g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
    wine wine64 fonts-wine
    xvfb x11-utils xdotool imagemagick zip
)

# What release.sh needs: the cross build of linenav.exe and the zip, no Wine.
LINENAV_RELEASE_PACKAGES=(
    cmake g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64 zip
)

# ensure_packages [package...]: the given packages, or all of the above.
ensure_packages() {
    local missing=() package wanted=("$@")
    [ ${#wanted[@]} -eq 0 ] && wanted=("${LINENAV_PACKAGES[@]}")
    for package in "${wanted[@]}"; do
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
