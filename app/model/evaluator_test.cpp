#include "app/model/evaluator.h"

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

namespace tarnel::model {
namespace {

std::string MessageOf(const char* text) {
  std::string m;
  EXPECT_FALSE(TryEvaluate(text, &m).has_value()) << text;
  return m;
}

TEST(Evaluator, OperatorsLeftToRightByLevel) {
  struct Case {
    const char* text;
    long double value;
  };
  const Case cases[] = {
      {"2^3^2", 64},      // left to right: (2^3)^2
      {"-2^2", 4},        // the sign belongs to the number
      {"2*-3", -6},       {"5-3", 2},         {"1E-5", 1e-5L},   {"2e-1*10", 2},
      {"7%3", 1},         {"7.9%3", 1},       {"-7%3", -1},      {"3*12+6", 42},
      {"1+2*3", 7},       {"2*3^2", 18},      {"10/4", 2.5},     {"5--3", 8},
      {"1=1", 1},         {"1=2", 0},         {"2+2=4", 1},      {"1&0", 0},
      {"2&3", 1},         {"0|0", 0},         {"0|5", 1},        {"1-2-3", -4},
      {"8/2/2", 2},       {" 1 + 1 ", 2},     {"\t3\t", 3},      {"(1+2)*3", 9},
      {"((2))", 2},       {"2*(3+(4-1))", 12}, {"-(2+3)", -5},   {"$FF", 255},
      {"$ff+1", 256},     {"-$10", -16},      {"5!", 120},       {"0!", 1},
      {"(-3)!", -6},      {"3!*2", 12},       {"abs(-2)", 2},    {"int(2.7)", 2},
      {"frac(2.75)", 0.75L}, {"round(2.5)", 2}, {"ceil(1.2)", 2}, {"floor(-1.2)", -2},
      {"log(1000)", 3},   {"ln(e)", 1},       {"sqrt(16)", 4},   {"SQRT(16)", 4},
      {"sqrt(4)-1", 1},   {"abs-2", 2},       {"2^-1", 0.5L},    {"-e", -std::numbers::e_v<long double>},
  };
  for (const auto& c : cases) {
    std::string m;
    const auto v = TryEvaluate(c.text, &m);
    ASSERT_TRUE(v.has_value()) << c.text << ": " << m;
    EXPECT_NEAR(static_cast<double>(*v), static_cast<double>(c.value), 1e-15) << c.text;
  }
}

TEST(Evaluator, ConstantsAndFunctions) {
  EXPECT_NEAR(static_cast<double>(Evaluate("sqrt(2)/2")), std::sqrt(2.0) / 2, 1e-15);
  EXPECT_NEAR(static_cast<double>(Evaluate("pi/4")), std::numbers::pi / 4, 1e-15);
  EXPECT_NEAR(static_cast<double>(Evaluate("-pi")), -std::numbers::pi, 1e-15);
  EXPECT_NEAR(static_cast<double>(Evaluate("sin(pi/6)")), 0.5, 1e-15);
  EXPECT_NEAR(static_cast<double>(Evaluate("cos(0)")), 1.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(Evaluate("tan(pi/4)")), 1.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(Evaluate("cotan(pi/4)")), 1.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(Evaluate("sec(0)")), 1.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(Evaluate("cosec(pi/2)")), 1.0, 1e-15) << "cosec is not read as cos";
  EXPECT_NEAR(static_cast<double>(Evaluate("csc(pi/2)")), 1.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(Evaluate("arctan(1)*4")), std::numbers::pi, 1e-15);
  EXPECT_NEAR(static_cast<double>(Evaluate("arcsin(1)")), std::numbers::pi / 2, 1e-15);
  EXPECT_NEAR(static_cast<double>(Evaluate("arccos(1)")), 0.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(Evaluate("sinh(0)+cosh(0)+tanh(0)")), 1.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(Evaluate("arcsinh(0)+arccosh(1)+arctanh(0)")), 0.0, 1e-15);
}

TEST(Evaluator, ErrorMessages) {
  const std::string prefix = "Entry could not be evaluated:\n";
  EXPECT_EQ(MessageOf(""), prefix + "entry cannot be blank");
  EXPECT_EQ(MessageOf("   "), prefix + "entry cannot be blank");
  EXPECT_EQ(MessageOf("1+2)"), prefix + "() (parentheses) do not match");
  EXPECT_EQ(MessageOf("((1+2)"), prefix + "invalid character(s) in expression");
  EXPECT_EQ(MessageOf("2*"), prefix + "invalid expression");
  EXPECT_EQ(MessageOf("*2"), prefix + "invalid expression");
  EXPECT_EQ(MessageOf("2**3"), prefix + "invalid expression");
  EXPECT_EQ(MessageOf("2.5!"), prefix + "! (factoral) applicable to integers only");
  EXPECT_EQ(MessageOf("$XYZ"), prefix + "invalid use of $ (hex function)");
  EXPECT_EQ(MessageOf("$"), prefix + "invalid use of $ (hex function)");
  EXPECT_EQ(MessageOf("abc"), prefix + "invalid character(s) in expression");
  EXPECT_EQ(MessageOf("1,5"), prefix + "invalid character(s) in expression");
}

TEST(Evaluator, ArithmeticFaultsNeverGiveInfiniteValues) {
  const std::string prefix = "Entry could not be evaluated:\n";
  EXPECT_EQ(MessageOf("1/0"), prefix + "division by zero");
  EXPECT_EQ(MessageOf("5%0"), prefix + "division by zero");
  EXPECT_EQ(MessageOf("1/(2-2)"), prefix + "division by zero");
  // Beyond the largest double (about 1.797E308) a field would hold an infinity, saved as 0.
  EXPECT_EQ(MessageOf("1E400"), prefix + "floating point overflow");
  EXPECT_EQ(MessageOf("2E308"), prefix + "floating point overflow");
  EXPECT_NEAR(static_cast<double>(Evaluate("1E400/1E300")), 1e100, 1e85) << "intermediate values may exceed it";
  EXPECT_EQ(CheckEntry("1E400", EntryLimits{}).message, prefix + "floating point overflow");
  EXPECT_FALSE(CheckEntry("1E400", EntryLimits{}).valid);
  for (const char* text : {"sqrt(-1)", "ln(0)", "ln(-2)", "log(0)", "arcsin(2)", "10^100000",
                           "3000!", "(-8)^(1/3)", "1E5000*1E5000", "1E400", "-2E308"}) {
    std::string m;
    const auto v = TryEvaluate(text, &m);
    EXPECT_FALSE(v.has_value()) << text;
    EXPECT_EQ(m.rfind(prefix, 0), 0u) << text << ": " << m;
  }
}

TEST(Evaluator, HugePastedTextIsRefusedNotOverflowingTheStack) {
  std::string nested;
  for (int i = 0; i < 200000; ++i) nested += "abs";
  nested += "1";
  EXPECT_FALSE(TryEvaluate(nested).has_value());
  std::string sum = "1";
  for (int i = 0; i < 1000; ++i) sum += "+1";
  EXPECT_EQ(Evaluate(sum), 1001);
}

TEST(Evaluator, EntryChecksOfANumericField) {
  EntryLimits lim;
  lim.integerOnly = true;
  lim.minVal = 1;
  lim.maxVal = 300;
  auto r = CheckEntry("500", lim);
  EXPECT_FALSE(r.valid);
  EXPECT_EQ(r.message, "Entry must be less than or equal to 300");
  EXPECT_EQ(r.value, 300);
  EXPECT_EQ(r.text, "300");
  r = CheckEntry("0", lim);
  EXPECT_EQ(r.message, "Entry must be greater than or equal to 1");
  EXPECT_EQ(r.value, 1);
  r = CheckEntry("2.5", lim);
  EXPECT_EQ(r.message, "Entry must be an integer.");
  r = CheckEntry("x", lim);
  EXPECT_EQ(r.message, "Entry must be a valid integer.");
  r = CheckEntry("2*3", lim);
  EXPECT_TRUE(r.valid);
  EXPECT_EQ(r.value, 6);
  EXPECT_EQ(r.text, "6");
  r = CheckEntry("1/3", EntryLimits{});
  EXPECT_TRUE(r.valid);
  EXPECT_EQ(r.text, "0.333333333333333333");
  r = CheckEntry("1/0", EntryLimits{});
  EXPECT_FALSE(r.valid);
  EXPECT_EQ(r.message, "Entry could not be evaluated:\ndivision by zero");
}

TEST(Evaluator, LimitsStayConsistent) {
  EntryLimits lim;
  lim.SetMin(10);
  lim.SetMax(5);
  EXPECT_EQ(lim.maxVal, 10) << "a maximum below the minimum becomes the minimum";
  lim.SetMax(20);
  lim.SetMin(30);
  EXPECT_EQ(lim.minVal, 20) << "a minimum above the maximum becomes the maximum";
  EntryLimits whole;
  whole.SetIntegerOnly(true);
  EXPECT_EQ(whole.minVal, -2147483648.0L);
  EXPECT_EQ(whole.maxVal, 2147483647.0L);
  whole.SetMax(1e12L);
  EXPECT_EQ(whole.maxVal, 2147483647.0L);
  EXPECT_EQ(lim.Clamp(25), 20);
  EXPECT_EQ(lim.Clamp(19), 20);
}

TEST(Evaluator, HexDisplay) {
  EXPECT_EQ(FormatHex(255), "$00FF");
  EXPECT_EQ(FormatHex(0x12345), "$12345");
  EXPECT_EQ(FormatHex(0), "$0000");
  EXPECT_EQ(FormatHex(-1), "$FFFFFFFFFFFFFFFF");
  EXPECT_EQ(FormatHex(1e30L), "$7FFFFFFFFFFFFFFF") << "beyond 64 bits the limit is shown";
}

}  // namespace
}  // namespace tarnel::model
