// The list of calculation methods that the program's INI file registers in its
// section "Methods": each entry's key names the method's own section and its
// value is the name shown to the user.
#pragma once

#include <QString>
#include <QStringList>

struct MethodList {
  QStringList names;  // display names, in file order
  QStringList keys;   // the method section names, same index as names
};

// The INI file that belongs to a program: its path with the extension
// replaced by ".INI" (appended when the program file has none).
QString ProgramIniPath(const QString& program_path);

// Reads the "Methods" section. Each line is split at its last "=", so that a
// value holding "=" gives its front part to the key. A missing file or
// section gives empty lists.
MethodList ReadMethodList(const QString& ini_path);

// The values of a method's own section that a calculation takes when the
// method is chosen; each is empty when the section does not give it.
struct MethodEntry {
  QString code;
  QString full_name;
  QString data_translator_dll;
  QString param_editor_dll;
  QString calc_program_dll;
};

MethodEntry ReadMethodEntry(const QString& ini_path, const QString& section);
