#include "app/model/stage_files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "app/model/testing_files.h"
#include "app/model/testing_temp_dir.h"
#include "app/model/text_file.h"

namespace tarnel::model {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> LinesOf(const std::string& path) {
  const auto text = ReadWholeFile(path);
  return text ? SplitLines(*text) : std::vector<std::string>{};
}

class StageFiles : public ::testing::Test {
 protected:
  TempDir dir_;
  std::string Path(const std::string& name) const { return (dir_.path() / name).string(); }
  std::string CopyTestdata(const char* name) {
    fs::copy_file(Testdata(name), Path(name));
    return Path(name);
  }
};

TEST(StageFileName, ExtensionReplacedByStageNumber) {
  EXPECT_EQ(StageFileName("/a/b/wall.tn5d", 3), "/a/b/wall.st3");
  EXPECT_EQ(StageFileName("/a/b.c/wall", 1), "/a/b.c/wall.st1");
}

TEST_F(StageFiles, StagedOlderFileIsSplitAndConverted) {
  const std::string data = CopyTestdata("staged.tn4d");
  TProgramData p;
  ASSERT_TRUE(p.CreateFromFile(data, LayoutCodeFromExtension(data)));
  ASSERT_EQ(p.StageCount, 2);
  EXPECT_EQ(p.FreeHeight, 60) << "stage 1 is what the project shows";
  std::ofstream(StageFileName(data, 4)) << "stale";
  ASSERT_TRUE(SplitStagedFile(data, p.StageCount));
  EXPECT_FALSE(fs::exists(StageFileName(data, 4))) << "existing stage files are deleted first";
  auto s2 = LinesOf(StageFileName(data, 2));
  ASSERT_FALSE(s2.empty());
  EXPECT_EQ(s2.front(), " Stage No : 2");
  EXPECT_EQ(s2[1], "1 0 1 0 2 2 0 2 0") << "still the older layout";

  ASSERT_TRUE(ConvertStageFiles(p, data, 2, kLayoutTn4d));
  auto s1 = LinesOf(StageFileName(data, 1));
  s2 = LinesOf(StageFileName(data, 2));
  EXPECT_EQ(s1.front(), "Staged wall");
  EXPECT_EQ(s1[1], "1 0\t1\t0\t2\t2 0 2 0 0");
  EXPECT_EQ(s1.back(), "1");
  EXPECT_EQ(s2.front(), " Stage No : 2");
  EXPECT_EQ(s2[2], "20 12\t5\t0.0001\t120\t12") << "current wall record with W6";
  EXPECT_EQ(s2.back(), "2");
  EXPECT_EQ(p.CurrentStage, 1);
  EXPECT_EQ(p.Title, "Staged wall") << "stage 1 loaded";
  EXPECT_EQ(p.FreeHeight, 60);
  EXPECT_FALSE(p.IsModified());

  // Loading stage 2 shows its heading as the title and keeps the modified state.
  p.SetModified();
  ASSERT_TRUE(p.ReadStage(StageFileName(data, 2)));
  EXPECT_EQ(p.Title, " Stage No : 2");
  EXPECT_EQ(p.FreeHeight, 120);
  EXPECT_EQ(p.StageCount, 2);
  EXPECT_TRUE(p.IsModified());
  p.ClearModified();
  ASSERT_TRUE(p.ReadStage(StageFileName(data, 1)));
  EXPECT_FALSE(p.IsModified());
  EXPECT_TRUE(p.ReadStage(Path("missing.st3"))) << "a missing stage file is no error";
  EXPECT_EQ(p.Title, "Staged wall");

  // Joining gives a current staged data file that reads back.
  const std::string joined = Path("joined.tn5d");
  std::ofstream(StageFileName(data, 3)) << "left over from an earlier count";
  ASSERT_TRUE(JoinStageFiles(joined, 2, data));
  EXPECT_TRUE(fs::exists(StageFileName(joined, 1))) << "the stage files follow the new name";
  for (int k = 1; k <= 5; ++k) EXPECT_FALSE(fs::exists(StageFileName(data, k))) << "the old name keeps no stage file " << k;
  EXPECT_FALSE(fs::exists(StageFileName(joined, 3)));
  const auto lines = LinesOf(joined);
  EXPECT_EQ(lines.size(), s1.size() + s2.size());
  TProgramData back;
  ASSERT_TRUE(back.CreateFromFile(joined, 1));
  EXPECT_EQ(back.StageCount, 2);
  EXPECT_EQ(back.FreeHeight, 60);
  EXPECT_TRUE(back.SameContent(p));
}

TEST_F(StageFiles, RaisingTheCountWritesEveryStage) {
  TProgramData p;
  p.FileName = Path("wall.tn5d");
  p.StageCount = 3;
  for (int k = 1; k <= 3; ++k) {
    p.CurrentStage = k;
    ASSERT_TRUE(p.WriteStage(StageFileName(p.FileName, k)));
  }
  for (int k = 1; k <= 3; ++k) {
    const auto lines = LinesOf(StageFileName(p.FileName, k));
    EXPECT_EQ(lines.front(), k == 1 ? std::string("New Wall") : " Stage No : " + std::to_string(k));
    EXPECT_EQ(lines[1], "1 0\t1\t0\t2\t2 0 3 0 0");
    EXPECT_EQ(lines.back(), std::to_string(k));
  }
  ASSERT_TRUE(JoinStageFiles(p.FileName, 3, p.FileName));
  const auto lines = LinesOf(p.FileName);
  ASSERT_EQ(lines.size(), 42u);
  EXPECT_EQ(lines[0], "New Wall");
  EXPECT_EQ(lines[13], "1");
  EXPECT_EQ(lines[14], " Stage No : 2");
  EXPECT_EQ(lines[41], "3");
  // Splitting the joined file gives the stage files back unchanged.
  const std::string s3 = *ReadWholeFile(StageFileName(p.FileName, 3));
  ASSERT_TRUE(SplitStagedFile(p.FileName, 3));
  EXPECT_EQ(*ReadWholeFile(StageFileName(p.FileName, 3)), s3);
  DeleteStageFiles(p.FileName, 2);
  EXPECT_TRUE(fs::exists(StageFileName(p.FileName, 1)));
  EXPECT_FALSE(fs::exists(StageFileName(p.FileName, 2)));
}

TEST_F(StageFiles, JoiningWithAMissingStageKeepsTheDataFile) {
  const std::string data = Path("wall.tn5d");
  std::ofstream(data, std::ios::binary) << "saved before\r\n";
  std::ofstream(StageFileName(data, 1), std::ios::binary) << "stage 1\r\n";
  const FileResult r = JoinStageFiles(data, 2, data);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.message.find(".st2"), std::string::npos);
  EXPECT_EQ(*ReadWholeFile(data), "saved before\r\n");
}

