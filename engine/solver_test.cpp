// Checks of the finite-difference beam-column against closed-form beam theory and the
// restraint bookkeeping of the recursion. Stations are built by hand, no data file.
#include "engine/solver.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "engine/testing/walls.h"

namespace tarnel::engine {
namespace {

using testing::fixBase;

int slot(int station) { return Stations::slot(station); }

// A wall of uniform stiffness and the given length.
Stations makeWall(int ninc, double length, double ei) { return testing::uniformWall(ninc, length / ninc, ei); }

struct Solution {
  std::vector<double> w = std::vector<double>(kStationSlots, 0.0);
  SolveCounts counts;
  double at(int station) const { return w[slot(station)]; }
};

Solution solve(const Stations& st, double dmax = 1e30, double tol = 1e-12) {
  Solution s;
  s.counts = solveBeamColumn(st, st.S, st.Q, s.w, dmax, tol);
  return s;
}

double relErr(double got, double want) { return std::fabs(got - want) / std::fabs(want); }

// ---- Closed-form cases: each within 0.2 % at 100 increments, second-order convergence.

struct ClosedForm {
  const char* name;
  double (*numerical)(int ninc);
  double exact;
};

constexpr double kL = 240.0;     // in
constexpr double kEI = 2.9e9;    // lb in^2
constexpr double kP = 1000.0;    // lb
constexpr double kW = 5.0;       // lb/in
constexpr double kK = 300.0;     // lb/in per in of wall (subgrade reaction per unit length)

double cantileverTip(int ninc) {
  Stations st = makeWall(ninc, kL, kEI);
  fixBase(st);
  st.Q[slot(0)] = kP;
  return solve(st).at(0);
}

double simplySupportedMid(int ninc) {
  Stations st = makeWall(ninc, kL, kEI);
  st.code[slot(0)] = 2;
  st.code[slot(ninc)] = 2;
  st.specDeflection = {0.0, 0.0};
  st.specSlope = {0.0, 0.0};
  for (int j = 0; j <= ninc; ++j) st.Q[slot(j)] = kW * st.h * ((j == 0 || j == ninc) ? 0.5 : 1.0);
  return solve(st).at(ninc / 2);
}

// Long enough (beta L = 8) that the free foot does not disturb the head measurably.
double foundationBeta() { return std::pow(kK / (4.0 * kEI), 0.25); }
double foundationLength() { return 8.0 / foundationBeta(); }

double elasticFoundationHead(int ninc) {
  Stations st = makeWall(ninc, foundationLength(), kEI);
  for (int j = 0; j <= ninc; ++j) st.S[slot(j)] = kK * st.h * ((j == 0 || j == ninc) ? 0.5 : 1.0);
  st.Q[slot(0)] = kP;
  return solve(st).at(0);
}

class ClosedFormTest : public ::testing::TestWithParam<ClosedForm> {};

TEST_P(ClosedFormTest, WithinTwoTenthsOfAPercentAndSecondOrder) {
  const ClosedForm& c = GetParam();
  const double e100 = relErr(c.numerical(100), c.exact);
  const double e200 = relErr(c.numerical(200), c.exact);
  EXPECT_LT(e100, 0.002) << c.name;
  ASSERT_GT(e200, 0.0) << c.name;
  EXPECT_NEAR(e100 / e200, 4.0, 0.4) << c.name << ": errors " << e100 << " and " << e200;
}

INSTANTIATE_TEST_SUITE_P(
    Beams, ClosedFormTest,
    ::testing::Values(
        ClosedForm{"cantilever tip load, PL^3/3EI", &cantileverTip, kP * kL * kL * kL / (3.0 * kEI)},
        ClosedForm{"simply supported uniform load, 5wL^4/384EI", &simplySupportedMid,
                   5.0 * kW * std::pow(kL, 4) / (384.0 * kEI)},
        // Hetenyi: semi-infinite beam on a Winkler foundation, load at the free end.
        ClosedForm{"elastic foundation head load, 2 P beta / k", &elasticFoundationHead,
                   2.0 * kP * std::pow(kK / (4.0 * kEI), 0.25) / kK}),
    [](const auto& info) { return std::to_string(info.index); });

// ---- Restraint bookkeeping -----------------------------------------------------------

TEST(Solver, ZeroPivotGivesZeroDeflectionWithoutNaN) {
  // Stiffness only on stations 0..4 of a 10-increment wall: stations 7 to 11 have no
  // stiffness, spring or restraint on or beside them, so their pivots are exactly 0.
  Stations st = makeWall(10, 100.0, 0.0);
  for (int j = 0; j <= 4; ++j) st.EI[slot(j)] = 1e6;
  for (int j = 0; j <= 4; ++j) st.S[slot(j)] = 10.0;
  st.Q[slot(2)] = 50.0;
  st.Q[slot(8)] = 50.0;  // a load where nothing resists it
  const Solution s = solve(st);
  for (int j = -1; j <= 11; ++j) EXPECT_TRUE(std::isfinite(s.at(j))) << j;
  EXPECT_EQ(s.at(8), 0.0);
  EXPECT_EQ(s.at(9), 0.0);
  EXPECT_GT(s.at(2), 0.0);
}

TEST(Solver, SpecifiedDeflectionAtStationFiveIsExact) {
  Stations st = makeWall(20, 200.0, 1e7);
  for (int j = 0; j <= 20; ++j) st.S[slot(j)] = 5.0;
  st.code[slot(5)] = 2;
  st.specDeflection = {0.0123};
  st.specSlope = {0.0};
  st.Q[slot(12)] = -400.0;
  Solution s = solve(st);
  EXPECT_EQ(s.at(5), 0.0123);
  // and again from a different previous deflection (second iteration)
  s.counts = solveBeamColumn(st, st.S, st.Q, s.w, 1e30, 1e-12);
  EXPECT_EQ(s.at(5), 0.0123);
  EXPECT_EQ(s.counts.notClosed, 0);
}

TEST(Solver, DeflectionAtThreeAndSlopeAtEightConsumeTheListsInOrder) {
  Stations st = makeWall(20, 200.0, 1e7);
  for (int j = 0; j <= 20; ++j) st.S[slot(j)] = 2.0;
  st.code[slot(3)] = 2;   // row 1: deflection at 3
  st.code[slot(7)] = 3;   // row 2: slope at 8
  st.code[slot(9)] = 5;
  // Each row fills both lists at its position; a solver that took the wrong entry would
  // see 0.25 as a slope or 0.004 as a deflection.
  st.specDeflection = {0.25, 9.0};
  st.specSlope = {7.0, 0.004};
  const Solution s = solve(st);
  EXPECT_NEAR(s.at(3), 0.25, 1e-12);
  EXPECT_NEAR((s.at(9) - s.at(7)) / (2.0 * st.h), 0.004, 1e-12);
}

TEST(Solver, SlopeAtStationZeroUsesStationsMinusOneAndOne) {
  Stations st = makeWall(20, 200.0, 1e7);
  for (int j = 0; j <= 20; ++j) st.S[slot(j)] = 2.0;
  st.code[slot(-1)] = 3;
  st.code[slot(1)] = 5;
  st.specDeflection = {0.0};
  st.specSlope = {-0.01};
  Solution s = solve(st);
  EXPECT_NEAR((s.at(1) - s.at(-1)) / (2.0 * st.h), -0.01, 1e-12);
  const auto rows = stationResults(st, s.w);
  ASSERT_EQ(rows.front().station, -1);
  EXPECT_NEAR(rows[1].slope, -0.01, 1e-12);
}

TEST(Solver, CountsStationsBeyondDmaxAndNotClosed) {
  Stations st = makeWall(10, 100.0, 1e6);
  fixBase(st);
  st.Q[slot(0)] = 100.0;
  Solution s = solve(st);
  // every station but the fixed base moved away from zero
  EXPECT_EQ(s.counts.notClosed, 10);
  const double tip = s.at(0);
  std::vector<double> w = s.w;
  const SolveCounts again = solveBeamColumn(st, st.S, st.Q, w, tip * 0.5, 1e-9);
  EXPECT_EQ(again.notClosed, 0);
  EXPECT_GT(again.beyondDmax, 0);
  EXPECT_LT(again.beyondDmax, 10);
}

// ---- Results per station ----------------------------------------------------------------

TEST(StationResults, CantileverMomentShearAndReactionFollowStatics) {
  const int n = 40;
  Stations st = makeWall(n, 400.0, 1e8);
  fixBase(st);
  st.Q[slot(0)] = kP;
  Solution s = solve(st);
  const auto rows = stationResults(st, s.w);
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(n + 3));
  // The clamp's reaction couple acts as a force pair on stations n - 1 and n + 1, so the
  // difference quotients next to it do not follow the beam's statics.
  for (const StationResult& r : rows) {
    if (r.station < 1 || r.station > n - 2) continue;
    EXPECT_NEAR(r.moment, kP * r.depth, 1e-6 * kP * 400.0) << r.station;
    EXPECT_NEAR(r.shear, kP, 1e-6 * kP) << r.station;
    EXPECT_NEAR(r.reaction, 0.0, 1e-6 * kP) << r.station;
    EXPECT_EQ(r.ei, 1e8);
  }
  EXPECT_EQ(rows[n + 1].ei, 0.5e8);
  EXPECT_DOUBLE_EQ(rows[1].depth, 0.0);
  EXPECT_DOUBLE_EQ(rows.back().depth, (n + 1) * st.h);
}

TEST(StationResults, CoupleCorrectionsRemoveTheForcePairFromShearAndReaction) {
  const int n = 30;
  const double T = 5000.0;
  Stations st = makeWall(n, 300.0, 1e8);
  fixBase(st);
  st.T[slot(0)] = T;
  st.couples.push_back({0, T / (2.0 * st.h)});
  Solution s = solve(st);
  const auto rows = stationResults(st, s.w);
  for (const StationResult& r : rows) {
    if (r.station > n - 2) continue;
    EXPECT_NEAR(r.shear, 0.0, 1e-6 * T) << r.station;
    EXPECT_NEAR(r.reaction, 0.0, 1e-6 * T) << r.station;
    if (r.station >= 1) {
      EXPECT_NEAR(r.moment, T, 1e-6 * T) << r.station;
    }
  }
}

TEST(StationResults, ExtendsDeflectionsByStraightLines) {
  Stations st = makeWall(10, 100.0, 1e6);
  fixBase(st);
  st.Q[slot(0)] = 10.0;
  Solution s = solve(st);
  stationResults(st, s.w);
  EXPECT_DOUBLE_EQ(s.at(-2), 2.0 * s.at(-1) - s.at(0));
  EXPECT_DOUBLE_EQ(s.at(12), 2.0 * s.at(11) - s.at(10));
}

TEST(Solver, LargestWallStaysInsideTheStationArrays) {
  Stations st = makeWall(kMaxIncrements, 4070.0, 1e8);
  for (int j = 0; j <= kMaxIncrements; ++j) st.S[slot(j)] = 1.0;
  st.Q[slot(0)] = 10.0;
  Solution s = solve(st);
  const auto rows = stationResults(st, s.w);
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(kMaxIncrements + 3));
  for (const auto& r : rows) EXPECT_TRUE(std::isfinite(r.moment));
}

}  // namespace
}  // namespace tarnel::engine

