#!/usr/bin/env bash
# Builds velquor natively and for Windows and runs all tests: the native tests
# (with sanitizers), then the Win32 layer tests and the end-to-end tests of the
# real program under Wine. Exits non-zero when any step fails.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
cd "$VELQUOR_ROOT"

JOBS=2
failed=()
started=$(date +%s)

step() {
    echo
    echo "=== $* ($(( $(date +%s) - started ))s)"
}

run() {
    local name=$1
    shift
    "$@" || { failed+=("$name"); return 1; }
}

cleanup() {
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        wineserver -k 2>/dev/null || true
    fi
    stop_xvfb
}
trap cleanup EXIT

step "Dependencies"
bash tools/setup-deps.sh || { echo "setting up the dependencies failed" >&2; exit 1; }

step "Native build"
if run native-configure cmake -S . -B build/native &&
   run native-build cmake --build build/native -j$JOBS; then
    step "Native tests"
    run native-tests ctest --test-dir build/native --output-on-failure --timeout 1200
fi

step "Windows build"
if run windows-configure cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE="$VELQUOR_ROOT/cmake/mingw-w64.cmake" \
        -DCMAKE_BUILD_TYPE=Release &&
   run windows-build cmake --build build/windows -j$JOBS; then
    step "Wine prefixes"
    start_xvfb || { echo "no X display for Wine" >&2; exit 1; }
    # A pristine template that every end-to-end test copies, and a working
    # prefix for the Win32 layer tests.
    export VELQUOR_WINE_TEMPLATE="$VELQUOR_ROOT/build/wine-template"
    export WINEPREFIX="$VELQUOR_ROOT/build/wine-test"
    rm -rf "$VELQUOR_WINE_TEMPLATE" "$WINEPREFIX"
    prefix_started=$(date +%s)
    if run wine-prefix prepare_wine_prefix "$VELQUOR_WINE_TEMPLATE"; then
        isolate_wine_profile "$VELQUOR_WINE_TEMPLATE"
        echo "Wine prefix made in $(( $(date +%s) - prefix_started ))s"
        cp -a "$VELQUOR_WINE_TEMPLATE" "$WINEPREFIX"
        step "Windows tests (Wine, DISPLAY=$DISPLAY)"
        run windows-tests ctest --test-dir build/windows --output-on-failure --timeout 1200
    fi
fi

step "Done"
if [ ${#failed[@]} -gt 0 ]; then
    echo "FAILED: ${failed[*]}"
    exit 1
fi
echo "All builds and tests passed."
