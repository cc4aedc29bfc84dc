#include "engine/pressure/earth_pressure.h"

#include "engine/pressure/generator_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <regex>
#include <string>

namespace tarnel::engine::pressure {
namespace {

using testsupport::GeneratorRun;
using testsupport::layer;
using testsupport::TableRow;
using testsupport::threeDigitTolerance;

constexpr double deg = std::numbers::pi / 180.0;
double rankineKa(double phi) { return std::pow(std::tan(std::numbers::pi / 4.0 - phi * deg / 2.0), 2); }

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }


// The lines of a report section from its banner title to the next empty line.
std::string section(const std::string& report, const std::string& title) {
  const auto start = report.find(title);
  if (start == std::string::npos) return {};
  const auto body = report.find("\n\n", start);  // the empty line after the banner
  const auto end = report.find("\n\n", body + 2);
  return report.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

void expectThreeDigits(double actual, double expected, const std::string& what) {
  EXPECT_NEAR(actual, expected, threeDigitTolerance(expected)) << what;
}

TEST(EarthPressure, DrySandLevelBackfillIsRankine) {
  // English units: wall of 240 in, excavation at 120 in; sand of 120 pcf, phi 32 deg.
  GeneratorRun g(1, 24, 10.0, 120.0);
  const double gamma = 120.0 / 1728.0, ka = rankineKa(32.0);
  g.problem().layers = {layer(4, 300.0, gamma, 0.0, 32.0)};
  ASSERT_TRUE(g.generate()) << g.report();

  const std::vector<TableRow> rows = g.table();
  ASSERT_EQ(rows.size(), 241u);  // one row per inch to the wall tip
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const double z = static_cast<double>(i);
    EXPECT_NEAR(rows[i].depth, z, threeDigitTolerance(std::max(z, 1.0)));
    // Below the excavation level the retained side keeps the pressure of that level.
    const double expected = ka * gamma * std::min(z, 120.0);
    if (i == 0) {
      EXPECT_EQ(rows[i].total, 0.0);
      continue;
    }
    expectThreeDigits(rows[i].total, expected, "total at " + std::to_string(z));
    expectThreeDigits(rows[i].soil, expected, "soil at " + std::to_string(z));
    EXPECT_EQ(rows[i].surcharge, 0.0);
  }
  EXPECT_NEAR(g.run.pressure.sigvpExcavation, gamma * 120.0, 1e-12);
  EXPECT_NEAR(g.run.pressure.gammaW, 0.036, 1e-8);
  EXPECT_TRUE(g.run.pressure.valid);
}

TEST(EarthPressure, WaterTableAddsWaterGradientToSandNotToClay) {
  // SI: sand 18 kN/m3, phi 30 to 4 m; clay 17 kN/m3, c 20 kPa to 10 m; water table at
  // 2 m, excavation at 6 m, wall 12 m.
  GeneratorRun g(2, 24, 0.5, 6.0);
  g.problem().earth.dwBackfill = 2.0;
  g.problem().layers = {layer(4, 4.0, 18.0, 0.0, 30.0), layer(1, 10.0, 17.0, 20.0, 0.0)};
  ASSERT_TRUE(g.generate()) << g.report();

  const double gw = 9.81, ka = rankineKa(30.0);
  const double clayTop = 18.0 * 4.0 - 2.0 * gw;          // effective stress at 4 m
  const double atExcavation = clayTop + 17.0 * 2.0 - 2.0 * gw;  // at 6 m
  auto expected = [&](double z) {
    if (z <= 2.0 + 1e-9) return 18.0 * z * ka;
    if (z <= 4.0 + 1e-9) return ka * (36.0 + (18.0 - gw) * (z - 2.0)) + gw * (z - 2.0);
    if (z <= 6.0 + 1e-9) return clayTop + 17.0 * (z - 4.0) - 2.0 * 20.0;  // Ka = 1, no water term
    return atExcavation - 2.0 * 20.0;
  };
  const std::vector<TableRow> rows = g.table();
  ASSERT_EQ(rows.size(), 241u);  // 20 rows per metre
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const double z = i * 0.05;
    expectThreeDigits(rows[i].total, expected(z), "total at " + std::to_string(z));
  }
  // The gradients themselves: water adds 9.81 kN/m3 in the sand below the water table
  // and nothing in the clay.
  EXPECT_NEAR(rows[80].total - rows[60].total, ka * (18.0 - gw) + gw, 0.1);
  EXPECT_NEAR(rows[120].total - rows[100].total, 17.0, 0.1);

