// Inputs the mechanics cannot carry: values that overflow, undefined numbers, outputs
// that cannot be written. Each either runs to finite results or stops with a message
// that names what went wrong; none may crash, and none may print asterisks or a 0 where
// a result belongs.
#include "engine/driver.h"
#include "engine/testing/engine_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace tarnel::engine {
namespace {

namespace fs = std::filesystem;
using testing::EngineOutput;
using testing::runEngineOn;

std::vector<std::string> exampleLines(const char* name) {
  auto ls = testing::lines(testing::readFile(fs::path(TARNEL_SOURCE_DIR) / "examples" / name));
  for (auto& l : ls)
    if (!l.empty() && l.back() == '\r') l.pop_back();
  return ls;
}

// Word `item` (0-based) of line `line` (0-based) replaced by `value`.
std::string withWord(std::vector<std::string> ls, std::size_t line, std::size_t item, const std::string& value) {
  std::istringstream in(ls[line]);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  words[item] = value;
  std::string joined;
  for (const auto& w : words) joined += (joined.empty() ? "" : "\t") + w;
  ls[line] = joined;
  return testing::crlf(ls);
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Stopped with a message, or finite results without asterisks in their place.
void expectSound(const EngineOutput& out, const std::string& what) {
  if (testing::stopped(out.report)) return;
  EXPECT_EQ(testing::nonFiniteValue(out), "") << what;
  EXPECT_EQ(testing::asteriskFields(out), std::vector<std::string>{}) << what;
}

// The checks find what they guard: they fail on outputs that carry a non-finite value.
TEST(OutputChecks, FindNonFiniteValuesAndAsteriskFields) {
  EngineOutput out;
  out.report = "     END OF ANALYSIS\n";
  EXPECT_FALSE(testing::stopped(out.report));
  EXPECT_EQ(testing::nonFiniteValue(out), "");
  out.results.push_back({3, 36.0, std::nan(""), 0, 0, 0, 0, 1e9});
  EXPECT_EQ(testing::nonFiniteValue(out), "a result of station 3");
  out.results.clear();
  out.curves.push_back({4, 0, {0.0, 1.0}, {0.0, HUGE_VAL}});
  EXPECT_EQ(testing::nonFiniteValue(out), "point 2 of the p-y curve at station 4");

  out.plot = " 1 2 1\n  0.0000E+00 *************  0.0000E+00  0.0000E+00  0.0000E+00\n";
  EXPECT_EQ(testing::asteriskFields(out).size(), 1u);
  out.plot.clear();
  out.report = "   ------    ----        ----       -----      ------      ------    ---------    ----------\n"
               "     0   0.000E+00************  0.100E+01\n\n";
  EXPECT_EQ(testing::asteriskFields(out).size(), 1u);
  out.report.clear();
  out.notes = "      1       NO          0  **********  0.100E-01\n";
  EXPECT_EQ(testing::asteriskFields(out).size(), 1u);

  EXPECT_TRUE(testing::hasAsteriskField("      UNIFORM SURFACE PRESSURE     =**********  KPA\n"));
  EXPECT_TRUE(testing::hasAsteriskField("       1 **********   2.00\n"));
  EXPECT_FALSE(testing::hasAsteriskField("      **************************************************\n"
                                         "      *        SOIL LAYERS AND STRENGTH DATA           *\n"
                                         "                             **** WARNING ****\n"));
  EXPECT_TRUE(testing::stopped("     ERROR STOP -- STATIONS NOT IN ORDER\n\n\n     END OF ANALYSIS\n"));
  EXPECT_TRUE(testing::stopped("      --------------------WARNING----------------------\n"));
}

// ---- One regression input per class found by the fuzzing and extreme-value runs ----

struct RegressionCase {
  const char* name;
  const char* example;
  std::size_t line, item;  // 0-based
  const char* value;
  const char* message;  // a line of the report that names the fault
};

class Regression : public ::testing::TestWithParam<RegressionCase> {};

TEST_P(Regression, StopsWithAMessageNamingTheFault) {
  const RegressionCase& c = GetParam();
  const EngineOutput out = runEngineOn(withWord(exampleLines(c.example), c.line, c.item, c.value));
  EXPECT_TRUE(testing::stopped(out.report)) << out.report;
  EXPECT_TRUE(contains(out.report, c.message)) << c.name << "\n" << out.report;
  EXPECT_EQ(testing::asteriskFields(out), std::vector<std::string>{}) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Classes, Regression,
    ::testing::Values(
        // A p-y width that overflows the generated curves (once a crash in the stiff-clay
        // table look-up): refused where it is read.
        RegressionCase{"WpOf1E306", "triangular-surcharges.tn5d", 6, 2, "1E306",
                       "DATA FILE ERROR IN THE EARTH PRESSURE RECORD (line 7, item 3)"},
        // A stiffness whose products overflow.
        RegressionCase{"EIOf1E308", "triangular-surcharges.tn5d", 3, 3, "1E308",
                       "DATA FILE ERROR IN THE STIFFNESS ROW (line 4, item 4)"},
        // A stiffness so small that the solution overflows.
        RegressionCase{"EIOf1Eminus308", "triangular-surcharges.tn5d", 3, 3, "1E-308", "IS NOT A FINITE NUMBER"},
        RegressionCase{"WaOf1E308", "triangular-surcharges.tn5d", 6, 1, "1E308",
                       "DATA FILE ERROR IN THE EARTH PRESSURE RECORD (line 7, item 2)"},
        RegressionCase{"PyPointOf1E308", "cantilever-user-load.tn5d", 31, 1, "1E308",
                       "DATA FILE ERROR IN THE P-Y CURVE POINT"},
        RegressionCase{"SoilKind8", "triangular-surcharges.tn5d", 13, 0, "8",
                       "ERROR STOP -- SOIL LAYER 1 HAS SOIL KIND 8, IT MUST BE 1 TO 7"},
        RegressionCase{"SoilKind0", "triangular-surcharges.tn5d", 16, 0, "0",
                       "ERROR STOP -- SOIL LAYER 2 HAS SOIL KIND 0, IT MUST BE 1 TO 7"}),
    [](const auto& info) { return std::string(info.param.name); });

// More surcharges than the storage holds.
TEST(Robustness, SurchargesBeyondTheStorage) {
  auto ls = exampleLines("triangular-surcharges.tn5d");
  ASSERT_EQ(ls[8], "3");
  ls[8] = std::to_string(kMaxSurcharges + 1);
  std::vector<std::string> rows(kMaxSurcharges + 1, "1\t50\t1500\t0");
  ls.erase(ls.begin() + 9, ls.begin() + 12);
  ls.insert(ls.begin() + 9, rows.begin(), rows.end());
  const EngineOutput out = runEngineOn(testing::crlf(ls));
  EXPECT_TRUE(contains(out.report, "TOO MUCH DATA FOR AVAILABLE STORAGE")) << out.report;
  // The storage itself is usable.
  ls[8] = std::to_string(kMaxSurcharges);
  ls.erase(ls.begin() + 9);
  const EngineOutput full = runEngineOn(testing::crlf(ls));
  EXPECT_FALSE(testing::stopped(full.report)) << full.report;
}

// A user p-y curve whose points times its multipliers and the increment length overflow:
// 1E150 times a p-multiplier of 1E150 times an increment of 1E10.
TEST(Robustness, UserCurveThatOverflowsWithItsMultipliers) {
  std::vector<std::string> ls = exampleLines("cantilever-user-load.tn5d");
  ls[2] = "70 1E10\t10\t1E-5\t180\t12";
  ls[21] = "36\t11\t1E150\t1";
  ls[22] = "-4\t1E150";
  const EngineOutput out = runEngineOn(testing::crlf(ls));
  EXPECT_TRUE(contains(out.report, "ERROR STOP -- POINT 1 OF P-Y CURVE 2 (Y AND P TIMES THEIR MULTIPLIERS, P TIMES "
                                   "THE INCREMENT LENGTH) IS NOT A FINITE NUMBER"))
      << out.report;
  EXPECT_EQ(testing::asteriskFields(out), std::vector<std::string>{});
}

}  // namespace
}  // namespace tarnel::engine

