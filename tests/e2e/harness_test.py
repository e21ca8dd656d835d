#!/usr/bin/python3
"""Self-tests of the end-to-end harness; they need no kesta10.exe.

    harness_test.py [--build BUILD_DIR] [--work DIR] [GROUP...]

GROUP: pictures, render (kesta-cli's drawing, needs the native build), peers (telnet host and modem emulator from Python), wine (an
installation, the COM port under Wine against the modem, xwd and xdotool on a
window of the probe program), korean (code page 949). Without GROUP: all;
wine and korean need BUILD_DIR (the win64 build holding e2e_probe.exe).
"""
import argparse
import os
import socket
import struct
import sys
import tempfile
import threading
import time
import tty
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kesta_e2e as e2e  # noqa: E402
from xwd import Image, read_png  # noqa: E402

failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)


# ---------------------------------------------------------------- pictures

def png(width, height, colour_type, depth, rows, palette=None):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, 0))
    if palette:
        out += chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    return out + chunk(b"IDAT", zlib.compress(b"".join(rows))) + chunk(b"IEND", b"")


def test_pictures():
    # 1-bit grey as the font store's writer makes it: 0 is black ink.
    rows = [b"\x00" + bytes([0b01111111, 0b11000000]), b"\x00" + bytes([0b11111111, 0b01000000])]
    img = read_png(png(10, 2, 0, 1, rows))
    check(img.pixel(0, 0) == (0, 0, 0) and img.pixel(1, 0) == (255, 255, 255) and img.pixel(8, 1) == (0, 0, 0)
          and img.pixel(9, 1) == (255, 255, 255), "PNG 1-bit grey pixels")
    # 8-bit RGB with the Sub and Up filters.
    rows = [b"\x01" + bytes([10, 20, 30, 5, 5, 5]), b"\x02" + bytes([1, 1, 1, 2, 2, 2])]
    img = read_png(png(2, 2, 2, 8, rows))
    check([img.pixel(0, 0), img.pixel(1, 0), img.pixel(0, 1), img.pixel(1, 1)] ==
          [(10, 20, 30), (15, 25, 35), (11, 21, 31), (17, 27, 37)], "PNG RGB Sub and Up filters")
    img = read_png(png(3, 1, 3, 8, [b"\x00\x02\x00\x01"], palette=[(1, 2, 3), (4, 5, 6), (7, 8, 9)]))
    check(img.row(0) == [(7, 8, 9), (1, 2, 3), (4, 5, 6)], "PNG palette")
    # xwd: a 32-bit LSBFirst dump built by hand, with a row pad.
    header = struct.pack(">25I", 100 + 4, 7, 2, 24, 2, 2, 0, 0, 32, 0, 32, 32, 12, 4, 0xFF0000, 0xFF00, 0xFF,
                         8, 0, 0, 2, 2, 0, 0, 0) + b"x\0\0\0"
    pixels = bytes([3, 2, 1, 0, 6, 5, 4, 0, 0, 0, 0, 0, 9, 8, 7, 0, 255, 255, 255, 0, 0, 0, 0, 0])
    img = e2e.read_xwd(header + pixels)
    check((img.width, img.height) == (2, 2) and img.row(0) == [(1, 2, 3), (4, 5, 6)] and
          img.row(1) == [(7, 8, 9), (255, 255, 255)], "xwd decoding of a 32-bit ZPixmap")
    strip = e2e.read_bmp(open(os.path.join(e2e.REPO, "app", "shell", "res", "toolbar.bmp"), "rb").read())
    icon = strip.crop(13 * 16, 0, 16, 16)
    page = Image(300, 40, bytes([240]) * (300 * 40 * 3))
    for y in range(16):
        for x in range(16):
            if icon.pixel(x, y) != (192, 192, 192):
                page.set_pixel(101 + x, 7 + y, icon.pixel(x, y))
    check(page.find_picture(icon, ignore=[(192, 192, 192)]) == [(101, 7)] and
          page.find_picture(strip.crop(12 * 16, 0, 16, 16), ignore=[(192, 192, 192)]) == [],
          "find_picture finds an icon on another background, and not its neighbour")
    big = Image(4, 3, b"\xff" * 36)
    big.set_pixel(2, 1, (0, 0, 0))
    ref = Image(2, 1, bytes([0, 0, 0, 255, 255, 255]))
    check(big.ink_mismatches(ref, 2, 1, (0, 0, 0), (255, 255, 255)) == [] and
          big.ink_mismatches(ref, 1, 1, (0, 0, 0), (255, 255, 255)) == [(0, 0), (1, 0)] and
          big.ink_mismatches(ref, 2, 1, (0, 0, 0)) == [], "ink comparison")


