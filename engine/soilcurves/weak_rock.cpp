#include "engine/soilcurves/weak_rock.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/fixed_format.h"
#include "engine/soilcurves/finishing.h"
#include "engine/soilcurves/soil_model.h"

namespace tarnel::engine::py {
namespace {

// Deflections of the 17 points as fractions of yrm = krm b (Reese, 1997, weak rock):
// dense near the origin, where the curve bends most, and out to 12 yrm.
constexpr std::array<double, kPoints> kRatio = {
    0.0005, 0.001, 0.003, 0.006, 0.009, 0.02, 0.04, 0.06, 0.08, 0.1, 0.25, 0.5, 0.75, 1.0, 4.0, 8.0, 12.0};

}  // namespace

WeakRockCurve weakRockCurve(const WeakRockInput& in) {
  WeakRockCurve c;
  c.alphar = 1.0 - in.rqd * sp(1.0f / 150.0f);
  const bool shallow = in.xr <= 3.0 * in.b;
  c.pur = shallow ? c.alphar * in.qur * (in.b + sp(1.4f) * in.xr) : sp(5.2f) * c.alphar * in.qur * in.b;
  c.kir = (shallow ? 100.0 + 400.0 * in.xr / (3.0 * in.b) : 500.0) * in.eir;
  c.yrm = in.krm * in.b;
  c.ya = std::pow(c.pur / (2.0 * std::pow(c.yrm, 0.25) * c.kir), 4.0 / 3.0);
  for (int j = 0; j < kPoints; ++j) {
    const double y = c.yrm * kRatio[j];
    c.points.y[j] = y;
    c.points.p[j] = y < c.ya ? c.kir * y : std::min(0.5 * c.pur * std::pow(y / c.yrm, 0.25), c.pur);
  }
  return c;
}

void weakRockCurves(PySoilModel& m, CurveFinisher& f, int layer) {
  const UnitTexts& u = f.units();
  const PyLayer& L = m.layers[layer];
  const int first = PySoilModel::firstCurve(layer);
  for (int c = first; c < first + kCurvesPerLayer; ++c) {
    const CurveSoil& s = m.curveSoil[c];
    // Depth into the rock, the same on both sides of the wall.
    const double xr = std::max(s.X - L.top, 0.0) + 1.0e-8;
    const WeakRockCurve curve = weakRockCurve({xr, s.b, s.cu, s.rqd, s.e50, s.k});
    f.beginCurve(c);
    for (Side side : kSides) {
      SideReport r;
      r.side = side;
      r.form = RowForm::Exponent;
      r.wideScratch = true;
      r.multiplierLine = false;
      r.header = {{"DEPTH", u.len, fmt::fixed(printedDepth(m, c, side), 10, 2)},
                  {"DIAM", u.len, fmt::fixed(s.b, 10, 3)},
                  {"Qu", u.stress(), fmt::exponent(s.cu, 10, 2)},
                  {" Eu ", u.stress(), fmt::exponent(s.k, 10, 2)},
                  {"GAMMA AVG", u.unitWeight(), fmt::exponent(s.gammaAvg, 10, 2)},
                  {"E50", "", fmt::exponent(s.e50, 12, 3)}};
      f.finish(c, kWeakRock, s, r, curve.points);
    }
  }
}

}  // namespace tarnel::engine::py
