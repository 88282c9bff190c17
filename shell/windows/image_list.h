// The pictures that menus, tool bar, actions and the project tree share,
// referred to by index.
#pragma once

#include <QHash>
#include <QIcon>
#include <QObject>
#include <QPixmap>

class ImageList : public QObject {
 public:
  // The main window's list, ilMenuItem.
  explicit ImageList(QObject* parent);
  // Another window's list: picture file names (without ".xpm") by index.
  ImageList(QObject* parent, const QString& name, QHash<int, QString> pictures);

  // The picture at `index`; an empty icon for an index without one.
  QIcon Icon(int index) const;

 private:
  QHash<int, QString> pictures_;
};

// A glyph bitmap "btn_Run" or "btn_Abort": two 18 x 18 pictures side by
// side, the normal and the disabled one, as a button icon.
QIcon LoadGlyph(const char* resource_name);
