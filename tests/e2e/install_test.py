#!/usr/bin/python3
"""The Windows installer, end to end under Wine, against the demo host.

    install_test.py --build BUILD_DIR --work DIR

tools/package.sh makes the win64 installer from BUILD_DIR; it runs silently
(/S) into a fresh prefix, into a folder of its own (C:\\Apps\\Kesta). The
installed program is started from there, connected to `kesta-cli host` run
natively on 127.0.0.1:
- the host's welcome screen arrives, its Korean row drawn as kesta-cli render draws it;
- a file of the host's library, chosen by typing its number, arrives whole in down\\;
- a file sent with PgUp arrives whole in the host's upload folder;
- a post with a Korean title and body, typed in the two-set layout, is read back by a
  plain socket through a second host on the same data in the internal code (type 1).
Then the uninstaller, run silently, removes the program, its DLLs, HANJA.FNT, the
WIN.INI entry and the Start menu folder, and leaves the phone book, the captures and
the downloads.
"""
import os
import re
import shutil
import socket
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kesta_e2e as e2e  # noqa: E402
from program_test import check, eventually, run_script  # noqa: E402

INSTALL_DIR = "C:\\Apps\\Kesta"
WELCOME_ROW = "시험해 보는 작은 게시판입니다."
DLLS = ("ZLINK32.DLL", "QUILH32.DLL", "QUILF32.DLL", "HCTL32.DLL", "HCTLW32.DLL", "HXLAT32.DLL")


class FreshPrefix(e2e.Install):
    """A Wine prefix with nothing of Kesta in it: the installer lays the program out."""

    def __init__(self, workdir, home):
        self._home_windows = home
        super().__init__(os.path.join(workdir, "no-build"), workdir, require_program=False)

    def _lay_out(self, exe):
        self.missing_dlls, self.probe = [], None
        parts = [p for p in self._home_windows.split("\\")[1:] if p]  # after "C:"
        self.home = os.path.join(self.prefix, "drive_c", *parts)


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def make_installer(build, out):
    script = os.path.join(e2e.REPO, "tools", "package.sh")
    r = subprocess.run(["bash", script, "--only", "win64", "--no-build", "--build-dir", build, "--out", out],
                       capture_output=True, text=True, timeout=300)
    if r.returncode != 0:
        raise e2e.HarnessError("tools/package.sh failed: %s %s" % (r.stdout.strip(), r.stderr.strip()))
    found = [f for f in os.listdir(out) if f.endswith("-win64-setup.exe")]
    if not found:
        raise e2e.HarnessError("no win64 installer in %s" % out)
    return os.path.join(out, found[0])


class Host:
    """kesta-cli host on a free port of 127.0.0.1, its data in DATA."""

    def __init__(self, data, code=6):
        self.data = data
        self.port = e2e.free_port()
        self.log = open(os.path.join(os.path.dirname(data), "host-%d.log" % code), "ab")
        self.proc = subprocess.Popen([e2e.kesta_cli(), "host", "--port", str(self.port), "--code", str(code),
                                      "--data", data], stdout=self.log, stderr=self.log, start_new_session=True)
        e2e.wait_for(lambda: e2e.listening(self.port), 20, what="kesta-cli host listening on %d" % self.port)

    def stop(self):
        self.proc.terminate()
        try:
            status = self.proc.wait(10)
        except subprocess.TimeoutExpired:
            e2e.kill_group(self.proc)
            status = None
        self.log.close()
        return status

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        if self.proc.poll() is None:
            self.stop()


def strip_telnet(data):
    """The bytes without telnet commands (IAC IAC is one 0xFF)."""
    out, i = bytearray(), 0
    while i < len(data):
        b = data[i]
        if b != 0xFF:
            out.append(b)
            i += 1
            continue
        if i + 1 >= len(data):
            break
        cmd = data[i + 1]
        if cmd == 0xFF:
            out.append(0xFF)
            i += 2
        elif cmd == 0xFA:  # subnegotiation up to IAC SE
            end = data.find(b"\xff\xf0", i)
            i = len(data) if end < 0 else end + 2
        elif cmd in (0xFB, 0xFC, 0xFD, 0xFE):
            i += 3
        else:
            i += 2
    return bytes(out)


