# Lumenark: the README's commands. Every target installs what is missing first.
BUILD ?= build
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
CTEST := ctest --output-on-failure --timeout 300 -j $(JOBS)

.PHONY: all deps build test run bench sanitize fuzz format clean install package

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && $(CTEST)

# `make install PREFIX=DIR` (default /usr/local; DESTDIR is honoured).
PREFIX ?= /usr/local
install: build
	@cmake --install $(BUILD) --prefix $(abspath $(PREFIX))

# The Debian package, written to $(BUILD).
package: build
	@cmake --build $(BUILD) --target package

run: build
	@scripts/run-viewer $(BUILD)

bench: build
	@scripts/run-benchmarks $(BUILD)

# Tests under AddressSanitizer + UndefinedBehaviorSanitizer, then the engine
# tests under ThreadSanitizer. The web engine's own allocator frees with sizes
# that ASan reads as a new/delete mismatch inside its uninstrumented library.
sanitize: deps
	@cmake -S . -B build-asan -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Debug -DLUMENARK_SANITIZE=address,undefined >/dev/null
	@cmake --build build-asan -j $(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=0:new_delete_type_mismatch=0 $(CTEST) -LE nosan
	@cmake -S . -B build-tsan -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Debug -DLUMENARK_SANITIZE=thread >/dev/null
	@cmake --build build-tsan -j $(JOBS) --target engine_tests fakeplayer
	cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$(CURDIR)/tests/tsan.supp" $(CTEST) -L engine

fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -G "$(GENERATOR)" -DLUMENARK_FUZZ=ON >/dev/null
	@cmake --build build-fuzz -j $(JOBS)
	@scripts/run-fuzzers build-fuzz $(FUZZ_SECONDS)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-asan build-tsan build-fuzz
