// The calculation panel and runs of the method delivered with the system
// (Brennic and its parameter editor from the staged program folder), driven
// through the panel's controls and actions.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include "platform/window_messages.h"
#include "shell/model/tests/brennic_block.h"
#include "shell/windows/drop_down_combo_box.h"
#include "shell/windows/gauge.h"
#include "shell/windows/tests/main_window_fixture.h"

namespace {

using Answer = Prompt::Answer;

// Brennic with its editor, the method without libraries, and one whose
// calculation library does not exist.
constexpr char kMethodsIni[] =
    "[Methods]\n"
    "Brennic=Метод Монте-Карло\n"
    "Plain = Простой метод\n"
    "Missing=Без программы\n"
    "[Brennic]\n"
    "Code=Brennic\n"
    "FullName=Метод Монте-Карло: распределения многомерных статистик\n"
    "ParamEditorDll=libBrennicEditor.so\n"
    "CalcProgramDll=libBrennic.so\n"
    "[Plain]\n"
    "Code =  PM \n"
    "FullName =  Метод без библиотек \n"
    "[Missing]\n"
    "Code=X\n"
    "CalcProgramDll=libMissing.so\n";

constexpr int kBrennic = 0;
constexpr int kPlain = 1;
constexpr int kMissing = 2;

bool WaitUntil(const std::function<bool()>& condition, int milliseconds = 20000) {
  const QDeadlineTimer deadline(milliseconds);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

class CalculationRun : public CommandsFixture {
 protected:
  void SetUp() override {
    CommandsFixture::SetUp();
    WriteIni(kMethodsIni);
    Window().show();
    status_bar_ = Child<QStatusBar>(Window(), "StatusBar");
    run_button_ = Child<QPushButton>(Window(), "bbRunCalculation");
  }

  // A saved project and a new calculation of the chosen method.
  void ProjectWithMethod(int method) {
    NewProject();
    SaveProjectAs(File("p.spr"));
    NewCalculation();
    ChooseMethod(method);
  }

  // Runs the parameter editor and accepts the values it shows: those of the
  // given block, or its defaults. The block is the calculation's before the
  // editor starts, since the shell hands the editor only its own.
  void AcceptParameters(const QByteArray& block = {}) {
    if (!block.isEmpty()) {
      QFile file(QDir::current().filePath("Parameters.dat"));
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(block);
      file.close();
      const_cast<TCalculation*>(Window().Calculation())->LoadParameters();
    }
    QTimer accept;
    QObject::connect(&accept, &QTimer::timeout, [&] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        accept.stop();
        dialog->accept();
      }
    });
    accept.start(20);
    ASSERT_TRUE(Execute("CalcParameterEditor"));
    ASSERT_TRUE(Window().Calculation()->HasParameters());
  }

  TCGauge* Gauge() const { return status_bar_->findChild<TCGauge*>(); }
  QList<QMdiSubWindow*> ReportWindows() { return Window().MdiArea()->subWindowList(); }

  // The Run button and the program folder as they are between runs.
  void ExpectIdle() {
    EXPECT_EQ(run_button_->text(), "&Запуск расчета");
    EXPECT_FALSE(Window().Calculation()->IsRunning());
    EXPECT_EQ(QDir::currentPath(), QDir(WB_STAGE_DIR).canonicalPath());
  }

  QStatusBar* status_bar_ = nullptr;
  QPushButton* run_button_ = nullptr;
};

TEST_F(CalculationRun, MethodsGiveTheirTrimmedValuesAndEnableWhatTheyHave) {
  NewProject();
  NewCalculation();
  EXPECT_FALSE(Enabled("CalcRun"));
  ChooseMethod(kPlain);
  EXPECT_EQ(Child<QComboBox>(Window(), "cbMethods")->toolTip(), "Метод без библиотек");
  EXPECT_FALSE(Enabled("CalcRun") || Enabled("CalcParameterEditor"));
  SaveCalculationAs(File("c.scl"));
  // The code and the full name are stored without their blanks.
  EXPECT_TRUE(ReadBytes(File("c.scl")).contains(QByteArray("\x02\x00\x00\x00PM", 6)));

  ChooseMethod(kBrennic);
  EXPECT_TRUE(Enabled("CalcRun") && Enabled("CalcParameterEditor"));

  // An opened calculation shows its method again.
  prompt_.answers = {Answer::No};
  ASSERT_TRUE(Execute("FileClose"));
  EXPECT_EQ(Child<QComboBox>(Window(), "cbMethods")->currentIndex(), -1);
  Select(Group(kCalculations)->child(0));
  ASSERT_TRUE(Execute("PrjSetActive"));
  EXPECT_EQ(Child<QComboBox>(Window(), "cbMethods")->currentText(), "Простой метод");
}

