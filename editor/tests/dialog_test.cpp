// The dialog over the parameter block: what it shows, what it refuses with the
// method's own reasons, and the bytes it writes on OK.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <functional>

#include "dialog_driver.h"
#include "editor/exchange_files.h"
#include "editor/param_editor_dialog.h"
#include "method/parameter_block.h"
#include "platform/cp1251.h"
#include "platform/tests/file_size_limit.h"

namespace {

using namespace driver;

// The defaults changed by `change`, as the block's decoder gives them back:
// fields the kinds leave out are zero.
RunParameters Block(const std::function<void(RunParameters&)>& change) {
  RunParameters parameters = DefaultRunParameters();
  change(parameters);
  return DecodeRunParameters(EncodeRunParameters(parameters));
}

// Every optional field present: partial correlation equal to r0, the
// exponential-power law, p = 3, statistics files with a Cyrillic path, both
// estimates and the alternative pair.
RunParameters FullBlock() {
  return Block([](RunParameters& p) {
    p.TestKind = kTestKindIndividZ0;
    p.VarI = 2;
    p.VarJ = 1;
    p.R0 = -0.35;
    p.Q = 2;
    p.GeneratorKind = kGeneratorExpPower;
    p.GenParam1 = 1.5;
    p.GenParam2 = 0.1;
    p.GenParam3 = 1.3f;
    p.Dimension = 3;
    p.Mean = {1, -2, 1e-7};
    p.Covariance = {2, 0.5, 0.25, 3, -0.125, 1};
    p.N = 40;
    p.M = 7;
    p.K = 3;
    p.SaveValues = p.EstimateMean = p.EstimateCovariance = p.Alternative = 1;
    p.StatisticsPath = platform::Utf8ToCp1251("/tmp/статистика.txt");
    p.AltMean = {0.5, 0.25, 0};
    p.AltCovariance = {1, 0, 0, 1, 0, 1};
  });
}

class Dialog : public testing::Test {
 protected:
  // The dialog writes into a folder of the test's own.
  std::unique_ptr<TWParamEditor> Open(const RunParameters& parameters) {
    auto dialog = std::make_unique<TWParamEditor>(parameters, "/data/set.sds", "",
                                                  folder_.filePath(kParametersFile), nullptr);
    dialog->show();
    return dialog;
  }

  QByteArray Written() const {
    QFile file(folder_.filePath(kParametersFile));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
  }

