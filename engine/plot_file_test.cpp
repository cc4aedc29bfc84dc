#include "engine/plot_file.h"

#include "engine/testing/engine_run.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tarnel::engine {
namespace {

TEST(PlotFile, EarthPressureRowsWithZeroSoilPart) {
  std::ostringstream out;
  writeEarthPressureBlock(out, {{0, 0, 0, 0}, {60, 25.5, 25.5, 0}, {120, 51, 50, 1}}, 1);
  const std::vector<std::string> expected = {
      " 3",
      "   0.000E+00   0.000E+00   0.100E-06   0.000E+00",
      "   0.600E+02   0.255E+02   0.255E+02   0.000E+00",
      "   0.120E+03   0.510E+02   0.500E+02   0.100E+01",
  };
  EXPECT_EQ(testing::lines(out.str()), expected);
}

TEST(PlotFile, LongTablesFollowTheReportsStride) {
  std::vector<PressurePoint> table;
  for (int i = 0; i < 101; ++i) table.push_back({double(i), 1, 1, 0});
  std::ostringstream out;
  writeEarthPressureBlock(out, table, 1);
  const auto got = testing::lines(out.str());
  ASSERT_EQ(got.size(), 19u);
  EXPECT_EQ(got[0], " 18");
  EXPECT_EQ(got[2].substr(0, 12), "   0.600E+01");
  EXPECT_EQ(got[18].substr(0, 12), "   0.100E+03");
}

TEST(PlotFile, ResultsBlock) {
  std::ostringstream out;
  StationResult a;
  a.depth = 0;
  a.deflection = -0.0123;
  a.moment = 1.5e6;
  a.shear = -250;
  a.reaction = 0;
  writeResultsBlock(out, 2, {a}, 1);
  EXPECT_EQ(out.str(), " 2 1 1\n    0.0000E+00   -0.1230E-01    0.1500E+07   -0.2500E+03    0.0000E+00\n");
  std::ostringstream none;
  writeResultsBlock(none, 1, {}, 2);
  EXPECT_EQ(none.str(), " 1 0 2\n");
  std::ostringstream zero;
  writeNoEarthPressure(zero);
  EXPECT_EQ(zero.str(), " 0\n");
}

}  // namespace
}  // namespace tarnel::engine
