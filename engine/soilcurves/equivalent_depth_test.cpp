// Equivalent depth: the closed form of the clays and the stepping of the other kinds
// against integrals worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/soilcurves/equivalent_depth.h"
#include "engine/soilcurves/py_test_support.h"

namespace tarnel::engine::py {
namespace {

using testing::near;

TEST(EquivalentDepth, CappedLinearResistanceInClosedForm) {
  // pu = 2 + z up to the cap 5 at z = 3, where the integral is 10.5.
  EXPECT_TRUE(near(-2.0 + std::sqrt(12.0), cappedLinearDepth(2.0, 1.0, 5.0, 4.0), 1e-12));
  EXPECT_TRUE(near(3.0, cappedLinearDepth(2.0, 1.0, 5.0, 10.5), 1e-12));
  EXPECT_TRUE(near(3.0 + 9.5 / 5.0, cappedLinearDepth(2.0, 1.0, 5.0, 20.0), 1e-12));
  EXPECT_EQ(cappedLinearDepth(2.0, 1.0, 5.0, -1.0), 0.0);  // nothing above to match
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_TRUE(near(4.0, cappedLinearDepth(0.0, 1.0, inf, 8.0), 1e-12));
}

TEST(EquivalentDepth, SteppingFindsTheDepthOfEqualArea) {
  // pu = z: area z^2/2 reaches 8 at z = 4, inside the stepped range.
  EXPECT_TRUE(near(4.0, steppedDepth([](double z) { return z; }, 8.0, 10.0, 40, 1.0), 1e-3));
  // Past the meeting depth the deep value holds: pu = min(z, 2), area 2 + 2 (z - 2).
  EXPECT_TRUE(near(5.0, steppedDepth([](double z) { return std::min(z, 2.0); }, 8.0, 2.0, 40, 1.0), 1e-9));
  // A layer without resistance gets no equivalent depth.
  EXPECT_EQ(steppedDepth([](double) { return 0.0; }, 8.0, 2.0, 40, 1.0), 0.0);
}

}  // namespace
}  // namespace tarnel::engine::py
