#include "UPersonalNumbers.h"

#include <array>

namespace PersonalNumbers {

namespace {

bool tenDigits(const QString &number)
{
    if (number.size() != 10)
        return false;
    for (const QChar c : number)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

int digit(const QString &number, int i) { return number.at(i).unicode() - '0'; }

int weighted(const QString &number, const std::array<int, 9> &weights)
{
    int sum = 0;
    for (int i = 0; i < 9; ++i)
        sum += digit(number, i) * weights[size_t(i)];
    return sum;
}

} // namespace

// ЕГН, as the civil registration (Закон за гражданската регистрация, ЕСГРАОН) assigns it:
// YYMMDD with 20 added to the month for births before 1900 and 40 for births from 2000; three
// digits of order whose last is even for a man; a check digit, the sum of the nine digits weighted
// 2 4 8 5 10 9 7 3 6 modulo 11, where 10 is written 0.
bool IsEgn(const QString &number, QDate *birth, bool *male)
{
    if (!tenDigits(number))
        return false;
    int year = 1900 + digit(number, 0) * 10 + digit(number, 1);
    int month = digit(number, 2) * 10 + digit(number, 3);
    if (month > 40)
        month -= 40, year += 100;
    else if (month > 20)
        month -= 20, year -= 100;
    const QDate born(year, month, digit(number, 4) * 10 + digit(number, 5));
    if (!born.isValid())
        return false;
    const int rest = weighted(number, {2, 4, 8, 5, 10, 9, 7, 3, 6}) % 11;
    if ((rest == 10 ? 0 : rest) != digit(number, 9))
        return false;
    if (birth)
        *birth = born;
    if (male)
        *male = digit(number, 8) % 2 == 0;
    return true;
}

// ЛНЧ, the personal number of a foreigner (Закон за гражданската регистрация, ЕСГРАОН): a check
// digit, the sum of the nine digits weighted 21 19 17 13 11 9 7 3 1 modulo 10.
bool IsLnch(const QString &number)
{
    return tenDigits(number) && weighted(number, {21, 19, 17, 13, 11, 9, 7, 3, 1}) % 10 == digit(number, 9);
}

TKind KindOf(const QString &number)
{
    const QString trimmed = number.trimmed();
    if (IsEgn(trimmed))
        return pnEgn;
    return IsLnch(trimmed) ? pnLnch : pnNone;
}

} // namespace PersonalNumbers
