#include "UTouristTax.h"

#include "startup/UConstMessagesStay.h"

namespace TouristTax {

// Закон за местните данъци и такси, Глава втора, Раздел VIII "Туристически данък" (чл. 61м и
// следващите): the tax is due per night provided and is assessed and paid by the month in which
// the nights were provided. The exemptions themselves are the municipality's ordinance's: the
// program only records the reason the operator chose and charges nothing for those nights.
QList<TPart> Parts(const QDate &from, const QDate &to, const std::function<TDecimal(const QDate &)> &rateOf, bool exempt)
{
    QList<TPart> parts;
    for (QDate night = from; night < to; night = night.addDays(1)) {
        const TDecimal rate = exempt ? TDecimal() : rateOf(night);
        const bool sameMonth = !parts.isEmpty() && parts.last().First.month() == night.month() &&
                               parts.last().First.year() == night.year();
        if (sameMonth && parts.last().Rate == rate && parts.last().End == night) {
            parts.last().End = night.addDays(1);
            continue;
        }
        if (!exempt && rate.IsZero())
            continue;  // no rate that night: nothing is due
        parts.append({night, night.addDays(1), rate});
    }
    return parts;
}

QStringList ExemptionReasons()
{
    return {msgTaxExemptChild, msgTaxExemptDisability, msgTaxExemptOther};
}

} // namespace TouristTax
