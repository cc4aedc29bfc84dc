#include "engine/pressure/surcharge.h"

#include "engine/pressure/constants.h"

#include <cmath>

namespace tarnel::engine::pressure {
namespace {

double cube(double v) { return v * v * v; }

double pointLoad(double q, double m, double n, double H) {
  if (m <= kNearLimit) return kPointNear * q * n * n / (H * H * cube(kNearOffset + n * n));
  return kPointFar * q * m * m * n * n / (H * H * cube(m * m + n * n));
}

// `rounded` selects the per-layer force's form, which writes 4/pi as 1.273.
double lineLoad(double q, double m, double n, double H, bool rounded) {
  if (m <= kNearLimit) {
    const double s = kNearOffset + n * n;
    return kLineNear * q * n / (H * s * s);
  }
  const double s = m * m + n * n;
  if (rounded) return kLineFarFactor * q * m * m * n / (H * s * s);
  return 4.0 * q * m * m * n / (kPi * H * s * s);
}

// `rounded` selects the per-layer force's form, which writes 2/pi as 0.6366.
double stripLoad(double q, double x, double b, double z, bool rounded) {
  const double t1 = std::atan((x + b / 2.0) / z);
  const double t2 = std::atan((x - b / 2.0) / z);
  const double beta = t1 - t2;
  const double shape = beta - std::sin(beta) * std::cos(t1 + t2);
  if (rounded) return kStripFactor * q * shape;
  return 2.0 * q * shape / kPi;
}

}  // namespace

double lateralSurchargePressure(int kind, double q, double x, double b, double z, double H) {
  const double m = x / H;
  const double n = z / H;
  switch (kind) {
    case 2: return lineLoad(q, m, n, H, false);
    case 3: return stripLoad(q, x, b, z, false);
    default: return pointLoad(q, m, n, H);
  }
}

double slotSurchargePressure(const SurchargeSlots& s, double z, double H) {
  const double m = s.x / H;
  const double n = z / H;
  double p = 0.0;
  if (s.point > 1.0e-4) p += pointLoad(s.point, m, n, H);
  if (s.line > 1.0e-4) p += lineLoad(s.line, m, n, H, true);
  if (s.strip > 1.0e-4) p += stripLoad(s.strip, s.x, s.width, z, true);
  return p;
}

SurchargeGrid::SurchargeGrid(const std::vector<SurchargeLoad>& loads, double H, double wallLength) {
  if (loads.empty() || !(wallLength > 0.0)) return;
  none_ = false;
  dz_ = wallLength / kSteps;
  for (int k = 1; k <= kSteps; ++k) {
    const double zk = k * dz_;
    double p = 0.0;
    for (const auto& load : loads)
      if (load.q != 0.0) p += lateralSurchargePressure(load.kind, load.q, load.x, load.b, zk, H);
    pressure_[k] = p;
  }
}

int SurchargeGrid::stepAbove(double z, double dz) {
  if (!(z > dz) || !(dz > 0.0)) return 0;
  // A first guess from the quotient, then the comparison k dz < z itself decides, so
  // rounding in the quotient cannot move a depth to another step.
  const double guess = std::ceil(z / dz) - 1.0;
  int k = guess >= kSteps ? kSteps : (guess <= 0.0 ? 0 : static_cast<int>(guess));
  while (k < kSteps && (k + 1) * dz < z) ++k;
  while (k > 0 && !(k * dz < z)) --k;
  return k;
}

double SurchargeGrid::at(double z) const {
  if (none_) return 0.0;
  return pressure_[stepAbove(z, dz_)];
}

double surchargePressureOnGrid(const std::vector<SurchargeLoad>& loads, double z, double H,
                               double wallLength) {
  return SurchargeGrid(loads, H, wallLength).at(z);
}

bool hasActiveSurcharge(const std::vector<SurchargeLoad>& loads) {
  for (const auto& load : loads)
    if (load.q != 0.0) return true;
  return false;
}

SurchargeSlots slotsAfterEcho(SurchargeSlots s, const std::vector<SurchargeLoad>& loads) {
  for (const auto& load : loads) {
    switch (load.kind) {
      case 1: s.point = load.q; s.line = 0; s.strip = 0; s.x = load.x; break;
      case 2: s.line = load.q; s.point = 0; s.strip = 0; s.x = load.x; break;
      case 3: s.strip = load.q; s.point = 0; s.line = 0; s.width = load.b; s.x = load.x; break;
      default: break;  // computed as a point load in the table, but neither echoed nor slotted
    }
  }
  return s;
}

}  // namespace tarnel::engine::pressure