  const std::string r = g.report();
  EXPECT_TRUE(contains(r, "*      ACTIVE WATER PRESSURE OF EACH LAYER       *"));
  const std::string water = section(r, "*      ACTIVE WATER PRESSURE OF EACH LAYER       *");
  EXPECT_TRUE(contains(water, "\n       2       0.00   3.00      19.62   3.33")) << water;
  EXPECT_FALSE(contains(water, "\n       3 ")) << "no water row for the clay layer\n" << water;
  EXPECT_FALSE(contains(water, "\n       1 ")) << "no water row above the water table\n" << water;
}

TEST(EarthPressure, ExcavationSideWaterReducesSubmergedPressure) {
  auto run = [](double dwe) {
    GeneratorRun g(2, 20, 0.5, 6.0);
    g.problem().earth.dwBackfill = 0.0;
    g.problem().earth.dwExcavation = dwe;
    g.problem().layers = {layer(4, 12.0, 19.0, 0.0, 30.0)};
    EXPECT_TRUE(g.generate());
    return g.table();
  };
  const auto dry = run(100.0), wet = run(4.0);
  ASSERT_EQ(dry.size(), wet.size());
  for (std::size_t i = 1; i < dry.size(); ++i) {
    const double z = i * 0.05;
    double u = 0.0;
    if (z > 4.0 && z < 6.0 - 1e-9) u = (z - 4.0) * 9.81;
    if (z > 6.0 + 1e-9) u = 2.0 * 9.81;
    if (std::fabs(z - 6.0) < 1e-9) u = (z - 0.05 - 4.0) * 9.81;  // at H the previous row's value stays
    EXPECT_NEAR(dry[i].total - wet[i].total, u, threeDigitTolerance(dry[i].total) * 2.0) << z;
  }
}

TEST(EarthPressure, UserCoefficientOnClayUsesTotalStressWithoutCohesion) {
  GeneratorRun g(2, 20, 0.5, 6.0);
  g.problem().earth.dwBackfill = 1.0;
  g.problem().layers = {layer(2, 12.0, 18.0, 25.0, 0.0, 0.6)};
  ASSERT_TRUE(g.generate()) << g.report();
  const auto rows = g.table();
  for (std::size_t i = 1; i <= 120; ++i) {
    const double z = i * 0.05;
    expectThreeDigits(rows[i].total, 0.6 * 18.0 * z, "at " + std::to_string(z));
  }
  // The printed overburden stays effective: at the water-table layer top 18 kPa, at
  // the excavation level 108 - 5 x 9.81.
  EXPECT_TRUE(contains(g.report(), "             0.100E+01                  0.180E+02")) << g.report();
  EXPECT_NEAR(g.run.pressure.sigvpExcavation, 108.0 - 5.0 * 9.81, 1e-4);
}

TEST(EarthPressure, CohesiveLayerInTensionAtTopCarriesOnlyPA4) {
  // Clay c = 30 kPa, 18 kN/m3 above a 6 m excavation: tension to the depth 2c/gamma.
  GeneratorRun g(2, 24, 0.5, 6.0);
  g.problem().layers = {layer(3, 12.0, 18.0, 30.0, 0.0)};
  ASSERT_TRUE(g.generate());
  const double b = 18.0 * 6.0 - 60.0;  // active pressure at the excavation level
  const double z0 = 6.0 - 60.0 / 18.0;  // compressed length
  EXPECT_NEAR(0.5 * z0 * b, 64.0, 1e-9);
  // Row of layer 1: PA1, PA2, PA3 zero, PA4 = 64.00 acting at ztop(2) - z0/3.
  EXPECT_TRUE(contains(g.report(), "\n       1       0.00   3.00       0.00   4.00       0.00   5.11      64.00\n"))
      << g.report();
  // Tension is never loaded on the wall: such rows carry a vanishing positive value.
  const auto rows = g.table();
  for (std::size_t i = 1; i < 66; ++i) EXPECT_LT(rows[i].total, 1e-9) << i;
  for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_GT(rows[i].total, 0.0) << i;
}

