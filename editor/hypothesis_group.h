// The hypothesis under test: the test kind and the variables, coefficient and
// group size that the kind has; the fields a kind lacks are hidden.
#pragma once

#include <QComboBox>
#include <QFormLayout>

#include "editor/parameter_group.h"

class HypothesisGroup : public ParameterGroup {
  Q_OBJECT

 public:
  HypothesisGroup(ProblemLabels& problems, QWidget* parent);

  void Show(const RunParameters& parameters) override;
  void Collect(RunParameters& parameters, std::vector<ParameterProblem>& problems) const override;

 private:
  int TestKind() const;
  void ShowFieldsOfKind();

  QFormLayout* form_;
  QComboBox* test_kind_;
  QSpinBox* var_i_;
  QSpinBox* var_j_;
  QLineEdit* r0_;
  QSpinBox* q_;
};
