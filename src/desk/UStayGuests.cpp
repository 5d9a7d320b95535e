// Everyone in the room: the guests of a stay, what the law asks of each at check-in, and
// finding a guest of the register as the operator types.

#include "UGuests.h"

#include "UCountries.h"
#include "UPersonalNumbers.h"
#include "URights.h"
#include "URows.h"
#include "data/UAdoDb.h"
#include "data/UDM.h"
#include "data/UGuestSearch.h"
#include "startup/UConstMessagesStay.h"

#include "data/UDbSchema.h"

#include <QSet>
#include <functional>

namespace Guests {

namespace {

// Закон за туризма, чл. 116 (the register of accommodated tourists kept through ЕСТИ): citizens
// of Bulgaria, of the European Union, of the European Economic Area and of Switzerland are
// registered by person and the dates of their stay; every other citizen also by names, date of
// birth, citizenship and the number and series of the identity document. A guest whose
// citizenship is unknown is asked everything. The dates come from the stay itself.
struct TLawField {
    const QString *Name;
    bool EveryCitizen;  // asked of every guest, else only of those outside the areas above
    std::function<bool(const TGuest &)> Given;
};

const QList<TLawField> &lawFields()
{
    static const QList<TLawField> fields = {
        {&msgLawFieldName, true, [](const TGuest &g) { return !g.Name.trimmed().isEmpty(); }},
        {&msgLawFieldBorn, false, [](const TGuest &g) { return g.Born.isValid(); }},
        {&msgLawFieldCitizenship, false, [](const TGuest &g) { return !g.Citizenship.trimmed().isEmpty(); }},
        {&msgLawFieldDocumentNumber, false, [](const TGuest &g) { return !g.DocumentNumber.trimmed().isEmpty(); }},
        {&msgLawFieldDocumentSeries, false, [](const TGuest &g) { return !g.DocumentSeries.trimmed().isEmpty(); }},
    };
    return fields;
}

// A guest with an ЕГН and no citizenship given is taken as Bulgarian: the number is given to
// Bulgarian citizens.
bool asksPersonOnly(const TGuest &guest)
{
    const QString citizenship =
        guest.Citizenship.isEmpty() && PersonalNumbers::IsEgn(guest.PersonalNumber) ? QStringLiteral("BG") : guest.Citizenship;
    switch (Countries::AreaOf(citizenship)) {
    case Countries::arBulgaria:
    case Countries::arEuropeanUnion:
    case Countries::arEuropeanEconomicArea:
    case Countries::arSwitzerland:
        return true;
    default:
        return false;
    }
}

int bedsOf(TADOConnection &connection, int room)
{
    return connection.Column(QStringLiteral("SELECT q79 FROM Rooms WHERE q47 = ?"), {room}).value(0).toInt();
}

void checkGuests(TADOConnection &connection, const FrontDesk::TStay &stay, const QList<TStayGuest> &guests)
{
    if (guests.isEmpty())
        throw EFrontDeskRefused(msgStayGuestsNone);
    int holders = 0;
    QSet<int> seen;
    for (const TStayGuest &guest : guests) {
        holders += guest.Holder ? 1 : 0;
        if (guest.Guest <= 0 || seen.contains(guest.Guest))
            throw EFrontDeskRefused(msgStayGuestTwice.arg(guest.Name));
        seen.insert(guest.Guest);
    }
    if (holders != 1)
        throw EFrontDeskRefused(msgStayGuestsHolder);
    const int beds = bedsOf(connection, stay.Room);
    if (beds > 0 && guests.size() > beds)
        throw EFrontDeskRefused(msgStayGuestsBeds.arg(stay.RoomNumber).arg(beds).arg(guests.size()));
}

} // namespace

QStringList MissingForCheckIn(const TGuest &guest)
{
    const bool personOnly = asksPersonOnly(guest);
    QStringList missing;
    for (const TLawField &field : lawFields())
        if ((field.EveryCitizen || !personOnly) && !field.Given(guest))
            missing.append(*field.Name);
    return missing;
}

namespace {

// Every guest of the register among them has what the law asks; refused naming the first who has not.
void requireLawData(TADOConnection &connection, const QList<TStayGuest> &guests)
{
    for (const TStayGuest &guest : guests)
        if (const std::optional<TGuest> person = Read(connection, guest.Guest)) {
            const QStringList missing = MissingForCheckIn(*person);
            if (!missing.isEmpty())
                throw EFrontDeskRefused(msgGuestMissingForCheckIn.arg(person->Name, missing.join(QStringLiteral(", "))));
        }
}

} // namespace

QList<TFound> Find(const QString &text, int rows)
{
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection);
    const GuestSearch::TStatement statement = GuestSearch::GuestsStatement(
        connection, QStringLiteral("SELECT g.q252, g.q253, g.q257, g.q28, g.q259, g.q256 FROM Gosti g"), text, rows);
    TNamedValues values;
    for (const TParameter &parameter : statement.Parameters)
        values.append({parameter.Name, parameter.Value});
    TRows found(connection, statement.Sql, values);
    const bool documents = Rights::Has(Rights::rGuestDocuments);
    QList<TFound> guests;
    while (found.Next())
        guests.append({found.Integer(0), found.Text(1), found.Text(2), documents ? found.Text(3) : QString(),
                       documents ? found.Text(4) : QString(), found.Date(5)});
    transaction.Commit();
    return guests;
}

