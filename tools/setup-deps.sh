#!/usr/bin/env bash
# Installs what building and testing velquor needs on Debian, then builds the
# static MinGW libpng. Safe to run again: only missing pieces are installed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

ensure_packages \
    cmake g++ make libgtest-dev googletest libbenchmark-dev libpng-dev zlib1g-dev \
    g++-mingw-w64-x86-64-posix libz-mingw-w64-dev \
    wine wine64 xvfb xdotool imagemagick x11-utils dpkg-dev python3

bash "$VELQUOR_ROOT/tools/build-mingw-libpng.sh"
