#include "shell/config/settings_store.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

namespace {

// Every test gets its own empty per-user store in a temporary folder.
class SettingsStoreTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
  }

  static QSettings Store() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "TALVO", "System");
  }

  static MainWindowSettings Design() { return {{366, 275, 452, 635}, 0, {}, {}}; }

  QTemporaryDir dir_;
};

TEST_F(SettingsStoreTest, PlacementIsSixteenLittleEndianBytesWithHeightBeforeWidth) {
  const QByteArray bytes = EncodePlacement({10, -2, 600, 800});
  EXPECT_EQ(bytes.toHex(), "0a000000feffffff5802000020030000");
  EXPECT_EQ(DecodePlacement(bytes), (WindowPlacement{10, -2, 600, 800}));
  EXPECT_FALSE(DecodePlacement(bytes.left(15)).has_value());
}

TEST_F(SettingsStoreTest, FirstRunCreatesTheKeyWithTheDesignPlacementAndTenEmptySlots) {
  const MainWindowSettings loaded = LoadMainWindowSettings(Design());
  EXPECT_EQ(loaded.placement, (WindowPlacement{366, 275, 452, 635}));
  EXPECT_EQ(loaded.state, 0);
  EXPECT_TRUE(loaded.hist_projects.isEmpty());
  EXPECT_TRUE(loaded.hist_calcs.isEmpty());

  QSettings store = Store();
  EXPECT_EQ(store.value("WMainParameters").toByteArray(), EncodePlacement({366, 275, 452, 635}));
  EXPECT_EQ(store.value("WMainState").toInt(), 0);
  store.beginGroup("HistoryList");
  EXPECT_EQ(store.childKeys(),
            QStringList({"HistCalc0", "HistCalc1", "HistCalc2", "HistCalc3", "HistCalc4", "HistCalc5",
                         "HistProject0", "HistProject1", "HistProject2", "HistProject3"}));
  for (const QString& key : store.childKeys())
    EXPECT_EQ(store.value(key).toString(), "") << key.toStdString();
}

TEST_F(SettingsStoreTest, HistoryWithGapsReadsBackWithoutGapsAndIsWrittenBackPacked) {
  {
    QSettings store = Store();
    store.setValue("WMainParameters", EncodePlacement({1, 2, 600, 800}));
    store.setValue("WMainState", 2);
    store.setValue("HistoryList/HistProject0", "/p/a.spr");
    store.setValue("HistoryList/HistProject1", "");
    store.setValue("HistoryList/HistProject2", "/p/b.spr");
    store.setValue("HistoryList/HistProject3", "");
    store.setValue("HistoryList/HistCalc4", "/p/c.scl");
  }
  MainWindowSettings loaded = LoadMainWindowSettings(Design());
  EXPECT_EQ(loaded.placement, (WindowPlacement{1, 2, 600, 800}));
  EXPECT_EQ(loaded.state, 2);
  EXPECT_EQ(loaded.hist_projects, QStringList({"/p/a.spr", "/p/b.spr"}));
  EXPECT_EQ(loaded.hist_calcs, QStringList({"/p/c.scl"}));

  SaveMainWindowSettings(loaded);
  QSettings store = Store();
  store.beginGroup("HistoryList");
  QStringList values;
  for (const char* key :
       {"HistProject0", "HistProject1", "HistProject2", "HistProject3", "HistCalc0", "HistCalc4"})
    values.append(store.value(key).toString());
  EXPECT_EQ(values, QStringList({"/p/a.spr", "/p/b.spr", "", "", "/p/c.scl", ""}));
}

TEST_F(SettingsStoreTest, UnreadableValuesLeaveTheCurrentPlacementAndState) {
  {
    QSettings store = Store();
    store.setValue("WMainParameters", QByteArray(12, '\1'));
    store.setValue("WMainState", "maximized");
  }
  const MainWindowSettings loaded = LoadMainWindowSettings(Design());
  EXPECT_EQ(loaded.placement, Design().placement);
  EXPECT_EQ(loaded.state, 0);
}

}  // namespace
