#include "shell/model/strings.h"

#include <map>

QString LoadStr(int id) {
  static const std::map<int, const char*> table = {
      {StringId::ReportsFolder, "Reports/"},
      {StringId::Untitled, "Безымянный"},
      {StringId::ProjectOutOfMemory, "Невозможно выделить память для проекта !"},
      {StringId::ProjectOpenError, "Невозможно открыть файл проекта !"},
      {StringId::ProjectCreateError, "Невозможно создать файл проекта !"},
      {StringId::ParametersFile, "Parameters.dat"},
      {StringId::DataSetsFile, "DataSets.dat"},
      {StringId::CalculationOutOfMemory, "Невозможно выделить память для расчета !"},
      {StringId::CalculationOpenError, "Невозможно открыть файл расчета !"},
      {StringId::CalculationCreateError, "Невозможно создать файл расчета !"},
      {StringId::ParamEditorLoadError, "Невозможно загрузить библиотеку редактора параметров !"},
      {StringId::DataTranslatorLoadError, "Невозможно загрузить библиотеку транслятора данных !"},
      {StringId::ParamEditorEntryMissing, "Не найдена точка входа в редактор параметров !"},
      {StringId::DataTranslatorEntryMissing, "Не найдена точка входа в транслятор данных !"},
      {StringId::ParametersLoadError, "Невозможно загрузить параметры для метода !"},
      {StringId::ParametersSaveError, "Невозможно записать параметры метода !"},
      {StringId::CalcProgramFailed, "Неудачный запуск вычислительной программы !"},
      {StringId::CalcProgramLoadError, "Невозможно загрузить библиотеку вычислительной программы !"},
      {StringId::CalcProgramEntryMissing, "Не найдена точка входа в вычислительную программу !"},
      {StringId::ReportFile, "index.html"},
  };
  const auto it = table.find(id);
  return it == table.end() ? QString() : QString::fromUtf8(it->second);
}

std::string LoadStdStr(int id) { return LoadStr(id).toStdString(); }
