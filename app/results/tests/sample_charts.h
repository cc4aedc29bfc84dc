// Hand-made result charts that look like the results of a cantilevered sheet-pile wall in
// English units: 30 ft of wall, excavation at 12 ft, depths in feet, deflection in inches,
// moment in in-kips, shear in kips, and the soil-layer and wall lines of the three-panel
// chart as the plot-file reader builds them. Used by the tests, the screenshots and the
// benchmark.
#pragma once

#include <cmath>
#include <numbers>

#include "app/results/graph_plot.h"

namespace sample {

inline constexpr double kTip = 30;         // ft
inline constexpr double kExcavation = 12;  // ft
inline constexpr int kStations = 61;       // every half foot

// Deflection (in) of stage k at depth z (ft): largest at the top, a small reverse bow below
// the point of fixity, nearly nothing at the tip.
inline double Deflection(double z, int k) {
  const double u = z / kTip;
  const double y0 = 0.55 + 0.22 * k;
  return y0 * (std::pow(1 - u, 3) - 0.08 * std::sin(std::numbers::pi * u)) ;
}

// Moment (in-kips): zero at the top and the tip, largest a little below the excavation.
inline double Moment(double z, int k) {
  const double u = z / kTip;
  const double m = 310 + 95 * k;
  return -m * 6.75 * u * u * (1 - u);
}

// Shear (kips): the slope of the moment (per foot, moment in in-kips).
inline double Shear(double z, int k) {
  const double u = z / kTip;
  const double m = 310 + 95 * k;
  return -m * 6.75 * (2 * u - 3 * u * u) / kTip / 12;
}

inline void FillDepthLines(TGraphPlot& plot, LineList list, int lines, double (*f)(double, int)) {
  plot.SetLineCount(lines, list);
  plot.SetPointCount(kStations, list);
  for (int k = 0; k < lines; ++k)
    for (int j = 0; j < kStations; ++j) {
      const double z = j * kTip / (kStations - 1);
      plot.Point(k, j, list) = {f(z, k), z};
    }
}

inline void NameStages(TGraphPlot& plot) {
  for (int k = 0; k < plot.LineCount(); ++k)
    plot.Line(k).Name = QStringLiteral("Stage: %1").arg(k + 1);
}

// The deflection chart with `lines` stages (one section: default names Load #1 ...).
inline void MakeDeflection(TGraphPlot& plot, int lines = 1) {
  plot.Caption = QStringLiteral("Deflection vs Depth");
  plot.CurveName = QStringLiteral("Load #");
  plot.XCaption = QStringLiteral("Deflection");
  plot.XUnits = QStringLiteral("L");
  plot.YCaption = QStringLiteral("Depth (ft)");
  plot.XOnTop = true;
  FillDepthLines(plot, LineList::Main, lines, Deflection);
  if (lines > 1) NameStages(plot);
}

// The moment chart with `lines` lines.
inline void MakeMoment(TGraphPlot& plot, int lines) {
  plot.Caption = QStringLiteral("Moment vs Depth");
  plot.CurveName = QStringLiteral("Load #");
  plot.XCaption = QStringLiteral("Bending Moment (in-kips)");
  plot.YCaption = QStringLiteral("Depth (ft)");
  FillDepthLines(plot, LineList::Main, lines, Moment);
  if (lines > 1) NameStages(plot);
}

struct Layer {
  const char* name;
  int code;
  double bottom;  // ft
};

// The three-panel chart of a two-pass (short-term, long-term) analysis with its soil layers
// and wall lines; `strip`: the soil strip and the wall shown.
inline void MakeDms(TGraphPlot& plot, bool strip = false) {
  plot.ShowLayers = strip;
  plot.ShowWall = strip;
  plot.Caption = QStringLiteral("Deflection, Moment, Shear vs Depth");
  plot.CurveName = QStringLiteral("Curve #");
  plot.ShowThree = true;
  plot.XCaption = QStringLiteral("Deflection");
  plot.XUnits = QStringLiteral("L");
  plot.YCaption = QStringLiteral("Depth (ft)");
  plot.XCaption2 = QStringLiteral("Bending Moment (in-kips)");
  plot.YCaption2 = QStringLiteral("Depth (ft)");
  plot.XCaption3 = QStringLiteral("Shear (kips)");
  plot.YCaption3 = QStringLiteral("Depth (ft)");
  FillDepthLines(plot, LineList::Main, 2, Deflection);
  FillDepthLines(plot, LineList::Panel2, 2, Moment);
  FillDepthLines(plot, LineList::Panel3, 2, Shear);
  plot.Line(0).Name = QStringLiteral("Short-Term");
  plot.Line(1).Name = QStringLiteral("Long-Term");

  static constexpr Layer kLayers[] = {{" CLAY ", 1, 6},   {" SAND ", 7, 11},        {" SILT ", 8, 17},
                                      {"WEAK ROCK", 10, 23}, {"STRONG ROCK", 9, 34}};
  const int n = static_cast<int>(std::size(kLayers));
  plot.SetLineCount(n + 2, LineList::Layers);
  plot.SetPointCount(1, LineList::Layers);
  for (int i = 0; i < n; ++i) {
    plot.Line(i, LineList::Layers).Name = QString::fromLatin1(kLayers[i].name);
    plot.Point(i, 0, LineList::Layers) = {double(kLayers[i].code), kLayers[i].bottom};
  }
  plot.Line(n, LineList::Layers).Name = QStringLiteral("PILE");
  plot.Point(n, 0, LineList::Layers) = {0, kTip};
  plot.Line(n + 1, LineList::Layers).Name = QStringLiteral("PILE");
  plot.Point(n + 1, 0, LineList::Layers) = {0, kExcavation};
  plot.WallLineCount = n;
}

}  // namespace sample
