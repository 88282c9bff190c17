// A rectangle of cells, rows and columns counted from 1 as the data-set editor
// counts them. A range whose bottom lies above its top (or whose right lies
// left of its left) holds no cell.
#pragma once

struct CellRange {
  int top = 1;
  int left = 1;
  int bottom = 1;
  int right = 1;

  bool IsEmpty() const { return bottom < top || right < left; }
  int Rows() const { return IsEmpty() ? 0 : bottom - top + 1; }
  int Columns() const { return IsEmpty() ? 0 : right - left + 1; }

  friend bool operator==(const CellRange&, const CellRange&) = default;
};
