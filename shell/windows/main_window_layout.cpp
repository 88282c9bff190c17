// The main window's components: tool bar, control panel with its two pages,
// splitter, multiple-document area, status bar and menus, with the positions
// and sizes of the window's design.
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenuBar>
#include <initializer_list>

#include "shell/windows/action_link.h"
#include "shell/windows/action_list.h"
#include "shell/windows/application.h"
#include "shell/windows/drop_down_combo_box.h"
#include "shell/windows/image_list.h"
#include "shell/windows/main_window.h"
#include "shell/windows/splitter.h"
#include "shell/windows/window_close_all.h"

namespace {

constexpr int kControlPanelWidth = 200;
constexpr int kSplitterWidth = 3;
constexpr int kStatusPanelWidth = 50;
// The menus' group indexes: a child window's menus join the menu bar between
// these by their own (the data-set editor's "&Правка" 1, "Наборы данных" 3).
constexpr char kGroupIndex[] = "groupIndex";

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

// Paints the widget's `roles` in the info-background (tooltip) colour.
void UseInfoBackground(QWidget* widget, std::initializer_list<QPalette::ColorRole> roles) {
  QPalette palette = widget->palette();
  for (QPalette::ColorRole role : roles) palette.setColor(role, palette.color(QPalette::ToolTipBase));
  widget->setPalette(palette);
}

}  // namespace

void TWMain::CreateComponents() {
  ilMenuItem = new ImageList(this);
  ActionList_ = new ActionList(this, *ilMenuItem);
  CreateActions();

  CreateToolBar();
  Splitter = Named(new PanelSplitter(this, [this](int new_size) { return SplitterCanResize(new_size); }),
                   "Splitter");
  Splitter->setHandleWidth(kSplitterWidth);
  CreateControlPanel();
  mdiArea = Named(new QMdiArea(Splitter), "mdiArea");
  mdiArea->viewport()->installEventFilter(this);
  Splitter->addWidget(ControlPanel);
  Splitter->addWidget(mdiArea);
  Splitter->setStretchFactor(0, 0);
  Splitter->setStretchFactor(1, 1);
  Splitter->setSizes({kControlPanelWidth, width() - kControlPanelWidth});
  setCentralWidget(Splitter);

  StatusBar = Named(new QStatusBar(this), "StatusBar");
  StatusBar->installEventFilter(this);
  setStatusBar(StatusBar);
  StatusPanel = Named(new QLabel(StatusBar), "StatusPanel");
  StatusPanel->setMinimumWidth(kStatusPanelWidth);
  StatusBar->addWidget(StatusPanel);
  CreateMenus();
}

void TWMain::CreateToolBar() {
  tbStandart = Named(new QToolBar("Standart", this), "tbStandart");
  tbStandart->setIconSize(QSize(16, 16));
  addToolBar(Qt::TopToolBarArea, tbStandart);
  const auto add = [this](QAction* action, const char* name) {
    tbStandart->addAction(action);
    tbStandart->widgetForAction(action)->setObjectName(name);
  };
  add(FileNewProject, "tbNewProject");
  add(FileNewCalculation, "tbNewCalculation");
  tbStandart->addSeparator()->setObjectName("tbSeparator1");
  add(FileOpen, "tbOpen");
  tbStandart->addSeparator()->setObjectName("tbSeparator2");
  add(FileSave, "tbSave");
  add(FileSaveAll, "tbSaveAll");
  add(FileClose, "tbClose");
  add(FileCloseAll, "tbCloseAll");
}

void TWMain::CreateControlPanel() {
  auto* panel = Named(new QFrame(Splitter), "ControlPanel");
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setLineWidth(2);
  // The splitter's own check refuses a narrow panel; Qt's minimum must not
  // interfere with it.
  panel->setMinimumWidth(1);
  ControlPanel = panel;
  auto* layout = new QHBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  pcControl = Named(new QTabWidget(panel), "pcControl");
  layout->addWidget(pcControl);
  CreateProjectPage();
  CreateCalculationPage();
  pcControl->setCurrentWidget(tsProject);
}

