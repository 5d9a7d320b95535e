#include "USchemaUpgrade.h"

#include "UAdoDb.h"
#include "UDbEngine.h"
#include "UDbSchema.h"
#include "UGuestSearch.h"
#include "desk/UEuro.h"
#include "desk/URatePlans.h"
#include "desk/URights.h"
#include "desk/UVat.h"
#include "startup/UConstMessagesReports.h"
#include "startup/UConstMessagesStay.h"
#include "startup/USystemWinOS.h"

#include <QCoreApplication>
#include <QDir>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

namespace {

// The procedures whose text a step changed, installed again where a database has them.
void ReinstallProcedure(TADOConnection &connection, const QString &procedure)
{
    TDbEngine &engine = connection.Engine();
    try {
        engine.ProcedureParameters(connection, procedure);
    } catch (const EDatabaseError &) {
        return;  // not installed: "Добави процедура" will install the new text
    }
    const QString file = SchemaUpgrade::ScriptsFolder() + engine.ScriptFolder() + QLatin1Char('/') + procedure +
                         QStringLiteral(".sql");
    QFile text(file);
    if (!text.open(QIODevice::ReadOnly))
        throw EDatabaseError(QStringLiteral("The procedure script %1 cannot be read.").arg(file));
    const QString script = QString::fromUtf8(text.readAll());
    engine.DropProcedure(connection, procedure);
    engine.InstallProcedure(connection, script);
}

// Every table and column of the schema, added where missing, rows kept.
void AddMissingTablesAndColumns(TADOConnection &connection)
{
    TDbEngine &engine = connection.Engine();
    const QList<TTableDef> &tables = DbSchema::Tables();
    for (int i = 0; i < tables.size(); ++i) {
        const TTableDef &table = tables.at(i);
        const QStringList existing = engine.TableColumns(connection, table.Name);
        if (existing.isEmpty()) {
            connection.Execute(engine.CreateTableBatch(connection.DatabaseName(), table, i));
            continue;
        }
        QList<TColumnDef> missing;
        for (const TColumnDef &column : table.Columns)
            if (!existing.contains(column.Name, Qt::CaseInsensitive))
                missing.append(column);
        if (!missing.isEmpty())
            engine.AddColumns(connection, table, missing);
    }
}

// The rows one save of the first version's reservation window wrote: the same guest (name and
// personal number), in a run of consecutive keys or with the same entry time.
struct TOldRow {
    int Key = 0;
    QString Guest, PersonalNumber;
    QVariant Entered;
};

bool sameSave(const TOldRow &previous, const TOldRow &row)
{
    return previous.Guest == row.Guest && previous.PersonalNumber == row.PersonalNumber &&
           (row.Key == previous.Key + 1 || (!row.Entered.isNull() && row.Entered == previous.Entered));
}

// Each save's rows become one booking, numbered by its first row's key, so that a guest's
// services sit in the folio of their stay.
void groupOldRowsIntoBookings(TADOConnection &connection)
{
    QList<TOldRow> rows;
    {
        TADOQuery query(&connection);
        query.SetSQLText(QStringLiteral("SELECT q123, q29, q28, q39 FROM Klients WHERE q124 IS NULL ORDER BY q123"));
        query.Open();
        for (query.First(); !query.Eof(); query.Next())
            rows.append({query.FieldByName(QStringLiteral("q123")).AsInteger(),
                         query.FieldByName(QStringLiteral("q29")).AsString().trimmed(),
                         query.FieldByName(QStringLiteral("q28")).AsString().trimmed(),
                         query.FieldByName(QStringLiteral("q39")).Value()});
    }
    for (int first = 0; first < rows.size();) {
        int last = first;
        while (last + 1 < rows.size() && sameSave(rows.at(last), rows.at(last + 1)))
            ++last;
        connection.Execute(QStringLiteral("UPDATE Klients SET q124 = ? WHERE q123 BETWEEN ? AND ? AND q124 IS NULL"),
                           {rows.at(first).Key, rows.at(first).Key, rows.at(last).Key});
        first = last + 1;
    }
    connection.Engine().InsertWithIdentity(
        connection, QStringLiteral("Rezervacii"),
        QStringLiteral("INSERT INTO Rezervacii (q124, q1, q29, q28, q31, q57, q136) "
                       "SELECT q123, q1, q29, q28, q31, q57, q39 FROM Klients WHERE q124 = q123"));
}

// Version 2, the front desk: the stays' keys, bookings, statuses, room states, payments, the
// log and the tourist-tax rates. A stay of the first version whose nights are all past has
// left (in and out on its dates), one that holds tonight is in house (since its first day),
// a later one is reserved; charges are reserved rows. Rooms are clean.
void Step2(TADOConnection &connection)
{
    AddMissingTablesAndColumns(connection);
    const QDate today = QDate::currentDate();
    connection.Execute(QStringLiteral("UPDATE Klients SET q125 = 2, q126 = q34, q127 = q35 WHERE q125 IS NULL AND "
                                      "q47 IS NOT NULL AND q35 <= ?"),
                       {today});
    connection.Execute(QStringLiteral("UPDATE Klients SET q125 = 1, q126 = q34 WHERE q125 IS NULL AND q47 IS NOT NULL "
                                      "AND q34 <= ? AND q35 > ?"),
                       {today, today});
    connection.Execute(QStringLiteral("UPDATE Klients SET q125 = 0 WHERE q125 IS NULL"));
    groupOldRowsIntoBookings(connection);
    connection.Execute(QStringLiteral("UPDATE Rooms SET q129 = 0 WHERE q129 IS NULL"));
    ReinstallProcedure(connection, QStringLiteral("proc_CopyAllTablesValues"));
}

// Version 3, logins: operators that can be deactivated or asked for a new password, and the
// shared count of failed logins. Operators of earlier versions stay active; their plain
// passwords are replaced by hashes at their next login.
void Step3(TADOConnection &connection) { AddMissingTablesAndColumns(connection); }

// Tourist-tax rows of earlier versions were one row per stay and rate at check-out: they learn
// the nights they cover (the nights before the check-out day) and, where it is plain, their stay.
void linkOldTaxRows(TADOConnection &connection)
{
    QVariantList names;
    for (const TCatalogueEntry &entry : ReportCatalogueEntries())
        if (QLatin1String(entry.Name) == QLatin1String("msgTouristTax"))
            names = {QString::fromUtf8(entry.English), QString::fromUtf8(entry.Bulgarian), QString::fromUtf8(entry.Russian)};
    struct TRow {
        int Key, Booking, Nights;
        QDate Day;
    };
    QList<TRow> rows;
    {
        TADOQuery query(&connection);
        query.SetSQLText(QStringLiteral("SELECT q123, q124, q71, q39 FROM Klients WHERE q47 IS NULL AND q160 IS NULL AND "
                                        "q34 IS NULL AND q33 IN (:sName1, :sName2, :sName3)"));
        query.ParamByName(QStringLiteral("sName1")).Value = names.value(0);
        query.ParamByName(QStringLiteral("sName2")).Value = names.value(1);
        query.ParamByName(QStringLiteral("sName3")).Value = names.value(2);
        query.Open();
        for (query.First(); !query.Eof(); query.Next())
            rows.append({query.FieldByName(QStringLiteral("q123")).AsInteger(), query.FieldByName(QStringLiteral("q124")).AsInteger(),
                         qRound(query.FieldByName(QStringLiteral("q71")).AsFloat()),
                         query.FieldByName(QStringLiteral("q39")).AsDateTime().date()});
    }
    for (const TRow &row : rows) {
        const QVariant stay = connection.Column(QStringLiteral("SELECT MIN(q123) FROM Klients WHERE q124 = ? AND "
                                                               "q47 IS NOT NULL AND q35 = ?"),
                                                {row.Booking, row.Day})
                                  .value(0);
        connection.Execute(QStringLiteral("UPDATE Klients SET q34 = ?, q35 = ?, q160 = ? WHERE q123 = ?"),
                           {row.Day.addDays(-row.Nights), row.Day, stay.isNull() ? QVariant(0) : stay, row.Key});
    }
}

// Version 4: a moved stay's new part names the stay it continues (for moves made before, the
// part of the same booking that ends on its first day in another room and whose row it was
// copied from: same entry time and price); closures become rows of their own, the room's state
// keeping its cleanliness only (a closed room was clean when it closed); and the stays' status
// index (the upgrade makes every missing index after its steps).
void Step4(TADOConnection &connection)
{
    AddMissingTablesAndColumns(connection);
    connection.Execute(QStringLiteral("INSERT INTO Zatvoreni (q47, q157, q158, q159, q130, q136) "
                                      "SELECT q47, q131, q132, q129, q130, ? FROM Rooms WHERE q129 IN (3, 4)"),
                       {QDateTime::currentDateTime()});
    connection.Execute(QStringLiteral("UPDATE Rooms SET q129 = 0 WHERE q129 IN (3, 4)"));
    linkOldTaxRows(connection);
    connection.Execute(QStringLiteral(
        "UPDATE Klients SET q155 = (SELECT MIN(p.q123) FROM Klients p WHERE p.q124 = Klients.q124 AND "
        "p.q35 = Klients.q34 AND p.q123 <> Klients.q123 AND p.q47 IS NOT NULL AND p.q47 <> Klients.q47 AND "
        "p.q39 = Klients.q39 AND p.q70 = Klients.q70) "
        "WHERE q32 = 1 AND q155 IS NULL AND q47 IS NOT NULL AND q124 IS NOT NULL"));
}

// Version 5: the words of the bookings' names, for the search; the index of the stays by day
// gives way to one that holds every column the board's refresh reads (made after the steps).
void Step5(TADOConnection &connection, const std::function<void(int)> &within)
{
    AddMissingTablesAndColumns(connection);
    GuestSearch::IndexAllNames(connection, [&within](int done, int total) {
        within(total > 0 ? int(qint64(done) * 100 / total) : 100);
        return true;
    });
    connection.Execute(connection.Engine().DropIndexStatement(QStringLiteral("Klients"), QStringLiteral("IX_Klients_Stay")));
}

// Version 6: VAT and the euro. The law's VAT rates in their register; rooms, and the services
// that are room types, carry accommodation's rate, every other service the standard one. A
// database without currencies (a new one) works in euro, the lev kept at its fixed rate.
void Step6(TADOConnection &connection)
{
    AddMissingTablesAndColumns(connection);
    if (connection.Column(QStringLiteral("SELECT COUNT(*) FROM DDSStavki")).value(0).toInt() == 0)
        for (const Vat::TLawRate &rate : Vat::LawRates())
            connection.Execute(QStringLiteral("INSERT INTO DDSStavki (q164, q165, q168, q169) VALUES (?, ?, ?, ?)"),
                               {rate.Code, Vat::PercentOf(rate.BasisPoints).ToVariant(), rate.FiscalGroup, rate.Basis});
    SchemaUpgrade::AssignVatRates(connection);
    if (connection.Column(QStringLiteral("SELECT COUNT(*) FROM Valuta")).value(0).toInt() == 0) {
        connection.Execute(QStringLiteral("INSERT INTO Valuta (q56, q86) VALUES (?, ?)"), {Euro::Code(), true});
        const int lev = connection.InsertReturningIdentity(QStringLiteral("Valuta"), {QStringLiteral("q56"), QStringLiteral("q86")},
                                                           QStringLiteral("VALUES (?, ?)"), {Euro::LevCode(), false});
        connection.Execute(QStringLiteral("INSERT INTO KursValuta (q57, q58, q85) VALUES (?, ?, ?)"),
                           {lev, Euro::Since(), Euro::LevsPerEuro().ToVariant()});
    }
}

// Version 7: the hotel's company as the seller of its documents; how a document is paid,
// whether it bills an advance, and its parties as issued; the advance a line of a final
// invoice deducts; fiscal receipts. Documents of version 6 keep their parties from the registers. A database
// without a series of document numbers gets one for every hotel, from the first number.
void Step7(TADOConnection &connection)
{
    AddMissingTablesAndColumns(connection);
    connection.Execute(QStringLiteral(
        "UPDATE Fakturi SET q208 = (SELECT b.q176 FROM Kupuvachi b WHERE b.q175 = Fakturi.q175), q209 = (SELECT b.q177 "
        "FROM Kupuvachi b WHERE b.q175 = Fakturi.q175), q210 = (SELECT b.q178 FROM Kupuvachi b WHERE b.q175 = "
        "Fakturi.q175), q211 = (SELECT b.q179 FROM Kupuvachi b WHERE b.q175 = Fakturi.q175), q212 = (SELECT b.q180 FROM "
        "Kupuvachi b WHERE b.q175 = Fakturi.q175), q213 = (SELECT b.q28 FROM Kupuvachi b WHERE b.q175 = Fakturi.q175) "
        "WHERE q208 IS NULL"));
    if (connection.Column(QStringLiteral("SELECT COUNT(*) FROM FakturiSerii")).value(0).toInt() == 0)
        connection.Execute(QStringLiteral("INSERT INTO FakturiSerii (q1, q172, q173, q174) VALUES (NULL, ?, ?, ?)"),
                           {QStringLiteral("Основна"), QStringLiteral("0000000001"), QStringLiteral("0000000001")});
}

// Version 8: the business day, closed days and the hotels' rules of the close. The business
// day starts as the calendar's today; nothing already written is reclassified.
void Step8(TADOConnection &connection)
{
    AddMissingTablesAndColumns(connection);
    if (connection.Column(QStringLiteral("SELECT COUNT(*) FROM RabotenDen")).value(0).toInt() == 0)
        connection.Execute(QStringLiteral("INSERT INTO RabotenDen (q233) VALUES (?)"),
                           {QDateTime(QDate::currentDate(), QTime(0, 0))});
}

// Version 9: the register of guests.
void Step9(TADOConnection &connection) { AddMissingTablesAndColumns(connection); }

// Privilege strings one position short of the new right gain it, granted to whoever holds the
// right it is like.
void addRightLike(TADOConnection &connection, int position, int like)
{
    QList<std::pair<QVariant, QString>> operators;
    QSqlQuery rows(connection.Database());
    if (!rows.exec(QStringLiteral("SELECT q80, q77 FROM Operators")))
        RaiseDatabaseError(rows.lastError());
    while (rows.next())
        operators.append({rows.value(0), rows.value(1).toString().trimmed()});
    for (const auto &[key, privileges] : operators) {
        if (privileges.size() != position - 1)
            continue;
        const bool granted = privileges.at(like - 1) == QLatin1Char('1');
        connection.Execute(QStringLiteral("UPDATE Operators SET q77 = ? WHERE q80 = ?"),
                           {privileges + (granted ? QLatin1Char('1') : QLatin1Char('0')), key});
    }
}

// Version 10: the guests of each stay, the words of guests' names, the tourism register's
// exports, the hotel's identifier there and how long guests' data are kept. Existing stays keep
// their one guest. The privilege string gains a position, the right to see guests' documents:
// given to whoever could keep the registers, who saw the documents before.
void Step10(TADOConnection &connection)
{
    AddMissingTablesAndColumns(connection);
    addRightLike(connection, Rights::rGuestDocuments, Rights::rRegisters);
    GuestSearch::IndexAllGuests(connection);
}

// Version 11: rate plans, their seasons, prices, restrictions, the hotels' children's bands and
// each night of a stay priced by a plan. Existing stays keep their one price (no night rows).
// Rooms get a type, one for each number of beds; the right to book against a plan's
// restrictions goes to whoever keeps the prices.
void Step11(TADOConnection &connection)
{
    AddMissingTablesAndColumns(connection);
    for (const QVariant &beds : connection.Column(QStringLiteral("SELECT DISTINCT q79 FROM Rooms WHERE q275 IS NULL")))
        connection.Execute(QStringLiteral("UPDATE Rooms SET q275 = ? WHERE q275 IS NULL AND q79 = ?"),
                           {RatePlans::RoomTypeOfBeds(beds.toInt()), beds});
    connection.Execute(QStringLiteral("UPDATE Rooms SET q275 = ? WHERE q275 IS NULL"), {RatePlans::RoomTypeOfBeds(0)});
    addRightLike(connection, Rights::rOverrideRestrictions, Rights::rPrices);
}

struct TStep {
    int Version;
    std::function<void(TADOConnection &, const std::function<void(int)> &within)> Run;
};

// A step that says nothing of its own progress.
template <void (*Step)(TADOConnection &)>
void whole(TADOConnection &connection, const std::function<void(int)> &) { Step(connection); }

const TStep kSteps[] = {{2, &whole<&Step2>}, {3, &whole<&Step3>}, {4, &whole<&Step4>}, {5, &Step5}, {6, &whole<&Step6>}, {7, &whole<&Step7>}, {8, &whole<&Step8>}, {9, &whole<&Step9>}, {10, &whole<&Step10>}, {11, &whole<&Step11>}};

// About how long the steps take for each stay of the database (measured on a million).
constexpr double kSecondsPerStay = 20e-6;

} // namespace

