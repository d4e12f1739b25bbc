# make run   set up, build and start the course
# make test  set up, build and run every test headless
BUILD := build
JOBS := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all setup build run test pictures clean

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

pictures: build
	cmake --build $(BUILD) --target pictures

clean:
	rm -rf $(BUILD)