def test_render():
    """kesta-cli's drawing found again in a screen made of it, in other colours and at an offset."""
    text = e2e.render("안녕하세요 Kesta")
    check(text.height in (16, 32) and text.width >= 8 * 16, "kesta-cli render draws the text (%dx%d)"
          % (text.width, text.height))
    screen = Image(text.width + 40, text.height + 30, bytes([0, 0, 125]) * ((text.width + 40) * (text.height + 30)))
    for y in range(text.height):
        for x in range(text.width):
            screen.set_pixel(17 + x, 11 + y, (255, 255, 255) if text.pixel(x, y) == (0, 0, 0) else (0, 0, 125))
    found = screen.find_drawing(text)
    check(found == [(17, 11, (255, 255, 255), (0, 0, 125))], "find_drawing finds it where it was put: %r" % found)
    screen.set_pixel(17 + 3, 11 + 5, (1, 2, 3))
    check(screen.find_drawing(text) == [], "one wrong pixel and it is not found")


def test_display():
    with e2e.Display() as display:
        display.run("xsetroot", "-solid", "#123456")
        shot = display.screenshot()
        check((shot.width, shot.height) == (1024, 768), "xwd -root gives 1024x768 (%dx%d)" % (shot.width, shot.height))
        check(shot.colours() == {(0x12, 0x34, 0x56): 1024 * 768}, "every pixel of the root is #123456")


# ---------------------------------------------------------------- peers

IAC, SB, SE, WILL, WONT, DO, DONT = 255, 250, 240, 251, 252, 253, 254


def telnet_session(port, send=b"", seconds=3.0, term=b"VT100"):
    """A minimal telnet client: answers terminal type, returns the data it received."""
    s = socket.create_connection(("127.0.0.1", port))
    s.settimeout(0.2)
    text, pending, sent = bytearray(), b"", False
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            chunk = s.recv(4096)
        except socket.timeout:
            chunk = None
        if chunk == b"":
            break
        data, pending, reply = pending + (chunk or b""), b"", bytearray()
        i = 0
        while i < len(data):
            if data[i] != IAC:
                text.append(data[i])
                i += 1
                continue
            if i + 1 >= len(data) or (data[i + 1] in (WILL, WONT, DO, DONT) and i + 2 >= len(data)):
                pending = data[i:]
                break
            cmd = data[i + 1]
            if cmd in (WILL, WONT, DO, DONT):
                opt = data[i + 2]
                if cmd == DO:
                    reply += bytes([IAC, WILL if opt == 24 else WONT, opt])
                elif cmd == WILL:
                    reply += bytes([IAC, DONT if opt in (13, 16, 24) else DO, opt])
                i += 3
            elif cmd == SB:
                end = data.find(bytes([IAC, SE]), i)
                if end < 0:
                    pending = data[i:]
                    break
                if data[i + 2:i + 4] == bytes([24, 1]):
                    reply += bytes([IAC, SB, 24, 0]) + term + bytes([IAC, SE])
                i = end + 2
            else:
                if cmd == IAC:
                    text.append(IAC)
                i += 2
        if reply:
            s.sendall(reply)
        if text and not sent:
            s.sendall(send)
            sent = True
    s.close()
    return bytes(text)