namespace tarnel::engine {
namespace {

// ---- Axial load and rotational restraint: the beam-column terms --------------------
//
// A cantilever fixed at its foot with a lateral load F at its head and an axial force
// along it. Under a compression N the head moves F (tan kL - kL) / (N k), k = sqrt(N/EI)
// (the bending moment F(L - x) amplified by N times the deflection; Timoshenko & Gere,
// Theory of Elastic Stability, 1961, 1.11); under a tension T it moves
// F (kL - tanh kL) / (T k), k = sqrt(T/EI). Both tend to F L^3 / (3 EI) as the force
// vanishes. A rotational restraint R per station spread along the wall resists the
// slope with a moment R w' per station, i.e. R/h per unit length: the same equation as
// an axial tension of R/h.

constexpr double kPi = 3.14159265358979323846;
constexpr double kBuckling = kPi * kPi * kEI / (4.0 * kL * kL);  // cantilever, effective length 2L

double compressedTip(double n) {
  const double k = std::sqrt(n / kEI);
  return kP * (std::tan(k * kL) - k * kL) / (n * k);
}
double tensionedTip(double t) {
  const double k = std::sqrt(t / kEI);
  return kP * (k * kL - std::tanh(k * kL)) / (t * k);
}

// Axial force per station as a concentrated-load row FROM 0 TO NINC distributes it:
// full inside, half at both end stations. `tension` > 0 pulls, < 0 compresses (the
// station table holds the axial load with the sign of a tension).
Stations beamColumn(int ninc, double tension, double rotational) {
  Stations st = makeWall(ninc, kL, kEI);
  fixBase(st);
  for (int j = 0; j <= ninc; ++j) {
    const double share = (j == 0 || j == ninc) ? 0.5 : 1.0;
    st.P[slot(j)] = tension * share;
    st.R[slot(j)] = rotational * st.h * share;
  }
  st.Q[slot(0)] = kP;
  return st;
}

double halfBucklingTip(int ninc) { return solve(beamColumn(ninc, -0.5 * kBuckling, 0.0)).at(0); }
double nearBucklingTip(int ninc) { return solve(beamColumn(ninc, -0.9 * kBuckling, 0.0)).at(0); }
double tensionTip(int ninc) { return solve(beamColumn(ninc, 2.0 * kBuckling, 0.0)).at(0); }
// R/h = 2 Pcr per unit length: the head moves as under a tension of 2 Pcr.
double rotationalTip(int ninc) { return solve(beamColumn(ninc, 0.0, 2.0 * kBuckling)).at(0); }

INSTANTIATE_TEST_SUITE_P(
    BeamColumns, ClosedFormTest,
    ::testing::Values(ClosedForm{"compression at half the buckling load", &halfBucklingTip,
                                 compressedTip(0.5 * kBuckling)},
                      ClosedForm{"compression at 0.9 of the buckling load", &nearBucklingTip,
                                 compressedTip(0.9 * kBuckling)},
                      ClosedForm{"tension of twice the buckling load", &tensionTip, tensionedTip(2.0 * kBuckling)},
                      ClosedForm{"rotational restraint spread along the wall", &rotationalTip,
                                 tensionedTip(2.0 * kBuckling)}),
    [](const auto& info) { return std::to_string(info.index); });

// The amplification itself, independent of the closed form's constants: compression
// makes the head move more than the plain cantilever, tension and rotational restraint
// less, and the compressed wall near buckling by about 1 / (1 - N/Ncr).
TEST(Solver, AxialForceAmplifiesOrStiffensTheCantilever) {
  const double plain = kP * kL * kL * kL / (3.0 * kEI);
  EXPECT_GT(halfBucklingTip(200), 1.8 * plain);
  EXPECT_LT(tensionTip(200), 0.7 * plain);
  EXPECT_LT(rotationalTip(200), 0.7 * plain);
  EXPECT_NEAR(nearBucklingTip(200) / plain, 1.0 / (1.0 - 0.9), 0.15 * 10.0);
}

}  // namespace
}  // namespace tarnel::engine
