#include "platform/whole_file.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/exceptions.h"
#include "platform/temporary_files.h"
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
// save of that target removes it unless a save holds it locked, whatever
// process, PID namespace or machine that save runs in and whatever its name
// says of it, and removes nothing that is not one of its leftovers. A name too
// long to keep whole is cleaned the same way.
TEST_F(WholeFile, ASaveRemovesTheTemporariesOfItsTargetThatNoSaveHolds) {
  const std::string cut(200, 'c');  // what a temporary keeps of the long name
  const std::string long_name = cut + std::string(50, 'c');
  const struct {
    std::string name;
    bool locked;
    bool removed;
  } entries[] = {
      {"f.77-0.tmp", false, true},                // left by a killed save
      {"f.4194305-4294967295.tmp", false, true},  // a pid beyond this machine's, the highest count
      {"f.77-1.tmp", true, false},                // a save under way elsewhere
      {cut + ".77-0.cut.tmp", false, true},       // left by a save of the long name
      {cut + ".77-1.cut.tmp", true, false},       // a save of it under way
      {"g.77-0.tmp", false, false},               // another target's
      {"f.1-2.tmp.77-0.tmp", false, false},       // the target "f.1-2.tmp"'s
      {"f.77-0.cut.tmp", false, false},           // of a long name that starts with "f"
      {"f.077-0.tmp", false, false},              // not as a save writes its number
      {"f.77-4294967296.tmp", false, false},      // a count no save reaches
      {"f.77-0.tmp.keep", false, false},
  };
  std::vector<int> locks;
  for (const auto& entry : entries) {
    WriteWholeFile(File(entry.name), "x", "create");
    if (!entry.locked) continue;
    locks.push_back(open(File(entry.name).c_str(), O_RDONLY | O_CLOEXEC));
    ASSERT_EQ(flock(locks.back(), LOCK_EX | LOCK_NB), 0);
  }
  fs::create_directory(folder_ / "f.77-2.tmp");
  fs::create_symlink("g.77-0.tmp", folder_ / "f.77-3.tmp");

  WriteWholeFile(File("f"), "new", "create");
  WriteWholeFile(File(long_name), "new", "create");
  for (const int lock : locks) close(lock);
  EXPECT_EQ(ReadWholeFile(File("f"), "open", 3), "new");
  for (const auto& entry : entries) EXPECT_EQ(fs::exists(File(entry.name)), !entry.removed) << entry.name;
  EXPECT_TRUE(fs::is_directory(File("f.77-2.tmp")));
  EXPECT_TRUE(fs::is_symlink(File("f.77-3.tmp")));
}

// A file the user may not write stays as it is: the save is refused with its
// create error naming the file. Root may write any file, so the save is tried
// as an unprivileged user where the test runs as root, and root's own save
// still replaces the file.
TEST_F(WholeFile, AFileTheUserMayNotWriteIsNotReplaced) {
  const std::string file = File("read-only");
  WriteWholeFile(file, "kept", "create");
  ASSERT_EQ(chmod(file.c_str(), 0444), 0);
  const std::string refusal = "Невозможно создать файл ! Файл «" + file + "» защищен от записи.";
  const auto refused = [&] {
    try {
      WriteWholeFile(file, "new", "Невозможно создать файл !");
    } catch (const EFCreateError& e) {
      return e.Message() == refusal;
    }
    return false;
  };
  if (geteuid() != 0) {
    EXPECT_TRUE(refused());
  } else {
    constexpr uid_t kNobody = 65534;
    ASSERT_EQ(chown(folder_.c_str(), kNobody, kNobody) | chown(file.c_str(), kNobody, kNobody), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (setgroups(0, nullptr) != 0 || setresgid(kNobody, kNobody, kNobody) != 0 ||
          setresuid(kNobody, kNobody, kNobody) != 0) {
        _exit(2);
      }
      _exit(refused() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2) GTEST_SKIP() << "no unprivileged user to become";
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }
  EXPECT_EQ(ReadWholeFile(file, "open", 4), "kept");
  EXPECT_EQ(Entries(), 1u);
  if (geteuid() != 0) return;
  WriteWholeFile(file, "root", "create");
  EXPECT_EQ(ReadWholeFile(file, "open", 4), "root");
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

// Each save tells its temporary's name before the file is made and once it
// is gone, renamed or removed, so that whoever ends a process half-way can
// remove what it left.
TEST_F(WholeFile, ASaveNotesItsTemporaryBeforeItIsMadeAndOnceItIsGone) {
  std::vector<std::pair<std::string, bool>> notes;
  const auto previous = platform::SetTemporaryFileHandler([&](const std::string& path, bool made) {
    EXPECT_FALSE(fs::exists(path)) << path;
    notes.emplace_back(path, made);
  });
  WriteWholeFile(File("f"), "whole", "create");
  {
    const FileSizeLimit limit(1);
    EXPECT_THROW(WriteWholeFile(File("f"), "cut", "create"), EFCreateError);
  }
  platform::SetTemporaryFileHandler(previous);
  ASSERT_EQ(notes.size(), 4u);
  for (std::size_t i = 0; i < notes.size(); ++i) {
    EXPECT_EQ(notes[i].first.rfind(File("f."), 0), 0u) << notes[i].first;
    EXPECT_EQ(notes[i].second, i % 2 == 0);
    EXPECT_EQ(notes[i].first, notes[i - i % 2].first);
  }
}

}  // namespace
