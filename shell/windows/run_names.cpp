#include "shell/windows/run_names.h"

#include <QLocale>

QString RunFolderStamp(const QDateTime& time) { return time.toString("yyyyMMdd-hhmmsszzz"); }

QString ReportCaption(const QDateTime& time) {
  // The interface is Russian whatever the machine's locale, so the day and
  // month names are too.
  const QLocale russian(QLocale::Russian, QLocale::Russia);
  return "Отчет на " + russian.toString(time, "ddd, d MMMM yyyy (hh:mm:ss.zzz)");
}
