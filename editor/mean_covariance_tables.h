// A mean vector and a covariance matrix of one dimension p, as two tables with
// the reasons for refusing them beneath; the editor shows the distribution's
// pair and the alternative pair this way.
#pragma once

#include <QTableView>
#include <QWidget>
#include <string>

#include "editor/number_table_model.h"
#include "editor/problem_labels.h"

class MeanCovarianceTables : public QWidget {
  Q_OBJECT

 public:
  // `mean_field` and `covariance_field` name the block's fields, which name
  // the tables ("tbl" and the field) and their problem labels.
  MeanCovarianceTables(const std::string& mean_field, const std::string& covariance_field,
                       ProblemLabels& problems, QWidget* parent);

  NumberTableModel& Mean() const { return *mean_; }
  NumberTableModel& Covariance() const { return *covariance_; }

  void Resize(int p);

 signals:
  void changed();
  // A text typed into a cell was refused; the cell kept its value.
  void refused();

 private:
  QTableView* NewTable(NumberTableModel* model, const std::string& field);

  NumberTableModel* mean_;
  NumberTableModel* covariance_;
};
