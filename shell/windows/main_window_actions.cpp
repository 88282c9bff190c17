// The main window's action list: every command with its caption, hint,
// category and picture, in the list's stored order, the handlers bound to
// each, and the update handlers. While a calculation runs, the run owns it:
// the commands that would close, replace or re-bind it are disabled.
#include "shell/model/calculation.h"
#include "shell/model/project.h"
#include "shell/windows/action_list.h"
#include "shell/windows/drop_down_combo_box.h"
#include "shell/windows/ferrant_window.h"
#include "shell/windows/main_window.h"
#include "shell/windows/window_close_all.h"

void TWMain::CreateActions() {
  enum class Kind { Plain, Cascade, TileOneAboveTheOther, TileSideBySide, MinimizeAll, CloseAll };
  struct Row {
    ActionSpec spec;
    Kind kind;
    QAction* TWMain::*member;
  };
  static const Row kRows[] = {
      {{"PrjSetActive", "Project", "Сделать активным", nullptr, -1}, Kind::Plain, &TWMain::PrjSetActive},
      {{"WindowCascade", "Window", "Окна &каскадом", nullptr, 12}, Kind::Cascade, &TWMain::WindowCascade},
      {{"FileNewProject", "File", "Новый проект", "Создать новый проект", 0},
       Kind::Plain,
       &TWMain::FileNewProject},
      {{"FileNewCalculation", "File", "Новый расчет", "Создать новый расчет", 1},
       Kind::Plain,
       &TWMain::FileNewCalculation},
      {{"FileNewDataSet", "File", "Новый набор данных", "Новый набор данных", 25},
       Kind::Plain,
       &TWMain::FileNewDataSet},
      {{"FileOpen", "File", "Открыть...", "Открыть", 2}, Kind::Plain, &TWMain::FileOpen},
      {{"FileOpenProject", "File", "Открыть проект...", "Открыть проект", 3},
       Kind::Plain,
       &TWMain::FileOpenProject},
      {{"FileReopen", "File", "История", nullptr, -1}, Kind::Plain, &TWMain::FileReopen},
      {{"FileSave", "File", "Сохранить", "Сохранить", 4}, Kind::Plain, &TWMain::FileSave},
      {{"FileSaveAs", "File", "Сохранить как...", "Сохранить как...", 5}, Kind::Plain, &TWMain::FileSaveAs},
      {{"FileProjectSaveAs", "File", "Сохранить проект как...", "Сохранить проект как...", 6},
       Kind::Plain,
       &TWMain::FileProjectSaveAs},
      {{"FileSaveAll", "File", "Сохранить все", "Сохранить все", 7}, Kind::Plain, &TWMain::FileSaveAll},
      {{"FileClose", "File", "Закрыть", "Закрыть", 8}, Kind::Plain, &TWMain::FileClose},
      {{"FileCloseAll", "File", "Закрыть все", "Закрыть все", 9}, Kind::Plain, &TWMain::FileCloseAll},
      {{"WindowTileHorizontal", "Window", "Окна свер&ху вниз", nullptr, 13},
       Kind::TileOneAboveTheOther,
       &TWMain::WindowTileHorizontal},
      {{"WindowTileVertical", "Window", "Окна с&лева направо", nullptr, 14},
       Kind::TileSideBySide,
       &TWMain::WindowTileVertical},
      {{"WindowMinimizeAll", "Window", "Св&ернуть все окна", nullptr, -1},
       Kind::MinimizeAll,
       &TWMain::WindowMinimizeAll},
      {{"WindowCloseAll", "Window", "&Закрыть все окна", nullptr, 15}, Kind::CloseAll, nullptr},
      {{"FileExit", "File", "В&ыход", "Выход", 11}, Kind::Plain, &TWMain::FileExit},
      {{"CalcParameterEditor", "Calculation", nullptr, "Запуск редактора параметров", 16},
       Kind::Plain,
       &TWMain::CalcParameterEditor},
      {{"CalcTranslator", "Calculation", nullptr, "Выполнение транслятора данных", 16},
       Kind::Plain,
       &TWMain::CalcTranslator},
      {{"CalcRun", "Calculation", "&Запуск расчета", nullptr, -1}, Kind::Plain, &TWMain::CalcRun},
      {{"CalcAbort", "Calculation", "&Остановить расчет", nullptr, -1}, Kind::Plain, &TWMain::CalcAbort},
      {{"PrjAdd", "Project", "Добавить", "Добавить в прект", 17}, Kind::Plain, &TWMain::PrjAdd},
      {{"PrjDel", "Project", "Удалить", "Удалить из проекта", 18}, Kind::Plain, &TWMain::PrjDel},
  };

  for (const Row& row : kRows) {
    QAction* action = nullptr;
    switch (row.kind) {
      case Kind::Plain:
        break;
      case Kind::Cascade:
        action = new StandardWindowAction(this, &StandardWindowAction::Cascade);
        break;
      case Kind::TileOneAboveTheOther:
        action = new StandardWindowAction(this, &StandardWindowAction::TileOneAboveTheOther);
        break;
      case Kind::TileSideBySide:
        action = new StandardWindowAction(this, &StandardWindowAction::TileSideBySide);
        break;
      case Kind::MinimizeAll:
        action = new StandardWindowAction(this, &StandardWindowAction::MinimizeAll);
        break;
      case Kind::CloseAll:
        action = WindowCloseAll = new TWindowCloseAll(this);
        break;
    }
    action = ActionList_->Add(row.spec, action);
    if (row.member != nullptr) this->*row.member = action;
  }
  BindHandlers();
}

