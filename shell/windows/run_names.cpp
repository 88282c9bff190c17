#include "shell/windows/run_names.h"

#include <QLocale>

QString RunFolderStamp(const QDateTime& time) { return time.toString("yyyyMMdd-hhmmsszzz"); }

QString ReportCaption(const QDateTime& time) {
  return "Отчет на " + QLocale().toString(time, "ddd, d MMMM yyyy (hh:mm:ss.zzz)");
}
