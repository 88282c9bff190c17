// A run folder removed through descriptors: all it holds goes, nothing its
// links lead to does, and a path that names another folder by then keeps it.
#include "platform/folder_removal.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/tests/temporary_folder.h"

namespace {

namespace fs = std::filesystem;

void Write(const fs::path& file) { std::ofstream(file) << "x"; }

int Open(const fs::path& folder) { return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }

TEST(RemoveOpenFolder, RemovesAllItHoldsAndNothingItsLinksLeadTo) {
  TemporaryFolder top;
  const fs::path run = top.Path() / "run";
  const fs::path outside = top.Path() / "outside";
  fs::create_directories(run / "sub" / "deeper");
  fs::create_directories(outside);
  Write(outside / "kept");
  Write(run / "index.html");
  Write(run / "sub" / "deeper" / "stat1.txt");
  fs::create_directory_symlink(outside, run / "folder_link");
  fs::create_symlink(outside / "kept", run / "sub" / "file_link");

  platform::RemoveOpenFolder(Open(run), run.string());
  EXPECT_FALSE(fs::exists(fs::symlink_status(run)));
  EXPECT_TRUE(fs::exists(outside / "kept"));

  // Swapped for another folder after it was opened: the folder opened is
  // emptied, the one the path names by then is left whole.
  fs::create_directories(run);
  Write(run / "index.html");
  const int opened = Open(run);
  fs::rename(run, top.Path() / "moved");
  fs::create_directory_symlink(outside, run);
  platform::RemoveOpenFolder(opened, run.string());
  EXPECT_TRUE(fs::is_empty(top.Path() / "moved"));
  EXPECT_TRUE(fs::is_symlink(run));
  EXPECT_TRUE(fs::exists(outside / "kept"));
}

}  // namespace
