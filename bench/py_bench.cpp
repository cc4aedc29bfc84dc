// p-y curve generation: the generator alone on a three-layer profile below the
// excavation (soft clay, sand, weak rock: 15 curves, both sides, report and scratch
// file), and whole engine runs of the examples with generated p-y curves.
#include "engine/driver.h"
#include "engine/soilcurves/py_generator.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

// A private working folder made current for the benchmark's lifetime.
class WorkFolder {
 public:
  WorkFolder() {
    std::random_device rd;
    dir_ = fs::temp_directory_path() / ("tarnel-py-bench-" + std::to_string(rd()));
    fs::create_directories(dir_);
    previous_ = fs::current_path();
    fs::current_path(dir_);
  }
  ~WorkFolder() {
    std::error_code ec;
    fs::current_path(previous_, ec);
    fs::remove_all(dir_, ec);
  }
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;
  const fs::path& path() const { return dir_; }

 private:
  fs::path dir_, previous_;
};

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
  WorkFolder folder;
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
  WorkFolder folder;
  const fs::path data = folder.path() / example;
  fs::copy_file(fs::path(TARNEL_SOURCE_DIR) / "examples" / example, data, fs::copy_options::overwrite_existing);
  const std::string base = (folder.path() / data.stem()).string();
  {
    std::ofstream names(folder.path() / "names.dat", std::ios::binary);
    names << "2015.5.22\r\n" << data.string() << "\r\n" << base << ".tn5o\r\n" << base << ".tn5p\r\n" << base
          << ".tn5r\r\n";
  }
  for (auto _ : state) {
    state.PauseTiming();
    std::error_code ec;
    for (const char* ext : {".tn5o", ".tn5p", ".tn5r"}) fs::remove(base + ext, ec);
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
