# The project's two set-up commands: `make demo` and `make test`.
# Everything else is CMake (see CMakePresets.json): build/release, build/sanitize, build/bench,
# build/fuzz and build/fuzz-coverage.

.PHONY: all test demo bench fuzz valgrind tools release sanitize clean

all: release

# The real external programs the tests drive (zcat, compress, netpbm, djpeg), installed
# with apt-get when missing and possible.
tools:
	@scripts/ensureTools.sh

release:
	cmake --preset release
	cmake --build --preset release

sanitize:
	cmake --preset sanitize
	cmake --build --preset sanitize

# Configures, builds and runs every test twice: optimised, then under ASan + UBSan + LSan.
test: tools release sanitize
	ctest --preset release
	ctest --preset sanitize

demo: tools release
	@scripts/demo.sh build/release

bench:
	@scripts/ensureTools.sh bench
	cmake --preset bench
	cmake --build --preset bench
	@scripts/bench.sh build/bench

# Runs every fuzz target (libFuzzer, clang-14) for FUZZ_SECONDS (default 600) each, two at
# a time, prints executions and the line coverage of formats/, then the valgrind run.
# Not part of `make test`, which replays the seed corpora in both builds.
fuzz:
	@scripts/ensureTools.sh fuzz
	@scripts/fuzz.sh

# The converter under valgrind on one ordinary file of each type and on the -fft path.
valgrind:
	@scripts/ensureTools.sh fuzz
	@scripts/valgrindConverter.sh build/release

clean:
	rm -rf build
