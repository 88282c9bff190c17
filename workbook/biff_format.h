// The numbers of the BIFF format that the workbook's reader and writer share:
// the ids of the records they know, the versions and substream kinds a BOF
// names, and the size of an Excel 5.0 worksheet, to which both hold a sheet.
#pragma once

#include <cstdint>

namespace workbook {

// Records of the stream.
constexpr std::uint16_t kBof = 0x0809;
constexpr std::uint16_t kEof = 0x000A;
constexpr std::uint16_t kContinue = 0x003C;
// Globals.
constexpr std::uint16_t kCodePage = 0x0042;
constexpr std::uint16_t kWindow1 = 0x003D;
constexpr std::uint16_t kDateMode = 0x0022;
constexpr std::uint16_t kFont = 0x0031;
constexpr std::uint16_t kXf = 0x00E0;
constexpr std::uint16_t kStyle = 0x0293;
constexpr std::uint16_t kBoundSheet = 0x0085;
constexpr std::uint16_t kSharedStrings = 0x00FC;
constexpr std::uint16_t kFilePass = 0x002F;
// Worksheet.
constexpr std::uint16_t kDimensions = 0x0200;
constexpr std::uint16_t kNumber = 0x0203;
constexpr std::uint16_t kRk = 0x027E;
constexpr std::uint16_t kMulRk = 0x00BD;
constexpr std::uint16_t kLabel = 0x0204;
constexpr std::uint16_t kRString = 0x00D6;
constexpr std::uint16_t kLabelSst = 0x00FD;
constexpr std::uint16_t kBlank = 0x0201;
constexpr std::uint16_t kMulBlank = 0x00BE;
constexpr std::uint16_t kBoolErr = 0x0205;
constexpr std::uint16_t kFormula = 0x0006;
constexpr std::uint16_t kString = 0x0207;
constexpr std::uint16_t kWindow2 = 0x023E;

// What a BOF names.
constexpr std::uint16_t kBiff5 = 0x0500;
constexpr std::uint16_t kBiff8 = 0x0600;
constexpr std::uint16_t kGlobalsSubstream = 0x0005;
constexpr std::uint16_t kWorksheetSubstream = 0x0010;

// The limits of an Excel 5.0 worksheet.
constexpr int kMaxRows = 16384;
constexpr int kMaxCols = 256;

}  // namespace workbook
