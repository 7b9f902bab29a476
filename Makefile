# SPDX-License-Identifier: GPL-3.0-or-later
# Everyday entry points. Each does its own set-up on a fresh Debian 12 machine: it
# installs the packages of its own groups of scripts/install-deps and nothing more, and
# configures its build tree once. After that a `make` only builds: CMake reruns itself
# when a CMakeLists changes, and the package manager is asked again only when
# scripts/install-deps changes.
BUILD   ?= build
JOBS    ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
ifneq ($(CI),)
CMAKE_FLAGS += -DLEMMARO_WERROR=ON
endif

.PHONY: all build game play run test bench sanitize tsan fuzz deb clean windows \
	windows-installer test-windows web web-run test-web bench-web

all: build

# A group's packages, checked once per tree: TREE/GROUP.deps is remade when the lists
# change. $(call deps,TREE,GROUP)
deps = $(1)/$(2).deps
%.deps: scripts/install-deps
	./scripts/install-deps $(notdir $*)
	@mkdir -p $(@D) && touch $@

# The game's tree, configured once. A tree made for playing has no tests, so that it
# needs none of their frameworks; `make test` turns them on in it.
TESTING ?= OFF
$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DBUILD_TESTING=$(TESTING)

# Everything, the tests and benchmarks included.
build: TESTING = ON
build: $(call deps,$(BUILD),test) $(BUILD)/CMakeCache.txt
	@grep -q '^BUILD_TESTING:BOOL=ON$$' $(BUILD)/CMakeCache.txt || cmake $(BUILD) -DBUILD_TESTING=ON
	cmake --build $(BUILD) -j $(JOBS)

# What playing needs: the program, its media module, its data and effects, the
# detector and its registration tool.
GAME_TARGETS = lemmaro lemmaro_media play_data echodet regsvr
game: $(call deps,$(BUILD),run) $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target $(GAME_TARGETS)

# The play directory holds the data files and the effects. The detector is registered
# in a registry of the build tree's own (build/share/com-registry/), which the game
# started by `make run` reads as a machine registry; the player's own registry is left
# alone, and `make clean` takes the registration away with the tree.
PLAY_SHARE = $(abspath $(BUILD))/share
PLAY_ENV = XDG_DATA_DIRS=$(PLAY_SHARE):$${XDG_DATA_DIRS:-/usr/local/share:/usr/share}
play: game
	$(PLAY_ENV) $(BUILD)/platform/com/regsvr --system $(abspath $(BUILD))/detector/libechodet.so

run: play
	cd $(BUILD)/play && $(PLAY_ENV) ../app/lemmaro

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	cd $(BUILD)/play && for b in ../bench/bench_*; do [ -x "$$b" ] && "$$b" || exit 1; done

# The whole suite again, built with AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer in a tree of its own. Any report fails the test that caused it. The
# programs carry the sanitizers' runtime themselves, so a test that preloads a probe
# (itself built with them) into the game need not put the runtime first.
SANITIZE_BUILD ?= build-asan
SANITIZE_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1:verify_asan_link_order=0:suppressions=$(abspath tests/sanitize/asan.supp) \
	LSAN_OPTIONS=suppressions=$(abspath tests/sanitize/lsan.supp):print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# The whole suite again, built with ThreadSanitizer in a tree of its own: the
# dictionary's loader and the font warm-up run beside the window's thread in the tests
# that start the program's real parts. Any report fails the test that caused it.
TSAN_BUILD ?= build-tsan
TSAN_ENV = TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$(abspath tests/sanitize/tsan.supp)

# $(call sanitized_suite,TREE,SANITIZER,ENV)
define sanitized_suite
	test -f $(1)/CMakeCache.txt || \
	  cmake -S . -B $(1) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLEMMARO_SANITIZE=$(2)
	$(3) cmake --build $(1) -j $(JOBS)
	cd $(1) && $(3) QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
endef

sanitize: $(call deps,$(SANITIZE_BUILD),sanitize)
	$(call sanitized_suite,$(SANITIZE_BUILD),address,$(SANITIZE_ENV))

tsan: $(call deps,$(TSAN_BUILD),sanitize)
	$(call sanitized_suite,$(TSAN_BUILD),thread,$(TSAN_ENV))

# The fuzz targets, an option of the one build (LEMMARO_FUZZ), built by clang with
# libFuzzer in a tree of their own; each runs for FUZZ_SECONDS.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

