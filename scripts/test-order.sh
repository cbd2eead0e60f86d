#!/usr/bin/env bash
# Runs the tests of one test program together in one process, in an order
# of their own. CTest runs every test alone, so a test that passes only after
# another one (or fails only after it) shows nowhere else, until a tool runs
# the programs whole or in shards (make mutants does). make test runs every
# program this way with a fixed seed, so that a failure comes back on every
# run and on every machine.
#
# Usage: scripts/test-order.sh PROGRAM SEED [SHARES INDEX]
#   SEED 0 keeps the order of the source; 1 to 99999 shuffles with that seed
#   (gtest shuffles the suites, and the tests within each suite).
#   SHARES and INDEX run only that share of the tests: the INDEXth of SHARES
#   runs of neighbouring tests in source order, so that a suite and the
#   suites beside it mostly run together. gtest's own sharding
#   (GTEST_TOTAL_SHARDS, GTEST_SHARD_INDEX), as make mutants uses it, passes
#   through.
set -uo pipefail

program=$1
seed=$2
shares=${3:-1}
index=${4:-0}

args=()
[ "$seed" != 0 ] && args+=(--gtest_shuffle "--gtest_random_seed=$seed")
if [ "$shares" -gt 1 ]; then
  # "Suite." lines, then "  test" lines (with "  # GetParam() = ..." after
  # the name for parameterised ones).
  mapfile -t tests < <("$program" --gtest_list_tests | awk '/^[^ ]/ { suite = $1 } /^  / { print suite $1 }')
  count=${#tests[@]}
  from=$((index * count / shares))
  to=$(((index + 1) * count / shares))
  filter=$(IFS=:; echo "${tests[*]:from:to-from}")
  [ -z "$filter" ] && { echo "Order check: share $index of $shares holds no test"; exit 0; }
  args+=("--gtest_filter=$filter")
fi

again="$0 $program $seed $shares $index"
for v in GTEST_TOTAL_SHARDS GTEST_SHARD_INDEX SDL_AUDIODRIVER SDL_VIDEODRIVER ASAN_OPTIONS UBSAN_OPTIONS; do
  [ -n "${!v:-}" ] && again="$v=${!v} $again"
done
echo "Running $(basename "$program"), share $index of $shares, seed $seed, all in one process"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
"$program" "${args[@]}" 2>&1 | tee "$log"
rc=${PIPESTATUS[0]}
[ "$rc" -eq 0 ] && exit 0

# Which tests failed, and whether each fails on its own as well. A crash
# names no failed test: the one started last and never finished is the
# culprit.
mapfile -t failed < <(sed -n 's/^\[  FAILED  \] \([^ ,]*\).*/\1/p' "$log" | grep -v '^[0-9]' | sort -u)
last=$(awk '/^\[ RUN      \]/ { t = $4 } /^\[       OK \]|^\[  FAILED  \]|^\[  SKIPPED \]/ { t = "" } END { print t }' "$log")
if [ -n "$last" ]; then
  echo "Order check: the run ended with exit code $rc during $last"
  failed+=("$last")
fi
for t in "${failed[@]}"; do
  # Alone means alone: gtest's own sharding (make mutants) would skip it.
  if env -u GTEST_TOTAL_SHARDS -u GTEST_SHARD_INDEX "$program" "--gtest_filter=$t" > /dev/null 2>&1; then
    echo "Order check: $t passes alone but failed here, after the tests before it: it depends on them."
  else
    echo "Order check: $t fails alone as well."
  fi
done
echo "To repeat (in $(pwd)): $again"
exit "$rc"
