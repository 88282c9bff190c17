#include "editor/number_table_model.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

namespace {

using Shape = NumberTableModel::Shape;

QString Cell(const NumberTableModel& model, int row, int column) {
  return model.data(model.index(row, column), Qt::DisplayRole).toString();
}

}  // namespace

TEST(NumberTableModel, AMatrixCellAndItsMirrorAreOneValueOfTheTriangle) {
  NumberTableModel model(Shape::SymmetricMatrix);
  // Triangle of p = 3: (1,1), (1,2), (1,3), (2,2), (2,3), (3,3).
  model.SetValues(3, {1, 2, 3, 4, 5, 6});
  EXPECT_EQ(model.rowCount(), 3);
  EXPECT_EQ(model.columnCount(), 3);
  EXPECT_EQ(Cell(model, 2, 1), "5");
  EXPECT_EQ(Cell(model, 1, 2), "5");

  QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
  ASSERT_TRUE(model.setData(model.index(2, 0), "0,5", Qt::EditRole));
  EXPECT_EQ(model.Values(), (std::vector<double>{1, 2, 0.5, 4, 5, 6}));
  EXPECT_EQ(Cell(model, 0, 2), "0,5");
  // Both cells are repainted.
  EXPECT_EQ(changed.count(), 2);
}

TEST(NumberTableModel, AVectorIsOneRowOfP) {
  NumberTableModel model(Shape::Vector);
  model.SetValues(2, {-1, 7});
  EXPECT_EQ(model.rowCount(), 1);
  EXPECT_EQ(model.columnCount(), 2);
  ASSERT_TRUE(model.setData(model.index(0, 1), "1e-3", Qt::EditRole));
  EXPECT_EQ(model.Values(), (std::vector<double>{-1, 0.001}));
  EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toInt(), 2);
}

TEST(NumberTableModel, TextThatIsNoNumberIsRefusedWithItsReasonAndTheCellKeepsItsValue) {
  NumberTableModel model(Shape::SymmetricMatrix);
  model.SetValues(2, {1, 0, 1});
  QSignalSpy refused(&model, &NumberTableModel::textRefused);
  EXPECT_FALSE(model.setData(model.index(0, 1), "x1", Qt::EditRole));
  EXPECT_EQ(model.Values(), (std::vector<double>{1, 0, 1}));
  ASSERT_EQ(refused.count(), 1);
  EXPECT_EQ(refused.at(0).at(0).toString(), "Значение «x1» не может быть прочитано как число");
}

TEST(NumberTableModel, ResizingKeepsTheLeadingValuesAndGrowsByTheIdentity) {
  NumberTableModel matrix(Shape::SymmetricMatrix);
  matrix.SetValues(2, {4, 1, 9});
  matrix.Resize(3);
  EXPECT_EQ(matrix.Values(), (std::vector<double>{4, 1, 0, 9, 0, 1}));
  matrix.Resize(1);
  EXPECT_EQ(matrix.Values(), (std::vector<double>{4}));

  NumberTableModel vector(Shape::Vector);
  vector.SetValues(2, {5, 6});
  vector.Resize(3);
  EXPECT_EQ(vector.Values(), (std::vector<double>{5, 6, 0}));
  vector.Resize(1);
  EXPECT_EQ(vector.Values(), (std::vector<double>{5}));
}
