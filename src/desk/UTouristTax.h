#pragma once
// The tourist tax, as the municipality assesses it: each night at the rate of the hotel (or, where
// the hotel has none, of the guest's category) valid that night, summed by the month the night
// falls in. The rule lives here alone; its legal ground is named in the unit.

#include "framework/UDecimal.h"

#include <QDate>
#include <QList>
#include <QString>
#include <functional>

namespace TouristTax {

// The nights of one month at one rate: from First to the night before End.
struct TPart {
    QDate First, End;
    TDecimal Rate;
    int Nights() const { return int(First.daysTo(End)); }
    TDecimal Sum() const { return (Rate * TDecimal(Nights())).Cents(); }
    // The day the part is charged on, in its own month: the departure day when the guest leaves
    // in that month, else the month's last night.
    QDate Dated() const { return End.month() == First.month() && End.year() == First.year() ? End : End.addDays(-1); }
};

// The nights from FROM to the night before TO, split where the month or the rate changes.
// An exempt guest's nights are one part per month at rate 0, so that they are still counted.
QList<TPart> Parts(const QDate &from, const QDate &to, const std::function<TDecimal(const QDate &night)> &rateOf,
                   bool exempt);

// The reasons a guest may be exempt, as the operator chooses them at check-in.
QStringList ExemptionReasons();

} // namespace TouristTax
