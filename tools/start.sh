#!/usr/bin/env bash
# Builds velquor.exe and runs it under Wine in a 1024x768 virtual desktop.
# The Wine prefix is WINEPREFIX when set, else ~/.velquor-wine.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
cd "$VELQUOR_ROOT"

bash tools/setup-deps.sh
cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE="$VELQUOR_ROOT/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release
cmake --build build/windows -j2 --target velquor

export WINEPREFIX="${WINEPREFIX:-$HOME/.velquor-wine}"
start_xvfb
trap stop_xvfb EXIT
if [ -n "$VELQUOR_XVFB_PID" ]; then
    echo "No DISPLAY was set: velquor runs on the virtual X display $DISPLAY."
    echo "To look at it, from another shell: DISPLAY=$DISPLAY import -window root shot.png"
    echo "or, with x11vnc installed, share it: x11vnc -display $DISPLAY and connect a VNC viewer."
fi
prepare_wine_prefix "$WINEPREFIX"
echo "Starting velquor (Wine prefix $WINEPREFIX). Hold Ctrl to show the ring."
status=0
wine build/windows/velquor.exe || status=$?
wineserver -w
exit $status
