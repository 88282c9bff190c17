// The dimension p of the sampling distribution with its mean vector and
// covariance matrix, both sized by p.
#pragma once

#include "editor/mean_covariance_tables.h"
#include "editor/parameter_group.h"

class DimensionGroup : public ParameterGroup {
  Q_OBJECT

 public:
  // The largest p the box offers: the tables stay usable and the method's
  // matrix work, which grows as p cubed, stays within reason. A block with a
  // larger p is still shown as it is.
  static constexpr int kLargestOffered = 1000;

  DimensionGroup(ProblemLabels& problems, QWidget* parent);

  void Show(const RunParameters& parameters) override;
  void Collect(RunParameters& parameters, std::vector<ParameterProblem>& problems) const override;

 signals:
  void dimensionChanged(int p);

 private:
  QSpinBox* dimension_;
  MeanCovarianceTables* tables_;
};
