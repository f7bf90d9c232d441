# QovCom front door: `make run` starts the station against the simulator,
# `make test` builds everything and runs every test.

.PHONY: all deps configure build test soak run bench fuzz format clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake --preset default >/dev/null

build: configure
	@cmake --build --preset default

test: build
	@scripts/run-tests.sh

# Every table, articles and receipts through qovctl at 1 %, 5 % and 20 % faults (long).
soak: build
	@scripts/run-soak.sh

run: build
	@scripts/run-demo.sh

# The Debian package build/qovcom_<version>_amd64.deb (README: "Installing").
.PHONY: package
package: build
	@cpack --config build/CPackConfig.cmake

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

# The manual's pictures (docs/manual/slike/) from the running station under Xvfb, and its
# search index; both are committed.
.PHONY: manual-screenshots manual-index
manual-screenshots: build
	@scripts/manual-screenshots.sh
	@scripts/make-manual-index.py

manual-index:
	@scripts/make-manual-index.py
