#include "UStrNumCtrl.h"

#include "UFormatSettings.h"

bool TStrNumCtrl::IsDateText(const QString &text) const
{
    QDate date;
    return TryStrToDate(text, date) && date != ZeroDate();
}

bool TStrNumCtrl::IsTimeText(const QString &text) const
{
    QTime time;
    return TryStrToTime(text, time) && time != QTime(0, 0);
}

bool TStrNumCtrl::IsDateTimeText(const QString &text) const
{
    QDateTime value;
    return TryStrToDateTime(text, value) && value != QDateTime(ZeroDate(), QTime(0, 0));
}

bool TStrNumCtrl::IsNumberText(const QString &text) const
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        const bool allowed = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('*') ||
                             c == QLatin1Char('-') || c == QLatin1Char('+') || c == QLatin1Char('.');
        if (!allowed)
            return false;
    }
    return true;
}

bool TStrNumCtrl::IsDigitsText(const QString &text) const
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}
