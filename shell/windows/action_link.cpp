#include "shell/windows/action_link.h"

ActionLink::ActionLink(QAction* item, QAction* action) : QObject(item), item_(item) {
  connect(item, &QAction::triggered, this, [this] {
    if (action_) action_->trigger();
  });
  SetAction(action);
}

ActionLink::ActionLink(QAbstractButton* button, QAction* action) : QObject(button), button_(button) {
  connect(button, &QAbstractButton::clicked, this, [this] {
    if (action_) action_->trigger();
  });
  SetAction(action);
}

void ActionLink::SetAction(QAction* action) {
  disconnect(changed_);
  action_ = action;
  changed_ = connect(action, &QAction::changed, this, &ActionLink::Follow);
  Follow();
}

void ActionLink::Follow() {
  if (item_) {
    item_->setText(action_->text());
    item_->setIcon(action_->icon());
    item_->setToolTip(action_->toolTip());
    item_->setEnabled(action_->isEnabled());
    item_->setVisible(action_->isVisible());
  }
  if (button_) {
    button_->setText(action_->text());
    button_->setToolTip(action_->toolTip());
    button_->setEnabled(action_->isEnabled());
  }
}
