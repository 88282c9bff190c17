// The main window's two ways into the data-set editor: a new data set from
// the File menu, and the calculation panel's data set opened for editing.
#include "shell/model/project.h"
#include "shell/windows/drop_down_combo_box.h"
#include "shell/windows/ferrant_window.h"
#include "shell/windows/main_window.h"

void TWMain::FileNewDataSetExecute() { (new TWFerrant(this, QString()))->NewDataSet(); }

void TWMain::CalcTranslatorExecute() {
  const int index = cbDataSets->currentIndex();
  if (FProject == nullptr || index >= FProject->GetDataSets().size()) return;
  (new TWFerrant(this, QString()))->OpenDataSet(FProject->GetDataSets()[index]);
}
