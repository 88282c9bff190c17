// A mean vector (one row of p values) or a symmetric p x p matrix kept as its
// upper triangle, as a table the user edits cell by cell. Cells (a, b) and
// (b, a) are one value, so editing either triangle changes both.
#pragma once

#include <QAbstractTableModel>
#include <vector>

class NumberTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum class Shape { Vector, SymmetricMatrix };

  explicit NumberTableModel(Shape shape, QObject* parent = nullptr);

  int Dimension() const { return p_; }
  // p values, or the p(p+1)/2 values of the triangle row by row.
  const std::vector<double>& Values() const { return values_; }
  // Throws EConvertError when the count does not fit p.
  void SetValues(int p, std::vector<double> values);
  // Keeps the values of the leading rows and columns; a new diagonal value is
  // 1 and every other new value 0, so a positive definite matrix stays one.
  void Resize(int p);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 signals:
  // A text typed into a cell that is not a number; the cell keeps its value.
  void textRefused(const QString& reason);

 private:
  std::size_t Place(int row, int column) const;

  Shape shape_;
  int p_ = 0;
  std::vector<double> values_;
};
