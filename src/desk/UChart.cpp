#include "UChart.h"

#include "URows.h"
#include "data/UAdoDb.h"
#include "data/UDM.h"

#include <QCollator>
#include <algorithm>

namespace Chart {

namespace {

bool hasHotel(const QVariant &hotel) { return hotel.isValid() && !hotel.isNull(); }

} // namespace

int FloorOf(const QString &number)
{
    bool ok = false;
    const int value = number.trimmed().toInt(&ok);
    return ok && value >= 100 ? value / 100 : 0;
}

QList<TRoom> ReadRooms(TADOConnection &connection, const QVariant &hotel)
{
    const QString sql = QStringLiteral("SELECT r.q47, r.q1, h.q10, r.q44, r.q129 FROM Rooms r LEFT JOIN HotelBuild h ON "
                                       "(h.q1 = r.q1)") +
                        (hasHotel(hotel) ? QStringLiteral(" WHERE r.q1 = :iHotel") : QString());
    TRows rows(connection, sql, {{"iHotel", hotel}});
    QList<TRoom> rooms;
    while (rows.Next()) {
        TRoom room;
        room.Id = rows.Integer(0);
        room.Hotel = rows.Field(1).Value();
        room.HotelName = rows.Text(2);
        room.Number = rows.Text(3);
        room.Floor = FloorOf(room.Number);
        room.State = rows.Integer(4);
        rooms.append(room);
    }
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(rooms.begin(), rooms.end(), [&collator](const TRoom &a, const TRoom &b) {
        if (const int byHotel = collator.compare(a.HotelName, b.HotelName))
            return byHotel < 0;
        if (a.Floor != b.Floor)
            return a.Floor < b.Floor;
        if (const int byNumber = collator.compare(a.Number, b.Number))
            return byNumber < 0;
        return a.Id < b.Id;
    });
    return rooms;
}

bool TBar::SameAs(const TBar &other) const
{
    return Stay == other.Stay && Booking == other.Booking && Room == other.Room && From == other.From &&
           To == other.To && Status == other.Status && Continues == other.Continues && Guest == other.Guest &&
           Total == other.Total && Owed == other.Owed && Paid == other.Paid;
}

QList<TBar> ReadBars(TADOConnection &connection, const QVariant &hotel, const QDate &from, const QDate &to)
{
    // The period's condition on alias k, as the covering index of days reads it.
    const QString touches = QStringLiteral(" k.q35 > :dFrom AND k.q34 < :dTo AND k.q47 IS NOT NULL AND "
                                           "(k.q125 IS NULL OR k.q125 <> 3)") +
                            (hasHotel(hotel) ? QStringLiteral(" AND k.q1 = :iHotel") : QString());
    TNamedValues values = {{"dFrom", from}, {"dTo", to}};
    if (hasHotel(hotel))
        values.append({"iHotel", hotel});
    QList<TBar> bars;
    {
        TRows rows(connection,
                            QStringLiteral("SELECT k.q123, k.q124, k.q47, k.q34, k.q35, k.q125, k.q155, k.q29, k.q71, "
                                           "k.q27 FROM Klients k WHERE") +
                                touches,
                            values);
        while (rows.Next()) {
            TBar bar;
            bar.Stay = rows.Integer(0);
            bar.Booking = rows.Integer(1);
            bar.Room = rows.Integer(2);
            bar.From = rows.Date(3);
            bar.To = rows.Date(4);
            bar.Status = rows.Integer(5);
            bar.Continues = rows.Integer(6);
            bar.Guest = rows.Text(7);
            bar.Nights = int(bar.From.daysTo(bar.To));
            bar.Total = rows.Amount(9);
            bars.append(bar);
        }
    }
    if (bars.isEmpty())
        return bars;
    const QHash<int, TAccount> accounts = ReadAccounts(
        [&](const QString &sql) { return TRows(connection, sql, values); },
        QStringLiteral("(SELECT k.q124 FROM Klients k WHERE") + touches + QLatin1Char(')'));
    for (TBar &bar : bars) {
        const TAccount account = accounts.value(bar.Booking);
        bar.Owed = account.Owed;
        bar.Paid = account.Paid;
    }
    return bars;
}

QList<TClosed> ReadClosures(TADOConnection &connection, const QDate &from, const QDate &to)
{
    TRows rows(connection,
                        QStringLiteral("SELECT q47, q159, q157, q158, q130 FROM Zatvoreni WHERE (q158 IS NULL OR q158 > "
                                       ":dFrom) AND (q157 IS NULL OR q157 < :dTo)"),
                        {{"dFrom", from}, {"dTo", to}});
    QList<TClosed> closures;
    while (rows.Next())
        closures.append({rows.Integer(0), rows.Integer(1), rows.Date(2), rows.Date(3), rows.Text(4)});
    return closures;
}

TSnapshot Read(const QVariant &hotel, const QDate &from, const QDate &to)
{
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection);
    TSnapshot snapshot{ReadRooms(connection, hotel), ReadBars(connection, hotel, from, to),
                       ReadClosures(connection, from, to)};
    transaction.Commit();
    return snapshot;
}

TBarKind KindOf(const TBar &bar, const QDate &today)
{
    switch (bar.Status) {
    case FrontDesk::ssInHouse:
        return bar.To <= today ? bkLeavingToday : bkInHouse;
    case FrontDesk::ssDeparted:
        return bkDeparted;
    case FrontDesk::ssNoShow:
        return bkNoShow;
    default:
        return bkReserved;
    }
}

} // namespace Chart
