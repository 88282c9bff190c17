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
