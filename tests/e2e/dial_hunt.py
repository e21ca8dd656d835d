#!/usr/bin/python3
"""Dials a host entry of the phone book over and over, as the dialogs test
does once, watching for the main window to vanish (it did once, right after
such a dial, without a message). Each round: Alt+D, a double click on the
host entry, the telnet session and "Connected", the window still there, then
Ctrl+F9 and OK. Several program starts share one installation; a crash
leaves kesta10.crash.txt in the program's folder, which is printed.

    dial_hunt.py --build BUILD_DIR --work DIR [--rounds N] [--starts M]

Prints one line per start and a summary with the count of rounds run
(about 6 s a round).
"""
import os
import shutil
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kesta_e2e as e2e  # noqa: E402
from program_test import check, eventually, pane, run_script  # noqa: E402
from dialogs_test import dialog, gone, keys, record  # noqa: E402


def window_there(kesta):
    return kesta.running() and bool(kesta.find_windows(e2e.TITLE))


def dial_host_entry(kesta, host, place):
    """One round; False when the window vanished or the round did not complete.
    PLACE holds the phone book's client corner, asked once (a probe costs seconds)."""
    sessions = len(host.terms())
    kesta.key("alt+d")
    dialog(kesta, "Dial")
    if not place:
        status, out = kesta.install.run_probe("client", "Dial")
        if status != 0:
            return check(False, "the phone book's client area (%r)" % out.strip())
        place.extend(int(v) for v in out.split()[:2])
    x, y = place
    # --sync waits for the pointer to move: it must not already be there.
    kesta.xdotool("mousemove", "--sync", x + 10, y + 5)
    kesta.xdotool("mousemove", "--sync", x + 42, y + 35)
    kesta.xdotool("click", "--repeat", 2, "--delay", 80, 1)
    connected = eventually(lambda: len(host.terms()) > sessions and gone(kesta, "Dial", "Dialing"), 20)
    time.sleep(0.5)
    if not window_there(kesta):
        return check(False, "the main window is still there after the dial")
    if not connected:
        return check(False, "the host entry connects (%d sessions)" % (len(host.terms()) - sessions))
    kesta.key("ctrl+F9")
    dialog(kesta, "HangUp")
    keys(kesta, "Return")
    return eventually(lambda: gone(kesta, "HangUp"), 10) or check(False, "OK closes HangUp")


def run(args):
    work = os.path.join(args.work, "dial-hunt")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    total = 0
    started = time.time()
    with e2e.Display(), e2e.Install(args.build, work) as install, e2e.TelnetHost(workdir=work) as host:
        report = install.path("kesta10.crash.txt")
        for start in range(args.starts):
            install.write(r"tel\kesta.tel", record("Modem\t0123\t38400\tN-8-1") +
                          record("Host\t127.0.0.1:%d" % host.port))
            with e2e.Program(install) as kesta:
                kesta.wait_window(e2e.TITLE, 60)
                time.sleep(1)
                done = 0
                place = []
                for _ in range(args.rounds):
                    ok = dial_host_entry(kesta, host, place)
                    total += 1
                    done += 1
                    if not ok:
                        print("     start %d round %d: output %r" % (start + 1, done, kesta.output()[-2000:]))
                        break
                check(pane(kesta, 0) == "Disconnected", "start %d ends disconnected" % (start + 1))
                print("     start %d: %d rounds, %d in all, %.0f s" % (start + 1, done, total, time.time() - started),
                      flush=True)
            if os.path.exists(report):
                print(open(report, errors="replace").read())
                check(False, "no crash report (kesta10.crash.txt)")
                break
    check(total >= args.rounds * args.starts, "%d dials of the host entry, the window there after each" % total)


if __name__ == "__main__":
    extra = {"--rounds": 25, "--starts": 4}
    for name in list(extra):
        if name in sys.argv:
            i = sys.argv.index(name)
            extra[name] = int(sys.argv[i + 1])
            del sys.argv[i:i + 2]

    def with_counts(args):
        args.rounds, args.starts = extra["--rounds"], extra["--starts"]
        run(args)
    run_script(with_counts)
