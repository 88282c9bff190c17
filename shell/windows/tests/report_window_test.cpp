#include "shell/windows/report_window.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QUrl>
#include <algorithm>
#include <cstdint>

#include "platform/tests/bytes_read.h"
#include "shell/windows/window_close_all.h"

namespace {

void RunDeferredDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// A child window with its own close handling, as the data-set editor has:
// it counts the requests and closes only when it agrees to.
class OwnCloseChild : public QMdiSubWindow {
 public:
  OwnCloseChild(QMdiArea* area, bool agrees) : agrees_(agrees) {
    setAttribute(Qt::WA_DeleteOnClose);
    area->addSubWindow(this);
    show();
  }
  int requests = 0;

 protected:
  void closeEvent(QCloseEvent* event) override {
    ++requests;
    event->setAccepted(agrees_);
  }

 private:
  bool agrees_;
};

class ReportWindowTest : public testing::Test {
 protected:
  QTemporaryDir folder_;
  QMdiArea area_;
};

TEST_F(ReportWindowTest, SeveralWindowsShowOneReportAndEachIsFreedWhenClosed) {
  const QString path = folder_.filePath("index.html");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("<html><body><h1>Отчет</h1><p>Критерий Колмогорова</p></body></html>");
  file.close();
  QPointer<TWReport> first = new TWReport(&area_);
  QPointer<TWReport> second = new TWReport(&area_);
  first->Navigate(path);
  second->Navigate(path);
  EXPECT_FALSE(first->isHidden());
  EXPECT_EQ(first->WebBrowser()->objectName(), "WebBrowser");
  EXPECT_TRUE(first->WebBrowser()->toPlainText().contains("Критерий Колмогорова"));
  EXPECT_EQ(second->WebBrowser()->toPlainText(), first->WebBrowser()->toPlainText());

  first->close();
  RunDeferredDeletes();
  EXPECT_TRUE(first.isNull());
  EXPECT_EQ(area_.subWindowList(), QList<QMdiSubWindow*>({second.data()}));

  // A pipe named as the report is refused at once, and the window says so.
  const QString pipe = folder_.filePath("pipe.html");
  ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  second->Navigate(pipe);
  EXPECT_EQ(second->WebBrowser()->toPlainText(), "Невозможно открыть файл отчета ! «" + pipe +
                                                     "» — не обычный файл, а папка, канал или устройство.");
}

// A picture or a style sheet that a report names is read only so far as any
// of a report's can reach: one of a gigabyte, or one that never ends, is
// refused without being read whole.
TEST_F(ReportWindowTest, APictureOrStyleOfAReportIsReadOnlyUpToItsLimit) {
  const QString huge = folder_.filePath("huge.png");
  QFile file(huge);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(qint64{1} << 30));
  file.close();
  TWReport report(&area_);
  for (const QString& path : {huge, QString("/proc/self/pagemap")}) {
    for (const int type : {QTextDocument::ImageResource, QTextDocument::StyleSheetResource}) {
      const std::uint64_t before = BytesReadSoFar();
      const QVariant resource = report.WebBrowser()->loadResource(type, QUrl::fromLocalFile(path));
      EXPECT_LT(BytesReadSoFar() - before, std::uint64_t{17} << 20) << path.toStdString();
      EXPECT_TRUE(resource.toString().startsWith("Невозможно открыть файл отчета !")) << path.toStdString();
    }
  }
}

