// OLE2 compound files through libgsf: the container of Excel workbooks.
#pragma once

#include <QByteArray>
#include <string_view>

#include "platform/export.h"

namespace workbook {

// The compound file holding one stream.
WB_EXPORT QByteArray CompoundFile(const char* stream_name, const QByteArray& stream);

// The workbook stream of a compound file: "Workbook" (Excel 97-2003) when
// it has one, else "Book" (Excel 5.0/95); names are matched without regard
// to case, as OLE2 compares them. Throws EReadError when the bytes are no
// compound file or hold neither stream.
WB_EXPORT QByteArray WorkbookStream(std::string_view file);

}  // namespace workbook
