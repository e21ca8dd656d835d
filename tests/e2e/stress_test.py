#!/usr/bin/python3
"""kesta10.exe against hosts that misbehave, in one program start (the short
form; --minutes N makes the storm last longer):

- a raw TCP host on 127.0.0.1 (no telnetd in between, so it can send telnet
  commands of its own) storms the program for a while with random bytes,
  escape sequences with hundreds of parameters and numbers of many digits,
  telnet commands at random (incomplete negotiations, IAC IAC storms,
  subnegotiations that never end), a line of hundreds of kilobytes, long
  runs of NUL and shift-out without shift-in, then resets the terminal and
  sends one last line: the program is still there, the window answers, the
  last line stands on screen as the fonts draw it and typed keys reach the
  host;
- a telnetd host whose sz is killed in the middle of a download: the
  program ends the transfer, keeps the partial file, and a second host's
  sz -r resumes it to an identical file; a new connection works after each.

    stress_test.py --build BUILD_DIR --work DIR [--minutes N]
"""
import os
import random
import shutil
import socket
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kesta_e2e as e2e  # noqa: E402
from program_test import check, eventually, pane, text_on_screen, run_script  # noqa: E402
from keys_test import answer_question, connect_by_command  # noqa: E402

LAST = "STILL STANDING AFTER THE STORM"
IAC, SB, SE, WILL, WONT, DO, DONT = 255, 250, 240, 251, 252, 253, 254


def storm_pieces(rng):
    """An endless supply of hostile pieces."""
    while True:
        kind = rng.randrange(9)
        if kind == 0:
            yield bytes(rng.randrange(256) for _ in range(rng.randrange(1, 4096)))
        elif kind == 1:
            yield b"\x1b[" + b";".join(str(rng.randrange(10 ** rng.randrange(1, 12))).encode()
                                       for _ in range(rng.randrange(100, 600))) + bytes([rng.choice(b"mHJKfABCDrsu")])
        elif kind == 2:
            yield b"\x1b[" + b"9" * rng.randrange(20, 400) + bytes([rng.choice(b"HABCDJKmLMP@")])
        elif kind == 3:  # negotiations, some cut short
            piece = bytearray()
            for _ in range(rng.randrange(1, 50)):
                piece += bytes([IAC, rng.choice([WILL, WONT, DO, DONT]), rng.randrange(256)])
            yield bytes(piece[:rng.randrange(1, len(piece) + 1)])
        elif kind == 4:
            yield bytes([IAC, IAC]) * rng.randrange(1, 20000)
        elif kind == 5:  # a subnegotiation without its end, or with a long body
            body = bytes(rng.randrange(256) for _ in range(rng.randrange(0, 5000)))
            yield bytes([IAC, SB, rng.randrange(256)]) + body + (bytes([IAC, SE]) if rng.randrange(2) else b"")
        elif kind == 6:
            yield b"L" * rng.randrange(100000, 400000)
        elif kind == 7:
            yield b"\x00" * rng.randrange(10000, 200000)
        else:
            yield b"\x0e" + "한글".encode("cp949") * rng.randrange(1, 500)


class StormHost:
    """A raw TCP host: storms the first connection for SECONDS, then sends the
    last line and records what it gets back until stopped."""

    def __init__(self, seconds, seed=2026):
        self.server = socket.socket()
        self.server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.server.bind(("127.0.0.1", 0))
        self.server.listen(1)
        self.port = self.server.getsockname()[1]
        self.seconds, self.rng = seconds, random.Random(seed)
        self.sent = 0
        self.received = bytearray()
        self.finished = threading.Event()
        self.stopping = False
        self.thread = threading.Thread(target=self._serve, daemon=True)
        self.thread.start()

    def _serve(self):
        try:
            conn, _ = self.server.accept()
        except OSError:
            return
        reader = threading.Thread(target=self._read, args=(conn,), daemon=True)
        reader.start()
        try:
            end = time.time() + self.seconds
            pieces = storm_pieces(self.rng)
            while time.time() < end and not self.stopping:
                piece = next(pieces)
                conn.sendall(piece)
                self.sent += len(piece)
            # IAC SE twice ends whatever telnet state the storm stopped in
            # (a subnegotiation included); CAN ends an escape sequence.
            conn.sendall(bytes([IAC, SE, IAC, SE]) + b"\x0f\x18\x1b[0m\x1bc\x1b[2J\x1b[H\r\n" + LAST.encode() + b"\r\n")
        except OSError:
            pass
        self.finished.set()
        while not self.stopping:
            time.sleep(0.1)
        # shutdown sends the close at once, though the reader is still waiting in recv.
        try:
            conn.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass
        conn.close()

    def _read(self, conn):
        while not self.stopping:
            try:
                data = conn.recv(65536)
            except OSError:
                return
            if not data:
                return
            self.received += data

    def stop(self):
        self.stopping = True
        self.server.close()


