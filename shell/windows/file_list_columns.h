// The file list of the toolkit's file dialog as the system shows it: the
// size, type and date columns in the system's own words whatever language
// the machine is set to, and wide enough for what they hold.
#pragma once

#include <QFileDialog>
#include <QObject>
#include <QSize>
#include <QString>

class FileColumns;

class FileListColumns : public QObject {
 public:
  // Takes over the columns of `dialog`, which shows the "description|pattern"
  // pairs of `filter`, and belongs to it. When the dialog is about to appear,
  // the columns are widened to their longest texts and, with `fit_dialog`,
  // the dialog to its columns as far as the screen allows.
  FileListColumns(QFileDialog& dialog, const QString& filter, bool fit_dialog);

  // The dialog's size when it appeared, once it has.
  QSize ShownSize() const { return shown_size_; }

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Fit();

  QFileDialog& dialog_;
  FileColumns* columns_;
  const bool fit_dialog_;
  QSize shown_size_;
};
