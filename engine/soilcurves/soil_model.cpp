#include "engine/soilcurves/soil_model.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "engine/fixed_format.h"

namespace tarnel::engine::py {
namespace {

constexpr double kDegToRad = kPiCurves / 180.0;
constexpr double kNegligible = 1.0e-20;  // a strength this small counts as absent

void beyondWarning(std::ostream& out, double X, const char* line1, const char* line2) {
  out << "\n" << fmt::blanks(29) << "**** WARNING ****\n"
      << fmt::blanks(5) << "THE VALUE OF X =" << fmt::fixed(X, 10, 2) << ' ' << line1 << "\n"
      << fmt::blanks(5) << line2 << "\n";
}

// Value of a layer parameter at depth z, linear between the layer's top and bottom.
double along(double top, double bottom, double vTop, double vBottom, double z) {
  if (bottom - top <= kDepthTol) return vTop;
  return vTop + (vBottom - vTop) * (z - top) / (bottom - top);
}

// Integral of a piecewise-linear distribution from a to b (a <= b), the end values
// extended outside its points.
double integrate(const Distribution& d, double a, double b) {
  if (d.empty() || b <= a) return 0.0;
  double sum = 0.0;
  auto piece = [&](double x0, double v0, double x1, double v1) {
    const double lo = std::max(a, x0), hi = std::min(b, x1);
    if (hi <= lo) return;
    const double slope = x1 > x0 ? (v1 - v0) / (x1 - x0) : 0.0;
    const double vl = v0 + slope * (lo - x0), vh = v0 + slope * (hi - x0);
    sum += 0.5 * (vl + vh) * (hi - lo);
  };
  if (a < d.front().x) piece(a, d.front().v, d.front().x, d.front().v);
  for (std::size_t i = 1; i < d.size(); ++i) piece(d[i - 1].x, d[i - 1].v, d[i].x, d[i].v);
  if (b > d.back().x) piece(d.back().x, d.back().v, b, d.back().v);
  return sum;
}

}  // namespace

void stopRun(const Streams& io, const std::vector<std::string>& lines, int blankLines) {
  // The standard error stream is what the classic program wrote to; the report gets the
  // same text so that a user of the interactive program learns why the run ended.
  for (std::ostream* out : {&io.err, &io.report}) {
    for (int i = 0; i < blankLines; ++i) *out << "\n";
    for (const std::string& l : lines) *out << fmt::blanks(7) << l << "\n";
    out->flush();
  }
  throw GeneratorStop(lines.size() > 1 ? lines[1] : "p-y generation stopped");
}

void stopOnZeroValue(const Streams& io, const std::string& what, const std::string& soil) {
  stopRun(io, {"--------------------WARNING----------------------",
               "THE " + what + " IS 0 FOR " + soil + " ACCORDING TO THE INPUT",
               "DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN."});
}

void stopOnNonFinite(const Streams& io, const std::string& what, const std::string& where) {
  stopRun(io, {"--------------------WARNING----------------------", "THE " + what + " IS NOT A FINITE NUMBER",
               where + ".", "THE INPUT VALUES ARE TOO LARGE OR TOO SMALL FOR THE ANALYSIS.",
               "PLEASE CORRECT THEM AND RUN IT AGAIN.", "-------------------------------------------------"});
}

std::string curvePlace(double X, int layer) {
  return "AT X = " + fmt::free(X) + " IN LAYER " + std::to_string(layer + 1);
}

PySoilModel buildSoilModel(const Problem& problem, double gammaW, const Streams& io) {
  PySoilModel m;
  m.units = problem.control.units;
  m.H = problem.earth.freeHeight;
  m.wa = problem.earth.wa;
  m.wp = problem.earth.wp;
  m.dwb = problem.earth.dwBackfill;
  m.gammaW = gammaW;
  m.e = m.units == 1 ? 0.1 : 0.01;

  if (!(m.wp > 0.0) || !std::isfinite(m.wp)) {
    stopRun(io, {"--------------------WARNING----------------------",
                 "THE WIDTH FOR SOIL RESISTANCE, WP, IS 0 ACCORDING TO THE INPUT",
                 "DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN."});
  }
  m.s = std::max(m.wa / m.wp, 1.0);

  double recordTop = 0.0;
  int recordNo = 0;
  std::optional<DistPoint> pendingBottom;
  for (const SoilLayerRecord& r : problem.layers) {
    ++recordNo;
    const double top = recordTop, bottom = r.bottom;
    if (bottom < top - kDepthTol) {
      stopRun(io, {"--------------------WARNING----------------------",
                   "THE BOTTOM OF SOIL LAYER " + std::to_string(recordNo) + " LIES ABOVE ITS TOP.",
                   "PLEASE ENTER THE LAYERS IN DEPTH ORDER AND RUN IT AGAIN."});
    }
    recordTop = std::max(recordTop, bottom);
    if (bottom - top <= kDepthTol) continue;           // a layer without thickness holds no soil
    if (m.layers.empty() && bottom <= m.H + kDepthTol) continue;  // above the excavation

    PyLayer L;
    L.kind = r.kind;
    L.top = m.layers.empty() ? std::max(top, m.H) : top;
    L.bottom = bottom;
    L.gamma = r.top[0];
    L.k = r.top[4];
    auto at = [&](int i, double z) { return along(top, bottom, r.top[i], r.base[i], z); };
    m.strength.push_back({L.top, at(1, L.top)});
    m.strength.push_back({L.bottom, r.base[1]});
    m.phi.push_back({L.top, at(2, L.top) * kDegToRad});
    m.phi.push_back({L.bottom, r.base[2] * kDegToRad});
    m.e50.push_back({L.top, at(3, L.top)});
    m.e50.push_back({L.bottom, r.base[3]});
    m.rqd.push_back({L.top, at(5, L.top)});
    m.rqd.push_back({L.bottom, r.base[5]});

    // Effective unit weight: a layer top at the water table counts as below it, a layer
    // bottom at the water table as above it.
    const double effective = L.gamma - gammaW;
    pendingBottom.reset();
    const bool topBelow = L.top > m.dwb - kDepthTol;
    const bool bottomBelow = L.bottom > m.dwb + kDepthTol;
    m.gamma.push_back({L.top, topBelow ? effective : L.gamma});
    if (!topBelow && bottomBelow) {
      // Water table inside the layer: total weight down to it, then linear to the next
      // layer's top value. The last layer has no next top, so its own bottom carries
      // the effective weight.
      m.gamma.push_back({m.dwb, L.gamma});
      pendingBottom = DistPoint{L.bottom, effective};
    } else {
      m.gamma.push_back({L.bottom, bottomBelow ? effective : L.gamma});
    }

    const double Xt = L.top, Xb = L.bottom, d = Xb - Xt;
    for (double X : {Xt + m.e, Xt + d / 4.0, Xt + d / 2.0, Xt + 3.0 * d / 4.0, Xb - m.e})
      m.curveX.push_back(X);
    m.layers.push_back(L);
  }
  // Water table inside the last layer: there is no next top to run to, so the layer's
  // own bottom carries the effective weight.
  if (pendingBottom) m.gamma.push_back(*pendingBottom);
  m.curveSoil.resize(m.curveX.size());
  return m;
}

double interpolate(const Distribution& d, double X, bool* beyond) {
  if (beyond) *beyond = false;
  if (d.empty()) return 0.0;
  if (X <= d.front().x) {
    // At the first depth of a boundary pair the lower value holds, as everywhere.
    if (X == d.front().x && d.size() > 1 && d[1].x == X && !(d[1].v < kNegligible)) return d[1].v;
    return d.front().v;
  }
  if (X > d.back().x) {
    if (beyond) *beyond = true;
    return d.back().v;
  }
  // The last point whose depth is not below X.
  std::size_t i = 1;
  while (i < d.size() && d[i].x < X) ++i;
  if (d[i].x == X) {
    // On a point: at a boundary pair take the lower layer's value unless it is absent.
    std::size_t j = i;
    while (j + 1 < d.size() && d[j + 1].x == X) ++j;
    if (j > i && d[j].v < kNegligible) return d[i].v;
    return d[j].v;
  }
  const DistPoint& a = d[i - 1];
  const DistPoint& b = d[i];
  return a.v + (b.v - a.v) * (X - a.x) / (b.x - a.x);
}

double unitWeightAverage(const PySoilModel& m, double X) {
  if (X - m.H <= 1.0e-12) return interpolate(m.gamma, m.H);
  return integrate(m.gamma, m.H, X) / (X - m.H);
}

double strengthAt(const PySoilModel& m, double X, std::ostream& err) {
  bool beyond = false;
  const double v = interpolate(m.strength, X, &beyond);
  if (beyond) beyondWarning(err, X, "IS BEYOND THE EXTENT OF", "THE INPUT STRENGTH CURVE");
  return v;
}

double strengthAverage(const PySoilModel& m, int layer, double X, std::ostream& report) {
  bool beyond = false;
  const double atX = interpolate(m.strength, X, &beyond);
  if (beyond) beyondWarning(report, X, "IS BEYOND THE EXTENT OF THE", "INPUT CURVE FOR STRENGTH");
  const double atTop = interpolate(m.strength, m.layers[layer].top);
  return 0.5 * (atTop + atX);
}

double phiAt(const PySoilModel& m, double X, const Streams& io) {
  bool beyond = false;
  const double v = interpolate(m.phi, X, &beyond);
  if (beyond) {
    beyondWarning(io.err, X, " IS BEYOND THE EXTENT OF", "THE INPUT PHI CURVE");
    beyondWarning(io.report, X, " IS BEYOND THE EXTENT OF", "THE INPUT PHI CURVE");
    io.report.flush();
    throw GeneratorStop("depth beyond the input friction-angle curve");
  }
  return v;
}

double e50At(const PySoilModel& m, double X) { return interpolate(m.e50, X); }
double rqdAt(const PySoilModel& m, double X) { return interpolate(m.rqd, X); }

CurveSoil soilAtCurve(const PySoilModel& m, int c, const Streams& io) {
  CurveSoil s;
  s.layer = m.layerOfCurve(c);
  s.X = m.curveX[c];
  s.b = widthAt(m, s.X);
  s.cu = strengthAt(m, s.X, io.err);
  s.ca = strengthAverage(m, s.layer, s.X, io.report);
  s.gammaAvg = unitWeightAverage(m, s.X);
  s.phi = phiAt(m, s.X, io);
  s.e50 = e50At(m, s.X);
  s.rqd = rqdAt(m, s.X);
  s.k = m.layers[s.layer].k;
  return s;
}

double formulaDepth(const PySoilModel& m, int c, Side side) {
  const PyLayer& L = m.layers[m.layerOfCurve(c)];
  // A layer thinner than two offsets crosses its end curves, and one thinner than the
  // offset puts its last curve above its top: that depth counts as the surface, so no
  // formula sees a negative depth.
  const double into = std::max(m.curveX[c] - L.top, 0.0) + L.equivalentDepth;
  return side == Side::Excavation ? into : m.H + into;
}

double printedDepth(const PySoilModel& m, int c, Side side) {
  return side == Side::Excavation ? m.curveX[c] - m.H : m.curveX[c];
}

}  // namespace tarnel::engine::py
