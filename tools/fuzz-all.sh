#!/usr/bin/env bash
# Fuzzes every libFuzzer target of the `fuzz` preset for SECONDS each
# (default 60), starting from its seeds in tests/fuzz-corpus/TARGET. New
# inputs go to build/fuzz/corpus/TARGET; crashes to build/fuzz/crashes/.
#   tools/fuzz-all.sh [SECONDS]
set -euo pipefail
seconds=${1:-60}
cd "$(dirname "$0")/.."
cmake --preset fuzz > /dev/null
cmake --build --preset fuzz
mkdir -p build/fuzz/crashes
failed=0
for seeds in tests/fuzz-corpus/*/; do
  target=$(basename "$seeds")
  program=$(find build/fuzz/tests -type f -name "$target" -perm -u+x | head -n 1)
  if [ -z "$program" ]; then
    echo "fuzz-all: no program for $target" >&2
    failed=1
    continue
  fi
  mkdir -p "build/fuzz/corpus/$target"
  echo "fuzz-all: $target for ${seconds}s"
  log="build/fuzz/corpus/$target.log"
  if "$program" "build/fuzz/corpus/$target" "$seeds" -max_total_time="$seconds" \
       -artifact_prefix="build/fuzz/crashes/$target-" > "$log" 2>&1; then
    grep -E "^#[0-9]+.*(DONE|cov:)" "$log" | tail -n 1
  else
    echo "fuzz-all: $target failed, see $log" >&2
    failed=1
  fi
done
exit $failed
