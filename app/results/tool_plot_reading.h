// How the command-line tools read a plot file: with the project of the run's data file (the
// one named, else the .tn5d of the same name beside the plot file), as the program does after
// a run; without one, with a new project in the unit system the plot file was written in.
#pragma once

#include <QString>

#include "app/results/result_charts.h"

struct ToolPlotReading {
  bool ok = false;
  QString dataFile;  // the data file that was read; empty when there was none
  QString problem;   // when !ok: what is wrong, naming the file
};

ToolPlotReading ReadPlotFileForTool(const QString& plotFile, const QString& dataFile, ResultCharts& charts);
