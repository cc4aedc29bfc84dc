// Nonlinear iteration of one problem. Each pass replaces every p-y curve by the secant
// of the segment that holds the station's current deflection (soil force
// = intercept - slope * y, so the slope acts as a spring and the intercept as a load),
// solves the linear beam-column, and repeats until no station moves by more than the
// closure tolerance; moment-EI curves then update the bending stiffness from the
// curvature and the loop goes on until the deflections settle for the new stiffness
// too: the secant iteration on p-y curves of the laterally loaded pile literature
// (Reese and Van Impe, 2001, "Single Piles and Pile Groups Under Lateral Loading").
#include "engine/iteration.h"

#include <algorithm>
#include <functional>
#include <cmath>
#include <fstream>
#include <string>

#include "engine/curves.h"
#include "engine/fixed_format.h"
#include "engine/plot_file.h"
#include "engine/soilcurves/py_generator.h"
#include "engine/solver.h"
#include "engine/stations.h"

namespace tarnel::engine {
namespace {

constexpr int slotOf(int station) { return Stations::slot(station); }

void checkStiffnessStorage(std::ostream& report, const std::vector<EiCurve>& curves) {
  if (curves.size() > static_cast<std::size_t>(kMaxEiCurves)) reportStorageStop(report);
  for (const EiCurve& c : curves)
    if (c.moment.size() > static_cast<std::size_t>(kMaxEiPoints) ||
        c.ei.size() > static_cast<std::size_t>(kMaxEiPoints))
      reportStorageStop(report);
}

// Bending stiffness on a moment-EI curve at curvature phi: the point of the segment
// from k - 1 to k where M = phi * EI.
double stiffnessAt(const EiCurve& c, double phi, double current) {
  const std::size_t n = std::min(c.moment.size(), c.ei.size());
  if (n == 0) return current;
  if (n == 1) return c.ei[0];
  const std::vector<double>& M = c.moment;
  const std::vector<double>& EI = c.ei;
  std::size_t k = n - 1;
  for (std::size_t i = 1; i + 1 < n; ++i) {
    if (M[i] > phi * EI[i]) {
      k = i;
      break;
    }
  }
  const double den = (EI[k] - EI[k - 1]) * phi - (M[k] - M[k - 1]);
  // Two identical consecutive points (or a segment parallel to M = phi EI) give no
  // intersection: the segment's end value is taken, which for identical points is
  // the value both points give.
  if (den == 0.0) return EI[k];
  const double t = (M[k - 1] - phi * EI[k - 1]) / den;
  const double ei = EI[k - 1] + t * (EI[k] - EI[k - 1]);
  return std::isfinite(ei) ? ei : current;
}

std::string monitorLine(int i, bool offCurve, int notClosed, std::span<const double> w) {
  std::string line = "   " + fmt::integer(i, 4) + (offCurve ? "       YES      " : "       NO       ") +
                     fmt::integer(notClosed, 4) + "  ";
  for (int j = 1; j <= 5; ++j) line += fmt::exponent(w[slotOf(j)], 10, 3);
  return line;
}

// Walks the curve table in order and calls visit(j, start, current, t, weight) for every
// station j in -1 .. NINC + 1 that a curve acts on: a curve standing alone acts at its
// station with its full value; a chain of continued curves is interpolated linearly
// (t from 0 at the chain start to 1 at the current curve), with half values (weight) at
// both ends of every range. False when the stations of a chain decrease.
template <class Visit>
bool forEachCurveStation(const std::vector<PyCurve>& curves, int ninc, Visit visit) {
  const int lo = -1, hi = ninc + 1;  // stations the solver reads
  int kprev = 0;
  const PyCurve* start = nullptr;
  for (const PyCurve& cur : curves) {
    const int contd = cur.contd == 1 ? 1 : 0;
    if (kprev == 0) {
      start = &cur;
      if (contd == 1) {
        kprev = 1;
        continue;
      }
    }
    const int a = start->station, b = cur.station;
    if (b < a) return false;
    const bool lone = &cur == start;
    if (b == a && !lone) continue;

    // The range of stations this pair of curves covers, if any.
    bool apply = true;
    int last = a;
    if (b == a) {
      apply = a <= ninc;
    } else {
      apply = a < ninc;
      last = std::min(b, ninc);
    }
    if (apply) {
      for (int j = std::max(a, lo); j <= std::min(last, hi); ++j) {
        const double t = b > a ? static_cast<double>(j - a) / (b - a) : 0.0;
        // Ranges meet at their end stations; each contributes half there.
        const double weight = b > a && (j == a || j == last) ? 0.5 : 1.0;
        visit(j, *start, cur, t, weight);
      }
    }
    if (contd == 1) start = &cur;
    kprev = contd;
  }
  return true;
}

// A curve whose soil force never changes with the deflection is a load, not a support.
bool resists(const PyCurve& c) {
  return std::adjacent_find(c.p.begin(), c.p.end(), std::not_equal_to<>()) != c.p.end();
}

// Something must hold the wall laterally: without a spring, a tieback, a specified
// deflection or a p-y curve that acts on the wall and whose force changes with the
// deflection (curves below the wall, or of a soil without strength, hold nothing), the
// beam is free to move as a whole and its equations have no unique solution.
bool wallIsSupported(const Stations& st, const std::vector<PyCurve>& curves) {
  for (int j = -1; j <= st.ninc + 1; ++j) {
    const int s = slotOf(j);
    if (st.S[s] != 0.0 || st.code[s] == 2 || st.code[s] == 4) return true;
  }
  bool held = false;
  const bool inOrder = forEachCurveStation(curves, st.ninc, [&](int, const PyCurve& start, const PyCurve& cur, double t, double) {
    held = held || (t < 1.0 && resists(start)) || (t > 0.0 && resists(cur));
  });
  // Curves in the wrong order are reported by the iteration itself.
  return held || !inOrder;
}

std::string stationList(const std::vector<int>& stations) {
  std::string text;
  for (std::size_t i = 0; i < stations.size(); ++i) text += (i ? ", " : "") + std::to_string(stations[i]);
  return text;
}

void writeZeroPivotWarning(std::ostream& out, const std::vector<int>& stations) {
  out << "\n     ***** WARNING: NO STIFFNESS, SPRING OR RESTRAINT ACTS ON OR NEXT TO STATION"
      << (stations.size() > 1 ? "S " : " ") << stationList(stations) << " *****\n"
      << "     ***** THE DEFLECTION THERE IS TAKEN AS 0 *****\n";
}

void checkFiniteRow(std::ostream& report, const StationResult& r) {
  const struct {
    double v;
    const char* name;
  } values[] = {{r.deflection, "DEFLECTION"}, {r.slope, "SLOPE"},         {r.moment, "BENDING MOMENT"},
                {r.shear, "SHEAR"},           {r.reaction, "NET REACTION"}, {r.ei, "FLEXURAL RIGIDITY"}};
  for (const auto& v : values)
    if (!std::isfinite(v.v))
      reportNotFinite(report, std::string("THE ") + v.name + " AT STATION " + std::to_string(r.station));
}

int movedStations(std::span<const double> w, std::span<const double> before, int ninc, double tol) {
  int n = 0;
  for (int j = 0; j <= ninc; ++j)
    if (!(std::fabs(w[slotOf(j)] - before[slotOf(j)]) <= tol)) ++n;
  return n;
}

}  // namespace

bool addCurveSprings(const std::vector<PyCurve>& curves, int ninc, std::span<const double> w,
                     int skipInterceptAt, std::span<double> sEff, std::span<double> qEff, bool& offCurve) {
  if (ninc < 0 || ninc > kMaxIncrements) return true;
  const std::size_t need = static_cast<std::size_t>(slotOf(ninc + 1)) + 1;
  if (w.size() < need || sEff.size() < need || qEff.size() < need) return true;
  return forEachCurveStation(curves, ninc, [&](int j, const PyCurve& start, const PyCurve& cur, double t, double weight) {
    const int s = slotOf(j);
    const Linearised la = linearise(start, w[s]);
    const Linearised lb = &cur == &start ? la : linearise(cur, w[s]);
    offCurve = offCurve || la.offCurve || lb.offCurve;
    sEff[s] += weight * (la.slope + t * (lb.slope - la.slope));
    if (j != skipInterceptAt) qEff[s] += weight * (la.intercept + t * (lb.intercept - la.intercept));
  });
}

void updateStiffnessFromCurves(const std::vector<EiCurve>& curves, Stations& st, std::span<const double> w) {
  const int ninc = st.ninc;
  if (ninc < 0 || ninc > kMaxIncrements || st.EI.size() < kStationSlots || w.size() < kStationSlots) return;
  const double invH2 = st.h2 != 0.0 ? 1.0 / st.h2 : 0.0;
  // Station NINC + 3 has no slot when NINC is at its limit; its deflection is 0 anyway.
  auto wAt = [&](int s) { return static_cast<std::size_t>(s) < w.size() ? w[s] : 0.0; };
  for (const EiCurve& c : curves) {
    // The curvature needs both neighbours inside the station tables.
    const int from = std::max(c.from, -2), to = std::min(c.to, ninc + 2);
    for (int j = from; j <= to; ++j) {
      const int s = slotOf(j);
      const double phi = std::fabs(wAt(s - 1) - 2.0 * wAt(s) + wAt(s + 1)) * invH2;
      st.EI[s] = stiffnessAt(c, phi, st.EI[s]);
    }
  }
}

void buildCurveTable(RunState& run) {
  run.curves.clear();
  const Problem& pb = run.problem;
  const ControlRecord& c = pb.control;
  // External curve sets are present only for p-y options up to 2.
  const bool withUser = c.pyOption <= 2 && !pb.userCurves.empty();

  if (c.pyOption == 2) {
    if (withUser) {
      if (pb.userCurves.size() > static_cast<std::size_t>(kMaxCurves)) reportStorageStop(run.out.report);
      checkUserCurveValues(run.out.report, pb.userCurves, run.stations.h);
      writeUserCurveEcho(run.out.report, pb.userCurves, {}, true, run.labels);
    }
    generatePyCurves(run);
    std::ifstream in(kPyScratchFile);
    if (!in) {
      reportStop(run.out.report, std::string("ERROR STOP -- THE P-Y CURVE FILE ") + kPyScratchFile +
                                     " CANNOT BE OPENED");
    }
    readScratchCurves(run, in, withUser ? static_cast<int>(pb.userCurves.size()) : 0);
    return;
  }
  if (withUser) {
    buildUserCurveTable(run);
    return;
  }
  // No curves: the block still carries its head so the reader stays in step.
  writeFreeLine(run.out.plot, {c.units, 0});
}

void applyStiffnessCurvesOnce(RunState& run) {
  checkStiffnessStorage(run.out.report, run.problem.eiCurves);
  if (run.deflection.size() < kStationSlots) run.deflection.resize(kStationSlots, 0.0);
  updateStiffnessFromCurves(run.problem.eiCurves, run.stations, run.deflection);
}

IterationSummary iterate(RunState& run) {
  Stations& st = run.stations;
  const Problem& pb = run.problem;
  std::vector<double>& w = run.deflection;
  if (w.size() < kStationSlots) w.resize(kStationSlots, 0.0);

  std::ostream& notes = run.out.notes;
  notes << "\n\n\n"
        << "     ITERATION MONITOR DATA\n"
        << "     ----------------------\n";

  const int ninc = st.ninc;
  const double tol = pb.wall.tol, dmax = pb.wall.dmax;
  const int skipIntercept = pb.control.earthPressure >= 2 ? st.excavationStation : kNoStation;
  std::vector<double> lastUpdate = w;
  std::vector<double> sEff(kStationSlots, 0.0), qEff(kStationSlots, 0.0);

  if (!wallIsSupported(st, run.curves)) {
    reportStop(run.out.report,
               "ERROR STOP -- THE WALL HAS NO LATERAL SUPPORT: NO SPRING, TIEBACK, P-Y CURVE OR SPECIFIED "
               "DEFLECTION HOLDS IT");
  }

  IterationSummary sum;
  bool settled = false;
  for (int i = 1; i <= kMaxIterations; ++i) {
    sum.iterations = i;
    std::fill(sEff.begin(), sEff.end(), 0.0);
    std::fill(qEff.begin(), qEff.end(), 0.0);
    for (int j = -1; j <= ninc + 1; ++j) {
      sEff[slotOf(j)] = st.S[slotOf(j)];
      qEff[slotOf(j)] = st.Q[slotOf(j)];
    }
    bool offCurve = false;
    if (!addCurveSprings(run.curves, ninc, w, skipIntercept, sEff, qEff, offCurve)) {
      reportStop(run.out.report, "ERROR STOP -- STATIONS NOT IN ORDER");
    }
    const SolveCounts counts = solveBeamColumn(st, sEff, qEff, w, dmax, tol);
    if (!counts.solved) {
      reportStop(run.out.report, "ERROR STOP -- THE STATION TABLES DO NOT HOLD STATIONS -3 TO " +
                                     std::to_string(ninc + 3));
    }
    for (int j = -1; j <= ninc + 1; ++j) {
      if (!std::isfinite(w[slotOf(j)])) {
        reportNotFinite(run.out.report, "IN ITERATION " + std::to_string(i) + " THE DEFLECTION AT STATION " +
                                            std::to_string(j));
      }
    }
    sum.zeroPivot = counts.zeroPivot;
    sum.offCurve = offCurve;
    sum.beyondDmax = counts.beyondDmax;
    sum.notClosed = counts.notClosed;
    notes << monitorLine(i, offCurve, counts.notClosed, w) << '\n';

    if (counts.beyondDmax > 0) {
      settled = true;
      break;
    }
    if (counts.notClosed > 0) continue;
    if (pb.eiCurves.empty()) {
      settled = true;
      break;
    }
    const int moved = movedStations(w, lastUpdate, ninc, tol);
    if (moved == 0) {
      settled = true;
      break;
    }
    lastUpdate = w;
    updateStiffnessFromCurves(pb.eiCurves, st, w);
    // The stiffness changed after the last solution: if no iteration is left to follow
    // it, the deflections are not those of the stiffness now in the tables.
    if (i == kMaxIterations) sum.notClosed = moved;
  }
  if (!settled) sum.iterations = kMaxIterations;
  notes.flush();
  return sum;
}

void writeIterationResults(RunState& run, const IterationSummary& summary) {
  std::ostream& out = run.out.report;
  const UnitLabels& u = run.labels;
  const std::vector<StationResult> rows = stationResults(run.stations, run.deflection);
  for (const StationResult& r : rows)
    if (r.station <= run.stations.ninc + 1) checkFiniteRow(out, r);

  out << "\n\n"
      << "     RESULTS -- ITERATION" << fmt::integer(summary.iterations, 3) << '\n'
      << "     --------------------\n";
  if (summary.offCurve) out << "\n     ***** DEFLECTION OFF Q - W CURVES *****\n";
  if (summary.beyondDmax > 0) {
    out << "\n     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***" << fmt::integer(summary.beyondDmax, 4)
        << "  *** STATIONS *****\n";
  }
  if (summary.notClosed > 0) out << "\n     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****\n";
  if (!summary.zeroPivot.empty()) {
    writeZeroPivotWarning(out, summary.zeroPivot);
    writeZeroPivotWarning(run.out.notes, summary.zeroPivot);
  }

  out << '\n'
      << "   STA I      X         DEFL.       SLOPE" << "      MOMENT      SHEAR    NET REACT/STA    EI " << '\n'
      << fmt::blanks(12) << u.len3 << fmt::blanks(9) << u.len3 << fmt::blanks(19) << u.force3 << '-' << u.len2
      << fmt::blanks(7) << u.force4 << fmt::blanks(8) << u.force4 << fmt::blanks(7) << u.force3 << '-' << u.len2
      << "**" << '2' << '\n'
      << "   ------    ----        ----       -----" << "      ------      ------    ---------    ----------" << '\n';
  run.results.clear();
  for (const StationResult& r : rows) {
    if (r.station < 0) continue;
    if (r.station <= run.stations.ninc) {
      out << "  " << fmt::integer(r.station, 4) << "  " << fmt::exponent(r.depth, 10, 3)
          << fmt::exponent(r.deflection, 12, 3) << fmt::exponent(r.slope, 12, 3) << fmt::exponent(r.moment, 12, 3)
          << fmt::exponent(r.shear, 12, 3) << fmt::exponent(r.reaction, 12, 3) << fmt::exponent(r.ei, 12, 3)
          << '\n';
    }
    run.results.push_back(r);
  }
}

void writeTiebackResults(RunState& run) {
  std::ostream& out = run.out.report;
  const UnitLabels& u = run.labels;
  const Problem& pb = run.problem;
  const bool english = pb.control.units == 1;
  const double wa = pb.wall.wa;

  out << "\n\n"
      << "     TIE BACK RESULTS\n"
      << "     ----------------\n"
      << '\n'
      << "     N     STA         X       " << " HOR.FORCE/STA.     FORCE/STA.     FORCE/TIE BACK" << '\n'
      << fmt::blanks(21) << u.len3 << fmt::blanks(12) << u.force3 << fmt::blanks(15) << u.force3
      << fmt::blanks(15) << u.force3 << '\n'
      << "   -----  -----    --------    " << " --------------   --------------   --------------" << '\n';
  int n = 0;
  for (const TiebackRow& t : pb.tiebacks) {
    ++n;
    const int station = t.station;
    const bool inside = station >= -3 && station <= run.stations.ninc + 3 &&
                        static_cast<std::size_t>(slotOf(station)) < run.deflection.size();
    const double wt = inside ? run.deflection[slotOf(station)] : 0.0;
    const double horizontal = t.prestressLoad - wt * t.stiffness;
    const double along = horizontal / std::cos(t.angle * kTiebackPi / 180.0);
    const double spacing = english ? t.spacing * kInchesPerFoot : t.spacing;
    const double perTie = along * spacing / wa;
    const double depth = english ? t.depth * kInchesPerFoot : t.depth;
    for (double v : {horizontal, along, perTie}) {
      if (!std::isfinite(v)) reportNotFinite(out, "THE FORCE OF TIEBACK " + std::to_string(n));
    }
    out << ' ' << fmt::integer(n, 5) << "  " << fmt::integer(station, 5) << "  " << fmt::exponent(depth, 12, 3)
        << "  " << fmt::exponent(horizontal, 15, 4) << "  " << fmt::exponent(along, 15, 4) << "  "
        << fmt::exponent(perTie, 15, 4) << '\n';
  }
}

}  // namespace tarnel::engine
