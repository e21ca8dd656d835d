#!/usr/bin/python3
"""kesta10.exe's views against a telnetd host: clicks on the host's menu
choices, selection, copy, send and paste, the chat window with head and tail
texts, the passed-screen view, screen capture (its chooser asking before
replacing a file) and the search highlight.

    views_test.py --build BUILD_DIR --work DIR
"""
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kesta_e2e as e2e  # noqa: E402
from program_test import check, eventually, text_on_screen, run_script  # noqa: E402

CELL_W, CELL_H = 8, 16
MENU = "Select: 1 2 3 123 (P,N,Q) (YES) (Yes)"
LINES = ["line %02d %s" % (i, "가나다라" * (i % 4)) for i in range(60)]
SCREEN = ("".join(line + "\r\n" for line in LINES) + MENU + "\r\n").encode("cp949")
# The host sends "LATE LINE" once the test makes the file "late" in its folder.
SCRIPT = """cat "$KESTA_SCREEN"
( while [ ! -f "$KESTA_DIR/late" ]; do sleep 0.2; done; printf 'LATE LINE\\r\\n' ) &
exec /usr/bin/python3 "$KESTA_RECORD" "$KESTA_RECV" "$KESTA_DIR/hangup"
"""


class Screen:
    """Cells of the terminal area in client coordinates."""

    def __init__(self, kesta):
        self.kesta = kesta
        _, _, width, height = kesta.client_rect()
        self.left = width // 2 - (85 * CELL_W) // 2
        self.top = 2 * CELL_H + height // 2 - (31 * CELL_H) // 2

    def centre(self, column, row):
        return self.left + column * CELL_W + CELL_W // 2, self.top + row * CELL_H + CELL_H // 2

    def click(self, column, row):
        self.kesta.click(*self.centre(column, row))

    def area(self):
        shot = self.kesta.client_shot()
        return shot.crop(self.left, self.top, 85 * CELL_W, 28 * CELL_H)


def differing(a, b):
    return sum(1 for i in range(0, len(a.rgb), 3) if a.rgb[i:i + 3] != b.rgb[i:i + 3])


def dialog_type(kesta, title, text):
    window = e2e.wait_for(lambda: kesta.find_windows(title), 15, 0.2, "the dialog %r" % title)
    kesta.display.run("xdotool", "windowfocus", "--sync", str(window[0]))
    if text:
        kesta.display.run("xdotool", "type", "--delay", "30", text)
    kesta.display.run("xdotool", "key", "Return")
    time.sleep(0.5)


def clipboard(kesta):
    r = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=kesta.display.env(), capture_output=True)
    return r.stdout


