// The main window's action list: every command with its caption, hint,
// category and picture, in the list's stored order, and the handlers bound to
// each.
#include "shell/model/calculation.h"
#include "shell/model/project.h"
#include "shell/windows/action_list.h"
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
  ActionList_->SetHandlers(FileNewCalculation, {}, [this] { FileNewCalculationUpdate(); });
  ActionList_->SetHandlers(FileReopen, {}, [this] { FileReopenUpdate(); });
  ActionList_->SetHandlers(FileSave, {}, [this] { FileSaveUpdate(); });
  ActionList_->SetHandlers(FileSaveAs, {}, [this] { FileSaveAsUpdate(); });
  ActionList_->SetHandlers(FileProjectSaveAs, {}, [this] { FileProjectSaveAsUpdate(); });
  ActionList_->SetHandlers(FileSaveAll, {}, [this] { FileSaveAllUpdate(); });
  ActionList_->SetHandlers(FileClose, {}, [this] { FileCloseUpdate(); });
  ActionList_->SetHandlers(FileCloseAll, {}, [this] { FileCloseAllUpdate(); });
  ActionList_->SetHandlers(PrjSetActive, {}, [this] { PrjSetActiveUpdate(); });
  ActionList_->SetHandlers(PrjAdd, {}, [this] { PrjAddUpdate(); });
  ActionList_->SetHandlers(PrjDel, {}, [this] { PrjDelUpdate(); });
  ActionList_->SetHandlers(CalcParameterEditor, {}, [this] { CalcParameterEditorUpdate(); });
  ActionList_->SetHandlers(CalcRun, {}, [this] { CalcRunUpdate(); });
  // Abort is never disabled: its update handler sets the state of Run.
  ActionList_->SetHandlers(CalcAbort, {}, [this] { CalcRunUpdate(); });
}

void TWMain::FileNewCalculationUpdate() { FileNewCalculation->setEnabled(FProject != nullptr); }

void TWMain::FileReopenUpdate() {
  FileReopen->setEnabled(!FHistProjects.isEmpty() || !FHistCalcs.isEmpty());
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

void TWMain::FileCloseUpdate() { FileClose->setEnabled(FCalculation != nullptr); }

void TWMain::FileCloseAllUpdate() { FileCloseAll->setEnabled(FProject != nullptr); }

// Enabled on a calculation node other than the active calculation's.
void TWMain::PrjSetActiveUpdate() {
  QTreeWidgetItem* node = SelectedNodeOf(kCalculationsGroup);
  PrjSetActive->setEnabled(FProject != nullptr && node != nullptr &&
                           node->parent()->indexOfChild(node) != FProject->GetActiveCalculation());
}

void TWMain::PrjAddUpdate() { PrjAdd->setEnabled(FProject != nullptr); }

// Calculations and reports can be removed from the project, data sets cannot.
void TWMain::PrjDelUpdate() {
  const bool removable =
      SelectedNodeOf(kCalculationsGroup) != nullptr || SelectedNodeOf(kReportsGroup) != nullptr;
  PrjDel->setEnabled(FProject != nullptr && removable);
}

void TWMain::CalcParameterEditorUpdate() {
  CalcParameterEditor->setEnabled(FCalculation != nullptr && FCalculation->HasParamEditor());
}

void TWMain::CalcRunUpdate() {
  CalcRun->setEnabled(FCalculation != nullptr && FCalculation->HasCalcProgram());
}
