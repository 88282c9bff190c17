// The main window's commands: one list of actions, each with an execute
// handler and an update handler that sets its enabled state. Update handlers
// run whenever the application goes idle and right before their action
// executes; an action that is then disabled does nothing.
#pragma once

#include <QAction>
#include <QList>
#include <QObject>
#include <functional>

class ImageList;

struct ActionSpec {
  const char* name;
  const char* category;
  const char* caption;  // nullptr: none
  const char* hint;     // nullptr: none
  int image_index;      // -1: none
};

class ActionList : public QObject {
 public:
  using Handler = std::function<void()>;

  ActionList(QObject* parent, const ImageList& images);

  // Adds `action` (a plain one when null) with the given name, caption,
  // hint, category and image. Without handlers it is enabled and does nothing.
  QAction* Add(const ActionSpec& spec, QAction* action = nullptr);

  // An empty update handler leaves the action always enabled.
  void SetHandlers(QAction* action, Handler execute, Handler update);

  // Runs the update handler, then the execute handler if the action is
  // enabled; true when it ran. An exception goes to the application's error
  // box.
  bool Execute(QAction* action);

  // The same for a handler that executes another action: an exception passes
  // to the caller, so that a failed step ends the calling command too.
  bool Perform(QAction* action);

  void UpdateAll();

  QAction* Find(const QString& name) const;
  QList<QAction*> Actions() const;
  QString Category(const QAction* action) const;
  int ImageIndex(const QAction* action) const;

 private:
  struct Entry {
    QAction* action;
    QString category;
    int image_index;
    Handler execute;
    Handler update;
  };

  // `ran` is set once the execute handler is reached, also when it throws.
  void Run(QAction* action, bool& ran);
  Entry* EntryOf(const QAction* action);
  const Entry* EntryOf(const QAction* action) const;

  const ImageList& images_;
  QList<Entry> entries_;
};
