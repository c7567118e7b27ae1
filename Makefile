# The two commands a newcomer needs: `make run` and `make test`. Both install what is missing.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test package format clean bench

all: build

deps:
	@tools/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The program runs in a folder of its own, beside a copy of its pictures, so that the settings
# file and the logs it writes stay out of the source tree.
run: build
	cd $(BUILD_DIR)/portable && ./vantrelo

test: build test-sanitize
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# The libraries, the unit and widget tests and the fuzz corpora once more, in a folder of their
# own, under AddressSanitizer and UndefinedBehaviorSanitizer: any report fails its test. The build
# is unoptimised, because building is what takes the time here. The end-to-end test drives the
# installed program under X and is left to the main build.
SANITIZE_BUILD_DIR ?= build-asan
SANITIZE_BUILD_TYPE ?= Debug
SANITIZER_OPTIONS = \
	ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
.PHONY: test-sanitize
test-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD_DIR) -DCMAKE_BUILD_TYPE=$(SANITIZE_BUILD_TYPE) \
		-DVANTRELO_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(SANITIZE_BUILD_DIR) -j $(JOBS)
	$(SANITIZER_OPTIONS) ctest --test-dir $(SANITIZE_BUILD_DIR) -E end_to_end \
		--output-on-failure -j $(JOBS)

# Runs each fuzz target under libFuzzer for FUZZ_SECONDS (make fuzz FUZZ_SECONDS=300), built with
# clang++ in a folder of its own. A finding stops the run and is kept in that folder.
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_SECONDS ?= 30
FUZZ_TARGETS ?= parse_decimal number_format settings_file
.PHONY: fuzz
fuzz: deps
	@tools/install-deps.sh clang libclang-rt-14-dev
	cmake -S . -B $(FUZZ_BUILD_DIR) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DVANTRELO_FUZZ=ON $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD_DIR) -j $(JOBS) --target $(addsuffix _fuzz,$(FUZZ_TARGETS))
	tests/fuzz/run.sh $(FUZZ_BUILD_DIR) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# Checks the number texts for all 2^32 floats on every core (see docs/every-float.md); it takes
# many minutes, so it is no part of `make test`.
EVERY_FLOAT_BUILD_DIR ?= build-every-float
.PHONY: every-float
every-float: deps
	cmake -S . -B $(EVERY_FLOAT_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DVANTRELO_TESTS=OFF \
		-DVANTRELO_EVERY_FLOAT=ON $(CMAKE_FLAGS)
	cmake --build $(EVERY_FLOAT_BUILD_DIR) -j $(JOBS) --target every_float
	$(EVERY_FLOAT_BUILD_DIR)/tools/every_float/every_float

# Measures start-up, a conversion, the number texts and the file writes on this machine and
# writes docs/performance.md. Its own build folder keeps it apart from `make test`.
BENCH_BUILD_DIR ?= build-bench
bench: deps
	@tools/install-deps.sh libbenchmark-dev libxcb-damage0-dev pkg-config strace
	cmake -S . -B $(BENCH_BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVANTRELO_TESTS=OFF \
		-DVANTRELO_BENCH=ON $(CMAKE_FLAGS)
	cmake --build $(BENCH_BUILD_DIR) -j $(JOBS)
	bench/run.sh $(BENCH_BUILD_DIR) docs/performance.md

# A Debian package of the calculator, in $(BUILD_DIR)/: install it with apt-get install ./vantrelo_*.deb
package: build
	cmake --build $(BUILD_DIR) --target package

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD_DIR)
