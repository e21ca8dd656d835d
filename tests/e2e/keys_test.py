#!/usr/bin/python3
"""kesta10.exe's commands, keys and transfers against real peers on 127.0.0.1.

    keys_test.py --build BUILD_DIR --work DIR

One program start, with a modem emulator on COM1: Hangul typed in the two-set layout reaches the host in its
code, Backspace while composing sends nothing, F9 on a syllable and F4 send the
code picked in the host code, the glyph its button showed, Ctrl+1 sends macro 1 converted,
Ctrl+F9 hangs up, the connect command (Ctrl+M) opens a typed host (an
address, or localhost by name; a refused port gives the "ERROR" box), a host
running lrzsz's sz starts the download by itself and the file arrives whole in
the download folder, and a file sent with PgUp reaches lrzsz's rz whole;
then the same two over the modem's line (ATDT typed to the modem, CONNECT,
the transfer, hang-up). The Send File chooser opens in the upload folder; a
download into a folder that does not exist ends in a message saying so. Each
transfer's time is printed.
"""
import os
import re
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kesta_e2e as e2e  # noqa: E402
from program_test import check, eventually, pane, run_script  # noqa: E402

JOHAB_GANA = bytes.fromhex("8861 9061")  # 가나 in the internal code
CP949_GANA = "가나".encode("cp949")


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def connect_by_command(kesta, port, host="127.0.0.1"):
    """Ctrl+M, the host text typed into "Open Domain", OK."""
    kesta.key("ctrl+m")
    dialog = e2e.wait_for(lambda: kesta.find_windows("Open Domain"), 15, 0.2, "the Open Domain dialog")
    kesta.display.run("xdotool", "windowfocus", "--sync", str(dialog[0]))
    kesta.display.run("xdotool", "type", "--delay", "30", "%s:%d" % (host, port))
    kesta.display.run("xdotool", "key", "Return")


def answer_question(kesta, title):
    window = e2e.wait_for(lambda: kesta.find_windows(title), 15, 0.2, "the question %r" % title)
    kesta.display.run("xdotool", "windowfocus", "--sync", str(window[0]))
    kesta.display.run("xdotool", "key", "Return")


