#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and UBSan) and runs each for
# SECONDS (default 300), two at a time, from its corpus: the seeds made from examples/ and
# the model's test data, the inputs earlier runs kept (build-fuzz/corpus/, not versioned)
# and the saved inputs of fixed findings (fuzz/regressions/). A finding stops its target
# and is saved as build-fuzz/findings/<target>-crash-..., and the script fails.
#   fuzz/run.sh [SECONDS] [TARGET...]
#     targets: engine names data_file stage_files curve_text evaluator plot_file
# Prints per target: executions, executions per second, coverage (edges) and the total.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-300}"
shift || true
targets=("$@")
((${#targets[@]})) || targets=(engine names data_file stage_files curve_text evaluator plot_file)
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=true
build="$root/build-fuzz"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNEL_FUZZ=ON \
      -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" --target $(printf 'fuzz_%s ' "${targets[@]}") -j "$(nproc)"

# Seeds: the examples and the old-layout test data, with the selector byte some targets
# read first (layout code, stage count, field limits).
seeds="$build/seeds"
rm -rf "$seeds"
mkdir -p "$seeds"/{engine,names,data_file,stage_files,curve_text,evaluator,plot_file}
data_files=("$root"/examples/*.tn5d "$root"/app/model/testdata/*)
for f in "${data_files[@]}"; do
  n="$(basename "$f")"
  cp "$f" "$seeds/engine/$n"
  case "$n" in
    *.tn5d) codes="0" ;; *.tn4d) codes="1" ;; *.tnd) codes="2 3 4" ;; *) codes="0" ;;
  esac
  for c in $codes; do { printf "\\x0$c"; cat "$f"; } >"$seeds/data_file/$c-$n"; done
  for c in 0 1 2 4 12; do { printf "\\x$(printf %02x $c)"; cat "$f"; } >"$seeds/stage_files/$c-$n"; done
done
# Plot files the engine wrote for some examples (fuzz/seeds/), for English and SI projects.
for f in "$root"/fuzz/seeds/plot_file/*; do
  for u in 0 1; do { printf "\\x0$u"; cat "$f"; } >"$seeds/plot_file/$u-$(basename "$f")"; done
done
printf '2015.5.22\r\nwall.tn5d\r\nwall.tn5o\r\nwall.tn5p\r\nwall.tn5r\r\n' >"$seeds/names/complete"
printf '2015.5.22\r\nwall.tn5d\r\nwall.tn5o\r\n' >"$seeds/names/short"
printf '\x00-2.5 1500\r\n0 0\r\n0.5,-1500\r\n1.2\t-2000\r\n' >"$seeds/curve_text/py"
printf '\x01 1E6 5E10\n2E6 4E10\n3E6 3E10\n' >"$seeds/curve_text/mei"
i=0
for e in '3*12+6' 'sqrt(2)/2' 'pi/4' '$FF' '5!' '2^-3' '-(1.5E3)%7' 'ln(0)' '1/0' 'arccos(2)' \
         '10&3|4' '1=1' 'round(2.5)+frac(-1.25)' 'cosh(800)' '170!'; do
  printf '\x0%d%s' $((i % 8)) "$e" >"$seeds/evaluator/$i"
  i=$((i + 1))
done

dict() {
  case "$1" in
    engine|data_file) echo "$root/fuzz/dict/records.dict" ;;
    *) echo "$root/fuzz/dict/$1.dict" ;;
  esac
}

run_one() {
  local t=$1 corpus="$build/corpus/$1" log="$build/logs/$1.log"
  mkdir -p "$corpus" "$build/findings"
  local regressions=() max_len=8192
  [ "$t" = plot_file ] && max_len=20000
  [ -d "$root/fuzz/regressions/$t" ] && regressions=("$root/fuzz/regressions/$t")
  ASAN_OPTIONS="quarantine_size_mb=16:detect_leaks=1:${ASAN_OPTIONS:-}" \
  UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    "$build/bin/fuzz_$t" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=2048 -max_len="$max_len" \
      -dict="$(dict "$t")" -print_final_stats=1 -artifact_prefix="$build/findings/$t-" \
      "$corpus" "$seeds/$t" "${regressions[@]}" >"$log" 2>&1
}

mkdir -p "$build/logs"
pids=() names=() failed=()
for t in "${targets[@]}"; do
  run_one "$t" &
  pids+=($!) names+=("$t")
  # Two at a time: the machine has two cores.
  if ((${#pids[@]} >= $(nproc))); then
    wait "${pids[0]}" || failed+=("${names[0]}")
    pids=("${pids[@]:1}") names=("${names[@]:1}")
  fi
done
for k in "${!pids[@]}"; do wait "${pids[$k]}" || failed+=("${names[$k]}"); done

total=0
printf '%-12s %12s %8s %8s\n' target executions exec/s edges
for t in "${targets[@]}"; do
  log="$build/logs/$t.log"
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
  rate="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)"
  cov="$( (grep -o "cov: [0-9]*" "$log" || true) | tail -1 | cut -d" " -f2)"
  printf '%-12s %12s %8s %8s\n' "$t" "${runs:-?}" "${rate:-?}" "${cov:-?}"
  total=$((total + ${runs:-0}))
done
echo "total executions: $total"
if ((${#failed[@]})); then
  for t in "${failed[@]}"; do
    echo "== finding in $t (build-fuzz/logs/$t.log):"
    grep -m1 -A12 -E 'FUZZ FINDING|ERROR: (AddressSanitizer|libFuzzer|LeakSanitizer)|runtime error' \
      "$build/logs/$t.log" || tail -20 "$build/logs/$t.log"
  done
  exit 1
fi
