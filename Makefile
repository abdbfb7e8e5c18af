# The two commands of the README.
.PHONY: run test build setup clean bench

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
	@scripts/setup.sh && scripts/build.sh qv_bench_sort qv_bench_readdir qv_bench_find qv_bench_copy \
	    qv_bench_viewerload qv_bench_detect qv_bench_binary qv_bench_preview && \
	  scripts/wine-run.sh build/bin/qv_bench_sort.exe && \
	  scripts/wine-run.sh build/bin/qv_bench_readdir.exe && \
	  scripts/wine-run.sh build/bin/qv_bench_find.exe && \
	  scripts/wine-run.sh build/bin/qv_bench_copy.exe && \
	  scripts/wine-run.sh build/bin/qv_bench_viewerload.exe && \
	  scripts/wine-run.sh build/bin/qv_bench_detect.exe && \
	  scripts/wine-run.sh build/bin/qv_bench_binary.exe && \
	  scripts/wine-run.sh build/bin/qv_bench_preview.exe && \
	  bench/arc-list-bench.sh && \
	  bench/arc-pack-bench.sh && \
	  bench/arc-extract-bench.sh
