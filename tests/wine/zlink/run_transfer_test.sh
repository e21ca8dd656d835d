#!/usr/bin/env bash
# Runs the transfer exports of ZLINK32.DLL against lrzsz: starts telnet
# relays (TCP on 127.0.0.1) and socat pseudo-terminals mapped to COM5, COM6
# and COM7 of the Wine prefix, runs the Windows test program, then compares
# the files on both sides and looks for the abort sequence at the peer.
# usage: run_transfer_test.sh WINE_RUN TEST_EXE RELAY SCRATCH_DIR
set -u
wine_run=$1 test_exe=$2 relay=$3 scratch=$4
limit=90  # seconds any peer may live

rm -rf "$scratch"
mkdir -p "$scratch"/{src,tcp_in,tcp_out,cancel_in,serial_in,serial_out}
cd "$scratch" || exit 1
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; }
trap cleanup EXIT
winpath() { printf 'Z:%s' "${1//\//\\}"; }
fail=0
failed() { echo "FAIL: $*" >&2; fail=1; }

# Files full of the bytes that need care: 0xFF (telnet) and ZDLE with the
# other escaped control bytes.
python3 - <<'PY'
import os, random
r = random.Random(7)
open('src/ff.bin', 'wb').write(b'\xff' * 70000)
pattern = bytes([0x18, 0x10, 0x11, 0x13, 0x90, 0x91, 0x93, 0x0d, 0x8d, 0xff, 0x18, 0x18, 0x7f, 0x40])
open('src/zdle.bin', 'wb').write((pattern * 4000)[:50000])
open('src/mixed.bin', 'wb').write(bytes(r.getrandbits(8) for _ in range(300000)))
open('src/big.bin', 'wb').write(os.urandom(16 * 1024 * 1024))
PY

# The Wine prefix of this build tree, and its device links.
dir=$(pwd)
build=$(dirname "$test_exe")
while [ "$build" != / ] && [ ! -f "$build/CMakeCache.txt" ]; do build=$(dirname "$build"); done
prefix=${KESTA_WINEPREFIX:-$build/wineprefix}
export KESTA_WINEPREFIX=$prefix
if [ ! -d "$prefix/dosdevices" ]; then
  timeout 120 "$wine_run" cmd.exe /c exit >/dev/null 2>&1
fi

start_relay() {  # NAME WORKDIR COMMAND...
  local name=$1 work=$2
  shift 2
  timeout $limit python3 "$relay" "$dir/$name.port" "$dir/$name.raw" "$work" "$@" 2>"$dir/$name.err" &
  pids+=($!)
}
start_relay receive "$dir/src" sz -q -b ff.bin zdle.bin mixed.bin
start_relay send "$dir/tcp_out" rz -q -y -b
start_relay cancel "$dir/src" sz -q -b big.bin

start_pty() {  # COMPORT WORKDIR COMMAND
  local com=$1 work=$2 cmd=$3
  rm -f "$dir/$com.pty"
  (cd "$work" && exec timeout $limit socat PTY,link="$dir/$com.pty",raw,echo=0 EXEC:"$cmd") 2>"$dir/$com.err" &
  pids+=($!)
  for _ in $(seq 100); do [ -e "$dir/$com.pty" ] && break; sleep 0.05; done
  ln -sfn "$(readlink -f "$dir/$com.pty")" "$prefix/dosdevices/$com"
}
start_pty com5 "$dir/src" "sz -q -b ff.bin zdle.bin mixed.bin"
start_pty com6 "$dir/serial_out" "rz -q -y -b"
mkdir -p "$dir/serial_cancel"
printf 'tee ../com7.raw | exec rz -q -y -b\n' >"$dir/serial_cancel/peer.sh"
start_pty com7 "$dir/serial_cancel" "sh peer.sh"

for name in receive send cancel; do
  for _ in $(seq 100); do [ -s "$dir/$name.port" ] && break; sleep 0.05; done
done

ZL_RECEIVE_PORT=$(cat receive.port) ZL_SEND_PORT=$(cat send.port) ZL_CANCEL_PORT=$(cat cancel.port) \
ZL_DOWNLOAD_DIR="$(winpath "$dir/tcp_in/")" ZL_CANCEL_DIR="$(winpath "$dir/cancel_in/")" \
ZL_SEND_FILE="$(winpath "$dir/src/mixed.bin")" \
ZL_SERIAL_RECEIVE_PORT=COM5 ZL_SERIAL_SEND_PORT=COM6 ZL_SERIAL_DOWNLOAD_DIR="$(winpath "$dir/serial_in/")" \
ZL_SERIAL_CANCEL_PORT=COM7 ZL_BIG_FILE="$(winpath "$dir/src/big.bin")" \
  timeout 110 "$wine_run" "$test_exe" || failed "the Windows test program"

# Let the peers finish writing before the files are compared.
for p in "${pids[@]}"; do
  for _ in $(seq 100); do kill -0 "$p" 2>/dev/null || break; sleep 0.05; done
done
for f in ff.bin zdle.bin mixed.bin; do
  cmp -s "src/$f" "tcp_in/$f" || failed "wrz32s: $f differs or is missing"
  cmp -s "src/$f" "serial_in/$f" || failed "wrz32: $f differs or is missing"
done
cmp -s src/mixed.bin tcp_out/mixed.bin || failed "wsz32s: mixed.bin differs or is missing at rz"
cmp -s src/mixed.bin serial_out/mixed.bin || failed "wsz32: mixed.bin differs or is missing at rz"
python3 -c "import sys; sys.exit(0 if b'\x18' * 8 in open('cancel.raw', 'rb').read() else 1)" ||
  failed "the peer of the cancelled transfer saw no abort sequence"
# A serial sender's Cancel sends ZCAN frames (hex header "**" ZDLE "B10") before its CAN bytes.
python3 -c "import sys; d = open('com7.raw', 'rb').read(); sys.exit(0 if b'**\x18B10' in d and b'\x18' * 8 in d else 1)" ||
  failed "the serial sender's Cancel sent no ZCAN frame and CAN run"
# Binary mode was asked for before the dialog and given up after it.
python3 -c "
import sys
d = open('send.raw', 'rb').read()
sys.exit(0 if d.startswith(b'\xff\xfd\x00\xff\xfb\x00') and d.endswith(b'\xff\xfe\x00') else 1)" ||
  failed "the socket export did not wrap the transfer in binary mode"
[ $fail = 0 ] && echo "all transfers checked"
exit $fail
