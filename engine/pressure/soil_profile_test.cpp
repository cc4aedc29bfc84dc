#include "engine/pressure/soil_profile.h"

#include "engine/pressure/constants.h"
#include "engine/pressure/generator_fixture.h"

#include <gtest/gtest.h>

namespace tarnel::engine::pressure {
namespace {

using testsupport::layer;

std::vector<SoilLayerRecord> sandLayers(std::initializer_list<double> bottoms) {
  std::vector<SoilLayerRecord> r;
  for (double b : bottoms) r.push_back(layer(4, b, 18.0, 0.0, 30.0));
  return r;
}

struct SplitCase {
  const char* name;
  std::vector<double> bottoms;
  double H, dwb;
  std::vector<double> ztops;  // expected layer tops after splitting
  int lexc, lwt;              // 0-based, -1 none
};

TEST(SoilProfile, SplitsAtExcavationAndWaterTable) {
  const SplitCase cases[] = {
      {"H equal to the water table: one cut", {10.0}, 4.0, 4.0, {0.0, 4.0}, 1, 1},
      {"two cuts in one layer", {10.0}, 6.0, 3.0, {0.0, 3.0, 6.0}, 2, 1},
      {"cuts in different layers", {2.0, 5.0, 9.0}, 7.0, 1.0, {0.0, 1.0, 2.0, 5.0, 7.0}, 4, 1},
      {"cut on a layer boundary", {4.0, 10.0}, 4.0, 100.0, {0.0, 4.0}, 1, -1},
      {"bottom within the tolerance of H: no split", {4.000005, 10.0}, 4.0, 100.0, {0.0, 4.000005}, 1, -1},
      {"H = 0: no cut at the surface", {3.0, 10.0}, 0.0, 100.0, {0.0, 3.0}, 0, -1},
      {"water table at the surface", {3.0, 10.0}, 5.0, 0.0, {0.0, 3.0, 5.0}, 2, 0},
      {"water table below the profile", {3.0, 10.0}, 5.0, 12.0, {0.0, 3.0, 5.0}, 2, -1},
      {"H at the profile bottom: no excavation layer", {3.0, 10.0}, 10.0, 100.0, {0.0, 3.0}, -1, -1},
  };
  for (const auto& c : cases) {
    std::vector<SoilLayerRecord> records;
    for (double b : c.bottoms) records.push_back(layer(4, b, 18.0, 0.0, 30.0));
    const SoilProfile p = subdivideLayers(records, c.H, c.dwb, 0.9);
    ASSERT_EQ(p.n(), static_cast<int>(c.ztops.size())) << c.name;
    for (int i = 0; i < p.n(); ++i) {
      EXPECT_DOUBLE_EQ(p.layers[i].ztop, c.ztops[i]) << c.name << " layer " << i;
      EXPECT_DOUBLE_EQ(p.layers[i].modf, 0.9) << c.name;
      EXPECT_GT(p.layers[i].t, 0.0) << c.name;
      if (i + 1 < p.n()) {
        EXPECT_NEAR(p.layers[i].ztop + p.layers[i].t, p.layers[i + 1].ztop, 1e-12) << c.name;
      }
    }
    EXPECT_DOUBLE_EQ(p.bottom, c.bottoms.back()) << c.name;
    EXPECT_EQ(p.lexc, c.lexc) << c.name;
    EXPECT_EQ(p.lwt, c.lwt) << c.name;
    EXPECT_FALSE(p.overflow) << c.name;
  }
}

TEST(SoilProfile, SplitLayerKeepsItsProperties) {
  const SoilProfile p = subdivideLayers({layer(5, 10.0, 19.0, 12.0, 25.0, 0.4)}, 6.0, 3.0, 1.0);
  ASSERT_EQ(p.n(), 3);
  for (const auto& l : p.layers) {
    EXPECT_EQ(l.gamma, 19.0);
    EXPECT_EQ(l.c, 12.0);
    EXPECT_EQ(l.phi, 25.0);
    EXPECT_EQ(l.kopt, 0.4);
    EXPECT_TRUE(l.drained);
  }
  EXPECT_DOUBLE_EQ(p.layers[0].t, 3.0);
  EXPECT_DOUBLE_EQ(p.layers[1].t, 3.0);
  EXPECT_DOUBLE_EQ(p.layers[2].t, 4.0);
}

TEST(SoilProfile, DrainageAndCoefficientByKind) {
  std::vector<SoilLayerRecord> records;
  for (int kind = 1; kind <= 7; ++kind) records.push_back(layer(kind, kind * 1.0, 18.0, 5.0, 10.0, 0.7));
  const SoilProfile p = subdivideLayers(records, 0.0, 100.0, 1.0);
  ASSERT_EQ(p.n(), 7);
  for (int kind = 1; kind <= 7; ++kind) {
    const ProfileLayer& l = p.layers[kind - 1];
    EXPECT_EQ(l.drained, kind >= 4) << kind;
    // The sixth position of a rock layer is its RQD, never an earth-pressure coefficient.
    EXPECT_EQ(l.kopt, kind >= 6 ? 0.0 : 0.7) << kind;
  }
}

TEST(SoilProfile, ZeroThicknessRecordEndsTheProfile) {
  const SoilProfile p = subdivideLayers(sandLayers({3.0, 3.0, 8.0}), 2.0, 100.0, 1.0);
  ASSERT_EQ(p.n(), 2);  // 0-2, 2-3; the record of no thickness ends the walk
  EXPECT_DOUBLE_EQ(p.bottom, 3.0);
}

TEST(SoilProfile, OverflowBeyondTwentyOneLayers) {
  std::vector<SoilLayerRecord> records;
  for (int i = 1; i <= 20; ++i) records.push_back(layer(4, i * 1.0, 18.0, 0.0, 30.0));
  // 20 records plus the two cuts inside layers give 22 layers.
  const SoilProfile p = subdivideLayers(records, 3.5, 7.5, 1.0);
  EXPECT_TRUE(p.overflow);
  EXPECT_EQ(p.n(), kMaxProfileLayers);

  // Twenty records with one cut fit exactly.
  const SoilProfile fits = subdivideLayers(records, 3.5, 3.5, 1.0);
  EXPECT_FALSE(fits.overflow);
  EXPECT_EQ(fits.n(), 21);
}

TEST(SoilProfile, EffectiveOverburdenAndTotalStressRule) {
  // q = 10; sand 18 to 4 m, clay 17 with a user coefficient to 8 m, clay 16 without one
  // to 12 m, sand 20 with a coefficient to 15 m; water table at 2 m, excavation at 6 m.
  const double q = 10.0, gw = 9.81, dwb = 2.0;
  SoilProfile p = subdivideLayers({layer(4, 4.0, 18.0, 0.0, 30.0), layer(1, 8.0, 17.0, 25.0, 0.0, 0.6),
                                   layer(2, 12.0, 16.0, 30.0, 0.0), layer(4, 15.0, 20.0, 0.0, 35.0, 0.5)},
                                  6.0, dwb, 1.0);
  computeOverburden(p, q, dwb, gw);
  // Layers: 0-2 sand, 2-4 sand, 4-6 clay, 6-8 clay, 8-12 clay, 12-15 sand.
  ASSERT_EQ(p.n(), 6);
  const double total[] = {q, q + 36.0, q + 72.0, q + 72.0 + 34.0, q + 72.0 + 68.0, q + 72.0 + 68.0 + 64.0};
  for (int i = 0; i < p.n(); ++i) {
    const double z = p.layers[i].ztop;
    const double u = z >= dwb ? (z - dwb) * gw : 0.0;
    EXPECT_NEAR(p.layers[i].sigvp, total[i] - u, 1e-9) << i;
    EXPECT_EQ(p.layers[i].belowWater, z >= dwb) << i;
  }
  EXPECT_NEAR(p.sigvpExcavation, total[3] - 4.0 * gw, 1e-9);
  EXPECT_DOUBLE_EQ(p.bottom, 15.0);

  applyTotalStressRule(p, dwb, gw);
  // Only the clay with a user coefficient goes back to total stress; the sand with one
  // and the clay without one stay effective.
  EXPECT_NEAR(p.layers[2].sigvp, total[2], 1e-9);
  EXPECT_NEAR(p.layers[3].sigvp, total[3], 1e-9);
  EXPECT_NEAR(p.layers[4].sigvp, total[4] - 6.0 * gw, 1e-9);
  EXPECT_NEAR(p.layers[5].sigvp, total[5] - 10.0 * gw, 1e-9);
  EXPECT_NEAR(p.sigvpExcavation, total[3] - 4.0 * gw, 1e-9);  // the saved value stays effective
}

}  // namespace
}  // namespace tarnel::engine::pressure
