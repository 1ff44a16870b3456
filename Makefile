# Hextant developer entry points. `make run` and `make test` install what the build needs on a
# Debian/Ubuntu machine (apt-get), configure, build and then start the tool or run every test.

BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

# Debian packages the build and the tests need.
DEPS := cmake g++ ninja-build pkg-config qt6-base-dev libgtest-dev libgmock-dev \
        desktop-file-utils appstream

.PHONY: all deps configure build test run demo bench install format clean screenshots

all: build

deps:
	@missing=""; \
	for p in $(DEPS); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing missing packages:$$missing"; \
	  SUDO=""; [ "$$(id -u)" -ne 0 ] && SUDO=sudo; \
	  $$SUDO apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq --no-install-recommends $$missing; \
	fi

configure: deps
	@if [ ! -f $(BUILD_DIR)/build.ninja ]; then \
	  cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS); \
	fi

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

run: build
	$(BUILD_DIR)/src/app/hextant

# Pictures of every screen from the real program on Qt's offscreen platform (a 1920x1080 screen).
screenshots: build
	QT_QPA_PLATFORM=offscreen:configfile=$(CURDIR)/cmake/offscreen_screen.json \
	  $(BUILD_DIR)/src/app/hextant-screenshots samples docs/screenshots

# Converts every sample with hextant-convert into $(BUILD_DIR)/demo/.
DEMO := catalunya:catalunya_egm96.gr netherlands:netherlands_egm96.txt norway:norway_egm96.bin \
        switzerland:switzerland_egm96.txt italy:italy_egm96.txt la-reunion:la_reunion_egm96.txt \
        poland:poland_egm96.txt

demo: build
	@for demo in $(DEMO); do \
	  format=$${demo%%:*}; file=$${demo#*:}; dir=$(BUILD_DIR)/demo/$$format; \
	  mkdir -p $$dir && cp samples/$$file $$dir/ && \
	  echo "== $$format: $$file" && \
	  $(BUILD_DIR)/src/app/hextant-convert --format $$format --overwrite --quiet $$dir/$$file || exit 1; \
	done
	@echo "Models and HdmToTarvo.INI files are in $(BUILD_DIR)/demo/; inspect one with"
	@echo "  $(BUILD_DIR)/src/app/hextant-inspect $(BUILD_DIR)/demo/catalunya/catalunya_egm96.HDM"

bench: deps
	@dpkg-query -W -f='$${Status}' libbenchmark-dev 2>/dev/null | grep -q 'install ok installed' || \
	  { SUDO=""; [ "$$(id -u)" -ne 0 ] && SUDO=sudo; $$SUDO apt-get update -qq && \
	    DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq libbenchmark-dev; }
	cmake -S . -B $(BUILD_DIR)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DHEXTANT_BENCHMARKS=ON -DHEXTANT_TESTS=OFF
	cmake --build $(BUILD_DIR)-bench -j $(JOBS)
	@for b in $(BUILD_DIR)-bench/bench/bench_*; do [ -x "$$b" ] && "$$b"; done
	@if command -v gdal_translate > /dev/null && [ -f /usr/share/proj/egm96_15.gtx ]; then \
	  bench/convert_egm96_xyz.sh $(BUILD_DIR)-bench; \
	else \
	  echo "Skipping bench/convert_egm96_xyz.sh: it needs gdal-bin, proj-data and time."; \
	fi

install: build
	cmake --install $(BUILD_DIR) --prefix $(or $(PREFIX),/usr/local)

format:
	git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(BUILD_DIR)-bench
