#!/usr/bin/python3
"""kesta10.exe as a user runs it, in three starts:

1. first start (code page 1252) with a telnet host on the command line and a
   modem on COM1: the logo for about five seconds and only then the main
   window; the folders and settings files of a first start; the initial
   command at the modem; the terminal type VT100 at the host; the host's
   Korean row on screen pixel for pixel as kesta-cli render draws it; bytes
   from the modem on screen; Hangul typed and sent; the host hanging up gives
   "Disconnected"; Alt+X and OK end the program and save the client size;
2. second start: the same client size comes back;
3. a new installation with code page 949: the Korean status text and exit
   question.

    program_test.py --build BUILD_DIR --work DIR
"""
import argparse
import os
import re
import struct
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kesta_e2e as e2e  # noqa: E402
from kesta_e2e import TITLE  # noqa: E402

failures = []
menu_bars = {}  # code page: the menu bar's picture, to compare the two languages


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)
    return condition


def logo_position(shot, logo):
    """Where the logo picture is on the screen (centred, give or take its border), or None."""
    x0, y0 = (shot.width - logo.width) // 2, (shot.height - logo.height) // 2
    samples = [(x, y) for y in range(20, logo.height - 20, 23) for x in range(20, logo.width - 20, 29)]
    for dy in range(-3, 5):
        for dx in range(-3, 5):
            same = sum(shot.pixel(x0 + dx + x, y0 + dy + y) == logo.pixel(x, y) for x, y in samples)
            if same >= 0.95 * len(samples):
                return x0 + dx, y0 + dy
    return None


CLOCK = re.compile(r"\d\d:\d\d:\d\d")


def eventually(predicate, timeout=10):
    """True once PREDICATE holds, False if it does not within TIMEOUT seconds."""
    try:
        return bool(e2e.wait_for(predicate, timeout, 0.3))
    except TimeoutError:
        return False


def pane(kesta, n):
    texts = kesta.status_texts()
    return texts[n] if n < len(texts) else None


def text_on_screen(kesta, text, timeout=20):
    """Waits until TEXT, as kesta-cli render draws it, is in the client area; returns the match."""
    reference = e2e.render(text)

    def found():
        matches = kesta.client_shot().find_drawing(reference)
        return matches[0] if matches else None
    try:
        return kesta.wait_for(found, timeout, "%r on screen" % text)
    except TimeoutError:
        return None


def toolbar_order(shot):
    """The x of each of the strip's 16 pictures on the toolbar row, or None for one not found.
    The toolbar maps black, grays and white to its own colours: only the coloured pixels count."""
    strip = e2e.read_bmp(open(os.path.join(e2e.REPO, "app", "shell", "res", "toolbar.bmp"), "rb").read())
    plain = [(0, 0, 0), (128, 128, 128), (192, 192, 192), (255, 255, 255)]
    icons = [strip.crop(16 * i, 0, 16, 16) for i in range(16)]
    first = shot.find_picture(icons[0], region=(0, 0, shot.width, 150), ignore=plain)
    if not first:
        return [None] * 16
    row = first[0][1]
    xs = []
    for icon in icons:
        at = [x for x, y in shot.find_picture(icon, region=(0, row, shot.width, 1), ignore=plain)]
        xs.append(at[0] if len(at) == 1 else None)
    return xs


def menu_bar(kesta):
    """The strip just above the client area, where the menu bar is."""
    x, y, width, _ = kesta.client_rect()
    return kesta.screenshot().crop(x, y - 18, min(width, 600), 16)


def exit_by_alt_x(kesta, title):
    """Alt+X, the question titled TITLE, OK: the program ends."""
    kesta.key("alt+x")
    asked = kesta.find_windows(title) or e2e.wait_for(lambda: kesta.find_windows(title), 15, 0.2,
                                                        "the question %r" % title)
    check(bool(asked), "Alt+X asks %r" % title)
    e2e.current_display().run("xdotool", "windowfocus", "--sync", str(asked[0]))
    e2e.current_display().run("xdotool", "key", "Return")
    check(kesta.wait_exit(30) == 0, "OK ends the program")


