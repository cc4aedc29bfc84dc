#include "app/main/run/analysis_run.h"

#include "app/main/run/run_checks.h"
#include "app/main/user_prompts.h"
#include "app/model/program_data.h"
#include "app/runner/engine_runner.h"

#include <QApplication>
#include <QCursor>

namespace {

// Set while the engine runs: a second run started from a nested event loop must not load
// the library again.
bool g_engineLoaded = false;

// Restores the cursor however the call ends.
class WaitCursor {
public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

AnalysisRun::AnalysisRun(const tarnel::model::TProgramData& project, QWidget* parent)
    : project_(project), parent_(parent) {}

QString AnalysisRun::supportAddress() { return QStringLiteral("support@brivok.com"); }

AnalysisRun::Outcome AnalysisRun::execute() {
  if (const auto problem = checkBeforeRun(project_)) {
    prompts().warning(parent_, *problem);
    return Outcome::Refused;
  }
  if (g_engineLoaded) {
    prompts().information(parent_, QStringLiteral("Attempt to reinitialize DLL"));
    return Outcome::NotLoaded;
  }

  // The runner writes names.dat in a working folder of its own, loads the engine library
  // by name from the program's folder, calls it with 22, unloads it and removes names.dat.
  tarnel::runner::RunResult result;
  {
    WaitCursor wait;
    g_engineLoaded = true;
    result = tarnel::runner::EngineRunner().run(QString::fromStdString(project_.FileName));
    g_engineLoaded = false;
  }

  if (result.engineResult == 1) {
    prompts().information(
        parent_, QStringLiteral("Computations can not be performed. Executable files are not "
                                "consistent.\nYou may need to reinstall the program.\nIf problem "
                                "persist please contact BRIVOK support at\n") +
                     supportAddress());
    return Outcome::Rejected;
  }
  if (result.engineResult < 0) {
    prompts().information(parent_,
                          QStringLiteral("Attempt to initialize DLL failed\n") + result.error);
    return Outcome::NotLoaded;
  }
  // The engine reports nothing through its result: a run that could not write its
  // outputs, or stopped before its end, must not read as completed.
  if (!result.incomplete.isEmpty()) {
    prompts().warning(parent_, QStringLiteral("The analysis did not complete.\n") + result.incomplete);
    return Outcome::Failed;
  }
  prompts().information(parent_, QStringLiteral("Computations are completed. Please, check "
                                                "output file for results or error messages."));
  return Outcome::Completed;
}