void SchemaUpgrade::AssignVatRates(TADOConnection &connection)
{
    auto rateKey = [&connection](const QString &code) {
        return connection.Column(QStringLiteral("SELECT MIN(q163) FROM DDSStavki WHERE q164 = ?"), {code}).value(0);
    };
    const QVariant standard = rateKey(Vat::StandardCode()), accommodation = rateKey(Vat::AccommodationCode());
    connection.Execute(QStringLiteral("UPDATE Uslugi SET q170 = ? WHERE q170 IS NULL AND q42 IN "
                                      "(SELECT q42 FROM Rooms WHERE q42 IS NOT NULL)"),
                       {accommodation});
    connection.Execute(QStringLiteral("UPDATE Uslugi SET q170 = ? WHERE q170 IS NULL"), {standard});
    connection.Execute(QStringLiteral("UPDATE Rooms SET q170 = ? WHERE q170 IS NULL"), {accommodation});
}

QString SchemaUpgrade::ScriptsFolder()
{
    // Where the program was told it lives, else beside its own file, else where it is installed.
    const QString told = TSystemWinOS::DeliveredFolder() + QStringLiteral("sql/");
    if (QDir(told).exists())
        return told;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/dist/sql/");
}

int SchemaUpgrade::StoredVersion(TADOConnection &connection)
{
    if (connection.Engine().TableColumns(connection, QStringLiteral("VersiaBaza")).isEmpty())
        return 1;
    TADOQuery query(&connection);
    query.SetSQLText(QStringLiteral("SELECT MAX(q150) AS v FROM VersiaBaza"));
    query.Open();
    const TField version = query.FieldByName(QStringLiteral("v"));
    return version.IsNull() ? 1 : version.AsInteger();
}

