#include "engine/soilcurves/sand.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/fixed_format.h"
#include "engine/soilcurves/finishing.h"
#include "engine/soilcurves/soil_model.h"

namespace tarnel::engine::py {
namespace {

// Empirical factors A (ultimate) and B (at b/60) by depth over width, and the earth
// pressure coefficient at rest K0 = 0.4, of the static sand criterion (Reese, Cox and
// Koop, 1974).
constexpr std::array<double, 10> kDepthRatio = {0.0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0};
constexpr std::array<float, 10> kA = {2.83f, 2.48f, 2.11f, 1.76f, 1.48f, 1.23f, 1.06f, 0.90f, 0.88f, 0.88f};
constexpr std::array<float, 10> kB = {2.14f, 1.83f, 1.54f, 1.27f, 1.05f, 0.86f, 0.71f, 0.53f, 0.50f, 0.50f};
constexpr double kK0 = sp(0.4f);

// The double-precision tables hold the decimal values themselves.
constexpr std::array<double, 10> kADouble = {2.83, 2.48, 2.11, 1.76, 1.48, 1.23, 1.06, 0.90, 0.88, 0.88};
constexpr std::array<double, 10> kBDouble = {2.14, 1.83, 1.54, 1.27, 1.05, 0.86, 0.71, 0.53, 0.50, 0.50};

double tableAt(const std::array<float, 10>& single, const std::array<double, 10>& wide, double r,
               Precision precision) {
  auto value = [&](std::size_t i) {
    return precision == Precision::Single ? static_cast<double>(single[i]) : wide[i];
  };
  if (r <= 0.0) return value(0);
  if (r >= kDepthRatio.back()) return value(9);
  std::size_t i = 1;
  while (kDepthRatio[i] < r) ++i;
  const double f = (r - kDepthRatio[i - 1]) / (kDepthRatio[i] - kDepthRatio[i - 1]);
  return value(i - 1) + (value(i) - value(i - 1)) * f;
}

double quarterPi(Precision precision) {
  return precision == Precision::Single ? kPiCurves / 4.0 : std::atan(1.0);
}

// Angle functions of the wedge of friction angle phi: alpha = phi/2, beta = 45 deg + phi/2.
struct WedgeAngles {
  double ka, tp, ta, tb, sb, tbp, cosAlpha;
};

WedgeAngles wedgeAngles(double phi, Precision precision) {
  const double alpha = 0.5 * phi;
  const double beta = quarterPi(precision) + 0.5 * phi;
  return {std::pow(std::tan(quarterPi(precision) - 0.5 * phi), 2),
          std::tan(phi),
          std::tan(alpha),
          std::tan(beta),
          std::sin(beta),
          std::tan(beta - phi),
          std::cos(alpha)};
}

// ps: the smaller of wedge and flow-around, or the plane passive value of a wall of
// touching elements with wall friction phi/2.
double sandResistance(const SandInput& in) {
  if (in.touching) return in.b * passiveCoefficient(in.phi, 0.5 * in.phi) * in.gammaAvg * in.x;
  const WedgeFlow w = wedgeAndFlow(in.x, in.b, in.gammaAvg, in.phi, Precision::Single);
  return std::min(w.pst, w.psd);
}

}  // namespace

double sandFactorA(double r, Precision precision) { return tableAt(kA, kADouble, r, precision); }
double sandFactorB(double r, Precision precision) { return tableAt(kB, kBDouble, r, precision); }

WedgeFlow wedgeAndFlow(double x, double b, double g, double phi, Precision precision) {
  const auto [ka, tp, ta, tb, sb, tbp, cosAlpha] = wedgeAngles(phi, precision);
  WedgeFlow w;
  w.pst = g * x *
          (kK0 * x * tp * sb / (tbp * cosAlpha) + (tb / tbp) * (b + x * tb * ta) +
           kK0 * x * tb * (tp * sb - ta) - ka * b);
  w.psd = ka * b * g * x * (std::pow(tb, 8) - 1.0) + kK0 * b * g * x * tp * std::pow(tb, 4);
  return w;
}

double wedgeFlowMeetingDepth(double b, double phi, Precision precision) {
  // pst/(gamma x) and psd/(gamma x) are both linear in x: pst = psd where they cross.
  const auto [ka, tp, ta, tb, sb, tbp, cosAlpha] = wedgeAngles(phi, precision);
  const double slope = kK0 * tp * sb / (tbp * cosAlpha) + (tb / tbp) * tb * ta + kK0 * tb * (tp * sb - ta);
  const double wedge0 = (tb / tbp) * b - ka * b;
  const double flow = ka * b * (std::pow(tb, 8) - 1.0) + kK0 * b * tp * std::pow(tb, 4);
  if (!(slope > 0.0)) return 0.0;
  return std::max((flow - wedge0) / slope, 0.0);
}

double passiveCoefficient(double phi, double d) {
  const double c = std::cos(phi);
  const double root = 1.0 - std::sqrt(std::max(std::sin(phi + d) * std::sin(phi) / std::cos(d), 0.0));
  return c * c / (std::cos(d) * root * root);
}

double sandUltimate(const SandInput& in) {
  return sandFactorA(in.x / in.b, Precision::Single) * sandResistance(in);
}

void sandSpacing(PyPoints& pts, double yk, double ym, double yu) {
  const double ykp = yk <= ym / 5.0 ? yk : ym / 10.0;
  pts.y[0] = 0.0;
  pts.y[1] = ykp / 2.0;
  pts.y[2] = ykp;
  for (int i = 1; i <= 9; ++i) pts.y[2 + i] = ykp + (ym - ykp) * i / 10.0;
  pts.y[12] = ym;
  pts.y[13] = (2.0 * ym + yu) / 3.0;
  pts.y[14] = (ym + 2.0 * yu) / 3.0;
  pts.y[15] = yu;
  pts.y[16] = 1.2 * yu;
}

SandCurve sandCurve(const SandInput& in) {
  SandCurve c;
  c.ps = sandResistance(in);
  const double r = in.x / in.b;
  c.a = sandFactorA(r, Precision::Single);
  c.bFactor = sandFactorB(r, Precision::Single);
  c.pu = c.a * c.ps;
  c.yu = 3.0 * in.b / 80.0;
  c.pm = c.bFactor * c.ps;
  c.ym = in.b / 60.0;
  const double kx = in.k * in.x;

  if (!(c.ps > 0.0) || !(kx > 0.0)) {
    // No resistance at this depth (no friction, no weight or no initial modulus): the
    // points keep their spacing and carry p = 0.
    c.yk = c.ym / 10.0;
    sandSpacing(c.points, c.yk, c.ym, c.yu);
    return c;
  }

  c.slope = (c.pu - c.pm) / (c.yu - c.ym);
  c.n = c.pm / (c.slope * c.ym);
  c.cp = c.pm / std::pow(c.ym, 1.0 / c.n);
  c.yk = std::pow(c.cp / kx, c.n / (c.n - 1.0));
  if (c.yk > c.yu) {
    // The initial line reaches pu before the parabola does: the curve becomes the
    // initial line up to pu.
    const double yuOld = c.yu;
    c.yu = c.pu / kx;
    c.ym = c.ym * (c.pu / kx) / yuOld;
    c.yk = c.ym / 10.0;
  }
  sandSpacing(c.points, c.yk, c.ym, c.yu);
  const auto& y = c.points.y;
  for (int j = 0; j < kPoints; ++j) {
    const double yj = y[j];
    double p;
    if (yj <= c.yk && yj < c.ym) p = kx * yj;
    else if (yj < c.ym) p = c.cp * std::pow(yj, 1.0 / c.n);
    else if (yj < c.yu) p = c.pm + c.slope * (yj - c.ym);
    else p = c.pu;
    c.points.p[j] = std::min(p, kx * yj);
  }
  return c;
}

void sandCurves(PySoilModel& m, CurveFinisher& f, int layer) {
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
      const SandInput in{formulaDepth(m, c, side), s.b, s.gammaAvg, s.phi, s.k, m.touching()};
      const SandCurve curve = sandCurve(in);
      if (side == Side::Excavation) puExcavation = curve.pu;
      SideReport r;
      r.side = side;
      r.header = {{"DEPTH BELOW GS", u.len, fmt::fixed(printedDepth(m, c, side), 10, 2)},
                  {"DIAM", u.len, fmt::fixed(s.b, 10, 3)},
                  {"PHI", "DEG", fmt::fixed(s.phi * 180.0 / kPiCurves, 8, 2)},
                  {"GAMMA AVG", u.unitWeight(), fmt::exponent(s.gammaAvg, 10, 3)},
                  {"K", u.unitWeight(), fmt::exponent(s.k, 10, 3)},
                  {"A", "", fmt::fixed(curve.a, 7, 3)},
                  {"B", "", fmt::fixed(curve.bFactor, 7, 3)},
                  {"PU", u.forcePerLength(), fmt::exponent(curve.pu, 10, 3)}};
      f.finish(c, kSand, s, r, curve.points);
    }
    if (c > first) L.runningIntegral += (s.X - m.curveX[c - 1]) * 0.5 * (puExcavation + puPrev);
    if (c == last) L.runningIntegral += puExcavation * (L.bottom - s.X);
    puPrev = puExcavation;
  }
}

}  // namespace tarnel::engine::py
