#!/usr/bin/python3
"""kesta10.exe with the host code UTF-8, on an English Windows (ANSI code page
1252), against a telnetd host that speaks UTF-8: the host's lines on screen
as the fonts draw them (syllables outside KS X 1001 among them), typed
Hangul and Enter in UTF-8, a Unicode paste from the X clipboard, a screen
line copied out to the X clipboard, and a ZMODEM download of a file with a
Korean name landing under that name.

    utf8_test.py --build BUILD_DIR --work DIR
"""
import os
import shutil
import struct
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kesta_e2e as e2e  # noqa: E402
from program_test import check, eventually, text_on_screen, run_script  # noqa: E402
from views_test import Screen, clipboard  # noqa: E402

LINES = ["UTF-8 host: 똠방각하 햏 갂", "[1] 게시판 [2] 자료실", "┌──┐ 漢字 ★"]
SCREEN = "".join(line + "\r\n" for line in LINES).encode("utf-8")
NAME = "한글파일.txt"
UPLOAD = "올릴파일.zip"
PAYLOAD = bytes(range(256)) * 300
# The host records what it receives until the test makes "send" in its
# folder, then sends the file by lrzsz's sz.
SCRIPT = """cat "$KESTA_SCREEN"
/usr/bin/python3 "$KESTA_RECORD" "$KESTA_RECV" "$KESTA_DIR/send"
cd "$KESTA_DIR/files" && sz -q *
cd "$KESTA_DIR/uploads" && exec rz -q -y
"""
UTF8_INDEX = 7  # the Hangul code list's last entry


def run(args):
    work = os.path.join(args.work, "utf8")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    with e2e.Display(), e2e.Install(args.build, work, codepage=1252) as install, \
            e2e.TelnetHost(script=SCRIPT, screen=SCREEN, workdir=work) as host:
        os.makedirs(os.path.join(host.dir, "files"))
        os.makedirs(os.path.join(host.dir, "uploads"))
        with open(os.path.join(host.dir, "files", NAME), "wb") as f:
            f.write(PAYLOAD)
        install.write(r"env\kesta.han", struct.pack("<3i", 1, UTF8_INDEX, 2))
        with e2e.Program(install, ["127.0.0.1:%d" % host.port]) as kesta:
            kesta.wait_window(e2e.TITLE, 60)
            status, acp = install.run_probe("acp")
            check(acp.strip() == "1252", "the prefix runs with ANSI code page 1252 (%r)" % acp.strip())
            where = [text_on_screen(kesta, line) for line in LINES]
            for line, at in zip(LINES, where):
                check(at is not None, "the host's UTF-8 line %r is drawn by the fonts" % line)

            # Typed Hangul and Enter reach the host in UTF-8.
            kesta.focus()
            before = len(host.received())
            kesta.key("ctrl+space")
            kesta.type("dkssud")
            kesta.key("ctrl+space")
            kesta.key("Return")
            want = "안녕\r".encode("utf-8")
            check(eventually(lambda: host.received()[before:] == want, 10),
                  "안녕 typed and Enter reach the host in UTF-8 (%r)" % host.received()[before:])

            # A Unicode text from another program, pasted.
            pasted = "붙여넣기 똠 漢 ok"
            subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=pasted.encode("utf-8"),
                           env=kesta.display.env(), check=True)
            time.sleep(0.5)
            before = len(host.received())
            kesta.key("ctrl+v")
            check(eventually(lambda: host.received()[before:] == pasted.encode("utf-8"), 10),
                  "a Unicode paste reaches the host whole in UTF-8 (%r)" % host.received()[before:])

            # A screen line selected with the mouse and copied.
            screen = Screen(kesta)
            row = (where[0][1] - screen.top) // 16 if where[0] else 20
            cells = len(LINES[0].encode("cp949"))  # each Korean letter two cells, as in code page 949
            first, last = screen.centre(0, row), screen.centre(cells - 1, row)
            cx, cy, _, _ = kesta.client_rect()
            kesta.xdotool("mousemove", "--sync", cx + first[0], cy + first[1])
            kesta.xdotool("mousedown", 1)
            for step in range(1, 5):
                kesta.xdotool("mousemove", "--sync", cx + first[0] + (last[0] - first[0]) * step // 4, cy + last[1])
                time.sleep(0.1)
            kesta.xdotool("mouseup", 1)
            kesta.key("ctrl+c")
            copied = clipboard(kesta)
            check(copied.decode("utf-8", "replace") == LINES[0],
                  "the selected line comes out of the X clipboard as the same text (%r)" % copied)

            # A ZMODEM download of a file with a Korean name.
            open(os.path.join(host.dir, "send"), "w").close()
            landed = os.path.join(install.home, "down", NAME)
            check(eventually(lambda: os.path.exists(landed) and os.path.getsize(landed) == len(PAYLOAD), 60),
                  "the download lands as down\\%s" % NAME)
            check(os.path.exists(landed) and open(landed, "rb").read() == PAYLOAD, "with the bytes the host sent")
            names = os.listdir(os.path.join(install.home, "down")) if os.path.isdir(os.path.join(install.home, "down")) else []
            check(names == [NAME], "and under no other name (%r)" % names)

            # A file with a Korean name sent with PgUp: chosen through the
            # Unicode chooser, its name goes out in UTF-8.
            install.write(os.path.join("up", UPLOAD), PAYLOAD[:5000])
            time.sleep(2)
            kesta.key("Prior")
            chooser = e2e.wait_for(lambda: kesta.find_windows("Send File"), 20, 0.2, "the file chooser")
            kesta.display.run("xdotool", "windowfocus", "--sync", str(chooser[0]))
            kesta.display.run("xdotool", "type", "--delay", "50", UPLOAD)
            kesta.display.run("xdotool", "key", "Return")
            sent = os.path.join(host.dir, "uploads", UPLOAD)
            check(eventually(lambda: os.path.exists(sent) and open(sent, "rb").read() == PAYLOAD[:5000], 60),
                  "a file chosen as up\\%s reaches rz under its Korean name (%r)"
                  % (UPLOAD, os.listdir(os.path.join(host.dir, "uploads"))))


if __name__ == "__main__":
    run_script(run)
