#include "engine/pressure/pressure_table.h"

#include "engine/fixed_format.h"
#include "engine/pressure/constants.h"
#include "engine/pressure/surcharge.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace tarnel::engine::pressure {

int rowsInThickness(int units, double t) {
  const double rows = englishUnits(units) ? t : 20.0 * t;
  // The table is refused beyond kMaxPressureRows before it is built; this keeps the
  // conversion defined for any thickness, a thickness that is not a number included.
  if (!(rows > 0.0)) return 0;
  if (rows > kMaxPressureRows) return static_cast<int>(kMaxPressureRows);
  return static_cast<int>(std::lround(rows));
}

namespace {

// Thickness of layer i that the table covers: the last layer reaches down to the wall
// tip, and no layer goes beyond it (a layer starting at or below the tip gives none).
double tableThickness(const SoilProfile& profile, int i, double wallTip) {
  const ProfileLayer& l = profile.layers[i];
  const double t = i == profile.n() - 1 ? wallTip - l.ztop : std::min(l.t, wallTip - l.ztop);
  return t > 0.0 ? t : 0.0;
}

}  // namespace

double pressureRowCount(const SoilProfile& profile, const PressureCase& pc) {
  double rows = 1.0;
  for (int i = 0; i < profile.n(); ++i) {
    const double t = tableThickness(profile, i, pc.wallLength);
    rows += std::round(englishUnits(pc.units) ? t : 20.0 * t);
  }
  return rows;
}

PressureTable buildPressureRows(const SoilProfile& profile, const PressureCase& pc, int waterFlag) {
  PressureTable table;
  const auto& L = profile.layers;
  const int n = profile.n();
  const double H = pc.H;
  const double wallTip = pc.wallLength;
  const double sigvpExc = profile.lexc >= 0 ? L[profile.lexc].sigvp : 0.0;
  // The running area takes the row spacing as one inch, or 0.05 length units.
  const double areaScale = englishUnits(pc.units) ? 1.0 : 20.0;

  const double top = n > 0 ? L[0].ka * pc.q * L[0].modf : 0.0;
  table.rows.push_back({0.0, top, 0.0, pc.q > 0.0 ? top : 0.0});

  const SurchargeGrid surcharge(pc.surcharges, H, wallTip);
  double previousTotal = top;
  double u = 0.0;  // excavation-side water pressure, kept from row to row
  for (int i = 0; i < n; ++i) {
    const ProfileLayer& l = L[i];
    const double t = tableThickness(profile, i, wallTip);
    const int nsub = t > 0.0 ? rowsInThickness(pc.units, t) : 0;
    if (nsub <= 0) continue;

    const bool above = i < profile.lexc;
    const double gammaWE = (l.drained && l.belowWater && waterFlag == 1) ? pc.gammaW : 0.0;
    const double gammaE = (l.drained && l.belowWater) ? l.gamma - pc.gammaW : l.gamma;
    const double cohesion = 2.0 * l.c * l.sqrtKa * l.modf;
    double G = 0.0, T = 0.0;
    if (above) {
      G = (gammaWE + gammaE * l.ka) * l.modf;
      T = (l.ztop - pc.dwb) * gammaWE * l.modf + l.sigvp * l.ka * l.modf - cohesion;
    } else {
      const double water = H < pc.dwb ? 0.0 : (H - pc.dwb) * gammaWE * l.modf;
      T = water + sigvpExc * l.ka * l.modf - cohesion;
    }
    double Q = pc.q * l.ka * l.modf - cohesion;
    if (pc.q < 1.0e-6 || Q < 0.0) Q = 0.0;

    for (int j = 1; j <= nsub; ++j) {
      const int k = static_cast<int>(table.rows.size()) + 1;  // row number
      const double d = j * t / nsub;
      const double z = l.ztop + d;
      PressureRow row;
      row.depth = z;
      row.total = row.soil = G * d + T;
      const double s = surcharge.at(z) * l.modf;
      row.total += s;

      if (z > pc.dwe && z < H) u = (z - pc.dwe) * pc.gammaW;
      if (z > H) u = 0.0;
      if (z > pc.dwe && z > H) u = (H - pc.dwe) * pc.gammaW;
      if (u < 0.0) u = 0.0;
      if (l.belowWater) {
        row.total -= u * l.modf;
        row.soil -= u * l.modf;
      }

      if (row.total < 1.0e-5) row.total = k * kTinyPressure;
      if (row.soil < 1.0e-5) row.soil = k * kTinyPressure;
      if (above) table.area += (previousTotal + row.total) / 2.0 / areaScale;
      previousTotal = row.total;

      row.surcharge = s + Q;
      row.soil -= Q;
      table.rows.push_back(row);
    }
    if (above) table.lastAbove = static_cast<int>(table.rows.size()) - 1;
  }
  return table;
}

