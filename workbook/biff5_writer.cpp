#include "workbook/biff5_writer.h"

#include <QtEndian>
#include <cmath>
#include <cstring>

#include "platform/cp1251.h"
#include "platform/exceptions.h"

namespace workbook {
namespace {

constexpr quint16 kBof = 0x0809;
constexpr quint16 kEof = 0x000A;
constexpr quint16 kCodePage = 0x0042;
constexpr quint16 kWindow1 = 0x003D;
constexpr quint16 kDateMode = 0x0022;
constexpr quint16 kFont = 0x0031;
constexpr quint16 kXf = 0x00E0;
constexpr quint16 kStyle = 0x0293;
constexpr quint16 kBoundSheet = 0x0085;
constexpr quint16 kDimensions = 0x0200;
constexpr quint16 kNumber = 0x0203;
constexpr quint16 kLabel = 0x0204;
constexpr quint16 kWindow2 = 0x023E;

constexpr quint16 kBiff5 = 0x0500;
constexpr quint16 kGlobalsSubstream = 0x0005;
constexpr quint16 kWorksheetSubstream = 0x0010;
constexpr quint16 kCp1251 = 1251;
constexpr quint8 kCyrillicCharset = 204;
// Fonts 0 to 3 are expected by Excel (index 4 is never used); XFs 0 to 14
// are the style formats and 15 the default cell format.
constexpr int kFontCount = 4;
constexpr int kStyleXfCount = 15;
constexpr quint16 kCellXf = 15;

constexpr int kMaxRows = 16384;
constexpr int kMaxCols = 256;
constexpr qsizetype kMaxText = 255;

[[noreturn]] void Refuse(const QString& message) { throw Exception(message.toStdString()); }

QString CellName(int row, int col) { return QString("строка %1, столбец %2").arg(row + 1).arg(col + 1); }

class Record {
 public:
  explicit Record(quint16 id) : id_(id) {}

  Record& U8(quint8 value) {
    body_.append(static_cast<char>(value));
    return *this;
  }
  Record& U16(quint16 value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    body_.append(bytes, 2);
    return *this;
  }
  Record& U32(quint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    body_.append(bytes, 4);
    return *this;
  }
  Record& F64(double value) {
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    char bytes[8];
    qToLittleEndian(bits, bytes);
    body_.append(bytes, 8);
    return *this;
  }
  Record& Bytes(const std::string& bytes) {
    body_.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return *this;
  }

  void AppendTo(QByteArray& stream) const {
    char header[4];
    qToLittleEndian(id_, header);
    qToLittleEndian(static_cast<quint16>(body_.size()), header + 2);
    stream.append(header, 4);
    stream.append(body_);
  }

