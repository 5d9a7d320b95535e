#include "UReportExport.h"

#include "startup/UConstMessagesHotel.h"

#include <QRegularExpression>

namespace Reports {

namespace {

bool numericColumn(const TColumn &column) { return column.RightAligned(); }

bool looksLikeNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^-?\\d+(\\.\\d+)?$"));
    return number.match(text).hasMatch();
}

// A spreadsheet runs a cell that begins with = + - @ (or a tab or CR before them) as a formula:
// text is written with a leading apostrophe, which the spreadsheet shows as plain text.
QString guarded(const QString &text)
{
    static const QString starters = QStringLiteral("=+-@\t\r");
    return !text.isEmpty() && starters.contains(text.at(0)) ? QLatin1Char('\'') + text : text;
}

// RFC 4180: a field with the separator, a quote, a CR or an LF is quoted, its quotes doubled.
QString quoted(const QString &text, QChar separator)
{
    if (!text.contains(separator) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\r')) &&
        !text.contains(QLatin1Char('\n')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QString field(const QVariant &cell, const TColumn &column, const TCsvStyle &style)
{
    QString text = CellText(cell);
    if (numericColumn(column) && looksLikeNumber(text))
        text.replace(QLatin1Char('.'), style.DecimalPoint);
    else
        text = guarded(text);
    return quoted(text, style.Separator);
}

QString line(const QVariantList &cells, const QList<TColumn> &columns, const TCsvStyle &style)
{
    QStringList fields;
    for (int c = 0; c < columns.size(); ++c)
        fields.append(field(cells.value(c), columns.at(c), style));
    return fields.join(style.Separator);
}

} // namespace

TCsvStyle CsvStyleOfLanguage(int language)
{
    // English writes 3.50; Bulgarian (the program's own language, also when none was chosen) and
    // Russian write 3,50.
    if (language == slEnglish)
        return {};
    return {QLatin1Char(';'), QLatin1Char(',')};
}

QByteArray Csv(const TReport &report, const TCsvStyle &style)
{
    QStringList lines;
    const TColumn text;
    for (const TTable &table : report.Tables) {
        if (!lines.isEmpty())
            lines.append(QString());
        if (!table.Title.isEmpty())
            lines.append(quoted(guarded(table.Title), style.Separator));
        QVariantList titles;
        for (const TColumn &column : table.Columns)
            titles.append(column.Title);
        lines.append(line(titles, QList<TColumn>(table.Columns.size(), text), style));
        for (const QVariantList &cells : table.Rows)
            lines.append(line(cells, table.Columns, style));
        if (!table.Totals.isEmpty()) {
            lines.append(QString());
            lines.append(line(table.Totals, table.Columns, style));
        }
    }
    return QByteArray("\xEF\xBB\xBF") + (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

QString ExportFileName(const QString &title, const QDate &from, const QDate &to, const QString &extension)
{
    QString name = title.trimmed() + QLatin1Char(' ') + from.toString(Qt::ISODate);
    if (to.isValid() && to != from)
        name += QStringLiteral(" – ") + to.toString(Qt::ISODate);
    // Characters no file system of the desk's computers takes in a name.
    static const QRegularExpression unsafe(QStringLiteral("[/\\\\:*?\"<>|\\x00-\\x1f]"));
    name.replace(unsafe, QStringLiteral("-"));
    return name + QLatin1Char('.') + extension;
}

} // namespace Reports
