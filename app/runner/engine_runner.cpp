#include "app/runner/engine_runner.h"

#include "app/runner/output_lines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarnel::runner {

namespace {

using EntryPoint = std::int32_t (*)(std::int32_t);

// Restores the current folder however the run ends.
class CurrentFolder {
 public:
  explicit CurrentFolder(const QString& folder) : previous_(QDir::currentPath()) { ok_ = QDir::setCurrent(folder); }
  ~CurrentFolder() { QDir::setCurrent(previous_); }
  bool ok() const { return ok_; }

 private:
  QString previous_;
  bool ok_ = false;
};

bool writeRunControl(const QString& path, const RunResult& r) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const QString text = QString::fromLatin1(EngineRunner::kVersionText) + "\r\n" +
                       QDir::toNativeSeparators(r.dataPath) + "\r\n" + QDir::toNativeSeparators(r.reportPath) +
                       "\r\n" + QDir::toNativeSeparators(r.plotPath) + "\r\n" +
                       QDir::toNativeSeparators(r.notesPath) + "\r\n";
  const QByteArray bytes = text.toLocal8Bit();
  return f.write(bytes) == bytes.size() && f.flush();
}

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

}  // namespace

QString incompleteOutputs(const RunResult& r) {
  QFile report(r.reportPath);
  if (!report.open(QIODevice::ReadOnly)) {
    return QStringLiteral("The analysis wrote no report: %1 could not be created. Check that the folder of the "
                          "data file can be written and that no folder has that name.")
        .arg(native(r.reportPath));
  }
  // Read once per run of a batch: the lines are looked at in place, as bytes, and only the
  // few that go into a message become text.
  const QByteArray bytes = report.readAll();
  std::vector<QByteArrayView> text;  // the non-empty lines, trimmed
  forEachLine(bytes, [&](QByteArrayView line) {
    if (!(line = line.trimmed()).isEmpty()) text.push_back(line);
  });
  const auto shown = [](QByteArrayView line) { return QString::fromLocal8Bit(line).trimmed(); };
  // The engine names an output it could not write in the report, after everything else.
  for (const QByteArrayView t : text) {
    if (t.startsWith("ERROR -- THE FILE") || t.startsWith("ERROR -- CANNOT CREATE") ||
        t.startsWith("ERROR -- THE ANALYSIS STOPPED")) {
      return QStringLiteral("The analysis could not write its results completely; the report %1 says: %2")
          .arg(native(r.reportPath), shown(t));
    }
  }
  if (text.empty() || text.back() != QByteArrayView("END OF ANALYSIS")) {
    // The stop message of a generator, or the reading error, is the last text.
    QStringList last;
    for (std::size_t i = text.size() > 3 ? text.size() - 3 : 0; i < text.size(); ++i) last << shown(text[i]);
    const QString tail = last.join(' ');
    return QStringLiteral("The analysis stopped before its end (no END OF ANALYSIS in the report %1)%2")
        .arg(native(r.reportPath), tail.isEmpty() ? QStringLiteral(": the report is empty.") : ": " + tail);
  }
  if (!QFileInfo(r.plotPath).isFile()) {
    return QStringLiteral("The analysis wrote no plot data file %1.").arg(native(r.plotPath));
  }
  return {};
}

EngineRunner::EngineRunner(QString libraryFolder) : libraryFolder_(std::move(libraryFolder)) {}

void EngineRunner::setKeepLibraryLoaded(bool keep) {
  keepLoaded_ = keep;
  if (!keep) kept_.reset();
}

QString EngineRunner::defaultWorkParent() {
  static const QString parent = [] {
    if (!qEnvironmentVariableIsEmpty("TMPDIR")) return QDir::tempPath();
#ifndef _WIN32
    // A memory file system takes the scratch files without the inode and block work of a
    // disk one, which costs a batch of short runs more than the analyses themselves.
    for (const QString& folder : {qEnvironmentVariable("XDG_RUNTIME_DIR"), QStringLiteral("/dev/shm")}) {
      const QFileInfo info(folder);
      if (!folder.isEmpty() && info.isDir() && info.isWritable()) return info.absoluteFilePath();
    }
#endif
    return QDir::tempPath();
  }();
  return parent;
}

