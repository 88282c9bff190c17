#include "editor/dimension_group.h"

#include <QFormLayout>
#include <algorithm>

DimensionGroup::DimensionGroup(ProblemLabels& problems, QWidget* parent)
    : ParameterGroup("Многомерное распределение", parent),
      dimension_(new QSpinBox(this)),
      tables_(new MeanCovarianceTables("Mean", "Covariance", problems, this)) {
  dimension_->setObjectName("seDimension");
  dimension_->setRange(1, kLargestOffered);
  // Every value typed on the way to the wanted one would resize the tables.
  dimension_->setKeyboardTracking(false);
  auto* form = new QFormLayout(this);
  form->addRow("Размерность p:", FieldWithProblem(dimension_, "Dimension", problems, this));
  form->addRow(tables_);
  tables_->Resize(dimension_->value());

  connect(dimension_, &QSpinBox::valueChanged, this, [this](int p) {
    tables_->Resize(p);
    emit dimensionChanged(p);
  });
  connect(tables_, &MeanCovarianceTables::changed, this, &ParameterGroup::changed);
  connect(tables_, &MeanCovarianceTables::refused, this, &ParameterGroup::refused);
}

void DimensionGroup::Show(const RunParameters& parameters) {
  const int p = parameters.Dimension;
  dimension_->setMaximum(std::max(kLargestOffered, p));
  dimension_->setValue(p);
  tables_->Mean().SetValues(p, parameters.Mean);
  tables_->Covariance().SetValues(p, parameters.Covariance);
}

void DimensionGroup::Collect(RunParameters& parameters, std::vector<ParameterProblem>&) const {
  parameters.Dimension = static_cast<std::int16_t>(dimension_->value());
  parameters.Mean = tables_->Mean().Values();
  parameters.Covariance = tables_->Covariance().Values();
}
