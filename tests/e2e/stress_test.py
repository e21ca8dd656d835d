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
  sz -r resumes it to an identical file; a new connection works after each;
- a telnetd host whose rz is killed in the middle of an upload: the upload
  ends within a bound with "Upload Failed" and the host's close is seen;
- a modem line that drops ("NO CARRIER") in the middle of a download over
  the modem emulator on COM1: the transfer ends within a bound, the part
  stays, and dialling again reaches an sz -r that resumes it;
- a mixed session: rounds of a download, an upload, the chat line, the
  passed-screen view, a burst of text and a host entry dialled from the
  phone book, the program's resident size sampled after each round.

    stress_test.py --build BUILD_DIR --work DIR [--minutes N]

--minutes N makes the mixed session last N minutes and the storm a tenth of
that (the long form: --minutes 30); the short form storms for 20 s and runs
two rounds.
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
from keys_test import RawPeer, answer_question, connect_by_command  # noqa: E402
from dialogs_test import record  # noqa: E402
from modes_test import SCRIPT as TALKER_SCRIPT, say  # noqa: E402

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


def dismiss(kesta, title):
    if kesta.find_windows(title):
        answer_question(kesta, title)
        e2e.wait_for(lambda: not kesta.find_windows(title), 10, 0.2, "%r to close" % title)


def hang_up_if_connected(kesta):
    if pane(kesta, 0) != "Disconnected":
        kesta.key("ctrl+F9")
        answer_question(kesta, "HangUp")
        check(eventually(lambda: pane(kesta, 0) == "Disconnected", 15), "Ctrl+F9 and OK hang up")
    time.sleep(1)


def send_file(kesta, name):
    """PgUp and a name in the upload folder."""
    kesta.key("Prior")
    chooser = e2e.wait_for(lambda: kesta.find_windows("Send File"), 20, 0.2, "the file chooser")
    kesta.display.run("xdotool", "windowfocus", "--sync", str(chooser[0]))
    kesta.display.run("xdotool", "type", "--delay", "20", name)
    kesta.display.run("xdotool", "key", "Return")


def ends_with_message(kesta, title, bound):
    """Seconds until the message TITLE appears (None if not within BOUND); then it is answered."""
    started = time.time()
    if not eventually(lambda: kesta.find_windows(title), bound):
        return None
    took = time.time() - started
    dismiss(kesta, title)
    return took


def check_storm(kesta, install, storm, plain):
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

    connect_by_command(kesta, plain.port)
    check(eventually(lambda: plain.term() is not None and pane(kesta, 0) == "Connected", 30),
          "a new connection after the storm works")
    hang_up_if_connected(kesta)


def check_download_cut(kesta, install, payload, cutter, resumer):
    """A download whose sender dies keeps its part; the next host resumes it."""
    arrived = install.path(os.path.join("down", "payload.bin"))
    connect_by_command(kesta, cutter.port)
    check(eventually(lambda: os.path.exists(arrived), 60), "the download starts")
    check(eventually(lambda: pane(kesta, 0) == "Disconnected" and not kesta.find_windows("Download Failed")
                     or kesta.find_windows("Download Failed"), 120),
          "a sender killed in the middle ends the transfer")
    for _ in range(3):
        dismiss(kesta, "Download Failed")
        time.sleep(1)
    size = os.path.getsize(arrived) if os.path.exists(arrived) else 0
    check(0 < size < os.path.getsize(payload), "the partial file is kept (%d bytes)" % size)
    want = open(payload, "rb").read()
    check(want.startswith(open(arrived, "rb").read()), "the part kept is the file's beginning")
    hang_up_if_connected(kesta)
    connect_by_command(kesta, resumer.port)
    check(eventually(lambda: os.path.exists(arrived) and open(arrived, "rb").read() == want, 180),
          "sz -r from the next host resumes it to an identical file")
    hang_up_if_connected(kesta)
    os.remove(arrived)


def check_upload_cut(kesta, install, payload, host):
    """An upload whose receiver dies ends within a bound and says so."""
    shutil.copy(payload, install.path(os.path.join("up", "payload.bin")))
    connect_by_command(kesta, host.port)
    check(eventually(lambda: pane(kesta, 0) == "Connected", 30), "connected to the host that will die")
    time.sleep(2)
    send_file(kesta, "payload.bin")
    took = ends_with_message(kesta, "Upload Failed", 120)
    check(took is not None, "a receiver killed in the middle of an upload ends it with \"Upload Failed\" "
          "(after %s s)" % (None if took is None else round(took, 1)))
    check(eventually(lambda: pane(kesta, 0) == "Disconnected", 30), "and the host's close is seen")
    received = os.path.join(host.dir, "payload.bin")
    size = os.path.getsize(received) if os.path.exists(received) else 0
    print("     the host's rz had %d of %d bytes when it died" % (size, os.path.getsize(payload)))
    os.remove(install.path(os.path.join("up", "payload.bin")))