def pick_and_check(kesta, install, host, title, columns, column, what):
    """Opens picker TITLE's button at COLUMN of its first row (COLUMNS to a row, square
    buttons filling the client area): the code the host gets in its code page must be
    the glyph that button showed, as the font store draws it."""
    dialog = e2e.wait_for(lambda: kesta.find_windows(title), 15, 0.2, "the picker %r" % title)[0]
    time.sleep(1)
    status, out = install.run_probe("client", title)
    cx, cy, width, _ = (int(v) for v in out.split()[:4])
    v = dict(line.split("=", 1) for line in kesta.xdotool("getwindowgeometry", "--shell", dialog).split())
    shot = kesta.display.screenshot(window=dialog)
    side = width // columns
    box = (cx - int(v["X"]) + column * side, cy - int(v["Y"]), side, side)
    before = len(host.received())
    kesta.xdotool("mousemove", "--sync", cx + column * side + side // 2, cy + side // 2)
    kesta.xdotool("click", 1)
    check(eventually(lambda: len(host.received()) >= before + 2, 10), "%s: the picked code reaches the host" % what)
    got = host.received()[before:before + 2]
    try:
        glyph = got.decode("cp949")
    except UnicodeDecodeError:
        glyph = None
    check(glyph is not None and bool(shot.find_drawing(e2e.render(glyph), box)),
          "%s: the host gets %r in code page 949, the glyph the button showed" % (what, got))


def progress_fields(kesta, install, complete):
    """The transfer dialog's fields by their labels ("CPS : " and the text beside
    it), read again and again while the dialog is open until COMPLETE(fields)
    holds; the last reading (empty when the dialog closed before any)."""
    title = "Zmodem for Kesta Kesta"
    e2e.wait_for(lambda: kesta.find_windows(title), 20, 0.1, "the transfer dialog")
    fields = {}
    deadline = time.time() + 60
    while time.time() < deadline and kesta.find_windows(title):
        status, out = install.run_probe("texts", title)
        texts = [line.split(": ", 1)[1] if ": " in line else "" for line in out.replace("\r", "").split("\n")]
        reading = {label[:-3]: value for label, value in zip(texts, texts[1:]) if label.endswith(" : ")}
        if reading:
            fields = reading
        if complete(fields):
            break
    return fields


class RawPeer:
    """One lrzsz command behind a plain TCP port on 127.0.0.1: what a bulletin
    board behind a modem looks like (no telnet in between)."""

    def __init__(self, command, cwd):
        self.port = e2e.free_port()
        self.cwd = cwd
        os.makedirs(cwd, exist_ok=True)
        self.proc = subprocess.Popen(["socat", "TCP-LISTEN:%d,bind=127.0.0.1,reuseaddr" % self.port,
                                      "EXEC:%s" % command], cwd=cwd, start_new_session=True,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        e2e.wait_for(lambda: e2e.listening(self.port), 10, 0.05, "socat to listen")

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        e2e.kill_group(self.proc)


def lrzsz_baseline(work, download, upload):
    """lrzsz to lrzsz over plain TCP on 127.0.0.1, the times the program's transfers are set beside."""
    times = {}
    for name, peer_command, own_command in [("download", "sz -b -q %s" % download, "rz -b -q -y"),
                                            ("upload", "rz -b -q -y", "sz -b -q %s" % upload)]:
        folder = os.path.join(work, "baseline-" + name)
        with RawPeer(peer_command, folder + "-peer") as peer:
            os.makedirs(folder, exist_ok=True)
            started = time.time()
            subprocess.run(["socat", "TCP:127.0.0.1:%d" % peer.port, "EXEC:%s" % own_command], cwd=folder,
                           timeout=120, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            times[name] = time.time() - started
    print("     lrzsz to lrzsz over TCP, 1 MiB: download %.1f s, upload %.1f s" % (times["download"], times["upload"]),
          flush=True)


def run(args):
    work = os.path.join(args.work, "keys")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    download = os.path.join(work, "download.bin")
    upload = os.path.join(work, "upload.bin")
    with open(download, "wb") as f:
        f.write(os.urandom(1 << 20))
    with open(upload, "wb") as f:
        f.write(os.urandom(1 << 20))
    lrzsz_baseline(work, download, upload)
    sz_script = 'exec sz -b -q "%s"\n' % download
    rz_script = 'exec rz -b -q -y\n'
    with e2e.Display(), e2e.Install(args.build, work) as install, \
            e2e.TelnetHost(workdir=work) as host, \
            e2e.TelnetHost(script=sz_script, workdir=work) as sender, \
            e2e.TelnetHost(script=rz_script, workdir=work) as receiver, \
            RawPeer("sz -b -q %s" % download, os.path.join(work, "serial-sz")) as serial_sender, \
            RawPeer("rz -b -q -y", os.path.join(work, "serial-rz")) as serial_receiver, \
            e2e.ModemEmulator(os.path.join(work, "com1.pty"),
                              numbers={"1": serial_sender.port, "2": serial_receiver.port}) as modem:
        e2e.link_com(install, 1, modem.link)
        install.write_modem(port=1, init="ATZ")
        install.write(r"env\kesta.mac", JOHAB_GANA + bytes(900 - len(JOHAB_GANA)))
        with e2e.Program(install, ["127.0.0.1:%d" % host.port]) as kesta:
            kesta.wait_window(e2e.TITLE, 60)
            check(eventually(lambda: pane(kesta, 0) == "Connected", 30), "connected to the first host")
            time.sleep(1)
            kesta.key("ctrl+space")
            check(eventually(lambda: pane(kesta, 1) == "Hangul", 5), "Ctrl+Space shows Hangul in pane 1")
            kesta.type("dkssud")
            kesta.key("Return")
            check(eventually(lambda: host.received().endswith("안녕".encode("cp949") + b"\r"), 10),
                  "dkssud and Enter reach the host as 안녕 and CR in code page 949 (%r)" % host.received()[-8:])
            before = host.received()
            kesta.type("r")
            kesta.key("BackSpace")
            time.sleep(1.5)
            check(host.received() == before, "Backspace while composing sends nothing")
            # F9 on a composed syllable and F4: the pickers' buttons and the codes they send.
            kesta.type("gks")
            kesta.key("F9")
            pick_and_check(kesta, install, host, "Hanja Input Dialog", 8, 0, "F9 on 한")
            kesta.key("F4")
            pick_and_check(kesta, install, host, "Special Input Dialog", 16, 5, "F4")
            kesta.key("ctrl+space")
            kesta.key("ctrl+1")
            check(eventually(lambda: host.received().endswith(CP949_GANA), 10),
                  "Ctrl+1 sends macro 1 converted to the host code (%r)" % host.received()[-6:])
            kesta.key("ctrl+F9")
            answer_question(kesta, "HangUp")
            check(eventually(lambda: pane(kesta, 0) == "Disconnected", 15), "Ctrl+F9 and OK hang up")

            connect_by_command(kesta, sender.port)
            arrived = install.path(os.path.join("down", "download.bin"))
            want = open(download, "rb").read()
            started = time.time()
            check(eventually(lambda: os.path.exists(arrived) and open(arrived, "rb").read() == want, 120),
                  "sz on the host starts the download by itself and the file arrives whole in down")
            print("     telnet download of %d bytes: %.1f s" % (len(want), time.time() - started))
            time.sleep(2)

            # A download directory that does not exist: the file cannot be made.
            missing = "C:\\kesta\\nowhere"
            install.write(r"env\kesta.dir", b"".join(d.encode() + bytes(100 - len(d)) for d in (missing, "", "")))
            # A host name is looked up: localhost reaches the same host.
            connect_by_command(kesta, sender.port, "localhost")
            check(eventually(lambda: kesta.find_windows("Download Failed"), 60),
                  "a download whose file cannot be created ends in a message")
            status, texts = install.run_probe("texts", "Download Failed")
            check("could not be created" in texts, "the message says the file could not be created (%r)" % texts.strip())
            answer_question(kesta, "Download Failed")
            os.remove(install.path(r"env\kesta.dir"))
            time.sleep(2)
            connect_by_command(kesta, e2e.free_port())
            check(eventually(lambda: kesta.find_windows("ERROR"), 20), "Ctrl+M to a refused port shows the ERROR box")
            status, texts = install.run_probe("texts", "ERROR")
            check("Socket Error" in texts, "the ERROR box says Socket Error (%r)" % texts.strip())
            answer_question(kesta, "ERROR")

            connect_by_command(kesta, receiver.port)
            time.sleep(3)
            # The chooser opens in the upload directory: the bare name finds the file there.
            shutil.copy(upload, install.path(os.path.join("up", "upload.bin")))
            kesta.key("Prior")  # PgUp: Send File
            chooser = e2e.wait_for(lambda: kesta.find_windows("Send File"), 20, 0.2, "the file chooser")
            kesta.display.run("xdotool", "windowfocus", "--sync", str(chooser[0]))
            kesta.display.run("xdotool", "type", "--delay", "20", "upload.bin")
            kesta.display.run("xdotool", "key", "Return")
            sent = os.path.join(receiver.dir, "upload.bin")
            want = open(upload, "rb").read()
            started = time.time()
            check(eventually(lambda: os.path.exists(sent) and open(sent, "rb").read() == want, 120),
                  "a file sent with PgUp reaches rz on the host whole")
            print("     telnet upload of %d bytes: %.1f s" % (len(want), time.time() - started))

            # The same over the modem: with telnet closed, typing goes to the serial port.
            kesta.key("ctrl+F9")
            answer_question(kesta, "HangUp")
            time.sleep(1)
            os.remove(arrived)
            sent = os.path.join(serial_receiver.cwd, "upload.bin")
            kesta.type("ATDT1")
            kesta.key("Return")
            check(eventually(lambda: modem.connected, 20), "ATDT typed to the modem connects")
            want = open(download, "rb").read()
            started = time.time()
            check(eventually(lambda: os.path.exists(arrived) and open(arrived, "rb").read() == want, 180),
                  "over the modem, sz starts the download by itself and the file arrives whole")
            print("     serial download of %d bytes: %.1f s" % (len(want), time.time() - started))
            kesta.key("ctrl+F9")
            answer_question(kesta, "HangUp")
            check(eventually(lambda: not modem.connected, 20), "hang-up drops the modem's call")
            time.sleep(2)
            kesta.type("ATDT2")
            kesta.key("Return")
            check(eventually(lambda: modem.connected, 20), "the second call connects")
            time.sleep(3)
            kesta.key("Prior")
            chooser = e2e.wait_for(lambda: kesta.find_windows("Send File"), 20, 0.2, "the file chooser")
            kesta.display.run("xdotool", "windowfocus", "--sync", str(chooser[0]))
            kesta.display.run("xdotool", "type", "--delay", "20", windows_path(upload))
            kesta.display.run("xdotool", "key", "Return")
            want = open(upload, "rb").read()
            started = time.time()
            def shown(fields):
                this = re.fullmatch(r"(\d+) bytes", fields.get("This", ""))
                return bool(fields.get("File Size") == "%d bytes" % len(want) and
                            re.fullmatch(r"[1-9]\d* CPS", fields.get("CPS", "")) and this and
                            0 < int(this.group(1)) <= len(want))
            fields = progress_fields(kesta, install, shown)
            check(shown(fields),
                  "the transfer dialog shows the sizes as \"N bytes\" and the rate as \"N CPS\" (%r)" % fields)
            check(eventually(lambda: os.path.exists(sent) and open(sent, "rb").read() == want, 180),
                  "over the modem, a file sent with PgUp reaches rz whole")
            print("     serial upload of %d bytes: %.1f s" % (len(want), time.time() - started))


if __name__ == "__main__":
    run_script(run)
