#include "app/results/factor_step.h"

#include <cmath>

namespace tarnel::view3d {

namespace {
// Products like 0.1 x 0.9 carry a binary tail (0.09000000000000001): keep 12 digits.
double Tidy(double v) {
  if (v == 0 || !std::isfinite(v)) return v;
  const double scale = std::pow(10.0, 11 - std::floor(std::log10(std::abs(v))));
  return std::round(v * scale) / scale;
}
}  // namespace

double StepFactor(double factor, bool up) {
  if (!(factor > 0)) return 1;  // also NaN
  const bool tenths = factor > 0.1 && factor < 1;
  const double f = tenths ? factor * 10 : factor;
  const double e = std::floor(std::log10(f) + 1e-12);
  const double g = std::pow(10.0, e);
  const int k = static_cast<int>(std::floor(f / g + 1e-9));
  double lead;
  if (up)
    lead = k == 10 ? 20 : k + 1;
  else
    lead = k == 1 ? 0.9 : k - 1;
  const double stepped = g * lead;
  return Tidy(tenths ? stepped / 10 : stepped);
}

}  // namespace tarnel::view3d
