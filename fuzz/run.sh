#!/usr/bin/env bash
# Runs every fuzz target for a bounded time, a few at once, seeded from the
# shipped files of the fuzz build (config.cfg, filepaths.cfg, the small .bmp
# files, the icon) and the committed corpus. New inputs collect in
# BUILD/fuzz-work/corpus; anything that crashes, leaks, hangs or runs out of
# memory lands in BUILD/fuzz-work/findings and fails the run.
# Usage: fuzz/run.sh BUILD SECONDS JOBS [TARGET[:SECONDS]...]
set -euo pipefail

build=$(cd "$1" && pwd)
seconds=$2
jobs=$3
shift 3
here=$(cd "$(dirname "$0")" && pwd)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(ini_read ini_write bmp icon filepaths)
bin=$build/bin
work=$build/fuzz-work

# Splits an INI file into pieces of a few sections each: small inputs run
# many times faster, and the fuzzer combines pieces by itself.
split_sections() {  # file, sections per piece, output prefix
  awk -v per="$2" -v out="$3" '
    /^\[/ { if (n++ % per == 0) { piece++ } }
    { if (piece) print > (out "-" piece ".cfg") }' "$1"
}

seed() {
  rm -rf "$work/seeds"
  mkdir -p "$work/seeds"/{ini_read,ini_write,bmp,icon,filepaths}
  split_sections "$bin/config.cfg" 4 "$work/seeds/ini_read/config"
  split_sections "$bin/filepaths.cfg" 8 "$work/seeds/ini_read/filepaths"

  # section NUL key NUL value NUL file
  local i=0
  for f in "$work"/seeds/ini_read/config-*.cfg; do
    i=$((i + 1))
    case $((i % 4)) in
      0) printf '%s\0%s\0%s\0' video fullscreen 1 ;;
      1) printf '%s\0%s\0%s\0' player2keys up 17 ;;
      2) printf '%s\0%s\0%s\0' multiplayer playerSpeed 35 ;;
      3) printf '%s\0%s\0%s\0' "new section" newKey " 'quoted' " ;;
    esac | cat - "$f" > "$work/seeds/ini_write/$(basename "$f")"
  done

  find "$bin" -name '*.bmp' -size -4k -exec cp {} "$work/seeds/bmp/" \;
  cp "$bin"/*.ico "$work/seeds/icon/"

  # The shipped sets, each frame pointing at one of the harness's images.
  awk 'BEGIN { n = split("a.bmp b.bmp c.bmp img/d.bmp font.bmp", img, " ") }
       /^frame[0-9]+=/ { sub(/=.*/, "=" img[(i++ % n) + 1]) } { print }' \
    "$bin/filepaths.cfg" > "$work/filepaths-local.cfg"
  split_sections "$work/filepaths-local.cfg" 6 "$work/seeds/filepaths/sets"
  # The menu's sections alone: the menu is drawn only once all of them load.
  awk '/^\[/ { keep = /^\[(fontsmall|menuCursor|menuTitle|intro[A-Za-z0-9]*|back[A-Za-z0-9]*|[a-z]*introVS|[a-z]*background|gameintro)\]/ } keep' \
    "$work/filepaths-local.cfg" > "$work/seeds/filepaths/menu.cfg"
}

run_one() {
  local t=$1 seconds=$2
  local dict=() max_len=4096
  case $t in
    ini_*) dict=(-dict="$here/dict/ini.dict") ;;
    filepaths) dict=(-dict="$here/dict/filepaths.dict") ;;
    bmp) dict=(-dict="$here/dict/bmp.dict") ;;
    icon) max_len=8192 ;;  # the shipped icon is just over 4 KB
  esac
  local extra=()
  for d in "$here/corpus/$t" "$here/regressions/$t"; do
    [ -d "$d" ] && extra+=("$d")
  done
  mkdir -p "$work/corpus/$t" "$work/findings/$t"
  "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="$max_len" \
    -print_final_stats=1 -artifact_prefix="$work/findings/$t/" "${dict[@]}" \
    "$work/corpus/$t" "$work/seeds/$t" "${extra[@]}" > "$work/$t.log" 2>&1 || true
}

seed
echo "Fuzzing ${targets[*]} (${seconds}s each unless given), $jobs at a time; logs in $work"
running=0
names=()
for spec in "${targets[@]}"; do
  t=${spec%%:*}
  names+=("$t")
  time=$seconds
  [ "$spec" != "$t" ] && time=${spec#*:}
  run_one "$t" "$time" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n
    running=$((running - 1))
  fi
done
wait

failed=0
for t in "${names[@]}"; do
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$t.log" | tail -1)
  found=$(find "$work/findings/$t" -type f | wc -l)
  echo "$t: ${runs:-?} runs, $found findings"
  [ "$found" -eq 0 ] && [ -n "$runs" ] || failed=1
done
[ "$failed" -eq 0 ] || echo "See $work/findings and the logs there; every finding needs a fix and a regression input."
exit "$failed"
