# The two commands of the README: `make run` and `make test`. Both install
# what is missing, configure and build first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 180

.PHONY: all deps configure build run test test-asan bench package fuzz check-fresh clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -x $(BUILD_DIR)/bin/mensura ]; then \
		$(BUILD_DIR)/bin/mensura; \
	else \
		echo '{"category":"LENGTH","unit":"FEET","input":"2"}' | $(BUILD_DIR)/bin/mensura-probe; \
	fi

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The whole suite under AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer (the asan preset, in build-asan/); any report fails it.
test-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)
	@ctest --preset asan -j $(JOBS)

bench: build
	@$(BUILD_DIR)/bin/mensura_bench
	@$(BUILD_DIR)/bin/mensura_window_bench
	@$(BUILD_DIR)/bin/mensura_soak
	@bench/startup.sh $(BUILD_DIR)
	@bench/help_open.sh $(BUILD_DIR)

# The Debian package, build/mensura_10.4.0_amd64.deb.
package: build
	@cmake --build $(BUILD_DIR) --target package

# The README's `make test` on a fresh Debian 12 and 13, and the package
# installed, started and removed on both (root, network; see the script).
check-fresh:
	@scripts/fresh-check

# Builds every fuzz target with clang and libFuzzer into $(FUZZ_DIR) and runs
# each for FUZZ_SECONDS (make fuzz FUZZ_SECONDS=600). Corpora grow in
# $(FUZZ_DIR)/corpus/NAME, crash files land in $(FUZZ_DIR)/crashes/NAME.
fuzz: deps
	@CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMENSURA_FUZZ=ON \
		-DMENSURA_BUILD_UI=OFF -DMENSURA_BUILD_TESTS=OFF -DMENSURA_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS)
	@scripts/run-fuzzers $(FUZZ_DIR) $(FUZZ_SECONDS)

clean:
	@rm -rf $(BUILD_DIR) build-asan $(FUZZ_DIR)