TEST(EarthPressure, TrapezoidalDistributionForTwoTiebacks) {
  // English: excavation 240 in, wall 360 in; tiebacks at 5 ft and 12 ft.
  GeneratorRun g(1, 36, 10.0, 240.0);
  g.problem().control.earthPressure = 3;
  const double gamma = 120.0 / 1728.0, ka = rankineKa(30.0);
  g.problem().layers = {layer(4, 400.0, gamma, 0.0, 30.0)};
  TiebackRow t1, t2;
  t1.depth = 5.0;
  t2.depth = 12.0;
  g.problem().tiebacks = {t1, t2};
  ASSERT_TRUE(g.generate()) << g.report();

  const double H = 240.0, d1 = 60.0, dn = 144.0;
  const double thrust = 0.5 * ka * gamma * H * H;
  const double pmax = 1.3 * thrust / (H - ((H + d1) - dn) / 3.0);
  const double z1 = 2.0 * d1 / 3.0, lower = 2.0 * (H - dn) / 3.0, z2 = H - lower;
  const auto rows = g.table();
  ASSERT_EQ(rows.size(), 361u);
  double area = 0.0;
  for (std::size_t i = 1; i <= 240; ++i) {
    const double z = static_cast<double>(i);
    const double expected = z < z1 ? pmax * z / z1 : z <= z2 ? pmax : pmax * (1.0 - (z - z2) / lower);
    if (i < 240) expectThreeDigits(rows[i].total, expected, "at " + std::to_string(z));
    // The soil column keeps the soil pressure.
    expectThreeDigits(rows[i].soil, ka * gamma * z, "soil at " + std::to_string(z));
    area += (rows[i - 1].total + rows[i].total) / 2.0;
  }
  EXPECT_LT(rows[240].total, 1e-3 * pmax);
  // The envelope carries 1.3 times the Rankine thrust.
  EXPECT_NEAR(area, 1.3 * thrust, 0.01 * thrust);
  for (std::size_t i = 241; i < rows.size(); ++i) expectThreeDigits(rows[i].total, ka * gamma * H, "below H");
}

TEST(EarthPressure, TrapezoidalDistributionForOneTieback) {
  GeneratorRun g(2, 24, 0.5, 8.0);
  g.problem().control.earthPressure = 3;
  g.problem().layers = {layer(4, 15.0, 20.0, 0.0, 34.0)};
  TiebackRow t;
  t.depth = 2.0;
  g.problem().tiebacks = {t};
  ASSERT_TRUE(g.generate()) << g.report();
  const double H = 8.0, thrust = 0.5 * rankineKa(34.0) * 20.0 * H * H;
  const double pmax = 1.3 * thrust * 3.0 / (2.0 * H);
  const auto rows = g.table();
  double area = 0.0;
  for (std::size_t i = 1; i <= 160; ++i) area += (rows[i - 1].total + rows[i].total) / 2.0 * 0.05;
  EXPECT_NEAR(area, 1.3 * thrust, 0.01 * thrust);
  // Rise to 2/3 of the tieback depth, plateau of H/3, lower triangle 2/3 (H - D1).
  const double z1 = 2.0 * 2.0 / 3.0, z2 = z1 + H / 3.0, lower = 2.0 * (H - 2.0) / 3.0;
  EXPECT_NEAR(z2 + lower, H, 1e-12);
  expectThreeDigits(rows[20].total, pmax * 1.0 / z1, "z = 1");
  expectThreeDigits(rows[40].total, pmax, "z = 2");
  expectThreeDigits(rows[80].total, pmax, "z = 4");
  expectThreeDigits(rows[120].total, pmax * (1.0 - (6.0 - z2) / lower), "z = 6");
}

