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

"$cli" replay --rows 25 "$tmp/cap" >/dev/null 2>&1; [ $? -eq 2 ] || fail "--rows 25 not refused with 2"
"$cli" replay --chunk 0 "$tmp/cap" >/dev/null 2>&1; [ $? -eq 2 ] || fail "--chunk 0 not refused with 2"
"$cli" replay >/dev/null 2>&1; [ $? -eq 2 ] || fail "missing FILE not refused with 2"
"$cli" replay "$tmp/none" >/dev/null 2>&1; [ $? -eq 1 ] || fail "missing file not a failure"
echo "replay cli: ok"
