#include "USchemaUpgrade.h"

#include "UAdoDb.h"
#include "UDbEngine.h"
#include "UDbSchema.h"
#include "startup/USystemWinOS.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

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

// Version 2, the front desk: the stays' keys, bookings, statuses, room states, payments, the
// log and the tourist-tax rates. Stays of the first version are reserved, each its own booking
// numbered by the stay's key; rooms are clean.
void Step2(TADOConnection &connection)
{
    AddMissingTablesAndColumns(connection);
    connection.Execute(QStringLiteral("UPDATE Klients SET q125 = 0 WHERE q125 IS NULL"));
    connection.Engine().InsertWithIdentity(
        connection, QStringLiteral("Rezervacii"),
        QStringLiteral("INSERT INTO Rezervacii (q124, q1, q29, q28, q31, q57, q136) "
                       "SELECT q123, q1, q29, q28, q31, q57, q39 FROM Klients WHERE q124 IS NULL"));
    connection.Execute(QStringLiteral("UPDATE Klients SET q124 = q123 WHERE q124 IS NULL"));
    connection.Execute(QStringLiteral("UPDATE Rooms SET q129 = 0 WHERE q129 IS NULL"));
    ReinstallProcedure(connection, QStringLiteral("proc_CopyAllTablesValues"));
}

// Version 3, logins: operators that can be deactivated or asked for a new password, and the
// shared count of failed logins. Operators of earlier versions stay active; their plain
// passwords are replaced by hashes at their next login.
void Step3(TADOConnection &connection) { AddMissingTablesAndColumns(connection); }

// Version 4: a moved stay's new part names the stay it continues (for moves made before, the
// part of the same booking that ends on its first day in another room and whose row it was
// copied from: same entry time and price), and the stays' status index (the upgrade makes every
// missing index after its steps).
void Step4(TADOConnection &connection)
{
    AddMissingTablesAndColumns(connection);
    connection.Execute(QStringLiteral(
        "UPDATE Klients SET q155 = (SELECT MIN(p.q123) FROM Klients p WHERE p.q124 = Klients.q124 AND "
        "p.q35 = Klients.q34 AND p.q123 <> Klients.q123 AND p.q47 IS NOT NULL AND p.q47 <> Klients.q47 AND "
        "p.q39 = Klients.q39 AND p.q70 = Klients.q70) "
        "WHERE q32 = 1 AND q155 IS NULL AND q47 IS NOT NULL AND q124 IS NOT NULL"));
}

struct TStep {
    int Version;
    void (*Run)(TADOConnection &);
};

const TStep kSteps[] = {{2, &Step2}, {3, &Step3}, {4, &Step4}};

} // namespace

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

void SchemaUpgrade::ApplySteps(TADOConnection &connection)
{
    const int stored = StoredVersion(connection);
    if (stored > SchemaVersion)
        throw EDatabaseError(QStringLiteral("The database is of version %1; this program knows version %2 at most.")
                                 .arg(stored)
                                 .arg(SchemaVersion));
    if (stored == SchemaVersion)
        return;
    for (const TStep &step : kSteps)
        if (step.Version > stored)
            step.Run(connection);
    connection.Engine().EnsureIndexes(connection);
    connection.Execute(QStringLiteral("DELETE FROM VersiaBaza"));
    connection.Execute(QStringLiteral("INSERT INTO VersiaBaza (q150) VALUES (?)"), {SchemaVersion});
}

void SchemaUpgrade::BringUpToDate(TADOConnection &connection)
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
    ApplySteps(connection);
    transaction.Commit();
}