def resident_mb(install):
    """The resident size of the program's Wine process (the one running kesta10.exe in its home), in MB."""
    best = None
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            if b"kesta10.exe" not in open("/proc/%s/cmdline" % pid, "rb").read():
                continue
            if os.path.realpath("/proc/%s/cwd" % pid) != os.path.realpath(install.home):
                continue
            for line in open("/proc/%s/status" % pid):
                if line.startswith("VmRSS:"):
                    kb = int(line.split()[1])
                    best = kb if best is None or kb > best else best
        except OSError:
            continue
    return None if best is None else best / 1024


def answers(install):
    """The window answers a message from another process within a second."""
    started = time.time()
    status, _ = install.run_probe("client", e2e.TITLE, timeout=10)
    return status == 0 and time.time() - started < 5  # the probe's own start under Wine included


def run(args):
    minutes = getattr(args, "minutes", 0) or 0
    work = os.path.join(args.work, "stress")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    payload = os.path.join(work, "payload.bin")
    with open(payload, "wb") as f:
        f.write(random.Random(7).randbytes(64 << 20))
    # $$ is the session's shell, which exec makes sz: killed a second in.
    cut = '( sleep 1; kill -9 $$ ) &\nexec sz -b -q "%s"\n' % payload
    resume = 'exec sz -b -q -r "%s"\n' % payload
    storm = StormHost(max(20, int(minutes * 60)))
    try:
        with e2e.Display(), e2e.Install(args.build, work) as install, \
                e2e.TelnetHost(workdir=work) as plain, \
                e2e.TelnetHost(script=cut, workdir=work) as cutter, \
                e2e.TelnetHost(script=resume, workdir=work) as resumer:
            with e2e.Program(install, ["127.0.0.1:%d" % storm.port]) as kesta:
                kesta.wait_window(e2e.TITLE, 60)
                started = time.time()
                memory = [resident_mb(install)]
                while not storm.finished.is_set():
                    time.sleep(5)
                    check(kesta.running() and answers(install),
                          "%d s into the storm the program runs and its window answers" % (time.time() - started))
                    memory.append(resident_mb(install))
                print("     the storm sent %.1f MB in %d s" % (storm.sent / 1e6, time.time() - started))
                print("     resident size (MB) at the start and every 5 s: %s" % " ".join("%.0f" % m for m in memory if m))
                check(None not in memory and memory[-1] - memory[0] < 64,
                      "the program's memory stays flat through the storm (%.0f MB more)"
                      % ((memory[-1] or 0) - (memory[0] or 0)))
                check(text_on_screen(kesta, LAST, 120) is not None, "the last line after the storm stands on screen")
                before = len(storm.received)
                kesta.focus()
                kesta.type("alive")
                kesta.key("Return")
                check(eventually(lambda: b"alive\r" in bytes(storm.received[before:]), 10),
                      "typed keys reach the host after the storm")
                storm.stop()
                check(eventually(lambda: pane(kesta, 0) == "Disconnected", 90), "the host's close is seen")

                # A new connection works.
                connect_by_command(kesta, plain.port)
                check(eventually(lambda: plain.term() is not None and pane(kesta, 0) == "Connected", 30),
                      "a new connection after the storm works")
                kesta.key("ctrl+F9")
                answer_question(kesta, "HangUp")
                check(eventually(lambda: pane(kesta, 0) == "Disconnected", 15), "and hangs up")

                # A download whose sender dies keeps its part; the next host resumes it.
                arrived = install.path(os.path.join("down", "payload.bin"))
                connect_by_command(kesta, cutter.port)
                check(eventually(lambda: os.path.exists(arrived), 60), "the download starts")
                check(eventually(lambda: pane(kesta, 0) == "Disconnected" and not kesta.find_windows("Download Failed")
                                 or kesta.find_windows("Download Failed"), 120),
                      "a sender killed in the middle ends the transfer")
                for _ in range(3):
                    if kesta.find_windows("Download Failed"):
                        answer_question(kesta, "Download Failed")
                    time.sleep(1)
                size = os.path.getsize(arrived) if os.path.exists(arrived) else 0
                check(0 < size < os.path.getsize(payload), "the partial file is kept (%d bytes)" % size)
                want = open(payload, "rb").read()
                check(want.startswith(open(arrived, "rb").read()), "the part kept is the file's beginning")
                if pane(kesta, 0) != "Disconnected":
                    kesta.key("ctrl+F9")
                    answer_question(kesta, "HangUp")
                time.sleep(1)
                connect_by_command(kesta, resumer.port)
                check(eventually(lambda: os.path.exists(arrived) and open(arrived, "rb").read() == want, 180),
                      "sz -r from the next host resumes it to an identical file")
    finally:
        storm.stop()


if __name__ == "__main__":
    minutes = 0
    if "--minutes" in sys.argv:
        i = sys.argv.index("--minutes")
        minutes = float(sys.argv[i + 1])
        del sys.argv[i:i + 2]

    def with_minutes(args):
        args.minutes = minutes
        run(args)
    run_script(with_minutes)
