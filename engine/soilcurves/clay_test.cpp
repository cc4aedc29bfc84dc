// The three clay criteria against the published curves, evaluated here from the papers'
// formulas: Matlock (1970) soft clay, Reese, Cox and Koop (1975) stiff clay with free
// water, Welch and Reese (1972) stiff clay without free water.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/soilcurves/py_test_support.h"
#include "engine/soilcurves/soft_clay.h"
#include "engine/soilcurves/stiff_clay_free_water.h"
#include "engine/soilcurves/stiff_clay_no_free_water.h"

namespace tarnel::engine::py {
namespace {

using testing::near;

struct ClayCase {
  double x, b, cu, ca, gamma, e50, k;
};

// Depths above and below the transition to the flow-around value, in English units
// (in, lb/in^2, lb/in^3) and in SI units (m, kPa, kN/m^3).
const std::vector<ClayCase> kCases = {
    {12.0, 18.0, 5.0, 4.8, 0.035, 0.02, 500.0},    // shallow, wedge governs
    {60.0, 18.0, 5.0, 4.5, 0.035, 0.01, 500.0},
    {400.0, 18.0, 5.0, 4.9, 0.035, 0.005, 1000.0},  // deep, flow around (F = 9)
    {1.5, 0.6, 40.0, 38.0, 9.0, 0.007, 270000.0},   // SI
    {9.0, 0.6, 40.0, 40.0, 9.0, 0.004, 5.0e5},
};

// ---- Matlock (1970) -------------------------------------------------------------

TEST(SoftClay, MatchesMatlockStaticCurve) {
  for (const ClayCase& t : kCases) {
    const SoftClayCurve c = softClayCurve({t.x, t.b, t.cu, t.gamma, t.e50, false});
    const double np = std::min(3.0 + t.gamma * t.x / t.cu + 0.5 * t.x / t.b, 9.0);
    const double pu = np * t.cu * t.b;
    const double y50 = 2.5 * t.e50 * t.b;
    EXPECT_TRUE(near(pu, c.pu));
    EXPECT_TRUE(near(y50, c.y50));
    // Matlock's points reach 9.6 y50; the curve is p/pu = 0.5 (y/y50)^(1/3) up to 8 y50.
    const double yOverY50[kPoints] = {0, 0.002, 0.02, 0.06, 0.16, 0.32, 0.48, 0.8, 1.2,
                                      1.8, 2.4, 3.2, 4.0, 5.2, 6.4, 8.0, 9.6};
    for (int j = 0; j < kPoints; ++j) {
      const double y = yOverY50[j] * y50;
      const double p = y <= 8.0 * y50 ? 0.5 * pu * std::pow(y / y50, 1.0 / 3.0) : pu;
      EXPECT_TRUE(near(y, c.points.y[j])) << "x = " << t.x << " point " << j + 1;
      EXPECT_TRUE(near(p, c.points.p[j])) << "x = " << t.x << " point " << j + 1;
    }
    EXPECT_TRUE(near(pu, c.points.p[15]));  // pu reached at 8 y50 ...
    EXPECT_TRUE(near(pu, c.points.p[16]));  // ... and kept at 9.6 y50
  }
}

TEST(SoftClay, ZeroStrengthGivesNoResistance) {
  const SoftClayCurve c = softClayCurve({24.0, 18.0, 0.0, 0.035, 0.02, false});
  EXPECT_EQ(c.pu, 0.0);
  for (double p : c.points.p) EXPECT_EQ(p, 0.0);
}

TEST(SoftClay, TouchingElementsUsePlanePassiveResistance) {
  const SoftClayCurve c = softClayCurve({24.0, 18.0, 5.0, 0.035, 0.02, true});
  EXPECT_TRUE(near((24.0 * 0.035 + 2.0 * 5.0) * 18.0, c.pu));
}

TEST(SoftClay, TinyDeflectionsUseTheSecantModulusAtTheLimit) {
  // y50 so small that the second point lies below 1.0e-14.
  const SoftClayCurve c = softClayCurve({24.0, 18.0, 5.0, 0.035, 1.0e-13, false});
  ASSERT_LT(c.points.y[1], 1.0e-14);
  EXPECT_TRUE(c.smallDeflection[1]);
  EXPECT_FALSE(c.smallDeflection[0]);
  // The modulus is the secant of the curve at y = 1.0e-14.
  const double atLimit = 0.5 * c.pu * std::cbrt(1.0e-14 / c.y50);
  EXPECT_TRUE(near(atLimit / 1.0e-14, c.es0));
  EXPECT_TRUE(near(c.es0 * c.points.y[1], c.points.p[1]));
}

// ---- Reese, Cox and Koop (1975) -------------------------------------------------

double publishedAs(double r) {
  const double xs[] = {0, 1, 2, 3, 4, 5};
  const double as[] = {0.0, 0.223, 0.46, 0.55, 0.59, 0.6};
  if (r >= 5.0) return 0.6 + 0.01 * (r - 5.0);
  for (int i = 1; i < 6; ++i)
    if (r <= xs[i]) return as[i - 1] + (as[i] - as[i - 1]) * (r - xs[i - 1]);
  return 0.6;
}

double publishedStiffWet(double y, double pc, double y50, double as, double kx) {
  const double ay = as * y50;
  double p;
  if (y <= ay) p = 0.5 * pc * std::sqrt(y / y50);
  else if (y <= 6 * ay) p = 0.5 * pc * std::sqrt(y / y50) - 0.055 * pc * std::pow((y - ay) / ay, 1.25);
  else if (y <= 18 * ay) p = 0.5 * pc * std::sqrt(6 * as) - 0.411 * pc - 0.0625 / y50 * pc * (y - 6 * ay);
  else p = 0.5 * pc * std::sqrt(6 * as) - 0.411 * pc - 0.75 * pc * as;
  return std::min(p, kx * y);
}

TEST(StiffClayWithFreeWater, MatchesReeseCoxKoopSegments) {
  for (const ClayCase& t : kCases) {
    for (double kScale : {1.0, 1.0e-3}) {  // stiff and soft initial line
      const double k = t.k * kScale;
      const StiffClayWetCurve c = stiffClayWetCurve({t.x, t.b, t.cu, t.ca, t.gamma, t.e50, k, false});
      const double pc = std::min(2 * t.ca * t.b + t.gamma * t.b * t.x + 2.83 * t.ca * t.x, 11 * t.cu * t.b);
      const double y50 = t.e50 * t.b;
      const double as = publishedAs(t.x / t.b);
      EXPECT_TRUE(near(pc, c.pc, 1e-6));
      EXPECT_TRUE(near(as, c.as, 1e-6));
      const double steps[kPoints] = {0, 0.5, 1, 1.5, 2, 2.5, 3, 3.5, 4, 4.5, 5, 5.5, 6, 10, 14, 18, 200};
      for (int j = 0; j < kPoints; ++j) {
        const double y = steps[j] * (as * y50);
        EXPECT_TRUE(near(y, c.points.y[j], 1e-6)) << "point " << j + 1;
        const double p = publishedStiffWet(y, pc, y50, as, k * t.x);
        EXPECT_TRUE(near(p, c.points.p[j], 1e-5, 1e-6 * pc)) << "x = " << t.x << " point " << j + 1;
      }
    }
  }
}

TEST(StiffClayWithFreeWater, ZeroModulusGivesZeroPoints) {
  const StiffClayWetCurve c = stiffClayWetCurve({30.0, 18.0, 5.0, 5.0, 0.035, 0.01, 0.0, false});
  for (double p : c.points.p) EXPECT_EQ(p, 0.0);
}

TEST(StiffClayWithFreeWater, AsExtendsItsLastSegment) {
  EXPECT_TRUE(near(0.62, stiffClayAs(7.0), 1e-6));
  EXPECT_TRUE(near(0.505, stiffClayAs(2.5), 1e-6));  // halfway between 0.46 and 0.55
}

// ---- Welch and Reese (1972) -----------------------------------------------------

TEST(StiffClayWithoutFreeWater, MatchesWelchReeseQuarterPowerCurve) {
  for (const ClayCase& t : kCases) {
    const StiffClayDryCurve c = stiffClayDryCurve({t.x, t.b, t.cu, t.ca, t.gamma, t.e50, false});
    const double pu = std::min(3 * t.ca * t.b + t.gamma * t.b * t.x + 0.5 * t.ca * t.x, 9 * t.cu * t.b);
    const double y50 = 2.5 * t.e50 * t.b;
    EXPECT_TRUE(near(pu, c.pu));
    const double yOverY50[kPoints] = {0,   1.6e-4, 8e-4, 1.6e-3, 8e-3, 0.016, 0.08, 0.16, 0.4,
                                      0.8, 1.2,    1.6,  4,      8,    16,    18,   20};
    for (int j = 0; j < kPoints; ++j) {
      const double y = yOverY50[j] * y50;
      const double p = y <= 16 * y50 ? 0.5 * pu * std::pow(y / y50, 0.25) : pu;
      EXPECT_TRUE(near(y, c.points.y[j])) << "point " << j + 1;
      EXPECT_TRUE(near(p, c.points.p[j])) << "x = " << t.x << " point " << j + 1;
    }
    EXPECT_TRUE(near(pu, c.points.p[14]));  // pu at 16 y50
  }
}

}  // namespace
}  // namespace tarnel::engine::py
