// One repaint of the three-panel deflection, moment and shear chart (two lines of 61 points
// per panel, markers at every point, the soil strip with the wall) at 1600 x 1000 pixels,
// the size of a maximised chart window: layout, titles, ticks, grid, labels, lines,
// markers, strip and frames.
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include "app/results/chart_painter.h"
#include "app/results/graph_plot.h"
#include "app/results/tests/sample_charts.h"

namespace {

void BM_RepaintThreePanelChart(benchmark::State& state) {
  TGraphPlot plot;
  sample::MakeDms(plot, true);
  const ChartView view = *FullChartView(plot);
  QImage image(1600, 1000, QImage::Format_RGB32);
  const PaintTarget target = ScreenTarget(image.rect(), 96, 96);
  for (auto _ : state) {
    QPainter painter(&image);
    PaintChart(painter, plot, view, target);
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_RepaintThreePanelChart)->Unit(benchmark::kMillisecond);

// The same chart as a saved picture with the legend drawn in (6 x 4 in at 300 pixels per
// inch: 1800 x 1200 pixels).
void BM_RenderThreePanelPicture(benchmark::State& state) {
  TGraphPlot plot;
  sample::MakeDms(plot, true);
  RenderOptions options;
  options.layoutDpi = 96;
  for (auto _ : state) benchmark::DoNotOptimize(RenderChartImage(plot, 6, 4, 300, nullptr, options));
}
BENCHMARK(BM_RenderThreePanelPicture)->Unit(benchmark::kMillisecond);

}  // namespace
