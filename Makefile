# The project's two set-up commands: `make demo` and `make test`.
# Everything else is CMake (see CMakePresets.json): build/release, build/sanitize, build/bench.

.PHONY: all test demo bench tools release sanitize clean

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

demo: release
	@scripts/demo.sh build/release

bench:
	@scripts/ensureTools.sh bench
	cmake --preset bench
	cmake --build --preset bench
	@scripts/bench.sh build/bench

clean:
	rm -rf build
