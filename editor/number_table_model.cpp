#include "editor/number_table_model.h"

#include <algorithm>

#include "editor/number_text.h"
#include "method/run_parameters.h"
#include "platform/exceptions.h"

NumberTableModel::NumberTableModel(Shape shape, QObject* parent)
    : QAbstractTableModel(parent), shape_(shape) {}

std::size_t NumberTableModel::Place(int row, int column) const {
  return shape_ == Shape::Vector ? static_cast<std::size_t>(column) : TriangleIndex(p_, row, column);
}

void NumberTableModel::SetValues(int p, std::vector<double> values) {
  const std::size_t expected =
      shape_ == Shape::Vector ? static_cast<std::size_t>(std::max(p, 0)) : TriangleSize(p);
  if (p < 0 || values.size() != expected) {
    throw EConvertError("Число значений таблицы не соответствует размерности p = " + std::to_string(p));
  }
  beginResetModel();
  p_ = p;
  values_ = std::move(values);
  endResetModel();
}

void NumberTableModel::Resize(int p) {
  if (p == p_) return;
  std::vector<double> values;
  if (shape_ == Shape::Vector) {
    values = values_;
    values.resize(static_cast<std::size_t>(p), 0.0);
  } else {
    values.assign(TriangleSize(p), 0.0);
    for (int a = 0; a < p; ++a) {
      for (int b = a; b < p; ++b) {
        const bool kept = b < p_;
        values[TriangleIndex(p, a, b)] = kept ? values_[TriangleIndex(p_, a, b)] : (a == b ? 1.0 : 0.0);
      }
    }
  }
  SetValues(p, std::move(values));
}

int NumberTableModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return shape_ == Shape::Vector ? 1 : p_;
}

int NumberTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : p_; }

QVariant NumberTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  return NumberText(values_[Place(index.row(), index.column())]);
}

bool NumberTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  const QString text = value.toString();
  const std::optional<double> number = ParseDouble(text);
  if (!number) {
    emit textRefused(QString::fromStdString(NotANumberMessage(text)));
    return false;
  }
  values_[Place(index.row(), index.column())] = *number;
  emit dataChanged(index, index);
  if (shape_ == Shape::SymmetricMatrix && index.row() != index.column()) {
    const QModelIndex mirror = this->index(index.column(), index.row());
    emit dataChanged(mirror, mirror);
  }
  return true;
}

Qt::ItemFlags NumberTableModel::flags(const QModelIndex& index) const {
  return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

QVariant NumberTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical && shape_ == Shape::Vector) return {};
  return section + 1;
}
