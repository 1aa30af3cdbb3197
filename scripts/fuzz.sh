#!/usr/bin/env bash
# Runs the fuzz targets of tests/fuzz (libFuzzer, address and undefined-behaviour sanitizers)
# and prints a table: target, executions, coverage, crashes. Builds them first, in their own
# clang build tree (configured when missing).
#
#   scripts/fuzz.sh [--seconds N] [--parallel N] [--seeds-only] [--game DIR] [--build DIR] [target...]
#
#   --seconds N   fuzzing time per target (default 300)
#   --parallel N  targets fuzzed at the same time (default 2)
#   --seeds-only  run each target once over its seed corpus and stop (what CI does; seconds)
#   --game DIR    the built game folder whose real files join the seeds (default: build-asan/game
#                 or build/game, whichever exists)
#   --build DIR   the fuzz build tree (default build-fuzz)
#   target        ini pak tga gif png jpeg image wave ogg menu classes level sound_ini font
#                 scores saved_game (default: all)
#
# Seeds: tests/fuzz/corpus/<target>/ (small crafted files and every input a run found, kept as
# regression cases) and the game folder's own files of that kind. Fuzzing adds what it learns
# to <build>/fuzz/corpus/<target>/ and writes findings (crash-*, leak-*, timeout-*, oom-*) to
# <build>/fuzz/findings/<target>/. The fuzzers run under nice -n 19. The exit code is 1 when a
# target crashed, leaked, hung or ran out of memory.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

all_targets=(ini pak tga gif png jpeg image wave ogg menu classes level sound_ini font scores saved_game)
seconds=300
parallel=2
seeds_only=0
game=""
build=build-fuzz
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds=$2; shift 2 ;;
    --parallel) parallel=$2; shift 2 ;;
    --seeds-only) seeds_only=1; shift ;;
    --game) game=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    -h|--help) sed -n '2,22p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "fuzz.sh: unknown option $1" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
[ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")
case "$build" in /*) ;; *) build=$root/$build ;; esac
if [ -z "$game" ]; then
  for candidate in build-asan/game build/game; do
    if [ -f "$candidate/classes.xml" ]; then game=$root/$candidate; break; fi
  done
fi

# The build: only the fuzz targets and the libraries they read through.
if [ ! -f "$build/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNOOKVALE_FUZZ=ON > /dev/null
fi
nice -n 10 cmake --build "$build" --target fuzzers -j"$(nproc)" > "$build/fuzz-build.log" 2>&1 ||
  { cat "$build/fuzz-build.log"; exit 1; }

# The game folder's files that each target reads.
real_files() {
  [ -n "$game" ] && [ -d "$game" ] || return 0
  case "$1" in
    ini) find "$game" -maxdepth 1 -name '*.ini' ;;
    tga) find "$game" -name '*.tga' ;;
    png) find "$game" -name '*.png' ;;
    jpeg) find "$game" -name '*.jpg' ;;
    image) find "$game" \( -name '*.png' -o -name '*.jpg' -o -name '*.tga' \) ;;
    wave) find "$game" -name '*.wav' ;;
    ogg) find "$game" -name '*.ogg' ;;
    menu) find "$game/Menu" -name '*.xml' ;;
    classes) find "$game" -maxdepth 1 -name 'classes.xml' ;;
    level) find "$game/Levels" -name '*.xml' ;;
    sound_ini) find "$game" -maxdepth 1 -name 'sound.ini' ;;
    font) find "$game" -maxdepth 1 -name 'language.ini' ;;
  esac 2>/dev/null || true
}

work=$build/fuzz
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:quarantine_size_mb=64}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
limits=(-rss_limit_mb=2048 -malloc_limit_mb=512)

run_target() {
  local t=$1
  local seeds=$work/seeds/$t log=$work/logs/$t.log findings=$work/findings/$t
  rm -rf "$seeds" && mkdir -p "$seeds" "$work/logs" "$work/corpus/$t" "$findings"
  real_files "$t" | while read -r f; do cp "$f" "$seeds/$(echo "${f#"$game"/}" | tr '/' '_')"; done
  local marker=$work/logs/$t.start
  touch "$marker"
  if [ "$seeds_only" = 1 ]; then
    # Every seed once, into a corpus folder of its own that is thrown away.
    local scratch
    scratch=$(mktemp -d)
    set +e
    nice -n 19 "$build/tests/fuzz/fuzz_$t" -runs=0 "${limits[@]}" -timeout=120 -artifact_prefix="$findings/" \
      "$scratch" "$root/tests/fuzz/corpus/$t" "$seeds" > "$log" 2>&1
    echo "exit $?" >> "$log"
    set -e
    rm -rf "$scratch"
  else
    set +e
    nice -n 19 "$build/tests/fuzz/fuzz_$t" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
      -max_total_time="$seconds" -timeout=30 -max_len=65536 "${limits[@]}" -artifact_prefix="$findings/" \
      "$work/corpus/$t" "$root/tests/fuzz/corpus/$t" "$seeds" > "$log" 2>&1
    echo "exit $?" >> "$log"
    set -e
  fi
}

# At most $parallel targets at once.
running=0
for t in "${targets[@]}"; do
  if [ ! -x "$build/tests/fuzz/fuzz_$t" ]; then echo "fuzz.sh: no target '$t'" >&2; exit 2; fi
  run_target "$t" &
  running=$((running + 1))
  # A target's own failures show in its log and the table, not in its job's status.
  if [ "$running" -ge "$parallel" ]; then wait -n || true; running=$((running - 1)); fi
done
wait || true

# The table, from each target's log and its new findings.
failed=0
printf '%-12s %12s %10s %8s\n' target executions coverage crashes
for t in "${targets[@]}"; do
  log=$work/logs/$t.log
  found=$(find "$work/findings/$t" -type f -newer "$work/logs/$t.start" | wc -l)
  if [ "$seeds_only" = 1 ]; then
    line=$(grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)' "$log" | tail -1 || true)
    execs=$(echo "$line" | sed -n 's/^#\([0-9]*\).*/\1/p')
    # A seed that fails stops the run before its statistics.
    if ! grep -q '^exit 0$' "$log"; then found=$((found > 0 ? found : 1)); fi
  else
    line=$(grep -E '^#[0-9]+: cov:' "$log" | tail -1 || true)
    execs=$(echo "$line" | sed -n 's/^#\([0-9]*\):.*/\1/p')
  fi
  cov=$(echo "$line" | sed -n 's/.*cov: \([0-9]*\).*/\1/p')
  printf '%-12s %12s %10s %8s\n' "$t" "${execs:--}" "${cov:--}" "$found"
  if [ "$found" -gt 0 ]; then
    failed=1
    find "$work/findings/$t" -type f -newer "$work/logs/$t.start" | sed 's/^/    /'
  fi
done
[ "$failed" = 0 ] || { echo "fuzz.sh: findings above; logs in $work/logs/" >&2; exit 1; }
