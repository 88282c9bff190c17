// The run life with the run host and the stub calculation library: progress
// to "TWMain" on the GUI thread (this test's main thread, whose events the
// tests process while they wait), the end event, failures and aborts.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

#include "model_test_support.h"
#include "platform/exceptions.h"
#include "platform/library.h"
#include "platform/system_time.h"
#include "shell/model/calculation.h"
#include "shell/model/gui_error_box.h"
#include "shell/model/gui_window.h"
#include "shell/model/threaded_launch.h"

namespace {

const char* const kFailed = "Неудачный запуск вычислительной программы !";

struct Message {
  std::uint32_t number;
  std::uintptr_t wparam;
  std::intptr_t lparam;
  QThread* thread;
};

class RunLife : public testing::Test {
protected:
  RunLife()
      : mainWindow_("TWMain", &receiver_,
                    [this](std::uint32_t number, std::uintptr_t wparam, std::intptr_t lparam) {
                      messages_.push_back({number, wparam, lparam, QThread::currentThread()});
                      if (onMessage_) onMessage_(number);
                      return std::intptr_t{number == 0x400 ? 7 : 0};
                    }),
        errorBox_(&receiver_, prompt_) {
    calculation_->OnCalculationEnd = [this](TThreadedLaunch* sender) {
      ++ends_;
      endSender_ = sender;
      endThread_ = QThread::currentThread();
      exchangeFilesAtEnd_ = QFile::exists("DataSets.dat") || QFile::exists("Parameters.dat");
      libraryLoadedAtEnd_ = IsStubLoaded();
    };
  }

  // Chooses the stub library as the calculation program, with the given command as the block.
  void Prepare(const QByteArray& command, const QString& library = "libStubCalc.so") {
    calculation_->SetMethod("MC", "Метод", "", "", "", library);
    if (command.isEmpty()) return;
    WriteBytes("Parameters.dat", command);
    calculation_->LoadParameters();
    QFile::remove("Parameters.dat");
  }

