// The main window's two file dialogs, OpenDialog and SaveDialog. Each keeps
// what its last preparation set (initial folder, filter, default extension,
// filter index) and asks through the prompt, which shows the platform's
// dialog.
#pragma once

#include <QString>
#include <QStringList>

#include "shell/model/prompt.h"

// File types, the bits of a dialog's type mask. ftOther has every bit set,
// so it passes every test against a mask that is not empty.
constexpr int ftProject = 1;      // *.spr
constexpr int ftCalculation = 2;  // *.scl
constexpr int ftDataSet = 4;      // *.sds
constexpr int ftReport = 8;       // *.html
constexpr int ftWorkbook = 16;    // *.xls
constexpr int ftOther = 31;

class TFileDialog {
 public:
  enum class Kind { Open = 0, Save = 1 };

  TFileDialog(Prompt& prompt, Kind kind);

  FileDialogSetup& Setup() { return setup_; }
  const FileDialogSetup& Setup() const { return setup_; }
  // Appended with "." to a name chosen without an extension; none when empty.
  const QString& DefaultExt() const { return default_ext_; }
  void SetDefaultExt(const QString& extension) { default_ext_ = extension; }

  // Shows the dialog; true when a file was chosen, whose full path FileName
  // then holds.
  bool Execute();
  const QString& FileName() const { return file_name_; }

 private:
  Prompt& prompt_;
  const Kind kind_;
  FileDialogSetup setup_;
  QString default_ext_;
  QString file_name_;
};

// Qt's name filters for "description|pattern" pairs: the description with
// the pair's patterns in parentheses, separated by blanks. "*.*" means every
// file, as on the system the texts come from.
QStringList QtNameFilters(const QString& filter);

// What a file dialog's type column says of the file `file_name`: the
// description of the first pair of `filter` whose patterns take the name
// (letter case aside), without the patterns it names in parentheses; for any
// other file, "Файл" and its extension in capitals. The pair for every file
// ("*.*") describes no type.
QString FileTypeText(const QString& filter, const QString& file_name);

// Every text FileTypeText takes from the pairs of `filter`.
QStringList FileTypeDescriptions(const QString& filter);
