#include "app/model/program_data.h"

#include <cmath>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "app/model/project_tables.h"
#include "app/model/real_format.h"
#include "app/model/text_file.h"
#include "app/model/testing_files.h"
#include "app/model/testing_temp_dir.h"

namespace tarnel::model {
namespace {

namespace fs = std::filesystem;

const char* const kNewProjectText =
    "New Wall\r\n"
    "1 0\t1\t0\t2\t2 0 1 0 0\r\n"
    "0 0\t100\t1E-5\t0\t0\r\n"
    "0\t1\t1\t0\r\n"
    "0\r\n"
    "0\r\n"
    "0\t0\t0\t0\t0\t1\t1\t0\r\n"
    "0\t0\t0\t0\t0\t0\r\n"
    "0\r\n"
    "1\r\n"
    "1 0 \r\n"
    "0 0 0.0  0 0 0 \r\n"
    "0 0 0.0  0 0 0 \r\n"
    "0\r\n";

class ProjectFiles : public ::testing::Test {
 protected:
  TempDir dir_;
  std::string Path(const std::string& name) const { return (dir_.path() / name).string(); }
  std::string Write(const std::string& name, const std::string& text) {
    std::ofstream(Path(name), std::ios::binary) << text;
    return Path(name);
  }
  // Writes the project, reads it back and expects the same content.
  void ExpectRoundTrip(TProgramData& p, const std::string& name = "round.tn5d") {
    const std::string path = Path(name);
    ASSERT_TRUE(p.WriteProject(path));
    TProgramData back;
    const FileResult r = back.CreateFromFile(path, kLayoutTn5d);
    ASSERT_TRUE(r) << r.message;
    EXPECT_TRUE(back.SameContent(p)) << "written:\n" << *ReadWholeFile(path);
    // Writing what was read gives the same bytes again.
    EXPECT_EQ(back.ProjectText(), *ReadWholeFile(path));
  }
};

TEST_F(ProjectFiles, NewProjectSavedWithoutEditsIsFourteenLines) {
  TProgramData p;
  EXPECT_EQ(p.FileName, "NewWall.tn5d");
  EXPECT_EQ(p.ProjectText(), kNewProjectText);
  const std::string path = Path("new.tn5d");
  ASSERT_TRUE(p.WriteProject(path));
  EXPECT_EQ(*ReadWholeFile(path), kNewProjectText);
  ExpectRoundTrip(p);
}

TEST_F(ProjectFiles, NewProjectDefaults) {
  TProgramData p;
  EXPECT_EQ(p.Units, 1);
  EXPECT_TRUE(p.GeneratePY);
  EXPECT_FALSE(p.ApplyConcLoads || p.ApplyRestraints || p.ApplyExtPY || p.LongTerm);
  EXPECT_EQ(p.PileSect().RowCount(), 1);
  EXPECT_EQ(p.PYMod().RowCount(), 2);
  EXPECT_EQ(p.DistLoad().RowCount(), 2);
  EXPECT_EQ(p.LongDist().RowCount(), 1);
  EXPECT_EQ(p.PYCurves2().RowCount(), 0) << "chart-paired tables start empty";
  EXPECT_EQ(p.MEICurves2().RowCount(), 0);
  EXPECT_EQ(p.PYMod().Real(1, 0), 1.0);
  EXPECT_EQ(p.PileSect().Integer(1, 0), 1);
  EXPECT_EQ(p.NewSoil().SubTable(2, 0).Name(), "TblClay1");
  EXPECT_FALSE(p.IsModified());
  p.SetUnits(2);
  p.Title = "Changed";
  p.CreateNew();
  EXPECT_EQ(p.Units, 1);
  EXPECT_EQ(p.Title, "New Wall");
  EXPECT_EQ(p.MaxDeflection, 100);
  EXPECT_EQ(p.ProjectText(), kNewProjectText);
}

TEST_F(ProjectFiles, EveryTableAndOptionSurvivesARoundTrip) {
  TProgramData p;
  p.Title = "Anchored wall, all options";
  p.Increments = 80;
  p.IncrementLength = 3;
  p.MaxDeflection = 24;
  p.FreeHeight = 240;
  p.WidthActive = 12;
  p.WidthPY = 12;
  p.WaterDepthBack = 120;
  p.WaterDepthExc = 300;
  p.ActiveFactor = 1.2;
  p.BackfillSlope = 5;
  p.UniformSurcharge = 1.0 / 3.0;
  p.EarthPressureChoice = 3;
  p.ApplyRestraints = p.ApplyConcLoads = p.ApplySprings = p.ApplyTiebacks = true;
  p.ApplyPYMod = p.ApplyExtPY = p.ApplyMEI = p.ApplySurcharge = true;
  p.PileSect().SetRowCount(2);
  p.PileSect().SetInteger(1, 0, 40);
  p.PileSect().SetInteger(2, 0, 2);
  p.PileSect().SetReal(3, 0, 1.2345678e9);
  p.PileSect().SetInteger(0, 1, 40);
  p.PileSect().SetInteger(1, 1, 80);
  p.PileSect().SetReal(3, 1, 2e9);
  p.SoilLayer().SetInteger(0, 0, 2);
  p.SoilLayer().SetReal(3, 0, 0.001);
  p.BoundCond().SetReal(3, 0, -2500);
  p.SoilStrength().SetInteger(1, 0, 5);
  p.SoilStrength().SetInteger(2, 0, 7);
  p.SoilStrength().SetInteger(0, 0, 2);
  p.SoilStrength().SetReal(3, 0, 1e5);
  auto& tb = p.TiebackTable1();
  for (int c = 0; c < 7; ++c) tb.SetReal(c, 0, 1.5 + c);
  p.PYMod().SetReal(0, 1, 12.5);
  p.PYMod().SetReal(1, 1, 0.7);
  p.SurchargeTable().SetInteger(0, 0, 3);
  p.SurchargeTable().SetReal(1, 0, 2.5);
  auto& soil = p.NewSoil();
  soil.SetRowCount(4);
  const int types[] = {1, 4, 5, 7};
  for (int r = 0; r < 4; ++r) {
    soil.SetInteger(0, r, types[r]);
    soil.SetReal(1, r, 10.0 * (r + 1));
    auto& params = soil.SubTable(2, r);
    for (int row = 0; row < 2; ++row)
      for (int c = 0; c < static_cast<int>(params.ColumnCount()); ++c) params.SetReal(c, row, 100 + 10 * r + c + row);
  }
  EXPECT_EQ(soil.SubTable(2, 1).Name(), "TblSand1");
  EXPECT_EQ(soil.SubTable(2, 3).Name(), "TblRock2");
  auto& py = p.PYCurves2();
  py.SetRowCount(2);
  py.SetInteger(0, 1, 30);
  py.SetReal(2, 1, 0.5);
  auto& curve = py.SubTable(1, 1);
  curve.SetRowCount(3);
  curve.SetReal(0, 2, 1.0);
  curve.SetReal(1, 2, -300);
  auto& mei = p.MEICurves2();
  mei.SetRowCount(1);
  mei.SetInteger(1, 0, 80);
  mei.SubTable(2, 0).SetRowCount(2);
  mei.SubTable(2, 0).SetReal(0, 1, 1e6);
  ExpectRoundTrip(p);

  p.SetUnits(2);
  ExpectRoundTrip(p, "si.tn5d");
  p.SetUnits(3);
  ExpectRoundTrip(p, "other.tn5d");
}

TEST_F(ProjectFiles, SwitchedOffTablesAreEmptiedAndWrittenAsZeroCounts) {
  TProgramData p;
  p.ApplyConcLoads = true;
  p.BoundCond().SetReal(3, 0, 500);
  p.ApplyConcLoads = false;
  const std::string text = p.ProjectText();
  ASSERT_EQ(p.BoundCond().RowCount(), 1) << "the rows are dropped from the project too";
  EXPECT_EQ(p.BoundCond().Real(3, 0), 0);
  EXPECT_EQ(text, kNewProjectText);
  const std::string path = Write("off.tn5d", text);
  TProgramData back;
  ASSERT_TRUE(back.CreateFromFile(path, 1));
  EXPECT_FALSE(back.ApplyConcLoads);
  EXPECT_EQ(back.BoundCond().RowCount(), 1) << "padded to its minimum rows";
  EXPECT_EQ(back.BoundCond().Real(3, 0), 0);
}

TEST_F(ProjectFiles, LongTermProjectWritesTwoBlocks) {
  TProgramData p;
  p.LongTerm = true;
  p.NewSoil().SubTable(2, 0).SetReal(4, 0, 0.5);  // optional earth-pressure coefficient
  p.LongSoil().SetReal(1, 0, 30);
  const std::string text = p.ProjectText();
  const auto lines = SplitLines(text);
  ASSERT_EQ(lines.size(), 28u);
  EXPECT_EQ(lines[13], "9");
  EXPECT_EQ(lines[14], "New Wall");
  EXPECT_EQ(lines[15], lines[1]);
  EXPECT_EQ(lines[11], "0 0 0.0  0 0 0.5 ");
  EXPECT_EQ(lines[24], "1 360 ") << "long-term layer depth 30 ft = 360 in";
  EXPECT_EQ(lines[25], "0 0 0.0  0 0 0.0  ") << "no coefficient in the long-term block";
  EXPECT_EQ(lines[27], "0");
  const std::string path = Write("long.tn5d", text);
  TProgramData back;
  ASSERT_TRUE(back.CreateFromFile(path, 1));
  EXPECT_TRUE(back.LongTerm);
  EXPECT_EQ(back.LongSoil().Real(1, 0), 30);
  EXPECT_EQ(back.NewSoil().SubTable(2, 0).Real(4, 0), 0.5);
  EXPECT_EQ(back.LongSoil().SubTable(2, 0).Real(4, 0), 0.0);
}

TEST_F(ProjectFiles, EnglishValuesAreConvertedBetweenShownAndFileUnits) {
  TProgramData p;
  p.EarthPressureChoice = 1;
  p.DistLoad().SetReal(0, 1, 20);   // ft
  p.DistLoad().SetReal(1, 1, 120);  // lb/ft
  auto& clay = p.NewSoil().SubTable(2, 0);
  clay.SetReal(0, 0, 120);  // lb/ft^3
  clay.SetReal(1, 0, 720);  // lb/ft^2
  const auto lines = SplitLines(p.ProjectText());
  EXPECT_EQ(lines[1], "1 0\t1\t0\t1\t2 0 1 0 0");
  EXPECT_EQ(lines[6], "2");
  EXPECT_EQ(lines[8], "240\t10") << "20 ft = 240 in, 120 lb/ft = 10 lb/in";
  EXPECT_EQ(lines[14], "0.069444444 5 0.0  0 0 0 ") << "120/1728 lb/in^3, 720/144 lb/in^2";
}

TEST_F(ProjectFiles, SiTiebackAreaIsStoredInSquareMetres) {
  TProgramData p;
  p.SetUnits(2);
  p.ApplyTiebacks = true;
  p.TiebackTable1().SetReal(1, 0, 1500);  // mm^2
  const auto lines = SplitLines(p.ProjectText());
  EXPECT_EQ(lines[1], "2 0\t1\t0\t2\t2 0 1 0 1");
  EXPECT_EQ(lines[6], "0\t0.0015\t0\t0\t0\t0\t0");
  const std::string path = Write("tb.tn5d", p.ProjectText());
  TProgramData back;
  ASSERT_TRUE(back.CreateFromFile(path, 1));
  EXPECT_DOUBLE_EQ(back.TiebackTable1().Real(1, 0), 1500);
  EXPECT_TRUE(back.ApplyTiebacks);
}

TEST_F(ProjectFiles, StageBlocksCarryHeadingCountAndTerminator) {
  TProgramData p;
  p.StageCount = 3;
  for (int k = 1; k <= 3; ++k) {
    p.CurrentStage = k;
    const auto lines = SplitLines(p.StageText());
    EXPECT_EQ(lines.front(), k == 1 ? std::string("New Wall") : " Stage No : " + std::to_string(k));
    EXPECT_EQ(lines[1], "1 0\t1\t0\t2\t2 0 3 0 0");
    EXPECT_EQ(lines.back(), std::to_string(k));
  }
}

TEST_F(ProjectFiles, ALineBreakInTheTitleDoesNotSplitTheTitleRecord) {
  TProgramData p;
  p.Title = "Pasted\r\ntitle\n";
  std::string expected = kNewProjectText;
  expected.replace(0, 8, "Pasted  title ");
  EXPECT_EQ(p.ProjectText(), expected);
  TProgramData back;
  ASSERT_TRUE(back.CreateFromFile(Write("t.tn5d", expected), 1));
  EXPECT_EQ(back.Title, "Pasted  title ");
}

// Files the data-file fuzz target found: each read project must be what a save writes back.
// The cases edit the new project's file (or a test-data file) in one place.
struct ReadBackCase {
  const char* name;
  const char* base;   // "" for the new project's text, else a test-data file
  int layout;
  const char* from;   // text replaced (first occurrence)
  const char* to;
};

class ReadBack : public ProjectFiles, public ::testing::WithParamInterface<ReadBackCase> {};

TEST_P(ReadBack, TheProjectReadIsTheProjectSaved) {
  const ReadBackCase& c = GetParam();
  std::string text = *c.base ? *ReadWholeFile(Testdata(c.base)) : std::string(kNewProjectText);
  const std::size_t at = text.find(c.from);
  ASSERT_NE(at, std::string::npos) << c.from;
  text.replace(at, std::string(c.from).size(), c.to);
  TProgramData p;
  (void)p.CreateFromFile(Write("case.tn5d", text), c.layout);
  EXPECT_EQ(p.DroppedData, "");
  TProgramData copy = p;
  ExpectRoundTrip(copy);
  EXPECT_TRUE(copy.SameContent(p));
}

INSTANTIATE_TEST_SUITE_P(
    FuzzFindings, ReadBack,
    ::testing::Values(
        // A lone CR before the title's text is a blank, as the writer writes it.
        ReadBackCase{"CarriageReturnInTheTitle", "", 4, "New Wall", "\rz8"},
        // The last stiffness row is saved with the constant code.
        ReadBackCase{"LastStiffnessRowCode", "", 1, "0\t1\t1\t0", "0\t1\t20\t0"},
        // External curves switched on by the count, none read before the file ended.
        ReadBackCase{"CurveCountWithoutCurves", "", 1, "1 0\t1\t0\t2\t2 0 1 0 0\r\n0 0",
                     "1 0\t1\t0\t2\t2 3 1 0 0\r\n0 0"},
        // A staged file whose terminator asks for a long-term block: stages have none.
        ReadBackCase{"LongTermAfterStages", "longterm30.tnd", 3, "1 1 1 0 1 0 1 1", "1 1 1 0 1 0 1 3"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProjectFiles, ALongTermBlockWithOtherSharedValuesSaysWhatTheProjectKeeps) {
  // The short-term block has a user distributed load, the long-term block none: the
  // project keeps the long-term control values and says so on open.
  std::string text = *ReadWholeFile(Testdata("longterm30.tnd"));
  const std::size_t second = text.find("Tarnel 3 wall", 1);
  text.replace(text.find("240 1.0", second), 7, "240 2.0");
  TProgramData p;
  ASSERT_TRUE(p.CreateFromFile(Write("lt.tnd", text), 3));
  EXPECT_EQ(p.DroppedData, "");  // only the long-term distributed load differs: it is kept
  text = *ReadWholeFile(Testdata("longterm30.tnd"));
  text.replace(text.find("1 0 0 1000 0 0", second), 14, "1 0 0 2000 0 0");
  ASSERT_TRUE(p.CreateFromFile(Write("lt2.tnd", text), 3));
  EXPECT_EQ(p.DroppedData,
            "The long-term block holds different Concentrated Loads; the project keeps one set, the long-term "
            "one. Saving will write it for both analyses.");
}

TEST_F(ProjectFiles, SoilLayersOfOnlyOneGeneratorAreReportedAsNotKept) {
  std::string text = kNewProjectText;
  text.replace(text.find("1 0\t1\t0\t2\t2 0"), 13, "1 0\t1\t0\t3\t0 0");
  TProgramData p;
  ASSERT_TRUE(p.CreateFromFile(Write("ep.tn5d", text), 1));
  EXPECT_EQ(p.DroppedData,
            "The file generates earth pressure without p-y curves; the project keeps the soil layers only with "
            "both, so they are not kept. Saving will write the analysis without them.");
  // Without generation the choice is the user table, which is what a save writes (a
  // triangular choice kept here was written as none and read back as the user table).
  EXPECT_FALSE(p.GeneratePY);
  EXPECT_EQ(p.EarthPressureChoice, 1);
  ExpectRoundTrip(p);
}

TEST(SameReal, ANonFiniteValueEqualsOnlyItself) {
  const double inf = HUGE_VAL;
  EXPECT_TRUE(SameReal(inf, inf, 1e-7));
  EXPECT_FALSE(SameReal(inf, 0, 1e-7));
  EXPECT_FALSE(SameReal(0, -inf, 1e-7));
  EXPECT_FALSE(SameReal(std::nan(""), std::nan(""), 1e-7));
  EXPECT_TRUE(SameReal(1.0, 1.0 + 5e-8, 1e-7));
  EXPECT_FALSE(SameReal(1.0, 1.0 + 5e-7, 1e-7));
}

TEST_F(ProjectFiles, ModificationFactorOf0036ReadsAsOne) {
  std::string text = kNewProjectText;
  text.replace(text.find("0\t0\t0\t0\t0\t1\t1\t0"), 15, "0\t0\t0\t0\t0\t0.036\t1\t0");
  TProgramData p;
  ASSERT_TRUE(p.CreateFromFile(Write("f.tn5d", text), 1));
  EXPECT_EQ(p.ActiveFactor, 1.0);
}

TEST_F(ProjectFiles, EarthPressureCodeZeroOpensWithoutGeneration) {
  std::string text = kNewProjectText;
  text.replace(text.find("1 0\t1\t0\t2\t2 0"), 13, "1 0\t1\t0\t0\t2 0");
  TProgramData p;
  ASSERT_TRUE(p.CreateFromFile(Write("z.tn5d", text), 1));
  EXPECT_FALSE(p.GeneratePY);
  EXPECT_EQ(p.EarthPressureChoice, 1);
}

TEST_F(ProjectFiles, CommaDecimalGivesTheFloatingPointErrorAndKeepsWhatWasRead) {
  std::string text = kNewProjectText;
  text.replace(text.find("0 0\t100"), 7, "40 0\t100,5");
  TProgramData p;
  const FileResult r = p.CreateFromFile(Write("comma.tn5d", text), 1);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, "Error on Line 3 Item 3\nA floating point number was expected but not found.");
  EXPECT_EQ(p.Increments, 40) << "values before the error stay";
  EXPECT_EQ(p.PileSect().RowCount(), 1) << "tables padded to their minimum rows";
  EXPECT_EQ(p.DistLoad().RowCount(), 2);
  EXPECT_FALSE(p.IsModified());
}

// The SI tieback area (m^2 in the file, x 1E6 to mm^2) and the English distributed load
// (lb/in in the file, x 12 to lb/ft) are checked after their conversion too.
TEST_F(ProjectFiles, ValuesThatOverflowOnConversionNameTheirLineAndItem) {
  const std::string si =
      "T\r\n2 0\t1\t0\t1\t0 0 1 0 1\r\n10 1\t100\t1E-5\t0\t1\r\n0\t10\t1\t1000\r\n0\r\n0\r\n"
      "2\t1E303\t2E8\t3\t15\t2\t0\r\n2\r\n0\t0\r\n10\t5\r\n0\r\n";
  TProgramData p;
  EXPECT_EQ(p.CreateFromFile(Write("si.tn5d", si), 1).message,
            "Error on Line 7 Item 2\nThe number is too large to be converted to the units of the project.");
  std::string english = si;
  english.replace(english.find("T\r\n2 0"), 6, "T\r\n1 0");
  english.replace(english.find("1E303"), 5, "0.5");
  english.replace(english.find("10\t5\r\n"), 6, "10\t1E308\r\n");
  const FileResult r = p.CreateFromFile(Write("english.tn5d", english), 1);
  EXPECT_EQ(r.message, "Error on Line 10 Item 2\nThe number is too large to be converted to the units of the project.");
  // Values that stay finite are converted as before.
  english.replace(english.find("1E308"), 5, "1E300");
  const FileResult fine = p.CreateFromFile(Write("fine.tn5d", english), 1);
  ASSERT_TRUE(fine) << fine.message;
  EXPECT_DOUBLE_EQ(p.DistLoad().Real(1, 1), 1.2e301);
}

// A value a file could hold in its own units may leave the range of a double in others; it
// would then be saved as 0. The units switch is refused and the project kept as it was.
TEST_F(ProjectFiles, UnitsAreKeptWhereAValueWouldOverflowInTheOthers) {
  const std::string si =
      "T\r\n2 0\t1\t0\t1\t0 0 1 0 1\r\n10 1\t100\t1E-5\t0\t1\r\n0\t10\t1\t1000\r\n0\r\n0\r\n"
      "2\t0.001\t2E8\t3\t15\t2\t0\r\n2\r\n0\t0\r\n10\t5\r\n0\r\n";
  struct Case {
    const char* from;
    const char* to;
    bool toEnglish;
  };
  const Case cases[] = {
      {"10 1\t", "10 1\t", true},            // nothing large
      {"10 1\t", "10 1E307\t", false},       // a scalar: the increment length, m to in
      {"10\t5\r\n", "10\t1E308\r\n", false},  // a table value: the distributed load
      {"10\t5\r\n", "10\t1E306\r\n", true},   // large, but still a double in lb/in
      {"0\t0\r\n10\t", "0\t0\r\n5E307\t", false},  // a depth: finite in feet, not in the file's inches
  };
  for (const Case& c : cases) {
    std::string text = si;
    text.replace(text.find(c.from), std::string(c.from).size(), c.to);
    TProgramData p;
    const FileResult r = p.CreateFromFile(Write("large.tn5d", text), 1);
    ASSERT_TRUE(r) << c.to << r.message;
    int calls = 0;
    p.UnitsChanged = [&](int) { ++calls; };
    EXPECT_EQ(p.UnitsConvertible(1), c.toEnglish) << c.to;
    EXPECT_TRUE(p.UnitsConvertible(2)) << c.to;
    EXPECT_EQ(p.Units, 2) << "the check converts a copy";
    EXPECT_EQ(calls, 0) << "and tells no one";
    if (c.toEnglish) {
      p.SetUnits(1);
      EXPECT_TRUE(p.UnitsConvertible(2)) << c.to << ": and back again";
    }
  }
}

// A number no double holds would be written as 0: the writers refuse the project and keep
// the file as it was. Values in sub-tables count too.
TEST_F(ProjectFiles, ANumberThatIsNotFiniteIsNeverWritten) {
  const std::string path = Write("kept.tn5d", "old contents");
  using Spoil = void (*)(TProgramData&);
  const Spoil spoils[] = {
      [](TProgramData& p) { p.WaterDepthBack = HUGE_VAL; },
      [](TProgramData& p) { p.PileSect().SetReal(3, 0, -HUGE_VAL); },
      [](TProgramData& p) { p.NewSoil().SubTable(2, 0).SetReal(0, 0, HUGE_VAL); },
      [](TProgramData& p) { p.NewSoil().SetReal(1, 0, 1e308); },  // English depths are written x 12
  };
  for (const Spoil spoil : spoils) {
    TProgramData p;
    p.CreateNew();
    ASSERT_EQ(p.Units, 1);
    ASSERT_TRUE(p.NumbersFitTheFile());
    spoil(p);
    EXPECT_FALSE(p.NumbersFitTheFile());
    const FileResult project = p.WriteProject(path);
    EXPECT_FALSE(project);
    EXPECT_EQ(project.message,
              "The project holds a number too large to be written in its units. The file was not saved.");
    EXPECT_FALSE(p.WriteStage(path));
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old contents");
  }
}

TEST_F(ProjectFiles, ReadingErrorsOfEveryKind) {
  struct Case {
    const char* from;
    const char* to;
    const char* message;
  };
  const Case cases[] = {
      {"0\t1\t1\t0", "0\t1.5\t1\t0", "Error on Line 4 Item 2\nAn integer was expected but not found."},
      {"1\r\n1 0 \r\n", "1\r\nx 0 \r\n", "Error on Line 11 Item 1\nAn integer was expected but not found."},
      // A stiffness no double can hold is refused rather than kept as an infinity (saved as 0).
      {"0\t1\t1\t0", "0\t1\t1\t1E400", "Error on Line 4 Item 4\nA floating point number was expected but not found."},
      // English unit weights (x 1728) and cohesions (x 144) that leave the range of a double
      // only on conversion are refused the same way, not kept as infinities.
      {"0 0 0.0  0 0 0 \r\n", "2E305 0 0.0  0 0 0 \r\n",
       "Error on Line 12 Item 1\nThe number is too large to be converted to the units of the project."},
      {"0 0 0.0  0 0 0 \r\n", "0 1E307 0.0  0 0 0 \r\n",
       "Error on Line 12 Item 2\nThe number is too large to be converted to the units of the project."},
  };
  for (const auto& c : cases) {
    std::string text = kNewProjectText;
    text.replace(text.find(c.from), std::string(c.from).size(), c.to);
    TProgramData p;
    const FileResult r = p.CreateFromFile(Write("e.tn5d", text), 1);
    EXPECT_EQ(r.message, c.message);
  }
  // Words running out, and a wall record with an extra word that shifts every later record.
  TProgramData p;
  EXPECT_EQ(p.CreateFromFile(Write("short.tn5d", "New Wall\r\n1 0 1 0 2\r\n"), 1).message,
            "This file either invalid or incomplete.");
  std::string extra = kNewProjectText;
  extra.replace(extra.find("\t1E-5\t0\t0"), 9, "\t1E-5\t0\t0\t7");
  p.CreateFromFile(Write("extra.tn5d", extra), 1);
  EXPECT_EQ(p.PileSect().Integer(0, 0), 7) << "the extra word is taken as the next record's first value";
  EXPECT_FALSE(p.CreateFromFile(Path("missing.tn5d"), 1).ok);
  EXPECT_EQ(p.PileSect().RowCount(), 1);
  // A folder (dropped on the window, or a recent file that became one) is a file that cannot
  // be opened, not a fault of the program.
  fs::create_directory(Path("folder.tn5d"));
  const FileResult folder = p.CreateFromFile(Path("folder.tn5d"), 1);
  EXPECT_FALSE(folder.ok);
  EXPECT_FALSE(folder.message.empty());
  EXPECT_EQ(p.PileSect().RowCount(), 1);
  EXPECT_FALSE(ReadWholeFile(Path("folder.tn5d")).has_value());
}

TEST_F(ProjectFiles, CountsBeyondTheEditorMaximumAreReadCompletely) {
  TProgramData p;
  p.ApplyConcLoads = true;
  p.BoundCond().SetRowCount(25);  // the editor stops at 20
  p.BoundCond().SetReal(3, 24, 7);
  p.PileSect().SetRowCount(0);
  const std::string path = Path("many.tn5d");
  ASSERT_TRUE(p.WriteProject(path));
  EXPECT_EQ(p.PileSect().RowCount(), 1) << "a stiffness row is always written";
  TProgramData back;
  ASSERT_TRUE(back.CreateFromFile(path, 1));
  EXPECT_EQ(back.BoundCond().RowCount(), 25);
  EXPECT_EQ(back.BoundCond().Real(3, 24), 7);
}

TEST_F(ProjectFiles, HugeCountsInABrokenFileEndInAMessage) {
  std::string text = kNewProjectText;
  text.replace(text.find("1\r\n1 0 \r\n"), 3, "2000000000\r\n");
  TProgramData p;
  EXPECT_EQ(p.CreateFromFile(Write("huge.tn5d", text), 1).message, "This file either invalid or incomplete.");
}

TEST_F(ProjectFiles, ReadingAnSiFileConvertsTheDefaultsFirst) {
  std::string text = kNewProjectText;
  text.replace(0, text.find("\r\n1 0\t") + 3, "New Wall\r\n2 ");
  TProgramData p;
  ASSERT_TRUE(p.CreateFromFile(Write("si.tn5d", text), 1));
  EXPECT_EQ(p.Units, 2);
  EXPECT_EQ(p.MaxDeflection, 100) << "the file's value, not the converted default";
  EXPECT_EQ(p.NewSoil().Units(), 2);
  EXPECT_EQ(p.ProjectText().substr(10, 3), "2 0");
}

TEST_F(ProjectFiles, UnitSwitchConvertsScalarsAndTables) {
  TProgramData p;
  p.IncrementLength = 12;
  p.UniformSurcharge = 1;      // lb/in^2
  p.LegacySurcharge = {24, 1000, 100, 1, 12};
  p.PileSect().SetReal(3, 0, 348454.5);  // lb-in^2
  p.NewSoil().SubTable(2, 0).SetReal(0, 0, 120);  // lb/ft^3
  p.SurchargeTable().SetRowCount(3);
  for (int r = 0; r < 3; ++r) {
    p.SurchargeTable().SetInteger(0, r, r + 1);
    p.SurchargeTable().SetReal(1, r, 100);
  }
  int refreshed = 0;
  p.UnitsChanged = [&](int u) { refreshed = u; };
  const TProgramData english = p;
  p.SetUnits(2);
  EXPECT_EQ(refreshed, 2);
  EXPECT_DOUBLE_EQ(p.IncrementLength, 12 * 0.0254);
  const double c = 0.004448222468060651, b = 0.0254;
  EXPECT_DOUBLE_EQ(p.UniformSurcharge, c / (b * b));
  EXPECT_DOUBLE_EQ(p.LegacySurcharge[1], 1000 * c);
  EXPECT_DOUBLE_EQ(p.LegacySurcharge[2], 100 * c / b);
  EXPECT_NEAR(p.PileSect().Real(3, 0), 1.0, 1e-7) << "348454.5 lb-in^2 is 1 kN-m^2";
  EXPECT_NEAR(p.NewSoil().SubTable(2, 0).Real(0, 0), 120 * 4.4482216152605e-3 / std::pow(0.3048, 3), 1e-5)
      << "120 lb/ft^3 in kN/m^3 (factors of the token table hold 10 digits)";
  EXPECT_DOUBLE_EQ(p.SurchargeTable().Real(1, 0), 100 * c);
  EXPECT_DOUBLE_EQ(p.SurchargeTable().Real(1, 1), 100 * c / b);
  EXPECT_DOUBLE_EQ(p.SurchargeTable().Real(1, 2), 100 * c / (b * b));

  p.SetUnits(1);
  EXPECT_TRUE(p.PileSect().SameData(english.Table("PileSect"), 1e-14)) << "tables come back exactly";
  EXPECT_TRUE(p.NewSoil().SameData(english.Table("NewSoil"), 1e-14));
  EXPECT_DOUBLE_EQ(p.IncrementLength, 12) << "scalars come back to the value typed";

  const TProgramData before = p;
  p.SetUnits(3);
  p.SetUnits(1);
  EXPECT_TRUE(p.SameContent(before, 0.0)) << "switching through Other changes nothing";
}

TEST_F(ProjectFiles, ModifiedFlagFollowsEditsAndSaves) {
  TProgramData p;
  EXPECT_FALSE(p.IsModified());
  p.PileSect().SetReal(3, 0, 5);
  EXPECT_TRUE(p.IsModified());
  ASSERT_TRUE(p.WriteProject(Path("m.tn5d")));
  EXPECT_FALSE(p.IsModified());
  p.NewSoil().SubTable(2, 0).SetReal(0, 0, 1);
  EXPECT_TRUE(p.IsModified()) << "an edit in a sub-table counts";
  p.ClearModified();
  p.SetModified();
  EXPECT_TRUE(p.IsModified());
}

TEST_F(ProjectFiles, SavingNeverDestroysThePreviousFile) {
  const std::string path = Write("keep.tn5d", "previous contents\r\n");
  TProgramData p;
  // A folder that does not exist cannot take the temporary file: the old file stays.
  EXPECT_FALSE(p.WriteProject(Path("no-such-folder/x.tn5d")));
  // A target that cannot be replaced (a folder of that name) leaves it untouched too.
  fs::create_directory(Path("dir.tn5d"));
  fs::create_directory(Path("dir.tn5d/inner"));
  const FileResult r = p.WriteProject(Path("dir.tn5d"));
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.message.empty());
  EXPECT_TRUE(fs::is_directory(Path("dir.tn5d")));
  EXPECT_EQ(*ReadWholeFile(path), "previous contents\r\n");
  for (const auto& e : fs::directory_iterator(dir_.path()))
    EXPECT_EQ(e.path().string().find(".tmp"), std::string::npos) << "no temporary file left: " << e.path();
  ASSERT_TRUE(p.WriteProject(path));
  EXPECT_EQ(*ReadWholeFile(path), kNewProjectText);
}

TEST(OptionSwitches, CaptionsAndTables) {
  TProgramData p;
  ASSERT_EQ(OptionSwitches().size(), 10u);
  int on = 0;
  for (const auto& s : OptionSwitches()) {
    EXPECT_NO_THROW(p.Table(s.table)) << s.name;
    on += (p.*s.member) ? 1 : 0;
  }
  EXPECT_EQ(on, 1) << "only p-y generation is on in a new project";
  EXPECT_STREQ(OptionSwitches()[3].menuCaption, "Apply Tieback (Ground  Anchor)");
  EXPECT_EQ(OpenDialogFileTypes()[kLayoutTnd20 - 1], "Tarnel 2.0 (*.tnd)");
}

TEST(LayoutCode, FromTheExtension) {
  EXPECT_EQ(LayoutCodeFromExtension("a/b/wall.tn4d"), 2);
  EXPECT_EQ(LayoutCodeFromExtension("WALL.TND"), 3);
  EXPECT_EQ(LayoutCodeFromExtension("wall.tn5d"), 1);
  EXPECT_EQ(LayoutCodeFromExtension("wall.txt"), 1);
}

// ---------------------------------------------------------------- older layouts

TEST_F(ProjectFiles, OldestLayoutWithLegacySurcharge) {
  for (int code : {4, 5}) {
    TProgramData p;
    const FileResult r = p.CreateFromFile(Testdata("oldest.tnd"), code);
    ASSERT_TRUE(r) << r.message;
    EXPECT_EQ(p.Title, "Oldest wall");
    EXPECT_EQ(p.StageCount, 1);
    EXPECT_EQ(p.Increments, 40);
    EXPECT_EQ(p.FreeHeight, 120);
    EXPECT_EQ(p.ActiveFactor, 1.0) << "0.036 is read as 1.0";
    EXPECT_EQ(p.PileSect().RowCount(), 2);
    EXPECT_EQ(p.PYMod().Real(0, 0), 5) << "the oldest layout holds shown units (ft)";
    EXPECT_EQ(p.PYMod().RowCount(), 2) << "padded to the minimum of two rows";
    // Layers: thicknesses 10 and 20 give bottoms 10 and 30; one parameter line serves
    // top and bottom; type 6 is strong rock; no unit conversion.
    auto& soil = p.NewSoil();
    ASSERT_EQ(soil.RowCount(), 2);
    EXPECT_EQ(soil.Real(1, 0), 10);
    EXPECT_EQ(soil.Real(1, 1), 30);
    const auto& clay = soil.SubTable(2, 0);
    for (int row = 0; row < 2; ++row) {
      EXPECT_EQ(clay.Real(0, row), 120);
      EXPECT_EQ(clay.Real(1, row), 720);
      EXPECT_EQ(clay.Real(2, row), 0.01);
      EXPECT_EQ(clay.Real(3, row), 100);
    }
    EXPECT_EQ(soil.Integer(0, 1), 6);
    EXPECT_EQ(soil.SubTable(2, 1).Name(), "TblRock1");
    EXPECT_EQ(soil.SubTable(2, 1).Real(1, 1), 1000);
    // The single legacy surcharge becomes three rows and switches surcharges on.
    EXPECT_TRUE(p.ApplySurcharge);
    auto& s = p.SurchargeTable();
    ASSERT_EQ(s.RowCount(), 3);
    const double magnitude[] = {1000, 100, 1};
    for (int r = 0; r < 3; ++r) {
      EXPECT_EQ(s.Integer(0, r), r + 1);
      EXPECT_EQ(s.Real(1, r), magnitude[r]);
      EXPECT_EQ(s.Real(2, r), 24);
      EXPECT_EQ(s.Real(3, r), 12);
    }
    EXPECT_EQ(p.LegacySurcharge[0], 24);
    // External curve with the two-value header: multipliers 1.
    EXPECT_TRUE(p.ApplyExtPY);
    ASSERT_EQ(p.PYCurves2().RowCount(), 1);
    EXPECT_EQ(p.PYCurves2().Integer(0, 0), 10);
    EXPECT_EQ(p.PYCurves2().Real(2, 0), 1.0);
    EXPECT_EQ(p.PYCurves2().SubTable(1, 0).RowCount(), 3);
    EXPECT_EQ(p.PYCurves2().SubTable(1, 0).Real(1, 2), -150);
    // Converted to the current layout it reads back the same; the legacy values stay.
    const std::string text = p.ProjectText();
    EXPECT_NE(text.find("0.5\t24\t1000\t100\t1\t12\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("1 120 \r\n0.069444444 5 0.0  0.01 100 0 \r\n"), std::string::npos)
        << "10 ft, 120 lb/ft^3 and 720 lb/ft^2 in file units:\n" << text;
    ExpectRoundTrip(p);
  }
}

// The oldest layout holds depths in feet and a save writes them in inches (x 12): a depth
// that would leave the range of a double there is refused on reading, not saved as 0.
TEST_F(ProjectFiles, OldestLayoutDepthsThatOverflowInInchesAreRefused) {
  const std::string base = *ReadWholeFile(Testdata("oldest.tnd"));
  const struct {
    const char* from;
    const char* to;
    const char* at;
  } cases[] = {
      {"5 1.0 1.0", "1E308 1.0 1.0", "Line 8 Item 1"},           // p-y modification depth
      {"6 20\r\n", "6 1.7E308\r\n", "Line 14 Item 2"},           // 10 + 1.7E308 ft, then x 12
  };
  for (const auto& c : cases) {
    std::string text = base;
    text.replace(text.find(c.from), std::string(c.from).size(), c.to);
    TProgramData p;
    EXPECT_EQ(p.CreateFromFile(Write("big.tnd", text), kLayoutTnd20).message,
              std::string("Error on ") + c.at + "\nThe number is too large to be saved in the units of the data file.");
  }
  std::string fine = base;
  fine.replace(fine.find("5 1.0 1.0"), 9, "1E307 1.0 1.0");
  TProgramData p;
  ASSERT_TRUE(p.CreateFromFile(Write("fine.tnd", fine), kLayoutTnd20));
  EXPECT_NE(p.ProjectText().find("\r\n1.2E308\t1\t1\r\n"), std::string::npos) << p.ProjectText();
}

TEST_F(ProjectFiles, Layout30WithLongTermBlock) {
  TProgramData p;
  const FileResult r = p.CreateFromFile(Testdata("longterm30.tnd"), 3);
  ASSERT_TRUE(r) << r.message;
  EXPECT_TRUE(p.LongTerm);
  EXPECT_FALSE(p.GeneratePY);
  EXPECT_EQ(p.EarthPressureChoice, 1);
  EXPECT_TRUE(p.ApplyRestraints);
  EXPECT_TRUE(p.ApplyConcLoads);
  EXPECT_TRUE(p.ApplyExtPY);
  EXPECT_EQ(p.SoilLayer().Real(2, 0), 0.5);
  EXPECT_EQ(p.DistLoad().Real(0, 1), 20) << "240 in = 20 ft";
  EXPECT_EQ(p.DistLoad().Real(1, 1), 6) << "0.5 lb/in = 6 lb/ft";
  EXPECT_EQ(p.LongDist().Real(1, 1), 12);
  EXPECT_EQ(p.PYCurves2().Real(3, 0), 1.0);
  ExpectRoundTrip(p);
}

TEST_F(ProjectFiles, Layout30LegacySurchargeDistance) {
  TProgramData p;
  const FileResult r = p.CreateFromFile(Testdata("surcharge30.tnd"), 3);
  ASSERT_TRUE(r) << r.message;
  EXPECT_TRUE(p.ApplySurcharge);
  ASSERT_EQ(p.SurchargeTable().RowCount(), 3);
  EXPECT_EQ(p.SurchargeTable().Real(1, 0), 500);
  EXPECT_EQ(p.SurchargeTable().Real(1, 2), 2);
  EXPECT_EQ(p.SurchargeTable().Real(2, 1), 36);
  EXPECT_EQ(p.NewSoil().SubTable(2, 0).Name(), "TblSand1");
  EXPECT_NEAR(p.NewSoil().SubTable(2, 0).Real(0, 0), 0.07 * 1728, 1e-9);
  EXPECT_EQ(p.NewSoil().SubTable(2, 0).Real(1, 1), 34);
  EXPECT_EQ(p.NewSoil().Real(1, 0), 40);
  ExpectRoundTrip(p);
}

TEST_F(ProjectFiles, Layout2013InSiUnits) {
  TProgramData p;
  const FileResult r = p.CreateFromFile(Testdata("si2013.tn4d"), LayoutCodeFromExtension("si2013.tn4d"));
  ASSERT_TRUE(r) << r.message;
  EXPECT_EQ(p.Units, 2);
  EXPECT_EQ(p.IncrementLength, 0.2);
  EXPECT_EQ(p.MaxDeflection, 0.5);
  EXPECT_TRUE(p.ApplySprings);
  EXPECT_EQ(p.SoilStrength().Integer(1, 0), 5);
  EXPECT_EQ(p.SoilStrength().Real(3, 0), 1000);
  EXPECT_EQ(p.PYMod().Real(0, 0), 3) << "SI depths are not converted";
  EXPECT_TRUE(p.ApplySurcharge);
  EXPECT_EQ(p.SurchargeTable().Integer(0, 0), 3);
  EXPECT_EQ(p.SurchargeTable().Real(2, 0), 2000);
  EXPECT_EQ(p.UniformSurcharge, 10);
  const auto& silt = p.NewSoil().SubTable(2, 1);
  EXPECT_EQ(silt.Name(), "TblSilt1");
  EXPECT_EQ(silt.Real(0, 0), 19);
  EXPECT_EQ(silt.Real(1, 0), 28);
  EXPECT_EQ(silt.Real(2, 1), 12);
  EXPECT_EQ(silt.Real(5, 0), 0.5);
  EXPECT_TRUE(p.ApplyMEI);
  EXPECT_EQ(p.MEICurves2().Integer(1, 0), 30);
  EXPECT_EQ(p.MEICurves2().SubTable(2, 0).Real(1, 1), 40000);
  ExpectRoundTrip(p);
}

// ---------------------------------------------------------------- examples

TEST_F(ProjectFiles, EveryExampleReadsAndRoundTrips) {
  const auto examples = ExampleDataFiles();
  // The examples are part of the project: a broken path must not pass as "nothing to test".
  ASSERT_FALSE(examples.empty()) << "no example data files under " << TARNEL_SOURCE_DIR << "/examples";
  for (const fs::path& file : examples) {
    SCOPED_TRACE(file.string());
    TProgramData p;
    const FileResult r = p.CreateFromFile(file.string(), 1);
    ASSERT_TRUE(r) << r.message;
    if (p.StageCount > 1) continue;  // staged examples: see the stage-file tests
    ExpectRoundTrip(p, file.filename().string());
  }
}

}  // namespace
}  // namespace tarnel::model
