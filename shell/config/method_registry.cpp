#include "shell/config/method_registry.h"

#include "shell/config/ini_file.h"

namespace {

QString WithoutLeadingBlanks(const QString& text) {
  qsizetype start = 0;
  while (start < text.size() && text[start].isSpace()) ++start;
  return text.mid(start);
}

QString WithoutTrailingBlanks(const QString& text) {
  qsizetype end = text.size();
  while (end > 0 && text[end - 1].isSpace()) --end;
  return text.left(end);
}

}  // namespace

QString ProgramIniPath(const QString& program_path) {
  const qsizetype slash = program_path.lastIndexOf('/');
  const qsizetype dot = program_path.lastIndexOf('.');
  const qsizetype stem_end = dot > slash ? dot : program_path.size();
  return program_path.left(stem_end) + ".INI";
}

MethodList ReadMethodList(const QString& ini_path) {
  MethodList methods;
  for (const QString& line : IniFile(ini_path).ReadSectionValues("Methods")) {
    const qsizetype equals = line.lastIndexOf('=');
    methods.names.append(WithoutLeadingBlanks(line.mid(equals + 1)));
    methods.keys.append(WithoutTrailingBlanks(line.left(equals)));
  }
  return methods;
}

MethodEntry ReadMethodEntry(const QString& ini_path, const QString& section) {
  const IniFile ini(ini_path);
  const auto value = [&](const char* key) { return ini.ReadString(section, key, ""); };
  return {value("Code"), value("FullName"), value("DataTranslatorDll"), value("ParamEditorDll"),
          value("CalcProgramDll")};
}
