#!/usr/bin/python3
"""Accepts one TCP connection on 127.0.0.1 and relays it to a command's
standard input and output under the telnet byte rules: telnet commands from
the socket are removed by their real lengths and a doubled 0xFF is one byte;
0xFF from the command is doubled. Every raw byte received is logged.

usage: telnet_relay.py PORT_FILE RAW_LOG WORKDIR COMMAND...
"""
import os
import socket
import subprocess
import sys
import threading

LIMIT_SECONDS = 60


def decode(state, data):
    out = bytearray()
    for b in data:
        if state[0] == 'data':
            if b == 0xFF:
                state[0] = 'iac'
            else:
                out.append(b)
        elif state[0] == 'iac':
            if b == 0xFF:
                out.append(b)
                state[0] = 'data'
            elif b == 250:
                state[0] = 'sub'
            elif b >= 251:
                state[0] = 'option'
            else:
                state[0] = 'data'
        elif state[0] == 'option':
            state[0] = 'data'
        elif state[0] == 'sub':
            if b == 0xFF:
                state[0] = 'subiac'
        elif state[0] == 'subiac':
            state[0] = 'data' if b == 240 else 'sub'
    return bytes(out)


def main():
    port_file, raw_log, workdir = sys.argv[1:4]
    command = sys.argv[4:]
    server = socket.socket()
    server.bind(('127.0.0.1', 0))
    server.listen(1)
    server.settimeout(LIMIT_SECONDS)
    with open(port_file + '.tmp', 'w') as f:
        f.write(str(server.getsockname()[1]))
    os.rename(port_file + '.tmp', port_file)
    try:
        conn, _ = server.accept()
    except socket.timeout:
        print('relay: nobody connected', file=sys.stderr)
        return 3
    server.close()
    proc = subprocess.Popen(command, cwd=workdir, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL)
    log = open(raw_log, 'wb')

    def socket_to_command():
        state = ['data']
        try:
            while True:
                data = conn.recv(65536)
                if not data:
                    break
                log.write(data)
                log.flush()
                proc.stdin.write(decode(state, data))
                proc.stdin.flush()
        except (OSError, ValueError):
            pass
        try:
            proc.stdin.close()
        except OSError:
            pass

    reader = threading.Thread(target=socket_to_command, daemon=True)
    reader.start()
    try:
        while True:
            data = os.read(proc.stdout.fileno(), 65536)
            if not data:
                break
            conn.sendall(data.replace(b'\xff', b'\xff\xff'))
    except OSError:
        pass
    try:
        code = proc.wait(timeout=LIMIT_SECONDS)
    except subprocess.TimeoutExpired:
        proc.kill()
        code = 4
    # Let the far side read what is left and send its last bytes.
    reader.join(timeout=5)
    conn.close()
    log.close()
    return code


if __name__ == '__main__':
    sys.exit(main())
