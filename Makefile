# Build entry points. TEST_DIR, REL_DIR and BENCH_DIR may be overridden to keep builds apart.
NPROC     := $(shell nproc)
TEST_DIR  ?= build/test
REL_DIR   ?= build/release
BENCH_DIR ?= build/bench
CMAKE_GEN := -G Ninja

.PHONY: deps test build bench run clean

deps:
	scripts/install-deps

test: deps
	cmake -S . -B $(TEST_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DTRELIX_SANITIZE=ON
	cmake --build $(TEST_DIR) -j $(NPROC)
	cd $(TEST_DIR) && ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --output-on-failure -j $(NPROC)

build: deps
	cmake -S . -B $(REL_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(REL_DIR) -j $(NPROC) --target trelix english_module

# Analyses a text with the C host and the English module generated at build
# time, and prints its result JSON: the shipped sample, or TEXT="..." (read
# from the environment, so any quotes pass).
RUN_ARGS = --data $(REL_DIR)/data/english --language english
run: deps
	cmake -S . -B $(REL_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(REL_DIR) -j $(NPROC) --target trelix_run english_module
	@if [ -n "$$TEXT" ]; then \
	  $(REL_DIR)/tools/trelix_run $(RUN_ARGS) --text "$$TEXT"; \
	else \
	  $(REL_DIR)/tools/trelix_run $(RUN_ARGS) data/english/sample.txt; \
	fi

# Speed figures: every program in bench/, on an optimised build.
bench: deps
	cmake -S . -B $(BENCH_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DTRELIX_TESTS=OFF -DTRELIX_BENCH=ON
	cmake --build $(BENCH_DIR) -j $(NPROC) --target benchmarks
	@for b in $(BENCH_DIR)/bench/*; do \
	  if [ -x "$$b" ] && [ -f "$$b" ]; then echo "== $$b"; "$$b" $(BENCH_ARGS) || exit 1; fi; \
	done

clean:
	rm -rf build
