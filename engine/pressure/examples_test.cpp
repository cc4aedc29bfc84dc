// The bundled examples with generated earth pressure, run end to end through the
// engine's entry as the program runs them.
#include "engine/fixed_format.h"
#include "engine/pressure/generator_fixture.h"
#include "engine/testing/engine_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace tarnel::engine::pressure {
namespace {

using engine::testing::EngineOutput;
using engine::testing::readFile;
using engine::testing::runEngineOn;

std::string example(const char* name) { return readFile(std::string(TARNEL_SOURCE_DIR) + "/examples/" + name); }

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Every value the run computed is finite, and no output shows asterisks where a number
// always fits its field.
void expectFiniteOutputs(const EngineOutput& out) {
  EXPECT_EQ(engine::testing::nonFiniteValue(out), "");
  EXPECT_EQ(engine::testing::asteriskFields(out), std::vector<std::string>{});
}

TEST(PressureExamples, TriangularPressureWithWaterTableAndSurcharges) {
  const EngineOutput out = runEngineOn(example("triangular-surcharges.tn5d"));
  ASSERT_TRUE(out.reportExists);
  const std::string& r = out.report;
  for (const char* block : {"*                WALL INFORMATION                *",
                            "*              SURCHARGE INFORMATION             *",
                            "*                SOIL INFORMATION                *",
                            "*            EFFECTIVE OVERBURDEN STRESS         *",
                            "* ACTIVE AND PASSIVE EARTH PRESSURE COEFFICIENT  *",
                            "*      ACTIVE EARTH PRESSURE OF EACH LAYER       *",
                            "*      ACTIVE WATER PRESSURE OF EACH LAYER       *"})
    EXPECT_TRUE(contains(r, block)) << block;
  // Surcharge distances are kept in millimetres in SI projects and act in metres.
  EXPECT_TRUE(contains(r, "      HORIZONTAL DISTANCE BETWEEN  =  0.150E+01  M\n")) << r;
  EXPECT_TRUE(contains(r, "      WIDTH OF THE STRIP LOAD      =  0.100E+01  M\n"));
  EXPECT_FALSE(contains(r, "ERROR STOP -- THE"));

  // Above the water table (2.5 m) the soil part is Rankine's Ka gamma z for the sand
  // (Wa = 1 m); below it the water gradient joins; the surcharge part carries q Ka
  // and the three loads.
  const auto rows = testsupport::GeneratorRun::readTable(out.plot);
  ASSERT_GE(rows.size(), 10u);
  const double ka = std::pow(std::tan(std::numbers::pi / 4.0 - 16.0 * std::numbers::pi / 180.0), 2);
  for (const auto& row : rows) {
    if (row.depth > 0.0 && row.depth <= 2.5) {
      EXPECT_NEAR(row.soil, ka * 18.0 * row.depth, testsupport::threeDigitTolerance(ka * 18.0 * row.depth))
          << row.depth;
      EXPECT_GE(row.surcharge, 10.0 * ka - 0.01) << row.depth;
    }
    if (row.depth > 2.5 && row.depth <= 4.0) {
      const double soil = ka * (45.0 + (18.0 - 9.81) * (row.depth - 2.5)) + 9.81 * (row.depth - 2.5);
      EXPECT_NEAR(row.soil, soil, 2.0 * testsupport::threeDigitTolerance(soil)) << row.depth;
    }
    // Where the soil holds itself (the clay below 6 m) the total is a vanishing
    // positive value; elsewhere the two parts add up to it.
    if (row.total > 1e-6) { EXPECT_NEAR(row.total, row.soil + row.surcharge, 0.01 * row.total) << row.depth; }
  }
  expectFiniteOutputs(out);
}

TEST(PressureExamples, TriangularExampleForcesByHand) {
  // The printed check of the first example worked by hand: q = 10 kPa, dry sand
  // (18 kN/m3, phi 32) to the water table at 2.5 m, submerged sand to the excavation
  // at 4 m, clay from 6 m; the layer forces carry the last listed load only, the strip
  // of 15 kPa, 1 m wide, its middle 2.5 m from the wall (2/pi written 0.6366).
  const EngineOutput out = runEngineOn(example("triangular-surcharges.tn5d"));
  const double ka = std::pow(std::tan(std::numbers::pi / 4.0 - 16.0 * std::numbers::pi / 180.0), 2);
  const double gw = 9.81;
  auto strip = [](double z) {
    const double t1 = std::atan(3.0 / z), t2 = std::atan(2.0 / z), angle = t1 - t2;
    return 0.6366 * 15.0 * (angle - std::sin(angle) * std::cos(t1 + t2));
  };
  auto stripForce = [&](double top, double t) {
    double f = 0.0;
    for (int k = 1; k <= 10; ++k) f += strip(top + k * t / 10.0) * t / 10.0;
    return f;
  };
  const double pa1 = 10.0 * ka * 2.5 + stripForce(0.0, 2.5);
  const double pa2 = 0.5 * 18.0 * 2.5 * 2.5 * ka;
  const double pa1b = (10.0 + 18.0 * 2.5) * ka * 1.5 + stripForce(2.5, 1.5);
  const double pa2b = 0.5 * (18.0 - gw) * 1.5 * 1.5 * ka;
  const double pw2 = 0.5 * gw * 1.5 * 1.5;
  auto f2 = [](double v) { return fmt::fixed(v, 10, 2); };
  EXPECT_TRUE(contains(out.report, "\n       1 " + f2(pa1) + "   1.25 " + f2(pa2) + "   1.67       0.00   0.00       0.00\n"))
      << out.report;
  EXPECT_TRUE(contains(out.report, "\n       2 " + f2(pa1b) + "   3.25 " + f2(pa2b) + "   3.50       0.00   0.00       0.00\n"))
      << out.report;
  EXPECT_TRUE(contains(out.report, "\n       2       0.00   3.25 " + f2(pw2) + "   3.50\n")) << out.report;
  // Effective overburden at the clay top (6 m): 10 + 18 x 6 - 3.5 x 9.81 = 83.7 kPa.
  EXPECT_TRUE(contains(out.report, "             0.600E+01                  0.837E+02\n")) << out.report;
}

TEST(PressureExamples, TrapezoidalPressureWithTwoTiebacks) {
  const EngineOutput out = runEngineOn(example("trapezoidal-two-tiebacks.tn5d"));
  ASSERT_TRUE(out.reportExists);
  EXPECT_TRUE(contains(out.report, "*      ACTIVE EARTH PRESSURE OF EACH LAYER       *"));
  EXPECT_FALSE(contains(out.report, "*      ACTIVE WATER PRESSURE OF EACH LAYER       *"));
  EXPECT_FALSE(contains(out.report, "ERROR STOP -- THE"));

  // The apparent diagram (pressures times Wa = 96 in) rises to its plateau at 2/3 of
  // the first tieback depth (40 in), holds it to 2/3 (H - Dn) above the excavation
  // level (H = 240 in, Dn = 156 in) and carries 1.3 times the active thrust.
  const auto rows = testsupport::GeneratorRun::readTable(out.plot);
  ASSERT_GE(rows.size(), 10u);
  double plateau = 0.0;
  for (const auto& row : rows)
    if (row.depth > 45.0 && row.depth < 180.0) plateau = std::max(plateau, row.total);
  ASSERT_GT(plateau, 0.0);
  for (const auto& row : rows) {
    if (row.depth > 45.0 && row.depth < 180.0) { EXPECT_NEAR(row.total, plateau, 0.002 * plateau) << row.depth; }
    if (row.depth > 0.0 && row.depth < 40.0) {
      EXPECT_NEAR(row.total, plateau * row.depth / 40.0, 0.01 * plateau) << row.depth;
    }
    if (row.depth > 184.0 && row.depth < 240.0) {
      EXPECT_NEAR(row.total, plateau * (1.0 - (row.depth - 184.0) / 56.0), 0.01 * plateau) << row.depth;
    }
  }
  expectFiniteOutputs(out);
}

TEST(PressureExamples, DrySandLoadsTheWallWithRankinePressureTimesWa) {
  // English: wall of 240 in, excavation at 120 in, Wa = 24 in; sand of 120 pcf,
  // phi 32 deg, no water within the wall.
  const double gamma = 120.0 / 1728.0, wa = 24.0;
  const double ka = std::pow(std::tan(std::numbers::pi / 4.0 - 16.0 * std::numbers::pi / 180.0), 2);
  const std::vector<std::string> data = {"Dry sand cantilever",
                                         "1 0\t1\t0\t2\t2 0 1 0 0",
                                         "24 10\t10\t1E-5\t120\t24",
                                         "0\t24\t1\t1E10",
                                         "0",
                                         "0",
                                         "120\t24\t18\t1000\t1000\t1\t1\t0",
                                         "0\t0\t0\t0\t0\t0",
                                         "0",
                                         "1",
                                         "4 360 ",
                                         "0.069444444 0.0  32 0.0  90 0 ",
                                         "0.069444444 0.0  32 0.0  90 0 ",
                                         "0"};
  const EngineOutput out = runEngineOn(engine::testing::crlf(data));
  const auto rows = testsupport::GeneratorRun::readTable(out.plot);
  ASSERT_EQ(rows.size(), 41u) << out.report;  // 241 points, every 6th printed
  int checked = 0;
  for (const auto& row : rows) {
    if (row.depth <= 0.0 || row.depth > 120.0) continue;
    // Three digits in the scratch file (before Wa), three again in the plot file.
    const double pressure = ka * gamma * row.depth, expected = pressure * wa;
    const double tolerance = wa * testsupport::threeDigitTolerance(pressure) + testsupport::threeDigitTolerance(expected);
    EXPECT_NEAR(row.total, expected, tolerance) << row.depth;
    ++checked;
  }
  EXPECT_EQ(checked, 20);
  expectFiniteOutputs(out);
}

// The lines of an example, to derive variants from it.
std::vector<std::string> exampleLines(const char* name) {
  std::vector<std::string> out;
  for (std::string l : engine::testing::lines(example(name))) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    out.push_back(l);
  }
  return out;
}

