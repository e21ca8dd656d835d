#!/usr/bin/env bash
# kesta-cli convert against iconv: a johab capture to UTF-8 and back, the
# 7-bit code, bad bytes counted on standard error with exit status 0, and
# bad arguments refused with status 2.
#   cli_convert_test.sh KESTA_CLI
set -u
cli=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "cli_convert_test: $*" >&2; exit 1; }

# Every KS X 1001 syllable row and a line of English, in code page 949.
printf 'BBS menu: 1) files 2) chat\r\n' >"$tmp/in.cp949"
for lead in b0 b1 b2 b3 b4 b5 b6 b7 b8 b9 ba bb bc bd be bf c0 c1 c2 c3 c4 c5 c6 c7 c8; do
  for trail in a1 a2 a3 b0 c0 d0 e0 f0 fe; do printf "\\x$lead\\x$trail"; done
  printf ' ok\r\n'
done >>"$tmp/in.cp949"
iconv -f CP949 -t JOHAB "$tmp/in.cp949" >"$tmp/in.johab" || fail "iconv could not make the johab sample"
iconv -f CP949 -t UTF-8 "$tmp/in.cp949" >"$tmp/want.utf8" || fail "iconv could not make the UTF-8 sample"

"$cli" convert --from 1 --to utf8 <"$tmp/in.johab" >"$tmp/got.utf8" 2>"$tmp/err" || fail "convert 1 -> utf8 failed"
cmp -s "$tmp/got.utf8" "$tmp/want.utf8" || fail "johab to UTF-8 differs from iconv"
[ -s "$tmp/err" ] && fail "clean input gave a message: $(cat "$tmp/err")"
"$cli" convert --from utf8 --to 1 <"$tmp/want.utf8" | cmp -s - "$tmp/in.johab" || fail "UTF-8 to johab differs from iconv"
"$cli" convert --from 6 --to 7 <"$tmp/in.cp949" | "$cli" convert --from 7 --to 8 | cmp -s - "$tmp/in.cp949" ||
  fail "code page 949 through the 7-bit code did not come back"

# Bad bytes: replaced, counted, status 0.
printf 'a\x80b\xff' | "$cli" convert --from 6 --to utf8 >"$tmp/bad.out" 2>"$tmp/bad.err"
status=$?
[ $status -eq 0 ] || fail "bad bytes gave exit status $status"
[ "$(cat "$tmp/bad.out")" = "a�b�" ] || fail "bad bytes were not replaced: $(cat "$tmp/bad.out")"
grep -q "replaced 2 bad input bytes" "$tmp/bad.err" || fail "bad bytes were not counted: $(cat "$tmp/bad.err")"

# Bad arguments.
"$cli" convert --from 9 --to 1 <"$tmp/want.utf8" | cmp -s - "$tmp/in.johab" || fail "--from 9 is not UTF-8"
"$cli" convert --from 0 --to 1 </dev/null 2>/dev/null
[ $? -eq 2 ] || fail "--from 0 was not refused with status 2"
"$cli" convert --from 1 </dev/null 2>/dev/null
[ $? -eq 2 ] || fail "a missing --to was not refused with status 2"
"$cli" convert --help | grep -q "utf8" || fail "--help does not list the codes"
echo "cli_convert_test: passed"
