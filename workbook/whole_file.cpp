#include "workbook/whole_file.h"

#include <QFile>
#include <QSaveFile>

#include "platform/exceptions.h"

namespace workbook {

QByteArray ReadWholeFile(const QString& path, const std::string& open_error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw EFOpenError(open_error);
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) throw EFOpenError(open_error);
  return bytes;
}

void WriteWholeFile(const QString& path, const QByteArray& bytes, const std::string& create_error) {
  QSaveFile file(path);
  // Unbuffered, so that a failing write shows here and not only in commit.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    throw EFCreateError(create_error);
  }
  if (!file.commit()) throw EFCreateError(create_error);
}

}  // namespace workbook
