#include "shell/windows/file_dialog.h"

#include <QDir>
#include <QFileInfo>

#include "platform/quoted.h"
#include "shell/windows/file_paths.h"

TFileDialog::TFileDialog(Prompt& prompt, Kind kind) : prompt_(prompt), kind_(kind) {}

bool TFileDialog::Execute() {
  const std::optional<QString> chosen =
      kind_ == Kind::Open ? prompt_.OpenFileName(setup_) : prompt_.SaveFileName(setup_);
  if (!chosen || chosen->isEmpty()) return false;
  file_name_ = WithDefaultExtension(*chosen, default_ext_);
  return true;
}

namespace {

constexpr char kEveryFile[] = "*.*";

struct FilterPair {
  QString description;
  QStringList patterns;
};

QList<FilterPair> FilterPairs(const QString& filter) {
  QList<FilterPair> pairs;
  if (filter.isEmpty()) return pairs;
  const QStringList parts = filter.split('|');
  for (qsizetype pair = 0; pair + 1 < parts.size(); pair += 2)
    pairs.append({parts[pair], parts[pair + 1].split(';', Qt::SkipEmptyParts)});
  return pairs;
}

// "Файл отчета (*.html,*.htm)" without " (*.html,*.htm)".
QString WithoutPatterns(const QString& description) {
  const qsizetype open = description.lastIndexOf(" (");
  return open > 0 && description.endsWith(')') ? description.left(open) : description;
}

}  // namespace

QStringList QtNameFilters(const QString& filter) {
  QStringList filters;
  for (FilterPair& pair : FilterPairs(filter)) {
    for (QString& pattern : pair.patterns) {
      if (pattern == kEveryFile) pattern = "*";
    }
    filters.append(pair.description + " (" + pair.patterns.join(' ') + ")");
  }
  return filters;
}

QString FileTypeText(const QString& filter, const QString& file_name) {
  for (const FilterPair& pair : FilterPairs(filter)) {
    if (!pair.patterns.contains(kEveryFile) && QDir::match(pair.patterns, file_name))
      return WithoutPatterns(pair.description);
  }
  const QString extension = QFileInfo(file_name).suffix();
  return extension.isEmpty()
             ? QString("Файл")
             : QString::fromStdString("Файл " + platform::Quoted(extension.toUpper().toStdString()));
}

QStringList FileTypeDescriptions(const QString& filter) {
  QStringList descriptions;
  for (const FilterPair& pair : FilterPairs(filter)) {
    if (!pair.patterns.contains(kEveryFile)) descriptions.append(WithoutPatterns(pair.description));
  }
  return descriptions;
}
