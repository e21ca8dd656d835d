#!/usr/bin/python3
"""kesta10.exe as a user runs it: start-up, the main window, a telnet host and a
modem on a COM port, keys, exit and a second start.

    program_test.py --build BUILD_DIR --work DIR [GROUP...]

GROUP: start (code page 1252: the logo for about five seconds and only then
the main window; the folders and settings files of a first start; the five
status panes; the toolbar's pictures, both kept by a resize; VT100 at a telnet host and its rows
drawn as the font store draws them; the modem's initial command (also by
Alt+O) and bytes from it on screen; F1's About box; Hangul typed and sent; the host hanging up; Alt+X and OK;
the client size, the welcome picture and bytes already waiting on the line
at the next start), korean (code page
949: the Korean panes, the host's Korean row, a menu bar unlike the English
one, the Korean exit question). Without GROUP: both, in that order.
"""
import argparse
import os
import re
import shutil
import struct
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kesta_e2e as e2e  # noqa: E402
from kesta_e2e import TITLE  # noqa: E402
from xwd import read_ppm  # noqa: E402

failures = []
CLOCK = re.compile(r"\d\d:\d\d:\d\d")


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)
    return condition


def eventually(predicate, timeout=10):
    """True once PREDICATE holds, False if it does not within TIMEOUT seconds."""
    try:
        return bool(e2e.wait_for(predicate, timeout, 0.3))
    except TimeoutError:
        return False


