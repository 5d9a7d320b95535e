#pragma once
// The one process-wide set of regional formats. Every conversion of dates, times and
// numbers goes through these functions, never through the system's locale.

#include <QChar>
#include <QDateTime>
#include <QString>

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

// The date that the original platform counts as "no date".
QDate ZeroDate();
