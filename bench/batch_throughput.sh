#!/usr/bin/env bash
# Whole-process throughput of tarnel-run over many files: COPIES copies of the bundled
# examples in a scratch folder, analysed with --jobs JOBS; prints analyses per second.
#   bench/batch_throughput.sh [BUILD_DIR] [COPIES] [JOBS]
set -euo pipefail
build="${1:-build}" copies="${2:-500}" jobs="${3:-2}"
here="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
n=0
while [ "$n" -lt "$copies" ]; do
  for f in "$here"/examples/*.tn5d; do
    [ "$n" -lt "$copies" ] || break
    cp "$f" "$work/run-$n-$(basename "$f")"
    n=$((n + 1))
  done
done
start=$(date +%s.%N)
"$build/bin/tarnel-run" --quiet --jobs "$jobs" "$work" > /dev/null 2>&1 || true
end=$(date +%s.%N)
awk -v n="$n" -v s="$start" -v e="$end" 'BEGIN { printf "%d analyses in %.2f s: %.0f per second\n", n, e - s, n / (e - s) }'
