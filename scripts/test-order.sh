#!/usr/bin/env bash
# Runs the tests of one test program together in one process, in an order
# of their own. CTest runs every test alone, so a test that passes only after
# another one (or fails only after it) shows nowhere else, until a tool runs
# the programs whole or in shards (make mutants does). make test runs every
# program this way with a fixed seed, so that a failure comes back on every
# run and on every machine.
#
# Usage: scripts/test-order.sh PROGRAM SEED [SHARDS INDEX]
#   SEED 0 keeps the order of the source; 1 to 99999 shuffles with that seed.
#   SHARDS and INDEX run only that share of the tests (gtest's sharding: the
#   tests are dealt out in source order, then shuffled within the share).
set -uo pipefail

program=$1
seed=$2
shards=${3:-1}
index=${4:-0}

args=(--gtest_brief=1)
[ "$seed" != 0 ] && args+=(--gtest_shuffle "--gtest_random_seed=$seed")
echo "Order check: $(basename "$program"), share $index of $shards, seed $seed"
GTEST_TOTAL_SHARDS=$shards GTEST_SHARD_INDEX=$index "$program" "${args[@]}"
rc=$?
if [ "$rc" -ne 0 ]; then
  echo "Order check failed: a test above depends on what ran before it in this process."
  echo "To repeat: cd $(pwd) && GTEST_TOTAL_SHARDS=$shards GTEST_SHARD_INDEX=$index $program ${args[*]}"
fi
exit "$rc"
