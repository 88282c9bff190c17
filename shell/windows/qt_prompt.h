// The prompt of the running program: Qt message boxes, the name dialog and Qt
// file dialogs, with the system's Russian texts.
#pragma once

#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include "shell/model/prompt.h"

class QtPrompt : public Prompt {
 public:
  // Boxes are modal over `parent`, or over the active window when it is null.
  explicit QtPrompt(QWidget* parent = nullptr);

  void Error(const QString& text) override;
  void Information(const QString& text) override;
  void ShowMessage(const QString& text) override;
  Answer Question(const QString& caption, const QString& text) override;
  Answer Confirm(const QString& text) override;
  std::optional<QString> AskName(const QString& caption, const QString& label,
                                 const QString& initial) override;
  std::optional<QString> OpenFileName(const FileDialogSetup& setup) override;
  std::optional<QString> SaveFileName(const FileDialogSetup& setup) override;

 private:
  QWidget* Owner() const;
  void Tell(QMessageBox::Icon icon, const QString& caption, const QString& text);
  Answer YesOrNo(QMessageBox::Icon icon, const QString& caption, const QString& text);
  std::optional<QString> ChooseFile(const FileDialogSetup& setup, QFileDialog::AcceptMode mode);

  QPointer<QWidget> parent_;
  // The size the user last left a file dialog at; until then a file dialog
  // opens wide enough for its columns.
  QSize file_dialog_size_;
};
