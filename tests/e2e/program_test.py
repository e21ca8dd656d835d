#!/usr/bin/python3
"""kesta10.exe as a user runs it: start-up, the main window, a telnet host and a
modem on a COM port, keys, transfers, exit and a second start.

    program_test.py --build BUILD_DIR --work DIR [GROUP...]

GROUP: start (code page 1252: logo, folders and files, panes, telnet, the
modem, exit and the size at the next start), keys (typing, macros, the
connect and hang-up commands, transfers both ways by ZMODEM with lrzsz on the
host), korean (code page 949: Korean panes). Without GROUP: all.
"""
import argparse
import os
import shutil
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kesta_e2e as e2e  # noqa: E402

failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)


def status(install, title=e2e.TITLE):
    code, out = install.run_probe("statustext", title)
    return out.strip() if code == 0 else None


def on_screen(kesta, text, face="InternalGothic", region=None):
    return kesta.client_shot().find_drawing(e2e.render(text, face=face), region) is not None


def logo_showing(display, logo):
    """True when the centre of the screen shows the logo picture (colours within the palette's rounding)."""
    try:
        shot = display.screenshot()
    except e2e.HarnessError:  # a window went away while the screen was read
        return False
    x0 = (shot.width - 500) // 2 + 1  # inside the logo window's one-pixel border
    y0 = (shot.height - 375) // 2 + 1
    samples = [(40, 40), (250, 180), (120, 300), (400, 100), (300, 250)]
    def near(a, b):
        return all(abs(p - q) <= 3 for p, q in zip(a, b))
    return all(near(shot.pixel(x0 + x, y0 + y), logo.pixel(x, y)) for x, y in samples)


# ---------------------------------------------------------------- start

def test_start(args):
    work = os.path.join(args.work, "start")
    shutil.rmtree(work, ignore_errors=True)
    with e2e.Display() as display, e2e.Install(args.build, work) as install, \
            e2e.TelnetHost(workdir=work) as host, \
            e2e.ModemEmulator(os.path.join(work, "com1.pty")) as modem:
        e2e.link_com(install, 1, modem.link)
        install.write_modem(port=1, init="ATZ E0")
        logo = e2e.picture_pair(install.path("kesta"))
        started = time.time()
        with e2e.Program(install, ["127.0.0.1:%d" % host.port]) as kesta:
            e2e.wait_for(lambda: logo_showing(display, logo) or kesta.find_windows(e2e.TITLE), 60, 0.1, "the logo")
            logo_at = time.time()
            check(not kesta.find_windows(e2e.TITLE), "the logo shows before the main window")
            kesta.wait_window(e2e.TITLE, 60)
            shown_after = time.time() - logo_at
            check(3.5 <= shown_after <= 9, "the main window appears about five seconds after the logo (%.1f s)"
                  % shown_after)
            for folder in ("cap", "up", "down"):
                check(os.path.isdir(install.path(folder)), "the folder %s was made at start" % folder)
            for name in ("kesta.voc", "kesta.mus", "kesta.col"):
                check(install.exists("env\\" + name), "settings file %s written on the first start" % name)
            check(install.read("env\\kesta.col") == bytes.fromhex("ffffff00 00007d00"),
                  "colours default to white on dark blue")

            modem.wait_command("ATZ")
            check(any(c.startswith("ATZ E0") for c in modem.commands), "the initial command reached the modem")
            kesta.wait_for(lambda: host.term() is not None, 30, "the telnet session")
            check((host.term() or "").lower() == "vt100", "the host sees terminal type VT100 (%r)" % host.term())
            kesta.wait_for(lambda: status(install) == "Connected", 30, "pane 0 Connected")
            check(status(install) == "Connected", "pane 0 says Connected")
            time.sleep(1.5)
            for line in e2e.DEFAULT_SCREEN_LINES[1:]:
                check(on_screen(kesta, line), "the host's row %r is drawn as the font store draws it" % line)

            modem.send(b"\r\nMODEM 2400\r\n")
            kesta.wait_for(lambda: on_screen(kesta, "MODEM 2400"), 20, "the modem's bytes on screen")
            check(on_screen(kesta, "MODEM 2400"), "bytes from the serial line reach the screen")

            host.hang_up()
            kesta.wait_for(lambda: status(install) == "Disconnected", 30, "pane 0 Disconnected")
            check(status(install) == "Disconnected", "the host ending its session gives Disconnected")

            kesta.focus()
            client_before = kesta.client_rect()
            kesta.key("alt+x")
            time.sleep(1.5)
            kesta.key("Return")  # OK on "Do you want to exit program?"
            code = kesta.wait_exit(30)
            check(code == 0, "Alt+X and OK end the program (status %s)" % code)
            saved = install.read_pos()
            check(saved == tuple(client_before[2:]), "the client size was saved at exit (%s, %s)"
                  % (saved, client_before[2:]))
        install.stop_wine()
        with e2e.Program(install, []) as again:
            again.wait_window(e2e.TITLE, 60)
            time.sleep(1)
            size = again.client_rect()[2:]
            check(tuple(size) == tuple(client_before[2:]), "the second start comes back at the same client size "
                  "(%s, %s)" % (size, client_before[2:]))
            modem.wait_command("ATZ")


# ---------------------------------------------------------------- korean

def test_korean(args):
    work = os.path.join(args.work, "korean")
    shutil.rmtree(work, ignore_errors=True)
    with e2e.Display(), e2e.Install(args.build, work, codepage=949) as install, \
            e2e.TelnetHost(workdir=work) as host:
        code, acp = install.run_probe("acp")
        check(acp.strip() == "949", "the prefix runs with code page 949 (%s)" % acp.strip())
        with e2e.Program(install, ["127.0.0.1:%d" % host.port]) as kesta:
            kesta.wait_window(e2e.TITLE, 60)
            kesta.wait_for(lambda: status(install) == "연결잘됨", 30, "pane 0 in Korean")
            check(status(install) == "연결잘됨", "pane 0 says 연결잘됨 under code page 949")
            time.sleep(1)
            check(on_screen(kesta, e2e.DEFAULT_SCREEN_LINES[1]), "the host's Korean row is drawn")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("groups", nargs="*")
    args = parser.parse_args()
    groups = args.groups or ["start", "korean"]
    for group in groups:
        print("== " + group, flush=True)
        try:
            globals()["test_" + group](args)
        except Exception as error:  # a harness error or time-out fails the group, and the rest go on
            check(False, "%s: %s: %s" % (group, type(error).__name__, error))
    print("%d failed" % len(failures))
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
