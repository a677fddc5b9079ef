# Thin wrapper over CMake. `make run` and `make test` set up a fresh Debian machine first.
BUILD ?= build
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
ifneq ($(CI),)
CMAKE_FLAGS += -DPANOPTRA_WERROR=ON
endif
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 600

.PHONY: deps configure build run test screenshot bench fuzz clean

deps:
	@scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/src/app/panoptra

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

screenshot: build
	scripts/screenshot $(BUILD)

bench: build
	scripts/bench $(BUILD)

# Needs clang, which only this target installs.
fuzz: build
	@scripts/install-deps fuzz
	scripts/fuzz $(BUILD) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD)
