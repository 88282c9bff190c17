#include "editor/parameter_group.h"

#include <QVBoxLayout>
#include <cstdint>
#include <limits>

#include "editor/number_text.h"

ParameterGroup::ParameterGroup(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

QWidget* FieldWithProblem(QWidget* field, const std::string& name, ProblemLabels& problems, QWidget* parent) {
  auto* row = new QWidget(parent);
  auto* layout = new QVBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(field);
  layout->addWidget(problems.Add(name, row));
  return row;
}

QSpinBox* NewInt32Box(const QString& name, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(name);
  box->setRange(std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
  return box;
}

QLineEdit* NewNumberEdit(const QString& name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  return edit;
}

namespace {

template <typename Value, typename Parse>
void CollectWith(Parse parse, const QLineEdit* edit, const std::string& field, Value& value,
                 std::vector<ParameterProblem>& problems) {
  const std::optional<Value> number = parse(edit->text());
  if (number) {
    value = *number;
  } else {
    problems.push_back({field, NotANumberMessage(edit->text())});
  }
}

}  // namespace

void CollectNumber(const QLineEdit* edit, const std::string& field, double& value,
                   std::vector<ParameterProblem>& problems) {
  CollectWith(ParseDouble, edit, field, value, problems);
}

void CollectNumber(const QLineEdit* edit, const std::string& field, float& value,
                   std::vector<ParameterProblem>& problems) {
  CollectWith(ParseFloat, edit, field, value, problems);
}
