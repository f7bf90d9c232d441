# QovCom front door: `make run` starts the station against the simulator,
# `make test` builds everything and runs every test.

.PHONY: all deps configure build test run bench fuzz format clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake --preset default >/dev/null

build: configure
	@cmake --build --preset default

test: build
	@scripts/run-tests.sh

run: build
	@scripts/run-demo.sh

bench: build
	@scripts/run-benchmarks.sh

fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz
	@scripts/run-fuzz.sh

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-fuzz
