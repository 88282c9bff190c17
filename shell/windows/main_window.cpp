#include "shell/windows/main_window.h"

#include <QCloseEvent>
#include <QScreen>
#include <QWindow>

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
  const QScreen* desktop = screen();
  if (desktop == nullptr) return;
  const Qt::WindowStates state = windowState();
  QRect placed(QPoint(0, 0), frameGeometry().size());
  placed.moveCenter(desktop->availableGeometry().center());
  move(placed.topLeft());
  setWindowState(state);
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

bool TWMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == windowHandle() && event->type() == QEvent::Expose) {
    windowHandle()->removeEventFilter(this);
    if (windowState() == Qt::WindowNoState) CentreOnDesktop();
  }
  const bool shown_or_resized = event->type() == QEvent::Show || event->type() == QEvent::Resize;
  if (shown_or_resized && watched == tsProject) tsProjectShow();
  if (shown_or_resized && watched == tsCalculation) tsCalculationShow();
  if (event->type() == QEvent::Resize && watched == StatusBar) PlaceGauge();
  return QMainWindow::eventFilter(watched, event);
}
