// The nonlinear iteration: curve-to-station assignment, bending-stiffness updates,
// closure and its reports, checked against hand-built stations and curves.
#include "engine/iteration.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/curves.h"
#include "engine/solver.h"
#include "engine/testing/engine_run.h"
#include "engine/testing/walls.h"

namespace tarnel::engine {
namespace {

int slot(int station) { return Stations::slot(station); }

PyCurve linearCurve(int station, double k, int contd = 0, double p0 = 0.0) {
  // Soil force on the wall per station: p = p0 - k y, from y = -10 to 10.
  PyCurve c;
  c.station = station;
  c.contd = contd;
  for (double y : {-10.0, -1.0, 0.0, 1.0, 10.0}) {
    c.y.push_back(y);
    c.p.push_back(p0 - k * y);
  }
  return c;
}

struct Springs {
  std::vector<double> s = std::vector<double>(kStationSlots, 0.0);
  std::vector<double> q = std::vector<double>(kStationSlots, 0.0);
  std::vector<double> w = std::vector<double>(kStationSlots, 0.0);
  bool off = false;
  bool add(const std::vector<PyCurve>& curves, int ninc, int skip = kNoStation) {
    return addCurveSprings(curves, ninc, w, skip, s, q, off);
  }
  double S(int station) const { return s[slot(station)]; }
  double Q(int station) const { return q[slot(station)]; }
};

// ---- Curve-to-station assignment -----------------------------------------------------

TEST(CurveSprings, LoneLinearCurveGivesItsStiffnessAtItsStation) {
  Springs sp;
  sp.w[slot(5)] = 0.3;
  ASSERT_TRUE(sp.add({linearCurve(5, 800.0)}, 20));
  EXPECT_DOUBLE_EQ(sp.S(5), 800.0);
  EXPECT_DOUBLE_EQ(sp.Q(5), 0.0);
  EXPECT_FALSE(sp.off);
  for (int j = -1; j <= 21; ++j)
    if (j != 5) {
      EXPECT_EQ(sp.S(j), 0.0) << j;
    }
}

TEST(CurveSprings, ContinuedCurveWithoutAFollowerContributesNothing) {
  Springs sp;
  ASSERT_TRUE(sp.add({linearCurve(5, 800.0, 1)}, 20));
  EXPECT_EQ(std::accumulate(sp.s.begin(), sp.s.end(), 0.0), 0.0);
}

TEST(CurveSprings, ChainInterpolatesBetweenStationsWithHalvesAtTheEnds) {
  const double kA = 100.0, kB = 300.0, kC = 700.0;
  Springs two;
  ASSERT_TRUE(two.add({linearCurve(10, kA, 1), linearCurve(20, kB, 1)}, 40));
  EXPECT_DOUBLE_EQ(two.S(10), kA / 2);
  for (int j = 11; j <= 19; ++j) EXPECT_DOUBLE_EQ(two.S(j), kA + (kB - kA) * (j - 10) / 10.0) << j;
  EXPECT_DOUBLE_EQ(two.S(20), kB / 2);
  EXPECT_EQ(two.S(9), 0.0);
  EXPECT_EQ(two.S(21), 0.0);

  Springs three;
  ASSERT_TRUE(three.add({linearCurve(10, kA, 1), linearCurve(20, kB, 1), linearCurve(30, kC, 1)}, 40));
  EXPECT_DOUBLE_EQ(three.S(10), kA / 2);
  EXPECT_DOUBLE_EQ(three.S(20), kB);
  EXPECT_DOUBLE_EQ(three.S(25), (kB + kC) / 2);
  EXPECT_DOUBLE_EQ(three.S(30), kC / 2);
}

TEST(CurveSprings, ChainEndIsClippedAtTheFootOfTheWall) {
  Springs sp;
  ASSERT_TRUE(sp.add({linearCurve(30, 100.0, 1), linearCurve(50, 300.0, 1)}, 40));
  // interpolated over 30..50, applied over 30..40, halves at 30 and at the clipped end
  EXPECT_DOUBLE_EQ(sp.S(30), 50.0);
  EXPECT_DOUBLE_EQ(sp.S(35), 150.0);
  EXPECT_DOUBLE_EQ(sp.S(40), 100.0);
  EXPECT_EQ(sp.S(41), 0.0);
  // a chain starting at the foot of the wall is skipped, a lone curve there is not
  Springs chainAtFoot;
  ASSERT_TRUE(chainAtFoot.add({linearCurve(40, 100.0, 1), linearCurve(45, 300.0, 1)}, 40));
  EXPECT_EQ(chainAtFoot.S(40), 0.0);
  Springs loneAtFoot;
  ASSERT_TRUE(loneAtFoot.add({linearCurve(40, 9.0), linearCurve(41, 9.0)}, 40));
  EXPECT_DOUBLE_EQ(loneAtFoot.S(40), 9.0);
  EXPECT_EQ(loneAtFoot.S(41), 0.0);
}

TEST(CurveSprings, SecondCurveAtTheChainStartIsSkipped) {
  Springs sp;
  ASSERT_TRUE(sp.add({linearCurve(10, 100.0, 1), linearCurve(10, 5000.0, 1), linearCurve(20, 300.0, 1)}, 40));
  EXPECT_DOUBLE_EQ(sp.S(10), 50.0);
  EXPECT_DOUBLE_EQ(sp.S(15), 200.0);
}

TEST(CurveSprings, StationsNotInOrderAreRefused) {
  Springs sp;
  EXPECT_FALSE(sp.add({linearCurve(20, 100.0, 1), linearCurve(10, 300.0, 1)}, 40));
}

TEST(CurveSprings, InterceptSkippedAtTheGivenStationOnly) {
  Springs sp;
  ASSERT_TRUE(sp.add({linearCurve(10, 100.0, 1, 50.0), linearCurve(12, 100.0, 1, 50.0)}, 40, 11));
  EXPECT_DOUBLE_EQ(sp.Q(10), 25.0);
  EXPECT_EQ(sp.Q(11), 0.0);
  EXPECT_DOUBLE_EQ(sp.S(11), 100.0);
  EXPECT_DOUBLE_EQ(sp.Q(12), 25.0);
}

TEST(CurveSprings, StationsOutsideTheWallNeverWriteOutsideTheTables) {
  Springs sp;
  ASSERT_TRUE(sp.add({linearCurve(-50, 100.0, 1), linearCurve(5, 100.0, 0), linearCurve(1000, 7.0),
                      linearCurve(-3, 7.0), linearCurve(-2000, 7.0)},
                     20));
  for (int j = -1; j <= 4; ++j) EXPECT_DOUBLE_EQ(sp.S(j), 100.0) << j;
  EXPECT_DOUBLE_EQ(sp.S(5), 50.0);
  EXPECT_EQ(sp.S(-2), 0.0);
  EXPECT_EQ(sp.S(-3), 0.0);
}

TEST(CurveSprings, DeflectionBeyondACurveSetsTheOffCurveFlag) {
  Springs sp;
  sp.w[slot(3)] = 11.0;
  ASSERT_TRUE(sp.add({linearCurve(3, 10.0)}, 20));
  EXPECT_TRUE(sp.off);
}

// ---- Bending stiffness from moment-EI curves ------------------------------------------

EiCurve eiCurve(int from, int to, std::vector<double> m, std::vector<double> ei) {
  EiCurve c;
  c.from = from;
  c.to = to;
  c.moment = std::move(m);
  c.ei = std::move(ei);
  return c;
}

// Deflections of constant curvature phi (a parabola).
std::vector<double> parabola(double phi, double h) {
  std::vector<double> w(kStationSlots, 0.0);
  for (int j = -3; j <= kStationSlots - 5; ++j) w[slot(j)] = 0.5 * phi * (j * h) * (j * h);
  return w;
}

TEST(StiffnessCurves, PointOfTheCurveWhereMomentEqualsCurvatureTimesStiffness) {
  // Cracking at 1e5: constant 1e8 up to it, then softening to 5e7 at 2e5.
  const std::vector<EiCurve> curves = {eiCurve(0, 10, {0, 1e5, 2e5}, {1e8, 1e8, 5e7})};
  struct Case {
    double phi, ei;
  };
  // On the softening segment M = 1e5 + 1e5 t and EI = 1e8 - 5e7 t meet M = phi EI at
  // t = (phi 1e8 - 1e5) / (1e5 + 5e7 phi).
  for (const Case& c : {Case{0.0, 1e8}, Case{5e-4, 1e8}, Case{2e-3, 7.5e7}, Case{1.5e-3, 1e8 - 5e7 * (0.5e5 / 1.75e5)}}) {
    Stations st = testing::uniformWall(10, 12.0, 3e8);
    updateStiffnessFromCurves(curves, st, parabola(c.phi, 12.0));
    for (int j = 0; j <= 10; ++j) EXPECT_NEAR(st.EI[slot(j)], c.ei, 1e-6 * c.ei) << "phi " << c.phi << " station " << j;
    EXPECT_EQ(st.EI[slot(11)], 0.0);
    // and the moment at that stiffness lies on the curve
    const double m = c.phi * st.EI[slot(5)];
    if (m >= 1e5) {
      EXPECT_NEAR(m, 1e5 + (1e8 - st.EI[slot(5)]) / 5e7 * 1e5, 1e-6 * m);
    }
  }
}

TEST(StiffnessCurves, IdenticalConsecutivePointsGiveTheirValueNotNaN) {
  Stations st = testing::uniformWall(10, 12.0, 3e8);
  const std::vector<EiCurve> startTwice = {eiCurve(0, 4, {1e5, 1e5, 2e5}, {1e8, 1e8, 5e7})};
  updateStiffnessFromCurves(startTwice, st, parabola(0.0, 12.0));
  for (int j = 0; j <= 4; ++j) EXPECT_EQ(st.EI[slot(j)], 1e8) << j;
  const std::vector<EiCurve> endTwice = {eiCurve(5, 10, {0, 1e5, 1e5}, {1e8, 6e7, 6e7})};
  updateStiffnessFromCurves(endTwice, st, parabola(1.0, 12.0));
  for (int j = 5; j <= 10; ++j) EXPECT_EQ(st.EI[slot(j)], 6e7) << j;
}

TEST(StiffnessCurves, RangeBeyondTheTablesIsClipped) {
  Stations st = testing::uniformWall(10, 12.0, 3e8);
  const std::vector<EiCurve> curves = {eiCurve(-100, 1000, {0, 1e5}, {2e8, 2e8})};
  updateStiffnessFromCurves(curves, st, parabola(1e-4, 12.0));
  EXPECT_EQ(st.EI[slot(-2)], 2e8);
  EXPECT_EQ(st.EI[slot(12)], 2e8);
  EXPECT_EQ(st.EI[slot(-3)], 0.0);
  EXPECT_EQ(st.EI[slot(13)], 0.0);
}

TEST(StiffnessCurves, LargestWallStaysInsideTheStationArrays) {
  Stations st = testing::uniformWall(kMaxIncrements, 1.0, 3e8);
  const std::vector<EiCurve> curves = {eiCurve(-2, kMaxIncrements + 2, {0, 1e5}, {2e8, 2e8})};
  std::vector<double> w(kStationSlots, 1e-3);
  updateStiffnessFromCurves(curves, st, w);
  EXPECT_EQ(st.EI[slot(kMaxIncrements + 2)], 2e8);
}

// ---- A run with its output files -------------------------------------------------------

struct RunFiles : testing::OpenRun {
  RunFiles(int ninc, double h, double ei) {
    run.problem.control.units = 1;
    run.labels = UnitLabels{" IN", " LBS", "IN", "LBS"};
    run.problem.wall.ninc = ninc;
    run.problem.wall.h = h;
    run.problem.wall.dmax = 100.0;
    run.problem.wall.tol = 1e-9;
    run.stations = testing::uniformWall(ninc, h, ei);
  }
  double w(int station) const { return run.deflection[slot(station)]; }
};

// Elastic-perfectly-plastic curve: p = -k y up to |p| = pu, per station.
PyCurve plasticCurve(int station, double k, double pu) {
  PyCurve c;
  c.station = station;
  c.contd = 1;
  const double yu = pu / k;
  for (double y : {-100.0 * yu, -yu, 0.0, yu, 100.0 * yu}) {
    c.y.push_back(y);
    c.p.push_back(std::clamp(-k * y, -pu, pu));
  }
  return c;
}

double curveForce(const PyCurve& c, double y) {
  for (std::size_t i = 1; i < c.y.size(); ++i)
    if (y <= c.y[i]) return c.p[i - 1] + (c.p[i] - c.p[i - 1]) * (y - c.y[i - 1]) / (c.y[i] - c.y[i - 1]);
  return c.p.back();
}

TEST(Iterate, LinearCurvesGiveTheSpringSolutionAndCloseInTwoIterations) {
  const int n = 40;
  const double h = 6.0, k = 150.0;  // k per unit length of wall
  RunFiles f(n, h, 2e9);
  for (int j = 0; j <= n; ++j) f.run.curves.push_back(linearCurve(j, k * h * ((j == 0 || j == n) ? 0.5 : 1.0)));
  f.run.stations.Q[slot(0)] = 1000.0;
  const IterationSummary s = iterate(f.run);
  EXPECT_EQ(s.iterations, 2);
  EXPECT_TRUE(s.closed());
  EXPECT_FALSE(s.offCurve);

  Stations springs = f.run.stations;
  for (int j = 0; j <= n; ++j) springs.S[slot(j)] = k * h * ((j == 0 || j == n) ? 0.5 : 1.0);
  std::vector<double> w(kStationSlots, 0.0);
  solveBeamColumn(springs, springs.S, springs.Q, w, 1e30, 0.0);
  for (int j = -1; j <= n + 1; ++j) EXPECT_NEAR(f.w(j), w[slot(j)], 1e-12) << j;

  const auto notes = f.notes();
  ASSERT_EQ(notes.size(), 7u);
  EXPECT_EQ(notes[0], "");
  EXPECT_EQ(notes[3], "     ITERATION MONITOR DATA");
  EXPECT_EQ(notes[4], "     ----------------------");
  EXPECT_EQ(notes[5].substr(0, 30), "      1       NO         41   ");
  EXPECT_EQ(notes[6].substr(0, 30), "      2       NO          0   ");
  EXPECT_EQ(notes[6].size(), 29u + 5u * 10u);
}

TEST(Iterate, NonlinearCurvesCloseInEquilibriumWithTheLoad) {
  // A free wall pushed at its head into soil that yields near the top.
  const int n = 60;
  const double h = 6.0, P = 20000.0;
  RunFiles f(n, h, 5e9);
  f.run.problem.wall.tol = 1e-7;
  for (int j = 0; j <= n; ++j) f.run.curves.push_back(plasticCurve(j, 400.0 * h, 30.0 * h * (1.0 + j)));
  f.run.stations.Q[slot(0)] = P;
  const IterationSummary s = iterate(f.run);
  ASSERT_TRUE(s.closed()) << s.iterations;
  EXPECT_GT(s.iterations, 2);
  EXPECT_LT(s.iterations, kMaxIterations);
  // The head stations have reached their ultimate resistance.
  EXPECT_GT(f.w(0) * 400.0 * h, 30.0 * h);

  // Soil forces from the curves at the final deflections (halves at the chain ends)
  // balance the head load.
  double sum = P;
  for (int j = 0; j <= n; ++j) sum += curveForce(f.run.curves[j], f.w(j)) * ((j == 0 || j == n) ? 0.5 : 1.0);
  EXPECT_NEAR(sum, 0.0, 1e-3 * P);
}

TEST(Iterate, DeflectionBeyondDmaxAtTheFirstIterationStopsAndIsReported) {
  RunFiles f(20, 12.0, 1e8);
  f.run.problem.wall.dmax = 0.01;
  for (int j = 0; j <= 20; ++j) f.run.stations.S[slot(j)] = 1.0;
  f.run.stations.Q[slot(0)] = 1000.0;
  const IterationSummary s = iterate(f.run);
  EXPECT_EQ(s.iterations, 1);
  EXPECT_GT(s.beyondDmax, 0);
  writeIterationResults(f.run, s);
  EXPECT_TRUE(f.reportHas("     RESULTS -- ITERATION  1"));
  std::ostringstream line;
  line << "     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***" << std::string(s.beyondDmax < 10 ? 3 : 2, ' ')
       << s.beyondDmax << "  *** STATIONS *****";
  EXPECT_TRUE(f.reportHas(line.str()));
}

TEST(Iterate, RunningOutOfIterationsReportsTheSolutionNotClosed) {
  RunFiles f(10, 12.0, 1e8);
  f.run.problem.wall.tol = -1.0;  // no change is ever small enough
  for (int j = 0; j <= 10; ++j) f.run.stations.S[slot(j)] = 10.0;
  f.run.stations.Q[slot(0)] = 10.0;
  const IterationSummary s = iterate(f.run);
  EXPECT_EQ(s.iterations, kMaxIterations);
  EXPECT_FALSE(s.closed());
  writeIterationResults(f.run, s);
  EXPECT_TRUE(f.reportHas("     RESULTS -- ITERATION100"));
  EXPECT_TRUE(f.reportHas("     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****"));
  EXPECT_EQ(f.notes().size(), 5u + kMaxIterations);
}

TEST(Iterate, OffCurveMonitorAndReport) {
  RunFiles f(10, 12.0, 1e8);
  for (int j = 0; j <= 10; ++j) {
    PyCurve c;
    c.station = j;
    c.y = {-1.0, 1.0};
    c.p = {100.0, -100.0};
    f.run.curves.push_back(c);
  }
  f.run.stations.Q[slot(0)] = 10.0;
  const IterationSummary s = iterate(f.run);
  EXPECT_TRUE(s.offCurve);
  EXPECT_EQ(f.notes()[5].substr(0, 23), "      1       YES      ");
  writeIterationResults(f.run, s);
  EXPECT_TRUE(f.reportHas("     ***** DEFLECTION OFF Q - W CURVES *****"));
}

TEST(Iterate, StationsNotInOrderStopTheRun) {
  RunFiles f(40, 12.0, 1e8);
  f.run.curves = {linearCurve(20, 100.0, 1), linearCurve(10, 100.0, 1)};
  EXPECT_THROW(iterate(f.run), InputStop);
  EXPECT_TRUE(f.reportHas("     ERROR STOP -- STATIONS NOT IN ORDER"));
}

TEST(Iterate, StiffnessCurvesAreFollowedToAFixedPoint) {
  // Cantilever from a clamped foot with a softening moment-EI curve along the wall.
  const int n = 20;
  const double h = 12.0;
  RunFiles f(n, h, 1e9);
  Stations& st = f.run.stations;
  testing::fixBase(st);
  st.Q[slot(0)] = 1000.0;
  f.run.problem.wall.tol = 1e-10;
  f.run.problem.eiCurves = {eiCurve(1, n - 1, {0, 5e4, 3e5}, {1e9, 1e9, 2e8})};
  applyStiffnessCurvesOnce(f.run);  // zero deflections: initial stiffness
  EXPECT_EQ(st.EI[slot(5)], 1e9);
  const IterationSummary s = iterate(f.run);
  ASSERT_TRUE(s.closed());
  EXPECT_GT(s.iterations, 3);
  // The final stiffness is the curve's value at the final curvature, and stations with
  // moments beyond the cracking moment have softened.
  Stations again = st;
  updateStiffnessFromCurves(f.run.problem.eiCurves, again, f.run.deflection);
  for (int j = 1; j <= n - 1; ++j) EXPECT_NEAR(again.EI[slot(j)], st.EI[slot(j)], 1e-3 * st.EI[slot(j)]) << j;
  EXPECT_LT(st.EI[slot(n - 2)], 1e9);
  EXPECT_EQ(st.EI[slot(2)], 1e9);
}

TEST(Iterate, StiffnessCurveStorageLimits) {
  {
    RunFiles f(10, 12.0, 1e8);
    for (int i = 0; i <= kMaxEiCurves; ++i) f.run.problem.eiCurves.push_back(eiCurve(0, 10, {0, 1}, {1, 1}));
    EXPECT_THROW(applyStiffnessCurvesOnce(f.run), InputStop);
    EXPECT_TRUE(f.reportHas("     TOO MUCH DATA FOR AVAILABLE STORAGE"));
  }
  {
    RunFiles f(10, 12.0, 1e8);
    std::vector<double> m(kMaxEiPoints + 1), ei(kMaxEiPoints + 1, 1e8);
    std::iota(m.begin(), m.end(), 0.0);
    f.run.problem.eiCurves = {eiCurve(0, 10, m, ei)};
    EXPECT_THROW(applyStiffnessCurvesOnce(f.run), InputStop);
    EXPECT_TRUE(f.reportHas("     TOO MUCH DATA FOR AVAILABLE STORAGE"));
  }
}

// ---- Reports -----------------------------------------------------------------------------

TEST(IterationReport, ResultsTableLayoutAndKeptRows) {
  const int n = 4;
  RunFiles f(n, 12.0, 1e8);
  Stations& st = f.run.stations;
  testing::fixBase(st);
  st.Q[slot(0)] = 100.0;
  const IterationSummary s = iterate(f.run);
  writeIterationResults(f.run, s);
  const std::vector<std::string> expected = {
      "",
      "",
      "     RESULTS -- ITERATION  2",
      "     --------------------",
      "",
      "   STA I      X         DEFL.       SLOPE      MOMENT      SHEAR    NET REACT/STA    EI ",
      "             IN          IN                   LBS-IN        LBS         LBS       LBS-IN**2",
      "   ------    ----        ----       -----      ------      ------    ---------    ----------",
  };
  const auto report = f.report();
  ASSERT_EQ(report.size(), expected.size() + n + 1);
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(report[i], expected[i]) << i;
  // station 1: depth 12, moment P h = 1200, EI 1e8
  const std::string row1 = report[expected.size() + 1];
  EXPECT_EQ(row1.substr(0, 18), "     1   0.120E+02");
  EXPECT_EQ(row1.substr(42, 12), "   0.120E+04");
  EXPECT_EQ(row1.substr(78, 12), "   0.100E+09");
  EXPECT_EQ(row1.size(), 18u + 6u * 12u);

  ASSERT_EQ(f.run.results.size(), static_cast<std::size_t>(n + 2));
  EXPECT_EQ(f.run.results.front().station, 0);
  EXPECT_EQ(f.run.results.back().station, n + 1);
  EXPECT_DOUBLE_EQ(f.run.results.back().depth, (n + 1) * 12.0);
}

TEST(IterationReport, TiebackForces) {
  RunFiles f(20, 12.0, 1e8);
  f.run.problem.wall.wa = 24.0;
  for (int j = 0; j <= 20; ++j) f.run.stations.S[slot(j)] = 50.0;
  TiebackRow t;
  t.depth = 5.0;       // ft
  t.angle = 30.0;
  t.spacing = 8.0;     // ft
  t.station = 5;
  t.stiffness = 4000.0;
  t.prestressLoad = -900.0;
  f.run.problem.tiebacks = {t};
  f.run.stations.S[slot(5)] += t.stiffness;
  f.run.stations.Q[slot(5)] += t.prestressLoad;
  f.run.stations.Q[slot(0)] = 2000.0;
  iterate(f.run);
  writeTiebackResults(f.run);

  const double w5 = f.w(5);
  const double horizontal = t.prestressLoad - w5 * t.stiffness;
  const double along = horizontal / std::cos(30.0 * 3.1416 / 180.0);
  const double perTie = along * 8.0 * 12.0 / 24.0;
  const auto report = f.report();
  ASSERT_EQ(report.size(), 9u);
  EXPECT_EQ(report[2], "     TIE BACK RESULTS");
  EXPECT_EQ(report[3], "     ----------------");
  EXPECT_EQ(report[5], "     N     STA         X        HOR.FORCE/STA.     FORCE/STA.     FORCE/TIE BACK");
  EXPECT_EQ(report[6], "                      IN            LBS" + std::string(15, ' ') + "LBS" + std::string(15, ' ') + "LBS");
  EXPECT_EQ(report[7], "   -----  -----    --------     --------------   --------------   --------------");
  const std::string row = report[8];
  EXPECT_EQ(row.substr(0, 27), "     1      5     0.600E+02");
  EXPECT_NEAR(std::stod(row.substr(27, 17)), horizontal, 1e-3 * std::fabs(horizontal));
  EXPECT_NEAR(std::stod(row.substr(44, 17)), along, 1e-3 * std::fabs(along));
  EXPECT_NEAR(std::stod(row.substr(61, 17)), perTie, 1e-3 * std::fabs(perTie));
}

// ---- Stations nothing holds, and a wall nothing holds --------------------------------

TEST(Iterate, StationsWithoutStiffnessAreNamedInTheReportAndTheRunNotes) {
  // Stiffness and springs only on stations 0 to 4 of a 10-increment wall: stations 6 to
  // 11 have nothing on or beside them and get deflection 0, except station 9, whose
  // deflection is specified and which therefore is not named.
  RunFiles f(10, 12.0, 0.0);
  for (int j = 0; j <= 4; ++j) {
    f.run.stations.EI[slot(j)] = 1e8;
    f.run.stations.S[slot(j)] = 10.0;
  }
  f.run.stations.Q[slot(2)] = 50.0;
  f.run.stations.Q[slot(7)] = 50.0;  // a load nothing resists
  f.run.stations.code[slot(9)] = 2;
  f.run.stations.specDeflection = {0.5};
  f.run.stations.specSlope = {0.0};
  const IterationSummary s = iterate(f.run);
  EXPECT_EQ(s.zeroPivot, (std::vector<int>{6, 7, 8, 10, 11}));
  EXPECT_EQ(f.w(7), 0.0);
  EXPECT_EQ(f.w(9), 0.5);
  writeIterationResults(f.run, s);
  const std::string warning =
      "     ***** WARNING: NO STIFFNESS, SPRING OR RESTRAINT ACTS ON OR NEXT TO STATIONS 6, 7, 8, 10, 11 *****";
  const std::string consequence = "     ***** THE DEFLECTION THERE IS TAKEN AS 0 *****";
  EXPECT_TRUE(f.reportHas(warning));
  EXPECT_TRUE(f.reportHas(consequence));
  const auto notes = f.notes();
  EXPECT_NE(std::find(notes.begin(), notes.end(), warning), notes.end());
  EXPECT_NE(std::find(notes.begin(), notes.end(), consequence), notes.end());
}

TEST(Iterate, WallHeldEverywhereGetsNoStationWarning) {
  RunFiles f(10, 12.0, 1e8);
  for (int j = 0; j <= 10; ++j) f.run.stations.S[slot(j)] = 10.0;
  f.run.stations.Q[slot(0)] = 10.0;
  const IterationSummary s = iterate(f.run);
  EXPECT_TRUE(s.zeroPivot.empty());
  writeIterationResults(f.run, s);
  for (const std::string& line : f.report()) EXPECT_EQ(line.find("WARNING"), std::string::npos) << line;
}

TEST(Iterate, StationTablesTooSmallForTheWallStopTheRunInsteadOfClosing) {
  RunFiles f(10, 12.0, 1e8);
  for (int j = 0; j <= 10; ++j) f.run.stations.S[slot(j)] = 10.0;
  f.run.stations.Q[slot(0)] = 10.0;
  f.run.stations.EI.resize(static_cast<std::size_t>(slot(10)));  // short of stations 10 to 12
  EXPECT_THROW(iterate(f.run), InputStop);
  EXPECT_TRUE(f.reportHas("     ERROR STOP -- THE STATION TABLES DO NOT HOLD STATIONS -3 TO 13"));
  for (const std::string& line : f.notes()) EXPECT_EQ(line.find("      1       NO"), std::string::npos) << line;
}

struct SupportCase {
  const char* name;
  std::vector<PyCurve> curves;
  bool spring;      // a lateral spring at station 5
  bool specified;   // a specified deflection at station 5
  bool held;
};

PyCurve flatCurve(int station) {
  PyCurve c = linearCurve(station, 0.0);
  return c;
}

class WallSupport : public ::testing::TestWithParam<SupportCase> {};

TEST_P(WallSupport, StopsWithAClearMessageOnlyWhenNothingHoldsTheWall) {
  const SupportCase& c = GetParam();
  RunFiles f(10, 12.0, 1e8);
  f.run.curves = c.curves;
  if (c.spring) f.run.stations.S[slot(5)] = 10.0;
  if (c.specified) {
    f.run.stations.code[slot(5)] = 2;
    f.run.stations.specDeflection = {0.0};
    f.run.stations.specSlope = {0.0};
  }
  f.run.stations.Q[slot(0)] = 10.0;
  const std::string message =
      "     ERROR STOP -- THE WALL HAS NO LATERAL SUPPORT: NO SPRING, TIEBACK, P-Y CURVE OR SPECIFIED DEFLECTION "
      "HOLDS IT";
  if (c.held) {
    EXPECT_NO_THROW(iterate(f.run)) << c.name;
    EXPECT_FALSE(f.reportHas(message)) << c.name;
  } else {
    EXPECT_THROW(iterate(f.run), InputStop) << c.name;
    EXPECT_TRUE(f.reportHas(message)) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WallSupport,
    ::testing::Values(SupportCase{"Nothing", {}, false, false, false},
                      SupportCase{"CurvesBelowTheWall", {linearCurve(12, 100.0), linearCurve(14, 100.0)}, false, false, false},
                      SupportCase{"CurvesWithoutResistance", {flatCurve(3), flatCurve(7)}, false, false, false},
                      SupportCase{"ContinuedCurveWithoutAFollower", {linearCurve(5, 100.0, 1)}, false, false, false},
                      SupportCase{"OneResistingCurve", {flatCurve(3), linearCurve(7, 100.0)}, false, false, true},
                      SupportCase{"ChainOfResistingCurves", {linearCurve(2, 100.0, 1), linearCurve(8, 100.0, 1)}, false, false, true},
                      SupportCase{"Spring", {}, true, false, true},
                      SupportCase{"SpecifiedDeflection", {}, false, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnel::engine