fuzz: $(call deps,$(FUZZ_BUILD),fuzz)
	test -f $(FUZZ_BUILD)/CMakeCache.txt || cmake -S . -B $(FUZZ_BUILD) \
	  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLEMMARO_FUZZ=ON \
	  -DBUILD_TESTING=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_targets
	./scripts/fuzz $(FUZZ_BUILD)/tests/fuzz $(FUZZ_SECONDS)

# The Windows build: cross-compiled with MinGW-w64 into its own tree.
BUILD_WIN ?= build-win

windows: $(call deps,$(BUILD_WIN),windows)
	test -f $(BUILD_WIN)/CMakeCache.txt || \
	  cmake -S . -B $(BUILD_WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake $(CMAKE_FLAGS)
	cmake --build $(BUILD_WIN) -j $(JOBS)

# The installer packs the dictionary and the effects that the Linux build's generators
# write; only those generators are built here, not the Linux program.
windows-installer: windows $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) --target play_data -j $(JOBS)
	cmake -S . -B $(BUILD_WIN) -DLEMMARO_PLAY_DATA=$(abspath $(BUILD))/play
	cmake --build $(BUILD_WIN) --target installer -j $(JOBS)

# Runs the Windows build's tests under Wine, in a Wine prefix of the build tree's own:
# the control, the game's scenarios, the painter, the real window and the installer.
test-windows: windows-installer
	cd $(BUILD_WIN) && ctest --output-on-failure

# The page: the same game compiled by Emscripten for a browser, in a tree of its own.
# `make web` leaves the whole site in $(BUILD_WEB)/site/; the play data comes from the
# Linux build's generators, as for the Windows installer.
BUILD_WEB ?= build-web
WEB_ENV = NODE_PATH=/usr/share/nodejs EMSDK_PYTHON=/usr/bin/python3
web: $(call deps,$(BUILD_WEB),web) $(BUILD)/CMakeCache.txt
	cmake $(BUILD) >/dev/null  # a tree made before the page knows its targets now
	cmake --build $(BUILD) --target play_data web_art web_dictionary -j $(JOBS)
	test -f $(BUILD_WEB)/CMakeCache.txt || $(WEB_ENV) emcmake cmake -S . -B $(BUILD_WEB) $(CMAKE_FLAGS) \
	  -DCMAKE_BUILD_TYPE=Release -DLEMMARO_PLAY_DATA=$(abspath $(BUILD))/play
	$(WEB_ENV) cmake --build $(BUILD_WEB) -j $(JOBS) --target site

# Serves the site on 127.0.0.1 with the headers it needs, and prints the address.
WEB_PORT ?= 8537
web-run: web
	node platform/web/serve.mjs $(BUILD_WEB)/site $(WEB_PORT)

# The tests in the browser, in the page's tree: the game's scenario programs compiled by
# Emscripten and the page's own tests, each in headless Chromium, which the node
# packages of tests/web drive. Those are installed from its lock file, and again only
# when the lock file changes.
WEB_TEST_PACKAGES = tests/web/node_modules/.installed
$(WEB_TEST_PACKAGES): tests/web/package-lock.json
	cd tests/web && npm ci --no-audit --no-fund
	touch $@

test-web: web $(WEB_TEST_PACKAGES)
	$(WEB_ENV) cmake --build $(BUILD_WEB) -j $(JOBS)
	cd $(BUILD_WEB) && ctest --output-on-failure -j $(JOBS)

# The page's load in Chromium against a bare page that paints a canvas of the board's
# size: the time to the first frame and the compressed bytes before it and in all, the
# medians of BENCH_ROUNDS cold loads, with the targets met or not.
BENCH_ROUNDS ?= 5
bench-web: web
	node bench/web/bench.mjs $(BUILD_WEB)/site --rounds $(BENCH_ROUNDS)

# The Debian package, built from a copy of the source in $(BUILD)/deb/ so that the
# source tree stays clean; the .deb lands beside that copy. The tests run in
# `make test`; set DEB_BUILD_OPTIONS= to run them in the package build as well.
DEB_BUILD_OPTIONS ?= nocheck parallel=$(JOBS)
deb: $(call deps,$(BUILD),packaging)
	rm -rf $(BUILD)/deb
	mkdir -p $(BUILD)/deb/lemmaro
	tar -c --exclude=./build --exclude='./build-*' --exclude=./.git -f - . | tar -x -C $(BUILD)/deb/lemmaro -f -
	cd $(BUILD)/deb/lemmaro && DEB_BUILD_OPTIONS="$(DEB_BUILD_OPTIONS)" dpkg-buildpackage -us -uc -b
	@ls $(BUILD)/deb/*.deb

clean:
	rm -rf $(BUILD) $(BUILD_WIN) $(SANITIZE_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD) $(BUILD_WEB)
