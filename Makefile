# SPDX-License-Identifier: GPL-3.0-or-later
# Front door: `make run` opens the demo show, `make test` runs the whole suite.
BUILD ?= build
TYPE  ?= RelWithDebInfo
JOBS  ?= $(shell nproc 2>/dev/null || echo 2)
DEMO  := $(BUILD)/demo/lumenar-demo.ild
FILE  ?= $(DEMO)

PREFIX ?= /usr/local
DESTDIR ?=

FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: all setup configure build test test-twice run demo bench asan fuzz format clean install uninstall \
	package screenshot translations

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

# The suite twice at once: each test program must keep its settings and display to itself.
test-twice: build
	scripts/test-twice.sh $(BUILD)

demo: build
	$(BUILD)/tools/lumenar-mkdemo $(BUILD)/demo

run: demo
	$(BUILD)/lumenar "$(FILE)"

# The caches are refreshed only for a real installation, not for a staging DESTDIR; the list
# of installed files is kept apart because every `cmake --install` (the tests too) rewrites it.
MANIFEST ?= $(BUILD)/installed-files.txt
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"
	cp $(BUILD)/install_manifest.txt "$(MANIFEST)"
	@[ -n "$(DESTDIR)" ] || dist/refresh-caches.sh "$(PREFIX)/share"

uninstall:
	@[ -f "$(MANIFEST)" ] || { echo "nothing was installed from $(BUILD)"; exit 1; }
	@while read -r f || [ -n "$$f" ]; do rm -fv "$(DESTDIR)$$f"; \
		rmdir -p --ignore-fail-on-non-empty "$$(dirname "$(DESTDIR)$$f")"; done < "$(MANIFEST)"
	rm "$(MANIFEST)"
	@[ -n "$(DESTDIR)" ] || dist/refresh-caches.sh "$(PREFIX)/share"

# A Debian package (a disk image on macOS), built apart with the distribution's hardening flags
# (fortify, stack protector, relro and bind-now); CMake reads no CPPFLAGS, so they join CXXFLAGS.
PACKAGE_BUILD ?= build-package
package: setup
	eval "$$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"; \
		CXXFLAGS="$$CPPFLAGS $$CXXFLAGS" cmake -S . -B $(PACKAGE_BUILD) -G Ninja \
		-DCMAKE_BUILD_TYPE=None -DLUMENAR_WERROR=ON -DBUILD_TESTING=OFF -DLUMENAR_BENCHMARKS=OFF
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	cd $(PACKAGE_BUILD) && cpack

# Brings translations/lumenar_*.ts up to date with the sources' texts (new ones unfinished).
SOURCES := app model readers views info playback export check tools browse problems output
translations: setup
	lupdate -silent -no-obsolete -locations none $(SOURCES) -ts translations/lumenar_*.ts

# dist/screenshot.png, the window on the demo show, as the README shows it.
screenshot: build
	scripts/screenshot.sh $(BUILD)

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && QT_QPA_PLATFORM=offscreen "$$b"; done

# Qt's platform plugins keep a few objects until exit; those reports are suppressed.
asan:
	LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
		$(MAKE) test BUILD=build-asan TYPE=Debug CMAKE_EXTRA=-DLUMENAR_SANITIZE=ON

# Every reader's fuzzer starts from the demo files; the animation fuzzer also from animations
# that name the pictures it places beside its input (Show.catl/True, Indexed, and a missing Gone).
# Leaks are reported (Qt's own suppressed), a run over 10 s is a hang, and inputs may be large
# enough to reach the memory budget.
fuzz: demo
	@scripts/setup.sh clang libclang-rt-14-dev
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_CXX_COMPILER=clang++ -DLUMENAR_FUZZERS=ON -DBUILD_TESTING=OFF -DLUMENAR_BENCHMARKS=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@mkdir -p $(FUZZ_BUILD)/corpus/ani
	@printf '\001\000\000\000\000\000\000\000\000\003\004Show\004True\004Show\007Indexed\004Show\004True\000' \
		> $(FUZZ_BUILD)/corpus/ani/names.ani
	@printf '\001\000\000\000\000\000\000\000\000\002\004Show\007Indexed\004Show\004Gone\000' \
		> $(FUZZ_BUILD)/corpus/ani/missing.ani
	@for r in ilda pic ccat ani; do \
		mkdir -p $(FUZZ_BUILD)/corpus/$$r; \
		find $(BUILD)/demo -type f -size -200k -exec cp {} $(FUZZ_BUILD)/corpus/$$r/ \; ; \
		LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp QT_QPA_PLATFORM=offscreen \
			$(FUZZ_BUILD)/fuzz/fuzz_$$r -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
			-rss_limit_mb=2048 -max_len=4194304 $(FUZZ_BUILD)/corpus/$$r || exit 1; \
	done

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
