#include "shell/windows/report_window.h"

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

void TWReport::Navigate(const QString& path) { web_browser_->setSource(QUrl::fromLocalFile(path)); }
