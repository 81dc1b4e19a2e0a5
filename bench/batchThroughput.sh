#!/bin/sh
# The batch tool against GNU parallel -j2 running the converter twice per file and
# against a multiprocessing pool of mrcfile, numpy and Pillow, on the same synthetic
# micrographs in the same run (batchThroughput.py says what is measured).
build=${1:-build/bench}
here=$(cd "$(dirname "$0")" && pwd)
if [ ! -d "$build/python/tarnview" ]; then
  echo "batchThroughput: the Python binding is not built, skipped"
  exit 0
fi
work=$build/batchBench
mkdir -p "$work"
PYTHONPATH="$build/python" /usr/bin/python3 "$here/batchThroughput.py" "$work" "$build/app/tarnview"
