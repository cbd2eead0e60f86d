# Emberhaunt: every target does its own set-up on a fresh Debian machine.
#   make play   install what is missing, build, run the game
#   make test   install what is missing, build with sanitizers, run every test
#   make bench  build optimised, run the benchmarks and the idle-cost script

JOBS ?= $(shell nproc)
BUILD ?= build
TEST_BUILD ?= build-test

.PHONY: play test bench build build-test deps-play deps-test clean

deps-play:
	@scripts/install-deps.sh play

deps-test:
	@scripts/install-deps.sh test

build: deps-play
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DEMBERHAUNT_TESTS=OFF -DEMBERHAUNT_BENCH=OFF
	cmake --build $(BUILD) -j $(JOBS)

play: build
	cd $(BUILD)/bin && ./emberhaunt

build-test: deps-test
	cmake -S . -B $(TEST_BUILD) -DCMAKE_BUILD_TYPE=Debug -DEMBERHAUNT_SANITIZE=ON -DEMBERHAUNT_BENCH=OFF
	cmake --build $(TEST_BUILD) -j $(JOBS)

test: build-test
	cd $(TEST_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  SDL_AUDIODRIVER=dummy ctest --output-on-failure -j $(JOBS) --timeout 300

bench: deps-test
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DEMBERHAUNT_TESTS=OFF
	cmake --build build-bench -j $(JOBS)
	@for b in build-bench/bench/*; do if [ -f "$$b" ] && [ -x "$$b" ]; then "$$b" || exit 1; fi; done
	bench/idle_cost.sh --game build-bench/bin

clean:
	rm -rf $(BUILD) $(TEST_BUILD) build-bench