 private:
  quint16 id_;
  QByteArray body_;
};

void AppendBof(QByteArray& stream, quint16 substream) {
  // Build and year of Excel 5.0's own files.
  Record(kBof).U16(kBiff5).U16(substream).U16(0x096C).U16(0x07C9).AppendTo(stream);
}

void AppendXf(QByteArray& stream, quint16 type_and_parent, quint8 used_attributes) {
  Record(kXf)
      .U16(0)                // font
      .U16(0)                // number format "General"
      .U16(type_and_parent)  // locked; style or cell; parent
      .U8(0x20)              // aligned to the bottom
      .U8(used_attributes)   // orientation and attribute flags
      .U32(0x000020C0)       // automatic colours, no fill, no bottom line
      .U32(0)                // no other lines
      .AppendTo(stream);
}

void AppendGlobals(QByteArray& stream, const std::string& sheet_name, qsizetype& bound_sheet_offset_at) {
  AppendBof(stream, kGlobalsSubstream);
  Record(kCodePage).U16(kCp1251).AppendTo(stream);
  Record(kWindow1)
      .U16(0)
      .U16(0)
      .U16(0x3A5C)
      .U16(0x2328)
      .U16(0x0038)
      .U16(0)
      .U16(0)
      .U16(1)
      .U16(0x0258)
      .AppendTo(stream);
  Record(kDateMode).U16(0).AppendTo(stream);
  for (int i = 0; i < kFontCount; ++i) {
    Record(kFont)
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
        .Bytes("Arial")
        .AppendTo(stream);
  }
  for (int i = 0; i < kStyleXfCount; ++i) AppendXf(stream, 0xFFF5, 0xF4);
  AppendXf(stream, 0x0001, 0x00);
  Record(kStyle).U16(0x8000).U8(0).U8(0xFF).AppendTo(stream);  // the built-in style "Normal"
  bound_sheet_offset_at = stream.size() + 4;
  Record(kBoundSheet)
      .U32(0)  // the sheet's offset, filled in once known
      .U8(0)   // visible
      .U8(0)   // worksheet
      .U8(static_cast<quint8>(sheet_name.size()))
      .Bytes(sheet_name)
      .AppendTo(stream);
  Record(kEof).AppendTo(stream);
}

void AppendCell(QByteArray& stream, const XlsCell& cell) {
  const auto row = static_cast<quint16>(cell.row);
  const auto col = static_cast<quint16>(cell.col);
  if (const double* number = std::get_if<double>(&cell.value)) {
    if (!std::isfinite(*number)) {
      Refuse(QString("Значение в ячейке (%1) не является конечным числом и не может быть записано в книгу")
                 .arg(CellName(cell.row, cell.col)));
    }
    Record(kNumber).U16(row).U16(col).U16(kCellXf).F64(*number).AppendTo(stream);
    return;
  }
  const QString& text = std::get<QString>(cell.value);
  if (text.size() > kMaxText) {
    Refuse(QString("Текст в ячейке (%1) длиннее %2 символов и не может быть записан в книгу Excel 5.0")
               .arg(CellName(cell.row, cell.col))
               .arg(kMaxText));
  }
  std::string bytes;
  try {
    bytes = platform::Utf8ToCp1251(text.toStdString());
  } catch (const EConvertError& error) {
    Refuse(QString("Текст в ячейке (%1) не может быть записан в книгу: %2")
               .arg(CellName(cell.row, cell.col), QString::fromStdString(error.Message())));
  }
  Record(kLabel)
      .U16(row)
      .U16(col)
      .U16(kCellXf)
      .U16(static_cast<quint16>(bytes.size()))
      .Bytes(bytes)
      .AppendTo(stream);
}

void AppendWorksheet(QByteArray& stream, const XlsGrid& grid) {
  AppendBof(stream, kWorksheetSubstream);
  Record(kDimensions)
      .U16(0)
      .U16(static_cast<quint16>(grid.rows))
      .U16(0)
      .U16(static_cast<quint16>(grid.cols))
      .U16(0)
      .AppendTo(stream);
  for (const XlsCell& cell : grid.cells) {
    if (cell.row < 0 || cell.row >= grid.rows || cell.col < 0 || cell.col >= grid.cols) {
      Refuse(QString("Ячейка (%1) лежит вне листа").arg(CellName(cell.row, cell.col)));
    }
    AppendCell(stream, cell);
  }
  // Grid lines, headings and zeros shown; the sheet selected and active.
  Record(kWindow2).U16(0x06B6).U16(0).U16(0).U32(0).AppendTo(stream);
  Record(kEof).AppendTo(stream);
}

}  // namespace

QByteArray Biff5Workbook(const XlsGrid& grid, const QString& sheet_name) {
  if (grid.rows < 1 || grid.rows > kMaxRows || grid.cols < 1 || grid.cols > kMaxCols) {
    Refuse(
        QString("Лист размером %1 x %2 не может быть записан в книгу Excel 5.0: допустимо от 1 до %3 строк и "
                "от 1 до %4 столбцов")
            .arg(grid.rows)
            .arg(grid.cols)
            .arg(kMaxRows)
            .arg(kMaxCols));
  }
  const std::string name = platform::Utf8ToCp1251(sheet_name.toStdString());
  QByteArray stream;
  stream.reserve(512 + static_cast<qsizetype>(grid.cells.size()) * 18);
  qsizetype bound_sheet_offset_at = 0;
  AppendGlobals(stream, name, bound_sheet_offset_at);
  qToLittleEndian(static_cast<quint32>(stream.size()), stream.data() + bound_sheet_offset_at);
  AppendWorksheet(stream, grid);
  return stream;
}

}  // namespace workbook
