#include "ferrant/sds_format.h"

#include <QtEndian>
#include <array>
#include <bit>
#include <cmath>

#include "platform/cp1251.h"
#include "platform/exceptions.h"
#include "platform/quoted.h"

namespace ferrant {
namespace {

constexpr char kSignature[8] = {'T', 'S', 'D', 'S', '\r', '\n', '\x1A', '\n'};
constexpr std::uint32_t kVersion = 1;
constexpr qsizetype kHeaderSize = 24;  // signature, version, rows, columns, description length
constexpr qsizetype kCrcSize = 4;

template <typename T>
void Append(QByteArray& bytes, T value) {
  char buffer[sizeof(T)];
  qToLittleEndian(value, buffer);
  bytes.append(buffer, sizeof(T));
}

template <typename T>
T Take(const QByteArray& bytes, qsizetype at) {
  return qFromLittleEndian<T>(bytes.constData() + at);
}

class Refusal {
 public:
  explicit Refusal(const QString& path)
      : name_(QString::fromStdString(platform::Quoted(path.toStdString()))) {}

  // The file as the messages name it: its path in quotation marks.
  const QString& Name() const { return name_; }

  [[noreturn]] void Corrupt(const QString& what) const {
    Throw(QString("Файл набора данных %1 поврежден: %2").arg(name_, what));
  }
  [[noreturn]] void Throw(const QString& message) const { throw EReadError(message.toStdString()); }

 private:
  QString name_;
};

QString CellName(qsizetype index, std::int32_t cols) {
  return QString("строка %1, столбец %2").arg(index / cols + 1).arg(index % cols + 1);
}

}  // namespace

std::uint32_t Crc32(const QByteArray& bytes) {
  static const std::array<std::uint32_t, 256> kTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
    return table;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (const char ch : bytes) crc = kTable[(crc ^ static_cast<std::uint8_t>(ch)) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

QByteArray EncodeDataSet(const DataSet& data_set) {
  if (data_set.rows < 1 || data_set.rows > kMaxRows || data_set.cols < 1 || data_set.cols > kMaxCols) {
    throw Exception(
        QString("Набор данных размером %1 x %2 не может быть записан: допустимо от 1 до %3 строк и "
                "от 1 до %4 столбцов")
            .arg(data_set.rows)
            .arg(data_set.cols)
            .arg(kMaxRows)
            .arg(kMaxCols)
            .toStdString());
  }
  const auto count = static_cast<std::size_t>(data_set.rows) * static_cast<std::size_t>(data_set.cols);
  if (data_set.values.size() != count)
    throw Exception("Число значений не совпадает с размером набора данных");
  std::string description;
  try {
    description = platform::Utf8ToCp1251(data_set.description.toStdString());
  } catch (const EConvertError& error) {
    throw Exception("Описание данных не может быть записано в файл набора данных: " + error.Message());
  }
  if (description.size() > static_cast<std::size_t>(kMaxDescription)) {
    throw Exception("Описание данных длиннее " + std::to_string(kMaxDescription) +
                    " символов и не может быть записано в файл набора данных");
  }

  QByteArray bytes;
  bytes.reserve(kHeaderSize + static_cast<qsizetype>(description.size() + count * 8) + kCrcSize);
  bytes.append(kSignature, sizeof kSignature);
  Append<std::uint32_t>(bytes, kVersion);
  Append<std::int32_t>(bytes, data_set.rows);
  Append<std::int32_t>(bytes, data_set.cols);
  Append<std::int32_t>(bytes, static_cast<std::int32_t>(description.size()));
  bytes.append(description.data(), static_cast<qsizetype>(description.size()));
  for (std::size_t i = 0; i < count; ++i) {
    const double value = data_set.values[i];
    if (!std::isfinite(value)) {
      throw Exception(QString("Значение (%1) не является конечным числом и не может быть записано")
                          .arg(CellName(static_cast<qsizetype>(i), data_set.cols))
                          .toStdString());
    }
    Append<std::uint64_t>(bytes, std::bit_cast<std::uint64_t>(value));
  }
  Append<std::uint32_t>(bytes, Crc32(bytes));
  return bytes;
}

DataSet DecodeDataSet(const QByteArray& bytes, const QString& path) {
  const Refusal refusal(path);
  const QString truncated = QString("Файл набора данных %1 обрезан").arg(refusal.Name());
  const QByteArray signature = QByteArray::fromRawData(kSignature, sizeof kSignature);
  if (bytes.size() < signature.size() && signature.startsWith(bytes)) refusal.Throw(truncated);
  if (!bytes.startsWith(signature)) {
    refusal.Throw(QString("Файл %1 не является файлом набора данных").arg(refusal.Name()));
  }
  if (bytes.size() < kHeaderSize) refusal.Throw(truncated);
  const auto version = Take<std::uint32_t>(bytes, 8);
  if (version != kVersion) {
    refusal.Throw(QString("Файл набора данных %1 записан в неизвестной версии формата (%2)")
                      .arg(refusal.Name(), QString::number(version)));
  }
  DataSet data_set;
  data_set.rows = Take<std::int32_t>(bytes, 12);
  data_set.cols = Take<std::int32_t>(bytes, 16);
  const auto description_size = Take<std::int32_t>(bytes, 20);
  if (data_set.rows < 1 || data_set.rows > kMaxRows || data_set.cols < 1 || data_set.cols > kMaxCols) {
    refusal.Corrupt(QString("недопустимый размер %1 x %2").arg(data_set.rows).arg(data_set.cols));
  }
  if (description_size < 0 || description_size > kMaxDescription) {
    refusal.Corrupt(QString("недопустимая длина описания %1").arg(description_size));
  }
  const qsizetype count = qsizetype{data_set.rows} * data_set.cols;
  const qsizetype expected = kHeaderSize + description_size + count * 8 + kCrcSize;
  if (bytes.size() < expected) refusal.Throw(truncated);
  if (bytes.size() > expected)
    refusal.Corrupt(QString("после данных лишние байты (%1)").arg(bytes.size() - expected));
  if (Take<std::uint32_t>(bytes, expected - kCrcSize) != Crc32(bytes.left(expected - kCrcSize))) {
    refusal.Corrupt("контрольная сумма не совпадает");
  }
  try {
    data_set.description = QString::fromStdString(
        platform::Cp1251ToUtf8(std::string_view(bytes.constData() + kHeaderSize, description_size)));
  } catch (const EConvertError& error) {
    refusal.Corrupt(QString::fromStdString(error.Message()));
  }
  data_set.values.reserve(static_cast<std::size_t>(count));
  const qsizetype values_at = kHeaderSize + description_size;
  for (qsizetype i = 0; i < count; ++i) {
    const auto value = std::bit_cast<double>(Take<std::uint64_t>(bytes, values_at + i * 8));
    if (!std::isfinite(value)) {
      refusal.Corrupt(QString("значение (%1) не является конечным числом").arg(CellName(i, data_set.cols)));
    }
    data_set.values.push_back(value);
  }
  return data_set;
}

}  // namespace ferrant
