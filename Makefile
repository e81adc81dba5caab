# The two commands people use: `make run` and `make test`. Both install what is missing first.
.PHONY: all deps build test run linux windows windows-tests asan clean

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

test: build asan
	ctest --preset linux
	ctest --preset windows-tests
	ctest --preset windows
	ctest --preset asan
	@if [ -x /usr/bin/python3 ] && /usr/bin/python3 -c 'import PIL' 2>/dev/null \
	    && [ -x resources/art/check_reproducible.sh ]; then \
	    resources/art/check_reproducible.sh; fi

run: deps linux
	@if [ -x build/linux/tictactoe ]; then exec build/linux/tictactoe; else \
	    echo "The Linux program is not built yet: only the Windows program exists so far." >&2; \
	    exit 1; fi

clean:
	rm -rf build
