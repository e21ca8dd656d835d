#!/usr/bin/env bash
# Builds the Windows installers (NSIS) and a plain zip of each build into
# build/dist/:
#   kesta-VERSION-win64-setup.exe   kesta-VERSION-win64.zip
#   kesta-VERSION-win32-setup.exe   kesta-VERSION-win32.zip
# The zip holds the folder kesta\ as the installer lays it out (HANJA.FNT
# inside, to be copied into the Windows directory by hand).
set -euo pipefail

usage() {
  cat <<'EOF2'
Usage: bash tools/package.sh [--only win64|win32] [--no-build] [--build-dir DIR] [--out DIR]

  --only ARCH      package one build only (default: win64 and win32)
  --no-build       package what is built, do not run cmake --build first
  --build-dir DIR  the build tree to take the files from (with --only; default build/ARCH)
  --out DIR        where the installers and zips go (default build/dist)
EOF2
}

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
archs=(win64 win32) build=1 build_dir="" out="$repo/build/dist"
while [ $# -gt 0 ]; do
  case "$1" in
    --only) archs=("$2"); shift ;;
    --no-build) build=0 ;;
    --build-dir) build_dir="$2"; shift ;;
    --out) out="$2"; shift ;;
    -h|--help) usage; exit 0 ;;
    *) echo "package: unknown option $1 (see --help)" >&2; exit 2 ;;
  esac
  shift
done
for a in "${archs[@]}"; do
  case "$a" in win64|win32) ;; *) echo "package: no build called $a" >&2; exit 2 ;; esac
done
command -v makensis >/dev/null || { echo "package: makensis not found: bash tools/setup.sh (Debian package nsis)" >&2; exit 1; }
command -v zip >/dev/null || { echo "package: zip not found: bash tools/setup.sh" >&2; exit 1; }

version="2.0"
dlls=(ZLINK32 QUILH32 QUILF32 HCTL32 HCTLW32 HXLAT32)
mkdir -p "$out"
out="$(cd "$out" && pwd)"
failed=()

for arch in "${archs[@]}"; do
  dir="${build_dir:-$repo/build/$arch}"
  if [ "$build" = 1 ]; then
    cd "$repo"
    [ -f "$dir/CMakeCache.txt" ] || cmake --preset "$arch" >/dev/null
    if ! cmake --build "$dir" -j"$(nproc 2>/dev/null || echo 2)" \
        --target kesta10 zlink32 QUILH32 QUILF32 HCTL32 HCTLW32 hxlat32; then
      echo "package: the $arch build failed: no $arch packages" >&2
      failed+=("$arch")
      continue
    fi
  fi
  exe="$dir/app/shell/kesta10.exe"
  if [ ! -f "$exe" ]; then
    echo "package: $exe not found: build the $arch preset first" >&2
    failed+=("$arch")
    continue
  fi

  stage="$out/stage-$arch/kesta"
  rm -rf "$out/stage-$arch"
  mkdir -p "$stage"
  cp "$exe" "$stage/kesta10.exe"
  for d in "${dlls[@]}"; do
    f="$(find "$dir" -path "$dir/tests" -prune -o -iname "$d.dll" -print | awk '{ print length, $0 }' | sort -n | head -1 | cut -d' ' -f2-)"
    [ -n "$f" ] || { echo "package: $d.DLL not found in $dir" >&2; exit 1; }
    cp "$f" "$stage/$d.DLL"
  done
  # the debugging information stays in the build tree
  strip="$([ "$arch" = win64 ] && echo x86_64 || echo i686)-w64-mingw32-strip"
  if command -v "$strip" >/dev/null; then
    "$strip" --strip-debug "$stage/kesta10.exe" "$stage"/*.DLL
  fi
  cp -r "$repo/app/shell/home/." "$stage/"
  cp "$repo/fonts/glyphs/HANJA.FNT" "$stage/HANJA.FNT"
  [ -f "$dir/HANJA.FNT" ] && cp "$dir/HANJA.FNT" "$stage/HANJA.FNT"
  mkdir -p "$stage/env" "$stage/tel" "$stage/cap" "$stage/up" "$stage/down"

  setup="$out/kesta-$version-$arch-setup.exe"
  makensis -V2 -DARCH="$arch" -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$setup" \
    "$repo/tools/install/kesta.nsi"
  zipfile="$out/kesta-$version-$arch.zip"
  rm -f "$zipfile"
  (cd "$out/stage-$arch" && zip -q -r -X "$zipfile" kesta)
  rm -rf "$out/stage-$arch"
  echo "package: $setup"
  echo "package: $zipfile"
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "package: not made: ${failed[*]}" >&2
  exit 1
fi
