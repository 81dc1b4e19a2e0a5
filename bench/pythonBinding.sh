#!/bin/sh
# The Python binding against the C++ reader and against mrcfile + numpy in the same run,
# and two threads against one (pythonBinding.py says what is measured).
build=${1:-build/bench}
here=$(cd "$(dirname "$0")" && pwd)
if [ ! -d "$build/python/tarnview" ]; then
  echo "pythonBinding: the Python binding is not built, skipped"
  exit 0
fi
work=$build/pythonBench
mkdir -p "$work"
PYTHONPATH="$build/python" /usr/bin/python3 "$here/pythonBinding.py" "$work" "$build/bench/tarnview-read-time"
