#!/usr/bin/env bash
# Runs the tests of one test program together in one process, in an order
# of their own. CTest runs every test alone, so a test that passes only after
# another one (or fails only after it) shows nowhere else, until a tool runs
# the programs whole or in shards (make mutants does). make test runs every
# program this way with a fixed seed, so that a failure comes back on every
# run and on every machine.
#
# Usage: scripts/test-order.sh [--sample N] [--limit SECONDS] PROGRAM SEED [SHARES INDEX]
#   SEED 0 keeps the order of the source; 1 to 99999 shuffles with that seed
#   (gtest shuffles the suites, and the tests within each suite).
#   --sample N keeps N instances of each parameterised test that has more,
#   spread over its instances from an offset the seed chooses. Each instance
#   sets up all of its state, so a hundred of them add little to a search
#   for dependencies between tests, and much to its time; CTest still runs
#   every one alone.
#   SHARES and INDEX run only that share of the tests: the INDEXth of SHARES
#   runs of neighbouring tests in source order, so that a suite and the
#   suites beside it mostly run together, cut where each holds about as much
#   of the time as the others by the figures of tests/order-costs.txt (a
#   test that has none counts as a short one). gtest's own sharding
#   (GTEST_TOTAL_SHARDS, GTEST_SHARD_INDEX), as make mutants uses it, passes
#   through.
#   --limit SECONDS (make mutants' clean run) ends the program and its
#   process group (what it started, unless that left the group) when it runs
#   longer, and names the test it was in. Without it the program runs in the
#   foreground, its output shown as it comes, and CTest's time-out holds.
set -uo pipefail

sample=0
limit=0
costs="$(dirname "$0")/../tests/order-costs.txt"
again="$0"
while [ $# -gt 0 ]; do
  case "$1" in
    --sample) sample=$2; again+=" $1 $2"; shift 2 ;;
    --limit) limit=$2; again+=" $1 $2"; shift 2 ;;
    *) break ;;
  esac
done
[[ $sample =~ ^[0-9]+$ && $limit =~ ^[0-9]+$ ]] || { echo "Order check: --sample and --limit take whole numbers"; exit 2; }
program=$1
seed=$2
shares=${3:-1}
index=${4:-0}
again+=" $program $seed $shares $index"

