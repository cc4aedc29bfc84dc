// Files written by the model go through the analysis engine without a reading error.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "app/model/program_data.h"
#include "app/model/stage_files.h"
#include "app/model/testing_files.h"
#include "app/model/testing_temp_dir.h"
#include "app/model/text_file.h"
#include "engine/driver.h"

namespace tarnel::model {
namespace {

namespace fs = std::filesystem;

class CurrentDir {
 public:
  explicit CurrentDir(const fs::path& p) : old_(fs::current_path()) { fs::current_path(p); }
  ~CurrentDir() {
    std::error_code ec;
    fs::current_path(old_, ec);
  }

 private:
  fs::path old_;
};

// Runs the engine on `dataText` and returns the report (and the plot-data file in *plot).
std::string RunEngine(const std::string& dataText, std::string* plot = nullptr) {
  TempDir dir;
  const std::string base = (dir.path() / "wall").string();
  std::ofstream(base + ".tn5d", std::ios::binary) << dataText;
  std::ofstream(dir.path() / "names.dat", std::ios::binary)
      << "2015.5.22\r\n" << base << ".tn5d\r\n" << base << ".tn5o\r\n" << base << ".tn5p\r\n" << base << ".tn5r\r\n";
  CurrentDir cd(dir.path());
  EXPECT_EQ(ITARNEL(22), 0);
  if (plot) *plot = ReadWholeFile(base + ".tn5p").value_or("");
  return ReadWholeFile(base + ".tn5o").value_or("");
}

void ExpectReadWithoutError(const std::string& report) {
  EXPECT_FALSE(report.empty());
  EXPECT_EQ(report.find("DATA FILE ERROR"), std::string::npos) << report;
}

TEST(EngineRun, NewProjectIsReadWithoutAReadingError) {
  TProgramData p;
  const std::string report = RunEngine(p.ProjectText());
  ExpectReadWithoutError(report);
  // The check above does see reading errors: a word that is no number is one.
  std::string broken = p.ProjectText();
  broken.replace(broken.find("\t100\t"), 5, "\tx00\t");
  EXPECT_NE(RunEngine(broken).find("DATA FILE ERROR"), std::string::npos);
}

TEST(EngineRun, ProjectWithEveryOptionIsReadWithoutAReadingError) {
  TProgramData p;
  p.Title = "Tieback wall with every option";
  p.Increments = 40;
  p.IncrementLength = 6;
  p.MaxDeflection = 24;
  p.FreeHeight = 120;
  p.WidthActive = 12;
  p.WidthPY = 12;
  p.WaterDepthBack = 600;
  p.WaterDepthExc = 600;
  p.EarthPressureChoice = 3;
  p.ApplyRestraints = p.ApplyConcLoads = p.ApplySprings = p.ApplyTiebacks = true;
  p.ApplyPYMod = p.ApplyExtPY = p.ApplyMEI = p.ApplySurcharge = true;
  p.PileSect().SetInteger(1, 0, 40);
  p.PileSect().SetReal(3, 0, 5e9);
  p.SoilLayer().SetInteger(1, 0, 40);
  p.BoundCond().SetInteger(1, 0, 0);
  p.BoundCond().SetInteger(2, 0, 0);
  p.BoundCond().SetReal(3, 0, 1000);
  p.SoilStrength().SetInteger(1, 0, 40);
  p.SoilStrength().SetInteger(2, 0, 40);
  p.SoilStrength().SetReal(3, 0, 100);
  const double tieback[] = {3, 1.5, 29e6, 15, 15, 8, 10000};
  for (int c = 0; c < 7; ++c) p.TiebackTable1().SetReal(c, 0, tieback[c]);
  p.PYMod().SetReal(0, 1, 20);
  p.SurchargeTable().SetReal(1, 0, 1000);
  p.SurchargeTable().SetReal(2, 0, 60);
  auto& soil = p.NewSoil();
  soil.SetRowCount(2);
  soil.SetInteger(0, 0, 4);
  soil.SetReal(1, 0, 10);
  soil.SetInteger(0, 1, 3);
  soil.SetReal(1, 1, 40);
  for (int row = 0; row < 2; ++row) {
    auto& sand = soil.SubTable(2, 0);
    sand.SetReal(0, row, 115);
    sand.SetReal(1, row, 32);
    sand.SetReal(2, row, 90);
    auto& clay = soil.SubTable(2, 1);
    clay.SetReal(0, row, 120);
    clay.SetReal(1, row, 2000);
    clay.SetReal(2, row, 0.005);
    clay.SetReal(3, row, 500);
  }
  auto& py = p.PYCurves2();
  py.SetRowCount(1);
  py.SetInteger(0, 0, 30);
  auto& curve = py.SubTable(1, 0);
  curve.SetReal(0, 1, 1);
  curve.SetReal(1, 1, -200);
  auto& mei = p.MEICurves2();
  mei.SetRowCount(1);
  mei.SetInteger(1, 0, 40);
  mei.SubTable(2, 0).SetRowCount(2);
  mei.SubTable(2, 0).SetReal(1, 0, 5e9);
  mei.SubTable(2, 0).SetReal(0, 1, 1e7);
  mei.SubTable(2, 0).SetReal(1, 1, 4e9);
  ExpectReadWithoutError(RunEngine(p.ProjectText()));
  p.LongTerm = true;
  ExpectReadWithoutError(RunEngine(p.ProjectText()));
  p.LongTerm = false;
  p.SetUnits(2);
  ExpectReadWithoutError(RunEngine(p.ProjectText()));
}

TEST(EngineRun, ConvertedOlderFilesAreReadWithoutAReadingError) {
  const std::pair<const char*, int> files[] = {
      {"oldest.tnd", 4}, {"longterm30.tnd", 3}, {"surcharge30.tnd", 3}, {"si2013.tn4d", 2}};
  for (const auto& [name, layout] : files) {
    SCOPED_TRACE(name);
    TProgramData p;
    ASSERT_TRUE(p.CreateFromFile(Testdata(name), layout));
    ExpectReadWithoutError(RunEngine(p.ProjectText()));
  }
  // A staged file converted stage by stage and joined.
  TempDir dir;
  const std::string data = (dir.path() / "staged.tn4d").string();
  fs::copy_file(Testdata("staged.tn4d"), data);
  TProgramData p;
  ASSERT_TRUE(p.CreateFromFile(data, 2));
  ASSERT_TRUE(SplitStagedFile(data, p.StageCount));
  ASSERT_TRUE(ConvertStageFiles(p, data, p.StageCount, 2));
  const std::string joined = (dir.path() / "staged.tn5d").string();
  ASSERT_TRUE(JoinStageFiles(joined, p.StageCount, data));
  const std::string report = RunEngine(*ReadWholeFile(joined));
  ExpectReadWithoutError(report);
  EXPECT_NE(report.find("Stage No : 2"), std::string::npos);
}

TEST(EngineRun, ExamplesRewrittenByTheModelStillAnalyse) {
  const auto examples = ExampleDataFiles();
  // The examples are part of the project: a broken path must not pass as "nothing to test".
  ASSERT_FALSE(examples.empty()) << "no example data files under " << TARNEL_SOURCE_DIR << "/examples";
  for (const fs::path& file : examples) {
    SCOPED_TRACE(file.string());
    TProgramData p;
    ASSERT_TRUE(p.CreateFromFile(file.string(), 1));
    if (p.StageCount > 1) continue;
    const std::string original = RunEngine(*ReadWholeFile(file.string()));
    const std::string rewritten = RunEngine(p.ProjectText());
    ExpectReadWithoutError(rewritten);
    const bool ran = original.find("END OF ANALYSIS") != std::string::npos;
    EXPECT_EQ(rewritten.find("END OF ANALYSIS") != std::string::npos, ran);
    EXPECT_EQ(rewritten.find("ERROR STOP") != std::string::npos, original.find("ERROR STOP") != std::string::npos);
  }
}

// Opening a file and saving it again loses nothing the analysis uses: every example and
// every test data file, opened and saved, gives the same results as before (the file as it
// was for files of the current layout; the first save for older layouts, which the engine
// reads only once converted), and says nothing was dropped.
TEST(EngineRun, OpenAndSaveKeepTheResultsOfEveryExampleAndTestFile) {
  std::vector<std::pair<std::string, int>> files;
  for (const fs::path& f : ExampleDataFiles()) files.emplace_back(f.string(), kLayoutTn5d);
  for (const auto& [name, layout] : {std::pair{"oldest.tnd", 4}, {"longterm30.tnd", 3}, {"surcharge30.tnd", 3},
                                     {"si2013.tn4d", 2}, {"staged.tn4d", 2}})
    files.emplace_back(Testdata(name), layout);
  for (const auto& [file, layout] : files) {
    SCOPED_TRACE(file);
    TProgramData opened;
    ASSERT_TRUE(opened.CreateFromFile(file, layout));
    EXPECT_EQ(opened.DroppedData, "");
    if (opened.StageCount > 1) continue;  // saved stage by stage (stage-file tests)
    const std::string saved = opened.ProjectText();
    std::string before, after;
    if (layout == kLayoutTn5d) {
      RunEngine(*ReadWholeFile(file), &before);
    } else {
      RunEngine(saved, &before);
    }
    TempDir dir;
    const std::string path = (dir.path() / "saved.tn5d").string();
    ASSERT_TRUE(WriteFileSafely(path, saved));
    TProgramData reopened;
    ASSERT_TRUE(reopened.CreateFromFile(path, kLayoutTn5d));
    EXPECT_EQ(reopened.DroppedData, "");
    RunEngine(reopened.ProjectText(), &after);
    EXPECT_FALSE(before.empty());
    EXPECT_EQ(after, before);
  }
}

}  // namespace
}  // namespace tarnel::model
