# Shared by the scripts: where things are, what the project needs installed, and how Wine runs.
# Sourced, not run.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD="$ROOT/build"

# Debian packages: to build all three builds, and to run the tests.
BUILD_PACKAGES=(cmake ninja-build g++ googletest g++-mingw-w64-i686 g++-mingw-w64-x86-64)
TEST_PACKAGES=(wine wine64 xvfb icoutils fonts-wqy-microhei locales xxd clang libclang-rt-14-dev)

note() { printf '== %s\n' "$*" >&2; }
die() { printf 'error: %s\n' "$*" >&2; exit 1; }

# Installs whichever of the named packages are missing (as root; otherwise says what to install).
ensure_packages() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        die "missing packages: ${missing[*]} (install them with apt-get as root)"
    fi
    note "installing ${missing[*]}"
    if [ -z "${APT_UPDATED:-}" ]; then
        timeout 600 apt-get update -qq || die "apt-get update failed"
        export APT_UPDATED=1
    fi
    DEBIAN_FRONTEND=noninteractive timeout 1800 apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null || die "apt-get install ${missing[*]} failed"
}

# ---- Wine: the x86_64 build runs under wine64, in a prefix of its own, with code page 936 ----
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

wine_env() {
    export WINEPREFIX="$BUILD/wineprefix"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer prompts
    export LOCPATH="$BUILD/locale"
    export LANG=zh_CN.UTF-8
    unset DISPLAY  # the tests need no display; a stale one could stall Wine's start
}

# The zh_CN.UTF-8 locale, built into the build folder: Wine takes its ANSI code page from it.
ensure_locale() {
    [ -f "$BUILD/locale/zh_CN.UTF-8/LC_CTYPE" ] && return 0
    mkdir -p "$BUILD/locale"
    localedef -i zh_CN -f UTF-8 "$BUILD/locale/zh_CN.UTF-8" >/dev/null 2>&1 ||
        [ -f "$BUILD/locale/zh_CN.UTF-8/LC_CTYPE" ] || die "cannot build the zh_CN.UTF-8 locale"
}

ensure_wine_prefix() {
    wine_env
    ensure_locale
    [ -f "$WINEPREFIX/system.reg" ] && return 0
    note "creating the Wine prefix $WINEPREFIX"
    timeout -k 10 180 "$WINE64" wineboot -i >/dev/null 2>&1 || die "wineboot timed out or failed"
    timeout 60 "$WINESERVER" -w || true
}

stop_wine() {
    wine_env
    timeout 20 "$WINESERVER" -k >/dev/null 2>&1 || true
    timeout 20 "$WINESERVER" -w >/dev/null 2>&1 || true
}

# Wine's 32-bit modules (PE32 DLLs and executables with real icon groups) as test material:
# unpacked from Debian's libwine:i386 into build/wine-i386 unless the package is installed.
# Only files are taken; nothing of it is installed or run.
fetch_wine_i386_modules() {
    local target="$BUILD/wine-i386" package
    [ -d /usr/lib/i386-linux-gnu/wine/i386-windows ] && return 0
    [ -d "$target/usr/lib/i386-linux-gnu/wine/i386-windows" ] && return 0
    [ "$(id -u)" -eq 0 ] || { note "not root: testing without Wine's 32-bit modules"; return 0; }
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386 && timeout 600 apt-get update -qq || true
    fi
    mkdir -p "$BUILD/downloads" "$target"
    (cd "$BUILD/downloads" && timeout 600 apt-get download -q libwine:i386 >/dev/null 2>&1) ||
        { note "libwine:i386 could not be fetched: testing without Wine's 32-bit modules"; return 0; }
    package=$(ls "$BUILD"/downloads/libwine_*_i386.deb | head -n 1)
    dpkg-deb --fsys-tarfile "$package" | tar -x -C "$target" --wildcards '*/i386-windows/*'
    rm -f "$package"
}
