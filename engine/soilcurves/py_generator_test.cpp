// The whole generator on small profiles: layered soil and its equivalent depth, the
// scratch file the iteration reads back, the report sections and the stops.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "engine/soilcurves/py_generator.h"
#include "engine/soilcurves/py_test_support.h"
#include "engine/soilcurves/stiff_clay_free_water.h"

namespace tarnel::engine::py {
namespace {

using testing::near;
using GeneratorTest = testing::PyRunTest;

const double kPi = std::acos(-1.0);

std::vector<std::string> words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> w;
  for (std::string s; in >> s;) w.push_back(s);
  return w;
}

// Published sand ultimate resistance A ps (Reese, Cox and Koop 1974), x/b tables linear.
double sandPu(double x, double b, double g, double phi) {
  const double K0 = 0.4, alpha = phi / 2, beta = kPi / 4 + phi / 2;
  const double Ka = std::pow(std::tan(kPi / 4 - phi / 2), 2);
  const double pst = g * x *
                     (K0 * x * std::tan(phi) * std::sin(beta) / (std::tan(beta - phi) * std::cos(alpha)) +
                      std::tan(beta) / std::tan(beta - phi) * (b + x * std::tan(beta) * std::tan(alpha)) +
                      K0 * x * std::tan(beta) * (std::tan(phi) * std::sin(beta) - std::tan(alpha)) - Ka * b);
  const double psd = Ka * b * g * x * (std::pow(std::tan(beta), 8) - 1) +
                     K0 * b * g * x * std::tan(phi) * std::pow(std::tan(beta), 4);
  const double xs[] = {0, 0.5, 1, 1.5, 2, 2.5, 3, 4, 5, 6};
  const double A[] = {2.83, 2.48, 2.11, 1.76, 1.48, 1.23, 1.06, 0.90, 0.88, 0.88};
  const double r = x / b;
  double a = A[9];
  for (int i = 1; i < 10; ++i)
    if (r <= xs[i]) {
      a = A[i - 1] + (A[i] - A[i - 1]) * (r - xs[i - 1]) / (xs[i] - xs[i - 1]);
      break;
    }
  return a * std::min(pst, psd);
}

TEST_F(GeneratorTest, SoftClayOverSandGetsTheEquivalentDepthOfEqualResistance) {
  setProblem(1, 120.0, 48.0, 24.0, 1000.0);
  addLayer(1, 240.0, {0.06, 3.0, 0.0, 0.02, 100.0, 0.0}, {0.06, 3.0, 0.0, 0.02, 100.0, 0.0});
  addLayer(4, 480.0, {0.07, 0.0, 32.0, 0.0, 150.0, 0.0}, {0.07, 0.0, 32.0, 0.0, 150.0, 0.0});
  const PySoilModel m = generateCurves(run);
  ASSERT_EQ(m.layers.size(), 2u);

  // Upper layer: Matlock's pu at each curve, rectangles between the curve depths.
  const double b = 24.0, cu = 3.0, g = 0.06;
  double upper = 0.0;
  for (int c = 1; c < 5; ++c) {
    const double x = m.curveX[c] - 120.0;
    upper += (m.curveX[c] - m.curveX[c - 1]) * std::min(3 + g * x / cu + 0.5 * x / b, 9.0) * cu * b;
  }
  EXPECT_TRUE(near(upper, m.layers[0].runningIntegral, 1e-9));

  // Lower layer, in its own soil at its first curve: integral of A ps from 0 to xeq.
  const double xeq = m.layers[1].equivalentDepth;
  ASSERT_GT(xeq, 0.0);
  const double gAvg = (120.0 * 0.06 + 0.1 * 0.07) / 120.1;
  const double phi = 32.0 * kPi / 180.0;
  const int n = 20000;
  double area = 0.0;  // Simpson
  for (int i = 0; i <= n; ++i) {
    const double w = (i == 0 || i == n) ? 1 : (i % 2 ? 4 : 2);
    area += w * sandPu(xeq * i / n, b, gAvg, phi);
  }
  area *= xeq / n / 3.0;
  EXPECT_TRUE(near(upper, area, 2e-3)) << "xeq = " << xeq;

  // The lower layer's curves start at that depth on the excavation side, H deeper behind.
  EXPECT_TRUE(near(0.1 + xeq, formulaDepth(m, 5, Side::Excavation), 1e-12));
  EXPECT_TRUE(near(120.0 + 0.1 + xeq, formulaDepth(m, 5, Side::Backfill), 1e-12));
  EXPECT_NE(report().find("EQUIVALENT DEPTH OF LAYER  2"), std::string::npos);
}

TEST_F(GeneratorTest, ClayOverClayClosedFormMatchesTheIntegral) {
  setProblem(2, 3.0, 1.2, 0.6, 100.0);
  addLayer(1, 6.0, {17.0, 20.0, 0.0, 0.02, 0.0, 0.0}, {17.0, 20.0, 0.0, 0.02, 0.0, 0.0});
  addLayer(1, 10.0, {18.0, 30.0, 0.0, 0.01, 0.0, 0.0}, {18.0, 30.0, 0.0, 0.01, 0.0, 0.0});
  const PySoilModel m = generateCurves(run);
  const double xeq = m.layers[1].equivalentDepth;
  const CurveSoil& s = m.curveSoil[5];
  // Integral of Matlock's pu in the lower clay, with its own strength 30 and width 0.6.
  const int n = 20000;
  double area = 0.0;
  for (int i = 0; i < n; ++i) {
    const double x = xeq * (i + 0.5) / n;
    area += std::min(3 + s.gammaAvg * x / 30.0 + 0.5 * x / 0.6, 9.0) * 30.0 * 0.6 * xeq / n;
  }
  EXPECT_TRUE(near(m.layers[0].runningIntegral, area, 1e-6));
}

TEST_F(GeneratorTest, ScratchFileHoldsUserCurvesThenThirtyFourRecordsPerCurve) {
  setProblem(1, 120.0, 48.0, 24.0, 1000.0);
  addLayer(4, 480.0, {0.07, 0.0, 32.0, 0.0, 150.0, 0.0}, {0.07, 0.0, 34.0, 0.0, 150.0, 0.0});
  UserPyCurve u;
  u.station = 12;
  u.nPoints = 2;
  u.pMult = 2.0;
  u.yMult = 0.5;
  u.y = {0.0, 1.0};
  u.p = {0.0, -300.0};
  run.problem.userCurves.push_back(u);
  generatePyCurves(run);

  const std::vector<std::string> lines = scratchLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(words(lines[0]), std::vector<std::string>{"6"});
  EXPECT_EQ(words(lines[1]), (std::vector<std::string>{"12", "2"}));
  EXPECT_EQ(words(lines[3]), (std::vector<std::string>{"2", "-600", "0.5"}));
  std::size_t at = 4;
  for (int c = 0; c < 5; ++c) {
    ASSERT_LT(at, lines.size());
    const std::vector<std::string> head = words(lines[at]);
    ASSERT_EQ(head.size(), 2u);
    EXPECT_EQ(head[1], "34");
    for (int r = 1; r <= 34; ++r) {
      const std::string& l = lines[at + r];
      ASSERT_EQ(l.size(), 27u) << l;  // I5, 1X, E10.3, 1X, E10.3
      const std::vector<std::string> w = words(l);
      ASSERT_EQ(w.size(), 3u);
      EXPECT_EQ(std::stoi(w[0]), (r - 1) % 17 + 1);
      EXPECT_EQ(l.find_first_of("*naif"), std::string::npos) << l;
    }
    at += 35;
  }
  EXPECT_EQ(at, lines.size());
}

TEST_F(GeneratorTest, ActiveShiftMovesBothSidesOfASandCurve) {
  setProblem(1, 120.0, 48.0, 24.0, 1000.0);
  run.problem.control.earthPressure = 2;
  run.pressure.valid = true;
  run.pressure.gammaW = 0.036;
  run.pressure.sigvpExcavation = 8.0;
  addLayer(4, 480.0, {0.07, 0.0, 30.0, 0.0, 150.0, 0.0}, {0.07, 0.0, 30.0, 0.0, 150.0, 0.0});
  generatePyCurves(run);
  const std::vector<std::string> lines = scratchLines();
  const double phi = 30.0 * 3.1416 / 180.0;
  const double shift = 24.0 * 8.0 * std::pow(std::tan(3.1416 / 4 - phi / 2), 2);
  // First curve: record 1 (excavation side, y = 0) and record 18 (backfill side, y = 0).
  EXPECT_TRUE(near(-shift, std::stod(words(lines[2])[1]), 2e-3));
  EXPECT_TRUE(near(shift, std::stod(words(lines[2 + 17])[1]), 2e-3));
}

TEST_F(GeneratorTest, ReportSections) {
  setProblem(1, 120.0, 24.0, 24.0, 1000.0);
  run.problem.pyModifiers = {{120.0, 0.8, 1.0}, {480.0, 0.6, 1.2}};
  addLayer(3, 300.0, {0.07, 10.0, 0.0, 0.005, 0.0, 0.0}, {0.07, 12.0, 0.0, 0.004, 0.0, 0.0});
  addLayer(7, 480.0, {0.09, 800.0, 0.0, 5.0e-4, 1.0e5, 60.0}, {0.09, 800.0, 0.0, 5.0e-4, 1.0e5, 60.0});
  generatePyCurves(run);
  const std::string r = report();
  for (const char* text : {"*        SOIL LAYERS AND STRENGTH DATA           *",
                           "X AT THE SURFACE OF EXCAVATION SIDE     =     120.00 IN", "2 LAYER(S) OF SOIL",
                           "THE SOIL IS A STIFF CLAY ABOVE THE WATER TABLE", "THE LAYER IS WEAK ROCK",
                           "DISTRIBUTION OF EFFECTIVE UNIT WEIGHT WITH DEPTH", " 4 POINTS",
                           "DISTRIBUTION OF STRENGTH PARAMETERS WITH DEPTH",
                           "REDUCTION FACTORS FOR CLOSELY-SPACED WALL ELEMENTS",
                           "      DEPTH     P-FACTOR     Y-FACTOR        ", "P-Y CURVES DATA",
                           "         AT THE EXCAVATION SIDE", "         AT THE BACKFILL SIDE", " P-Multiplier = "})
    EXPECT_NE(r.find(text), std::string::npos) << text;
  EXPECT_NE(r.find("            120.00      0.80        1.00"), std::string::npos);
  EXPECT_FALSE(engine::testing::hasAsteriskField(r));
  for (const std::string& l : scratchLines()) EXPECT_EQ(l.find('*'), std::string::npos) << l;
  EXPECT_EQ(err.str().rfind(" READ SOIL DATA....", 0), 0u);
}

TEST_F(GeneratorTest, GroupReductionAndSmallDeflectionWarningInTheReport) {
  setProblem(1, 120.0, 48.0, 24.0, 1000.0);  // WA = 2 WP
  addLayer(1, 240.0, {0.06, 3.0, 0.0, 1.0e-14, 100.0, 0.0}, {0.06, 3.0, 0.0, 1.0e-14, 100.0, 0.0});
  generatePyCurves(run);
  const std::string r = report();
  EXPECT_NE(r.find("                      P-Multiplier =  0.783E+00 Y-Multiplier =  0.100E+01"), std::string::npos);
  EXPECT_NE(r.find("                             **** WARNING ****\n"
                   "     DEFLECTION IS LESS THAN 1.0E-14.  THE PROGRAM\n"
                   "     USED A SOIL MODULUS OF "),
            std::string::npos);
  EXPECT_NE(r.find("Y, IN"), std::string::npos);
}

// Every kind below a soft clay, for spaced and for touching elements: finite equivalent
// depths and no undefined number anywhere in the outputs.
TEST_F(GeneratorTest, EveryKindBelowClayGivesFiniteCurves) {
  const std::array<double, 6> params[] = {
      {0.06, 4.0, 0.0, 0.02, 100.0, 0.0},     {0.07, 8.0, 0.0, 0.005, 500.0, 0.0},
      {0.07, 10.0, 0.0, 0.005, 500.0, 0.0},   {0.07, 0.0, 34.0, 0.0, 150.0, 0.0},
      {0.07, 1.0, 28.0, 0.01, 150.0, 0.0},    {0.09, 2000.0, 0.0, 0.0, 0.0, 0.0},
      {0.09, 800.0, 0.0, 5.0e-4, 1.0e5, 50.0}};
  for (double wa : {48.0, 24.0}) {
    for (int kind = 1; kind <= 7; ++kind) {
      SCOPED_TRACE("kind " + std::to_string(kind) + ", WA " + std::to_string(wa));
      run.problem.layers.clear();
      setProblem(1, 120.0, wa, 24.0, 150.0);
      addLayer(1, 240.0, {0.06, 3.0, 0.0, 0.02, 100.0, 0.0}, {0.06, 3.0, 0.0, 0.02, 100.0, 0.0});
      addLayer(kind, 480.0, params[kind - 1], params[kind - 1]);
      const PySoilModel m = generateCurves(run);
      EXPECT_TRUE(std::isfinite(m.layers[1].equivalentDepth));
      if (kind <= 5) { EXPECT_GT(m.layers[1].equivalentDepth, 0.0); }
      for (const std::string& l : scratchLines()) EXPECT_EQ(l.find('*'), std::string::npos) << l;
      for (const auto& curve : m.curveSoil) EXPECT_TRUE(std::isfinite(curve.cu) && std::isfinite(curve.gammaAvg));
    }
  }
  EXPECT_FALSE(engine::testing::hasAsteriskField(report()));
}

struct StopCase {
  const char* name;
  int kind;
  std::array<double, 6> params;
  double bottom;
  const char* message;
};

class GeneratorStops : public testing::PyRunTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(GeneratorStops, StopsWithItsMessage) {
  const StopCase& t = GetParam();
  setProblem(1, 120.0, 48.0, 24.0, 1000.0);
  addLayer(4, 240.0, {0.07, 0.0, 30.0, 0.0, 150.0, 0.0}, {0.07, 0.0, 30.0, 0.0, 150.0, 0.0});
  addLayer(t.kind, t.bottom, t.params, t.params);
  EXPECT_THROW(generatePyCurves(run), GeneratorStop);
  EXPECT_NE(err.str().find(t.message), std::string::npos) << err.str();
  EXPECT_NE(report().find(t.message), std::string::npos);
  EXPECT_FALSE(engine::testing::hasAsteriskField(report()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GeneratorStops,
    ::testing::Values(
        StopCase{"SiltWithoutFriction", 5, {0.07, 1.0, 0.0, 0.01, 150.0, 0.0}, 480.0,
                 "WARNING-------The Angle of the slope can not"},
        StopCase{"WeakRockWithoutStrength", 7, {0.09, 0.0, 0.0, 5.0e-4, 1.0e5, 50.0}, 480.0,
                 "THE COHESIVE STRENGTH IS 0 FOR ROCK ACCORING TO THE INPUT"},
        StopCase{"StrongRockWithoutStrength", 6, {0.09, 0.0, 0.0, 0.0, 0.0, 0.0}, 480.0,
                 "THE COHESIVE STRENGTH IS 0 FOR ROCK ACCORING TO THE INPUT"},
        StopCase{"WeakRockWithRqdAboveHundred", 7, {0.09, 800.0, 0.0, 5.0e-4, 1.0e5, 160.0}, 480.0,
                 "IT MUST LIE BETWEEN 0 AND 100"},
        StopCase{"WeakRockWithoutModulus", 7, {0.09, 800.0, 0.0, 5.0e-4, 0.0, 50.0}, 480.0,
                 "THE ROCK MASS MODULUS IS 0 FOR WEAK ROCK ACCORDING TO THE INPUT"},
        StopCase{"ClayWithoutE50", 2, {0.07, 5.0, 0.0, 0.0, 500.0, 0.0}, 480.0,
                 "THE STRAIN FACTOR E50 IS 0 FOR CLAY ACCORDING TO THE INPUT"},
        StopCase{"SandWithoutModulus", 4, {0.07, 0.0, 30.0, 0.0, 0.0, 0.0}, 480.0,
                 "THE P-Y MODULUS K IS 0 FOR SAND ACCORDING TO THE INPUT"},
        // A last layer thinner than the curve offset puts its first curve below the
        // friction-angle distribution.
        StopCase{"DepthBeyondThePhiCurve", 4, {0.07, 0.0, 30.0, 0.0, 150.0, 0.0}, 240.05,
                 "THE INPUT PHI CURVE"}),
    [](const ::testing::TestParamInfo<StopCase>& i) { return std::string(i.param.name); });

TEST_F(GeneratorTest, NoLayerBelowTheExcavationGivesNoCurves) {
  setProblem(1, 120.0, 48.0, 24.0, 1000.0);
  addLayer(1, 100.0, {0.06, 3.0, 0.0, 0.02, 100.0, 0.0}, {0.06, 3.0, 0.0, 0.02, 100.0, 0.0});
  generatePyCurves(run);
  EXPECT_EQ(words(scratchLines().at(0)), std::vector<std::string>{"0"});
  EXPECT_NE(report().find("0 LAYER(S) OF SOIL"), std::string::npos);
}

}  // namespace
}  // namespace tarnel::engine::py

namespace tarnel::engine::py {
namespace {

// A width of 1E306 (the value that once crashed the stiff-clay As look-up with a NaN
// ratio) overflows the curves: the generator stops with a framed message naming the
// point, the curve, the depth and the layer, and writes nothing undefined.
TEST_F(GeneratorTest, OverflowingCurvesStopWithAFramedMessage) {
  setProblem(2, 4.0, 1.0, 1.0e306, 2.5);
  addLayer(4, 6.0, {18, 0.0, 32, 0.0, 24400, 0}, {18, 0.0, 32, 0.0, 24400, 0});
  addLayer(2, 12.0, {19, 50, 0.0, 0.007, 135000, 0}, {19, 60, 0.0, 0.005, 135000, 0});
  EXPECT_THROW(generatePyCurves(run), GeneratorStop);
  const std::string r = report();
  EXPECT_NE(r.find("       --------------------WARNING----------------------\n"), std::string::npos) << r;
  EXPECT_NE(r.find("IS NOT A FINITE NUMBER\n"), std::string::npos) << r;
  EXPECT_NE(r.find(" IN LAYER "), std::string::npos) << r;
  EXPECT_NE(r.find("       THE INPUT VALUES ARE TOO LARGE OR TOO SMALL FOR THE ANALYSIS.\n"), std::string::npos);
  EXPECT_NE(err.str().find("IS NOT A FINITE NUMBER"), std::string::npos);
  // (The width itself, 1E306, is too wide for the fixed fields of the soil tables and
  // prints as asterisks there, as any value too wide for its field does.)
  for (const std::string& l : scratchLines()) EXPECT_EQ(l.find('*'), std::string::npos) << l;
}

TEST(StiffClayAs, NotANumberChoosesNoTableRow) {
  EXPECT_TRUE(std::isnan(stiffClayAs(std::nan(""))));
  EXPECT_EQ(stiffClayAs(-1.0), 0.0);
  EXPECT_NEAR(stiffClayAs(2.5), 0.505, 1e-7);
}

}  // namespace
}  // namespace tarnel::engine::py
