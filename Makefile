# A newcomer's two commands:
#   make run    install what is missing, build, and dress the sample library
#   make test   install what is missing, build, and run every test
SHELL := /bin/bash
RELEASE := build/release

.PHONY: deps build run test test-release test-asan test-fuzz bench clean

deps:
	@scripts/install-deps.sh

build: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release

run: build
	@scripts/run.sh $(RELEASE)

test: deps test-release test-asan test-fuzz

test-release:
	@cmake --preset release >/dev/null
	@cmake --build --preset release
	@ctest --preset release

# The unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan:
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	@ctest --preset asan

# Each file reader's fuzzer, a few seconds each.
test-fuzz:
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz
	@ctest --preset fuzz

bench: build
	@$(RELEASE)/bench/bench_mapping

clean:
	rm -rf build
