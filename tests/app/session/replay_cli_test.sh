#!/usr/bin/env bash
# kesta-cli replay over a small capture: the screen as UTF-8, the cursor and
# the colours, the same for every chunk size; bad arguments exit 2.
set -u
cli=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# KS Complete "한글" in red on blue, a cursor move, a private sequence shown as text.
printf 'Hello \033[31;44m\xc7\xd1\xb1\xdb\033[0m world\r\n\033[5;10HX\033[?7h\033[=14F' > "$tmp/cap"
"$cli" replay "$tmp/cap" > "$tmp/out" || fail "replay failed"
[ "$(sed -n 1p "$tmp/out")" = "Hello 한글 world" ] || fail "row 0: $(sed -n 1p "$tmp/out")"
[ "$(sed -n 5p "$tmp/out")" = "         X?7h" ] || fail "row 4: $(sed -n 5p "$tmp/out")"
[ "$(sed -n 29p "$tmp/out")" = "cursor: row 4 column 13" ] || fail "cursor: $(sed -n 29p "$tmp/out")"
[ "$(sed -n 30p "$tmp/out")" = "colours: text #ffff00 background #00007d" ] || fail "colours: $(sed -n 30p "$tmp/out")"
for chunk in 1 2 3 5 7 4096; do
  "$cli" replay --chunk $chunk "$tmp/cap" | cmp -s - "$tmp/out" || fail "chunk $chunk differs"
done

# The same text from a johab host and from a 7-bit host.
printf 'Hello \xd0\x65\x8b\x69 world\r\n' > "$tmp/johab"
[ "$("$cli" replay --code 1 "$tmp/johab" | sed -n 1p)" = "Hello 한글 world" ] || fail "johab host"
printf 'Hello \x0e\x47\x51\x31\x5b\x0f world\r\n' > "$tmp/seven"
[ "$("$cli" replay --code 7 --chunk 3 "$tmp/seven" | sed -n 1p)" = "Hello 한글 world" ] || fail "7-bit host: $("$cli" replay --code 7 "$tmp/seven" | sed -n 1p)"

# With 24 rows, a long scroll keeps the last lines at the bottom.
for i in $(seq 1 40); do printf 'line %d\r\n' "$i"; done > "$tmp/lines"
"$cli" replay --rows 24 "$tmp/lines" > "$tmp/out24" || fail "replay --rows 24 failed"
[ "$(sed -n 23p "$tmp/out24")" = "line 40" ] || fail "24 rows: $(sed -n 23p "$tmp/out24")"
[ "$(sed -n 25p "$tmp/out24")" = "cursor: row 23 column 0" ] || fail "24 rows cursor"

# The trace shows the conversion to the internal code and the page creation.
"$cli" replay --trace "$tmp/cap" > "$tmp/trace" || fail "trace failed"
grep -q '^create-page 1 #00007d$' "$tmp/trace" || fail "no page creation in trace"
grep -q '^text 6,0 page 1 row 0 #ff0000 on #000092 "한글"$' "$tmp/trace" || fail "no Hangul run in trace"

# --telnet: commands stripped, CR NUL a bare CR, at every chunk size.
printf '\377\375\030\377\373\001Loading 10%%\r\000Loading 50%%\r\000Done\r\000\r\n\377\372\030\001\377\360end\377\361!' > "$tmp/telnet"
"$cli" replay --telnet "$tmp/telnet" > "$tmp/telnet.out" || fail "replay --telnet failed"
[ "$(sed -n 1p "$tmp/telnet.out")" = "Doneing 50%" ] || fail "telnet row 0: $(sed -n 1p "$tmp/telnet.out")"
[ "$(sed -n 2p "$tmp/telnet.out")" = "end!" ] || fail "telnet row 1: $(sed -n 2p "$tmp/telnet.out")"
[ "$(sed -n 29p "$tmp/telnet.out")" = "cursor: row 1 column 4" ] || fail "telnet cursor: $(sed -n 29p "$tmp/telnet.out")"
for chunk in 1 2 3 4096; do
  "$cli" replay --telnet --chunk $chunk "$tmp/telnet" | cmp -s - "$tmp/telnet.out" || fail "telnet chunk $chunk differs"
done
# Without --telnet the same bytes are not a clean screen.
"$cli" replay "$tmp/telnet" | cmp -s - "$tmp/telnet.out" && fail "--telnet made no difference"

# A 7-bit host cut into reads of 1 to 7 bytes draws the same picture (the
# drawing requests rebuilt into window cells) as one 4096-byte read, and the
# picture shows the text sent.
printf 'Hello \016\076\110\063\147\107\117\074\074\077\144 \107\121\061\133\017 world\r\n[\016\060\041\063\052\064\131\017] x\r\n' > "$tmp/seven2"
picture() {
  python3 -c '
import re, sys
sys.stdin.reconfigure(encoding="utf-8")
sys.stdout.reconfigure(encoding="utf-8")
rows = [[" "] * 85 for _ in range(28)]
for line in sys.stdin:
    m = re.match(r"text (-?\d+),(-?\d+) page \d+ row -?\d+ \S+ on \S+ \"(.*)\"$", line.rstrip("\n"))
    if m and int(m.group(2)) >= 0:
        c, r = int(m.group(1)), int(m.group(2))
        for ch in m.group(3):
            cells = [ch, ""] if ord(ch) > 0x7f else [ch]
            for cell in cells:
                if c < 85: rows[r][c] = cell
                c += 1
    m = re.match(r"blank (-?\d+),(-?\d+) page \d+ row -?\d+ count (\d+)", line)
    if m and int(m.group(2)) >= 0:
        c, r, n = int(m.group(1)), int(m.group(2)), int(m.group(3))
        for k in range(c, min(85, c + n)): rows[r][k] = " "
for row in rows: print("".join(row).rstrip())
'
}
"$cli" replay --code 7 --chunk 4096 --trace "$tmp/seven2" | picture > "$tmp/seven2.whole"
[ "$(sed -n 1p "$tmp/seven2.whole")" = "Hello 안녕하세요 한글 world" ] || fail "7-bit picture: $(sed -n 1p "$tmp/seven2.whole")"
[ "$(sed -n 2p "$tmp/seven2.whole")" = "[가나다] x" ] || fail "7-bit picture row 1: $(sed -n 2p "$tmp/seven2.whole")"
for chunk in 1 2 3 4 5 6 7; do
  "$cli" replay --code 7 --chunk $chunk --trace "$tmp/seven2" | picture | cmp -s - "$tmp/seven2.whole" ||
    fail "7-bit chunk $chunk draws another picture: $("$cli" replay --code 7 --chunk $chunk --trace "$tmp/seven2" | picture | head -2)"
done

"$cli" replay --rows 25 "$tmp/cap" >/dev/null 2>&1; [ $? -eq 2 ] || fail "--rows 25 not refused with 2"
"$cli" replay --chunk 0 "$tmp/cap" >/dev/null 2>&1; [ $? -eq 2 ] || fail "--chunk 0 not refused with 2"
"$cli" replay >/dev/null 2>&1; [ $? -eq 2 ] || fail "missing FILE not refused with 2"
"$cli" replay "$tmp/none" >/dev/null 2>&1; [ $? -eq 1 ] || fail "missing file not a failure"
echo "replay cli: ok"
