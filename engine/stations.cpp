#include "engine/stations.h"

#include "engine/data_reader.h"
#include "engine/fixed_format.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <string>

namespace tarnel::engine {

void reportStop(std::ostream& report, const std::string& text, int blanksBefore, int blanksAfter) {
  for (int i = 0; i < blanksBefore; ++i) report << '\n';
  report << "     " << text << '\n';
  for (int i = 0; i < blanksAfter; ++i) report << '\n';
  report.flush();
  throw InputStop(text);
}

void reportStorageStop(std::ostream& report) { reportStop(report, "TOO MUCH DATA FOR AVAILABLE STORAGE", 2, 2); }

void reportNotFinite(std::ostream& report, const std::string& what) {
  reportStop(report, "ERROR STOP -- " + what +
                         " IS NOT A FINITE NUMBER: THE INPUT VALUES ARE TOO LARGE OR TOO SMALL FOR THE ANALYSIS");
}

void checkStationValues(const Stations& st, std::ostream& report) {
  const struct {
    const std::vector<double>* values;
    const char* name;
  } tables[] = {{&st.EI, "FLEXURAL RIGIDITY EI"}, {&st.Q, "TRANSVERSE LOAD Q"}, {&st.S, "SPRING STIFFNESS S"},
                {&st.T, "TORQUE T"},             {&st.R, "ROTATIONAL RESTRAINT R"}, {&st.P, "AXIAL LOAD P"}};
  for (const auto& t : tables) {
    for (int j = -3; j <= st.ninc + 3; ++j) {
      const std::size_t s = static_cast<std::size_t>(Stations::slot(j));
      if (s < t.values->size() && !std::isfinite((*t.values)[s]))
        reportNotFinite(report, std::string("THE ") + t.name + " AT STATION " + std::to_string(j));
    }
  }
}

long long nearestStation(double x) {
  // Callers check the range first; this keeps the conversion defined for any input.
  if (!std::isfinite(x) || std::fabs(x) > 1.0e9) return x < 0 ? -1000000000LL : 1000000000LL;
  return std::llround(x);
}

void startStations(Stations& st, const WallRecord& wall, std::ostream& report) {
  st.reset();
  st.ninc = 0;
  st.h = st.h2 = st.h3 = st.length = 0;
  st.excavationStation = 0;
  if (wall.ninc > kMaxIncrements) reportStorageStop(report);
  if (wall.ninc < 1) reportStop(report, "ERROR STOP -- NUMBER OF INCREMENTS IS " + std::to_string(wall.ninc) + ", IT MUST BE AT LEAST 1");
  if (!(wall.h > 0)) reportStop(report, "ERROR STOP -- INCREMENT LENGTH IS " + fmt::free(wall.h) + ", IT MUST BE GREATER THAN 0");
  st.ninc = wall.ninc;
  st.h = wall.h;
  st.h2 = wall.h * wall.h;
  st.h3 = st.h2 * wall.h;
  st.length = wall.ninc * wall.h;
  st.excavationStation = static_cast<int>(std::clamp<long long>(nearestStation(wall.freeHeight / wall.h), -1000000, 1000000));
}

void checkStation(const Stations& st, std::ostream& report, long long station, const char* what) {
  if (station < -3 || station > st.ninc + 3) {
    reportStop(report, "ERROR STOP -- " + std::string(what) + " AT STATION " + std::to_string(station) +
                           " LIES OUTSIDE STATIONS -3 TO " + std::to_string(st.ninc + 3));
  }
}

void applyRestraint(Stations& st, std::ostream& report, const RestraintRow& row, const RestraintRow* previous) {
  const int s = row.station;
  if ((previous && s < previous->station) || (!previous && s < -1)) {
    reportStop(report, "ERROR STOP -- STATIONS NOT IN ORDER");
  }
  if (s > st.ninc + 2) checkStation(st, report, static_cast<long long>(s) + 1, "SPECIFIED DEFLECTION OR SLOPE");
  if (static_cast<int>(st.specDeflection.size()) >= kMaxSpecified) reportStorageStop(report);
  auto code = [&](int station) -> int& { return st.code[Stations::slot(station)]; };
  if (row.kase <= 1) {
    code(s) = 2;
  } else if (row.kase == 2) {
    code(s - 1) = 3;
    code(s + 1) = 5;
  } else {
    code(s - 1) = 3;
    code(s) = 4;
    code(s + 1) = 5;
  }
  st.specDeflection.push_back(row.deflection);
  st.specSlope.push_back(row.slope);
}

void distributeRange(Stations& st, std::ostream& report, int a, int b, std::span<std::vector<double>* const> targets,
                     std::span<const double> va, std::span<const double> vb) {
  if (b < a) reportStop(report, "ERROR STOP -- STATIONS NOT IN ORDER");
  checkStation(st, report, a, "TABLE ROW");
  checkStation(st, report, b, "TABLE ROW");
  const std::size_t n = std::min({targets.size(), va.size(), vb.size()});
  for (std::size_t m = 0; m < n; ++m) {
    std::vector<double>& arr = *targets[m];
    // A range of one station carries the row's own value in full.
    auto value = [&](int j) {
      if (b == a) return vb[m];
      return va[m] + (vb[m] - va[m]) * static_cast<double>(j - a) / static_cast<double>(b - a);
    };
    for (int j = a; j <= b; ++j) arr[Stations::slot(j)] += value(j);
    if (b > a) {
      // Half values at both ends: where two ranges meet the halves add up again.
      arr[Stations::slot(a)] -= 0.5 * value(a);
      arr[Stations::slot(b)] -= 0.5 * value(b);
    }
  }
}

int Distribution::add(Stations& st, std::ostream& report, int from, int to, int contd,
                      std::span<std::vector<double>* const> targets, std::span<const double> values) {
  if (contd != 1 && contd != 2) reportStop(report, "ERROR STOP -- CONTD MUST BE 1 OR 2");
  const int k = contd - 1;
  const int kind = 2 * kprev_ + k + 1;
  switch (kind) {
    case 1:
      distributeRange(st, report, from, to, targets, values, values);
      break;
    case 2:
      checkStation(st, report, from, "TABLE ROW");
      chainFrom_ = from;
      chainValues_.assign(values.begin(), values.end());
      break;
    default:  // 3 and 4: the chain ends at this row's TO
      distributeRange(st, report, chainFrom_, to, targets, chainValues_, values);
      if (kind == 4) {
        chainFrom_ = to;
        chainValues_.assign(values.begin(), values.end());
      }
      break;
  }
  kprev_ = k;
  return kind;
}

int applyStiffnessRow(Stations& st, Distribution& dist, std::ostream& report, const StiffnessRow& row) {
  std::vector<double>* targets[] = {&st.EI};
  const double values[] = {row.ei};
  return dist.add(st, report, row.from, row.to, row.contd, targets, values);
}

int applyLoadRow(Stations& st, Distribution& dist, std::ostream& report, const ConcentratedLoadRow& row) {
  std::vector<double>* targets[] = {&st.Q, &st.T, &st.P};
  const double values[] = {row.q, row.t, -row.p};  // axial compression is stored negative
  const int kind = dist.add(st, report, row.from, row.to, row.contd, targets, values);
  if (row.t != 0) {
    // The couple list keeps the row's FROM station even where the chain rule ignores it.
    checkStation(st, report, row.from, "COUPLE");
    if (static_cast<int>(st.couples.size()) >= kMaxCouples) reportStorageStop(report);
    st.couples.push_back({row.from, row.t / (2.0 * st.h)});
  }
  return kind;
}

int applySpringRow(Stations& st, Distribution& dist, std::ostream& report, const SpringRow& row) {
  std::vector<double>* targets[] = {&st.S, &st.R};
  const double values[] = {row.s, row.r};
  return dist.add(st, report, row.from, row.to, row.contd, targets, values);
}

int applyTiebackRow(Stations& st, Distribution& dist, std::ostream& report, TiebackRow& row, int units, double wa,
                    int number) {
  const std::string name = "TIEBACK " + std::to_string(number) + ": ";
  const double ft = units == 1 ? kInchesPerFoot : 1.0;  // English rows give depth, length and spacing in feet
  if (row.spacing == 0) reportStop(report, "ERROR STOP -- " + name + "SPACING IS 0");
  if (row.unbondedLength == 0) reportStop(report, "ERROR STOP -- " + name + "UNBONDED LENGTH IS 0");
  if (wa == 0) reportStop(report, "ERROR STOP -- " + name + "WIDTH WA OF THE WALL RECORD IS 0");
  const long long station = nearestStation(row.depth * ft / st.h);
  checkStation(st, report, station, "TIEBACK");
  const double s = row.spacing * ft;
  const double length = row.unbondedLength * ft;
  const double ca = std::cos(row.angle * kTiebackPi / 180.0);
  row.station = static_cast<int>(station);
  row.stiffness = ca * row.area * row.modulus / ((s / wa) * length);
  row.prestressLoad = -(wa / s) * ca * row.prestress;
  std::vector<double>* targets[] = {&st.S, &st.Q};
  const double values[] = {row.stiffness, row.prestressLoad};
  return dist.add(st, report, row.station, row.station, 1, targets, values);
}

std::vector<PressurePoint> userPressureTable(const std::vector<DistLoadRow>& rows, double wa,
                                             const std::vector<double>& surcharge) {
  std::vector<PressurePoint> table;
  table.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const DistLoadRow& r = rows[i];
    PressurePoint p;
    p.depth = r.depth;
    p.soil = r.load;
    p.surcharge = i < surcharge.size() ? wa * surcharge[i] : 0.0;
    p.total = p.soil + p.surcharge;
    table.push_back(p);
  }
  return table;
}

