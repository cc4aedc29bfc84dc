// Which result charts the export offers, in the order of its list, and when each of them can
// be chosen. The export dialog and tarnel-export both take the charts from here.
#pragma once

#include <array>
#include <vector>

#include "app/results/result_charts.h"
#include "app/results/workbook_export.h"

// The seven exportable charts in list order (the three-panel chart repeats three of them).
const std::array<ChartId, 7>& ExportableCharts();

// A chart can be chosen when its Graphics command is on and it has a line with a point to
// write (the combined chart's command alone does not promise any).
bool ExportChoosable(const ResultCharts& charts, ChartId id, bool plotFileExists);

// The charts `ids` as the writers take them, named by their command-line words.
std::vector<ExportedChart> ExportedChartsOf(const ResultCharts& charts, const std::vector<ChartId>& ids);