TEST(EarthPressure, SurchargesEnterTheTableAndTheLayerForces) {
  // SI: distances are stored in millimetres.
  GeneratorRun g(2, 20, 0.5, 5.0);
  g.problem().layers = {layer(4, 12.0, 18.0, 0.0, 30.0)};
  g.problem().legacy.q = 10.0;
  g.problem().surcharges = {{1, 40.0, 1000.0, 0.0}, {2, 15.0, 3000.0, 0.0}, {3, 20.0, 2500.0, 1000.0}};
  ASSERT_TRUE(g.generate()) << g.report();
  const auto rows = g.table();
  const double ka = rankineKa(30.0);
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const double z = i * 0.05;
    const double s = surchargePressureAt(g.run, z);
    expectThreeDigits(rows[i].surcharge, s + 10.0 * ka, "surcharge column at " + std::to_string(z));
    expectThreeDigits(rows[i].total, ka * (10.0 + 18.0 * std::min(z, 5.0)) + s, "total at " + std::to_string(z));
  }
  EXPECT_EQ(rows[1].surcharge, rows[0].surcharge);  // no load pressure at the first grid depth
  const std::string r = g.report();
  EXPECT_TRUE(contains(r, "      UNIFORM SURFACE PRESSURE     = 0.100E+02  KN/ M**2\n")) << r;
  EXPECT_TRUE(contains(r, "\n      SURCHARGE LOADING NO.        =          1\n"
                          "      POINT LOAD                   =  0.400E+02  KN\n"
                          "      HORIZONTAL DISTANCE BETWEEN  =  0.100E+01  M\n"
                          "      THE WALL AND SURCHARGE         \n\n"))
      << r;
  EXPECT_TRUE(contains(r, "      LINE LOAD                    =  0.150E+02  KN/ M\n"));
  EXPECT_TRUE(contains(r, "      STRIP LOAD                   =  0.200E+02  KN/ M**2\n"
                          "      WIDTH OF THE STRIP LOAD      =  0.100E+01  M\n"
                          "      HORIZONTAL DISTANCE BETWEEN  =  0.250E+01  M\n"
                          "      WALL AND MIDDLE OF STRIP WIDTH          \n"));
  EXPECT_FALSE(engine::testing::hasAsteriskField(r));
}

TEST(EarthPressure, LayerForcesTakeOnlyTheLastListedSurcharge) {
  // Two line loads (m = 0.6 and 0.8) and a load of unknown kind: the table carries all
  // three, the printed force PA1 of the dry sand above the excavation only the last
  // line load, with 4/pi written 1.273.
  GeneratorRun g(2, 20, 0.5, 5.0);
  g.problem().layers = {layer(4, 12.0, 18.0, 0.0, 30.0)};
  g.problem().surcharges = {{2, 20.0, 3000.0, 0.0}, {2, 30.0, 4000.0, 0.0}, {9, 10.0, 1000.0, 0.0}};
  ASSERT_TRUE(g.generate());
  const double H = 5.0, m = 0.8;
  double pa1 = 0.0;
  for (int k = 1; k <= 10; ++k) {
    const double n = 0.5 * k / H;
    pa1 += 1.273 * 30.0 * m * m * n / (H * std::pow(m * m + n * n, 2)) * 0.5;
  }
  const std::string forces = section(g.report(), "*      ACTIVE EARTH PRESSURE OF EACH LAYER       *");
  const auto row = forces.find("\n       1 ");
  ASSERT_NE(row, std::string::npos) << forces;
  std::string field = forces.substr(row + 10, 10);
  field.erase(0, field.find_first_not_of(' '));
  EXPECT_NEAR(GeneratorRun::number(field), pa1, 0.006) << forces;

  const std::string r = g.report();
  EXPECT_TRUE(contains(r, "      SURCHARGE LOADING NO.        =          2\n"));
  EXPECT_FALSE(contains(r, "      SURCHARGE LOADING NO.        =          3\n")) << "an unknown kind is not echoed";
  const auto rows = g.table();
  const double z = rows[100].depth;
  EXPECT_NEAR(rows[100].surcharge, surchargePressureAt(g.run, z), threeDigitTolerance(rows[100].surcharge));
}

