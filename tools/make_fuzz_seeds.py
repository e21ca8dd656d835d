#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets whose inputs are scripts of a
whole conversation (a host session, a modem's line, a ZMODEM sender), into
tests/fuzz-corpus/TARGET/. Each target's source file describes its input.
   tools/make_fuzz_seeds.py"""
import binascii
import os
import pathlib

ROOT = pathlib.Path(__file__).resolve().parent.parent / "tests" / "fuzz-corpus"


def write(target, name, data):
    folder = ROOT / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(bytes(data))


# ---- cli_host_fuzz: a code byte, then blocks (length | 64 for a chat line)
IAC, SB, SE, WILL, DO = 255, 250, 240, 251, 253
TTYPE = 24


def blocks(*parts):
    """parts: bytes (one block, split when longer than 63), or ('wake', bytes), or ('raw', bytes)."""
    out = bytearray()
    for part in parts:
        flags, raw = 0, False
        if isinstance(part, tuple):
            flags, raw = (64, False) if part[0] == "wake" else (0, True)
            part = part[1]
        if raw:
            out += part
            continue
        for i in range(0, max(len(part), 1), 63):
            piece = part[i:i + 63]
            out += bytes([len(piece) | flags]) + piece
    return out


def cp949(text):
    return text.encode("cp949")


negotiation = bytes([IAC, WILL, TTYPE, IAC, SB, TTYPE, 0]) + b"xterm" + bytes([IAC, SE, IAC, DO, 1])
write("cli_host_fuzz", "board", bytes([5]) + blocks(
    negotiation, cp949("홍길동\r"), b"1\r", b"W\r", cp949("첫 글\r"), cp949("안녕하세요\r두 번째 줄\r.\r"),
    b"W\r", b"second\r", b"body\r\n.\r\n", b"1\r", b"N\r", b"P\r", b"P\r", b"Q\r", b"n\r", b"p\r", b"9\r",
    b"q\r", b"Q\r"))
write("cli_host_fuzz", "files-chat", bytes([8]) + blocks(
    negotiation, b"guest\r\n", b"2\r", b"1\r", ("raw", b"\x00"), b"2\r", ("raw", b"\x01"), b"U\r",
    ("raw", b"\x00"), b"U\r", ("raw", b"\x02"), b"U\r", ("raw", b"\x08"), b"Q\r", b"3\r", ("wake", b"hi\r"),
    b"/w\r", ("wake", b""), b"/q\r", b"K\r", b"9\r", "바꿈\r".encode(), b"K\r", b"0\r", b"Q\r"))
write("cli_host_fuzz", "editing", bytes([6]) + blocks(
    b"ab\x08\x7fc\x1b[Ad\x1bOPe\r\x00", b"\x0e\x21\x21\x0f\r", b"x" * 600 + b"\r", b"K\r7\r",
    b"\x0e\x30\x21\x0fz\r", b"\xb0", b"\xa1\r", b"q\r"))

# ---- cli_modem_fuzz: a table, then events (see tests/cli/fuzz_modem.cpp)
table = b"# numbers\n0123 127.0.0.1:2323\n02 555-1234 localhost:23\r\n"


def typed(text, pause=False, by_hand=False):
    out = bytearray()
    for i in range(0, len(text), 31):
        piece = text[i:i + 31]
        out += bytes([len(piece) | (32 if pause else 0) | (64 if by_hand else 0)]) + piece
    return out


def host(data):
    return bytes([0xC0 | (len(data) << 2)]) + data


def tick(fiftieths):
    return bytes([0x80 | fiftieths])


HOST_CLOSED, DTR = bytes([0xC2]), bytes([0xC3])
write("cli_modem_fuzz", "dial-escape", bytes([len(table)]) + table + typed(b"ATE1V1Q0\r") + typed(b"ATI\r") +
      typed(b"ATS0?S12=25\r") + typed(b"ATDT0123\r") + host(b"welcome\r\n") + typed(b"data+\r") +
      typed(b"+++", pause=True, by_hand=True) + tick(30) + typed(b"ATO\r") + typed(b"+++", True, True) + tick(30) +
      typed(b"ATH\r") + typed(b"AT&F&C1\\N3%C0X4M0L0\r") + typed(b"A/"))
odd_table = table if len(table) & 1 else table + b"\n"  # an odd length: any number also reaches a default host
write("cli_modem_fuzz", "results", bytes([len(odd_table)]) + odd_table + typed(b"ATV0\r") + typed(b"ATD 555\r") +
      typed(b"ATDP02-555-1234\r") + host(b"x") + HOST_CLOSED + typed(b"ATD host:23\r") + DTR + typed(b"ATZ\r") +
      typed(b"AT S300=1\r") + typed(b"ATE2\r") + typed(b"at\x08\x7fAT\r") + typed(b"AT" + b"I" * 300 + b"\r"))

# ---- zlink_receiver_fuzz: an options byte, then what the sender says
ZPAD, ZDLE = 0x2A, 0x18
ZRQINIT, ZSINIT, ZFILE, ZFIN, ZDATA, ZEOF = 0, 2, 4, 8, 10, 11
ZCRCE, ZCRCG, ZCRCQ, ZCRCW = b"h", b"i", b"j", b"k"


def crc16(data):
    return binascii.crc_hqx(bytes(data), 0)


def escaped(data):
    out = bytearray()
    for b in data:
        if b in (ZDLE, 0x10, 0x11, 0x13, 0x90, 0x91, 0x93, 0x98):
            out += bytes([ZDLE, b ^ 0x40])
        else:
            out.append(b)
    return out


def position(p):
    return bytes([p & 255, (p >> 8) & 255, (p >> 16) & 255, (p >> 24) & 255])


def hex_header(kind, data=b"\0\0\0\0"):
    body = bytes([kind]) + data
    c = crc16(body)
    out = b"**\x18B" + body.hex().encode() + b"%02x%02x" % (c >> 8, c & 255) + b"\r\x8a"
    return out + (b"\x11" if kind not in (ZFIN, 3) else b"")


def bin_header(kind, data=b"\0\0\0\0"):
    """A binary header with CRC-32, the only kind the receiver takes data after."""
    body = bytes([kind]) + data
    return bytes([ZPAD, ZDLE]) + b"C" + escaped(body + binascii.crc32(body).to_bytes(4, "little"))


def sub_packet(data, end):
    return escaped(data) + bytes([ZDLE]) + end + escaped(binascii.crc32(data + end).to_bytes(4, "little"))


def one_file(name, content, split=0, count=1, remaining=None):
    remaining = len(content) if remaining is None else remaining
    info = name + b"\0" + b"%d %o 100644 0 %d %d" % (len(content), 0o14174000000, count, remaining) + b"\0"
    out = bin_header(ZFILE) + sub_packet(info, ZCRCW) + bin_header(ZDATA, position(0))
    if split:
        out += sub_packet(content[:split], ZCRCG) + sub_packet(content[split:], ZCRCE)
    else:
        out += sub_packet(content, ZCRCE)
    return out + bin_header(ZEOF, position(len(content)))


hello = b"hello, world\n\x18\x11\x13\xff\x00" * 3
# Bytes come one at a time (options bits 2-3 clear): a receiver's discard of
# stale input then drops nothing the sender says after its reply.
write("zlink_receiver_fuzz", "one-file", bytes([0x00]) + b"rz\r" + hex_header(ZRQINIT) +
      one_file(b"hello.txt", hello, split=10) + hex_header(ZFIN) + b"OO")
write("zlink_receiver_fuzz", "two-files", bytes([0x13]) + hex_header(ZRQINIT) +
      one_file("한글.txt".encode(), b"first file\r\n", count=2, remaining=268) +
      one_file(b"sub/../second.bin", bytes(range(256)), split=100, count=1, remaining=256) +
      hex_header(ZFIN) + b"OO")
write("zlink_receiver_fuzz", "zsinit-resend", bytes([0x22]) +
      bin_header(ZSINIT) + sub_packet(b"\x03\x8e\0", ZCRCW) +
      bin_header(ZFILE) + sub_packet(b"again.txt\0" + b"8\0", ZCRCW) +
      bin_header(ZDATA, position(4)) + sub_packet(b"late", ZCRCE) +
      bin_header(ZDATA, position(0)) + sub_packet(b"abcd", ZCRCQ) + sub_packet(b"efgh", ZCRCW) +
      bin_header(ZEOF, position(8)) + hex_header(ZFIN) + b"\x18" * 5)
print("seeds written under", ROOT)
