// A hand-worked case of the generated earth pressure, run end to end: a cantilever in
// uniform dry sand with its Rankine load and generated soil resistance, whose largest
// moment is compared with a limit-equilibrium estimate worked out here.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/soilcurves/sand_criterion_reference.h"
#include "engine/testing/engine_run.h"

namespace tarnel::engine::pressure {
namespace {

using engine::testing::EngineOutput;
namespace ref = engine::testing::reference;

// SI: a wall 12 m long in 120 increments, excavated to H = 3 m, in sand of 18 kN/m^3 and
// phi 30 degrees without water, for a 1 m wide strip of a continuous wall (WA = WP = 1 m,
// touching elements). The sand is given in layers of 0.5 m below the excavation so that
// the generated curves lie 0.125 m apart where the soil resistance builds up. The wall
// is flexible (EI = 300 kN m^2/m) so that the soil above the point of zero shear is
// pushed past the deflection b/60 of the criterion, where a limit-equilibrium estimate
// describes it.
constexpr double kGamma = 18.0, kPhiDeg = 30.0, kFree = 3.0, kB = 1.0, kH = 0.1;
constexpr int kNinc = 120;

std::string cantileverData() {
  std::vector<std::string> lines = {"Cantilever in dry sand",
                                    "2 0\t1\t0\t2\t2 0 1 0 0",
                                    "120 0.1\t10\t1E-6\t3\t1",
                                    "0\t120\t1\t300",
                                    "0",
                                    "0",
                                    "3\t1\t1\t1000\t1000\t1\t1\t0",
                                    "0\t0\t0\t0\t0\t0",
                                    "0",
                                    "9"};
  for (const char* bottom : {"3.5", "4", "4.5", "5", "5.5", "6", "6.5", "7", "12"}) {
    lines.push_back(std::string("4 ") + bottom + " ");
    lines.push_back("18 0.0  30 0.0  24400 0 ");
    lines.push_back("18 0.0  30 0.0  24400 0 ");
  }
  lines.push_back("0");
  return engine::testing::crlf(lines);
}

double rankineKa(double phi) { return std::pow(std::tan(ref::kPi / 4 - phi / 2), 2); }

struct LimitEquilibrium {
  double zeroShearDepth = 0, moment = 0;
};

// Rigid-plastic cantilever: above the excavation the Rankine active pressure
// Ka gamma z; below it the retained side keeps Ka gamma H (the overburden added below
// the excavation level acts on both sides) and the excavated side resists with
// `factor` x ps, ps being the passive resistance of a continuous wall with Coulomb's
// Kp (wall friction phi/2) as the sand criterion takes it for touching elements. The
// largest moment is where the shear vanishes. Integrated on a fine grid.
LimitEquilibrium estimate(const double* factor) {
  const double phi = ref::deg(kPhiDeg), ka = rankineKa(phi), kp = ref::coulombKp(phi, phi / 2);
  const double dz = 1e-5;
  double shear = 0, moment = 0;
  for (double z = dz / 2; z < kNinc * kH; z += dz) {
    double f = ka * kGamma * std::min(z, kFree) * kB;
    if (z > kFree) {
      const double x = z - kFree;
      f -= ref::table(factor, x / kB) * kp * kGamma * x * kB;
    }
    shear += f * dz;
    moment += shear * dz;
    if (shear < 0) return {z, moment};
  }
  return {};
}

const EngineOutput& out() { return engine::testing::sharedRunOn(cantileverData()); }

TEST(SandCantilever, LoadedWithRankinePressureDownToTheExcavation) {
  ASSERT_TRUE(out().reportExists);
  ASSERT_FALSE(engine::testing::stopped(out().report)) << out().report;
  const double ka = rankineKa(ref::deg(kPhiDeg));
  const int excavation = static_cast<int>(std::lround(kFree / kH));
  for (int j = 0; j <= kNinc; ++j) {
    // Ka gamma z over the width WA, times the increment for a force per station; the
    // table passes through three significant digits. Below the excavation the soil acts
    // through the p-y curves, not as load.
    const double expected = j >= 1 && j <= excavation ? ka * kGamma * j * kH * kB * kH : 0.0;
    EXPECT_NEAR(out().stations.Q[Stations::slot(j)], expected, 5e-4 * expected + 1e-12) << "station " << j;
  }
  // The shear at the excavation level is the Rankine thrust Ka gamma H^2 / 2.
  const StationResult& atExcavation = out().results[excavation];
  EXPECT_NEAR(atExcavation.shear, 0.5 * ka * kGamma * kFree * kFree * kB, 0.01 * 0.5 * ka * kGamma * kFree * kFree);
}

TEST(SandCantilever, CurvesTopOutAtThePassiveResistanceLessTheActiveLoad) {
  ASSERT_FALSE(engine::testing::stopped(out().report)) << out().report;
  // The first layer below the excavation (3 to 3.5 m) holds the first five curves, at
  // its top + 0.01 m, its quarter points and its bottom - 0.01 m. Each side's plateau is
  // the criterion's A ps at the depth below that side's surface, with ps the Coulomb
  // passive resistance of a continuous wall; the excavated side gives up, and the
  // retained side gains, the active pressure Ka gamma H that the retained soil keeps on
  // the wall below the excavation level.
  const double phi = ref::deg(kPhiDeg), kp = ref::coulombKp(phi, phi / 2);
  const double active = rankineKa(phi) * kGamma * kFree * kB;
  ASSERT_GE(out().curves.size(), 5u);
  const double depths[] = {3.01, 3.125, 3.25, 3.375, 3.49};
  for (int i = 0; i < 5; ++i) {
    const PyCurve& c = out().curves[i];
    const double X = depths[i];
    EXPECT_EQ(c.station, static_cast<int>(std::lround(X / kH))) << X;
    const double excavated = ref::table(ref::kA, (X - kFree) / kB) * kp * kGamma * (X - kFree) * kB;
    const double retained = ref::table(ref::kA, X / kB) * kp * kGamma * X * kB;
    // Three significant digits of the scratch file, on the larger of the two terms.
    EXPECT_NEAR(c.p.back(), -(excavated - active) * kH, 5e-3 * std::max(excavated, active) * kH) << X;
    EXPECT_NEAR(c.p.front(), (retained + active) * kH, 5e-3 * (retained + active) * kH) << X;
  }
}

TEST(SandCantilever, LargestMomentBetweenTheLimitEquilibriumBounds) {
  ASSERT_FALSE(engine::testing::stopped(out().report)) << out().report;
  // Bounds, from the shape of the criterion's curve (resistance growing with deflection):
  // no point of a curve exceeds the ultimate resistance pu = A ps, so the moment at any
  // depth is at least that of the fully plastic estimate with A; and once the deflection
  // exceeds ym = b/60 every point carries at least pm = B ps, so the moment is at most
  // that of the estimate with B, provided the soil down to that estimate's point of zero
  // shear has deflected that far (asserted below).
  const LimitEquilibrium lower = estimate(ref::kA), upper = estimate(ref::kB);
  ASSERT_GT(lower.zeroShearDepth, kFree);
  ASSERT_GT(upper.zeroShearDepth, lower.zeroShearDepth);
  for (const StationResult& r : out().results) {
    if (r.depth >= kFree && r.depth <= upper.zeroShearDepth) {
      ASSERT_GT(r.deflection, kB / 60.0) << "the soil at " << r.depth << " m is not pushed past ym";
    }
  }

  double largest = 0, depthOfLargest = 0;
  for (const StationResult& r : out().results) {
    if (r.moment > largest) {
      largest = r.moment;
      depthOfLargest = r.depth;
    }
  }
  // 1 % either side for the station spacing (the moment of the discrete loads and the
  // half values at the chain ends) and the three significant digits of the tables.
  EXPECT_GT(largest, 0.99 * lower.moment) << "estimate with pu: " << lower.moment << " at " << lower.zeroShearDepth;
  EXPECT_LT(largest, 1.01 * upper.moment) << "estimate with pm: " << upper.moment << " at " << upper.zeroShearDepth;
  EXPECT_GT(depthOfLargest, lower.zeroShearDepth - kH);
  EXPECT_LT(depthOfLargest, upper.zeroShearDepth + kH);
}

}  // namespace
}  // namespace tarnel::engine::pressure
