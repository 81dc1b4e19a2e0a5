#!/bin/sh
# Installs the external programs the tests (and, with "bench", the benchmarks) use when
# they are missing and apt-get can be run. A test that still cannot find one skips.
missing=""
need() { command -v "$1" >/dev/null 2>&1 || missing="$missing $2"; }
need zcat gzip
need gzip gzip
need compress ncompress
need giftopnm netpbm
need ppmtopgm netpbm
need djpeg libjpeg-turbo-progs
need clang-format-14 clang-format-14
need pkg-config pkg-config
if [ "$1" = bench ]; then
  [ -f /usr/include/fftw3.h ] || missing="$missing libfftw3-dev"
  need hyperfine hyperfine
fi
[ -n "$missing" ] || exit 0
packages=$(echo $missing | tr ' ' '\n' | sort -u | tr '\n' ' ')
if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null 2>&1; then
  echo "Installing:$missing"
  (apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $packages) >/dev/null 2>&1 \
    || echo "Could not install $packages; the tests that need them will skip."
else
  echo "Missing $packages and cannot install them; the tests that need them will skip."
fi
exit 0