// The first force of a layer row of the printed layer-force table.
double printedPA1(const std::string& report, int layerNo) {
  const std::string forces = section(report, "*      ACTIVE EARTH PRESSURE OF EACH LAYER       *");
  char key[16];
  std::snprintf(key, sizeof key, "\n      %2d ", layerNo);
  const auto row = forces.find(key);
  if (row == std::string::npos) return -1.0e30;
  std::string field = forces.substr(row + 10, 10);
  field.erase(0, field.find_first_not_of(' '));
  return GeneratorRun::number(field);
}

TEST(EarthPressure, LegacySurchargeRecordEntersOnlyTheLayerForceInMetres) {
  // SI: the single surcharge of the legacy record keeps its distance and strip width
  // in millimetres like the surcharge list; it loads the printed force PA1 (with 2/pi
  // written 0.6366) and nothing else.
  GeneratorRun g(2, 20, 0.5, 5.0);
  g.problem().layers = {layer(4, 12.0, 18.0, 0.0, 30.0)};
  g.problem().legacy.distance = 2500.0;
  g.problem().legacy.strip = 20.0;
  g.problem().legacy.stripWidth = 1000.0;
  ASSERT_TRUE(g.generate()) << g.report();

  const double ka = rankineKa(30.0), x = 2.5, b = 1.0, t = 5.0, dz = t / 10.0;
  double strip = 0.0;
  for (int k = 1; k <= 10; ++k) {
    const double z = k * dz;
    const double t1 = std::atan((x + b / 2.0) / z), t2 = std::atan((x - b / 2.0) / z), angle = t1 - t2;
    strip += 0.6366 * 20.0 * (angle - std::sin(angle) * std::cos(t1 + t2)) * dz;
  }
  EXPECT_GT(strip, 1.0);
  EXPECT_NEAR(printedPA1(g.report(), 1), strip, 0.006) << g.report();  // q = 0: only the strip

  const auto rows = g.table();
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const double z = i * 0.05;
    EXPECT_EQ(rows[i].surcharge, 0.0) << z;
    expectThreeDigits(rows[i].total, ka * 18.0 * std::min(z, 5.0), "total at " + std::to_string(z));
  }
}

TEST(EarthPressure, OtherUnitsTakeSIConstantsWithoutConversions) {
  // Units code 3 (consistent force and length units): water 9.81, twenty rows per
  // length unit, surcharge distances and tieback depths as given.
  GeneratorRun g(3, 20, 0.5, 6.0);  // wall 10 L
  g.problem().earth.dwBackfill = 2.0;
  g.problem().layers = {layer(4, 12.0, 18.0, 0.0, 30.0)};
  g.problem().surcharges = {{2, 20.0, 3.6, 0.0}};  // m = 0.6: the form far from the wall
  ASSERT_TRUE(g.generate()) << g.report();
  EXPECT_NEAR(g.run.pressure.gammaW, 9.81, 1e-6);

  const double ka = rankineKa(30.0), gw = 9.81, H = 6.0, dz = 10.0 / 200.0;
  auto line = [&](double z) {
    const double m = 3.6 / H, n = z / H;
    return 4.0 * 20.0 * m * m * n / (std::numbers::pi * H * std::pow(m * m + n * n, 2));
  };
  const auto rows = g.table();
  ASSERT_EQ(rows.size(), 201u);
  for (std::size_t i = 2; i <= 120; ++i) {
    const double z = i * 0.05;
    const double soil = z <= 2.0 + 1e-9 ? ka * 18.0 * z : ka * (36.0 + (18.0 - gw) * (z - 2.0)) + gw * (z - 2.0);
    expectThreeDigits(rows[i].soil, soil, "soil at " + std::to_string(z));
    // The load acts with its value at the grid depth just above the row (the row may
    // fall on a grid depth, which rounding puts on either side).
    const double above = line(z - dz), at = line(z);
    const double s = rows[i].surcharge;
    EXPECT_TRUE(std::fabs(s - above) <= 2.0 * threeDigitTolerance(above) ||
                std::fabs(s - at) <= 2.0 * threeDigitTolerance(at))
        << "surcharge at " << z << ": " << s << " expected " << above;
  }

  // Trapezoidal diagram with one tieback at 2 L: rise to 4/3 L, plateau to 4/3 + 2 L.
  GeneratorRun a(3, 20, 0.5, 6.0);
  a.problem().control.earthPressure = 3;
  a.problem().layers = {layer(4, 12.0, 18.0, 0.0, 30.0)};
  TiebackRow t;
  t.depth = 2.0;
  a.problem().tiebacks = {t};
  ASSERT_TRUE(a.generate()) << a.report();
  const auto trap = a.table();
  const double pmax = 1.3 * (0.5 * ka * 18.0 * H * H) * 3.0 / (2.0 * H);
  expectThreeDigits(trap[10].total, pmax * 0.5 / (4.0 / 3.0), "rise at 0.5");
  expectThreeDigits(trap[40].total, pmax, "plateau at 2");
  expectThreeDigits(trap[60].total, pmax, "plateau at 3");
}

