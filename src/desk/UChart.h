#pragma once
// What the reservation chart shows: the rooms down the side, grouped by hotel and floor, and
// the stays over a period with their status, the parts of moved stays, closures and whether a
// booking still owes money. Read in a few statements however many rooms and stays.

#include "UFrontDesk.h"

#include <QHash>
#include <QList>
#include <QString>

class TADOConnection;

namespace Chart {

struct TRoom {
    int Id = 0;
    QVariant Hotel;
    QString HotelName, Number;
    int Floor = 0;
    int State = FrontDesk::rsClean;
};

// The rows of the chart: by hotel name, floor, then room number as people count (9 before 10).
// The schema keeps no floor: it is the room number's hundreds ("204" is on floor 2).
QList<TRoom> ReadRooms(TADOConnection &connection, const QVariant &hotel);
int FloorOf(const QString &number);

struct TBar {
    int Stay = 0, Booking = 0, Room = 0;
    QDate From, To;  // first night and departure day
    int Status = FrontDesk::ssReserved;
    int Continues = 0;  // the part of a moved stay this one goes on from
    QString Guest;
    int Nights = 0;
    TDecimal Total, Owed, Paid;
    bool OpenBalance() const { return Paid < Owed; }
    // Everything the chart draws of it: a bar equal to the one drawn needs no redrawing.
    bool SameAs(const TBar &other) const;
};

// Stays that touch the nights FROM to the night before TO (cancelled ones hold none and are left
// out), with their booking's account.
QList<TBar> ReadBars(TADOConnection &connection, const QVariant &hotel, const QDate &from, const QDate &to);

struct TClosed {
    int Room = 0, Kind = FrontDesk::rsOutOfService;
    QDate First, Opens;  // invalid: since ever, until reopened
    QString Reason;
};
QList<TClosed> ReadClosures(TADOConnection &connection, const QDate &from, const QDate &to);

// Everything the chart shows of a period, read in one transaction on the shared connection.
struct TSnapshot {
    QList<TRoom> Rooms;
    QList<TBar> Bars;
    QList<TClosed> Closures;
};
TSnapshot Read(const QVariant &hotel, const QDate &from, const QDate &to);

// What a bar's colour says, on the desk's day.
enum TBarKind { bkReserved, bkInHouse, bkLeavingToday, bkDeparted, bkNoShow };
TBarKind KindOf(const TBar &bar, const QDate &today);

} // namespace Chart
