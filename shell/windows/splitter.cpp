#include "shell/windows/splitter.h"

#include <QMouseEvent>

namespace {

class RefusingHandle : public QSplitterHandle {
 public:
  RefusingHandle(Qt::Orientation orientation, QSplitter* parent, const PanelSplitter::CanResize& can_resize)
      : QSplitterHandle(orientation, parent), can_resize_(can_resize) {}

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) grab_offset_ = event->position().toPoint().x();
  }

  void mouseMoveEvent(QMouseEvent* event) override {
    if (!(event->buttons() & Qt::LeftButton)) return;
    const int position = parentWidget()->mapFromGlobal(event->globalPosition().toPoint()).x() - grab_offset_;
    if (can_resize_(position)) moveSplitter(position);
  }

  void mouseReleaseEvent(QMouseEvent*) override {}

 private:
  const PanelSplitter::CanResize& can_resize_;
  int grab_offset_ = 0;
};

}  // namespace

PanelSplitter::PanelSplitter(QWidget* parent, CanResize can_resize)
    : QSplitter(Qt::Horizontal, parent), can_resize_(std::move(can_resize)) {
  setOpaqueResize(true);
  setChildrenCollapsible(false);
}

QSplitterHandle* PanelSplitter::createHandle() {
  return new RefusingHandle(orientation(), this, can_resize_);
}