TEST(EarthPressure, ReportBlocksInTheirLayout) {
  GeneratorRun g(1, 24, 10.0, 120.0);
  g.problem().earth.wa = 24.0;
  g.problem().earth.wp = 18.0;
  g.problem().earth.dwBackfill = 60.0;
  g.problem().earth.dwExcavation = 150.0;
  g.problem().layers = {layer(4, 96.0, 0.0694, 0.0, 30.0), layer(1, 300.0, 0.063, 5.0, 0.0)};
  ASSERT_TRUE(g.generate());
  const std::string r = g.report();
  const std::string stars = "      " + std::string(50, '*') + "\n";
  EXPECT_TRUE(contains(r, "\n\n" + stars + "      *                WALL INFORMATION                *\n" + stars +
                              "      FREE HEIGHT OF WALL                    =  0.120E+03 IN\n"
                              "      WIDTH FOR EARTH PRESSURE, WA           =  0.240E+02 IN\n"
                              "      WIDTH FOR SOIL RESISTANCE, WP          =  0.180E+02 IN\n"
                              "      DEPTH TO THE WATER TABLE AT BACKFILL   =  0.600E+02 IN\n"
                              "      DEPTH TO THE WATER TABLE AT EXCAVATION =  0.150E+03 IN\n"
                              "      UNIT WEIGHT OF WATER                   =  0.360E-01 LBS/IN**3\n"
                              "      SLOPE OF THE BACKFILL (deg.)           =  0.000E+00\n"
                              "      MODIFICATION FOR ACTIVE EARTH PRESSURE =  0.100E+01\n"))
      << r;
  EXPECT_TRUE(contains(r, stars + "      *                SOIL INFORMATION                *\n" + stars +
                              "                TOTAL   COHESION/       TOTAL UNIT\n"
                              "       LAYER  THICKNESS STRENGTH    PHI   WEIGHT   DRAINED  ZTOP\n"
                              "       NO.      FT        PSI       DEG     PCI     T OR F   FT\n"
                              "         1      5.00        0.0    30.0    0.069     T      0.00\n"
                              "         2      3.00        0.0    30.0    0.069     T      5.00\n"
                              "         3      2.00        5.0     0.0    0.063     F      8.00\n"
                              "         4     15.00        5.0     0.0    0.063     F     10.00\n"))
      << r;
  EXPECT_TRUE(contains(r, "      *            EFFECTIVE OVERBURDEN STRESS         *\n" + stars + "\n" +
                              "                DEPTH                     STRESS       \n"
                              "                 IN                       LBS/IN**2\n"
                              "             0.000E+00                  0.000E+00\n"
                              "             0.600E+02                  0.416E+01\n"))
      << r;
  EXPECT_TRUE(contains(r, "      * ACTIVE AND PASSIVE EARTH PRESSURE COEFFICIENT  *\n" + stars + "\n" +
                              "        LAYER         ACTIVE EARTH     PASSIVE EARTH     OPTIONAL EARTH\n"
                              "         NO.          COEFFICIENT      COEFFICIENT       COEFFICIENT   \n"
                              "           1          0.333E+00         0.300E+01         0.000E+00\n"))
      << r;
  EXPECT_TRUE(contains(r, "      *      ACTIVE EARTH PRESSURE OF EACH LAYER       *\n" + stars + "\n" +
                              "       LAYER    PA1     Z1       PA2     Z2         PA3     Z3        PA4\n"))
      << r;
  EXPECT_FALSE(engine::testing::hasAsteriskField(r));
}

