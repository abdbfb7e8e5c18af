# The two commands of the README.
.PHONY: run test build setup clean

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
