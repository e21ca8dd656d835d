#!/usr/bin/python3
"""kesta10.exe's modes where they meet, against a telnetd host and the modem
emulator on COM1, in one program start: a click with a one-pixel jitter on a
host menu item is a click and reception goes on; in the chat window the line
owns its syllable (Shift+Space in the middle of a syllable, English letters
between, nothing on the wire before Enter, closing the window while composing
sends nothing, F9 puts the Hanja into the line); the passed-screen view keeps
its older text through a resize; a telnet hang-up while the view is open
leaves the modem's replies arriving after the view closes.

    modes_test.py --build BUILD_DIR --work DIR
"""
import os
import shutil
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kesta_e2e as e2e  # noqa: E402
from program_test import check, eventually, pane, text_on_screen, run_script  # noqa: E402
from views_test import Screen, differing  # noqa: E402
from keys_test import answer_question  # noqa: E402

MENU = "Select: 1 2 3 123 (P,N,Q) (YES)"
LINES = ["older line %02d" % i for i in range(60)]
SCREEN = ("".join(line + "\r\n" for line in LINES) + MENU + "\r\n").encode("cp949")
# The host prints what the test puts in its folder as "say", and records the rest.
SCRIPT = """cat "$KESTA_SCREEN"
( while :; do if [ -f "$KESTA_DIR/say" ]; then cat "$KESTA_DIR/say"; rm -f "$KESTA_DIR/say"; fi; sleep 0.2; done ) &
exec /usr/bin/python3 "$KESTA_RECORD" "$KESTA_RECV" "$KESTA_DIR/hangup"
"""


def say(host, text):
    """The host prints TEXT (bytes as they are, a str in code page 949)."""
    path = os.path.join(host.dir, "say")
    with open(path + ".tmp", "wb") as f:
        f.write(text.encode("cp949") if isinstance(text, str) else text)
    os.rename(path + ".tmp", path)


def nothing_new(host, before, seconds=1.5):
    time.sleep(seconds)
    return host.received()[before:] == b""


