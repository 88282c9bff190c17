#include "shell/model/calculation.h"

#include <new>

#include "platform/exceptions.h"
#include "platform/quoted.h"
#include "platform/system_time.h"
#include "shell/model/model_file.h"
#include "shell/model/strings.h"

namespace {

// Eight strings, the block, two lists and the run time, each at its largest.
constexpr qint64 kMaxCalculationFileBytes =
    8 * kMaxStringFieldBytes + 4 + kMaxParameterBlockBytes + 2 * kMaxListFieldBytes + 8;

}  // namespace

TCalculation::TCalculation(const QString& name) {
  try {
    Reset();
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory(LoadStdStr(StringId::CalculationOutOfMemory));
  }
  FName = name;
}

TCalculation::~TCalculation() { FreeLibraries(); }

void TCalculation::Free(TCalculation* calculation) {
  if (!calculation) return;
  calculation->RefuseWhileRunning("Невозможно закрыть расчет во время его выполнения !");
  delete calculation;
}

void TCalculation::Reset() {
  FFileName = LoadStr(StringId::Untitled);
  FName.clear();
  FCode.clear();
  FMethodName.clear();
  FFullName.clear();
  FParamEditorDll.clear();
  FDataTranslatorDll.clear();
  FCalcProgramDll.clear();
  FDataSet.clear();
  FParameters.clear();
  FExtraList1.clear();
  FRunTime = platform::NowDateTime();
  FExtraList2.clear();
  FIsNew = true;
  FModified = false;
}

void TCalculation::RefuseWhileRunning(const char* message) const {
  if (IsRunning()) throw Exception(message);
}

void TCalculation::SetMethod(const QString& code, const QString& methodName, const QString& fullName,
                             const QString& paramEditorDll, const QString& dataTranslatorDll,
                             const QString& calcProgramDll) {
  RefuseWhileRunning("Невозможно сменить метод во время расчета !");
  FCode = code;
  FMethodName = methodName;
  FFullName = fullName;
  FParamEditorDll = paramEditorDll;
  FDataTranslatorDll = dataTranslatorDll;
  FCalcProgramDll = calcProgramDll;
  LoadLibraries();
  ClearParameters();
  FModified = true;
}

void TCalculation::LoadFromFile(const QString& path) {
  FFileName = path;
  ModelFileReader reader(
      path, LoadStdStr(StringId::CalculationOpenError), kMaxCalculationFileBytes,
      QString::fromStdString("Файл расчета " + platform::Quoted(path.toStdString()) + " поврежден: "));
  QString strings[8];
  for (QString& text : strings) text = reader.ReadString();
  QByteArray parameters = reader.ReadBlock();
  QStringList extraList1 = reader.ReadList();
  const double runTime = reader.ReadDateTime();
  QStringList extraList2 = reader.ReadList();
  reader.ExpectEnd();

  FName = strings[0];
  FCode = strings[1];
  FMethodName = strings[2];
  FFullName = strings[3];
  FParamEditorDll = strings[4];
  FDataTranslatorDll = strings[5];
  FCalcProgramDll = strings[6];
  FDataSet = strings[7];
  FParameters.append(parameters);
  FExtraList1.append(extraList1);
  FRunTime = runTime;
  FExtraList2.append(extraList2);
  FIsNew = false;
  FModified = false;
  LoadLibraries();
}

void TCalculation::Save() {
  ModelFileWriter writer;
  for (const QString* text : {&FName, &FCode, &FMethodName, &FFullName, &FParamEditorDll, &FDataTranslatorDll,
                              &FCalcProgramDll, &FDataSet}) {
    writer.WriteString(*text);
  }
  writer.WriteBlock(FParameters);
  writer.WriteList(FExtraList1);
  writer.WriteDateTime(FRunTime);
  writer.WriteList(FExtraList2);
  WriteWholeFile(FFileName, writer.Bytes(), LoadStdStr(StringId::CalculationCreateError));
  FIsNew = false;
  FModified = false;
}

void TCalculation::SaveAs(const QString& path) {
  FFileName = path;
  Save();
}