def test_telnet_host():
    with e2e.TelnetHost() as host:
        payload = b"dkssud\r\x01\x7f\xb0\xa1" + bytes([IAC, IAC]) + b"end"
        text = telnet_session(host.port, send=payload)
        check(e2e.DEFAULT_SCREEN in text, "the telnet host drew its CP949 screen (%d bytes seen)" % len(text))
        e2e.wait_for(lambda: host.received().endswith(b"end"), 5, what="the host to record the bytes")
        check(host.received() == b"dkssud\r\x01\x7f\xb0\xa1\xffend", "the host recorded every byte: %r" % host.received())
        check(host.term() == "vt100", "the host saw the terminal type (TERM=%r)" % host.term())
        threading.Timer(1.5, host.hang_up).start()
        t0 = time.monotonic()
        telnet_session(host.port, seconds=10, term=b"ANSI")
        check(time.monotonic() - t0 < 5, "hang_up ends the session (%.1f s)" % (time.monotonic() - t0))
        check(host.terms() == ["vt100", "ansi"], "one TERM per session: %r" % host.terms())
    with e2e.TelnetHost(script='cat "$KESTA_SCREEN"\nprintf "bye\\r\\n"\n', screen=b"hello\r\n") as host:
        t0 = time.monotonic()
        text = telnet_session(host.port, seconds=10)
        check(text == b"hello\r\nbye\r\n" and time.monotonic() - t0 < 8,
              "a script that ends closes the session: %r" % text)


class RecordingServer:
    """A TCP peer on 127.0.0.1 that records what it gets and sends what it is told."""

    def __init__(self):
        self.listener = socket.socket()
        self.listener.bind(("127.0.0.1", 0))
        self.listener.listen(1)
        self.port = self.listener.getsockname()[1]
        self.conn, self.data = None, bytearray()
        threading.Thread(target=self._serve, daemon=True).start()

    def _serve(self):
        self.conn, _ = self.listener.accept()
        while True:
            try:
                chunk = self.conn.recv(4096)
            except OSError:
                return
            if not chunk:
                return
            self.data += chunk

    def close(self):
        if self.conn:
            self.conn.shutdown(socket.SHUT_RDWR)
            self.conn.close()
        self.listener.close()


class PortSide:
    """The program's side of the modem's pseudo-terminal, from Python."""

    def __init__(self, path):
        self.fd = os.open(path, os.O_RDWR | os.O_NOCTTY)
        tty.setraw(self.fd)
        os.set_blocking(self.fd, False)
        self.buffer = bytearray()

    def write(self, data):
        os.write(self.fd, data)

    def expect(self, text, timeout=5):
        def arrived():
            try:
                self.buffer += os.read(self.fd, 4096)
            except BlockingIOError:
                pass
            return text in self.buffer
        try:
            e2e.wait_for(arrived, timeout, 0.02, repr(text))
        except TimeoutError:
            return False
        del self.buffer[:self.buffer.find(text) + len(text)]
        return True

    def close(self):
        os.close(self.fd)


