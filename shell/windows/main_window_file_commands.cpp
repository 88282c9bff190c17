// The File commands: new, open, save and close of the open project and
// calculation, with the save questions, and the recent-file submenu.
#include <new>

#include "platform/exceptions.h"
#include "shell/model/calculation.h"
#include "shell/model/project.h"
#include "shell/model/strings.h"
#include "shell/windows/action_list.h"
#include "shell/windows/main_window.h"
#include "shell/windows/window_close_all.h"

// A command that runs out of memory, in the name dialog or in the model,
// tells it in one message of its own.
void TWMain::ReportingMemoryShortage(const std::function<void()>& work) {
  try {
    work();
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory(LoadStdStr(StringId::OutOfMemory));
  } catch (const EHeapException&) {
    throw EOutOfMemory(LoadStdStr(StringId::OutOfMemory));
  }
}

void TWMain::FileNewProjectExecute() {
  ReportingMemoryShortage([this] {
    const std::optional<QString> name =
        prompt_.AskName(LoadStr(StringId::NewProjectCaption), LoadStr(StringId::ProjectNameLabel),
                        LoadStr(StringId::NewProjectName));
    if (!name) return;
    ActionList_->Perform(FileCloseAll);
    if (FProject != nullptr) return;
    FProject = new TProject(*name);
    RefreshProjectTree();
  });
}

void TWMain::FileNewCalculationExecute() {
  ReportingMemoryShortage([this] {
    const std::optional<QString> name =
        prompt_.AskName(LoadStr(StringId::NewCalculationCaption), LoadStr(StringId::CalculationNameLabel),
                        LoadStr(StringId::NewCalculationName));
    if (!name) return;
    ActionList_->Perform(FileClose);
    if (FCalculation != nullptr) return;
    FCalculation = new TCalculation(*name);
    FProject->AddCalculation(LoadStr(StringId::Untitled));
    RefreshProjectTree();
    RefreshCalculationPanel();
  });
}

void TWMain::FileOpenExecute() {
  constexpr int kMask = ftProject | ftCalculation | ftDataSet;
  PrepareFileDialog(TFileDialog::Kind::Open, kMask, 1);
  RunFileDialog(TFileDialog::Kind::Open, kMask);
}

void TWMain::FileOpenProjectExecute() {
  PrepareFileDialog(TFileDialog::Kind::Open, ftProject, 1);
  RunFileDialog(TFileDialog::Kind::Open, ftProject);
}

// Runs whenever the submenu opens. The calculations continue the numbering
// of the projects.
void TWMain::FileReopenExecute() {
  const QList<QAction*> items = itemReopen->actions();
  const qsizetype first_calc = kHistProjectSlots + 1;  // past the separator
  for (qsizetype slot = 0; slot < kHistProjectSlots; ++slot) {
    QAction* item = items[slot];
    item->setVisible(slot < FHistProjects.size());
    if (slot < FHistProjects.size()) item->setText(QString("&%1 %2").arg(slot + 1).arg(FHistProjects[slot]));
  }
  for (qsizetype slot = 0; slot < kHistCalcSlots; ++slot) {
    QAction* item = items[first_calc + slot];
    item->setVisible(slot < FHistCalcs.size());
    if (slot < FHistCalcs.size()) {
      item->setText(QString("&%1 %2").arg(slot + FHistProjects.size() + 1).arg(FHistCalcs[slot]));
    }
  }
}

// The caption ends with the path, so the path's extension gives the type. An
// entry whose file cannot be opened leaves its list.
void TWMain::FileHistoryItemExecute(QAction* item) {
  const QList<QAction*> items = itemReopen->actions();
  const qsizetype position = items.indexOf(item);
  const int type = FileTypeByExt(item->text());
  QStringList* list = nullptr;
  qsizetype slot = 0;
  if (type == ftProject) {
    list = &FHistProjects;
    slot = position;
  } else if (type == ftCalculation) {
    if (FProject == nullptr) {
      prompt_.Error(LoadStr(StringId::NoActiveProject));
      return;
    }
    list = &FHistCalcs;
    slot = position - (kHistProjectSlots + 1);
  }
  if (list == nullptr || slot < 0 || slot >= list->size()) return;
  try {
    OpenFileOfType(type, list->at(slot));
  } catch (const Exception& error) {
    if (RefusesFile(error) && slot < list->size()) list->removeAt(slot);
    throw;
  }
}

void TWMain::FileSaveExecute() {
  if (FCalculation->IsNew()) {
    ActionList_->Perform(FileSaveAs);
  } else {
    FCalculation->Save();
  }
}

// The project's active entry follows the calculation's file name, so a saved
// new calculation replaces its placeholder.
void TWMain::FileSaveAsExecute() {
  PrepareFileDialog(TFileDialog::Kind::Save, ftCalculation, 1);
  RunFileDialog(TFileDialog::Kind::Save, ftCalculation);
  FProject->RenameActiveCalculation(FCalculation->GetFileName());
  RefreshProjectTree();
}

// The tree shows paths relative to the project's folder, which may now be
// another.
void TWMain::FileProjectSaveAsExecute() {
  PrepareFileDialog(TFileDialog::Kind::Save, ftProject, 1);
  RunFileDialog(TFileDialog::Kind::Save, ftProject);
  RefreshProjectTree();
}

void TWMain::FileSaveAllExecute() {
  ActionList_->Perform(FileSave);
  if (FProject->IsNew()) {
    ActionList_->Perform(FileProjectSaveAs);
  } else {
    FProject->Save();
  }
}

bool TWMain::AskToSave(int question_id) {
  return prompt_.Question(LoadStr(StringId::WarningCaption), LoadStr(question_id)) == Prompt::Answer::Yes;
}

// A save that fails ends the command before anything is closed, and so does
// a Save As dialog cancelled after the user answered Yes: the work the user
// chose to keep is not thrown away. The callers see the calculation still open.
void TWMain::FileCloseExecute() {
  if (FCalculation->IsModified() && AskToSave(StringId::SaveCalculationQuestion)) {
    if (FCalculation->IsNew()) {
      ActionList_->Perform(FileSaveAs);
    } else {
      FCalculation->Save();
    }
    if (FCalculation->IsModified()) return;
  }
  if (FCalculation->IsNew()) FProject->RemoveCalculation(LoadStr(StringId::Untitled));
  FProject->SetActiveCalculation(-1);
  TCalculation::Free(FCalculation);
  FCalculation = nullptr;
  ClearCalculationPanel();
  RefreshProjectTree();
}

// As with one calculation, a close whose save did not happen is called off.
void TWMain::FileCloseAllExecute() {
  ActionList_->Perform(WindowCloseAll);
  ActionList_->Perform(FileClose);
  if (FCalculation != nullptr) return;
  if (FProject->IsModified() && AskToSave(StringId::SaveProjectQuestion)) {
    if (FProject->IsNew()) {
      ActionList_->Perform(FileProjectSaveAs);
    } else {
      FProject->Save();
    }
    if (FProject->IsModified()) return;
  }
  delete FProject;
  FProject = nullptr;
  ClearProjectTree();
}

void TWMain::FileExitExecute() { close(); }