  static bool IsStubLoaded() {
    void* handle = dlopen(platform::LibraryPath("libStubCalc.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle) dlclose(handle);
    return handle != nullptr;
  }

  int Count(std::uint32_t number) const {
    return static_cast<int>(std::count_if(messages_.begin(), messages_.end(),
                                          [number](const Message& m) { return m.number == number; }));
  }

  StubProgramFolder program_;
  ScratchFolder folder_;
  QObject receiver_;
  ScriptedPrompt prompt_;
  std::vector<Message> messages_;
  std::function<void(std::uint32_t)> onMessage_;
  GuiWindow mainWindow_;
  GuiErrorBox errorBox_;
  CalculationPtr calculation_ = NewCalculation();
  int ends_ = 0;
  TThreadedLaunch* endSender_ = nullptr;
  QThread* endThread_ = nullptr;
  bool exchangeFilesAtEnd_ = true;
  bool libraryLoadedAtEnd_ = true;
};

TEST_F(RunLife, WithoutACalculationProgramNothingStartsButTheRunTimeIsTaken) {
  calculation_->SaveAs(folder_.File("c.scl"));
  const QByteArray before = ReadBytes(folder_.File("c.scl"));
  QThread::msleep(5);
  calculation_->SetDataSet("/a.sds");
  calculation_->Run();
  EXPECT_FALSE(calculation_->IsRunning());
  EXPECT_FALSE(QFile::exists("DataSets.dat"));
  calculation_->Save();
  const QByteArray after = ReadBytes(folder_.File("c.scl"));
  double first, second;
  std::memcpy(&first, before.constData() + before.size() - 12, 8);
  std::memcpy(&second, after.constData() + after.size() - 12, 8);
  EXPECT_GT(second, first);
  EXPECT_FALSE(calculation_->IsModified());  // a run changes no saved state of its own
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
  const double before = platform::NowDateTime();
  calculation_->Run();
  const double started = platform::NowDateTime();
  EXPECT_TRUE(calculation_->IsRunning());

  ASSERT_TRUE(WaitUntil([&] { return ends_ > 0; }));
  ProcessEventsFor(100);
  EXPECT_EQ(ends_, 1);
  EXPECT_NE(endSender_, nullptr);
  EXPECT_EQ(endThread_, QThread::currentThread());
  EXPECT_FALSE(exchangeFilesAtEnd_);
  EXPECT_FALSE(libraryLoadedAtEnd_);
  EXPECT_FALSE(calculation_->IsRunning());
  EXPECT_FALSE(reportDuringBegin);

  // Begin (30 samples, step 1), a step after each sample, then end.
  ASSERT_EQ(messages_.size(), 32u);
  EXPECT_EQ(messages_.front().number, 0x400u);
  EXPECT_EQ(messages_.front().wparam, 30u);
  EXPECT_EQ(messages_.front().lparam, 1);
  EXPECT_EQ(Count(0x401), 30);
  EXPECT_EQ(messages_.back().number, 0x402u);
  for (const Message& message : messages_) EXPECT_EQ(message.thread, QThread::currentThread());

  // The library ran in the run folder, saw the data set's path and got the answer to begin.
  EXPECT_EQ(ReadBytes("index.html"),
            "begin answered 7\nfolder " + QDir::currentPath().toUtf8() + "\ndata set " +
                QByteArray("\x2F\xE4\xE0\xED\xED\xFB\xE5\x2F\xE2\xFB\xE1\xEE\xF0\xEA\xE0\x2E\x73\x64\x73"));
  EXPECT_TRUE(prompt_.errors.isEmpty());

  // The run time saved is the run's start.
  calculation_->SaveAs(folder_.File("c.scl"));
  const QByteArray saved = ReadBytes(folder_.File("c.scl"));
  double runTime;
  std::memcpy(&runTime, saved.constData() + saved.size() - 12, 8);
  EXPECT_GE(runTime, before);
  EXPECT_LE(runTime, started);
}

TEST_F(RunLife, WithoutParametersTheLibrarysOwnBoxReachesThePrompt) {
  Prepare("");
  calculation_->Run();
  ASSERT_TRUE(WaitUntil([&] { return ends_ > 0; }));
  EXPECT_EQ(prompt_.errors, QStringList({"Cannot open file Parameters.dat"}));
  EXPECT_EQ(prompt_.errorThreads.front(), QThread::currentThread());
  EXPECT_FALSE(QFile::exists("index.html"));
  EXPECT_EQ(QDir(folder_.Path()).entryList(QDir::Files), QStringList());
}

TEST_F(RunLife, AMissingLibraryOrEntryIsAFailedStart) {
  for (const char* library : {"libMissing.so", "libStubNoEntry.so"}) {
    Prepare("report 30", library);
    calculation_->SetDataSet("/a.sds");
    try {
      calculation_->Run();
      ADD_FAILURE() << library << " started";
    } catch (const Exception& error) {
      EXPECT_EQ(error.Message(), kFailed);
    }
    EXPECT_FALSE(calculation_->IsRunning());
    // The exchange files written before the start stay.
    EXPECT_TRUE(QFile::exists("DataSets.dat"));
    EXPECT_TRUE(QFile::exists("Parameters.dat"));
  }
  ProcessEventsFor(50);
  EXPECT_EQ(ends_, 0);
}

TEST_F(RunLife, ACrashOrAForeignExceptionIsReportedAndTheRunEndsNormally) {
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

class RunAbort : public RunLife {
protected:
  QString ProgramFolder() const { return QDir(WB_TEST_PROGRAM_DIR).canonicalPath(); }

  pid_t StartLongRun() {
    Prepare("long");
    calculation_->SetDataSet("/a.sds");
    calculation_->Run();
    EXPECT_TRUE(WaitUntil([&] { return Count(0x401) >= 3; }));
    return QString::fromUtf8(ReadBytes(folder_.File("RunHost.pid"))).toInt();
  }
};

TEST_F(RunAbort, AbortEndsTheRunHostAtOnceAndANewRunCompletes) {
  const pid_t host = StartLongRun();
  ASSERT_GT(host, 0);
  EXPECT_EQ(kill(host, 0), 0);
  calculation_->Abort();
  EXPECT_FALSE(calculation_->IsRunning());
  EXPECT_EQ(kill(host, 0), -1);  // gone and reaped when Abort returns
  EXPECT_EQ(errno, ESRCH);
  EXPECT_FALSE(IsStubLoaded());
  EXPECT_FALSE(QFile::exists(folder_.File("DataSets.dat")));
  EXPECT_FALSE(QFile::exists(folder_.File("Parameters.dat")));
  EXPECT_EQ(QDir::currentPath(), ProgramFolder());
  const std::size_t seen = messages_.size();
  ProcessEventsFor(300);
  EXPECT_EQ(ends_, 0);
  EXPECT_EQ(messages_.size(), seen);
  EXPECT_TRUE(prompt_.errors.isEmpty());

  QDir::setCurrent(folder_.Path());
  Prepare("report 40");
  calculation_->Run();
  ASSERT_TRUE(WaitUntil([&] { return ends_ > 0; }));
  EXPECT_TRUE(QFile::exists("index.html"));
  EXPECT_EQ(messages_.back().number, 0x402u);
}

TEST_F(RunAbort, AbortFromInsideAProgressMessageDoesNotDeadlock) {
  Prepare("long");
  bool aborted = false;
  onMessage_ = [&](std::uint32_t number) {
    // The run host waits for this message's answer while the abort lands.
    if (number == 0x401 && !aborted) {
      aborted = true;
      calculation_->Abort();
    }
  };
  calculation_->Run();
  ASSERT_TRUE(WaitUntil([&] { return aborted; }));
  EXPECT_FALSE(calculation_->IsRunning());
  ProcessEventsFor(200);
  EXPECT_EQ(ends_, 0);
  EXPECT_EQ(Count(0x401), 1);
  EXPECT_TRUE(prompt_.errors.isEmpty());
}

TEST_F(RunAbort, AbortWithMessagesStillQueuedDropsThem) {
  StartLongRun();
  // Let the run host's next message reach the GUI thread's queue unhandled.
  QThread::msleep(50);
  const std::size_t seen = messages_.size();
  calculation_->Abort();
  ProcessEventsFor(100);
  EXPECT_EQ(messages_.size(), seen);
  EXPECT_EQ(ends_, 0);
}

TEST_F(RunAbort, WhileRunningTheMethodTheEditorAndTheCalculationItselfStay) {
  StartLongRun();
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
  refused([&] { calculation_->RunParamEditor(); }, "Невозможно запустить редактор параметров во время расчета !");
  refused([&] { TCalculation::Free(calculation_.get()); }, "Невозможно закрыть расчет во время его выполнения !");
  refused([&] { calculation_->Run(); }, "Расчет уже выполняется !");
  EXPECT_EQ(calculation_->GetMethodName(), "Метод");

  calculation_->Abort();
  calculation_->Abort();  // while idle it changes nothing
  EXPECT_NO_THROW(calculation_->SetMethod("X", "Другой", "", "", "", ""));
}

}  // namespace
