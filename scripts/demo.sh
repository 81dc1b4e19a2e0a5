#!/bin/sh
# make demo: generates a 2048 x 2048 synthetic micrograph imaged through a 300 kV
# microscope's contrast transfer (about 1.5 um underfocus, some astigmatism, 1 A pixels),
# converts it to PGM with a report, with the mean +- 3 sigma limits, and as its averaged
# power spectrum (Thon rings), and writes its centred Fourier amplitude spectrum.
set -e
build=${1:-build/release}
out=$build/demo
mkdir -p "$out"
"$build/sample/tarnview-make-sample" -ctf 2048 2048 "$out/sample.mrc"
echo "Generated $out/sample.mrc (2048 x 2048 floats)"
echo "\$ tarnview -mrc -v $out/sample.mrc $out/sample.pgm"
"$build/app/tarnview" -mrc -v "$out/sample.mrc" "$out/sample.pgm"
echo
echo "\$ tarnview -mrc -sigma 3 $out/sample.mrc $out/sample-sigma3.pgm"
"$build/app/tarnview" -mrc -sigma 3 "$out/sample.mrc" "$out/sample-sigma3.pgm"
echo
echo "\$ tarnview -mrc -psd -v $out/sample.mrc $out/psd.pgm"
"$build/app/tarnview" -mrc -psd -v "$out/sample.mrc" "$out/psd.pgm"
echo
echo "\$ tarnview -mrc -fft -v $out/sample.mrc $out/spectrum.pgm"
"$build/app/tarnview" -mrc -fft -v "$out/sample.mrc" "$out/spectrum.pgm"
echo
dir=$(cd "$out" && pwd)
echo "The image (default limits):    $dir/sample.pgm"
echo "The image (mean +- 3 sigma):   $dir/sample-sigma3.pgm"
echo "The power spectrum (-psd):     $dir/psd.pgm"
echo "The amplitude spectrum (-fft): $dir/spectrum.pgm"