TEST(PressureExamples, UserPressureTableTakesSurchargesTimesWa) {
  // The first example with a user distributed load (option 1) of 30 kN/m down to 10 m
  // instead of generated pressure; the soil records stay for the p-y curves.
  std::vector<std::string> ls = exampleLines("triangular-surcharges.tn5d");
  ls[1] = "2 0\t1\t0\t1\t2 0 1 0 0";
  ls[6] = "4\t2\t1\t2.5\t5\t1\t1\t0";  // Wa = 2 m
  ls.insert(ls.begin() + 6, {"2", "0\t30", "10\t30"});
  const EngineOutput out = runEngineOn(engine::testing::crlf(ls));
  const auto rows = testsupport::GeneratorRun::readTable(out.plot);
  ASSERT_EQ(rows.size(), 2u) << out.report;

  testsupport::GeneratorRun same(2, 40, 0.25, 4.0);
  same.problem().surcharges = {{1, 50.0, 1500.0, 0.0}, {2, 20.0, 3000.0, 0.0}, {3, 15.0, 2500.0, 1000.0}};
  const double s = surchargePressureAt(same.run, 10.0);
  EXPECT_GT(s, 0.0);
  EXPECT_EQ(rows[0].surcharge, 0.0);
  EXPECT_NEAR(rows[1].surcharge, 2.0 * s, testsupport::threeDigitTolerance(2.0 * s));
  EXPECT_NEAR(rows[1].total, 30.0 + 2.0 * s, testsupport::threeDigitTolerance(30.0 + 2.0 * s));
  expectFiniteOutputs(out);
}