namespace tarnel::engine {
namespace {

// Every number of an example replaced in turn by extreme values: each run either stops
// with a message or computes finite results and prints them without asterisks. The
// example has generated pressures with surcharges and a water table, and a stiff clay
// with free water below a sand, so the sweep reaches both generators.
TEST(Robustness, ExtremeValueSweepOverAnExample) {
  const std::vector<std::string> original = exampleLines("triangular-surcharges.tn5d");
  const char* values[] = {"1E308", "-1E308", "1E-308", "0", "1E30", "-1E30", "1E-30"};
  int runs = 0, stoppedRuns = 0;
  for (std::size_t line = 1; line < original.size(); ++line) {  // line 0 is the title
    std::istringstream in(original[line]);
    std::size_t words = 0;
    for (std::string w; in >> w;) ++words;
    for (std::size_t item = 0; item < words; ++item) {
      for (const char* v : values) {
        const EngineOutput out = runEngineOn(withWord(original, line, item, v));
        ++runs;
        if (testing::stopped(out.report)) ++stoppedRuns;
        expectSound(out, "line " + std::to_string(line + 1) + " item " + std::to_string(item + 1) + " = " + v);
      }
    }
  }
  // The sweep reached the analysis: most values run, the impossible ones stop.
  EXPECT_GT(runs, 300);
  EXPECT_GT(stoppedRuns, 0);
  EXPECT_LT(stoppedRuns, runs);
}

}  // namespace
}  // namespace tarnel::engine

