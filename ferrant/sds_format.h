// The layout of data-set files (*.sds), described in FORMAT.md: encoding a
// data set into the file's bytes and decoding bytes back with every check the
// format allows, so that a corrupt or truncated file is never half read.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace ferrant {

struct DataSet {
  std::int32_t rows = 0;
  std::int32_t cols = 0;
  // Row by row, rows * cols finite values.
  std::vector<double> values;
  QString description;
};

constexpr std::int32_t kMaxRows = 16384;
constexpr std::int32_t kMaxCols = 256;
constexpr std::int32_t kMaxDescription = 255;
// The header, the longest description, every value and the checksum.
constexpr std::uint64_t kMaxFileBytes = 28 + kMaxDescription + 8ull * kMaxRows * kMaxCols;

// Throws Exception when the data set breaks the format's limits: its size,
// a value that is not finite, a description longer than 255 bytes in code
// page 1251 or holding a character code page 1251 cannot hold.
QByteArray EncodeDataSet(const DataSet& data_set);

// Throws EReadError naming the file `path` and what is wrong with its bytes.
DataSet DecodeDataSet(const QByteArray& bytes, const QString& path);

// CRC-32 as zlib and IEEE 802.3 compute it (reflected polynomial 0xEDB88320).
std::uint32_t Crc32(const QByteArray& bytes);

}  // namespace ferrant
