#include "shell/model/strings.h"

#include <map>

QString LoadStr(int id) {
  static const std::map<int, const char*> table = {
      {StringId::WarningCaption, "Предупреждение"},
      {StringId::ProjectsFolder, "Projects/"},
      {StringId::ReportsFolder, "Reports/"},
      {StringId::ProjectFilter, "Файл проекта (*.spr)|*.spr"},
      {StringId::CalculationFilter, "Файл расчета (*.scl)|*.scl"},
      {StringId::DataSetFilter, "Файл набора данных (*.sds)|*.sds"},
      {StringId::ReportFilter, "Файл отчета (*.html,*.htm)|*.html;*.htm"},
      {StringId::AllFilesFilter, "Все файлы (*.*)|*.*"},
      {StringId::OutOfMemory, "Проблемы с выделением памяти !"},
      {StringId::NoActiveProject, "Не найден активный проект !"},
      {StringId::WorkbookFilter, "Книга Microsoft Exel 5.0 (*.xls)|*.xls"},
      {StringId::ProjectNameLabel, "Название проекта"},
      {StringId::NewProjectCaption, "Новый проект"},
      {StringId::NewProjectName, "New project"},
      {StringId::CalculationNameLabel, "Название расчета"},
      {StringId::NewCalculationCaption, "Новый расчет"},
      {StringId::NewCalculationName, "New calculation"},
      {StringId::SaveProjectQuestion, "Проект был изменен, сохранить ?"},
      {StringId::SaveCalculationQuestion, "Расчет был изменен, сохранить ?"},
      {StringId::Untitled, "Безымянный"},
      {StringId::DeleteCalculationQuestion, "Удалить выделенный расчет?"},
      {StringId::DeleteReportQuestion, "Удалить выделенный отчет?"},
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
