#include "engine/soilcurves/silt.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/fixed_format.h"
#include "engine/soilcurves/clay_common.h"
#include "engine/soilcurves/finishing.h"
#include "engine/soilcurves/sand.h"
#include "engine/soilcurves/soil_model.h"

namespace tarnel::engine::py {
namespace {

constexpr double kWallFriction = sp(0.17453f);  // 10 degrees, touching elements

double cohesive(const SiltInput& in) {
  if (in.touching) return touchingClayUltimate(in.x, in.b, in.cu, in.gammaAvg);
  if (!(in.cu > 0.0)) return 0.0;
  const double np = std::min(3.0 + in.gammaAvg * in.x / in.cu + 0.5 * in.x / in.b, 9.0);
  return in.cu * np * in.b;
}

}  // namespace

double siltFrictional(const SiltInput& in) {
  if (in.touching) return in.b * passiveCoefficient(in.phi, kWallFriction) * in.gammaAvg * in.x;
  const WedgeFlow w = wedgeAndFlow(in.x, in.b, in.gammaAvg, in.phi, Precision::Double);
  return std::min(w.pst, w.psd);
}

double siltUltimate(const SiltInput& in) {
  return sandFactorA(in.x / in.b, Precision::Double) * siltFrictional(in);
}

SiltCurve siltCurve(const SiltInput& in) {
  SiltCurve c;
  c.puPhi = siltFrictional(in);
  c.puc = cohesive(in);
  const double r = in.x / in.b;
  c.a = sandFactorA(r, Precision::Double);
  c.bFactor = sandFactorB(r, Precision::Double);
  c.pu = c.a * c.puPhi;
  c.yu = 3.0 * in.b / 80.0;
  c.pm = 1.5 * c.puPhi + c.puc;
  c.ym = in.b / 60.0;
  c.slope = (c.pu - c.pm) / (c.yu - c.ym);
  const double kx = in.k * in.x;

  if (!(c.pm > 0.0) || !(kx > 0.0)) {
    // No resistance at this depth: sand spacing, p = 0.
    c.yk = c.ym / 10.0;
    sandSpacing(c.points, c.yk, c.ym, c.yu);
    return c;
  }

  // Parabola p = Cp y^(1/n) through (ym, pm), with 1/n = |m| ym / pm; a flat line (m = 0)
  // is the parabola of infinite n.
  const double invN = std::fabs(c.slope) * c.ym / c.pm;
  const double cp = c.pm / std::pow(c.ym, invN);
  const double inf = std::numeric_limits<double>::infinity();
  double yk;
  if (std::fabs(1.0 - invN) < 1.0e-12) yk = cp > kx ? inf : 0.0;  // a straight parabola
  else yk = std::pow(cp / kx, 1.0 / (1.0 - invN));

  double yk2 = -1.0;
  if (kx != c.slope) yk2 = (c.pm - c.slope * c.ym) / (kx - c.slope);
  const double yk3 = c.pu / kx;
  if (yk >= 0.0 && yk < c.ym) {
    c.kase = 1;
  } else if (yk2 >= c.ym && yk2 < c.yu) {
    c.kase = 2;
  } else if (yk3 >= c.yu) {
    c.kase = 3;
  } else {
    c.kase = 1;
  }

  auto& y = c.points.y;
  auto& p = c.points.p;
  if (c.kase == 1) {
    c.yk = yk;
    sandSpacing(c.points, yk, c.ym, c.yu);
    for (int j = 0; j < kPoints; ++j) {
      double v;
      if (y[j] <= yk && y[j] < c.ym) v = kx * y[j];
      else if (y[j] < c.ym) v = cp * std::pow(y[j], invN);
      else if (y[j] < c.yu) v = c.pm + c.slope * (y[j] - c.ym);
      else v = c.pu;
      p[j] = std::min(v, kx * y[j]);
    }
  } else if (c.kase == 2) {
    c.yk = yk2;
    y[0] = 0.0;
    for (int i = 1; i <= 8; ++i) y[i] = yk2 * i / 8.0;
    for (int i = 1; i <= 5; ++i) y[8 + i] = yk2 + (c.yu - yk2) * i / 6.0;
    y[14] = c.yu;
    y[15] = 1.1 * c.yu;
    y[16] = 1.2 * c.yu;
    for (int j = 0; j < kPoints; ++j) {
      if (y[j] <= yk2) p[j] = kx * y[j];
      else if (y[j] < c.yu) p[j] = yk2 * kx + c.slope * (y[j] - yk2);
      else p[j] = c.pu;
    }
  } else {
    c.yk = yk3;
    y[0] = 0.0;
    for (int i = 1; i <= 12; ++i) y[i] = yk3 * i / 12.0;
    y[13] = 1.05 * yk3;
    y[14] = 1.1 * yk3;
    y[15] = 1.15 * yk3;
    y[16] = 1.2 * yk3;
    for (int j = 0; j < kPoints; ++j) p[j] = std::min(kx * y[j], c.pu);
  }
  return c;
}

void siltCurves(PySoilModel& m, CurveFinisher& f, int layer) {
  const UnitTexts& u = f.units();
  PyLayer& L = m.layers[layer];
  const int first = PySoilModel::firstCurve(layer);
  const int last = first + kCurvesPerLayer - 1;
  double puPrev = 0.0;
  for (int c = first; c <= last; ++c) {
    const CurveSoil& s = m.curveSoil[c];
    f.beginCurve(c);
    double puExcavation = 0.0;
    for (Side side : kSides) {
      const SiltInput in{formulaDepth(m, c, side), s.b, s.gammaAvg, s.phi, s.cu, s.k, m.touching()};
      const SiltCurve curve = siltCurve(in);
      if (side == Side::Excavation) puExcavation = curve.pu;
      SideReport r;
      r.side = side;
      r.form = RowForm::Exponent;
      r.wideScratch = true;
      r.header = {{"DEPTH BELOW GS", u.len, fmt::fixed(printedDepth(m, c, side), 10, 2)},
                  {"DIAM", u.len, fmt::fixed(s.b, 10, 3)},
                  {"PHI", "DEG", fmt::fixed(s.phi * 180.0 / kPiCurves, 8, 2)},
                  {"GAMMA AVG", u.unitWeight(), fmt::exponent(s.gammaAvg, 10, 3)},
                  {"A", "", fmt::fixed(curve.a, 7, 3)},
                  {"B", "", fmt::fixed(curve.bFactor, 7, 3)},
                  {"PUC", u.forcePerLength(), fmt::exponent(curve.puc, 10, 3)},
                  {"PUPHI", u.forcePerLength(), fmt::exponent(curve.puPhi, 10, 3)}};
      f.finish(c, kSilt, s, r, curve.points);
    }
    // The silt layer contributes its frictional ultimate resistance A Puphi to the
    // equivalent depth of the layers below, integrated as for sand.
    if (c > first) L.runningIntegral += (s.X - m.curveX[c - 1]) * 0.5 * (puExcavation + puPrev);
    if (c == last) L.runningIntegral += puExcavation * (L.bottom - s.X);
    puPrev = puExcavation;
  }
}

}  // namespace tarnel::engine::py
