# Veltrax: build, run and test.
#   make run    builds the program and starts it
#   make test   builds and runs every test headless, then again under
#               AddressSanitizer and UndefinedBehaviorSanitizer
#   make bench  builds and runs the benchmarks, the page's too
#   make fuzz   runs every fuzz target for FUZZ_SECONDS each
#   make test-windows   the core's tests cross-built for Windows, under Wine
#   make windows        the Windows program: zip, MSI and setup.exe (dist/)
#   make dist           every artefact the project ships, in dist/ with SHA256SUMS
#   make windows-check  both installers tried under Wine
#   make web            dist/veltrax.html: the program as one offline web page, and
#                       dist/web/: the same page for a web server, installable and offline
#   make test-web       the core under node, compared with the native one, and the page in Chromium
#   make mutants        a mutation check of the core against its tests (MUTANTS=60, MUTANT_SEED=1)

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
BENCH_BUILD ?= build-bench
WINDOWS_TEST_BUILD ?= build-windows-tests
WEB_BUILD ?= build-web
WEB_TEST_BUILD ?= build-web-tests
FUZZ_SECONDS ?= 60
CMAKE_FLAGS ?=

# The tests run headless; the program itself uses the desktop's platform.
HEADLESS = QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS ?= detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS ?= print_stacktrace=1:halt_on_error=1

.PHONY: dist mutants all deps deps-test deps-web build build-tests run test test-plain test-sanitized test-windows test-web web web-screenshot bench-web windows windows-check bench fuzz fuzz-short screenshot package package-check clean

all: build

# Building and running need only the compiler and Qt; the tests need more.
deps:
	@scripts/install-deps.sh

deps-test:
	@scripts/install-deps.sh --test

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DVELTRAX_UI=ON -DVELTRAX_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build $(BUILD)

build-tests: deps-test
	cmake -S . -B $(BUILD) -G Ninja -DVELTRAX_UI=ON -DVELTRAX_TESTS=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD)

run: build
	$(BUILD)/app/veltrax

test: test-plain test-sanitized fuzz-short test-web package-check test-windows

test-plain: build-tests
	cd $(BUILD) && $(HEADLESS) ctest --output-on-failure --timeout 300

test-sanitized: deps-test
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELTRAX_SANITIZE=ON -DVELTRAX_UI=ON -DVELTRAX_TESTS=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD)
	cd $(ASAN_BUILD) && $(HEADLESS) ctest --output-on-failure --timeout 600

fuzz: deps-test
	CXX=clang++-14 cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -G Ninja -DVELTRAX_FUZZERS=ON -DVELTRAX_UI=OFF -DVELTRAX_TESTS=OFF
	cmake --build $(FUZZ_BUILD)
	scripts/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The core and its tests cross-built for Windows and run under Wine.
