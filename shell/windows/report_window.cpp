#include "shell/windows/report_window.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

constexpr int kDesignWidth = 460;
constexpr int kDesignHeight = 300;

}  // namespace

TWReport::TWReport(QMdiArea* area) : web_browser_(new QTextBrowser(this)) {
  setObjectName("WReport");
  setWindowTitle("Отчет");
  // Closing a report destroys it; the deletion is deferred until queued
  // events run, so a loop that closes several children is not disturbed.
  setAttribute(Qt::WA_DeleteOnClose);
  web_browser_->setObjectName("WebBrowser");
  setWidget(web_browser_);
  area->addSubWindow(this);
  resize(kDesignWidth, kDesignHeight);
  show();
}

// As a web browser shows a page of its own for an address that leads
// nowhere, a report whose file (or whole run folder) has gone says so.
void TWReport::Navigate(const QString& path) {
  const QFileInfo file(path);
  if (file.isFile()) {
    web_browser_->setSource(QUrl::fromLocalFile(path));
  } else if (!file.dir().exists()) {
    web_browser_->setPlainText("Папка отчета «" + file.path() + "» не найдена.");
  } else {
    web_browser_->setPlainText("Файл отчета «" + path + "» не найден.");
  }
}
