#pragma once
// The nights of stays priced by a rate plan, as the database keeps them: a row per night with its
// price as booked, so that a later change of the plan never rewrites a booked stay. A stay's
// total is the sum of its nights; a stay without a plan is nights × price as it always was.
// Everything here runs in the caller's transaction.

#include "URatePlans.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

class TADOConnection;

namespace Nights {

// What a plan feeds its guests; the services of its meals are charged per night and person.
enum TMealPlan { mpRoomOnly = 0, mpBreakfast = 1, mpHalfBoard = 2, mpFullBoard = 3 };

struct TOccupancy {
    int Adults = 1;
    QList<int> ChildAges;
    int People() const { return Adults + int(ChildAges.size()); }
};
// "5, 11" and back; a text that is not a list of ages from 0 to 17 raises EFrontDeskRefused.
QList<int> AgesOf(const QString &text);
QString AgesText(const QList<int> &ages);

struct TPlanInfo {
    int Id = 0;
    QString Name;
    QVariant Hotel, Currency;  // null hotel: every hotel
    bool VatIncluded = true;
    int MealPlan = mpRoomOnly;
    QList<QVariant> Meals;  // breakfast, lunch, dinner (Uslugi.q42; null: none)
    // The meal services the meal plan charges, in their order.
    QList<int> MealServices() const;
};
std::optional<TPlanInfo> Plan(TADOConnection &connection, int plan);
// The plans a booking in the hotel may choose, by name.
QList<TPlanInfo> PlansOf(TADOConnection &connection, const QVariant &hotel);

// The room's nights from FROM to the night before TO priced by the plan; a night the plan gives no
// price for is refused, naming it.
QList<RatePlans::TNight> Quote(TADOConnection &connection, int plan, int room, const TOccupancy &occupancy,
                               const QDate &from, const QDate &to);
// What the plan's restrictions say against a stay of those days.
QStringList Violations(TADOConnection &connection, int plan, const QDate &from, const QDate &to);

// Prices the stay by the plan: its nights, the plan and occupancy on its row, the total. A stay
// against the plan's restrictions is refused, unless the operator overrides them and holds the
// right to; the override is logged.
void PriceStay(TADOConnection &connection, int stay, int plan, const TOccupancy &occupancy, bool overrideRestrictions);

// A stay of a booking being saved that a plan prices: its room and first night find it.
struct TPlannedStay {
    int Room = 0;
    QDate From;
    int Plan = 0;
    TOccupancy Occupancy;
    bool OverrideRestrictions = false;  // the operator said yes to booking it against them
};
// Prices the booking's stays as planned (the reservation window's save, after its rows are in).
void PriceBooking(TADOConnection &connection, int booking, const QList<TPlannedStay> &planned);

// What the priced stay costs if it ends on the day: its stored nights before it and, past its
// departure, the plan's price of the nights added.
TDecimal TotalUntil(TADOConnection &connection, int stay, const QDate &departure);
// The stay's nights made to end on the day (nights from it dropped, the ones added priced by
// the plan); gives the new total.
TDecimal SetDeparture(TADOConnection &connection, int stay, const QDate &departure);
// Every night priced again for the stay's room and days as they stand now; gives the new total.
TDecimal Reprice(TADOConnection &connection, int stay);
// A move's new part takes the nights from the day on; gives the part's total.
TDecimal Split(TADOConnection &connection, int stay, int part, const QDate &day);
TDecimal Sum(TADOConnection &connection, int stay);
// A priced stay's price a night as its row keeps it for older readers: the total's average, to the cent.
TDecimal AveragePerNight(const TDecimal &total, int nights);

} // namespace Nights
