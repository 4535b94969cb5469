# make run   - install what is missing, build (Release) and start the program
# make test  - install what is missing, build with the sanitizers and run every test
# make test-release - every test again in the Release build, where freed memory is reused at once
# make demo  - stand-in instruments on a pseudo-terminal linked as COM1, then the program

JOBS ?= $(shell nproc)
RELEASE_DIR := build/release
TEST_DIR := build/test
TSAN_DIR := build/tsan
# The tests that exercise the logger thread, run a second time under ThreadSanitizer.
TSAN_TESTS := Logger*:LogAppender*

.PHONY: all deps build run test test-release demo bench clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQVUSB_TESTS=ON
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target qvusb tdrsim

run: build
	cd $(RELEASE_DIR) && ./qvusb

test: deps
	cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQVUSB_SANITIZE=ON
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 300
	cmake -S . -B $(TSAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQVUSB_TSAN=ON
	cmake --build $(TSAN_DIR) -j $(JOBS) --target unit_tests
	cd $(TSAN_DIR) && TSAN_OPTIONS="halt_on_error=1" ./tests/unit_tests --gtest_filter='$(TSAN_TESTS)'

test-release: deps
	cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQVUSB_TESTS=ON
	cmake --build $(RELEASE_DIR) -j $(JOBS)
	cd $(RELEASE_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 300

demo: build
	scripts/demo.sh $(RELEASE_DIR) $(DEVICES)

bench: deps
	cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQVUSB_TESTS=ON
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target exchange_bench log_bench
	$(RELEASE_DIR)/exchange_bench
	QT_QPA_PLATFORM=offscreen $(RELEASE_DIR)/log_bench

# The user guide's screenshots (docs/images), made again against the stand-in instruments.
.PHONY: screenshots
screenshots: deps
	cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQVUSB_TESTS=ON
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target screenshots
	scripts/screenshots.sh $(RELEASE_DIR)

clean:
	rm -rf build
