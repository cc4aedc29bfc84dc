// What a finished run says about itself, read back from its report and plot-data file:
// how many problem blocks ran, the iterations of the last one, its largest deflection
// and moment, whether the report reached "END OF ANALYSIS" and the first error line.
#pragma once

#include <QString>

#include "app/runner/engine_runner.h"

namespace tarnel::runner {

struct RunSummary {
  int problems = 0;            // results blocks in the plot-data file (last one counted once)
  int iterations = -1;         // "RESULTS -- ITERATION" of the last problem, -1 when none
  int units = 0;               // units code of the last results block
  double maxDeflection = 0;    // largest |deflection| of the last results block
  double maxMoment = 0;        // largest |moment| of the last results block
  bool hasResults = false;
  bool finished = false;       // the report ends with END OF ANALYSIS
  QString errorLine;           // first error or warning line of the report, trimmed
  QString plotError;           // "plot file unreadable at line N" when a count does not fit the file

  // One line for a terminal, e.g. "12 iterations, maximum deflection 0.579 IN, ...".
  QString oneLine() const;
};

RunSummary summarizeRun(const QString& reportPath, const QString& plotPath);

// The analysis did not end cleanly: an input error, a value the engine could not carry, an
// output it could not write, or a plot file that can not be read.
bool analysisStopped(const RunResult& run, const RunSummary& summary);

}  // namespace tarnel::runner