bool readGeneratedPressure(std::istream& in, double freeHeight, double wa, double wp,
                           std::vector<PressurePoint>& table) {
  auto readNumber = [&in](double& v) {
    std::string word;
    return static_cast<bool>(in >> word) && DataReader::parseReal(word, v);
  };
  table.clear();
  double count = 0;
  if (!readNumber(count) || count < 0 || count != std::floor(count) || count > 1.0e7) return false;
  const auto n = static_cast<std::size_t>(count);
  table.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    PressurePoint p;
    if (!readNumber(p.depth) || !readNumber(p.total) || !readNumber(p.soil) || !readNumber(p.surcharge)) return false;
    const double width = p.depth <= freeHeight ? wa : wp;
    p.total *= width;
    p.soil *= width;
    p.surcharge *= width;
    table.push_back(p);
  }
  return true;
}

bool pressureAt(const std::vector<PressurePoint>& table, double z, double& value) {
  if (table.empty()) return false;
  // A station depth i*h that misses a table depth by rounding still counts as that deep.
  const double slack = 1.0e-9 * std::max(1.0, std::fabs(z));
  std::size_t k = 0;
  while (k < table.size() && table[k].depth < z - slack) ++k;
  if (k == table.size()) return false;
  if (k == 0) {
    value = table[0].total;
    return true;
  }
  const PressurePoint& p0 = table[k - 1];
  const PressurePoint& p1 = table[k];
  if (p1.depth == p0.depth) {
    value = p1.total;
    return true;
  }
  const double t = std::clamp((z - p0.depth) / (p1.depth - p0.depth), 0.0, 1.0);
  value = p0.total + (p1.total - p0.total) * t;
  return true;
}

