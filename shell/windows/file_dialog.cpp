#include "shell/windows/file_dialog.h"

#include "shell/windows/file_paths.h"

TFileDialog::TFileDialog(Prompt& prompt, Kind kind) : prompt_(prompt), kind_(kind) {}

bool TFileDialog::Execute() {
  const std::optional<QString> chosen =
      kind_ == Kind::Open ? prompt_.OpenFileName(setup_) : prompt_.SaveFileName(setup_);
  if (!chosen || chosen->isEmpty()) return false;
  file_name_ = WithDefaultExtension(*chosen, default_ext_);
  return true;
}

QStringList QtNameFilters(const QString& filter) {
  QStringList filters;
  if (filter.isEmpty()) return filters;
  const QStringList parts = filter.split('|');
  for (qsizetype pair = 0; pair + 1 < parts.size(); pair += 2) {
    QStringList patterns = parts[pair + 1].split(';', Qt::SkipEmptyParts);
    for (QString& pattern : patterns) {
      if (pattern == "*.*") pattern = "*";
    }
    filters.append(parts[pair] + " (" + patterns.join(' ') + ")");
  }
  return filters;
}
