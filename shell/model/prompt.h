// The one way the shell asks the user something or tells of an error: every
// modal question, error box and file dialog goes through a Prompt. The
// windows install one that shows Qt dialogs; tests install one that answers
// from a script, so commands run end to end without a person.
#pragma once

#include <QString>
#include <optional>

// What a file dialog starts with.
struct FileDialogSetup {
  QString initial_folder;
  // Pairs of a description and a pattern, all joined by "|":
  // "Файл проекта (*.spr)|*.spr|Все файлы (*.*)|*.*".
  QString filter;
  int filter_index = 1;  // the pair selected at first, counted from 1
};

class Prompt {
 public:
  enum class Answer { Yes, No };

  virtual ~Prompt() = default;

  // A modal error box: the error icon and the single button "OK".
  virtual void Error(const QString& text) = 0;

  // A modal information box: the information icon and the single button "OK".
  virtual void Information(const QString& text) = 0;

  // A plain modal message box without an icon, with the single button "OK".
  virtual void ShowMessage(const QString& text) = 0;

  // A modal question with the buttons "Да" and "Нет"; nothing else answers
  // it, Esc and the window's close button included.
  virtual Answer Question(const QString& caption, const QString& text) = 0;

  // A confirmation: the question icon and the buttons "Да" and "Нет"; Esc
  // answers "Нет".
  virtual Answer Confirm(const QString& text) = 0;

  // The name dialog: `label` followed by ":" above an edit field holding
  // `initial`. The text on OK, taken as it is; nothing on Cancel.
  virtual std::optional<QString> AskName(const QString& caption, const QString& label,
                                         const QString& initial) = 0;

  // File dialogs: the chosen file's full path as typed or picked, or nothing
  // when cancelled. Neither asks whether the file exists or may be replaced.
  virtual std::optional<QString> OpenFileName(const FileDialogSetup& setup) = 0;
  virtual std::optional<QString> SaveFileName(const FileDialogSetup& setup) = 0;
};
