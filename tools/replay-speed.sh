#!/usr/bin/env bash
# Whole-program speed of the terminal core: kesta-cli replay against
# libvterm with its screen (vterm_replay), both as processes reading the
# same 8 MB Korean bulletin-board stream from a file in 4096-byte chunks.
# Runs each program RUNS times, alternating, and reports the least CPU time
# (user + system) of each and their ratio.
#   tools/replay-speed.sh [BUILD_DIR] [RUNS]      (default build/native, 5)
set -euo pipefail
build=${1:-build/native}
runs=${2:-5}
cli=$build/cli/kesta-cli
writer=$build/tests/app/session/bbs_stream_writer
vterm=$build/tests/app/session/vterm_replay
for p in "$cli" "$writer" "$vterm"; do
  [ -x "$p" ] || { echo "replay-speed: $p is missing (build the native preset with libvterm-dev installed)" >&2; exit 1; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$writer" "$tmp/bbs.bin"
bytes=$(stat -c %s "$tmp/bbs.bin")

# CPU seconds of one run of the command.
cpu() {
  local TIMEFORMAT='%U %S'
  { time "$@" > /dev/null; } 2>&1 | awk '{ printf "%.3f\n", $1 + $2 }'
}
best_kesta=999 best_vterm=999
for _ in $(seq "$runs"); do
  k=$(cpu "$cli" replay --chunk 4096 "$tmp/bbs.bin")
  v=$(cpu "$vterm" "$tmp/bbs.bin")
  best_kesta=$(awk -v a="$best_kesta" -v b="$k" 'BEGIN { print (b < a ? b : a) }')
  best_vterm=$(awk -v a="$best_vterm" -v b="$v" 'BEGIN { print (b < a ? b : a) }')
done
awk -v k="$best_kesta" -v v="$best_vterm" -v n="$bytes" 'BEGIN {
  printf "kesta-cli replay --chunk 4096: %.3f s CPU, %.1f MB/s\n", k, n / k / 1048576
  printf "libvterm with its screen:      %.3f s CPU, %.1f MB/s\n", v, n / v / 1048576
  printf "ratio: %.2f\n", v / k
}'
