// Runs one data file through the engine library exactly as the interactive program
// does: a private working folder holds names.dat and the engine's scratch files for the
// duration of the call, the library is loaded by name, its entry point _ITARNEL is
// called with the interface version 22, and everything is unloaded and removed again.
// The report, plot-data and run-notes files go beside the data file.
#pragma once

#include <QString>
#include <memory>

class QLibrary;

namespace tarnel::runner {

struct RunResult {
  bool ok = false;          // the engine ran the file (entry point returned 0)
  int engineResult = -1;    // what the entry point returned; -1 when it was not called
  QString dataPath;         // absolute paths of the four files of the run
  QString reportPath;
  QString plotPath;
  QString notesPath;
  QString error;            // a sentence for the user when !ok
  // When the engine ran (ok) but did not leave a complete analysis: no report, a report
  // that does not end with END OF ANALYSIS, an output the engine could not write
  // completely, or no plot-data file. A sentence naming the file and the cause; the
  // plot-data file must then not be read. Empty for a complete run.
  QString incomplete;
  bool complete() const { return ok && incomplete.isEmpty(); }
};

// What the outputs of a run say about its completeness (see RunResult::incomplete).
QString incompleteOutputs(const RunResult& paths);

class EngineRunner {
 public:
  static constexpr int kInterfaceVersion = 22;
  static constexpr const char* kLibraryName = "Tarnel2015_DLL";
  static constexpr const char* kEntryPoint = "_ITARNEL";
  static constexpr const char* kVersionText = "2015.5.22";

  // `libraryFolder` empty: the folder of the running application.
  explicit EngineRunner(QString libraryFolder = {});

  QString libraryFolder() const;

  // Where the private working folder of a run is made; empty: defaultWorkParent().
  void setWorkParent(const QString& folder) { workParent_ = folder; }

  // Many runs in a row: the library stays loaded between the runs of this runner, so that
  // the next run finds it in place instead of searching, mapping and relocating it again.
  // Every run still starts the engine afresh: the engine keeps all the state of a run in
  // one object made and freed by the entry point.
  void setKeepLibraryLoaded(bool keep);

  // The folder the working folders go in by default: TMPDIR when the user set one, else a
  // folder kept in memory where the system has one (the scratch files live only for the
  // run), else the system's temporary folder.
  static QString defaultWorkParent();

  RunResult run(const QString& dataFile) const;

  // The paths of the outputs of a data file: its path with the extension replaced.
  static RunResult pathsFor(const QString& dataFile);

 private:
  QString libraryFolder_;
  QString workParent_;
  bool keepLoaded_ = false;
  mutable std::shared_ptr<QLibrary> kept_;  // the library loaded by the first run, while keepLoaded_
};

}  // namespace tarnel::runner
