# Shared by ./test and ./run: install, build, Wine prefix, display.
# Sourced, not run.

BUILD_DIR="${BRUNLOW_BUILD_DIR:-$PWD/build}"
JOBS="$(nproc)"
export WINEPREFIX="$BUILD_DIR/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="
export DEBIAN_FRONTEND=noninteractive
# WinInet honours proxies from the environment; tests talk to loopback only.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY

BRUNLOW_PACKAGES=(g++-mingw-w64-i686-posix wine wine32:i386 wine64 xvfb xauth cmake make
                  libboost-dev googletest fonts-wine fonts-liberation2)

brunlow_install_packages() {
    local missing=()
    local p
    for p in "${BRUNLOW_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" != 0 ]; then
        echo "error: missing packages (${missing[*]}); run as root to install them" >&2
        exit 1
    fi
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    apt-get update -qq
    apt-get install -y -qq -o Dpkg::Options::=--force-confdef -o Dpkg::Options::=--force-confold \
        "${missing[@]}" >/dev/null
}

brunlow_build() {
    # Configured every time: a new subsystem or stand-in folder is found then.
    cmake -S . -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-mingw32.cmake" >/dev/null
    cmake --build "$BUILD_DIR" --parallel "$JOBS" -- --no-print-directory -s
}

# A 64-bit prefix, as on 64-bit Windows; 32-bit programs run in its WoW64.
brunlow_prepare_wine() {
    export HOME="${HOME:-/root}"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix in $WINEPREFIX"
        WINEARCH=win64 wineboot -i >/dev/null 2>&1 || true
        wineserver -w
        # Wine's own Tahoma, Marlett and MS Sans Serif are found only inside the prefix.
        if [ -d /usr/share/fonts/truetype/wine ]; then
            cp -n /usr/share/fonts/truetype/wine/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
        fi
    fi
    # Settings of the prefix, imported again whenever they change:
    # metric-compatible font substitutes, and top-level windows that Wine
    # manages itself (without a window manager, X otherwise makes every hide
    # of an active window wait two seconds).
    local settings="$BUILD_DIR/prefix-settings.reg"
    cat > "$settings.new" <<'REG'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"Arial"="Liberation Sans"
"Courier New"="Liberation Mono"
"Times New Roman"="Liberation Serif"
"Verdana"="DejaVu Sans"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
REG
    if ! cmp -s "$settings.new" "$settings"; then
        wine regedit /S "$settings.new" >/dev/null 2>&1 || true
        wineserver -w
        mv "$settings.new" "$settings"
    else
        rm -f "$settings.new"
    fi
    # One server for the whole run saves each test its start-up. Its services
    # are started here, detached from our output: started by a test they would
    # inherit ctest's pipes and keep it waiting after the test ends.
    wineserver -p >/dev/null 2>&1 || true
    wine wineboot </dev/null >/dev/null 2>&1 || true
    trap brunlow_cleanup EXIT
}

brunlow_start_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    local n
    for n in $(seq 90 120); do
        [ -e "/tmp/.X${n}-lock" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        export DISPLAY=":$n"
        local i
        for i in $(seq 1 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && return 0
            kill -0 "$XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
    done
    echo "error: cannot start Xvfb" >&2
    exit 1
}

brunlow_cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
}
