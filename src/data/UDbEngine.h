#pragma once
// What differs between database servers: opening, quoting, value binding and the statements
// whose text is the server's own. One engine per connection, chosen by the "Provider" item.

#include "UAdoDb.h"
#include "UDbSchema.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

// Statements the engines run on a connection of their own kind; both raise EDatabaseError.
namespace DbStatement {
// Values are bound by position; a statement without values runs unprepared, as some servers
// will not prepare a statement that has no parameters.
void Exec(QSqlDatabase db, const QString &sql, const QVariantList &values = {});
// One column of every row, as texts.
QStringList Column(QSqlDatabase db, const QString &sql, const QVariantList &values = {}, int column = 0);
} // namespace DbStatement

class TDbEngine
{
public:
    virtual ~TDbEngine() = default;

    // The engine for a provider name; raises EDatabaseError for one no engine serves.
    static std::unique_ptr<TDbEngine> ForProvider(const QString &provider);

    virtual QString Name() const = 0;
    // The folder of dist/sql that holds this engine's procedure scripts.
    virtual QString ScriptFolder() const = 0;
    // Opens a Qt connection named qtName on the database; raises EDatabaseError.
    virtual QSqlDatabase Open(const QString &qtName, const TConnectionItems &items, const QString &database) = 0;

    // Begins a transaction; one that will write takes the engine's write lock at once.
    virtual void BeginTransaction(QSqlDatabase &db, bool write) const;

    virtual QString QuoteIdentifier(const QString &identifier) const = 0;
    // The program's statements are written in the server's dialect; an engine may adapt them.
    virtual QString TranslateStatement(const QString &sql) const { return sql; }
    // The first rows of an ordered SELECT.
    virtual QString FirstRows(const QString &orderedSelect, int rows) const
    {
        return orderedSelect + QStringLiteral(" LIMIT ") + QString::number(rows);
    }
    // A bound value in the form the server stores; dates never travel as locale text.
    virtual QVariant BindValue(const QVariant &value) const = 0;

    // One batch that creates a table unless one of that name exists, run on the new database.
    virtual QString CreateTableBatch(const QString &database, const TTableDef &table, int position) const = 0;
    // Drops an index of a table where there is one.
    virtual QString DropIndexStatement(const QString &table, const QString &index) const
    {
        Q_UNUSED(table);
        return QStringLiteral("DROP INDEX IF EXISTS ") + QuoteIdentifier(index);
    }
    // Creates the indexes the program's statements need where they are missing.
    virtual void EnsureIndexes(TADOConnection &connection) const = 0;
    // An empty copy of Klients for a reservation window's staging rows.
    virtual QString StagingTableStatement(const QString &tableName) const = 0;
    // The name on the server of the staging table the counter names. An engine whose staging
    // tables are tables of the database makes it this run's own.
    virtual QString StagingTableName(const QString &counterName) const { return counterName; }
    // Drops the staging table of a window that closed, where it would outlive the connection.
    virtual void DropStagingTable(TADOConnection &, const QString &) const {}
    // Drops the staging tables of runs that ended without closing their windows.
    virtual void DropStaleStagingTables(TADOConnection &) const {}
    // Gives one row whose column "column1" says "TRUE" or "FALSE" for the parameter sTableName.
    virtual QString TableExistsStatement(const QString &database) const = 0;
    // Makes the database reachable by the statement above from the current connection; an
    // engine whose databases cannot see each other moves the connection instead.
    virtual void PrepareDatabaseReference(TADOConnection &, const QString &) const {}
    virtual bool ReachesOtherDatabases() const { return true; }

    // Refuses a new database name the server could not hold, with a clear message.
    virtual void CheckNewDatabaseName(const QString &) const {}
    virtual void CreateDatabase(TADOConnection &connection, const QString &name) const = 0;
    virtual bool CanAttachFiles() const { return true; }
    virtual void AttachDatabase(TADOConnection &connection, const QString &name, const QString &path) const = 0;
    virtual void InstallProcedure(TADOConnection &connection, const QString &script) const = 0;
    virtual QStringList ProcedureParameters(TADOConnection &connection, const QString &procedure) const = 0;
    // Holds the rows of these rooms until the transaction ends, so that two workstations
    // saving the same room take turns; an engine whose write transaction locks all needs none.
    // Holds the rows of one of the program's tables whose integer key is one of the keys, in the
    // keys' order, until the transaction ends; the embedded engine's write transaction already
    // holds the whole file.
    virtual void LockKeys(TADOConnection &, const QString &, const QString &, const QList<int> &) const {}
    void LockRooms(TADOConnection &connection, const QList<int> &rooms) const
    {
        LockKeys(connection, QStringLiteral("Rooms"), QStringLiteral("q47"), rooms);
    }
    void LockBookings(TADOConnection &connection, const QList<int> &bookings) const
    {
        LockKeys(connection, QStringLiteral("Rezervacii"), QStringLiteral("q124"), bookings);
    }
    virtual void DropProcedure(TADOConnection &connection, const QString &procedure) const = 0;

    // An insert whose one result is the identity value of the row it adds; rows: "VALUES (...)"
    // or a SELECT.
    virtual QString ReturningInsert(const QString &into, const QString &rows, const QString &identity) const
    {
        return into + QLatin1Char(' ') + rows + QStringLiteral(" RETURNING ") + QuoteIdentifier(identity);
    }

    // Schema upgrades. The columns a table has, in order; none when there is no such table.
    virtual QStringList TableColumns(TADOConnection &connection, const QString &table) const = 0;
    // Adds the schema's columns that a table of an earlier version lacks, keeping every row.
    virtual void AddColumns(TADOConnection &connection, const TTableDef &table, const QList<TColumnDef> &missing) const = 0;
    // Runs an insert that gives the identity column its values; later rows continue after them.
    virtual void InsertWithIdentity(TADOConnection &connection, const QString &table, const QString &sql) const = 0;
    // Makes one workstation at a time change the schema, until the transaction ends.
    virtual void LockSchema(TADOConnection &) const {}
    // Holds a name (letter case aside) until the transaction ends; the embedded engine's write
    // transaction already holds the whole file.
    virtual void LockName(TADOConnection &, const QString &) const {}
    // Appended to a SELECT of one table: its rows are held against writers until the
    // transaction ends (an engine that locks whole files for a write needs nothing).
    virtual QString ShareLockSuffix() const { return QString(); }
    // Runs the procedure and gives its last result set, if any.
    virtual TRowSet CallProcedure(TADOConnection &connection, const QString &procedure,
                                  const QList<TParameter> &parameters) const = 0;
};


