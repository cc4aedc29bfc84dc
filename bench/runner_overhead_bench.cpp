// What a run of a batch costs outside the engine: the private working folder, names.dat,
// loading the library by name, entering and leaving the folder, the completeness check and
// the summary read back from the outputs. The engine entry alone on the same example, in a
// folder prepared once, is the reference. Target: below 1 ms per run (OutsideTheEngine).
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLibrary>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "app/runner/batch_run.h"
#include "app/runner/engine_runner.h"
#include "app/runner/run_summary.h"

namespace {

using tarnel::runner::EngineRunner;
using tarnel::runner::RunResult;

using EntryPoint = std::int32_t (*)(std::int32_t);

// One example copied twice into a data folder on the disk, as a user's files are: one copy for
// the runner, one for the engine alone, so both write their outputs in the same place.
class Fixture {
 public:
  explicit Fixture(const std::string& example) {
    const QString source = QStringLiteral(TARNEL_SOURCE_DIR "/examples/") + QString::fromStdString(example);
    runnerData_ = data_.filePath(QStringLiteral("runner.tn5d"));
    entryData_ = data_.filePath(QStringLiteral("entry.tn5d"));
    QFile::copy(source, runnerData_);
    QFile::copy(source, entryData_);
    // The engine alone: names.dat written once in a working folder where the runner makes its.
    const RunResult paths = EngineRunner::pathsFor(entryData_);
    QFile names(work_.filePath(QStringLiteral("names.dat")));
    if (names.open(QIODevice::WriteOnly)) {
      names.write(QStringLiteral("%1\r\n%2\r\n%3\r\n%4\r\n%5\r\n")
                      .arg(QString::fromLatin1(EngineRunner::kVersionText), QDir::toNativeSeparators(paths.dataPath),
                           QDir::toNativeSeparators(paths.reportPath), QDir::toNativeSeparators(paths.plotPath),
                           QDir::toNativeSeparators(paths.notesPath))
                      .toLocal8Bit());
    }
    library_ = std::make_unique<QLibrary>(QDir(QStringLiteral(TARNEL_ENGINE_DIR)).filePath(EngineRunner::kLibraryName));
    if (library_->load()) entry_ = reinterpret_cast<EntryPoint>(library_->resolve(EngineRunner::kEntryPoint));
    // As in a batch.
    tarnel::runner::keepHeapBetweenRuns();
    runner_.setKeepLibraryLoaded(true);
  }
  ~Fixture() {
    if (library_) library_->unload();
  }

  bool ready() const { return entry_ && data_.isValid() && work_.isValid(); }

  // The engine alone, in its prepared working folder.
  std::int32_t entryAlone() const {
    const QString previous = QDir::currentPath();
    QDir::setCurrent(work_.path());
    const std::int32_t result = entry_(EngineRunner::kInterfaceVersion);
    QDir::setCurrent(previous);
    return result;
  }
  // What a batch does for one file: the run through the runner, and its summary.
  bool runnerRun(bool withSummary) const {
    const RunResult r = runner_.run(runnerData_);
    if (withSummary && r.ok) benchmark::DoNotOptimize(tarnel::runner::summarizeRun(r.reportPath, r.plotPath));
    return r.complete();
  }

 private:
  QTemporaryDir data_{QDir::tempPath() + QStringLiteral("/tarnel-bench-XXXXXX")};
  QTemporaryDir work_{EngineRunner::defaultWorkParent() + QStringLiteral("/tarnel-bench-work-XXXXXX")};
  QString runnerData_, entryData_;
  std::unique_ptr<QLibrary> library_;
  EntryPoint entry_ = nullptr;
  EngineRunner runner_{QStringLiteral(TARNEL_ENGINE_DIR)};
};

void BM_EngineEntryAlone(benchmark::State& state, const std::string& example) {
  const Fixture f(example);
  if (!f.ready()) return state.SkipWithError("the engine library or the example could not be set up");
  for (auto _ : state) benchmark::DoNotOptimize(f.entryAlone());
}

void BM_RunnerRun(benchmark::State& state, const std::string& example) {
  const Fixture f(example);
  if (!f.ready()) return state.SkipWithError("the engine library or the example could not be set up");
  for (auto _ : state)
    if (!f.runnerRun(false)) return state.SkipWithError("the run did not complete");
}

void BM_RunnerRunAndSummary(benchmark::State& state, const std::string& example) {
  const Fixture f(example);
  if (!f.ready()) return state.SkipWithError("the engine library or the example could not be set up");
  for (auto _ : state)
    if (!f.runnerRun(true)) return state.SkipWithError("the run did not complete");
}

// The runner and summary of a file minus the engine alone on the same example, measured
// back to back in every iteration so that both see the same state of the machine.
void BM_OutsideTheEngine(benchmark::State& state, const std::string& example) {
  const Fixture f(example);
  if (!f.ready()) return state.SkipWithError("the engine library or the example could not be set up");
  using Clock = std::chrono::steady_clock;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    if (!f.runnerRun(true)) return state.SkipWithError("the run did not complete");
    const auto t1 = Clock::now();
    benchmark::DoNotOptimize(f.entryAlone());
    const auto t2 = Clock::now();
    const std::chrono::duration<double> outside = (t1 - t0) - (t2 - t1);
    state.SetIterationTime(std::max(0.0, outside.count()));
  }
}

#define TARNEL_RUNNER_BENCH(example, file)                                                                   \
  BENCHMARK_CAPTURE(BM_EngineEntryAlone, example, std::string(file))->Unit(benchmark::kMillisecond);        \
  BENCHMARK_CAPTURE(BM_RunnerRun, example, std::string(file))->Unit(benchmark::kMillisecond);               \
  BENCHMARK_CAPTURE(BM_RunnerRunAndSummary, example, std::string(file))->Unit(benchmark::kMillisecond);     \
  BENCHMARK_CAPTURE(BM_OutsideTheEngine, example, std::string(file))->UseManualTime()->Unit(benchmark::kMillisecond)

TARNEL_RUNNER_BENCH(cantilever_user_load, "cantilever-user-load.tn5d");
TARNEL_RUNNER_BENCH(anchored_wall_tieback_ei, "anchored-wall-tieback-ei.tn5d");
TARNEL_RUNNER_BENCH(short_long_term, "short-long-term.tn5d");

}  // namespace
