// The progress gauge of the main window: a running calculation's begin, step
// and end messages drive a bar laid over the status bar.
#include <memory>
#include <new>

#include "platform/progress_messages.h"
#include "shell/windows/application.h"
#include "shell/windows/gauge.h"
#include "shell/windows/main_window.h"

namespace {

constexpr std::intptr_t kGaugeMade = 0;
constexpr std::intptr_t kNoGauge = 255;

}  // namespace

// Runs on the GUI thread while the sender waits; an error other than a
// shortage of memory goes to the application's error box, not to the sender.
std::intptr_t TWMain::Dispatch(std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) {
  std::intptr_t answer = 0;
  RunGuarded([&] {
    switch (message) {
      case platform::WM_PROGRESSBEGIN:
        answer = kNoGauge;
        answer = ProgressBegin(wparam, lparam);
        break;
      case platform::WM_PROGRESSSTEP:
        ProgressStep(lparam);
        break;
      case platform::WM_PROGRESSEND:
        ProgressEnd();
        break;
      default:
        break;
    }
  });
  return answer;
}

// A bar left behind by a run that ended without its end message is replaced,
// not stacked behind the new one.
std::intptr_t TWMain::ProgressBegin(std::uintptr_t wparam, std::intptr_t lparam) {
  std::unique_ptr<TCGauge> gauge;
  try {
    gauge = std::make_unique<TCGauge>(StatusBar);
    QPalette palette = gauge->palette();
    palette.setColor(QPalette::Highlight, QColor(0, 0, 128));
    palette.setColor(QPalette::Base, Qt::white);
    gauge->setPalette(palette);
    gauge->setRange(0, static_cast<qint32>(wparam));
    gauge->setValue(0);
  } catch (const std::bad_alloc&) {
    return kNoGauge;
  }
  delete FGauge;
  FGauge = gauge.release();
  FGaugeStep = static_cast<qint32>(lparam);
  PlaceGauge();
  FGauge->show();
  return kGaugeMade;
}

void TWMain::ProgressStep(std::intptr_t lparam) {
  if (FGauge == nullptr) return;
  const auto increment = static_cast<qint32>(lparam);
  FGauge->AddProgress(increment != 0 ? increment : FGaugeStep);
}

void TWMain::ProgressEnd() {
  delete FGauge;
  FGauge = nullptr;
}

// Left 5 and top 3 in the status bar, as wide as the bar less 10 and as high
// as it less 4; the width follows the status bar.
void TWMain::PlaceGauge() {
  if (FGauge == nullptr) return;
  FGauge->setGeometry(5, 3, StatusBar->width() - 10, StatusBar->height() - 4);
  FGauge->raise();
}
