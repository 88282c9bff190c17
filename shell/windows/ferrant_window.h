// The data-set editor "Табличный процессор": a child window of the main window
// showing one workbook sheet, with its own tool bar on the main window's tool
// bar area and its menus merged into the main window's menu while it is the
// active child. It builds data-set files from the selected numbers, opens
// them, imports Excel 5.0/95 and 97-2003 workbooks and exports Excel 5.0
// ones. At most one exists.
// ferrant_window.cpp holds the form and the sheet commands,
// ferrant_window_samples.cpp the steps that deal with whole data sets.
#pragma once

#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QToolBar>

class ActionList;
class ImageList;
class Prompt;
class TF2Book;
class TWMain;

class TWFerrant : public QMdiSubWindow {
 public:
  // The largest sheet the editor grows to, that of an Excel 5.0 worksheet.
  static constexpr int kMaxRows = 16384;
  static constexpr int kMaxCols = 256;

  // Adds itself to the main window's child area, shown maximized with the
  // sheet hidden; the text is not used.
  TWFerrant(TWMain* owner, const QString& unused);
  ~TWFerrant() override;

  // Asks the size and description of a new, empty data set.
  void NewDataSet();
  // Loads the data-set file at `path` into the sheet.
  void OpenDataSet(const QString& path);

  // "Табличный процессор", with "*" while there are unsaved changes.
  void UpdateCaption();
  // Checks that every cell of the taken selection holds a number, offering
  // to delete each row that does not, then saves the selection as a
  // data-set file.
  void SaveSample();
  static QString DotToComma(const QString& text);

  TF2Book* Book() const { return F2Book; }
  ActionList& Actions() const { return *alFerrant; }
  QToolBar* ToolBar() const { return tbFerrant; }
  bool Modified() const { return FModified; }
  const QString& FileName() const { return FFileName; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // ferrant_window.cpp
  void CreateComponents();
  void CreateActions();
  void CreateToolBar();
  void CreateMenus();
  void FormCreate();
  void FormClose();
  void MergeMenus(bool merged);
  void MarkModified();
  void ShowFileName();
  void InsertLine(bool row);
  void DeleteLine(bool row);
  void TransferWorkbook(bool import);
  void F2BookEndEdit(QString& text, qint16& cancel);

  // ferrant_window_samples.cpp
  void actnDataSetsMakeSampleExecute();
  void actnDataSetsSampleInfoExecute();
  bool CheckSelection();
  void SaveSelection();

  TWMain* main_;
  Prompt& prompt_;
  // Kept apart from the main window: the child area still reports the
  // editor's deactivation while a closing main window is half destroyed.
  QPointer<QMenuBar> main_menu_;

  TF2Book* F2Book = nullptr;
  QPointer<QToolBar> tbFerrant;
  ImageList* ilFerrant = nullptr;
  ActionList* alFerrant = nullptr;
  QList<QMenu*> menuFerrant;
  QMenu* menuEdit = nullptr;
  QMenu* menuDataSets = nullptr;

  QAction* actnEditCut = nullptr;
  QAction* actnEditCopy = nullptr;
  QAction* actnEditPaste = nullptr;
  QAction* actnEditDelete = nullptr;
  QAction* actnEditSelectAll = nullptr;
  QAction* actnDataSetsInsertRow = nullptr;
  QAction* actnDataSetsInsertCol = nullptr;
  QAction* actnDataSetsDeleteRow = nullptr;
  QAction* actnDataSetsDeleteCol = nullptr;
  QAction* actnDataSetsMakeSample = nullptr;
  QAction* actnDataSetsSampleInfo = nullptr;
  QAction* actnFileImport = nullptr;
  QAction* actnFileExport = nullptr;

  bool FModified = false;
  QString FFileName;
  QString FDescription;
  qint32 FSelTopRow = 0;
  qint32 FSelLeftCol = 0;
  qint32 FSelBottomRow = 0;
  qint32 FSelRightCol = 0;
};

// The one data-set editor, or null while none exists.
extern TWFerrant* WFerrant;
