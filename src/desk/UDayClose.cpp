#include "UDayClose.h"

#include "UGuests.h"

#include "UFiscal.h"
#include "URights.h"
#include "URows.h"
#include "data/UAdoDb.h"
#include "data/UDM.h"
#include "data/UDbEngine.h"
#include "framework/UFormatSettings.h"
#include "startup/UConstMessagesStay.h"

#include <QSet>

namespace DayClose {

namespace {

QString dayText(const QDate &day) { return day.toString(QStringLiteral("dd.MM.yyyy")); }

[[noreturn]] void refuse(const QString &why) { throw EFrontDeskRefused(why); }

QVariant nullInt() { return QVariant(QMetaType::fromType<int>()); }

QList<QVariant> hotels(TADOConnection &connection)
{
    QList<QVariant> keys;
    TRows rows(connection, QStringLiteral("SELECT q1 FROM HotelBuild ORDER BY q1"), {});
    while (rows.Next())
        keys.append(rows.Field(0).Value());
    return keys;
}

// The business day row, held by this transaction until it ends: a second close waits here and
// then finds the day moved on.
QDate holdDay(TADOConnection &connection)
{
    connection.Execute(QStringLiteral("UPDATE RabotenDen SET q233 = q233"));
    const QDate day = FrontDesk::StoredDay(connection);
    if (!day.isValid())
        refuse(msgNoBusinessDay);
    return day;
}

void setDay(TADOConnection &connection, const QDate &day)
{
    connection.Execute(QStringLiteral("UPDATE RabotenDen SET q233 = ?"), {QDateTime(day, QTime(0, 0))});
}

QList<FrontDesk::TStay> arrivalsLeft(TADOConnection &connection, const QDate &day)
{
    return FrontDesk::StaysOf(connection, QStringLiteral("k.q125 = 0 AND k.q34 <= :dDay AND k.q155 IS NULL"),
                              {{"dDay", day}});
}

QList<FrontDesk::TStay> departuresLeft(TADOConnection &connection, const QDate &day)
{
    return FrontDesk::StaysOf(connection, QStringLiteral("k.q125 = 1 AND k.q35 <= :dDay"), {{"dDay", day}});
}

TItem stayItem(TItemKind kind, const FrontDesk::TStay &stay, const QString &text, bool blocks)
{
    return {kind, stay.Id, stay.Booking, stay.Room, stay.RoomNumber, stay.Guest, text, blocks};
}

void addStays(TADOConnection &connection, const QDate &day, QList<TItem> &items)
{
    QHash<QString, TRules> rules;
    for (const FrontDesk::TStay &stay : arrivalsLeft(connection, day)) {
        const QString hotel = stay.Hotel.toString();
        if (!rules.contains(hotel))
            rules.insert(hotel, RulesOf(connection, stay.Hotel));
        const bool automatic = rules.value(hotel).AutoNoShow;
        items.append(stayItem(ikArrival, stay, automatic ? msgCloseArrivalAutomatic.arg(dayText(stay.From))
                                                         : msgCloseArrival.arg(dayText(stay.From)),
                              !automatic));
    }
    for (const FrontDesk::TStay &stay : departuresLeft(connection, day))
        items.append(stayItem(ikDeparture, stay, msgCloseDeparture.arg(dayText(stay.To)), true));
}

void addBalances(TADOConnection &connection, const QDate &day, QList<TItem> &items)
{
    QSet<int> seen;
    const QList<FrontDesk::TStay> inHouse =
        FrontDesk::StaysOf(connection, QStringLiteral("k.q125 = 1 AND k.q35 > :dDay"), {{"dDay", day}});
    for (const FrontDesk::TStay &stay : inHouse) {
        if (seen.contains(stay.Booking))
            continue;
        seen.insert(stay.Booking);
        const TDecimal limit = RulesOf(connection, stay.Hotel).BalanceLimit;
        if (limit.IsZero())
            continue;
        const std::optional<FrontDesk::TFolio> folio = FrontDesk::ReadFolio(stay.Booking);
        if (folio && limit < folio->Balance())
            items.append(stayItem(ikBalance, stay, msgCloseBalance.arg(AmountText(folio->Balance()), AmountText(limit)),
                                  false));
    }
}

void addCards(TADOConnection &connection, const QDate &day, QList<TItem> &items)
{
    const QList<FrontDesk::TStay> unprinted = FrontDesk::StaysOf(
        connection,
        QStringLiteral("k.q125 = 1 AND k.q35 > :dDay AND NOT EXISTS (SELECT 1 FROM Dnevnik d WHERE d.q145 = 'card' "
                       "AND d.q146 = k.q123)"),
        {{"dDay", day}});
    for (const FrontDesk::TStay &stay : unprinted)
        items.append(stayItem(ikCard, stay, msgCloseCardUnprinted, false));
}

void addRooms(TADOConnection &connection, QList<TItem> &items)
{
    TRows rows(connection, QStringLiteral("SELECT q47, q44 FROM Rooms WHERE q129 IN (1, 2) ORDER BY q44"), {});
    while (rows.Next())
        items.append({ikDirtyRoom, 0, 0, rows.Integer(0), rows.Text(1), QString(), msgCloseRoomDirty, false});
}

// Receipts sent and never settled; where this workstation prints receipts, the day's cash and
// card payments that have none.
void addReceipts(TADOConnection &connection, const QDate &day, QList<TItem> &items)
{
    TRows unsettled(connection, QStringLiteral("SELECT q124, q222 FROM FiskalniBonove WHERE q224 IN (0, 4) ORDER BY q221"), {});
    while (unsettled.Next())
        items.append({ikReceipt, 0, unsettled.Integer(0), 0, QString(), QString(),
                      msgCloseReceiptUnsettled.arg(unsettled.Text(1)), false});
    if (!Fiscal::Settings().Device)
        return;
    TRows payments(connection,
                   QStringLiteral("SELECT p.q124, p.q140 FROM Plashtania p WHERE p.q136 >= :dDay AND p.q136 < :dNext AND "
                                  "p.q142 IN (0, 1) AND NOT EXISTS (SELECT 1 FROM FiskalniBonove f WHERE f.q139 = p.q139) "
                                  "ORDER BY p.q139"),
                   {{"dDay", day}, {"dNext", day.addDays(1)}});
    while (payments.Next())
        items.append({ikReceipt, 0, payments.Integer(0), 0, QString(), QString(),
                      msgClosePaymentWithoutReceipt.arg(AmountText(payments.Amount(1))), false});
}

} // namespace

constexpr int kLongestRetention = 600;  // fifty years: beyond it a figure is a slip

TRules RulesOf(TADOConnection &connection, const QVariant &hotel)
{
    TRows row(connection, QStringLiteral("SELECT q249, q250, q251, q271 FROM PravilaHoteli WHERE q1 = :iHotel"),
              {{"iHotel", hotel}});
    TRules rules;
    if (row.Next()) {
        rules.AutoNoShow = row.Integer(0) == 1;
        rules.ChargeNoShow = row.Integer(1) == 1;
        rules.BalanceLimit = row.Amount(2);
        rules.RetentionMonths = row.Integer(3);
    }
    return rules;
}

TRules Rules(const QVariant &hotel)
{
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection);
    const TRules rules = RulesOf(connection, hotel);
    transaction.Commit();
    return rules;
}

