// The labels beside the fields that say why the method would refuse the value
// a field holds. A field without a problem shows nothing.
#pragma once

#include <QLabel>
#include <map>
#include <string>
#include <vector>

#include "method/parameter_check.h"

class ProblemLabels {
 public:
  // `general` takes the problems of fields that have no label of their own.
  explicit ProblemLabels(QLabel* general);

  // A hidden label for the field, named "lblProblem" and the field's name.
  QLabel* Add(const std::string& field, QWidget* parent);

  void Show(const std::vector<ParameterProblem>& problems);

  // Shows one reason beside the field until the next Show.
  void ShowOne(const std::string& field, const QString& reason);

 private:
  QLabel* general_;
  std::map<std::string, QLabel*> labels_;
};

// Styles a label that tells the user of a problem.
void MarkAsProblem(QLabel* label);