void TWMain::BindHandlers() {
  for (QAction* action : ActionList_->Actions()) {
    if (auto* window_action = dynamic_cast<WindowAction*>(action)) {
      ActionList_->SetHandlers(
          action, [this, window_action] { window_action->ExecuteTarget(mdiArea); },
          [this, window_action] { window_action->UpdateTarget(mdiArea); });
    }
  }
  const auto bind = [this](QAction* action, void (TWMain::*execute)(), void (TWMain::*update)()) {
    ActionList::Handler on_execute;
    ActionList::Handler on_update;
    if (execute != nullptr) on_execute = [this, execute] { (this->*execute)(); };
    if (update != nullptr) on_update = [this, update] { (this->*update)(); };
    ActionList_->SetHandlers(action, on_execute, on_update);
  };
  bind(PrjSetActive, &TWMain::PrjSetActiveExecute, &TWMain::PrjSetActiveUpdate);
  bind(FileNewProject, &TWMain::FileNewProjectExecute, &TWMain::FileNewProjectUpdate);
  bind(FileNewCalculation, &TWMain::FileNewCalculationExecute, &TWMain::FileNewCalculationUpdate);
  bind(FileNewDataSet, &TWMain::FileNewDataSetExecute, &TWMain::FileNewDataSetUpdate);
  bind(FileOpen, &TWMain::FileOpenExecute, &TWMain::FileOpenUpdate);
  bind(FileOpenProject, &TWMain::FileOpenProjectExecute, &TWMain::FileOpenUpdate);
  bind(FileReopen, &TWMain::FileReopenExecute, &TWMain::FileReopenUpdate);
  bind(FileSave, &TWMain::FileSaveExecute, &TWMain::FileSaveUpdate);
  bind(FileSaveAs, &TWMain::FileSaveAsExecute, &TWMain::FileSaveAsUpdate);
  bind(FileProjectSaveAs, &TWMain::FileProjectSaveAsExecute, &TWMain::FileProjectSaveAsUpdate);
  bind(FileSaveAll, &TWMain::FileSaveAllExecute, &TWMain::FileSaveAllUpdate);
  bind(FileClose, &TWMain::FileCloseExecute, &TWMain::FileCloseUpdate);
  bind(FileCloseAll, &TWMain::FileCloseAllExecute, &TWMain::FileCloseAllUpdate);
  bind(FileExit, &TWMain::FileExitExecute, nullptr);
  bind(CalcParameterEditor, &TWMain::CalcParameterEditorExecute, &TWMain::CalcParameterEditorUpdate);
  bind(CalcTranslator, &TWMain::CalcTranslatorExecute, &TWMain::CalcTranslatorUpdate);
  bind(CalcRun, &TWMain::CalcRunExecute, &TWMain::CalcRunUpdate);
  // Abort is never disabled: its update handler sets the state of Run.
  bind(CalcAbort, &TWMain::CalcAbortExecute, &TWMain::CalcRunUpdate);
  bind(PrjAdd, &TWMain::PrjAddExecute, &TWMain::PrjAddUpdate);
  bind(PrjDel, &TWMain::PrjDelExecute, &TWMain::PrjDelUpdate);
}

