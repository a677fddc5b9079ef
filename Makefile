# Thin wrapper over CMake. `make run` and `make test` set up a fresh Debian machine first.
BUILD ?= build
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
ifneq ($(CI),)
CMAKE_FLAGS += -DPANOPTRA_WERROR=ON
endif
JOBS ?= $(shell nproc)
# Seconds for each fuzz target; FUZZ_TARGETS picks some of them (all when empty).
FUZZ_SECONDS ?= 600
FUZZ_TARGETS ?=

# The sanitizer build: Debug, with the address and undefined-behaviour sanitizers, in its own folder.
ASAN_BUILD ?= build-asan
ASAN_FLAGS := -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	-DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
ifneq ($(CI),)
ASAN_FLAGS += -DPANOPTRA_WERROR=ON
endif

.PHONY: deps configure build run test screenshot bench fuzz check-asan clean FORCE

deps:
	@scripts/install-deps

# The flags the build folder was configured with; rewritten only when they change, so that a
# change of CMAKE_FLAGS configures again and an unchanged one costs nothing.
$(BUILD)/cmake-flags: FORCE
	@mkdir -p $(BUILD)
	@echo '$(CMAKE_FLAGS)' | cmp -s - $@ || echo '$(CMAKE_FLAGS)' > $@

# deps is order-only: it always runs first, but never forces a configure by itself.
$(BUILD)/build.ninja: $(BUILD)/cmake-flags | deps
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
	scripts/fuzz $(BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# Every test again under the sanitizers. Leaks inside the system's font and graphics libraries
# are not ours; fuzz/lsan.supp names them.
check-asan:
	ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/fuzz/lsan.supp \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		$(MAKE) test BUILD=$(ASAN_BUILD) CMAKE_FLAGS='$(ASAN_FLAGS)'

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
