#!/usr/bin/python3
"""kesta10.exe stays live while a host floods it, over telnet and over the
modem emulator's line, in one program start. Each line kind gets two floods
of text lines at full speed (4 MB over telnet, 1 MB over the modem): during the first a key is typed every
1.5 s and the time until each reaches the host is measured from outside (a
thread watching what the host received); the second runs without keys. The
keys reach the host within half a second while the flood is still being
drawn, the flood's last line stands on screen at the end, and the floods
with keys take about as long to draw as the floods without.

    flood_test.py --build BUILD_DIR --work DIR
"""
import os
import shutil
import socket
import statistics
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kesta_e2e as e2e  # noqa: E402
from program_test import check, eventually, pane, run_script  # noqa: E402
from keys_test import answer_question  # noqa: E402

FLOOD_BYTES = 4 << 20
MODEM_FLOOD_BYTES = 1 << 20  # the modem emulator's line carries about 200 KB/s
KEY_EVERY = 1.5
KEYS = "abcdefghijklmnopqrstuvwxyz"
# Sends the flood whenever a "go" file appears, and records what it receives.
SCRIPT = """( n=0; while :; do if [ -f "$KESTA_DIR/go" ]; then rm -f "$KESTA_DIR/go"; n=$((n+1))
  cat "$KESTA_DIR/flood.txt"; printf '\\r\\nLAST LINE OF FLOOD %d\\r\\n' $n; fi; sleep 0.05; done ) &
exec /usr/bin/python3 "$KESTA_RECORD" "$KESTA_RECV" "$KESTA_DIR/hangup"
"""


def flood_text(size):
    line = "".join(chr(0x21 + (i * 7) % 90) for i in range(78))
    return "".join(line[i % 20:] + line[:i % 20] + "\r\n" for i in range(size // 80)).encode()


class FloodPeer:
    """A plain TCP host for the modem to dial: sends a flood on .flood(n) and
    records the time each byte it receives arrives."""

    def __init__(self, text):
        self.text = text
        self.server = socket.socket()
        self.server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.server.bind(("127.0.0.1", 0))
        self.server.listen(1)
        self.port = self.server.getsockname()[1]
        self.conn = None
        self.arrivals = []  # (time, byte)
        threading.Thread(target=self._serve, daemon=True).start()

    def _serve(self):
        try:
            self.conn, _ = self.server.accept()
        except OSError:
            return
        while True:
            try:
                data = self.conn.recv(4096)
            except OSError:
                return
            if not data:
                return
            now = time.time()
            self.arrivals += [(now, b) for b in data]

    def flood(self, n):
        conn = self.conn
        threading.Thread(target=lambda: conn.sendall(self.text + b"\r\nLAST LINE OF FLOOD %d\r\n" % n),
                         daemon=True).start()

    def received(self):
        return bytes(b for _, b in self.arrivals)

    def close(self):
        for s in (self.conn, self.server):
            try:
                s and s.close()
            except OSError:
                pass


class ArrivalWatch:
    """Watches RECEIVED() every 10 ms from a thread and notes when each awaited key first appears."""

    def __init__(self, received):
        self.received, self.base = received, len(received())
        self.seen = {}
        self.stopping = False
        self.thread = threading.Thread(target=self._watch, daemon=True)
        self.thread.start()

    def _watch(self):
        while not self.stopping:
            data = self.received()[self.base:]
            now = time.time()
            for byte in data:
                self.seen.setdefault(chr(byte), now)
            time.sleep(0.01)

    def stop(self):
        self.stopping = True
        self.thread.join()


def one_flood(kesta, start, received, n, with_keys):
    """Starts flood N and waits until its last line is drawn; returns (seconds to draw, key latencies)."""
    watch = ArrivalWatch(received)
    last = e2e.render("LAST LINE OF FLOOD %d" % n)
    typed = []
    kesta.focus()
    began = time.time()
    start()
    next_key, next_look, shown = began + 1.0, began + 2.0, None
    while shown is None and time.time() - began < 300:
        now = time.time()
        if with_keys and now >= next_key and len(typed) < len(KEYS):
            key = KEYS[len(typed)]
            typed.append((key, time.time()))
            kesta.key(key)
            next_key = now + KEY_EVERY
        if now >= next_look:
            if kesta.client_shot().find_drawing(last):
                shown = time.time()
            next_look = time.time() + 1.0
        time.sleep(0.02)
    time.sleep(1)
    watch.stop()
    latencies = [watch.seen[k] - t if k in watch.seen else None for k, t in typed]
    return (None if shown is None else shown - began), latencies


def check_floods(kesta, what, start, received):
    drawn_with, latencies = one_flood(kesta, lambda: start(1), received, 1, True)
    drawn_without, _ = one_flood(kesta, lambda: start(2), received, 2, False)
    check(drawn_with is not None and drawn_without is not None,
          "%s: both floods' last lines are drawn (%s s with keys, %s s without)" % (what, drawn_with, drawn_without))
    arrived = [x for x in latencies if x is not None]
    print("     %s: %d keys during a %.1f s flood, seconds to reach the host: %s" %
          (what, len(latencies), drawn_with or 0, " ".join("%.2f" % x if x is not None else "lost" for x in latencies)))
    check(len(latencies) >= 5 and len(arrived) == len(latencies), "%s: every key typed during the flood reaches the "
          "host (%d of %d)" % (what, len(arrived), len(latencies)))
    if arrived:
        quick = sum(1 for x in arrived if x <= 0.5)
        check(quick >= 0.9 * len(arrived) and max(arrived) < 2.0,
              "%s: keys reach the host within half a second while the flood is drawn (%d of %d; median %.2f s, "
              "slowest %.2f s)" % (what, quick, len(arrived), statistics.median(arrived), max(arrived)))
    if drawn_with and drawn_without:
        check(drawn_with < drawn_without * 1.25, "%s: typing does not slow the flood (%.1f s with keys, %.1f s "
              "without)" % (what, drawn_with, drawn_without))


def run(args):
    work = os.path.join(args.work, "flood")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    text = flood_text(FLOOD_BYTES)
    peer = FloodPeer(flood_text(MODEM_FLOOD_BYTES))
    try:
        with e2e.Display(), e2e.Install(args.build, work) as install, \
                e2e.TelnetHost(script=SCRIPT, screen=b"", workdir=work) as host, \
                e2e.ModemEmulator(os.path.join(work, "com1.pty"), numbers={"7": peer.port}) as modem:
            e2e.link_com(install, 1, modem.link)
            install.write_modem(port=1, init="ATZ")
            with open(os.path.join(host.dir, "flood.txt"), "wb") as f:
                f.write(text)
            with e2e.Program(install, ["127.0.0.1:%d" % host.port]) as kesta:
                kesta.wait_window(e2e.TITLE, 60)
                check(eventually(lambda: pane(kesta, 0) == "Connected", 30), "connected to the telnet host")
                time.sleep(2)
                check_floods(kesta, "telnet", lambda n: open(os.path.join(host.dir, "go"), "w").close(),
                             host.received)
                kesta.key("ctrl+F9")
                answer_question(kesta, "HangUp")
                check(eventually(lambda: pane(kesta, 0) == "Disconnected", 15), "Ctrl+F9 and OK hang up")
                time.sleep(1)
                kesta.focus()
                kesta.type("ATDT7")
                kesta.key("Return")
                check(eventually(lambda: modem.connected and peer.conn is not None, 20), "the modem dials the host")
                time.sleep(2)
                check_floods(kesta, "modem", peer.flood, peer.received)
    finally:
        peer.close()


if __name__ == "__main__":
    run_script(run)
