// Layers below the excavation level, distributions and depth functions.
#include <gtest/gtest.h>

#include <sstream>

#include "engine/soilcurves/py_test_support.h"
#include "engine/soilcurves/soil_model.h"

namespace tarnel::engine::py {
namespace {

using testing::near;

struct ModelTest : ::testing::Test {
  Problem pb;
  std::ostringstream report, err;
  Streams io{report, err};

  void SetUp() override {
    pb.control.units = 1;
    pb.earth.freeHeight = 120.0;
    pb.earth.wa = 48.0;
    pb.earth.wp = 24.0;
    pb.earth.dwBackfill = 1000.0;
  }
  void layer(int kind, double bottom, std::array<double, 6> top, std::array<double, 6> base) {
    pb.layers.push_back({kind, bottom, top, base});
  }
};

TEST_F(ModelTest, LayerCrossingTheExcavationIsCutWithInterpolatedTopValues) {
  layer(kSoftClay, 240.0, {0.06, 2.0, 0.0, 0.02, 100.0, 0.0}, {0.06, 4.0, 0.0, 0.01, 100.0, 0.0});
  layer(kSand, 480.0, {0.07, 0.0, 30.0, 0.0, 150.0, 0.0}, {0.07, 0.0, 36.0, 0.0, 150.0, 0.0});
  const PySoilModel m = buildSoilModel(pb, sp(0.036f), io);
  ASSERT_EQ(m.layers.size(), 2u);
  EXPECT_EQ(m.layers[0].top, 120.0);
  EXPECT_TRUE(near(3.0, m.strength[0].v));       // halfway between 2 and 4
  EXPECT_TRUE(near(0.015, m.e50[0].v));
  EXPECT_EQ(m.s, 2.0);
  // Five curve depths per layer, 0.1 in from its ends.
  const double expected[] = {120.1, 150.0, 180.0, 210.0, 239.9, 240.1, 300.0, 360.0, 420.0, 479.9};
  ASSERT_EQ(m.curveCount(), 10);
  for (int c = 0; c < 10; ++c) EXPECT_TRUE(near(expected[c], m.curveX[c], 1e-12)) << c;
  EXPECT_DOUBLE_EQ(33.0 * 3.1416 / 180.0, interpolate(m.phi, 360.0));  // pi as 3.1416, a double
}

TEST_F(ModelTest, ThinLayerCrossesItsEndCurvesAtTheirOwnDepths) {
  // A 0.15 in layer: the first curve lies 0.1 in below its top, the last 0.1 in above its
  // bottom, i.e. 0.05 in below the top; the formulas see those depths on both sides.
  layer(kSoftClay, 120.15, {0.06, 2.0, 0.0, 0.02, 100.0, 0.0}, {0.06, 2.0, 0.0, 0.02, 100.0, 0.0});
  const PySoilModel m = buildSoilModel(pb, sp(0.036f), io);
  ASSERT_EQ(m.curveCount(), 5);
  EXPECT_TRUE(near(0.1, formulaDepth(m, 0, Side::Excavation), 1e-9));
  EXPECT_TRUE(near(0.15 - 0.1, formulaDepth(m, 4, Side::Excavation), 1e-9));
  EXPECT_TRUE(near(120.0 + 0.05, formulaDepth(m, 4, Side::Backfill), 1e-9));
}

TEST_F(ModelTest, LayerThinnerThanTheOffsetNeverGivesANegativeDepth) {
  layer(kSoftClay, 120.05, {0.06, 2.0, 0.0, 0.02, 100.0, 0.0}, {0.06, 2.0, 0.0, 0.02, 100.0, 0.0});
  const PySoilModel m = buildSoilModel(pb, sp(0.036f), io);
  ASSERT_EQ(m.curveCount(), 5);
  EXPECT_EQ(0.0, formulaDepth(m, 4, Side::Excavation));  // its last curve lies above its top
  EXPECT_EQ(120.0, formulaDepth(m, 4, Side::Backfill));
}

TEST_F(ModelTest, LayerEndingAtTheExcavationContributesNothing) {
  layer(kSand, 120.0, {0.07, 0.0, 30.0, 0.0, 150.0, 0.0}, {0.07, 0.0, 30.0, 0.0, 150.0, 0.0});
  layer(kSoftClay, 300.0, {0.06, 2.0, 0.0, 0.02, 100.0, 0.0}, {0.06, 2.0, 0.0, 0.02, 100.0, 0.0});
  const PySoilModel m = buildSoilModel(pb, sp(0.036f), io);
  ASSERT_EQ(m.layers.size(), 1u);
  EXPECT_EQ(m.layers[0].kind, kSoftClay);
  EXPECT_EQ(m.layers[0].top, 120.0);
}

TEST_F(ModelTest, WaterTableInsideALayerRunsLinearlyToTheNextTop) {
  pb.earth.dwBackfill = 200.0;
  layer(kSand, 240.0, {0.07, 0.0, 30.0, 0.0, 150.0, 0.0}, {0.07, 0.0, 30.0, 0.0, 150.0, 0.0});
  layer(kSand, 360.0, {0.08, 0.0, 30.0, 0.0, 150.0, 0.0}, {0.08, 0.0, 30.0, 0.0, 150.0, 0.0});
  const double gw = sp(0.036f);
  const PySoilModel m = buildSoilModel(pb, gw, io);
  ASSERT_EQ(m.gamma.size(), 4u);
  EXPECT_EQ(m.gamma[0].x, 120.0);
  EXPECT_EQ(m.gamma[0].v, 0.07);          // total above the water table
  EXPECT_EQ(m.gamma[1].x, 200.0);         // bottom point moved up to the water table
  EXPECT_EQ(m.gamma[1].v, 0.07);
  EXPECT_EQ(m.gamma[2].x, 240.0);
  EXPECT_TRUE(near(0.08 - gw, m.gamma[2].v, 1e-15));
  // Mean from 120 to 240: 80 in at 0.07, then a trapezoid from 0.07 to 0.044.
  const double mean = (80.0 * 0.07 + 40.0 * 0.5 * (0.07 + 0.08 - gw)) / 120.0;
  EXPECT_TRUE(near(mean, unitWeightAverage(m, 240.0), 1e-12));
}

TEST_F(ModelTest, WaterTableInsideTheLastLayerReachesTheEffectiveWeightAtItsBottom) {
  pb.earth.dwBackfill = 200.0;
  layer(kSand, 240.0, {0.07, 0.0, 30.0, 0.0, 150.0, 0.0}, {0.07, 0.0, 30.0, 0.0, 150.0, 0.0});
  const PySoilModel m = buildSoilModel(pb, 0.036, io);
  ASSERT_EQ(m.gamma.size(), 3u);
  EXPECT_TRUE(near(0.07 - 0.036, m.gamma[2].v, 1e-15));
  EXPECT_EQ(m.gamma[2].x, 240.0);
}

TEST_F(ModelTest, LayerTopAtTheWaterTableCountsAsBelow) {
  pb.earth.dwBackfill = 240.0;
  layer(kSand, 240.0, {0.07, 0.0, 30.0, 0.0, 150.0, 0.0}, {0.07, 0.0, 30.0, 0.0, 150.0, 0.0});
  layer(kSand, 360.0, {0.08, 0.0, 30.0, 0.0, 150.0, 0.0}, {0.08, 0.0, 30.0, 0.0, 150.0, 0.0});
  const PySoilModel m = buildSoilModel(pb, 0.036, io);
  ASSERT_EQ(m.gamma.size(), 4u);
  EXPECT_EQ(m.gamma[1].v, 0.07);                         // bottom at the table: above
  EXPECT_TRUE(near(0.08 - 0.036, m.gamma[2].v, 1e-15));  // top at the table: below
}

TEST(Distribution, BoundaryTakesTheLowerValueUnlessItIsAbsent) {
  const Distribution d = {{0, 1.0}, {10, 2.0}, {10, 5.0}, {20, 6.0}, {20, 0.0}, {30, 0.0}};
  EXPECT_EQ(interpolate(d, 5.0), 1.5);
  EXPECT_EQ(interpolate(d, 10.0), 5.0);
  EXPECT_EQ(interpolate(d, 20.0), 6.0);   // the lower value is 0: the upper one holds
  bool beyond = false;
  EXPECT_EQ(interpolate(d, 35.0, &beyond), 0.0);
  EXPECT_TRUE(beyond);
}

TEST_F(ModelTest, StrengthBeyondTheInputWarnsOnTheErrorStream) {
  layer(kSoftClay, 240.0, {0.06, 2.0, 0.0, 0.02, 100.0, 0.0}, {0.06, 4.0, 0.0, 0.01, 100.0, 0.0});
  const PySoilModel m = buildSoilModel(pb, 0.036, io);
  EXPECT_EQ(strengthAt(m, 250.0, err), 4.0);
  EXPECT_NE(err.str().find("IS BEYOND THE EXTENT OF"), std::string::npos);
  EXPECT_NE(err.str().find("THE INPUT STRENGTH CURVE"), std::string::npos);
  EXPECT_EQ(strengthAverage(m, 0, 250.0, report), 3.5);
  EXPECT_NE(report.str().find("INPUT CURVE FOR STRENGTH"), std::string::npos);
  EXPECT_THROW(phiAt(m, 250.0, io), GeneratorStop);
  EXPECT_NE(err.str().find("THE INPUT PHI CURVE"), std::string::npos);
}

TEST_F(ModelTest, ZeroWidthStops) {
  pb.earth.wp = 0.0;
  layer(kSoftClay, 240.0, {0.06, 2.0, 0.0, 0.02, 100.0, 0.0}, {0.06, 4.0, 0.0, 0.01, 100.0, 0.0});
  EXPECT_THROW(buildSoilModel(pb, 0.036, io), GeneratorStop);
  EXPECT_NE(report.str().find("WP, IS 0"), std::string::npos);
}

TEST_F(ModelTest, LayerBottomsGoingUpStop) {
  layer(kSoftClay, 240.0, {0.06, 2.0, 0.0, 0.02, 100.0, 0.0}, {0.06, 4.0, 0.0, 0.01, 100.0, 0.0});
  layer(kSand, 200.0, {0.07, 0.0, 30.0, 0.0, 150.0, 0.0}, {0.07, 0.0, 30.0, 0.0, 150.0, 0.0});
  EXPECT_THROW(buildSoilModel(pb, 0.036, io), GeneratorStop);
}

}  // namespace
}  // namespace tarnel::engine::py
