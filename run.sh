#!/usr/bin/env bash
# Installs what is missing, builds, and runs the program on a bundled example: the
# window when a display exists, otherwise the analysis of the example from the command
# line with a short summary.
set -euo pipefail
# Cache hits across clones in other folders (CI builds a fresh clone elsewhere).
export CCACHE_BASEDIR="$(cd "$(dirname "$0")" && pwd)" CCACHE_NOHASHDIR=true
cd "$(dirname "$0")"
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"

example="${1:-examples/cantilever-user-load.tn5d}"
work="$(mktemp -d)"
cp "$example" "$work/"
data="$work/$(basename "$example")"
if [ -n "${DISPLAY:-}" ] && [ -x build/bin/Tarnel2015 ]; then
  echo "Opening $example (a copy in $work)"
  exec build/bin/Tarnel2015 "$data"
fi
build/bin/tarnel-run "$data"
