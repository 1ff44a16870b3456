# Hextant developer entry points. `make run` and `make test` install what the build needs on a
# Debian/Ubuntu machine (apt-get), configure, build and then start the tool or run every test.

BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

# Debian packages the build and the tests need.
DEPS := cmake g++ ninja-build pkg-config qt6-base-dev libgtest-dev libgmock-dev libtiff-dev \
        desktop-file-utils appstream
# What the Windows cross build and its tests under Wine need besides them, and `make package`:
# MinGW-w64 and its zlib, Wine, dpkg-dev to fetch Qt's and libtiff's source packages, the fonts of
# the window's tests under Wine, wixl for the installer.
WINDOWS_DEPS := g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine64 wine dpkg-dev \
                fonts-dejavu-core fonts-droid-fallback wixl
PACKAGE_DEPS := dpkg-dev file

# The ThreadSanitizer build of the threaded readers' tests (`make tsan-test`, part of `make test`):
# the test programs of these folders of tests/ and what they link, without the window.
TSAN_BUILD_DIR ?= $(BUILD_DIR)-tsan
TSAN_TEST_FOLDERS := readers grids conversion

WINDOWS_BUILD_DIR ?= build-windows
# Wine, quiet and in a prefix of the Windows build folder's own.
WINE_ENV = WINEPREFIX=$(abspath $(WINDOWS_BUILD_DIR))/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
# Qt built for MinGW-w64 from Debian's source package, in a cache folder outside the build folders
# named by its version and options (cmake/qt-mingw.sh): built once per machine.
QT_MINGW = $(shell cmake/qt-mingw.sh --prefix)
# libtiff, a static library for MinGW-w64 from Debian's source package, the same way
# (cmake/tiff-mingw.sh).
TIFF_MINGW = $(shell cmake/tiff-mingw.sh --prefix)

.PHONY: all deps windows-deps package-deps configure build test tsan-test run demo bench install \
        format clean windows windows-configure windows-build package screenshots qt-mingw \
        tiff-mingw screenshots-windows

all: build

# install_missing: installs those of $(1) that are not installed yet.
define install_missing
	@missing=""; \
	for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing missing packages:$$missing"; \
	  SUDO=""; [ "$$(id -u)" -ne 0 ] && SUDO=sudo; \
	  $$SUDO apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $$SUDO apt-get -o DPkg::Lock::Timeout=900 install -y -qq \
	    --no-install-recommends $$missing; \
	fi
endef

deps:
	$(call install_missing,$(DEPS))

windows-deps: deps
	$(call install_missing,$(WINDOWS_DEPS))

package-deps: deps
	$(call install_missing,$(PACKAGE_DEPS))

configure: deps
	@if [ ! -f $(BUILD_DIR)/build.ninja ]; then \
	  cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS); \
	fi

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)
	$(MAKE) tsan-test

