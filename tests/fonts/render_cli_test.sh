#!/usr/bin/env bash
# kesta-cli render: text in a Hangul code draws the same picture as the same
# text in UTF-8; bad options are usage errors.
set -u
cli=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$cli" render --face InternalGothic '한글 abc' -o "$tmp/utf8.png" || fail "UTF-8 text"
"$cli" render --face InternalGothic --code 6 "$(printf '\xc7\xd1\xb1\xdb abc')" -o "$tmp/ks.png" || fail "code 6 text"
"$cli" render --face InternalGothic --code 1 "$(printf '\xd0\x65\x8b\x69 abc')" -o "$tmp/johab.png" || fail "code 1 text"
cmp -s "$tmp/utf8.png" "$tmp/ks.png" || fail "code 6 draws differently from UTF-8"
cmp -s "$tmp/utf8.png" "$tmp/johab.png" || fail "code 1 draws differently from UTF-8"
"$cli" render --face InternalGothic '한' -o "$tmp/other.png" || fail "one syllable"
cmp -s "$tmp/utf8.png" "$tmp/other.png" && fail "different text drew the same picture"
"$cli" render --face InternalGothic --code 9 x -o "$tmp/x.png" 2>/dev/null; [ $? -eq 2 ] || fail "--code 9 not refused with 2"
"$cli" render --face InternalGothic "$(printf '\xf0\x9f\x98\x80')" -o "$tmp/x.png" 2>/dev/null; [ $? -eq 2 ] || fail "emoji not refused"
echo "render cli: ok"
