#pragma once
// Microsoft SQL Server through ODBC (FreeTDS off Windows). The statement texts are the
// server's own, to the letter.

#include "UDbEngine.h"

class TMssqlEngine : public TDbEngine
{
public:
    QString Name() const override { return QStringLiteral("SQL Server"); }
    QString ScriptFolder() const override { return QStringLiteral("mssql"); }
    QSqlDatabase Open(const QString &qtName, const TConnectionItems &items, const QString &database) override;
    static QString OdbcConnectionString(const TConnectionItems &items, const QString &database);

    QString QuoteIdentifier(const QString &identifier) const override;
    QVariant BindValue(const QVariant &value) const override;
    QString TranslateStatement(const QString &sql) const override;
    QString DropIndexStatement(const QString &table, const QString &index) const override
    {
        return QStringLiteral("DROP INDEX IF EXISTS ") + QuoteIdentifier(index) + QStringLiteral(" ON ") + QuoteIdentifier(table);
    }
    QString FirstRows(const QString &orderedSelect, int rows) const override
    {
        return orderedSelect + QStringLiteral(" OFFSET 0 ROWS FETCH NEXT %1 ROWS ONLY").arg(rows);
    }

    static QString CreateTableStatement(const TTableDef &table);
    QString CreateTableBatch(const QString &database, const TTableDef &table, int position) const override;
    QString StagingTableStatement(const QString &tableName) const override;
    void EnsureIndexes(TADOConnection &connection) const override;
    static QString IndexStatement(const TIndexDef &index);
    QString TableExistsStatement(const QString &database) const override;
    QString CreateDatabaseStatement(const QString &name) const;
    static QString AttachStatement();

    void CreateDatabase(TADOConnection &connection, const QString &name) const override;
    void AttachDatabase(TADOConnection &connection, const QString &name, const QString &path) const override;
    void InstallProcedure(TADOConnection &connection, const QString &script) const override;
    QStringList ProcedureParameters(TADOConnection &connection, const QString &procedure) const override;
    QString ReturningInsert(const QString &into, const QString &rows, const QString &identity) const override;
    void DropProcedure(TADOConnection &connection, const QString &procedure) const override;
    QStringList TableColumns(TADOConnection &connection, const QString &table) const override;
    void AddColumns(TADOConnection &connection, const TTableDef &table, const QList<TColumnDef> &missing) const override;
    void InsertWithIdentity(TADOConnection &connection, const QString &table, const QString &sql) const override;
    void LockSchema(TADOConnection &connection) const override;
    static QString ProcedureCallStatement(const QString &procedure, int parameterCount);
    void LockKeys(TADOConnection &connection, const QString &table, const QString &keyColumn,
                  const QList<int> &keys) const override;
    TRowSet CallProcedure(TADOConnection &connection, const QString &procedure,
                          const QList<TParameter> &parameters) const override;
};
