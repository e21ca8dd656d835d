#!/usr/bin/env bash
# Runs a Windows test program under Wine with a prefix kept inside the build
# tree, so tests never touch the user's own ~/.wine.
# KESTA_WINEPREFIX may name the prefix; otherwise it is <cwd's build root>/wineprefix.
set -e
if [ -z "${KESTA_WINEPREFIX:-}" ]; then
  dir=$(pwd)
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  [ "$dir" = / ] && dir=$(pwd)
  KESTA_WINEPREFIX="$dir/wineprefix"
fi
export WINEPREFIX="$KESTA_WINEPREFIX"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$@"
