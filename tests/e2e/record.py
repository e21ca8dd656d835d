"""The telnet host's recorder: appends everything that arrives on standard input
to RECV_FILE until standard input ends or STOP_FILE appears (the host hanging up).

    record.py RECV_FILE STOP_FILE
"""
import os
import select
import sys

recv_path, stop_path = sys.argv[1], sys.argv[2]
if os.path.exists(stop_path):
    os.remove(stop_path)
with open(recv_path, "ab", buffering=0) as out:
    while not os.path.exists(stop_path):
        if select.select([0], [], [], 0.05)[0]:
            data = os.read(0, 4096)
            if not data:
                break
            out.write(data)
