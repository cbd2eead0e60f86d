#!/usr/bin/env bash
# The long soak: every session of tests/soak/LongSoak.cpp in its own
# process, JOBS at a time, then the table of what they played.
# Usage: scripts/soak.sh SOAK_BINARY JOBS SECONDS_PER_PLAY
# Each session's output stays in BUILD/tests/soak-work/session-K.txt.
set -uo pipefail

bin=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
jobs=$2
seconds=$3
work=$(dirname "$bin")/soak-work
rm -rf "$work"
mkdir -p "$work"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export SDL_AUDIODRIVER=dummy

sessions=$("$bin" --sessions) || exit 1
echo "soak: $sessions sessions, $seconds s of play per stage and player count, $jobs at a time"
start=$(date +%s)
seq 0 $((sessions - 1)) | xargs -P "$jobs" -I{} sh -c \
  '"$0" --session {} --seconds "$1" > "$2/session-{}.txt" 2>&1 || echo {} >> "$2/failed"' \
  "$bin" "$seconds" "$work"
echo "soak: $(( $(date +%s) - start )) s of wall time"

"$bin" --report "$work"/session-*.txt
status=$?
if [ -s "$work/failed" ]; then
  for k in $(sort -n "$work/failed"); do
    echo "--- session $k failed; the end of $work/session-$k.txt:"
    tail -n 40 "$work/session-$k.txt"
  done
  exit 1
fi
exit $status
