# Two entry points: `make run` and `make test`. Everything else is CMake.
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: all run test bench e2e fuzz lupdate build configure clean

all: build

configure:
	@scripts/install-deps.sh $(DEPS_FLAGS)
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: DEPS_FLAGS = --run
run: build
	$(BUILD_DIR)/bin/Quirelle

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: CMAKE_FLAGS += -DQUIRELLE_BUILD_BENCH=ON
bench: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target QuirelleBench
	$(BUILD_DIR)/bin/QuirelleBench

# Drives the installed program under a private X server, as a person would;
# leaves its screenshots in $(BUILD_DIR)/e2e. Not part of `make test`.
e2e: DEPS_FLAGS = --e2e
e2e: build
	tools/e2e.sh $(BUILD_DIR)

# Builds the fuzz targets with clang, ASan and UBSan in their own folder and
# runs each for FUZZ_SECONDS. Not part of `make test`.
fuzz:
	@scripts/install-deps.sh --fuzz
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DQUIRELLE_FUZZ=ON \
		-DQUIRELLE_BUILD_TESTS=OFF -DQUIRELLE_BUILD_EXAMPLES=OFF $(CMAKE_FLAGS)
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzzers
	fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# Brings reader/translations/*.ts up to date with the sources.
lupdate: configure
	cmake --build $(BUILD_DIR) --target lupdate

clean:
	rm -rf $(BUILD_DIR)
