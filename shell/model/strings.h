// The shell's string table: user texts loaded by their numeric id.
#pragma once

#include <QString>
#include <string>

namespace StringId {
constexpr int WarningCaption = 2;
constexpr int ProjectsFolder = 1003;
constexpr int ReportsFolder = 1005;
constexpr int ProjectFilter = 1006;
constexpr int CalculationFilter = 1007;
constexpr int DataSetFilter = 1008;
constexpr int ReportFilter = 1009;
constexpr int AllFilesFilter = 1010;
constexpr int OutOfMemory = 1011;
constexpr int NoActiveProject = 1012;
constexpr int WorkbookFilter = 1013;
constexpr int ProjectNameLabel = 1021;
constexpr int NewProjectCaption = 1022;
constexpr int NewProjectName = 1023;
constexpr int CalculationNameLabel = 1024;
constexpr int NewCalculationCaption = 1025;
constexpr int NewCalculationName = 1026;
constexpr int SaveProjectQuestion = 1027;
constexpr int SaveCalculationQuestion = 1028;
constexpr int Untitled = 1030;
constexpr int DeleteCalculationQuestion = 1031;
constexpr int DeleteReportQuestion = 1032;
constexpr int ProjectOutOfMemory = 2011;
constexpr int ProjectOpenError = 2012;
constexpr int ProjectCreateError = 2013;
constexpr int ParametersFile = 3001;
constexpr int DataSetsFile = 3002;
constexpr int CalculationOutOfMemory = 3011;
constexpr int CalculationOpenError = 3012;
constexpr int CalculationCreateError = 3013;
constexpr int ParamEditorLoadError = 3014;
constexpr int DataTranslatorLoadError = 3015;
constexpr int ParamEditorEntryMissing = 3017;
constexpr int DataTranslatorEntryMissing = 3018;
constexpr int ParametersLoadError = 3019;
constexpr int ParametersSaveError = 3020;
constexpr int CalcProgramFailed = 3021;
constexpr int CalcProgramLoadError = 3901;
constexpr int CalcProgramEntryMissing = 3902;
constexpr int ReportFile = 4001;
}  // namespace StringId

// The text of that id; an empty text for an id the table does not hold.
QString LoadStr(int id);

// The same as UTF-8, for the exceptions, which carry std::string.
std::string LoadStdStr(int id);
