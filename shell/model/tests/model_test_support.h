// Helpers of the model's tests: a scratch folder made current, file bytes
// built by hand from the layout tables, runs with a scripted prompt and
// waiting while the GUI thread's events are processed.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/model/calculation.h"
#include "shell/model/gui_error_box.h"
#include "shell/model/gui_window.h"
#include "shell/model/prompt.h"
#include "shell/model/tests/scripted_prompt.h"

// A fresh folder that is the current directory while the object lives.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  QString Path() const { return dir_.path(); }
  QString File(const QString& name) const { return dir_.filePath(name); }

 private:
  QTemporaryDir dir_;
  QString previous_;
};

// File bytes as the layout tables give them: little-endian signed 32-bit
// counts, strings as a count and code page 1251 bytes.
class LayoutBytes {
 public:
  LayoutBytes& Int32(qint32 value);
  LayoutBytes& Text(const QByteArray& cp1251);
  LayoutBytes& List(const std::vector<QByteArray>& cp1251);
  LayoutBytes& Block(const QByteArray& bytes);
  LayoutBytes& DateTime(double value);
  LayoutBytes& Raw(const QByteArray& bytes);
  const QByteArray& Bytes() const { return bytes_; }

 private:
  QByteArray bytes_;
};

QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);

// Processes the GUI thread's events until the condition holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, int milliseconds = 10000);
// Processes the GUI thread's events for the given time.
void ProcessEventsFor(int milliseconds);

// A calculation freed through TCalculation::Free, after stopping its run.
struct CalculationDeleter {
  void operator()(TCalculation* calculation) const;
};
using CalculationPtr = std::unique_ptr<TCalculation, CalculationDeleter>;
CalculationPtr NewCalculation(const QString& name = "Расчет");

// The program folder with the stub libraries and the run host, current while it lives.
class StubProgramFolder {
 public:
  StubProgramFolder();
  ~StubProgramFolder();
};

// Whether the library of that path is loaded in this process.
bool IsLoaded(const std::string& path);

// A calculation file whose 5th string names the parameter editor.
QByteArray CalculationFile(const QByteArray& block, double runTime, const QByteArray& paramEditorDll = "");

// What the runs of a calculation need: a run folder made current, a "TWMain"
// window that records each message (number, wparam, lparam) and answers
// begin with 7, the error box through a scripted prompt and the end event.
class RunTest : public testing::Test {
 protected:
  RunTest();
  // The given bytes as the calculation's block.
  void SetBlock(const QByteArray& block);
  int Steps() const;

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
