#!/bin/sh
# Installs the build tree into a scratch prefix; checks that the installed headers are
# the public ones and that the umbrella header includes each of them; then builds and
# runs a consumer program twice: through the CMake package and through pkg-config.
set -e
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
scratch=$build/installCheck
rm -rf "$scratch"
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
include=$prefix/include/tarnview

umbrella=$include/tarnview/tarnview.h
status=0
for header in "$include"/*/*.h; do
  name=${header#"$include"/}
  [ "$name" = tarnview/tarnview.h ] && continue
  case $name in
    *Messages.h | fourier/fftLanes.h | fourier/fftModules.h | fourier/vectorTargets.h)
      echo "internal header installed: $name"; status=1 ;;
  esac
  grep -q "^#include \"$name\"" "$umbrella" || { echo "not in tarnview/tarnview.h: $name"; status=1; }
done
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
flags=$(PKG_CONFIG_PATH=$pcDir pkg-config --cflags --libs tarnview)
# shellcheck disable=SC2086
c++ -std=c++20 -o "$scratch/consumerPkgConfig" "$source/tests/install/consumer.cpp" $flags
"$scratch/consumerPkgConfig"
