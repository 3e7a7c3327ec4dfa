# Installs the Debian packages the build, the tests and the demo need, when
# any is missing. One apt-get update at most; safe to run again.

LINENAV_PACKAGES=(
    cmake g++ clang clang-format libclang-rt-14-dev googletest
    g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
    wine wine64 fonts-wine
    xvfb x11-utils xdotool imagemagick
)

ensure_packages() {
    local missing=() package
    for package in "${LINENAV_PACKAGES[@]}"; do
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
