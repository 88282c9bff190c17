// The method's parameter-editor and data-translator libraries and the
// exchange files through which method libraries get the calculation's data
// set and parameter block.
#include <QDir>
#include <QFile>

#include "platform/cp1251.h"
#include "platform/exceptions.h"
#include "platform/quoted.h"
#include "shell/model/calculation.h"
#include "shell/model/model_file.h"
#include "shell/model/strings.h"

namespace {

// Binds one library of the method and its entry; an empty name binds nothing.
void* Bind(platform::Library& library, const QString& name, const char* entry, int loadError,
           int entryError) {
  if (name.isEmpty()) return nullptr;
  library = platform::Library::Load(name.toStdString());
  if (!library.IsLoaded()) throw Exception(LoadStdStr(loadError));
  void* address = library.Entry(entry);
  if (!address) throw Exception(LoadStdStr(entryError));
  return address;
}

}  // namespace

void TCalculation::LoadLibraries() {
  FreeLibraries();
  try {
    FRunParamEditor =
        reinterpret_cast<int (*)()>(Bind(FParamEditorLib, FParamEditorDll, "_RunParamEditor",
                                         StringId::ParamEditorLoadError, StringId::ParamEditorEntryMissing));
    FRunDataTranslator = Bind(FDataTranslatorLib, FDataTranslatorDll, "_RunDataTranslator",
                              StringId::DataTranslatorLoadError, StringId::DataTranslatorEntryMissing);
  } catch (const Exception&) {
    FreeLibraries();
    throw;
  }
}

void TCalculation::FreeLibraries() {
  FParamEditorLib.Free();
  FDataTranslatorLib.Free();
  FRunParamEditor = nullptr;
  FRunDataTranslator = nullptr;
}

void TCalculation::RunParamEditor() {
  RefuseWhileRunning("Невозможно запустить редактор параметров во время расчета !");
  if (!FRunParamEditor) return;
  WriteExchangeFiles();
  const int accepted = FRunParamEditor();
  const QString parametersFile = LoadStr(StringId::ParametersFile);
  if (accepted != 0 && QFile::exists(parametersFile)) {
    LoadParameters();
    QFile::remove(parametersFile);
  }
  FModified = true;
}

void TCalculation::LoadParameters() {
  FParameters = QByteArray::fromStdString(ReadWholeFile(
      LoadStr(StringId::ParametersFile), LoadStdStr(StringId::ParametersLoadError), kMaxParameterBlockBytes));
}

void TCalculation::SaveParameters() {
  WriteWholeFile(LoadStr(StringId::ParametersFile), FParameters, LoadStdStr(StringId::ParametersSaveError));
}

void TCalculation::WriteDataSetsFile() {
  // A path written mangled would name another data set.
  std::string path;
  try {
    path = platform::Utf8ToCp1251(FDataSet.toStdString());
  } catch (const EConvertError& error) {
    throw EConvertError("Путь набора данных " + platform::Quoted(FDataSet.toStdString()) +
                        " не может быть передан методу: " + error.Message());
  }
  // The file is only there for outside method libraries, so a failure to
  // write it is not reported.
  try {
    WriteWholeFile(LoadStr(StringId::DataSetsFile), QByteArray::fromStdString(path), "");
  } catch (const EFCreateError&) {
  }
}

void TCalculation::WriteExchangeFiles() {
  // Files an earlier failure left behind would show the library another
  // calculation's data set or parameters.
  DeleteExchangeFiles(QDir::currentPath());
  if (HasDataSet()) WriteDataSetsFile();
  if (HasParameters()) SaveParameters();
}

void TCalculation::DeleteExchangeFiles(const QString& folder) {
  const QDir dir(folder);
  QFile::remove(dir.filePath(LoadStr(StringId::DataSetsFile)));
  QFile::remove(dir.filePath(LoadStr(StringId::ParametersFile)));
}

void TCalculation::ClearParameters() {
  QFile::remove(LoadStr(StringId::ParametersFile));
  FParameters.clear();
}