def first_start(build, work):
    with e2e.Display(), e2e.Install(build, os.path.join(work, "cp1252")) as install, \
            e2e.TelnetHost(workdir=os.path.join(work, "telnet")) as host, \
            e2e.ModemEmulator(os.path.join(work, "com1.pty")) as modem:
        e2e.link_com(install, 1, modem.link)
        install.write_modem(port=1, rate=38400, init="ATZ")
        logo = e2e.picture_pair(install.path("kesta"))
        with e2e.Program(install, ["127.0.0.1:%d" % host.port]) as kesta:
            try:
                e2e.wait_for(lambda: logo_position(kesta.screenshot(), logo), 60, 0.2, "the logo")
                logo_seen = time.monotonic()
                check(not kesta.find_windows(TITLE), "the main window is hidden while the logo shows")
            except TimeoutError:
                logo_seen = None
                check(False, "the logo appears centred on the screen")
            kesta.wait_window(TITLE, 60)
            shown = time.monotonic()
            if logo_seen:
                check(4.0 <= shown - logo_seen <= 8.0, "the main window comes %.1f s after the logo" % (shown - logo_seen))

            check(all(os.path.isdir(install.path(d)) for d in ("cap", "up", "down")), "cap, up and down are made")
            check(install.exists(r"env\kesta.voc") and install.read(r"env\kesta.voc") == struct.pack("<i", 1),
                  "env\\kesta.voc: voice on")
            mus = install.read(r"env\kesta.mus") if install.exists(r"env\kesta.mus") else b""
            check(len(mus) == 104 and mus[:4] == struct.pack("<i", 1) and
                  mus[4:].split(b"\0")[0].lower() == b"c:\\kesta\\wav\\back.wav", "env\\kesta.mus: music on, back.wav")
            check(install.exists(r"env\kesta.col") and
                  install.read(r"env\kesta.col") == struct.pack("<2i", 0xFFFFFF, 0x7D0000),
                  "env\\kesta.col: white on dark blue")
            check(not any(install.exists("env\\kesta." + x) for x in ("han", "dir", "aut")),
                  "no kesta.han, kesta.dir or kesta.aut on a first start")

            check(eventually(lambda: b"ATZ\r" in modem.received(), 15),
                  "the initial command ATZ reaches the modem (%r)" % modem.received())
            eventually(lambda: host.term(), 20)
            check(host.term() == "vt100", "the host sees terminal type VT100 (TERM=%r)" % host.term())
            texts = kesta.status_texts()
            check(len(texts) == 5 and texts[:3] == ["Connected", "English", "Captured"] and
                  re.fullmatch(r"00:00:\d\d", texts[3]) and CLOCK.fullmatch(texts[4]),
                  "the five status panes: %r" % texts)
            time.sleep(2.2)
            check(pane(kesta, 3) != texts[3], "the connection clock runs (%r, then %r)" % (texts[3], pane(kesta, 3)))

            menu_bars[1252] = menu_bar(kesta)
            xs = toolbar_order(kesta.screenshot())
            check(None not in xs and xs == sorted(xs), "the toolbar shows the strip's 16 pictures in order: %r" % xs)
            match = text_on_screen(kesta, "안녕하세요 케스타")
            check(match is not None, "the host's Korean row is on screen as kesta-cli render draws it (%r)" % (match,))
            modem.send("모뎀에서 왔어요\r\n".encode("cp949"))
            match = text_on_screen(kesta, "모뎀에서 왔어요")
            check(match is not None, "bytes from the modem reach the screen (%r)" % (match,))

            kesta.key("ctrl+space")
            check(eventually(lambda: pane(kesta, 1) == "Hangul"), "Ctrl+Space: status pane 1 says Hangul")
            kesta.type("dkssud")
            kesta.key("ctrl+space")
            check(eventually(lambda: pane(kesta, 1) == "English"), "Ctrl+Space again: English")
            kesta.type("ok\r")
            want = "안녕".encode("cp949") + b"ok\r"
            check(eventually(lambda: want in host.received(), 15), "Hangul typed with Ctrl+Space reaches the host in code page 949 (%r)"
                  % host.received())

            x, y, width, height = kesta.client_rect()
            host.hang_up()
            eventually(lambda: pane(kesta, 0) == "Disconnected", 15)
            texts = kesta.status_texts()
            check(texts[0] == "Disconnected" and texts[3] == "00:00:00",
                  "the host hanging up gives Disconnected and 00:00:00 (%r)" % texts)
            if failures:
                kesta.screenshot().save_ppm(os.path.join(work, "first-start.ppm"))
            exit_by_alt_x(kesta, "Exit")
        check(install.exists(r"env\kesta.pos") and install.read_pos() == (width, height),
              "env\\kesta.pos holds the client size %dx%d (%r)" % (width, height,
                                                                  install.exists(r"env\kesta.pos") and install.read_pos()))

        with e2e.Program(install) as kesta:
            kesta.wait_window(TITLE, 60)
            size = kesta.wait_for(lambda: kesta.client_rect()[2:], 10)
            check(tuple(size) == (width, height), "the second start comes back at %dx%d (%r)" % (width, height, size))
            check(pane(kesta, 0) == "Disconnected", "without a host the status says Disconnected")
            welcome = e2e.picture_pair(install.path("kestaex"))
            cx, cy, cw, ch = kesta.client_rect()
            at = eventually(lambda: kesta.screenshot().find_picture(welcome, region=(cx, cy, cw, ch), step=7))
            check(at, "the welcome picture fills the first terminal rows")
            exit_by_alt_x(kesta, "Exit")


def korean_start(build, work):
    with e2e.Display(), e2e.Install(build, os.path.join(work, "cp949"), codepage=949) as install:
        with e2e.Program(install) as kesta:
            kesta.wait_window(TITLE, 60)
            check(install.run_probe("acp")[1].strip() == "949", "the prefix runs with code page 949")
            texts = kesta.status_texts()
            check(texts[:4] == ["연결안됨", "영어", "갈무리끝", "00:00:00"] and CLOCK.fullmatch(texts[4]),
                  "the status panes in Korean: %r" % texts)
            korean = menu_bar(kesta)
            english = menu_bars.get(1252)
            check(english is not None and korean.rgb != english.rgb and len(korean.colours()) > 1,
                  "the menu bar is another one with code page 949 (only its picture can be compared)")
            exit_by_alt_x(kesta, "종료")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", required=True, help="the win64 build directory")
    parser.add_argument("--work", required=True, help="scratch directory, kept for a look after a failure")
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)
    for run in (first_start, korean_start):
        print("== " + run.__name__, flush=True)
        try:
            run(args.build, args.work)
        except Exception as error:  # a harness error fails this run, the next still goes
            check(False, "%s: %s: %s" % (run.__name__, type(error).__name__, error))
    print("%d failed" % len(failures) if failures else "all program checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