test-windows: deps-test
	cmake -S . -B $(WINDOWS_TEST_BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELTRAX_UI=OFF -DVELTRAX_TESTS=ON
	cmake --build $(WINDOWS_TEST_BUILD)
	scripts/wine-run.sh $(WINDOWS_TEST_BUILD)/tests/core_tests.exe

# The page: the core compiled with Debian's emscripten. Its JavaScript
# optimizer needs acorn, which Debian's node-acorn provides.
export NODE_PATH := /usr/share/nodejs$(if $(NODE_PATH),:$(NODE_PATH))

deps-web:
	@scripts/install-deps.sh --web

web: deps-web
	emcmake cmake -S . -B $(WEB_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELTRAX_UI=OFF -DVELTRAX_TESTS=OFF
	cmake --build $(WEB_BUILD)
	@mkdir -p dist
	VELTRAX_WEB_MODULES=$$(scripts/web-modules.sh $(WEB_BUILD)) node web/bundle.mjs $(WEB_BUILD)/web/veltrax_core.js dist/veltrax.html dist/web

# The tests' build holds the page's core too: the page is put together from it.
test-web: build-tests deps-web
	emcmake cmake -S . -B $(WEB_TEST_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELTRAX_UI=OFF -DVELTRAX_TESTS=ON
	cmake --build $(WEB_TEST_BUILD)
	@mkdir -p dist
	VELTRAX_WEB_MODULES=$$(scripts/web-modules.sh $(WEB_TEST_BUILD)) node web/bundle.mjs $(WEB_TEST_BUILD)/web/veltrax_core.js dist/veltrax.html dist/web
	scripts/test-web.sh $(BUILD) $(WEB_TEST_BUILD) dist/veltrax.html dist/web

# docs/veltrax-web.png, from the browser tests.
web-screenshot:
	$(MAKE) test-web VELTRAX_SCREENSHOT=$(CURDIR)/docs/veltrax-web.png

# The program for Windows: Qt for Windows built once into ~/.cache/veltrax
# (about 40 minutes on two cores), then dist/veltrax-<version>-windows-x64.zip,
# dist/veltrax-<version>-x64.msi and dist/veltrax-<version>-setup.exe.
windows:
	scripts/package-windows.sh

# Both installers installed, upgraded and removed under Wine, the program
# used, the widget tests under Wine, and docs/veltrax-windows.png.
windows-check: windows
	scripts/windows-check.sh

# Mutants of the core, each built with the sanitizers and run against the
# core's tests; the survivors and the score are printed. Not part of make test.
MUTANTS ?= 60
MUTANT_SEED ?= 1
mutants: deps-test
	python3 scripts/mutants.py --count $(MUTANTS) --seed $(MUTANT_SEED)

# A short round of every fuzz target, as part of the tests.
fuzz-short:
	$(MAKE) fuzz FUZZ_SECONDS=12

# The benchmarks, then the formula mix beside mf-parser (from npm) in the same run.
bench: deps-test
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELTRAX_BENCHMARKS=ON -DVELTRAX_TESTS=OFF
	cmake --build $(BENCH_BUILD)
	$(HEADLESS) $(BENCH_BUILD)/bench/veltrax_bench --benchmark_out=$(BENCH_BUILD)/veltrax.json --benchmark_out_format=json
	cp bench/package.json $(BENCH_BUILD)/
	cd $(BENCH_BUILD) && npm install --no-audit --no-fund --silent
	NODE_PATH=$(BENCH_BUILD)/node_modules node bench/mf_parser_compare.js $(BENCH_BUILD)/veltrax.json
	$(MAKE) bench-web

# The WebAssembly core under node beside mf-parser, and the page in Chromium.
WEB_BENCH_BUILD ?= build-web-bench
bench-web: web
	emcmake cmake -S . -B $(WEB_BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELTRAX_UI=OFF -DVELTRAX_TESTS=OFF -DVELTRAX_BENCHMARKS=ON
	cmake --build $(WEB_BENCH_BUILD)
	cp bench/package.json $(WEB_BENCH_BUILD)/
	cd $(WEB_BENCH_BUILD) && npm install --no-audit --no-fund --silent && npm install --no-audit --no-fund --silent --no-save playwright-core@$$(node -p 'require("../tests/web/package.json").dependencies["playwright-core"]')
	node bench/web_compare.mjs $(WEB_BENCH_BUILD)/web/veltrax_mix.js $(WEB_BENCH_BUILD)/node_modules
	node bench/web_page_bench.mjs dist/veltrax.html $(WEB_BENCH_BUILD)/node_modules

screenshot: build
	scripts/screenshot.sh $(BUILD)/app/veltrax docs/veltrax.png

# The package holds the page too: dist/veltrax.html, built where it is missing.
package: build deps-test
	@[ -f dist/veltrax.html ] || $(MAKE) web
	cmake -S . -B $(BUILD) -DVELTRAX_WEB_PAGE=$(CURDIR)/dist/veltrax.html
	cd $(BUILD) && cpack -G DEB

# Every artefact the project ships, in dist/ with SHA256SUMS; says what it
# could not build (the Windows ones where Qt for Windows is not built).
dist: package
	scripts/make-dist.sh $(BUILD)

# The package as a distribution would check it: lintian, the desktop entry
# and the AppStream metadata.
package-check: package
	scripts/check-package.sh $(BUILD)
	scripts/check-dist.sh $(BUILD)

clean:
	rm -rf build-mutants $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD) $(WINDOWS_TEST_BUILD) $(WEB_BUILD) $(WEB_TEST_BUILD)
