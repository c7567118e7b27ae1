# The two commands a newcomer needs: `make run` and `make test`. Both install what is missing.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test package format clean

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

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# A Debian package of the calculator, in $(BUILD_DIR)/: install it with apt-get install ./vantrelo_*.deb
package: build
	cmake --build $(BUILD_DIR) --target package

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD_DIR)