def test_modem(work):
    server = RecordingServer()
    link = os.path.join(work, "modem.pty")
    with e2e.ModemEmulator(link, numbers={"5551234": server.port}, guard=0.5) as modem:
        port = PortSide(link)
        port.write(b"AT\r")
        check(port.expect(b"\r\nOK\r\n"), "AT answered OK")
        port.write(b"ATZ\rAT&F\rATE0 V1 S0=0\r")
        check(port.expect(b"OK\r\n\r\nOK\r\n\r\nOK\r\n"), "ATZ, AT&F and a list of commands answered OK")
        port.write(b"AT*Q\r")
        check(port.expect(b"\r\nERROR\r\n"), "an unknown command answered ERROR")
        port.write(b"ATE1\r")
        port.expect(b"OK\r\n")
        port.write(b"AT\r")
        check(port.expect(b"AT\r\r\nOK\r\n"), "ATE1 turns the echo on")
        port.write(b"ATE0\r")
        port.expect(b"OK\r\n")
        port.write(b"ATDT 555-1234\r")
        check(port.expect(b"\r\nCONNECT 38400\r\n") and modem.connected, "ATDT answered CONNECT 38400")
        port.write(b"hello \xb0\xa1")
        e2e.wait_for(lambda: server.data == b"hello \xb0\xa1", 5, what="bytes at the host")
        server.conn.sendall(b"from host \xff\r\n")
        check(port.expect(b"from host \xff\r\n"), "bytes from the host reach the port")
        time.sleep(0.6)
        port.write(b"+++")
        check(port.expect(b"\r\nOK\r\n", 3), "+++ between pauses gives command mode")
        port.write(b"ATO\r")
        check(port.expect(b"\r\nCONNECT 38400\r\n"), "ATO goes back on line")
        time.sleep(0.6)
        port.write(b"+++")
        port.expect(b"OK\r\n", 3)
        port.write(b"ATH\r")
        check(port.expect(b"\r\nNO CARRIER\r\n") and not modem.connected, "ATH hangs up with NO CARRIER")
        server.close()
        port.write(b"ATDT 9999\r")
        check(port.expect(b"\r\nNO CARRIER\r\n"), "an unknown number gives NO CARRIER")
        second = RecordingServer()
        modem.numbers["42"] = "127.0.0.1:%d" % second.port
        port.write(b"ATDT42\r")
        port.expect(b"CONNECT 38400\r\n")
        e2e.wait_for(lambda: second.conn, 5, what="the second connection")
        second.close()
        check(port.expect(b"\r\nNO CARRIER\r\n"), "the host closing gives NO CARRIER")
        third = RecordingServer()
        port.write(b"ATDT127.0.0.1:%d\r" % third.port)
        check(port.expect(b"CONNECT 38400\r\n"), "a number host:port is dialled as it is")
        port.close()  # the program closes the port: DTR drops
        e2e.wait_for(lambda: not modem.connected, 5, what="the hang-up on DTR drop")
        port = PortSide(link)
        check(port.expect(b"\r\nOK\r\n"), "closing the port hung up, and OK followed when it opened again")
        third.close()
        modem.send(b"RING\r\n")
        check(port.expect(b"RING\r\n"), "modem.send reaches the port")
        port.close()
        check(modem.wait_command("ATDT 555") == "ATDT 555-1234", "the commands are kept")
        log = open(modem.log_path).read().splitlines()
    first = log[0].split()
    check(len(log) > 10 and float(first[0]) > 1e9 and first[1] == "<" and bytes.fromhex("".join(first[2:])) == b"AT\r",
          "the modem log holds timed bytes: %r" % log[:1])


# ---------------------------------------------------------------- Wine

