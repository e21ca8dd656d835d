#!/usr/bin/python3
"""The control library's Hangul line edit and multi-line edit typed into with
real keys and clicks, in a Korean (code page 949) prefix, once for each build
of the library (HCTL32.DLL and HCTLW32.DLL).

    controls_test.py --build BUILD_DIR --work DIR

The probe (`e2e_probe edit`) puts both edits on the library's dialog class and
prints their text, length and selection after every change; xdotool clicks
and types from outside. Checked: r k s k in two-set Hangul mode gives 가나
(88 61 90 61) with the length 4 throughout the composition of 나 and the caret
before it; Right completes it; Left from the end of "A가" stops at index 1;
a mouse drag selects; Ctrl+Insert puts the selected bytes on the clipboard as
they are and Shift+Insert pastes them; Backspace deletes a whole two-byte character; Enter and Ctrl+Enter in
the multi-line edit.
"""
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kesta_e2e as e2e  # noqa: E402
from program_test import check, eventually, run_script  # noqa: E402

# 가 and 나 in the internal code, which HCTL32's edits give as their window
# text; HCTLW32's give it in code page 949 and keep the internal code inside.
INTERNAL = {"HCTL32.DLL": ("8861", "9061"), "HCTLW32.DLL": ("b0a1", "b3aa")}
GA, NA = INTERNAL["HCTL32.DLL"]


class EditProbe:
    """The probe's window and what it reported."""

    def __init__(self, install, library, prefix):
        self.title = "kesta_edit_" + prefix
        self.program = e2e.Program(install, ["edit", "C:\\kesta\\" + library, prefix, self.title],
                                   exe=install.probe, title=self.title)
        self.program.wait_window(self.title, 60)
        e2e.wait_for(lambda: "ready" in self.lines(), 20, 0.2, "the probe's edits")
        self.places = {}
        for line in self.lines():
            if line.startswith("at "):
                name, *numbers = line.split()[1:]
                self.places[name] = tuple(int(n) for n in numbers)

    def lines(self):
        return self.program.output().replace("\r", "").split("\n")

    def state(self, name):
        """(length, start, end, hex text) last reported for the edit NAME."""
        for line in reversed(self.lines()):
            words = line.split()
            if len(words) == 5 and words[0] == name:
                return int(words[1]), int(words[2]), int(words[3]), "" if words[4] == "-" else words[4]
        return None

    def clipboard(self):
        for line in reversed(self.lines()):
            if line.startswith("clip "):
                return line.split()[1]
        return None

    def click(self, name, x, y):
        left, top, _, _ = self.places[name]
        self.program.xdotool("mousemove", "--sync", left + x, top + y)
        self.program.xdotool("click", 1)
        time.sleep(0.3)

    def drag(self, name, x0, x1, y):
        left, top, _, _ = self.places[name]
        self.program.xdotool("mousemove", "--sync", left + x0, top + y)
        self.program.xdotool("mousedown", 1)
        self.program.xdotool("mousemove", "--sync", left + (x0 + x1) // 2, top + y)
        self.program.xdotool("mousemove", "--sync", left + x1, top + y)
        self.program.xdotool("mouseup", 1)
        time.sleep(0.3)

    def keys(self, *names):
        """Presses the keys and waits for the probe to report what they did."""
        self.program.xdotool("key", "--delay", 80, *names)
        time.sleep(0.4)


def check_line_edit(probe, build):
    ga, na = INTERNAL[build]
    probe.click("line", 20, 12)  # the click gives the edit the focus
    probe.keys("ctrl+space")  # two-set Hangul mode
    lengths = []
    for key in "rksk":
        probe.keys(key)
        lengths.append(probe.state("line")[0])
    check(lengths == [2, 2, 2, 4], "%s: r k s k gives lengths 2 2 2 4 (%r)" % (build, lengths))
    check(probe.state("line") == (4, 2, 2, ga + na),
          "%s: 가나 in the internal code with the caret before 나, still composed (%r)" % (build, probe.state("line")))
    probe.keys("Right")
    check(probe.state("line") == (4, 4, 4, ga + na), "%s: Right completes 나 and steps past it (%r)"
          % (build, probe.state("line")))

    probe.keys("BackSpace")
    check(probe.state("line") == (2, 2, 2, ga), "%s: Backspace deletes 나 whole (%r)" % (build, probe.state("line")))
    probe.keys("Home", "ctrl+space", "A", "End", "Left")
    check(probe.state("line") == (3, 1, 1, "41" + ga),
          "%s: Left from the end of \"A가\" stops at index 1 (%r)" % (build, probe.state("line")))
    probe.keys("Left")
    check(probe.state("line")[1:3] == (0, 0), "%s: and the next Left at 0 (%r)" % (build, probe.state("line")))

    probe.drag("line", 1, 60, 12)
    check(probe.state("line")[1:3] == (0, 3), "%s: a drag over the text selects all three bytes (%r)"
          % (build, probe.state("line")))
    probe.keys("ctrl+Insert")
    check(eventually(lambda: probe.clipboard() == "41" + GA, 5),
          "%s: Ctrl+Insert puts the selected bytes on the clipboard unconverted (%r)" % (build, probe.clipboard()))
    probe.keys("End", "shift+Insert")
    check(probe.state("line") == (6, 6, 6, "41" + ga + "41" + ga),
          "%s: Shift+Insert pastes them at the caret (%r)" % (build, probe.state("line")))


def check_multi_line_edit(probe, build):
    ga, na = INTERNAL[build]
    probe.click("multi", 20, 10)
    probe.keys("a", "Return", "b", "ctrl+Return", "c")
    check(probe.state("multi")[3] == "61620d0a63",
          "%s: Enter inserts nothing and Ctrl+Enter a line break in the multi-line edit (%r)"
          % (build, probe.state("multi")))
    probe.keys("ctrl+space", "r", "k", "s", "k", "space")
    check(probe.state("multi")[3] == "61620d0a63" + ga + na + "20",
          "%s: 가나 and a space typed after it (%r)" % (build, probe.state("multi")))


def run(args):
    work = os.path.join(args.work, "controls")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    with e2e.Display(), e2e.Install(args.build, work, codepage=949) as install:
        status, out = install.run_probe("acp")
        check(out.strip() == "949", "the prefix runs in code page 949 (%r)" % out.strip())
        for library, prefix in (("HCTL32.DLL", "HCTL"), ("HCTLW32.DLL", "HCTLW")):
            probe = EditProbe(install, library, prefix)
            try:
                check_line_edit(probe, library)
                check_multi_line_edit(probe, library)
            finally:
                subprocess.run(["xdotool", "search", "--name", "^%s$" % probe.title, "windowkill"],
                               env=install.display.env(), capture_output=True)
                e2e.kill_group(probe.program.proc, grace=1.0)


if __name__ == "__main__":
    run_script(run)
