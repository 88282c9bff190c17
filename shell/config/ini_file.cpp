#include "shell/config/ini_file.h"

#include <QFile>
#include <QFileInfo>

#include "platform/quoted.h"
#include "platform/whole_file.h"

namespace {

// A registry of a thousand methods takes a few hundred kilobytes.
constexpr std::uint64_t kMaxIniBytes = 1 << 20;

bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

}  // namespace

IniFile::IniFile(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists() || !info.isReadable()) return;
  const QString text = QString::fromStdString(platform::ReadWholeFile(
      QFile::encodeName(path).toStdString(),
      "Невозможно прочитать файл методов " + platform::Quoted(path.toStdString()) + " !", kMaxIniBytes));
  Section* current = nullptr;
  for (QString line : text.split('\n')) {
    line = line.trimmed();
    if (line.startsWith(';') || line.startsWith('#')) continue;
    if (line.startsWith('[')) {
      const qsizetype close = line.indexOf(']');
      if (close < 0) continue;
      sections_.append(Section{line.mid(1, close - 1).trimmed(), {}});
      current = &sections_.last();
      continue;
    }
    const qsizetype equals = line.indexOf('=');
    if (current == nullptr || equals < 0) continue;
    current->entries.append(Entry{line.left(equals).trimmed(), line.mid(equals + 1).trimmed()});
  }
}

const IniFile::Section* IniFile::FindSection(const QString& name) const {
  for (const Section& section : sections_) {
    if (SameName(section.name, name)) return &section;
  }
  return nullptr;
}

QStringList IniFile::ReadSectionValues(const QString& section) const {
  QStringList lines;
  const Section* found = FindSection(section);
  if (found == nullptr) return lines;
  QStringList seen;
  for (const Entry& entry : found->entries) {
    if (seen.contains(entry.key, Qt::CaseInsensitive)) continue;
    seen.append(entry.key);
    if (!entry.value.isEmpty()) lines.append(entry.key + '=' + entry.value);
  }
  return lines;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& default_value) const {
  if (const Section* found = FindSection(section)) {
    for (const Entry& entry : found->entries) {
      if (SameName(entry.key, key)) return entry.value;
    }
  }
  return default_value;
}
