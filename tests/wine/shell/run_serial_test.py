#!/usr/bin/python3
"""Runs serial_port_test.exe under Wine with COM8 of the build's prefix
linked to a pseudo-terminal whose other end answers "SEND200" CR with the
bytes 0 to 199 at once.

    run_serial_test.py WINE_RUN TEST_EXE
"""
import os
import select
import subprocess
import sys
import threading
import tty

wine_run, test_exe = sys.argv[1:3]
build = os.path.dirname(os.path.abspath(test_exe))
while build != "/" and not os.path.exists(os.path.join(build, "CMakeCache.txt")):
    build = os.path.dirname(build)
prefix = os.environ.get("KESTA_WINEPREFIX", os.path.join(build, "wineprefix"))
if not os.path.isdir(os.path.join(prefix, "dosdevices")):
    subprocess.run([wine_run, "cmd.exe", "/c", "exit"], capture_output=True, timeout=120)

master, slave = os.openpty()
tty.setraw(slave)
device = os.ttyname(slave)
os.close(slave)
link = os.path.join(prefix, "dosdevices", "com8")
if os.path.lexists(link):
    os.remove(link)
os.symlink(device, link)
stop = threading.Event()


def peer():
    line = b""
    while not stop.is_set():
        ready, _, _ = select.select([master], [], [], 0.05)
        if not ready:
            continue
        try:
            data = os.read(master, 4096)
        except OSError:  # no one has the port open
            stop.wait(0.05)
            continue
        line += data
        while b"\r" in line:
            command, line = line.split(b"\r", 1)
            if command.endswith(b"SEND200"):
                os.write(master, bytes(range(200)))


thread = threading.Thread(target=peer, daemon=True)
thread.start()
try:
    status = subprocess.run([wine_run, test_exe], env=dict(os.environ, SERIAL_TEST_PORT="8"), timeout=120).returncode
finally:
    stop.set()
    thread.join(2)
    os.remove(link)
    os.close(master)
sys.exit(status)
