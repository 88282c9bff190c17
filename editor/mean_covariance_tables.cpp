#include "editor/mean_covariance_tables.h"

#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>

MeanCovarianceTables::MeanCovarianceTables(const std::string& mean_field, const std::string& covariance_field,
                                           ProblemLabels& problems, QWidget* parent)
    : QWidget(parent),
      mean_(new NumberTableModel(NumberTableModel::Shape::Vector, this)),
      covariance_(new NumberTableModel(NumberTableModel::Shape::SymmetricMatrix, this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel("Математическое ожидание:", this));
  QTableView* mean = NewTable(mean_, mean_field);
  // One row of numbers needs no more height than it has.
  mean->verticalHeader()->hide();
  mean->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  layout->addWidget(mean);
  layout->addWidget(problems.Add(mean_field, this));
  layout->addWidget(new QLabel("Ковариационная матрица:", this));
  layout->addWidget(NewTable(covariance_, covariance_field));
  layout->addWidget(problems.Add(covariance_field, this));

  for (NumberTableModel* model : {mean_, covariance_}) {
    connect(model, &QAbstractItemModel::dataChanged, this, &MeanCovarianceTables::changed);
    connect(model, &QAbstractItemModel::modelReset, this, &MeanCovarianceTables::changed);
  }
  // A refused text shows beside its table until the next change is checked.
  connect(mean_, &NumberTableModel::textRefused, this, [this, &problems, mean_field](const QString& reason) {
    problems.ShowOne(mean_field, reason);
    emit refused();
  });
  connect(covariance_, &NumberTableModel::textRefused, this,
          [this, &problems, covariance_field](const QString& reason) {
            problems.ShowOne(covariance_field, reason);
            emit refused();
          });
}

QTableView* MeanCovarianceTables::NewTable(NumberTableModel* model, const std::string& field) {
  auto* table = new QTableView(this);
  table->setObjectName(QString::fromStdString("tbl" + field));
  table->setModel(model);
  table->setEditTriggers(QAbstractItemView::AllEditTriggers);
  table->horizontalHeader()->setDefaultSectionSize(80);
  // The table asks for room for all its cells; the dialog grows to it.
  table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  return table;
}

void MeanCovarianceTables::Resize(int p) {
  mean_->Resize(p);
  covariance_->Resize(p);
}
