#include "shell/windows/file_list_columns.h"

#include <QEvent>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QScreen>
#include <QTreeView>
#include <algorithm>
#include <iterator>

#include "shell/windows/file_dialog.h"

namespace {

const QLocale& RussianLocale() {
  static const QLocale locale(QLocale::Russian, QLocale::Russia);
  return locale;
}

// Bytes up to a kilobyte, else kilo-, mega-, giga- or terabytes of 1024 with
// two decimals.
QString SizeText(qint64 bytes) {
  static const char* const kUnits[] = {"КБ", "МБ", "ГБ", "ТБ"};
  if (bytes < 1024) return RussianLocale().toString(bytes) + " байт";
  double value = static_cast<double>(bytes) / 1024;
  std::size_t unit = 0;
  while (value >= 1024 && unit + 1 < std::size(kUnits)) {
    value /= 1024;
    ++unit;
  }
  return RussianLocale().toString(value, 'f', 2) + ' ' + kUnits[unit];
}

QString DateText(const QDateTime& time) { return RussianLocale().toString(time, QLocale::ShortFormat); }

}  // namespace

// The size, type and date columns of a file dialog's list in the system's
// words. The toolkit writes sizes and dates in the machine's language and
// takes the types from the machine's catalogue, which knows nothing of the
// system's own files and calls some of them by other programs' types.
class FileColumns : public QIdentityProxyModel {
 public:
  static constexpr int kSize = 1;
  static constexpr int kType = 2;
  static constexpr int kDate = 3;

  FileColumns(const QString& filter, QObject* parent) : QIdentityProxyModel(parent), filter_(filter) {}

  QVariant data(const QModelIndex& index, int role) const override {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (files == nullptr || role != Qt::DisplayRole) return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    switch (index.column()) {
      case kSize:
        return files->isDir(source) ? QString() : SizeText(files->size(source));
      case kType:
        return files->isDir(source) ? files->type(source)
                                    : FileTypeText(filter_, files->fileName(source.siblingAtColumn(0)));
      case kDate:
        return DateText(files->lastModified(source));
      default:
        return QIdentityProxyModel::data(index, role);
    }
  }

  // The longest text each of the three columns can hold, as far as it is
  // known before the folder is read: a file of any other type may be longer.
  QStringList LongestTexts(int column) const {
    switch (column) {
      case kSize:
        return {SizeText(1023), SizeText((qint64{1} << 20) - 1), SizeText((qint64{1} << 30) - 1)};
      case kType:
        return FileTypeDescriptions(filter_) << "Папка" << FileTypeText(QString(), "x.xlsx");
      case kDate:
        return {DateText(QDateTime(QDate(2000, 12, 28), QTime(20, 58)))};
      default:
        return {};
    }
  }

 private:
  QString filter_;
};

FileListColumns::FileListColumns(QFileDialog& dialog, const QString& filter, bool fit_dialog)
    : QObject(&dialog), dialog_(dialog), columns_(new FileColumns(filter, this)), fit_dialog_(fit_dialog) {
  dialog.setProxyModel(columns_);
  dialog.installEventFilter(this);
}

// The dialog's parts are laid out when it is about to appear, before it is
// placed over its parent.
bool FileListColumns::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &dialog_ && event->type() == QEvent::Show) {
    dialog_.removeEventFilter(this);
    Fit();
  }
  return QObject::eventFilter(watched, event);
}

void FileListColumns::Fit() {
  shown_size_ = dialog_.size();
  auto* view = dialog_.findChild<QTreeView*>("treeView");
  if (view == nullptr) return;
  QHeaderView* header = view->header();
  const QFontMetrics metrics(view->font());
  // Beside its text a cell holds its margins and focus frame.
  const int padding = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1) + 8;
  int wanted = 0;
  for (int column = 0; column < header->count(); ++column) {
    int width = header->sectionSize(column);
    for (const QString& text : columns_->LongestTexts(column))
      width = std::max({width, metrics.horizontalAdvance(text) + padding, header->sectionSizeHint(column)});
    if (column != header->count() - 1 || !header->stretchLastSection()) header->resizeSection(column, width);
    if (!header->isSectionHidden(column)) wanted += width;
  }
  const int missing = wanted - view->viewport()->width();
  if (!fit_dialog_ || missing <= 0) return;
  const int room = dialog_.screen()->availableGeometry().width();
  dialog_.resize(std::min(dialog_.width() + missing, room), dialog_.height());
  shown_size_ = dialog_.size();
}
