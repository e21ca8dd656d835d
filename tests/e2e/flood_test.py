#!/usr/bin/python3
"""kesta10.exe stays live while a host floods it: a telnetd host sends 8 MB
of text lines at full speed; a key typed a moment after the flood begins
reaches the host early while the flood is still being drawn, not after it, and
the last line the host sent stands on screen at the end.

    flood_test.py --build BUILD_DIR --work DIR
"""
import os
import shutil
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kesta_e2e as e2e  # noqa: E402
from program_test import check, run_script  # noqa: E402

LAST = "THE LAST LINE OF THE FLOOD"
# Waits for "go", then sends the flood and its last line.
SCRIPT = """( while [ ! -f "$KESTA_DIR/go" ]; do sleep 0.1; done
  cat "$KESTA_DIR/flood.txt"; printf '\\r\\n%s\\r\\n' '""" + LAST + """' ) &
exec /usr/bin/python3 "$KESTA_RECORD" "$KESTA_RECV" "$KESTA_DIR/hangup"
"""


def run(args):
    work = os.path.join(args.work, "flood")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    with e2e.Display(), e2e.Install(args.build, work) as install, \
            e2e.TelnetHost(script=SCRIPT, screen=b"", workdir=work) as host:
        line = "".join(chr(0x21 + (i * 7) % 90) for i in range(78))
        with open(os.path.join(host.dir, "flood.txt"), "w") as f:
            for i in range(8 * 1024 * 1024 // 80):
                f.write(line[i % 20:] + line[:i % 20] + "\r\n")
        with e2e.Program(install, ["127.0.0.1:%d" % host.port]) as kesta:
            kesta.wait_window(e2e.TITLE, 60)
            time.sleep(2)
            kesta.focus()
            open(os.path.join(host.dir, "go"), "w").close()
            time.sleep(1)
            typed = time.time()
            kesta.key("x")
            # When the key reaches the host, and when the flood's last line is drawn.
            arrived = shown = None
            last = e2e.render(LAST)
            next_look = 0
            while time.time() - typed < 300 and (arrived is None or shown is None):
                if arrived is None and b"x" in host.received():
                    arrived = time.time()
                if shown is None and time.time() >= next_look:
                    if kesta.client_shot().find_drawing(last):
                        shown = time.time()
                    next_look = time.time() + 0.5
                time.sleep(0.02)
            check(shown is not None, "the flood's last line is drawn (%s s after the key)"
                  % (None if shown is None else round(shown - typed, 1)))
            # Before, the key waited for the whole flood (37 s of 38 in one run).
            check(arrived is not None and shown is not None and arrived - typed < (shown - typed) / 4,
                  "a key typed during the flood reaches the host long before the flood is drawn to its end "
                  "(after %s s)" % (None if arrived is None else round(arrived - typed, 2)))


if __name__ == "__main__":
    run_script(run)
