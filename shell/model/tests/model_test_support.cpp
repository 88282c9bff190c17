#include "model_test_support.h"

#include <dlfcn.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QtEndian>
#include <cstring>

#include "platform/program_folder.h"

ScratchFolder::ScratchFolder() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }

ScratchFolder::~ScratchFolder() { QDir::setCurrent(previous_); }

LayoutBytes& LayoutBytes::Int32(qint32 value) {
  const qint32 little = qToLittleEndian(value);
  bytes_.append(reinterpret_cast<const char*>(&little), 4);
  return *this;
}

LayoutBytes& LayoutBytes::Text(const QByteArray& cp1251) {
  Int32(static_cast<qint32>(cp1251.size()));
  bytes_.append(cp1251);
  return *this;
}

LayoutBytes& LayoutBytes::List(const std::vector<QByteArray>& cp1251) {
  Int32(static_cast<qint32>(cp1251.size()));
  for (const QByteArray& text : cp1251) Text(text);
  return *this;
}

LayoutBytes& LayoutBytes::Block(const QByteArray& bytes) { return Text(bytes); }

LayoutBytes& LayoutBytes::DateTime(double value) {
  char bytes[8];
  std::memcpy(bytes, &value, 8);  // the test machine is little-endian, as the files are
  bytes_.append(bytes, 8);
  return *this;
}

LayoutBytes& LayoutBytes::Raw(const QByteArray& bytes) {
  bytes_.append(bytes);
  return *this;
}

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QByteArray();
  return file.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

bool WaitUntil(const std::function<bool()>& condition, int milliseconds) {
  QDeadlineTimer deadline(milliseconds);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return true;
}

void ProcessEventsFor(int milliseconds) {
  QDeadlineTimer deadline(milliseconds);
  while (!deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
}

void CalculationDeleter::operator()(TCalculation* calculation) const {
  calculation->Abort();
  TCalculation::Free(calculation);
}

CalculationPtr NewCalculation(const QString& name) { return CalculationPtr(new TCalculation(name)); }

StubProgramFolder::StubProgramFolder() { platform::SetProgramFolder(WB_TEST_PROGRAM_DIR); }

StubProgramFolder::~StubProgramFolder() { platform::SetProgramFolder(""); }

bool IsLoaded(const std::string& path) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle) dlclose(handle);
  return handle != nullptr;
}

QByteArray CalculationFile(const QByteArray& block, double runTime, const QByteArray& paramEditorDll) {
  return LayoutBytes()
      .Text("\xD0\xE0\xF1\xF7\xE5\xF2")  // "Расчет"
      .Text("MC")
      .Text("\xCC\xE5\xF2\xEE\xE4")  // "Метод"
      .Text("Monte Carlo")
      .Text(paramEditorDll)
      .Text("")
      .Text("")
      .Text("/d/a.sds")
      .Block(block)
      .List({"first", "\xCC\xE5\xF2\xEE\xE4"})
      .DateTime(runTime)
      .List({"second"})
      .Bytes();
}

RunTest::RunTest()
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

void RunTest::SetBlock(const QByteArray& block) {
  WriteBytes("Parameters.dat", block);
  calculation_->LoadParameters();
  QFile::remove("Parameters.dat");
}

int RunTest::Steps() const {
  return static_cast<int>(
      std::count_if(messages_.begin(), messages_.end(), [](const auto& m) { return m[0] == 0x401; }));
}
