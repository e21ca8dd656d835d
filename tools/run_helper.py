#!/usr/bin/python3
"""Helpers of tools/run.sh: the installation inside the Wine prefix and the screenshot.

    run_helper.py lay-out --prefix DIR --build DIR [--host-port N] [--modem-number N]
    run_helper.py screenshot --out FILE.png [--wait-text TEXT] [--timeout S]

lay-out copies kesta10.exe and its DLLs into C:\\kesta (replacing older copies),
the home files (pictures, sounds) where missing, makes env\\ and tel\\, puts
HANJA.FNT into C:\\windows, writes [KESTA 20] PROGRAM=C:\\kesta into WIN.INI, and
a phone book and modem settings when there are none yet.

screenshot waits until TEXT, drawn as kesta-cli render draws it, is on the
screen of $DISPLAY (taken with xwd), then writes the screen as a PNG file.
"""
import argparse
import os
import shutil
import struct
import subprocess
import sys
import time
import zlib

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(REPO, "tests", "e2e"))
import xwd  # noqa: E402
from kesta_e2e import DLLS, PROGRAM, find_file, write_profile as set_profile  # noqa: E402

RECORD = 100  # one phone-book line, NUL-padded


def copy_if_newer(src, dst):
    if not os.path.exists(dst) or os.path.getmtime(src) > os.path.getmtime(dst) or \
            os.path.getsize(src) != os.path.getsize(dst):
        shutil.copy2(src, dst)


def phone_book(lines):
    """The \\tel\\kesta.tel image: each line cut to 99 bytes and NUL-padded to 100."""
    return b"".join(l.encode("cp949")[:RECORD - 1].ljust(RECORD, b"\0") for l in lines)


def lay_out(args):
    drive_c = os.path.join(args.prefix, "drive_c")
    home = os.path.join(drive_c, "kesta")
    windows = os.path.join(drive_c, "windows")
    if not os.path.isdir(windows):
        sys.exit("run_helper: %s is not a Wine prefix" % args.prefix)
    exe = find_file(args.build, PROGRAM)
    if not exe:
        sys.exit("run_helper: %s not found in %s" % (PROGRAM, args.build))
    os.makedirs(home, exist_ok=True)
    copy_if_newer(exe, os.path.join(home, PROGRAM))
    for dll in DLLS:
        path = find_file(os.path.dirname(exe), dll) or find_file(args.build, dll)
        if not path:
            sys.exit("run_helper: %s not found in %s" % (dll, args.build))
        copy_if_newer(path, os.path.join(home, dll))
    source_home = os.path.join(REPO, "app", "shell", "home")
    for dirpath, _dirs, files in os.walk(source_home):
        target = os.path.join(home, os.path.relpath(dirpath, source_home))
        os.makedirs(target, exist_ok=True)
        for f in files:  # the user may have replaced a picture or a sound: keep theirs
            if not os.path.exists(os.path.join(target, f)):
                shutil.copy2(os.path.join(dirpath, f), os.path.join(target, f))
    for sub in ("env", "tel"):
        os.makedirs(os.path.join(home, sub), exist_ok=True)
    hanja = find_file(args.build, "HANJA.FNT") or os.path.join(REPO, "fonts", "glyphs", "HANJA.FNT")
    copy_if_newer(hanja, os.path.join(windows, "HANJA.FNT"))
    set_profile(os.path.join(windows, "win.ini"), "KESTA 20", "PROGRAM", "C:\\kesta")
    book = os.path.join(home, "tel", "kesta.tel")
    if not os.path.exists(book):
        with open(book, "wb") as f:
            f.write(phone_book(["Kesta demo host (telnet)\t127.0.0.1:%d" % args.host_port,
                                "Kesta demo host (modem)\t%s\t38400\tN-8-1" % args.modem_number]))
    modem = os.path.join(home, "env", "kesta.mdm")
    if not os.path.exists(modem):  # COM1 at 38400, 8 data bits, no parity, one stop bit
        with open(modem, "wb") as f:
            f.write(struct.pack("<5i80s", 1, 38400, 8, 0, 0, b"ATZ"))
    print(home)


def write_png(image, path):
    raw = b"".join(b"\0" + bytes(image.rgb[3 * y * image.width:3 * (y + 1) * image.width])
                   for y in range(image.height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", image.width, image.height, 8, 2, 0, 0, 0)) + \
        chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def render(cli, text):
    out = "/tmp/kesta-run-text-%d.png" % os.getpid()
    try:
        r = subprocess.run([cli, "render", "--face", "InternalGothic", text, "-o", out], capture_output=True)
        if r.returncode != 0:
            sys.exit("run_helper: kesta-cli render failed: " + r.stderr.decode(errors="replace").strip())
        return xwd.read_png(out)
    finally:
        if os.path.exists(out):
            os.remove(out)


def screen():
    r = subprocess.run(["xwd", "-silent", "-root"], capture_output=True)
    if r.returncode != 0:
        raise RuntimeError("xwd failed: " + r.stderr.decode(errors="replace").strip())
    return xwd.read_xwd(r.stdout)


def screenshot(args):
    deadline = time.monotonic() + args.timeout
    reference = render(args.cli, args.wait_text) if args.wait_text else None
    found = False
    while True:
        shot = screen()
        if reference is None or shot.find_drawing(reference):
            found = True
            break
        if time.monotonic() > deadline:
            break
        time.sleep(1)
    write_png(shot, args.out)
    if not found:
        print("run_helper: %r did not appear on the screen within %d s" % (args.wait_text, args.timeout),
              file=sys.stderr)
        sys.exit(2)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    sub = parser.add_subparsers(dest="command", required=True)
    p = sub.add_parser("lay-out")
    p.add_argument("--prefix", required=True)
    p.add_argument("--build", required=True)
    p.add_argument("--host-port", type=int, default=2323)
    p.add_argument("--modem-number", default="5551234")
    p = sub.add_parser("screenshot")
    p.add_argument("--out", required=True)
    p.add_argument("--wait-text")
    p.add_argument("--cli", default=os.path.join(REPO, "build", "native", "cli", "kesta-cli"))
    p.add_argument("--timeout", type=int, default=90)
    args = parser.parse_args()
    {"lay-out": lay_out, "screenshot": screenshot}[args.command](args)


if __name__ == "__main__":
    main()
