#!/bin/sh
# Installs the build tree into a scratch prefix and imports the installed package from
# its site directory there, away from the build tree.
#   checkInstalledPackage.sh <python> <build> <site directory relative to the prefix>
set -e
python=$1 build=$(cd "$2" && pwd) site=$3
prefix=$build/pythonInstallCheck
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
cd "$prefix"
PYTHONPATH="$prefix/$site" "$python" -c "
import numpy, tarnview
assert tarnview.__file__.startswith('$prefix/'), tarnview.__file__
image = tarnview.Image.from_array(numpy.ones((4, 6)))
assert image.mean == 1.0 and image.data.shape == (4, 6)
print('installed package imports from', tarnview.__file__)
"
