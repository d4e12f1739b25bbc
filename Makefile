# make run   set up, build the course and start it
# make test  set up, build and run every test headless
# make bench set up, build and measure switching, start-up, memory and the sweep (headless)
# make course        the course alone, as installed: build/bin/ (no tests, no benchmarks)
# make package       the Debian package build/lumora_<version>_<arch>.deb, from the course alone
# make package-test  the package unpacked into a scratch root and its course started (Xvfb)
# make screenshots   every page under Xvfb and openbox, and three at 150 %, 200 % and full screen,
#                    into docs/screenshots/
# make windows       the course for Windows, cross-built: build-windows/Lumora/, its zip and the
#                    installer build-windows/Lumora-<version>-win64.exe (Qt for Windows built once)
# make windows-test  its tests under Wine
# make web           the course for the browser: build-web/site/, its zip and the single file
#                    build-web/lumora.html (Qt for WebAssembly built once)
# make web-test      its tests in headless Chromium
# make web-bench     its sizes and times in headless Chromium, beside the desktop's
BUILD := build
WINDOWS := build-windows
WEB := build-web
JOBS := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all setup configure build course run test bench pictures package package-test \
	screenshots clean windows windows-test web web-test web-bench

all: build

# The packages are checked again only when the list of them changes.
setup: $(BUILD)/.setup
$(BUILD)/.setup: scripts/setup.sh
	@scripts/setup.sh
	@mkdir -p $(BUILD) && touch $@

$(BUILD)/CMakeCache.txt: | setup
	cmake --preset default

configure: setup $(BUILD)/CMakeCache.txt

build: configure
	cmake --build --preset default -j $(JOBS)

# What the package holds: the course, the animation program, the pictures, the icon and the
# documents (the CMake target `course`, packaging/CMakeLists.txt).
course: configure
	cmake --build --preset default -j $(JOBS) --target course

run: course
	cd $(BUILD)/bin && ./lumora

test: build
	ctest --preset default -j $(JOBS)

bench: build
	@test -x $(BUILD)/bench/lumora_bench || \
	  { echo "no $(BUILD)/bench/lumora_bench: Google Benchmark (libbenchmark-dev) is missing"; exit 1; }
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen bench/lumora_bench

pictures: configure
	cmake --build $(BUILD) --target pictures

# CPack installs what `course` built and builds nothing more (CMAKE_SKIP_PACKAGE_ALL_DEPENDENCY).
package: course
	cmake --build --preset default --target package

package-test: package
	packaging/package_test.sh $(BUILD)/bin --deb $$(ls -t $(BUILD)/lumora_*.deb | head -n 1)

screenshots: course
	scripts/screenshots.sh $(BUILD)/bin/lumora docs/screenshots
	scripts/screenshots_scaled.sh $(BUILD)/bin/lumora docs/screenshots

# The pictures are drawn by the generator of the build for this machine. Configured every time:
# the Qt for Windows in use follows its configure line (scripts/windows-qt.sh), and a build
# against another Qt is configured afresh (CMake reads a toolchain only the first time).
windows: course
	@scripts/setup.sh windows
	qt=$$(scripts/windows-qt.sh) && \
	  fresh=$$(test "$$(cat $(WINDOWS)/.lumora-qt 2>/dev/null)" = "$$qt" || echo --fresh) && \
	  LUMORA_QT_WINDOWS=$$qt cmake --preset windows $$fresh && echo "$$qt" > $(WINDOWS)/.lumora-qt
	cmake --build --preset windows -j $(JOBS)
	cmake --build --preset windows --target portable installer

windows-test: windows
	tests/windows/run.sh $(BUILD) $(WINDOWS)

# Configured every time, like the Windows build: the Qt in use follows its configure line. Of the
# build for this machine it needs only the pictures and the icon; its tests also the course.
web: configure
	cmake --build --preset default --target assets icon -j $(JOBS)
	@scripts/setup.sh web
	qt=$$(scripts/web-qt.sh) && emsdk=$$(scripts/web-qt.sh --emsdk) && \
	  fresh=$$(test "$$(cat $(WEB)/.lumora-qt 2>/dev/null)" = "$$qt" || echo --fresh) && \
	  LUMORA_QT_WEB=$$qt EMSDK=$$emsdk NODE_PATH=/usr/share/nodejs cmake --preset web $$fresh && \
	  echo "$$qt" > $(WEB)/.lumora-qt
	EMSDK=$$(scripts/web-qt.sh --emsdk) NODE_PATH=/usr/share/nodejs \
	  cmake --build --preset web -j $(JOBS)

web-test: build web
	tests/web/run.sh test $(BUILD) $(WEB)

web-bench: build web
	tests/web/run.sh bench $(BUILD) $(WEB)

clean:
	rm -rf $(BUILD) $(WINDOWS) $(WEB)
