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
