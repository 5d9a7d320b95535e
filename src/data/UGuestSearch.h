#pragma once
// Finding bookings by what a receptionist remembers of them: the booking's number, a room
// number, the guest's personal number or passport (each a look-up in an index), or the
// beginnings of the words of the guest's name. Name words are kept folded in DumiImena, one
// row per word and booking, so that a prefix is a range of an index on every engine; typed
// "%" and "_" are plain characters, since nothing is matched with LIKE.

#include "UAdoDb.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace GuestSearch {

// The rows a search gives at first; "more" asks for as many again.
constexpr int PageRows = 200;

// A name's words as the search compares them: case folded, accents dropped, at most 40 letters.
QStringList Words(const QString &name);

// Keeps the words of a new booking's name; inside the transaction that writes the booking.
void IndexName(TADOConnection &connection, int booking, const QString &name);

// Writes the words of every booking again (the schema upgrade). progress(done, total) is told
// as it goes and may ask to stop by returning false.
void IndexAllNames(TADOConnection &connection, const std::function<bool(int, int)> &progress = {});

// The same for the register of guests (DumiGosti): a guest's name as written and in Latin
// letters; the guest's old words are replaced.
void IndexGuest(TADOConnection &connection, int guest, const QString &name, const QString &latinName);
void IndexAllGuests(TADOConnection &connection);

struct TStatement {
    QString Sql;
    QList<TParameter> Parameters;
};

// Guests of the register whose name begins with the typed words (every typed word begins a word
// of the name as written or in Latin letters), or whose personal or document number is the text;
// the keys of at most "rows" of them, the newest first. "select" gives the columns of Gosti g.
TStatement GuestsStatement(TADOConnection &connection, const QString &select, const QString &text, int rows);

// The search for a typed text: the booking's rows (columns "select" gives, each of a booking's
// stays) whose booking matches any key, newest booking first, at most "rows" of them. An empty
// text finds nothing.
TStatement Statement(TADOConnection &connection, const QString &select, const QString &text, int rows);

} // namespace GuestSearch
