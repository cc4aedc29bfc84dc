// Whole engine runs of the bundled examples, each through the entry point as the
// program calls it: names.dat, data file and outputs in a temporary working folder.
// Target: a whole run of an example in under 2 ms.
#include "engine/driver.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

class ExampleRun {
 public:
  explicit ExampleRun(const std::string& example) {
    std::random_device rd;
    dir_ = fs::temp_directory_path() / ("tarnel-bench-" + std::to_string(rd()));
    fs::create_directories(dir_);
    const fs::path data = dir_ / example;
    fs::copy_file(fs::path(TARNEL_SOURCE_DIR) / "examples" / example, data, fs::copy_options::overwrite_existing);
    const std::string base = (dir_ / data.stem()).string();
    std::ofstream names(dir_ / "names.dat", std::ios::binary);
    names << "2015.5.22\r\n" << data.string() << "\r\n" << base << ".tn5o\r\n" << base << ".tn5p\r\n" << base
          << ".tn5r\r\n";
    base_ = base;
    previous_ = fs::current_path();
    fs::current_path(dir_);
  }
  // Removes the outputs of the previous run, so the next one creates them afresh.
  void removeOutputs() const {
    std::error_code ec;
    for (const char* ext : {".tn5o", ".tn5p", ".tn5r"}) fs::remove(base_ + ext, ec);
  }
  ~ExampleRun() {
    std::error_code ec;
    fs::current_path(previous_, ec);
    fs::remove_all(dir_, ec);
  }
  ExampleRun(const ExampleRun&) = delete;
  ExampleRun& operator=(const ExampleRun&) = delete;

 private:
  fs::path dir_, previous_;
  std::string base_;
};

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
