#!/bin/sh
# Whole-process benchmark: `tarnview -mrc in.mrc out.pgm` on float MRC files of
# 1024, 4096 and 8192 square, from a warm page cache, against two floors measured in
# the same run (bench/floorConvert.cpp with malloc buffers, and with huge-page
# buffers). Wall time: median of hyperfine runs; peak memory: max resident set size.
# Then `tarnview -mrc -fft` on 2048 x 2048 against the plain conversion and against
# FFTW's real-to-complex transform of the padded side (2184, FFTW_ESTIMATE).
set -e
build=${1:-build/bench}
work=$build/processBench
mkdir -p "$work"
tarnview=$build/app/tarnview
floor=$build/bench/tarnview-floor
make=$build/sample/tarnview-make-sample

median() { # command... -> median wall seconds of 7 runs after 2 warm-ups
  hyperfine -N --style none --warmup 2 --runs 7 --export-json "$work/h.json" "$*" >/dev/null 2>&1
  python3 -c "import json;print('%.4f' % json.load(open('$work/h.json'))['results'][0]['median'])"
}
peak() { # command... -> max resident set size in KiB
  /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1
}

printf '%-6s %10s %10s %10s %8s %8s %10s %8s\n' side ours_s plain_s huge_s x_plain x_huge peak_MiB x_file
for side in 1024 4096 8192; do
  in=$work/m$side.mrc
  [ -f "$in" ] || "$make" $side $side "$in"
  cat "$in" >/dev/null
  ours=$(median "$tarnview" -mrc "$in" "$work/o.pgm")
  plain=$(median "$floor" plain "$in" "$work/p.pgm")
  huge=$(median "$floor" huge "$in" "$work/h.pgm")
  kib=$(peak "$tarnview" -mrc "$in" "$work/o.pgm")
  bytes=$(stat -c %s "$in")
  python3 -c "
o,p,h,k,b=$ours,$plain,$huge,$kib,$bytes
print('%-6d %10.4f %10.4f %10.4f %8.2f %8.2f %10.1f %8.2f' % ($side,o,p,h,o/p,o/h,k/1024,k*1024/b))"
done

in=$work/m2048.mrc
[ -f "$in" ] || "$make" 2048 2048 "$in"
plainRun=$(median "$tarnview" -mrc "$in" "$work/o.pgm")
fftRun=$(median "$tarnview" -mrc -fft "$in" "$work/f.pgm")
fftwRun=nan
[ -x "$build/bench/tarnview-fftw-time" ] && fftwRun=$("$build/bench/tarnview-fftw-time" 2184)
python3 -c "
p,f,w=$plainRun,$fftRun,float('$fftwRun')
print('fft-2048: conversion %.4f s, with -fft %.4f s, extra %.4f s; FFTW r2c ESTIMATE 2184: %.4f s; extra/FFTW %.2f' % (p,f,f-p,w,(f-p)/w))"
