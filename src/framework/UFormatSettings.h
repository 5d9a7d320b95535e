#pragma once
// The one process-wide set of regional formats. Every conversion of dates, times and
// numbers goes through these functions, never through the system's locale.

#include <QChar>
#include <QDateTime>
#include <QString>

class TDecimal;

struct TFormatSettings {
    QString ShortDateFormat;
    QString LongDateFormat;
    QChar DateSeparator;
    QChar DecimalSeparator;
    QChar TimeSeparator;
    QString LongTimeFormat;
    QString ShortTimeFormat;
    QString TimeAMString;
    QString TimePMString;
    QChar ListSeparator;
    QChar ThousandSeparator;  // QChar(0): numbers are never grouped
    int CurrencyDecimals = 2;
};

TFormatSettings &FormatSettings();
// Sets the fixed formats of the program; also their values before anyone sets them.
void ApplyFixedRegionalFormats();

QString DateToStr(const QDate &date);
QString TimeToStr(const QTime &time);
QString DateTimeToStr(const QDateTime &dateTime);
QString FloatToStr(double value);

// Lenient readers in the fixed formats: "1.2.2007" and "01.02.07" are dates,
// "8:5" and "08:05:00 PM" are times; surrounding blanks are ignored.
bool TryStrToDate(const QString &text, QDate &date);
bool TryStrToTime(const QString &text, QTime &time);
bool TryStrToDateTime(const QString &text, QDateTime &dateTime);
bool TryStrToFloat(const QString &text, double &value);
// Raising versions: an EConvertError names the text that is no date or number.
QDate StrToDate(const QString &text);
double StrToFloat(const QString &text);

// Amounts as the operator's language writes them, for what the operator types and reads (never
// for stored values): the decimal mark and the grouping of thousands. The language sets them at
// start; until then a point and no grouping.
struct TAmountStyle {
    QChar Decimal = QLatin1Char('.');
    QChar Group;  // QChar(): not grouped
};
TAmountStyle &AmountStyle();
// "1 234,50" in Bulgarian and Russian, "1,234.50" in English: two decimals, the sign first.
QString AmountText(const TDecimal &amount);
// What an operator typed: where the language writes a decimal comma, "100,50" and "100.50" are
// the same; grouping blanks (and an English thousands comma) are ignored. Raises EConvertError.
TDecimal AmountFromText(const QString &typed);

// The date that the original platform counts as "no date".
QDate ZeroDate();
