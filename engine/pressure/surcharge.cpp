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

double surchargePressureOnGrid(const std::vector<SurchargeLoad>& loads, double z, double H,
                               double wallLength) {
  if (loads.empty() || !(wallLength > 0.0)) return 0.0;
  const double dz = wallLength / 200.0;
  int grid = 0;
  for (int k = 1; k <= 200; ++k)
    if (k * dz < z) grid = k;
  if (grid == 0) return 0.0;
  const double zk = grid * dz;
  double p = 0.0;
  for (const auto& load : loads)
    if (load.q != 0.0) p += lateralSurchargePressure(load.kind, load.q, load.x, load.b, zk, H);
  return p;
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
