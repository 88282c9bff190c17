// The binary layout of the project and calculation files: little-endian
// signed 32-bit counts, strings of at most 256 code page 1251 bytes, string
// lists and 8-byte date-times, without header or version. Readers refuse
// whatever their counts do not account for; writers refuse what the readers
// would refuse.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <limits>
#include <string>

#include "platform/whole_file.h"

// The longest string, in bytes, that the files hold.
constexpr int kMaxFileStringBytes = 256;
// The most strings a list of the files holds: far more than any project
// lists, and few enough that the largest file of each kind stays small
// enough to be read at once.
constexpr qint32 kMaxListEntries = 65536;
// The largest parameter block: the calculation file gives its size as a
// signed 32-bit count.
constexpr qint64 kMaxParameterBlockBytes = std::numeric_limits<qint32>::max();

// The fields at their largest, from which the largest file of each kind
// follows.
constexpr qint64 kMaxStringFieldBytes = 4 + kMaxFileStringBytes;
constexpr qint64 kMaxListFieldBytes = 4 + kMaxListEntries * kMaxStringFieldBytes;

// Builds a file's bytes in memory, so that a text that cannot be stored is
// refused before anything is written.
class ModelFileWriter {
 public:
  void WriteInt32(qint32 value);
  // EConvertError for a text over 256 bytes or with a character code page
  // 1251 cannot hold.
  void WriteString(const QString& text);
  // EConvertError for a list of more than kMaxListEntries strings.
  void WriteList(const QStringList& list);
  void WriteBlock(const QByteArray& block);  // its size, then its bytes
  void WriteDateTime(double value);

  const QByteArray& Bytes() const { return bytes_; }

 private:
  QByteArray bytes_;
};

// Reads a file field by field straight from the file: a field that cannot
// be is refused before the bytes it announces are read, so a file that is
// not one of ours is refused after its first few bytes, whatever its size.
// The file is refused from its size alone when it is longer than `maxBytes`,
// and with the given message when it cannot be opened or read
// (platform::SequentialReader). Every fault of its content is an EReadError
// whose message begins with the file's own fault text, which names the file.
class ModelFileReader {
 public:
  ModelFileReader(const QString& path, const std::string& openError, qint64 maxBytes, QString fault);

  qint32 ReadInt32();
  QString ReadString();
  QStringList ReadList();
  QByteArray ReadBlock();
  double ReadDateTime();
  // Refuses bytes after the last field.
  void ExpectEnd() const;
  // Refuses the file for a fault that only its reader can see.
  [[noreturn]] void Fail(const QString& detail) const;

 private:
  void Take(void* into, qint64 count);

  platform::SequentialReader file_;
  QString fault_;
};

// The whole content of a regular file of at most `maxBytes` bytes, which is
// refused from its size before it is read; EFOpenError with the given
// message when it cannot be opened or read (platform::ReadWholeFile).
std::string ReadWholeFile(const QString& path, const std::string& openError, qint64 maxBytes);

// Writes a temporary file in the same folder and renames it over the old one,
// so that a failed save leaves the previous file intact; EFCreateError with
// the given message when that fails.
void WriteWholeFile(const QString& path, const QByteArray& bytes, const std::string& createError);
