// Run Analysis after the project has been saved: check the input, run the engine library on
// the data file (through the runner shared with tarnel-run: a per-run working folder with
// names.dat, the library loaded by name, the entry point called with 22, the library
// unloaded and names.dat removed), and tell the user how it ended.
#pragma once

#include <QString>

class QWidget;
namespace tarnel::model {
class TProgramData;
}

class AnalysisRun {
public:
  enum class Outcome {
    Refused,    // the checks stopped the run; the engine was not called
    NotLoaded,  // the engine library could not be loaded (or is still loaded)
    Rejected,   // the engine refused the interface version (result 1)
    Failed,     // the engine ran but left no complete analysis: the plot file is not read
    Completed   // the engine ran; its report says how the analysis went
  };

  AnalysisRun(const tarnel::model::TProgramData& project, QWidget* parent);

  // Steps after the save: checks, engine call, messages.
  Outcome execute();

  // The support address named in the refusal message.
  static QString supportAddress();

private:
  const tarnel::model::TProgramData& project_;
  QWidget* parent_;
};
