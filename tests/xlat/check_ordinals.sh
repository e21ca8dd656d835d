#!/bin/sh
# check_ordinals.sh OBJDUMP DLL: fails unless the DLL exports
# ConvertHangulCode at ordinal 3 and ConvertHangulCodeEx at ordinal 4, both
# under their plain (undecorated) names.
objdump=$1
dll=$2
table=$("$objdump" -p "$dll") || { echo "check_ordinals: $objdump could not read $dll" >&2; exit 1; }
# objdump prints the ordinal base once, then each name with its ordinal less
# the base: "[   0] ConvertHangulCode".
exports=$(printf '%s\n' "$table" | awk '
  /^Ordinal Base/ && base == "" { base = $3 }
  /^\[Ordinal\/Name Pointer\] Table/ { names = 1; next }
  names && /^$/ { names = 0 }
  names && /^\t\[ *[0-9]+\] / { line = $0; gsub(/[][\t]/, " ", line); split(line, f, " "); print base + f[1], f[2] }')
status=0
for want in "3 ConvertHangulCode" "4 ConvertHangulCodeEx"; do
  if ! printf '%s\n' "$exports" | grep -qx "$want"; then
    echo "check_ordinals: $dll does not export ${want#* } at ordinal ${want%% *}" >&2
    status=1
  fi
done
if [ $status -ne 0 ]; then
  echo "check_ordinals: exports found:" >&2
  printf '%s\n' "$exports" >&2
  exit 1
fi
echo "check_ordinals: $dll exports ConvertHangulCode @3 and ConvertHangulCodeEx @4"
