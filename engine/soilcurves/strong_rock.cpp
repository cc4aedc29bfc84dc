#include "engine/soilcurves/strong_rock.h"

#include "engine/fixed_format.h"
#include "engine/soilcurves/finishing.h"
#include "engine/soilcurves/soil_model.h"

namespace tarnel::engine::py {

RockCurve rockCurve(const RockInput& in) {
  RockCurve c;
  c.su = 0.5 * in.qu;
  c.ei = 2000.0 * c.su;
  c.y1 = 0.0004 * in.b;
  const double p1 = c.ei * c.y1;
  c.pu = c.su * in.b;
  c.y2 = c.y1 + (c.pu - p1) / (100.0 * c.su);
  c.residual = 0.5 * in.x * in.gammaAvg * in.b;
  for (int j = 0; j < kPoints; ++j) {
    const double y = c.y2 * j / 15.0;
    c.points.y[j] = y;
    if (j >= 15) {  // at and past y2: failed
      c.points.p[j] = c.residual;
      c.points.residual[j] = true;
    } else if (y < c.y1) {
      c.points.p[j] = c.ei * y;
    } else {
      c.points.p[j] = p1 + 100.0 * c.su * (y - c.y1);
    }
  }
  return c;
}

void rockCurves(PySoilModel& m, CurveFinisher& f, int layer) {
  const UnitTexts& u = f.units();
  const int first = PySoilModel::firstCurve(layer);
  for (int c = first; c < first + kCurvesPerLayer; ++c) {
    const CurveSoil& s = m.curveSoil[c];
    f.beginCurve(c);
    for (Side side : kSides) {
      const RockCurve curve = rockCurve({formulaDepth(m, c, side), s.b, s.cu, s.gammaAvg});
      SideReport r;
      r.side = side;
      r.rock = true;
      r.form = RowForm::Scientific;
      r.multiplierLine = false;
      r.header = {{side == Side::Excavation ? "DEPTH-EXCAVATION SIDE" : "DEPTH-BACKFILL SIDE  ", u.len,
                   fmt::fixed(printedDepth(m, c, side), 10, 2)},
                  {"DIAM", u.len, fmt::fixed(s.b, 10, 3)},
                  {"C", u.stress(), fmt::exponent(curve.su, 10, 1)}};
      f.finish(c, kRock, s, r, curve.points);
    }
  }
}

}  // namespace tarnel::engine::py
