#!/bin/sh
# make demo: generates a 2048 x 2048 synthetic micrograph imaged through a 300 kV
# microscope's contrast transfer (about 1.5 um underfocus, some astigmatism, 1 A pixels),
# converts it to PGM with a report, with the mean +- 3 sigma limits, and as its averaged
# power spectrum (Thon rings), and writes its centred Fourier amplitude spectrum. Then the
# batch tool makes thumbnails, spectra and a contact sheet of a small generated session.
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

# A small session of micrographs through the batch tool (the Python binding).
if [ -d "$build/python/tarnview" ] && /usr/bin/python3 -c "import distributed, PIL, tqdm" 2>/dev/null; then
  mkdir -p "$out/session"
  for seed in 1 2 3 4 5 6; do
    "$build/sample/tarnview-make-sample" -ctf 1024 1024 "$out/session/micrograph$seed.mrc" $seed >/dev/null
  done
  echo
  echo "\$ tarnview-batch --workers 2 -o $out/batch $out/session/*.mrc"
  PYTHONPATH="$build/python" /usr/bin/python3 -m tarnview.batch --workers 2 --tile 256 -o "$out/batch" \
    "$out/session"/*.mrc || true
  echo "The contact sheet:             $dir/batch/index.html"
else
  echo "The Python binding or Dask is not installed: the batch demo is skipped."
fi