def check_line_drop(kesta, install, payload, modem):
    """The modem line drops in the middle of a download; dialling again resumes it."""
    arrived = install.path(os.path.join("down", os.path.basename(payload)))
    kesta.focus()
    kesta.type("ATDT5")
    kesta.key("Return")
    check(eventually(lambda: os.path.exists(arrived) and os.path.getsize(arrived) > 1 << 20, 60),
          "a download over the modem starts")
    modem.remote_hangup()
    dropped = time.time()
    took = ends_with_message(kesta, "Download Failed", 180)
    check(took is not None, "a line that drops in the middle ends the download with \"Download Failed\" "
          "(after %s s)" % (None if took is None else round(took, 1)))
    size = os.path.getsize(arrived) if os.path.exists(arrived) else 0
    want = open(payload, "rb").read()
    check(0 < size < len(want) and want.startswith(open(arrived, "rb").read()),
          "the part that arrived is kept (%d bytes, %.0f s after the drop)" % (size, time.time() - dropped))
    kesta.focus()
    kesta.type("ATDT6")
    kesta.key("Return")
    check(eventually(lambda: os.path.exists(arrived) and open(arrived, "rb").read() == want, 180),
          "dialling again, sz -r resumes it to an identical file")
    kesta.key("ctrl+F9")
    answer_question(kesta, "HangUp")
    check(eventually(lambda: not modem.connected, 20), "and the call hangs up")
    os.remove(arrived)


def mixed_round(kesta, install, hosts, n):
    """One round of a user's evening: a download, an upload, the chat line, the
    view, a burst of text, and the talking host dialled from the phone book."""
    sender, receiver, talker = hosts["sender"], hosts["receiver"], hosts["talker"]
    small = os.path.join(os.path.dirname(sender.dir), "small.bin")
    want = open(small, "rb").read()
    arrived = install.path(os.path.join("down", "small.bin"))
    connect_by_command(kesta, sender.port)
    ok = eventually(lambda: os.path.exists(arrived) and open(arrived, "rb").read() == want, 60)
    hang_up_if_connected(kesta)
    if os.path.exists(arrived):
        os.remove(arrived)

    sent = os.path.join(receiver.dir, "small.bin")
    if os.path.exists(sent):
        os.remove(sent)
    connect_by_command(kesta, receiver.port)
    eventually(lambda: pane(kesta, 0) == "Connected", 20)
    time.sleep(1)
    send_file(kesta, "small.bin")
    ok = eventually(lambda: os.path.exists(sent) and open(sent, "rb").read() == want, 60) and ok
    hang_up_if_connected(kesta)

    sessions = len(talker.terms())
    kesta.key("alt+d")
    book = e2e.wait_for(lambda: kesta.find_windows("Dial"), 15, 0.2, "the phone book")
    kesta.display.run("xdotool", "windowfocus", "--sync", str(book[0]))
    time.sleep(0.3)
    kesta.display.run("xdotool", "key", "Return")  # the remembered first entry, the talker
    ok = eventually(lambda: len(talker.terms()) > sessions and pane(kesta, 0) == "Connected", 30) and ok
    time.sleep(1)
    before = len(talker.received())
    kesta.key("alt+c")
    time.sleep(0.5)
    kesta.key("ctrl+space")
    kesta.type("dkssud")
    kesta.key("Return")
    kesta.key("ctrl+space")
    kesta.key("alt+c")
    ok = eventually(lambda: talker.received()[before:] == "안녕".encode("cp949") + b"\r", 10) and ok
    line = ("round %d " % n).encode() + bytes(0x21 + i % 90 for i in range(70)) + b"\r\n"
    say(talker, line * 20000 + b"END OF ROUND %d\r\n" % n)
    ok = text_on_screen(kesta, "END OF ROUND %d" % n, 120) is not None and ok
    kesta.key("F5")
    for key in ("Prior", "Prior", "Next", "Home", "End"):
        kesta.key(key)
        time.sleep(0.2)
    kesta.key("Escape")
    ok = kesta.running() and answers(install) and ok
    hang_up_if_connected(kesta)
    return ok


