#include "engine/soilcurves/stiff_clay_no_free_water.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/fixed_format.h"
#include "engine/soilcurves/clay_common.h"
#include "engine/soilcurves/finishing.h"
#include "engine/soilcurves/soil_model.h"

namespace tarnel::engine::py {
namespace {

// Deflections of points 1..15 as fractions of 16 y50; points 16 and 17 lie at 18 and 20 y50.
constexpr std::array<double, 15> kRatio = {0.0,        sp(1.0e-5f), sp(5.0e-5f), sp(1.0e-4f), sp(5.0e-4f),
                                           sp(0.001f), sp(0.005f),  sp(0.01f),   sp(0.025f),  sp(0.05f),
                                           sp(0.075f), sp(0.1f),    sp(0.25f),   sp(0.5f),    1.0};

}  // namespace

double stiffClayDryUltimate(const StiffClayDryInput& in) {
  if (in.touching) return touchingClayUltimate(in.x, in.b, in.cu, in.gammaAvg);
  return std::min(3.0 * in.ca * in.b + in.gammaAvg * in.b * in.x + 0.5 * in.ca * in.x, 9.0 * in.cu * in.b);
}

StiffClayDryCurve stiffClayDryCurve(const StiffClayDryInput& in) {
  StiffClayDryCurve c;
  c.pu = stiffClayDryUltimate(in);
  c.y50 = 2.5 * in.e50 * in.b;
  const double y16 = 16.0 * c.y50;
  for (int j = 0; j < kPoints; ++j) {
    const double y = j < 15 ? y16 * kRatio[j] : (j == 15 ? 18.0 : 20.0) * c.y50;
    c.points.y[j] = y;
    c.points.p[j] = y <= y16 ? 0.5 * c.pu * std::pow(y / c.y50, 0.25) : c.pu;
  }
  return c;
}

void stiffClayDryCurves(PySoilModel& m, CurveFinisher& f, int layer) {
  const UnitTexts& u = f.units();
  PyLayer& L = m.layers[layer];
  const int first = PySoilModel::firstCurve(layer);
  double puPrev = 0.0;
  for (int c = first; c < first + kCurvesPerLayer; ++c) {
    const CurveSoil& s = m.curveSoil[c];
    f.beginCurve(c);
    double puExcavation = 0.0;
    for (Side side : kSides) {
      const StiffClayDryInput in{formulaDepth(m, c, side), s.b, s.cu, s.ca, s.gammaAvg, s.e50, m.touching()};
      const StiffClayDryCurve curve = stiffClayDryCurve(in);
      if (side == Side::Excavation) puExcavation = curve.pu;
      SideReport r;
      r.side = side;
      r.header = {{"DEPTH BELOW GS", u.len, fmt::fixed(printedDepth(m, c, side), 10, 2)},
                  {"DIAM", u.len, fmt::fixed(s.b, 10, 3)},
                  {"C", u.stress(), fmt::exponent(s.cu, 10, 3)},
                  {"CAVG", u.stress(), fmt::exponent(s.ca, 10, 3)},
                  {"GAMMA AVG", u.unitWeight(), fmt::exponent(s.gammaAvg, 10, 3)},
                  {"E50", "", fmt::exponent(s.e50, 12, 3)},
                  {"PU", u.forcePerLength(), fmt::exponent(curve.pu, 10, 3)}};
      f.finish(c, kStiffClayDry, s, r, curve.points);
    }
    if (c > first) L.runningIntegral += (s.X - m.curveX[c - 1]) * 0.5 * (puExcavation + puPrev);
    puPrev = puExcavation;
  }
}

}  // namespace tarnel::engine::py