std::string apparentDiagramProblem(const PressureCase& pc) {
  const auto& D = pc.tiebackDepths;
  if (D.empty()) return "THE TRAPEZOIDAL EARTH PRESSURE DISTRIBUTION NEEDS AT LEAST ONE TIEBACK";
  if (D.front() < kDepthTol)
    return "THE TRAPEZOIDAL EARTH PRESSURE DISTRIBUTION NEEDS THE FIRST TIEBACK BELOW THE TOP OF THE WALL";
  if (D.size() > 1 && pc.H > 0.0 && !(pc.H - ((pc.H + D.front()) - D.back()) / 3.0 > 0.0))
    return "THE TIEBACK DEPTHS GIVE NO TRAPEZOIDAL EARTH PRESSURE DIAGRAM (FIRST TIEBACK FAR BELOW THE LAST)";
  return {};
}

ApparentDiagram apparentDiagram(const PressureCase& pc, double P) {
  const auto& D = pc.tiebackDepths;
  const double H = pc.H;
  const double d1 = D.front(), dn = D.back();
  ApparentDiagram a;
  a.z1 = 2.0 * d1 / 3.0;
  double plateau = 0.0;
  if (D.size() == 1) {
    plateau = H / 3.0;
    a.lower = 2.0 * (H - d1) / 3.0;
    a.pmax = 1.3 * P * 3.0 / (2.0 * H);
  } else {
    a.lower = 2.0 * (H - dn) / 3.0;
    plateau = H - a.z1 - a.lower;
    a.pmax = 1.3 * P / (H - ((H + d1) - dn) / 3.0);
  }
  a.z2 = a.z1 + plateau;
  return a;
}

void applyApparentPressure(PressureTable& table, const PressureCase& pc) {
  if (table.lastAbove < 1) return;  // nothing above the excavation level
  const ApparentDiagram a = apparentDiagram(pc, table.area);
  for (int r = 1; r <= table.lastAbove; ++r) {
    PressureRow& row = table.rows[r];
    const double z = row.depth;
    if (z < a.z1) {
      row.total = a.pmax * z / a.z1;
    } else if (z <= a.z2 || !(a.lower > 0.0)) {
      // A lower triangle of no length (last tieback at the excavation level) leaves
      // the plateau down to it.
      row.total = a.pmax;
    } else {
      row.total = a.pmax - (z - a.z2) * a.pmax / a.lower;
    }
  }
}

bool writePressureTable(const std::string& path, const PressureTable& table) {
  std::ofstream out(path, std::ios::trunc);
  if (!out) return false;
  out << ' ' << fmt::free(static_cast<long long>(table.rows.size())) << '\n';
  for (const auto& r : table.rows) {
    out << fmt::blanks(5) << fmt::exponent(r.depth, 10, 3) << fmt::blanks(4)
        << fmt::exponent(r.total, 10, 3) << fmt::blanks(4) << fmt::exponent(r.soil, 10, 3)
        << fmt::blanks(4) << fmt::exponent(r.surcharge, 10, 3) << '\n';
  }
  out.close();
  return !out.fail();
}

}  // namespace tarnel::engine::pressure
