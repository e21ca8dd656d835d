#!/usr/bin/env bash
# The one test command: sets up this machine, then builds and tests every
# target. native (then again under ASan+UBSan), win64 (tests under Wine with
# an Xvfb display), win32 (compiled and linked only), fuzz (every libFuzzer
# target a few seconds from its seeds; each target counts as one test).
# Ends with one line "N passed, N failed" and exits non-zero on any failure.
#
#   tools/test-all.sh [--no-setup] [--only native|native-asan|win64|win32|fuzz]...
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

setup=1
only=()
while [ $# -gt 0 ]; do
  case "$1" in
    --no-setup) setup=0 ;;
    --only) shift; only+=("$1") ;;
    *) echo "test-all: unknown argument $1" >&2; exit 2 ;;
  esac
  shift
done
wanted() { [ ${#only[@]} -eq 0 ] && return 0; local o; for o in "${only[@]}"; do [ "$o" = "$1" ] && return 0; done; return 1; }

if [ $setup = 1 ]; then
  bash tools/setup.sh || { echo "test-all: set-up failed"; echo "0 passed, 1 failed"; exit 1; }
fi

jobs=$(nproc)
passed=0
failed=0
failures=()
start=$(date +%s)

note() { echo "== [$(( $(date +%s) - start ))s] $*"; }

build() {  # build PRESET: configure and build; a failure counts as one failed test
  local preset=$1
  note "configure and build $preset"
  mkdir -p build
  if cmake --preset "$preset" >"build/$preset.log" 2>&1 &&
     cmake --build --preset "$preset" -j "$jobs" >>"build/$preset.log" 2>&1; then
    rm -f "build/$preset.log"
    return 0
  fi
  tail -n 60 "build/$preset.log"
  echo "test-all: build $preset failed (whole log: build/$preset.log)"
  failed=$((failed + 1)); failures+=("build $preset")
  return 1
}

run_ctest() {  # run_ctest PRESET [ctest args]: runs and adds up its counts
  local preset=$1; shift
  local log
  log=$(mktemp)
  note "test $preset"
  ctest --preset "$preset" -j "$jobs" --timeout 900 "$@" 2>&1 | tee "$log" | grep -E '(Failed|\*\*\*|tests passed|Not Run|Timeout)' || true
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  if [ -n "$line" ]; then
    bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.*failed out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
    if [ "$bad" -gt 0 ]; then
      failures+=("tests $preset")
      # What the failing tests printed (ctest --output-on-failure), without the passes.
      grep -vE 'Test +#[0-9]+: .* Passed|^ *Start +[0-9]+:' "$log" | head -n 400
    fi
  elif ! grep -q 'No tests were found' "$log"; then
    failed=$((failed + 1)); failures+=("ctest $preset")
    tail -n 40 "$log"
  fi
  rm -f "$log"
}

if wanted native && build native; then
  run_ctest native
fi
if wanted native-asan && build native-asan; then
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest native-asan
fi
if wanted win64 && ! wanted native; then
  # The end-to-end tests draw their references with the native kesta-cli.
  note "build kesta-cli (native) for the end-to-end tests"
  cmake --preset native >/dev/null 2>&1 && cmake --build --preset native --target kesta-cli -j "$jobs" >/dev/null 2>&1 ||
    echo "test-all: the native kesta-cli did not build; the end-to-end tests that draw will fail"
fi
if wanted win64 && build win64; then
  export KESTA_WINEPREFIX="$root/build/win64/wineprefix"
  export WINEPREFIX="$KESTA_WINEPREFIX" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # One Xvfb display for the whole run, for the tests that make windows.
  displayfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -s "$displayfile" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$displayfile")"
  note "Xvfb on $DISPLAY; preparing the Wine prefix"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  run_ctest win64
  wineserver -k 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null
  rm -f "$displayfile"
fi
if wanted win32 && build win32; then
  passed=$((passed + 1))   # the 32-bit build linked: its ABI checks are static_asserts
fi

if wanted fuzz && build fuzz; then
  # Long enough to run every seed and mutate a little: a target that no
  # longer builds, starts or survives its seeds fails here.
  note "fuzz every target for ${KESTA_FUZZ_SECONDS:-4}s"
  log=$(mktemp)
  bash tools/fuzz-all.sh --no-build "${KESTA_FUZZ_SECONDS:-4}" >"$log" 2>&1
  cat "$log"
  line=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    passed=$((passed + $(cut -d' ' -f1 <<<"$line")))
    bad=$(cut -d' ' -f3 <<<"$line")
    failed=$((failed + bad))
    [ "$bad" -gt 0 ] && failures+=("fuzz")
  else
    failed=$((failed + 1)); failures+=("fuzz")
  fi
  rm -f "$log"
fi

note "done"
if [ ${#failures[@]} -gt 0 ]; then
  echo "test-all: failed: ${failures[*]}"
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
