#include "app/runner/batch_run.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <cstdio>
#include <memory>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#ifdef _WIN32
#include <io.h>
#define dup _dup
#define dup2 _dup2
#define fdopen _fdopen
#else
#include <unistd.h>
#endif

namespace tarnel::runner {

namespace {

// A worker's answer for one file, one line of tab-separated fields: the run (ok, engine
// result, error, incomplete) and, for a run that took place, its summary. Texts are
// percent-encoded and numbers written in full, so the parent gets exactly what it would
// have read itself.
QByteArray encoded(const QString& t) { return t.toUtf8().toPercentEncoding(); }
QString decoded(const QByteArray& field) { return QString::fromUtf8(QByteArray::fromPercentEncoding(field)); }

QByteArray answerLine(const BatchRun& b) {
  const RunResult& r = b.run;
  const RunSummary& s = b.summary;
  const QList<QByteArray> fields = {r.ok ? "1" : "0",
                                    QByteArray::number(r.engineResult),
                                    encoded(r.error),
                                    encoded(r.incomplete),
                                    QByteArray::number(s.problems),
                                    QByteArray::number(s.iterations),
                                    QByteArray::number(s.units),
                                    QByteArray::number(s.maxDeflection, 'g', 17),
                                    QByteArray::number(s.maxMoment, 'g', 17),
                                    s.hasResults ? "1" : "0",
                                    s.finished ? "1" : "0",
                                    encoded(s.errorLine),
                                    encoded(s.plotError)};
  return fields.join('\t') + '\n';
}

BatchRun fromAnswer(const QString& dataFile, const QByteArray& line) {
  BatchRun b{EngineRunner::pathsFor(dataFile), {}};
  RunResult& r = b.run;
  RunSummary& s = b.summary;
  const QList<QByteArray> f = line.trimmed().split('\t');
  r.ok = f.value(0) == "1";
  r.engineResult = f.value(1).toInt();
  r.error = decoded(f.value(2));
  r.incomplete = decoded(f.value(3));
  s.problems = f.value(4).toInt();
  s.iterations = f.value(5, "-1").toInt();
  s.units = f.value(6).toInt();
  s.maxDeflection = f.value(7).toDouble();
  s.maxMoment = f.value(8).toDouble();
  s.hasResults = f.value(9) == "1";
  s.finished = f.value(10) == "1";
  s.errorLine = decoded(f.value(11));
  s.plotError = decoded(f.value(12));
  return b;
}

// One run as a batch makes it, in this process: the summary is read while the outputs are
// fresh in the file cache, by the process that wrote them.
BatchRun runAndSummarize(const EngineRunner& runner, const QString& file) {
  BatchRun b{runner.run(file), {}};
  if (b.run.ok) b.summary = summarizeRun(b.run.reportPath, b.run.plotPath);
  return b;
}

}  // namespace

void keepHeapBetweenRuns() {
#ifdef __GLIBC__
  mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
  mallopt(M_MMAP_THRESHOLD, 16 * 1024 * 1024);
#endif
}

QStringList expandDataFiles(const QStringList& names, QStringList* missing) {
  QStringList files;
  for (const QString& name : names) {
    const QFileInfo info(name);
    if (info.isDir()) {
      const QDir dir(name);
      for (const QString& f : dir.entryList({QStringLiteral("*.tn5d")}, QDir::Files, QDir::Name))
        files << dir.filePath(f);
    } else if (info.isFile()) {
      files << name;
    } else if (missing) {
      *missing << name;
    }
  }
  return files;
}

std::vector<BatchRun> runBatch(const QStringList& files, const BatchOptions& options) {
  keepHeapBetweenRuns();
  std::vector<BatchRun> results(files.size());
  const int total = static_cast<int>(files.size());
  const int jobs = std::max(1, std::min(options.jobs, total));
  int done = 0;
  auto finished = [&](int index, BatchRun r) {
    results[index] = std::move(r);
    ++done;
    if (options.progress) options.progress(done, total, results[index].run);
  };
  if (jobs == 1) {
    EngineRunner runner(options.engineDir);
    runner.setKeepLibraryLoaded(true);
    for (int i = 0; i < total; ++i) finished(i, runAndSummarize(runner, files[i]));
    return results;
  }

  // Worker w takes files w, w + jobs, w + 2 jobs, ...: neighbouring files, often alike in
  // size, go to different workers.
  struct Worker {
    std::unique_ptr<QProcess> process;
    QList<int> indices;
    int answered = 0;
    QByteArray pending;
  };
  std::vector<Worker> workers(jobs);
  const QString program = QCoreApplication::applicationFilePath();
  for (int w = 0; w < jobs; ++w) {
    Worker& worker = workers[w];
    QStringList args{QString::fromLatin1(kWorkerOption)};
    if (!options.engineDir.isEmpty()) args << QStringLiteral("--engine-dir") << options.engineDir;
    for (int i = w; i < total; i += jobs) {
      worker.indices << i;
      args << files[i];
    }
    worker.process = std::make_unique<QProcess>();
    worker.process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    worker.process->start(program, args);
  }
  // Collect the answers as they come, so that progress follows the runs.
  for (bool running = true; running;) {
    running = false;
    for (Worker& worker : workers) {
      QProcess& p = *worker.process;
      if (p.state() != QProcess::NotRunning) p.waitForReadyRead(20);
      worker.pending += p.readAllStandardOutput();
      for (int nl; (nl = worker.pending.indexOf('\n')) >= 0;) {
        const QByteArray line = worker.pending.left(nl);
        worker.pending.remove(0, nl + 1);
        if (worker.answered < worker.indices.size()) {
          const int index = worker.indices[worker.answered++];
          finished(index, fromAnswer(files[index], line));
        }
      }
      if (p.state() != QProcess::NotRunning || worker.answered < worker.indices.size()) {
        if (p.state() == QProcess::NotRunning) {
          // A worker that ended early (it crashed or could not start) leaves its files
          // unanswered: say so for each rather than wait for it.
          for (; worker.answered < worker.indices.size(); ++worker.answered) {
            const int index = worker.indices[worker.answered];
            BatchRun b{EngineRunner::pathsFor(files[index]), {}};
            b.run.error = QStringLiteral("The worker process that analysed this file ended early (%1).")
                              .arg(p.errorString());
            finished(index, b);
          }
        } else {
          running = true;
        }
      }
    }
  }
  for (Worker& worker : workers) worker.process->waitForFinished();
  return results;
}

int runWorker(const QStringList& files, const QString& engineDir) {
  // The answers go to the standard output the parent reads; whatever the engine prints
  // there itself is moved to the standard error stream, so it can never pass for an answer.
  std::fflush(stdout);
  const int answers = dup(1);
  if (answers < 0 || dup2(2, 1) < 0) return 2;
  FILE* out = fdopen(answers, "w");
  if (!out) return 2;
  keepHeapBetweenRuns();
  EngineRunner runner(engineDir);
  runner.setKeepLibraryLoaded(true);
  for (const QString& file : files) {
    const QByteArray line = answerLine(runAndSummarize(runner, file));
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), out);
    std::fflush(out);
  }
  std::fclose(out);
  return 0;
}

}  // namespace tarnel::runner
