#include "UNights.h"

#include "UFrontDesk.h"
#include "URights.h"
#include "URows.h"
#include "UVat.h"
#include "data/UAdoDb.h"
#include "startup/UConstMessagesStay.h"

#include <QRegularExpression>
#include <algorithm>

namespace Nights {

namespace {

[[noreturn]] void refuse(const QString &message) { throw EFrontDeskRefused(message); }

constexpr int kOldestChild = 17;

// The stay's row as pricing needs it.
struct TPricedStay {
    int Id = 0, Room = 0, Plan = 0;
    QDate From, To;
    TOccupancy Occupancy;
};

TPricedStay pricedStay(TADOConnection &connection, int stay)
{
    TRows row(connection, QStringLiteral("SELECT q123, q47, q276, q34, q35, q300, q301 FROM Klients WHERE q123 = :iStay"),
              {{"iStay", stay}});
    if (!row.Next())
        refuse(msgStayNotFound.arg(stay));
    TPricedStay priced;
    priced.Id = row.Integer(0);
    priced.Room = row.Integer(1);
    priced.Plan = row.Integer(2);
    priced.From = row.Date(3);
    priced.To = row.Date(4);
    priced.Occupancy.Adults = std::max(1, row.Integer(5));
    priced.Occupancy.ChildAges = AgesOf(row.Text(6));
    return priced;
}

struct TRoomPricing {
    QString Type;
    QVariant Hotel;
    int VatBasisPoints = 0;
};

TRoomPricing roomPricing(TADOConnection &connection, int room)
{
    TRows row(connection, QStringLiteral("SELECT r.q275, r.q1, (SELECT MIN(d.q165) FROM DDSStavki d WHERE d.q163 = r.q170) "
                                         "FROM Rooms r WHERE r.q47 = :iRoom"),
              {{"iRoom", room}});
    if (!row.Next())
        refuse(msgUnknownRoom);
    TRoomPricing pricing{row.Text(0), row.Field(1).Value(), 0};
    const TField rate = row.Field(2);
    pricing.VatBasisPoints = rate.IsNull() ? 0 : Vat::BasisPointsOf(TDecimal::FromVariant(rate.Value()));
    return pricing;
}

RatePlans::TPlan readPlan(TADOConnection &connection, int plan, int vatBasisPoints)
{
    const std::optional<TPlanInfo> info = Plan(connection, plan);
    if (!info)
        refuse(msgRatePlanNotFound.arg(plan));
    RatePlans::TPlan rules;
    rules.VatIncluded = info->VatIncluded;
    rules.VatBasisPoints = vatBasisPoints;
    {
        TRows seasons(connection, QStringLiteral("SELECT q283, q52, q53 FROM Sezoni WHERE q276 = :iPlan"), {{"iPlan", plan}});
        while (seasons.Next())
            rules.Seasons.append({seasons.Integer(0), seasons.Date(1), seasons.Date(2)});
    }
    {
        TRows prices(connection, QStringLiteral("SELECT q283, q275, q286, q287, q70 FROM Ceni WHERE q276 = :iPlan"),
                     {{"iPlan", plan}});
        while (prices.Next())
            rules.Prices.append({prices.Integer(0), prices.Text(1), prices.Integer(2), prices.Integer(3), prices.Amount(4)});
    }
    TRows restrictions(connection, QStringLiteral("SELECT q294, q295, q296, q297, q298 FROM Ogranichenia WHERE q276 = :iPlan"),
                       {{"iPlan", plan}});
    while (restrictions.Next())
        rules.Restrictions.append({restrictions.Date(0), restrictions.Integer(1), restrictions.Integer(2),
                                   restrictions.Integer(3) != 0, restrictions.Integer(4) != 0});
    return rules;
}

// The hotel's own children's bands, else those of every hotel.
QList<RatePlans::TChildBand> childBands(TADOConnection &connection, const QVariant &hotel)
{
    QList<RatePlans::TChildBand> own, everyHotel;
    TRows rows(connection, QStringLiteral("SELECT q1, q289, q290, q291, q292 FROM DetskiVazrasti ORDER BY q289"), {});
    while (rows.Next()) {
        const RatePlans::TChildBand band{rows.Integer(1), rows.Integer(2), RatePlans::TChildRule(rows.Integer(3)),
                                         rows.Amount(4)};
        const TField of = rows.Field(0);
        if (of.IsNull())
            everyHotel.append(band);
        else if (!hotel.isNull() && of.AsInteger() == hotel.toInt())
            own.append(band);
    }
    return own.isEmpty() ? everyHotel : own;
}

QList<RatePlans::TNight> quote(TADOConnection &connection, int plan, int room, const TOccupancy &occupancy,
                               const QDate &from, const QDate &to)
{
    const TRoomPricing pricing = roomPricing(connection, room);
    const RatePlans::TPlan rules = readPlan(connection, plan, pricing.VatBasisPoints);
    try {
        return RatePlans::NightPrices(rules, childBands(connection, pricing.Hotel), pricing.Type, occupancy.Adults,
                                      occupancy.ChildAges, from, to);
    } catch (const EPriceMissing &missing) {
        refuse(missing.Message() + QLatin1Char(' ') + msgRateRoomType.arg(pricing.Type));
    }
}

void writeNights(TADOConnection &connection, int stay, int plan, const QString &roomType,
                 const QList<RatePlans::TNight> &nights)
{
    for (const RatePlans::TNight &night : nights)
        connection.Execute(QStringLiteral("INSERT INTO Noshtuvki (q123, q299, q70, q276, q275) VALUES (?, ?, ?, ?, ?)"),
                           {stay, night.Night, night.Price.ToVariant(), plan, roomType});
}

// The stay's total and its average price a night (what an older reader of the row shows).
TDecimal storeTotal(TADOConnection &connection, int stay)
{
    const TDecimal total = Sum(connection, stay);
    const int nights = connection.Column(QStringLiteral("SELECT COUNT(*) FROM Noshtuvki WHERE q123 = ?"), {stay}).value(0).toInt();
    const TDecimal average = AveragePerNight(total, nights);
    connection.Execute(QStringLiteral("UPDATE Klients SET q27 = ?, q70 = ? WHERE q123 = ?"),
                       {total.ToVariant(), average.ToVariant(), stay});
    return total;
}

} // namespace

QList<int> AgesOf(const QString &text)
{
    QList<int> ages;
    for (const QString &part : text.split(QRegularExpression(QStringLiteral("[,;\\s]+")), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int age = part.toInt(&ok);
        if (!ok || age < 0 || age > kOldestChild)
            refuse(msgRateChildAgesInvalid.arg(text.trimmed()));
        ages.append(age);
    }
    return ages;
}

QString AgesText(const QList<int> &ages)
{
    QStringList parts;
    for (const int age : ages)
        parts.append(QString::number(age));
    return parts.join(QStringLiteral(", "));
}

QList<int> TPlanInfo::MealServices() const
{
    // Breakfast; breakfast and dinner; all three.
    static const QList<QList<int>> kMeals = {{}, {0}, {0, 2}, {0, 1, 2}};
    QList<int> services;
    for (const int meal : kMeals.value(MealPlan))
        if (!Meals.value(meal).isNull() && Meals.value(meal).isValid())
            services.append(Meals.value(meal).toInt());
    return services;
}

std::optional<TPlanInfo> Plan(TADOConnection &connection, int plan)
{
    TRows row(connection, QStringLiteral("SELECT q276, q1, q277, q57, q278, q279, q280, q281, q282 FROM CenoviPlanove "
                                         "WHERE q276 = :iPlan"),
              {{"iPlan", plan}});
    if (!row.Next())
        return std::nullopt;
    TPlanInfo info;
    info.Id = row.Integer(0);
    info.Hotel = row.Field(1).Value();
    info.Name = row.Text(2);
    info.Currency = row.Field(3).Value();
    info.VatIncluded = row.Field(4).IsNull() || row.Integer(4) != 0;
    info.MealPlan = row.Integer(5);
    for (const int column : {6, 7, 8})
        info.Meals.append(row.Field(column).IsNull() ? QVariant() : QVariant(row.Integer(column)));
    return info;
}

QList<TPlanInfo> PlansOf(TADOConnection &connection, const QVariant &hotel)
{
    QList<int> keys;
    {
        TRows rows(connection, QStringLiteral("SELECT q276, q1 FROM CenoviPlanove ORDER BY q277"), {});
        while (rows.Next())
            if (rows.Field(1).IsNull() || (!hotel.isNull() && rows.Integer(1) == hotel.toInt()))
                keys.append(rows.Integer(0));
    }
    QList<TPlanInfo> plans;
    for (const int key : keys)
        if (const std::optional<TPlanInfo> plan = Plan(connection, key))
            plans.append(*plan);
    return plans;
}

QList<RatePlans::TNight> Quote(TADOConnection &connection, int plan, int room, const TOccupancy &occupancy,
                               const QDate &from, const QDate &to)
{
    return quote(connection, plan, room, occupancy, from, to);
}

QStringList Violations(TADOConnection &connection, int plan, const QDate &from, const QDate &to)
{
    return RatePlans::Violations(readPlan(connection, plan, 0), from, to);
}

void PriceStay(TADOConnection &connection, int stay, int plan, const TOccupancy &occupancy, bool overrideRestrictions)
{
    TPricedStay priced = pricedStay(connection, stay);
    const QStringList against = Violations(connection, plan, priced.From, priced.To);
    if (!against.isEmpty()) {
        if (!overrideRestrictions)
            refuse(against.join(QLatin1Char('\n')));
        Rights::Require(Rights::rOverrideRestrictions);
        FrontDesk::WriteLog(connection, QStringLiteral("stay"), stay,
                            connection.Column(QStringLiteral("SELECT q124 FROM Klients WHERE q123 = ?"), {stay}).value(0),
                            msgLogRestrictionsOverridden.arg(against.join(QStringLiteral("; "))));
    }
    const QList<RatePlans::TNight> nights = quote(connection, plan, priced.Room, occupancy, priced.From, priced.To);
    connection.Execute(QStringLiteral("DELETE FROM Noshtuvki WHERE q123 = ?"), {stay});
    writeNights(connection, stay, plan, roomPricing(connection, priced.Room).Type, nights);
    connection.Execute(QStringLiteral("UPDATE Klients SET q276 = ?, q300 = ?, q301 = ? WHERE q123 = ?"),
                       {plan, occupancy.Adults,
                        occupancy.ChildAges.isEmpty() ? QVariant(QMetaType::fromType<QString>())
                                                      : QVariant(AgesText(occupancy.ChildAges)),
                        stay});
    storeTotal(connection, stay);
}

void PriceBooking(TADOConnection &connection, int booking, const QList<TPlannedStay> &planned)
{
    QHash<QPair<int, QDate>, int> stays;
    {
        TRows rows(connection, QStringLiteral("SELECT q123, q47, q34 FROM Klients WHERE q124 = :iBooking AND q47 IS NOT NULL"),
                   {{"iBooking", booking}});
        while (rows.Next())
            stays.insert({rows.Integer(1), rows.Date(2)}, rows.Integer(0));
    }
    for (const TPlannedStay &stay : planned)
        if (const int id = stays.value({stay.Room, stay.From}); id > 0)
            PriceStay(connection, id, stay.Plan, stay.Occupancy, stay.OverrideRestrictions);
}

TDecimal Sum(TADOConnection &connection, int stay)
{
    return TDecimal::FromVariant(
        connection.Column(QStringLiteral("SELECT COALESCE(SUM(q70), 0) FROM Noshtuvki WHERE q123 = ?"), {stay}).value(0));
}

TDecimal AveragePerNight(const TDecimal &total, int nights)
{
    return nights > 0 ? TDecimal::FromCents((2 * total.ToCents() + nights) / (2 * nights)) : TDecimal();
}

TDecimal TotalUntil(TADOConnection &connection, int stay, const QDate &departure)
{
    const TPricedStay priced = pricedStay(connection, stay);
    TDecimal total = TDecimal::FromVariant(
        connection.Column(QStringLiteral("SELECT COALESCE(SUM(q70), 0) FROM Noshtuvki WHERE q123 = ? AND q299 < ?"),
                          {stay, departure}).value(0));
    if (departure > priced.To)
        total += RatePlans::Total(quote(connection, priced.Plan, priced.Room, priced.Occupancy, priced.To, departure));
    return total;
}

TDecimal SetDeparture(TADOConnection &connection, int stay, const QDate &departure)
{
    const TPricedStay priced = pricedStay(connection, stay);
    connection.Execute(QStringLiteral("DELETE FROM Noshtuvki WHERE q123 = ? AND q299 >= ?"), {stay, departure});
    if (departure > priced.To)
        writeNights(connection, stay, priced.Plan, roomPricing(connection, priced.Room).Type,
                    quote(connection, priced.Plan, priced.Room, priced.Occupancy, priced.To, departure));
    return storeTotal(connection, stay);
}

TDecimal Reprice(TADOConnection &connection, int stay)
{
    const TPricedStay priced = pricedStay(connection, stay);
    const QList<RatePlans::TNight> nights = quote(connection, priced.Plan, priced.Room, priced.Occupancy, priced.From, priced.To);
    connection.Execute(QStringLiteral("DELETE FROM Noshtuvki WHERE q123 = ?"), {stay});
    writeNights(connection, stay, priced.Plan, roomPricing(connection, priced.Room).Type, nights);
    return storeTotal(connection, stay);
}

TDecimal Split(TADOConnection &connection, int stay, int part, const QDate &day)
{
    connection.Execute(QStringLiteral("UPDATE Noshtuvki SET q123 = ? WHERE q123 = ? AND q299 >= ?"), {part, stay, day});
    storeTotal(connection, stay);
    return storeTotal(connection, part);
}

} // namespace Nights
