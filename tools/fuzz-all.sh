#!/usr/bin/env bash
# Fuzzes every libFuzzer target of the `fuzz` preset for SECONDS each
# (default 60), starting from its seeds in tests/fuzz-corpus/TARGET. New
# inputs go to build/fuzz/corpus/TARGET; crashes to build/fuzz/crashes/.
# The targets are those the build lists in build/fuzz/fuzzers.txt. A target
# that crashes, leaks, takes more than 25 s on one input or 2 GB or does not
# run counts as failed, and so do a target without seeds and seeds without
# a target. Ends with "N passed, N failed" and exits non-zero on a failure.
#   tools/fuzz-all.sh [--no-build] [SECONDS]
set -uo pipefail
build=1
if [ "${1:-}" = "--no-build" ]; then
  build=0
  shift
fi
seconds=${1:-60}
cd "$(dirname "$0")/.."
if [ $build = 1 ]; then
  cmake --preset fuzz > /dev/null && cmake --build --preset fuzz -j "${KESTA_JOBS:-2}" ||
    { echo "fuzz-all: the fuzz preset did not build"; echo "0 passed, 1 failed"; exit 1; }
fi
list=build/fuzz/fuzzers.txt
if [ ! -s "$list" ]; then
  echo "fuzz-all: no $list (configure the fuzz preset first)"
  echo "0 passed, 1 failed"
  exit 1
fi
mkdir -p build/fuzz/crashes
passed=0
failed=0
fail() { echo "fuzz-all: $*" >&2; failed=$((failed + 1)); }

for seeds in tests/fuzz-corpus/*/; do
  target=$(basename "$seeds")
  grep -q "^$target=" "$list" || fail "seeds in $seeds but no fuzz target $target"
done
while IFS='=' read -r target program; do
  [ -n "$target" ] || continue
  seeds=tests/fuzz-corpus/$target
  if [ -z "$(ls -A "$seeds" 2>/dev/null)" ]; then
    fail "$target has no seeds in $seeds"
    continue
  fi
  if [ ! -x "$program" ]; then
    fail "$target: no program $program"
    continue
  fi
  mkdir -p "build/fuzz/corpus/$target"
  log="build/fuzz/corpus/$target.log"
  # The outer limit catches a target that never gets going.
  if timeout $((seconds + 120)) "$program" "build/fuzz/corpus/$target" "$seeds" -max_total_time="$seconds" \
       -timeout=25 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="build/fuzz/crashes/$target-" > "$log" 2>&1; then
    passed=$((passed + 1))
    echo "fuzz-all: $target: $(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1)"
  else
    grep -E 'ERROR: |SUMMARY: |Test unit written to' "$log" | head -n 5 >&2
    fail "$target failed, see $log"
  fi
done < "$list"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
