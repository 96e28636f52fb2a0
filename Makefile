# Entry points for a fresh clone. Every target installs what is missing first.
#   make demo   build and run the command on the bundled example pedigree
#   make test   build and run the whole test suite, optimised and with sanitizers
#   make bench  time each stage on synthetic pedigrees and report peak memory
#   make fuzz   run each fuzz harness for FUZZ_SECONDS (default 60)

DEPS    := $(CURDIR)/.deps
BUILD   := $(CURDIR)/build
JOBS    ?= $(shell nproc)
CMAKE_COMMON := -G Ninja -DCMAKE_PREFIX_PATH=$(DEPS)

.PHONY: all deps build build-asan test test-release test-asan demo bench fuzz clean

all: build

deps:
	@./scripts/setup-deps.sh

build: deps
	cmake -S . -B $(BUILD)/release $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD)/release -j $(JOBS)

build-asan: deps
	cmake -S . -B $(BUILD)/asan $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKINSHIP_SANITIZE=ON
	cmake --build $(BUILD)/asan -j $(JOBS)

test-release: build
	cd $(BUILD)/release && ctest --output-on-failure -j $(JOBS)

test-asan: build-asan
	cd $(BUILD)/asan && ctest --output-on-failure -j $(JOBS)

test: test-release test-asan

demo: build
	./scripts/demo.sh $(BUILD)/release $(BUILD)/demo

bench: build
	./bench/run_bench.py $(BUILD)/release $(BUILD)/bench

clean:
	rm -rf $(BUILD)
