// TLine: one line (curve) of a result chart: its points, a number that names it by default,
// an explicit name, and the Shown and Active flags the chart window toggles.
#pragma once

#include <QString>
#include <vector>

class TGraphPlot;

// X is the plotted quantity, Y the depth (for p-y curves: X the deflection y, Y the
// resistance p).
struct TFloatPoint {
  double X = 0;
  double Y = 0;
  friend bool operator==(const TFloatPoint&, const TFloatPoint&) = default;
};

class TLine {
 public:
  explicit TLine(TGraphPlot* owner = nullptr, double number = 0) : Owner(owner), Number(number) {}

  std::vector<TFloatPoint> Points;
  TGraphPlot* Owner = nullptr;
  double Number = 0;  // a new main line gets its position counted from 1
  QString Name;       // explicit name; empty: the chart's default rule names the line
  bool Shown = true;
  bool Active = true;
};
