# The two commands people use: `make run` and `make test`. Both install what is missing first.
.PHONY: all deps build test run linux windows windows-tests asan fuzzer fuzz bench screenshots clean

all: build

deps:
	@./tools/install-deps.sh

linux:
	cmake --preset linux
	cmake --build --preset linux

windows:
	cmake --preset windows
	cmake --build --preset windows

windows-tests:
	cmake --preset windows-tests
	cmake --build --preset windows-tests

build: deps linux windows windows-tests

# The native unit tests again, under the address and undefined-behaviour sanitizers.
asan: deps
	cmake --preset asan
	cmake --build --preset asan

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
	cmake --preset bench
	cmake --build --preset bench
	python3 bench/run.py build/bench

test: build asan fuzzer
	ctest --preset linux
	ctest --preset windows-tests
	ctest --preset windows
	ctest --preset asan
	ctest --preset fuzz
	@if [ -x /usr/bin/python3 ] && /usr/bin/python3 -c 'import PIL' 2>/dev/null \
	    && [ -x resources/art/check_reproducible.sh ]; then \
	    resources/art/check_reproducible.sh; fi

run: deps linux
	@if [ -x build/linux/tictactoe ]; then exec build/linux/tictactoe; else \
	    echo "build/linux/tictactoe was not built: see the messages above." >&2; exit 1; fi

# The README's pictures: each screen of each program, into docs/.
screenshots: deps linux windows
	ctest --preset linux -R sdl_tests
	ctest --preset windows -R win32_e2e
	tests/linux/docs-screenshots.sh

clean:
	rm -rf build