TEST_F(CalculationRun, DataSetsAreListedByFileNameAndAPickTakesTheFullPath) {
  NewProject();
  NewCalculation();
  ASSERT_TRUE(QDir(folder_.path()).mkpath("d1") && QDir(folder_.path()).mkpath("d2"));
  prompt_.files = {File("d1/x.sds"), File("d2/x.sds")};
  ASSERT_TRUE(Execute("PrjAdd"));
  ASSERT_TRUE(Execute("PrjAdd"));
  auto* data_sets = Child<DropDownComboBox>(Window(), "cbDataSets");
  EXPECT_FALSE(Enabled("CalcTranslator"));
  data_sets->showPopup();
  data_sets->hidePopup();
  ASSERT_EQ(data_sets->count(), 2);
  EXPECT_EQ(data_sets->itemText(0) + data_sets->itemText(1), "x.sdsx.sds");
  data_sets->setCurrentIndex(1);
  emit data_sets->activated(1);
  EXPECT_TRUE(Enabled("CalcTranslator"));
  EXPECT_FALSE(Window().Calculation()->IsModified());  // choosing a data set is no change
  SaveCalculationAs(File("c.scl"));
  EXPECT_TRUE(ReadBytes(File("c.scl")).contains(File("d2/x.sds").toUtf8()));

  // An opened calculation shows its data set; in a project that does not
  // list it, by name in the box, with nothing selected.
  ASSERT_TRUE(Execute("FileClose"));
  EXPECT_EQ(data_sets->currentIndex(), -1);
  Select(Group(kCalculations)->child(0));
  ASSERT_TRUE(Execute("PrjSetActive"));
  EXPECT_EQ(data_sets->currentIndex(), 1);
  EXPECT_EQ(data_sets->currentText(), "x.sds");
  NewProject("Проект Б");
  EXPECT_EQ(data_sets->currentIndex(), -1);
  EXPECT_EQ(data_sets->placeholderText(), "");
  prompt_.files = {File("c.scl")};
  ASSERT_TRUE(Execute("PrjAdd"));
  EXPECT_EQ(data_sets->currentIndex(), -1);
  EXPECT_EQ(data_sets->placeholderText(), "x.sds");
}

TEST_F(CalculationRun, ARunShowsItsProgressAndThenItsReportWhichTheProjectRecords) {
  ProjectWithMethod(kBrennic);
  AcceptParameters();  // the editor's defaults: 10 repetitions of 100 samples
  EXPECT_TRUE(Window().Calculation()->IsModified());

  int gauges_made = 0;
  run_button_->click();
  EXPECT_EQ(run_button_->text(), "&Остановить расчет");
  EXPECT_TRUE(Window().Calculation()->IsRunning());
  ASSERT_TRUE(WaitUntil([&] {
    if (Gauge() != nullptr) ++gauges_made;
    return !ReportWindows().isEmpty();
  }));
  EXPECT_GT(gauges_made, 0);
  EXPECT_EQ(Gauge(), nullptr);
  ExpectIdle();
  EXPECT_TRUE(prompt_.errors.isEmpty()) << prompt_.errors.join("; ").toStdString();

  ASSERT_EQ(Window().Project()->GetReports().size(), 1);
  const QString entry = Window().Project()->GetReports().first();
  const QString caption = ReportWindows().first()->windowTitle();
  EXPECT_TRUE(caption.startsWith("Отчет на ")) << caption.toStdString();
  const QString folder = entry.mid(caption.size() + 1);
  EXPECT_EQ(entry, caption + "|" + folder);
  const QRegularExpression run_folder("^" + QRegularExpression::escape(QDir(folder_.path()).canonicalPath()) +
                                      "/Reports/\\d{8}-\\d{9}$");
  EXPECT_TRUE(run_folder.match(folder).hasMatch()) << folder.toStdString();
  EXPECT_TRUE(QFile::exists(folder + "/index.html"));
  EXPECT_FALSE(QFile::exists(folder + "/Parameters.dat"));
  EXPECT_FALSE(QFile::exists(folder + "/DataSets.dat"));
  EXPECT_EQ(Nodes(kReports), QStringList({caption + " 21"}));
}

