#include "URatePlans.h"

#include "startup/UConstMessagesStay.h"

#include <algorithm>

namespace RatePlans {

namespace {

QString dayText(const QDate &day) { return day.toString(QStringLiteral("dd.MM.yyyy")); }

std::optional<int> seasonOf(const TPlan &plan, const QDate &night)
{
    for (const TSeason &season : plan.Seasons)
        if (season.First <= night && night <= season.Last)
            return season.Id;
    return std::nullopt;
}

std::optional<TDecimal> priceOf(const TPlan &plan, int season, const QString &roomType, int adults, const QDate &night)
{
    for (const TPrice &price : plan.Prices)
        if (price.Season == season && price.RoomType == roomType && price.Adults == adults &&
            (price.Weekdays & WeekdayBit(night.dayOfWeek())) != 0)
            return price.Amount;
    return std::nullopt;
}

// The room's price for the adults: the price for up to three, an extra bed for each beyond.
std::optional<TDecimal> adultsPrice(const TPlan &plan, int season, const QString &roomType, int adults, const QDate &night)
{
    constexpr int kLargestPriced = 3;
    const std::optional<TDecimal> base = priceOf(plan, season, roomType, std::min(adults, kLargestPriced), night);
    if (!base || adults <= kLargestPriced)
        return base;
    const std::optional<TDecimal> extra = priceOf(plan, season, roomType, 0, night);
    if (!extra)
        return std::nullopt;
    return *base + *extra * TDecimal(adults - kLargestPriced);
}

// One adult's share of the room's price, to the cent (half up).
TDecimal shareOf(const TDecimal &room, int adults)
{
    const qint64 cents = room.ToCents();
    return TDecimal::FromCents((2 * cents + adults) / (2 * adults));
}

TDecimal childPrice(const QList<TChildBand> &bands, int age, const TDecimal &adultShare)
{
    for (const TChildBand &band : bands)
        if (band.From <= age && age <= band.To) {
            switch (band.Rule) {
            case crFree:
                return TDecimal();
            case crPercent:
                return (adultShare * band.Value * TDecimal::FromText(QStringLiteral("0.01"))).Cents();
            case crFixed:
                return band.Value;
            }
        }
    return adultShare;  // older than every band: an adult's share
}

} // namespace

QList<TNight> NightPrices(const TPlan &plan, const QList<TChildBand> &bands, const QString &roomType, int adults,
                          const QList<int> &childAges, const QDate &from, const QDate &to)
{
    QList<TNight> nights;
    for (QDate night = from; night < to; night = night.addDays(1)) {
        const std::optional<int> season = seasonOf(plan, night);
        const std::optional<TDecimal> room =
            season ? adultsPrice(plan, *season, roomType, std::max(adults, 1), night) : std::nullopt;
        if (!room)
            throw EPriceMissing(msgRateNoPrice.arg(dayText(night)));
        const TDecimal share = shareOf(*room, std::max(adults, 1));
        TDecimal price = *room;
        for (const int age : childAges)
            price += childPrice(bands, age, share);
        if (!plan.VatIncluded)
            price += (price * TDecimal(plan.VatBasisPoints) * TDecimal::FromText(QStringLiteral("0.0001"))).Cents();
        nights.append({night, price});
    }
    return nights;
}

TDecimal Total(const QList<TNight> &nights)
{
    TDecimal total;
    for (const TNight &night : nights)
        total += night.Price;
    return total;
}

QStringList Violations(const TPlan &plan, const QDate &from, const QDate &to)
{
    QStringList said;
    const int nights = int(from.daysTo(to));
    for (const TRestriction &restriction : plan.Restrictions) {
        if (restriction.Day == from) {
            if (restriction.ClosedToArrival)
                said.append(msgRateClosedToArrival.arg(dayText(from)));
            if (restriction.MinStay > 0 && nights < restriction.MinStay)
                said.append(msgRateMinStay.arg(dayText(from)).arg(restriction.MinStay));
            if (restriction.MaxStay > 0 && nights > restriction.MaxStay)
                said.append(msgRateMaxStay.arg(dayText(from)).arg(restriction.MaxStay));
        }
        if (restriction.Day == to && restriction.ClosedToDeparture)
            said.append(msgRateClosedToDeparture.arg(dayText(to)));
    }
    return said;
}

QString RoomTypeOfBeds(int beds) { return msgRoomTypeOfBeds.arg(beds); }

std::optional<std::pair<TSeason, TSeason>> Overlap(const QList<TSeason> &seasons)
{
    QList<TSeason> sorted = seasons;
    std::sort(sorted.begin(), sorted.end(), [](const TSeason &a, const TSeason &b) { return a.First < b.First; });
    for (int i = 1; i < sorted.size(); ++i)
        if (sorted.at(i).First <= sorted.at(i - 1).Last)
            return std::pair{sorted.at(i - 1), sorted.at(i)};
    return std::nullopt;
}

} // namespace RatePlans
