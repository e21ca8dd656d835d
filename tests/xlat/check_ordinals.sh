#!/bin/sh
# check_ordinals.sh OBJDUMP DLL: fails unless the DLL exports
# ConvertHangulCode at ordinal 3 and ConvertHangulCodeEx at ordinal 4, both
# under their plain (undecorated) names.
objdump=$1
dll=$2
table=$("$objdump" -p "$dll") || { echo "check_ordinals: $objdump could not read $dll" >&2; exit 1; }
status=0
for want in "3 ConvertHangulCode" "4 ConvertHangulCodeEx"; do
  ordinal=${want%% *}
  name=${want#* }
  # Export lines read: [   0] +base[   3]  0000 ConvertHangulCode
  if ! printf '%s\n' "$table" | grep -Eq "\+base\[ *$ordinal\] +[0-9a-fA-F]+ +$name\$"; then
    echo "check_ordinals: $dll does not export $name at ordinal $ordinal" >&2
    status=1
  fi
done
[ $status -eq 0 ] && echo "check_ordinals: $dll exports ordinals 3 and 4"
exit $status
