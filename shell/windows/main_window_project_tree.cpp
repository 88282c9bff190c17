// The project page of the main window: the tree of the open project, with
// its calculations, data sets and reports, and the commands on it.
#include "platform/exceptions.h"
#include "platform/quoted.h"
#include "shell/model/calculation.h"
#include "shell/model/project.h"
#include "shell/model/strings.h"
#include "shell/windows/action_list.h"
#include "shell/windows/file_paths.h"
#include "shell/windows/image_list.h"
#include "shell/windows/main_window.h"
#include "shell/windows/report_window.h"

namespace {

constexpr int kCalculationImage = 1;
constexpr int kActiveCalculationImage = 22;
constexpr int kDataSetImage = 25;
constexpr int kReportImage = 21;

// A report entry is its caption, "|" and its folder; the caption may hold
// "|" itself, so the node shows everything before the last one.
QString ReportCaption(const QString& entry) {
  const qsizetype bar = entry.lastIndexOf('|');
  return bar < 0 ? QString() : entry.left(bar);
}

// An entry's index after a close that removed at most one entry (the
// placeholder of a calculation never saved); -1 when that was the entry.
int IndexAfterClosing(const QStringList& before, const QStringList& after, int index) {
  if (after.size() == before.size()) return index;
  int removed = 0;
  while (removed < after.size() && before[removed] == after[removed]) ++removed;
  if (removed == index) return -1;
  return removed < index ? index - 1 : index;
}

}  // namespace

// The tree fills its page but for a margin of 5 on every side; it follows the
// page when the page changes its size.
void TWMain::tsProjectShow() { tvProject->resize(tsProject->width() - 10, tsProject->height() - 10); }

void TWMain::RefreshProjectTree() {
  tsProject->setEnabled(true);
  tvProject->topLevelItem(0)->setText(0, FProject->GetName());
  const QString folder = FProject->GetFolder();

  QTreeWidgetItem* group = ProjectGroup(kCalculationsGroup);
  qDeleteAll(group->takeChildren());
  const int active = FProject->GetActiveCalculation();
  const QStringList& calculations = FProject->GetCalculations();
  for (int index = 0; index < calculations.size(); ++index) {
    AddNode(group, RelativePath(calculations[index], folder),
            index == active ? kActiveCalculationImage : kCalculationImage);
  }

  group = ProjectGroup(kDataSetsGroup);
  qDeleteAll(group->takeChildren());
  for (const QString& path : FProject->GetDataSets())
    AddNode(group, RelativePath(path, folder), kDataSetImage);

  group = ProjectGroup(kReportsGroup);
  qDeleteAll(group->takeChildren());
  for (const QString& entry : FProject->GetReports()) AddNode(group, ReportCaption(entry), kReportImage);

  tvProject->expandAll();
}

void TWMain::ClearProjectTree() {
  tsProject->setEnabled(false);
  QTreeWidgetItem* root = tvProject->topLevelItem(0);
  root->setText(0, "Проект");
  tvProject->collapseAll();
  for (int group = 0; group < root->childCount(); ++group) qDeleteAll(ProjectGroup(group)->takeChildren());
}

// A last child of `parent`, or the root when `parent` is null.
QTreeWidgetItem* TWMain::AddNode(QTreeWidgetItem* parent, const QString& text, int image) const {
  auto* node = new QTreeWidgetItem({text});
  node->setIcon(0, ilMenuItem->Icon(image));
  node->setData(0, kImageIndexRole, image);
  if (parent != nullptr) {
    parent->addChild(node);
  } else {
    tvProject->addTopLevelItem(node);
  }
  return node;
}

QTreeWidgetItem* TWMain::ProjectGroup(int group) const { return tvProject->topLevelItem(0)->child(group); }

// The selected node when it is an entry of that group, else null.
QTreeWidgetItem* TWMain::SelectedNodeOf(int group) const {
  QTreeWidgetItem* node = tvProject->currentItem();
  if (node == nullptr || !node->isSelected() || node->parent() != ProjectGroup(group)) return nullptr;
  return node;
}

