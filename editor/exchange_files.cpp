#include "editor/exchange_files.h"

#include <QFile>
#include <QSaveFile>

#include "method/parameter_block.h"
#include "platform/cp1251.h"
#include "platform/exceptions.h"

RunParameters DefaultRunParameters() {
  RunParameters parameters;
  parameters.TestKind = kTestKindT2;
  parameters.GeneratorKind = kGeneratorNormal;
  parameters.GenParam1 = 0;
  parameters.GenParam2 = 1;
  parameters.Dimension = 2;
  parameters.Mean = {0, 0};
  parameters.Covariance = {1, 0, 1};
  parameters.N = 20;
  parameters.M = 100;
  parameters.K = 10;
  return parameters;
}

namespace {

QString Quoted(const char* name) { return QString("«%1»").arg(name); }

// The data set's path as the shell wrote it, or nothing when no data set is
// chosen or the path is not code page 1251 text.
QString ReadDataSet() {
  QFile file(kDataSetsFile);
  if (!file.open(QIODevice::ReadOnly)) return {};
  try {
    return QString::fromStdString(platform::Cp1251ToUtf8(file.readAll().toStdString()));
  } catch (const EConvertError&) {
    return {};
  }
}

}  // namespace

EditorStart ReadEditorStart() {
  EditorStart start{DefaultRunParameters(), ReadDataSet(), {}};
  QFile file(kParametersFile);
  if (!file.exists()) return start;
  const QString defaults = " Показаны значения по умолчанию.";
  if (!file.open(QIODevice::ReadOnly)) {
    start.Notice = "Файл параметров " + Quoted(kParametersFile) + " не может быть открыт." + defaults;
    return start;
  }
  try {
    RunParameters parameters = DecodeRunParameters(file.readAll().toStdString());
    // The path is shown as text, so it has to be code page 1251 text.
    platform::Cp1251ToUtf8(parameters.StatisticsPath);
    start.Parameters = std::move(parameters);
  } catch (const Exception& error) {
    start.Notice = "Файл параметров " + Quoted(kParametersFile) +
                   " не принят: " + QString::fromStdString(error.Message()) + "." + defaults;
  }
  return start;
}

void WriteParametersFile(const QString& path, const std::string& block) {
  QSaveFile file(path);
  const bool written =
      file.open(QIODevice::WriteOnly) &&
      file.write(block.data(), static_cast<qint64>(block.size())) == static_cast<qint64>(block.size()) &&
      file.commit();
  if (!written) {
    throw EFCreateError("Невозможно записать файл параметров «" + path.toStdString() + "»");
  }
}