void SaveRules(const QVariant &hotel, const TRules &rules)
{
    Rights::Require(Rights::rSettings);
    if (rules.BalanceLimit.IsNegative())
        refuse(msgBalanceLimitInvalid);
    if (rules.RetentionMonths < 0 || rules.RetentionMonths > kLongestRetention)
        refuse(msgRetentionInvalid);
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection, true);
    // Two saves of one hotel's rules leave one row: the second waits for the first.
    connection.Engine().LockName(connection, QStringLiteral("PravilaHoteli ") + hotel.toString());
    connection.Execute(QStringLiteral("DELETE FROM PravilaHoteli WHERE q1 = ?"), {hotel});
    connection.Execute(QStringLiteral("INSERT INTO PravilaHoteli (q1, q249, q250, q251, q271) VALUES (?, ?, ?, ?, ?)"),
                       {hotel, rules.AutoNoShow ? 1 : 0, rules.ChargeNoShow ? 1 : 0, rules.BalanceLimit.ToVariant(),
                        rules.RetentionMonths > 0 ? QVariant(rules.RetentionMonths) : nullInt()});
    FrontDesk::WriteLog(connection, QStringLiteral("hotel"), hotel, QVariant(),
                        msgLogCloseRules.arg(rules.AutoNoShow ? 1 : 0).arg(rules.ChargeNoShow ? 1 : 0)
                            .arg(rules.BalanceLimit.ToFixed(2)));
    transaction.Commit();
}

