#!/usr/bin/python3
# Writes, for each workbook named, <name>.cells: the cells of its first
# worksheet as another reader (xlrd) sees them, in the form the workbook
# reader is to give them. The first line lists the worksheets' names; then
# one line per cell: row, column (from 0), and "N" with the double's 64 bits
# in hexadecimal or "T" with the text. Dates and booleans are numbers, errors
# their texts; empty cells and empty texts are left out.
import struct
import sys

import xlrd

for path in sys.argv[1:]:
    book = xlrd.open_workbook(path)
    sheet = book.sheet_by_index(0)
    lines = ["\t".join(["sheets"] + book.sheet_names())]
    for row in range(sheet.nrows):
        for col in range(sheet.ncols):
            cell = sheet.cell(row, col)
            if cell.ctype in (xlrd.XL_CELL_NUMBER, xlrd.XL_CELL_DATE, xlrd.XL_CELL_BOOLEAN):
                bits = struct.unpack("<Q", struct.pack("<d", float(cell.value)))[0]
                lines.append(f"{row}\t{col}\tN\t{bits:016X}")
            elif cell.ctype == xlrd.XL_CELL_ERROR:
                lines.append(f"{row}\t{col}\tT\t{xlrd.error_text_from_code[cell.value]}")
            elif cell.ctype == xlrd.XL_CELL_TEXT and cell.value != "":
                lines.append(f"{row}\t{col}\tT\t{cell.value}")
    with open(path.rsplit(".", 1)[0] + ".cells", "w", encoding="utf-8") as out:
        out.write("\n".join(lines) + "\n")
