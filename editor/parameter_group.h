// One area of the editor's form: it shows its fields of the parameter block,
// collects them back and tells when the user changes one of them.
#pragma once

#include <QGroupBox>
#include <QLineEdit>
#include <QSpinBox>
#include <vector>

#include "editor/problem_labels.h"
#include "method/parameter_check.h"
#include "method/run_parameters.h"

class ParameterGroup : public QGroupBox {
  Q_OBJECT

 public:
  ParameterGroup(const QString& title, QWidget* parent);

  virtual void Show(const RunParameters& parameters) = 0;

  // Puts the values shown into `parameters`, leaving out (at zero) what the
  // chosen kinds do not carry, as the block's decoder would. A text that holds
  // no value of its field adds a problem for that field.
  virtual void Collect(RunParameters& parameters, std::vector<ParameterProblem>& problems) const = 0;

 signals:
  void changed();
  // A text the group could not take was refused; its value stayed.
  void refused();
};

// A field above the label that gives its problem, as one form row.
QWidget* FieldWithProblem(QWidget* field, const std::string& name, ProblemLabels& problems, QWidget* parent);

// A spin box over the whole 32-bit range: the method's checks, not the box,
// decide which counts and numbers are acceptable.
QSpinBox* NewInt32Box(const QString& name, QWidget* parent);

QLineEdit* NewNumberEdit(const QString& name, QWidget* parent);

// The number in the edit field, or a problem for the field.
void CollectNumber(const QLineEdit* edit, const std::string& field, double& value,
                   std::vector<ParameterProblem>& problems);
void CollectNumber(const QLineEdit* edit, const std::string& field, float& value,
                   std::vector<ParameterProblem>& problems);
