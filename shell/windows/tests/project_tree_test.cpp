// The project tree and its commands, on projects written by the model and
// opened through the File commands.
#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>

#include "shell/windows/tests/main_window_fixture.h"

namespace {

using Answer = Prompt::Answer;

class ProjectTree : public CommandsFixture {
 protected:
  // A saved calculation file of that name.
  static QString CalculationFile(const QString& path) {
    auto* calculation = new TCalculation("Расчет");
    calculation->SaveAs(path);
    TCalculation::Free(calculation);
    return path;
  }

  // Writes the project as p.spr in the test's folder and opens it with no
  // calculation active.
  void OpenProject(TProject& project) {
    project.SetActiveCalculation(-1);
    project.SaveAs(File("p.spr"));
    prompt_.files.append(File("p.spr"));
    ASSERT_TRUE(Execute("FileOpenProject"));
    ASSERT_NE(Window().Project(), nullptr);
  }

  // Three calculations a.scl, b.scl and c.scl, none open.
  void OpenThreeCalculations() {
    TProject project("Три расчета");
    for (const char* name : {"a.scl", "b.scl", "c.scl"}) project.AddCalculation(CalculationFile(File(name)));
    OpenProject(project);
  }

  void Activate(int index) {
    Select(Group(kCalculations)->child(index));
    ASSERT_TRUE(Execute("PrjSetActive"));
  }

