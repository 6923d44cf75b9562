# Two commands set everything up: `make run` and `make test`.
JOBS ?= $(shell nproc)
RELEASE_DIR := build/release
TEST_DIR := build/test

.PHONY: run test test-heap build build-test deps deps-test bench fuzz format skin icons clean

run: build
	./$(RELEASE_DIR)/app/vexmora

# Many tests wait on windows, timers and child processes rather than compute, so the test run
# keeps at least four going at once, also on a two-core machine.
TEST_JOBS ?= $(shell n=$(JOBS); [ $$n -lt 4 ] && n=4; echo $$n)

# A test that fails runs once more: under load the leak checker's own tracer thread can crash at
# a test's exit ("Tracer caught signal 11") after the test has passed; a real fault fails twice.
# The run's output is kept in $(TEST_LOG), and the tests that passed only when run again are
# named at the end, so a flaky test is seen rather than hidden by the rerun.
TEST_LOG := $(TEST_DIR)/ctest-output.log
test: build-test
	cd $(TEST_DIR) && ctest -j $(TEST_JOBS) --output-on-failure --timeout 900 --repeat until-pass:2 \
		--output-log $(abspath $(TEST_LOG)) || { bash $(CURDIR)/tools/rerun-report.sh $(abspath $(TEST_LOG)); exit 1; }
	$(MAKE) test-heap
	@bash tools/rerun-report.sh $(TEST_LOG)

# The engine's conversion tests once more in a build without sanitizers and with glibc's heap
# checks on: a bad write inside the media libraries, which the sanitizers do not instrument,
# shows here as an abort. The memory test runs again with the allocator as users have it, whose
# arenas are what it watches.
HEAP_DIR := build/heapcheck
ENGINE_CONVERSION_TESTS := Transcode|VideoFilterGraph|PreviewPostHooks|FrameHooks|Converter|TaskLifeCycle|Conversions|CodecThreads
test-heap: deps-test
	cmake -S . -B $(HEAP_DIR) -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-g1 -O1" -DVX_TESTS=ON -DVX_SANITIZE=OFF
	cmake --build $(HEAP_DIR) -j $(JOBS) --target engine_tests
	cd $(HEAP_DIR) && LD_PRELOAD=libc_malloc_debug.so.0 MALLOC_CHECK_=3 MALLOC_PERTURB_=165 \
		ctest -j $(JOBS) -R '$(ENGINE_CONVERSION_TESTS)' --output-on-failure --timeout 900
	cd $(HEAP_DIR) && ctest -R 'Conversions.Memory' --output-on-failure --timeout 900

deps:
	@bash tools/install-deps.sh

deps-test:
	@bash tools/install-deps.sh --test

build: deps
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE_DIR) -j $(JOBS)

# The test builds keep line tables only (-g1): sanitizer reports still name file and line, and
# without the full debug information the objects compile about a fifth faster.
build-test: deps-test
	cmake -S . -B $(TEST_DIR) -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-g1 -O1" -DVX_TESTS=ON -DVX_SANITIZE=ON
	cmake --build $(TEST_DIR) -j $(JOBS)

bench: deps-test
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DVX_BENCH=ON
	cmake --build build/bench -j $(JOBS)

# The fuzz build is optimised a little (unoptimised code runs the targets two to three times slower)
# and keeps its frame pointers, so the sanitizers' allocation stacks stay whole.
FUZZ_FLAGS := -g1 -O1 -fno-omit-frame-pointer
fuzz: deps-test
	CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=$(FUZZ_FLAGS)" \
		"-DCMAKE_C_FLAGS_DEBUG=$(FUZZ_FLAGS)" -DVX_FUZZ=ON -DVX_TESTS=ON
	cmake --build build/fuzz -j $(JOBS)

# Draws the program's own skin again into its folder form under resources/ and into the seeds of
# the skin fuzz targets; the test build checks that both match what the builder draws.
SKIN_DIR := resources/skins/light
skin: deps
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target skin_builder
	./$(RELEASE_DIR)/tools/skin_builder/skin_builder --folder $(SKIN_DIR) --container tests/fuzz/corpus/compressed_skin/light.skn
	cp $(SKIN_DIR)/skin.ini tests/fuzz/corpus/skin_ini/light.ini

# Draws the program's own icons again into their folder form under resources/ (with the sheet of
# all of them); the test build checks that it matches what the builder draws.
icons: deps
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target icon_builder
	./$(RELEASE_DIR)/tools/icon_builder/icon_builder --folder resources/icons

# Applies the tree's one .clang-format to every C and C++ file.
format:
	@bash tools/install-deps.sh --format
	git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format -i --style=file

clean:
	rm -rf build
