// Whole files in one piece: read at once, or written so that the previous
// file is replaced only by a complete new one (a temporary file in the same
// folder, renamed over the old one when every byte is written).
#pragma once

#include <QByteArray>
#include <QString>
#include <string>

#include "platform/export.h"

namespace workbook {

// Throws EFOpenError with `open_error` when the file cannot be read.
WB_EXPORT QByteArray ReadWholeFile(const QString& path, const std::string& open_error);

// Throws EFCreateError with `create_error` when the file cannot be written;
// the previous file then stays as it was.
WB_EXPORT void WriteWholeFile(const QString& path, const QByteArray& bytes, const std::string& create_error);

}  // namespace workbook