  bool Deletes(QTreeWidgetItem* node, Answer answer) {
    Select(node);
    prompt_.answers = {answer};
    return Execute("PrjDel");
  }
};

TEST_F(ProjectTree, NodesShowPathsRelativeToTheProjectAndTheActiveCalculationsImage) {
  QTemporaryDir elsewhere;
  ASSERT_TRUE(QDir(folder_.path()).mkdir("sub"));
  TProject project("Проект Б");
  project.AddCalculation(CalculationFile(File("a.scl")));
  project.AddCalculation(CalculationFile(File("sub/b.scl")));
  project.AddCalculation(CalculationFile(elsewhere.filePath("c.scl")));
  project.AddDataSet(File("d.sds"));
  project.AddReport("Отчет | первый", File("Reports/x"));
  OpenProject(project);

  EXPECT_EQ(Tree()->topLevelItem(0)->text(0), "Проект Б");
  const QString other = QDir(elsewhere.path()).dirName();
  EXPECT_EQ(Nodes(kCalculations), QStringList({"a.scl 1", "sub/b.scl 1", "../" + other + "/c.scl 1"}));
  EXPECT_EQ(Nodes(kDataSets), QStringList({"d.sds 25"}));
  EXPECT_EQ(Nodes(kReports), QStringList({"Отчет | первый 21"}));  // up to the last "|"
  EXPECT_TRUE(Group(kReports)->isExpanded());

  // Making the second calculation active opens it and moves the image.
  Activate(1);
  EXPECT_EQ(Nodes(kCalculations).join(", "), "a.scl 1, sub/b.scl 22, ../" + other + "/c.scl 1");
  EXPECT_EQ(Window().Calculation()->GetFileName(), File("sub/b.scl"));
  EXPECT_EQ(Window().Project()->GetActiveCalculation(), 1);

  // Set active: only on another calculation; delete: on calculations and reports.
  const auto enabled_on = [&](QTreeWidgetItem* node) {
    Select(node);
    return QString("%1%2").arg(Enabled("PrjSetActive")).arg(Enabled("PrjDel"));
  };
  EXPECT_EQ(enabled_on(Group(kCalculations)->child(1)), "01");
  EXPECT_EQ(enabled_on(Group(kCalculations)->child(2)), "11");
  EXPECT_EQ(enabled_on(Group(kDataSets)->child(0)), "00");
  EXPECT_EQ(enabled_on(Group(kReports)->child(0)), "01");
  EXPECT_EQ(enabled_on(Group(kReports)), "00");
  EXPECT_EQ(enabled_on(Tree()->topLevelItem(0)), "00");
}

// The project's active entry keeps naming the open calculation whichever
// entry is removed; removing the open calculation's entry closes it first.
TEST_F(ProjectTree, RemovingCalculationsAsksAndKeepsTheOpenOneActive) {
  OpenThreeCalculations();
  Activate(1);
  ASSERT_TRUE(Deletes(Group(kCalculations)->child(0), Answer::No));
  EXPECT_EQ(prompt_.questions, QStringList({"Удалить выделенный расчет?"}));
  EXPECT_EQ(Nodes(kCalculations).size(), 3);

  ASSERT_TRUE(Deletes(Group(kCalculations)->child(0), Answer::Yes));
  EXPECT_EQ(Nodes(kCalculations), QStringList({"b.scl 22", "c.scl 1"}));
  EXPECT_EQ(Window().Project()->GetActiveCalculation(), 0);

  ASSERT_TRUE(Deletes(Group(kCalculations)->child(0), Answer::Yes));
  EXPECT_EQ(Window().Calculation(), nullptr);
  EXPECT_EQ(Nodes(kCalculations), QStringList({"c.scl 1"}));
  EXPECT_EQ(Window().Project()->GetActiveCalculation(), -1);

  // A new calculation's own entry goes with it when it is closed.
  NewCalculation();
  ASSERT_TRUE(Deletes(Group(kCalculations)->child(1), Answer::Yes));
  EXPECT_EQ(Window().Calculation(), nullptr);
  EXPECT_EQ(Nodes(kCalculations), QStringList({"c.scl 1"}));
}

TEST_F(ProjectTree, ACalculationThatCannotBeOpenedLeavesNoneOpen) {
  OpenThreeCalculations();
  QFile::remove(File("b.scl"));
  Activate(1);
  EXPECT_EQ(prompt_.errors, QStringList({"Невозможно открыть файл расчета !"}));
  EXPECT_EQ(Window().Calculation(), nullptr);
  EXPECT_EQ(Nodes(kCalculations), QStringList({"a.scl 1", "b.scl 1", "c.scl 1"}));
}

TEST_F(ProjectTree, AddingOffersCalculationsAndDataSetsAndOpensAChosenCalculation) {
  OpenThreeCalculations();
  prompt_.files = {File("data.sds"), File("b.scl")};
  ASSERT_TRUE(Execute("PrjAdd"));
  EXPECT_EQ(prompt_.fileDialogs.last().setup.filter,
            "Файл расчета (*.scl)|*.scl|Файл набора данных (*.sds)|*.sds|Все файлы (*.*)|*.*");
  EXPECT_EQ(prompt_.fileDialogs.last().setup.initial_folder, folder_.path() + "/");
  EXPECT_EQ(Nodes(kDataSets), QStringList({"data.sds 25"}));
  ASSERT_TRUE(Execute("PrjAdd"));
  EXPECT_EQ(Nodes(kCalculations), QStringList({"a.scl 1", "b.scl 1", "c.scl 1", "b.scl 22"}));
  EXPECT_EQ(Window().Calculation()->GetFileName(), File("b.scl"));
}

TEST_F(ProjectTree, RenamingTakesTheTextAsItIsAndCancelKeepsTheName) {
  OpenThreeCalculations();
  QAction* rename = Child<QAction>(Window(), "itemRenameProject");
  rename->trigger();  // cancelled
  EXPECT_EQ(prompt_.namesAsked, QStringList({"Переименование проекта | Название проекта | Три расчета"}));
  EXPECT_FALSE(Window().Project()->IsModified());
  prompt_.names.append("");
  rename->trigger();
  EXPECT_EQ(Tree()->topLevelItem(0)->text(0), "");
  EXPECT_TRUE(Window().Project()->IsModified());
}

// Another project's run folder, named by a copied project, keeps its files.
TEST_F(ProjectTree, ReportsOpenOnDoubleClickAndGoWithTheirRunFolder) {
  QTemporaryDir original;
  const QString run_folder = File("Reports/20240105-090307045");
  const QString original_folder = original.filePath("Reports/20240105-090307045");
  for (const QString& folder : {run_folder, original_folder}) {
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile report(folder + "/index.html");
    ASSERT_TRUE(report.open(QIODevice::WriteOnly));
    report.write("<html><body>Отчет</body></html>");
  }
  TProject project("С отчетами");
  project.AddCalculation(CalculationFile(File("a.scl")));
  project.AddReport("Отчет 1", run_folder);
  project.AddReport("Без папки", "");
  project.AddReport("Отчет оригинала", original_folder);
  OpenProject(project);

  const auto double_click = [&](QTreeWidgetItem* node) { emit Tree()->itemDoubleClicked(node, 0); };
  double_click(Group(kReports)->child(0));
  double_click(Group(kReports)->child(0));
  double_click(Group(kReports)->child(1));  // its folder is empty
  double_click(Group(kCalculations)->child(0));
  const QList<QMdiSubWindow*> reports = Window().MdiArea()->subWindowList();
  ASSERT_EQ(reports.size(), 2);
  EXPECT_EQ(reports.at(0)->windowTitle() + " | " + reports.at(1)->windowTitle(), "Отчет 1 | Отчет 1");

  ASSERT_TRUE(Deletes(Group(kReports)->child(0), Answer::Yes));
  EXPECT_EQ(prompt_.questions, QStringList({"Удалить выделенный отчет?"}));
  EXPECT_EQ(Nodes(kReports), QStringList({"Без папки 21", "Отчет оригинала 21"}));
  EXPECT_FALSE(QDir(run_folder).exists());
  EXPECT_TRUE(prompt_.informations.isEmpty());

  ASSERT_TRUE(Deletes(Group(kReports)->child(1), Answer::Yes));
  EXPECT_EQ(Nodes(kReports), QStringList({"Без папки 21"}));
  EXPECT_TRUE(QFile::exists(original_folder + "/index.html"));
  EXPECT_EQ(prompt_.informations,
            QStringList({"Папка «" + original_folder +
                         "» не является папкой отчета этого проекта: отчет убран из проекта, файлы папки не "
                         "удалены."}));
}

}  // namespace
