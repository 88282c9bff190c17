#include "shell/windows/report_window.h"

#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>

#include "shell/windows/window_close_all.h"

namespace {

void RunDeferredDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// A child window with its own close handling, as the data-set editor has:
// it counts the requests and closes only when it agrees to.
class OwnCloseChild : public QMdiSubWindow {
 public:
  explicit OwnCloseChild(QMdiArea* area, bool agrees) : agrees_(agrees) {
    setAttribute(Qt::WA_DeleteOnClose);
    area->addSubWindow(this);
    show();
  }

  int requests = 0;

 protected:
  void closeEvent(QCloseEvent* event) override {
    ++requests;
    if (agrees_) {
      event->accept();
    } else {
      event->ignore();
    }
  }

 private:
  bool agrees_;
};

class ReportWindowTest : public testing::Test {
 protected:
  QString WriteReport(const QByteArray& html) {
    const QString path = folder_.filePath("index.html");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(html);
    return path;
  }

  QTemporaryDir folder_;
  QMdiArea area_;
};

TEST_F(ReportWindowTest, SeveralWindowsShowOneReportAndEachIsFreedWhenClosed) {
  const QString path = WriteReport("<html><body><h1>Отчет</h1><p>Критерий Колмогорова</p></body></html>");
  QPointer<TWReport> first = new TWReport(&area_);
  QPointer<TWReport> second = new TWReport(&area_);
  first->setWindowTitle("Отчет на пт, 1 марта 2024 (10:00:00.000)");
  first->Navigate(path);
  second->Navigate(path);
  EXPECT_FALSE(first->isHidden());
  EXPECT_EQ(first->WebBrowser()->objectName(), "WebBrowser");
  EXPECT_TRUE(first->WebBrowser()->toPlainText().contains("Критерий Колмогорова"));
  EXPECT_EQ(second->WebBrowser()->toPlainText(), first->WebBrowser()->toPlainText());
  ASSERT_EQ(area_.subWindowList().size(), 2);

  first->close();
  RunDeferredDeletes();
  EXPECT_TRUE(first.isNull());
  EXPECT_EQ(area_.subWindowList().size(), 1);
  EXPECT_FALSE(second.isNull());
}

TEST_F(ReportWindowTest, CloseAllIsDisabledWithoutChildren) {
  TWindowCloseAll close_all(nullptr);
  close_all.UpdateTarget(&area_);
  EXPECT_FALSE(close_all.isEnabled());
  new TWReport(&area_);
  close_all.UpdateTarget(&area_);
  EXPECT_TRUE(close_all.isEnabled());
  close_all.UpdateTarget(nullptr);
  EXPECT_FALSE(close_all.isEnabled());
}

TEST_F(ReportWindowTest, CloseAllAsksEveryChildOnceThroughItsOwnCloseHandling) {
  QPointer<TWReport> first = new TWReport(&area_);
  QPointer<TWReport> second = new TWReport(&area_);
  auto* editor = new OwnCloseChild(&area_, true);
  auto* stubborn = new OwnCloseChild(&area_, false);
  QPointer<OwnCloseChild> editor_alive = editor;

  TWindowCloseAll close_all(nullptr);
  close_all.ExecuteTarget(&area_);
  EXPECT_EQ(editor->requests, 1);
  EXPECT_EQ(stubborn->requests, 1);

  RunDeferredDeletes();
  EXPECT_TRUE(first.isNull());
  EXPECT_TRUE(second.isNull());
  EXPECT_TRUE(editor_alive.isNull());
  EXPECT_EQ(area_.subWindowList(), QList<QMdiSubWindow*>({stubborn}));
}

TEST_F(ReportWindowTest, StandardWindowActionsArrangeTheChildren) {
  area_.resize(600, 400);
  area_.show();
  auto* first = new TWReport(&area_);
  auto* second = new TWReport(&area_);
  const QSize room = area_.viewport()->size();

  StandardWindowAction::TileSideBySide(area_);
  EXPECT_EQ(first->geometry(), QRect(0, 0, room.width() / 2, room.height()));
  EXPECT_EQ(second->geometry(), QRect(room.width() / 2, 0, room.width() - room.width() / 2, room.height()));

  StandardWindowAction::TileOneAboveTheOther(area_);
  EXPECT_EQ(first->geometry(), QRect(0, 0, room.width(), room.height() / 2));
  EXPECT_EQ(second->geometry().top(), room.height() / 2);

  StandardWindowAction::MinimizeAll(area_);
  EXPECT_TRUE(first->isMinimized());
  EXPECT_TRUE(second->isMinimized());
}

}  // namespace
