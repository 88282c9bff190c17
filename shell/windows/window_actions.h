// The window actions of the "Окно" menu: commands on the child windows of the
// main window's multiple-document area, enabled while it has any.
#pragma once

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSize>
#include <functional>

// The size a report window opens at. Cascading leaves no child smaller, as
// far as the area's room allows.
inline constexpr QSize kChildOpeningSize{460, 300};

// Opens a child just added to `area` at `size`, cascaded from the room's top
// left: at the first step of the cascade that no other child's corner takes.
// The cascade has as many steps as fit before a window would pass the room's
// edges, or a few more in a small room, where a window is made smaller to fit
// from its step; when every step is taken, the children go round them again.
void PlaceNewChild(QMdiArea& area, QMdiSubWindow& child, QSize size);

// Brings every child of `area` that does not lie within a room of `room` back
// inside, moved towards the top left and, where it is larger than the room,
// made smaller down to its least size, so that its title bar and buttons can
// be reached; children brought onto one corner are cascaded from it. A
// maximized or minimized child is left as it is.
void KeepChildrenInside(QMdiArea& area, QSize room);

class WindowAction : public QAction {
 public:
  explicit WindowAction(QObject* parent);

  // The target as a multiple-document area, or null when it is none.
  static QMdiArea* GetForm(QObject* target);

  virtual void ExecuteTarget(QObject* target) = 0;

  // Enabled while the target has at least one child window.
  void UpdateTarget(QObject* target);
};

// Cascade, tile and minimize: an arrangement of the children.
class StandardWindowAction : public WindowAction {
 public:
  using Arrangement = std::function<void(QMdiArea& area)>;

  StandardWindowAction(QObject* parent, Arrangement arrangement);

  void ExecuteTarget(QObject* target) override;

  static void Cascade(QMdiArea& area);
  static void TileOneAboveTheOther(QMdiArea& area);
  static void TileSideBySide(QMdiArea& area);
  static void MinimizeAll(QMdiArea& area);

 private:
  Arrangement arrangement_;
};
