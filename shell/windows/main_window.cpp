#include "shell/windows/main_window.h"

#include <QCloseEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "platform/exceptions.h"
#include "shell/config/method_registry.h"
#include "shell/model/calculation.h"
#include "shell/model/gui_error_box.h"
#include "shell/model/gui_window.h"
#include "shell/model/project.h"
#include "shell/model/prompt.h"
#include "shell/windows/action_list.h"
#include "shell/windows/application.h"
#include "shell/windows/image_list.h"
#include "shell/windows/window_actions.h"

namespace {

// The window's design placement, which the first run stores.
constexpr WindowPlacement kDesignPlacement{366, 275, 452, 635};
constexpr int kMinimumWidth = 400;
constexpr int kMinimumHeight = 300;
constexpr int kMinimumPanelWidth = 200;

qint32 StateNumber(Qt::WindowStates state) {
  if (state & Qt::WindowMinimized) return 1;
  if (state & Qt::WindowMaximized) return 2;
  return 0;
}

Qt::WindowState WindowStateOf(qint32 number) {
  switch (number) {
    case 1:
      return Qt::WindowMinimized;
    case 2:
      return Qt::WindowMaximized;
    default:
      return Qt::WindowNoState;
  }
}

}  // namespace

TWMain::TWMain(Prompt& prompt, const QString& ini_path)
    : prompt_(prompt),
      ini_path_(ini_path),
      OpenDialog_(prompt, TFileDialog::Kind::Open),
      SaveDialog_(prompt, TFileDialog::Kind::Save) {
  setObjectName("WMain");
  setWindowTitle("TALVO System (alpha version)");
  setGeometry(kDesignPlacement.left, kDesignPlacement.top, kDesignPlacement.width, kDesignPlacement.height);
  setMinimumSize(kMinimumWidth, kMinimumHeight);
  CreateComponents();
  FormCreate();
  CentreOnDesktop();
  window_class_ = std::make_unique<GuiWindow>(
      "TWMain", this, [this](std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) {
        return Dispatch(message, wparam, lparam);
      });
  error_box_ = std::make_unique<GuiErrorBox>(this, prompt_);
}

// Closing the window has closed the documents; a window destroyed without
// being closed still ends a run and frees what is open.
TWMain::~TWMain() {
  if (FCalculation != nullptr) {
    AbortRun();
    TCalculation::Free(FCalculation);
  }
  delete FProject;
  error_box_.reset();
  window_class_.reset();
  FormDestroy();
}

bool TWMain::CalculationRunning() const { return FCalculation != nullptr && FCalculation->IsRunning(); }

void TWMain::FormCreate() {
  const MainWindowSettings settings = LoadMainWindowSettings(CurrentSettings());
  ApplySettings(settings);
  FHistProjects = settings.hist_projects;
  FHistCalcs = settings.hist_calcs;

  // A registry that cannot be read is said and leaves the list empty, as a
  // missing one does.
  try {
    const MethodList methods = ReadMethodList(ini_path_);
    FMethodNames = methods.names;
    FMethodKeys = methods.keys;
  } catch (const Exception& error) {
    prompt_.Error(QString::fromStdString(error.Message()));
  }
  cbMethods->addItems(FMethodNames);
  // Filling the list selects its first item; nothing is chosen until a
  // calculation is open.
  cbMethods->setCurrentIndex(-1);

  bbRunCalculation->setIcon(LoadGlyph("btn_Run"));
  Application::SetExceptionHandler([this](const std::exception& error) { AppException(error); });
  pcControl->setCurrentWidget(tsProject);
  ClearProjectTree();
  ClearCalculationPanel();
  setWindowTitle(QString("TALVO System (alpha version: %1)").arg(WB_VERSION));
}

void TWMain::FormDestroy() {
  Application::SetExceptionHandler({});
  SaveMainWindowSettings(CurrentSettings());
}

void TWMain::FormClose() { ActionList_->Execute(FileCloseAll); }

// The run owns its calculation until its end is handled, so the window stays
// while a calculation runs. It also stays when a save asked for while closing
// failed or its Save As dialog was cancelled: nothing unsaved is thrown away.
void TWMain::closeEvent(QCloseEvent* event) {
  if (CalculationRunning()) {
    prompt_.Error("Идет расчет: остановите его, прежде чем закрыть программу !");
    event->ignore();
    return;
  }
  FormClose();
  if (FProject != nullptr) {
    event->ignore();
  } else {
    event->accept();
  }
}