QList<TStayGuest> OfStay(TADOConnection &connection, int stay)
{
    QList<TStayGuest> guests;
    TRows rows(connection,
               QStringLiteral("SELECT p.q252, g.q253, g.q256, p.q267, p.q161 FROM GostiPrestoi p INNER JOIN Gosti g ON "
                              "(g.q252 = p.q252) WHERE p.q123 = :iStay ORDER BY p.q267 DESC, g.q253"),
               {{"iStay", stay}});
    while (rows.Next())
        guests.append({rows.Integer(0), rows.Text(1), rows.Date(2), rows.Integer(3) == 1, rows.Text(4)});
    if (!guests.isEmpty())
        return guests;
    TRows own(connection, QStringLiteral("SELECT q29, q161 FROM Klients WHERE q123 = :iStay"), {{"iStay", stay}});
    if (own.Next())
        guests.append({0, own.Text(0), QDate(), true, own.Text(1)});
    return guests;
}

QList<TStayGuest> OfStay(int stay)
{
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection);
    QList<TStayGuest> guests = OfStay(connection, stay);
    transaction.Commit();
    return guests;
}

void WriteStayGuests(TADOConnection &connection, const FrontDesk::TStay &stay, const QList<TStayGuest> &guests)
{
    checkGuests(connection, stay, guests);
    connection.Execute(QStringLiteral("DELETE FROM GostiPrestoi WHERE q123 = ?"), {stay.Id});
    QStringList names;
    for (const TStayGuest &guest : guests) {
        const QString exemption = guest.TaxExemption.trimmed().left(TextColumnLength);
        connection.Execute(QStringLiteral("INSERT INTO GostiPrestoi (q123, q252, q267, q161) VALUES (?, ?, ?, ?)"),
                           {stay.Id, guest.Guest, guest.Holder ? 1 : 0,
                            exemption.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(exemption)});
        names.append(guest.Name);
        if (!guest.Holder)
            continue;
        const std::optional<TGuest> holder = Read(connection, guest.Guest);
        const QVariant personal = holder && !holder->PersonalNumber.isEmpty() ? QVariant(holder->PersonalNumber)
                                                                             : QVariant(QMetaType::fromType<QString>());
        connection.Execute(QStringLiteral("UPDATE Klients SET q29 = ?, q28 = ?, q252 = ?, q161 = ? WHERE q123 = ?"),
                           {holder ? holder->Name : guest.Name, personal, guest.Guest,
                            exemption.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(exemption), stay.Id});
        connection.Execute(QStringLiteral("UPDATE Rezervacii SET q252 = ? WHERE q124 = ? AND q252 IS NULL"),
                           {guest.Guest, stay.Booking});
    }
    FrontDesk::WriteLog(connection, QStringLiteral("stay"), stay.Id, stay.Booking,
                        msgLogStayGuests.arg(stay.RoomNumber, names.join(QStringLiteral(", "))));
}