void TWMain::FileNewProjectUpdate() { FileNewProject->setEnabled(!CalculationRunning()); }

void TWMain::FileNewCalculationUpdate() {
  FileNewCalculation->setEnabled(FProject != nullptr && !CalculationRunning());
}

// The data-set editor adds its own condition: no editor window is open.
// One data-set editor at a time.
void TWMain::FileNewDataSetUpdate() {
  FileNewDataSet->setEnabled(FProject != nullptr && WFerrant == nullptr);
}

// Serves FileOpen and FileOpenProject.
void TWMain::FileOpenUpdate() {
  FileOpen->setEnabled(!CalculationRunning());
  FileOpenProject->setEnabled(!CalculationRunning());
}

void TWMain::FileReopenUpdate() {
  FileReopen->setEnabled((!FHistProjects.isEmpty() || !FHistCalcs.isEmpty()) && !CalculationRunning());
  sepFileReopen1->setVisible(!FHistProjects.isEmpty() && !FHistCalcs.isEmpty());
}

void TWMain::FileSaveUpdate() { FileSave->setEnabled(FCalculation != nullptr); }

void TWMain::FileSaveAsUpdate() { FileSaveAs->setEnabled(FCalculation != nullptr); }

void TWMain::FileProjectSaveAsUpdate() { FileProjectSaveAs->setEnabled(FProject != nullptr); }

void TWMain::FileSaveAllUpdate() {
  const bool project_unsaved = FProject != nullptr && (FProject->IsModified() || FProject->IsNew());
  const bool calculation_unsaved =
      FCalculation != nullptr && (FCalculation->IsModified() || FCalculation->IsNew());
  FileSaveAll->setEnabled(project_unsaved || calculation_unsaved);
}

void TWMain::FileCloseUpdate() { FileClose->setEnabled(FCalculation != nullptr && !CalculationRunning()); }

void TWMain::FileCloseAllUpdate() { FileCloseAll->setEnabled(FProject != nullptr && !CalculationRunning()); }

// Enabled on a calculation node other than the active calculation's.
void TWMain::PrjSetActiveUpdate() {
  QTreeWidgetItem* node = SelectedNodeOf(kCalculationsGroup);
  PrjSetActive->setEnabled(FProject != nullptr && node != nullptr &&
                           node->parent()->indexOfChild(node) != FProject->GetActiveCalculation() &&
                           !CalculationRunning());
}

// Adding may open a calculation file.
void TWMain::PrjAddUpdate() { PrjAdd->setEnabled(FProject != nullptr && !CalculationRunning()); }

// Calculations and reports can be removed from the project, data sets cannot;
// no calculation while one runs, since removing its entry closes it.
void TWMain::PrjDelUpdate() {
  const bool calculation = SelectedNodeOf(kCalculationsGroup) != nullptr && !CalculationRunning();
  const bool report = SelectedNodeOf(kReportsGroup) != nullptr;
  PrjDel->setEnabled(FProject != nullptr && (calculation || report));
}

void TWMain::CalcParameterEditorUpdate() {
  CalcParameterEditor->setEnabled(FCalculation != nullptr && FCalculation->HasParamEditor() &&
                                  !CalculationRunning());
}

// The data-set editor adds its own condition: no editor window is open.
void TWMain::CalcTranslatorUpdate() {
  CalcTranslator->setEnabled(WFerrant == nullptr && cbDataSets->currentIndex() >= 0);
}

void TWMain::CalcRunUpdate() {
  CalcRun->setEnabled(FCalculation != nullptr && FCalculation->HasCalcProgram() && !CalculationRunning());
}
