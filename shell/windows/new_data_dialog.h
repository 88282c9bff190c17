// The data-set editor's dialog "Новые данные": the sheet's number of columns
// and of rows and a free description of the data. For a new data set the
// sizes can be edited; for the sample information they are only shown.
#pragma once

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

class TWParameters : public QDialog {
 public:
  // The largest sizes OK lets through, those of an Excel 5.0 worksheet.
  static constexpr int kMaxRows = 16384;
  static constexpr int kMaxCols = 256;
  static constexpr int kMaxInfo = 255;

  // `description` is only read. The caller reads eRows, eCols and mInfo after
  // the dialog closed with OK.
  TWParameters(QWidget* owner, const QString& rows, const QString& cols, const QString& description,
               bool editable);

  // Lowers a size above its limit to the limit. Throws EConvertError for a
  // field that holds no whole number or one below 1, leaving that field and
  // the next as they were; the dialog then stays open.
  void bbOkClick();

  QGroupBox* gbDimensions;
  QLabel* lCols;
  QLineEdit* eCols;
  QLabel* lRows;
  QLineEdit* eRows;
  QPushButton* bbOk;
  QPushButton* bbCancel;
  QGroupBox* gbInfo;
  QPlainTextEdit* mInfo;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void CreateComponents();
  int FrameWidth() const;
  // eRowsKeyPress and eColsKeyPress: a typed character other than a digit or
  // backspace makes the field read-only until the next digit or backspace.
  static void SizeKeyPress(QLineEdit* edit, QChar key);
  void LimitInfo();
};

// The class library's text-to-integer conversion: optional blanks around an
// optionally signed decimal number within 32 bits. Throws EConvertError
// "'<text>' is not a valid integer value".
int StrToInt(const QString& text);
