# Shared by ./test and ./run: install, build, Wine prefix, display.
# Sourced, not run.

BUILD_DIR="${BRUNLOW_BUILD_DIR:-$PWD/build}"
JOBS="${BRUNLOW_JOBS:-$(nproc)}"
export WINEPREFIX="$BUILD_DIR/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="
export DEBIAN_FRONTEND=noninteractive
# WinInet honours proxies from the environment; tests talk to loopback only.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY

# mingw-w64-tools brings widl; libwine-dev only the IDL files widl imports
# (oaidl.idl, unknwn.idl), which mingw's packages do not ship.
BRUNLOW_PACKAGES=(g++-mingw-w64-i686-posix wine wine32:i386 wine64 xvfb xauth cmake make
                  libboost-dev googletest fonts-wine fonts-liberation2 mingw-w64-tools libwine-dev
                  python3 librsvg2-bin)  # these two draw the pictures from their SVG sources

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

# Some kernels run no 32-bit code (booted without IA-32 emulation), and the
# 32-bit Wine loader then fails with "Exec format error". There the loader
# runs under QEMU's user-mode i386 emulator, registered with binfmt_misc.
# Debian 12's QEMU (7.2) needs about a minute to start each Wine process;
# Debian 13's starts one in half a second, so its static emulator is taken
# from Debian 13's signed archive.
BRUNLOW_QEMU_I386=/usr/local/libexec/brunlow/qemu-i386

brunlow_can_run_i386() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