namespace {

// What the card leaves empty, the booking may already know.
FrontDesk::TGuest withBooking(TADOConnection &connection, const FrontDesk::TStay &stay, FrontDesk::TGuest card)
{
    TRows booking(connection, QStringLiteral("SELECT q28, q133, q134, q135 FROM Rezervacii WHERE q124 = :iBooking"),
                  {{"iBooking", stay.Booking}});
    if (booking.Next())
        for (const auto &[field, column] : {std::pair<QString *, int>{&card.PersonalNumber, 0}, {&card.Passport, 1},
                                            {&card.Address, 2}, {&card.Nationality, 3}})
            if (field->trimmed().isEmpty())
                *field = booking.Text(column);
    return card;
}

int guestOfCard(TADOConnection &connection, const FrontDesk::TStay &stay, const FrontDesk::TGuest &typed)
{
    const FrontDesk::TGuest card = withBooking(connection, stay, typed);
    for (const auto &[column, value] : {std::pair<const char *, QString>{"q28", card.PersonalNumber.trimmed()},
                                        {"q259", card.Passport.trimmed()}}) {
        if (value.isEmpty())
            continue;
        const QVariantList found = connection.Column(
            QStringLiteral("SELECT q252 FROM Gosti WHERE %1 = ? AND q269 IS NULL ORDER BY q252 DESC").arg(QLatin1String(column)),
            {value});
        if (!found.isEmpty())
            return found.first().toInt();
    }
    // The card's texts as far as the register's rules take them: a personal number that is no
    // ЕГН or ЛНЧ, or a nationality that names no country, stays on the booking only.
    TGuest guest;
    guest.Name = stay.Guest.trimmed().isEmpty() ? card.Name : stay.Guest;
    guest.Address = card.Address;
    guest.DocumentKind = card.Passport.trimmed().isEmpty() ? dkIdentityCard : dkPassport;
    guest.DocumentNumber = card.Passport;
    guest.PersonalNumber = card.PersonalNumber;
    guest.Citizenship = card.Nationality;
    TGuest checked = guest;
    if (Check(checked))
        guest.PersonalNumber.clear();
    checked = guest;
    if (Check(checked))
        guest.Citizenship.clear();
    return Save(connection, guest, false);
}

} // namespace

void RegisterAtCheckIn(TADOConnection &connection, const FrontDesk::TStay &stay, const FrontDesk::TGuest &card)
{
    const QString exemption = card.TaxExemption.trimmed().left(TextColumnLength);
    const QVariant exempt = exemption.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(exemption);
    if (connection.Column(QStringLiteral("SELECT COUNT(*) FROM GostiPrestoi WHERE q123 = ?"), {stay.Id}).value(0).toInt() == 0) {
        const int holder = guestOfCard(connection, stay, card);
        connection.Execute(QStringLiteral("INSERT INTO GostiPrestoi (q123, q252, q267, q161) VALUES (?, ?, 1, ?)"),
                           {stay.Id, holder, exempt});
        connection.Execute(QStringLiteral("UPDATE Klients SET q252 = ? WHERE q123 = ?"), {holder, stay.Id});
        connection.Execute(QStringLiteral("UPDATE Rezervacii SET q252 = ? WHERE q124 = ? AND q252 IS NULL"),
                           {holder, stay.Booking});
    } else if (!exemption.isEmpty()) {
        connection.Execute(QStringLiteral("UPDATE GostiPrestoi SET q161 = ? WHERE q123 = ? AND q267 = 1"), {exempt, stay.Id});
    }
    requireLawData(connection, OfStay(connection, stay.Id));
}

void HoldBooking(TADOConnection &connection, int booking, int guest)
{
    if (guest <= 0)
        return;
    connection.Execute(QStringLiteral("UPDATE Rezervacii SET q252 = ? WHERE q124 = ?"), {guest, booking});
    connection.Execute(QStringLiteral("UPDATE Klients SET q252 = ? WHERE q124 = ? AND q47 IS NOT NULL"), {guest, booking});
    connection.Execute(QStringLiteral("INSERT INTO GostiPrestoi (q123, q252, q267) SELECT q123, q252, 1 FROM Klients WHERE "
                                      "q124 = ? AND q47 IS NOT NULL"),
                       {booking});
}

void SetStayGuests(int stay, const QList<TStayGuest> &guests)
{
    Rights::Require(Rights::rCheckIn);
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection, true);
    FrontDesk::LockDay(connection);
    const FrontDesk::TStay locked = FrontDesk::LockStay(connection, stay);
    if (locked.Status != FrontDesk::ssReserved && locked.Status != FrontDesk::ssInHouse)
        throw EFrontDeskRefused(msgStayGuestsStatus);
    if (locked.Status == FrontDesk::ssInHouse)
        requireLawData(connection, guests);
    WriteStayGuests(connection, locked, guests);
    transaction.Commit();
}

} // namespace Guests
