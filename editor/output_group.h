// What a run writes besides its criteria: the statistics files with their
// path pattern, and the estimates of the mean and the covariance.
#pragma once

#include <QCheckBox>

#include "editor/parameter_group.h"

class OutputGroup : public ParameterGroup {
  Q_OBJECT

 public:
  OutputGroup(ProblemLabels& problems, QWidget* parent);

  void Show(const RunParameters& parameters) override;
  void Collect(RunParameters& parameters, std::vector<ParameterProblem>& problems) const override;

 private:
  QCheckBox* save_values_;
  QLineEdit* statistics_path_;
  QCheckBox* estimate_mean_;
  QCheckBox* estimate_covariance_;
};
