#!/bin/sh
# Installs the build tree into a scratch prefix, then configures, builds and runs a
# consumer project against it.
set -e
build=$1
source=$2
scratch=$build/installCheck
rm -rf "$scratch"
cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
cmake -S "$source/tests/install" -B "$scratch/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$scratch/prefix" >/dev/null
cmake --build "$scratch/consumer" >/dev/null
"$scratch/consumer/consumer"
