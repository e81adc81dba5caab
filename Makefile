# The two commands people use: `make run` and `make test`. Both install what is missing first:
# `make run` (and a bare `make`) only what the game needs, `make test` everything the test tiers
# need.
# Each build is a preset of CMakePresets.json; its workflow preset configures, builds (and tests
# or packages) it.
.PHONY: all deps deps-play deps-web play run web serve build test package linux windows \
	windows64 windows-tests asan fuzzer fuzz bench screenshots reproducible clean

# Builds made from a checkout are reproducible: every time they record is the last commit's.
SOURCE_DATE_EPOCH ?= $(shell git log -1 --format=%ct 2>/dev/null)
ifneq ($(SOURCE_DATE_EPOCH),)
export SOURCE_DATE_EPOCH
endif

# As many compile jobs as the machine has cores (CMAKE_BUILD_PARALLEL_LEVEL=n for another count).
export CMAKE_BUILD_PARALLEL_LEVEL ?= $(shell nproc 2>/dev/null || echo 2)

all: play

deps:
	@./tools/install-deps.sh test

deps-play:
	@./tools/install-deps.sh play

deps-web:
	@./tools/install-deps.sh web

# The game alone, stripped, without its tests: what a bare `make` and `make linux` build,
# `make run` starts and the package holds.
play linux: deps-play
	cmake --workflow --preset play

run: play
	@if [ -x build/play/vok-tictactoe ]; then exec build/play/vok-tictactoe; else \
	    echo "build/play/vok-tictactoe was not built: see the messages above." >&2; exit 1; fi

# The page: the site's files in build/web/site, ready to be copied to a web server.
web: deps-web
	cmake --preset web
	cmake --build --preset web

# The page served on 127.0.0.1 at a free port, whose address is printed; Ctrl-C stops it.
serve: web
	node tests/web/serve.mjs build/web/site

# One build, configured and built, its tests not run: `make windows` (the shipped 32-bit
# program), `make windows64` (the same built 64-bit, which the Windows tests run), `make asan`, ...
windows windows64 windows-tests asan: deps
	cmake --preset $@
	cmake --build --preset $@

build: play windows windows64 windows-tests

# Every build with its tests, in this order, then the pictures drawn again from their sources.
# The page's tests compare its frames with those the linux workflow's render tests drew (the web
# workflow draws them itself when they are missing). The Windows tests run the 64-bit build under
# 64-bit Wine; the shipped 32-bit program is checked, and run too where 32-bit programs run.
test: deps
	cmake --workflow --preset linux
	cmake --workflow --preset web
	umask 022 && cmake --workflow --preset package
	cmake --workflow --preset windows-tests
	cmake --workflow --preset windows64
	@if sh tools/runs-32bit.sh; then echo "32-bit programs run here: the shipped" \
	    "TicTacToe.exe gets a smoke run under 32-bit Wine where Wine's 32-bit half is installed"; \
	else echo "No 32-bit program runs here: the shipped TicTacToe.exe is checked," \
	    "not run (its 64-bit build ran under 64-bit Wine above)"; fi
	umask 022 && cmake --workflow --preset windows
	cmake --workflow --preset asan
	cmake --workflow --preset fuzz
	resources/art/check_reproducible.sh
	tools/reproducible.sh quick

# The Debian package (build/play/vok-tictactoe_<version>_<arch>.deb, checked after it is made) and
# the Windows zip (build/windows/vok-tictactoe-<version>-windows.zip), with their checksums in
# build/SHA256SUMS. Packages are made under umask 022, as Debian's own are, so that the modes
# inside them are the same whoever makes them.
package: deps
	umask 022 && cmake --workflow --preset package
	cmake --preset windows
	cmake --build --preset windows
	umask 022 && cpack --preset zip
	cd build && sha256sum play/vok-tictactoe_*.deb windows/vok-tictactoe-*-windows.zip >SHA256SUMS
	@echo "Checksums in build/SHA256SUMS (check them with: cd build && sha256sum -c SHA256SUMS)"

# The last commit built twice, in different folders, times, umasks and locales, and the
# package, the programs, the zip and the page's site compared byte for byte.
reproducible: deps
	tools/reproducible.sh

# The fuzzers, the settings file's and the screen readers' bridge's: `make test` runs each for
# half a minute, `make fuzz` for ten minutes each (FUZZ_SECONDS=n for another length).
fuzzer: deps
	cmake --preset fuzz
	cmake --build --preset fuzz

fuzz: fuzzer
	for fuzzer in settings bridge; do \
	    tests/fuzz/run-fuzzer.sh build/fuzz/tests/fuzz/$${fuzzer}_fuzzer $${FUZZ_SECONDS:-600} \
	        tests/fuzz build/fuzz/tests/fuzz/work || exit 1; \
	done

# Each figure of the measurements (docs/DEVELOPMENT.md), measured anew on this machine: the
# Linux program's, and the page's in headless Chromium (with puppeteer-core from the lock file).
bench: deps
	cmake --workflow --preset bench
	cmake --preset web
	cmake --build --preset web
	cd build/web/node && npm ci --no-audit --no-fund --loglevel=error
	python3 bench/run.py build/bench build/web

# The README's pictures: each screen of each program, into docs/.
screenshots: deps windows64
	cmake --preset linux
	cmake --build --preset linux
	ctest --preset linux -R '^sdl_tests$$'
	ctest --preset windows64 -R '^win32_e2e$$'
	tests/linux/docs-screenshots.sh

clean:
	rm -rf build