def check_mixed_session(kesta, install, hosts, minutes):
    started = time.time()
    memory = [resident_mb(install)]
    rounds = failed = 0
    while rounds < 2 or time.time() - started < minutes * 60:
        if not mixed_round(kesta, install, hosts, rounds + 1):
            failed += 1
        rounds += 1
        memory.append(resident_mb(install))
        print("     round %d done at %.0f s, resident %s MB" % (rounds, time.time() - started, memory[-1]), flush=True)
        if not kesta.running():
            break
    check(failed == 0, "%d rounds of a mixed session in %.0f s, every download, upload, chat line, "
          "burst and dial as it should be (%d failed)" % (rounds, time.time() - started, failed))
    print("     resident size (MB) at the start and after each round: %s"
          % " ".join("%.0f" % m for m in memory if m))
    later = [m for m in memory[1:] if m]
    check(len(later) == len(memory) - 1 and later[-1] - later[0] < 24,
          "the program's memory stays flat through the mixed session (%.0f MB from the first round to the last)"
          % ((later[-1] - later[0]) if later else 0))


def run(args):
    minutes = getattr(args, "minutes", 0) or 0
    work = os.path.join(args.work, "stress")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    payload = os.path.join(work, "payload.bin")
    with open(payload, "wb") as f:
        f.write(random.Random(7).randbytes(64 << 20))
    with open(os.path.join(work, "small.bin"), "wb") as f:
        f.write(random.Random(8).randbytes(256 << 10))
    # The modem emulator's line carries about 200 KB/s.
    serial_payload = os.path.join(work, "serial.bin")
    with open(serial_payload, "wb") as f:
        f.write(random.Random(9).randbytes(8 << 20))
    # $$ is the session's shell, which exec makes sz or rz: killed a moment in.
    cut = '( sleep 1; kill -9 $$ ) &\nexec sz -b -q "%s"\n' % payload
    resume = 'exec sz -b -q -r "%s"\n' % payload
    # rz is killed once 2 MB of the upload have arrived.
    upload_cut = ('( while [ "$(stat -c %s "$KESTA_DIR/payload.bin" 2>/dev/null || echo 0)" -lt 2000000 ]; '
                  'do sleep 0.1; done; kill -9 $$ ) &\nexec rz -b -q -y\n')
    storm = StormHost(max(20, int(minutes * 6)))
    try:
        with e2e.Display(), e2e.Install(args.build, work) as install, \
                e2e.TelnetHost(workdir=work) as plain, \
                e2e.TelnetHost(script=cut, workdir=work) as cutter, \
                e2e.TelnetHost(script=resume, workdir=work) as resumer, \
                e2e.TelnetHost(script=upload_cut, workdir=work) as dying_receiver, \
                e2e.TelnetHost(script='exec sz -b -q "%s/small.bin"\n' % work, workdir=work) as sender, \
                e2e.TelnetHost(script="exec rz -b -q -y\n", workdir=work) as receiver, \
                e2e.TelnetHost(script=TALKER_SCRIPT, workdir=work) as talker, \
                RawPeer("sz -b -q %s" % serial_payload, os.path.join(work, "serial-sz")) as serial_sender, \
                RawPeer("sz -b -q -r %s" % serial_payload, os.path.join(work, "serial-szr")) as serial_resumer, \
                e2e.ModemEmulator(os.path.join(work, "com1.pty"),
                                  numbers={"5": serial_sender.port, "6": serial_resumer.port}) as modem:
            e2e.link_com(install, 1, modem.link)
            install.write_modem(port=1, init="ATZ")
            install.write(r"tel\kesta.tel", record("Talker\t127.0.0.1:%d" % talker.port))
            with e2e.Program(install, ["127.0.0.1:%d" % storm.port]) as kesta:
                kesta.wait_window(e2e.TITLE, 60)
                shutil.copy(os.path.join(work, "small.bin"), install.path(os.path.join("up", "small.bin")))
                check_storm(kesta, install, storm, plain)
                check_download_cut(kesta, install, payload, cutter, resumer)
                check_upload_cut(kesta, install, payload, dying_receiver)
                check_line_drop(kesta, install, serial_payload, modem)
                check_mixed_session(kesta, install, {"sender": sender, "receiver": receiver, "talker": talker},
                                    minutes)
                check(not os.path.exists(install.path("kesta10.crash.txt")), "no crash report")
                check(not any(name not in ("payload.bin", "small.bin", "serial.bin") for name in os.listdir(install.path("down"))),
                      "nothing but the downloads in the download folder (%r)" % os.listdir(install.path("down")))
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
