// The window command that closes every child window of the main window's
// multiple-document area, each through its own close handling.
#pragma once

#include "shell/windows/window_actions.h"

class TWindowCloseAll : public WindowAction {
 public:
  explicit TWindowCloseAll(QObject* parent);

  void ExecuteTarget(QObject* target) override;
};
