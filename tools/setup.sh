#!/usr/bin/env bash
# Installs, from Debian's packages, what building and testing Kesta needs.
# Idempotent: only missing packages are installed, after one apt-get update.
set -euo pipefail

packages=(
  cmake make ninja-build g++ clang
  # libFuzzer and clang's sanitizer runtimes (the fuzz preset); only recommended by clang
  libclang-rt-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
  wine wine64 xvfb xauth
  googletest libgtest-dev libbenchmark-dev
  lrzsz socat libvterm-dev python3 fonts-nanum
  # the end-to-end tests: peers, keys and mouse, screenshots, the Korean locale
  inetutils-telnetd inetutils-telnet xdotool x11-apps x11-xserver-utils xclip locales
  # the Windows installers and zips (tools/package.sh)
  nsis zip
  # needed only to regenerate the pictures and sounds (tools/assets/make_assets.py)
  python3-pil
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed'; then
    missing+=("$p")
  fi
done
# wine32 cannot run here and changes which wine binary is used: never keep it.
if dpkg-query -W -f='${Status}' wine32 2>/dev/null | grep -q 'ok installed'; then
  echo "setup: removing wine32 (32-bit programs cannot run on this machine)"
  sudo_cmd=""; [ "$(id -u)" = 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get remove -y -qq wine32 >/dev/null
fi
# The Korean locale gives Wine the ANSI code page 949 (the control tests run in it).
korean_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^ko_KR\.utf-\?8$'; then
    echo "setup: generating the ko_KR.UTF-8 locale"
    sudo_cmd=""; [ "$(id -u)" = 0 ] || sudo_cmd="sudo"
    $sudo_cmd localedef -i ko_KR -f UTF-8 ko_KR.UTF-8
  fi
}
if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all ${#packages[@]} packages present"
  korean_locale
  exit 0
fi
echo "setup: installing ${missing[*]}"
sudo_cmd=""; [ "$(id -u)" = 0 ] || sudo_cmd="sudo"
$sudo_cmd apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
korean_locale
echo "setup: done"