def run_script(run):
    """The main of a one-run script: RUN(args) with --build and --work, every check
    printed, a harness error counted as a failure, the exit status 1 on any failure."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True, help="the win64 build directory")
    parser.add_argument("--work", required=True, help="scratch directory, kept for a look after a failure")
    args = parser.parse_args()
    try:
        run(args)
    except Exception as error:
        check(False, "%s: %s" % (type(error).__name__, error))
    print("%d failed" % len(failures))
    sys.exit(1 if failures else 0)


def pane(kesta, n):
    texts = kesta.status_texts()
    return texts[n] if n < len(texts) else None


def logo_position(shot, logo):
    """Where the logo picture is on the screen (centred, give or take its border), or None."""
    x0, y0 = (shot.width - logo.width) // 2, (shot.height - logo.height) // 2
    samples = [(x, y) for y in range(20, logo.height - 20, 23) for x in range(20, logo.width - 20, 29)]

    def near(a, b):  # the palette may round a colour by a step
        return all(abs(p - q) <= 3 for p, q in zip(a, b))
    for dy in range(-3, 5):
        for dx in range(-3, 5):
            same = sum(near(shot.pixel(x0 + dx + x, y0 + dy + y), logo.pixel(x, y)) for x, y in samples)
            if same >= 0.95 * len(samples):
                return x0 + dx, y0 + dy
    return None


def text_on_screen(kesta, text, timeout=20):
    """Waits until TEXT, as kesta-cli render draws it, is in the client area; returns where, or None."""
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
    kesta.display.run("xdotool", "windowfocus", "--sync", str(asked[0]))
    kesta.display.run("xdotool", "key", "Return")
    code = kesta.wait_exit(30)
    check(code == 0, "OK ends the program (status %s)" % code)


# ---------------------------------------------------------------- start

def test_start(args):
    work = os.path.join(args.work, "start")
    shutil.rmtree(work, ignore_errors=True)
    with e2e.Display(), e2e.Install(args.build, work) as install, e2e.TelnetHost(workdir=work) as host, \
            e2e.ModemEmulator(os.path.join(work, "com1.pty")) as modem:
        e2e.link_com(install, 1, modem.link)
        install.write_modem(port=1, rate=38400, init="ATZ E0")
        logo = e2e.picture_pair(install.path("kesta"))
        with e2e.Program(install, ["127.0.0.1:%d" % host.port]) as kesta:
            logo_seen = eventually(lambda: logo_position(kesta.screenshot(), logo) or kesta.find_windows(TITLE), 60)
            logo_at = time.monotonic()
            check(logo_seen and not kesta.find_windows(TITLE), "the logo shows centred while the main window is hidden")
            kesta.wait_window(TITLE, 60)
            shown_after = time.monotonic() - logo_at
            check(3.5 <= shown_after <= 9, "the main window comes about five seconds after the logo (%.1f s)"
                  % shown_after)

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

            check(eventually(lambda: b"ATZ E0\r" in modem.received(), 15),
                  "the initial command reaches the modem (%r)" % modem.received())
            kesta.key("F1")
            check(eventually(lambda: kesta.find_windows("About"), 15), "F1 opens About")
            about = kesta.find_windows("About")
            if about:
                kesta.display.run("xdotool", "windowfocus", "--sync", str(about[0]))
                kesta.display.run("xdotool", "key", "Return")
            check(eventually(lambda: not kesta.find_windows("About"), 10), "Enter closes About")
            eventually(lambda: host.term(), 30)
            check(host.term() == "vt100", "the host sees terminal type VT100 (TERM=%r)" % host.term())
            eventually(lambda: pane(kesta, 0) == "Connected", 30)
            texts = kesta.status_texts()
            check(len(texts) == 5 and texts[:3] == ["Connected", "English", "Captured"] and
                  re.fullmatch(r"00:00:\d\d", texts[3]) and CLOCK.fullmatch(texts[4]),
                  "the five status panes: %r" % texts)
            time.sleep(2.2)
            check(pane(kesta, 3) != texts[3], "the connection clock runs (%r, then %r)" % (texts[3], pane(kesta, 3)))

            menu_bar(kesta).save_ppm(os.path.join(args.work, "menu-1252.ppm"))
            xs = toolbar_order(kesta.screenshot())
            check(None not in xs and xs == sorted(xs), "the toolbar shows the strip's 16 pictures in order: %r" % xs)
            for line in e2e.DEFAULT_SCREEN_LINES:
                match = text_on_screen(kesta, line)
                check(match is not None, "the host's row %r is drawn as the font store draws it (%r)" % (line, match))
            modem.send("\r\n모뎀에서 왔어요 MODEM 2400\r\n".encode("cp949"))
            match = text_on_screen(kesta, "모뎀에서 왔어요 MODEM 2400")
            check(match is not None, "bytes from the serial line reach the screen (%r)" % (match,))

            # A resize keeps the status panes' texts and the toolbar's pictures.
            before = kesta.status_texts()
            _, _, width, height = kesta.client_rect()
            gx, gy, gw, gh = kesta.window_geometry()
            kesta.xdotool("windowsize", kesta.wid, gw - 80, gh - 40)
            check(eventually(lambda: kesta.client_rect()[2:] == (width - 80, height - 40), 10),
                  "the window takes the new size (%r)" % (kesta.client_rect()[2:],))
            time.sleep(1)
            after = kesta.status_texts()
            check(len(after) == 5 and after[:3] == before[:3] and CLOCK.fullmatch(after[4]),
                  "the resize keeps the status panes' texts (%r, then %r)" % (before, after))
            xs = toolbar_order(kesta.screenshot())
            check(None not in xs and xs == sorted(xs), "after the resize the toolbar still shows its pictures: %r" % xs)

            kesta.key("ctrl+space")
            check(eventually(lambda: pane(kesta, 1) == "Hangul"), "Ctrl+Space: status pane 1 says Hangul")
            kesta.type("dkssud")
            kesta.key("ctrl+space")
            check(eventually(lambda: pane(kesta, 1) == "English"), "Ctrl+Space again: English")
            kesta.type("ok\r")
            want = "안녕".encode("cp949") + b"ok\r"
            check(eventually(lambda: want in host.received(), 15),
                  "Hangul typed after Ctrl+Space reaches the host in code page 949 (%r)" % host.received())

            host.hang_up()
            eventually(lambda: pane(kesta, 0) == "Disconnected", 30)
            texts = kesta.status_texts()
            check(texts[0] == "Disconnected" and texts[3] == "00:00:00",
                  "the host ending its session gives Disconnected and 00:00:00 (%r)" % texts)
            kesta.key("alt+o")  # with no telnet connection it goes to the modem
            check(eventually(lambda: modem.received().count(b"ATZ E0\r") == 2, 15),
                  "Alt+O sends the initial command again (%r)" % modem.received())
            if failures:
                kesta.screenshot().save_ppm(os.path.join(work, "first-start.ppm"))
            client_before = kesta.client_rect()
            exit_by_alt_x(kesta, "Exit")
        saved = install.read_pos() if install.exists(r"env\kesta.pos") else None
        check(saved == tuple(client_before[2:]), "the client size was saved at exit (%r, %r)"
              % (saved, client_before[2:]))

        # The next start writes an empty initial command (a lone CR, which the
        # modem leaves unanswered), and the line already holds bytes: they
        # must show without waiting for more to arrive.
        install.write_modem(port=1, rate=38400, init="")
        os.write(modem.master, b"\r\nQUEUED BEFORE START\r\n")
        sent_before = len(modem.received())
        with e2e.Program(install) as again:
            again.wait_window(TITLE, 60)
            time.sleep(1)  # let the start of operation settle before measuring
            size = again.client_rect()[2:]
            check(tuple(size) == tuple(client_before[2:]), "the second start comes back at the same client size "
                  "(%r, %r)" % (size, client_before[2:]))
            check(eventually(lambda: modem.received()[sent_before:] == b"\r", 15),
                  "the second start sends its initial command again (%r)" % modem.received()[sent_before:])
            check(pane(again, 0) == "Disconnected", "without a host the status says Disconnected")
            welcome = e2e.picture_pair(install.path("kestaex"))
            cx, cy, cw, ch = again.client_rect()
            check(eventually(lambda: again.screenshot().find_picture(welcome, region=(cx, cy, cw, ch), step=7)),
                  "the welcome picture fills the first terminal rows pixel for pixel")
            check(text_on_screen(again, "QUEUED BEFORE START") is not None,
                  "bytes waiting on the line when the port opens are shown at once")
            exit_by_alt_x(again, "Exit")


# ---------------------------------------------------------------- korean

def test_korean(args):
    work = os.path.join(args.work, "korean")
    shutil.rmtree(work, ignore_errors=True)
    with e2e.Display(), e2e.Install(args.build, work, codepage=949) as install, \
            e2e.TelnetHost(workdir=work) as host:
        code, acp = install.run_probe("acp")
        check(acp.strip() == "949", "the prefix runs with code page 949 (%s)" % acp.strip())
        with e2e.Program(install, ["127.0.0.1:%d" % host.port]) as kesta:
            kesta.wait_window(TITLE, 60)
            eventually(lambda: pane(kesta, 0) == "연결잘됨", 30)
            texts = kesta.status_texts()
            check(texts[:3] == ["연결잘됨", "영어", "갈무리끝"] and CLOCK.fullmatch(texts[4]),
                  "the status panes in Korean: %r" % texts)
            match = text_on_screen(kesta, e2e.DEFAULT_SCREEN_LINES[1])
            check(match is not None, "the host's Korean row is drawn (%r)" % (match,))
            host.hang_up()
            eventually(lambda: pane(kesta, 0) == "연결안됨", 30)
            texts = kesta.status_texts()
            check(texts[0] == "연결안됨" and texts[3] == "00:00:00", "hung up: %r" % texts)
            english_path = os.path.join(args.work, "menu-1252.ppm")
            korean = menu_bar(kesta)
            if check(os.path.exists(english_path), "the start group's English menu bar is there to compare"):
                english = read_ppm(english_path)
                check(korean.rgb != english.rgb and len(korean.colours()) > 1,
                      "the menu bar is another one with code page 949 (only its picture can be compared)")
            exit_by_alt_x(kesta, "종료")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", required=True, help="the win64 build directory")
    parser.add_argument("--work", required=True, help="scratch directory, kept for a look after a failure")
    parser.add_argument("groups", nargs="*")
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)
    for group in args.groups or ["start", "korean"]:
        print("== " + group, flush=True)
        try:
            globals()["test_" + group](args)
        except Exception as error:  # a harness error or time-out fails the group, and the rest go on
            check(False, "%s: %s: %s" % (group, type(error).__name__, error))
    print("%d failed" % len(failures) if failures else "all program checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
