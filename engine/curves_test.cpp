// The p-y curve table: linearisation of one curve, the external curves with their echo
// and plot block, and the curves read back from the p-y scratch file.
#include "engine/curves.h"

#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/fixed_format.h"
#include "engine/iteration.h"
#include "engine/testing/engine_run.h"

namespace tarnel::engine {
namespace {

PyCurve curveOf(std::vector<double> y, std::vector<double> p, int station = 0, int contd = 0) {
  PyCurve c;
  c.station = station;
  c.contd = contd;
  c.y = std::move(y);
  c.p = std::move(p);
  return c;
}

// ---- Linearisation ---------------------------------------------------------------

TEST(Linearise, StraightLineThroughOriginGivesItsStiffness) {
  const double k = 250.0;
  const PyCurve c = curveOf({-2, -1, 0, 1, 2}, {2 * k, k, 0, -k, -2 * k});
  for (double y : {-1.5, -0.2, 0.0, 0.7, 2.0}) {
    const Linearised l = linearise(c, y);
    EXPECT_DOUBLE_EQ(l.slope, k) << y;
    EXPECT_DOUBLE_EQ(l.intercept, 0.0) << y;
    EXPECT_FALSE(l.offCurve) << y;
  }
}

TEST(Linearise, SecantOfTheSegmentHoldingTheDeflection) {
  // Soil force on the wall falls from 0 to -300 over y = 0..1, then stays at -300.
  const PyCurve c = curveOf({0, 1, 3}, {0, -300, -300});
  const Linearised inFirst = linearise(c, 0.4);
  EXPECT_DOUBLE_EQ(inFirst.slope, 300.0);
  EXPECT_DOUBLE_EQ(inFirst.intercept, 0.0);
  const Linearised inSecond = linearise(c, 2.0);
  EXPECT_DOUBLE_EQ(inSecond.slope, 0.0);
  EXPECT_DOUBLE_EQ(inSecond.intercept, -300.0);
  // force = intercept - slope * y reproduces the curve
  EXPECT_DOUBLE_EQ(inFirst.intercept - inFirst.slope * 0.4, -120.0);
}

struct OffCurveCase {
  const char* name;
  double y;
  bool off;
  double slope, intercept;
};

class LineariseEnds : public ::testing::TestWithParam<OffCurveCase> {};

TEST_P(LineariseEnds, FlagsDeflectionsOutsideTheCurveAndExtendsTheEndSegments) {
  const PyCurve c = curveOf({-1, 0, 1, 2}, {100, 0, -100, -150});
  const OffCurveCase& k = GetParam();
  const Linearised l = linearise(c, k.y);
  EXPECT_EQ(l.offCurve, k.off) << k.name;
  EXPECT_DOUBLE_EQ(l.slope, k.slope) << k.name;
  EXPECT_DOUBLE_EQ(l.intercept, k.intercept) << k.name;
}

INSTANTIATE_TEST_SUITE_P(
    Curve, LineariseEnds,
    ::testing::Values(OffCurveCase{"exactly the last point", 2.0, false, 50.0, -50.0},
                      OffCurveCase{"just beyond the last point", 2.0000001, true, 50.0, -50.0},
                      OffCurveCase{"exactly the first point", -1.0, false, 100.0, 0.0},
                      OffCurveCase{"before the first point", -3.0, true, 100.0, 0.0}),
    [](const auto& info) { return std::to_string(info.index); });

TEST(Linearise, TwoPointCurveIsAlwaysOffCurve) {
  const PyCurve c = curveOf({-1, 1}, {40, -40});
  for (double y : {-0.5, 0.0, 0.5}) {
    const Linearised l = linearise(c, y);
    EXPECT_TRUE(l.offCurve);
    EXPECT_DOUBLE_EQ(l.slope, 40.0);
  }
}

TEST(Linearise, EqualDeflectionsInASegmentGiveNoSpringAndNoLoad) {
  const PyCurve c = curveOf({0, 1, 1, 2}, {0, -10, -20, -25});
  const Linearised l = linearise(c, 1.0);  // first point with y <= Y is the second one
  EXPECT_DOUBLE_EQ(l.slope, 10.0);
  const PyCurve flat = curveOf({1, 1, 1}, {0, -10, -20});
  const Linearised z = linearise(flat, 1.0);
  EXPECT_EQ(z.slope, 0.0);
  EXPECT_EQ(z.intercept, 0.0);
}

TEST(Linearise, CurveWithoutASegmentContributesNothing) {
  const Linearised one = linearise(curveOf({0.5}, {-3}), 0.5);
  EXPECT_TRUE(one.offCurve);
  EXPECT_EQ(one.slope, 0.0);
  EXPECT_EQ(one.intercept, 0.0);
  EXPECT_TRUE(linearise(PyCurve{}, 0.0).offCurve);
}

// ---- A run with its output files in a temporary folder ------------------------------

struct RunFiles : testing::OpenRun {
  explicit RunFiles(int units = 1, double h = 12.0, int ninc = 40) {
    run.problem.control.units = units;
    if (units == 1) run.labels = UnitLabels{" IN", " LBS", "IN", "LBS"};
    run.stations.reset();
    run.stations.ninc = ninc;
    run.stations.h = h;
    run.stations.h2 = h * h;
    run.stations.h3 = h * h * h;
    run.problem.wall.ninc = ninc;
    run.problem.wall.h = h;
  }
};

UserPyCurve userCurve(int station, double pm, double ym, std::vector<double> y, std::vector<double> p) {
  UserPyCurve c;
  c.station = station;
  c.nPoints = static_cast<int>(y.size());
  c.pMult = pm;
  c.yMult = ym;
  c.y = std::move(y);
  c.p = std::move(p);
  return c;
}

// ---- External curves (p-y options 0 and 1) ---------------------------------------------

TEST(UserCurves, EchoPlotBlockAndTable) {
  RunFiles f;
  f.run.problem.control.pyOption = 1;
  f.run.problem.wall.freeHeight = 60.0;  // stations up to 4 lie above the excavation level
  f.run.problem.userCurves = {userCurve(3, 1.0, 2.0, {0.0, 0.5, 1.0}, {0.0, -100.0, -150.0}),
                              userCurve(10, 0.5, 1.0, {-1.0, 1.0}, {200.0, -200.0}),
                              userCurve(20, 1.0, 1.0, {-1.0, 1.0}, {300.0, -300.0})};
  buildCurveTable(f.run);

  ASSERT_EQ(f.run.curves.size(), 3u);
  EXPECT_EQ(f.run.curves[0].contd, 0);
  EXPECT_EQ(f.run.curves[1].contd, 1);
  EXPECT_EQ(f.run.curves[2].contd, 1);
  // y times the y-multiplier; p times the p-multiplier and h
  EXPECT_EQ(f.run.curves[0].y, (std::vector<double>{0.0, 1.0, 2.0}));
  EXPECT_EQ(f.run.curves[0].p, (std::vector<double>{0.0, -1200.0, -1800.0}));
  EXPECT_EQ(f.run.curves[1].p, (std::vector<double>{1200.0, -1200.0}));

  const std::vector<std::string> expected = {
      "",
      "",
      "      **************************************************",
      "      *     INPUTTED  SOIL RESISTANCE (P-Y) CURVES     *",
      "      **************************************************",
      "",
      "",
      "     FROM TO CONTD      P-MULTIPLIER  Y-MULTIPLIER'      POINTS     ",
      "",
      "",
      "        3   3  0          0.100E+01     0.200E+01           3",
      "",
      "",
      "                      Y                   P    ",
      "                     IN                 LBS/IN",
      "                  ---------            --------",
      "                  0.000E+00           0.000E+00",
      "                  0.100E+01          -0.100E+03",
      "                  0.200E+01          -0.150E+03",
      "",
      "     FROM TO CONTD      P-MULTIPLIER  Y-MULTIPLIER'      POINTS     ",
      "",
      "",
      "       10      1          0.500E+00     0.100E+01            2",
  };
  const std::vector<std::string> report = f.report();
  ASSERT_GE(report.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(report[i], expected[i]) << "line " << i;
  // the third curve continues a chain: TO column only
  EXPECT_NE(std::find(report.begin(), report.end(),
                      "           20  1          0.100E+01     0.100E+01            2"),
            report.end());
  // points are echoed with both multipliers
  EXPECT_NE(std::find(report.begin(), report.end(), "                 -0.100E+01           0.100E+03"),
            report.end());

  const std::vector<std::string> plot = f.plot();
  const std::vector<std::string> plotExpected = {" 1 3", " 3 3", " 0 0", " 1 -100", " 2 -150",
                                                 " 10 2", " -1 100", " 1 -100", " 20 2", " -1 300", " 1 -300"};
  EXPECT_EQ(plot, plotExpected);
}

TEST(UserCurves, NoCurvesWriteTheHeadWithZero) {
  for (int option : {0, 1, 3}) {
    RunFiles f(2, 0.5);
    f.run.problem.control.pyOption = option;
    buildCurveTable(f.run);
    EXPECT_TRUE(f.run.curves.empty());
    EXPECT_EQ(f.plot(), (std::vector<std::string>{" 2 0"})) << option;
  }
}

TEST(UserCurves, CurvesOfOptionsAboveTwoAreIgnored) {
  RunFiles f;
  f.run.problem.control.pyOption = 3;
  f.run.problem.userCurves = {userCurve(3, 1, 1, {0, 1, 2}, {0, -1, -2})};
  buildCurveTable(f.run);
  EXPECT_TRUE(f.run.curves.empty());
  EXPECT_EQ(f.plot(), (std::vector<std::string>{" 1 0"}));
}

TEST(UserCurves, StorageLimitsStopTheRunCleanly) {
  {
    RunFiles f;
    f.run.problem.control.pyOption = 1;
    for (int i = 0; i < kMaxCurves + 1; ++i) f.run.problem.userCurves.push_back(userCurve(i % 40, 1, 1, {0, 1, 2}, {0, -1, -2}));
    EXPECT_THROW(buildCurveTable(f.run), InputStop);
    const auto report = f.report();
    EXPECT_NE(std::find(report.begin(), report.end(), "     TOO MUCH DATA FOR AVAILABLE STORAGE"), report.end());
    EXPECT_TRUE(f.plot().empty());
  }
  {
    RunFiles f;
    f.run.problem.control.pyOption = 0;
    std::vector<double> y, p;
    for (int i = 0; i < kMaxCurvePoints + 1; ++i) {
      y.push_back(i);
      p.push_back(-i);
    }
    f.run.problem.userCurves = {userCurve(5, 1, 1, y, p)};
    EXPECT_THROW(buildCurveTable(f.run), InputStop);
    const auto report = f.report();
    EXPECT_NE(std::find(report.begin(), report.end(), "     TOO MUCH DATA FOR AVAILABLE STORAGE"), report.end());
  }
}

// ---- Curves read back from the p-y scratch file ----------------------------------------

// A generated curve as the generator writes it: depth and 34, then 17 excavation-side
// records (record 1 at the origin is not used) and 17 backfill-side records, each
// "index p y" with magnitudes and y increasing.
std::string generatedCurve(double depth) {
  std::string s = fmt::free(depth) + " 34\n";
  for (int j = 1; j <= 17; ++j)
    s += fmt::integer(j, 5) + " " + fmt::exponent(100.0 * (j - 1), 10, 3) + " " +
         fmt::exponent(0.1 * (j - 1), 10, 3) + "\n";
  for (int j = 18; j <= 34; ++j)
    s += fmt::integer(j, 5) + " " + fmt::exponent(50.0 * (j - 18) + 5.0, 10, 3) + " " +
         fmt::exponent(0.2 * (j - 18), 10, 3) + "\n";
  return s;
}

TEST(ScratchCurves, GeneratedCurvesAreJoinedIntoThirtyThreePoints) {
  RunFiles f(1, 12.0, 40);
  std::istringstream in("2\n" + generatedCurve(121.0) + generatedCurve(245.5));
  readScratchCurves(f.run, in, 0);

  ASSERT_EQ(f.run.curves.size(), 2u);
  const PyCurve& c = f.run.curves[0];
  EXPECT_EQ(c.station, 10);                 // 121 / 12 = 10.08
  EXPECT_EQ(f.run.curves[1].station, 20);   // 245.5 / 12 = 20.46
  EXPECT_EQ(c.contd, 1);
  ASSERT_EQ(c.y.size(), 33u);
  ASSERT_EQ(c.p.size(), 33u);
  // points 1..17: backfill records 34 down to 18, deflection negated, force kept (times h)
  EXPECT_DOUBLE_EQ(c.y[0], -3.2);
  EXPECT_DOUBLE_EQ(c.p[0], 805.0 * 12.0);
  EXPECT_DOUBLE_EQ(c.y[16], 0.0);
  EXPECT_DOUBLE_EQ(c.p[16], 5.0 * 12.0);
  // points 18..33: excavation records 2 to 17, force negated
  EXPECT_DOUBLE_EQ(c.y[17], 0.1);
  EXPECT_DOUBLE_EQ(c.p[17], -100.0 * 12.0);
  EXPECT_DOUBLE_EQ(c.y[32], 1.6);
  EXPECT_DOUBLE_EQ(c.p[32], -1600.0 * 12.0);
  for (std::size_t i = 1; i < c.y.size(); ++i) EXPECT_LT(c.y[i - 1], c.y[i]);

  const std::vector<std::string> plot = f.plot();
  ASSERT_EQ(plot.size(), 1u + 2u * 34u);
  EXPECT_EQ(plot[0], " 1 2");
  EXPECT_EQ(plot[1], "     121.00    33");
  EXPECT_EQ(plot[2], " -3.2 805");      // per unit length, before h
  EXPECT_EQ(plot[18], " 0 5");
  EXPECT_EQ(plot[19], " 0.1 -100");
  EXPECT_EQ(plot[35], "     245.50    33");
  EXPECT_EQ(f.err.str(), " 2\n");
}

TEST(ScratchCurves, ExternalCurvesComeFirstAndStandAlone) {
  RunFiles f(2, 0.5, 40);
  std::istringstream in("2\n7 3\n1 20 -0.01\n2 0 0\n3 -20 0.01\n" + generatedCurve(4.9));
  readScratchCurves(f.run, in, 1);
  ASSERT_EQ(f.run.curves.size(), 2u);
  EXPECT_EQ(f.run.curves[0].station, 7);
  EXPECT_EQ(f.run.curves[0].contd, 0);
  EXPECT_EQ(f.run.curves[0].y, (std::vector<double>{-0.01, 0.0, 0.01}));
  EXPECT_EQ(f.run.curves[0].p, (std::vector<double>{10.0, 0.0, -10.0}));
  EXPECT_EQ(f.run.curves[1].station, 10);
  EXPECT_EQ(f.run.curves[1].contd, 1);
  const std::vector<std::string> plot = f.plot();
  ASSERT_GE(plot.size(), 6u);
  EXPECT_EQ(plot[0], " 2 2");
  EXPECT_EQ(plot[1], " 7 3");
  EXPECT_EQ(plot[2], " -0.01 20");
  EXPECT_EQ(plot[5], " 10 33");  // in the combined mode a generated curve shows its station
}

TEST(ScratchCurves, NoCurvesLeaveTheTableEmpty) {
  RunFiles f;
  std::istringstream in("0\n");
  readScratchCurves(f.run, in, 0);
  EXPECT_TRUE(f.run.curves.empty());
  EXPECT_EQ(f.plot(), (std::vector<std::string>{" 1 0"}));
  EXPECT_EQ(f.report(), (std::vector<std::string>{"", std::string(20, ' ')}));
}

TEST(ScratchCurves, MoreThanSixtyThreeCurvesStopTheRun) {
  RunFiles f;
  std::string text = "64\n";
  for (int i = 0; i < 64; ++i) text += generatedCurve(12.0 * i);
  std::istringstream in(text);
  EXPECT_THROW(readScratchCurves(f.run, in, 0), InputStop);
  EXPECT_TRUE(f.run.curves.empty());
  const auto report = f.report();
  EXPECT_NE(std::find(report.begin(), report.end(), "     TOO MUCH DATA FOR AVAILABLE STORAGE"), report.end());
}

TEST(ScratchCurves, MalformedFileStopsTheRunWithAMessage) {
  for (const std::string& text : {std::string("1\n120 34\n1 0 0\n"), std::string("1\n120 12\n"),
                                 std::string("x\n"), std::string("")}) {
    RunFiles f;
    std::istringstream in(text);
    EXPECT_THROW(readScratchCurves(f.run, in, 0), InputStop) << text;
    const auto report = f.report();
    ASSERT_FALSE(report.empty());
    EXPECT_NE(report.back().find("ERROR STOP -- THE P-Y CURVE FILE SOILDATA CANNOT BE READ"), std::string::npos)
        << report.back();
  }
}

}  // namespace
}  // namespace tarnel::engine
