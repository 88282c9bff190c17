#include "shell/windows/window_close_all.h"

#include <QMdiSubWindow>
#include <QPointer>

TWindowCloseAll::TWindowCloseAll(QObject* parent) : WindowAction(parent) {}

void TWindowCloseAll::ExecuteTarget(QObject* target) {
  QMdiArea* area = GetForm(target);
  if (area == nullptr) return;
  // Qt drops a closed child from the area's list at once, though it frees
  // the window only later; so the children are taken before the first is
  // closed, and each is asked exactly once.
  QList<QPointer<QMdiSubWindow>> children;
  for (QMdiSubWindow* child : area->subWindowList()) children.append(child);
  for (const QPointer<QMdiSubWindow>& child : children) {
    if (child) child->close();
  }
}
