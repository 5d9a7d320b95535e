#pragma once
// Stateless checks of date, time, number and digit texts in the fixed regional formats.

#include <QString>

class TStrNumCtrl
{
public:
    bool IsDateText(const QString &text) const;
    bool IsTimeText(const QString &text) const;
    bool IsDateTimeText(const QString &text) const;
    // Only "*", "-", "+", "." and digits, anywhere and repeated; a conversion decides the rest.
    bool IsNumberText(const QString &text) const;
    bool IsDigitsText(const QString &text) const;
};
