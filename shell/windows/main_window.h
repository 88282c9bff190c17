// The main window: the multiple-document parent of report and data-set
// windows, with the tool bar, the control panel holding the project and
// calculation pages, the status bar that hosts the progress gauge, the menus
// and the one list of commands. The class is split into source files by area:
// main_window.cpp (creation, settings, closing, sizes), main_window_layout.cpp
// (components), main_window_actions.cpp (the action list and its update
// handlers), main_window_file_dialogs.cpp, main_window_file_commands.cpp,
// main_window_project_tree.cpp, main_window_calculation_panel.cpp,
// main_window_run.cpp and main_window_progress.cpp.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStringList>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>

#include "shell/config/settings_store.h"
#include "shell/windows/file_dialog.h"

class ActionLink;
class ActionList;
class DropDownComboBox;
class Exception;
class GuiErrorBox;
class GuiWindow;
class ImageList;
class PanelSplitter;
class Prompt;
class TCGauge;
class TCalculation;
class TProject;
class TThreadedLaunch;
class TWindowCloseAll;

class TWMain : public QMainWindow {
  Q_OBJECT

 public:
  // A project tree node's image index, kept beside its picture.
  static constexpr int kImageIndexRole = Qt::UserRole;

  // Creates the window from the per-user settings store and the method
  // registry in `ini_path`; questions and errors go through `prompt`.
  TWMain(Prompt& prompt, const QString& ini_path);
  ~TWMain() override;

  // The window procedure's entry for messages sent to the window class
  // "TWMain"; runs on the GUI thread and returns the sender's answer.
  std::intptr_t Dispatch(std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam);

  // Shows an exception that reached the event loop; the program goes on.
  void AppException(const std::exception& error);

  ActionList& Actions() const { return *ActionList_; }
  QMdiArea* MdiArea() const { return mdiArea; }
  // The prompt that child windows ask and tell through as well.
  Prompt& UserPrompt() const { return prompt_; }
  // Panel 0 of the status bar.
  void SetStatusText(const QString& text) { StatusPanel->setText(text); }
  QString StatusText() const { return StatusPanel->text(); }
  const TProject* Project() const { return FProject; }
  const TCalculation* Calculation() const { return FCalculation; }

  // The two file dialogs. PrepareFileDialog sets one up for the file types of
  // `mask` (ftProject, ftCalculation, ...): its initial folder, filter pairs,
  // default extension and the filter selected at first (counted from 1).
  TFileDialog& OpenDialog() { return OpenDialog_; }
  TFileDialog& SaveDialog() { return SaveDialog_; }
  void PrepareFileDialog(TFileDialog::Kind kind, int mask, int index);

  // The file type of a path by its extension, compared exactly: ftProject,
  // ftCalculation, ftDataSet, ftReport, or ftOther for any other.
  static int FileTypeByExt(const QString& path);

  // Told by the data-set editor when it opens and when it closes. The
  // commands that depend on the editor look at it when they update, so
  // nothing is to be done here.
  void FerrantWindowChanged() {}

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The fixed groups below the project tree's root, in their order.
  static constexpr int kCalculationsGroup = 0;
  static constexpr int kDataSetsGroup = 1;
  static constexpr int kReportsGroup = 2;

  // main_window.cpp
  bool CalculationRunning() const;
  void FormCreate();
  void FormDestroy();
  void FormClose();
  MainWindowSettings CurrentSettings() const;
  void ApplySettings(const MainWindowSettings& settings);
  void CentreOnDesktop();
  void KeepOnDesktop(bool centred);
  void KeepRestoredOnDesktop();
  bool SplitterCanResize(int new_size) const;

  // main_window_layout.cpp
  void CreateComponents();
  void CreateToolBar();
  void CreateControlPanel();
  void CreateProjectPage();
  void CreateCalculationPage();
  void CreateMenus();
  void CreateFileMenu();
  QAction* AddLinkedItem(QMenu* menu, const char* name, QAction* action);

  // main_window_actions.cpp
  void CreateActions();
  void BindHandlers();
  void FileNewProjectUpdate();
  void FileNewCalculationUpdate();
  void FileNewDataSetUpdate();
  void FileOpenUpdate();
  void FileReopenUpdate();
  void FileSaveUpdate();
  void FileSaveAsUpdate();
  void FileProjectSaveAsUpdate();
  void FileSaveAllUpdate();
  void FileCloseUpdate();
  void FileCloseAllUpdate();
  void PrjSetActiveUpdate();
  void PrjAddUpdate();
  void PrjDelUpdate();
  void CalcParameterEditorUpdate();
  void CalcTranslatorUpdate();
  void CalcRunUpdate();

  // The data-set editor's commands, which the editor window brings along.
  void FileNewDataSetExecute();
  void CalcTranslatorExecute();

  // main_window_file_dialogs.cpp
  TFileDialog& FileDialog(TFileDialog::Kind kind);
  void RunFileDialog(TFileDialog::Kind kind, int mask);
  void OpenFileOfType(int type, const QString& path);
  void SaveFileOfType(int type, const QString& path);
  void OpenProjectFile(const QString& path);
  void OpenCalculationFile(const QString& path);
  // A file that cannot be opened, is no regular file or is damaged: its
  // document is not kept half made, and its history entry goes.
  static bool RefusesFile(const Exception& error);

