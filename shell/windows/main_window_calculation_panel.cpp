// The calculation page of the main window: the open calculation, its data set
// and method, and the Run button.
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

void TWMain::ClearCalculationPanel() {
  tsCalculation->setEnabled(false);
  gbCalculation->setTitle("Расчет");
  cbDataSets->setCurrentIndex(-1);
  cbMethods->setCurrentIndex(-1);
}
