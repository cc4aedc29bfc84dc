#include "engine/pressure/surcharge.h"

#include "engine/pressure/earth_pressure.h"
#include "engine/pressure/generator_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace tarnel::engine::pressure {
namespace {

constexpr double pi = std::numbers::pi;
// The program takes pi as 3.1416 (and 57.2958 degrees per radian): agreement with the
// exact formulas to five significant digits.
constexpr double kRel = 1e-5;

// Terzaghi's modified Boussinesq pressures on a rigid wall of height H (Terzaghi & Peck,
// Soil Mechanics in Engineering Practice), with m = x/H and n = z/H.
double textbookPoint(double Q, double x, double z, double H) {
  const double m = x / H, n = z / H;
  if (m <= 0.4) return 0.28 * Q / (H * H) * n * n / std::pow(0.16 + n * n, 3);
  return 1.77 * Q / (H * H) * m * m * n * n / std::pow(m * m + n * n, 3);
}

double textbookLine(double Q, double x, double z, double H) {
  const double m = x / H, n = z / H;
  if (m <= 0.4) return 0.203 * Q / H * n / std::pow(0.16 + n * n, 2);
  return 4.0 * Q / (pi * H) * m * m * n / std::pow(m * m + n * n, 2);
}

// A strip load of intensity q on a non-yielding wall is the sum of line loads q dx at
// every distance across the strip, each with the doubled Boussinesq pressure
// 4 q dx x^2 z / (pi (x^2 + z^2)^2); integrated here with Simpson's rule.
double stripAsLineLoads(double q, double x, double b, double z) {
  const int n = 2000;
  const double a = x - b / 2.0, h = b / n;
  auto f = [&](double s) { return 4.0 * q * s * s * z / (pi * std::pow(s * s + z * z, 2)); };
  double sum = f(a) + f(a + b);
  for (int i = 1; i < n; ++i) sum += f(a + i * h) * (i % 2 ? 4.0 : 2.0);
  return sum * h / 3.0;
}

TEST(Surcharge, PointAndLineNearAndFarFromTheWall) {
  const double H = 6.0;
  struct Case { double x, z; };
  // m = 0.2, exactly 0.4 (near form), 0.6 and 1.5 at several depths.
  const Case cases[] = {{1.2, 1.5}, {1.2, 6.0}, {2.4, 3.0}, {3.6, 0.9}, {3.6, 4.5}, {9.0, 7.2}};
  for (const auto& c : cases) {
    const double p = lateralSurchargePressure(1, 50.0, c.x, 0.0, c.z, H);
    const double l = lateralSurchargePressure(2, 20.0, c.x, 0.0, c.z, H);
    EXPECT_NEAR(p, textbookPoint(50.0, c.x, c.z, H), kRel * p) << c.x << " " << c.z;
    EXPECT_NEAR(l, textbookLine(20.0, c.x, c.z, H), kRel * l) << c.x << " " << c.z;
  }
  // Far from the wall the pressure no longer depends on the wall height.
  EXPECT_NEAR(lateralSurchargePressure(2, 20.0, 9.0, 0.0, 4.0, H),
              4.0 * 20.0 * 81.0 * 4.0 / (pi * std::pow(81.0 + 16.0, 2)), kRel);
}

TEST(Surcharge, KindOtherThanOneToThreeActsAsPointLoad) {
  EXPECT_DOUBLE_EQ(lateralSurchargePressure(7, 50.0, 3.0, 1.0, 2.0, 6.0),
                   lateralSurchargePressure(1, 50.0, 3.0, 1.0, 2.0, 6.0));
}

TEST(Surcharge, StripEqualsTheSumOfLineLoadsAcrossIt) {
  struct Case { double x, b, z; };
  const Case cases[] = {{2.0, 1.0, 1.5}, {2.0, 1.0, 6.0}, {1.0, 2.0, 0.5}, {5.0, 3.0, 4.0}};
  for (const auto& c : cases) {
    const double s = lateralSurchargePressure(3, 30.0, c.x, c.b, c.z, 6.0);
    EXPECT_NEAR(s, stripAsLineLoads(30.0, c.x, c.b, c.z), kRel * s) << c.x << " " << c.z;
  }
}

TEST(Surcharge, SlotFormUsesRoundedFactorsAndSkipsSmallMagnitudes) {
  const double H = 6.0, z = 3.3;
  SurchargeSlots s;
  s.x = 3.6;  // m = 0.6
  s.line = 20.0;
  EXPECT_NEAR(slotSurchargePressure(s, z, H), textbookLine(20.0, 3.6, z, H) * 1.273 / (4.0 / pi), kRel);
  s = {};
  s.x = 2.0;
  s.width = 1.0;
  s.strip = 30.0;
  EXPECT_NEAR(slotSurchargePressure(s, z, H), stripAsLineLoads(30.0, 2.0, 1.0, z) * 0.6366 / (2.0 / pi), kRel);
  s = {};
  s.x = 1.0;
  s.point = 0.5e-4;  // below 1.0e-4: no contribution
  EXPECT_EQ(slotSurchargePressure(s, z, H), 0.0);
}

TEST(Surcharge, StepFunctionOnTwoHundredIntervals) {
  const double H = 6.0, L = 10.0, dz = L / 200.0;
  const std::vector<SurchargeLoad> loads = {{1, 50.0, 1.2, 0.0}, {2, 20.0, 3.6, 0.0}, {3, 30.0, 2.0, 1.0}};
  auto direct = [&](double z) {
    return textbookPoint(50.0, 1.2, z, H) + textbookLine(20.0, 3.6, z, H) + stripAsLineLoads(30.0, 2.0, 1.0, z);
  };
  // At and above the first grid depth: nothing.
  EXPECT_EQ(surchargePressureOnGrid(loads, 0.0, H, L), 0.0);
  EXPECT_EQ(surchargePressureOnGrid(loads, dz / 2.0, H, L), 0.0);
  EXPECT_EQ(surchargePressureOnGrid(loads, dz, H, L), 0.0);
  // Just below a grid depth, and up to the next one inclusive, the grid value holds.
  for (int k : {1, 37, 120, 199}) {
    const double zk = k * dz;
    const double expected = direct(zk);
    EXPECT_NEAR(surchargePressureOnGrid(loads, zk + 1e-9, H, L), expected, kRel * expected) << k;
    EXPECT_NEAR(surchargePressureOnGrid(loads, zk + 0.7 * dz, H, L), expected, kRel * expected) << k;
    EXPECT_NEAR(surchargePressureOnGrid(loads, (k + 1) * dz, H, L), expected, kRel * expected) << k;
  }
  // Below the wall tip the last grid depth holds.
  EXPECT_NEAR(surchargePressureOnGrid(loads, 3.0 * L, H, L), direct(L), kRel * direct(L));
}

TEST(Surcharge, SlotsAfterEchoDescribeTheLastListedLoad) {
  const SurchargeSlots legacy{5.0, 1.0, 2.0, 3.0, 4.0};
  EXPECT_EQ(slotsAfterEcho(legacy, {}).point, 1.0);  // no list: the legacy record stays
  const SurchargeSlots s = slotsAfterEcho(legacy, {{3, 30.0, 2.0, 1.5}, {2, 20.0, 3.6, 0.0}, {9, 99.0, 9.0, 9.0}});
  EXPECT_EQ(s.line, 20.0);
  EXPECT_EQ(s.point, 0.0);
  EXPECT_EQ(s.strip, 0.0);
  EXPECT_EQ(s.x, 3.6);
  EXPECT_EQ(s.width, 1.5);  // a line load leaves the width as it was
}

// Through the entry used by the core for a user pressure table.
TEST(Surcharge, PressureAtDepthForUserTable) {
  testsupport::GeneratorRun g(2, 20, 0.5, 5.0);  // SI, wall 10 m
  // Stored in millimetres as the program keeps them.
  g.problem().surcharges = {{1, 50.0, 1500.0, 0.0}, {3, 30.0, 2500.0, 1000.0}};
  const double dz = 10.0 / 200.0;
  const double zk = 60 * dz;
  const double expected = textbookPoint(50.0, 1.5, zk, 5.0) + stripAsLineLoads(30.0, 2.5, 1.0, zk);
  EXPECT_NEAR(surchargePressureAt(g.run, zk + 0.01), expected, kRel * expected);
  EXPECT_EQ(surchargePressureAt(g.run, dz), 0.0);

  // English projects keep inches throughout.
  testsupport::GeneratorRun e(1, 24, 10.0, 120.0);
  e.problem().surcharges = {{2, 100.0, 30.0, 0.0}};
  const double ek = 100 * (240.0 / 200.0);
  EXPECT_NEAR(surchargePressureAt(e.run, ek + 0.1), textbookLine(100.0, 30.0, ek, 120.0), kRel);

  testsupport::GeneratorRun none(1, 24, 10.0, 120.0);
  EXPECT_EQ(surchargePressureAt(none.run, 50.0), 0.0);
}

TEST(Surcharge, NoFreeHeightStopsTheRunWithAMessage) {
  testsupport::GeneratorRun g(2, 20, 0.5, 0.0);
  g.problem().surcharges = {{1, 50.0, 1500.0, 0.0}};
  EXPECT_THROW(surchargePressureAt(g.run, 2.0), GeneratorStop);
  EXPECT_NE(g.report().find("ERROR STOP -- SURCHARGE LOADS NEED A FREE HEIGHT OF WALL GREATER THAN ZERO"),
            std::string::npos);
  // Loads of no magnitude act on nothing and need no free height.
  testsupport::GeneratorRun z(2, 20, 0.5, 0.0);
  z.problem().surcharges = {{1, 0.0, 1500.0, 0.0}};
  EXPECT_EQ(surchargePressureAt(z.run, 2.0), 0.0);
}

}  // namespace
}  // namespace tarnel::engine::pressure

