#include "UEsti.h"

#include "URights.h"
#include "URows.h"
#include "data/UAdoDb.h"
#include "data/UDM.h"
#include "data/UDbEngine.h"
#include "data/UDbSchema.h"
#include "startup/UConstMessagesStay.h"

#include <QHash>
#include <map>

namespace Esti {

namespace {

QString day(const QDate &date) { return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString(); }

// Закон за туризма, чл. 116: the register of accommodated tourists is kept through ЕСТИ, each
// arrival and departure with the tourist's data. The upload's exact layout is published to
// registered places of accommodation; this table is the one place that writes it. Change the
// headings, order or texts here when the published layout changes; nothing else reads them.
const QList<TColumn> kLayout = {
    {"MovementType", [](const TMovement &m) { return QString::number(m.Kind); }},  // 1 arrival, 2 departure
    {"MovementDate", [](const TMovement &m) { return day(m.Day); }},
    {"ObjectId", [](const TMovement &m) { return m.HotelId; }},
    {"Room", [](const TMovement &m) { return m.Room; }},
    {"Name", [](const TMovement &m) { return m.Person.Name; }},
    {"NameLatin", [](const TMovement &m) { return m.Person.LatinName; }},
    {"BirthDate", [](const TMovement &m) { return day(m.Person.Born); }},
    {"Sex", [](const TMovement &m) { return m.Person.Sex == Guests::sxMale ? QStringLiteral("M")
                                            : m.Person.Sex == Guests::sxFemale ? QStringLiteral("F") : QString(); }},
    {"Citizenship", [](const TMovement &m) { return m.Person.Citizenship; }},  // ISO 3166-1 alpha-2
    {"PersonalNumber", [](const TMovement &m) { return m.Person.PersonalNumber; }},
    {"DocumentType", [](const TMovement &m) { return QString::number(m.Person.DocumentKind); }},  // 0 ID card, 1 passport, 2 other
    {"DocumentNumber", [](const TMovement &m) { return m.Person.DocumentNumber; }},
    {"DocumentSeries", [](const TMovement &m) { return m.Person.DocumentSeries; }},
    {"DocumentCountry", [](const TMovement &m) { return m.Person.IssuedBy; }},
    {"ArrivalDate", [](const TMovement &m) { return day(m.Arrival); }},
    {"DepartureDate", [](const TMovement &m) { return day(m.Departure); }},
};
const QChar kSeparator = QLatin1Char(';');
const char *const kLineEnd = "\r\n";

QString cell(const QString &text)
{
    if (!text.contains(kSeparator) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + QLatin1Char('"');
}

using TKey = std::tuple<int, int, int>;  // stay, guest, kind

std::map<TKey, QDateTime> sentIn(TADOConnection &connection, const QDate &from, const QDate &to)
{
    std::map<TKey, QDateTime> sent;
    TRows rows(connection,
               QStringLiteral("SELECT e.q123, e.q252, e.q273, e.q136 FROM ESTIIznos e INNER JOIN Klients k ON (k.q123 = "
                              "e.q123) WHERE k.q35 >= :dFrom AND k.q34 <= :dTo"),
               {{"dFrom", from}, {"dTo", to}});
    while (rows.Next())
        sent[{rows.Integer(0), rows.Integer(1), rows.Integer(2)}] = rows.Field(3).AsDateTime();
    return sent;
}

} // namespace

const QList<TColumn> &Layout() { return kLayout; }

QList<TMovement> Movements(TADOConnection &connection, const QDate &from, const QDate &to, const QVariant &hotel)
{
    const bool oneHotel = hotel.isValid() && !hotel.isNull();
    const QString select = QStringLiteral(
        "SELECT k.q123, k.q34, k.q35, r.q44, f.q270, p.q252, k.q29, k.q28 FROM Klients k INNER JOIN Rooms r ON (r.q47 = k.q47) "
        "LEFT JOIN FirmiHoteli f ON (f.q1 = k.q1) LEFT JOIN GostiPrestoi p ON (p.q123 = k.q123) WHERE ");
    const QString inHotel = oneHotel ? QStringLiteral(" AND k.q1 = :iHotel") : QString();
    // A room move's parts are one stay: arriving is the first part's, departing the last one's.
    const QList<std::pair<int, QString>> kinds = {
        {mkArrival, select + QStringLiteral("k.q125 IN (1, 2) AND k.q155 IS NULL AND k.q34 >= :dFrom AND k.q34 <= :dTo") + inHotel},
        {mkDeparture, select + QStringLiteral("k.q125 = 2 AND k.q35 >= :dFrom AND k.q35 <= :dTo AND NOT EXISTS (SELECT 1 "
                                              "FROM Klients n WHERE n.q155 = k.q123)") + inHotel}};
    const std::map<TKey, QDateTime> sent = sentIn(connection, from, to);
    QList<TMovement> movements;
    for (const auto &[kind, sql] : kinds) {
        TRows rows(connection, sql, {{"dFrom", from}, {"dTo", to}, {"iHotel", hotel}});
        while (rows.Next()) {
            TMovement movement;
            movement.Stay = rows.Integer(0);
            movement.Kind = kind;
            movement.Arrival = rows.Date(1);
            movement.Departure = rows.Date(2);
            movement.Day = kind == mkArrival ? movement.Arrival : movement.Departure;
            movement.Room = rows.Text(3);
            movement.HotelId = rows.Text(4);
            movement.Guest = rows.Integer(5);
            movement.Person.Name = rows.Text(6);
            movement.Person.PersonalNumber = rows.Text(7);
            movements.append(movement);
        }
    }
    for (TMovement &movement : movements) {
        if (movement.Guest > 0)
            if (const std::optional<Guests::TGuest> person = Guests::Read(connection, movement.Guest))
                movement.Person = *person;
        const auto found = sent.find({movement.Stay, movement.Guest, movement.Kind});
        if (found != sent.end())
            movement.Sent = found->second;
        movement.Missing = Guests::MissingForCheckIn(movement.Person);
        if (movement.HotelId.isEmpty())
            movement.Missing.prepend(msgEstiNoObjectId);
    }
    std::stable_sort(movements.begin(), movements.end(),
                     [](const TMovement &a, const TMovement &b) { return a.Day < b.Day; });
    return movements;
}

QByteArray FileOf(const QList<TMovement> &movements)
{
    QStringList headings;
    for (const TColumn &column : kLayout)
        headings.append(QString::fromLatin1(column.Heading));
    QByteArray file = headings.join(kSeparator).toUtf8() + kLineEnd;
    for (const TMovement &movement : movements) {
        QStringList cells;
        for (const TColumn &column : kLayout)
            cells.append(cell(column.Text(movement)));
        file += cells.join(kSeparator).toUtf8() + kLineEnd;
    }
    return file;
}

TExport Export(const QDate &from, const QDate &to, const QVariant &hotel, const QString &fileName,
               const std::function<bool(const QByteArray &file)> &write)
{
    Rights::Require(Rights::rGuestDocuments);
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection, true);
    // Two workstations exporting at once: the second waits, then finds the first one's rows.
    connection.Engine().LockName(connection, QStringLiteral("ESTIIznos"));
    TExport result;
    QList<TMovement> ready;
    for (const TMovement &movement : Movements(connection, from, to, hotel)) {
        if (movement.Sent.isValid())
            continue;
        if (!movement.Missing.isEmpty()) {
            ++result.Left;
            continue;
        }
        ready.append(movement);
    }
    const QDateTime now = QDateTime::currentDateTime();
    const QVariant by = Rights::CurrentOperator() > 0 ? QVariant(Rights::CurrentOperator()) : QVariant(QMetaType::fromType<int>());
    for (const TMovement &movement : ready)
        connection.Execute(QStringLiteral("INSERT INTO ESTIIznos (q123, q252, q273, q274, q128, q136) VALUES (?, ?, ?, ?, ?, ?)"),
                           {movement.Stay, movement.Guest > 0 ? QVariant(movement.Guest) : QVariant(QMetaType::fromType<int>()),
                            movement.Kind, fileName.left(TextColumnLength), by, now});
    result.Sent = int(ready.size());
    FrontDesk::WriteLog(connection, QStringLiteral("esti"), QVariant(), QVariant(),
                        msgLogEstiExported.arg(result.Sent).arg(day(from), day(to), fileName));
    result.Written = write(FileOf(ready));
    if (!result.Written) {
        transaction.Rollback();
        result.Sent = 0;
        return result;
    }
    transaction.Commit();
    return result;
}

} // namespace Esti
