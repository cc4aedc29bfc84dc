#include "engine/fixed_format.h"

#include <gtest/gtest.h>

#include <limits>

namespace tarnel::fmt {
namespace {

struct Case {
  double v;
  int w, d;
  const char* expected;
};

TEST(FixedFormat, ExponentForm) {
  const Case cases[] = {
      {0.0, 10, 3, " 0.000E+00"},
      {1234.5, 10, 3, " 0.123E+04"},
      {-1234.5, 10, 3, "-0.123E+04"},
      {0.9996, 10, 3, " 0.100E+01"},   // rounding carries into the next power of ten
      {0.0009996, 10, 3, " 0.100E-02"},
      {1.0e-5, 10, 3, " 0.100E-04"},
      {1.5e120, 10, 3, " 0.150+121"},  // three exponent digits drop the letter
      {-2.5e-150, 10, 3, "-0.250-149"},
      {12345.678, 13, 4, "   0.1235E+05"},
      {1.0, 15, 4, "     0.1000E+01"},
      {1.0, 6, 3, "******"},
  };
  for (const auto& c : cases) EXPECT_EQ(exponent(c.v, c.w, c.d), c.expected) << c.v;
}

TEST(FixedFormat, FixedAndScaled) {
  const Case fixedCases[] = {
      {0.0, 9, 3, "    0.000"},   {12.3456, 9, 3, "   12.346"}, {-0.5, 9, 3, "   -0.500"},
      {-0.0001, 9, 3, "    0.000"}, {123456789.0, 9, 3, "*********"}, {0.5, 4, 3, ".500"},
      {1234.5678, 10, 2, "   1234.57"},
  };
  for (const auto& c : fixedCases) EXPECT_EQ(fixed(c.v, c.w, c.d), c.expected) << c.v;
  const Case scaledCases[] = {
      {1.0e-5, 9, 3, "1.000E-05"}, {0.0, 9, 3, "0.000E+00"}, {9.9996, 9, 3, "1.000E+01"},
      {-1.0e-5, 9, 3, "*********"}, {123.456, 12, 4, "  1.2346E+02"},
  };
  for (const auto& c : scaledCases) EXPECT_EQ(scaled(c.v, c.w, c.d), c.expected) << c.v;
}

TEST(FixedFormat, IntegersAndNonFinite) {
  EXPECT_EQ(integer(7, 4), "   7");
  EXPECT_EQ(integer(-12, 3), "-12");
  EXPECT_EQ(integer(1000, 3), "***");
  EXPECT_EQ(twoDigits(5), "05");
  EXPECT_EQ(twoDigits(59), "59");
  EXPECT_EQ(exponent(std::numeric_limits<double>::quiet_NaN(), 10, 3), "**********");
  EXPECT_EQ(fixed(std::numeric_limits<double>::infinity(), 6, 2), "******");
  EXPECT_EQ(free(0.1), "0.1");
  EXPECT_EQ(free(1.0e-7), "1e-07");
}

}  // namespace
}  // namespace tarnel::fmt