// Lines break at blanks and after hyphens, never inside a word.
TEST_F(ReportWindowTest, ANarrowWindowBreaksLinesBetweenWordsOnly) {
  area_.show();
  auto* report = new TWReport(&area_);
  report->resize(160, 200);
  report->WebBrowser()->setHtml(
      "<table><tr><td>Критерий Колмогорова</td><td>Критерий омега-квадрат</td></tr></table>");
  QCoreApplication::processEvents();  // the browser takes its width and lays the report out
  int breaks = 0;
  for (QTextBlock block = report->WebBrowser()->document()->begin(); block.isValid(); block = block.next()) {
    for (int i = 0; i + 1 < block.layout()->lineCount(); ++i, ++breaks) {
      const QTextLine line = block.layout()->lineAt(i);
      EXPECT_TRUE(QString(" -").contains(block.text()[line.textStart() + line.textLength() - 1])) << i;
    }
  }
  EXPECT_GE(breaks, 2);
}

TEST_F(ReportWindowTest, CloseAllAsksEveryChildOnceThroughItsOwnCloseHandlingAndIsDisabledWithoutChildren) {
  TWindowCloseAll close_all(nullptr);
  close_all.UpdateTarget(&area_);
  EXPECT_FALSE(close_all.isEnabled());
  QPointer<TWReport> report = new TWReport(&area_);
  QPointer<OwnCloseChild> editor = new OwnCloseChild(&area_, true);
  auto* stubborn = new OwnCloseChild(&area_, false);
  close_all.UpdateTarget(&area_);
  EXPECT_TRUE(close_all.isEnabled());
  close_all.UpdateTarget(nullptr);
  EXPECT_FALSE(close_all.isEnabled());

  close_all.ExecuteTarget(&area_);
  EXPECT_EQ(editor->requests, 1);
  EXPECT_EQ(stubborn->requests, 1);
  RunDeferredDeletes();
  EXPECT_TRUE(report.isNull() && editor.isNull());
  EXPECT_EQ(area_.subWindowList(), QList<QMdiSubWindow*>({stubborn}));
}

TEST_F(ReportWindowTest, ChildrenOpenCascadedInsideTheAreaAndCascadingLeavesThemTheirOpeningSize) {
  area_.resize(700, 500);
  area_.show();
  const QRect room = area_.viewport()->rect();
  QList<TWReport*> reports{new TWReport(&area_), new TWReport(&area_)};
  const int step = reports[1]->x();
  ASSERT_GT(step, 0);
  const QSize slack = room.size() - kChildOpeningSize;
  const int steps = 1 + std::min(slack.width(), slack.height()) / step;
  // Past the last step the cascade goes round again from the top left.
  while (reports.size() < steps + 2) reports.append(new TWReport(&area_));
  for (int i = 0; i < reports.size(); ++i) {
    const int corner = i % steps * step;
    EXPECT_EQ(reports[i]->geometry(), QRect(QPoint(corner, corner), kChildOpeningSize)) << i;
  }
  // The step of a closed window is the first free one.
  delete reports.takeAt(steps - 1);
  reports.append(new TWReport(&area_));
  EXPECT_EQ(reports.last()->pos(), QPoint((steps - 1) * step, (steps - 1) * step));

  StandardWindowAction::Cascade(area_);
  for (const TWReport* report : reports) {
    EXPECT_TRUE(room.contains(report->geometry()));
    EXPECT_TRUE(report->width() >= kChildOpeningSize.width() &&
                report->height() >= kChildOpeningSize.height());
  }

  // In a room smaller than a report, the windows are made to fit it from
  // their step, and still cascade.
  QMdiArea small_area;
  small_area.resize(300, 200);
  small_area.show();
  const QRect small_room = small_area.viewport()->rect();
  auto* first = new TWReport(&small_area);
  auto* second = new TWReport(&small_area);
  EXPECT_EQ(first->geometry(), small_room);
  EXPECT_EQ(second->geometry(), small_room.adjusted(step, step, 0, 0));
  StandardWindowAction::Cascade(small_area);
  EXPECT_EQ(first->geometry(), small_room.adjusted(0, 0, -step, -step));
  EXPECT_EQ(second->geometry(), small_room.adjusted(step, step, 0, 0));
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
  EXPECT_TRUE(first->isMinimized() && second->isMinimized());
}

}  // namespace
