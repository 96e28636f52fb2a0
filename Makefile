# Entry points for a fresh clone. Every target first installs what it is missing
# (scripts/setup-deps.sh): demo, build and bench need the build tools and OGDF; test adds
# GoogleTest, the test tools and clang for the fuzz harnesses; fuzz adds clang.
#   make demo   build and run the command on the bundled example pedigree
#   make test   build and run the whole test suite, optimised and with sanitizers, and run
#               each fuzz harness for a few seconds on its seed corpus
#   make bench  time each stage on synthetic pedigrees and report peak memory, then the
#               GEDCOM importer on large generated exports, hierarchical-layout against
#               kinship-layout (crossings, couples side by side, size, time) and
#               kinship-draw's page in headless Chromium (which the test set-up installs)
#   make fuzz   run each fuzz harness for FUZZ_SECONDS (default 60)

DEPS    := $(CURDIR)/.deps
BUILD   := $(CURDIR)/build
JOBS    ?= $(shell nproc)
CMAKE_COMMON := -G Ninja -DCMAKE_PREFIX_PATH=$(DEPS)
FUZZ_SECONDS ?= 60

.PHONY: all deps deps-test deps-fuzz build build-asan build-fuzz test test-release test-asan test-fuzz demo bench fuzz clean

all: build

deps:
	@./scripts/setup-deps.sh build

deps-test:
	@./scripts/setup-deps.sh test

deps-fuzz:
	@./scripts/setup-deps.sh fuzz

# The optimised build of the commands and the benchmark; test-release adds the suite to it.
build: deps
	cmake -S . -B $(BUILD)/release $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Release -DKINSHIP_BUILD_TESTS=OFF
	cmake --build $(BUILD)/release -j $(JOBS)

build-asan: deps-test
	cmake -S . -B $(BUILD)/asan $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKINSHIP_SANITIZE=ON
	cmake --build $(BUILD)/asan -j $(JOBS)

test-release: deps-test
	cmake -S . -B $(BUILD)/release $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Release -DKINSHIP_BUILD_TESTS=ON
	cmake --build $(BUILD)/release -j $(JOBS)
	cd $(BUILD)/release && ctest --output-on-failure -j $(JOBS)

test-asan: build-asan
	cd $(BUILD)/asan && ctest --output-on-failure -j $(JOBS)

# The libFuzzer harnesses (fuzz/), built with clang; only the harnesses, not the suite.
build-fuzz: deps-fuzz
	cmake -S . -B $(BUILD)/fuzz $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++-14 -DKINSHIP_FUZZ=ON -DKINSHIP_BUILD_TESTS=OFF
	cmake --build $(BUILD)/fuzz -j $(JOBS) --target fuzzers

# Each harness for a few seconds on its seed corpus.
test-fuzz: build-fuzz
	cd $(BUILD)/fuzz && ctest --output-on-failure -j $(JOBS)

test: test-release test-asan test-fuzz

fuzz: build-fuzz
	./fuzz/run_all.sh $(BUILD)/fuzz $(FUZZ_SECONDS)

demo: build
	./scripts/demo.sh $(BUILD)/release $(BUILD)/demo

bench: build
	./bench/run_bench.py $(BUILD)/release $(BUILD)/bench
	./bench/importer_bench.py $(BUILD)/release $(BUILD)/bench
	./bench/layout_bench.py $(BUILD)/release $(BUILD)/bench
	@./scripts/setup-deps.sh test
	$(DEPS)/bin/python ./bench/page_bench.py $(BUILD)/release $(BUILD)/bench

clean:
	rm -rf $(BUILD)
