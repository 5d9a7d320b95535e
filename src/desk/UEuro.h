#pragma once
// The euro in Bulgaria: the currency since 1 January 2026, the lev converted at the rate the
// Council of the EU fixed for good (Council Regulation (EC) No 2866/98, Art. 1, as amended for
// Bulgaria in 2025: 1 EUR = 1.95583 BGN). The one place that says so.

#include "framework/UDecimal.h"

#include <QDate>
#include <QString>

namespace Euro {

inline QString Code() { return QStringLiteral("EUR"); }
inline QString LevCode() { return QStringLiteral("BGN"); }
inline QDate Since() { return QDate(2026, 1, 1); }
// Levs for one euro, exactly.
inline TDecimal LevsPerEuro() { return TDecimal::FromText(QStringLiteral("1.95583")); }

} // namespace Euro
