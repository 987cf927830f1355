# The commands of the README. CMake does the real work in build folders:
#   build/        the program, the library and the tests; make run installs them into
#                 build/stage/ (or PREFIX) and starts the installed program
#   build-asan/   the engine tests again, under AddressSanitizer and UBSan
#   build-bench/  the benchmark, optimised as a release (make bench)
#   build-fuzz/   the libFuzzer targets, their work corpus and any crash inputs
#   build-fuzz-cov/ the same targets with source coverage (make fuzz-coverage)
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
BENCH_DIR ?= build-bench
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)
# Where make run and make install put the program. The help file's path is fixed from it when
# the program is built, so the program is run from there.
PREFIX ?= $(CURDIR)/$(BUILD_DIR)/stage

.PHONY: all deps configure build run install test test-asan bench clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=$(PREFIX) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

install: build
	@cmake --install $(BUILD_DIR) >/dev/null

# Starts Kurvo on the desktop's display. Without one (no DISPLAY or WAYLAND_DISPLAY) it says so
# instead of failing inside Qt.
run: install
	@if [ -z "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]; then \
	  echo "make run: no display; start it from a desktop session (or set DISPLAY)" >&2; exit 1; fi
	@$(PREFIX)/bin/kurvo

test: build
	@ctest --test-dir $(BUILD_DIR) --output-on-failure --timeout 300 -j $(JOBS)
	@$(MAKE) --no-print-directory test-asan

# An overrun or an undefined conversion in the engine fails this pass.
test-asan: deps
	@cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DKURVO_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	@ctest --test-dir $(ASAN_DIR) --output-on-failure --timeout 300 -j $(JOBS)

# Each libFuzzer target for FUZZ_SECONDS seconds, on a work copy of its committed seeds
# (the inputs it finds stay in build-fuzz/); a crash stops the run and leaves its input in
# build-fuzz/crashes/. The drawing document target also starts from every input the reading
# target has found, which runs before it. Documents may be longer than formulas, so that values
# cut at 1023 bytes are reached.
FUZZ_TARGETS = fuzz_formula fuzz_reference fuzz_statement fuzz_cached fuzz_document_read fuzz_document
FUZZ_TARGETS += fuzz_data_read
FUZZ_FLAGS = -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
  -print_final_stats=1

.PHONY: fuzz
fuzz:
	@scripts/install-deps fuzz
	@cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DKURVO_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target $(FUZZ_TARGETS)
	@mkdir -p $(FUZZ_DIR)/crashes
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_DIR)/corpus/$$t && cp fuzz/corpus/$$t/* $(FUZZ_DIR)/corpus/$$t/ && \
	  if [ $$t = fuzz_document ]; then cp $(FUZZ_DIR)/corpus/fuzz_document_read/* $(FUZZ_DIR)/corpus/$$t/; fi && \
	  case $$t in fuzz_document*) dict=document; len=4096;; *) dict=evalon; len=1024;; esac && \
	  case $$t in fuzz_data*) dict=data; len=4096;; esac && \
	  $(FUZZ_DIR)/bin/$$t $(FUZZ_FLAGS) -max_len=$$len -dict=fuzz/$$dict.dict -artifact_prefix=$(FUZZ_DIR)/crashes/$$t- \
	    $(FUZZ_DIR)/corpus/$$t || exit 1; \
	done

# Which lines the fuzz corpora reach: the targets built again with source coverage in
# build-fuzz-cov/, each run once over the work corpus that make fuzz left (the seeds when there is
# none), and a report per source file in build-fuzz-cov/coverage.txt.
FUZZ_COV_DIR ?= build-fuzz-cov
.PHONY: fuzz-coverage
fuzz-coverage:
	@scripts/install-deps fuzz
	@cmake -S . -B $(FUZZ_COV_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DKURVO_FUZZ=ON -DKURVO_FUZZ_COVERAGE=ON -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(FUZZ_COV_DIR) -j $(JOBS) --target $(FUZZ_TARGETS)
	@rm -rf $(FUZZ_COV_DIR)/profiles && mkdir -p $(FUZZ_COV_DIR)/profiles
	@for t in $(FUZZ_TARGETS); do \
	  corpus=$(FUZZ_DIR)/corpus/$$t && [ -d $$corpus ] || corpus=fuzz/corpus/$$t; \
	  LLVM_PROFILE_FILE=$(FUZZ_COV_DIR)/profiles/$$t.profraw \
	    $(FUZZ_COV_DIR)/bin/$$t -runs=0 -max_len=4096 $$corpus 2>/dev/null || exit 1; \
	done
	@llvm-profdata merge -o $(FUZZ_COV_DIR)/fuzz.profdata $(FUZZ_COV_DIR)/profiles/*.profraw
	@llvm-cov report -instr-profile=$(FUZZ_COV_DIR)/fuzz.profdata $(FUZZ_COV_DIR)/bin/fuzz_formula \
	  $(foreach t,$(FUZZ_TARGETS),-object=$(FUZZ_COV_DIR)/bin/$(t)) $(CURDIR)/engine $(CURDIR)/app \
	  | tee $(FUZZ_COV_DIR)/coverage.txt

# Time per sample of the plotting path, Evalon against muparser and compiled C++, and whole
# kurvo-render runs against gnuplot drawing the same five curves at 1920 x 1080. Options
# for Google Benchmark go in BENCH_ARGS, e.g. BENCH_ARGS=--benchmark_filter=^evalon/
bench:
	@scripts/install-deps bench
	@cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
		-DKURVO_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(BENCH_DIR) -j $(JOBS) --target evalon_bench draw_bench sampler_bench curve_kinds_bench scaled_draw_bench explore_bench feedback_bench analysis_bench \
		parameter_bench document_bench undo_bench calculus_bench kurvo-render
	@$(BENCH_DIR)/bin/evalon_bench $(BENCH_ARGS)
	@$(BENCH_DIR)/bin/draw_bench
	@$(BENCH_DIR)/bin/curve_kinds_bench
	@$(BENCH_DIR)/bin/sampler_bench
	@$(BENCH_DIR)/bin/scaled_draw_bench
	@$(BENCH_DIR)/bin/explore_bench
	@$(BENCH_DIR)/bin/feedback_bench
	@$(BENCH_DIR)/bin/analysis_bench
	@$(BENCH_DIR)/bin/parameter_bench
	@$(BENCH_DIR)/bin/document_bench
	@$(BENCH_DIR)/bin/undo_bench
	@$(BENCH_DIR)/bin/calculus_bench
	@cmake --build $(BENCH_DIR) -j $(JOBS) --target data_bench
	@$(BENCH_DIR)/bin/data_bench
	@bench/render-vs-gnuplot.sh $(BENCH_DIR)/bin/kurvo-render

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(BENCH_DIR) $(FUZZ_DIR) $(FUZZ_COV_DIR)