TEST(EarthPressure, SteepSlopeWarnsAndKeepsLevelGroundCoefficient) {
  GeneratorRun g(2, 20, 0.5, 4.0);
  g.problem().earth.beta = 32.0;
  g.problem().layers = {layer(4, 6.0, 18.0, 0.0, 30.0), layer(4, 12.0, 19.0, 0.0, 36.0)};
  ASSERT_TRUE(g.generate());
  const std::string warning = "**** WARNING ******\n     THE BACKFILL SLOPE ANGLE SHOULD BE LESS THAN THE 'INTERNAL FRICTION ANGLE OF SAND.";
  EXPECT_TRUE(contains(g.notes(), warning)) << g.notes();
  EXPECT_TRUE(contains(g.report(), warning));
  // The first layer's top lies above the excavation level: one warning; the layer
  // below keeps quiet. Layer 1 takes the level-ground Ka, layer 3 the inclined one.
  const std::string notes = g.notes();
  EXPECT_EQ(notes.find(warning), notes.rfind(warning));
  const auto rows = g.table();
  expectThreeDigits(rows[20].total, rankineKa(30.0) * 18.0 * 1.0, "level-ground Ka at 1 m");
  const double cb = std::cos(32.0 * deg), cp = std::cos(36.0 * deg);
  const double kaSlope = cb * (cb - std::sqrt(cb * cb - cp * cp)) / (cb + std::sqrt(cb * cb - cp * cp));
  expectThreeDigits(rows[200].total, kaSlope * 18.0 * 4.0, "inclined-backfill Ka below 6 m");
}

TEST(EarthPressure, NetActiveForceMessage) {
  // A strong clay above the excavation holds itself: no net active force.
  GeneratorRun g(2, 20, 0.5, 3.0);
  g.problem().layers = {layer(3, 10.0, 18.0, 100.0, 0.0)};
  ASSERT_TRUE(g.generate());
  const std::string message = "\n\n     Net active pressure is negative.\n\n";
  EXPECT_TRUE(contains(g.report(), message));
  EXPECT_TRUE(contains(g.err.str(), message));
}

struct StopCase {
  const char* name;
  void (*setup)(Problem&);
  const char* message;
};

