#include "workbook/biff_reader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <iterator>
#include <optional>
#include <tuple>

#include "platform/exceptions.h"
#include "workbook/biff_format.h"
#include "workbook/biff_record.h"

namespace workbook {
namespace {

constexpr std::uint8_t kWorksheetType = 0;
// Texts of a BIFF5 file without CODEPAGE are taken in the system's own.
constexpr std::uint16_t kDefaultCodePage = 1251;

// One value per cell at most; more is not a worksheet but a flood.
constexpr std::size_t kMaxCells = std::size_t{kMaxRows} * kMaxCols;

[[noreturn]] void Refuse(const QString& why) { throw EReadError(why.toStdString()); }

[[noreturn]] void TooLarge() {
  Refuse(QString("лист больше %1 строк или %2 столбцов").arg(kMaxRows).arg(kMaxCols));
}

// The code pages a CODEPAGE record may name, by the names the converter knows
// them under. Any other number is refused, and so is Johab (1361), which the
// converter does not know.
struct NamedCodePage {
  std::uint16_t number;
  const char* name;
};
constexpr NamedCodePage kCodePages[] = {
    {367, "US-ASCII"},
    {437, "IBM437"},
    {720, "ibm-720"},
    {737, "IBM737"},
    {775, "IBM775"},
    {850, "IBM850"},
    {852, "IBM852"},
    {855, "IBM855"},
    {857, "IBM857"},
    {858, "IBM00858"},
    {860, "IBM860"},
    {861, "IBM861"},
    {862, "IBM862"},
    {863, "IBM863"},
    {864, "IBM864"},
    {865, "IBM865"},
    {866, "IBM866"},
    {869, "IBM869"},
    {874, "windows-874"},
    {932, "windows-31j"},
    {936, "GBK"},
    {949, "windows-949"},
    {950, "windows-950"},
    {1250, "windows-1250"},
    {1251, "windows-1251"},
    {1252, "windows-1252"},
    {1253, "windows-1253"},
    {1254, "windows-1254"},
    {1255, "windows-1255"},
    {1256, "windows-1256"},
    {1257, "windows-1257"},
    {1258, "windows-1258"},
    {10000, "macintosh"},
    {32768, "macintosh"},
    {32769, "windows-1252"},
    // UTF-16 names the texts of an Excel 97 file, which are Unicode whatever
    // the record says. An Excel 5.0/95 file naming it still holds 8-bit
    // texts (ssconvert writes such files); other programs read them as
    // Windows Latin 1.
    {1200, "windows-1252"},
};

QStringDecoder DecoderFor(std::uint16_t code_page) {
  const auto* named =
      std::find_if(std::begin(kCodePages), std::end(kCodePages),
                   [code_page](const NamedCodePage& page) { return page.number == code_page; });
  QStringDecoder decoder;
  if (named != std::end(kCodePages)) decoder = QStringDecoder(named->name, QStringConverter::Flag::Stateless);
  if (!decoder.isValid())
    Refuse(QString("кодовая страница текстов книги (%1) не поддерживается").arg(code_page));
  return decoder;
}

QString ErrorText(std::uint8_t code) {
  switch (code) {
    case 0x00:
      return "#NULL!";
    case 0x07:
      return "#DIV/0!";
    case 0x0F:
      return "#VALUE!";
    case 0x17:
      return "#REF!";
    case 0x1D:
      return "#NAME?";
    case 0x24:
      return "#NUM!";
    case 0x2A:
      return "#N/A";
  }
  BiffDamaged();
}

// A 30-bit number: bit 0 asks for a division by 100, bit 1 marks a signed
// integer; otherwise the bits are the top of a double.
double RkValue(std::uint32_t rk) {
  const double value = (rk & 0x02) != 0 ? static_cast<double>(static_cast<std::int32_t>(rk) >> 2)
                                        : std::bit_cast<double>(std::uint64_t{rk & 0xFFFFFFFCu} << 32);
  return (rk & 0x01) != 0 ? value / 100 : value;
}

struct Globals {
  bool biff8 = false;
  std::uint16_t code_page = kDefaultCodePage;
  QStringDecoder decoder = DecoderFor(kDefaultCodePage);
  std::vector<QString> shared_strings;
  QStringList worksheets;
  std::uint32_t first_worksheet_offset = 0;
};

// BOF: the BIFF version and the kind of substream it opens.
std::uint16_t BofVersion(const BiffRecord& record, std::uint16_t substream) {
  if (record.id != kBof) BiffDamaged();
  const std::array pieces{record.body};
  BiffFields fields(pieces);
  const std::uint16_t version = fields.U16();
  if (fields.U16() != substream) BiffDamaged();
  return version;
}

void ReadSharedStrings(Globals& globals, const BiffRecord& record, BiffCursor& cursor) {
  std::vector<QByteArrayView> pieces{record.body};
  cursor.TakeContinues(pieces);
  BiffFields fields(pieces);
  fields.U32();  // uses of the strings in the workbook
  const std::uint32_t count = fields.U32();
  // Every string takes at least three bytes, so a false count cannot make
  // the list reserve more than the record holds.
  qsizetype bytes = 0;
  for (const QByteArrayView& piece : pieces) bytes += piece.size();
  globals.shared_strings.reserve(std::min<std::size_t>(count, static_cast<std::size_t>(bytes / 3)));
  for (std::uint32_t i = 0; i < count; ++i) globals.shared_strings.push_back(fields.Unicode(false));
}

Globals ReadGlobals(QByteArrayView stream) {
  Globals globals;
  BiffCursor cursor(stream, 0);
  const std::uint16_t version = BofVersion(cursor.Next(), kGlobalsSubstream);
  if (version != kBiff5 && version != kBiff8) Refuse("версия формата книги не поддерживается");
  globals.biff8 = version == kBiff8;
  for (;;) {
    const BiffRecord record = cursor.Next();
    const std::array pieces{record.body};
    BiffFields fields(pieces);
    switch (record.id) {
      case kEof:
        if (globals.worksheets.isEmpty()) Refuse("в книге нет ни одного листа");
        return globals;
      case kFilePass:
        Refuse("книга защищена паролем");
      case kCodePage: {
        const std::uint16_t code_page = fields.U16();
        if (!globals.biff8 && code_page != globals.code_page) {
          globals.decoder = DecoderFor(code_page);
          globals.code_page = code_page;
        }
        break;
      }
      case kBoundSheet: {
        const std::uint32_t offset = fields.U32();
        fields.U8();  // visibility
        const std::uint8_t type = fields.U8();
        const QString name = globals.biff8 ? fields.Unicode(true) : fields.Bytes(true, globals.decoder);
        if (type != kWorksheetType) break;
        if (globals.worksheets.isEmpty()) globals.first_worksheet_offset = offset;
        globals.worksheets.append(name);
        break;
      }
      case kSharedStrings:
        if (globals.biff8) ReadSharedStrings(globals, record, cursor);
        break;
    }
  }
}

class WorksheetReader {
 public:
  WorksheetReader(Globals& globals, CellSink& cells) : globals_(globals), cells_(cells) {}

