#include "shell/windows/file_paths.h"

QString ExtensionOf(const QString& path) {
  const qsizetype dot = path.lastIndexOf('.');
  return dot > path.lastIndexOf('/') ? path.mid(dot) : QString();
}

QString WithDefaultExtension(const QString& path, const QString& default_ext) {
  if (default_ext.isEmpty() || !ExtensionOf(path).isEmpty()) return path;
  return path + '.' + default_ext;
}

QString RelativePath(const QString& path, const QString& folder) {
  if (folder.isEmpty() || !path.startsWith('/') || !folder.startsWith('/')) return path;
  const QStringList folder_parts = folder.split('/', Qt::SkipEmptyParts);
  QStringList path_parts = path.split('/', Qt::SkipEmptyParts);
  const QString file_name = path_parts.isEmpty() ? QString() : path_parts.takeLast();
  qsizetype shared = 0;
  while (shared < folder_parts.size() && shared < path_parts.size() &&
         folder_parts[shared] == path_parts[shared]) {
    ++shared;
  }
  QString relative = QString("../").repeated(folder_parts.size() - shared);
  for (qsizetype part = shared; part < path_parts.size(); ++part) relative += path_parts[part] + '/';
  return relative + file_name;
}

void AddRecentPath(QStringList& list, const QString& path, int limit) {
  // File names are case-sensitive here, so a path is listed only when it matches exactly.
  if (!list.contains(path)) list.prepend(path);
  if (list.size() > limit) list.removeAt(limit);
}
