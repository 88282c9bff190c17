// The pictures that menus, tool bar, actions and the project tree share,
// referred to by index.
#pragma once

#include <QIcon>
#include <QObject>
#include <QPixmap>

class ImageList : public QObject {
 public:
  explicit ImageList(QObject* parent);

  // The picture at `index`; an empty icon for an index without one.
  QIcon Icon(int index) const;
};

// A glyph bitmap "btn_Run" or "btn_Abort": two 18 x 18 pictures side by
// side, the normal and the disabled one, as a button icon.
QIcon LoadGlyph(const char* resource_name);
