// The main window's placement and recent-file lists, kept from one run of the
// program to the next in the per-user settings store under the key
// "Software\TALVO\System" (the registry on Windows, ~/.config/TALVO/System.conf
// on Linux).
#pragma once

#include <QByteArray>
#include <QStringList>
#include <QtGlobal>
#include <optional>

struct WindowPlacement {
  qint32 left = 0;
  qint32 top = 0;
  qint32 height = 0;
  qint32 width = 0;

  bool operator==(const WindowPlacement&) const = default;
};

struct MainWindowSettings {
  WindowPlacement placement;
  qint32 state = 0;  // 0 normal, 1 minimized, 2 maximized
  QStringList hist_projects;
  QStringList hist_calcs;
};

constexpr int kHistProjectSlots = 4;
constexpr int kHistCalcSlots = 6;

// "WMainParameters": four little-endian signed 32-bit integers, Left, Top,
// Height, Width (height before width).
QByteArray EncodePlacement(const WindowPlacement& placement);
std::optional<WindowPlacement> DecodePlacement(const QByteArray& bytes);

// Reads the store. On the first run (nothing stored yet) it is created first
// from the window's current placement and state with every history slot
// empty. A stored value that cannot be read as its type leaves the current
// one in place. Empty history slots are skipped, so the lists have no gaps.
MainWindowSettings LoadMainWindowSettings(const MainWindowSettings& current);

// Writes placement, state and both lists back; slots past a list's end get "".
void SaveMainWindowSettings(const MainWindowSettings& settings);
