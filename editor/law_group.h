// The univariate law under the sampling distribution and its parameters; the
// shape is shown for the exponential-power law only.
#pragma once

#include <QComboBox>
#include <QFormLayout>

#include "editor/parameter_group.h"

class LawGroup : public ParameterGroup {
  Q_OBJECT

 public:
  LawGroup(ProblemLabels& problems, QWidget* parent);

  void Show(const RunParameters& parameters) override;
  void Collect(RunParameters& parameters, std::vector<ParameterProblem>& problems) const override;

 private:
  int GeneratorKind() const;

  QFormLayout* form_;
  QComboBox* generator_kind_;
  QLineEdit* param1_;
  QLineEdit* param2_;
  QLineEdit* param3_;
};