SchemaUpgrade::TPlan SchemaUpgrade::Plan(TADOConnection &connection)
{
    TPlan plan;
    plan.From = StoredVersion(connection);
    if (plan.From >= SchemaVersion)
        return plan;
    plan.Stays = connection.Column(QStringLiteral("SELECT COUNT(*) FROM Klients")).value(0).toLongLong();
    plan.Seconds = int(double(plan.Stays) * kSecondsPerStay) + 1;
    return plan;
}

void SchemaUpgrade::ApplySteps(TADOConnection &connection, const TProgress &progress)
{
    const int stored = StoredVersion(connection);
    if (stored > SchemaVersion)
        throw EDatabaseError(QStringLiteral("The database is of version %1; this program knows version %2 at most.")
                                 .arg(stored)
                                 .arg(SchemaVersion));
    if (stored == SchemaVersion)
        return;
    // Each step its share of the way, the indexes the last one.
    int count = 1, done = 0;
    for (const TStep &step : kSteps)
        count += step.Version > stored ? 1 : 0;
    auto tell = [&](const QString &text, int within) {
        if (progress)
            progress(text, (done * 100 + within) / count);
    };
    for (const TStep &step : kSteps) {
        if (step.Version <= stored)
            continue;
        const QString text = msgUpgradeStep.arg(step.Version).arg(done + 1).arg(count);
        tell(text, 0);
        step.Run(connection, [&](int within) { tell(text, within); });
        ++done;
    }
    tell(msgUpgradeIndexes.arg(count), 0);
    connection.Engine().EnsureIndexes(connection);
    connection.Execute(QStringLiteral("DELETE FROM VersiaBaza"));
    connection.Execute(QStringLiteral("INSERT INTO VersiaBaza (q150) VALUES (?)"), {SchemaVersion});
    tell(msgUpgradeIndexes.arg(count), 100);
}

void SchemaUpgrade::BringUpToDate(TADOConnection &connection, const TProgress &progress)
{
    {
        TTransaction look(connection);
        const int stored = StoredVersion(connection);
        look.Commit();
        if (stored == SchemaVersion)
            return;
    }
    TTransaction transaction(connection, true);
    // Another workstation may have done it meanwhile: the version is read again under the lock.
    connection.Engine().LockSchema(connection);
    ApplySteps(connection, progress);
    transaction.Commit();
}
