// The data-set editor's steps on whole data sets: a data-set file from the
// selected numbers, the data description, a new empty sheet and opening a
// data-set file.
#include <QScopeGuard>

#include "ferrant/ferrant.h"
#include "shell/model/prompt.h"
#include "shell/windows/ferrant_window.h"
#include "shell/windows/main_window.h"
#include "shell/windows/new_data_dialog.h"
#include "workbook/cell_number.h"
#include "workbook/f2book.h"

void TWFerrant::actnDataSetsMakeSampleExecute() {
  F2Book->GetSelection(0, FSelTopRow, FSelLeftCol, FSelBottomRow, FSelRightCol);
  if (F2Book->MaxRow() < FSelBottomRow) FSelBottomRow = F2Book->MaxRow();
  if (F2Book->MaxCol() < FSelRightCol) FSelRightCol = F2Book->MaxCol();
  SaveSample();
}

QString TWFerrant::DotToComma(const QString& text) {
  QString result = text;
  result.replace(u'.', u',');
  return result;
}

void TWFerrant::SaveSample() {
  if (!CheckSelection()) return;
  if (prompt_.Confirm("Сформировать файл с выбранными данными ?") != Prompt::Answer::Yes) return;
  SaveSelection();
}

// Walks the selection row by row; the bottom row is read again at every row,
// since deleting a row lowers it. False when the user kept a row that is not
// all numbers.
bool TWFerrant::CheckSelection() {
  qint32 row = FSelTopRow;
  while (row <= FSelBottomRow) {
    bool row_deleted = false;
    for (qint32 col = FSelLeftCol; col <= FSelRightCol; ++col) {
      const QString text = DotToComma(F2Book->Get_TextRC(row, col));
      // Every point has become a comma, so the comma is the decimal point
      // here, whatever separator the user's settings name.
      if (workbook::ParseNumber(text, u',')) continue;
      if (prompt_.Confirm("'" + text + "' - не число! Хотите удалить эту строчку?") != Prompt::Answer::Yes) {
        return false;
      }
      MarkModified();
      F2Book->DeleteRange(row, FSelLeftCol, row, FSelRightCol, TF2Book::kShiftRows);
      --FSelBottomRow;
      F2Book->SetSelection(FSelTopRow, FSelLeftCol, FSelBottomRow, FSelRightCol);
      row_deleted = true;
      break;
    }
    // After a deletion the same row number holds the row that moved up.
    if (!row_deleted) ++row;
  }
  return true;
}

// The main window's save dialog is set up for data-set files just for this
// question and given back as it was, also when the save fails.
void TWFerrant::SaveSelection() {
  TFileDialog& dialog = main_->SaveDialog();
  const QString filter = dialog.Setup().filter;
  const auto restore = qScopeGuard([&] {
    dialog.Setup().filter = filter;
    dialog.SetDefaultExt(QString());
  });
  dialog.Setup().filter = "Talvo System Files(*.sds)|*.sds";
  dialog.SetDefaultExt("sds");
  if (!dialog.Execute()) return;
  FFileName = dialog.FileName();
  Ferrant::SaveToFileFromBook(&F2Book->Sheet(), FFileName);
}

void TWFerrant::actnDataSetsSampleInfoExecute() {
  TWParameters dialog(main_, QString::number(F2Book->MaxRow()), QString::number(F2Book->MaxCol()),
                      FDescription, false);
  if (dialog.exec() != QDialog::Accepted) return;
  FDescription = dialog.mInfo->toPlainText();
  F2Book->SetHint(FDescription);
}

// The sheet is shown whatever happens, so that the editor never stands empty.
void TWFerrant::NewDataSet() {
  const auto show_sheet = qScopeGuard([this] { F2Book->show(); });
  TWParameters dialog(this, QString::number(F2Book->MaxRow()), QString::number(F2Book->MaxCol()),
                      FDescription, true);
  if (dialog.exec() != QDialog::Accepted) return;
  // The dialog has let through only sizes the sheet can have.
  const int rows = StrToInt(dialog.eRows->text());
  const int cols = StrToInt(dialog.eCols->text());
  F2Book->SetSelection(F2Book->TopRow(), F2Book->LeftCol(), F2Book->MaxRow(), F2Book->MaxCol());
  F2Book->EditDelete(TF2Book::kClearCells);
  F2Book->SetSelection(F2Book->TopRow(), F2Book->LeftCol(), F2Book->TopRow(), F2Book->LeftCol());
  F2Book->SetMaxRow(rows);
  F2Book->SetMaxCol(cols);
  for (qint32 col = 1; col <= F2Book->MaxCol(); ++col) F2Book->Set_ColText(col, QString());
  main_->SetStatusText("Файл: ");
  FDescription = dialog.mInfo->toPlainText();
  F2Book->SetHint(FDescription);
}

// The file's description becomes the editor's, so that the sample
// information shows and keeps it. An editor whose file cannot be opened has
// nothing to show and closes; the error still reaches the user.
void TWFerrant::OpenDataSet(const QString& path) {
  FFileName = path;
  try {
    Ferrant::LoadFromFileToBook(&F2Book->Sheet(), path);
  } catch (...) {
    close();
    throw;
  }
  FDescription = F2Book->Sheet().Hint();
  FModified = false;
  ShowFileName();
  UpdateCaption();
  F2Book->show();
}
