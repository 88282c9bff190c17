// Ferrant: data-set files (*.sds). A data set is the block of numbers
// selected in the editor's sheet; its file keeps the numbers bit for bit,
// the block's size and the sheet's hint as the data description (FORMAT.md).
#pragma once

#include <QString>

#include "platform/export.h"

class WorkbookSheet;

namespace Ferrant {

// The sheet afterwards holds the data set: its size is the data set's, its
// cells the values' shortest exact texts, its hint the description, and the
// first cell is selected. Throws EFOpenError when the file cannot be opened
// and EReadError when it is not a whole data-set file; the sheet is then
// unchanged.
WB_EXPORT void LoadFromFileToBook(WorkbookSheet* book, const QString& path);

// Writes the sheet's selected cells, each of which must hold a number ("."
// or "," as its decimal point), and the sheet's hint as the description.
// Throws Exception for an empty selection, a cell that is not a number or a
// description the format cannot hold, and EFCreateError when the file cannot
// be written; the previous file then stays as it was.
WB_EXPORT void SaveToFileFromBook(WorkbookSheet* book, const QString& path);

}  // namespace Ferrant
