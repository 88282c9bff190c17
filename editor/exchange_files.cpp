#include "editor/exchange_files.h"

#include <QFile>
#include <QFileInfo>
#include <climits>
#include <optional>

#include "method/parameter_block.h"
#include "platform/cp1251.h"
#include "platform/exceptions.h"
#include "platform/quoted.h"
#include "platform/whole_file.h"

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

// The data set's path as the shell wrote it, or nothing when no data set is
// chosen or the file holds no path: longer than a path can be, not a
// regular file, or not code page 1251 text.
QString ReadDataSet() {
  try {
    return QString::fromStdString(
        platform::Cp1251ToUtf8(platform::ReadWholeFile(kDataSetsFile, "", PATH_MAX)));
  } catch (const Exception&) {
    return {};
  }
}

}  // namespace

EditorStart ReadEditorStart() {
  EditorStart start{DefaultRunParameters(), ReadDataSet(), {}};
  if (!QFileInfo::exists(kParametersFile)) return start;
  const QString defaults = " Показаны значения по умолчанию.";
  std::optional<platform::SequentialReader> file;
  try {
    file.emplace(kParametersFile,
                 "Файл параметров " + platform::Quoted(kParametersFile) + " не может быть открыт.",
                 kMaxBlockBytes);
  } catch (const Exception& error) {
    start.Notice = QString::fromStdString(error.Message()) + defaults;
    return start;
  }
  try {
    RunParameters parameters = DecodeRunParameters(*file);
    // The path is shown as text, so it has to be code page 1251 text.
    platform::Cp1251ToUtf8(parameters.StatisticsPath);
    start.Parameters = std::move(parameters);
  } catch (const Exception& error) {
    start.Notice = QString::fromStdString("Файл параметров " + platform::Quoted(kParametersFile)) +
                   " не принят: " + QString::fromStdString(error.Message()) + "." + defaults;
  }
  return start;
}

void WriteParametersFile(const QString& path, const std::string& block) {
  platform::WriteWholeFile(QFile::encodeName(path).toStdString(), block,
                           "Невозможно записать файл параметров " + platform::Quoted(path.toStdString()));
}
