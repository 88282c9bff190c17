// The data-set editor's form, its tool bar and menus, and the commands that
// work on the sheet: the clipboard, rows and columns, workbook import and
// export, and the end of a cell edit.
#include "shell/windows/ferrant_window.h"

#include <QCloseEvent>
#include <QMenuBar>

#include "platform/quoted.h"
#include "shell/model/prompt.h"
#include "shell/windows/action_list.h"
#include "shell/windows/image_list.h"
#include "shell/windows/main_window.h"
#include "shell/windows/window_actions.h"
#include "workbook/f2book.h"

TWFerrant* WFerrant = nullptr;

namespace {

const QString kCaption = "Табличный процессор";
// The menus of the main window and of the editor take their places in the
// menu bar by these indexes (Файл 0, Правка 1, Проект 2, Наборы данных 3, Окно 10).
constexpr char kGroupIndex[] = "groupIndex";
constexpr int kEditGroup = 1;
constexpr int kDataSetsGroup = 3;

// ilFerrant: the pictures at indexes 0 to 9.
const QHash<int, QString>& FerrantPictures() {
  static const QHash<int, QString> pictures = {
      {0, "ferrant_cut"},         {1, "ferrant_copy"},       {2, "ferrant_paste"},
      {3, "ferrant_clear"},       {4, "ferrant_insert_row"}, {5, "ferrant_insert_col"},
      {6, "ferrant_delete_row"},  {7, "ferrant_delete_col"}, {8, "ferrant_make_sample"},
      {9, "ferrant_sample_info"},
  };
  return pictures;
}

int GroupIndexOf(const QAction* menu_action) {
  const QMenu* menu = menu_action->menu();
  return menu != nullptr ? menu->property(kGroupIndex).toInt() : 0;
}

}  // namespace

TWFerrant::TWFerrant(TWMain* owner, const QString& /*unused*/)
    : main_(owner), prompt_(owner->UserPrompt()), main_menu_(owner->menuBar()) {
  CreateComponents();
  WFerrant = this;
  main_->FerrantWindowChanged();
  FormCreate();
}

TWFerrant::~TWFerrant() {
  // The tool bar lives on the main window but belongs to the editor.
  delete tbFerrant;
  if (WFerrant == this) WFerrant = nullptr;
}

void TWFerrant::CreateComponents() {
  setObjectName("WFerrant");
  setWindowTitle(kCaption);
  // Closing the editor destroys it; the deletion waits for the queued
  // events, so a loop closing several children is not disturbed.
  setAttribute(Qt::WA_DeleteOnClose);

  F2Book = new TF2Book(this);
  F2Book->setObjectName("F2Book");
  F2Book->SetOnEndEdit([this](QString& text, qint16& cancel) { F2BookEndEdit(text, cancel); });
  setWidget(F2Book);
  F2Book->hide();

  ilFerrant = new ImageList(this, "ilFerrant", FerrantPictures());
  alFerrant = new ActionList(this, *ilFerrant);
  alFerrant->setObjectName("alFerrant");
  CreateActions();
  CreateToolBar();
  CreateMenus();

  main_->MdiArea()->addSubWindow(this);
  // The place and size the editor takes when it is no longer maximized.
  PlaceNewChild(*main_->MdiArea(), *this, kChildOpeningSize);
  connect(main_->MdiArea(), &QMdiArea::subWindowActivated, this,
          [this](QMdiSubWindow* active) { MergeMenus(active == this); });
  showMaximized();
  main_->MdiArea()->setActiveSubWindow(this);
}

