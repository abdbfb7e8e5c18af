#!/bin/sh
# Writes the archives the 7-Zip back-end tests read, made by the system's own archivers
# (p7zip-full, tar), into the folder given as the first argument.
set -eu
out=$1
rm -rf "$out.tmp"
mkdir -p "$out.tmp"
cd "$out.tmp"

# Names that are wildcards elsewhere; Windows cannot hold them, tar can.
mkdir star
printf 'star\n' >'star/a*'
printf 'ab\n' >star/ab
printf 'a?\n' >'star/a?'
(cd star && tar -cf ../star.tar 'a*' ab 'a?')

# An encrypted 7z archive (names visible, contents encrypted).
mkdir secret
printf 'hidden text\n' >secret/s.txt
printf 'second\n' >secret/t.txt
(cd secret && 7z a -bd -y -psecret ../secret.7z s.txt t.txt >/dev/null)
# The same with the names encrypted too: listing it asks for the password.
(cd secret && 7z a -bd -y -psecret -mhe=on ../secretnames.7z s.txt t.txt >/dev/null)

# Japanese names in a 7z archive.
mkdir jp
printf 'nihongo\n' >"jp/日本語.txt"
(cd jp && 7z a -bd -y ../jp.7z "日本語.txt" >/dev/null)

# Members in folders, with a fixed time, and one member with a 9000-byte body.
mkdir -p tree/dir/sub tree/dir2
printf 'one\n' >tree/dir/sub/a.txt
printf 'two\n' >tree/dir2/a.txt
printf 'top\n' >tree/top.txt
head -c 9000 /dev/zero | tr '\0' 'x' >tree/big.txt
touch -d '2020-01-02 03:04:05' tree/dir/sub/a.txt tree/dir2/a.txt tree/top.txt tree/big.txt
(cd tree && 7z a -bd -y ../tree.7z top.txt big.txt dir dir2 >/dev/null)

# A tree of 20,000 empty files in 20 folders, for a pack that is cancelled while it
# scans.
for d in $(seq -w 1 20); do
  mkdir -p many/d$d
  (cd many/d$d && seq -f 'f%04g.txt' 1 1000 | xargs touch)
done

# A compressed stream that stores neither a name nor a size.
printf 'stream\n' | bzip2 -9 >plain.txt.bz2

rm -rf star secret jp tree
cd ..
rm -rf "$out"
mv "$out.tmp" "$out"
