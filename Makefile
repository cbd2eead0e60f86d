# Emberhaunt: every target does its own set-up on a fresh Debian machine.
#   make play   install what is missing, build, run the game
#   make test   install what is missing, build with sanitizers, run every test
#   make bench  build optimised, run the benchmarks and the idle-cost script
#   make fuzz   build the fuzz targets with clang and run each for FUZZ_SECONDS
#   make soak   play every stage for hours of simulated time under the sanitizers
#   make mutants  check that the tests catch each deliberate fault of tests/mutants/
#   make replay-digests  rewrite the expected end states of the recorded replays
#   make replay-record   record the replays anew with the bots (tests/replay/README.md)
#   make clean  remove every build tree but the player's settings, build/bin/config.cfg
#   make help   print this list (so does make alone)
# JOBS=N limits builds and tests to N cores (default: all of them).

JOBS ?= $(shell nproc)
BUILD ?= build
TEST_BUILD ?= build-test
FUZZ_BUILD ?= build-fuzz
# Seconds each fuzz target runs, and how many run at once.
FUZZ_SECONDS ?= 300
FUZZ_JOBS ?= $(shell n=$$(nproc); [ $$n -gt 3 ] && n=3; echo $$n)
# Seconds of play each stage gets per number of players and key source, and
# how many sessions run at once.
SOAK_SECONDS ?= 45
SOAK_JOBS ?= $(JOBS)

.PHONY: help play test bench fuzz soak mutants replay-digests replay-record build build-test build-fuzz deps-play deps-test deps-fuzz clean

# The list at the head of this file.
help:
	@sed -n '/^$$/q; s/^# \{0,1\}//p' $(firstword $(MAKEFILE_LIST))

deps-play:
	@scripts/install-deps.sh play

deps-test:
	@scripts/install-deps.sh test

deps-fuzz:
	@scripts/install-deps.sh fuzz

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
	@# Without a display the ones that open a window run on a private Xvfb.
	@run=""; [ -n "$$DISPLAY" ] || run="xvfb-run -a"; \
	for b in build-bench/bench/*; do if [ -f "$$b" ] && [ -x "$$b" ]; then $$run "$$b" || exit 1; fi; done
	bench/idle_cost.sh --game build-bench/bin

build-fuzz: deps-fuzz
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DEMBERHAUNT_FUZZ=ON -DEMBERHAUNT_TESTS=OFF -DEMBERHAUNT_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target emberhaunt_fuzzers

fuzz: build-fuzz
	fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_JOBS)

REPLAYS = tests/replay/recorded
REPLAY_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 SDL_AUDIODRIVER=dummy

replay-digests: build-test
	$(REPLAY_ENV) $(TEST_BUILD)/tests/replay_tool digest $(REPLAYS)

# NAMES= limits it to some scenarios (e.g. NAMES="tutorial level5").
replay-record: build-test
	$(REPLAY_ENV) $(TEST_BUILD)/tests/replay_tool record $(REPLAYS) $(NAMES)

soak: build-test
	scripts/soak.sh $(TEST_BUILD)/tests/emberhaunt_soak $(SOAK_JOBS) $(SOAK_SECONDS)

mutants:
	@scripts/install-deps.sh mutants
	scripts/mutants.py -j $(JOBS)

# The player's settings, $(BUILD)/bin/config.cfg, stay; delete that file to
# go back to the shipped settings (the next build or start puts them back).
# Only build trees of this game go (scripts/clean.sh says why it leaves any
# other folder); build-mutants is make mutants' own scratch folder.
clean:
	@rm -rf build-mutants
	@scripts/clean.sh --keep-config "$(BUILD)" "$(TEST_BUILD)" "$(FUZZ_BUILD)" build-bench