# The readers parse on worker threads: their tests, the grid and the conversion tests again under
# ThreadSanitizer, which fails a test on the first race it sees. About 2 minutes from a cold
# build-tsan/ on 2 cores.
tsan-test: deps
	@if [ ! -f $(TSAN_BUILD_DIR)/build.ninja ]; then \
	  cmake -S . -B $(TSAN_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHEXTANT_TSAN=ON \
	    -DHEXTANT_WINDOW=OFF; \
	fi
	cmake --build $(TSAN_BUILD_DIR) -j $(JOBS) --target $(TSAN_TEST_FOLDERS:%=%_tests)
	@for folder in $(TSAN_TEST_FOLDERS); do \
	  TSAN_OPTIONS="halt_on_error=1 $(TSAN_OPTIONS)" \
	    ctest --test-dir $(TSAN_BUILD_DIR)/tests/$$folder --output-on-failure -j $(JOBS) || exit 1; \
	done

run: build
	$(BUILD_DIR)/src/app/hextant

# Pictures of every screen from the real program on Qt's offscreen platform (a 1920x1080 screen).
screenshots: build
	QT_QPA_PLATFORM=offscreen:configfile=$(CURDIR)/cmake/offscreen_screen.json \
	  $(BUILD_DIR)/src/app/hextant-screenshots samples docs/screenshots

# The same pictures from the Windows build under Wine, in the style of Windows (the one Windows
# draws without a visual theme, as under Wine), with the fonts of the Windows tests.
screenshots-windows: windows-build
	@$(call wine_prefix)
	$(WINE_ENV) WINEQT_QPA_PLATFORM=offscreen:configfile=$(CURDIR)/cmake/offscreen_screen.json \
	  WINEQT_QPA_FONTDIR=Z:$(abspath $(WINDOWS_BUILD_DIR))/fonts \
	  wine $(WINDOWS_BUILD_DIR)/bin/hextant-screenshots.exe -style windowsvista Z:$(CURDIR)/samples \
	  Z:$(CURDIR)/docs/screenshots/windows; status=$$?; $(WINE_ENV) wineserver -k; exit $$status

# Converts every sample with hextant-convert into $(BUILD_DIR)/demo/.
DEMO := catalunya:catalunya_egm96.gr netherlands:netherlands_egm96.txt norway:norway_egm96.bin \
        switzerland:switzerland_egm96.txt italy:italy_egm96.txt la-reunion:la_reunion_egm96.txt \
        poland:poland_egm96.txt grid:isg20_egm96_dms.isg grid:egm96_cut.gtx

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
	  bench/convert_egm96_xyz.sh $(BUILD_DIR)-bench && bench/convert_grids.sh $(BUILD_DIR)-bench; \
	else \
	  echo "Skipping bench/convert_egm96_xyz.sh and bench/convert_grids.sh: they need gdal-bin, proj-data and time."; \
	fi

# The Windows cross build into $(WINDOWS_BUILD_DIR)/ (MinGW-w64) with the window and its installer,
# its tests under Wine, and each sample converted there byte-identical to the native build's model.
qt-mingw: windows-deps
	JOBS=$(JOBS) cmake/qt-mingw.sh

tiff-mingw: windows-deps
	JOBS=$(JOBS) cmake/tiff-mingw.sh

windows-configure: qt-mingw tiff-mingw
	@if [ ! -f $(WINDOWS_BUILD_DIR)/build.ninja ] || \
	    ! grep -qx 'HEXTANT_QT_MINGW:PATH=$(QT_MINGW)' $(WINDOWS_BUILD_DIR)/CMakeCache.txt || \
	    ! grep -qx 'HEXTANT_TIFF_MINGW:PATH=$(TIFF_MINGW)' $(WINDOWS_BUILD_DIR)/CMakeCache.txt; then \
	  cmake -S . -B $(WINDOWS_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	    -DHEXTANT_QT_MINGW=$(QT_MINGW) -DHEXTANT_TIFF_MINGW=$(TIFF_MINGW) -DHEXTANT_WINDOW=ON \
	    -DHEXTANT_NATIVE_CONVERT=$(abspath $(BUILD_DIR))/src/app/hextant-convert $(CMAKE_FLAGS); \
	fi

windows-build: windows-configure
	cmake --build $(WINDOWS_BUILD_DIR) -j $(JOBS)

# wine_prefix: one Wine server for the whole run, started with Wine's own services before any
# program, so that no program meets a server that is shutting down and no service holds a test's
# output; the build folder's Wine prefix is created on first use.
define wine_prefix
mkdir -p $(WINDOWS_BUILD_DIR)/wine && $(WINE_ENV) wineserver -p
	@[ -f $(WINDOWS_BUILD_DIR)/wine/system.reg ] || \
	  $(WINE_ENV) wineboot --init > $(WINDOWS_BUILD_DIR)/wineboot.log 2>&1 || \
	  { cat $(WINDOWS_BUILD_DIR)/wineboot.log; $(WINE_ENV) wineserver -k; exit 1; }
	@$(WINE_ENV) wine cmd /c exit > /dev/null 2>&1 < /dev/null
endef

windows: build windows-build
	@$(call wine_prefix)
	@ctest --test-dir $(WINDOWS_BUILD_DIR) --output-on-failure -j $(JOBS); status=$$?; \
	$(WINE_ENV) wineserver -k; exit $$status

# A .deb of the native build, a .zip and the installer (.msi) of the Windows build, all in
# $(BUILD_DIR)/packages/.
package: package-deps build windows-build
	cd $(BUILD_DIR) && cpack -B $(abspath $(BUILD_DIR))/packages
	cd $(WINDOWS_BUILD_DIR) && cpack -B $(abspath $(BUILD_DIR))/packages
	cp $(WINDOWS_BUILD_DIR)/hextant-*-windows-x86_64.msi $(BUILD_DIR)/packages/
	@rm -rf $(BUILD_DIR)/packages/_CPack_Packages
	@ls -l $(BUILD_DIR)/packages

install: build
	cmake --install $(BUILD_DIR) --prefix $(or $(PREFIX),/usr/local)

format:
	git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(BUILD_DIR)-bench $(TSAN_BUILD_DIR) $(WINDOWS_BUILD_DIR)
