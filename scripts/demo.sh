#!/bin/sh
# make demo: generates a 2048 x 2048 synthetic micrograph, converts it to PGM with a
# report, and writes its centred Fourier amplitude spectrum.
set -e
build=${1:-build/release}
out=$build/demo
mkdir -p "$out"
"$build/sample/tarnview-make-sample" 2048 2048 "$out/sample.mrc"
echo "Generated $out/sample.mrc (2048 x 2048 floats)"
echo "\$ tarnview -mrc -v $out/sample.mrc $out/sample.pgm"
"$build/app/tarnview" -mrc -v "$out/sample.mrc" "$out/sample.pgm"
echo
echo "\$ tarnview -mrc -fft -v $out/sample.mrc $out/spectrum.pgm"
"$build/app/tarnview" -mrc -fft -v "$out/sample.mrc" "$out/spectrum.pgm"
echo
echo "The image:    $(cd "$out" && pwd)/sample.pgm"
echo "The spectrum: $(cd "$out" && pwd)/spectrum.pgm"