TEST(EarthPressure, StopsWithAClearMessage) {
  const StopCase cases[] = {
      {"layers end above the excavation level",
       [](Problem& p) { p.layers = {layer(4, 3.0, 18.0, 0.0, 30.0)}; },
       "THE SOIL LAYERS DO NOT EXTEND BELOW THE EXCAVATION LEVEL"},
      {"layers end at the excavation level",
       [](Problem& p) { p.layers = {layer(4, 6.0, 18.0, 0.0, 30.0)}; },
       "THE SOIL LAYERS DO NOT EXTEND BELOW THE EXCAVATION LEVEL"},
      {"no layers", [](Problem& p) { p.layers.clear(); }, "THE SOIL LAYERS DO NOT EXTEND BELOW THE EXCAVATION LEVEL"},
      {"negative free height", [](Problem& p) { p.earth.freeHeight = -2.0; },
       "THE FREE HEIGHT OF WALL IS NEGATIVE; IT MUST BE 0 OR MORE"},
      {"more than 21 layers",
       [](Problem& p) {
         p.layers.clear();
         for (int i = 1; i <= 22; ++i) p.layers.push_back(layer(4, i * 0.5, 18.0, 0.0, 30.0));
       },
       "MORE THAN 21 SOIL LAYERS"},
      {"surcharge without free height",
       [](Problem& p) {
         p.earth.freeHeight = 0.0;
         p.surcharges = {{2, 10.0, 500.0, 0.0}};
       },
       "SURCHARGE LOADS NEED A FREE HEIGHT OF WALL GREATER THAN ZERO"},
      {"weightless clay in tension",
       [](Problem& p) { p.layers = {layer(1, 12.0, 0.0, 20.0, 0.0)}; },
       "LAYER 1 IS IN TENSION AND ITS ACTIVE PRESSURE DOES NOT CHANGE WITH DEPTH"},
      {"wall of absurd length", [](Problem& p) { p.wall.h = 1.0e5; },
       "THE EARTH PRESSURE TABLE WOULD HOLD MORE THAN 1000000 ROWS"},
      {"trapezoidal without tieback", [](Problem& p) { p.control.earthPressure = 3; },
       "THE TRAPEZOIDAL EARTH PRESSURE DISTRIBUTION NEEDS AT LEAST ONE TIEBACK"},
      {"trapezoidal with a tieback at the top",
       [](Problem& p) {
         p.control.earthPressure = 3;
         p.tiebacks = {TiebackRow{}, TiebackRow{}};
         p.tiebacks[1].depth = 3.0;
       },
       "THE TRAPEZOIDAL EARTH PRESSURE DISTRIBUTION NEEDS THE FIRST TIEBACK BELOW THE TOP OF THE WALL"},
  };
  for (const auto& c : cases) {
    GeneratorRun g(2, 20, 0.5, 6.0);
    g.problem().layers = {layer(4, 12.0, 18.0, 0.0, 30.0)};
    c.setup(g.problem());
    EXPECT_FALSE(g.generate()) << c.name;
    const std::string r = g.report();
    EXPECT_TRUE(contains(r, std::string("     ERROR STOP -- ") + c.message)) << c.name << "\n" << r;
    EXPECT_FALSE(engine::testing::hasAsteriskField(r)) << c.name;
    EXPECT_FALSE(g.scratchExists()) << c.name;
    EXPECT_FALSE(g.run.pressure.valid) << c.name;
  }
}

TEST(EarthPressure, NoFreeHeightWithoutSurchargesRuns) {
  GeneratorRun g(2, 20, 0.5, 0.0);
  g.problem().layers = {layer(4, 12.0, 18.0, 0.0, 30.0)};
  ASSERT_TRUE(g.generate());
  const auto rows = g.table();
  ASSERT_EQ(rows.size(), 201u);
  for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_LT(rows[i].total, 1e-9);  // no retained height
  EXPECT_FALSE(engine::testing::hasAsteriskField(g.report()));
}

TEST(EarthPressure, TableStopsAtTheWallTip) {
  // Profile deeper than the wall: the layer below the tip gives no rows, the layer
  // across it is cut there.
  GeneratorRun g(2, 10, 0.5, 2.0);  // wall 5 m
  g.problem().layers = {layer(4, 4.0, 18.0, 0.0, 30.0), layer(4, 8.0, 19.0, 0.0, 32.0),
                        layer(4, 12.0, 20.0, 0.0, 34.0)};
  ASSERT_TRUE(g.generate());
  const auto rows = g.table();
  ASSERT_EQ(rows.size(), 101u);
  EXPECT_NEAR(rows.back().depth, 5.0, 1e-9);
  // Shorter profile than wall: the last layer reaches the tip.
  GeneratorRun s(2, 20, 0.5, 2.0);  // wall 10 m
  s.problem().layers = {layer(4, 4.0, 18.0, 0.0, 30.0)};
  ASSERT_TRUE(s.generate());
  EXPECT_EQ(s.table().size(), 201u);
}

}  // namespace
}  // namespace tarnel::engine::pressure
