// The record layer of a BIFF stream: records one after another (a 2-byte id,
// a 2-byte length and that many bytes), and the fields of one record's body,
// which may go on in the CONTINUE records after it. Nothing is read past what
// the stream holds: a record or a field that does not fit is refused with
// EReadError, the stream's damage.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace workbook {

[[noreturn]] void BiffDamaged();

struct BiffRecord {
  std::uint16_t id = 0;
  QByteArrayView body;
};

class BiffCursor {
 public:
  // Refused when `offset` lies beyond the stream.
  BiffCursor(QByteArrayView stream, std::size_t offset);

  bool AtEnd() const { return offset_ == stream_.size(); }
  // Refused when the stream ends inside the record.
  BiffRecord Next();
  // The next record's bodies while they are CONTINUE records.
  void TakeContinues(std::vector<QByteArrayView>& pieces);

 private:
  bool NextIsContinue() const;

  QByteArrayView stream_;
  qsizetype offset_;
};

// Reads the fields of a body given as its pieces: the record's own body,
// then the bodies of its CONTINUE records. Numbers and skipped bytes run on
// from one piece to the next; characters do too, but each piece they go on
// in opens with a byte telling whether they are one or two bytes wide.
class BiffFields {
 public:
  explicit BiffFields(std::span<const QByteArrayView> pieces);

  std::uint8_t U8();
  std::uint16_t U16();
  std::uint32_t U32();
  double F64();
  void Skip(std::uint32_t count);
  // Left in the current piece.
  qsizetype LeftInPiece() const { return pieces_[piece_].size() - pos_; }
  // Every byte of every piece read.
  bool AtEnd() const;

  // BIFF8 texts: a count (1 or 2 bytes), option flags, the characters and
  // what follows them (formatting runs, phonetic data), which is skipped.
  QString Unicode(bool byte_count);
  // The same with characters that run on into the next pieces without a
  // width byte, in the width they began with, a character cut in two
  // included: ssconvert continues a formula's long text result so.
  QString UnicodeRunningOn(bool byte_count);
  // BIFF5 texts: a count (1 or 2 bytes) and bytes in the file's code page.
  QString Bytes(bool byte_count, QStringDecoder& decoder);

 private:
  void Advance();
  // Most fields lie within one piece.
  void Read(char* out, qsizetype count) {
    if (LeftInPiece() >= count) {
      std::memcpy(out, pieces_[piece_].data() + pos_, static_cast<std::size_t>(count));
      pos_ += count;
    } else {
      ReadAcross(out, count);
    }
  }
  void ReadAcross(char* out, qsizetype count);
  QString Characters(std::uint32_t count, bool wide);
  QString UnicodeText(bool byte_count, bool marked_pieces);

  std::span<const QByteArrayView> pieces_;
  std::size_t piece_ = 0;
  qsizetype pos_ = 0;
};

}  // namespace workbook