namespace tarnel::engine::pressure {
namespace {

// The surcharge pressure as every table row once evaluated it: all loads at the grid
// depth found by walking the 200 steps.
double perRowPressure(const std::vector<SurchargeLoad>& loads, double z, double H, double L) {
  if (loads.empty() || !(L > 0.0)) return 0.0;
  const double dz = L / 200.0;
  int grid = 0;
  for (int k = 1; k <= 200; ++k)
    if (k * dz < z) grid = k;
  if (grid == 0) return 0.0;
  double p = 0.0;
  for (const auto& load : loads)
    if (load.q != 0.0) p += lateralSurchargePressure(load.kind, load.q, load.x, load.b, grid * dz, H);
  return p;
}

struct GridCase {
  const char* name;
  double H, L, rowsPerUnit;
  std::vector<SurchargeLoad> loads;
};

std::vector<SurchargeLoad> manyLoads(int n, double spacing) {
  std::vector<SurchargeLoad> loads;
  for (int i = 0; i < n; ++i) loads.push_back({1 + i % 4, 100.0 + 7.0 * i, spacing * (i + 1), 0.5 * spacing});
  return loads;
}

// The table looks the pressure up per grid step instead of evaluating every load per
// row: the values must be the same to the last bit, at every row depth and at both
// sides of every grid depth.
TEST(Surcharge, GridLookupGivesTheSameValuesAsEvaluatingEveryRow) {
  const std::vector<GridCase> cases = {
      {"triangular-surcharges example (SI)", 4.0, 10.0, 20.0,
       {{1, 50.0, 1.5, 0.0}, {2, 20.0, 3.0, 0.0}, {3, 15.0, 2.5, 1.0}}},
      {"100 loads on a long English wall", 240.0, 4914.0, 1.0, manyLoads(100, 6.0)},
      {"loads at and beyond m = 0.4", 100.0, 333.3, 1.0, {{1, 10.0, 40.0, 0}, {2, 10.0, 40.0001, 0}, {3, 5.0, 0.0, 8.0}}},
  };
  for (const GridCase& c : cases) {
    const SurchargeGrid grid(c.loads, c.H, c.L);
    std::vector<double> depths;
    const int rows = static_cast<int>(c.L * c.rowsPerUnit);
    for (int j = 0; j <= rows + 2; ++j) depths.push_back(j * c.L / rows);
    const double dz = c.L / 200.0;
    for (int k = 0; k <= 201; ++k) {
      const double zk = k * dz;
      depths.insert(depths.end(), {zk, std::nextafter(zk, 0.0), std::nextafter(zk, 1e300)});
    }
    for (double z : depths) {
      ASSERT_EQ(grid.at(z), perRowPressure(c.loads, z, c.H, c.L)) << c.name << " z = " << z;
    }
  }
  EXPECT_EQ(SurchargeGrid::stepAbove(std::nan(""), 1.0), 0);
  EXPECT_EQ(SurchargeGrid::stepAbove(1e300, 1.0), 200);
}

}  // namespace
}  // namespace tarnel::engine::pressure