// While the calculation runs, the run owns it: nothing may close, replace
// or re-bind it, and the window does not close. Abort ends it at once.
TEST_F(CalculationRun, ARunningCalculationIsKeptUntilAbortEndsItWithNothingRecorded) {
  ProjectWithMethod(kBrennic);
  AcceptParameters(BrennicBlock(20000, 100));  // seconds of work
  run_button_->click();
  ASSERT_TRUE(WaitUntil([&] { return Gauge() != nullptr; }));

  for (const char* name : {"FileNewProject", "FileNewCalculation", "FileOpen", "FileOpenProject", "FileClose",
                           "FileCloseAll", "CalcParameterEditor", "CalcRun", "PrjAdd"}) {
    EXPECT_FALSE(Enabled(name)) << name;
  }
  EXPECT_TRUE(Enabled("FileSave"));
  EXPECT_FALSE(Child<QComboBox>(Window(), "cbMethods")->isEnabled());
  Select(Group(kCalculations)->child(0));
  EXPECT_FALSE(Enabled("PrjDel"));
  EXPECT_FALSE(Window().close());
  EXPECT_EQ(prompt_.errors.size(), 1);
  ASSERT_TRUE(Window().Calculation()->IsRunning());

  run_button_->click();
  ExpectIdle();
  EXPECT_TRUE(Child<QComboBox>(Window(), "cbMethods")->isEnabled());
  QTest::qWait(300);
  EXPECT_TRUE(ReportWindows().isEmpty());
  EXPECT_TRUE(Window().Project()->GetReports().isEmpty());
  EXPECT_EQ(Gauge(), nullptr);
  EXPECT_TRUE(Enabled("FileCloseAll"));
}

// An abort that comes once the report is whole, while the run waits for its
// end message to be answered, leaves nothing of the run: its folder goes
// with the report and the statistics files the run wrote there.
TEST_F(CalculationRun, AnAbortedRunLeavesNoRunFolderEvenWithItsReportWhole) {
  ProjectWithMethod(kBrennic);
  AcceptParameters(BrennicBlock(20, 2, "stat.txt"));
  QString folder;
  const platform::WindowHandle before_the_window = platform::RegisterWindow(
      "TWMain", [&](std::uint32_t message, std::uintptr_t, std::intptr_t) -> std::intptr_t {
        if (message == platform::kWmUser + 2 && QFile::exists("index.html") && QFile::exists("stat2.txt")) {
          folder = QDir::currentPath();
          run_button_->click();
        }
        return 0;
      });
  run_button_->click();
  ASSERT_TRUE(WaitUntil([&] { return !Window().Calculation()->IsRunning(); }));
  platform::UnregisterWindow(before_the_window);
  ASSERT_FALSE(folder.isEmpty());
  EXPECT_FALSE(QFileInfo::exists(folder));
  ExpectIdle();
  QTest::qWait(100);
  EXPECT_TRUE(ReportWindows().isEmpty());
  EXPECT_TRUE(Window().Project()->GetReports().isEmpty());
}

// A run that cannot start, or whose method fails before it writes anything,
// says so and leaves the Run button, the program folder and no run folder
// behind. A project never saved runs below the program's "Projects/".
TEST_F(CalculationRun, ARunThatFailsToStartLeavesNoRunFolderBehind) {
  NewProject();
  NewCalculation();
  const QString reports = QDir(WB_STAGE_DIR).canonicalPath() + "/Projects/Reports";
  const QRegularExpression run_folder("^" + QRegularExpression::escape(reports) + "/\\d{8}-\\d{9}$");
  const struct {
    int method;
    const char* error;
  } cases[] = {
      {kMissing, "Неудачный запуск вычислительной программы !"},
      {kBrennic, "Cannot open file Parameters.dat"},  // choosing the method left no parameters
  };
  for (const auto& failing : cases) {
    SCOPED_TRACE(failing.error);
    prompt_.errors.clear();
    ChooseMethod(failing.method);
    const QStringList before = QDir(reports).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_TRUE(Execute("CalcRun"));
    if (Window().Calculation()->IsRunning()) {
      const QString folder = QDir::currentPath();
      EXPECT_TRUE(run_folder.match(folder).hasMatch()) << folder.toStdString();
      ASSERT_TRUE(WaitUntil([&] { return !Window().Calculation()->IsRunning(); }));
      EXPECT_FALSE(QDir(folder).exists());
    }
    EXPECT_EQ(prompt_.errors, QStringList({failing.error}));
    ExpectIdle();
    EXPECT_EQ(QDir(reports).entryList(QDir::Dirs | QDir::NoDotAndDotDot), before);
  }
}

// A run folder that cannot be made (here "Reports" is a file) refuses the run
// rather than letting it write its files into whatever folder is current.
TEST_F(CalculationRun, ARunWhoseFolderCannotBeMadeIsRefused) {
  ProjectWithMethod(kBrennic);
  AcceptParameters();
  QFile blocker(File("Reports"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  ASSERT_TRUE(Execute("CalcRun"));
  ASSERT_EQ(prompt_.errors.size(), 1);
  EXPECT_TRUE(prompt_.errors.first().startsWith("Невозможно создать папку отчета «"))
      << prompt_.errors.first().toStdString();
  ExpectIdle();
  EXPECT_FALSE(QFile::exists(QDir::current().filePath("Parameters.dat")));
}

}  // namespace