void TWMain::CreateProjectPage() {
  tsProject = Named(new QWidget, "tsProject");
  pcControl->addTab(tsProject, "Проект");
  tsProject->installEventFilter(this);

  tvProject = Named(new QTreeWidget(tsProject), "tvProject");
  tvProject->setGeometry(5, 5, 178, 313);
  tvProject->setHeaderHidden(true);
  tvProject->setIndentation(19);
  tvProject->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Long paths are shown whole, with a scroll bar, rather than cut short.
  tvProject->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  tvProject->header()->setStretchLastSection(false);
  UseInfoBackground(tvProject, {QPalette::Base});
  QTreeWidgetItem* root = AddNode(nullptr, "Проект", 0);
  // In the order of kCalculationsGroup, kDataSetsGroup and kReportsGroup.
  AddNode(root, "Расчеты", 20);
  AddNode(root, "Наборы данных", 19);
  AddNode(root, "Отчеты", 21);
  connect(tvProject, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* node) { RunGuarded([&] { tvProjectDblClick(node); }); });

  pmProject = Named(new QMenu(this), "pmProject");
  itemRenameProject = Named(pmProject->addAction("Переименовать проект"), "itemRenameProject");
  connect(itemRenameProject, &QAction::triggered, this,
          [this] { RunGuarded([&] { itemRenameProjectClick(); }); });
  AddLinkedItem(pmProject, "itemPrjSetActiveCalc", PrjSetActive);
  AddLinkedItem(pmProject, "itemPrjAddCalc", PrjAdd);
  AddLinkedItem(pmProject, "itemPrjDelCalc", PrjDel);
  tsProject->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(tsProject, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { pmProject->popup(tsProject->mapToGlobal(at)); });
  tvProject->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(tvProject, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { pmProject->popup(tvProject->viewport()->mapToGlobal(at)); });
}

void TWMain::CreateCalculationPage() {
  tsCalculation = Named(new QWidget, "tsCalculation");
  pcControl->addTab(tsCalculation, ilMenuItem->Icon(1), "Расчет");
  tsCalculation->installEventFilter(this);

  gbCalculation = Named(new QGroupBox("Расчет", tsCalculation), "gbCalculation");
  gbCalculation->setGeometry(5, 5, 178, 126);
  lDataSet = Named(new QLabel("Набор данных:", gbCalculation), "lDataSet");
  lDataSet->move(10, 20);
  cbDataSets = Named(new DropDownComboBox(gbCalculation), "cbDataSets");
  cbDataSets->setGeometry(10, 40, 130, 22);
  // A drop-down list that takes no typing paints its face in the button role.
  UseInfoBackground(cbDataSets, {QPalette::Base, QPalette::Button});
  cbDataSets->OnDropDown = [this] { RunGuarded([&] { cbDataSetsDropDown(); }); };
  connect(cbDataSets, &QComboBox::activated, this,
          [this](int index) { RunGuarded([&] { cbDataSetsChange(index); }); });
  sbEditDataSet = Named(new QToolButton(gbCalculation), "sbEditDataSet");
  sbEditDataSet->setGeometry(145, 39, 23, 22);
  sbEditDataSet->setDefaultAction(CalcTranslator);
  lMethod = Named(new QLabel("Метод:", gbCalculation), "lMethod");
  lMethod->move(10, 70);
  cbMethods = Named(new QComboBox(gbCalculation), "cbMethods");
  cbMethods->setGeometry(10, 90, 130, 22);
  connect(cbMethods, &QComboBox::activated, this,
          [this](int index) { RunGuarded([&] { cbMethodsChange(index); }); });
  sbEditParameters = Named(new QToolButton(gbCalculation), "sbEditParameters");
  sbEditParameters->setGeometry(145, 89, 23, 22);
  sbEditParameters->setDefaultAction(CalcParameterEditor);

  bbRunCalculation = Named(new QPushButton(tsCalculation), "bbRunCalculation");
  bbRunCalculation->setGeometry(5, 140, 178, 25);
  bbRunCalculation->setIconSize(QSize(18, 18));
  bbRunCalculationLink = new ActionLink(bbRunCalculation, CalcRun);
  mCalculationInfo = Named(new QPlainTextEdit(tsCalculation), "mCalculationInfo");
  mCalculationInfo->setGeometry(5, 175, 178, 144);
}

