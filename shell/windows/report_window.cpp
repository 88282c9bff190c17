#include "shell/windows/report_window.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>
#include <QUrl>
#include <cstdint>
#include <limits>

#include "platform/exceptions.h"
#include "platform/quoted.h"
#include "platform/whole_file.h"
#include "shell/windows/window_actions.h"

namespace {

// The most a picture or a style sheet of a report is read: far more than any
// a report shows, and little enough that a file named as one that is huge or
// never ends is refused at once.
constexpr std::uint64_t kMaxResourceBytes = std::uint64_t{16} << 20;

// Reads the report through the platform's reader: a pipe or a device named
// as a report is refused at once instead of holding the program, and the
// window says why.
class ReportBrowser : public QTextBrowser {
 public:
  using QTextBrowser::QTextBrowser;

  QVariant loadResource(int type, const QUrl& name) override {
    if (!name.isLocalFile()) return QTextBrowser::loadResource(type, name);
    // An HTML report has no largest size of its own; what it shows in it has.
    const std::uint64_t max_bytes =
        type == QTextDocument::HtmlResource ? std::numeric_limits<std::uint64_t>::max() : kMaxResourceBytes;
    try {
      return QByteArray::fromStdString(
          platform::ReadWholeFile(QFile::encodeName(name.toLocalFile()).toStdString(),
                                  "Невозможно открыть файл отчета !", max_bytes));
    } catch (const Exception& error) {
      return QString::fromStdString(error.Message()).toHtmlEscaped();
    }
  }
};

}  // namespace

TWReport::TWReport(QMdiArea* area) : web_browser_(new ReportBrowser(this)) {
  setObjectName("WReport");
  setWindowTitle("Отчет");
  // Closing a report destroys it; the deletion is deferred until queued
  // events run, so a loop that closes several children is not disturbed.
  setAttribute(Qt::WA_DeleteOnClose);
  web_browser_->setObjectName("WebBrowser");
  // A narrow window breaks lines between words; the view scrolls sideways
  // to a word or table column wider than itself.
  web_browser_->setWordWrapMode(QTextOption::WordWrap);
  setWidget(web_browser_);
  area->addSubWindow(this);
  PlaceNewChild(*area, *this, kChildOpeningSize);
  show();
}

// As a web browser shows a page of its own for an address that leads
// nowhere, a report whose file (or whole run folder) has gone says so;
// whatever is there is left to the reader, which refuses what is no file.
void TWReport::Navigate(const QString& path) {
  const QFileInfo file(path);
  if (file.exists()) {
    web_browser_->setSource(QUrl::fromLocalFile(path));
  } else if (!file.dir().exists()) {
    web_browser_->setPlainText(QString::fromStdString(
        "Папка отчета " + platform::Quoted(file.path().toStdString()) + " не найдена."));
  } else {
    web_browser_->setPlainText(
        QString::fromStdString("Файл отчета " + platform::Quoted(path.toStdString()) + " не найден."));
  }
}
