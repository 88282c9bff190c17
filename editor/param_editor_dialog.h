// The parameter editor of the Monte Carlo method: a modal form over every
// field of the parameter block that accepts only blocks the method runs and
// writes the accepted block to its file on OK.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <vector>

#include "editor/parameter_group.h"
#include "editor/problem_labels.h"
#include "method/parameter_check.h"
#include "method/run_parameters.h"

class TWParamEditor : public QDialog {
  Q_OBJECT

 public:
  // Shows `initial` (which the block's decoder would give, or the defaults),
  // the data set's path read only, and `notice` when it is not empty. OK
  // writes the block to `parameters_file`.
  TWParamEditor(const RunParameters& initial, const QString& data_set, const QString& notice,
                const QString& parameters_file, QWidget* parent);

  // The values shown, as the block's decoder would give them back.
  RunParameters Parameters() const;

  // Why the method would refuse the values shown, at most one reason a field.
  std::vector<ParameterProblem> Problems() const;

  // Checks the values and writes the block; stays open while a refused text
  // is shown, when the method would refuse the values or when the file
  // cannot be written.
  void accept() override;

 private:
  RunParameters Collect(std::vector<ParameterProblem>& problems) const;
  void Revalidate();
  void SizeToFit();

  QString parameters_file_;
  QLabel* general_problems_;
  QLabel* write_error_;
  QScrollArea* scroll_ = nullptr;
  QWidget* page_ = nullptr;
  QPushButton* ok_;
  // A cell text was refused and no change has been checked since.
  bool refusal_shown_ = false;
  ProblemLabels problems_;
  std::vector<ParameterGroup*> groups_;
};
