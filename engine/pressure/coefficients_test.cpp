#include "engine/pressure/coefficients.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace tarnel::engine::pressure {
namespace {

constexpr double deg = std::numbers::pi / 180.0;

TEST(Coefficients, RankineLevelGround) {
  for (double phi : {0.0, 20.0, 30.0, 36.5, 45.0}) {
    const double ka = (1.0 - std::sin(phi * deg)) / (1.0 + std::sin(phi * deg));
    const double kp = (1.0 + std::sin(phi * deg)) / (1.0 - std::sin(phi * deg));
    const ActiveCoefficient a = activeCoefficient(phi, 0.0);
    EXPECT_NEAR(a.ka, ka, 1e-5 * ka + 1e-9) << phi;
    EXPECT_NEAR(a.sqrtKa, std::sqrt(ka), 1e-5) << phi;
    EXPECT_FALSE(a.slopeTooSteep);
    EXPECT_NEAR(passiveCoefficient(phi), kp, 1e-5 * kp) << phi;
  }
}

TEST(Coefficients, InclinedBackfill) {
  struct Case { double phi, beta, ka; };
  // Tabled Rankine coefficients for a sloping granular backfill (Das, Principles of
  // Foundation Engineering), to four digits.
  const Case table[] = {{30.0, 10.0, 0.3495}, {30.0, 20.0, 0.4142}, {35.0, 15.0, 0.2968}, {40.0, 25.0, 0.2750}};
  for (const auto& c : table) {
    const double cb = std::cos(c.beta * deg), cp = std::cos(c.phi * deg);
    const double formula = cb * (cb - std::sqrt(cb * cb - cp * cp)) / (cb + std::sqrt(cb * cb - cp * cp));
    const ActiveCoefficient a = activeCoefficient(c.phi, c.beta);
    EXPECT_NEAR(a.ka, formula, 1e-6) << c.phi << " " << c.beta;
    EXPECT_NEAR(a.ka, c.ka, 1e-4) << c.phi << " " << c.beta;
    EXPECT_NEAR(a.sqrtKa * a.sqrtKa, a.ka, 1e-12);
    EXPECT_FALSE(a.slopeTooSteep);
    // A slope upward or downward gives the same coefficient; the passive one ignores it.
    EXPECT_DOUBLE_EQ(activeCoefficient(c.phi, -c.beta).ka, a.ka);
  }
}

TEST(Coefficients, SlopeNotFlatterThanPhiKeepsLevelGroundValue) {
  for (double beta : {30.0, 35.0, -40.0}) {
    const ActiveCoefficient a = activeCoefficient(30.0, beta);
    EXPECT_TRUE(a.slopeTooSteep) << beta;
    EXPECT_NEAR(a.ka, 1.0 / 3.0, 1e-5) << beta;
  }
  // A clay (phi 0) under any slope takes the level-ground value with the warning.
  const ActiveCoefficient clay = activeCoefficient(0.0, 5.0);
  EXPECT_TRUE(clay.slopeTooSteep);
  EXPECT_NEAR(clay.ka, 1.0, 1e-5);
}

}  // namespace
}  // namespace tarnel::engine::pressure