QList<TItem> Review()
{
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection);
    const QDate day = FrontDesk::Today();
    QList<TItem> items;
    addStays(connection, day, items);
    addBalances(connection, day, items);
    addCards(connection, day, items);
    addRooms(connection, items);
    addReceipts(connection, day, items);
    transaction.Commit();
    return items;
}

QDate Close(const QDate &day, const TStep &step)
{
    Rights::Require(Rights::rChangeDate);
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection, true);
    const QDate stored = holdDay(connection);
    if (stored != day)
        refuse(msgDayClosedElsewhere.arg(dayText(day), dayText(stored)));
    FrontDesk::LockDay(connection);
    if (step)
        step(1);
    int blocking = 0;
    for (const FrontDesk::TStay &stay : arrivalsLeft(connection, day)) {
        if (RulesOf(connection, stay.Hotel).AutoNoShow)
            FrontDesk::MarkNoShow(connection, stay.Id);
        else
            ++blocking;
    }
    blocking += int(departuresLeft(connection, day).size());
    if (blocking > 0)
        refuse(msgDayCloseBlocked.arg(blocking));
    if (step)
        step(2);
    FrontDesk::AccrueTouristTax(connection, day);
    FrontDesk::PostMeals(connection, day);
    Guests::AnonymiseExpired(connection, day);
    if (step)
        step(3);
    for (const QVariant &hotel : hotels(connection)) {
        const Reports::TDayTotals t = Reports::DayTotals(connection, day, hotel);
        connection.Execute(
            QStringLiteral("INSERT INTO ZatvoreniDni (q233, q1, q235, q236, q237, q238, q239, q240, q241, q242, q243, q244, "
                           "q245, q128, q136) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {QDateTime(day, QTime(0, 0)), hotel, t.Rooms, t.Sold, t.RoomRevenue.ToVariant(), t.Services.ToVariant(),
             t.Tax.ToVariant(), t.Cash.ToVariant(), t.Card.ToVariant(), t.Transfer.ToVariant(), t.Arrivals, t.Departures,
             t.NoShows, Rights::CurrentOperator() > 0 ? QVariant(Rights::CurrentOperator()) : nullInt(),
             QDateTime::currentDateTime()});
    }
    if (step)
        step(4);
    setDay(connection, day.addDays(1));
    FrontDesk::WriteLog(connection, QStringLiteral("day"), QVariant(), QVariant(), msgLogDayClosed.arg(dayText(day)));
    transaction.Commit();
    FrontDesk::ForgetDay();
    return day.addDays(1);
}

QDate LastClosed()
{
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection);
    auto query = OpenQuery(connection, QStringLiteral("SELECT MAX(q233) AS d FROM ZatvoreniDni WHERE q246 IS NULL"));
    const QDate day = query->Eof() ? QDate() : query->FieldByName(QStringLiteral("d")).AsDate();
    transaction.Commit();
    return day;
}

void Reopen(const QString &reason)
{
    Rights::Require(Rights::rInternalControl);
    if (reason.trimmed().isEmpty())
        refuse(msgReopenNeedsReason);
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection, true);
    const QDate today = holdDay(connection), last = today.addDays(-1);
    const auto count = [&](const QString &condition, const QDate &day) {
        return connection.Column(QStringLiteral("SELECT COUNT(*) FROM ZatvoreniDni WHERE q233 >= ? AND q233 < ? AND ") + condition,
                                 {QDateTime(day, QTime(0, 0)), QDateTime(day.addDays(1), QTime(0, 0))})
            .value(0)
            .toInt();
    };
    // Only the day just closed; a day already opened again leaves the ones before it shut.
    if (count(QStringLiteral("q246 IS NULL"), last) == 0 || count(QStringLiteral("q246 IS NOT NULL"), today) > 0)
        refuse(msgReopenOnlyLast.arg(dayText(last)));
    connection.Execute(QStringLiteral("UPDATE ZatvoreniDni SET q246 = ?, q247 = ?, q248 = ? WHERE q233 >= ? AND q233 < ? AND "
                                      "q246 IS NULL"),
                       {QDateTime::currentDateTime(),
                        Rights::CurrentOperator() > 0 ? QVariant(Rights::CurrentOperator()) : nullInt(),
                        reason.trimmed().left(250), QDateTime(last, QTime(0, 0)), QDateTime(today, QTime(0, 0))});
    setDay(connection, last);
    FrontDesk::WriteLog(connection, QStringLiteral("day"), QVariant(), QVariant(),
                        msgLogDayReopened.arg(dayText(last), reason.trimmed()));
    transaction.Commit();
    FrontDesk::ForgetDay();
}

} // namespace DayClose
