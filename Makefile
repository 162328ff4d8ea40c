# The two set-up commands: `make run` (build release, play the sample world) and `make test`.
JOBS ?= $(shell nproc)
FRAMES ?= 600

.PHONY: deps run test release debug bench clean

deps:
	@bash scripts/install-deps.sh

release: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)

debug: deps
	cmake --preset debug
	cmake --build --preset debug -j $(JOBS)

run: release
	./build/release/Host/gamehost play --data data --frames $(FRAMES)

test: debug
	ctest --preset debug -j $(JOBS)

bench: release
	for b in build/release/bench/*_bench; do $$b --benchmark_min_time=0.05; done

clean:
	rm -rf build
