# The two set-up commands: `make run` (build release, play the sample world) and `make test`.
# Plain `make` only lists the targets.
JOBS ?= $(shell nproc)
FRAMES ?= 5400
# Debug information of the sanitizer and fuzz builds; CI asks for line tables only (-g1): the
# reports keep their files and lines and the builds take less time.
DEBUG_INFO ?= -g

.PHONY: help deps run test release debug fuzz bench clean

help:
	@echo "make run    build the release host and play the sample campaign (FRAMES=$(FRAMES) frames;"
	@echo "            the host is then build/release/Host/gamehost)"
	@echo "make test   build the debug tests (sanitizers, clang) and the fuzzers, run them all"
	@echo "make bench  build release, run the benchmarks and print a summary of their goals"
	@echo "make deps | release | debug | fuzz | clean"

deps:
	@bash scripts/install-deps.sh

release: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)

debug: deps
	cmake --preset debug -DCMAKE_CXX_FLAGS_DEBUG="$(DEBUG_INFO)"
	cmake --build --preset debug -j $(JOBS)

run: release
	./build/release/Host/gamehost play --data data --frames $(FRAMES) --seed 1 --save build/Warden.chr

# The fuzzers come with the debug build (clang's libFuzzer); the *_fuzz tests run them.
fuzz: debug

test: debug
	ctest --preset debug -j $(JOBS)

bench: release
	@bash scripts/bench-smoke.sh --summary build/release/bench
	@echo "Note: each \"Library was built as DEBUG\" warning above is about the system's Google"
	@echo "Benchmark package (libbenchmark-dev), not about this project, built here as Release."

clean:
	rm -rf build