MainWindowSettings TWMain::CurrentSettings() const {
  return {{x(), y(), height(), width()}, StateNumber(windowState()), FHistProjects, FHistCalcs};
}

void TWMain::ApplySettings(const MainWindowSettings& settings) {
  move(settings.placement.left, settings.placement.top);
  resize(settings.placement.width, settings.placement.height);
  setWindowState(WindowStateOf(settings.state));
}

// Of the stored placement only the size and the state take effect: the
// window opens centred on the desktop, frame and all. Moving a window ends
// its maximized state, so the state is set again.
void TWMain::CentreOnDesktop() {
  const Qt::WindowStates state = windowState();
  KeepOnDesktop(true);
  setWindowState(state);
}

// No part of the frame leaves the desktop's available area: a window larger
// than the area is made smaller, and one that passes an edge is moved in.
void TWMain::KeepOnDesktop(bool centred) {
  const QScreen* desktop = screen();
  if (desktop == nullptr) return;
  const QRect available = desktop->availableGeometry();
  const QSize frame_extra = frameGeometry().size() - size();
  resize(size().boundedTo(available.size() - frame_extra));
  QRect frame(frameGeometry().topLeft(), size() + frame_extra);
  if (centred) frame.moveCenter(available.center());
  frame.moveRight(std::min(frame.right(), available.right()));
  frame.moveBottom(std::min(frame.bottom(), available.bottom()));
  frame.moveLeft(std::max(frame.left(), available.left()));
  frame.moveTop(std::max(frame.top(), available.top()));
  move(frame.topLeft());
}

bool TWMain::SplitterCanResize(int new_size) const { return new_size >= kMinimumPanelWidth; }

void TWMain::AppException(const std::exception& error) { prompt_.Error(QString::fromUtf8(error.what())); }

// The window manager's frame is known only once the window is on the
// screen: until then the window is centred as if it had none, and when it is
// first exposed it is centred again with its frame.
void TWMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!shown_once_ && windowHandle() != nullptr) windowHandle()->installEventFilter(this);
  shown_once_ = true;
}

// A window maximized from the start goes back to the size it was stored
// with, which the window manager places without knowing the frame it adds,
// and gives the frame of a normal window only after the window has heard of
// its new state: until then, and at most for a second, the window is kept on
// the desktop whenever it moves or changes size.
void TWMain::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || windowHandle() == nullptr) return;
  const auto* change = static_cast<QWindowStateChangeEvent*>(event);
  if ((change->oldState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) &&
      windowState() == Qt::WindowNoState) {
    restored_from_ = windowHandle()->frameMargins();
    QTimer::singleShot(0, this, &TWMain::KeepRestoredOnDesktop);
    QTimer::singleShot(1000, this, [this] { restored_from_.reset(); });
  }
}

bool TWMain::event(QEvent* event) {
  if (restored_from_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
    QTimer::singleShot(0, this, &TWMain::KeepRestoredOnDesktop);
  return QMainWindow::event(event);
}

void TWMain::KeepRestoredOnDesktop() {
  if (!restored_from_ || windowState() != Qt::WindowNoState) return;
  KeepOnDesktop(false);
  if (windowHandle()->frameMargins() != *restored_from_) restored_from_.reset();
}

bool TWMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == windowHandle() && event->type() == QEvent::Expose) {
    windowHandle()->removeEventFilter(this);
    if (windowState() == Qt::WindowNoState) CentreOnDesktop();
  }
  const bool shown_or_resized = event->type() == QEvent::Show || event->type() == QEvent::Resize;
  if (shown_or_resized && watched == tsProject) tsProjectShow();
  if (shown_or_resized && watched == tsCalculation) tsCalculationShow();
  if (event->type() == QEvent::Resize && watched == StatusBar) PlaceGauge();
  // The area shows no scroll bars: a child that a smaller area would leave
  // partly outside is brought back within reach.
  if (event->type() == QEvent::Resize && watched == mdiArea->viewport()) {
    const auto* resize = static_cast<QResizeEvent*>(event);
    const QSize room = resize->size();
    if (room.width() < resize->oldSize().width() || room.height() < resize->oldSize().height())
      KeepChildrenInside(*mdiArea, room);
  }
  return QMainWindow::eventFilter(watched, event);
}
