#include "editor/problem_labels.h"

ProblemLabels::ProblemLabels(QLabel* general) : general_(general) {}

void MarkAsProblem(QLabel* label) {
  label->setStyleSheet("color: #b00000;");
  label->setWordWrap(true);
  label->hide();
}

QLabel* ProblemLabels::Add(const std::string& field, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromStdString("lblProblem" + field));
  MarkAsProblem(label);
  labels_[field] = label;
  return label;
}

void ProblemLabels::Show(const std::vector<ParameterProblem>& problems) {
  for (const auto& [field, label] : labels_) {
    label->clear();
    label->hide();
  }
  QStringList unplaced;
  for (const ParameterProblem& problem : problems) {
    const auto label = labels_.find(problem.Field);
    if (label == labels_.end()) {
      unplaced << QString::fromStdString(problem.Message);
      continue;
    }
    label->second->setText(QString::fromStdString(problem.Message));
    label->second->show();
  }
  general_->setText(unplaced.join('\n'));
  general_->setVisible(!unplaced.isEmpty());
}

void ProblemLabels::ShowOne(const std::string& field, const QString& reason) {
  QLabel* label = labels_.at(field);
  label->setText(reason);
  label->show();
}
