#include "app/runner/batch_run.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <cstdio>
#include <memory>

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

// A worker's answer for one file: "ok<TAB>engine result<TAB>message", the message on one line.
QByteArray answerLine(const RunResult& r) {
  QString message = r.error;
  message.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\t'), QLatin1Char(' '));
  return QByteArray(r.ok ? "1" : "0") + '\t' + QByteArray::number(r.engineResult) + '\t' + message.toUtf8() + '\n';
}

RunResult fromAnswer(const QString& dataFile, const QByteArray& line) {
  RunResult r = EngineRunner::pathsFor(dataFile);
  const QList<QByteArray> parts = line.trimmed().split('\t');
  r.ok = parts.value(0) == "1";
  r.engineResult = parts.value(1).toInt();
  r.error = QString::fromUtf8(parts.value(2));
  return r;
}

}  // namespace

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

std::vector<RunResult> runBatch(const QStringList& files, const BatchOptions& options) {
  std::vector<RunResult> results(files.size());
  const int total = static_cast<int>(files.size());
  const int jobs = std::max(1, std::min(options.jobs, total));
  int done = 0;
  auto finished = [&](int index, RunResult r) {
    results[index] = std::move(r);
    ++done;
    if (options.progress) options.progress(done, total, results[index]);
  };
  if (jobs == 1) {
    const EngineRunner runner(options.engineDir);
    for (int i = 0; i < total; ++i) finished(i, runner.run(files[i]));
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
            RunResult r = EngineRunner::pathsFor(files[index]);
            r.error = QStringLiteral("The worker process that analysed this file ended early (%1).")
                          .arg(p.errorString());
            finished(index, r);
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
  const EngineRunner runner(engineDir);
  for (const QString& file : files) {
    const QByteArray line = answerLine(runner.run(file));
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), out);
    std::fflush(out);
  }
  std::fclose(out);
  return 0;
}

}  // namespace tarnel::runner
