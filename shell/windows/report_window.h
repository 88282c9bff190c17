// A report window: one run's HTML report, shown as a child window of the
// main window's multiple-document area and freed when closed.
#pragma once

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTextBrowser>

class TWReport : public QMdiSubWindow {
 public:
  // Adds itself to `area` and shows itself at once.
  explicit TWReport(QMdiArea* area);

  // Shows the HTML file at `path` (a plain absolute file path), or a line
  // naming the missing file or folder.
  void Navigate(const QString& path);

  QTextBrowser* WebBrowser() const { return web_browser_; }

 private:
  QTextBrowser* web_browser_;
};
