// Rock curves: the brittle strong-rock curve and the weak-rock criterion of Reese (1997),
// evaluated here from the published expressions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/soilcurves/py_test_support.h"
#include "engine/soilcurves/strong_rock.h"
#include "engine/soilcurves/weak_rock.h"

namespace tarnel::engine::py {
namespace {

using testing::near;

TEST(StrongRock, BrittleCurveWithResidualPastFailure) {
  const double x = 30.0, b = 24.0, qu = 2000.0, g = 0.05;
  const RockCurve c = rockCurve({x, b, qu, g});
  const double su = qu / 2, ei = 2000 * su, y1 = 0.0004 * b, p1 = ei * y1, pu = su * b;
  const double y2 = y1 + (pu - p1) / (100 * su);
  EXPECT_TRUE(near(y2, c.y2, 1e-6));
  for (int j = 0; j < kPoints; ++j) {
    const double y = j * y2 / 15;
    EXPECT_TRUE(near(y, c.points.y[j], 1e-6));
    if (j < 15) {
      EXPECT_FALSE(c.points.residual[j]);
      const double p = y < y1 ? ei * y : p1 + 100 * su * (y - y1);
      EXPECT_TRUE(near(p, c.points.p[j], 1e-6)) << "point " << j + 1;
    } else {
      // The last two points: failed rock, residual 0.5 x gamma b.
      EXPECT_TRUE(c.points.residual[j]);
      EXPECT_TRUE(near(0.5 * x * g * b, c.points.p[j], 1e-12));
    }
  }
}

struct WeakRockCase {
  double xr, b, qur, rqd, krm, eir;
};

TEST(WeakRock, MatchesReese1997) {
  const WeakRockCase cases[] = {
      {12.0, 24.0, 500.0, 50.0, 5.0e-4, 1.0e5},   // xr <= 3b
      {100.0, 24.0, 500.0, 0.0, 5.0e-5, 2.0e5},   // xr > 3b
      {1.0, 1.0, 3000.0, 80.0, 5.0e-4, 5.0e5},    // SI
  };
  const double ratios[kPoints] = {0.0005, 0.001, 0.003, 0.006, 0.009, 0.02, 0.04, 0.06, 0.08,
                                  0.1,    0.25,  0.5,   0.75,  1,     4,    8,    12};
  for (const WeakRockCase& t : cases) {
    const WeakRockCurve c = weakRockCurve({t.xr, t.b, t.qur, t.rqd, t.krm, t.eir});
    const double ar = 1 - t.rqd / 150;
    const double pur = t.xr <= 3 * t.b ? ar * t.qur * t.b * (1 + 1.4 * t.xr / t.b) : 5.2 * ar * t.qur * t.b;
    const double kir = (t.xr <= 3 * t.b ? 100 + 400 * t.xr / (3 * t.b) : 500) * t.eir;
    const double yrm = t.krm * t.b;
    const double ya = std::pow(pur / (2 * std::pow(yrm, 0.25) * kir), 4.0 / 3.0);
    EXPECT_TRUE(near(pur, c.pur, 1e-6));
    EXPECT_TRUE(near(ya, c.ya, 1e-6));
    for (int j = 0; j < kPoints; ++j) {
      const double y = ratios[j] * yrm;
      const double p = y < ya ? kir * y : std::min(pur / 2 * std::pow(y / yrm, 0.25), pur);
      EXPECT_TRUE(near(y, c.points.y[j], 1e-6));
      EXPECT_TRUE(near(p, c.points.p[j], 1e-6)) << "point " << j + 1;
    }
    EXPECT_LT(c.points.p[16], pur);  // pur is reached only at 16 yrm, past the last point
  }
}

// The deflection constants of both rock curves are plain decimals (0.0004 b, 0.0005 yrm
// and the other weak-rock ratios), not widened floats: the points must agree to the bit
// with the decimal values.
TEST(RockConstants, DecimalDeflectionFactors) {
  const RockCurve r = rockCurve({30.0, 24.0, 2000.0, 0.05});
  EXPECT_DOUBLE_EQ(0.0004 * 24.0, r.y1);
  const WeakRockCurve w = weakRockCurve({12.0, 24.0, 500.0, 50.0, 5.0e-4, 1.0e5});
  const double yrm = 5.0e-4 * 24.0;
  const double ratios[kPoints] = {0.0005, 0.001, 0.003, 0.006, 0.009, 0.02, 0.04, 0.06, 0.08,
                                  0.1,    0.25,  0.5,   0.75,  1,     4,    8,    12};
  for (int j = 0; j < kPoints; ++j) EXPECT_DOUBLE_EQ(ratios[j] * yrm, w.points.y[j]) << "point " << j + 1;
}

TEST(WeakRock, AtTheRockSurface) {
  const WeakRockCurve c = weakRockCurve({1.0e-8, 24.0, 500.0, 100.0, 5.0e-4, 1.0e5});
  EXPECT_TRUE(near(1.0 / 3.0, c.alphar, 1e-6));  // RQD = 100
  EXPECT_TRUE(near(c.alphar * 500.0 * 24.0, c.pur, 1e-8));
  EXPECT_TRUE(near(100.0 * 1.0e5, c.kir, 1e-8));
}

}  // namespace
}  // namespace tarnel::engine::py
