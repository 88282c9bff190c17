#include "workbook/biff5_writer.h"

#include <QtEndian>
#include <bit>
#include <cmath>

#include "platform/cp1251.h"
#include "platform/exceptions.h"
#include "workbook/biff_format.h"

namespace workbook {
namespace {

constexpr quint16 kCp1251 = 1251;
constexpr quint8 kCyrillicCharset = 204;
// Fonts 0 to 3 are expected by Excel (index 4 is never used); XFs 0 to 14
// are the style formats and 15 the default cell format.
constexpr int kFontCount = 4;
constexpr int kStyleXfCount = 15;
constexpr quint16 kCellXf = 15;

constexpr qsizetype kMaxText = 255;

[[noreturn]] void Refuse(const QString& message) { throw Exception(message.toStdString()); }

QString CellName(int row, int col) { return QString("строка %1, столбец %2").arg(row + 1).arg(col + 1); }

// One record appended straight to the stream: its header first, its length
// filled in when the record is done, so that no record needs a buffer of its
// own.
class Record {
 public:
  Record(std::string& stream, quint16 id) : stream_(stream), start_(stream.size()) {
    U16(id);
    U16(0);
  }
  ~Record() {
    qToLittleEndian(static_cast<quint16>(stream_.size() - start_ - 4), stream_.data() + start_ + 2);
  }
  Record(const Record&) = delete;
  Record& operator=(const Record&) = delete;

  Record& U8(quint8 value) {
    stream_.push_back(static_cast<char>(value));
    return *this;
  }
  Record& U16(quint16 value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    stream_.append(bytes, 2);
    return *this;
  }
  Record& U32(quint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    stream_.append(bytes, 4);
    return *this;
  }
  Record& F64(double value) {
    char bytes[8];
    qToLittleEndian(std::bit_cast<quint64>(value), bytes);
    stream_.append(bytes, 8);
    return *this;
  }
  Record& Bytes(const std::string& bytes) {
    stream_.append(bytes);
    return *this;
  }

