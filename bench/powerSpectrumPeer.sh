#!/bin/sh
# The averaged power spectrum against numpy's implementation of the same steps, in the
# same run: benchPowerSpectrum writes the 4096 x 4096 image and times ours (medians of 5
# repetitions), then powerSpectrumPeer.py times the peer on the same image and prints the
# ratio. Both run single-threaded.
set -e
build=${1:-build/bench}
here=$(cd "$(dirname "$0")" && pwd)
work=$build/powerSpectrumBench
mkdir -p "$work"
if ! /usr/bin/python3 -c "import numpy" 2>/dev/null; then
  echo "powerSpectrumPeer: python3-numpy not installed, skipped"
  exit 0
fi
"$build/bench/benchPowerSpectrum" --image="$work/image.f32" --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true --benchmark_out="$work/ours.json" --benchmark_out_format=json
OMP_NUM_THREADS=1 OPENBLAS_NUM_THREADS=1 MKL_NUM_THREADS=1 \
  /usr/bin/python3 "$here/powerSpectrumPeer.py" "$work/image.f32" "$work/ours.json"
