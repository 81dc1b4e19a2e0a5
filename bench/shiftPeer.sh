#!/bin/sh
# Shift measurement against scikit-image's phase_cross_correlation (upsample 100) in the
# same run: benchShift writes the images and times ours (medians of 5 repetitions), then
# shiftPeer.py times the peer on the same images and compares the accuracies. Both run
# single-threaded (the peer's BLAS and FFT threads limited to one).
set -e
build=${1:-build/bench}
here=$(cd "$(dirname "$0")" && pwd)
work=$build/shiftBench
mkdir -p "$work"
if ! /usr/bin/python3 -c "import skimage.registration" 2>/dev/null; then
  echo "shiftPeer: python3-skimage not installed, skipped"
  exit 0
fi
"$build/bench/benchShift" --cases="$work" --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true --benchmark_out="$work/ours.json" --benchmark_out_format=json
OMP_NUM_THREADS=1 OPENBLAS_NUM_THREADS=1 MKL_NUM_THREADS=1 \
  /usr/bin/python3 "$here/shiftPeer.py" "$work" "$work/ours.json"
