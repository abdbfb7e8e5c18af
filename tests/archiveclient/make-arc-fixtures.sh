#!/bin/sh
# Writes the archives the archive-opening tests read, made by the system's own archivers
# (p7zip-full, zip, tar, gzip), into the folder given as the first argument.
set -eu
out=$1
rm -rf "$out.tmp"
mkdir -p "$out.tmp"
cd "$out.tmp"

# Deterministic bytes that look random, so that no archive signature repeats by design.
junk() { openssl enc -aes-128-ctr -nosalt -K 000102030405060708090a0b0c0d0e0f \
  -iv 00000000000000000000000000000000 </dev/zero 2>/dev/null | head -c "$1"; }

mkdir -p src/dir
printf 'hello\n' >src/hello.txt
printf 'inside a folder\n' >src/dir/sub.txt
touch -d '2020-01-02 03:04:05' src/hello.txt src/dir/sub.txt src/dir src

(cd src && zip -qrX ../plain.zip hello.txt dir)
(cd src && 7z a -bd -y ../plain.7z hello.txt dir >/dev/null)
(cd src && tar -cf ../plain.tar hello.txt dir)
gzip -9n -c plain.tar >plain.tar.gz
cp plain.tar.gz backup.tgz

junk 40000 >random.bin
7z a -bd -y -mx0 -v16k vol.7z random.bin >/dev/null

{ junk 1048576; cat plain.7z; } >junk1m.dat
cp junk1m.dat junk1m.7z
{ junk 9437184; cat plain.7z; } >junk9m.dat
: >empty.bin

# Japanese names: one zip marks them UTF-8, the other stores Shift_JIS bytes.
mkdir jp
printf 'nihongo\n' >"jp/日本語.txt"
(cd jp && 7z a -bd -y -tzip -mcu=on ../jp-utf8.zip "日本語.txt" >/dev/null)
mkdir jpsjis
sjis=$(printf '日本語.txt' | iconv -f UTF-8 -t SHIFT_JIS)
printf 'nihongo\n' >"jpsjis/$sjis"
(cd jpsjis && LC_ALL=C zip -qX ../jp-sjis.zip "$sjis")
# Such names come from DOS and Windows archivers: mark the entry as made on MS-DOS (the
# high byte of "version made by" in the central header), as those archivers do.
central=$(LC_ALL=C grep -obUaP 'PK\x01\x02' jp-sjis.zip | head -n 1 | cut -d: -f1)
printf '\000' | dd of=jp-sjis.zip bs=1 seek=$((central + 5)) conv=notrunc 2>/dev/null

rm -rf src jp jpsjis random.bin
cd ..
rm -rf "$out"
mv "$out.tmp" "$out"