void TWFerrant::CreateActions() {
  struct Row {
    ActionSpec spec;
    QAction* TWFerrant::*member;
    QKeySequence shortcut;
    std::function<void(TWFerrant&)> execute;
  };
  const Row rows[] = {
      {{"actnEditCut", "Edit", "&Вырезать", "Вырезать", 0},
       &TWFerrant::actnEditCut,
       Qt::CTRL | Qt::Key_X,
       [](TWFerrant& w) {
         w.F2Book->EditCut();
         w.MarkModified();
       }},
      {{"actnEditCopy", "Edit", "&Копировать", "Копировать", 1},
       &TWFerrant::actnEditCopy,
       Qt::CTRL | Qt::Key_C,
       [](TWFerrant& w) { w.F2Book->EditCopy(); }},
      {{"actnEditPaste", "Edit", "Вст&авить", "Вставить", 2},
       &TWFerrant::actnEditPaste,
       Qt::CTRL | Qt::Key_V,
       [](TWFerrant& w) {
         w.F2Book->EditPaste();
         w.MarkModified();
       }},
      {{"actnEditDelete", "Edit", "О&чистить", "Очистить", 3},
       &TWFerrant::actnEditDelete,
       Qt::Key_Delete,
       [](TWFerrant& w) {
         w.F2Book->EditDelete(TF2Book::kClearCells);
         w.MarkModified();
       }},
      {{"actnEditSelectAll", "Edit", "Выбрать вс&е", "Выбрать все", -1},
       &TWFerrant::actnEditSelectAll,
       {},
       // The whole sheet, whatever part of it the view shows.
       [](TWFerrant& w) { w.F2Book->SetSelection(1, 1, w.F2Book->MaxRow(), w.F2Book->MaxCol()); }},
      {{"actnDataSetsInsertRow", "DataSets", "Вставить строку", "Вставить строку", 4},
       &TWFerrant::actnDataSetsInsertRow,
       {},
       [](TWFerrant& w) { w.InsertLine(true); }},
      {{"actnDataSetsInsertCol", "DataSets", "Вставить столбец", "Вставить столбец", 5},
       &TWFerrant::actnDataSetsInsertCol,
       {},
       [](TWFerrant& w) { w.InsertLine(false); }},
      {{"actnDataSetsDeleteRow", "DataSets", "Удалить строку", "Удалить строку", 6},
       &TWFerrant::actnDataSetsDeleteRow,
       {},
       [](TWFerrant& w) { w.DeleteLine(true); }},
      {{"actnDataSetsDeleteCol", "DataSets", "Удалить столбец", "Удалить столбец", 7},
       &TWFerrant::actnDataSetsDeleteCol,
       {},
       [](TWFerrant& w) { w.DeleteLine(false); }},
      {{"actnDataSetsMakeSample", "DataSets", "Создать подвыборку", "Создать подвыборку", 8},
       &TWFerrant::actnDataSetsMakeSample,
       {},
       [](TWFerrant& w) { w.actnDataSetsMakeSampleExecute(); }},
      {{"actnDataSetsSampleInfo", "DataSets", "Информация о выборке", "Информация о выборке", 9},
       &TWFerrant::actnDataSetsSampleInfo,
       {},
       [](TWFerrant& w) { w.actnDataSetsSampleInfoExecute(); }},
      {{"actnFileImport", "DataSets", "Импорт набора данных", "Импорт набора данных", -1},
       &TWFerrant::actnFileImport,
       {},
       [](TWFerrant& w) { w.TransferWorkbook(true); }},
      {{"actnFileExport", "DataSets", "Экспорт набора данных", "Экспорт набора данных", -1},
       &TWFerrant::actnFileExport,
       {},
       [](TWFerrant& w) { w.TransferWorkbook(false); }},
  };
  for (const Row& row : rows) {
    QAction* action = alFerrant->Add(row.spec);
    this->*row.member = action;
    action->setShortcut(row.shortcut);
    // The shortcuts act while the editor has the focus, not in other windows.
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(action);
    alFerrant->SetHandlers(action, [this, execute = row.execute] { execute(*this); }, {});
  }
}

void TWFerrant::CreateToolBar() {
  tbFerrant = new QToolBar("tbFerrant", main_);
  tbFerrant->setObjectName("tbFerrant");
  tbFerrant->setIconSize(QSize(16, 16));
  tbFerrant->setMovable(false);
  tbFerrant->addActions({actnEditCut, actnEditCopy, actnEditPaste});
  tbFerrant->addSeparator();
  tbFerrant->addActions(
      {actnDataSetsInsertRow, actnDataSetsInsertCol, actnDataSetsDeleteRow, actnDataSetsDeleteCol});
  tbFerrant->addSeparator();
  tbFerrant->addActions({actnDataSetsMakeSample, actnDataSetsSampleInfo});
}

void TWFerrant::CreateMenus() {
  menuEdit = new QMenu("&Правка", this);
  menuEdit->setObjectName("menuEdit");
  menuEdit->setProperty(kGroupIndex, kEditGroup);
  menuEdit->addActions({actnEditCut, actnEditCopy, actnEditPaste});
  menuEdit->addSeparator();
  menuEdit->addActions({actnEditDelete, actnEditSelectAll});

  menuDataSets = new QMenu("Наборы данных", this);
  menuDataSets->setObjectName("menuDataSets");
  menuDataSets->setProperty(kGroupIndex, kDataSetsGroup);
  menuDataSets->addActions(
      {actnDataSetsInsertRow, actnDataSetsInsertCol, actnDataSetsDeleteRow, actnDataSetsDeleteCol});
  menuDataSets->addSeparator();
  menuDataSets->addActions({actnFileImport, actnFileExport});
  menuFerrant = {menuEdit, menuDataSets};
}

// FormCreate: the editor's tool bar joins the main window's.
void TWFerrant::FormCreate() { main_->addToolBar(Qt::TopToolBarArea, tbFerrant); }

void TWFerrant::closeEvent(QCloseEvent* event) {
  FormClose();
  QMdiSubWindow::closeEvent(event);
}

// No question about unsaved changes: the editor's sheet is a scratch pad,
// and its data sets are saved when they are made. The status panel named the
// editor's file, so the name goes with the editor.
void TWFerrant::FormClose() {
  MergeMenus(false);
  if (tbFerrant) tbFerrant->hide();
  main_->SetStatusText(QString());
  main_->FerrantWindowChanged();
  WFerrant = nullptr;
}

