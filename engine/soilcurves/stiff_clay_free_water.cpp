#include "engine/soilcurves/stiff_clay_free_water.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/fixed_format.h"
#include "engine/soilcurves/clay_common.h"
#include "engine/soilcurves/finishing.h"
#include "engine/soilcurves/soil_model.h"

namespace tarnel::engine::py {
namespace {

// The empirical factor As for static loading against x/b at 0, 1, 2, ... 5 (read from
// the chart of Reese, Cox and Koop, 1975, for stiff clay below water; beyond 5 the
// last step goes on).
constexpr std::array<double, 6> kAs = {0.0, sp(0.223f), sp(0.46f), sp(0.55f), sp(0.59f), sp(0.6f)};

}  // namespace

double stiffClayAs(double r) {
  // Not a number: no table row can be chosen; the curve becomes undefined and the
  // finishing step stops the run with a message naming it.
  if (std::isnan(r)) return r;
  if (r <= 0.0) return 0.0;
  if (r >= 5.0) return kAs[4] + sp(0.01f) * (r - 4.0);
  const int i = std::min(static_cast<int>(r), 4);
  return kAs[i] + (kAs[i + 1] - kAs[i]) * (r - i);
}

double stiffClayWetUltimate(const StiffClayWetInput& in) {
  if (in.touching) return touchingClayUltimate(in.x, in.b, in.cu, in.gammaAvg);
  const double pct = 2.0 * in.ca * in.b + in.gammaAvg * in.b * in.x + sp(2.83f) * in.ca * in.x;
  const double pcd = 11.0 * in.cu * in.b;
  return std::min(pct, pcd);
}

double stiffClayWetPeakFactor(double as) {
  return sp(1.225f) * std::sqrt(as) - 0.75 * as - sp(0.411f);
}

StiffClayWetCurve stiffClayWetCurve(const StiffClayWetInput& in) {
  StiffClayWetCurve c;
  c.pc = stiffClayWetUltimate(in);
  c.y50 = in.e50 * in.b;
  c.as = stiffClayAs(in.x / in.b);
  const double ay = c.as * c.y50;      // As y50
  const double kx = in.k * in.x;
  const double peak = 0.5 * c.pc * std::sqrt(6.0 * c.as) - sp(0.411f) * c.pc;
  for (int j = 0; j < kPoints; ++j) {
    double y;
    if (j < 13) y = j * 0.5 * ay;
    else if (j == 13) y = 10.0 * ay;
    else if (j == 14) y = 14.0 * ay;
    else if (j == 15) y = 18.0 * ay;
    else y = 200.0 * ay;
    double p;
    if (y <= ay) {
      p = 0.5 * c.pc * std::sqrt(y / c.y50);
    } else if (y <= 6.0 * ay) {
      p = 0.5 * c.pc * std::sqrt(y / c.y50) - sp(0.055f) * c.pc * std::pow((y - ay) / ay, 1.25);
    } else if (y <= 18.0 * ay) {
      p = peak - (0.0625 / c.y50) * c.pc * (y - 6.0 * ay);
    } else {
      p = peak - 0.75 * c.pc * c.as;
    }
    c.points.y[j] = y;
    c.points.p[j] = std::min(p, kx * y);
  }
  return c;
}

void stiffClayWetCurves(PySoilModel& m, CurveFinisher& f, int layer) {
  const UnitTexts& u = f.units();
  PyLayer& L = m.layers[layer];
  const int first = PySoilModel::firstCurve(layer);
  double pcPrev = 0.0;
  double cuArea = 0.0;  // integral of cu over the curve depths of a lower layer
  for (int c = first; c < first + kCurvesPerLayer; ++c) {
    const CurveSoil& s = m.curveSoil[c];
    // In a lower layer the average strength runs over the layer's curves from its first.
    double ca = s.ca;
    if (layer > 0) {
      if (c > first) {
        cuArea += 0.5 * (s.cu + m.curveSoil[c - 1].cu) * (s.X - m.curveX[c - 1]);
        const double span = s.X - m.curveX[first];
        ca = span > 0.0 ? cuArea / span : s.cu;
      } else {
        ca = s.cu;
      }
    }
    f.beginCurve(c);
    double pcExcavation = 0.0, asExcavation = 0.0;
    for (Side side : kSides) {
      const StiffClayWetInput in{formulaDepth(m, c, side), s.b, s.cu, ca, s.gammaAvg, s.e50, s.k, m.touching()};
      const StiffClayWetCurve curve = stiffClayWetCurve(in);
      if (side == Side::Excavation) {
        pcExcavation = curve.pc;
        asExcavation = curve.as;
      }
      SideReport r;
      r.side = side;
      r.header = {{"DEPTH BELOW GS", u.len, fmt::fixed(printedDepth(m, c, side), 10, 2)},
                  {"DIAM", u.len, fmt::fixed(s.b, 10, 3)},
                  {"C", u.stress(), fmt::exponent(s.cu, 10, 3)},
                  {"CAVG", u.stress(), fmt::exponent(ca, 10, 3)},
                  {"GAMMA AVG", u.unitWeight(), fmt::exponent(s.gammaAvg, 10, 3)},
                  {"E50", "", fmt::exponent(s.e50, 12, 3)},
                  {"AS", "", fmt::fixed(curve.as, 8, 3)},
                  {"PC", u.forcePerLength(), fmt::exponent(curve.pc, 10, 3)}};
      f.finish(c, kStiffClayWet, s, r, curve.points);
    }
    if (c > first)
      L.runningIntegral += (s.X - m.curveX[c - 1]) * 0.5 * (pcExcavation + pcPrev) *
                           stiffClayWetPeakFactor(asExcavation);
    pcPrev = pcExcavation;
  }
}

}  // namespace tarnel::engine::py
