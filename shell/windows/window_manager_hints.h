// What a window of ours tells an X11 window manager that Qt's window flags
// cannot say.
#pragma once

#include <QWidget>

// For a dialog that draws its own frame and title bar: the window manager
// draws no decorations and may only move the window, neither minimise nor
// maximise nor resize it. Called once the window exists and before it is
// shown (from its showEvent); elsewhere than on X11 it does nothing.
void AllowMovingOnly(QWidget& window);