def plain_client_reads(port, steps, timeout=20):
    """Connects with a plain socket, and for each (expected bytes, line to send) waits until the
    expected bytes have arrived (after telnet commands are removed), then sends the line.
    Returns everything received, telnet commands removed."""
    sock = socket.create_connection(("127.0.0.1", port), timeout=timeout)
    raw = b""
    try:
        for expected, line in steps:
            deadline = time.monotonic() + timeout
            while expected not in strip_telnet(raw):
                if time.monotonic() > deadline:
                    raise TimeoutError("the second client waited for %r; it has %r" % (expected, strip_telnet(raw)[-300:]))
                sock.settimeout(max(0.1, deadline - time.monotonic()))
                try:
                    chunk = sock.recv(65536)
                except socket.timeout:
                    continue
                if not chunk:
                    raise ConnectionError("the host closed the connection")
                raw += chunk
            if line is not None:
                sock.sendall(line)
    finally:
        sock.close()
    return strip_telnet(raw)


def installed_shortcuts(prefix):
    found = []
    for dirpath, _dirs, files in os.walk(os.path.join(prefix, "drive_c")):
        found += [os.path.join(dirpath, f) for f in files if f.lower().endswith(".lnk") and "Kesta" in dirpath]
    return found


def win_ini(install):
    path = os.path.join(install.windows, "win.ini")
    return open(path, encoding="latin-1").read() if os.path.exists(path) else ""


