#include "shell/windows/image_list.h"

#include <QHash>

namespace {

// Indexes 10, 23 and 24 have no picture: nothing refers to them.
const QHash<int, QString>& PictureFiles() {
  static const QHash<int, QString> files = {
      {0, "new_project"},
      {1, "calculation"},
      {2, "open"},
      {3, "open_project"},
      {4, "save"},
      {5, "save_as"},
      {6, "project_save_as"},
      {7, "save_all"},
      {8, "close"},
      {9, "close_all"},
      {11, "exit"},
      {12, "cascade"},
      {13, "tile_horizontal"},
      {14, "tile_vertical"},
      {15, "close_windows"},
      {16, "edit"},
      {17, "add"},
      {18, "delete"},
      {19, "data_sets"},
      {20, "calculations"},
      {21, "report"},
      {22, "active_calculation"},
      {25, "data_set"},
  };
  return files;
}

constexpr int kGlyphSize = 18;

}  // namespace

ImageList::ImageList(QObject* parent) : ImageList(parent, "ilMenuItem", PictureFiles()) {}

ImageList::ImageList(QObject* parent, const QString& name, QHash<int, QString> pictures)
    : QObject(parent), pictures_(std::move(pictures)) {
  setObjectName(name);
}

QIcon ImageList::Icon(int index) const {
  const auto file = pictures_.constFind(index);
  if (file == pictures_.constEnd()) return QIcon();
  return QIcon(QPixmap(":/images/" + *file + ".xpm"));
}

QIcon LoadGlyph(const char* resource_name) {
  const QPixmap pair(QString(":/images/%1.xpm").arg(QString::fromLatin1(resource_name).toLower()));
  QIcon icon;
  icon.addPixmap(pair.copy(0, 0, kGlyphSize, kGlyphSize), QIcon::Normal);
  icon.addPixmap(pair.copy(kGlyphSize, 0, kGlyphSize, kGlyphSize), QIcon::Disabled);
  return icon;
}
