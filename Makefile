# Build entry points. BUILD_DIR may be overridden to keep several builds apart.
NPROC     := $(shell nproc)
TEST_DIR  ?= build/test
REL_DIR   ?= build/release
CMAKE_GEN := -G Ninja

.PHONY: deps test build bench clean

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
	cmake --build $(REL_DIR) -j $(NPROC) --target trelix

clean:
	rm -rf build
