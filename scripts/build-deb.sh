#!/usr/bin/env bash
# Builds the Debian package of the game from this tree: an optimised build with Debian's
# hardening flags, installed under /usr by CPack into nookvale_<version>_<arch>.deb (its
# library dependencies named by dpkg-shlibdeps), then checked with lintian. As Debian's games
# do, the program goes to /usr/games (its data, /usr/share/games/nookvale, lies at the same
# place relative to it as under bin/).
#   scripts/build-deb.sh [<build folder>]      (default: build-deb)
# Install it with:  sudo apt-get install ./build-deb/nookvale_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup-deps.sh
build=${1:-build-deb}

# Debian's build flags with every hardening feature (stack protector, fortify, relro, bind
# now, PIE). CMake takes them when it first configures the build folder.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CFLAGS="$(dpkg-buildflags --get CFLAGS)"
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
CPPFLAGS="$(dpkg-buildflags --get CPPFLAGS)"
export CFLAGS="$CFLAGS $CPPFLAGS" CXXFLAGS="$CXXFLAGS $CPPFLAGS" LDFLAGS
# Reproducible: the pack tool and the archive take their times from the last commit.
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || date +%s)
export SOURCE_DATE_EPOCH

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNOOKVALE_TESTS=OFF \
  -DNOOKVALE_DEBIAN_DOCS=ON -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/nookvale_*.deb
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/nookvale_*.deb)
echo "Built $deb"
dpkg-deb --field "$deb"
if command -v lintian >/dev/null; then
  # Errors fail the build; warnings are shown.
  lintian --fail-on error "$deb"
fi
