// The editor library as the shell uses it: loaded from the staged program
// folder, called with the exchange files in the current directory, and the
// block it writes run by the method library.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "dialog_driver.h"
#include "editor/exchange_files.h"
#include "method/parameter_block.h"
#include "method/parameter_check.h"
#include "platform/cp1251.h"

namespace {

using namespace driver;

const QString kLibraries = WB_STAGE_DIR "/Libraries/";

QByteArray ReadBytes(const QString& name) {
  QFile file(name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

void WriteBytes(const QString& name, const QByteArray& bytes) {
  QFile file(name);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

class Entry : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    previous_ = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder_.path()));
    editor_ = dlopen((kLibraries + "libBrennicEditor.so").toUtf8().constData(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(editor_, nullptr) << dlerror();
    run_editor_ = reinterpret_cast<int (*)()>(dlsym(editor_, "_RunParamEditor"));
    ASSERT_NE(run_editor_, nullptr);
  }

  void TearDown() override {
    if (editor_ != nullptr) dlclose(editor_);
    QDir::setCurrent(previous_);
  }

  // Calls the entry and lets `user` act on the dialog once it is up. A
  // failed expectation inside still closes the dialog, so the test ends.
  int RunEditor(std::function<void(QWidget& dialog)> user) {
    QTimer::singleShot(0, [user] {
      QWidget* dialog = QApplication::activeModalWidget();
      if (dialog == nullptr) {
        ADD_FAILURE() << "no dialog is shown";
        return;
      }
      try {
        user(*dialog);
      } catch (const std::exception& error) {
        ADD_FAILURE() << error.what();
      }
      if (dialog->isVisible()) ClickCancel(*dialog);
    });
    return run_editor_();
  }

  QTemporaryDir folder_;
  QString previous_;
  void* editor_ = nullptr;
  int (*run_editor_)() = nullptr;
};

TEST_F(Entry, WithoutABlockItOffersDefaultsThatTheMethodAcceptsAndOkWritesThem) {
  EXPECT_EQ(RunEditor([](QWidget& dialog) {
              EXPECT_TRUE(Find<QLineEdit>(dialog, "edDataSet").text().isEmpty());
              ClickOk(dialog);
            }),
            1);
  const RunParameters written = DecodeRunParameters(ReadBytes("Parameters.dat").toStdString());
  EXPECT_EQ(written, DefaultRunParameters());
  EXPECT_TRUE(CheckRunParameters(written).empty());
  // The defaults as the editor's task names them.
  EXPECT_EQ((std::vector<int>{written.TestKind, written.GeneratorKind, written.Dimension, written.N,
                              written.M, written.K}),
            (std::vector<int>{kTestKindT2, kGeneratorNormal, 2, 20, 100, 10}));
  EXPECT_EQ(written.Covariance, (std::vector<double>{1, 0, 1}));
}

TEST_F(Entry, ShowsTheShellsFilesAndCancelWritesNothing) {
  RunParameters block = DefaultRunParameters();
  block.TestKind = kTestKindPairZ0;
  block.VarI = 1;
  block.VarJ = 2;
  block.R0 = 0.5;
  block.GeneratorKind = kGeneratorLogistic;
  const QByteArray bytes = QByteArray::fromStdString(EncodeRunParameters(block));
  WriteBytes("Parameters.dat", bytes);
  WriteBytes("DataSets.dat", QByteArray::fromStdString(platform::Utf8ToCp1251("/проекты/выборка.sds")));
  EXPECT_EQ(RunEditor([](QWidget& dialog) {
              auto& data_set = Find<QLineEdit>(dialog, "edDataSet");
              EXPECT_EQ(data_set.text(), "/проекты/выборка.sds");
              EXPECT_TRUE(data_set.isReadOnly());
              EXPECT_FALSE(Shown(dialog, "lblNotice"));
              EXPECT_EQ(Chosen(dialog, "cbTestKind"), kTestKindPairZ0);
              EXPECT_EQ(Find<QLineEdit>(dialog, "edR0").text(), "0,5");
              EXPECT_EQ(Chosen(dialog, "cbGeneratorKind"), kGeneratorLogistic);
              SetNumber(dialog, "seN", 50);
              ClickCancel(dialog);
            }),
            0);
  EXPECT_EQ(ReadBytes("Parameters.dat"), bytes);
}

// Whatever stands in the block's place, the editor opens at once and says
// why it offers the defaults; a pipe as the data set's file shows no path.
TEST_F(Entry, ARefusedBlockIsSaidAndTheDefaultsAreOffered) {
  const struct {
    std::function<void()> make;
    QString notice;
  } cases[] = {
      // A block of test kind 2 that ends inside its generator parameters.
      {[] { WriteBytes("Parameters.dat", QByteArray("\x02\x01\x00\x00", 4)); },
       "Файл параметров «Parameters.dat» не принят: Блок параметров обрывается на поле "
       "«первый параметр распределения»."},
      {[] { ASSERT_EQ(mkfifo("Parameters.dat", 0600) + mkfifo("DataSets.dat", 0600), 0); },
       "Файл параметров «Parameters.dat» не может быть открыт. «Parameters.dat» — не обычный файл, а папка, "
       "канал или устройство."},
      {[] {
         WriteBytes("Parameters.dat", "");
         ASSERT_TRUE(QFile::resize("Parameters.dat", kMaxBlockBytes + 1));
       },
       "Файл параметров «Parameters.dat» не может быть открыт. Файл «Parameters.dat» длиннее 8590197045 "
       "байт: "
       "файл этого вида не бывает таким большим."},
  };
  for (const auto& c : cases) {
    QFile::remove("Parameters.dat");
    QFile::remove("DataSets.dat");
    c.make();
    const QString notice = c.notice + " Показаны значения по умолчанию.";
    EXPECT_EQ(RunEditor([&notice](QWidget& dialog) {
                EXPECT_EQ(Find<QLabel>(dialog, "lblNotice").text(), notice);
                EXPECT_TRUE(Find<QLineEdit>(dialog, "edDataSet").text().isEmpty());
                EXPECT_EQ(Chosen(dialog, "cbTestKind"), kTestKindT2);
                EXPECT_TRUE(OkEnabled(dialog));
                ClickCancel(dialog);
              }),
              0);
  }
}

TEST_F(Entry, ABlockWrittenThroughTheDialogRunsInTheMethodLibrary) {
  EXPECT_EQ(RunEditor([](QWidget& dialog) {
              Choose(dialog, "cbTestKind", kTestKindIndividZ0);
              SetNumber(dialog, "seQ", 2);
              SetNumber(dialog, "seVarI", 1);
              SetNumber(dialog, "seVarJ", 2);
              Type(dialog, "edR0", "0,25");
              Choose(dialog, "cbGeneratorKind", kGeneratorExpPower);
              Type(dialog, "edGenParam3", "1,5");
              SetNumber(dialog, "seDimension", 3);
              TypeIntoCell(dialog, "tblCovariance", 0, 1, "0,3");
              TypeIntoCell(dialog, "tblMean", 0, 2, "-1");
              SetNumber(dialog, "seN", 30);
              SetNumber(dialog, "seM", 20);
              SetNumber(dialog, "seK", 2);
              Check(dialog, "chkSaveValues", true);
              Type(dialog, "edStatisticsPath", "stat.txt");
              Check(dialog, "chkEstimateMean", true);
              Check(dialog, "chkEstimateCovariance", true);
              ClickOk(dialog);
            }),
            1);
  const RunParameters written = DecodeRunParameters(ReadBytes("Parameters.dat").toStdString());
  EXPECT_EQ(written.R0, 0.25);
  EXPECT_EQ(written.GenParam3, 1.5f);
  EXPECT_EQ(written.Mean, (std::vector<double>{0, 0, -1}));
  EXPECT_EQ(written.Covariance, (std::vector<double>{1, 0.3, 0, 1, 0, 1}));

  void* method = dlopen((kLibraries + "libBrennic.so").toUtf8().constData(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(method, nullptr) << dlerror();
  auto run = reinterpret_cast<int (*)()>(dlsym(method, "_RunCalcProgram"));
  ASSERT_NE(run, nullptr);
  EXPECT_EQ(run(), 1);
  dlclose(method);
  EXPECT_TRUE(QFile::exists("index.html"));
  EXPECT_TRUE(QFile::exists("stat1.txt"));
  EXPECT_TRUE(QFile::exists("stat2.txt"));
}

}  // namespace
