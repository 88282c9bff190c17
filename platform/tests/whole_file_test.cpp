#include "platform/whole_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/exceptions.h"

namespace {

namespace fs = std::filesystem;
using platform::ReadWholeFile;
using platform::WriteWholeFile;

class WholeFile : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "whole_file.XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string File(const std::string& name) const { return (folder_ / name).string(); }
  // Everything in the folder, so that a temporary left behind shows.
  std::size_t Entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
  }

  fs::path folder_;
};

TEST_F(WholeFile, BytesRoundTripAndAReplacementKeepsTheOldPermissions) {
  const std::string bytes("a\0b\xff\n", 5);
  WriteWholeFile(File("f"), bytes, "create");
  EXPECT_EQ(ReadWholeFile(File("f"), "open"), bytes);
  ASSERT_EQ(chmod(File("f").c_str(), 0640), 0);
  WriteWholeFile(File("f"), "second", "create");
  EXPECT_EQ(ReadWholeFile(File("f"), "open"), "second");
  struct stat status {};
  ASSERT_EQ(stat(File("f").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(WholeFile, WhatCannotBeReadIsRefusedWithTheCallersMessage) {
  try {
    ReadWholeFile(File("missing"), "Невозможно открыть файл !");
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "Невозможно открыть файл !");
  }
  EXPECT_THROW(ReadWholeFile(folder_.string(), "a folder"), EFOpenError);
}

TEST_F(WholeFile, AFailedWriteLeavesThePreviousFileAndNoTemporary) {
  EXPECT_THROW(WriteWholeFile(File("no/such/folder/f"), "x", "create"), EFCreateError);
  EXPECT_EQ(Entries(), 0u);

  WriteWholeFile(File("f"), "previous", "create");
  // A file-size limit makes the write fail part-way, as a full disk would.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit previous{};
  getrlimit(RLIMIT_FSIZE, &previous);
  rlimit small = previous;
  small.rlim_cur = 4;
  setrlimit(RLIMIT_FSIZE, &small);
  EXPECT_THROW(WriteWholeFile(File("f"), "a much longer text", "create"), EFCreateError);
  setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, SIG_DFL);
  EXPECT_EQ(ReadWholeFile(File("f"), "open"), "previous");
  EXPECT_EQ(Entries(), 1u);
}

}  // namespace
