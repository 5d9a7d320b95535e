#pragma once
// A report written for a spreadsheet, and the name its file is offered under.

#include "UReports.h"

#include <QByteArray>
#include <QChar>

namespace Reports {

// How the operator's language writes a list of numbers: where decimals take a comma, fields are
// separated by ";" so that a spreadsheet of that language splits them where they were meant.
struct TCsvStyle {
    QChar Separator = QLatin1Char(',');
    QChar DecimalPoint = QLatin1Char('.');
};
TCsvStyle CsvStyleOfLanguage(int language);

// Every table of the report (each under its title when there are several), its header, its
// rows and, after a blank line, its totals; UTF-8 with a byte-order mark, lines ended by CR LF.
QByteArray Csv(const TReport &report, const TCsvStyle &style);

// "Общ оборот 2026-12-01 – 2026-12-31.pdf"; a one-day report names its day only.
QString ExportFileName(const QString &title, const QDate &from, const QDate &to, const QString &extension);

} // namespace Reports
