// A guest's data as personal data: duplicates merged, everything kept given out on request,
// and names and documents removed for good on request or when the hotel's retention ends.

#include "UGuests.h"

#include "UCountries.h"
#include "UDayClose.h"
#include "URights.h"
#include "URows.h"
#include "data/UAdoDb.h"
#include "data/UDM.h"
#include "data/UDbEngine.h"
#include "data/UGuestSearch.h"
#include "startup/UConstMessagesStay.h"

#include <QSet>

namespace Guests {

namespace {

// Fills the kept guest's empty fields from the merged one's.
void fillGaps(TGuest &kept, const TGuest &merged)
{
    for (const auto &[to, from] :
         {std::pair<QString *, const QString *>{&kept.LatinName, &merged.LatinName}, {&kept.Citizenship, &merged.Citizenship},
          {&kept.DocumentNumber, &merged.DocumentNumber}, {&kept.DocumentSeries, &merged.DocumentSeries},
          {&kept.IssuedBy, &merged.IssuedBy}, {&kept.PersonalNumber, &merged.PersonalNumber},
          {&kept.Address, &merged.Address}, {&kept.Phone, &merged.Phone}, {&kept.Email, &merged.Email},
          {&kept.Note, &merged.Note}})
        if (to->isEmpty())
            *to = *from;
    if (!kept.Born.isValid())
        kept.Born = merged.Born;
    if (!kept.ValidTo.isValid())
        kept.ValidTo = merged.ValidTo;
    if (kept.Sex == sxUnknown)
        kept.Sex = merged.Sex;
    kept.KeepConsent = kept.KeepConsent || merged.KeepConsent;
    kept.MessagesConsent = kept.MessagesConsent || merged.MessagesConsent;
}

TGuest requireGuest(TADOConnection &connection, int id)
{
    const std::optional<TGuest> guest = Read(connection, id);
    if (!guest)
        throw EFrontDeskRefused(msgGuestNotFound.arg(id));
    if (connection.Column(QStringLiteral("SELECT q269 FROM Gosti WHERE q252 = ?"), {id}).value(0).isNull())
        return *guest;
    throw EFrontDeskRefused(msgGuestAnonymisedAlready);
}

// The guest's bookings' names go with the guest's: the rows that still carry them.
void anonymiseRows(TADOConnection &connection, int guest, const QString &oldName, const QString &newName)
{
    QList<int> bookings;
    TRows rows(connection, QStringLiteral("SELECT q124 FROM Rezervacii WHERE q252 = :iGuest"), {{"iGuest", guest}});
    while (rows.Next())
        bookings.append(rows.Integer(0));
    connection.Execute(QStringLiteral("UPDATE Klients SET q29 = ?, q28 = NULL WHERE q252 = ?"), {newName, guest});
    for (const int booking : bookings) {
        connection.Execute(QStringLiteral("UPDATE Klients SET q29 = ?, q28 = NULL WHERE q124 = ? AND q29 = ?"),
                           {newName, booking, oldName});
        connection.Execute(QStringLiteral("UPDATE Rezervacii SET q29 = ?, q28 = NULL, q133 = NULL, q134 = NULL WHERE q124 = ?"),
                           {newName, booking});
        connection.Execute(QStringLiteral("DELETE FROM DumiImena WHERE q124 = ?"), {booking});
        GuestSearch::IndexName(connection, booking, newName);
    }
}

void anonymise(TADOConnection &connection, int guest, const QString &reason)
{
    const TGuest person = requireGuest(connection, guest);
    const QString name = msgAnonymisedName.arg(guest);
    connection.Execute(QStringLiteral("UPDATE Gosti SET q253 = ?, q254 = NULL, q256 = NULL, q258 = NULL, q259 = NULL, "
                                      "q260 = NULL, q261 = NULL, q262 = NULL, q28 = NULL, q134 = NULL, q263 = NULL, "
                                      "q264 = NULL, q137 = NULL, q265 = 0, q266 = 0, q269 = ? WHERE q252 = ?"),
                       {name, QDateTime::currentDateTime(), guest});
    connection.Execute(QStringLiteral("DELETE FROM DumiGosti WHERE q252 = ?"), {guest});
    anonymiseRows(connection, guest, person.Name, name);
    FrontDesk::WriteLog(connection, QStringLiteral("guest"), guest, QVariant(), msgLogGuestAnonymised.arg(guest).arg(reason));
}

} // namespace

void Merge(int kept, int merged)
{
    Rights::Require(Rights::rRegisters);
    if (kept == merged)
        throw EFrontDeskRefused(msgGuestMergeSame);
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection, true);
    connection.Engine().LockName(connection, QStringLiteral("Gosti"));
    TGuest keptGuest = requireGuest(connection, kept);
    const TGuest mergedGuest = requireGuest(connection, merged);
    fillGaps(keptGuest, mergedGuest);
    // A stay both were guests of keeps one row, the holder's if either held it.
    connection.Execute(QStringLiteral("UPDATE GostiPrestoi SET q267 = 1 WHERE q252 = ? AND q123 IN (SELECT q123 FROM "
                                      "GostiPrestoi WHERE q252 = ? AND q267 = 1)"),
                       {kept, merged});
    connection.Execute(QStringLiteral("DELETE FROM GostiPrestoi WHERE q252 = ? AND q123 IN (SELECT q123 FROM GostiPrestoi "
                                      "WHERE q252 = ?)"),
                       {merged, kept});
    for (const char *table : {"GostiPrestoi", "Klients", "Rezervacii", "ESTIIznos"})
        connection.Execute(QStringLiteral("UPDATE %1 SET q252 = ? WHERE q252 = ?").arg(QLatin1String(table)), {kept, merged});
    connection.Execute(QStringLiteral("DELETE FROM DumiGosti WHERE q252 = ?"), {merged});
    connection.Execute(QStringLiteral("DELETE FROM Gosti WHERE q252 = ?"), {merged});
    Save(connection, keptGuest, false);
    FrontDesk::WriteLog(connection, QStringLiteral("guest"), kept, QVariant(),
                        msgLogGuestMerged.arg(merged).arg(mergedGuest.Name, keptGuest.Name));
    transaction.Commit();
}

