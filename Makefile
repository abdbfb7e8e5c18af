# The two commands of the README.
.PHONY: run test build setup clean bench bench-full

run:
	@scripts/run.sh

test:
	@scripts/test.sh

build:
	@scripts/setup.sh && scripts/build.sh

setup:
	@scripts/setup.sh

clean:
	rm -rf build/CMakeFiles build/bin build/lib build/test-scratch build/build.ninja build/CMakeCache.txt

# Benchmarks (not part of the tests): ratios against a reference run in the same go.
bench:
	@bench/run.sh

bench-full:
	@bench/run.sh --full
