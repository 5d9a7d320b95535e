#pragma once
// The personal numbers a Bulgarian register asks for: the ЕГН of a citizen or permanent resident
// and the ЛНЧ of a foreigner, each checked by its own rule (its check digit, and for the ЕГН the
// date of birth it carries). The rules live here alone.

#include <QDate>
#include <QString>

namespace PersonalNumbers {

enum TKind { pnNone, pnEgn, pnLnch };

// A valid ЕГН: ten digits, a real date of birth, its check digit; gives the date and the sex.
bool IsEgn(const QString &number, QDate *birth = nullptr, bool *male = nullptr);
// A valid ЛНЧ: ten digits and its check digit.
bool IsLnch(const QString &number);
// Which of the two the number is (an ЕГН first); pnNone when it is neither.
TKind KindOf(const QString &number);

} // namespace PersonalNumbers
