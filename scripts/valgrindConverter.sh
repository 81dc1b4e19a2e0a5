#!/bin/bash
# Runs the converter of an optimised build under valgrind's memcheck on one ordinary file
# of each type (an MRC file, a gzip-compressed MRC file, a ScansALot scan, an IMAGIC
# stack) and on the -fft path, both of a valid transform length and padded with noise.
# Fails on any memory error, any leak, or an exit status other than 0.
#
#   scripts/valgrindConverter.sh [build directory, default build/release]
set -u
cd "$(dirname "$0")/.."
build=${1:-build/release}

if ! command -v valgrind >/dev/null 2>&1; then
  echo "valgrind is not installed (scripts/ensureTools.sh fuzz installs it)"
  exit 1
fi
cmake --preset "$(basename "$build")" >/dev/null || exit 1
nice cmake --build --preset "$(basename "$build")" --target tarnview tarnview-make-sample >/dev/null || exit 1

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

"$build/sample/tarnview-make-sample" 96 96 "$dir/image.mrc" >/dev/null
"$build/sample/tarnview-make-sample" 100 100 "$dir/odd.mrc" >/dev/null
gzip -c "$dir/image.mrc" >"$dir/packed.mrc.gz"
python3 - "$dir" <<'EOF'
import struct, sys
d = sys.argv[1]
nx, ny = 70, 40  # 140-byte rows padded to 512-byte records
open(d + "/scan.hdr", "w").write(" NXP = %d\n NYP = %d\n DELTAX = 21.0\n" % (nx, ny))
rows = b"".join(struct.pack("<%dH" % nx, *[(x * 37 + y * 101) % 65536 for x in range(nx)]) + bytes(512 - 2 * nx)
                for y in range(ny))
open(d + "/scan.img", "wb").write(rows)
record = bytearray(1024)
struct.pack_into("<i", record, 4, 1)           # two images
struct.pack_into("<i", record, 12, 1)          # little-endian
struct.pack_into("<ii", record, 48, 32, 24)    # lines, pixels per line
record[56:60] = b"REAL"
open(d + "/stack.hed", "wb").write(bytes(record) * 2)
open(d + "/stack.img", "wb").write(struct.pack("<%df" % (2 * 24 * 32), *[float(i % 97) for i in range(2 * 24 * 32)]))
EOF

failed=0
run() {
  local out
  out=$(valgrind -q --error-exitcode=99 --leak-check=full --show-leak-kinds=all \
        --errors-for-leak-kinds=definite,indirect,possible "$build/app/tarnview" "$@" "$dir/out.pgm" 2>&1 >/dev/null)
  local status=$?
  if [ $status -ne 0 ] || [ -n "$out" ]; then
    echo "valgrind: tarnview $* -> status $status"
    echo "$out"
    failed=1
  else
    echo "valgrind: tarnview $*: no errors, no leaks"
  fi
}
run -mrc -v "$dir/image.mrc"
run -mrc "$dir/packed.mrc.gz"
run -sal -v "$dir/scan.hdr"
run -imagic -v "$dir/stack.hed"
run -mrc -fft -v "$dir/image.mrc"
run -mrc -fft "$dir/odd.mrc"
exit $failed
