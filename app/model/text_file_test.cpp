#include "app/model/text_file.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "app/model/program_data.h"
#include "app/model/testing_temp_dir.h"

namespace tarnel::model {
namespace {

namespace fs = std::filesystem;

// What happened to a saved file behind the program's back: the save either succeeds or
// says why, and never leaves the file half written.
class SafeWrite : public ::testing::Test {
 protected:
  TempDir dir_;
  std::string path_ = (dir_.path() / "wall.tn5d").string();
  void SetUp() override { ASSERT_TRUE(WriteFileSafely(path_, "old\r\n")); }
  std::string Text() const { return ReadWholeFile(path_).value_or("<none>"); }
  // No temporary file is left beside the target.
  int FilesInFolder() const {
    int n = 0;
    for (const auto& e : fs::directory_iterator(dir_.path())) n += e.is_regular_file() ? 1 : 0;
    return n;
  }
};

TEST_F(SafeWrite, ADeletedFileIsWrittenAgain) {
  fs::remove(path_);
  ASSERT_TRUE(WriteFileSafely(path_, "new\r\n"));
  EXPECT_EQ(Text(), "new\r\n");
}

TEST_F(SafeWrite, AReplacedFileIsReplacedByTheSave) {
  std::ofstream(path_, std::ios::binary | std::ios::trunc) << "someone else's";
  ASSERT_TRUE(WriteFileSafely(path_, "new\r\n"));
  EXPECT_EQ(Text(), "new\r\n");
  EXPECT_EQ(FilesInFolder(), 1);
}

TEST_F(SafeWrite, AReadOnlyFileIsLeftAsItIs) {
  fs::permissions(path_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const FileResult r = WriteFileSafely(path_, "new\r\n");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, "Unable to write file " + path_ + ": the file is read-only");
  EXPECT_EQ(Text(), "old\r\n");
  EXPECT_EQ(FilesInFolder(), 1);
  fs::permissions(path_, fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(SafeWrite, AFolderInThePlaceOfTheFileStays) {
  fs::remove(path_);
  fs::create_directory(path_);
  const FileResult r = WriteFileSafely(path_, "new\r\n");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message.rfind("Unable to write file " + path_ + ": ", 0), 0u) << r.message;
  EXPECT_TRUE(fs::is_directory(path_));
  EXPECT_EQ(FilesInFolder(), 0);
}

TEST_F(SafeWrite, AFolderThatWentAwayGivesAMessage) {
  const std::string lost = (dir_.path() / "gone" / "wall.tn5d").string();
  const FileResult r = WriteFileSafely(lost, "new\r\n");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message.rfind("Unable to write file " + lost + ": ", 0), 0u) << r.message;
}

}  // namespace
}  // namespace tarnel::model