args=()
[ "$seed" != 0 ] && args+=(--gtest_shuffle "--gtest_random_seed=$seed")
if [ "$shares" -gt 1 ] || [ "$sample" -gt 0 ]; then
  # A program that cannot even list its tests must not pass as a share
  # without any.
  listing=$("$program" --gtest_list_tests) || { echo "Order check: $program could not list its tests"; exit 1; }
  # "Suite." lines, then "  test" lines (with "  # GetParam() = ..." after
  # the name of a parameterised one, whose name ends in "/instance"). The
  # instances of one test form a group; any other test is a group alone.
  filter=$(awk -v keep="$sample" -v seed="$seed" -v shares="$shares" -v share="$index" -v costs="$costs" '
    BEGIN {
      n = 0
      while ((getline line < costs) > 0) if (line ~ /^[0-9]/) { split(line, f, " "); cost[f[2]] = f[1] }
    }
    /^[^ ]/ { suite = $1; next }
    {
      key = suite $1
      if (index($1, "/")) sub(/\/[^\/]*$/, "", key)
      if (key != last) { groups[g++] = key; last = key }
      member[key, size[key]++] = suite $1
    }
    END {
      for (i = 0; i < g; i++) {
        key = groups[i]
        m = size[key]
        split("", picked)
        if (keep > 0 && m > keep) {
          printf "Order check: %d of the %d instances of %s\n", keep, m, key > "/dev/stderr"
          for (k = 0; k < keep; k++) picked[(seed + int(k * m / keep)) % m] = 1
        }
        for (j = 0; j < m; j++) {
          if (keep > 0 && m > keep && !(j in picked)) continue
          names[n] = member[key, j]
          w[n] = cost[key] > 0 ? cost[key] : 0.05
          total += w[n++]
        }
      }
      # The INDEXth run of neighbouring tests holding about 1/SHARES of the time.
      for (i = 0; i < n; i++) {
        if (int((sum + w[i] / 2) * shares / total) == share) out = out (out == "" ? "" : ":") names[i]
        sum += w[i]
      }
      print out
    }' <<< "$listing")
  # A share cut too thin must not pass without checking anything.
  [ -z "$filter" ] && { echo "Order check: share $index of $shares holds no test: fewer shares, or mend tests/order-costs.txt"; exit 1; }
  args+=("--gtest_filter=$filter")
fi

for v in GTEST_TOTAL_SHARDS GTEST_SHARD_INDEX SDL_AUDIODRIVER SDL_VIDEODRIVER ASAN_OPTIONS UBSAN_OPTIONS; do
  [ -n "${!v:-}" ] && again="$v=${!v} $again"
done
echo "Running $(basename "$program"), share $index of $shares, seed $seed, all in one process"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
run=()
if [ "$limit" -eq 0 ]; then
  "$program" "${args[@]}" 2>&1 | tee "$log"
  rc=${PIPESTATUS[0]}
else
  # timeout puts the program in a process group of its own and ends the
  # whole group at the limit, so that nothing the test started lives on; a
  # program that ignores the polite signal gets SIGKILL ten seconds later.
  # Out of the terminal's foreground group the program would not see a
  # Ctrl-C: it runs in the background, and an interrupt is passed on.
  run=(timeout -k 10 "$limit")
  started=$SECONDS
  "${run[@]}" "$program" "${args[@]}" > "$log" 2>&1 &
  pid=$!
  trap 'kill -TERM "$pid" 2>/dev/null; wait "$pid"; exit 130' INT TERM HUP
  wait "$pid"
  rc=$?
  trap - INT TERM HUP
  cat "$log"
fi
[ "$rc" -eq 0 ] && exit 0

# Which tests failed, and whether each fails on its own as well. A crash or
# a time-out names no failed test: the one started last and never finished
# is the culprit.
mapfile -t failed < <(sed -n 's/^\[  FAILED  \] \([^ ,]*\).*/\1/p' "$log" | grep -v '^[0-9]' | sort -u)
last=$(awk '/^\[ RUN      \]/ { t = $4 } /^\[       OK \]|^\[  FAILED  \]|^\[  SKIPPED \]/ { t = "" } END { print t }' "$log")
timedOut=0
# 137 is timeout's SIGKILL, or anything else's (the kernel's, short of
# memory): only the clock tells them apart.
if [ "$limit" -gt 0 ] && { [ "$rc" -eq 124 ] || { [ "$rc" -eq 137 ] && [ $((SECONDS - started)) -ge "$limit" ]; }; }; then
  timedOut=1
  echo "Order check: no end after $limit s${last:+, during $last}; the program and all it started were ended"
elif [ -n "$last" ]; then
  echo "Order check: the run ended with exit code $rc during $last"
  failed+=("$last")
fi
for t in "${failed[@]}"; do
  # After a time-out the caller's own deadline is near.
  if [ "$timedOut" -eq 1 ]; then
    echo "Order check: $t failed before the time-out; not tried alone."
  # Alone means alone: gtest's own sharding (make mutants) would skip it.
  elif env -u GTEST_TOTAL_SHARDS -u GTEST_SHARD_INDEX "${run[@]}" "$program" "--gtest_filter=$t" > /dev/null 2>&1; then
    echo "Order check: $t passes alone but failed here, after the tests before it: it depends on them."
  else
    echo "Order check: $t fails alone as well."
  fi
done
[ "$timedOut" -eq 1 ] && [ -n "$last" ] && echo "Order check: to try it alone: $program --gtest_filter=$last"
echo "To repeat (in $(pwd)): $again"
exit "$rc"