def test_wine(build, work):
    with e2e.Display():
        with e2e.Install(build, os.path.join(work, "install"), require_program=False) as install:
            check(install.probe is not None, "the probe program is installed")
            status, out = install.run_probe("profile", "KESTA 20", "PROGRAM")
            check(out.strip() == "C:\\kesta", "WIN.INI names the home directory (%r)" % out.strip())
            status, out = install.run_probe("acp")
            check(out.strip() == "1252", "code page 1252 by default (%r)" % out.strip())
            check(os.path.isfile(os.path.join(install.windows, "HANJA.FNT")), "HANJA.FNT in C:\\windows")
            check(install.read(r"kesta.mir")[:2] == b"BM" and install.exists(r"wav\start.wav") and
                  install.exists("env") and install.exists("tel"), "the home directory is laid out")
            status, out = install.run_probe("resources")
            check(out.splitlines() == [
                "bitmap 100 256 16", "bitmap PhoneBitmap 64 64", "bitmap DialBitmap 64 64",
                "bitmap LogoBitmap 500 375", "bitmap BackgroundBitmap 800 600", "icon 400 32 32 hotspot 16 16",
                "icon 400-small 16 16 hotspot 8 8", "cursor MyCursor1 32 32 hotspot 5 0",
                "cursor MyCursor2 32 32 hotspot 5 0"], "the program's bitmaps, icon and cursors load under Wine")
            if status != 0 or "missing" in out:
                print(out)
            logo = e2e.picture_pair(install.path("kesta"))
            welcome = e2e.picture_pair(install.path("kestaex"))
            check((logo.width, logo.height, welcome.width, welcome.height) == (500, 375, 680, 320),
                  "the installed picture pairs are 500x375 and 680x320")
            install.write_modem(port=1, init="ATZ")
            check(len(install.read(r"env\kesta.mdm")) == 100, "env\\kesta.mdm written from Linux")
            print("     DLLs missing from the build: %s" % (", ".join(install.missing_dlls) or "none"))

            server = RecordingServer()
            with e2e.ModemEmulator(os.path.join(work, "com1.pty"), numbers={"77": server.port}) as modem:
                e2e.link_com(install, 1, modem.link)
                server_reply = threading.Thread(target=lambda: (e2e.wait_for(lambda: server.conn, 20),
                                                                e2e.wait_for(lambda: b"ping" in server.data, 20),
                                                                server.conn.sendall(b"PONG\r\n")), daemon=True)
                server_reply.start()
                status, out = install.run_probe("com", "COM1", "send:AT\\r", "expect:OK", "send:ATDT77\\r",
                                                "expect:CONNECT 38400", "send:ping", "expect:PONG", timeout=90)
                print("     " + out.replace("\n", "\n     ").rstrip())
                check(status == 0, "Wine opens COM1 on the emulator: AT, OK, ATDT, CONNECT, bytes both ways")
                check(b"AT\r" in modem.received() and server.data == b"ping", "the emulator saw the probe's bytes")
            server.close()

            with e2e.Program(install, ["window", "Kesta probe", "18", "52", "86"], exe=install.probe,
                             title="Kesta probe") as probe:
                probe.wait_window(timeout=60)
                e2e.wait_for(lambda: "ready" in probe.output(), 20, what="the probe window")
                x, y, w, h = probe.client_rect()
                check((w, h) != (0, 0) and x >= 0 and y >= 0, "client rectangle from Windows: %r" % ((x, y, w, h),))
                shot = e2e.wait_for(lambda: (lambda s: s if s.pixel(x + 5, y + 5) == (18, 52, 86) else None)(
                    probe.screenshot()), 20, what="the probe's colour on screen")
                inside = shot.crop(x, y, w, h - 40)  # the status bar takes the bottom
                check(inside.colours() == {(18, 52, 86): w * (h - 40)}, "the client area is the window's colour")
                check(shot.pixel(x + w, y + 5) != (18, 52, 86) and shot.pixel(x - 1, y - 1) != (18, 52, 86) and
                      shot.pixel(x + 5, y - 1) != (18, 52, 86), "the colour ends at the client area's edges")
                texts = probe.status_texts()
                check(texts == ["Ready 준비", "00:00:00"], "status bar texts read from Windows: %r" % texts)
                probe.click(10, 20)
                e2e.wait_for(lambda: "click 10 20" in probe.output(), 10, what="the click")
                check(True, "a click at (10, 20) of the client area arrives there")
                probe.type("dkssud")
                probe.key("Return")
                e2e.wait_for(lambda: "char 0d" in probe.output(), 10, what="the typed keys")
                chars = [line.split()[1] for line in probe.output().splitlines() if line.startswith("char")]
                check(chars == ["64", "6b", "73", "73", "75", "64", "0d"], "xdotool keys reach the window: %r" % chars)
                probe.key("q")
                check(probe.wait_exit(20) == 0, "the probe window ends on q")


def test_korean(build, work):
    with e2e.Display():
        with e2e.Install(build, os.path.join(work, "install949"), codepage=949, require_program=False) as install:
            status, out = install.run_probe("acp")
            check(out.strip() == "949", "LC_ALL=%s gives code page 949 (%r)" % (install.locale, out.strip()))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", help="the win64 build directory")
    parser.add_argument("--work", help="scratch directory (default: a new temporary one)")
    parser.add_argument("groups", nargs="*", default=["pictures", "render", "peers", "wine", "korean"])
    args = parser.parse_args()
    work = args.work or tempfile.mkdtemp(prefix="kesta-e2e-")
    os.makedirs(work, exist_ok=True)
    for group in args.groups:
        print("== " + group, flush=True)
        try:
            if group == "pictures":
                test_pictures()
                test_display()
            elif group == "peers":
                test_telnet_host()
                test_modem(work)
            elif group == "render":
                test_render()
            elif group in ("wine", "korean"):
                if not args.build:
                    raise e2e.HarnessError("--build is needed for the %s group" % group)
                (test_wine if group == "wine" else test_korean)(args.build, work)
            else:
                raise e2e.HarnessError("unknown group " + group)
        except Exception as error:  # a harness error fails the group, the others still run
            check(False, "%s: %s: %s" % (group, type(error).__name__, error))
    print("%d failed" % len(failures) if failures else "all harness checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
