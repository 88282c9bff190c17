// The program's INI file, read the way the Windows profile functions read it:
// an entry is split at its first "=", key and value lose their surrounding
// blanks, a key is found without regard to letter case, and a line that
// begins with ";" or "#" is a comment.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class IniFile {
 public:
  // Reads the whole file now; a missing or unreadable file reads as empty.
  // A folder, pipe or device in its place is refused with EFOpenError, a
  // file of more than a megabyte with EReadError, both naming the file.
  explicit IniFile(const QString& path);

  // The section's entries as "key=value" lines in file order, one per key
  // (the first one counts). Entries with an empty value are left out, as the
  // class library's section listing leaves them out. A missing section gives
  // an empty list.
  QStringList ReadSectionValues(const QString& section) const;

  // The value of the section's key (the first entry of that key), or
  // `default_value` when the section or the key is missing.
  QString ReadString(const QString& section, const QString& key, const QString& default_value) const;

 private:
  struct Entry {
    QString key;
    QString value;
  };
  struct Section {
    QString name;
    QList<Entry> entries;
  };

  const Section* FindSection(const QString& name) const;

  QList<Section> sections_;
};
