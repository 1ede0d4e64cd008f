# Two entry points: `make run` and `make test`. Everything else is CMake.
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

.PHONY: all run test bench build configure clean

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

clean:
	rm -rf $(BUILD_DIR)
