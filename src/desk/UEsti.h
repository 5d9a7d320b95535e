#pragma once
// The tourism register (ЕСТИ): every guest's arrival and departure sent as a file in the layout
// the system's upload takes, a log of what went when so that nothing is sent twice or
// forgotten, and the guests whose data the register would refuse.

#include "UGuests.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

namespace Esti {

enum TKind { mkArrival = 1, mkDeparture = 2 };

// One guest's arrival or departure.
struct TMovement {
    int Stay = 0, Guest = 0, Kind = mkArrival;  // Guest 0: a stay of before, known by name only
    QDate Day, Arrival, Departure;
    QString HotelId, Room;  // HotelId: the hotel's identifier in the register
    Guests::TGuest Person;
    QDateTime Sent;  // invalid: not sent yet
    QStringList Missing;  // what the register asks that is not given; empty: ready
};

// A column of the file: its heading and the text of a movement in it.
struct TColumn {
    const char *Heading;
    QString (*Text)(const TMovement &);
};
// The file's columns in their order, its separator and encoding: kept in one table in UEsti.cpp.
const QList<TColumn> &Layout();

// The movements of the days FROM to TO of the hotel (null: every hotel), in the day's order.
QList<TMovement> Movements(TADOConnection &connection, const QDate &from, const QDate &to, const QVariant &hotel);

struct TExport {
    bool Written = false;
    int Sent = 0, Left = 0;  // movements in the file; movements left out for missing data
};
// The file of the movements of the period not sent before and ready, handed to WRITE, each
// logged as sent in the same transaction (two workstations never send one twice); nothing is
// logged when WRITE fails. Needs the right to see documents.
TExport Export(const QDate &from, const QDate &to, const QVariant &hotel, const QString &fileName,
               const std::function<bool(const QByteArray &file)> &write);
// The file of the movements as the layout writes them.
QByteArray FileOf(const QList<TMovement> &movements);

} // namespace Esti
