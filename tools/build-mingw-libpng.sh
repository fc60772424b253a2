#!/usr/bin/env bash
# Builds a static libpng for the MinGW-w64 cross build into build/deps/mingw,
# from Debian's own libpng source package. Does nothing when it is already there.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

PREFIX="$VELQUOR_ROOT/build/deps/mingw"
WORK="$VELQUOR_ROOT/build/deps/src"
HOST=x86_64-w64-mingw32
MINGW_SYSROOT=/usr/$HOST
OUR_SOURCES=/etc/apt/sources.list.d/velquor-deb-src

if [ -f "$PREFIX/lib/libpng16.a" ] && [ -e "$PREFIX/lib/libpng.a" ] && [ -f "$PREFIX/include/png.h" ]; then
    echo "MinGW libpng already built in $PREFIX"
    exit 0
fi

ensure_packages dpkg-dev make gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libz-mingw-w64-dev

# Source indices: derived from this machine's own binary package sources.
enable_source_indices() {
    local tmp f
    tmp=$(mktemp -d)
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        [ "$f" = "$OUR_SOURCES.sources" ] && continue
        # Every deb822 stanza again, now for source packages.
        sed -E 's/^Types:.*/Types: deb-src/' "$f" >>"$tmp/src.sources"
        printf '\n' >>"$tmp/src.sources"
    done
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] || continue
        [ "$f" = "$OUR_SOURCES.list" ] && continue
        grep -E '^[[:space:]]*deb[[:space:]]' "$f" | sed -E 's/^[[:space:]]*deb[[:space:]]/deb-src /' >>"$tmp/src.list" || true
    done
    [ -s "$tmp/src.sources" ] && as_root install -m 644 "$tmp/src.sources" "$OUR_SOURCES.sources"
    [ -s "$tmp/src.list" ] && as_root install -m 644 "$tmp/src.list" "$OUR_SOURCES.list"
    rm -rf "$tmp"
    as_root apt-get update -q
}

if ! apt-cache showsrc libpng1.6 2>/dev/null | grep -q '^Package:'; then
    enable_source_indices
fi

rm -rf "$WORK"
mkdir -p "$WORK"
cd "$WORK"
# The newest version first; a mirror may lack one suite's files, so fall back
# to the other versions the indices know.
fetch_source() {
    apt-get source -q libpng1.6 && return 0
    local v
    for v in $(apt-cache showsrc libpng1.6 | sed -n 's/^Version: //p' | sort -u -r -V); do
        rm -rf "${WORK:?}"/*
        apt-get source -q "libpng1.6=$v" && return 0
    done
    return 1
}
fetch_source
SRC=$(find "$WORK" -mindepth 1 -maxdepth 1 -type d -name 'libpng1.6-*' | head -n1)
[ -n "$SRC" ] || { echo "libpng source not unpacked" >&2; exit 1; }

cd "$SRC"
./configure -q --host=$HOST --prefix="$PREFIX" \
    --disable-shared --enable-static \
    CC=$HOST-gcc-posix AR=$HOST-ar RANLIB=$HOST-ranlib \
    CPPFLAGS="-I$MINGW_SYSROOT/include" LDFLAGS="-L$MINGW_SYSROOT/lib" \
    CFLAGS="-O2"
make -j2 libpng16.la
make install-libLTLIBRARIES install-pkgincludeHEADERS install-nodist_pkgincludeHEADERS \
    install-header-links install-library-links

for f in lib/libpng16.a lib/libpng.a include/png.h include/pngconf.h include/pnglibconf.h; do
    [ -e "$PREFIX/$f" ] || { echo "missing $PREFIX/$f after the build" >&2; exit 1; }
done
rm -rf "$WORK"
echo "MinGW libpng installed in $PREFIX"