QAction* TWMain::AddLinkedItem(QMenu* menu, const char* name, QAction* action) {
  QAction* item = Named(menu->addAction(QString()), name);
  new ActionLink(item, action);
  return item;
}

void TWMain::CreateMenus() {
  menuBar()->setObjectName("MainMenu");
  CreateFileMenu();

  menuProject = Named(menuBar()->addMenu("Проект"), "menuProject");
  menuProject->setProperty(kGroupIndex, 2);
  AddLinkedItem(menuProject, "itemAddCalculation", PrjAdd);
  AddLinkedItem(menuProject, "itemDelCalculation", PrjDel);
  Named(menuProject->addSeparator(), "sepProject1");
  Named(menuProject->addAction("&Выполнить"), "itemExecute");
  Named(menuProject->addAction("&Параметры"), "itemOptions");

  menuWindow = Named(menuBar()->addMenu("Окно"), "menuWindow");
  menuWindow->setProperty(kGroupIndex, 10);
  AddLinkedItem(menuWindow, "itemCascade", WindowCascade);
  AddLinkedItem(menuWindow, "itemTileHorizontally", WindowTileHorizontal);
  AddLinkedItem(menuWindow, "itemTileVertically", WindowTileVertical);
  Named(menuWindow->addSeparator(), "sepWindow1");
  AddLinkedItem(menuWindow, "itemMinimizeAll", WindowMinimizeAll);
  AddLinkedItem(menuWindow, "itemCloseAllWindows", WindowCloseAll);
}

void TWMain::CreateFileMenu() {
  menuFile = Named(menuBar()->addMenu("Файл"), "menuFile");
  menuFile->setProperty(kGroupIndex, 0);
  AddLinkedItem(menuFile, "itemNewProject", FileNewProject);
  AddLinkedItem(menuFile, "itemNewCalculation", FileNewCalculation);
  AddLinkedItem(menuFile, "itemNewDataSet", FileNewDataSet);
  Named(menuFile->addSeparator(), "sepFile1");
  AddLinkedItem(menuFile, "itemOpen", FileOpen);
  AddLinkedItem(menuFile, "itemOpenProject", FileOpenProject);

  itemReopen = Named(menuFile->addMenu(QString()), "itemReopen");
  itemReopen->menuAction()->setObjectName("itemReopen");
  new ActionLink(itemReopen->menuAction(), FileReopen);
  connect(itemReopen, &QMenu::aboutToShow, this, [this] { ActionList_->Execute(FileReopen); });
  for (int slot = 0; slot < kHistProjectSlots; ++slot) {
    itemReopen->addAction(QString())->setObjectName(QString("itemHistProject%1").arg(slot));
  }
  sepFileReopen1 = Named(itemReopen->addSeparator(), "sepFileReopen1");
  for (int slot = 0; slot < kHistCalcSlots; ++slot) {
    itemReopen->addAction(QString())->setObjectName(QString("itemHistCalc%1").arg(slot));
  }
  for (QAction* item : itemReopen->actions()) {
    item->setVisible(false);
    if (item == sepFileReopen1) continue;
    connect(item, &QAction::triggered, this,
            [this, item] { RunGuarded([&] { FileHistoryItemExecute(item); }); });
  }

  Named(menuFile->addSeparator(), "sepFile2");
  AddLinkedItem(menuFile, "itemSave", FileSave);
  AddLinkedItem(menuFile, "itemSaveAs", FileSaveAs);
  AddLinkedItem(menuFile, "itemProjectSaveAs", FileProjectSaveAs);
  AddLinkedItem(menuFile, "itemSaveAll", FileSaveAll);
  AddLinkedItem(menuFile, "itemClose", FileClose);
  AddLinkedItem(menuFile, "itemCloseAll", FileCloseAll);
  Named(menuFile->addSeparator(), "sepFile3");
  AddLinkedItem(menuFile, "itemFileExit", FileExit);
}