 private:
  std::string& stream_;
  std::size_t start_;
};

void AppendBof(std::string& stream, quint16 substream) {
  // Build and year of Excel 5.0's own files.
  Record(stream, kBof).U16(kBiff5).U16(substream).U16(0x096C).U16(0x07C9);
}

void AppendXf(std::string& stream, quint16 type_and_parent, quint8 used_attributes) {
  Record(stream, kXf)
      .U16(0)                // font
      .U16(0)                // number format "General"
      .U16(type_and_parent)  // locked; style or cell; parent
      .U8(0x20)              // aligned to the bottom
      .U8(used_attributes)   // orientation and attribute flags
      .U32(0x000020C0)       // automatic colours, no fill, no bottom line
      .U32(0);               // no other lines
}

void AppendGlobals(std::string& stream, const std::string& sheet_name, std::size_t& bound_sheet_offset_at) {
  AppendBof(stream, kGlobalsSubstream);
  Record(stream, kCodePage).U16(kCp1251);
  Record(stream, kWindow1).U16(0).U16(0).U16(0x3A5C).U16(0x2328).U16(0x0038).U16(0).U16(0).U16(1).U16(0x0258);
  Record(stream, kDateMode).U16(0);
  for (int i = 0; i < kFontCount; ++i) {
    Record(stream, kFont)
        .U16(200)     // 10 points
        .U16(0)       // plain
        .U16(0x7FFF)  // automatic colour
        .U16(400)     // normal weight
        .U16(0)       // no super- or subscript
        .U8(0)        // not underlined
        .U8(0)        // family
        .U8(kCyrillicCharset)
        .U8(0)
        .U8(5)
        .Bytes("Arial");
  }
  for (int i = 0; i < kStyleXfCount; ++i) AppendXf(stream, 0xFFF5, 0xF4);
  AppendXf(stream, 0x0001, 0x00);
  Record(stream, kStyle).U16(0x8000).U8(0).U8(0xFF);  // the built-in style "Normal"
  bound_sheet_offset_at = stream.size() + 4;
  Record(stream, kBoundSheet)
      .U32(0)  // the sheet's offset, filled in once known
      .U8(0)   // visible
      .U8(0)   // worksheet
      .U8(static_cast<quint8>(sheet_name.size()))
      .Bytes(sheet_name);
  Record(stream, kEof);
}

// Hands the buffer on when it holds this much.
constexpr std::size_t kPieceSize = 1 << 16;

}  // namespace

Biff5Writer::Biff5Writer(int rows, int cols, const QString& sheet_name, Output output)
    : rows_(rows), cols_(cols), output_(std::move(output)) {
  if (rows < 1 || rows > kMaxRows || cols < 1 || cols > kMaxCols) {
    Refuse(
        QString("Лист размером %1 x %2 не может быть записан в книгу Excel 5.0: допустимо от 1 до %3 строк и "
                "от 1 до %4 столбцов")
            .arg(rows)
            .arg(cols)
            .arg(kMaxRows)
            .arg(kMaxCols));
  }
  const std::string name = platform::Utf8ToCp1251(sheet_name.toStdString());
  buffer_.reserve(kPieceSize + 1024);
  std::size_t bound_sheet_offset_at = 0;
  AppendGlobals(buffer_, name, bound_sheet_offset_at);
  qToLittleEndian(static_cast<quint32>(buffer_.size()), buffer_.data() + bound_sheet_offset_at);
  AppendBof(buffer_, kWorksheetSubstream);
  Record(buffer_, kDimensions)
      .U16(0)
      .U16(static_cast<quint16>(rows))
      .U16(0)
      .U16(static_cast<quint16>(cols))
      .U16(0);
}

void Biff5Writer::CheckCell(int row, int col) const {
  if (row < 0 || row >= rows_ || col < 0 || col >= cols_) {
    Refuse(QString("Ячейка (%1) лежит вне листа").arg(CellName(row, col)));
  }
}

void Biff5Writer::HandOnWhenFull() {
  if (buffer_.size() < kPieceSize) return;
  output_(QByteArrayView(buffer_.data(), static_cast<qsizetype>(buffer_.size())));
  buffer_.clear();
}

void Biff5Writer::Number(int row, int col, double value) {
  CheckCell(row, col);
  if (!std::isfinite(value)) {
    Refuse(QString("Значение в ячейке (%1) не является конечным числом и не может быть записано в книгу")
               .arg(CellName(row, col)));
  }
  Record(buffer_, kNumber)
      .U16(static_cast<quint16>(row))
      .U16(static_cast<quint16>(col))
      .U16(kCellXf)
      .F64(value);
  HandOnWhenFull();
}

void Biff5Writer::Text(int row, int col, const QString& text) {
  CheckCell(row, col);
  if (text.size() > kMaxText) {
    Refuse(QString("Текст в ячейке (%1) длиннее %2 символов и не может быть записан в книгу Excel 5.0")
               .arg(CellName(row, col))
               .arg(kMaxText));
  }
  std::string bytes;
  try {
    bytes = platform::Utf8ToCp1251(text.toStdString());
  } catch (const EConvertError& error) {
    Refuse(QString("Текст в ячейке (%1) не может быть записан в книгу: %2")
               .arg(CellName(row, col), QString::fromStdString(error.Message())));
  }
  Record(buffer_, kLabel)
      .U16(static_cast<quint16>(row))
      .U16(static_cast<quint16>(col))
      .U16(kCellXf)
      .U16(static_cast<quint16>(bytes.size()))
      .Bytes(bytes);
  HandOnWhenFull();
}

void Biff5Writer::Finish() {
  // Grid lines, headings and zeros shown; the sheet selected and active.
  Record(buffer_, kWindow2).U16(0x06B6).U16(0).U16(0).U32(0);
  Record(buffer_, kEof);
  output_(QByteArrayView(buffer_.data(), static_cast<qsizetype>(buffer_.size())));
  buffer_.clear();
}

}  // namespace workbook
