#include "workbook/tab_text.h"

namespace workbook {
namespace {

bool NeedsQuotes(const QString& cell) {
  return cell.startsWith(u'"') || cell.contains(u'\t') || cell.contains(u'\n') || cell.contains(u'\r');
}

}  // namespace

QString EncodeTabText(const QList<QStringList>& rows) {
  QString text;
  for (const QStringList& row : rows) {
    for (qsizetype column = 0; column < row.size(); ++column) {
      if (column > 0) text += u'\t';
      const QString& cell = row[column];
      if (NeedsQuotes(cell)) {
        text += u'"' + QString(cell).replace(u'"', QStringLiteral("\"\"")) + u'"';
      } else {
        text += cell;
      }
    }
    text += u'\n';
  }
  return text;
}

QList<QStringList> DecodeTabText(const QString& text) {
  QList<QStringList> rows;
  QStringList row;
  QString cell;
  qsizetype pos = 0;
  const qsizetype size = text.size();
  while (pos < size) {
    // A quoted cell runs to the quote that is followed by a tab, a line end
    // or the end; anything else after a quote is taken as it stands.
    if (text[pos] == u'"' && cell.isEmpty()) {
      qsizetype scan = pos + 1;
      QString quoted;
      bool closed = false;
      while (scan < size) {
        if (text[scan] == u'"') {
          if (scan + 1 < size && text[scan + 1] == u'"') {
            quoted += u'"';
            scan += 2;
            continue;
          }
          closed = scan + 1 == size || text[scan + 1] == u'\t' || text[scan + 1] == u'\n' ||
                   text[scan + 1] == u'\r';
          break;
        }
        quoted += text[scan++];
      }
      if (closed) {
        cell = quoted;
        pos = scan + 1;
        if (pos == size) break;
      }
    }
    const QChar ch = text[pos];
    if (ch == u'\t') {
      row.append(cell);
      cell.clear();
      ++pos;
    } else if (ch == u'\n' || (ch == u'\r' && pos + 1 < size && text[pos + 1] == u'\n')) {
      row.append(cell);
      cell.clear();
      rows.append(row);
      row.clear();
      pos += ch == u'\r' ? 2 : 1;
    } else {
      cell += ch;
      ++pos;
    }
  }
  if (!cell.isEmpty() || !row.isEmpty()) {
    row.append(cell);
    rows.append(row);
  }
  return rows;
}

}  // namespace workbook
