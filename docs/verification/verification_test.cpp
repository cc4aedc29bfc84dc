// The verification chapter of the technical manual, checked against the engine.
//
// Every case runs the engine on a data file of docs/verification/ and computes its
// reference value here, from the closed form or the published criterion, without any
// code of the engine. Each row of the table in verification.md must then hold:
//   - the reference and the program value as computed now, to the digits printed;
//   - a difference between the two within the tolerance printed in the row.
// With TARNEL_UPDATE_MANUAL=1 in the environment the test rewrites the table instead,
// which is how the table is produced.
#include "engine/testing/engine_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iomanip>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace tarnel::verification {
namespace {

namespace fs = std::filesystem;
using engine::testing::EngineOutput;
using engine::testing::readFile;
using engine::testing::runEngineOn;

const double kPi = 3.14159265358979323846;
double deg(double d) { return d * kPi / 180.0; }

fs::path docsDir() { return fs::path(TARNEL_SOURCE_DIR) / "docs"; }
fs::path manualPath() { return docsDir() / "verification.md"; }

// ---------------------------------------------------------------------------------------
// Reading what the engine wrote

std::vector<double> numbers(const std::string& line) {
  std::istringstream in(line);
  std::vector<double> v;
  std::string w;
  while (in >> w) {
    try {
      std::size_t used = 0;
      const double d = std::stod(w, &used);
      if (used != w.size()) return {};
      v.push_back(d);
    } catch (...) {
      return {};
    }
  }
  return v;
}

// The results rows of the last results block of the plot file: depth, deflection,
// moment, shear, net reaction.
std::vector<std::vector<double>> resultRows(const EngineOutput& out) {
  const auto ls = out.plotLines();
  std::size_t head = ls.size();
  for (std::size_t i = ls.size(); i-- > 0;) {
    const auto v = numbers(ls[i]);
    if (v.size() == 3 && ls[i].find('E') == std::string::npos) {
      head = i;
      break;
    }
  }
  std::vector<std::vector<double>> rows;
  for (std::size_t i = head + 1; i < ls.size(); ++i) rows.push_back(numbers(ls[i]));
  return rows;
}

// The value in column `col` of the results row at `depth`.
double resultAt(const EngineOutput& out, double depth, int col) {
  for (const auto& r : resultRows(out))
    if (r.size() == 5 && std::abs(r[0] - depth) < 1e-6 * std::max(1.0, depth)) return r[col];
  ADD_FAILURE() << "no results row at depth " << depth;
  return NAN;
}

// Total earth pressure (force per unit length of wall) of the plot file's pressure
// block at a depth that is one of its rows.
double pressureAt(const EngineOutput& out, double depth) {
  const auto ls = out.plotLines();
  const int n = static_cast<int>(numbers(ls.at(0)).at(0));
  for (int i = 1; i <= n; ++i) {
    const auto v = numbers(ls.at(i));
    if (v.size() == 4 && std::abs(v[0] - depth) < 1e-6) return v[1];
  }
  ADD_FAILURE() << "no pressure row at depth " << depth;
  return NAN;
}

// Ka and Kp of a layer from the report's coefficient table.
std::pair<double, double> coefficients(const EngineOutput& out, int layer) {
  const auto ls = out.reportLines();
  for (std::size_t i = 0; i + 1 < ls.size(); ++i)
    if (ls[i].find("NO.          COEFFICIENT") != std::string::npos) {
      const auto v = numbers(ls.at(i + layer));
      if (v.size() == 4) return {v[1], v[2]};
    }
  ADD_FAILURE() << "no coefficient row for layer " << layer;
  return {NAN, NAN};
}

// The 17 points (y, p) of a generated curve on the excavation side, as printed in the
// report after the curve heading "CURVE n".
std::vector<std::pair<double, double>> curvePoints(const EngineOutput& out, int curve) {
  const auto ls = out.reportLines();
  std::ostringstream head;
  head << "CURVE " << std::setw(3) << curve << "   X =";
  std::size_t i = 0;
  while (i < ls.size() && ls[i].find(head.str()) == std::string::npos) ++i;
  while (i < ls.size() && ls[i].find("EXCAVATION SIDE") == std::string::npos) ++i;
  // Past the heading, the property line and the "Y P" heading: the first line of two
  // numbers is the point y = 0 (or the first point of a weak-rock curve).
  std::vector<std::pair<double, double>> pts;
  for (++i; i < ls.size() && pts.size() < 17; ++i) {
    const auto v = numbers(ls[i]);
    if (v.size() == 2) pts.emplace_back(v[0], v[1]);
    else if (!pts.empty()) break;
  }
  EXPECT_EQ(pts.size(), 17u) << "curve " << curve;
  return pts;
}

// Tieback line: number, station, depth, horizontal force per station, force per station,
// force per tieback.
std::vector<double> tiebackLine(const EngineOutput& out) {
  const auto ls = out.reportLines();
  for (std::size_t i = 0; i + 1 < ls.size(); ++i)
    if (ls[i].find("-----  -----") != std::string::npos) return numbers(ls[i + 1]);
  ADD_FAILURE() << "no tieback results";
  return {};
}

EngineOutput run(const std::string& file) {
  const fs::path p = docsDir() / "verification" / file;
  EXPECT_TRUE(fs::exists(p)) << p;
  return runEngineOn(readFile(p));
}

// ---------------------------------------------------------------------------------------
// Published criteria, as equations of their sources (the program's digitised charts of
// As, A and B included)

double interpolate(const std::vector<double>& xs, const std::vector<double>& ys, double x) {
  if (x >= xs.back()) {
    const std::size_t n = xs.size();
    return ys[n - 1] + (ys[n - 1] - ys[n - 2]) / (xs[n - 1] - xs[n - 2]) * (x - xs[n - 1]);
  }
  std::size_t k = 1;
  while (xs[k] < x) ++k;
  return ys[k - 1] + (ys[k] - ys[k - 1]) * (x - xs[k - 1]) / (xs[k] - xs[k - 1]);
}

struct Soil {
  double x, b, gamma, cu = 0, phiDeg = 0, e50 = 0, k = 0;
};

// Matlock (1970), static loading, J = 0.5.
double matlockSoftClay(const Soil& s, double y) {
  const double np = std::min(3 + s.gamma * s.x / s.cu + 0.5 * s.x / s.b, 9.0);
  const double pu = np * s.cu * s.b, y50 = 2.5 * s.e50 * s.b;
  return y > 8 * y50 ? pu : 0.5 * pu * std::cbrt(y / y50);
}

// Reese, Cox and Koop (1975), static loading; ca = cu for a uniform layer.
double reeseStiffClayFreeWater(const Soil& s, double y) {
  const double c = s.cu, b = s.b, x = s.x;
  const double pc = std::min(2 * c * b + s.gamma * b * x + 2.83 * c * x, 11 * c * b);
  const double y50 = s.e50 * b;
  const double as = interpolate({0, 1, 2, 3, 4, 5}, {0, 0.223, 0.46, 0.55, 0.59, 0.6}, x / b);
  const double ay = as * y50;
  double p;
  if (y <= ay) p = 0.5 * pc * std::sqrt(y / y50);
  else if (y <= 6 * ay) p = 0.5 * pc * std::sqrt(y / y50) - 0.055 * pc * std::pow((y - ay) / ay, 1.25);
  else if (y <= 18 * ay) p = 0.5 * pc * std::sqrt(6 * as) - 0.411 * pc - 0.0625 / y50 * pc * (y - 6 * ay);
  else p = 0.5 * pc * std::sqrt(6 * as) - 0.411 * pc - 0.75 * pc * as;
  return std::min(p, s.k * x * y);
}

// Welch and Reese (1972), static loading, J = 0.5.
double welchReeseStiffClay(const Soil& s, double y) {
  const double pu = std::min(3 * s.cu * s.b + s.gamma * s.b * s.x + 0.5 * s.cu * s.x, 9 * s.cu * s.b);
  const double y50 = 2.5 * s.e50 * s.b;
  return y > 16 * y50 ? pu : std::min(pu, 0.5 * pu * std::pow(y / y50, 0.25));
}

const std::vector<double> kXb = {0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0};
const std::vector<double> kA = {2.83, 2.48, 2.11, 1.76, 1.48, 1.23, 1.06, 0.90, 0.88, 0.88};
const std::vector<double> kB = {2.14, 1.83, 1.54, 1.27, 1.05, 0.86, 0.71, 0.53, 0.50, 0.50};

// Ultimate resistance of sand (Reese, Cox and Koop 1974): the smaller of the wedge and the
// flow-around value, K0 = 0.4.
double sandUltimate(const Soil& s) {
  const double phi = deg(s.phiDeg), a = phi / 2, be = deg(45) + phi / 2, k0 = 0.4;
  const double ka = std::pow(std::tan(deg(45) - phi / 2), 2);
  const double b = s.b, x = s.x, g = s.gamma;
  const double pst = g * x *
                     (k0 * x * std::tan(phi) * std::sin(be) / (std::tan(be - phi) * std::cos(a)) +
                      std::tan(be) / std::tan(be - phi) * (b + x * std::tan(be) * std::tan(a)) +
                      k0 * x * std::tan(be) * (std::tan(phi) * std::sin(be) - std::tan(a)) - ka * b);
  const double psd = ka * b * g * x * (std::pow(std::tan(be), 8) - 1) +
                     k0 * b * g * x * std::tan(phi) * std::pow(std::tan(be), 4);
  return std::min(pst, psd);
}

// The four-part curve of Reese, Cox and Koop (1974) between (ym, pm) and (yu, pu).
double fourPartCurve(double k, double pm, double ym, double pu, double yu, double y) {
  const double m = (pu - pm) / (yu - ym), n = pm / (m * ym), c = pm / std::pow(ym, 1 / n);
  const double yk = std::pow(c / k, n / (n - 1));
  double p;
  if (y <= yk) p = k * y;
  else if (y < ym) p = c * std::pow(y, 1 / n);
  else if (y < yu) p = pm + m * (y - ym);
  else p = pu;
  return std::min(p, k * y);
}

double reeseSand(const Soil& s, double y) {
  const double ps = sandUltimate(s), xb = s.x / s.b;
  return fourPartCurve(s.k * s.x, interpolate(kXb, kB, xb) * ps, s.b / 60, interpolate(kXb, kA, xb) * ps,
                       3 * s.b / 80, y);
}

// c-phi soil: the sand frame with the cohesive resistance of Matlock added at b/60.
double cPhiSoil(const Soil& s, double y) {
  const double puphi = sandUltimate(s), xb = s.x / s.b;
  const double puc = std::min(3 + s.gamma * s.x / s.cu + 0.5 * s.x / s.b, 9.0) * s.cu * s.b;
  const double pu = interpolate(kXb, kA, xb) * puphi, yu = 3 * s.b / 80;
  const double pm = 1.5 * puphi + puc, ym = s.b / 60;
  const double m = (pu - pm) / (yu - ym), n = pm / (std::abs(m) * ym), c = pm / std::pow(ym, 1 / n);
  // The initial straight line k x y cuts off whichever part of the curve it meets.
  double p;
  if (y < ym) p = c * std::pow(y, 1 / n);
  else if (y < yu) p = pm + m * (y - ym);
  else p = pu;
  return std::min(p, s.k * s.x * y);
}

// Strong rock, Reese and Nyman (1978): brittle beyond the ultimate resistance.
double strongRock(double x, double b, double qu, double gamma, double y) {
  const double su = qu / 2, ei = 2000 * su, y1 = 0.0004 * b, p1 = ei * y1, pu = su * b;
  const double y2 = y1 + (pu - p1) / (100 * su);
  if (y < y1) return ei * y;
  if (y < y2) return p1 + 100 * su * (y - y1);
  return 0.5 * x * gamma * b;
}

// Weak rock, Reese (1997).
double weakRock(double xr, double b, double qu, double rqd, double krm, double eir, double y) {
  const double ar = 1 - rqd / 150;
  const double pur = xr <= 3 * b ? ar * qu * b * (1 + 1.4 * xr / b) : 5.2 * ar * qu * b;
  const double kir = (xr <= 3 * b ? 100 + 400 * xr / (3 * b) : 500) * eir;
  const double yrm = krm * b;
  const double ya = std::pow(pur / (2 * std::pow(yrm, 0.25) * kir), 4.0 / 3.0);
  if (y < ya) return kir * y;
  return std::min(pur, pur / 2 * std::pow(y / yrm, 0.25));
}

// ---------------------------------------------------------------------------------------
// The cases of the table

struct Row {
  std::string id, quantity, unit;
  double reference, program, tolerancePercent;
};

std::string fmt(double v, int sig = 4) {
  if (v == 0) return "0";
  std::ostringstream o;
  const int mag = static_cast<int>(std::floor(std::log10(std::abs(v))));
  if (mag >= 4 || mag < -3) {
    o << std::scientific << std::setprecision(sig - 1) << v;
    std::string s = o.str();
    // 1.234e+05 -> 1.234E5, the way the program's files write exponents
    const auto e = s.find('e');
    std::string mant = s.substr(0, e), ex = s.substr(e + 1);
    const int exi = std::stoi(ex);
    return mant + "E" + std::to_string(exi);
  }
  o << std::fixed << std::setprecision(std::max(0, sig - 1 - mag)) << v;
  return o.str();
}

std::string fmtDiff(const Row& r) {
  const double d = 100 * (r.program - r.reference) / r.reference;
  if (std::abs(d) < 0.005) return "0.00 %";
  std::ostringstream o;
  o << std::showpos << std::fixed << std::setprecision(2) << d << " %";
  return o.str();
}

std::vector<Row> computeRows() {
  std::vector<Row> rows;
  auto add = [&](std::string id, std::string q, std::string unit, double ref, double prog, double tol) {
    rows.push_back({std::move(id), std::move(q), std::move(unit), ref, prog, tol});
  };

  {  // V1: cantilever, L = 120 in, EI = 1E9 lb-in^2, P = 1000 lb at the top, base fixed
    const auto out = run("cantilever-tip-load.tn5d");
    const double P = 1000, L = 120, EI = 1e9;
    add("V1.1", "Cantilever: deflection at the loaded top, P L^3 / (3 EI)", "in", P * L * L * L / (3 * EI),
        resultAt(out, 0, 1), 0.5);
    add("V1.2", "Cantilever: moment at x = 60 in, P x", "lb-in", P * 60, resultAt(out, 60, 2), 0.5);
    add("V1.3", "Cantilever: moment at x = 117 in (one station above the fixed base), P x", "lb-in", P * 117,
        resultAt(out, 117, 2), 0.5);
    add("V1.4", "Cantilever: shear at x = 60 in, P", "lb", P, resultAt(out, 60, 3), 0.5);
  }
  {  // V2: simply supported, L = 240 in, EI = 1E9, P = 2000 lb at midspan
    const auto out = run("simply-supported-midspan-load.tn5d");
    const double P = 2000, L = 240, EI = 1e9, x = 60;
    add("V2.1", "Simple beam: deflection at midspan, P L^3 / (48 EI)", "in", P * L * L * L / (48 * EI),
        resultAt(out, 120, 1), 0.5);
    add("V2.2", "Simple beam: deflection at x = L/4, P x (3 L^2 - 4 x^2) / (48 EI)", "in",
        P * x * (3 * L * L - 4 * x * x) / (48 * EI), resultAt(out, 60, 1), 0.5);
    add("V2.3", "Simple beam: moment at midspan (magnitude), P L / 4", "lb-in", P * L / 4,
        std::abs(resultAt(out, 120, 2)), 0.5);
  }
  {  // V3: Hetenyi, infinite beam, EI = 1E10, k = 1000 lb/in^2, P = 10000 lb at midlength
    const auto out = run("elastic-foundation-hetenyi.tn5d");
    const double P = 1e4, EI = 1e10, k = 1000, beta = std::pow(k / (4 * EI), 0.25), x = 100;
    const double bx = beta * x;
    add("V3.1", "Beam on elastic foundation: deflection under the load, P beta / (2 k)", "in",
        P * beta / (2 * k), resultAt(out, 600, 1), 1.0);
    add("V3.2", "Beam on elastic foundation: deflection 100 in from the load", "in",
        P * beta / (2 * k) * std::exp(-bx) * (std::cos(bx) + std::sin(bx)), resultAt(out, 700, 1), 1.0);
    add("V3.3", "Beam on elastic foundation: moment under the load (magnitude), P / (4 beta)", "lb-in",
        P / (4 * beta), std::abs(resultAt(out, 600, 2)), 1.0);
  }
  {  // V4 to V6: Rankine, SI units, free height 5 m, WA = 1 m
    const auto dry = run("rankine-sand-dry.tn5d");
    const double ka = std::pow(std::tan(deg(45 - 15)), 2), q = 10, g = 18;
    add("V4.1", "Rankine Ka, phi = 30 deg, tan^2(45 - phi/2)", "-", ka, coefficients(dry, 1).first, 0.5);
    add("V4.2", "Rankine Kp, phi = 30 deg, tan^2(45 + phi/2)", "-", std::pow(std::tan(deg(45 + 15)), 2),
        coefficients(dry, 1).second, 0.5);
    int n = 3;
    for (const double z : {1.0, 2.0, 4.0})
      add("V4." + std::to_string(n++), "Dry sand, q = 10 kPa: pressure at z = " + fmt(z, 2) +
          " m, Ka (q + gamma z)", "kN/m", ka * (q + g * z), pressureAt(dry, z), 0.5);

    const auto wet = run("rankine-sand-water.tn5d");
    const double ka2 = std::pow(std::tan(deg(45 - 17)), 2), g2 = 20, gw = 9.81, dw = 2;
    auto wetP = [&](double z) {
      return z <= dw ? ka2 * g2 * z : ka2 * (g2 * dw + (g2 - gw) * (z - dw)) + gw * (z - dw);
    };
    n = 1;
    for (const double z : {1.0, 3.0, 4.4})
      add("V5." + std::to_string(n++), "Sand with water at 2 m: pressure at z = " + fmt(z, 2) +
          " m, Ka sigma'v + gamma_w (z - 2)", "kN/m", wetP(z), pressureAt(wet, z), 0.5);

    const auto clay = run("rankine-clay.tn5d");
    n = 1;
    for (const double z : {3.0, 4.0})
      add("V6." + std::to_string(n++), "Clay, c = 20 kPa: pressure at z = " + fmt(z, 2) + " m, gamma z - 2 c",
          "kN/m", 19 * z - 2 * 20, pressureAt(clay, z), 0.5);
  }

  // V7 to V13: p-y criteria. One uniform layer 0 to 10 m without excavation (both sides
  // identical), element width 0.6 m at 2.4 m spacing, so no group reduction and no shift.
  // Curve 2 lies at 2.50 m and curve 4 at 7.50 m. The deflections are those the engine
  // printed; p is compared at them.
  struct PyCase {
    std::string id, name, file;
    std::function<double(double x, double y)> p;
    std::vector<int> points;  // 1-based point numbers of the printed curve
    double tol;
  };
  const double b = 0.6;
  const std::vector<PyCase> pyCases = {
      {"V7", "Soft clay (Matlock 1970)", "py-soft-clay.tn5d",
       [&](double x, double y) { return matlockSoftClay({x, b, 16, 20, 0, 0.02, 0}, y); }, {6, 10, 17}, 0.2},
      {"V8", "Stiff clay with free water (Reese et al. 1975)", "py-stiff-clay-free-water.tn5d",
       [&](double x, double y) { return reeseStiffClayFreeWater({x, b, 19, 100, 0, 0.005, 135000}, y); },
       {5, 15, 17}, 0.3},
      {"V9", "Stiff clay without free water (Welch and Reese 1972)", "py-stiff-clay-no-free-water.tn5d",
       [&](double x, double y) { return welchReeseStiffClay({x, b, 19, 100, 0, 0.005, 0}, y); }, {9, 13, 17},
       0.3},
      {"V10", "Sand (Reese et al. 1974)", "py-sand.tn5d",
       [&](double x, double y) { return reeseSand({x, b, 19, 0, 35, 0, 61000}, y); }, {8, 13, 17}, 0.3},
      {"V11", "Silt, c-phi soil", "py-silt.tn5d",
       [&](double x, double y) { return cPhiSoil({x, b, 19, 20, 30, 0.01, 40000}, y); }, {8, 13, 17}, 1.0},
      {"V12", "Strong rock (Reese and Nyman 1978)", "py-strong-rock.tn5d",
       [&](double x, double y) { return strongRock(x, b, 20000, 23, y); }, {4, 12, 17}, 0.2},
      {"V13", "Weak rock (Reese 1997)", "py-weak-rock.tn5d",
       [&](double x, double y) { return weakRock(x, b, 5000, 50, 0.0005, 1e6, y); }, {4, 12, 16}, 1.0},
  };
  for (const PyCase& c : pyCases) {
    const auto out = run(c.file);
    int n = 1;
    for (const auto& [curve, x] : std::vector<std::pair<int, double>>{{2, 2.5}, {4, 7.5}}) {
      const auto pts = curvePoints(out, curve);
      if (pts.size() != 17) continue;
      for (int j : c.points) {
        const auto [y, p] = pts[j - 1];
        add(c.id + "." + std::to_string(n++),
            c.name + ": p at x = " + fmt(x, 3) + " m, y = " + fmt(y, 3) + " m", "kN/m", c.p(x, y), p, c.tol);
      }
    }
  }

  {  // V14: tieback wall, hand calculation. 8 m wall pinned at its foot, tieback at 1 m,
     // load rising linearly from 0 at the top to 40 kN/m at the foot.
    const auto out = run("tieback-wall-hand-calculation.tn5d");
    const double L = 8, d = 1, p = 40, wa = 1.2, s = 2.4, a = deg(15), A = 0.0006, E = 2e8, lu = 6, f0 = 100;
    const double fh = -p * L * L / (6 * (L - d));                  // moments about the foot
    const double S = std::cos(a) * A * E / ((s / wa) * lu);      // spring per wall unit
    const double q0 = -(wa / s) * std::cos(a) * f0;              // prestress per wall unit
    const auto t = tiebackLine(out);
    add("V14.1", "Tieback: horizontal force per wall unit, p L^2 / (6 (L - d))", "kN", fh, t.size() == 6 ? t[3] : NAN,
        0.2);
    add("V14.2", "Tieback: force in one tieback, Fh s / (Wa cos alpha)", "kN", fh * s / (wa * std::cos(a)),
        t.size() == 6 ? t[5] : NAN, 0.2);
    add("V14.3", "Tieback: wall deflection at the tieback, (Q0 - Fh) / S", "m", (q0 - fh) / S, resultAt(out, 1.0, 1),
        0.2);
  }
  return rows;
}

// ---------------------------------------------------------------------------------------
// The table in the manual

const std::string kBegin = "<!-- verification table: written by docs/verification/verification_test.cpp -->";
const std::string kEnd = "<!-- end of verification table -->";

std::string tableText(const std::vector<Row>& rows) {
  std::ostringstream o;
  o << "| Case | Quantity | Unit | Reference | Program | Difference | Tolerance |\n";
  o << "|---|---|---|---:|---:|---:|---:|\n";
  for (const Row& r : rows)
    o << "| " << r.id << " | " << r.quantity << " | " << r.unit << " | " << fmt(r.reference) << " | "
      << fmt(r.program) << " | " << fmtDiff(r) << " | " << fmt(r.tolerancePercent, 2) << " % |\n";
  return o.str();
}

std::vector<std::string> cells(const std::string& line) {
  std::vector<std::string> c;
  std::string cur;
  for (std::size_t i = 1; i < line.size(); ++i) {
    if (line[i] == '|') {
      const auto a = cur.find_first_not_of(' '), b = cur.find_last_not_of(' ');
      c.push_back(a == std::string::npos ? "" : cur.substr(a, b - a + 1));
      cur.clear();
    } else {
      cur += line[i];
    }
  }
  return c;
}

// Half a unit of the last digit printed in a number such as 0.5762, 1.234E5 or 60000.
double printedHalfUnit(const std::string& s) {
  const auto e = s.find_first_of("Ee");
  const std::string mant = s.substr(0, e);
  const int ex = e == std::string::npos ? 0 : std::stoi(s.substr(e + 1));
  const auto dot = mant.find('.');
  const int decimals = dot == std::string::npos ? 0 : static_cast<int>(mant.size() - dot - 1);
  return 0.5 * std::pow(10.0, ex - decimals) * (1 + 1e-9);
}

// Compares the table of a manual text with the computed rows; returns what differs, empty
// when everything holds.
std::vector<std::string> checkTable(const std::string& manual, const std::vector<Row>& rows) {
  std::vector<std::string> problems;
  const auto b = manual.find(kBegin), e = manual.find(kEnd);
  if (b == std::string::npos || e == std::string::npos) return {"the table markers are missing"};
  std::map<std::string, std::vector<std::string>> table;
  std::istringstream in(manual.substr(b, e - b));
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("| V", 0) != 0) continue;
    const auto c = cells(line);
    if (c.size() == 7) table[c[0]] = c;
  }
  if (table.size() != rows.size())
    problems.push_back("the manual lists " + std::to_string(table.size()) + " cases, the test computes " +
                       std::to_string(rows.size()));
  for (const Row& r : rows) {
    const auto it = table.find(r.id);
    if (it == table.end()) {
      problems.push_back(r.id + " is missing from the manual");
      continue;
    }
    const auto& c = it->second;
    auto near = [&](const std::string& text, double value, const char* what) {
      double v;
      try {
        v = std::stod(text);
      } catch (...) {
        problems.push_back(r.id + ": " + what + " \"" + text + "\" is not a number");
        return;
      }
      if (!(std::abs(v - value) <= printedHalfUnit(text)))
        problems.push_back(r.id + ": " + what + " in the manual " + text + ", computed " + fmt(value, 8));
    };
    near(c[3], r.reference, "reference");
    near(c[4], r.program, "program value");
    const double diff = 100 * std::abs(r.program - r.reference) / std::abs(r.reference);
    double tol = NAN;
    try {
      tol = std::stod(c[6]);
    } catch (...) {
    }
    if (!(diff <= tol))
      problems.push_back(r.id + ": the difference " + fmtDiff(r) + " exceeds the tolerance " + c[6]);
    if (c[5] != fmtDiff(r)) problems.push_back(r.id + ": difference in the manual " + c[5] + ", computed " + fmtDiff(r));
  }
  return problems;
}

