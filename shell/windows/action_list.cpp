#include "shell/windows/action_list.h"

#include <QAbstractEventDispatcher>
#include <stdexcept>
#include <utility>

#include "shell/windows/application.h"
#include "shell/windows/image_list.h"

ActionList::ActionList(QObject* parent, const ImageList& images) : QObject(parent), images_(images) {
  setObjectName("ActionList");
  connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
          &ActionList::UpdateAll);
}

QAction* ActionList::Add(const ActionSpec& spec, QAction* action) {
  if (action == nullptr) action = new QAction(this);
  action->setObjectName(spec.name);
  if (spec.caption != nullptr) action->setText(QString::fromUtf8(spec.caption));
  if (spec.hint != nullptr) action->setToolTip(QString::fromUtf8(spec.hint));
  if (spec.image_index >= 0) action->setIcon(images_.Icon(spec.image_index));
  entries_.append(Entry{action, spec.category, spec.image_index, {}, {}});
  connect(action, &QAction::triggered, this, [this, action] { Execute(action); });
  return action;
}

void ActionList::SetHandlers(QAction* action, Handler execute, Handler update) {
  Entry* entry = EntryOf(action);
  entry->execute = std::move(execute);
  entry->update = std::move(update);
}

bool ActionList::Execute(QAction* action) {
  bool ran = false;
  RunGuarded([&] { Run(action, ran); });
  return ran;
}

bool ActionList::Perform(QAction* action) {
  bool ran = false;
  Run(action, ran);
  return ran;
}

void ActionList::Run(QAction* action, bool& ran) {
  const Entry* entry = EntryOf(action);
  if (entry->update) entry->update();
  if (!action->isEnabled()) return;
  ran = true;
  if (entry->execute) entry->execute();
}

void ActionList::UpdateAll() {
  for (const Entry& entry : entries_) {
    if (entry.update) RunGuarded(entry.update);
  }
}

QAction* ActionList::Find(const QString& name) const {
  for (const Entry& entry : entries_) {
    if (entry.action->objectName() == name) return entry.action;
  }
  return nullptr;
}

QList<QAction*> ActionList::Actions() const {
  QList<QAction*> actions;
  for (const Entry& entry : entries_) actions.append(entry.action);
  return actions;
}

QString ActionList::Category(const QAction* action) const { return EntryOf(action)->category; }

int ActionList::ImageIndex(const QAction* action) const { return EntryOf(action)->image_index; }

ActionList::Entry* ActionList::EntryOf(const QAction* action) {
  return const_cast<Entry*>(std::as_const(*this).EntryOf(action));
}

const ActionList::Entry* ActionList::EntryOf(const QAction* action) const {
  for (const Entry& entry : entries_) {
    if (entry.action == action) return &entry;
  }
  throw std::logic_error("action not in the list: " + action->objectName().toStdString());
}
