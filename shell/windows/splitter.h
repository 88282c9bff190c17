// The splitter between the control panel and the child windows: a drag that
// would leave the panel narrower than allowed is refused, and the panel keeps
// its width.
#pragma once

#include <QSplitter>
#include <QSplitterHandle>
#include <functional>

class PanelSplitter : public QSplitter {
 public:
  // Asked with the panel's new width before the handle moves.
  using CanResize = std::function<bool(int new_size)>;

  PanelSplitter(QWidget* parent, CanResize can_resize);

 protected:
  QSplitterHandle* createHandle() override;

 private:
  CanResize can_resize_;
};
