# Front door: `make run` opens the demo show, `make test` runs the whole suite.
BUILD ?= build
TYPE  ?= RelWithDebInfo
JOBS  ?= $(shell nproc 2>/dev/null || echo 2)
DEMO  := $(BUILD)/demo/lumenar-demo.ild
FILE  ?= $(DEMO)

.PHONY: all setup configure build test run demo bench asan format clean

all: build

setup:
	@scripts/setup.sh

$(BUILD)/build.ninja: CMakeLists.txt | setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(TYPE) -DLUMENAR_WERROR=ON $(CMAKE_EXTRA)

configure: setup $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

demo: build
	$(BUILD)/tools/lumenar-mkdemo $(BUILD)/demo

run: demo
	$(BUILD)/lumenar "$(FILE)"

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && QT_QPA_PLATFORM=offscreen "$$b"; done

asan:
	$(MAKE) test BUILD=build-asan TYPE=Debug CMAKE_EXTRA=-DLUMENAR_SANITIZE=ON

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
