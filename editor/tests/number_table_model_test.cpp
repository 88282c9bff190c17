// The tables of the mean and the covariance; typing into them and the refusal
// of text that is no number are shown through the dialog's tests.
#include "editor/number_table_model.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

namespace {

using Shape = NumberTableModel::Shape;

QString Cell(const NumberTableModel& model, int row, int column) {
  return model.data(model.index(row, column), Qt::DisplayRole).toString();
}

TEST(NumberTableModel, AMatrixCellAndItsMirrorAreOneValueOfTheTriangleAndRepaintTogether) {
  NumberTableModel model(Shape::SymmetricMatrix);
  // Triangle of p = 3: (1,1), (1,2), (1,3), (2,2), (2,3), (3,3).
  model.SetValues(3, {1, 2, 3, 4, 5, 6});
  EXPECT_EQ(Cell(model, 2, 1) + Cell(model, 1, 2), "55");
  QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
  ASSERT_TRUE(model.setData(model.index(2, 0), "0,5", Qt::EditRole));
  EXPECT_EQ(model.Values(), (std::vector<double>{1, 2, 0.5, 4, 5, 6}));
  EXPECT_EQ(changed.count(), 2);
  model.SetValues(2, {4, 1, 9});
  model.Resize(3);
  EXPECT_EQ(model.Values(), (std::vector<double>{4, 1, 0, 9, 0, 1}));
  model.Resize(1);
  EXPECT_EQ(model.Values(), (std::vector<double>{4}));
}

TEST(NumberTableModel, AVectorIsOneRowOfPNumberedFromOne) {
  NumberTableModel model(Shape::Vector);
  model.SetValues(2, {-1, 7});
  EXPECT_EQ(model.rowCount(), 1);
  EXPECT_EQ(model.columnCount(), 2);
  ASSERT_TRUE(model.setData(model.index(0, 1), "1e-3", Qt::EditRole));
  EXPECT_EQ(model.Values(), (std::vector<double>{-1, 0.001}));
  EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toInt(), 2);
  model.Resize(3);
  EXPECT_EQ(model.Values(), (std::vector<double>{-1, 0.001, 0}));
  model.Resize(1);
  EXPECT_EQ(model.Values(), (std::vector<double>{-1}));
}

}  // namespace
