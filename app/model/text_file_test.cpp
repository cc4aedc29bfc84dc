#include "app/model/text_file.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "app/model/program_data.h"
#include "app/model/testing_file_locks.h"
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

TEST_F(SafeWrite, ANameAtTheLengthLimitOfTheFolderIsSaved) {
  const std::string longName = (dir_.path() / (std::string(245, 'w') + ".tn5d")).string();
  ASSERT_TRUE(WriteFileSafely(longName, "new\r\n"));
  EXPECT_EQ(ReadWholeFile(longName).value_or(""), "new\r\n");
  EXPECT_EQ(FilesInFolder(), 2);
}

TEST_F(SafeWrite, TheNewFileKeepsTheAccessRightsOfTheOld) {
  const fs::perms own = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(path_, own);
  ASSERT_TRUE(WriteFileSafely(path_, "new\r\n"));
  EXPECT_EQ(fs::status(path_).permissions(), own);
}

TEST_F(SafeWrite, ALinkStaysALinkToTheFileWritten) {
  const fs::path link = dir_.path() / "link.tn5d";
  fs::create_symlink(path_, link);
  ASSERT_TRUE(WriteFileSafely(link.string(), "new\r\n"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Text(), "new\r\n");
}

#if defined(TARNEL_FILE_LOCKS)
TEST_F(SafeWrite, AFullDiskLeavesTheOldFileAndNamesTheCause) {
  FileResult r;
  {
    FileSizeLimit full(3);
    ASSERT_TRUE(full.ok());
    r = WriteFileSafely(path_, "longer than the disk holds\r\n");
  }
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, "Unable to write file " + path_ + ": File too large");
  EXPECT_EQ(Text(), "old\r\n");
  EXPECT_EQ(FilesInFolder(), 1);
}

// A folder nobody may write in and a file locked against changes: the save says why and
// the file stays as it was.
TEST_F(SafeWrite, ALockedFolderOrFileKeepsTheFile) {
  for (const fs::path& locked : {dir_.path(), fs::path(path_)}) {
    SCOPED_TRACE(locked.string());
    WriteLock lock(locked);
    if (!lock.locked()) GTEST_SKIP() << "this user can lock no file or folder here";
    SCOPED_TRACE(lock.how());
    const FileResult r = WriteFileSafely(path_, "new\r\n");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message.rfind("Unable to write file " + path_ + ": ", 0), 0u) << r.message;
    EXPECT_EQ(Text(), "old\r\n");
    EXPECT_EQ(FilesInFolder(), 1);
  }
}
#endif

}  // namespace
}  // namespace tarnel::model