def run(args):
    work = os.path.join(args.work, "install")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    setup = make_installer(os.path.abspath(args.build), os.path.join(work, "dist"))
    data = os.path.join(work, "host-data")
    payload = os.urandom(150000) + b"\xff" * 2000 + b"\x18\x11\x13" * 500
    upload = os.path.join(work, "upload.bin")
    with open(upload, "wb") as f:
        f.write(os.urandom(120000) + b"\xff\x18" * 1500)

    with e2e.Display(), FreshPrefix(work, INSTALL_DIR) as install, Host(data) as host:
        # the host made its library on start; this file sorts first, so its number is 1
        with open(os.path.join(data, "files", "a-payload.bin"), "wb") as f:
            f.write(payload)

        # the install folder does not exist yet, so not install.wine (it runs there)
        r = subprocess.run(["wine", setup, "/S", "/D=" + INSTALL_DIR], env=install.env(), cwd=work,
                           capture_output=True, timeout=300)
        status, out = r.returncode, r.stdout.decode("utf-8", "replace")
        subprocess.run(["wineserver", "-w"], env=install.env(), timeout=120)
        check(status == 0, "the installer run with /S ends with status 0 (%d %s)" % (status, out.strip()))
        for name in ("kesta10.exe", "uninstall.exe", "kesta.mir", "kesta.dat", "kestaex.mir", "kestaex.dat",
                     "mport.mir", "mport.dat") + DLLS:
            check(install.exists(name), "the installer put %s into %s" % (name, INSTALL_DIR))
        wavs = sorted(os.listdir(os.path.join(e2e.REPO, "app", "shell", "home", "wav")))
        check(all(install.exists("wav/" + w) for w in wavs), "the installer put the sounds into wav\\")
        for folder in ("env", "tel", "cap", "up", "down"):
            check(os.path.isdir(install.path(folder)), "the installer made %s\\" % folder)
        hanja = os.path.join(install.windows, "HANJA.FNT")
        check(os.path.exists(hanja) and open(hanja, "rb").read() ==
              open(os.path.join(e2e.REPO, "fonts", "glyphs", "HANJA.FNT"), "rb").read(),
              "HANJA.FNT is in the Windows directory")
        check(re.search(r"\[KESTA 20\]\r?\nPROGRAM=C:\\Apps\\Kesta\r?\n", win_ini(install)) is not None,
              "WIN.INI holds [KESTA 20] PROGRAM=%s (%r)" % (INSTALL_DIR, win_ini(install)[-80:]))
        check(len(installed_shortcuts(install.prefix)) == 2,
              "the Start menu has the program and the uninstaller (%s)" % installed_shortcuts(install.prefix))

        exe = INSTALL_DIR + "\\kesta10.exe"
        with e2e.Program(install, ["127.0.0.1:%d" % host.port], exe=exe) as kesta:
            kesta.wait_window(e2e.TITLE, 60)
            welcome = e2e.render(WELCOME_ROW)
            check(eventually(lambda: bool(kesta.client_shot().find_drawing(welcome)), 40),
                  "the host's welcome screen arrives with its Korean row drawn")
            time.sleep(2)  # the host is at its name prompt
            kesta.type("tester")
            kesta.key("Return")
            time.sleep(1)
            kesta.type("2")
            kesta.key("Return")
            time.sleep(1)
            kesta.type("1")
            kesta.key("Return")
            arrived = install.path("down/a-payload.bin")
            check(eventually(lambda: os.path.exists(arrived) and open(arrived, "rb").read() == payload, 120),
                  "file 1 of the library, chosen by typing its number, arrives whole in down\\")
            time.sleep(3)

            kesta.type("U")
            kesta.key("Return")
            time.sleep(2)
            kesta.key("Prior")  # PgUp: Send File
            try:
                chooser = e2e.wait_for(lambda: kesta.find_windows("Send File"), 20, 0.2, "the file chooser")
            except TimeoutError:
                kesta.screenshot().save_ppm(os.path.join(work, "no-chooser.ppm"))
                raise
            kesta.display.run("xdotool", "windowfocus", "--sync", str(chooser[0]))
            kesta.display.run("xdotool", "type", "--delay", "20", windows_path(upload))
            kesta.display.run("xdotool", "key", "Return")
            sent = os.path.join(data, "upload", "upload.bin")
            want = open(upload, "rb").read()
            check(eventually(lambda: os.path.exists(sent) and open(sent, "rb").read() == want, 120),
                  "a file sent with PgUp arrives whole in the host's upload folder")
            time.sleep(3)

            # back to the main menu, the board, a new post: title 한글 test, body 안녕하세요
            kesta.type("Q")
            kesta.key("Return")
            time.sleep(1)
            kesta.type("1")
            kesta.key("Return")
            time.sleep(1)
            kesta.type("W")
            kesta.key("Return")
            time.sleep(1)
            kesta.key("ctrl+space")
            kesta.type("gksrmf")
            kesta.key("ctrl+space")
            kesta.type(" test")
            kesta.key("Return")
            time.sleep(1)
            kesta.key("ctrl+space")
            kesta.type("dkssudgktpdy")
            kesta.key("Return")
            kesta.key("ctrl+space")
            time.sleep(0.5)
            kesta.type(".")
            kesta.key("Return")
            board = os.path.join(data, "board.txt")
            check(eventually(lambda: os.path.exists(board) and "한글 test" in open(board, encoding="utf-8").read(), 20),
                  "the post is kept on the host's board")

            # a second client, a plain socket, reads the post through a host in the internal code
            with Host(data, code=1) as johab_host:
                name_prompt = "이름 (Name) > ".encode("johab")
                menu_prompt = "선택 (1,2,3,K,Q) > ".encode("johab")
                board_prompt = "번호 또는 (P,N,W,Q) > ".encode("johab")
                post_prompt = "(P,N,Q) > ".encode("johab")
                try:
                    seen = plain_client_reads(johab_host.port, [
                        (name_prompt, b"reader\r\n"), (menu_prompt, b"1\r\n"), (board_prompt, b"1\r\n"),
                        (post_prompt, b"Q\r\n")])
                except (OSError, TimeoutError) as error:
                    seen = b""
                    check(False, "the second client: %s" % error)
                check("한글 test".encode("johab") in seen and "안녕하세요".encode("johab") in seen,
                      "a second client reads the Korean post back in the internal code (%r)" % seen[-200:])

        # the user's phone book and a capture, then the uninstaller
        install.write(r"tel\kesta.tel", b"Kesta demo host\t127.0.0.1:2323".ljust(100, b"\0"))
        install.write(r"cap\session.cap", "갈무리".encode("cp949"))
        uninstaller = INSTALL_DIR + "\\uninstall.exe"
        status, out = install.wine(uninstaller, "/S", timeout=120)
        subprocess.run(["wineserver", "-w"], env=install.env(), timeout=120)
        check(status == 0, "the uninstaller run with /S ends with status 0 (%d %s)" % (status, out.strip()))
        left = [name for name in ("kesta10.exe", "uninstall.exe", "kesta.mir", "kestaex.dat", "mport.dat") + DLLS
                if install.exists(name)]
        check(not left, "the uninstaller removes the program files (left: %s)" % left)
        check(not os.path.exists(install.path("wav")), "the uninstaller removes wav\\")
        check(not os.path.exists(hanja), "the uninstaller removes HANJA.FNT from the Windows directory")
        check("KESTA 20" not in win_ini(install), "the uninstaller removes the WIN.INI entry")
        check(not installed_shortcuts(install.prefix), "the uninstaller removes the Start menu folder")
        check(install.exists(r"tel\kesta.tel") and install.read(r"tel\kesta.tel").startswith(b"Kesta demo host"),
              "the phone book stays")
        check(install.exists(r"cap\session.cap"), "the captures stay")
        check(install.exists("down/a-payload.bin"), "the downloads stay")
        check(host.proc.poll() is None, "the host still runs")


if __name__ == "__main__":
    run_script(run)
