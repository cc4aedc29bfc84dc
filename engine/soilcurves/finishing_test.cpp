// Multipliers, the active-pressure shift and the finishing of points.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/soilcurves/finishing.h"
#include "engine/soilcurves/py_test_support.h"

namespace tarnel::engine::py {
namespace {

using testing::near;

TEST(GroupReduction, ClosedFormAtTheQuotedRatios) {
  EXPECT_TRUE(near(0.5292 * std::pow(2.0, 0.5659), groupReduction(2.0), 1e-6));
  EXPECT_TRUE(near(0.783, groupReduction(2.0), 1e-3));
  EXPECT_TRUE(near(0.985, groupReduction(3.0), 1e-3));
  EXPECT_EQ(groupReduction(3.1), 1.0);   // elements far enough apart
  EXPECT_EQ(groupReduction(5.0), 1.0);
  EXPECT_EQ(groupReduction(1.0), 1.0);   // touching elements
}

TEST(GroupReduction, AppliesOnlyBelowTheExcavationWithoutATable) {
  const std::vector<PyModifierRow> none;
  EXPECT_TRUE(near(groupReduction(2.0), pMultiplierAt(none, 2.0, 120.0, 130.0), 1e-15));
  EXPECT_EQ(pMultiplierAt(none, 2.0, 120.0, 100.0), 1.0);
  EXPECT_EQ(yMultiplierAt(none, 130.0), 1.0);
}

TEST(ModificationTable, InterpolatesAndEndsAtOne) {
  const std::vector<PyModifierRow> rows = {{100.0, 0.5, 2.0}, {200.0, 0.7, 1.0}, {200.0, 0.9, 3.0}, {300.0, 1.1, 1.5}};
  EXPECT_EQ(pMultiplierAt(rows, 2.0, 0.0, 50.0), 1.0);             // above the first row
  EXPECT_TRUE(near(0.6, pMultiplierAt(rows, 2.0, 0.0, 150.0)));   // between rows
  EXPECT_TRUE(near(1.5, yMultiplierAt(rows, 150.0)));
  EXPECT_EQ(pMultiplierAt(rows, 2.0, 0.0, 200.0), 0.9);            // second of two rows
  EXPECT_EQ(yMultiplierAt(rows, 200.0), 3.0);
  EXPECT_TRUE(near(1.0, pMultiplierAt(rows, 2.0, 0.0, 250.0)));
  EXPECT_EQ(pMultiplierAt(rows, 2.0, 0.0, 300.0), 1.1);            // on the last row
  EXPECT_EQ(pMultiplierAt(rows, 2.0, 0.0, 301.0), 1.0);            // below it
}

TEST(ActiveShift, ClayOverburdenAndWallLoad) {
  const double b = 24.0, cu = 2.0, s = 2.0, sigvp = 20.0;
  // A = b sigvp - 2 cu b = 480 - 96; B = load/s - 2 cu b.
  EXPECT_TRUE(near(384.0, activeShift(kSoftClay, b, cu, 0.0, s, sigvp, 100.0)));
  EXPECT_TRUE(near(1000.0 / 2.0 - 96.0, activeShift(kStiffClayWet, b, cu, 0.0, s, sigvp, 1000.0)));
  EXPECT_EQ(activeShift(kStiffClayDry, b, 50.0, 0.0, s, sigvp, 100.0), 0.0);  // cohesion wins
}

TEST(ActiveShift, SandAndSiltUseRankine) {
  const double phi = 30.0 * 3.1416 / 180.0, ka = std::pow(std::tan(M_PI / 4 - phi / 2), 2);
  EXPECT_TRUE(near(24.0 * 10.0 * ka, activeShift(kSand, 24.0, 0.0, phi, 1.0, 10.0, 0.0), 1e-5));
  const double coh = 2.0 * std::sqrt(ka) * 0.5 * 24.0;
  EXPECT_TRUE(near(24.0 * 10.0 * ka - coh, activeShift(kSilt, 24.0, 0.5, phi, 1.0, 10.0, 0.0), 1e-5));
  EXPECT_EQ(activeShift(kRock, 24.0, 0.0, phi, 1.0, 10.0, 500.0), 0.0);
  EXPECT_EQ(activeShift(kWeakRock, 24.0, 0.0, phi, 1.0, 10.0, 500.0), 0.0);
  // Sand takes 45 degrees from pi = 3.1416 as a double, silt from 4 atan 1.
  const double kaSand = std::pow(std::tan(3.1416 / 4 - phi / 2), 2);
  EXPECT_DOUBLE_EQ(24.0 * 10.0 * kaSand, activeShift(kSand, 24.0, 0.0, phi, 1.0, 10.0, 0.0));
}

TEST(FinishPoints, MultipliersAndShiftBySide) {
  PyPoints raw;
  raw.y[1] = 0.5;
  raw.p[1] = 100.0;
  raw.y[16] = 2.0;
  raw.p[16] = 7.0;
  raw.residual[16] = true;
  const PyPoints exc = finishPoints(raw, Side::Excavation, 0.8, 2.0, 30.0);
  const PyPoints bf = finishPoints(raw, Side::Backfill, 0.8, 2.0, 30.0);
  EXPECT_EQ(exc.y[1], 1.0);
  EXPECT_EQ(exc.p[1], 80.0 - 30.0);
  EXPECT_EQ(bf.p[1], 80.0 + 30.0);
  EXPECT_EQ(exc.p[0], -30.0);       // a shift larger than pm p leaves it negative
  EXPECT_EQ(exc.p[16], 7.0 - 30.0);  // residual not scaled
}

TEST(WallLoad, InterpolatesTheTable) {
  const std::vector<PressurePoint> t = {{0.0, 0.0, 0.0, 0.0}, {100.0, 50.0, 50.0, 0.0}, {200.0, 50.0, 50.0, 0.0}};
  EXPECT_EQ(wallLoadAt(t, 50.0), 25.0);
  EXPECT_EQ(wallLoadAt(t, 500.0), 50.0);
  EXPECT_EQ(wallLoadAt({}, 50.0), 0.0);
}

TEST(ScratchValue, ThreeDigitsAndNoThreeDigitExponents) {
  EXPECT_EQ(scratchValue(1234.5), " 0.123E+04");
  EXPECT_EQ(scratchValue(-1.0e-120), " 0.000E+00");
}

}  // namespace
}  // namespace tarnel::engine::py
