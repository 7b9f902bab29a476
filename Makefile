# SPDX-License-Identifier: GPL-3.0-or-later
# Everyday entry points. `make run` and `make test` do their own set-up on a fresh
# Debian 12 machine: missing packages are installed, then the build is configured.
BUILD   ?= build
JOBS    ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
ifneq ($(CI),)
CMAKE_FLAGS += -DLEMMARO_WERROR=ON
endif

.PHONY: all deps configure build play run test bench sanitize fuzz deb clean windows windows-installer test-windows

all: build

deps:
	./scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The play directory holds the data files and the effects; the sound-card control is
# registered for this user before the game starts, as an installer would.
play: build
	$(BUILD)/platform/com/regsvr $(abspath $(BUILD))/detector/libechodet.so

run: play
	cd $(BUILD)/play && ../app/lemmaro

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The whole suite again, built with AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer in a tree of its own. Any report fails the test that caused it.
SANITIZE_BUILD ?= build-asan
SANITIZE_CXXFLAGS = -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
SANITIZE_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1:suppressions=$(abspath tests/sanitize/asan.supp) \
	LSAN_OPTIONS=suppressions=$(abspath tests/sanitize/lsan.supp):print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS="$(SANITIZE_CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_CXXFLAGS)" \
	  -DCMAKE_SHARED_LINKER_FLAGS="$(SANITIZE_CXXFLAGS)"
	$(SANITIZE_ENV) cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && $(SANITIZE_ENV) QT_QPA_PLATFORM=offscreen \
	  ctest --output-on-failure -j $(JOBS)

# The fuzz targets, built by clang with libFuzzer in a tree of their own; each runs for
# FUZZ_SECONDS.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

fuzz: deps
	cmake -S tests/fuzz -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	./scripts/fuzz $(FUZZ_BUILD) $(FUZZ_SECONDS)

bench: build
	cd $(BUILD)/play && for b in ../bench/bench_*; do [ -x "$$b" ] && "$$b" || exit 1; done

# The Windows build: cross-compiled with MinGW-w64 into its own tree.
BUILD_WIN ?= build-win

windows: deps
	cmake -S . -B $(BUILD_WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake $(CMAKE_FLAGS)
	cmake --build $(BUILD_WIN) -j $(JOBS)

# The installer packs the dictionary and the effects that the Linux build's generators
# write; only those generators are built here, not the Linux program.
windows-installer: windows configure
	cmake --build $(BUILD) --target play_data -j $(JOBS)
	cmake -S . -B $(BUILD_WIN) -DLEMMARO_PLAY_DATA=$(abspath $(BUILD))/play
	cmake --build $(BUILD_WIN) --target installer -j $(JOBS)

# Runs the Windows build's tests under Wine, in a Wine prefix of the build tree's own:
# the control, the game's scenarios, the painter, the real window and the installer.
test-windows: windows-installer
	cd $(BUILD_WIN) && ctest --output-on-failure

# The Debian package, built from a copy of the source in $(BUILD)/deb/ so that the
# source tree stays clean; the .deb lands beside that copy. The tests run in
# `make test`; set DEB_BUILD_OPTIONS= to run them in the package build as well.
DEB_BUILD_OPTIONS ?= nocheck parallel=$(JOBS)
deb:
	./scripts/install-deps --packaging
	rm -rf $(BUILD)/deb
	mkdir -p $(BUILD)/deb/lemmaro
	tar -c --exclude=./build --exclude='./build-*' --exclude=./.git -f - . | tar -x -C $(BUILD)/deb/lemmaro -f -
	cd $(BUILD)/deb/lemmaro && DEB_BUILD_OPTIONS="$(DEB_BUILD_OPTIONS)" dpkg-buildpackage -us -uc -b
	@ls $(BUILD)/deb/*.deb

clean:
	rm -rf $(BUILD) $(BUILD_WIN) $(SANITIZE_BUILD) $(FUZZ_BUILD)
