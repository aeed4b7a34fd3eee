#!/bin/sh
# Small pictures in every format the logo helper recognises, plus bad data.
set -e
out=$1
for ext in bmp jpg png gif; do
  ffmpeg -loglevel error -y -f lavfi -i testsrc=size=16x16 -frames:v 1 "$out/logo.$ext"
done
ffmpeg -loglevel error -y -f lavfi -i testsrc=size=16x16 -frames:v 1 -c:v bmp -f ico "$out/logo.ico" 2>/dev/null ||
  ffmpeg -loglevel error -y -f lavfi -i testsrc=size=16x16 -frames:v 1 "$out/logo.ico"
head -c 40 "$out/logo.png" > "$out/truncated.png"
printf 'BM123' > "$out/five-bytes.bmp"
printf 'not a picture at all' > "$out/unknown.dat"
