#include "editor/hypothesis_group.h"

#include "editor/number_text.h"

HypothesisGroup::HypothesisGroup(ProblemLabels& problems, QWidget* parent)
    : ParameterGroup("Гипотеза", parent),
      form_(new QFormLayout(this)),
      test_kind_(new QComboBox(this)),
      var_i_(NewInt32Box("seVarI", this)),
      var_j_(NewInt32Box("seVarJ", this)),
      r0_(NewNumberEdit("edR0", this)),
      q_(NewInt32Box("seQ", this)) {
  test_kind_->setObjectName("cbTestKind");
  // As wide as the longest hypothesis, so that the box shows each one whole.
  test_kind_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  test_kind_->addItem("Математическое ожидание равно M0, ковариационная матрица известна", kTestKindX2);
  test_kind_->addItem("Математическое ожидание равно M0, ковариационная матрица неизвестна", kTestKindT2);
  test_kind_->addItem("Парный коэффициент корреляции равен нулю", kTestKindPairT);
  test_kind_->addItem("Парный коэффициент корреляции равен r0", kTestKindPairZ0);
  test_kind_->addItem("Частный коэффициент корреляции равен нулю", kTestKindIndividT);
  test_kind_->addItem("Частный коэффициент корреляции равен r0", kTestKindIndividZ0);
  test_kind_->addItem("Множественный коэффициент корреляции равен нулю", kTestKindF);

  form_->addRow("Проверяемая гипотеза:", FieldWithProblem(test_kind_, "TestKind", problems, this));
  form_->addRow("Номер первой переменной i:", FieldWithProblem(var_i_, "VarI", problems, this));
  form_->addRow("Номер второй переменной j:", FieldWithProblem(var_j_, "VarJ", problems, this));
  form_->addRow("Коэффициент корреляции r0:", FieldWithProblem(r0_, "R0", problems, this));
  form_->addRow("Число переменных первой группы q:", FieldWithProblem(q_, "Q", problems, this));

  // What a kind without these fields starts from when the user turns to one
  // that has them.
  var_i_->setValue(1);
  var_j_->setValue(2);
  r0_->setText(NumberText(0.0));
  q_->setValue(1);

  connect(test_kind_, &QComboBox::currentIndexChanged, this, [this] {
    ShowFieldsOfKind();
    emit changed();
  });
  for (QSpinBox* box : {var_i_, var_j_, q_})
    connect(box, &QSpinBox::valueChanged, this, &ParameterGroup::changed);
  connect(r0_, &QLineEdit::textChanged, this, &ParameterGroup::changed);
  ShowFieldsOfKind();
}

int HypothesisGroup::TestKind() const { return test_kind_->currentData().toInt(); }

void HypothesisGroup::ShowFieldsOfKind() {
  const int kind = TestKind();
  form_->setRowVisible(1, TestKindHasVarI(kind));
  form_->setRowVisible(2, TestKindHasVarJ(kind));
  form_->setRowVisible(3, TestKindHasR0(kind));
  form_->setRowVisible(4, TestKindHasQ(kind));
}

void HypothesisGroup::Show(const RunParameters& parameters) {
  const int kind = parameters.TestKind;
  test_kind_->setCurrentIndex(test_kind_->findData(kind));
  if (TestKindHasVarI(kind)) var_i_->setValue(parameters.VarI);
  if (TestKindHasVarJ(kind)) var_j_->setValue(parameters.VarJ);
  if (TestKindHasR0(kind)) r0_->setText(NumberText(parameters.R0));
  if (TestKindHasQ(kind)) q_->setValue(parameters.Q);
}

void HypothesisGroup::Collect(RunParameters& parameters, std::vector<ParameterProblem>& problems) const {
  const int kind = TestKind();
  parameters.TestKind = static_cast<std::int8_t>(kind);
  parameters.VarI = TestKindHasVarI(kind) ? var_i_->value() : 0;
  parameters.VarJ = TestKindHasVarJ(kind) ? var_j_->value() : 0;
  parameters.R0 = 0;
  if (TestKindHasR0(kind)) CollectNumber(r0_, "R0", parameters.R0, problems);
  parameters.Q = TestKindHasQ(kind) ? q_->value() : 0;
}
