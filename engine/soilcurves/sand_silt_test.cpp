// Sand and silt curves against the criterion of Reese, Cox and Koop (1974), evaluated
// here from the paper's wedge and flow-around expressions and its curve construction.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/soilcurves/py_test_support.h"
#include "engine/soilcurves/sand_criterion_reference.h"
#include "engine/soilcurves/sand.h"
#include "engine/soilcurves/silt.h"

namespace tarnel::engine::py {
namespace {

using testing::near;

using engine::testing::reference::deg;
using engine::testing::reference::kA;
using engine::testing::reference::kPi;
using engine::testing::reference::Published;
using engine::testing::reference::sandP;
using engine::testing::reference::sandPublished;
using engine::testing::reference::table;
using engine::testing::reference::wedgeFlowPublished;

struct SandCase {
  double x, b, gamma, phiDeg, k;
};

TEST(Sand, MatchesReeseCoxKoopWedgeFlowAndCurve) {
  const std::vector<SandCase> cases = {
      {12.0, 24.0, 0.036, 30.0, 150.0},   // x/b = 0.5, wedge
      {60.0, 24.0, 0.036, 35.0, 150.0},
      {96.0, 24.0, 0.033, 38.0, 225.0},   // x/b = 4
      {300.0, 24.0, 0.036, 32.0, 90.0},   // x/b > 6, flow around
      {2.0, 0.6, 10.0, 34.0, 24000.0},    // SI
  };
  for (const SandCase& t : cases) {
    const double phi = deg(t.phiDeg);
    const Published s = sandPublished(t.x, t.b, t.gamma, phi, t.k);
    ASSERT_LT(s.yk, s.yu);
    const SandCurve c = sandCurve({t.x, t.b, t.gamma, deg(t.phiDeg) * 3.1416 / kPi, t.k, false});
    EXPECT_TRUE(near(s.ps, c.ps, 1e-4)) << t.x;
    EXPECT_TRUE(near(s.pu, c.pu, 1e-4));
    EXPECT_TRUE(near(s.pm, c.pm, 1e-4));
    EXPECT_TRUE(near(s.yk, c.yk, 1e-3));
    EXPECT_EQ(c.points.y[12], c.ym);
    EXPECT_EQ(c.points.y[15], c.yu);
    EXPECT_TRUE(near(1.2 * s.yu, c.points.y[16]));
    for (int j = 1; j < kPoints; ++j) EXPECT_LT(c.points.y[j - 1], c.points.y[j]);
    for (int j = 0; j < kPoints; ++j)
      EXPECT_TRUE(near(sandP(s, t.k, t.x, c.points.y[j]), c.points.p[j], 1e-3, 1e-9 * s.pu))
          << "x = " << t.x << " point " << j + 1;
  }
}

TEST(Sand, SoftInitialModulusBecomesElasticPlastic) {
  // yk beyond yu: the initial line reaches pu first, so yu moves to pu/(k x).
  const double x = 60.0, b = 24.0, k = 0.5;
  const SandCurve c = sandCurve({x, b, 0.036, deg(33.0), k, false});
  EXPECT_TRUE(near(c.pu / (k * x), c.yu));
  EXPECT_TRUE(near((b / 60.0) * c.yu / (3.0 * b / 80.0), c.ym));
  for (int j = 0; j < kPoints; ++j)
    EXPECT_TRUE(near(std::min(k * x * c.points.y[j], c.pu), c.points.p[j], 1e-9, 1e-12));
}

TEST(Sand, TouchingElementsUseCoulombPassiveResistance) {
  const double x = 48.0, b = 24.0, g = 0.036, phi = deg(32.0), d = phi / 2;
  const double kp = engine::testing::reference::coulombKp(phi, d);
  const SandCurve c = sandCurve({x, b, g, phi, 150.0, true});
  EXPECT_TRUE(near(b * kp * g * x, c.ps, 1e-12));
}

TEST(Sand, FactorTablesAreFlatBeyondSixDiameters) {
  EXPECT_TRUE(near(0.88, sandFactorA(9.0, Precision::Double), 1e-12));
  EXPECT_TRUE(near(0.5, sandFactorB(9.0, Precision::Double), 1e-12));
  EXPECT_TRUE(near(0.88, sandFactorA(9.0, Precision::Single), 1e-7));
  EXPECT_TRUE(near((2.48 + 2.11) / 2, sandFactorA(0.75, Precision::Double), 1e-12));
}

TEST(Sand, MeetingDepthEqualsWedgeAndFlow) {
  const double b = 24.0, phi = deg(34.0);
  const double xt = wedgeFlowMeetingDepth(b, phi, Precision::Double);
  const WedgeFlow w = wedgeAndFlow(xt, b, 0.036, phi, Precision::Double);
  EXPECT_GT(xt, 0.0);
  EXPECT_TRUE(near(w.pst, w.psd, 1e-9));
}

// ---- Silt -----------------------------------------------------------------------

struct SiltPublished {
  double puPhi, puc, pu, pm, yu, ym, m;
};

SiltPublished siltPublished(double x, double b, double g, double phi, double cu) {
  SiltPublished s{};
  double pst, psd;
  wedgeFlowPublished(x, b, g, phi, pst, psd);
  s.puPhi = std::min(pst, psd);
  s.puc = cu * std::min(3 + g * x / cu + 0.5 * x / b, 9.0) * b;
  s.pu = table(kA, x / b) * s.puPhi;
  s.pm = 1.5 * s.puPhi + s.puc;
  s.yu = 3 * b / 80;
  s.ym = b / 60;
  s.m = (s.pu - s.pm) / (s.yu - s.ym);
  return s;
}

TEST(Silt, ThreeCasesFollowTheInitialLine) {
  const double x = 48.0, b = 24.0, g = 0.036, phi = deg(28.0), cu = 0.5;
  const SiltPublished s = siltPublished(x, b, g, phi, cu);
  const double n = s.pm / (std::fabs(s.m) * s.ym);
  const double cp = s.pm / std::pow(s.ym, 1 / n);

  // Case 1, a stiff initial line meeting the parabola.
  {
    const double k = 5000.0;
    const SiltCurve c = siltCurve({x, b, g, phi, cu, k, false});
    EXPECT_EQ(c.kase, 1);
    // K0 = 0.4 is held in single precision: agreement to about 1e-8.
    EXPECT_TRUE(near(s.pu, c.pu, 1e-7));
    EXPECT_TRUE(near(s.pm, c.pm, 1e-7));
    EXPECT_TRUE(near(std::pow(cp / (k * x), n / (n - 1)), c.yk, 1e-6));
    for (int j = 0; j < kPoints; ++j) {
      const double y = c.points.y[j];
      double p = y <= c.yk ? k * x * y : (y < s.ym ? cp * std::pow(y, 1 / n) : (y < s.yu ? s.pm + s.m * (y - s.ym) : s.pu));
      EXPECT_TRUE(near(std::min(p, k * x * y), c.points.p[j], 1e-7, 1e-12)) << "point " << j + 1;
    }
  }
  // Case 3, an initial line so soft that it meets only the constant pu.
  {
    const double k = 0.05;
    const SiltCurve c = siltCurve({x, b, g, phi, cu, k, false});
    EXPECT_EQ(c.kase, 3);
    const double yk3 = s.pu / (k * x);
    EXPECT_TRUE(near(yk3, c.points.y[12], 1e-7));
    EXPECT_TRUE(near(1.2 * yk3, c.points.y[16], 1e-7));
    for (int j = 0; j < kPoints; ++j)
      EXPECT_TRUE(near(std::min(k * x * c.points.y[j], s.pu), c.points.p[j], 1e-7, 1e-12));
  }
}

TEST(Silt, StraightLineCaseWhenTheInitialLineMeetsIt) {
  // Choose k so that the initial line crosses the straight part halfway between ym and yu.
  const double x = 48.0, b = 24.0, g = 0.036, phi = deg(28.0), cu = 0.5;
  const SiltPublished s = siltPublished(x, b, g, phi, cu);
  const double yMid = 0.5 * (s.ym + s.yu);
  const double k = (s.pm + s.m * (yMid - s.ym)) / (yMid * x);
  const SiltCurve c = siltCurve({x, b, g, phi, cu, k, false});
  ASSERT_EQ(c.kase, 2);
  EXPECT_TRUE(near(yMid, c.yk, 1e-6));
  EXPECT_TRUE(near(yMid, c.points.y[8], 1e-6));
  for (int j = 0; j < kPoints; ++j) {
    const double y = c.points.y[j];
    const double p = y <= c.yk ? k * x * y : (y < s.yu ? c.yk * k * x + s.m * (y - c.yk) : s.pu);
    EXPECT_TRUE(near(p, c.points.p[j], 1e-6, 1e-12)) << "point " << j + 1;
  }
}

TEST(Silt, StrongCohesionMakesTheCurveFallToPu) {
  const SiltCurve c = siltCurve({48.0, 24.0, 0.036, deg(20.0), 20.0, 5000.0, false});
  EXPECT_GT(c.pm, c.pu);
  EXPECT_LT(c.slope, 0.0);
  EXPECT_GT(c.points.p[12], c.points.p[15]);  // falls from b/60 to 3b/80
  EXPECT_TRUE(near(c.pu, c.points.p[16], 1e-12));
}

}  // namespace
}  // namespace tarnel::engine::py
