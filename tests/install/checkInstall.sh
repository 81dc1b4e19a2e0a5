#!/bin/sh
# Installs the build tree into a scratch prefix; checks that the installed headers are
# the public ones, laid out as include/tarnview/tarnview.h and include/tarnview/<folder>/,
# and that the umbrella header includes each of them; then builds and runs a consumer
# program that includes <tarnview/tarnview.h> twice: through the CMake package and
# through pkg-config (which must give include/ alone).
set -e
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
scratch=$build/installCheck
rm -rf "$scratch"
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
include=$prefix/include

# The usual layout: include/tarnview/tarnview.h beside the folders, consumers given
# include/ and writing <tarnview/tarnview.h>; the installed headers name one another by
# that path too.
umbrella=$include/tarnview/tarnview.h
status=0
[ -f "$umbrella" ] || { echo "no include/tarnview/tarnview.h"; exit 1; }
[ -e "$include/tarnview/tarnview" ] && { echo "include/tarnview/tarnview/ installed"; status=1; }
for header in "$include"/tarnview/*/*.h; do
  name=${header#"$include"/tarnview/}
  case $name in
    *Messages.h | fourier/fftLanes.h | fourier/fftModules.h | fourier/vectorTargets.h | \
    analysis/correlationPeak.h | analysis/spectrumProduct.h | formats/boundedOutput.h | \
    formats/convertedReaderBounds.h)
      echo "internal header installed: $name"; status=1 ;;
  esac
  grep -q "^#include \"tarnview/$name\"" "$umbrella" || { echo "not in tarnview/tarnview.h: $name"; status=1; }
done
if grep -n '^#include "' "$umbrella" "$include"/tarnview/*/*.h | grep -v '#include "tarnview/'; then
  echo "installed headers include paths outside include/tarnview/"; status=1
fi
[ $status = 0 ] || exit 1

cmake -S "$source/tests/install" -B "$scratch/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$scratch/consumer" >/dev/null
"$scratch/consumer/consumer"

if ! command -v pkg-config >/dev/null 2>&1; then
  echo "pkg-config not installed: its consumer build skipped"
  exit 0
fi
pcDir=$(dirname "$(find "$prefix" -name tarnview.pc)")
grep -q "^prefix=$prefix\$" "$pcDir/tarnview.pc" || { echo "tarnview.pc names another prefix"; exit 1; }
# shellcheck disable=SC2046
[ "$(echo $(PKG_CONFIG_PATH=$pcDir pkg-config --cflags tarnview))" = "-I$include" ] ||
  { echo "pkg-config --cflags does not give $include"; exit 1; }
flags=$(PKG_CONFIG_PATH=$pcDir pkg-config --cflags --libs tarnview)
# shellcheck disable=SC2086
c++ -std=c++20 -o "$scratch/consumerPkgConfig" "$source/tests/install/consumer.cpp" $flags
"$scratch/consumerPkgConfig"
