# The README's two commands, `make run` and `make test`, and the others of
# CONTRIBUTING.md. Each first installs the packages of its tier that are
# missing (scripts/install-deps TIER), then configures and builds.
#
# Both use build/. `make run` configures it, when nothing has yet, with the
# `run` preset: the program, its help viewer and help file, no tests, no
# benchmarks, and no -Werror, so that a newer compiler's new warning cannot
# stop a user's build. It then builds only the program's targets, so after
# `make test` it reuses that build as it is. `make test` always configures
# with the `test` preset: everything, warnings as errors.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 180

.PHONY: all build run test test-asan bench package fuzz check-fresh clean

all: build

# Configures and builds everything in build/ with warnings as errors.
define build-everything
	@cmake --preset test >/dev/null
	@cmake --build --preset test -j $(JOBS)
endef

build:
	@scripts/install-deps test
	$(build-everything)

run:
	@scripts/install-deps run
	@[ -f build/CMakeCache.txt ] || cmake --preset run >/dev/null
	@cmake --build build -j $(JOBS) --target mensura mensura-help mensura_help
	@build/bin/mensura

test:
	@scripts/install-deps test
	$(build-everything)
	@ctest --preset test -j $(JOBS)

# The whole suite under AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer (the asan preset, in build-asan/); any report fails it.
test-asan:
	@scripts/install-deps test
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)
	@ctest --preset asan -j $(JOBS)

bench:
	@scripts/install-deps bench
	$(build-everything)
	@build/bin/mensura_bench
	@build/bin/mensura_window_bench
	@build/bin/mensura_soak
	@bench/startup.sh build
	@bench/help_open.sh build

# The Debian package, build/mensura_10.4.0_amd64.deb.
package:
	@scripts/install-deps test
	$(build-everything)
	@cmake --build build --target package

# `make run` and `make test` on a fresh Debian 12 and 13, and the package
# installed, started and removed on both (root, network; see the script).
check-fresh:
	@scripts/install-deps fresh
	@scripts/fresh-check

# Builds every fuzz target with clang and libFuzzer into build-fuzz/ and runs
# each for FUZZ_SECONDS (make fuzz FUZZ_SECONDS=600). Corpora grow in
# build-fuzz/corpus/NAME, crash files land in build-fuzz/crashes/NAME.
fuzz:
	@scripts/install-deps fuzz
	@CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMENSURA_FUZZ=ON \
		-DMENSURA_BUILD_UI=OFF -DMENSURA_BUILD_TESTS=OFF -DMENSURA_BUILD_BENCH=OFF >/dev/null
	@cmake --build build-fuzz -j $(JOBS)
	@scripts/run-fuzzers build-fuzz $(FUZZ_SECONDS)

clean:
	@rm -rf build build-asan build-fuzz