int loadPressure(Stations& st, const std::vector<PressurePoint>& table, long long lastStation) {
  // Loads beyond the fictitious stations below the tip could never act on the wall.
  const int last = static_cast<int>(std::clamp<long long>(lastStation, 0, st.ninc + 3));
  double previous = 0;
  for (int i = 1; i <= last; ++i) {
    double v = previous;
    if (!pressureAt(table, i * st.h, v)) v = previous;
    st.Q[Stations::slot(i)] += v * st.h;
    previous = v;
  }
  return last;
}

void checkBeyondEnd(const Stations& st, std::ostream& report) {
  const int s1 = Stations::slot(st.ninc + 1);
  const int s2 = Stations::slot(st.ninc + 2);
  // Magnitudes, so that values of opposite sign cannot cancel and hide each other.
  const double sum = std::fabs(st.EI[s1]) + std::fabs(st.Q[s1]) + std::fabs(st.S[s1]) + std::fabs(st.T[s1]) +
                     std::fabs(st.R[s1]) + std::fabs(st.P[s1]) + std::fabs(st.EI[s2]) + std::fabs(st.T[s2]) +
                     std::fabs(st.R[s2]) + std::fabs(st.P[s2]);
  if (sum != 0) reportStop(report, "ERROR -- NON-ZERO TABLE 4 DATA BEYOND END");
}

}  // namespace tarnel::engine
