#!/bin/sh
# Runs the Python suite against the package built in a build tree:
#   runPytest.sh <python> <build>/python <source>/python/tests sanitized(0|1) [pytest args]
# A sanitized extension module needs the sanitizer runtimes loaded before the
# interpreter starts; when they cannot be preloaded the suite is skipped (exit 77).
python=$1 package=$2 tests=$3 sanitized=$4
shift 4
if [ "$sanitized" = 1 ]; then
  asan=$(c++ -print-file-name=libasan.so)
  ubsan=$(c++ -print-file-name=libubsan.so)
  if [ ! -f "$asan" ] || [ ! -f "$ubsan" ] ||
     ! LD_PRELOAD="$asan $ubsan" ASAN_OPTIONS=detect_leaks=0 "$python" -c "" 2>/dev/null; then
    echo "The sanitizer runtime cannot be preloaded into $python: the Python suite is skipped"
    exit 77
  fi
  # The interpreter keeps its objects until exit by design: leak checking would report them.
  export LD_PRELOAD="$asan $ubsan"
  export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:allocator_may_return_null=1"
fi
export PYTHONPATH="$package${PYTHONPATH:+:$PYTHONPATH}"
exec "$python" -m pytest -q -p no:cacheprovider "$tests" "$@"
