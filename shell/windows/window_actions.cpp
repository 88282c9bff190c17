#include "shell/windows/window_actions.h"

#include <QStyle>
#include <algorithm>

namespace {

// Windows that take part in tiling and cascading: the ones not minimized,
// shown again in their normal state.
QList<QMdiSubWindow*> TiledWindows(QMdiArea& area, QMdiArea::WindowOrder order = QMdiArea::CreationOrder) {
  QList<QMdiSubWindow*> windows;
  for (QMdiSubWindow* window : area.subWindowList(order)) {
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

// One step of a cascade is a title bar's height, so that each window's
// caption shows below the one before.
int CascadeStep(const QMdiArea& area) {
  return std::max(1, area.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &area));
}

// A cascade in a room too small for its windows still takes this many steps,
// its windows made smaller, rather than piling them up at the top left.
constexpr int kLeastSteps = 4;

// The number of steps a cascade of windows of `size` takes before the next
// would pass the room's right or bottom edge; at least one.
int CascadeSteps(QSize room, QSize size, int step) {
  const int across = (room.width() - size.width()) / step;
  const int down = (room.height() - size.height()) / step;
  return 1 + std::max(0, std::min(across, down));
}

// The room left to a window at the given step of a cascade.
QSize RoomAtStep(QSize room, int place, int step) { return room - QSize(place * step, place * step); }

}  // namespace

// An area not yet shown has no room to speak of: its children are cascaded
// at the size asked for.
void PlaceNewChild(QMdiArea& area, QMdiSubWindow& child, QSize size) {
  const int step = CascadeStep(area);
  QList<QPoint> corners;
  for (const QMdiSubWindow* other : area.subWindowList()) {
    if (other != &child && other->isVisibleTo(&area) && !other->isMinimized() && !other->isMaximized())
      corners.append(other->geometry().topLeft());
  }
  const bool shown = area.isVisible();
  const QSize room = area.viewport()->size();
  const int steps = shown ? std::max(kLeastSteps, CascadeSteps(room, size.boundedTo(room), step))
                          : static_cast<int>(corners.size()) + 1;
  int place = 0;
  while (place < steps && corners.contains(QPoint(place * step, place * step))) ++place;
  if (place == steps) place = static_cast<int>(corners.size() % steps);
  if (shown) size = size.boundedTo(RoomAtStep(room, place, step));
  child.setGeometry(QRect(QPoint(place * step, place * step), size));
}

// A window brought in onto another's corner steps on like a cascade while it
// fits, so that the title bars of windows brought in together all show.
void KeepChildrenInside(QMdiArea& area, QSize room) {
  const QRect inside(QPoint(0, 0), room);
  QList<QPoint> corners;
  QList<QMdiSubWindow*> leaving;
  for (QMdiSubWindow* child : area.subWindowList()) {
    if (child->isMinimized() || child->isMaximized()) continue;
    if (inside.contains(child->geometry())) {
      corners.append(child->pos());
    } else {
      leaving.append(child);
    }
  }
  const int step = CascadeStep(area);
  for (QMdiSubWindow* child : leaving) {
    const QSize least = child->minimumSizeHint().expandedTo(child->minimumSize());
    // At `corner` or as near as it fits, no larger than `most`.
    const auto fitted = [&](QPoint corner, QSize size, QSize most) {
      size = size.boundedTo(most).expandedTo(least);
      return QRect(QPoint(std::max(0, std::min(corner.x(), room.width() - size.width())),
                          std::max(0, std::min(corner.y(), room.height() - size.height()))),
                   size);
    };
    QRect placed = fitted(child->pos(), child->size(), room);
    while (corners.contains(placed.topLeft())) {
      const QPoint corner = placed.topLeft() + QPoint(step, step);
      const QRect next = fitted(corner, placed.size(), room - QSize(corner.x(), corner.y()));
      if (next.topLeft() == placed.topLeft() || !inside.contains(next)) break;
      placed = next;
    }
    corners.append(placed.topLeft());
    child->setGeometry(placed);
  }
}

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

// The windows share the room as a cascade does: each as large as the room
// allows once the steps are taken, but not smaller than a child's opening
// size unless the room is too small for that; a cascade that would then pass
// the room's edges starts over at the top left. The window on top stays on
// top, last in the cascade.
void StandardWindowAction::Cascade(QMdiArea& area) {
  const QList<QMdiSubWindow*> windows = TiledWindows(area, QMdiArea::StackingOrder);
  if (windows.isEmpty()) return;
  const int step = CascadeStep(area);
  const QSize room = area.viewport()->size();
  const int count = static_cast<int>(windows.size());
  const QSize size = RoomAtStep(room, count - 1, step)
                         .expandedTo(kChildOpeningSize)
                         .boundedTo(RoomAtStep(room, std::min(count, kLeastSteps) - 1, step));
  const int steps = CascadeSteps(room, size, step);
  for (qsizetype i = 0; i < windows.size(); ++i) {
    const int offset = static_cast<int>(i % steps) * step;
    windows[i]->setGeometry(QRect(QPoint(offset, offset), size));
  }
}

void StandardWindowAction::TileOneAboveTheOther(QMdiArea& area) { Tile(area, Qt::Vertical); }

void StandardWindowAction::TileSideBySide(QMdiArea& area) { Tile(area, Qt::Horizontal); }

void StandardWindowAction::MinimizeAll(QMdiArea& area) {
  for (QMdiSubWindow* window : area.subWindowList()) window->showMinimized();
}
