// Reading a plot file into the eight result charts, as after every run and on opening a
// data file. Target: the largest plot file of the bundled examples well under 10 ms.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "app/model/program_data.h"
#include "app/results/result_charts.h"
#include "bench/example_run.h"
#include "engine/driver.h"

namespace {

namespace fs = std::filesystem;

// Runs every bundled example once and keeps the folder of the one with the largest plot
// file for the benchmark's lifetime.
struct LargestPlot {
  tarnel::engine::testing::TempDir dir;
  std::string data, plot;
  LargestPlot() {
    std::uintmax_t largest = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(TARNEL_SOURCE_DIR) / "examples")) {
      if (entry.path().extension() != ".tn5d") continue;
      const std::string name = entry.path().filename().string();
      std::uintmax_t size = 0;
      {
        tarnel::bench::ExampleRun run(name);
        _ITARNEL(22);
        const fs::path produced = fs::current_path() / (entry.path().stem().string() + ".tn5p");
        size = fs::file_size(produced);
        if (size > largest) {
          largest = size;
          fs::copy_file(produced, dir.path() / "largest.tn5p", fs::copy_options::overwrite_existing);
          fs::copy_file(entry.path(), dir.path() / "largest.tn5d", fs::copy_options::overwrite_existing);
        }
      }
    }
    data = (dir.path() / "largest.tn5d").string();
    plot = (dir.path() / "largest.tn5p").string();
  }
};

const LargestPlot& Largest() {
  static const LargestPlot largest;
  return largest;
}

void BM_LoadPlotFile(benchmark::State& state) {
  const LargestPlot& file = Largest();
  tarnel::model::TProgramData project;
  project.CreateFromFile(file.data, 1);
  ResultCharts charts;
  const QString plot = QString::fromStdString(file.plot);
  for (auto _ : state) benchmark::DoNotOptimize(charts.LoadPlotFile(plot, project));
  state.counters["bytes"] = static_cast<double>(fs::file_size(file.plot));
}
BENCHMARK(BM_LoadPlotFile)->Unit(benchmark::kMillisecond);

}  // namespace
