#include "shell/model/model_file.h"

#include <QFile>
#include <QTextBoundaryFinder>
#include <QtEndian>
#include <cstring>

#include "platform/cp1251.h"
#include "platform/exceptions.h"
#include "platform/quoted.h"
#include "platform/whole_file.h"

namespace {

// A text as a message names it: a long one is cut so that the box stays
// readable, before the character that would not fit whole, since half of a
// surrogate pair or a letter without its accent would show as something else.
std::string Shown(const QString& text) {
  constexpr int kShown = 60;
  if (text.size() <= kShown) return platform::Quoted(text.toStdString());
  QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text);
  characters.setPosition(kShown);
  if (!characters.isAtBoundary()) characters.toPreviousBoundary();
  return platform::Quoted((text.left(characters.position()) + "...").toStdString());
}

}  // namespace

void ModelFileWriter::WriteInt32(qint32 value) {
  const qint32 little = qToLittleEndian(value);
  bytes_.append(reinterpret_cast<const char*>(&little), sizeof little);
}

void ModelFileWriter::WriteString(const QString& text) {
  std::string encoded;
  try {
    encoded = platform::Utf8ToCp1251(text.toStdString());
  } catch (const EConvertError& error) {
    throw EConvertError("Текст " + Shown(text) + " не может быть сохранен: " + error.Message());
  }
  if (encoded.size() > kMaxFileStringBytes) {
    throw EConvertError("Текст " + Shown(text) + " длиннее 256 байт и не может быть сохранен");
  }
  WriteInt32(static_cast<qint32>(encoded.size()));
  bytes_.append(encoded.data(), static_cast<qsizetype>(encoded.size()));
}

void ModelFileWriter::WriteList(const QStringList& list) {
  if (list.size() > kMaxListEntries) {
    throw EConvertError(QString("Список из %1 строк длиннее %2 строк и не может быть сохранен")
                            .arg(list.size())
                            .arg(kMaxListEntries)
                            .toStdString());
  }
  WriteInt32(static_cast<qint32>(list.size()));
  for (const QString& text : list) WriteString(text);
}

void ModelFileWriter::WriteBlock(const QByteArray& block) {
  WriteInt32(static_cast<qint32>(block.size()));
  bytes_.append(block);
}

void ModelFileWriter::WriteDateTime(double value) {
  quint64 bits;
  std::memcpy(&bits, &value, sizeof bits);
  bits = qToLittleEndian(bits);
  bytes_.append(reinterpret_cast<const char*>(&bits), sizeof bits);
}

ModelFileReader::ModelFileReader(const QString& path, const std::string& openError, qint64 maxBytes,
                                 QString fault)
    : file_(QFile::encodeName(path).toStdString(), openError, static_cast<std::uint64_t>(maxBytes)),
      fault_(std::move(fault)) {}

void ModelFileReader::Take(void* into, qint64 count) {
  if (!file_.Read(into, static_cast<std::size_t>(count))) Fail("файл короче, чем указано в нем");
}

void ModelFileReader::Fail(const QString& detail) const { throw EReadError((fault_ + detail).toStdString()); }

qint32 ModelFileReader::ReadInt32() {
  char bytes[sizeof(qint32)];
  Take(bytes, sizeof bytes);
  return qFromLittleEndian<qint32>(bytes);
}

QString ModelFileReader::ReadString() {
  const qint32 size = ReadInt32();
  if (size < 0 || size > kMaxFileStringBytes) {
    Fail(QString("длина строки %1 байт вне допустимых пределов от 0 до 256").arg(size));
  }
  char data[kMaxFileStringBytes];
  Take(data, size);
  try {
    return QString::fromStdString(
        platform::Cp1251ToUtf8(std::string_view(data, static_cast<std::size_t>(size))));
  } catch (const EConvertError& error) {
    Fail(QString::fromStdString(error.Message()));
  }
}

QStringList ModelFileReader::ReadList() {
  const qint32 count = ReadInt32();
  if (count < 0) Fail(QString("отрицательное число строк в списке (%1)").arg(count));
  if (count > kMaxListEntries) {
    Fail(QString("число строк в списке %1 больше наибольшего (%2)").arg(count).arg(kMaxListEntries));
  }
  QStringList list;
  for (qint32 i = 0; i < count; ++i) list.append(ReadString());
  return list;
}

QByteArray ModelFileReader::ReadBlock() {
  const qint32 size = ReadInt32();
  if (size < 0) Fail(QString("отрицательный размер блока параметров (%1)").arg(size));
  // Checked before the block's memory is taken.
  if (static_cast<quint64>(size) > file_.Remaining()) Fail("файл короче, чем указано в нем");
  QByteArray block(size, Qt::Uninitialized);
  Take(block.data(), size);
  return block;
}

double ModelFileReader::ReadDateTime() {
  char bytes[sizeof(quint64)];
  Take(bytes, sizeof bytes);
  const quint64 bits = qFromLittleEndian<quint64>(bytes);
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

void ModelFileReader::ExpectEnd() const {
  if (file_.Remaining() != 0) {
    Fail(QString("после последнего поля остались лишние байты (%1)").arg(file_.Remaining()));
  }
}

std::string ReadWholeFile(const QString& path, const std::string& openError, qint64 maxBytes) {
  return platform::ReadWholeFile(QFile::encodeName(path).toStdString(), openError,
                                 static_cast<std::uint64_t>(maxBytes));
}

void WriteWholeFile(const QString& path, const QByteArray& bytes, const std::string& createError) {
  platform::WriteWholeFile(QFile::encodeName(path).toStdString(),
                           std::string_view(bytes.constData(), bytes.size()), createError);
}
