#pragma once
// The price of each night by a rate plan: the season the night falls in, the weekday group, how
// many adults sleep in the room (an extra bed beyond three), and the children by the hotel's age
// bands; the plan's restrictions on the stay's arrival and length. The rules alone, on data the
// caller reads: nothing here touches the database.

#include "errors/UErrors.h"
#include "framework/UDecimal.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

// A night the plan gives no price for; the message names it.
KALV_ERROR_CLASS(EPriceMissing, Exception)

namespace RatePlans {

// A season of a plan: its nights from First to Last, both included.
struct TSeason {
    int Id = 0;
    QDate First, Last;
};

// Weekdays as a mask: bit 1 Monday ... bit 7 Sunday (Qt's dayOfWeek).
constexpr int WeekdayBit(int dayOfWeek) { return 1 << dayOfWeek; }
constexpr int kEveryDay = 0xFE;

// A room type's price in a season for a number of adults (1 to 3; 0: an extra bed, for each adult
// beyond three) on the weekdays of the mask; the room's price for the night, VAT as the plan says.
struct TPrice {
    int Season = 0;
    QString RoomType;
    int Adults = 1, Weekdays = kEveryDay;
    TDecimal Amount;
};

// A child's band of the hotel: ages From to To (both included, on the arrival day); free, a
// percent of one adult's share of the night, or a fixed amount a night.
enum TChildRule { crFree, crPercent, crFixed };
struct TChildBand {
    int From = 0, To = 0;
    TChildRule Rule = crFree;
    TDecimal Value;
};

// A day's restrictions: for arrivals that day the least and most nights (0: none), no arrival, no
// departure that day.
struct TRestriction {
    QDate Day;
    int MinStay = 0, MaxStay = 0;
    bool ClosedToArrival = false, ClosedToDeparture = false;
};

struct TPlan {
    // Prices without VAT have the room's rate (hundredths of a percent) added to each night.
    bool VatIncluded = true;
    int VatBasisPoints = 0;
    QList<TSeason> Seasons;
    QList<TPrice> Prices;
    QList<TRestriction> Restrictions;
};

struct TNight {
    QDate Night;
    TDecimal Price;
};

// The stay's nights (FROM to the night before TO) priced; raises EPriceMissing naming the first
// night that no season or price covers.
QList<TNight> NightPrices(const TPlan &plan, const QList<TChildBand> &bands, const QString &roomType, int adults,
                          const QList<int> &childAges, const QDate &from, const QDate &to);
TDecimal Total(const QList<TNight> &nights);

// What the plan's restrictions say against the stay, one sentence each; empty: none.
QStringList Violations(const TPlan &plan, const QDate &from, const QDate &to);

// The type a room of so many beds has where nobody has named its type.
QString RoomTypeOfBeds(int beds);

// The first two seasons of the list that share a night (a plan's seasons must not); none: fine.
std::optional<std::pair<TSeason, TSeason>> Overlap(const QList<TSeason> &seasons);

} // namespace RatePlans
