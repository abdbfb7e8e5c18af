#!/bin/sh
# Writes the archives the archive front tests read, made by the system's own archivers
# (zip, p7zip-full), into the folder given as the first argument.
set -eu
out=$1
rm -rf "$out.tmp"
mkdir -p "$out.tmp"
cd "$out.tmp"

# Members stored only with their full paths: the archive holds no folder entries.
mkdir -p src/a/b
printf 'c\n' >src/a/b/c.txt
printf 'd\n' >src/a/b/d.txt
printf 'e\n' >src/a/e.txt
printf 'top\n' >src/top.txt
touch -d '2020-01-02 03:04:05' src/a/b/c.txt src/a/b/d.txt src/a/e.txt src/top.txt
(cd src && zip -qXD ../paths.zip a/b/c.txt a/b/d.txt a/e.txt top.txt)
# A folder stored as a member of its own, after a member inside it.
touch -d '2019-03-04 05:06:07' src/a
(cd src && zip -qX ../late.zip top.txt a/b/c.txt a/)
# The archive file's own time, which the folders known only from paths take.
touch -d '2021-05-06 07:08:09' paths.zip late.zip

# One large member that takes a while to unpack, for cancelling in the middle of it.
head -c 8000000 /dev/urandom >src/big.bin
(cd src && zip -qX ../big.zip big.bin)

rm -rf src
cd ..
rm -rf "$out"
mv "$out.tmp" "$out"
