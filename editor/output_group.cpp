#include "editor/output_group.h"

#include <QFormLayout>

#include "platform/cp1251.h"
#include "platform/exceptions.h"

OutputGroup::OutputGroup(ProblemLabels& problems, QWidget* parent)
    : ParameterGroup("Результаты", parent),
      save_values_(new QCheckBox("Сохранять значения статистик в файлы", this)),
      statistics_path_(new QLineEdit(this)),
      estimate_mean_(new QCheckBox("Оценивать математическое ожидание", this)),
      estimate_covariance_(new QCheckBox("Оценивать ковариационную и корреляционную матрицы", this)) {
  save_values_->setObjectName("chkSaveValues");
  statistics_path_->setObjectName("edStatisticsPath");
  statistics_path_->setEnabled(false);
  estimate_mean_->setObjectName("chkEstimateMean");
  estimate_covariance_->setObjectName("chkEstimateCovariance");

  auto* form = new QFormLayout(this);
  form->addRow(save_values_);
  form->addRow("Путь файлов статистик:",
               FieldWithProblem(statistics_path_, "StatisticsPath", problems, this));
  form->addRow(estimate_mean_);
  form->addRow(estimate_covariance_);

  connect(save_values_, &QCheckBox::toggled, statistics_path_, &QLineEdit::setEnabled);
  for (QCheckBox* box : {save_values_, estimate_mean_, estimate_covariance_}) {
    connect(box, &QCheckBox::toggled, this, &ParameterGroup::changed);
  }
  connect(statistics_path_, &QLineEdit::textChanged, this, &ParameterGroup::changed);
}

void OutputGroup::Show(const RunParameters& parameters) {
  save_values_->setChecked(parameters.SaveValues != 0);
  statistics_path_->setText(QString::fromStdString(platform::Cp1251ToUtf8(parameters.StatisticsPath)));
  estimate_mean_->setChecked(parameters.EstimateMean != 0);
  estimate_covariance_->setChecked(parameters.EstimateCovariance != 0);
}

void OutputGroup::Collect(RunParameters& parameters, std::vector<ParameterProblem>& problems) const {
  parameters.SaveValues = save_values_->isChecked() ? 1 : 0;
  parameters.StatisticsPath.clear();
  if (parameters.SaveValues != 0) {
    // The block holds the path in code page 1251; a path it cannot hold
    // would name other files than the user typed.
    try {
      parameters.StatisticsPath = platform::Utf8ToCp1251(statistics_path_->text().toStdString());
    } catch (const EConvertError& error) {
      problems.push_back({"StatisticsPath", "Путь файлов статистик: " + error.Message()});
    }
  }
  parameters.EstimateMean = estimate_mean_->isChecked() ? 1 : 0;
  parameters.EstimateCovariance = estimate_covariance_->isChecked() ? 1 : 0;
}
