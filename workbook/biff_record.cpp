#include "workbook/biff_record.h"

#include <QtEndian>
#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/exceptions.h"
#include "workbook/biff_format.h"

namespace workbook {
namespace {

constexpr qsizetype kHeaderSize = 4;

std::uint16_t Le16(const char* bytes) { return qFromLittleEndian<std::uint16_t>(bytes); }

// A damaged text, or one cut inside a surrogate pair, shows the replacement
// character, so that it is refused where it cannot be written instead of
// turning into "?" on its way to code page 1251.
void ReplaceLoneSurrogates(QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      ++i;
    } else if (text[i].isSurrogate()) {
      text[i] = QChar::ReplacementCharacter;
    }
  }
}

void AppendCharacters(QString& text, const char* bytes, std::uint32_t count, bool wide) {
  if (wide) {
    for (std::uint32_t i = 0; i < count; ++i) text.append(QChar(Le16(bytes + 2 * i)));
  } else {
    text.append(QLatin1StringView(bytes, count));
  }
}

}  // namespace

void BiffDamaged() { throw EReadError("файл поврежден или имеет другой формат"); }

BiffCursor::BiffCursor(QByteArrayView stream, std::size_t offset)
    : stream_(stream), offset_(static_cast<qsizetype>(offset)) {
  if (offset > static_cast<std::size_t>(stream.size())) BiffDamaged();
}

BiffRecord BiffCursor::Next() {
  const qsizetype left = stream_.size() - offset_;
  if (left < kHeaderSize) BiffDamaged();
  const char* header = stream_.data() + offset_;
  const qsizetype length = Le16(header + 2);
  if (left - kHeaderSize < length) BiffDamaged();
  BiffRecord record{Le16(header), stream_.sliced(offset_ + kHeaderSize, length)};
  offset_ += kHeaderSize + length;
  return record;
}

bool BiffCursor::NextIsContinue() const {
  return stream_.size() - offset_ >= kHeaderSize && Le16(stream_.data() + offset_) == kContinue;
}

void BiffCursor::TakeContinues(std::vector<QByteArrayView>& pieces) {
  while (NextIsContinue()) pieces.push_back(Next().body);
}

BiffFields::BiffFields(std::span<const QByteArrayView> pieces) : pieces_(pieces) {}

// Numbers and skipped bytes run on into the next piece without a mark.
void BiffFields::Advance() {
  while (LeftInPiece() == 0 && piece_ + 1 < pieces_.size()) {
    ++piece_;
    pos_ = 0;
  }
}

void BiffFields::ReadAcross(char* out, qsizetype count) {
  while (count > 0) {
    Advance();
    const qsizetype here = std::min(count, LeftInPiece());
    if (here == 0) BiffDamaged();
    std::memcpy(out, pieces_[piece_].data() + pos_, static_cast<std::size_t>(here));
    pos_ += here;
    out += here;
    count -= here;
  }
}

std::uint8_t BiffFields::U8() {
  char byte;
  Read(&byte, 1);
  return static_cast<std::uint8_t>(byte);
}

std::uint16_t BiffFields::U16() {
  char bytes[2];
  Read(bytes, 2);
  return Le16(bytes);
}

std::uint32_t BiffFields::U32() {
  char bytes[4];
  Read(bytes, 4);
  return qFromLittleEndian<std::uint32_t>(bytes);
}

double BiffFields::F64() {
  char bytes[8];
  Read(bytes, 8);
  return std::bit_cast<double>(qFromLittleEndian<std::uint64_t>(bytes));
}

void BiffFields::Skip(std::uint32_t count) {
  while (count > 0) {
    Advance();
    const auto here = static_cast<std::uint32_t>(std::min<qsizetype>(count, LeftInPiece()));
    if (here == 0) BiffDamaged();
    pos_ += here;
    count -= here;
  }
}

QString BiffFields::Characters(std::uint32_t count, bool wide) {
  QString text;
  text.reserve(count);
  while (count > 0) {
    if (LeftInPiece() == 0) {
      // Characters going on in the next piece start with its width byte.
      if (piece_ + 1 >= pieces_.size()) BiffDamaged();
      ++piece_;
      pos_ = 0;
      wide = (U8() & 0x01) != 0;
    }
    const qsizetype width = wide ? 2 : 1;
    const auto here = static_cast<std::uint32_t>(std::min<qsizetype>(count, LeftInPiece() / width));
    if (here == 0) BiffDamaged();
    AppendCharacters(text, pieces_[piece_].data() + pos_, here, wide);
    pos_ += here * width;
    count -= here;
  }
  ReplaceLoneSurrogates(text);
  return text;
}

bool BiffFields::AtEnd() const {
  if (LeftInPiece() != 0) return false;
  return std::all_of(pieces_.begin() + static_cast<std::ptrdiff_t>(piece_) + 1, pieces_.end(),
                     [](QByteArrayView piece) { return piece.isEmpty(); });
}

QString BiffFields::Unicode(bool byte_count) { return UnicodeText(byte_count, true); }

QString BiffFields::UnicodeRunningOn(bool byte_count) { return UnicodeText(byte_count, false); }

QString BiffFields::UnicodeText(bool byte_count, bool marked_pieces) {
  const std::uint32_t count = byte_count ? U8() : U16();
  const std::uint8_t options = U8();
  const std::uint32_t runs = (options & 0x08) != 0 ? U16() : 0;
  const std::uint32_t phonetic = (options & 0x04) != 0 ? U32() : 0;
  const bool wide = (options & 0x01) != 0;
  QString text;
  if (marked_pieces) {
    text = Characters(count, wide);
  } else {
    QByteArray bytes(static_cast<qsizetype>(count) * (wide ? 2 : 1), Qt::Uninitialized);
    Read(bytes.data(), bytes.size());
    AppendCharacters(text, bytes.constData(), count, wide);
    ReplaceLoneSurrogates(text);
  }
  Skip(runs * 4);
  Skip(phonetic);
  return text;
}

QString BiffFields::Bytes(bool byte_count, QStringDecoder& decoder) {
  const std::uint32_t count = byte_count ? U8() : U16();
  QByteArray bytes(count, Qt::Uninitialized);
  Read(bytes.data(), count);
  return decoder.decode(bytes);
}

}  // namespace workbook
