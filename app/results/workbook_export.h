// The result charts written as a spreadsheet workbook (.xlsx), laid out for engineers who take
// the numbers into their own calculation sheets:
//   "Legend"  the index: one row per chart (number, caption, its data sheet with a link, its
//             chart sheet, status);
//   "Page_n"  the chart's numbers: caption and axis titles on top, then two columns per line
//             (name, "X" / "Y", the points), and a link back to the index;
//   "Plot_n"  an XY chart (straight lines with markers) of those columns, axis titles with
//             units, major gridlines, the depth axis running downwards for depth charts and a
//             black-bordered white legend.
// The workbook is assembled apart and lands at `path` only when complete (a temporary file in
// the same folder, renamed), so a failure never leaves a half-written or clobbered file.
#pragma once

#include <QString>
#include <vector>

class TGraphPlot;

struct ExportedChart {
  QString key;                     // the chart's short name ("deflection"), for messages
  const TGraphPlot* plot = nullptr;
};

// A chart sheet holds at most this many series (the spreadsheet's own limit); further lines
// are on the data sheet only.
constexpr int kMaxSeriesPerChart = 255;

// Writes `charts` in order as sheets n = 1, 2, ...; returns an empty text on success, else
// what went wrong in words a user can act on. Every chart needs at least one line with at
// least one point.
QString WriteChartWorkbook(const std::vector<ExportedChart>& charts, const QString& path);

// Why `charts` cannot be exported (none chosen, or one without a line with a point); empty
// when they can.
QString CheckExportedCharts(const std::vector<ExportedChart>& charts);

// The workbook's sheet of numbers and chart for the n-th chart (from 1).
QString DataSheetName(int n);
QString ChartSheetName(int n);
