# make run   set up, build and start the course
# make test  set up, build and run every test headless
# make bench set up, build and measure switching, start-up, memory and the sweep (headless)
BUILD := build
JOBS := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all setup build run test bench pictures clean

all: build

setup:
	@scripts/setup.sh

$(BUILD)/CMakeCache.txt: | setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: setup $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/bin && ./lumora

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@test -x $(BUILD)/bench/lumora_bench || \
	  { echo "no $(BUILD)/bench/lumora_bench: Google Benchmark (libbenchmark-dev) is missing"; exit 1; }
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen bench/lumora_bench

pictures: build
	cmake --build $(BUILD) --target pictures

clean:
	rm -rf $(BUILD)
