#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
# Usage: scripts/install-deps.sh play|test|fuzz|mutants
set -euo pipefail

want=(cmake g++ make pkg-config libsdl2-dev libsdl2-mixer-dev libsimpleini-dev libicu-dev)
case "${1:-play}" in
  test) want+=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool xauth python3) ;;
  mutants) want+=(libgtest-dev libgmock-dev python3) ;;
  # libFuzzer and the sanitizer runtimes come with clang's runtime package.
  fuzz) want+=(clang libclang-rt-14-dev) ;;
esac

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
