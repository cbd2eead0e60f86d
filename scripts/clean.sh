#!/usr/bin/env bash
# make clean: removes build trees of this project, and nothing else.
# Usage: scripts/clean.sh [--keep-config] DIR [[--keep-config] DIR ...]
#   --keep-config keeps the player's settings, DIR/bin/config.cfg.
# A folder is removed only when it holds the CMakeCache.txt of an Emberhaunt
# build and does not hold the sources; any other folder is left as it is,
# with a line saying why, and the exit code is 1. An absent folder, or one
# that holds only the settings it keeps, is quietly left alone; a link is
# refused, as what it leads to is not what the name says.
set -uo pipefail
unset CDPATH  # cd must go where it is told, and say nothing

root=$(cd "$(dirname "$0")/.." && pwd -P)
status=0
keep=0
for arg in "$@"; do
  if [ "$arg" = --keep-config ]; then keep=1; continue; fi
  dir=$arg
  while [ "${dir%/}" != "$dir" ] && [ "$dir" != / ]; do dir=${dir%/}; done
  [ -z "$dir" ] && dir=/
  kept=$keep
  keep=0
  [ -e "$dir" ] || [ -L "$dir" ] || continue
  if [ -L "$dir" ]; then
    echo "make clean: $arg is a link; name the folder it leads to; nothing deleted"
    status=1
    continue
  fi
  if [ ! -d "$dir" ]; then
    echo "make clean: $arg is not a folder; left as it is"
    status=1
    continue
  fi
  real=$(cd "$dir" && pwd -P)
  case "$root/" in
    "${real%/}"/*)
      echo "make clean: $arg holds the sources (and .git); nothing deleted there"
      status=1
      continue ;;
  esac
  if [ "$kept" -eq 1 ] && [ -z "$(find "$dir" -mindepth 1 ! -path "$dir/bin" ! -path "$dir/bin/config.cfg" -print -quit)" ]; then
    continue  # nothing but the settings
  fi
  if ! grep -qx 'CMAKE_PROJECT_NAME:STATIC=Emberhaunt' "$dir/CMakeCache.txt" 2>/dev/null; then
    echo "make clean: $arg is not a build tree of this game (no CMakeCache.txt of an Emberhaunt build); nothing deleted there"
    status=1
    continue
  fi
  if [ "$kept" -eq 1 ]; then
    find "$dir" -depth -mindepth 1 ! -path "$dir/bin" ! -path "$dir/bin/config.cfg" -delete || status=1
  else
    rm -rf "$dir" || status=1
  fi
done
exit "$status"
