#include "app/results/export_selection.h"

const std::array<ChartId, 7>& ExportableCharts() {
  static const std::array<ChartId, 7> order = {ChartId::PY,   ChartId::Def, ChartId::Shear, ChartId::Mom,
                                               ChartId::Soil, ChartId::LD,  ChartId::Combine};
  return order;
}

bool ExportChoosable(const ResultCharts& charts, ChartId id, bool plotFileExists) {
  const TGraphPlot& plot = charts.Chart(id);
  return charts.CommandEnabled(id, plotFileExists) && plot.LineCount() > 0 && plot.PointCount() > 0;
}

std::vector<ExportedChart> ExportedChartsOf(const ResultCharts& charts, const std::vector<ChartId>& ids) {
  std::vector<ExportedChart> out;
  for (ChartId id : ids)
    out.push_back({QString::fromLatin1(ChartTable()[static_cast<std::size_t>(id)].word), &charts.Chart(id)});
  return out;
}