  // main_window_file_commands.cpp
  void FileNewProjectExecute();
  void FileNewCalculationExecute();
  void FileOpenExecute();
  void FileOpenProjectExecute();
  void FileReopenExecute();
  void FileHistoryItemExecute(QAction* item);
  void FileSaveExecute();
  void FileSaveAsExecute();
  void FileProjectSaveAsExecute();
  void FileSaveAllExecute();
  void FileCloseExecute();
  void FileCloseAllExecute();
  void FileExitExecute();
  bool AskToSave(int question_id);
  static void ReportingMemoryShortage(const std::function<void()>& work);

  // main_window_project_tree.cpp
  void tsProjectShow();
  void RefreshProjectTree();
  void ClearProjectTree();
  QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const QString& text, int image) const;
  QTreeWidgetItem* ProjectGroup(int group) const;
  QTreeWidgetItem* SelectedNodeOf(int group) const;
  void PrjSetActiveExecute();
  void PrjAddExecute();
  void PrjDelExecute();
  void DeleteCalculationEntry(int index);
  void tvProjectDblClick(QTreeWidgetItem* node);
  void itemRenameProjectClick();

  // main_window_calculation_panel.cpp
  void tsCalculationShow();
  void RefreshCalculationPanel();
  void ClearCalculationPanel();
  void cbDataSetsDropDown();
  void cbDataSetsChange(int index);
  void cbMethodsChange(int index);
  void CalcParameterEditorExecute();

  // main_window_run.cpp
  void CalcRunExecute();
  void CalcAbortExecute();
  // Ends the open calculation's run at once, if it runs, and removes its folder.
  void AbortRun();
  void CalcFinished(TThreadedLaunch* sender);
  void ShowRunState(bool running);
  QString RunFolder() const;

  // main_window_progress.cpp
  std::intptr_t ProgressBegin(std::uintptr_t wparam, std::intptr_t lparam);
  void ProgressStep(std::intptr_t lparam);
  void ProgressEnd();
  void PlaceGauge();

  Prompt& prompt_;
  const QString ini_path_;
  // The window class "TWMain" that method libraries send their progress to,
  // and the error box of libraries, both served on the GUI thread.
  std::unique_ptr<GuiWindow> window_class_;
  std::unique_ptr<GuiErrorBox> error_box_;
  TFileDialog OpenDialog_;
  TFileDialog SaveDialog_;
  bool shown_once_ = false;
  // The frame's margins when the window left its maximized state, kept
  // until the window manager has given it the frame of a normal window.
  std::optional<QMargins> restored_from_;

  TProject* FProject = nullptr;
  TCalculation* FCalculation = nullptr;
  QStringList FHistProjects;
  QStringList FHistCalcs;
  QStringList FMethodNames;
  QStringList FMethodKeys;
  TCGauge* FGauge = nullptr;
  qint32 FGaugeStep = 0;

  ImageList* ilMenuItem = nullptr;
  ActionList* ActionList_ = nullptr;

  QToolBar* tbStandart = nullptr;
  QWidget* ControlPanel = nullptr;
  QTabWidget* pcControl = nullptr;
  QWidget* tsProject = nullptr;
  QTreeWidget* tvProject = nullptr;
  QMenu* pmProject = nullptr;
  QWidget* tsCalculation = nullptr;
  QGroupBox* gbCalculation = nullptr;
  QLabel* lDataSet = nullptr;
  DropDownComboBox* cbDataSets = nullptr;
  QToolButton* sbEditDataSet = nullptr;
  QLabel* lMethod = nullptr;
  QComboBox* cbMethods = nullptr;
  QToolButton* sbEditParameters = nullptr;
  QPushButton* bbRunCalculation = nullptr;
  ActionLink* bbRunCalculationLink = nullptr;
  QPlainTextEdit* mCalculationInfo = nullptr;
  PanelSplitter* Splitter = nullptr;
  QMdiArea* mdiArea = nullptr;
  QStatusBar* StatusBar = nullptr;
  QLabel* StatusPanel = nullptr;

  QMenu* menuFile = nullptr;
  QMenu* itemReopen = nullptr;
  QAction* itemRenameProject = nullptr;
  QAction* sepFileReopen1 = nullptr;
  QMenu* menuProject = nullptr;
  QMenu* menuWindow = nullptr;

  QAction* PrjSetActive = nullptr;
  QAction* WindowCascade = nullptr;
  QAction* FileNewProject = nullptr;
  QAction* FileNewCalculation = nullptr;
  QAction* FileNewDataSet = nullptr;
  QAction* FileOpen = nullptr;
  QAction* FileOpenProject = nullptr;
  QAction* FileReopen = nullptr;
  QAction* FileSave = nullptr;
  QAction* FileSaveAs = nullptr;
  QAction* FileProjectSaveAs = nullptr;
  QAction* FileSaveAll = nullptr;
  QAction* FileClose = nullptr;
  QAction* FileCloseAll = nullptr;
  QAction* WindowTileHorizontal = nullptr;
  QAction* WindowTileVertical = nullptr;
  QAction* WindowMinimizeAll = nullptr;
  TWindowCloseAll* WindowCloseAll = nullptr;
  QAction* FileExit = nullptr;
  QAction* CalcParameterEditor = nullptr;
  QAction* CalcTranslator = nullptr;
  QAction* CalcRun = nullptr;
  QAction* CalcAbort = nullptr;
  QAction* PrjAdd = nullptr;
  QAction* PrjDel = nullptr;
};
