#include "model_test_support.h"

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

void ScriptedPrompt::Error(const QString& text) {
  errors.append(text);
  errorThreads.push_back(QThread::currentThread());
}

Prompt::Answer ScriptedPrompt::Question(const QString&, const QString&) { return Answer::Yes; }

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