brunlow_enable_i386() {
    brunlow_can_run_i386 && return 0
    if [ "$(id -u)" != 0 ]; then
        echo "error: this kernel runs no 32-bit programs; run as root to set up the i386 emulator" >&2
        exit 1
    fi
    if [ ! -x "$BRUNLOW_QEMU_I386" ]; then
        echo "This kernel runs no 32-bit programs: installing QEMU's i386 user-mode emulator"
        local apt_dir release
        apt_dir="$(mktemp -d)"
        mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/deb" "$apt_dir/sources"
        # Debian 13 from the archive this machine's own apt sources name.
        release="$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"
        if ! brunlow_suite_sources "$release" trixie /etc/apt "$apt_dir/sources"; then
            rm -rf "$apt_dir"
            exit 1
        fi
        local apt_options=(-q -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$apt_dir/sources"
                           -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache"
                           -o APT::Architectures::=amd64 -o APT::Sandbox::User=root)
        apt-get "${apt_options[@]}" update >/dev/null
        (cd "$apt_dir/deb" && apt-get "${apt_options[@]}" download qemu-user >/dev/null)
        dpkg-deb -x "$apt_dir"/deb/qemu-user_*.deb "$apt_dir/root"
        install -D -m 755 "$apt_dir/root/usr/bin/qemu-i386" "$BRUNLOW_QEMU_I386"
        rm -rf "$apt_dir"
    fi
    local binfmt=/proc/sys/fs/binfmt_misc
    [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
    if [ ! -e "$binfmt/brunlow-i386" ]; then
        # i386 executables and shared objects; F opens the emulator now, so
        # it serves every mount namespace and chroot.
        printf '%s' ':brunlow-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$BRUNLOW_QEMU_I386"':F' \
            > "$binfmt/register"
    fi
    if ! brunlow_can_run_i386; then
        echo "error: 32-bit programs do not run here, not even under $BRUNLOW_QEMU_I386" >&2
        exit 1
    fi
}

# brunlow_suite_sources <release> <suite> <apt folder> <output folder>
# Writes the machine's apt sources of its Debian release (the "deb" entries
# of suite <release> in <apt folder>, normally /etc/apt) with only the suite
# changed to <suite>: as brunlow.sources from deb822 files
# (sources.list.d/*.sources), else as brunlow.list from one-line ones
# (sources.list, sources.list.d/*.list). The tree names no archive of its
# own: the machine reaches the archive as it always does.
brunlow_suite_sources() {
    local release="$1" suite="$2" etc="$3" out="$4"
    local file
    rm -f "$out/brunlow.sources" "$out/brunlow.list"
    if [ -n "$release" ]; then
        for file in "$etc"/sources.list.d/*.sources; do
            [ -f "$file" ] || continue
            # One stanza a paragraph; comments dropped, every other field kept.
            awk -v release="$release" -v suite="$suite" '
                BEGIN { RS = ""; FS = "\n" }
                {
                    types = ""; suites = ""; enabled = "yes"; kept = ""; field = ""
                    for (i = 1; i <= NF; i++) {
                        line = $i
                        if (line ~ /^#/) continue
                        if (line ~ /^[ \t]/) {
                            if (field == "types") types = types " " line
                            else if (field == "suites") suites = suites " " line
                            else kept = kept "\n" line
                            continue
                        }
                        field = tolower(line); sub(/:.*/, "", field)
                        value = line; sub(/^[^:]*:[ \t]*/, "", value)
                        if (field == "types") types = value
                        else if (field == "suites") suites = value
                        else {
                            if (field == "enabled") enabled = tolower(value)
                            kept = kept "\n" line
                        }
                    }
                    types = " " types " "; suites = " " suites " "
                    gsub(/[ \t]+/, " ", types); gsub(/[ \t]+/, " ", suites)
                    if (enabled != "no" && index(types, " deb ") && index(suites, " " release " "))
                        printf "Types: deb\nSuites: %s%s\n\n", suite, kept
                }' "$file" >> "$out/brunlow.sources"
        done
        if [ ! -s "$out/brunlow.sources" ]; then
            rm -f "$out/brunlow.sources"
            for file in "$etc/sources.list" "$etc"/sources.list.d/*.list; do
                [ -f "$file" ] || continue
                # deb [options] URI suite components...
                awk -v release="$release" -v suite="$suite" '
                    { sub(/#.*/, "") }
                    $1 == "deb" {
                        i = 2; options = ""
                        if ($2 ~ /^\[/) {
                            for (; i <= NF; i++) { options = options " " $i; if ($i ~ /\]$/) break }
                            i++
                        }
                        if ($(i + 1) != release) next
                        line = "deb" options " " $i " " suite
                        for (j = i + 2; j <= NF; j++) line = line " " $j
                        print line
                    }' "$file" >> "$out/brunlow.list"
            done
            [ -s "$out/brunlow.list" ] || rm -f "$out/brunlow.list"
        fi
    fi
    if [ ! -e "$out/brunlow.sources" ] && [ ! -e "$out/brunlow.list" ]; then
        echo "error: no apt source of this machine names the Debian archive of release '${release:-unknown}':" \
             "configure a 'deb' source of suite '${release:-<release>}' in $etc/sources.list.d/*.sources" \
             "(deb822) or $etc/sources.list; its archive must also serve '$suite'" >&2
        return 1
    fi
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
    fi
    # Wine's own Tahoma, Marlett and MS Sans Serif (Debian's fonts-wine) are
    # found only inside the prefix. Copied on every run so that an older
    # prefix gets them too.
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    local font
    for font in /usr/share/wine/fonts/*.ttf; do
        [ -e "$fonts/${font##*/}" ] || cp "$font" "$fonts/"
    done
    # Settings of the prefix, imported into its 32-bit and its 64-bit
    # registry view again whenever they change: metric-compatible font
    # substitutes; top-level windows that Wine manages itself (without a
    # window manager, X otherwise makes every hide of an active window wait
    # two seconds); and no debugger for a crash that no handler of the
    # program took: Wine's own waits on a dialog nobody answers, while an
    # empty command fails to start and Wine ends the process at once with
    # the crash's code.
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

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"=""
"Auto"="1"
REG
    if ! cmp -s "$settings.new" "$settings"; then
        wine reg import "$settings.new" /reg:32 >/dev/null 2>&1 || true
        wine reg import "$settings.new" /reg:64 >/dev/null 2>&1 || true
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

# brunlow_passed_on_rerun <ctest output log>
# Prints one line naming every entry that failed a run and then passed a
# re-run ("none" when none did).
brunlow_passed_on_rerun() {
    local names=""
    if [ -f "$1" ]; then
        names="$(awk '
            match($0, /Test +#[0-9]+: [^ ]+ /) {
                name = substr($0, RSTART, RLENGTH - 1)
                sub(/^Test +#[0-9]+: /, "", name)
                if (index($0, "***")) failed[name] = 1
                else if ($0 ~ / Passed / && (name in failed) && !(name in named)) {
                    named[name] = 1
                    printf "%s%s", (n++ ? ", " : ""), name
                }
            }' "$1")"
    fi
    echo "passed only on a re-run: ${names:-none}"
}

brunlow_cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
}
