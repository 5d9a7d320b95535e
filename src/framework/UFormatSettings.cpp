#include "UFormatSettings.h"
#include "UDecimal.h"

#include <algorithm>

#include "errors/UErrors.h"

#include <QStringList>
#include <cmath>

namespace {

TFormatSettings fixedFormats()
{
    TFormatSettings f;
    f.ShortDateFormat = QStringLiteral("dd.MM.yyyy");
    f.LongDateFormat = QStringLiteral("dd.MM.yyyy.zzz");
    f.DateSeparator = QLatin1Char('.');
    f.DecimalSeparator = QLatin1Char('.');
    f.TimeSeparator = QLatin1Char(':');
    f.LongTimeFormat = QStringLiteral("HH:mm:ss");
    f.ShortTimeFormat = QStringLiteral("HH:mm:ss");
    f.TimeAMString = QStringLiteral("AM");
    f.TimePMString = QStringLiteral("PM");
    f.ListSeparator = QLatin1Char(';');
    f.ThousandSeparator = QChar(0);
    f.CurrencyDecimals = 2;
    return f;
}

bool readNumbers(const QString &text, QChar separator, int minParts, int maxParts, QList<int> &numbers)
{
    const QStringList parts = text.split(separator);
    if (parts.size() < minParts || parts.size() > maxParts)
        return false;
    for (const QString &part : parts) {
        if (part.isEmpty() || part.size() > 4)
            return false;
        for (QChar c : part)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        numbers.append(part.toInt());
    }
    return true;
}

// Two-digit years fall within fifty years of today, as the original platform reads them.
int expandYear(int year, int digits)
{
    if (digits > 2)
        return year;
    const int thisYear = QDate::currentDate().year();
    int century = (thisYear - 50) / 100 * 100;
    int candidate = century + year;
    if (candidate < thisYear - 50)
        candidate += 100;
    return candidate;
}

} // namespace

TFormatSettings &FormatSettings()
{
    static TFormatSettings settings = fixedFormats();
    return settings;
}

void ApplyFixedRegionalFormats() { FormatSettings() = fixedFormats(); }

QDate ZeroDate() { return QDate(1899, 12, 30); }

QString DateToStr(const QDate &date) { return date.toString(FormatSettings().ShortDateFormat); }

QString TimeToStr(const QTime &time) { return time.toString(FormatSettings().LongTimeFormat); }

QString DateTimeToStr(const QDateTime &dateTime)
{
    QString text = DateToStr(dateTime.date());
    if (dateTime.time() != QTime(0, 0))
        text += QLatin1Char(' ') + TimeToStr(dateTime.time());
    return text;
}

QString FloatToStr(double value)
{
    QString text = QString::number(value, 'g', 15);
    const TFormatSettings &f = FormatSettings();
    if (f.DecimalSeparator != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), f.DecimalSeparator);
    return text;
}

bool TryStrToDate(const QString &text, QDate &date)
{
    const QString trimmed = text.trimmed();
    QList<int> n;
    if (!readNumbers(trimmed, FormatSettings().DateSeparator, 2, 3, n))
        return false;
    int year = QDate::currentDate().year();
    if (n.size() == 3)
        year = expandYear(n[2], int(trimmed.section(FormatSettings().DateSeparator, 2).size()));
    const QDate result(year, n[1], n[0]);
    if (!result.isValid() || year < 1)
        return false;
    date = result;
    return true;
}

bool TryStrToTime(const QString &text, QTime &time)
{
    QString t = text.trimmed();
    const TFormatSettings &f = FormatSettings();
    int shift = -1;  // -1 no suffix, 0 morning, 12 afternoon
    if (t.endsWith(f.TimeAMString, Qt::CaseInsensitive)) {
        shift = 0;
        t.chop(f.TimeAMString.size());
    } else if (t.endsWith(f.TimePMString, Qt::CaseInsensitive)) {
        shift = 12;
        t.chop(f.TimePMString.size());
    }
    t = t.trimmed();
    int ms = 0;
    const int point = t.indexOf(f.DecimalSeparator);
    if (point >= 0) {
        bool ok = false;
        const QString fraction = t.mid(point + 1);
        ms = fraction.toInt(&ok);
        if (!ok || fraction.size() > 3 || fraction.contains(QLatin1Char('-')) || fraction.contains(QLatin1Char('+')))
            return false;
        t.truncate(point);
    }
    QList<int> n;
    if (!readNumbers(t, f.TimeSeparator, 2, 3, n))
        return false;
    int hour = n[0];
    if (shift >= 0) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour % 12 + shift;
    }
    const QTime result(hour, n[1], n.size() > 2 ? n[2] : 0, ms);
    if (!result.isValid())
        return false;
    time = result;
    return true;
}

