// The alternative mean vector and covariance matrix, which test kind 1 takes
// as its hypothesis in place of the sampling ones; shown only when asked for.
#pragma once

#include <QCheckBox>

#include "editor/mean_covariance_tables.h"
#include "editor/parameter_group.h"

class AlternativeGroup : public ParameterGroup {
  Q_OBJECT

 public:
  AlternativeGroup(ProblemLabels& problems, QWidget* parent);

  // Follows the dimension of the sampling distribution.
  void Resize(int p);

  void Show(const RunParameters& parameters) override;
  void Collect(RunParameters& parameters, std::vector<ParameterProblem>& problems) const override;

 private:
  QCheckBox* alternative_;
  MeanCovarianceTables* tables_;
};