QString EngineRunner::libraryFolder() const {
  if (!libraryFolder_.isEmpty()) return libraryFolder_;
  return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
}

RunResult EngineRunner::pathsFor(const QString& dataFile) {
  RunResult r;
  const QFileInfo info(dataFile);
  r.dataPath = info.absoluteFilePath();
  const QString base = info.absolutePath() + "/" + (info.suffix().isEmpty() ? info.fileName() : info.completeBaseName());
  r.reportPath = base + ".tn5o";
  r.plotPath = base + ".tn5p";
  r.notesPath = base + ".tn5r";
  return r;
}

RunResult EngineRunner::run(const QString& dataFile) const {
  RunResult r = pathsFor(dataFile);
  if (!QFileInfo(r.dataPath).isFile()) {
    r.error = QStringLiteral("The data file %1 does not exist.").arg(QDir::toNativeSeparators(r.dataPath));
    return r;
  }

  // names.dat and the scratch files live in a folder of their own: the program folder of
  // an installed system is read-only, and two runs must never share scratch files. The
  // folder goes with everything in it when the run ends, however it ends.
  const QString parent = workParent_.isEmpty() ? defaultWorkParent() : workParent_;
  std::optional<QTemporaryDir> work;
  work.emplace(parent + "/tarnel-run-XXXXXX");
  if (!work->isValid() && workParent_.isEmpty() && parent != QDir::tempPath()) {
    // A full or unusable memory folder: the system's temporary folder still does.
    work.emplace(QDir::tempPath() + "/tarnel-run-XXXXXX");
  }
  if (!work->isValid()) {
    r.error = QStringLiteral("A working folder for the analysis could not be created: %1").arg(work->errorString());
    return r;
  }
  const QString names = work->filePath(QStringLiteral("names.dat"));
  if (!writeRunControl(names, r)) {
    r.error = QStringLiteral("The run-control file %1 could not be written.").arg(QDir::toNativeSeparators(names));
    return r;
  }

  // The run's reference to the library, loaded by name. Many runs in a row share the
  // runner's reference, which keeps the library mapped; otherwise it is unloaded again
  // when the run ends, however it ends.
  std::shared_ptr<QLibrary> library = keepLoaded_ ? kept_ : nullptr;
  if (!library) {
    library = std::shared_ptr<QLibrary>(new QLibrary(QDir(libraryFolder()).filePath(QString::fromLatin1(kLibraryName))),
                                        [](QLibrary* l) {
                                          if (l->isLoaded()) l->unload();
                                          delete l;
                                        });
  }
  if (!library->load()) {
    r.error = QStringLiteral("The analysis engine %1 could not be loaded from %2: %3")
                  .arg(QString::fromLatin1(kLibraryName), QDir::toNativeSeparators(libraryFolder()),
                       library->errorString());
    return r;
  }
  const auto entry = reinterpret_cast<EntryPoint>(library->resolve(kEntryPoint));
  if (!entry) {
    r.error = QStringLiteral("The analysis engine %1 has no entry point %2.")
                  .arg(QDir::toNativeSeparators(library->fileName()), QString::fromLatin1(kEntryPoint));
    return r;
  }
  if (keepLoaded_) kept_ = library;
  {
    CurrentFolder cd(work->path());
    if (!cd.ok()) {
      r.error = QStringLiteral("The working folder %1 could not be entered.").arg(QDir::toNativeSeparators(work->path()));
    } else {
      r.engineResult = entry(kInterfaceVersion);
    }
  }
  library.reset();
  if (r.engineResult == 1) {
    r.error = QStringLiteral(
        "The analysis engine refused the run: it was not built for interface version %1. "
        "The program and the engine library do not belong together; reinstall the program.")
                  .arg(kInterfaceVersion);
  } else if (r.engineResult == 0) {
    r.ok = true;
    r.incomplete = incompleteOutputs(r);
  } else if (r.error.isEmpty()) {
    r.error = QStringLiteral("The analysis engine returned the unexpected result %1.").arg(r.engineResult);
  }
  return r;
}

}  // namespace tarnel::runner
