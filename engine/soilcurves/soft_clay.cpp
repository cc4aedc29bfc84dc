#include "engine/soilcurves/soft_clay.h"

#include <algorithm>
#include <cmath>

#include "engine/fixed_format.h"
#include "engine/soilcurves/clay_common.h"
#include "engine/soilcurves/finishing.h"
#include "engine/soilcurves/soil_model.h"

namespace tarnel::engine::py {
namespace {

// Deflections as fractions of 8 y50 (Matlock's points, reaching 9.6 y50).
constexpr std::array<double, kPoints> kRatio = {
    0.0,       sp(0.00025f), sp(0.0025f), sp(0.0075f), sp(0.02f), sp(0.04f),
    sp(0.06f), sp(0.1f),     sp(0.15f),   sp(0.225f),  sp(0.3f),  sp(0.4f),
    sp(0.5f),  sp(0.65f),    sp(0.8f),    1.0,         sp(1.2f)};
// Deflections below this are treated as zero (the secant modulus is taken at the limit).
constexpr double kTiny = 1.0e-14;

}  // namespace

double softClayUltimate(const SoftClayInput& in) {
  if (in.touching) return touchingClayUltimate(in.x, in.b, in.cu, in.gammaAvg);
  if (!(in.cu > 0.0)) return 0.0;
  const double F = std::min(3.0 + in.gammaAvg * in.x / in.cu + 0.5 * in.x / in.b, 9.0);
  return F * in.cu * in.b;
}

SoftClayCurve softClayCurve(const SoftClayInput& in) {
  SoftClayCurve c;
  c.pu = softClayUltimate(in);
  c.y50 = 2.5 * in.e50 * in.b;
  c.es0 = 0.5 * c.pu * std::pow(c.y50 / kTiny, 2.0 / 3.0) / c.y50;
  for (int j = 0; j < kPoints; ++j) {
    const double y = 8.0 * c.y50 * kRatio[j];
    double p = 0.0;
    if (y >= kTiny) {
      p = y <= 8.0 * c.y50 ? 0.5 * c.pu * std::cbrt(y / c.y50) : c.pu;
    } else if (j > 0) {
      p = c.es0 * y;
      c.smallDeflection[j] = true;
    }
    c.points.y[j] = y;
    c.points.p[j] = p;
  }
  return c;
}

void softClayCurves(PySoilModel& m, CurveFinisher& f, int layer) {
  const UnitTexts& u = f.units();
  PyLayer& L = m.layers[layer];
  const int first = PySoilModel::firstCurve(layer);
  for (int c = first; c < first + kCurvesPerLayer; ++c) {
    const CurveSoil& s = m.curveSoil[c];
    f.beginCurve(c);
    double puExcavation = 0.0;
    for (Side side : kSides) {
      const SoftClayInput in{formulaDepth(m, c, side), s.b, s.cu, s.gammaAvg, s.e50, m.touching()};
      const SoftClayCurve curve = softClayCurve(in);
      if (side == Side::Excavation) puExcavation = curve.pu;
      SideReport r;
      r.side = side;
      r.softClay = true;
      r.smallDeflection = curve.smallDeflection;
      r.es0 = curve.es0;
      r.header = {{"DEPTH BELOW GS", u.len, fmt::fixed(printedDepth(m, c, side), 10, 2)},
                  {"DIAM", u.len, fmt::fixed(s.b, 10, 3)},
                  {"C", u.stress(), fmt::exponent(s.cu, 10, 3)},
                  {"GAMMA AVG", u.unitWeight(), fmt::exponent(s.gammaAvg, 10, 3)},
                  {"E50", "", fmt::exponent(s.e50, 12, 3)},
                  {"PU", u.forcePerLength(), fmt::exponent(curve.pu, 10, 3)}};
      f.finish(c, kSoftClay, s, r, curve.points);
    }
    if (c > first) L.runningIntegral += (s.X - m.curveX[c - 1]) * puExcavation;
  }
}

}  // namespace tarnel::engine::py
