#pragma once
// The shared server for several workstations: PostgreSQL through Qt's QPSQL driver. Tables and
// columns are lower-case names that any letter case finds; texts compare as the original
// server compared them (case-insensitive, accent-sensitive, through an ICU collation); the
// program's statements, written in the original server's dialect, are translated here alone.

#include "UDbEngine.h"

class TPostgresEngine : public TDbEngine
{
public:
    QString Name() const override { return QStringLiteral("PostgreSQL"); }
    // Every transaction waits a few seconds for a row another workstation holds, then says so:
    // set within it, in the same round trip, since a pooler in transaction mode gives each
    // transaction whichever server session is free.
    void BeginTransaction(QSqlDatabase &db, bool write) const override;
    QString ScriptFolder() const override { return QStringLiteral("postgresql"); }
    QSqlDatabase Open(const QString &qtName, const TConnectionItems &items, const QString &database) override;

    // "host", "host:port", or a host with its port as the instance; a folder names a local socket.
    static void HostAndPort(const QString &dataSource, QString &host, int &port);
    static bool IsLocalHost(const QString &host);
    // The mode a connection uses: the one chosen, else verify-full for another machine and
    // prefer for this one (its loopback address or socket).
    static QString EffectiveSslMode(const QString &host, const QString &mode);
    // The driver's options of a connection: its time-out and how it is encrypted.
    static QString ConnectOptions(const QString &host, const QString &mode, const QString &rootCert);
    // The server's maintenance database stands for "master" and "tempdb".
    static QString DatabaseOnServer(const QString &database);

    QString QuoteIdentifier(const QString &identifier) const override;
    QString TranslateStatement(const QString &sql) const override;
    QVariant BindValue(const QVariant &value) const override;

    static QString CreateTableStatement(const TTableDef &table, bool temporary = false, const QString &name = QString());
    QString CreateTableBatch(const QString &database, const TTableDef &table, int position) const override;
    QString StagingTableStatement(const QString &tableName) const override;
    QString StagingTableName(const QString &counterName) const override;
    void DropStagingTable(TADOConnection &connection, const QString &tableName) const override;
    void DropStaleStagingTables(TADOConnection &connection) const override;
    // A staging table no window has used for this many days is taken for a crashed run's.
    static constexpr int StagingTableDays = 7;
    QString TableExistsStatement(const QString &database) const override;
    void PrepareDatabaseReference(TADOConnection &connection, const QString &database) const override;
    bool ReachesOtherDatabases() const override { return false; }
    void EnsureIndexes(TADOConnection &connection) const override;

    void CreateDatabase(TADOConnection &connection, const QString &name) const override;
    bool CanAttachFiles() const override { return false; }
    void AttachDatabase(TADOConnection &connection, const QString &name, const QString &path) const override;
    void InstallProcedure(TADOConnection &connection, const QString &script) const override;
    QStringList ProcedureParameters(TADOConnection &connection, const QString &procedure) const override;
    void DropProcedure(TADOConnection &connection, const QString &procedure) const override;
    QStringList TableColumns(TADOConnection &connection, const QString &table) const override;
    void AddColumns(TADOConnection &connection, const TTableDef &table, const QList<TColumnDef> &missing) const override;
    void InsertWithIdentity(TADOConnection &connection, const QString &table, const QString &sql) const override;
    void LockSchema(TADOConnection &connection) const override;
    void LockName(TADOConnection &connection, const QString &name) const override;
    QString ShareLockSuffix() const override { return QStringLiteral(" FOR SHARE"); }
    TRowSet CallProcedure(TADOConnection &connection, const QString &procedure,
                          const QList<TParameter> &parameters) const override;
    void LockKeys(TADOConnection &connection, const QString &table, const QString &keyColumn,
                  const QList<int> &keys) const override;

    // The collation every text column takes: case-insensitive, accent-sensitive, all scripts.
    static const QString &Collation();

private:
    QString m_database;
};
