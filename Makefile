# make run   - install what is missing, build (Release) and start the program
# make test  - install what is missing, build with the sanitizers and run every test
# make test-release - every test again in the Release build, where freed memory is reused at once
# make demo  - stand-in instruments on a pseudo-terminal linked as COM1, then the program
# make fuzz  - fuzz each decoder of outside bytes with fresh seeds, FUZZ_SECONDS a target
# make fuzz-ci - replay the fuzz seeds, then a fixed seed and a fixed number of runs a target
# make lint  - clang-tidy (.clang-tidy) and cppcheck over our own code; LINT_PATHS="ui forms"
#              limits it to some folders
# make format, make format-check - apply .clang-format to our sources, or fail where one is not
#              formatted; FORMAT_FILES="a.cpp b.h" limits them to some files
# make check-layers - fail where an include crosses the layers' directions

JOBS ?= $(shell nproc)
RELEASE_DIR := build/release
TEST_DIR := build/test
TSAN_DIR := build/tsan
LINT_DIR := build/lint
FORMAT_FILES = $(shell scripts/list-sources)
# The tests that exercise the logger thread, run a second time under ThreadSanitizer.
TSAN_TESTS := Logger*:LogAppender*

FUZZ_SECONDS ?= 600

.PHONY: all deps build run test test-release demo bench fuzz fuzz-ci lint format format-check check-layers clean

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

# clang with its libFuzzer is installed here only, as the analysers are for make lint.
FUZZ_DEPS := clang libclang-rt-14-dev

fuzz:
	@scripts/install-deps.sh $(FUZZ_DEPS)
	JOBS=$(JOBS) scripts/fuzz.sh long $(FUZZ_SECONDS)

fuzz-ci:
	@scripts/install-deps.sh $(FUZZ_DEPS)
	JOBS=$(JOBS) scripts/fuzz.sh ci

# The user guide's screenshots (docs/images), made again against the stand-in instruments.
.PHONY: screenshots
screenshots: deps
	cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQVUSB_TESTS=ON
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target screenshots
	scripts/screenshots.sh $(RELEASE_DIR)

# Only configured: the analysers need the compile commands, not the objects. The analysers are
# installed here only, so that make run and make test go without them.
lint:
	@scripts/install-deps.sh clang-tidy cppcheck python3
	cmake -S . -B $(LINT_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQVUSB_TESTS=ON
	cmake -S fuzz -B $(LINT_DIR)/fuzz -G Ninja -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
	scripts/lint.py $(LINT_DIR) -j $(JOBS) $(LINT_PATHS)

format:
	@scripts/install-deps.sh clang-format
	clang-format -i $(FORMAT_FILES)

format-check:
	@scripts/install-deps.sh clang-format
	clang-format --dry-run --Werror $(FORMAT_FILES)

check-layers:
	scripts/check-layers

clean:
	rm -rf build
