#include "editor/counts_group.h"

#include <QFormLayout>

CountsGroup::CountsGroup(ProblemLabels& problems, QWidget* parent)
    : ParameterGroup("Объем моделирования", parent),
      n_(NewInt32Box("seN", this)),
      m_(NewInt32Box("seM", this)),
      k_(NewInt32Box("seK", this)) {
  auto* form = new QFormLayout(this);
  form->addRow("Объем выборки N:", FieldWithProblem(n_, "N", problems, this));
  form->addRow("Число выборок M:", FieldWithProblem(m_, "M", problems, this));
  form->addRow("Число повторений K:", FieldWithProblem(k_, "K", problems, this));
  for (QSpinBox* box : {n_, m_, k_}) connect(box, &QSpinBox::valueChanged, this, &ParameterGroup::changed);
}

void CountsGroup::Show(const RunParameters& parameters) {
  n_->setValue(parameters.N);
  m_->setValue(parameters.M);
  k_->setValue(parameters.K);
}

void CountsGroup::Collect(RunParameters& parameters, std::vector<ParameterProblem>&) const {
  parameters.N = n_->value();
  parameters.M = m_->value();
  parameters.K = k_->value();
}
