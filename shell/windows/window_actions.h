// The window actions of the "Окно" menu: commands on the child windows of the
// main window's multiple-document area, enabled while it has any.
#pragma once

#include <QAction>
#include <QMdiArea>
#include <functional>

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
