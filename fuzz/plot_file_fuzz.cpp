// The plot-file reader of the result charts. The first byte picks the unit system of the
// project the plot file belongs to (1..3), the rest is the plot file. Properties: no crash,
// hang or sanitizer report; a failed reading says why; every point of every chart is finite.
#include "app/model/program_data.h"
#include "app/results/result_charts.h"
#include "fuzz/fuzz_support.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace tarnel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  static model::TProgramData projects[3];
  static const bool ready = [] {
    for (int u = 0; u < 3; ++u) projects[u].SetUnits(u + 1);
    return true;
  }();
  (void)ready;
  static ResultCharts charts;
  const model::TProgramData& project = projects[data[0] % 3];
  QString error;
  const bool loaded =
      charts.LoadPlotText(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1), project, &error);
  fuzz::check(loaded || !error.isEmpty(), "plot file refused without a message");
  for (int c = 0; c < kChartCount; ++c) {
    const TGraphPlot& chart = charts.Chart(static_cast<ChartId>(c));
    for (LineList list : {LineList::Main, LineList::Layers, LineList::Panel2, LineList::Panel3})
      for (int i = 0; i < chart.LineCount(list); ++i)
        for (const TFloatPoint& p : chart.Line(i, list).Points)
          fuzz::check(std::isfinite(p.X) && std::isfinite(p.Y), "non-finite point in a chart",
                      [&] { return std::to_string(c) + " line " + std::to_string(i); });
  }
  return 0;
}
