#!/bin/sh
# Installs the external programs and Python packages the tests (with "bench", the benchmarks; with "fuzz",
# the fuzzing and the valgrind run) use when they are missing and apt-get can be run. A
# test that still cannot find one skips.
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
# The Python binding and its suite: the system interpreter's packages.
needPython() { /usr/bin/python3 -c "import $1" >/dev/null 2>&1 || missing="$missing $2"; }
[ -f /usr/lib/cmake/pybind11/pybind11Config.cmake ] || missing="$missing pybind11-dev python3-dev"
needPython numpy python3-numpy
needPython pytest python3-pytest
needPython mrcfile python3-mrcfile
needPython distributed python3-distributed
needPython PIL python3-pil
needPython tqdm python3-tqdm
if [ "$1" = bench ]; then
  [ -f /usr/include/fftw3.h ] || missing="$missing libfftw3-dev"
  need hyperfine hyperfine
  need parallel parallel
fi
if [ "$1" = fuzz ]; then
  need clang++-14 clang-14
  need llvm-profdata-14 llvm-14
  need llvm-cov-14 llvm-14
  need valgrind valgrind
  ls /usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 \
    || missing="$missing libclang-rt-14-dev"
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
