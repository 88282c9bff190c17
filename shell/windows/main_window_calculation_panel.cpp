// The calculation page of the main window: the open calculation, its data set
// and method, and the parameter editor's button.
#include <QFileInfo>

#include "shell/config/method_registry.h"
#include "shell/model/calculation.h"
#include "shell/model/project.h"
#include "shell/windows/drop_down_combo_box.h"
#include "shell/windows/main_window.h"

// Widths follow the page; the memo also fills the page's height below its top.
void TWMain::tsCalculationShow() {
  const int page_width = tsCalculation->width();
  gbCalculation->resize(page_width - 10, gbCalculation->height());
  const int group_width = gbCalculation->width();
  cbDataSets->resize(group_width - 48, cbDataSets->height());
  cbMethods->resize(group_width - 48, cbMethods->height());
  sbEditDataSet->move(group_width - 33, sbEditDataSet->y());
  sbEditParameters->move(group_width - 33, sbEditParameters->y());
  bbRunCalculation->resize(page_width - 10, bbRunCalculation->height());
  mCalculationInfo->resize(page_width - 10, tsCalculation->height() - mCalculationInfo->y() - 5);
}

// A method already shown keeps its selection and hint; otherwise the
// calculation's method is looked up by its display name. The data-set box
// shows the calculation's data set: selected among the project's, or, when
// the project does not list it, its file name greyed in the empty box.
void TWMain::RefreshCalculationPanel() {
  tsCalculation->setEnabled(true);
  gbCalculation->setTitle(FCalculation->GetName());
  // Qt selects the first item when the placeholder is emptied while nothing
  // is selected, so the placeholder is set before the selection.
  cbDataSetsDropDown();
  cbDataSets->setPlaceholderText(QFileInfo(FCalculation->GetDataSet()).fileName());
  cbDataSets->setCurrentIndex(FProject->GetDataSets().indexOf(FCalculation->GetDataSet()));
  if (cbMethods->currentIndex() < 0) {
    cbMethods->setCurrentIndex(cbMethods->findText(FCalculation->GetMethodName(), Qt::MatchFixedString));
    cbMethods->setToolTip(FCalculation->GetFullName());
  }
}

void TWMain::ClearCalculationPanel() {
  tsCalculation->setEnabled(false);
  gbCalculation->setTitle("Расчет");
  cbDataSets->setPlaceholderText(QString());
  cbDataSets->setCurrentIndex(-1);
  cbMethods->setCurrentIndex(-1);
}

// The items are the file names of the project's data sets, in the project's
// order, so an item's index is its entry's. The selection stays where it was.
void TWMain::cbDataSetsDropDown() {
  const int selected = cbDataSets->currentIndex();
  cbDataSets->clear();
  for (const QString& path : FProject->GetDataSets()) cbDataSets->addItem(QFileInfo(path).fileName());
  cbDataSets->setCurrentIndex(selected < cbDataSets->count() ? selected : -1);
}

void TWMain::cbDataSetsChange(int index) {
  if (index < 0 || index >= FProject->GetDataSets().size()) return;
  FCalculation->SetDataSet(FProject->GetDataSets().at(index));
}

// The method's values are read from its own section of the method registry.
void TWMain::cbMethodsChange(int index) {
  if (index < 0 || index >= FMethodKeys.size()) return;
  const MethodEntry method = ReadMethodEntry(ini_path_, FMethodKeys.at(index));
  cbMethods->setToolTip(method.full_name);
  FCalculation->SetMethod(method.code, cbMethods->currentText(), method.full_name, method.param_editor_dll,
                          method.data_translator_dll, method.calc_program_dll);
  RefreshCalculationPanel();
}

void TWMain::CalcParameterEditorExecute() { FCalculation->RunParamEditor(); }
