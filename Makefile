# The two commands people use: `make run` and `make test`. Both install what is missing first.
# Each build is a preset of CMakePresets.json; its workflow preset configures, builds and tests it.
.PHONY: all deps build test run linux windows windows-tests asan fuzzer fuzz bench screenshots clean

# As many compile jobs as the machine has cores (CMAKE_BUILD_PARALLEL_LEVEL=n for another count).
export CMAKE_BUILD_PARALLEL_LEVEL ?= $(shell nproc 2>/dev/null || echo 2)

all: build

deps:
	@./tools/install-deps.sh

# One build, configured and built, its tests not run: `make linux`, `make asan`, ...
linux windows windows-tests asan: deps
	cmake --preset $@
	cmake --build --preset $@

build: linux windows windows-tests

# Every build with its tests, in this order, then the pictures drawn again from their sources.
test: deps
	cmake --workflow --preset linux
	cmake --workflow --preset windows-tests
	cmake --workflow --preset windows
	cmake --workflow --preset asan
	cmake --workflow --preset fuzz
	resources/art/check_reproducible.sh

run: linux
	exec build/linux/tictactoe

# The settings-file fuzzer: `make test` runs it for half a minute, `make fuzz` for ten
# (FUZZ_SECONDS=n for another length).
fuzzer: deps
	cmake --preset fuzz
	cmake --build --preset fuzz

fuzz: fuzzer
	tests/fuzz/run-fuzzer.sh build/fuzz/tests/fuzz/settings_fuzzer $${FUZZ_SECONDS:-600} \
	    tests/fuzz build/fuzz/tests/fuzz/work

# Each figure of the README's Measurements, measured anew on this machine.
bench: deps
	cmake --workflow --preset bench
	python3 bench/run.py build/bench

# The README's pictures: each screen of each program, into docs/.
screenshots: linux windows
	ctest --preset linux -R '^sdl_tests$$'
	ctest --preset windows -R '^win32_e2e$$'
	tests/linux/docs-screenshots.sh

clean:
	rm -rf build
