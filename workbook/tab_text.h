// Cells as tab-separated text, the form spreadsheets exchange through the
// clipboard: cells of a row separated by tabs, each row ended by a line
// break. A cell holding a tab, a line break or a leading quote is written in
// double quotes with inner quotes doubled, so that it reads back whole.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace workbook {

QString EncodeTabText(const QList<QStringList>& rows);

// Rows of cells; line ends may be "\r\n" or "\n", and the last row's line end
// may be missing. An empty text gives no rows.
QList<QStringList> DecodeTabText(const QString& text);

}  // namespace workbook
