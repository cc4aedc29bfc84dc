#include "engine/soilcurves/equivalent_depth.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/soilcurves/sand.h"
#include "engine/soilcurves/silt.h"
#include "engine/soilcurves/stiff_clay_free_water.h"

namespace tarnel::engine::py {
namespace {

// Positive root of a2 x^2 + a1 x = sum (a2, a1 >= 0, sum > 0).
double positiveRoot(double a2, double a1, double sum) {
  if (a2 <= 0.0) return a1 > 0.0 ? sum / a1 : 0.0;
  // The form without cancellation: x = 2 sum / (a1 + sqrt(a1^2 + 4 a2 sum)).
  return 2.0 * sum / (a1 + std::sqrt(a1 * a1 + 4.0 * a2 * sum));
}

constexpr long kMaxSteps = 1000000;

}  // namespace

double cappedLinearDepth(double a0, double a1, double cap, double sum) {
  if (!(sum > 0.0) || !(cap > 0.0)) return 0.0;
  if (std::isinf(cap)) return positiveRoot(0.5 * std::max(a1, 0.0), std::max(a0, 0.0), sum);  // never capped
  if (a0 >= cap) return sum / cap;
  if (!(a1 > 0.0)) return a0 > 0.0 ? sum / a0 : 0.0;
  const double xt = (cap - a0) / a1;            // where the linear value reaches the cap
  const double at = a0 * xt + 0.5 * a1 * xt * xt;
  if (sum <= at) return positiveRoot(0.5 * a1, a0, sum);
  return xt + (sum - at) / cap;
}

double steppedDepth(const std::function<double(double)>& pu, double sum, double meetDepth, int steps,
                    double fallback) {
  if (!(sum > 0.0) || steps < 1) return 0.0;
  const double span = std::isfinite(meetDepth) && meetDepth > 0.0 ? meetDepth : fallback;
  if (!(span > 0.0)) return 0.0;
  const double dx = span / steps;
  double x0 = 0.0, f0 = pu(0.0), area = 0.0;
  bool resisting = f0 > 0.0;
  // Past the meeting depth the deep expression holds; the stepping simply goes on.
  for (long i = 1; i <= kMaxSteps; ++i) {
    const double x1 = i * dx, f1 = pu(x1);
    resisting = resisting || f1 > 0.0;
    const double next = area + 0.5 * dx * (f0 + f1);
    if (next >= sum) return next > area ? x0 + dx * (sum - area) / (next - area) : x1;
    x0 = x1;
    f0 = f1;
    area = next;
  }
  if (!resisting || !(f0 > 0.0)) return 0.0;
  return x0 + (sum - area) / f0;  // linearly with the deep value
}

double equivalentDepth(const PySoilModel& m, int layer, const CurveSoil& s, double sum) {
  if (!(sum > 0.0)) return 0.0;
  const int kind = m.layers[layer].kind;
  const double b = s.b, g = s.gammaAvg;
  if (kind == kRock || kind == kWeakRock) return 0.0;

  if (m.touching() && (kind == kSoftClay || kind == kStiffClayWet || kind == kStiffClayDry)) {
    // Plane passive resistance (z gamma' + 2 cu) b.
    return cappedLinearDepth(2.0 * s.cu * b, g * b, std::numeric_limits<double>::infinity(), sum);
  }
  switch (kind) {
    case kStiffClayDry:
      // pu = 3 ca b + gamma' b z + 0.5 ca z, at most 9 cu b.
      return cappedLinearDepth(3.0 * s.ca * b, g * b + 0.5 * s.ca, 9.0 * s.cu * b, sum);
    case kStiffClayWet: {
      // At the first curve of a lower layer the average strength of this kind is cu.
      StiffClayWetInput in{0.0, b, s.cu, s.cu, g, s.e50, s.k, false};
      const double a1 = g * b + sp(2.83f) * s.cu;
      const double meet = a1 > 0.0 ? (11.0 * s.cu * b - 2.0 * s.cu * b) / a1 : 0.0;
      return steppedDepth([&](double z) { in.x = z; return stiffClayWetUltimate(in); }, sum, meet, 40, 6.0 * b);
    }
    case kSand: {
      SandInput in{0.0, b, g, s.phi, s.k, m.touching()};
      const double meet = wedgeFlowMeetingDepth(b, s.phi, Precision::Single);
      return steppedDepth([&](double z) { in.x = z; return sandUltimate(in); }, sum, meet, 100, 6.0 * b);
    }
    case kSilt: {
      SiltInput in{0.0, b, g, s.phi, s.cu, s.k, m.touching()};
      const double meet = wedgeFlowMeetingDepth(b, s.phi, Precision::Double);
      return steppedDepth([&](double z) { in.x = z; return siltUltimate(in); }, sum, meet, 50, 6.0 * b);
    }
    default:
      // Soft clay (and any other kind): F cu b with F = 3 + gamma' z/cu + 0.5 z/b <= 9.
      if (!(s.cu > 0.0)) return 0.0;
      return cappedLinearDepth(3.0 * s.cu * b, g * b + 0.5 * s.cu, 9.0 * s.cu * b, sum);
  }
}

}  // namespace tarnel::engine::py