// Closing the open calculation may take a placeholder entry out of the list,
// which moves the entries after it up by one.
void TWMain::PrjSetActiveExecute() {
  QTreeWidgetItem* node = SelectedNodeOf(kCalculationsGroup);
  int index = node->parent()->indexOfChild(node);
  const QStringList before = FProject->GetCalculations();
  ActionList_->Perform(FileClose);
  if (FCalculation != nullptr) return;
  index = IndexAfterClosing(before, FProject->GetCalculations(), index);
  if (index < 0) return;

  FCalculation = new TCalculation("");
  try {
    FCalculation->LoadFromFile(FProject->GetCalculations().at(index));
  } catch (const Exception&) {
    TCalculation::Free(FCalculation);
    FCalculation = nullptr;
    throw;
  }
  FProject->SetActiveCalculation(index);
  RefreshProjectTree();
  RefreshCalculationPanel();
}

void TWMain::PrjAddExecute() {
  constexpr int kMask = ftCalculation | ftDataSet;
  PrepareFileDialog(TFileDialog::Kind::Open, kMask, 1);
  RunFileDialog(TFileDialog::Kind::Open, kMask);
}

void TWMain::PrjDelExecute() {
  if (QTreeWidgetItem* node = SelectedNodeOf(kCalculationsGroup)) {
    const int index = node->parent()->indexOfChild(node);
    if (prompt_.Confirm(LoadStr(StringId::DeleteCalculationQuestion)) != Prompt::Answer::Yes) return;
    DeleteCalculationEntry(index);
    RefreshProjectTree();
  } else if (QTreeWidgetItem* report = SelectedNodeOf(kReportsGroup)) {
    const int index = report->parent()->indexOfChild(report);
    if (prompt_.Confirm(LoadStr(StringId::DeleteReportQuestion)) != Prompt::Answer::Yes) return;
    const QString kept = FProject->DeleteReport(index);
    RefreshProjectTree();
    if (!kept.isEmpty()) {
      prompt_.Information(QString::fromStdString(
          "Папка " + platform::Quoted(kept.toStdString()) +
          " не является папкой отчета этого проекта: отчет убран из проекта, файлы папки не удалены."));
    }
  }
}

// The open calculation's own entry closes it first, as "Закрыть" does; a
// calculation never saved takes its placeholder entry with it. Whichever
// entry goes, the project's active entry keeps naming the open calculation.
void TWMain::DeleteCalculationEntry(int index) {
  int open_entry = FCalculation != nullptr ? FProject->GetActiveCalculation() : -1;
  if (index == open_entry) {
    const qsizetype count = FProject->GetCalculations().size();
    ActionList_->Perform(FileClose);
    if (FCalculation != nullptr) return;
    if (FProject->GetCalculations().size() < count) return;
    open_entry = -1;
  }
  FProject->DeleteCalculation(index);
  FProject->SetActiveCalculation(open_entry > index ? open_entry - 1 : open_entry);
}

void TWMain::tvProjectDblClick(QTreeWidgetItem* node) {
  if (node == nullptr || node->parent() != ProjectGroup(kReportsGroup)) return;
  const QString folder = FProject->GetReportFolder(node->text(0));
  if (folder.isEmpty()) return;
  auto* report = new TWReport(mdiArea);
  report->setWindowTitle(node->text(0));
  report->Navigate(folder + '/' + LoadStr(StringId::ReportFile));
}

void TWMain::itemRenameProjectClick() {
  if (FProject == nullptr) return;
  ReportingMemoryShortage([this] {
    const std::optional<QString> name =
        prompt_.AskName("Переименование проекта", LoadStr(StringId::ProjectNameLabel), FProject->GetName());
    if (!name) return;
    FProject->SetName(*name);
    RefreshProjectTree();
  });
}
