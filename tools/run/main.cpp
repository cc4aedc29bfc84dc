// tarnel-run FILE|FOLDER ... — analyses data files with the engine library next to this
// program, exactly as the interactive program runs them. One file: prints where the
// report, the plot data and the run notes went with a one-line summary of the results.
// Several files (a folder: its .tn5d files): one line per file, the runs shared out over
// --jobs worker processes, the failures listed at the end, and with --summary a table of
// every result section (.csv or .json).
//
// Exit codes: 0 all analysed; 1 wrong usage; 2 a data file or the engine library is
// missing, or the engine refused; 3 an analysis stopped on an input error (or, for
// several files, did not close within the tolerance).
#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <QThread>
#include <cstdio>

#include "app/runner/batch_run.h"
#include "app/runner/engine_runner.h"
#include "app/runner/run_summary.h"
#include "app/runner/section_summary.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

namespace {

constexpr const char* kUsage =
    "usage: tarnel-run [--engine-dir DIR] [--jobs N] [--quiet] [--summary FILE.csv|FILE.json]\n"
    "                  FILE.tn5d|FOLDER ...";

void print(FILE* f, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), f);
  std::fputc('\n', f);
}

// Today's answer for a single file, kept as it was for scripts that read it.
int runOne(const QString& dataFile, const QString& engineDir) {
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
  return tarnel::runner::analysisStopped(result, summary) ? 3 : 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments();
  args.removeFirst();
  QString engineDir, summaryFile;
  QStringList names;
  int jobs = QThread::idealThreadCount();
  bool jobsGiven = false, quiet = false, worker = false;
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
      print(stdout, QString::fromLatin1(kUsage));
      return 0;
    } else if (a == QLatin1String(tarnel::runner::kWorkerOption)) {
      worker = true;
    } else if (a == QLatin1String("--quiet")) {
      quiet = true;
    } else if (a == QLatin1String("--engine-dir") && hasValue) {
      engineDir = args[++i];
    } else if (a == QLatin1String("--summary") && hasValue) {
      summaryFile = args[++i];
      const QString ext = QFileInfo(summaryFile).suffix().toLower();
      if (ext != QLatin1String("csv") && ext != QLatin1String("json")) {
        print(stderr, "tarnel-run: the summary is a .csv or a .json file: " + summaryFile);
        print(stderr, QString::fromLatin1(kUsage));
        return 1;
      }
    } else if (a == QLatin1String("--jobs") && hasValue) {
      bool ok = false;
      jobs = args[++i].toInt(&ok);
      if (!ok || jobs < 1 || jobs > 256) {
        print(stderr, "tarnel-run: --jobs takes a whole number from 1 to 256");
        print(stderr, QString::fromLatin1(kUsage));
        return 1;
      }
      jobsGiven = true;
    } else if (a.startsWith(QLatin1String("--"))) {
      print(stderr, "tarnel-run: unknown option or missing value: " + a);
      print(stderr, QString::fromLatin1(kUsage));
      return 1;
    } else {
      names << a;
    }
  }
  if (worker) return tarnel::runner::runWorker(names, engineDir);
  if (names.isEmpty()) {
    print(stderr, QString::fromLatin1(kUsage));
    return 1;
  }
  if (names.size() == 1 && QFileInfo(names[0]).isFile() && summaryFile.isEmpty() && !jobsGiven)
    return runOne(names[0], engineDir);

  QStringList missing;
  const QStringList files = tarnel::runner::expandDataFiles(names, &missing);
  const bool showProgress = !quiet && files.size() > 3 && isatty(2);
  tarnel::runner::BatchOptions options;
  options.engineDir = engineDir;
  options.jobs = jobs;
  options.progress = [&](int done, int total, const tarnel::runner::RunResult& r) {
    if (!showProgress) return;
    std::fprintf(stderr, "\r[%d/%d] %s: %s\x1b[K", done, total,
                 QDir::toNativeSeparators(r.dataPath).toLocal8Bit().constData(), r.ok ? "analysed" : "failed");
    if (done == total) std::fputc('\n', stderr);
    std::fflush(stderr);
  };
  const std::vector<tarnel::runner::BatchRun> results = tarnel::runner::runBatch(files, options);

  int code = missing.isEmpty() ? 0 : 2;
  QStringList failures;
  for (const QString& m : missing) failures << QDir::toNativeSeparators(m) + ": no such data file or folder";
  std::vector<tarnel::runner::SectionRow> rows;
  for (int i = 0; i < files.size(); ++i) {
    const tarnel::runner::RunResult& r = results[i].run;
    const QString shown = QDir::toNativeSeparators(files[i]);
    if (!r.ok) {
      print(stdout, shown + ": " + r.error);
      failures << shown + ": " + r.error;
      code = 2;
      rows.push_back(tarnel::runner::notAnalysed(files[i], r.error));
      continue;
    }
    const tarnel::runner::RunSummary& s = results[i].summary;
    print(stdout, shown + ": " + s.oneLine());
    const bool notClosed = s.errorLine.contains(QLatin1String("NOT CLOSED"));
    if (tarnel::runner::analysisStopped(r, s) || notClosed) {
      failures << shown + ": " + (!r.incomplete.isEmpty() ? r.incomplete
                                  : s.errorLine.isEmpty() ? QStringLiteral("the report does not reach END OF ANALYSIS")
                                                          : s.errorLine);
      if (code == 0) code = 3;
    }
    if (!summaryFile.isEmpty()) {
      const auto sections = tarnel::runner::summarizeSections(files[i], r.reportPath, r.plotPath);
      rows.insert(rows.end(), sections.begin(), sections.end());
    }
  }
  if (!summaryFile.isEmpty()) {
    QString error;
    if (!tarnel::runner::writeSummary(summaryFile, rows, &error)) {
      print(stderr, "tarnel-run: " + error);
      code = 2;
    }
  }
  if (!failures.isEmpty()) {
    print(stderr, QStringLiteral("tarnel-run: %1 of %2 files did not analyse cleanly:")
                      .arg(failures.size()).arg(files.size() + missing.size()));
    for (const QString& f : failures) print(stderr, "  " + f);
  }
  return code;
}
