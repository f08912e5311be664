# The two set-up commands: `make run` and `make test`. Both install what is missing first.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench fuzz clean

all: build

deps:
	@scripts/install-deps

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	ninja -C $(BUILD_DIR) -j $(JOBS)

run: build
	@scripts/run-program $(BUILD_DIR)/bin/vantor

test: build
	ninja -C $(BUILD_DIR) -j $(JOBS) benchmarks
	@scripts/with-test-services ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)
	@scripts/run-fuzzers

bench: build
	ninja -C $(BUILD_DIR) -j $(JOBS) benchmarks
	@scripts/with-test-services scripts/run-benchmarks $(BUILD_DIR)/bench

fuzz: deps
	@FUZZ_SECONDS=$${FUZZ_SECONDS:-300} scripts/run-fuzzers

clean:
	rm -rf $(BUILD_DIR) build-fuzz
