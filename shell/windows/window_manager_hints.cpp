#include "shell/windows/window_manager_hints.h"

#include <QGuiApplication>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

namespace {

// The Motif window manager hints, five words: flags, functions, decorations,
// input mode and status; the flags say which of the next words count.
constexpr std::uint32_t kFunctionsCount = 1u << 0;
constexpr std::uint32_t kDecorationsCount = 1u << 1;
constexpr std::uint32_t kMove = 1u << 2;

}  // namespace

// Qt writes these hints only when it changes the window's flags, so they
// hold from here on.
void AllowMovingOnly([[maybe_unused]] QWidget& window) {
#if QT_CONFIG(xcb)
  // The offscreen platform answers for X11 too, without a connection.
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (QGuiApplication::platformName() != "xcb" || x11 == nullptr || x11->connection() == nullptr) return;
  xcb_connection_t* connection = x11->connection();
  constexpr char kName[] = "_MOTIF_WM_HINTS";
  const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
      xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof kName - 1, kName), nullptr),
      &std::free);
  if (atom == nullptr) return;
  const std::array<std::uint32_t, 5> hints{kFunctionsCount | kDecorationsCount, kMove, 0, 0, 0};
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()),
                      atom->atom, atom->atom, 32, hints.size(), hints.data());
  xcb_flush(connection);
#endif
}