// The editor's menus stand in the main window's menu bar while it is the
// active child, each before the first menu with a higher group index.
void TWFerrant::MergeMenus(bool merged) {
  QMenuBar* bar = main_menu_;
  if (bar == nullptr) return;
  for (QMenu* menu : menuFerrant) {
    bar->removeAction(menu->menuAction());
    if (!merged) continue;
    QAction* before = nullptr;
    for (QAction* action : bar->actions()) {
      if (GroupIndexOf(action) > menu->property(kGroupIndex).toInt()) {
        before = action;
        break;
      }
    }
    bar->insertMenu(before, menu);
  }
}

void TWFerrant::UpdateCaption() { setWindowTitle(FModified ? kCaption + "*" : kCaption); }

void TWFerrant::MarkModified() {
  FModified = true;
  UpdateCaption();
}

void TWFerrant::ShowFileName() { main_->SetStatusText("Файл: " + FFileName); }

// The size grows by one before the insert, whatever the selection spans. An
// insert the sheet refuses takes the grown line back, so the sheet keeps
// its size; the line was just added and holds nothing.
void TWFerrant::InsertLine(bool row) {
  const qint32 size = row ? F2Book->MaxRow() : F2Book->MaxCol();
  if (size >= (row ? kMaxRows : kMaxCols)) {
    prompt_.Information(row ? "Достигнуто максимальное количество строк"
                            : "Достигнуто максимальное количество столбцов");
    return;
  }
  const auto resize = [this, row](qint32 lines) {
    if (row) {
      F2Book->SetMaxRow(lines);
    } else {
      F2Book->SetMaxCol(lines);
    }
  };
  resize(size + 1);
  try {
    F2Book->EditInsert(row ? TF2Book::kShiftRows : TF2Book::kShiftCols);
  } catch (...) {
    resize(size);
    throw;
  }
  MarkModified();
}

// The size shrinks by one after the delete. With no cell selected nothing is
// deleted, so the sheet keeps its size: shrinking it would drop the last
// row or column with whatever it holds.
void TWFerrant::DeleteLine(bool row) {
  if ((row ? F2Book->MaxRow() : F2Book->MaxCol()) == 1) {
    prompt_.Information(row ? "Достигнуто минимальное количество строк"
                            : "Достигнуто минимальное количество столбцов");
    return;
  }
  qint32 top = 0, left = 0, bottom = 0, right = 0;
  F2Book->GetSelection(0, top, left, bottom, right);
  if (bottom < top || right < left) return;
  if (row) {
    F2Book->EditDelete(TF2Book::kShiftRows);
    F2Book->SetMaxRow(F2Book->MaxRow() - 1);
  } else {
    F2Book->EditDelete(TF2Book::kShiftCols);
    F2Book->SetMaxCol(F2Book->MaxCol() - 1);
  }
  MarkModified();
}

// Import and export: the step ends as done, also when the dialog was
// cancelled; a file of the system's own types is neither read nor written.
// A file that cannot be read or written leaves the file name as it was, so
// the status panel never shows it.
void TWFerrant::TransferWorkbook(bool import) {
  const TFileDialog::Kind kind = import ? TFileDialog::Kind::Open : TFileDialog::Kind::Save;
  main_->PrepareFileDialog(kind, ftWorkbook, 1);
  TFileDialog& dialog = kind == TFileDialog::Kind::Open ? main_->OpenDialog() : main_->SaveDialog();
  QStringList worksheets;
  if (dialog.Execute()) {
    const QString previous = FFileName;
    FFileName = dialog.FileName();
    if ((TWMain::FileTypeByExt(FFileName) & ftWorkbook) == 0) return;
    try {
      if (import) {
        qint16 type = TF2Book::kExcel5;
        worksheets = F2Book->Read(FFileName, type);
      } else {
        F2Book->Write(FFileName, TF2Book::kExcel5);
      }
    } catch (...) {
      FFileName = previous;
      throw;
    }
  }
  FModified = false;
  ShowFileName();
  UpdateCaption();
  F2Book->show();
  // Only the first worksheet is loaded: said before an export over the same
  // file could drop the others unnoticed.
  if (worksheets.size() > 1) {
    prompt_.Information(QString("В книге %1 листов: %2. Загружен только первый лист %3; при экспорте в этот "
                                "файл остальные листы будут потеряны.")
                            .arg(QString::fromStdString(platform::Quoted(FFileName.toStdString())),
                                 QString::number(worksheets.size()),
                                 QString::fromStdString(platform::Quoted(worksheets.first().toStdString()))));
  }
}

// Every edit stands; the entered text is shown before the sheet counts as
// changed.
void TWFerrant::F2BookEndEdit(QString& text, qint16& /*cancel*/) {
  prompt_.ShowMessage(text);
  MarkModified();
}
