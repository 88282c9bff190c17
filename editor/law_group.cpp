#include "editor/law_group.h"

#include "editor/number_text.h"

LawGroup::LawGroup(ProblemLabels& problems, QWidget* parent)
    : ParameterGroup("Закон распределения", parent),
      form_(new QFormLayout(this)),
      generator_kind_(new QComboBox(this)),
      param1_(NewNumberEdit("edGenParam1", this)),
      param2_(NewNumberEdit("edGenParam2", this)),
      param3_(NewNumberEdit("edGenParam3", this)) {
  generator_kind_->setObjectName("cbGeneratorKind");
  generator_kind_->addItem("Нормальный", kGeneratorNormal);
  generator_kind_->addItem("Логистический", kGeneratorLogistic);
  generator_kind_->addItem("Лапласа", kGeneratorLaplace);
  generator_kind_->addItem("Коши", kGeneratorCauchy);
  generator_kind_->addItem("Экспоненциально-степенной", kGeneratorExpPower);

  form_->addRow("Закон:", FieldWithProblem(generator_kind_, "GeneratorKind", problems, this));
  form_->addRow("Параметр сдвига:", FieldWithProblem(param1_, "GenParam1", problems, this));
  form_->addRow("Параметр масштаба:", FieldWithProblem(param2_, "GenParam2", problems, this));
  form_->addRow("Параметр формы:", FieldWithProblem(param3_, "GenParam3", problems, this));
  // The shape of the normal law, for a user who turns to the exponential-power law.
  param3_->setText(NumberText(2.0f));

  connect(generator_kind_, &QComboBox::currentIndexChanged, this, [this] {
    form_->setRowVisible(3, GeneratorKindHasGenParam3(GeneratorKind()));
    emit changed();
  });
  for (QLineEdit* edit : {param1_, param2_, param3_}) {
    connect(edit, &QLineEdit::textChanged, this, &ParameterGroup::changed);
  }
  form_->setRowVisible(3, false);
}

int LawGroup::GeneratorKind() const { return generator_kind_->currentData().toInt(); }

void LawGroup::Show(const RunParameters& parameters) {
  const int kind = parameters.GeneratorKind;
  generator_kind_->setCurrentIndex(generator_kind_->findData(kind));
  param1_->setText(NumberText(parameters.GenParam1));
  param2_->setText(NumberText(parameters.GenParam2));
  if (GeneratorKindHasGenParam3(kind)) param3_->setText(NumberText(parameters.GenParam3));
}

void LawGroup::Collect(RunParameters& parameters, std::vector<ParameterProblem>& problems) const {
  const int kind = GeneratorKind();
  parameters.GeneratorKind = static_cast<std::int8_t>(kind);
  CollectNumber(param1_, "GenParam1", parameters.GenParam1, problems);
  CollectNumber(param2_, "GenParam2", parameters.GenParam2, problems);
  parameters.GenParam3 = 0;
  if (GeneratorKindHasGenParam3(kind)) CollectNumber(param3_, "GenParam3", parameters.GenParam3, problems);
}
