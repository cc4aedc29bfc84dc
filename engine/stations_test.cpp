#include "engine/stations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace tarnel::engine {
namespace {

class StationsTest : public ::testing::Test {
 protected:
  void start(int ninc, double h) {
    WallRecord w;
    w.ninc = ninc;
    w.h = h;
    w.freeHeight = 0;
    startStations(st, w, report);
  }
  double ei(int s) const { return st.EI[Stations::slot(s)]; }
  double q(int s) const { return st.Q[Stations::slot(s)]; }
  int code(int s) const { return st.code[Stations::slot(s)]; }
  // Runs `f`, expects an InputStop and returns the report text it wrote.
  template <class F>
  std::string stopText(F f) {
    report.str("");
    EXPECT_THROW(f(), InputStop);
    return report.str();
  }

  Stations st;
  std::ostringstream report;
};

TEST_F(StationsTest, StartDerivesPowersAndLength) {
  start(40, 6);
  EXPECT_DOUBLE_EQ(st.h2, 36);
  EXPECT_DOUBLE_EQ(st.h3, 216);
  EXPECT_DOUBLE_EQ(st.length, 240);
  EXPECT_EQ(st.EI.size(), static_cast<std::size_t>(kStationSlots));
  EXPECT_EQ(code(-3), 1);
}

TEST_F(StationsTest, OneRowCarriesHalfValuesAtItsEnds) {
  start(10, 1);
  Distribution d;
  EXPECT_EQ(applyStiffnessRow(st, d, report, {0, 10, 1, 100}), 1);
  EXPECT_DOUBLE_EQ(ei(0), 50);
  for (int s = 1; s <= 9; ++s) EXPECT_DOUBLE_EQ(ei(s), 100) << s;
  EXPECT_DOUBLE_EQ(ei(10), 50);
  EXPECT_DOUBLE_EQ(ei(11), 0);
}

TEST_F(StationsTest, AdjacentRowsAddTheirHalvesWhereTheyMeet) {
  start(10, 1);
  Distribution d;
  applyStiffnessRow(st, d, report, {0, 5, 1, 100});
  applyStiffnessRow(st, d, report, {5, 10, 1, 200});
  EXPECT_DOUBLE_EQ(ei(4), 100);
  EXPECT_DOUBLE_EQ(ei(5), 150);
  EXPECT_DOUBLE_EQ(ei(6), 200);
}

TEST_F(StationsTest, ChainInterpolatesLinearlyToTheNextRow) {
  start(10, 1);
  Distribution d;
  EXPECT_EQ(applyStiffnessRow(st, d, report, {0, 99, 2, 0}), 2);  // TO of a chain start is ignored
  EXPECT_DOUBLE_EQ(ei(0), 0);
  EXPECT_EQ(applyStiffnessRow(st, d, report, {77, 10, 1, 100}), 3);  // FROM of a chain end is ignored
  EXPECT_DOUBLE_EQ(ei(0), 0);
  for (int s = 1; s <= 9; ++s) EXPECT_DOUBLE_EQ(ei(s), 10.0 * s) << s;
  EXPECT_DOUBLE_EQ(ei(10), 50);
}

TEST_F(StationsTest, ContinuedChainRestartsAtTheRowsEnd) {
  start(20, 1);
  Distribution d;
  applyStiffnessRow(st, d, report, {0, 0, 2, 100});
  EXPECT_EQ(applyStiffnessRow(st, d, report, {0, 10, 2, 200}), 4);
  EXPECT_EQ(applyStiffnessRow(st, d, report, {0, 20, 1, 200}), 3);
  EXPECT_DOUBLE_EQ(ei(0), 50);
  EXPECT_DOUBLE_EQ(ei(5), 150);
  EXPECT_DOUBLE_EQ(ei(10), 200);  // 100 + 100: the two halves meet
  EXPECT_DOUBLE_EQ(ei(15), 200);
  EXPECT_DOUBLE_EQ(ei(20), 100);
}

TEST_F(StationsTest, ConcentratedLoadOnOneStationAndItsCouple) {
  start(10, 2);
  Distribution d;
  applyLoadRow(st, d, report, {1, 7, 7, 1000, 400, 50});
  EXPECT_DOUBLE_EQ(q(7), 1000);
  EXPECT_DOUBLE_EQ(q(6), 0);
  EXPECT_DOUBLE_EQ(st.T[Stations::slot(7)], 400);
  EXPECT_DOUBLE_EQ(st.P[Stations::slot(7)], -50);  // compression stored negative
  ASSERT_EQ(st.couples.size(), 1u);
  EXPECT_EQ(st.couples[0].station, 7);
  EXPECT_DOUBLE_EQ(st.couples[0].force, 400 / (2 * 2.0));
  applyLoadRow(st, d, report, {1, 3, 3, 10, 0, 0});
  EXPECT_EQ(st.couples.size(), 1u);  // rows without a couple hold no entry
}

TEST_F(StationsTest, RestraintCodes) {
  start(10, 1);
  applyRestraint(st, report, {2, 0, 0, 0.01}, nullptr);  // slope at the top
  EXPECT_EQ(code(-1), 3);
  EXPECT_EQ(code(0), 1);
  EXPECT_EQ(code(1), 5);
  const RestraintRow defl{1, 5, 0.25, 0};
  applyRestraint(st, report, defl, nullptr);
  EXPECT_EQ(code(5), 2);
  const RestraintRow both{3, 10, 0, 0};
  applyRestraint(st, report, both, &defl);
  EXPECT_EQ(code(9), 3);
  EXPECT_EQ(code(10), 4);
  EXPECT_EQ(code(11), 5);
  EXPECT_EQ(st.specDeflection, (std::vector<double>{0, 0.25, 0}));
  EXPECT_EQ(st.specSlope, (std::vector<double>{0.01, 0, 0}));
}

TEST_F(StationsTest, RestraintsOutOfOrder) {
  start(10, 1);
  const RestraintRow first{1, 5, 0, 0};
  EXPECT_EQ(stopText([&] { applyRestraint(st, report, {1, 4, 0, 0}, &first); }),
            "\n\n     ERROR STOP -- STATIONS NOT IN ORDER\n");
  EXPECT_NE(stopText([&] { applyRestraint(st, report, {1, -2, 0, 0}, nullptr); }).find("STATIONS NOT IN ORDER"),
            std::string::npos);
  applyRestraint(st, report, {1, 5, 0, 0}, &first);  // equal stations are allowed
}

// A tieback 10.4 ft deep with h = 12 in lies at station 10; its spring and prestress
// follow from the rod's axial stiffness A E / L per spacing, projected by cos(angle).
TEST_F(StationsTest, TiebackEnglishUnits) {
  start(40, 12);
  Distribution d;
  TiebackRow t{10.4, 1.5, 29.0e6, 20, 15, 8, 50000};
  const double wa = 12;  // in
  applyTiebackRow(st, d, report, t, 1, wa, 1);
  EXPECT_EQ(t.station, 10);
  const double ca = std::cos(15 * 3.1416 / 180);
  const double perRod = 1.5 * 29.0e6 / (20 * 12.0);        // lb/in of one rod
  const double perWidth = perRod * wa / (8 * 12.0) * ca;    // share of one wall width
  EXPECT_NEAR(t.stiffness, perWidth, 1e-9 * perWidth);
  EXPECT_NEAR(t.prestressLoad, -50000 * ca * wa / (8 * 12.0), 1e-9);
  EXPECT_DOUBLE_EQ(st.S[Stations::slot(10)], t.stiffness);
  EXPECT_DOUBLE_EQ(q(10), t.prestressLoad);
}

TEST_F(StationsTest, TiebackSiUnitsUseMetresAsGiven) {
  start(20, 0.5);
  Distribution d;
  TiebackRow t{2.25, 0.001, 2.0e8, 5, 0, 2, 100};
  applyTiebackRow(st, d, report, t, 2, 1.0, 1);
  EXPECT_EQ(t.station, 5);  // 4.5 rounds away from zero
  EXPECT_NEAR(t.stiffness, 0.001 * 2.0e8 / (2 * 5.0), 1e-6);
  EXPECT_NEAR(t.prestressLoad, -50, 1e-9);
}

TEST_F(StationsTest, RefusedInputNamesTheValue) {
  start(10, 1);
  Distribution d;
  EXPECT_NE(stopText([&] { applyStiffnessRow(st, d, report, {0, 10, 3, 1}); }).find("ERROR STOP -- CONTD MUST BE 1 OR 2"),
            std::string::npos);
  Distribution d2;
  EXPECT_NE(stopText([&] { applyStiffnessRow(st, d2, report, {8, 4, 1, 1}); }).find("STATIONS NOT IN ORDER"),
            std::string::npos);
  EXPECT_NE(stopText([&] { applyStiffnessRow(st, d2, report, {0, 14, 1, 1}); }).find("OUTSIDE"), std::string::npos);
  TiebackRow t{1, 1, 1, 1, 0, 0, 0};
  EXPECT_NE(stopText([&] { applyTiebackRow(st, d2, report, t, 2, 1, 3); }).find("TIEBACK 3: SPACING IS 0"),
            std::string::npos);
  t.spacing = 1;
  t.unbondedLength = 0;
  EXPECT_NE(stopText([&] { applyTiebackRow(st, d2, report, t, 2, 1, 1); }).find("UNBONDED LENGTH IS 0"),
            std::string::npos);
  t.unbondedLength = 1;
  EXPECT_NE(stopText([&] { applyTiebackRow(st, d2, report, t, 2, 0, 1); }).find("WIDTH WA"), std::string::npos);
  WallRecord w;
  w.ninc = 408;
  w.h = 1;
  EXPECT_EQ(stopText([&] { startStations(st, w, report); }),
            "\n\n     TOO MUCH DATA FOR AVAILABLE STORAGE\n\n\n");
  w.ninc = 0;
  EXPECT_NE(stopText([&] { startStations(st, w, report); }).find("NUMBER OF INCREMENTS IS 0"), std::string::npos);
  w.ninc = 10;
  w.h = 0;
  EXPECT_NE(stopText([&] { startStations(st, w, report); }).find("INCREMENT LENGTH IS 0"), std::string::npos);
}

TEST_F(StationsTest, FiftyCouplesAtMost) {
  start(100, 1);
  Distribution d;
  for (int i = 0; i < kMaxCouples; ++i) applyLoadRow(st, d, report, {1, i, i, 0, 1, 0});
  EXPECT_NE(stopText([&] { applyLoadRow(st, d, report, {1, 60, 60, 0, 1, 0}); }).find("TOO MUCH DATA"),
            std::string::npos);
}

TEST_F(StationsTest, DataBeyondTheEnd) {
  start(10, 1);
  Distribution d;
  applyStiffnessRow(st, d, report, {0, 10, 1, 100});
  checkBeyondEnd(st, report);
  Distribution d2;
  applyLoadRow(st, d2, report, {1, 11, 11, 5, 0, 0});
  EXPECT_EQ(stopText([&] { checkBeyondEnd(st, report); }), "\n\n     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END\n");
  start(10, 1);
  // Values of opposite sign at the two stations beyond the tip must not cancel.
  st.EI[Stations::slot(11)] = 5;
  st.P[Stations::slot(12)] = -5;
  EXPECT_THROW(checkBeyondEnd(st, report), InputStop);
}

TEST_F(StationsTest, UserPressureBecomesStationLoads) {
  start(10, 2);
  // Triangular load 0 at the top to 100 at 20: station i carries 5 i * h.
  const auto table = userPressureTable({{0, 0}, {20, 100}}, 1.0, {});
  const int n = loadPressure(st, table, nearestStation(20 / 2.0));
  EXPECT_EQ(n, 10);
  EXPECT_DOUBLE_EQ(q(0), 0);
  for (int i = 1; i <= 10; ++i) EXPECT_NEAR(q(i), 10.0 * i * 2, 1e-9) << i;
  EXPECT_DOUBLE_EQ(q(11), 0);
}

TEST_F(StationsTest, PressureBeyondTheTableRepeatsThePreviousStation) {
  start(10, 1.0);
  const std::vector<PressurePoint> table{{0, 0, 0, 0}, {3.5, 7, 7, 0}};
  loadPressure(st, table, 6);
  EXPECT_DOUBLE_EQ(q(3), 6);
  EXPECT_DOUBLE_EQ(q(4), 6);  // no point 4 deep: station 3's value again
  EXPECT_DOUBLE_EQ(q(6), 6);
  EXPECT_DOUBLE_EQ(q(7), 0);
}

TEST_F(StationsTest, StationDepthsThatMissATableDepthByRounding) {
  start(30, 0.1);
  // 30 * 0.1 is a little more than 3.0 in binary; the last point still counts.
  const std::vector<PressurePoint> table{{0, 0, 0, 0}, {3.0, 30, 30, 0}};
  loadPressure(st, table, 30);
  EXPECT_NEAR(q(30), 30 * 0.1, 1e-12);
  EXPECT_NEAR(q(29), 29 * 0.1, 1e-12);
}

TEST_F(StationsTest, SurchargeAddsWaTimesItsPressure) {
  // Surcharge pressures 0.5 z at the depths of the rows.
  const auto table = userPressureTable({{0, 1}, {10, 2}}, 4.0, {0.0, 5.0});
  ASSERT_EQ(table.size(), 2u);
  EXPECT_DOUBLE_EQ(table[1].soil, 2);
  EXPECT_DOUBLE_EQ(table[1].surcharge, 4.0 * 5.0);
  EXPECT_DOUBLE_EQ(table[1].total, 22);
}

TEST_F(StationsTest, GeneratedTableTakesWaAboveTheExcavationAndWpBelow) {
  std::istringstream in(
      "3\n     0.000E+00     0.100E+01     0.000E+00     0.100E+01\n"
      "     0.120E+03     0.200E+01     0.200E+01     0.000E+00\n"
      "     0.240E+03     0.300E+01     0.300E+01     0.000E+00\n");
  std::vector<PressurePoint> table;
  ASSERT_TRUE(readGeneratedPressure(in, 120, 10, 2, table));
  ASSERT_EQ(table.size(), 3u);
  EXPECT_DOUBLE_EQ(table[0].surcharge, 10);
  EXPECT_DOUBLE_EQ(table[1].total, 20);   // at H: WA
  EXPECT_DOUBLE_EQ(table[2].total, 6);    // below H: WP
  std::istringstream shortTable("2\n 0 1 1 0\n");
  EXPECT_FALSE(readGeneratedPressure(shortTable, 120, 10, 2, table));
}

}  // namespace
}  // namespace tarnel::engine
