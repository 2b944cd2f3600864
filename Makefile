# The two set-up commands: `make run` and `make test`. Both install what is missing first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 60
MONKEY_ACTIONS ?= 100000
MONKEY_SEED ?= 1

.PHONY: deps build test test-asan check-package package run monkey fuzz bench format format-check clean

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLAPWERK_WERROR=ON
	cmake --build $(BUILD) -j$(JOBS)

test: format-check build test-asan check-package
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# Every test again, built with the address and undefined-behaviour sanitizers, at -O1 as the
# sanitizers' own guide advises: Boost.Geometry's templates unoptimised make the layout check
# and the monkey test that runs it after every action tens of times slower.
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
	  -DLAPWERK_SANITIZE=ON -DLAPWERK_BENCH=OFF -DLAPWERK_WERROR=ON
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j$(JOBS)

# The Debian package, $(BUILD)/lapwerk_VERSION_ARCH.deb.
package: build
	cmake --build $(BUILD) --target package

# The package's contents, and its programs and manual pages run from a temporary folder.
check-package: package
	scripts/check-package.sh $(BUILD)

run: build
	@scripts/run-designer.sh $(BUILD)

# The monkey test of the window for longer than make test runs it (2,000 actions there); Qt
# Test's watchdog gets a day instead of five minutes.
monkey: build
	cd $(BUILD) && MONKEY_ACTIONS=$(MONKEY_ACTIONS) MONKEY_SEED=$(MONKEY_SEED) \
	  QTEST_FUNCTION_TIMEOUT=86400000 QT_QPA_PLATFORM=offscreen tests/ui/monkey_test

bench: build
	$(BUILD)/bench/lapwerk_bench

fuzz: deps
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DLAPWERK_FUZZ=ON -DLAPWERK_SANITIZE=ON -DLAPWERK_WITH_QT=OFF -DLAPWERK_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target lapwerk_fuzzers
	scripts/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

format:
	clang-format -i $$(git ls-files '*.h' '*.cpp')

# Fails on any source file that clang-format would change.
format-check: deps
	clang-format --dry-run -Werror $$(git ls-files '*.h' '*.cpp')

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
