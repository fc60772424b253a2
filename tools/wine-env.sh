# Shared shell helpers of the build and test scripts; sourced, not run.
# shellcheck shell=bash

VELQUOR_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export DEBIAN_FRONTEND=noninteractive

# Runs a command as root: directly when we are root, else through sudo.
as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

# True when the Debian package is installed.
package_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# Installs those of the named Debian packages that are missing.
# apt-get update runs once per process, and only when something is missing.
ensure_packages() {
    local missing=() p
    for p in "$@"; do
        package_installed "$p" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    if [ -z "${VELQUOR_APT_UPDATED:-}" ]; then
        as_root apt-get update -q
        VELQUOR_APT_UPDATED=1
        export VELQUOR_APT_UPDATED
    fi
    as_root env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q "${missing[@]}"
}

# Wine without its add-on installers and without desktop menu entries.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win64

VELQUOR_DESKTOP_SIZE=1024x768

# Starts Xvfb on a free display when DISPLAY is not set, and exports DISPLAY.
# VELQUOR_XVFB_PID is set when we started one; stop_xvfb ends it.
start_xvfb() {
    VELQUOR_XVFB_PID=
    [ -n "${DISPLAY:-}" ] && return 0
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do
        n=$((n + 1))
    done
    Xvfb ":$n" -screen 0 "${VELQUOR_DESKTOP_SIZE}x24" -nolisten tcp >/dev/null 2>&1 &
    VELQUOR_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 100); do
        xdpyinfo >/dev/null 2>&1 && return 0
        kill -0 "$VELQUOR_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    echo "Xvfb did not start on $DISPLAY" >&2
    return 1
}

stop_xvfb() {
    if [ -n "${VELQUOR_XVFB_PID:-}" ]; then
        kill "$VELQUOR_XVFB_PID" 2>/dev/null || true
        wait "$VELQUOR_XVFB_PID" 2>/dev/null || true
        VELQUOR_XVFB_PID=
    fi
}

# Creates the Wine prefix $1 when it does not exist yet, and makes every program
# run inside one virtual desktop of VELQUOR_DESKTOP_SIZE.
prepare_wine_prefix() {
    local prefix=$1
    if [ ! -f "$prefix/system.reg" ]; then
        mkdir -p "$prefix"
        WINEPREFIX="$prefix" wineboot -i >/dev/null 2>&1
    fi
    WINEPREFIX="$prefix" wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    WINEPREFIX="$prefix" wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$VELQUOR_DESKTOP_SIZE" /f >/dev/null 2>&1
    WINEPREFIX="$prefix" wineserver -w
}

# Wine links Desktop, Documents and the like to the Unix home folder; a test
# prefix gets plain folders of its own instead.
isolate_wine_profile() {
    local link
    for link in "$1"/drive_c/users/*/*; do
        if [ -L "$link" ]; then
            rm -f "$link"
            mkdir -p "$link"
        fi
    done
}