namespace tarnel::engine {
namespace {

// Every bundled example closes in global equilibrium: the lateral forces and their
// moments about the top of the wall balance within what the closure tolerance leaves.
TEST(Equilibrium, EveryExampleBalancesInForceAndMoment) {
  for (const auto& entry : fs::directory_iterator(fs::path(TARNEL_SOURCE_DIR) / "examples")) {
    if (entry.path().extension() != ".tn5d") continue;
    const std::string name = entry.path().filename().string();
    const EngineOutput out = runEngineOn(testing::readFile(entry.path()));
    ASSERT_FALSE(testing::stopped(out.report)) << name;
    ASSERT_FALSE(contains(out.report, "NOT CLOSED")) << name;
    ASSERT_TRUE(out.problem.restraints.empty()) << name << ": the balance needs the reactions of restraints";
    const testing::Balance b = testing::globalBalance(out);
    EXPECT_TRUE(b.balanced()) << name << ": force " << b.force << " (closure " << b.forceClosure << "), moment "
                              << b.moment << " (closure " << b.momentClosure << ")";
  }
}

// The axial load of the soldier-pile example (a deck of 40 kips) amplifies the head
// deflection and the moment of the same wall without it, by less than a free cantilever
// of the whole pile length would be amplified, 1 / (1 - N / Ncr) with
// Ncr = pi^2 EI / (2 L)^2.
TEST(Equilibrium, AxialLoadOfTheSoldierPileExampleAmplifiesItsBending) {
  auto ls = exampleLines("soldier-pile-axial-load.tn5d");
  const EngineOutput loaded = runEngineOn(testing::crlf(ls));
  ASSERT_EQ(ls[5], "1\t0\t70\t0\t0\t40000");
  ls[5] = "1\t0\t70\t0\t0\t0";
  const EngineOutput plain = runEngineOn(testing::crlf(ls));
  ASSERT_FALSE(testing::stopped(loaded.report));
  ASSERT_FALSE(testing::stopped(plain.report));
  auto maxMoment = [](const EngineOutput& o) {
    double m = 0;
    for (const StationResult& r : o.results) m = std::max(m, std::fabs(r.moment));
    return m;
  };
  const double pi = std::acos(-1.0), L = 70 * 6.0, ncr = pi * pi * 5.3e9 / (4.0 * L * L);
  const double head = loaded.results.front().deflection / plain.results.front().deflection;
  const double moment = maxMoment(loaded) / maxMoment(plain);
  EXPECT_GT(head, 1.1);
  EXPECT_GT(moment, 1.1);
  EXPECT_LT(head, 1.0 / (1.0 - 40000.0 / ncr));
  EXPECT_LT(moment, 1.0 / (1.0 - 40000.0 / ncr));
}

}  // namespace
}  // namespace tarnel::engine
