#!/usr/bin/python3
"""The whole path, measured: an 8 MB Korean bulletin-board stream sent by a
host on 127.0.0.1 until its last screen is on the display, for kesta10.exe
under Wine and for Debian's xterm under the same Xvfb display, one after the
other in one run. The last screen is a full-screen erase in red, found in
screenshots; each program's time runs from the first byte sent.

    tools/screen-speed.py [--build build/win64] [--native build/native] [--runs 3]

Needs the win64 program, the native bbs_stream_writer, Xvfb, Wine and xterm
(apt-get install xterm).
"""
import argparse
import os
import socket
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
import kesta_e2e as e2e  # noqa: E402

FINAL = b"\x1b[0m\x1b[41m\x1b[2J"


class StreamHost:
    """Accepts one connection, then sends the stream when told to."""

    def __init__(self, data):
        self.data = data
        self.server = socket.socket()
        self.server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.server.bind(("127.0.0.1", 0))
        self.server.listen(1)
        self.port = self.server.getsockname()[1]
        self.connected = threading.Event()
        self.go = threading.Event()
        self.started = None
        threading.Thread(target=self._run, daemon=True).start()

    def _run(self):
        conn, _ = self.server.accept()
        self.connected.set()
        self.go.wait(120)
        self.started = time.time()
        try:
            conn.sendall(self.data)
            time.sleep(60)
        except OSError:  # the program was closed once its last screen was seen
            pass
        conn.close()


def red_screen(display, threshold):
    try:
        shot = display.screenshot()
    except e2e.HarnessError:
        return False
    rgb = shot.rgb
    step = 3 * 7  # every 7th pixel is plenty for a full-screen fill
    red = sum(1 for i in range(0, len(rgb) - 2, step) if rgb[i] > 150 and rgb[i + 1] < 60 and rgb[i + 2] < 60)
    return red * 7 > threshold


def time_until_red(display, host, threshold, timeout=300):
    host.connected.wait(120)
    time.sleep(2)  # the connection settles (negotiation, first paint)
    host.go.set()
    end = time.time() + timeout
    while time.time() < end:
        if red_screen(display, threshold):
            return time.time() - host.started
        time.sleep(0.05)
    raise TimeoutError("the last screen did not appear")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(HERE, "..", "build", "win64"))
    parser.add_argument("--native", default=os.path.join(HERE, "..", "build", "native"))
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    writer = os.path.join(args.native, "tests", "app", "session", "bbs_stream_writer")
    work = tempfile.mkdtemp(prefix="screen-speed-")
    stream_path = os.path.join(work, "bbs.bin")
    subprocess.run([writer, stream_path], check=True)
    data = open(stream_path, "rb").read() + FINAL
    megabytes = len(data) / 1048576
    results = {"kesta10.exe (Wine)": [], "xterm": []}
    with e2e.Display() as display, e2e.Install(args.build, work) as install:
        for _ in range(args.runs):
            host = StreamHost(data)
            with e2e.Program(install, ["127.0.0.1:%d" % host.port]) as kesta:
                kesta.wait_window(e2e.TITLE, 60)
                results["kesta10.exe (Wine)"].append(time_until_red(display, host, 150000))
            host = StreamHost(data)
            xterm = subprocess.Popen(["xterm", "-geometry", "80x28", "-e", "socat", "-u",
                                      "TCP:127.0.0.1:%d" % host.port, "STDOUT"], env=display.env())
            try:
                results["xterm"].append(time_until_red(display, host, 100000))
            finally:
                xterm.kill()
                xterm.wait()
    for name, times in results.items():
        best = min(times)
        print("%-20s best %.2f s of %d runs, %.1f MB/s" % (name, best, len(times), megabytes / best))


if __name__ == "__main__":
    main()
