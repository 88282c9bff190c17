#include "platform/library.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/program_folder.h"

namespace {

using platform::Library;

TEST(ProgramFolder, IsTheFolderOfTheRunningProgramUnlessSet) {
  const auto own = std::filesystem::canonical("/proc/self/exe").parent_path().string() + "/";
  EXPECT_EQ(platform::ProgramFolder(), own);
  platform::SetProgramFolder("/opt/workbench");
  EXPECT_EQ(platform::LibraryPath("libBrennic.so"), "/opt/workbench/Libraries/libBrennic.so");
  platform::SetProgramFolder("");
  EXPECT_EQ(platform::ProgramFolder(), own);
}

TEST(Library, LoadsFromTheProgramFoldersLibrariesAndFindsEntriesByName) {
  platform::SetProgramFolder(WB_TEST_PROGRAM_DIR);
  Library library = Library::Load("libplatform_stub.so");
  ASSERT_TRUE(library.IsLoaded());
  auto entry = reinterpret_cast<int (*)()>(library.Entry("StubEntry"));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry(), 42);
  EXPECT_EQ(library.Entry("_RunCalcProgram"), nullptr);
  library.Free();
  EXPECT_FALSE(library.IsLoaded());

  EXPECT_FALSE(Library::Load("libNoSuchLibrary.so").IsLoaded());
  // A name with a folder part never loads, even where it names an existing file.
  EXPECT_FALSE(Library::Load("../Libraries/libplatform_stub.so").IsLoaded());
  EXPECT_FALSE(Library::Load(std::string(WB_TEST_PROGRAM_DIR) + "Libraries/libplatform_stub.so").IsLoaded());
  EXPECT_FALSE(Library::Load("..").IsLoaded());
  platform::SetProgramFolder("");
}

}  // namespace
