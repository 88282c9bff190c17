// The names a run gets from its time: its folder's time stamp and the caption
// of its report.
#pragma once

#include <QDateTime>
#include <QString>

// "yyyymmdd-hhnnsszzz": year, month, day, a hyphen, then hour (00-23),
// minutes, seconds and milliseconds.
QString RunFolderStamp(const QDateTime& time);

// "Отчет на " and the time as the abbreviated day name, the day, the month's
// name and the year, then in parentheses hours, minutes, seconds and
// milliseconds; the names in Russian.
QString ReportCaption(const QDateTime& time);