struct Variant {
  const char* name;
  std::size_t line;
  const char* text;
  bool stops;  // the generator ends the run
};

TEST(PressureExamples, VariantsLeaveNoNanOrInf) {
  const Variant variants[] = {
      {"steep backfill slope", 6, "4\t1\t1\t2.5\t5\t1\t1\t40", false},
      {"gentle backfill slope", 6, "4\t1\t1\t2.5\t5\t1\t1\t12", false},
      {"excavation-side water above the excavation", 6, "4\t1\t1\t2.5\t3\t1\t1\t0", false},
      {"water table at the surface", 6, "4\t1\t1\t0\t0\t1\t1\t0", false},
      {"clay in tension above the excavation", 13, "2 6 ", false},
      {"surcharges with no free height", 6, "0\t1\t1\t2.5\t5\t1\t1\t0", true},
      {"trapezoidal without tiebacks", 1, "2 0\t1\t0\t3\t2 0 1 0 0", true},
  };
  for (const auto& v : variants) {
    std::vector<std::string> ls = exampleLines("triangular-surcharges.tn5d");
    ls[v.line] = v.text;
    if (std::string(v.name) == "clay in tension above the excavation") {
      ls[14] = ls[15] = "18 40 0.0  0.007 135000 0 ";
    }
    const EngineOutput out = runEngineOn(engine::testing::crlf(ls));
    EXPECT_EQ(contains(out.report, "END OF ANALYSIS"), !v.stops) << v.name << "\n" << out.report;
    EXPECT_EQ(contains(out.report, "     ERROR STOP -- "), v.stops) << v.name;
    if (!v.stops) { EXPECT_EQ(engine::testing::nonFiniteValue(out), "") << v.name; }
    EXPECT_EQ(engine::testing::asteriskFields(out), std::vector<std::string>{}) << v.name;
  }
}

}  // namespace
}  // namespace tarnel::engine::pressure
