// Runs of the method library delivered with the system, through the run host,
// from the staged program folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "model_test_support.h"
#include "platform/library.h"
#include "shell/model/tests/brennic_block.h"

namespace {

// The processes this test process has started and not yet reaped.
int ChildProcesses() {
  int children = 0;
  for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
    std::ifstream stat(("/proc/" + entry + "/stat").toStdString());
    std::string pid, name, state;
    pid_t parent = 0;
    if (stat >> pid >> name >> state >> parent && parent == getpid()) ++children;
  }
  return children;
}

class BrennicRun : public RunTest {
 protected:
  BrennicRun() {
    platform::SetProgramFolder(WB_STAGE_DIR);
    calculation_->SetMethod("MC", "Метод", "", "", "", "libBrennic.so");
  }
  ~BrennicRun() override { platform::SetProgramFolder(""); }
};

TEST_F(BrennicRun, ARunReportsItsProgressAndLeavesItsReport) {
  SetBlock(*calculation_, BrennicBlock(20, 2));
  calculation_->SetDataSet("/d/a.sds");
  calculation_->Run();
  ASSERT_TRUE(WaitUntil([&] { return ends_ > 0; }));
  ProcessEventsFor(100);
  EXPECT_EQ(ends_, 1);
  EXPECT_FALSE(exchangeFilesAtEnd_);
  EXPECT_TRUE(onGuiThread_);
  // Begin (K·M = 40, step 2), twenty steps, end.
  ASSERT_EQ(messages_.size(), 22u);
  EXPECT_EQ(messages_.front(), (std::array<std::intptr_t, 3>{0x400, 40, 2}));
  EXPECT_EQ(messages_.back(), (std::array<std::intptr_t, 3>{0x402, 0, 0}));
  EXPECT_TRUE(ReadBytes("index.html").contains("</html>"));
  EXPECT_TRUE(prompt_.errors.isEmpty());
}

TEST_F(BrennicRun, WithoutParametersTheMethodsOwnBoxIsShownAndNoReportIsLeft) {
  calculation_->Run();
  ASSERT_TRUE(WaitUntil([&] { return ends_ > 0; }));
  EXPECT_EQ(prompt_.errors, QStringList({"Cannot open file Parameters.dat"}));
  EXPECT_EQ(prompt_.errorThreads.front(), QThread::currentThread());
  EXPECT_FALSE(QFile::exists("index.html"));
  EXPECT_TRUE(messages_.empty());
}

TEST_F(BrennicRun, AnAbortedRunLeavesNothingBehindAndTheNextRunCompletes) {
  SetBlock(*calculation_, BrennicBlock(20000, 100));  // seconds of work after its begin message
  calculation_->SetDataSet("/d/a.sds");
  calculation_->Run();
  ASSERT_TRUE(WaitUntil([&] { return !messages_.empty(); }));
  EXPECT_EQ(ChildProcesses(), 1);
  calculation_->Abort();
  EXPECT_EQ(ChildProcesses(), 0);  // gone and reaped when Abort returns
  EXPECT_FALSE(IsLoaded(platform::LibraryPath("libBrennic.so")));
  EXPECT_FALSE(calculation_->IsRunning());
  EXPECT_FALSE(QFile::exists(folder_.File("Parameters.dat")));
  EXPECT_FALSE(QFile::exists(folder_.File("DataSets.dat")));
  EXPECT_EQ(QDir::currentPath(), QDir(WB_STAGE_DIR).canonicalPath());
  const std::size_t seen = messages_.size();
  ProcessEventsFor(300);
  EXPECT_EQ(messages_.size(), seen);
  EXPECT_EQ(ends_, 0);
  EXPECT_TRUE(prompt_.errors.isEmpty());

  QDir::setCurrent(folder_.Path());
  SetBlock(*calculation_, BrennicBlock(20, 1));
  calculation_->Run();
  ASSERT_TRUE(WaitUntil([&] { return ends_ > 0; }));
  EXPECT_TRUE(QFile::exists("index.html"));
}

}  // namespace
