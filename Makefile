# make run   set up, build and start the course
# make test  set up, build and run every test headless
# make bench set up, build and measure switching, start-up, memory and the sweep (headless)
# make package       the Debian package build/lumora_<version>_<arch>.deb
# make package-test  the package unpacked into a scratch root and its course started (Xvfb)
# make screenshots   every page under Xvfb and openbox, and three at 150 %, 200 % and full screen,
#                    into docs/screenshots/
BUILD := build
JOBS := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all setup build run test bench pictures package package-test screenshots clean

all: build

# The packages are checked again only when the list of them changes.
setup: $(BUILD)/.setup
$(BUILD)/.setup: scripts/setup.sh
	@scripts/setup.sh
	@mkdir -p $(BUILD) && touch $@

$(BUILD)/CMakeCache.txt: | setup
	cmake --preset default

build: setup $(BUILD)/CMakeCache.txt
	cmake --build --preset default -j $(JOBS)

run: build
	cd $(BUILD)/bin && ./lumora

test: build
	ctest --preset default -j $(JOBS)

bench: build
	@test -x $(BUILD)/bench/lumora_bench || \
	  { echo "no $(BUILD)/bench/lumora_bench: Google Benchmark (libbenchmark-dev) is missing"; exit 1; }
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen bench/lumora_bench

pictures: build
	cmake --build $(BUILD) --target pictures

package: build
	cmake --build $(BUILD) --target package

package-test: package
	packaging/package_test.sh $(BUILD)/bin --deb $$(ls -t $(BUILD)/lumora_*.deb | head -n 1)

screenshots: build
	scripts/screenshots.sh $(BUILD)/bin/lumora docs/screenshots
	scripts/screenshots_scaled.sh $(BUILD)/bin/lumora docs/screenshots

clean:
	rm -rf $(BUILD)
