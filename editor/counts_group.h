// The sizes of the simulation: N observations per sample, M samples per
// repetition, K repetitions.
#pragma once

#include "editor/parameter_group.h"

class CountsGroup : public ParameterGroup {
  Q_OBJECT

 public:
  CountsGroup(ProblemLabels& problems, QWidget* parent);

  void Show(const RunParameters& parameters) override;
  void Collect(RunParameters& parameters, std::vector<ParameterProblem>& problems) const override;

 private:
  QSpinBox* n_;
  QSpinBox* m_;
  QSpinBox* k_;
};
