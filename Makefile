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

# clang, whose precompiled headers halve the build (cmake/PrecompiledHeaders.cmake).
CLANG := -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++

# CI builds in a clone it throws away: line tables serve its reports, and full
# debug information is a fifth of every compile.
ifeq ($(CI),true)
DEBUG_INFO ?= -g1
else
DEBUG_INFO ?= -g
endif
OPTIMISED := "-O2 $(DEBUG_INFO) -DNDEBUG"

build: deps
	@cmake -S . -B $(BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CLANG) \
		-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=$(OPTIMISED) -DCMAKE_C_FLAGS_RELWITHDEBINFO=$(OPTIMISED) >/dev/null
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

# The whole suite under AddressSanitizer + UndefinedBehaviorSanitizer with leak
# detection, but for the German-locale reruns (number formats, not memory).
# Then the tests of code that crosses threads (thread_tests) under
# ThreadSanitizer, built with GCC: its shared runtime leaves what Qt does inside
# itself unreported, and GCC sees their sources too. The options and
# suppressions (tests/lsan.supp, tests/tsan.supp) come with each test's
# environment. The ThreadSanitizer pass also leaves out the 200 % reruns
# (scale, not threads), the demo-card test, which spends minutes making the
# card, the Xvfb tests, whose window does not show within their wait beside
# other tests, and what it does not build: the other binaries (their
# _NOT_BUILT marks) and the install checks.
LOCALE_RERUNS := _in_de_DE$$
TSAN_SKIP := $(LOCALE_RERUNS)|_at_200_percent$$|_NOT_BUILT$$|PlaysADemoCardRecordingToItsEnd|LumenarkOnXvfb
# Line tables are all a sanitizer report needs, and a quarter of the compile
# time is spent writing full debug information. GCC's precompiled headers, a
# few GB in all, take a quarter off the ThreadSanitizer build too.
SANITIZE_CONFIGURE := cmake -S . -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Debug -DLUMENARK_BENCHMARKS=OFF \
	-DCMAKE_CXX_FLAGS_DEBUG=-g1 -DCMAKE_C_FLAGS_DEBUG=-g1
sanitize: deps
	@$(SANITIZE_CONFIGURE) -B build-asan $(CLANG) -DLUMENARK_SANITIZE=address,undefined >/dev/null
	@cmake --build build-asan -j $(JOBS)
	cd build-asan && $(CTEST) -E '$(LOCALE_RERUNS)'
	@$(SANITIZE_CONFIGURE) -B build-tsan -DLUMENARK_SANITIZE=thread -DLUMENARK_PRECOMPILE_HEADERS=ON >/dev/null
	@cmake --build build-tsan -j $(JOBS) --target thread_tests
	cd build-tsan && $(CTEST) -E '$(TSAN_SKIP)' -LE install

fuzz: deps
	@cmake -S . -B build-fuzz -G "$(GENERATOR)" $(CLANG) -DLUMENARK_FUZZ=ON >/dev/null
	@cmake --build build-fuzz -j $(JOBS)
	@scripts/run-fuzzers build-fuzz $(FUZZ_SECONDS)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-asan build-tsan build-fuzz