  QTemporaryDir folder_;
};

TEST_F(Dialog, ShowsABlockAndGivesItBackUnchanged) {
  const RunParameters blocks[] = {
      DefaultRunParameters(),
      FullBlock(),
      Block([](RunParameters& p) {
        p.TestKind = kTestKindF;
        p.VarI = p.Q = 1;
        p.GeneratorKind = kGeneratorLaplace;
      }),
      Block([](RunParameters& p) {
        p.TestKind = kTestKindX2;
        p.GeneratorKind = kGeneratorCauchy;
        p.Alternative = 1;
        p.AltMean = {3, 4};
        p.AltCovariance = {2, 1, 2};
      }),
      Block([](RunParameters& p) {  // statistics files with an empty path
        p.TestKind = kTestKindPairT;
        p.VarI = 2;
        p.VarJ = 1;
        p.GeneratorKind = kGeneratorLogistic;
        p.SaveValues = 1;
      }),
  };
  for (const RunParameters& block : blocks) {
    ASSERT_TRUE(CheckRunParameters(block).empty()) << int(block.TestKind);
    auto dialog = Open(block);
    EXPECT_EQ(dialog->Parameters(), block) << int(block.TestKind);
    EXPECT_TRUE(dialog->Problems().empty());
    EXPECT_TRUE(OkEnabled(*dialog));
  }
}

TEST_F(Dialog, ShowsTheFieldsOfTheChosenKindsOnly) {
  auto dialog = Open(DefaultRunParameters());
  for (int kind = kTestKindX2; kind <= kTestKindF; ++kind) {
    Choose(*dialog, "cbTestKind", kind);
    EXPECT_EQ(Shown(*dialog, "seVarI"), TestKindHasVarI(kind)) << kind;
    EXPECT_EQ(Shown(*dialog, "seVarJ"), TestKindHasVarJ(kind)) << kind;
    EXPECT_EQ(Shown(*dialog, "edR0"), TestKindHasR0(kind)) << kind;
    EXPECT_EQ(Shown(*dialog, "seQ"), TestKindHasQ(kind)) << kind;
  }
  for (int law = kGeneratorNormal; law <= kGeneratorExpPower; ++law) {
    Choose(*dialog, "cbGeneratorKind", law);
    EXPECT_EQ(Shown(*dialog, "edGenParam3"), law == kGeneratorExpPower) << law;
  }
  EXPECT_FALSE(Shown(*dialog, "tblAltMean") || Shown(*dialog, "tblAltCovariance"));
  Check(*dialog, "chkAlternative", true);
  EXPECT_TRUE(Shown(*dialog, "tblAltMean") && Shown(*dialog, "tblAltCovariance"));
  EXPECT_FALSE(Find<QWidget>(*dialog, "edStatisticsPath").isEnabled());
  Check(*dialog, "chkSaveValues", true);
  EXPECT_TRUE(Find<QWidget>(*dialog, "edStatisticsPath").isEnabled());
}

TEST_F(Dialog, RefusesOkWithTheMethodsReasonBesideTheField) {
  auto dialog = Open(DefaultRunParameters());
  // T2 with p = 2 needs N >= 3.
  SetNumber(*dialog, "seN", 2);
  const auto reasons = CheckRunParameters(Block([](RunParameters& p) { p.N = 2; }));
  ASSERT_EQ(reasons.size(), 1u);
  EXPECT_EQ(Problem(*dialog, "N").toStdString(), reasons[0].Message);
  EXPECT_FALSE(OkEnabled(*dialog));
  dialog->accept();
  EXPECT_NE(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(Written(), "<none>");
  SetNumber(*dialog, "seN", 3);
  EXPECT_EQ(Problem(*dialog, "N"), "");
  EXPECT_TRUE(OkEnabled(*dialog));

  // A covariance that is not positive definite, typed into the upper
  // triangle: the lower one follows.
  TypeIntoCell(*dialog, "tblCovariance", 0, 1, "2");
  EXPECT_EQ(Cell(*dialog, "tblCovariance", 1, 0), "2");
  EXPECT_EQ(Problem(*dialog, "Covariance"), "Ковариационная матрица должна быть положительно определенной");
  EXPECT_FALSE(OkEnabled(*dialog));
  TypeIntoCell(*dialog, "tblCovariance", 1, 0, "0,5");
  EXPECT_EQ(Problem(*dialog, "Covariance"), "");
  // A refused cell text says why beside its table; OK waits for a text that
  // is taken.
  TypeIntoCell(*dialog, "tblMean", 0, 0, "один");
  EXPECT_EQ(Problem(*dialog, "Mean"), "Значение «один» не может быть прочитано как число");
  EXPECT_EQ(Cell(*dialog, "tblMean", 0, 0), "0");
  EXPECT_FALSE(OkEnabled(*dialog));
  dialog->accept();
  EXPECT_EQ(Written(), "<none>");
  TypeIntoCell(*dialog, "tblMean", 0, 1, "1");
  EXPECT_EQ(Problem(*dialog, "Mean"), "");
  EXPECT_TRUE(OkEnabled(*dialog));
}

// The buttons stay under the pointer: the first message takes room the
// dialog opened with, and more messages scroll.
TEST_F(Dialog, KeepsTheSizeItOpensAtWhateverAnEditBrings) {
  auto dialog = Open(DefaultRunParameters());
  const QSize opened = dialog->size();
  const QScrollBar* scroll_bar = dialog->findChild<QScrollArea*>()->verticalScrollBar();
  SetNumber(*dialog, "seN", 1);
  QCoreApplication::processEvents();
  EXPECT_NE(Problem(*dialog, "N"), "");
  EXPECT_FALSE(scroll_bar->isVisible());
  SetNumber(*dialog, "seM", 0);
  SetNumber(*dialog, "seK", 0);
  SetNumber(*dialog, "seDimension", 6);
  QCoreApplication::processEvents();
  EXPECT_EQ(dialog->size(), opened);
}

TEST_F(Dialog, TextThatIsNoNumberIsRefusedUntilItsFieldIsGone) {
  auto dialog = Open(DefaultRunParameters());
  Choose(*dialog, "cbTestKind", kTestKindPairZ0);
  Type(*dialog, "edR0", "abc");
  EXPECT_EQ(Problem(*dialog, "R0"), "Значение «abc» не может быть прочитано как число");
  EXPECT_FALSE(OkEnabled(*dialog));
  // The pair-correlation test without r0 does not carry the field.
  Choose(*dialog, "cbTestKind", kTestKindPairT);
  EXPECT_TRUE(OkEnabled(*dialog));

  Choose(*dialog, "cbGeneratorKind", kGeneratorExpPower);
  Type(*dialog, "edGenParam3", "1e39");
  EXPECT_EQ(Problem(*dialog, "GenParam3"), "Значение «1e39» не может быть прочитано как число");
  Type(*dialog, "edGenParam3", "0");
  EXPECT_EQ(Problem(*dialog, "GenParam3").toStdString(), CheckRunParameters(dialog->Parameters())[0].Message);
}

TEST_F(Dialog, TheStatisticsPathMustFitCodePage1251In260Bytes) {
  auto dialog = Open(DefaultRunParameters());
  Check(*dialog, "chkSaveValues", true);
  Type(*dialog, "edStatisticsPath", "统计.txt");
  EXPECT_TRUE(Problem(*dialog, "StatisticsPath").startsWith("Путь файлов статистик: "));
  EXPECT_FALSE(OkEnabled(*dialog));
  // Code page 1251 holds each Cyrillic letter in one byte, UTF-8 in two.
  Type(*dialog, "edStatisticsPath", QString(260, QChar(u'я')));
  EXPECT_EQ(Problem(*dialog, "StatisticsPath"), "");
  EXPECT_EQ(dialog->Parameters().StatisticsPath, std::string(260, '\xFF'));
  Type(*dialog, "edStatisticsPath", QString(261, QChar(u'я')));
  EXPECT_EQ(Problem(*dialog, "StatisticsPath"), "Путь файлов статистик не должен быть длиннее 260 байт");
  // Without the files the path is not part of the block.
  Check(*dialog, "chkSaveValues", false);
  EXPECT_TRUE(OkEnabled(*dialog));
  EXPECT_EQ(dialog->Parameters().StatisticsPath, "");
}

TEST_F(Dialog, TheDimensionSizesBothPairsAndGrowsThemByTheIdentity) {
  auto dialog = Open(DefaultRunParameters());
  Check(*dialog, "chkAlternative", true);
  SetNumber(*dialog, "seDimension", 3);
  const RunParameters shown = dialog->Parameters();
  EXPECT_EQ(shown.Dimension, 3);
  EXPECT_EQ(shown.Mean, (std::vector<double>{0, 0, 0}));
  EXPECT_EQ(shown.Covariance, (std::vector<double>{1, 0, 0, 1, 0, 1}));
  EXPECT_EQ(shown.AltMean, shown.Mean);
  EXPECT_EQ(shown.AltCovariance, shown.Covariance);
  EXPECT_EQ(Find<QTableView>(*dialog, "tblAltCovariance").model()->columnCount(), 3);
}

TEST_F(Dialog, OkWritesTheEncodersBytesForTheValuesShownOrStaysOpenWhenTheWriteFails) {
  auto dialog = Open(FullBlock());
  Type(*dialog, "edGenParam3", "0,7");
  SetNumber(*dialog, "seK", 12);
  ClickOk(*dialog);
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  RunParameters expected = FullBlock();
  expected.GenParam3 = 0.7f;
  expected.K = 12;
  EXPECT_EQ(dialog->Parameters(), expected);
  EXPECT_EQ(Written().toStdString(), EncodeRunParameters(expected));

  // A write that fails part-way, as on a full disk, is shown, the dialog
  // stays and the previous file is kept.
  const QByteArray previous = Written();
  dialog = Open(DefaultRunParameters());
  {
    const FileSizeLimit limit(10);
    ClickOk(*dialog);
  }
  EXPECT_NE(dialog->result(), QDialog::Accepted);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_TRUE(Shown(*dialog, "lblWriteError"));
  EXPECT_EQ(Find<QLabel>(*dialog, "lblWriteError").text(),
            "Невозможно записать файл параметров «" + folder_.filePath(kParametersFile) + "»");
  EXPECT_EQ(Written(), previous);
  EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files), QStringList({kParametersFile}));
}

}  // namespace
