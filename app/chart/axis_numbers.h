// Axis numbers of the curve charts: "#,##0.###" (thousands grouped, up to three decimals)
// for ordinary ranges, and "#.0##E-0" (one to three decimals, bare exponent) when an end of
// the axis passes 100000 in magnitude or both ends are below 0.001 but not both zero.
#pragma once

#include <QString>
#include <vector>

namespace chart {

enum class AxisPattern { Fixed, Scientific };

AxisPattern axisPatternFor(double lo, double hi);
QString formatAxisNumber(double v, AxisPattern pattern);

// Round tick positions covering [lo, hi] (about `wanted` intervals); also widens lo/hi to
// the outer ticks.
std::vector<double> niceTicks(double& lo, double& hi, int wanted = 5);

}  // namespace chart