std::string join(const std::vector<std::string>& v) {
  std::string s;
  for (const auto& x : v) s += x + "\n";
  return s;
}

// ---------------------------------------------------------------------------------------

class Verification : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { rows_ = new std::vector<Row>(computeRows()); }
  static void TearDownTestSuite() {
    delete rows_;
    rows_ = nullptr;
  }
  static const std::vector<Row>& rows() { return *rows_; }
  static std::vector<Row>* rows_;
};
std::vector<Row>* Verification::rows_ = nullptr;

TEST_F(Verification, EveryCaseWithinItsTolerance) {
  for (const Row& r : rows()) {
    ASSERT_TRUE(std::isfinite(r.program) && std::isfinite(r.reference)) << r.id;
    EXPECT_LE(100 * std::abs(r.program - r.reference) / std::abs(r.reference), r.tolerancePercent)
        << r.id << " " << r.quantity << ": reference " << r.reference << ", program " << r.program;
  }
}

TEST_F(Verification, TheManualTableMatchesTheEngine) {
  std::string manual = readFile(manualPath());
  if (std::getenv("TARNEL_UPDATE_MANUAL")) {
    const auto b = manual.find(kBegin), e = manual.find(kEnd);
    ASSERT_NE(b, std::string::npos);
    ASSERT_NE(e, std::string::npos);
    manual = manual.substr(0, b) + kBegin + "\n\n" + tableText(rows()) + "\n" + manual.substr(e);
    std::ofstream(manualPath(), std::ios::binary) << manual;
  }
  const auto problems = checkTable(manual, rows());
  EXPECT_TRUE(problems.empty()) << join(problems)
                                << "\nThe table as the engine computes it now (TARNEL_UPDATE_MANUAL=1 writes it):\n"
                                << tableText(rows());
}

