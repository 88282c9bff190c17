// The run life with the run host and the stub calculation library: progress
// to "TWMain" on the GUI thread (this test's main thread, whose events the
// tests process while they wait), the end event, failures and aborts.
#include <gtest/gtest.h>
#include <sys/types.h>

#include <QDirIterator>
#include <QElapsedTimer>

#include "model_test_support.h"
#include "platform/exceptions.h"
#include "platform/library.h"
#include "platform/system_time.h"
#include "shell/model/tests/brennic_block.h"

namespace {

const char* const kFailed = "Неудачный запуск вычислительной программы !";

// The run time a saved calculation file holds: the 8 bytes before the last list.
double SavedRunTime(TCalculation& calculation, const QString& path) {
  calculation.SaveAs(path);
  const QByteArray saved = ReadBytes(path);
  double runTime;
  std::memcpy(&runTime, saved.constData() + saved.size() - 12, 8);
  return runTime;
}

// The processes of a group that still run; a zombie has ended.
std::vector<pid_t> LiveProcessesOf(pid_t group) {
  std::vector<pid_t> live;
  for (const QString& name : QDir("/proc").entryList(QDir::Dirs)) {
    const QByteArray stat = ReadBytes("/proc/" + name + "/stat");
    // pid (command) state parent group ...; the command may hold blanks.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() > 2 && fields[2].toInt() == group && fields[0] != "Z") live.push_back(name.toInt());
  }
  return live;
}

class RunLife : public RunTest {
 protected:
  // The stub library as the calculation program, with the given command as the
  // block. Each run starts in this test's own folder: an abort hands the
  // current directory back to the program folder, which tests running at the
  // same time share.
  void Prepare(const QByteArray& command, const QString& library = "libStubCalc.so") {
    QDir::setCurrent(folder_.Path());
    calculation_->SetMethod("MC", "Метод", "", "", "", library);
    SetBlock(*calculation_, command);
  }

