// Helpers of the model's tests: a scratch folder made current, file bytes
// built by hand from the layout tables, runs with a scripted prompt and
// waiting while the GUI thread's events are processed.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>
#include <array>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/program_folder.h"
#include "shell/model/calculation.h"
#include "shell/model/gui_error_box.h"
#include "shell/model/gui_window.h"
#include "shell/model/tests/scripted_prompt.h"

// A fresh folder that is the current directory while the object lives.
class ScratchFolder {
 public:
  ScratchFolder() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
  ~ScratchFolder() { QDir::setCurrent(previous_); }
  QString Path() const { return dir_.path(); }
  QString File(const QString& name) const { return dir_.filePath(name); }

 private:
  QTemporaryDir dir_;
  QString previous_;
};

// File bytes as the layout tables give them: little-endian signed 32-bit
// counts, strings as a count and code page 1251 bytes, the date-time as the
// 8 bytes of a double (the test machine is little-endian, as the files are).
class LayoutBytes {
 public:
  LayoutBytes& Int32(qint32 value) { return Raw(QByteArray(reinterpret_cast<const char*>(&value), 4)); }
  LayoutBytes& Text(const QByteArray& cp1251) {
    return Int32(static_cast<qint32>(cp1251.size())).Raw(cp1251);
  }
  LayoutBytes& List(const std::vector<QByteArray>& cp1251) {
    Int32(static_cast<qint32>(cp1251.size()));
    for (const QByteArray& text : cp1251) Text(text);
    return *this;
  }
  LayoutBytes& DateTime(double value) { return Raw(QByteArray(reinterpret_cast<const char*>(&value), 8)); }
  LayoutBytes& Raw(const QByteArray& bytes) {
    bytes_.append(bytes);
    return *this;
  }
  const QByteArray& Bytes() const { return bytes_; }

 private:
  QByteArray bytes_;
};
static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the layouts copy host bytes");

inline QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

// Processes the GUI thread's events until the condition holds (or, without
// one, for the given time); false when the time ran out.
inline bool WaitUntil(const std::function<bool()>& condition, int milliseconds = 10000) {
  QDeadlineTimer deadline(milliseconds);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return true;
}
inline void ProcessEventsFor(int milliseconds) {
  WaitUntil([] { return false; }, milliseconds);
}

// A calculation freed through TCalculation::Free, after stopping its run.
struct CalculationDeleter {
  void operator()(TCalculation* calculation) const {
    calculation->Abort();
    TCalculation::Free(calculation);
  }
};
using CalculationPtr = std::unique_ptr<TCalculation, CalculationDeleter>;
inline CalculationPtr NewCalculation(const QString& name = "Расчет") {
  return CalculationPtr(new TCalculation(name));
}

// The program folder with the stub libraries and the run host, current while it lives.
struct StubProgramFolder {
  StubProgramFolder() { platform::SetProgramFolder(WB_TEST_PROGRAM_DIR); }
  ~StubProgramFolder() { platform::SetProgramFolder(""); }
};

// Whether the library of that path is loaded in this process.
inline bool IsLoaded(const std::string& path) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle) dlclose(handle);
  return handle != nullptr;
}

// A calculation file whose 5th string names the parameter editor.
inline QByteArray CalculationFile(const QByteArray& block, double runTime,
                                  const QByteArray& paramEditorDll = "") {
  return LayoutBytes()
      .Text("\xD0\xE0\xF1\xF7\xE5\xF2")  // "Расчет"
      .Text("MC")
      .Text("\xCC\xE5\xF2\xEE\xE4")  // "Метод"
      .Text("Monte Carlo")
      .Text(paramEditorDll)
      .Text("")
      .Text("")
      .Text("/d/a.sds")
      .Text(block)
      .List({"first", "\xCC\xE5\xF2\xEE\xE4"})
      .DateTime(runTime)
      .List({"second"})
      .Bytes();
}

// The block of a calculation taken from a "Parameters.dat" of those bytes.
inline void SetBlock(TCalculation& calculation, const QByteArray& block) {
  WriteBytes("Parameters.dat", block);
  calculation.LoadParameters();
  QFile::remove("Parameters.dat");
}

// What the runs of a calculation need: a run folder made current, a "TWMain"
// window that records each message (number, wparam, lparam) and answers
// begin with 7, the error box through a scripted prompt and the end event.
class RunTest : public testing::Test {
 protected:
  RunTest()
      : mainWindow_("TWMain", &receiver_,
                    [this](std::uint32_t number, std::uintptr_t wparam, std::intptr_t lparam) {
                      messages_.push_back({number, static_cast<std::intptr_t>(wparam), lparam});
                      onGuiThread_ = onGuiThread_ && QThread::currentThread() == receiver_.thread();
                      if (onMessage_) onMessage_(number);
                      return std::intptr_t{number == 0x400 ? 7 : 0};
                    }),
        errorBox_(&receiver_, prompt_) {
    calculation_->OnCalculationEnd = [this](TThreadedLaunch*) {
      ++ends_;
      exchangeFilesAtEnd_ = QFile::exists("DataSets.dat") || QFile::exists("Parameters.dat");
    };
  }

  int Steps() const {
    return static_cast<int>(
        std::count_if(messages_.begin(), messages_.end(), [](auto& m) { return m[0] == 0x401; }));
  }

  ScratchFolder folder_;
  QObject receiver_;
  ScriptedPrompt prompt_;
  std::vector<std::array<std::intptr_t, 3>> messages_;
  bool onGuiThread_ = true;
  std::function<void(std::uint32_t)> onMessage_;
  GuiWindow mainWindow_;
  GuiErrorBox errorBox_;
  CalculationPtr calculation_ = NewCalculation();
  int ends_ = 0;
  bool exchangeFilesAtEnd_ = true;
};
