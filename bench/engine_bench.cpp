// Whole engine runs of the bundled examples, each through the entry point as the
// program calls it: names.dat, data file and outputs in a temporary working folder.
// Target: a whole run of an example in under 2 ms.
#include "bench/example_run.h"
#include "engine/driver.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using tarnel::bench::ExampleRun;

// Outputs created afresh by every run (the first run of a data file).
void BM_WholeRun(benchmark::State& state, const std::string& example) {
  ExampleRun run(example);
  for (auto _ : state) {
    state.PauseTiming();
    run.removeOutputs();
    state.ResumeTiming();
    benchmark::DoNotOptimize(_ITARNEL(22));
  }
}

// Outputs of the previous run replaced (truncated and rewritten), as on a repeated
// analysis of the same file. Some file systems flush a truncated file on close, which
// shows in the real time, not in the CPU time.
void BM_WholeRunReplacingOutputs(benchmark::State& state, const std::string& example) {
  ExampleRun run(example);
  for (auto _ : state) {
    benchmark::DoNotOptimize(_ITARNEL(22));
  }
}

BENCHMARK_CAPTURE(BM_WholeRun, cantilever_user_load, std::string("cantilever-user-load.tn5d"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WholeRun, anchored_wall_tieback_ei, std::string("anchored-wall-tieback-ei.tn5d"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WholeRun, short_long_term, std::string("short-long-term.tn5d"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WholeRunReplacingOutputs, cantilever_user_load, std::string("cantilever-user-load.tn5d"))
    ->Unit(benchmark::kMillisecond);

}  // namespace