def run(args):
    work = os.path.join(args.work, "modes")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    with e2e.Display(), e2e.Install(args.build, work) as install, \
            e2e.TelnetHost(script=SCRIPT, screen=SCREEN, workdir=work) as host, \
            e2e.ModemEmulator(os.path.join(work, "com1.pty")) as modem:
        e2e.link_com(install, 1, modem.link)
        install.write_modem(port=1, init="ATZ")
        with e2e.Program(install, ["127.0.0.1:%d" % host.port]) as kesta:
            kesta.wait_window(e2e.TITLE, 60)
            check(text_on_screen(kesta, MENU) is not None, "the host's menu is drawn")
            screen = Screen(kesta)
            modem.wait_command("ATZ")

            # A shaky click: the pointer moves a pixel inside the cell with the button down.
            cx, cy, _, _ = kesta.client_rect()
            x, y = screen.centre(12, 26)  # the 3
            before = len(host.received())
            kesta.focus()
            kesta.xdotool("mousemove", "--sync", cx + x, cy + y)
            kesta.xdotool("mousedown", 1)
            kesta.xdotool("mousemove", "--sync", cx + x + 1, cy + y + 1)
            kesta.xdotool("mouseup", 1)
            check(eventually(lambda: host.received()[before:] == b"3\r", 10),
                  "a click with a one-pixel jitter sends the item (%r)" % host.received()[before:])
            say(host, "AFTER THE CLICK\r\n")
            check(text_on_screen(kesta, "AFTER THE CLICK", 10) is not None, "and reception goes on after it")

            # The chat line owns its syllable: nothing reaches the host before Enter.
            kesta.key("alt+c")
            time.sleep(0.5)
            kesta.key("ctrl+space")
            check(eventually(lambda: pane(kesta, 1) == "Hangul", 5), "Ctrl+Space in the chat window: Hangul")
            before = len(host.received())
            kesta.type("dkssu")      # 안, then 녀 under composition
            kesta.key("shift+space")  # English; 녀 finished into the line
            check(eventually(lambda: pane(kesta, 1) == "English", 5), "Shift+Space while composing: English")
            kesta.type("ok")
            kesta.key("shift+space")
            kesta.type("gks")        # 한 under composition
            check(nothing_new(host, before), "nothing of the chat line reaches the host before Enter (%r)"
                  % host.received()[before:])
            kesta.key("Return")
            want = "안녀ok한".encode("cp949") + b"\r"
            check(eventually(lambda: host.received()[before:] == want, 10),
                  "Enter sends the whole line once, in order, in the host code (%r)" % host.received()[before:])

            # Closing the chat window while composing sends nothing; the syllable stays in the line.
            before = len(host.received())
            kesta.type("gk")         # 하 under composition
            kesta.key("alt+c")
            check(nothing_new(host, before), "closing the chat window while composing sends nothing (%r)"
                  % host.received()[before:])
            kesta.key("alt+c")
            kesta.key("Return")
            want = "하".encode("cp949") + b"\r"
            check(eventually(lambda: host.received()[before:] == want, 10),
                  "opened again, Enter sends the syllable kept in the line (%r)" % host.received()[before:])

            # F9 in the chat window: the Hanja goes into the line, not to the host.
            before = len(host.received())
            kesta.type("gks")
            kesta.key("F9")
            dialog = e2e.wait_for(lambda: kesta.find_windows("Hanja Input Dialog"), 15, 0.2, "the Hanja picker")[0]
            time.sleep(1)
            status, out = install.run_probe("client", "Hanja Input Dialog")
            px, py, width, _ = (int(v) for v in out.split()[:4])
            side = width // 8
            kesta.xdotool("mousemove", "--sync", px + side // 2, py + side // 2)
            kesta.xdotool("click", 1)
            e2e.wait_for(lambda: not kesta.find_windows("Hanja Input Dialog"), 10, 0.2, "the picker to close")
            check(nothing_new(host, before), "F9 in the chat window sends nothing (%r)" % host.received()[before:])
            kesta.key("Return")
            check(eventually(lambda: host.received()[before:].endswith(b"\r"), 10), "Enter sends the chat line")
            got = host.received()[before:]
            try:
                hanja = got[:-1].decode("cp949")
            except UnicodeDecodeError:
                hanja = ""
            check(len(hanja) == 1 and 0x4E00 <= ord(hanja) <= 0x9FFF or 0xF900 <= ord(hanja or "a") <= 0xFAFF,
                  "the line held the picked Hanja in place of 한 (%r)" % got)
            kesta.key("alt+c")
            kesta.key("ctrl+space")
            check(eventually(lambda: pane(kesta, 1) == "English", 5), "back to English")

            # The view keeps its older text through a resize; Escape brings the live page back.
            time.sleep(1)
            live = screen.area()
            kesta.key("F5")
            kesta.key("Prior")
            time.sleep(1)
            older = screen.area()
            check(differing(older, live) > 1000, "F5 and PgUp show older text")
            _, _, w, h = kesta.window_geometry()
            kesta.xdotool("windowsize", kesta.wid, w + 48, h + 32)
            time.sleep(1.5)
            kesta.xdotool("windowsize", kesta.wid, w, h)
            time.sleep(1.5)
            screen = Screen(kesta)
            check(differing(screen.area(), older) <= 8 * 16,
                  "a resize and back leaves the older text on screen (%d pixels differ)" % differing(screen.area(), older))
            kesta.key("Escape")
            time.sleep(1)
            check(differing(screen.area(), live) <= 8 * 16, "Escape brings the live page back")

            # A telnet hang-up while the view is open: the modem is heard again once it closes.
            kesta.key("F5")
            time.sleep(0.5)
            kesta.key("ctrl+F9")
            answer_question(kesta, "HangUp")
            check(eventually(lambda: pane(kesta, 0) == "Disconnected", 15), "Ctrl+F9 in the view hangs up telnet")
            kesta.key("Escape")
            time.sleep(0.5)
            kesta.type("AT")
            kesta.key("Return")
            check(eventually(lambda: any(c.startswith("AT") and c != "ATZ" for c in modem.commands), 10),
                  "typing after the view goes to the modem (%r)" % modem.commands)
            modem.send(b"MODEM STILL HEARD\r\n")
            check(text_on_screen(kesta, "MODEM STILL HEARD", 10) is not None,
                  "the modem's reply arrives after the view closes")


if __name__ == "__main__":
    run_script(run)