// ---------------------------------------------------------------- tarnel-convert

class ConvertTool : public StageFiles {
 protected:
  int Run(const std::string& args) {
    const std::string cmd = std::string("\"") + TARNEL_CONVERT + "\" " + args + " 2>\"" + Path("stderr.txt") + "\"";
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Stderr() { return ReadWholeFile(Path("stderr.txt")).value_or(""); }
};

TEST_F(ConvertTool, NewProject) {
  ASSERT_EQ(Run("--new \"" + Path("new.tn5d") + "\""), 0);
  TProgramData p;
  EXPECT_EQ(*ReadWholeFile(Path("new.tn5d")), p.ProjectText());
}

TEST_F(ConvertTool, OlderLayoutsFromTheExtensionOrTheOption) {
  ASSERT_EQ(Run("\"" + Testdata("si2013.tn4d") + "\" \"" + Path("si.tn5d") + "\""), 0) << Stderr();
  TProgramData a, b;
  ASSERT_TRUE(a.CreateFromFile(Testdata("si2013.tn4d"), 2));
  ASSERT_TRUE(b.CreateFromFile(Path("si.tn5d"), 1));
  EXPECT_TRUE(a.SameContent(b));
  ASSERT_EQ(Run("--layout 4 \"" + Testdata("oldest.tnd") + "\" \"" + Path("old.tn5d") + "\""), 0) << Stderr();
  ASSERT_TRUE(b.CreateFromFile(Path("old.tn5d"), 1));
  EXPECT_EQ(b.Title, "Oldest wall");
  EXPECT_TRUE(b.ApplySurcharge);
}

TEST_F(ConvertTool, StagedFileKeepsItsStages) {
  ASSERT_EQ(Run("\"" + Testdata("staged.tn4d") + "\" \"" + Path("staged.tn5d") + "\""), 0) << Stderr();
  const auto lines = LinesOf(Path("staged.tn5d"));
  ASSERT_EQ(lines.size(), 28u);
  EXPECT_EQ(lines[1], "1 0\t1\t0\t2\t2 0 2 0 0");
  EXPECT_EQ(lines[13], "1");
  EXPECT_EQ(lines[14], " Stage No : 2");
  EXPECT_EQ(lines[27], "2");
  EXPECT_FALSE(fs::exists(Path("staged.st1"))) << "no stage files left beside the output";
}

TEST_F(ConvertTool, MalformedFileGivesTheMessageAndNoOutput) {
  std::ofstream(Path("bad.tn5d"), std::ios::binary) << "Bad\r\n1 0\t1\t0\t2\t2 0 1 0 0\r\n0 0\t1,5\t1E-5\t0\t0\r\n";
  EXPECT_EQ(Run("\"" + Path("bad.tn5d") + "\" \"" + Path("out.tn5d") + "\""), 1);
  EXPECT_NE(Stderr().find("Error on Line 3 Item 3\nA floating point number was expected but not found."),
            std::string::npos)
      << Stderr();
  EXPECT_FALSE(fs::exists(Path("out.tn5d")));
  EXPECT_EQ(Run("--layout 9 a b"), 2);
  EXPECT_EQ(Run("onlyone"), 2);
}

}  // namespace
}  // namespace tarnel::model
