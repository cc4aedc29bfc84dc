// Many data files analysed in one call, as tarnel-run and tarnel-study do it: one after
// another through the runner, or shared out over worker processes so that runs never share
// a working folder or the engine's state. Each worker is the calling program started again
// with kWorkerOption and its share of the files; it answers one line per file.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "app/runner/engine_runner.h"
#include "app/runner/run_summary.h"

namespace tarnel::runner {

inline constexpr const char* kWorkerOption = "--worker";

// The data files named: a file as it is, a folder by its .tn5d files in name order.
// Names that are neither go to `missing`.
QStringList expandDataFiles(const QStringList& names, QStringList* missing);

struct BatchOptions {
  QString engineDir;  // empty: the program's own folder
  int jobs = 1;       // worker processes; 1 runs in this process
  // Called in the calling thread after each run, in the order the runs end.
  std::function<void(int done, int total, const RunResult&)> progress;
};

// One file of a batch: the run, and for a run that took place (run.ok) its summary, read
// by the process that made the run.
struct BatchRun {
  RunResult run;
  RunSummary summary;
};

// Runs every file; the results come back in the order of `files`.
std::vector<BatchRun> runBatch(const QStringList& files, const BatchOptions& options);

// A run allocates and frees a few hundred kilobytes (the engine's tables, the report read
// back). By default the C library hands such memory back to the system when it is freed and
// faults it in again on the next run, and on a machine with several cores every hand-back
// interrupts the other cores as well: a process that makes many runs keeps it instead.
// runBatch and runWorker do this themselves.
void keepHeapBetweenRuns();

// The worker's side: runs `files` one after another and writes one line per file (the run
// and its summary) to standard output. Returns the process's exit code.
int runWorker(const QStringList& files, const QString& engineDir);

}  // namespace tarnel::runner
