#include "shell/windows/window_actions.h"

#include <QMdiSubWindow>

namespace {

// Windows that take part in tiling: the ones not minimized, shown again in
// their normal state.
QList<QMdiSubWindow*> TiledWindows(QMdiArea& area) {
  QList<QMdiSubWindow*> windows;
  for (QMdiSubWindow* window : area.subWindowList()) {
    if (window->isMinimized()) continue;
    window->showNormal();
    windows.append(window);
  }
  return windows;
}

}  // namespace

WindowAction::WindowAction(QObject* parent) : QAction(parent) {}

QMdiArea* WindowAction::GetForm(QObject* target) { return qobject_cast<QMdiArea*>(target); }

void WindowAction::UpdateTarget(QObject* target) {
  QMdiArea* area = GetForm(target);
  setEnabled(area != nullptr && !area->subWindowList().isEmpty());
}

StandardWindowAction::StandardWindowAction(QObject* parent, Arrangement arrangement)
    : WindowAction(parent), arrangement_(std::move(arrangement)) {}

void StandardWindowAction::ExecuteTarget(QObject* target) {
  if (QMdiArea* area = GetForm(target)) arrangement_(*area);
}

void StandardWindowAction::Cascade(QMdiArea& area) { area.cascadeSubWindows(); }

void StandardWindowAction::TileOneAboveTheOther(QMdiArea& area) {
  const QList<QMdiSubWindow*> windows = TiledWindows(area);
  const QRect room = area.viewport()->rect();
  for (qsizetype i = 0; i < windows.size(); ++i) {
    const int top = static_cast<int>(room.height() * i / windows.size());
    const int bottom = static_cast<int>(room.height() * (i + 1) / windows.size());
    windows[i]->setGeometry(0, top, room.width(), bottom - top);
  }
}

void StandardWindowAction::TileSideBySide(QMdiArea& area) {
  const QList<QMdiSubWindow*> windows = TiledWindows(area);
  const QRect room = area.viewport()->rect();
  for (qsizetype i = 0; i < windows.size(); ++i) {
    const int left = static_cast<int>(room.width() * i / windows.size());
    const int right = static_cast<int>(room.width() * (i + 1) / windows.size());
    windows[i]->setGeometry(left, 0, right - left, room.height());
  }
}

void StandardWindowAction::MinimizeAll(QMdiArea& area) {
  for (QMdiSubWindow* window : area.subWindowList()) window->showMinimized();
}