// A copy of the table with one number altered, one case left out and one tolerance
// tightened below its difference: each is found.
TEST_F(Verification, AnAlteredTableFails) {
  const std::string good = kBegin + "\n\n" + tableText(rows()) + "\n" + kEnd + "\n";
  ASSERT_TRUE(checkTable(good, rows()).empty()) << join(checkTable(good, rows()));

  const std::string v1 = "| V1.1 |";
  const auto at = good.find(v1);
  ASSERT_NE(at, std::string::npos);
  const std::string row = good.substr(at, good.find('\n', at) - at);
  const auto c = cells(row);
  std::string altered = good;
  // The program value of the cantilever's top deflection, its last digit raised by one.
  std::string changed = c[4];
  changed.back() = changed.back() == '9' ? '8' : static_cast<char>(changed.back() + 1);
  std::string newRow = row;
  newRow.replace(newRow.find("| " + c[4] + " |"), c[4].size() + 4, "| " + changed + " |");
  altered.replace(at, row.size(), newRow);
  const auto p1 = checkTable(altered, rows());
  ASSERT_EQ(p1.size(), 1u) << join(p1);
  EXPECT_NE(p1[0].find("V1.1: program value"), std::string::npos) << p1[0];

  std::string missing = good;
  missing.erase(at, row.size() + 1);
  EXPECT_FALSE(checkTable(missing, rows()).empty());

  std::string tight = good;
  const auto tolAt = tight.rfind("| " + c[6] + " |", tight.find('\n', at));
  tight.replace(tolAt, c[6].size() + 4, "| 0.00 % |");
  if (rows().front().program != rows().front().reference) {
    EXPECT_FALSE(checkTable(tight, rows()).empty());
  }
}

}  // namespace
}  // namespace tarnel::verification