def run(args):
    work = os.path.join(args.work, "views")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    capture_path = os.path.join(work, "screen.cap")
    with e2e.Display(), e2e.Install(args.build, work) as install, \
            e2e.TelnetHost(script=SCRIPT, screen=SCREEN, workdir=work) as host:
        with e2e.Program(install, ["127.0.0.1:%d" % host.port]) as kesta:
            kesta.wait_window(e2e.TITLE, 60)
            check(text_on_screen(kesta, MENU) is not None, "the host's last row is drawn after 60 lines scrolled")
            check(text_on_screen(kesta, LINES[-1]) is not None, "the row before it too")
            screen = Screen(kesta)

            # Clicks on the menu row (row 26: the cursor stands on row 27).
            for column, sent in [(12, b"3\r"), (15, b"123\r"), (23, b"Q\r"), (28, b"YES\r")]:
                before = len(host.received())
                screen.click(column, 26)
                check(eventually(lambda: host.received()[before:] == sent, 10),
                      "a click at column %d sends %r (%r)" % (column, sent, host.received()[before:]))
            before = len(host.received())
            screen.click(34, 26)
            time.sleep(1.5)
            check(host.received()[before:] == b"", "a click on (Yes) sends nothing")

            # Search and screen capture, then the passed-screen view.
            kesta.key("alt+s")
            dialog_type(kesta, "Search String", "LATE")
            # Choosing a file that exists asks first; No keeps it whole, Yes replaces it.
            old_file = bytes(range(256)) * 3 + bytes(32)
            with open(capture_path, "wb") as f:
                f.write(old_file)
            for answer in ("n", "y"):
                kesta.key("alt+l")
                chooser = e2e.wait_for(lambda: kesta.find_windows("Script Save File"), 15, 0.2, "the capture chooser")
                dialog_type(kesta, "Script Save File", "Z:" + capture_path.replace("/", "\\"))
                question = e2e.wait_for(lambda: set(kesta.find_windows("Script Save File")) - set(chooser), 15, 0.2,
                                        "the question before replacing the file")
                kesta.display.run("xdotool", "windowfocus", "--sync", str(question.pop()))
                kesta.display.run("xdotool", "key", answer)
                time.sleep(1)
                if answer == "n":
                    kesta.display.run("xdotool", "windowfocus", "--sync", str(chooser[0]))
                    kesta.display.run("xdotool", "key", "Escape")
                    time.sleep(1)
                    check(open(capture_path, "rb").read() == old_file and kesta.status_texts()[2:3] == ["Captured"],
                          "No to the question keeps the chosen file whole and starts no capture")
            check(eventually(lambda: kesta.status_texts()[2:3] == ["Capturing"], 10), "Yes: pane 2 says Capturing")
            shot0 = screen.area()
            kesta.key("F5")
            kesta.key("Prior")
            time.sleep(1)
            check(differing(screen.area(), shot0) > 1000, "PgUp in the view shows older rows")
            kesta.key("Next")
            kesta.key("Escape")
            time.sleep(1)
            check(differing(screen.area(), shot0) <= CELL_W * CELL_H, "F5, PgUp, PgDn, Escape leave the screen as it was")
            kesta.key("F5")
            kesta.key("Prior")
            open(os.path.join(host.dir, "late"), "w").close()
            time.sleep(2)
            kesta.key("Escape")
            # "LATE" is drawn in the search colours, the rest of the row in the usual ones.
            check(text_on_screen(kesta, " LINE") is not None, "text sent while the view was open appears after Escape")
            area = screen.area()
            highlight = area.count((100, 100, 100))
            check(highlight > 0, "the search string arriving is drawn in the highlight colour")
            kesta.key("alt+l")
            check(eventually(lambda: kesta.status_texts()[2:3] == ["Captured"], 10), "pane 2 says Captured again")
            captured = open(capture_path, "rb").read() if os.path.exists(capture_path) else b""
            check(b"LATE LINE" in captured and b"\x1b" not in captured,
                  "screen capture wrote the received text without escape sequences (%r)" % captured[:40])

            # Selection over the whole screen, copy and send.
            first, last = screen.centre(0, 0), screen.centre(79, 27)
            cx, cy, _, _ = kesta.client_rect()
            kesta.focus()
            kesta.xdotool("mousemove", "--sync", cx + first[0], cy + first[1])
            kesta.xdotool("mousedown", 1)
            for step in range(1, 6):
                kesta.xdotool("mousemove", "--sync", cx + first[0] + (last[0] - first[0]) * step // 5,
                              cy + first[1] + (last[1] - first[1]) * step // 5)
                time.sleep(0.1)
            kesta.xdotool("mouseup", 1)
            kesta.key("ctrl+c")
            copied = clipboard(kesta)
            check(b"LATE LINE" in copied and b"line 59" in copied and copied.index(b"line 59") < copied.index(b"LATE"),
                  "dragging over the screen and Ctrl+C copies its rows (%d bytes)" % len(copied))
            check(b"\n" in copied, "the copied rows are joined by line ends")
            before = len(host.received())
            kesta.key("ctrl+s")
            check(eventually(lambda: b"LATE LINE" in host.received()[before:] and b"line 59" in host.received()[before:], 10),
                  "Ctrl+S sends the selection")

            # A paste larger than any fixed buffer arrives whole.
            big = (b"0123456789" * 7000)
            subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=big, env=kesta.display.env())
            time.sleep(0.5)
            before = len(host.received())
            kesta.key("ctrl+v")
            check(eventually(lambda: host.received()[before:] == big, 30),
                  "a 70,000-byte paste arrives whole (%d bytes)" % (len(host.received()) - before))

            # The chat window with head and tail texts.
            kesta.key("alt+c")
            time.sleep(0.5)
            kesta.key("alt+h")
            dialog_type(kesta, "Prefixation", "[H]")
            kesta.key("alt+t")
            dialog_type(kesta, "Suffixation", "[T]")
            before = len(host.received())
            kesta.key("ctrl+space")
            kesta.type("dkssud")
            kesta.key("Return")
            want = b"[H]" + "안녕".encode("cp949") + b"[T]\r"
            check(eventually(lambda: host.received()[before:] == want, 10),
                  "Alt+C, 안녕 and Enter send head + 안녕 + tail and CR (%r)" % host.received()[before:])


if __name__ == "__main__":
    run_script(run)