  // The sheet's size.
  std::pair<int, int> Read(QByteArrayView stream) {
    BiffCursor cursor(stream, globals_.first_worksheet_offset);
    BofVersion(cursor.Next(), kWorksheetSubstream);
    // Charts embedded in the sheet come as substreams of their own, each
    // from its BOF to its EOF; only the sheet's own records are cells.
    int depth = 1;
    while (depth > 0) {
      const BiffRecord record = cursor.Next();
      if (record.id == kBof) {
        ++depth;
      } else if (record.id == kEof) {
        --depth;
      } else if (depth == 1) {
        Record(record, cursor);
      }
    }
    if (pending_text_) BiffDamaged();
    return {rows_, cols_};
  }

 private:
  void Record(const BiffRecord& record, BiffCursor& cursor) {
    const std::array pieces{record.body};
    BiffFields fields(pieces);
    switch (record.id) {
      case kDimensions:
        Dimensions(fields);
        break;
      case kNumber: {
        const auto [row, col] = Position(fields);
        Number(row, col, fields.F64());
        break;
      }
      case kRk: {
        const auto [row, col] = Position(fields);
        Number(row, col, RkValue(fields.U32()));
        break;
      }
      case kMulRk:
        MultipleCells(fields, record.body.size(), 6, [&](std::uint16_t row, std::uint16_t col) {
          fields.U16();  // format
          Number(row, col, RkValue(fields.U32()));
        });
        break;
      case kLabel:
      case kRString: {
        // A text too long for one record goes on in the CONTINUE records
        // after it (ssconvert writes any text over about 2 070 characters so).
        std::vector<QByteArrayView> continued{record.body};
        cursor.TakeContinues(continued);
        BiffFields text(continued);
        const auto [row, col] = Position(text);
        PutText(row, col, Text(text));
        break;
      }
      case kLabelSst: {
        const auto [row, col] = Position(fields);
        const std::uint32_t index = fields.U32();
        if (index >= globals_.shared_strings.size()) BiffDamaged();
        PutText(row, col, globals_.shared_strings[index]);
        break;
      }
      case kBlank: {
        const auto [row, col] = Position(fields);
        Place(row, col);
        break;
      }
      case kMulBlank:
        MultipleCells(fields, record.body.size(), 2, [&](std::uint16_t row, std::uint16_t col) {
          fields.U16();  // format
          Place(row, col);
        });
        break;
      case kBoolErr: {
        const auto [row, col] = Position(fields);
        const std::uint8_t value = fields.U8();
        if (fields.U8() != 0) {
          PutText(row, col, ErrorText(value));
        } else {
          Number(row, col, value != 0 ? 1.0 : 0.0);
        }
        break;
      }
      case kFormula:
        Formula(fields);
        break;
      case kString:
        if (pending_text_) {
          std::vector<QByteArrayView> continued{record.body};
          cursor.TakeContinues(continued);
          PutText(pending_text_->first, pending_text_->second, FormulaText(continued));
          pending_text_.reset();
        }
        break;
    }
  }

