// Path texts of the shell's file commands: extensions, the default extension
// of a typed name, paths shown relative to the project's folder, and the
// recent-file lists.
#pragma once

#include <QString>
#include <QStringList>

// The file name's extension with its dot: the text from the last "." after
// the last "/"; empty when the name has none.
QString ExtensionOf(const QString& path);

// The path with "." and `default_ext` appended when its name has no
// extension; unchanged when it has one or `default_ext` is empty.
QString WithDefaultExtension(const QString& path, const QString& default_ext);

// The path as seen from `folder` (which ends in "/"): the folders both share
// are dropped, each remaining folder of `folder` gives "../". The full path
// when `folder` is empty (a project never saved) or either path is not
// absolute.
QString RelativePath(const QString& path, const QString& folder);

// Puts a path not yet listed in front and drops the oldest entry past
// `limit`; a listed path keeps its place.
void AddRecentPath(QStringList& list, const QString& path, int limit);
