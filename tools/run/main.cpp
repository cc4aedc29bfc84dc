// tarnel-run FILE.tn5d — analyses one data file with the engine library next to this
// program, exactly as the interactive program runs it, and prints where the report,
// the plot data and the run notes went with a one-line summary of the results.
//
// Exit codes: 0 analysis completed; 1 wrong usage; 2 the data file or the engine
// library is missing or the engine refused; 3 the analysis stopped (an input error, a
// value it could not carry, an output it could not write, or a plot file it cannot read).
#include "app/runner/engine_runner.h"
#include "app/runner/run_summary.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <cstdio>

namespace {

void print(FILE* f, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), f);
  std::fputc('\n', f);
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments();
  args.removeFirst();
  QString engineDir;
  QString dataFile;
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == "--engine-dir" && i + 1 < args.size()) {
      engineDir = args[++i];
    } else if (args[i] == "-h" || args[i] == "--help") {
      print(stdout, "usage: tarnel-run [--engine-dir DIR] FILE.tn5d");
      return 0;
    } else if (dataFile.isEmpty()) {
      dataFile = args[i];
    } else {
      dataFile.clear();
      break;
    }
  }
  if (dataFile.isEmpty()) {
    print(stderr, "usage: tarnel-run [--engine-dir DIR] FILE.tn5d");
    return 1;
  }

  const tarnel::runner::EngineRunner runner(engineDir);
  const tarnel::runner::RunResult result = runner.run(dataFile);
  if (!result.ok) {
    print(stderr, "tarnel-run: " + result.error);
    return 2;
  }
  print(stdout, "Report:    " + QDir::toNativeSeparators(result.reportPath));
  print(stdout, "Plot data: " + QDir::toNativeSeparators(result.plotPath));
  print(stdout, "Run notes: " + QDir::toNativeSeparators(result.notesPath));
  const tarnel::runner::RunSummary summary = tarnel::runner::summarizeRun(result.reportPath, result.plotPath);
  print(stdout, "Summary:   " + summary.oneLine());
  if (!result.incomplete.isEmpty()) print(stderr, "tarnel-run: " + result.incomplete);
  const bool stopped = !result.complete() || !summary.finished || !summary.plotError.isEmpty() ||
                       summary.errorLine.startsWith("ERROR") || summary.errorLine.startsWith("TOO MUCH DATA");
  return stopped ? 3 : 0;
}
