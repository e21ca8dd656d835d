#!/usr/bin/env bash
# Runs Kesta on this machine with its demo bulletin board: sets up, builds
# what is out of date, lays the program out in a per-user Wine prefix, starts
# `kesta-cli host` and `kesta-cli modem` (linked as COM1) and kesta10.exe
# connected to the host. Stops what it started when it ends (Ctrl-C).
set -euo pipefail

usage() {
  cat <<'EOF'
Usage: bash tools/run.sh [--no-host] [--screenshot FILE] [--keep] [--no-setup] [--help]

Runs Kesta (kesta10.exe under Wine) connected to its demo bulletin board.

  --no-host          start neither the demo host nor the modem; the program starts unconnected
  --screenshot FILE  save a PNG of the screen once the host's welcome screen has arrived
                     (with no DISPLAY the default is ~/.local/share/kesta/screenshot.png)
  --keep             with no DISPLAY: leave everything running after the screenshot, until Ctrl-C
  --no-setup         do not run tools/setup.sh (the Debian packages are known to be there)
  --help             this text

Files (KESTA_DATA, default ~/.local/share/kesta):
  wineprefix/        the Wine prefix; the program is in C:\kesta (wineprefix/drive_c/kesta)
  host-data/         the demo host's board, file library (files/) and uploads (upload/)
  com1               the emulated modem's pseudo-terminal, COM1 of the prefix
  run.log            what the host, the modem and Wine printed
The phone book (C:\kesta\tel\kesta.tel) holds the demo host, 127.0.0.1:2323, and the
modem's number 5551234 (any number the modem dials reaches the demo host).
EOF
}

host=1 keep=0 setup=1 shot=""
while [ $# -gt 0 ]; do
  case "$1" in
    --no-host) host=0 ;;
    --screenshot) [ $# -ge 2 ] || { echo "run: --screenshot needs a file name" >&2; exit 2; }; shot="$2"; shift ;;
    --screenshot=*) shot="${1#*=}" ;;
    --keep) keep=1 ;;
    --no-setup) setup=0 ;;
    -h|--help) usage; exit 0 ;;
    *) echo "run: unknown option $1 (see --help)" >&2; exit 2 ;;
  esac
  shift
done

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
data="${KESTA_DATA:-${XDG_DATA_HOME:-$HOME/.local/share}/kesta}"
port=2323
number=5551234
mkdir -p "$data"
log="$data/run.log"
: > "$log"
say() { echo "run: $*"; }

# ---------------------------------------------------------------- set-up and build
if [ "$setup" = 1 ]; then
  bash "$repo/tools/setup.sh"
fi
jobs="$(nproc 2>/dev/null || echo 2)"
cd "$repo"
if [ ! -f build/native/CMakeCache.txt ]; then cmake --preset native >/dev/null; fi
say "building kesta-cli (only what is out of date)"
cmake --build --preset native --target kesta-cli -j"$jobs"
if [ ! -f build/win64/CMakeCache.txt ]; then cmake --preset win64 >/dev/null; fi
say "building kesta10.exe and its DLLs (only what is out of date)"
cmake --build --preset win64 -j"$jobs" --target kesta10 zlink32 QUILH32 QUILF32 HCTL32 HCTLW32 hxlat32
cli="$repo/build/native/cli/kesta-cli"
[ -x "$cli" ] || { echo "run: $cli was not built" >&2; exit 1; }

# ---------------------------------------------------------------- what we start, stopped on exit
pids=()
prefix="$data/wineprefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINELOADERNOEXEC
cleanup() {
  trap - EXIT INT TERM
  if [ -n "${program_pid:-}" ] && kill -0 "$program_pid" 2>/dev/null; then
    kill "$program_pid" 2>/dev/null || true
  fi
  if [ -n "${wine_started:-}" ]; then
    wineserver -k 2>/dev/null || true
  fi
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
  done
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    wait "${pids[i]}" 2>/dev/null || true
  done
}
trap cleanup EXIT
trap 'echo; say "stopping"; exit 130' INT TERM

headless=0
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >>"$log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  [ -e "/tmp/.X11-unix/X$n" ] || { echo "run: Xvfb did not start (see $log)" >&2; exit 1; }
  export DISPLAY=":$n"
  say "no DISPLAY: running on Xvfb $DISPLAY"
  [ -n "$shot" ] || shot="$data/screenshot.png"
fi

# ---------------------------------------------------------------- the prefix laid out as an installation
wine_started=1
if [ ! -d "$prefix/drive_c/windows" ]; then
  say "making the Wine prefix $prefix (once; takes a minute)"
  wineboot -i >>"$log" 2>&1
  wineserver -w
fi
home="$(/usr/bin/python3 "$repo/tools/run_helper.py" lay-out --prefix "$prefix" --build "$repo/build/win64" \
  --host-port "$port" --modem-number "$number")"
say "program installed in C:\\kesta ($home)"

# ---------------------------------------------------------------- the demo host and the modem
args=()
if [ "$host" = 1 ]; then
  if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
    echo "run: something already listens on 127.0.0.1:$port (another run?); stop it or use --no-host" >&2
    exit 1
  fi
  "$cli" host --port "$port" --data "$data/host-data" >>"$log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do grep -q "listening on 127.0.0.1:$port" "$log" && break; sleep 0.1; done
  grep -q "listening on 127.0.0.1:$port" "$log" || { echo "run: the demo host did not start (see $log)" >&2; exit 1; }
  say "demo host on 127.0.0.1:$port, data in $data/host-data"
  "$cli" modem --link "$data/com1" --host "127.0.0.1:$port" >>"$log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do [ -L "$data/com1" ] && break; sleep 0.1; done
  [ -L "$data/com1" ] || { echo "run: the modem did not start (see $log)" >&2; exit 1; }
  device="$(readlink -f "$data/com1")"
  wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$device" /f >>"$log" 2>&1
  ln -sfn "$device" "$prefix/dosdevices/com1"
  say "modem on COM1 ($device): dial $number, or any number, to reach the demo host"
  args=("127.0.0.1:$port")
fi

# ---------------------------------------------------------------- the program
(cd "$home" && exec wine 'C:\kesta\kesta10.exe' "${args[@]}") >>"$log" 2>&1 &
program_pid=$!
say "kesta10.exe started${args:+ (connecting to ${args[0]})}; log in $log"

if [ -n "$shot" ]; then
  wait_text=()
  if [ "$host" = 1 ]; then wait_text=(--wait-text "시험해 보는 작은 게시판입니다."); else sleep 15; fi
  if /usr/bin/python3 "$repo/tools/run_helper.py" screenshot --out "$shot" --cli "$cli" "${wait_text[@]}"; then
    if [ "$host" = 1 ]; then say "screenshot of the welcome screen: $shot"; else say "screenshot: $shot"; fi
  else
    say "the welcome screen did not arrive in time; screenshot of what there was: $shot (log: $log)"
    [ "$keep" = 1 ] || exit 1
  fi
fi

if [ "$headless" = 1 ] && [ "$keep" = 0 ]; then
  say "done; stopping (use --keep to leave it running)"
  exit 0
fi
say "running; close Kesta or press Ctrl-C to stop"
wait "$program_pid" || true
say "kesta10.exe ended"
