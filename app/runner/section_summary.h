// The results of a run, one row per result section (a single analysis, Short-Term and
// Long-Term, or Stage: k), for summaries of many runs: how the section ended, its
// iterations, the top and largest deflection, moment and shear with their depths, and the
// tieback forces. Deflection, moment and shear come from the plot file through the
// program's own chart reader, in the units the charts show (English results in inches,
// feet and kips); status, iterations and tieback forces come from the report.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <vector>

namespace tarnel::runner {

struct SectionRow {
  QString file;     // the data file
  QString section;  // "", "Short-Term", "Long-Term" or "Stage: k"
  QString status;   // "closed", "not closed within the tolerance", "input error", "not analysed"
  QString detail;   // the report line (or the runner's message) behind a status other than closed
  int iterations = -1;
  double topDeflection = 0;
  double maxDeflection = 0, maxDeflectionDepth = 0;  // the largest in magnitude, with its sign
  double maxMoment = 0, maxMomentDepth = 0;
  double maxShear = 0, maxShearDepth = 0;
  QList<double> tiebackForces;  // force per tieback row, as the report gives it
  int units = 0;                // 1 English, 2 SI, 0 unknown
  QList<QPair<QString, QString>> values;  // the varied values of a study, by name
};

// The rows of one analysed data file from its report and plot file. A run that left no
// results gives one row that says why.
std::vector<SectionRow> summarizeSections(const QString& dataFile, const QString& reportPath,
                                          const QString& plotPath);
// One row for a data file that could not be analysed.
SectionRow notAnalysed(const QString& dataFile, const QString& why);

// Writes the rows as .csv or .json (by the extension), replacing the file only when it was
// written whole; false with `error` set otherwise.
bool writeSummary(const QString& path, const std::vector<SectionRow>& rows, QString* error);

}  // namespace tarnel::runner
