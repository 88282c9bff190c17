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
  // Boxes and dialogs are centred over the modal dialog that is up, else over
  // `parent`, else over the active window.
  explicit QtPrompt(QWidget* parent = nullptr);
  void SetParent(QWidget* parent);

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
  // Adds "Да", the default, and "Нет" to `box` and shows it.
  Answer YesOrNo(QMessageBox& box);
  std::optional<QString> ChooseFile(const FileDialogSetup& setup, QFileDialog::AcceptMode mode);

  QPointer<QWidget> parent_;
  // The size the user last left a file dialog at; until then a file dialog
  // opens wide enough for its columns.
  QSize file_dialog_size_;
};
