#include "platform/whole_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/exceptions.h"
#include "platform/tests/file_size_limit.h"
#include "platform/tests/temporary_folder.h"

namespace {

namespace fs = std::filesystem;
using platform::ReadWholeFile;
using platform::WriteWholeFile;

class WholeFile : public testing::Test {
 protected:
  std::string File(const std::string& name) const { return temporary_.File(name); }
  // Everything in the folder, so that a temporary left behind shows.
  std::size_t Entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
  }

  const TemporaryFolder temporary_;
  const fs::path& folder_ = temporary_.Path();
};

TEST_F(WholeFile, BytesRoundTripAndAReplacementKeepsTheOldPermissions) {
  const std::string bytes("a\0b\xff\n", 5);
  WriteWholeFile(File("f"), bytes, "create");
  EXPECT_EQ(ReadWholeFile(File("f"), "open", 5), bytes);
  ASSERT_EQ(chmod(File("f").c_str(), 0640), 0);
  WriteWholeFile(File("f"), "second", "create");
  EXPECT_EQ(ReadWholeFile(File("f"), "open", 6), "second");
  struct stat status {};
  ASSERT_EQ(stat(File("f").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  EXPECT_EQ(Entries(), 1u);

  // Large enough to be read into large pages.
  std::string large(5 << 20, '\0');
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 7 / 3);
  WriteWholeFile(File("large"), large, "create");
  EXPECT_EQ(ReadWholeFile(File("large"), "open", large.size()), large);
}

// Each refusal comes at once, before anything is read: a pipe without a
// writer would hold a blocking open or read for ever.
TEST_F(WholeFile, WhatIsNotARegularFileOfItsFormatsSizeIsRefusedAtOnce) {
  const std::string kOpen = "Невозможно открыть файл !";
  struct Case {
    const char* what;
    std::function<std::string()> make;
    std::string message;
    bool too_large;
  };
  const std::string pipe = File("pipe");
  const Case cases[] = {
      {"missing", [&] { return File("missing"); }, kOpen, false},
      {"folder", [&] { return folder_.string(); },
       kOpen + " «" + folder_.string() + "» — не обычный файл, а папка, канал или устройство.", false},
      {"pipe", [&] { return mkfifo(pipe.c_str(), 0600) == 0 ? pipe : ""; },
       kOpen + " «" + pipe + "» — не обычный файл, а папка, канал или устройство.", false},
      {"device", [] { return std::string("/dev/zero"); },
       kOpen + " «/dev/zero» — не обычный файл, а папка, канал или устройство.", false},
      {"one byte over",
       [&] {
         WriteWholeFile(File("big"), "12345", "create");
         return File("big");
       },
       kOpen + " Файл «" + File("big") + "» длиннее 4 байт: файл этого вида не бывает таким большим.", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = c.make();
    try {
      ReadWholeFile(path, kOpen, 4);
      ADD_FAILURE() << "read";
    } catch (const EFOpenError& e) {
      EXPECT_FALSE(c.too_large);
      EXPECT_EQ(e.Message(), c.message);
    } catch (const EReadError& e) {
      EXPECT_TRUE(c.too_large);
      EXPECT_EQ(e.Message(), c.message);
    }
  }
}

// The link stays a link; what it names gets the new bytes, and its
// temporary file is made beside it, not beside the link.
TEST_F(WholeFile, ASaveThroughSymbolicLinksReplacesTheFileTheyName) {
  fs::create_directory(folder_ / "data");
  WriteWholeFile(File("data/target"), "old", "create");
  fs::create_symlink("data/target", folder_ / "relative");
  fs::create_symlink(folder_ / "relative", folder_ / "chained");
  fs::create_symlink("data/absent", folder_ / "dangling");
  WriteWholeFile(File("chained"), "new", "create");
  WriteWholeFile(File("dangling"), "made", "create");
  EXPECT_TRUE(fs::is_symlink(folder_ / "relative") && fs::is_symlink(folder_ / "chained") &&
              fs::is_symlink(folder_ / "dangling"));
  EXPECT_EQ(ReadWholeFile(File("data/target"), "open", 3), "new");
  EXPECT_EQ(ReadWholeFile(File("data/absent"), "open", 4), "made");
  EXPECT_EQ(Entries(), 4u);

  fs::create_symlink("loop", folder_ / "loop");
  EXPECT_THROW(WriteWholeFile(File("loop"), "x", "create"), EFCreateError);
}

// A temporary name must stay a legal name when the file's own is as long as
// a name may be.
TEST_F(WholeFile, AFileWithTheLongestNameCanBeSaved) {
  std::string letters;
  for (int i = 0; i < 100; ++i) letters += "Я";
  const std::string name = File(std::string(55, 'x') + letters);
  ASSERT_EQ(fs::path(name).filename().string().size(), 255u);
  WriteWholeFile(name, "long", "create");
  EXPECT_EQ(ReadWholeFile(name, "open", 4), "long");
}

// A pipe or a device, named directly or through a link, is neither replaced
// nor waited on: the save fails with its own message and makes nothing. The
// device is one of the test's own where it may make one (as root, where a
// save that went wrong would replace the system's); elsewhere the system's
// own through a link, which only root could replace.
TEST_F(WholeFile, ASaveRefusesWhatIsNotARegularFile) {
  ASSERT_EQ(mkfifo(File("pipe").c_str(), 0600), 0);
  std::string device = File("null");
  if (mknod(device.c_str(), S_IFCHR | 0600, makedev(1, 3)) != 0) device = "/dev/null";
  fs::create_symlink(device, folder_ / "device");
  fs::create_directory(folder_ / "folder");
  for (const char* name : {"pipe", "device", "folder"}) {
    SCOPED_TRACE(name);
    try {
      WriteWholeFile(File(name), "x", "Невозможно создать файл !");
      ADD_FAILURE() << "saved";
    } catch (const EFCreateError& e) {
      EXPECT_EQ(e.Message(), "Невозможно создать файл !");
    }
  }
  EXPECT_TRUE(fs::is_fifo(folder_ / "pipe"));
  EXPECT_TRUE(fs::is_symlink(folder_ / "device") && fs::is_character_file(device));
  EXPECT_TRUE(fs::is_empty(folder_ / "folder"));
  EXPECT_EQ(Entries(), device == "/dev/null" ? 3u : 4u);
}

// A save killed half-way leaves its temporary beside the target; the next
// save of that target removes it, and nothing that is not one of its
// leftovers.
TEST_F(WholeFile, ASaveRemovesWhatKilledSavesOfItsTargetLeft) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(0);
  ASSERT_EQ(waitpid(child, nullptr, 0), child);
  const std::string gone = std::to_string(child);
  const std::string running = std::to_string(getpid());
  const struct {
    std::string name;
    bool removed;
  } entries[] = {
      {"f." + gone + "-0.tmp", true},            // left by a killed save
      {"f." + gone + "-4294967295.tmp", true},   // the highest count
      {"f." + running + "-7.tmp", false},        // a save under way
      {"g." + gone + "-0.tmp", false},           // another target's
      {"f.1-2.tmp." + gone + "-0.tmp", false},   // the target "f.1-2.tmp"'s
      {"f." + gone + "-0.cut.tmp", false},       // of a name too long to keep whole
      {"f.0" + gone + "-0.tmp", false},          // not as a save writes its number
      {"f." + gone + "-4294967296.tmp", false},  // a count no save reaches
      {"f." + gone + "-0.tmp.keep", false},
  };
  WriteWholeFile(File("f"), "old", "create");
  for (const auto& entry : entries) WriteWholeFile(File(entry.name), "x", "create");
  fs::create_directory(folder_ / ("f." + gone + "-1.tmp"));
  fs::create_symlink("g." + gone + "-0.tmp", folder_ / ("f." + gone + "-2.tmp"));

  WriteWholeFile(File("f"), "new", "create");
  EXPECT_EQ(ReadWholeFile(File("f"), "open", 3), "new");
  for (const auto& entry : entries) EXPECT_EQ(fs::exists(File(entry.name)), !entry.removed) << entry.name;
  EXPECT_TRUE(fs::is_directory(File("f." + gone + "-1.tmp")));
  EXPECT_TRUE(fs::is_symlink(File("f." + gone + "-2.tmp")));
}

TEST_F(WholeFile, AFailedWriteLeavesThePreviousFileAndNoTemporary) {
  EXPECT_THROW(WriteWholeFile(File("no/such/folder/f"), "x", "create"), EFCreateError);
  EXPECT_EQ(Entries(), 0u);

  WriteWholeFile(File("f"), "previous", "create");
  {
    const FileSizeLimit limit(4);
    EXPECT_THROW(WriteWholeFile(File("f"), "a much longer text", "create"), EFCreateError);
  }
  EXPECT_EQ(ReadWholeFile(File("f"), "open", 8), "previous");
  EXPECT_EQ(Entries(), 1u);
}

}  // namespace
