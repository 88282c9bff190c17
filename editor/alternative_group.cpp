#include "editor/alternative_group.h"

#include <QVBoxLayout>

AlternativeGroup::AlternativeGroup(ProblemLabels& problems, QWidget* parent)
    : ParameterGroup("Альтернатива", parent),
      alternative_(new QCheckBox("Задать альтернативные параметры", this)),
      tables_(new MeanCovarianceTables("AltMean", "AltCovariance", problems, this)) {
  alternative_->setObjectName("chkAlternative");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(alternative_);
  layout->addWidget(tables_);
  tables_->hide();

  connect(alternative_, &QCheckBox::toggled, this, [this](bool shown) {
    tables_->setVisible(shown);
    emit changed();
  });
  connect(tables_, &MeanCovarianceTables::changed, this, &ParameterGroup::changed);
  connect(tables_, &MeanCovarianceTables::refused, this, &ParameterGroup::refused);
}

void AlternativeGroup::Resize(int p) { tables_->Resize(p); }

void AlternativeGroup::Show(const RunParameters& parameters) {
  const int p = parameters.Dimension;
  if (parameters.Alternative != 0) {
    tables_->Mean().SetValues(p, parameters.AltMean);
    tables_->Covariance().SetValues(p, parameters.AltCovariance);
  } else {
    tables_->Resize(p);
  }
  alternative_->setChecked(parameters.Alternative != 0);
}

void AlternativeGroup::Collect(RunParameters& parameters, std::vector<ParameterProblem>&) const {
  const bool alternative = alternative_->isChecked();
  parameters.Alternative = alternative ? 1 : 0;
  parameters.AltMean = alternative ? tables_->Mean().Values() : std::vector<double>{};
  parameters.AltCovariance = alternative ? tables_->Covariance().Values() : std::vector<double>{};
}
