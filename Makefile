# Emberhaunt: every target does its own set-up on a fresh Debian machine.
#   make play   install what is missing, build, run the game
#   make test   install what is missing, build with sanitizers, run every test
#   make bench  build optimised and run the benchmarks
#   make mutants  check that the tests catch each deliberate fault of tests/mutants.txt
#   make replay-digests  rewrite the expected end states of the recorded replays
#   make replay-record   record the replays anew with the bots (tests/replay/README.md)

JOBS ?= $(shell nproc)
BUILD ?= build
TEST_BUILD ?= build-test

.PHONY: play test bench mutants replay-digests replay-record build build-test deps-play deps-test clean

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

REPLAYS = tests/replay/recorded
REPLAY_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 SDL_AUDIODRIVER=dummy

replay-digests: build-test
	$(REPLAY_ENV) $(TEST_BUILD)/tests/replay_tool digest $(REPLAYS)

# NAMES= limits it to some scenarios (e.g. NAMES="tutorial level5").
replay-record: build-test
	$(REPLAY_ENV) $(TEST_BUILD)/tests/replay_tool record $(REPLAYS) $(NAMES)

mutants:
	@scripts/install-deps.sh mutants
	scripts/mutants.py -j $(JOBS)

clean:
	rm -rf $(BUILD) $(TEST_BUILD) build-bench build-mutants
