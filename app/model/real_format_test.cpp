#include "app/model/real_format.h"

#include <clocale>
#include <locale>
#include <string>

#include <gtest/gtest.h>

namespace tarnel::model {
namespace {

TEST(RealFormat, GeneralFormatWithEightDigits) {
  struct Case {
    long double v;
    const char* text;
  };
  const Case cases[] = {
      {0.0001L, "0.0001"},       {0.00001L, "1E-5"},          {123456789.0L, "1.2345679E8"},
      {-2.5L, "-2.5"},           {0.0L, "0"},                 {-0.0L, "0"},
      {1.5e20L, "1.5E20"},       {99999999.5L, "1E8"},        {99999999.0L, "99999999"},
      {100.0L, "100"},           {12345678.0L, "12345678"},   {0.1L, "0.1"},
      {1.0L / 3.0L, "0.33333333"}, {2.0L / 3.0L, "0.66666667"}, {-1.25e-7L, "-1.25E-7"},
      {0.00009999999999L, "0.0001"}, {1728.0L, "1728"},          {3e300L, "3E300"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatReal(c.v, 8), c.text) << static_cast<double>(c.v);
}

TEST(RealFormat, EighteenDigitsForExpressions) {
  EXPECT_EQ(FormatReal(0.5L, 18), "0.5");
  EXPECT_EQ(FormatReal(64.0L, 18), "64");
  EXPECT_EQ(FormatReal(1.0L / 3.0L, 18), "0.333333333333333333");
  EXPECT_EQ(FormatReal(1e-5L, 18), "1E-5");
}

TEST(RealFormat, ParsingAcceptsOnlyDotDecimals) {
  EXPECT_EQ(ParseReal("1E-5"), 1e-5L);
  EXPECT_EQ(ParseReal("-2.5"), -2.5L);
  EXPECT_EQ(ParseReal("+3"), 3.0L);
  EXPECT_EQ(ParseReal(".5"), 0.5L);
  EXPECT_EQ(ParseReal("5."), 5.0L);
  for (const char* bad : {"1,5", "", "-", "inf", "nan", "0x10", "1E", "1e+", "abc", "1.2.3", "1 2"})
    EXPECT_FALSE(ParseReal(bad).has_value()) << bad;
}

TEST(RealFormat, IntegersMayBeWrittenAsWholeReals) {
  EXPECT_EQ(ParseInteger("3"), 3);
  EXPECT_EQ(ParseInteger("3.0"), 3);
  EXPECT_EQ(ParseInteger("-2147483648"), -2147483648LL);
  EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
  EXPECT_FALSE(ParseInteger("2147483648").has_value());
  EXPECT_FALSE(ParseInteger("3.5").has_value());
  EXPECT_FALSE(ParseInteger("1E12").has_value());
  EXPECT_FALSE(ParseInteger("x").has_value());
}

// A C++ locale whose decimal point is a comma, whatever locales the system has installed.
struct CommaPoint : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

TEST(RealFormat, IndependentOfTheUserLocale) {
  const std::locale before = std::locale::global(std::locale(std::locale::classic(), new CommaPoint));
  // The C locale too, where one with a decimal comma is installed.
  const char* set = nullptr;
  for (const char* n : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8"})
    if ((set = std::setlocale(LC_ALL, n))) break;
  EXPECT_EQ(FormatReal(-2.5L, 8), "-2.5");
  EXPECT_EQ(FormatReal(1234567.5L, 8), "1234567.5");
  EXPECT_EQ(ParseReal("2.5"), 2.5L);
  EXPECT_FALSE(ParseReal("2,5").has_value());
  std::setlocale(LC_ALL, "C");
  std::locale::global(before);
}

}  // namespace
}  // namespace tarnel::model
