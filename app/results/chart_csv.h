// A result chart as comma-separated text, for scripts and programs that do not read
// workbooks: the columns of its workbook data sheet, a header row naming each column by its
// line and axis title ("Load #1: Deflection (in)", "Load #1: Depth (ft)", ...), then one row
// per point with the numbers in the shortest general format and "." as decimal separator.
#pragma once

#include <QString>
#include <vector>

#include "app/results/workbook_export.h"

// The file's text for one chart.
QString ChartCsvText(const TGraphPlot& plot);

// Writes `<prefix><key>.csv` into `folder` for each chart (replacing files of those names
// whole); returns an empty text on success, else what went wrong.
QString WriteChartCsvFiles(const std::vector<ExportedChart>& charts, const QString& folder,
                           const QString& prefix = {});
