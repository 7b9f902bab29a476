# SPDX-License-Identifier: GPL-3.0-or-later
# Everyday entry points. `make run` and `make test` do their own set-up on a fresh
# Debian 12 machine: missing packages are installed, then the build is configured.
BUILD   ?= build
JOBS    ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
ifneq ($(CI),)
CMAKE_FLAGS += -DLEMMARO_WERROR=ON
endif

.PHONY: all deps configure build play run test bench clean windows windows-installer test-windows

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

clean:
	rm -rf $(BUILD) $(BUILD_WIN)