bool TryStrToDateTime(const QString &text, QDateTime &dateTime)
{
    const QString trimmed = text.trimmed();
    const int blank = trimmed.indexOf(QLatin1Char(' '));
    QDate date;
    QTime time(0, 0);
    if (blank < 0) {
        if (!TryStrToDate(trimmed, date))
            return false;
    } else if (!TryStrToDate(trimmed.left(blank), date) || !TryStrToTime(trimmed.mid(blank + 1), time)) {
        return false;
    }
    dateTime = QDateTime(date, time);
    return true;
}

bool TryStrToFloat(const QString &text, double &value)
{
    const QString t = text.trimmed();
    const QChar point = FormatSettings().DecimalSeparator;
    int i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        ++i;
    int digits = 0;
    bool seenPoint = false;
    for (; i < t.size(); ++i) {
        if (t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9')) {
            ++digits;
        } else if (t[i] == point && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    // An exponent may follow the mantissa.
    if (digits > 0 && i < t.size() && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        int j = i + 1;
        if (j < t.size() && (t[j] == QLatin1Char('+') || t[j] == QLatin1Char('-')))
            ++j;
        const int start = j;
        while (j < t.size() && t[j] >= QLatin1Char('0') && t[j] <= QLatin1Char('9'))
            ++j;
        if (j > start)
            i = j;
    }
    if (digits == 0 || i != t.size())
        return false;
    QString c = t;
    if (point != QLatin1Char('.'))
        c.replace(point, QLatin1Char('.'));
    bool ok = false;
    const double result = c.toDouble(&ok);
    if (!ok || !std::isfinite(result))
        return false;
    value = result;
    return true;
}

QDate StrToDate(const QString &text)
{
    QDate date;
    if (!TryStrToDate(text, date))
        throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(text));
    return date;
}

double StrToFloat(const QString &text)
{
    double value = 0;
    if (!TryStrToFloat(text, value))
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return value;
}

TAmountStyle &AmountStyle()
{
    static TAmountStyle style;
    return style;
}

QString AmountText(const TDecimal &amount)
{
    const TAmountStyle &style = AmountStyle();
    QString text = amount.ToFixed(2);
    const bool negative = text.startsWith(QLatin1Char('-'));
    if (negative)
        text.remove(0, 1);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    QString whole = text.left(point);
    const QString cents = text.mid(point + 1);
    if (!style.Group.isNull())
        for (qsizetype at = whole.size() - 3; at > 0; at -= 3)
            whole.insert(at, style.Group);
    return (negative ? QStringLiteral("-") : QString()) + whole + style.Decimal + cents;
}

TDecimal AmountFromText(const QString &typed)
{
    QString text = typed.trimmed();
    text.remove(QLatin1Char(' ')).remove(QChar(0x00A0)).remove(QChar(0x202F));
    if (AmountStyle().Decimal == QLatin1Char(',')) {
        // Either mark is the decimal one; where both stand, the last one is.
        const qsizetype comma = text.lastIndexOf(QLatin1Char(',')), point = text.lastIndexOf(QLatin1Char('.'));
        const qsizetype mark = std::max(comma, point);
        QString digits = text;
        if (mark >= 0) {
            digits = text.left(mark);
            digits.remove(QLatin1Char(',')).remove(QLatin1Char('.'));
            digits += QLatin1Char('.') + text.mid(mark + 1);
        }
        text = digits;
    } else if (AmountStyle().Group == QLatin1Char(',')) {
        text.remove(QLatin1Char(','));  // a thousands comma, where the language writes one
    }
    return TDecimal::FromText(text);
}
