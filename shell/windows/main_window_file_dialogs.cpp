// The main window's file dialogs and file types: the dialogs are set up for a
// set of file types, and a chosen file is opened or saved by its type, which
// its extension gives. Opening and saving keep the recent-file lists.
#include "platform/exceptions.h"
#include "platform/program_folder.h"
#include "shell/model/calculation.h"
#include "shell/model/project.h"
#include "shell/model/strings.h"
#include "shell/windows/action_list.h"
#include "shell/windows/file_paths.h"
#include "shell/windows/main_window.h"

namespace {

struct FileTypeRow {
  int type;
  int filter_id;
  const char* extension;
};

// In the order in which their filter pairs are listed.
constexpr FileTypeRow kFileTypes[] = {
    {ftProject, StringId::ProjectFilter, "spr"},   {ftCalculation, StringId::CalculationFilter, "scl"},
    {ftDataSet, StringId::DataSetFilter, "sds"},   {ftReport, StringId::ReportFilter, "html"},
    {ftWorkbook, StringId::WorkbookFilter, "xls"},
};

constexpr int kAllFileTypes = ftProject | ftCalculation | ftDataSet | ftReport | ftWorkbook;

const char* ExtensionOfType(int type) {
  for (const FileTypeRow& row : kFileTypes) {
    if (row.type == type) return row.extension;
  }
  return "";
}

}  // namespace

bool TWMain::RefusesFile(const Exception& error) {
  return dynamic_cast<const EFOpenError*>(&error) != nullptr ||
         dynamic_cast<const EReadError*>(&error) != nullptr;
}

TFileDialog& TWMain::FileDialog(TFileDialog::Kind kind) {
  return kind == TFileDialog::Kind::Open ? OpenDialog_ : SaveDialog_;
}

void TWMain::PrepareFileDialog(TFileDialog::Kind kind, int mask, int index) {
  TFileDialog& dialog = FileDialog(kind);
  FileDialogSetup& setup = dialog.Setup();
  setup.initial_folder =
      FProject != nullptr && !FProject->IsNew()
          ? FProject->GetFolder()
          : QString::fromStdString(platform::ProgramFolder()) + LoadStr(StringId::ProjectsFolder);

  setup.filter.clear();
  for (const FileTypeRow& row : kFileTypes) {
    if ((mask & row.type) == 0) continue;
    if (!setup.filter.isEmpty()) setup.filter += '|';
    setup.filter += LoadStr(row.filter_id);
  }
  if ((mask & kAllFileTypes) != 0) setup.filter += '|' + LoadStr(StringId::AllFilesFilter);

  // The last set bit of this order wins.
  QString default_ext;
  for (int type : {ftReport, ftDataSet, ftCalculation, ftProject, ftWorkbook}) {
    if ((mask & type) != 0) default_ext = ExtensionOfType(type);
  }
  dialog.SetDefaultExt(default_ext);
  setup.filter_index = index;
}

int TWMain::FileTypeByExt(const QString& path) {
  const QString extension = ExtensionOf(path).mid(1);
  for (int type : {ftProject, ftCalculation, ftDataSet, ftReport}) {
    if (extension == ExtensionOfType(type)) return type;
  }
  return ftOther;
}

void TWMain::RunFileDialog(TFileDialog::Kind kind, int mask) {
  TFileDialog& dialog = FileDialog(kind);
  if (!dialog.Execute()) return;
  const QString path = dialog.FileName();
  const int type = FileTypeByExt(path);
  if ((type & mask) == 0) return;
  if (kind == TFileDialog::Kind::Open) {
    OpenFileOfType(type, path);
  } else {
    SaveFileOfType(type, path);
  }
}

void TWMain::OpenFileOfType(int type, const QString& path) {
  if (type == ftProject) {
    OpenProjectFile(path);
  } else if (type == ftCalculation || type == ftDataSet) {
    if (FProject == nullptr) {
      prompt_.Error(LoadStr(StringId::NoActiveProject));
    } else if (type == ftCalculation) {
      OpenCalculationFile(path);
    } else {
      FProject->AddDataSet(path);
      RefreshProjectTree();
    }
  }
}

// The project opens only when its active calculation opens too.
void TWMain::OpenProjectFile(const QString& path) {
  ActionList_->Perform(FileCloseAll);
  // Still open: closing is refused while its calculation runs, and called off
  // when a save the user asked for did not happen.
  if (FProject != nullptr) return;
  AddRecentPath(FHistProjects, path, kHistProjectSlots);
  FProject = new TProject("");
  const auto discard = [this] {
    TCalculation::Free(FCalculation);
    FCalculation = nullptr;
    delete FProject;
    FProject = nullptr;
    ClearProjectTree();
  };
  try {
    FProject->LoadFromFile(path);
    RefreshProjectTree();
    const int active = FProject->GetActiveCalculation();
    // The placeholder of a calculation never saved names no file.
    if (active == -1 || FProject->GetCalculations().at(active) == LoadStr(StringId::Untitled)) return;
    FCalculation = new TCalculation("");
    FCalculation->LoadFromFile(FProject->GetCalculations().at(active));
  } catch (const Exception& error) {
    if (RefusesFile(error)) discard();
    throw;
  }
  RefreshCalculationPanel();
}

void TWMain::OpenCalculationFile(const QString& path) {
  ActionList_->Perform(FileClose);
  if (FCalculation != nullptr) return;
  AddRecentPath(FHistCalcs, path, kHistCalcSlots);
  FCalculation = new TCalculation("");
  try {
    FCalculation->LoadFromFile(path);
  } catch (const Exception& error) {
    if (RefusesFile(error)) {
      TCalculation::Free(FCalculation);
      FCalculation = nullptr;
    }
    throw;
  }
  FProject->AddCalculation(path);
  RefreshProjectTree();
  RefreshCalculationPanel();
}

void TWMain::SaveFileOfType(int type, const QString& path) {
  if (type == ftProject) {
    AddRecentPath(FHistProjects, path, kHistProjectSlots);
    FProject->SaveAs(path);
  } else if (type == ftCalculation) {
    AddRecentPath(FHistCalcs, path, kHistCalcSlots);
    FCalculation->SaveAs(path);
  }
}
