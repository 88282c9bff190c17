// Lusmere, the HTML report writer: the method library writes its run report
// through these calls, and the shell shows the file in a report window.
//
// One report at a time: the calls carry no handle, so the library holds the
// report being written. Texts are UTF-8; every text is escaped, and the
// labels' markup "\omega^{2}", "\Omega^{2}", "\chi^{2}" and "\Sigma" is shown
// as Greek letters with superscripts. The file is UTF-8 HTML5 in the subset
// that Qt's rich-text browser also shows.
//
// Nothing half done: the report is written to a temporary file beside the
// named one, which takes the name only when CloseReport completes. Any error
// abandons the report being written and removes its temporary file, so a run
// that fails leaves no report behind; so does unloading the library with a
// report still open.
//
// Misuse raises Exception with a Russian message; a file that cannot be
// created or written raises EFCreateError; a text that is not valid UTF-8
// raises EConvertError; exhausted memory raises EOutOfMemory.
#pragma once

#include <string>

#include "platform/export.h"

// Starts the report that CloseReport will write under `file_name` (relative
// to the current directory). Raises when a report is already open (the open
// one is abandoned) or the file cannot be created in its folder.
WB_EXPORT void CreateReport(const std::string& file_name);

// Appends `text` to a paragraph. `ends_paragraph`: true closes the paragraph
// after the text, false lets the next text continue it. `alignment` of a new
// paragraph: 0 left, 1 centred, 2 right. Not allowed while a table is open.
WB_EXPORT void AddString(const std::string& text, bool ends_paragraph, int alignment);

// Starts a table of `rows` x `columns` cells, both at least 1, addressed from
// (0, 0); row 0 and column 0 are headings. The caption is shown above it (an
// empty caption shows none). Only one table is open at a time.
WB_EXPORT void CreateTable(int rows, int columns, const std::string& caption);

namespace lusmere {
// Cell kinds of the four-argument AddEntry.
constexpr int kHeadingCell = 0;
constexpr int kNumberCell = 1;
}  // namespace lusmere

// Sets a cell of the open table: a heading in row 0 and column 0, a text cell
// elsewhere, aligned right like a number cell when its text is a number.
// Setting a cell again replaces its text.
WB_EXPORT void AddEntry(int row, int column, const std::string& text);

// Sets a cell of the open table as a heading (lusmere::kHeadingCell) or as a
// number (lusmere::kNumberCell, aligned right), wherever it stands.
WB_EXPORT void AddEntry(int row, int column, const std::string& text, int cell_kind);

// Ends the open table; cells never set stay empty.
WB_EXPORT void CloseTable();

// Ends the report and gives the file its name, replacing an older file of
// that name. Not allowed while a table is open.
WB_EXPORT void CloseReport();