void Anonymise(int guest, const QString &reason)
{
    Rights::Require(Rights::rGuestDocuments);
    if (reason.trimmed().isEmpty())
        throw EFrontDeskRefused(msgGuestAnonymiseReason);
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection, true);
    connection.Engine().LockName(connection, QStringLiteral("Gosti"));
    anonymise(connection, guest, reason.trimmed());
    transaction.Commit();
}

int AnonymiseExpired(TADOConnection &connection, const QDate &day)
{
    QHash<int, int> months;  // a hotel's retention
    TRows rules(connection, QStringLiteral("SELECT q1, q271 FROM PravilaHoteli WHERE q271 IS NOT NULL AND q271 > 0"), {});
    while (rules.Next())
        months.insert(rules.Integer(0), rules.Integer(1));
    if (months.isEmpty())
        return 0;
    // Each guest's last departure per hotel; a guest expires when every hotel they stayed in keeps
    // data for a time and that time has passed since their last departure there.
    QHash<int, bool> expired;
    TRows stays(connection,
                QStringLiteral("SELECT p.q252, k.q1, MAX(k.q35) FROM GostiPrestoi p INNER JOIN Klients k ON (k.q123 = "
                               "p.q123) INNER JOIN Gosti g ON (g.q252 = p.q252) WHERE g.q269 IS NULL AND (g.q265 IS NULL "
                               "OR g.q265 = 0) GROUP BY p.q252, k.q1"),
                {});
    while (stays.Next()) {
        const int guest = stays.Integer(0), hotel = stays.Integer(1);
        const bool past = months.contains(hotel) && stays.Date(2) < day.addMonths(-months.value(hotel));
        expired[guest] = expired.value(guest, true) && past;
    }
    int count = 0;
    for (auto it = expired.cbegin(); it != expired.cend(); ++it)
        if (it.value()) {
            anonymise(connection, it.key(), msgGuestAnonymisedReasonRetention);
            ++count;
        }
    return count;
}

QString ExportData(int guest)
{
    Rights::Require(Rights::rGuestDocuments);
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection, true);
    const std::optional<TGuest> person = Read(connection, guest);
    if (!person)
        throw EFrontDeskRefused(msgGuestNotFound.arg(guest));
    QStringList out = {msgExportTitle.arg(person->Name, QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm"))),
                       QString(), msgExportPerson};
    const auto day = [](const QDate &d) { return d.isValid() ? d.toString(QStringLiteral("dd.MM.yyyy")) : QString(); };
    for (const QString &line : {person->Name, person->LatinName, day(person->Born), person->Citizenship,
                                person->DocumentNumber, person->DocumentSeries, person->IssuedBy, day(person->ValidTo),
                                person->PersonalNumber, person->Address, person->Phone, person->Email, person->Note})
        if (!line.isEmpty())
            out.append(QStringLiteral("  ") + line);
    const auto section = [&](const QString &title, const QString &sql) {
        out += {QString(), title};
        TRows rows(connection, sql, {{"iGuest", guest}, {"iGuest2", guest}});
        while (rows.Next()) {
            QStringList cells;
            for (int column = 0; column < 6; ++column) {
                const ::TField field = rows.Field(column);
                cells.append(field.Value().metaType().id() == QMetaType::QDateTime ? day(field.AsDate()) : rows.Text(column));
            }
            out.append(QStringLiteral("  ") + cells.join(QStringLiteral(" | ")));
        }
    };
    const QString bookings = QStringLiteral("(SELECT k.q124 FROM GostiPrestoi p INNER JOIN Klients k ON (k.q123 = p.q123) "
                                            "WHERE p.q252 = :iGuest UNION SELECT q124 FROM Rezervacii WHERE q252 = :iGuest2)");
    section(msgExportStays, QStringLiteral("SELECT k.q124, r.q44, k.q34, k.q35, k.q27, k.q125 FROM GostiPrestoi p INNER JOIN "
                                           "Klients k ON (k.q123 = p.q123) LEFT JOIN Rooms r ON (r.q47 = k.q47) WHERE "
                                           "p.q252 = :iGuest ORDER BY k.q34"));
    section(msgExportCharges, QStringLiteral("SELECT q124, q33, q39, q71, q27, q29 FROM Klients WHERE q47 IS NULL AND q124 IN ") +
                                  bookings + QStringLiteral(" ORDER BY q39"));
    section(msgExportPayments, QStringLiteral("SELECT q124, q136, q140, q141, q142, q137 FROM Plashtania WHERE q124 IN ") +
                                   bookings + QStringLiteral(" ORDER BY q136"));
    section(msgExportDocuments, QStringLiteral("SELECT q124, q184, q185, q188, q208, q213 FROM Fakturi WHERE q124 IN ") +
                                    bookings + QStringLiteral(" ORDER BY q185"));
    FrontDesk::WriteLog(connection, QStringLiteral("guest"), guest, QVariant(), msgLogGuestExported.arg(person->Name));
    transaction.Commit();
    return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace Guests
