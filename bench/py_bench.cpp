// p-y curve generation: the generator alone on a three-layer profile below the
// excavation (soft clay, sand, weak rock: 15 curves, both sides, report and scratch
// file), and whole engine runs of the examples with generated p-y curves.
#include "bench/example_run.h"
#include "engine/driver.h"
#include "engine/soilcurves/py_generator.h"
#include "engine/testing/engine_run.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

namespace {

void profile(tarnel::engine::Problem& p) {
  p.control.units = 1;
  p.control.pyOption = 2;
  p.control.earthPressure = 1;
  p.earth = {120.0, 48.0, 24.0, 60.0, 120.0, 1.0, 1, 0.0};
  p.layers = {{1, 240.0, {0.06, 3.0, 0.0, 0.02, 100.0, 0.0}, {0.06, 4.0, 0.0, 0.01, 100.0, 0.0}},
              {4, 480.0, {0.07, 0.0, 32.0, 0.0, 150.0, 0.0}, {0.07, 0.0, 36.0, 0.0, 150.0, 0.0}},
              {7, 720.0, {0.09, 800.0, 0.0, 5.0e-4, 1.0e5, 50.0}, {0.09, 900.0, 0.0, 5.0e-4, 1.0e5, 60.0}}};
}

void BM_GeneratePyCurves(benchmark::State& state) {
  tarnel::engine::testing::TempDir dir;
  tarnel::engine::testing::CurrentDir cd(dir.path());
  tarnel::engine::RunState run;
  std::ofstream err("err.txt");
  run.out.err = &err;
  profile(run.problem);
  for (auto _ : state) {
    run.out.report.close();
    run.out.report.open("report.tn5o", std::ios::trunc);
    tarnel::engine::generatePyCurves(run);
  }
  state.SetItemsProcessed(state.iterations() * 15);  // curves
}
BENCHMARK(BM_GeneratePyCurves)->Unit(benchmark::kMicrosecond);

// A whole analysis of an example through the entry point, outputs created afresh.
void BM_WholeRunPy(benchmark::State& state, const std::string& example) {
  tarnel::bench::ExampleRun run(example);
  for (auto _ : state) {
    state.PauseTiming();
    run.removeOutputs();
    state.ResumeTiming();
    benchmark::DoNotOptimize(_ITARNEL(22));
  }
}
BENCHMARK_CAPTURE(BM_WholeRunPy, cantilever_sand_water, std::string("cantilever-sand-water.tn5d"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WholeRunPy, soldier_pile_stiff_clay_tieback, std::string("soldier-pile-stiff-clay-tieback.tn5d"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WholeRunPy, weak_rock_socket, std::string("weak-rock-socket.tn5d"))
    ->Unit(benchmark::kMillisecond);
// Generated earth pressure with surcharges, and the trapezoid of an anchored wall.
BENCHMARK_CAPTURE(BM_WholeRunPy, triangular_surcharges, std::string("triangular-surcharges.tn5d"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WholeRunPy, trapezoidal_two_tiebacks, std::string("trapezoidal-two-tiebacks.tn5d"))
    ->Unit(benchmark::kMillisecond);

}  // namespace
