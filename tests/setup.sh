#!/usr/bin/env bash
# scripts/run installs only what building and running need; scripts/setup --test adds
# the test desktops, X servers and compilers. apt-get, dpkg-query, sudo and id are
# stand-ins that record what they are asked and report nothing installed, so nothing
# is installed for real.
# usage: setup.sh SOURCE_DIR
set -euo pipefail
src=$1
failures=0 checks=0
check() { checks=$((checks + 1)); if "$@"; then echo "PASS: $*"; else echo "FAIL: $*"; failures=$((failures + 1)); fi; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
bin=$scratch/bin log=$scratch/log
mkdir -p "$bin"
printf '#!/bin/sh\necho "apt-get $*" >>"%s"\n' "$log" >"$bin/apt-get"
printf '#!/bin/sh\nexit 1\n' >"$bin/dpkg-query"
printf '#!/bin/sh\necho "sudo $1" >>"%s"\nexec "$@"\n' "$log" >"$bin/sudo"
printf '#!/bin/sh\necho 1000\n' >"$bin/id"
chmod +x "$bin"/*
export PATH="$bin:$PATH"

# A copy of the repository's scripts, with the build and the program as stand-ins.
repo=$scratch/repo
mkdir -p "$repo/scripts" "$repo/build"
cp "$src/scripts/run" "$src/scripts/setup" "$src/scripts/test" "$repo/scripts/"
printf '#!/bin/sh\necho "build $*" >>"%s"\n' "$log" >"$repo/scripts/build"
printf '#!/bin/sh\necho "daystride started" >>"%s"\n' "$log" >"$repo/build/daystride"
chmod +x "$repo/scripts/build" "$repo/build/daystride"

installed() { grep '^apt-get install' "$log" | tr ' ' '\n'; }
# Packages only the tests, benchmarks, screenshots and fuzzers need.
test_only='^(xvfb|xauth|weston|openbox|grim|xdotool|x11-utils|x11-xserver-utils|imagemagick|gnome-shell.*|sway|waybar|kwin-.*|xwayland|clang-.*|libfuzzer-.*|libbenchmark-dev|appstream|desktop-file-utils|faketime|libfaketime|i3lock|xscreensaver|xss-lock|xsecurelock)$'

# The README's command to build and start Daystride.
: >"$log"
"$repo/scripts/run" >/dev/null
check grep -qx 'daystride started' "$log"
check grep -qx 'sudo apt-get' "$log"
for p in qt6-base-dev cmake fonts-quicksand fonts-mplus qt6-wayland; do
    check grep -qx "$p" <(installed)
done
run_test_only=$(installed | grep -E "$test_only" | tr '\n' ' ' || true)
check test -z "$run_test_only"
[ -z "$run_test_only" ] || echo "scripts/run would install: $run_test_only"

# What scripts/test asks for.
check grep -q '^scripts/setup --test$' "$repo/scripts/test"
: >"$log"
"$repo/scripts/setup" --test >/dev/null
for p in qt6-base-dev fonts-quicksand xvfb weston openbox xdotool imagemagick gnome-shell sway \
    waybar kwin-wayland clang-14 libfuzzer-14-dev; do
    check grep -qx "$p" <(installed)
done

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