  StubProgramFolder program_;
};

TEST_F(RunLife, WithoutACalculationProgramNothingStartsButTheRunTimeIsTaken) {
  const double created = SavedRunTime(*calculation_, folder_.File("c.scl"));
  QThread::msleep(5);
  calculation_->SetDataSet("/a.sds");
  calculation_->Run();
  EXPECT_FALSE(calculation_->IsRunning());
  EXPECT_FALSE(QFile::exists("DataSets.dat"));
  EXPECT_FALSE(calculation_->IsModified());
  EXPECT_GT(SavedRunTime(*calculation_, folder_.File("c.scl")), created);
}

TEST_F(RunLife, ACompletedRunReportsProgressOnTheGuiThreadWhileTheRunHostWaits) {
  Prepare("report 30");
  calculation_->SetDataSet("/данные/выборка.sds");
  bool reportDuringBegin = true;
  onMessage_ = [&](std::uint32_t number) {
    if (number != 0x400) return;
    QThread::msleep(50);  // the run host, waiting for this answer, writes no report meanwhile
    reportDuringBegin = QFile::exists("index.html");
  };
  TThreadedLaunch* sender = nullptr;
  bool libraryLoadedAtEnd = true;
  calculation_->OnCalculationEnd = [&, recordEnd = calculation_->OnCalculationEnd](TThreadedLaunch* launch) {
    recordEnd(launch);
    sender = launch;
    libraryLoadedAtEnd = IsLoaded(platform::LibraryPath("libStubCalc.so"));
  };
  const double before = platform::NowDateTime();
  calculation_->Run();
  const double started = platform::NowDateTime();
  EXPECT_TRUE(calculation_->IsRunning());

  ASSERT_TRUE(WaitUntil([&] { return ends_ > 0; }));
  ProcessEventsFor(100);
  EXPECT_EQ(ends_, 1);
  EXPECT_NE(sender, nullptr);
  EXPECT_FALSE(exchangeFilesAtEnd_);
  EXPECT_FALSE(libraryLoadedAtEnd);
  EXPECT_FALSE(calculation_->IsRunning());
  EXPECT_FALSE(reportDuringBegin);
  EXPECT_TRUE(onGuiThread_);
  // Begin (30 samples, step 1), a step after each sample, then end.
  ASSERT_EQ(messages_.size(), 32u);
  EXPECT_EQ(messages_.front(), (std::array<std::intptr_t, 3>{0x400, 30, 1}));
  EXPECT_EQ(Steps(), 30);
  EXPECT_EQ(messages_.back(), (std::array<std::intptr_t, 3>{0x402, 0, 0}));
  // The library ran in the run folder, saw the data set's path and got the answer to begin.
  EXPECT_EQ(ReadBytes("index.html"),
            "begin answered 7\nfolder " + QDir::currentPath().toUtf8() + "\ndata set " +
                QByteArray("\x2F\xE4\xE0\xED\xED\xFB\xE5\x2F\xE2\xFB\xE1\xEE\xF0\xEA\xE0\x2E\x73\x64\x73"));
  EXPECT_TRUE(prompt_.errors.isEmpty());
  // The run time saved is the run's start.
  const double runTime = SavedRunTime(*calculation_, folder_.File("c.scl"));
  EXPECT_GE(runTime, before);
  EXPECT_LE(runTime, started);
}

// Whatever stops a start, the next library finds no exchange file of this
// calculation, nor of an earlier one.
TEST_F(RunLife, AFailedStartLeavesNoExchangeFile) {
  const struct {
    const char* library;
    const char* dataSet;
    const char* text;
  } cases[] = {
      {"libMissing.so", "/a.sds", kFailed},
      {"libStubNoEntry.so", "/a.sds", kFailed},
      {"libStubCalc.so", "/数据.sds",
       "Путь набора данных «/数据.sds» не может быть передан методу: "
       "Символ «数» невозможно записать в кодировке Windows-1251"},
  };
  for (const auto& failing : cases) {
    Prepare("report 30", failing.library);
    WriteBytes("DataSets.dat", "/earlier.sds");
    calculation_->SetDataSet(failing.dataSet);
    try {
      calculation_->Run();
      ADD_FAILURE() << failing.library << " started";
    } catch (const Exception& error) {
      EXPECT_EQ(error.Message(), failing.text);
    }
    EXPECT_FALSE(calculation_->IsRunning());
    EXPECT_FALSE(QFile::exists("DataSets.dat")) << failing.library;
    EXPECT_FALSE(QFile::exists("Parameters.dat")) << failing.library;
  }
  ProcessEventsFor(50);
  EXPECT_EQ(ends_, 0);
}

TEST_F(RunLife, ACrashOrAForeignExceptionIsReportedOnTheGuiThreadAndTheRunEndsNormally) {
  for (const char* command : {"crash", "throw"}) {
    prompt_.errors.clear();
    ends_ = 0;
    Prepare(command);
    calculation_->Run();
    ASSERT_TRUE(WaitUntil([&] { return ends_ > 0; })) << command;
    EXPECT_EQ(prompt_.errors, QStringList({kFailed})) << command;
    EXPECT_EQ(prompt_.errorThreads.back(), QThread::currentThread());
    EXPECT_FALSE(exchangeFilesAtEnd_);
    EXPECT_FALSE(calculation_->IsRunning());
  }
}

// The run host ignores the file-size signal: a write past the limit is a
// failed save that the library reports, not the end of the run host.
TEST_F(RunLife, AWritePastTheFileSizeLimitIsAFailedSaveThatLeavesNothing) {
  Prepare("oversize");
  calculation_->Run();
  ASSERT_TRUE(WaitUntil([&] { return ends_ > 0; }));
  EXPECT_EQ(prompt_.errors, QStringList({"Невозможно создать файл отчета"}));
  QDirIterator left(folder_.Path(), QDir::Files, QDirIterator::Subdirectories);
  EXPECT_FALSE(left.hasNext()) << left.next().toStdString();
}

// The library's temporary files do not outlive an aborted run in its
// folders: the run folder and that of its statistics files, which has the
// repetition's number in its name when the path's first dot is there. What
// they became stays, and a file elsewhere that the run host names is not the
// run's to remove.
TEST_F(RunLife, AnAbortedRunLeavesNoTemporaryFileOfItsLibraryInItsFolders) {
  QTemporaryDir elsewhere;
  ASSERT_TRUE(QDir(elsewhere.path()).mkdir("by2.run"));
  const struct {
    QByteArray block;
    QString written;
    bool removed;
  } cases[] = {
      {"temporary " + folder_.File("values.txt").toUtf8(), folder_.File("values.txt"), true},
      {BrennicBlock(20, 2, elsewhere.filePath("stat.txt").toStdString()), elsewhere.filePath("stat2.txt"),
       true},
      {BrennicBlock(20, 2, elsewhere.filePath("by.run/s").toStdString()), elsewhere.filePath("by2.run/s"),
       true},
      {"temporary " + elsewhere.filePath("values.txt").toUtf8(), elsewhere.filePath("values.txt"), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.written.toStdString());
    messages_.clear();
    Prepare(c.block);
    calculation_->Run();
    ASSERT_TRUE(WaitUntil([&] { return Steps() >= 1; }));
    ASSERT_TRUE(QFile::exists(c.written + ".tmp"));
    calculation_->Abort();
    EXPECT_EQ(QFile::exists(c.written + ".tmp"), !c.removed);
    EXPECT_EQ(ReadBytes(c.written), "whole");
  }
}

// Nor does a descriptor that the shell left open without close-on-exec reach
// the library: it holds its channel and the standard streams only.
TEST_F(RunLife, TheLibraryInheritsNoDescriptorButItsChannel) {
  int leaked[2];
  ASSERT_EQ(pipe(leaked), 0);
  Prepare("descriptors");
  calculation_->Run();
  ASSERT_TRUE(WaitUntil([&] { return ends_ > 0; }));
  const QByteArray targets = ReadBytes("index.html");
  EXPECT_TRUE(targets.startsWith("socket:[") && targets.count('\n') == 1) << targets.toStdString();
  close(leaked[0]);
  close(leaked[1]);
}

TEST_F(RunLife, AbortFromInsideAProgressMessageDoesNotDeadlock) {
  Prepare("long");
  onMessage_ = [&](std::uint32_t number) {
    if (number == 0x401 && calculation_->IsRunning())
      calculation_->Abort();  // the run host waits for this answer
  };
  calculation_->Run();
  ASSERT_TRUE(WaitUntil([&] { return !calculation_->IsRunning(); }));
  ProcessEventsFor(200);
  EXPECT_EQ(ends_, 0);
  EXPECT_EQ(Steps(), 1);
  EXPECT_TRUE(prompt_.errors.isEmpty());
}

// A helper left running by the library, forked, started by a background
// shell command or made a daemon in a session of its own, would hold the run
// for half a minute if the run waited for it; the bounds leave room for a
// loaded machine.
TEST_F(RunLife, WhatTheLibraryStartedHoldsNeitherTheEndNorAnAbortAndEndsWithTheRun) {
  constexpr qint64 kBound = 5000;
  QElapsedTimer sinceReturn;
  qint64 endDelay = -1;
  bool helperSeen = false;
  onMessage_ = [&](std::uint32_t number) {
    // The library waits for begin to be answered, so its helper runs by then;
    // once it returns, the run may end the helper before the test looks.
    if (number == 0x400) helperSeen = !LiveProcessesOf(static_cast<pid_t>(messages_.back()[1])).empty();
    if (number == 0x402) sinceReturn.start();  // sent just before the entry returns
  };
  calculation_->OnCalculationEnd = [&, recordEnd = calculation_->OnCalculationEnd](TThreadedLaunch* launch) {
    recordEnd(launch);
    endDelay = sinceReturn.elapsed();
  };
  for (const char* library : {"libStubForkHelper.so", "libStubShellHelper.so", "libStubDaemonHelper.so"}) {
    for (const bool abort : {false, true}) {
      SCOPED_TRACE(testing::Message() << library << (abort ? ", aborted" : ", returned"));
      messages_.clear();
      ends_ = 0;
      helperSeen = false;
      Prepare(abort ? "wait" : "return", library);
      calculation_->Run();
      ASSERT_TRUE(WaitUntil([&] { return !messages_.empty(); }));
      const auto group = static_cast<pid_t>(messages_.front()[1]);
      ASSERT_TRUE(helperSeen);
      if (abort) {
        QElapsedTimer aborting;
        aborting.start();
        calculation_->Abort();
        EXPECT_LT(aborting.elapsed(), kBound);
      } else {
        ASSERT_TRUE(WaitUntil([&] { return ends_ > 0; }));
        ASSERT_EQ(messages_.back()[0], 0x402);
        EXPECT_LT(endDelay, kBound);
      }
      EXPECT_TRUE(WaitUntil([&] { return LiveProcessesOf(group).empty(); }, kBound));
    }
  }
}

TEST_F(RunLife, WhileRunningTheMethodTheEditorAndTheCalculationItselfStay) {
  Prepare("long");
  calculation_->Run();
  ASSERT_TRUE(WaitUntil([&] { return Steps() >= 1; }));
  const auto refused = [](const std::function<void()>& action, const std::string& text) {
    try {
      action();
      ADD_FAILURE() << "allowed: " << text;
    } catch (const Exception& error) {
      EXPECT_EQ(error.Message(), text);
    }
  };
  refused([&] { calculation_->SetMethod("X", "Другой", "", "", "", "libStubCalc.so"); },
          "Невозможно сменить метод во время расчета !");
  refused([&] { calculation_->RunParamEditor(); },
          "Невозможно запустить редактор параметров во время расчета !");
  refused([&] { TCalculation::Free(calculation_.get()); },
          "Невозможно закрыть расчет во время его выполнения !");
  refused([&] { calculation_->Run(); }, "Расчет уже выполняется !");
  EXPECT_EQ(calculation_->GetMethodName(), "Метод");

  calculation_->Abort();
  calculation_->Abort();  // while idle it changes nothing
  EXPECT_NO_THROW(calculation_->SetMethod("X", "Другой", "", "", "", ""));
}

}  // namespace
