#!/usr/bin/env bash
# Installs the build into a temporary tree (DESTDIR), starts the installed game headless with a
# private home and XDG folders until it reaches the main menu, and checks where it wrote: the
# player's folder holds the player's files, the installed tree is exactly as installed.
#   installed-game.sh <build folder> <scratch folder>
set -euo pipefail
build=$1
work=$2
rm -rf "$work"
mkdir -p "$work/home" "$work/run" "$work/elsewhere"
chmod 700 "$work/run"

fail() {
  echo "FAILED: $*" >&2
  for log in "$work/game.log" "$work/xdg-data/nookvale/applog.htm"; do
    if [ -f "$log" ]; then echo "--- $log" >&2; tail -n 40 "$log" >&2; fi
  done
  exit 1
}

DESTDIR="$work/root" cmake --install "$build" --prefix /usr/local >"$work/install.log" ||
  fail "cmake --install"
prefix="$work/root/usr/local"
game="$prefix/bin/nookvale"
data="$prefix/share/games/nookvale"
[ -x "$game" ] || fail "no executable at bin/nookvale"
for f in classes.xml language.ini sound.ini CREDITS.txt Menu/menu-main.xml Graphics/icon.png; do
  [ -f "$data/$f" ] || fail "the data folder lacks $f"
done
for f in share/applications/nookvale.desktop share/metainfo/io.github.nookvale.metainfo.xml \
         share/man/man6/nookvale.6.gz share/doc/nookvale/LICENSE share/doc/nookvale/CREDITS \
         share/icons/hicolor/256x256/apps/nookvale.png share/icons/hicolor/scalable/apps/nookvale.svg; do
  [ -f "$prefix/$f" ] || fail "the installed tree lacks $f"
done

grep -qx "Exec=/usr/local/bin/nookvale" "$prefix/share/applications/nookvale.desktop" ||
  fail "the menu entry does not start the installed program"

# Every name, size, time and mode below the prefix, to tell whether the run wrote there.
snapshot() { (cd "$prefix" && find . -printf '%p %s %T@ %m\n' | LC_ALL=C sort); }
before=$(snapshot)

# A clean environment, as a desktop session would give: nothing of the build's test setup.
run() {
  env -i PATH=/usr/bin:/bin HOME="$work/home" XDG_DATA_HOME="$work/xdg-data" \
    XDG_CONFIG_HOME="$work/xdg-config" XDG_RUNTIME_DIR="$work/run" \
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    ASAN_OPTIONS="${ASAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" "$@"
}

version=$(cd "$work/elsewhere" && run "$game" --version) || fail "--version did not exit 0"
[ "$version" = "Nookvale 2.1" ] || fail "--version printed '$version'"
(cd "$work/elsewhere" && run "$game" --help | grep -q '^Usage: nookvale') || fail "--help"
refused=$(cd "$work/elsewhere" && run "$game" --bogus 2>&1) || fail "a refused switch did not exit 0"
[[ "$refused" == *"Nookvale: Invalid command line parameter: --bogus"* ]] || fail "a refused switch said '$refused'"

# Started from the home folder, as the desktop's menu does.
(cd "$work/home" && run NOOKVALE_QUIT_AT_MAIN_MENU=1 timeout 240 "$game" >"$work/game.log" 2>&1) ||
  fail "the installed game did not start and end cleanly (exit $?)"

player="$work/xdg-data/nookvale"
for f in config.ini scores.ini applog.htm; do
  [ -s "$player/$f" ] || fail "the player's folder lacks $f"
done
grep -q "Main menu reached" "$player/applog.htm" || fail "the game did not reach the main menu"
[ "$(stat -c %a "$player")" = 700 ] || fail "the player's folder is not private"
[ -f "$work/xdg-config/Nookvale/settings.ini" ] || fail "no settings store under XDG_CONFIG_HOME"
[ "$before" = "$(snapshot)" ] || fail "the run wrote into the installed tree: $(diff <(echo "$before") <(snapshot) | head -5)"
stray=$(cd "$work" && find home elsewhere -mindepth 1 | head -5)
[ -z "$stray" ] || fail "the run wrote outside the player's folder: $stray"
echo "installed game: started, reached the main menu, files in $player"
