# Quillmere: build, run and test. Each target installs what the build needs first.
BUILD       ?= build
ASAN_BUILD  ?= build-asan
FUZZ_BUILD  ?= build-fuzz
CORE_BUILD  ?= build-core
BUILD_TYPE  ?= RelWithDebInfo
JOBS        ?= $(shell nproc)
DEMO_HOME   ?= $(CURDIR)/demo-home

# Debian packages the build needs, and a file each one provides (checked before installing).
PACKAGES := cmake:/usr/bin/cmake ninja-build:/usr/bin/ninja g++:/usr/bin/g++ \
            libgtest-dev:/usr/include/gtest/gtest.h \
            libbenchmark-dev:/usr/include/benchmark/benchmark.h time:/usr/bin/time \
            qt6-base-dev:/usr/lib/x86_64-linux-gnu/cmake/Qt6/Qt6Config.cmake \
            xvfb:/usr/bin/Xvfb openbox:/usr/bin/openbox tint2:/usr/bin/tint2 \
            xdotool:/usr/bin/xdotool x11-utils:/usr/bin/xwininfo \
            fonts-liberation2:/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf \
            poppler-utils:/usr/bin/pdftotext \
            dbus-daemon:/usr/bin/dbus-run-session libglib2.0-bin:/usr/bin/gdbus \
            python3-vobject:/usr/lib/python3/dist-packages/vobject/__init__.py \
            tidy:/usr/bin/tidy nodejs:/usr/bin/node npm:/usr/bin/npm \
            libqt6sql6-sqlite:/usr/lib/x86_64-linux-gnu/qt6/plugins/sqldrivers/libqsqlite.so \
            liblz4-dev:/usr/include/lz4.h xdg-utils:/usr/bin/xdg-email \
            chromium:/usr/bin/chromium
FUZZ_PACKAGES := clang:/usr/bin/clang++ libclang-rt-dev:/usr/lib/llvm-14/lib/clang

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps fuzz-deps readers build test run bench asan fuzz core-only format clean

all: build

deps:
	@missing=""; for entry in $(PACKAGES); do \
	  pkg=$${entry%%:*}; file=$${entry#*:}; [ -e "$$file" ] || missing="$$missing $$pkg"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	fi

fuzz-deps: deps
	@missing=""; for entry in $(FUZZ_PACKAGES); do \
	  pkg=$${entry%%:*}; file=$${entry#*:}; [ -e "$$file" ] || missing="$$missing $$pkg"; \
	done; \
	if [ -n "$$missing" ]; then \
	  $(SUDO) apt-get update -qq && $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	fi

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# The independent vCard readers the exchange tests check against (ical.js and vcf), from
# tests/interop/package-lock.json. Without them those tests skip and say why.
INTEROP := tests/interop
readers: deps
	@[ -f $(INTEROP)/node_modules/.package-lock.json ] && \
	  [ $(INTEROP)/node_modules/.package-lock.json -nt $(INTEROP)/package-lock.json ] || \
	  (cd $(INTEROP) && npm ci --no-audit --no-fund --loglevel=error) || \
	  echo "warning: the vCard readers could not be installed; their tests will skip"

# Builds and runs every test.
test: build readers
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Starts the program on a demo data directory, seeded with the demo outline the first time.
# QUILLMERE_HOME keeps it self-contained: the user's own files are never touched, and
# XDG_DATA_HOME keeps its bus registration away from the user's.
run: build
	@mkdir -p $(DEMO_HOME)
	@[ -f $(DEMO_HOME)/quil.dat ] || cp assets/demo/quil.dat $(DEMO_HOME)/quil.dat
	QUILLMERE_HOME=$(DEMO_HOME) XDG_DATA_HOME=$(DEMO_HOME)/share $(BUILD)/src/gui/quillmere

bench: build
	$(BUILD)/bench/quill_bench
	$(BUILD)/bench/quill_startup_bench 100000
	$(BUILD)/bench/quill_exit_find_bench 100000
	$(BUILD)/bench/quill_exit_find_bench 360000

# The core and its tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILL_SANITIZE=ON -DQUILL_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# The core and its tests with Qt kept out of the build, which proves the layers apart.
core-only: deps
	cmake -S . -B $(CORE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQUILL_GUI=OFF \
	  -DQUILL_BENCH=OFF -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON
	cmake --build $(CORE_BUILD) -j $(JOBS)
	ctest --test-dir $(CORE_BUILD) -j $(JOBS) --output-on-failure

# The fuzz targets, built with clang; run one with e.g. build-fuzz/tests/fuzz/fuzz_records.
fuzz: fuzz-deps
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DQUILL_FUZZ=ON -DQUILL_TESTS=OFF -DQUILL_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

format:
	find src tests tools bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(CORE_BUILD)
