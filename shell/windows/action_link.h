// A menu item or a button bound to an action of the action list: it shows the
// action's caption, picture and enabled state and executes it when clicked,
// while keeping its own object name. The binding can change (the Run button
// binds to Abort during a run).
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QMetaObject>
#include <QObject>
#include <QPointer>

class ActionLink : public QObject {
 public:
  // The item follows the action's caption, picture, hint, enabled state and
  // visibility.
  ActionLink(QAction* item, QAction* action);
  // The button follows the action's caption, hint and enabled state; its
  // picture is its own.
  ActionLink(QAbstractButton* button, QAction* action);

  void SetAction(QAction* action);

 private:
  void Follow();

  QPointer<QAction> item_;
  QPointer<QAbstractButton> button_;
  QPointer<QAction> action_;
  QMetaObject::Connection changed_;
};
