// The project page of the main window: the tree of the open project.
#include "shell/windows/main_window.h"

// The tree fills its page but for a margin of 5 on every side; it follows the
// page when the page changes its size.
void TWMain::tsProjectShow() { tvProject->resize(tsProject->width() - 10, tsProject->height() - 10); }

void TWMain::ClearProjectTree() {
  tsProject->setEnabled(false);
  QTreeWidgetItem* root = tvProject->topLevelItem(0);
  root->setText(0, "Проект");
  tvProject->collapseAll();
  for (int group = 0; group < root->childCount(); ++group) qDeleteAll(ProjectGroup(group)->takeChildren());
}

QTreeWidgetItem* TWMain::ProjectGroup(int group) const { return tvProject->topLevelItem(0)->child(group); }

// The selected node when it is an entry of that group, else null.
QTreeWidgetItem* TWMain::SelectedNodeOf(int group) const {
  QTreeWidgetItem* node = tvProject->currentItem();
  if (node == nullptr || !node->isSelected() || node->parent() != ProjectGroup(group)) return nullptr;
  return node;
}