  std::pair<std::uint16_t, std::uint16_t> Position(BiffFields& fields) {
    const std::uint16_t row = fields.U16();
    const std::uint16_t col = fields.U16();
    fields.U16();  // format
    return {row, col};
  }

  QString Text(BiffFields& fields) {
    return globals_.biff8 ? fields.Unicode(false) : fields.Bytes(false, globals_.decoder);
  }

  // A formula's text result. ssconvert goes on with a long one in CONTINUE
  // records that lack the width byte: read as marked, such a text runs out
  // of bytes or leaves some over. Whichever reading fills the pieces exactly
  // holds; failing both, a marked reading that ends early still does.
  QString FormulaText(const std::vector<QByteArrayView>& pieces) {
    BiffFields marked(pieces);
    if (!globals_.biff8) return Text(marked);
    std::optional<QString> as_marked;
    try {
      as_marked = marked.Unicode(false);
      if (marked.AtEnd()) return *as_marked;
    } catch (const EReadError&) {
    }
    try {
      BiffFields unmarked(pieces);
      QString text = unmarked.UnicodeRunningOn(false);
      if (unmarked.AtEnd()) return text;
    } catch (const EReadError&) {
    }
    if (!as_marked) BiffDamaged();
    return *as_marked;
  }

  void Dimensions(BiffFields& fields) {
    std::uint32_t rows = 0;
    if (globals_.biff8) {
      fields.U32();
      rows = fields.U32();
    } else {
      fields.U16();
      rows = fields.U16();
    }
    fields.U16();
    const std::uint32_t cols = fields.U16();
    if (rows > kMaxRows || cols > kMaxCols) TooLarge();
    rows_ = std::max(rows_, static_cast<int>(rows));
    cols_ = std::max(cols_, static_cast<int>(cols));
  }

  // A row, a first column, one entry of `entry_size` bytes per cell, the last
  // column.
  template <typename EachCell>
  void MultipleCells(BiffFields& fields, qsizetype size, qsizetype entry_size, EachCell each_cell) {
    if (size < 6 + entry_size || (size - 6) % entry_size != 0) BiffDamaged();
    const qsizetype count = (size - 6) / entry_size;
    const std::uint16_t row = fields.U16();
    const std::uint16_t first = fields.U16();
    for (qsizetype i = 0; i < count; ++i) each_cell(row, static_cast<std::uint16_t>(first + i));
    if (fields.U16() != first + count - 1) BiffDamaged();
  }

  void Formula(BiffFields& fields) {
    const auto [row, col] = Position(fields);
    const std::uint32_t low = fields.U32();
    const std::uint32_t high = fields.U32();
    if (pending_text_) BiffDamaged();
    if ((high >> 16) != 0xFFFF) {
      Number(row, col, std::bit_cast<double>(std::uint64_t{high} << 32 | low));
      return;
    }
    const auto detail = static_cast<std::uint8_t>(low >> 16);
    switch (low & 0xFF) {
      case 0:  // a text, in the STRING record that follows
        Place(row, col);
        pending_text_.emplace(row, col);
        break;
      case 1:
        Number(row, col, detail != 0 ? 1.0 : 0.0);
        break;
      case 2:
        PutText(row, col, ErrorText(detail));
        break;
      case 3:  // an empty text
        Place(row, col);
        break;
      default:
        BiffDamaged();
    }
  }

  void Number(std::uint16_t row, std::uint16_t col, double value) {
    // No spreadsheet stores these; a file holding one is damaged.
    if (!std::isfinite(value)) BiffDamaged();
    Count(row, col);
    cells_.Number(row, col, value);
  }

  void PutText(std::uint16_t row, std::uint16_t col, QString text) {
    Count(row, col);
    cells_.Text(row, col, std::move(text));
  }

  void Count(std::uint16_t row, std::uint16_t col) {
    Place(row, col);
    if (++count_ > kMaxCells) BiffDamaged();
  }

  void Place(std::uint32_t row, std::uint32_t col) {
    if (row >= kMaxRows || col >= kMaxCols) TooLarge();
    rows_ = std::max(rows_, static_cast<int>(row) + 1);
    cols_ = std::max(cols_, static_cast<int>(col) + 1);
  }

  Globals& globals_;
  CellSink& cells_;
  int rows_ = 0;
  int cols_ = 0;
  std::size_t count_ = 0;
  // The cell of a formula whose text result comes in the next STRING record.
  std::optional<std::pair<std::uint16_t, std::uint16_t>> pending_text_;
};

}  // namespace

BiffWorkbook ReadBiffWorkbook(QByteArrayView stream, CellSink& cells) {
  Globals globals = ReadGlobals(stream);
  BiffWorkbook book;
  std::tie(book.rows, book.cols) = WorksheetReader(globals, cells).Read(stream);
  book.worksheets = std::move(globals.worksheets);
  return book;
}

}  // namespace workbook
