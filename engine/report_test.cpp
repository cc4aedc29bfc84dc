#include "engine/report.h"

#include "engine/testing/engine_run.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tarnel::engine {
namespace {

using testing::lines;

TEST(Report, HeaderLineByLine) {
  std::ostringstream out;
  writeReportHeader(out, "2015.5.22", "/home/eng/walls/Pier 4.tn5d", "/home/eng/walls/Pier 4.tn5o",
                    "/home/eng/walls/Pier 4.tn5p", testing::fixedTime());
  const std::string eq = "     " + std::string(73, '=');
  const std::string dash = "     " + std::string(73, '-');
  const std::vector<std::string> expected = {
      eq,
      "",
      std::string(20, ' ') + "  TARNEL for Windows, Version 2015.5.22   ",
      "",
      std::string(20, ' ') + "   A Program for the Analysis of ",
      std::string(20, ' ') + "   Flexible Retaining Walls ",
      "",
      eq,
      "",
      "",
      "     Path to file locations      : /home/eng/walls/",
      "     Name of input data file     : Pier 4.tn5d",
      "     Name of output file         : Pier 4.tn5o",
      "     Name of plot output file    : Pier 4.tn5p",
      "",
      dash,
      std::string(26, ' ') + "Time and Date of Analysis",
      dash,
      "",
      std::string(15, ' ') + "Date:  March 05, 2026     Time:  09:04:07",
  };
  EXPECT_EQ(lines(out.str()), expected);
}

TEST(Report, MonthOutsideTheCalendarPrintsNoDateLine) {
  std::ostringstream out;
  std::tm tm = testing::fixedTime();
  tm.tm_mon = 12;
  writeReportHeader(out, "2015.5.22", "a.tn5d", "a.tn5o", "a.tn5p", tm);
  EXPECT_EQ(out.str().find("Date:"), std::string::npos);
  EXPECT_EQ(lines(out.str()).size(), 19u);
}

TEST(Report, WindowsPathsSplitIntoDriveDirectoryNameAndExtension) {
  const PathParts p = splitPath("C:\\Projects\\Walls\\North.tn5d");
  EXPECT_EQ(p.drive, "C:");
  EXPECT_EQ(p.directory, "\\Projects\\Walls\\");
  EXPECT_EQ(p.name, "North");
  EXPECT_EQ(p.extension, ".tn5d");
}

TEST(Report, TitleLines) {
  const std::string title = "Wall A";
  const std::string padded = title + std::string(64, ' ');
  std::ostringstream first, longTerm, stage;
  writeTitleLine(first, 1, 1, title, title);
  writeTitleLine(longTerm, 1, 2, title, title);
  writeTitleLine(stage, 3, 2, title, " Stage No : 2");
  EXPECT_EQ(first.str(), "\n      " + padded + "\n");
  EXPECT_EQ(longTerm.str(), "\n      Long Term :  " + padded + "\n");
  EXPECT_EQ(stage.str(), "\n      Stage No : 2  " + padded + "\n");
}

TEST(Report, UnitLabels) {
  UnitLabels l;
  EXPECT_EQ(l.len3, "  L");  // before any problem: the "other" labels
  setUnitLabels(l, 1);
  EXPECT_EQ(l.len3 + l.force4 + l.len2 + l.force3, " IN LBSINLBS");
  setUnitLabels(l, 3);  // any other code keeps what was set
  EXPECT_EQ(l.len3, " IN");
  setUnitLabels(l, 2);
  EXPECT_EQ(l.len3 + l.force4 + l.len2 + l.force3, "  M  KN M KN");
}

TEST(Report, ControlParametersAndWallRecord) {
  std::ostringstream out;
  ControlRecord c;
  c.nSpecified = 2;
  c.nStiffness = 3;
  c.earthPressure = 3;
  c.pyOption = 2;
  c.nPyModifiers = 0;
  c.nUserCurves = 4;
  writeControlParameters(out, c);
  UnitLabels l;
  setUnitLabels(l, 1);
  writeWallRecord(out, {40, 6, 100, 1e-5, 120, 12}, l);
  const std::string b6(6, ' ');
  const std::vector<std::string> expected = {
      "",
      "",
      b6 + std::string(50, '*'),
      b6 + "*        PROGRAM CONTROL PARAMETERS              *",
      b6 + std::string(50, '*'),
      "",
      b6 + "NO OF POINTS FOR SPECIFIED DEFLECTIONS AND SLOPES  =  2",
      b6 + "NO OF POINTS FOR WALL STIFFNESS AND LOAD DATA      =  3",
      b6 + "GENERATE EARTH PRESSURE INTERNALLY                 =  1",
      b6 + "GENERATE SOIL RESISTANCE (P-Y) CURVES INTERNALLY   =  1",
      b6 + "NO OF P-Y MODIFICATION FACTORS FOR GEN. P-Y CURVES =  0",
      b6 + "NO OF USER-SPECIFIED SOIL RESISTANCE (P-Y) CURVES  =  4",
      b6 + "NUMBER OF INCREMENTS                               =  40",
      b6 + "INCREMENT LENGTH                                   =     6.000 IN",
      b6 + "FREE HEIGHT OF WALL                                =   120.000 IN",
      b6 + "MAXIMUM ALLOWABLE DEFLECTION                       =   100.000 IN",
      b6 + "DEFLECTION CLOSURE TOLERANCE                       = 1.000E-05 IN",
  };
  EXPECT_EQ(lines(out.str()), expected);
}

TEST(Report, SpecifiedPointRowsByCase) {
  std::ostringstream out;
  writeSpecifiedRow(out, {1, 5, 0.25, 0});
  writeSpecifiedRow(out, {2, 0, 0, -0.001});
  writeSpecifiedRow(out, {3, 40, 0, 0});
  const std::vector<std::string> expected = {
      "            5        1         0.250E+00         NONE",
      "            0        2           NONE        -0.100E-02",
      "           40        3         0.000E+00      0.000E+00",
  };
  EXPECT_EQ(lines(out.str()), expected);
}

TEST(Report, StiffnessHeadingAndRowsByKind) {
  std::ostringstream out;
  UnitLabels l;
  setUnitLabels(l, 1);
  writeStiffnessHeading(out, l);
  writeStiffnessRow(out, 1, 0, 20, 1, {1e9, 0, 0, 0, 0, 0});
  writeStiffnessRow(out, 2, 0, 20, 2, {1e9, 0, 0, 0, 0, 0});
  writeStiffnessRow(out, 3, 0, 20, 1, {2e9, 0, 0, 0, 0, 0});
  const auto got = lines(out.str());
  ASSERT_EQ(got.size(), 16u);
  EXPECT_EQ(got[3], "      *        STIFFNESS AND LOAD DATA                 *");
  EXPECT_EQ(got[9], "");
  EXPECT_EQ(got[10], "     FROM TO CONTD     EI         Q        S'        T         R         P");
  EXPECT_EQ(got[12], std::string(18, ' ') + " LBS-IN**2" + std::string(4, ' ') + " LBS" + std::string(4, ' ') +
                         " LBS/IN" + std::string(3, ' ') + " IN-LBS" + std::string(2, ' ') + " IN-LBS" +
                         std::string(4, ' ') + " LBS");
  const std::string zeros = " 0.000E+00 0.000E+00 0.000E+00 0.000E+00 0.000E+00";
  EXPECT_EQ(got[13], "        0  20  0  0.100E+10" + zeros);
  EXPECT_EQ(got[14], "        0      1  0.100E+10" + zeros);
  EXPECT_EQ(got[15], "           20  0  0.200E+10" + zeros);
}

TEST(Report, PressureTablesPrintEverySixthOrFourthPointOfLongTables) {
  std::vector<std::size_t> english = printedPressureRows(101, 1);
  std::vector<std::size_t> expected;
  for (std::size_t i = 0; i <= 96; i += 6) expected.push_back(i);
  expected.push_back(100);
  EXPECT_EQ(english, expected);
  EXPECT_EQ(printedPressureRows(50, 1).size(), 50u);
  EXPECT_EQ(printedPressureRows(53, 2), (std::vector<std::size_t>{0, 4, 8, 12, 16, 20, 24, 28, 32, 36, 40, 44, 48, 52}));
  EXPECT_EQ(printedPressureRows(0, 1).size(), 0u);
}

TEST(Report, SpecifiedPressureHeading) {
  std::ostringstream out;
  UnitLabels l;
  setUnitLabels(l, 2);
  writePressureHeading(out, l, true);
  writePressureRow(out, 1.5, 12.26);
  const std::vector<std::string> expected = {
      "",
      "",
      "      " + std::string(50, '*'),
      "      *        SPECIFIED ACTIVE EARTH PRESSURE         *",
      "      " + std::string(50, '*'),
      "",
      "",
      "",
      "         DEPTH         ACTIVE EARTH PRESSURE",
      std::string(11, ' ') + "M" + std::string(19, ' ') + "KN/ M",
      "        --------       ------------------------",
      "       0.150E+01           0.123E+02",
  };
  EXPECT_EQ(lines(out.str()), expected);
}

}  // namespace
}  // namespace tarnel::engine
