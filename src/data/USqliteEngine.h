#pragma once
// The embedded engine: a server is a folder, its catalogue "master.sqlite" lists the databases
// (one file each), and stored procedures are named batches kept in each database.

#include "UDbEngine.h"
#include "USqliteProcedure.h"

#include <functional>

class TSqliteEngine : public TDbEngine
{
public:
    QString Name() const override { return QStringLiteral("SQLite"); }
    QString ScriptFolder() const override { return QStringLiteral("sqlite"); }
    QSqlDatabase Open(const QString &qtName, const TConnectionItems &items, const QString &database) override;

    // The folder a "Data Source" names: the local names mean "Databases" in the data folder.
    static QString ServerFolder(const QString &dataSource, bool *isLocal = nullptr);
    static bool IsCatalogue(const QString &database);

    void BeginTransaction(QSqlDatabase &db, bool write) const override;
    QString QuoteIdentifier(const QString &identifier) const override;
    QString TranslateStatement(const QString &sql) const override;
    QVariant BindValue(const QVariant &value) const override;

    static QString CreateTableStatement(const TTableDef &table, bool temporary = false,
                                        const QString &name = QString());
    QString CreateTableBatch(const QString &database, const TTableDef &table, int position) const override;
    QString StagingTableStatement(const QString &tableName) const override;
    void EnsureIndexes(TADOConnection &connection) const override;
    QString TableExistsStatement(const QString &database) const override;
    void PrepareDatabaseReference(TADOConnection &connection, const QString &database) const override;

    void CheckNewDatabaseName(const QString &name) const override;
    void CreateDatabase(TADOConnection &connection, const QString &name) const override;
    void AttachDatabase(TADOConnection &connection, const QString &name, const QString &path) const override;
    // The catalogue forgets a name; its file stays where it is.
    void ForgetDatabase(const QString &name) const;
    void InstallProcedure(TADOConnection &connection, const QString &script) const override;
    QStringList ProcedureParameters(TADOConnection &connection, const QString &procedure) const override;
    void DropProcedure(TADOConnection &connection, const QString &procedure) const override;
    QStringList TableColumns(TADOConnection &connection, const QString &table) const override;
    void AddColumns(TADOConnection &connection, const TTableDef &table, const QList<TColumnDef> &missing) const override;
    void InsertWithIdentity(TADOConnection &connection, const QString &table, const QString &sql) const override;
    TRowSet CallProcedure(TADOConnection &connection, const QString &procedure,
                          const QList<TParameter> &parameters) const override;

    // Replaces the built-in NOCASE comparison and LIKE by Unicode-aware ones on a connection.
    static void InstallUnicodeNoCase(QSqlDatabase &db);
    // How long a workstation waits for a file that another one is writing (5 seconds).
    static void SetBusyTimeout(int milliseconds);
    static int BusyTimeout();

private:
    TSqliteProcedure LoadProcedure(TADOConnection &connection, const QString &name) const;
    // The database file a logical name stands for, from the catalogue; empty when unknown.
    QString DatabaseFile(const QString &name) const;
    void WithCatalogue(const std::function<void(QSqlDatabase &)> &work) const;

    QString m_folder;
    QString m_database;
};
