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

// Shares the room out in equal strips, one per window, along `direction`.
void Tile(QMdiArea& area, Qt::Orientation direction) {
  const QList<QMdiSubWindow*> windows = TiledWindows(area);
  const QRect room = area.viewport()->rect();
  const qsizetype count = windows.size();
  const bool stacked = direction == Qt::Vertical;
  const qsizetype extent = stacked ? room.height() : room.width();
  for (qsizetype i = 0; i < count; ++i) {
    const int start = static_cast<int>(extent * i / count);
    const int length = static_cast<int>(extent * (i + 1) / count) - start;
    windows[i]->setGeometry(stacked ? QRect(0, start, room.width(), length)
                                    : QRect(start, 0, length, room.height()));
  }
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

void StandardWindowAction::TileOneAboveTheOther(QMdiArea& area) { Tile(area, Qt::Vertical); }

void StandardWindowAction::TileSideBySide(QMdiArea& area) { Tile(area, Qt::Horizontal); }

void StandardWindowAction::MinimizeAll(QMdiArea& area) {
  for (QMdiSubWindow* window : area.subWindowList()) window->showMinimized();
}
