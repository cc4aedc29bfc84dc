#include "engine/driver.h"

#include "engine/fixed_format.h"
#include "engine/testing/engine_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <random>
#include <sstream>

namespace tarnel::engine {
namespace {

namespace fs = std::filesystem;
using testing::crlf;
using testing::EngineOutput;
using testing::runEngineOn;

// A 120 in cantilever (10 increments of 12 in, EI 1E9 lb-in^2) fixed at its tip by a
// specified deflection and slope, loaded by 1000 lb at the top.
std::vector<std::string> cantilever(const std::string& title = "Cantilever test wall", int stages = 1,
                                    int terminator = 0) {
  return {title,
          "1 1\t1\t0\t0\t0 0 " + std::to_string(stages) + " 0 0",
          "10 12\t100\t1E-5\t0\t12",
          "3\t10\t0\t0",
          "0\t10\t1\t1E9",
          "1",
          "1\t0\t0\t1000\t0\t0",
          "0",
          std::to_string(terminator)};
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

long countLines(const std::vector<std::string>& ls, const std::string& text) {
  return std::count(ls.begin(), ls.end(), text);
}

long countContaining(const std::vector<std::string>& ls, const std::string& text) {
  return std::count_if(ls.begin(), ls.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
}

// Indices of the results heads of the plot file ("kind rows units").
std::vector<std::size_t> resultsHeads(const std::vector<std::string>& plot) {
  std::vector<std::size_t> heads;
  for (std::size_t i = 0; i < plot.size(); ++i) {
    std::istringstream in(plot[i]);
    int a, b, c;
    std::string extra;
    if (plot[i].size() > 1 && plot[i][0] == ' ' && plot[i].find('E') == std::string::npos && (in >> a >> b >> c) &&
        !(in >> extra) && b > 2) {
      heads.push_back(i);
    }
  }
  return heads;
}

const std::string kEnd = "     END OF ANALYSIS                             ";

bool endsWithEndOfAnalysis(const std::vector<std::string>& report) {
  return report.size() >= 4 && report.back() == kEnd && report[report.size() - 2].empty() &&
         report[report.size() - 3].empty() && report[report.size() - 4].empty();
}

TEST(Driver, OneProblem) {
  const EngineOutput out = runEngineOn(crlf(cantilever()));
  const auto report = out.reportLines();
  ASSERT_GT(report.size(), 60u);
  EXPECT_EQ(report[0], "     " + std::string(73, '='));
  EXPECT_EQ(report[2], std::string(20, ' ') + "  TARNEL for Windows, Version 2015.5.22   ");
  EXPECT_EQ(report[11], "     Name of input data file     : wall.tn5d");
  EXPECT_EQ(report[12], "     Name of output file         : wall.tn5o");
  EXPECT_EQ(report[13], "     Name of plot output file    : wall.tn5p");
  EXPECT_EQ(report[19], std::string(15, ' ') + "Date:  March 05, 2026     Time:  09:04:07");
  EXPECT_EQ(report[20], "");
  EXPECT_EQ(report[21], "      Cantilever test wall" + std::string(50, ' '));
  EXPECT_EQ(report[25], "      *        PROGRAM CONTROL PARAMETERS              *");
  EXPECT_EQ(report[34], "      NUMBER OF INCREMENTS                               =  10");
  EXPECT_EQ(report[35], "      INCREMENT LENGTH                                   =    12.000 IN");
  EXPECT_EQ(report[47], "           10        3         0.000E+00      0.000E+00");
  EXPECT_EQ(report[61], "        0  10  0  0.100E+10 0.000E+00 0.000E+00 0.000E+00 0.000E+00 0.000E+00");
  EXPECT_EQ(report[62], "        0   0  0  0.500E+09 0.100E+04 0.000E+00 0.000E+00 0.000E+00 0.000E+00");
  EXPECT_EQ(countContaining(report, "TARNEL for Windows"), 1);
  EXPECT_EQ(countLines(report, "      Cantilever test wall" + std::string(50, ' ')), 2);  // header and before the iteration
  EXPECT_TRUE(endsWithEndOfAnalysis(report));

  const auto plot = out.plotLines();
  ASSERT_GE(plot.size(), 3u);
  EXPECT_EQ(plot[0], " 0");    // no earth pressure
  EXPECT_EQ(plot[1], " 1 0");  // no p-y curves: units code and 0
  const auto heads = resultsHeads(plot);
  ASSERT_EQ(heads.size(), 1u);
  EXPECT_EQ(plot[heads[0]], " 1 12 1");
  ASSERT_EQ(plot.size(), heads[0] + 13);
  for (int i = 0; i < 12; ++i) {
    // Depths of stations 0 .. NINC + 1: the last row lies one increment below the tip.
    std::ostringstream depth;
    depth << ' ' << fmt::exponent(12.0 * i, 13, 4);
    EXPECT_EQ(plot[heads[0] + 1 + i].substr(0, 14), depth.str()) << i;
    EXPECT_EQ(plot[heads[0] + 1 + i].size(), 70u) << i;
  }
  EXPECT_TRUE(out.notesExists);
  EXPECT_TRUE(out.err.empty()) << out.err;
}

// The whole run against the closed form of a cantilever with a tip load: the top
// deflects P L^3 / (3 EI), the moment at depth x is P x.
TEST(Driver, CantileverAgainstClosedForm) {
  const EngineOutput out = runEngineOn(crlf(cantilever()));
  const auto plot = out.plotLines();
  const auto heads = resultsHeads(plot);
  ASSERT_EQ(heads.size(), 1u);
  const double P = 1000, L = 120, EI = 1e9;
  std::vector<std::array<double, 5>> rows;
  for (std::size_t i = heads[0] + 1; i < plot.size(); ++i) {
    std::istringstream in(plot[i]);
    std::array<double, 5> r{};
    for (double& v : r) in >> v;
    rows.push_back(r);
  }
  ASSERT_EQ(rows.size(), 12u);
  EXPECT_NEAR(rows[0][1], P * L * L * L / (3 * EI), 0.01 * P * L * L * L / (3 * EI));
  for (int s = 1; s <= 9; ++s) EXPECT_NEAR(rows[s][2], P * 12 * s, 1e-3 * P * L) << s;
}

// The whole report and plot file of one problem, line by line, as laid out for the
// report and the plot data (banner, file lines, date, title, control parameters, wall
// record, specified points, stiffness and load data, title again, iteration outcome,
// results table, end), with the numbers of the statically determinate cantilever.
std::vector<std::string> oneProblemReportHead(const std::string& titleLine) {
  const std::string b5(5, ' '), b6(6, ' '), stars = b6 + std::string(50, '*');
  const std::string eq = b5 + std::string(73, '='), dash = b5 + std::string(73, '-');
  const std::string zero = " 0.000E+00";
  return {
      eq, "", std::string(20, ' ') + "  TARNEL for Windows, Version 2015.5.22   ", "",
      std::string(20, ' ') + "   A Program for the Analysis of ", std::string(20, ' ') + "   Flexible Retaining Walls ", "",
      eq, "", "",
      "",  // path line: the temporary folder, checked apart
      b5 + "Name of input data file     : wall.tn5d", b5 + "Name of output file         : wall.tn5o",
      b5 + "Name of plot output file    : wall.tn5p", "", dash, std::string(26, ' ') + "Time and Date of Analysis",
      dash, "", std::string(15, ' ') + "Date:  March 05, 2026     Time:  09:04:07",
      "", titleLine,
      "", "", stars, b6 + "*        PROGRAM CONTROL PARAMETERS              *", stars, "",
      b6 + "NO OF POINTS FOR SPECIFIED DEFLECTIONS AND SLOPES  =  1",
      b6 + "NO OF POINTS FOR WALL STIFFNESS AND LOAD DATA      =  1",
      b6 + "GENERATE EARTH PRESSURE INTERNALLY                 =  0",
      b6 + "GENERATE SOIL RESISTANCE (P-Y) CURVES INTERNALLY   =  0",
      b6 + "NO OF P-Y MODIFICATION FACTORS FOR GEN. P-Y CURVES =  0",
      b6 + "NO OF USER-SPECIFIED SOIL RESISTANCE (P-Y) CURVES  =  0",
      b6 + "NUMBER OF INCREMENTS                               =  10",
      b6 + "INCREMENT LENGTH                                   =    12.000 IN",
      b6 + "FREE HEIGHT OF WALL                                =     0.000 IN",
      b6 + "MAXIMUM ALLOWABLE DEFLECTION                       =   100.000 IN",
      b6 + "DEFLECTION CLOSURE TOLERANCE                       = 1.000E-05 IN",
      "", "", stars, b6 + "*        SPECIFIED DEFLECTIONS AND SLOPES        *", stars, "",
      b5 + "     STA      CASE       DEFLECTION        SLOPE", "",
      std::string(10, ' ') + " 10" + std::string(7, ' ') + " 3" + std::string(8, ' ') + zero + b5 + zero,
      "", "", stars, b6 + "*        STIFFNESS AND LOAD DATA                 *", stars,
      b6 + "EI - FLEXURAL RIGIDITY,  Q - TRANSVERSE LOAD,", b6 + "S - STIFFNESS OF TRANSVERSE RESISTANCE,",
      b6 + "T - TORQUE,              P - AXIAL LOAD,", b6 + "R - STIFFNESS OF TORSIONAL RESISTANCE.", "",
      "     FROM TO CONTD     EI         Q        S'        T         R         P", "",
      std::string(18, ' ') + " LBS-IN**2" + std::string(4, ' ') + " LBS" + std::string(4, ' ') + " LBS/IN" +
          std::string(3, ' ') + " IN-LBS" + std::string(2, ' ') + " IN-LBS" + std::string(4, ' ') + " LBS",
      // EI 1E9 from 0 to 10; the load row at station 0 shows the half EI there.
      b5 + "   0  10  0 " + " 0.100E+10" + zero + zero + zero + zero + zero,
      b5 + "   0   0  0 " + " 0.500E+09" + " 0.100E+04" + zero + zero + zero + zero,
      "", titleLine,
      // No curves: iteration 1 moves every station, iteration 2 repeats it and closes.
      "", "", b5 + "RESULTS -- ITERATION  2", b5 + "--------------------", "",
      "   STA I      X         DEFL.       SLOPE      MOMENT      SHEAR    NET REACT/STA    EI ",
      std::string(12, ' ') + " IN" + std::string(9, ' ') + " IN" + std::string(19, ' ') + "LBS-IN" +
          std::string(7, ' ') + " LBS" + std::string(8, ' ') + " LBS" + std::string(7, ' ') + "LBS-IN**2",
      "   ------    ----        ----       -----      ------      ------    ---------    ----------",
  };
}

double number(const std::string& s) { return std::stod(s); }

TEST(Driver, OneProblemLineByLine) {
  const std::string title = "Cantilever test wall";
  const std::string titleLine = "      " + title + std::string(70 - title.size(), ' ');
  const EngineOutput out = runEngineOn(crlf(cantilever(title)));
  const auto report = out.reportLines();
  const auto head = oneProblemReportHead(titleLine);
  const std::size_t ninc = 10;
  ASSERT_EQ(report.size(), head.size() + (ninc + 1) + 4) << out.report;
  for (std::size_t i = 0; i < head.size(); ++i) {
    if (i == 10) continue;
    EXPECT_EQ(report[i], head[i]) << "report line " << i + 1;
  }
  EXPECT_EQ(report[10].rfind("     Path to file locations      : ", 0), 0u) << report[10];
  EXPECT_EQ(report[10].back(), '/') << report[10];

  const std::string depths[] = {"0.000E+00", "0.120E+02", "0.240E+02", "0.360E+02", "0.480E+02", "0.600E+02",
                                "0.720E+02", "0.840E+02", "0.960E+02", "0.108E+03", "0.120E+03", "0.132E+03"};
  const auto plot = out.plotLines();
  ASSERT_EQ(plot.size(), 3u + ninc + 2) << out.plot;
  EXPECT_EQ(plot[0], " 0");
  EXPECT_EQ(plot[1], " 1 0");
  EXPECT_EQ(plot[2], " 1 12 1");
  const double P = 1000;
  for (std::size_t s = 0; s <= ninc; ++s) {
    const std::string& row = report[head.size() + s];
    ASSERT_EQ(row.size(), 2u + 4 + 2 + 10 + 6 * 12) << row;
    EXPECT_EQ(row.substr(0, 8), "  " + std::string(s < 10 ? "   " : "  ") + std::to_string(s) + "  ") << row;
    EXPECT_EQ(row.substr(8, 10), " " + depths[s]) << row;
    // Moment P x above the fixed foot, shear P below the loaded station 0 (half of it
    // at station 0 itself), bending stiffness halved at the two ends of its range.
    const std::string moments[] = {"", "0.120E+05", "0.240E+05", "0.360E+05", "0.480E+05",
                                   "0.600E+05", "0.720E+05", "0.840E+05", "0.960E+05", "0.108E+06"};
    if (s >= 1 && s <= 9) {
      EXPECT_EQ(row.substr(42, 12), "   " + moments[s]) << row;
    }
    if (s >= 1 && s <= 8) {
      EXPECT_EQ(row.substr(54, 12), "   0.100E+04") << row;
    }
    if (s == 0) {
      EXPECT_EQ(row.substr(54, 12), "   0.500E+03") << row;
    }
    EXPECT_EQ(row.substr(78, 12), (s == 0 || s == ninc) ? "   0.500E+09" : "   0.100E+10") << row;

    // The plot row of the same station: depth, deflection, moment, shear, reaction.
    const std::string& p = plot[3 + s];
    ASSERT_EQ(p.size(), 5u * 14) << p;
    for (int k = 0; k < 5; ++k) EXPECT_EQ(p[14 * k], ' ') << p;
    const int reportColumn[] = {8, 18, 42, 54, 66};
    const int reportWidth[] = {10, 12, 12, 12, 12};
    for (int k = 0; k < 5; ++k) {
      const double inReport = number(row.substr(reportColumn[k], reportWidth[k]));
      const double inPlot = number(p.substr(14 * k + 1, 13));
      EXPECT_NEAR(inPlot, inReport, 5e-3 * std::fabs(inReport) + 1e-9) << "station " << s << " value " << k;
    }
  }
  // Closed form of the cantilever: tip deflection P L^3 / (3 EI).
  EXPECT_NEAR(number(report[head.size()].substr(18, 12)), P * 120 * 120 * 120 / 3e9, 0.01 * 0.576);
  EXPECT_EQ(plot.back().substr(0, 14), "    0.1320E+03");  // one increment below the foot
  EXPECT_TRUE(endsWithEndOfAnalysis(report));
}

TEST(Driver, ShortTermAndLongTermPair) {
  const EngineOutput out = runEngineOn(crlf(cantilever("Quay wall", 1, 9) + cantilever("Quay wall", 1, 0)));
  const auto report = out.reportLines();
  EXPECT_EQ(countContaining(report, "TARNEL for Windows"), 2);
  const std::string longTerm = "      Long Term :  Quay wall" + std::string(61, ' ');
  EXPECT_EQ(countLines(report, longTerm), 2);
  // The second header follows two empty lines.
  auto banner = std::find_if(report.begin() + 8, report.end(), [&](const std::string& l) { return l == report[0]; });
  ASSERT_NE(banner, report.end());
  EXPECT_TRUE((banner - 1)->empty());
  EXPECT_TRUE((banner - 2)->empty());
  EXPECT_TRUE(endsWithEndOfAnalysis(report));
  const auto plot = out.plotLines();
  const auto heads = resultsHeads(plot);
  ASSERT_EQ(heads.size(), 2u);
  EXPECT_EQ(plot[heads[0]], " 2 12 1");
  EXPECT_EQ(plot[heads[1]], " 2 12 1");
  EXPECT_EQ(plot[heads[0] + 13], " 0");  // the long-term section starts right after
}

TEST(Driver, ThreeStages) {
  const EngineOutput out = runEngineOn(crlf(cantilever("Deep cut", 3, 1) + cantilever(" Stage No : 2", 3, 2) +
                                            cantilever(" Stage No : 3", 3, 3)));
  const auto report = out.reportLines();
  EXPECT_EQ(countContaining(report, "TARNEL for Windows"), 3);
  for (int k = 1; k <= 3; ++k) {
    EXPECT_EQ(countLines(report, "      Stage No : " + std::to_string(k) + "  Deep cut" + std::string(62, ' ')), 2) << k;
  }
  EXPECT_TRUE(endsWithEndOfAnalysis(report));
  const auto plot = out.plotLines();
  const auto heads = resultsHeads(plot);
  ASSERT_EQ(heads.size(), 3u);
  for (std::size_t h : heads) EXPECT_EQ(plot[h], " 3 12 1");
}

// Every section of a multi-problem run is the report of the same problem analysed alone
// (checked line by line above), after two empty lines from the second problem on, with
// its two title lines replaced; every plot section is the lone problem's plot file with
// the result-section kind of the run.
void expectSections(const std::vector<std::vector<std::string>>& blocks, const std::vector<std::string>& titles,
                    int kind) {
  const std::string title = blocks[0][0];
  const EngineOutput alone = runEngineOn(crlf(cantilever(title)));
  const auto single = alone.reportLines();
  const auto singlePlot = alone.plotLines();
  ASSERT_GT(single.size(), 4u);
  const std::string aloneTitle = "      " + title + std::string(70 - title.size(), ' ');
  std::vector<std::string> all;
  for (const auto& b : blocks) all = all + b;
  const EngineOutput out = runEngineOn(crlf(all));
  const auto report = out.reportLines();
  const auto plot = out.plotLines();

  std::vector<std::string> expected, expectedPlot;
  for (std::size_t k = 0; k < blocks.size(); ++k) {
    if (k > 0) expected = expected + std::vector<std::string>{"", ""};
    for (std::size_t i = 0; i + 4 < single.size(); ++i) expected.push_back(single[i] == aloneTitle ? titles[k] : single[i]);
    for (std::size_t i = 0; i < singlePlot.size(); ++i) {
      expectedPlot.push_back(i == 2 ? " " + std::to_string(kind) + " 12 1" : singlePlot[i]);
    }
  }
  expected = expected + std::vector<std::string>{"", "", "", kEnd};
  ASSERT_EQ(report.size(), expected.size()) << out.report;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    if (expected[i].rfind("     Path to file locations", 0) == 0) continue;  // own temporary folder
    EXPECT_EQ(report[i], expected[i]) << "report line " << i + 1;
  }
  EXPECT_EQ(plot, expectedPlot);
}

TEST(Driver, ShortTermLongTermPairLineByLine) {
  const std::string longTerm = "      Long Term :  Quay wall" + std::string(61, ' ');
  expectSections({cantilever("Quay wall", 1, 9), cantilever("Quay wall", 1, 0)},
                 {"      Quay wall" + std::string(61, ' '), longTerm}, 2);
}

TEST(Driver, ThreeStagesLineByLine) {
  std::vector<std::string> titles;
  for (int k = 1; k <= 3; ++k) titles.push_back("      Stage No : " + std::to_string(k) + "  Deep cut" + std::string(62, ' '));
  // The lone problem must match the stage blocks apart from C8: stage files carry the
  // number of stages, which changes no line of the report but the titles.
  expectSections({cantilever("Deep cut", 3, 1), cantilever(" Stage No : 2", 3, 2), cantilever(" Stage No : 3", 3, 3)},
                 titles, 3);
}

TEST(Driver, VersionOtherThan22ReadsAndCreatesNothing) {
  testing::TempDir dir;
  testing::writeFile(dir.path() / "wall.tn5d", crlf(cantilever()));
  const std::string base = (dir.path() / "wall").string();
  testing::writeFile(dir.path() / "names.dat", "2015.5.22\r\n" + base + ".tn5d\r\n" + base + ".tn5o\r\n" + base +
                                                   ".tn5p\r\n" + base + ".tn5r\r\n");
  testing::CurrentDir cd(dir.path());
  for (int version : {0, 21, 23, -22}) EXPECT_EQ(ITARNEL(version), 1) << version;
  EXPECT_EQ(_ITARNEL(1), 1);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);

  // The same call with 22 runs and replaces nothing the caller owns.
  EXPECT_EQ(_ITARNEL(22), 0);
  EXPECT_TRUE(fs::exists(base + ".tn5o"));
  EXPECT_TRUE(fs::exists(base + ".tn5p"));
  EXPECT_TRUE(fs::exists(base + ".tn5r"));
  EXPECT_TRUE(fs::exists(dir.path() / "names.dat"));
}

TEST(Driver, RunControlWithOnlyTheVersionLine) {
  testing::TempDir dir;
  testing::writeFile(dir.path() / "names.dat", "2015.5.22\r\n");
  testing::CurrentDir cd(dir.path());
  std::ostringstream err;
  RunState run;
  run.out.err = &err;
  runAnalysis(run);
  EXPECT_EQ(err.str(), " PLEASE CREATE AN INPUT DATA FILE AND SAVE IT\n BEFORE COMPUTATION.  TRY IT AGAIN!\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(Driver, MissingRunControlFile) {
  testing::TempDir dir;
  testing::CurrentDir cd(dir.path());
  std::ostringstream err;
  RunState run;
  run.out.err = &err;
  runAnalysis(run);
  EXPECT_NE(err.str().find("names.dat"), std::string::npos) << err.str();
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 0);
}

TEST(Driver, EveryCallStartsFresh) {
  const EngineOutput a = runEngineOn(crlf(cantilever()));
  const EngineOutput b = runEngineOn(crlf(cantilever()));
  auto withoutFolder = [](std::vector<std::string> ls) {
    ls.at(10) = "";  // each run has its own temporary folder
    return ls;
  };
  EXPECT_EQ(withoutFolder(a.reportLines()), withoutFolder(b.reportLines()));
  EXPECT_EQ(a.plot, b.plot);
  EXPECT_EQ(a.notes, b.notes);
}

TEST(Driver, DataFileEndingEarlyKeepsWhatWasWritten) {
  auto data = cantilever();
  data.resize(4);  // up to the restraint row; the stiffness row is missing
  const EngineOutput out = runEngineOn(crlf(data));
  const auto report = out.reportLines();
  EXPECT_EQ(countContaining(report, "PROGRAM CONTROL PARAMETERS"), 1);
  EXPECT_EQ(countContaining(report, "END OF ANALYSIS"), 0);
  EXPECT_NE(out.err.find("STIFFNESS ROW"), std::string::npos) << out.err;
  EXPECT_EQ(std::count(out.err.begin(), out.err.end(), '\n'), 1);
  EXPECT_EQ(out.plot, "");
}

TEST(Driver, TextWhereANumberBelongs) {
  auto data = cantilever();
  data[2] = "10 12,5\t100\t1E-5\t0\t12";
  const EngineOutput out = runEngineOn(crlf(data));
  EXPECT_NE(out.err.find("WALL RECORD"), std::string::npos) << out.err;
  EXPECT_NE(out.err.find("12,5"), std::string::npos) << out.err;
  EXPECT_EQ(countContaining(out.reportLines(), "END OF ANALYSIS"), 0);
}

// An output name that is taken by an (empty) folder: the folder stays, the run says why
// it cannot write there and leaves everything else alone.
TEST(Driver, OutputNameTakenByAFolderKeepsTheFolder) {
  testing::TempDir dir;
  testing::writeFile(dir.path() / "wall.tn5d", crlf(cantilever()));
  const std::string base = (dir.path() / "wall").string();
  fs::create_directory(base + ".tn5o");
  testing::writeFile(dir.path() / "names.dat", "2015.5.22\n" + base + ".tn5d\n" + base + ".tn5o\n" + base + ".tn5p\n" +
                                                   base + ".tn5r\n");
  testing::CurrentDir cd(dir.path());
  std::ostringstream err;
  RunState run;
  run.out.err = &err;
  runAnalysis(run);
  EXPECT_TRUE(fs::is_directory(base + ".tn5o"));
  EXPECT_NE(err.str().find("CANNOT CREATE THE FILE"), std::string::npos) << err.str();
  EXPECT_FALSE(fs::exists(base + ".tn5p"));
}

TEST(Driver, MissingDataFileReadsAsEmpty) {
  testing::TempDir dir;
  const std::string base = (dir.path() / "none").string();
  testing::writeFile(dir.path() / "names.dat", "2015.5.22\n" + base + ".tn5d\n" + base + ".tn5o\n" + base + ".tn5p\n" +
                                                   base + ".tn5r\n");
  testing::CurrentDir cd(dir.path());
  std::ostringstream err;
  RunState run;
  run.out.err = &err;
  runAnalysis(run);
  EXPECT_NE(err.str().find("TITLE RECORD"), std::string::npos) << err.str();
  EXPECT_EQ(testing::readFile(base + ".tn5o").find("END OF ANALYSIS"), std::string::npos);
}

// Storage limits and degenerate input stop the run with a clear line, then close it
// normally: "END OF ANALYSIS" and an empty final results block.
TEST(Driver, RefusedInputEndsTheAnalysisCleanly) {
  struct Case {
    const char* name;
    std::vector<std::string> data;
    const char* message;
  };
  auto with = [](std::size_t line, const std::string& text) {
    auto d = cantilever();
    d[line] = text;
    return d;
  };
  auto insertAfter = [](std::vector<std::string> d, std::size_t line, const std::vector<std::string>& extra) {
    d.insert(d.begin() + static_cast<long>(line) + 1, extra.begin(), extra.end());
    return d;
  };
  std::vector<std::string> manyCouples = with(5, "51");
  manyCouples.erase(manyCouples.begin() + 6);
  for (int i = 0; i < 51; ++i) manyCouples.insert(manyCouples.begin() + 6, "1\t1\t1\t0\t10\t0");
  std::vector<std::string> manyTiebacks = with(1, "1 1\t1\t0\t0\t0 0 1 0 21");
  std::vector<std::string> tieback0 = insertAfter(with(1, "1 1\t1\t0\t0\t0 0 1 0 1"), 7, {"5\t1\t2.9E7\t20\t15\t0\t0"});
  std::vector<std::string> curve35 = with(1, "1 1\t1\t0\t0\t1 1 1 0 0");
  curve35.insert(curve35.end() - 1, "5\t35\t1\t1");
  std::vector<std::string> eiCurves21 = with(1, "1 1\t1\t0\t0\t0 0 1 21 0");
  std::vector<std::string> ei101 = with(1, "1 1\t1\t0\t0\t0 0 1 1 0");
  ei101.insert(ei101.end() - 1, "0\t10\t101");
  std::vector<std::string> specified21 = with(1, "1 21\t1\t0\t0\t0 0 1 0 0");

  const Case cases[] = {
      {"408 increments", with(2, "408 12\t100\t1E-5\t0\t12"), "TOO MUCH DATA FOR AVAILABLE STORAGE"},
      {"21 specified points", specified21, "TOO MUCH DATA FOR AVAILABLE STORAGE"},
      {"21 tiebacks", manyTiebacks, "TOO MUCH DATA FOR AVAILABLE STORAGE"},
      {"51 couples", manyCouples, "TOO MUCH DATA FOR AVAILABLE STORAGE"},
      {"35 curve points", curve35, "TOO MUCH DATA FOR AVAILABLE STORAGE"},
      {"21 moment-EI curves", eiCurves21, "TOO MUCH DATA FOR AVAILABLE STORAGE"},
      {"101 moment-EI points", ei101, "TOO MUCH DATA FOR AVAILABLE STORAGE"},
      {"CONTD 3", with(4, "0\t10\t3\t1E9"), "ERROR STOP -- CONTD MUST BE 1 OR 2"},
      {"0 increments", with(2, "0 12\t100\t1E-5\t0\t12"), "ERROR STOP -- NUMBER OF INCREMENTS IS 0"},
      {"zero increment length", with(2, "10 0\t100\t1E-5\t0\t12"), "ERROR STOP -- INCREMENT LENGTH IS 0"},
      {"zero tieback spacing", tieback0, "ERROR STOP -- TIEBACK 1: SPACING IS 0"},
      {"stations not in order", with(4, "10\t0\t1\t1E9"), "ERROR STOP -- STATIONS NOT IN ORDER"},
      {"load beyond the tip", with(6, "1\t11\t11\t1000\t0\t0"), "ERROR -- NON-ZERO TABLE 4 DATA BEYOND END"},
      {"row far outside the wall", with(6, "1\t500\t500\t1000\t0\t0"), "ERROR STOP -- TABLE ROW AT STATION 500"},
      {"negative load count", with(5, "-1"), "ERROR STOP -- NUMBER OF CONCENTRATED LOAD ROWS IS -1"},
  };
  for (const Case& c : cases) {
    const EngineOutput out = runEngineOn(crlf(c.data));
    const auto report = out.reportLines();
    EXPECT_EQ(countContaining(report, c.message), 1) << c.name << "\n" << out.report;
    EXPECT_TRUE(endsWithEndOfAnalysis(report)) << c.name;
    const auto plot = out.plotLines();
    ASSERT_FALSE(plot.empty()) << c.name;
    EXPECT_EQ(plot.back(), " 1 0 1") << c.name;
    EXPECT_EQ(testing::asteriskFields(out), std::vector<std::string>{}) << c.name;
  }
}

TEST(Driver, UserEarthPressureTable) {
  auto data = cantilever();
  data[1] = "1 1\t1\t0\t1\t0 0 1 0 0";
  data.insert(data.end() - 1, {"3", "0\t0", "60\t5", "120\t10"});
  const EngineOutput out = runEngineOn(crlf(data));
  const auto report = out.reportLines();
  EXPECT_EQ(countContaining(report, "*        SPECIFIED ACTIVE EARTH PRESSURE         *"), 1);
  EXPECT_EQ(countLines(report, "       0.600E+02           0.500E+01"), 1);
  const auto plot = out.plotLines();
  ASSERT_GE(plot.size(), 4u);
  EXPECT_EQ(plot[0], " 3");
  EXPECT_EQ(plot[1], "   0.000E+00   0.000E+00   0.100E-06   0.000E+00");
  EXPECT_EQ(plot[2], "   0.600E+02   0.500E+01   0.500E+01   0.000E+00");
  EXPECT_EQ(plot[3], "   0.120E+03   0.100E+02   0.100E+02   0.000E+00");
  EXPECT_TRUE(endsWithEndOfAnalysis(report));
}

// A user load with listed surcharges (soil records present for generated p-y curves):
// every point gets WA times the surcharge pressure at its depth on top of the user's value.
TEST(Driver, UserEarthPressureWithSurcharge) {
  auto data = cantilever();
  data[1] = "1 1\t1\t0\t1\t2 0 1 0 0";
  data[2] = "10 12\t100\t1E-5\t60\t12";
  data.insert(data.end() - 1, {"3", "0\t0", "60\t5", "120\t10", "60\t12\t12\t1000\t1000\t1\t1\t0",
                               "0\t0\t0\t0\t0\t0", "1", "2\t100\t24\t0", "1", "4 240 ",
                               "0.0694 0.0  30 0.0  25 0 ", "0.0694 0.0  30 0.0  25 0 "});
  const EngineOutput out = runEngineOn(crlf(data));
  const auto plot = out.plotLines();
  ASSERT_GE(plot.size(), 4u) << out.report;
  EXPECT_EQ(plot[0], " 3");
  for (int i = 1; i <= 3; ++i) {
    std::istringstream in(plot[i]);
    double depth = 0, total = 0, soil = 0, surcharge = 0;
    in >> depth >> total >> soil >> surcharge;
    EXPECT_NEAR(total, soil + surcharge, 0.011 * std::max(1.0, total)) << plot[i];
    if (depth > 0) {
      EXPECT_GT(surcharge, 0) << plot[i];
    }
  }
  // The report shows the user's own values.
  EXPECT_EQ(countLines(out.reportLines(), "       0.600E+02           0.500E+01"), 1);
}

// The cantilever with generated earth pressure and generated p-y curves: the given
// earth-pressure record, no surcharges, one sand layer 240 deep.
std::vector<std::string> cantileverWithGenerators(const std::string& earthPressureRecord) {
  auto data = cantilever();
  data[1] = "1 1\t1\t0\t2\t2 0 1 0 0";
  data.insert(data.end() - 1, {earthPressureRecord, "0\t0\t0\t0\t0\t0", "0", "1", "4\t240",
                               "0.0000694\t0.0\t30\t0.0\t25\t0", "0.0000694\t0.0\t30\t0.0\t25\t0"});
  return data;
}

// Generated earth pressure and generated p-y curves hand over to their generators;
// whatever they do, the call returns and the files are closed.
TEST(Driver, GeneratorOptionsRunToAnEnd) {
  const EngineOutput out = runEngineOn(crlf(cantileverWithGenerators("0\t12\t12\t1000\t1000\t1\t1\t0")));
  EXPECT_TRUE(out.reportExists);
  EXPECT_EQ(countContaining(out.reportLines(), "PROGRAM CONTROL PARAMETERS"), 1);
}

// A generator that stops (here the p-y generator, on a soil-resistance width of 0) ends
// the run at once: its message is the last text of the report, no "END OF ANALYSIS" and
// no further plot block follow, the files are closed as they stand, and the next run in
// the same process starts afresh.
TEST(Driver, GeneratorStopEndsTheRunAtOnce) {
  const EngineOutput out = runEngineOn(crlf(cantileverWithGenerators("60\t12\t0\t1000\t1000\t1\t1\t0")));
  const auto report = out.reportLines();
  ASSERT_FALSE(report.empty());
  EXPECT_NE(report.back().find("RUN IT AGAIN"), std::string::npos) << out.report;
  EXPECT_EQ(countContaining(report, "END OF ANALYSIS"), 0);
  EXPECT_EQ(countContaining(report, "RESULTS -- ITERATION"), 0);
  // Only the earth-pressure block: its count line and exactly that many rows.
  const auto plot = out.plotLines();
  ASSERT_FALSE(plot.empty());
  EXPECT_EQ(plot.size(), 1u + std::stoul(plot[0])) << out.plot;
  EXPECT_TRUE(resultsHeads(plot).empty());
  EXPECT_TRUE(out.notesExists);
  EXPECT_EQ(out.notes, "");

  const EngineOutput next = runEngineOn(crlf(cantilever()));
  EXPECT_EQ(next.plotLines().at(0), " 0");
  EXPECT_TRUE(endsWithEndOfAnalysis(next.reportLines()));
  EXPECT_EQ(resultsHeads(next.plotLines()).size(), 1u);
}

TEST(Driver, TiebackRowInTheStiffnessAndLoadData) {
  auto data = cantilever();
  data[1] = "1 1\t1\t0\t0\t0 0 1 0 1";
  data.insert(data.end() - 1, "5\t1\t29000000\t20\t0\t8\t0");  // 5 ft deep: station 5
  const EngineOutput out = runEngineOn(crlf(data));
  const auto report = out.reportLines();
  // S = A E / ((s / Wa) L) with s = 96 in, Wa = 12 in, L = 240 in.
  EXPECT_EQ(countLines(report, "        5   5  0  0.100E+10 0.000E+00 0.151E+05 0.000E+00 0.000E+00 0.000E+00"), 1)
      << out.report;
}

// The bundled examples analyse to the end without an error line.
TEST(Driver, BundledExamplesRunClean) {
  const struct {
    const char* name;
    std::size_t sections;
    const char* head;
  } examples[] = {{"cantilever-user-load.tn5d", 1, " 1 72 1"},
                  {"anchored-wall-tieback-ei.tn5d", 1, " 1 72 1"},
                  {"short-long-term.tn5d", 2, " 2 92 2"}};
  for (const auto& e : examples) {
    const EngineOutput out = runEngineOn(testing::readFile(fs::path(TARNEL_SOURCE_DIR) / "examples" / e.name));
    const auto report = out.reportLines();
    EXPECT_TRUE(endsWithEndOfAnalysis(report)) << e.name;
    EXPECT_EQ(countContaining(report, "ERROR"), 0) << e.name;
    EXPECT_EQ(countContaining(report, "TOO MUCH DATA"), 0) << e.name;
    const auto plot = out.plotLines();
    const auto heads = resultsHeads(plot);
    ASSERT_EQ(heads.size(), e.sections) << e.name;
    for (std::size_t h : heads) EXPECT_EQ(plot[h], e.head) << e.name;
  }
}

// Damaged copies of the example files (a value replaced by a nonsense one, or the file
// cut short) never crash the engine, and a run that reports no stop computed only
// finite values and printed no asterisks in their place.
TEST(Driver, DamagedExampleFilesNeverCrash) {
  const char* examples[] = {"cantilever-user-load.tn5d", "anchored-wall-tieback-ei.tn5d", "short-long-term.tn5d"};
  const char* replacements[] = {"-1", "0", "2", "3", "9", "408", "999999", "1E300", "-1E300", "1E-300", "abc", "2.5"};
  std::mt19937 rng(20150522);
  for (const char* name : examples) {
    const auto original = testing::lines(testing::readFile(fs::path(TARNEL_SOURCE_DIR) / "examples" / name));
    ASSERT_FALSE(original.empty()) << name;
    for (int trial = 0; trial < 40; ++trial) {
      auto damaged = original;
      for (auto& l : damaged) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
      }
      const std::size_t line = rng() % damaged.size();
      if (trial % 8 == 7) {
        damaged.resize(line);
      } else {
        std::istringstream in(damaged[line]);
        std::vector<std::string> words;
        for (std::string w; in >> w;) words.push_back(w);
        if (words.empty()) continue;
        words[rng() % words.size()] = replacements[rng() % std::size(replacements)];
        std::string joined;
        for (const auto& w : words) joined += (joined.empty() ? "" : "\t") + w;
        damaged[line] = joined;
      }
      const EngineOutput out = runEngineOn(crlf(damaged));
      if (testing::stopped(out.report)) continue;
      EXPECT_EQ(testing::nonFiniteValue(out), "") << name << " line " << line;
      EXPECT_EQ(testing::asteriskFields(out), std::vector<std::string>{}) << name << " line " << line;
    }
  }
}

}  // namespace
}  // namespace tarnel::engine
