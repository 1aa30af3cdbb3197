#!/usr/bin/env bash
# Builds the Debian package of the game from this tree: an optimised build with Debian's
# hardening flags, installed under /usr by CPack into nookvale_<version>_<arch>.deb (its
# library dependencies named by dpkg-shlibdeps), then checked with lintian.
#   scripts/build-deb.sh [<build folder>]      (default: build-deb)
# Install it with:  sudo apt-get install ./build-deb/nookvale_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup-deps.sh
build=${1:-build-deb}

# Debian's build flags (hardening: stack protector, fortify, relro, now).
CFLAGS="$(dpkg-buildflags --get CFLAGS)"
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
CPPFLAGS="$(dpkg-buildflags --get CPPFLAGS)"
export CFLAGS="$CFLAGS $CPPFLAGS" CXXFLAGS="$CXXFLAGS $CPPFLAGS" LDFLAGS
# Reproducible: the pack tool and the archive take their times from the last commit.
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || date +%s)
export SOURCE_DATE_EPOCH

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNOOKVALE_TESTS=OFF \
  -DNOOKVALE_DEBIAN_DOCS=ON -DCMAKE_INSTALL_PREFIX=/usr
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/nookvale_*.deb
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/nookvale_*.deb)
echo "Built $deb"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'
if command -v lintian >/dev/null; then
  # Errors fail the build; warnings are shown.
  lintian --fail-on error "$deb"
fi
