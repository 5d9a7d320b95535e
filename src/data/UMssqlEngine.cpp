#include "UMssqlEngine.h"

#include "startup/USystemWinOS.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

[[noreturn]] void raise(const QSqlError &error) { RaiseDatabaseError(error); }

// An ODBC value in braces, so that ";" and "}" in a password cannot end it early.
QString braced(const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('}'), QStringLiteral("}}"));
    return QLatin1Char('{') + escaped + QLatin1Char('}');
}

QString columnDefinition(const TColumnDef &column)
{
    if (column.Nullability == TColumnNull::Identity)
        return QLatin1Char('[') + column.Name + QStringLiteral("] INT PRIMARY KEY IDENTITY (1,1)");
    QString text = QLatin1Char('[') + column.Name + QStringLiteral("] ") + column.Type;
    if (column.Nullability == TColumnNull::Null)
        text += QStringLiteral(" null");
    return text;
}

} // namespace

QString TMssqlEngine::OdbcConnectionString(const TConnectionItems &items, const QString &database)
{
    const QString driver = TSystemWinOS::IsWindows() ? QStringLiteral("SQL Server") : QStringLiteral("FreeTDS");
    QString text = QStringLiteral("DRIVER={") + driver + QStringLiteral("};SERVER=") +
                   braced(items.Value(QStringLiteral("Data Source"))) + QStringLiteral(";DATABASE=") + braced(database) +
                   QStringLiteral(";UID=") + braced(items.Value(QStringLiteral("User ID"))) + QStringLiteral(";PWD=") +
                   braced(items.Value(QStringLiteral("Password"))) + QLatin1Char(';');
    if (!TSystemWinOS::IsWindows())
        text += QStringLiteral("ClientCharset=UTF-8;");
    return text;
}

QSqlDatabase TMssqlEngine::Open(const QString &qtName, const TConnectionItems &items, const QString &database)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), qtName);
    db.setDatabaseName(OdbcConnectionString(items, database));
    if (!db.open()) {
        const QSqlError error = db.lastError();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(qtName);
        raise(error);
    }
    return db;
}

QString TMssqlEngine::QuoteIdentifier(const QString &identifier) const
{
    QString escaped = identifier;
    escaped.replace(QLatin1Char(']'), QStringLiteral("]]"));
    return QLatin1Char('[') + escaped + QLatin1Char(']');
}

QVariant TMssqlEngine::BindValue(const QVariant &value) const
{
    // Dates travel as text under "SET DATEFORMAT dmy", which the statements carry.
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    default:
        return value;
    }
}

QString TMssqlEngine::TranslateStatement(const QString &sql) const
{
    return QStringLiteral("SET DATEFORMAT dmy ") + sql;
}

QString TMssqlEngine::CreateTableStatement(const TTableDef &table)
{
    QString columns;
    for (const TColumnDef &column : table.Columns)
        columns += columnDefinition(column) + QStringLiteral(", ");
    // The server's own spacing of the first hotel column is kept as the system always sent it.
    if (table.Name == QLatin1String("HotelBuild"))
        columns.replace(0, 8, QStringLiteral("[q1]  INT"));
    return QStringLiteral(" IF NOT EXISTS( SELECT * FROM [dbo].[sysobjects]  WHERE NAME='") + table.Name +
           QStringLiteral("' AND TYPE='U') BEGIN CREATE TABLE [dbo].[") + table.Name + QStringLiteral("] (") +
           columns + QStringLiteral(" ) END ");
}

QString TMssqlEngine::CreateTableBatch(const QString &database, const TTableDef &table, int position) const
{
    const QString use = position == 0 ? QStringLiteral("USE ") : QStringLiteral("USE  ");
    return use + QuoteIdentifier(database) + QStringLiteral(" \r\n") + CreateTableStatement(table);
}

QString TMssqlEngine::StagingTableStatement(const QString &tableName) const
{
    QString escaped = tableName;
    escaped.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QStringLiteral("IF NOT EXISTS( SELECT * FROM [dbo].[sysobjects]  WHERE NAME = '") + escaped +
           QStringLiteral("' AND TYPE='U')") + QStringLiteral(" BEGIN ") + QStringLiteral("    SELECT * INTO ") +
           tableName + QStringLiteral(" from [dbo].[KLIENTS]  ") + QStringLiteral("    WHERE (1 > 2) ") +
           QStringLiteral(" END  ");
}

QString TMssqlEngine::IndexStatement(const TIndexDef &index)
{
    QStringList columns;
    for (const QString &column : index.Columns)
        columns.append(QLatin1Char('[') + column + QLatin1Char(']'));
    return QStringLiteral("IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = '") + index.Name +
           QStringLiteral("' AND object_id = OBJECT_ID('[dbo].[") + index.Table + QStringLiteral("]')) CREATE INDEX [") +
           index.Name + QStringLiteral("] ON [dbo].[") + index.Table + QStringLiteral("] (") +
           columns.join(QStringLiteral(", ")) + QStringLiteral(")");
}

void TMssqlEngine::EnsureIndexes(TADOConnection &connection) const
{
    for (const TIndexDef &index : DbSchema::Indexes()) {
        QSqlQuery query(connection.Database());
        if (!query.exec(IndexStatement(index)))
            raise(query.lastError());
    }
}

QString TMssqlEngine::TableExistsStatement(const QString &database) const
{
    return QStringLiteral("USE ") + QuoteIdentifier(database) + QStringLiteral("; ") +
           QStringLiteral(" IF EXISTS(SELECT * FROM [dbo].[sysobjects]  ") +
           QStringLiteral("WHERE [Name] = :sTableName )      ") + QStringLiteral("BEGIN SELECT('TRUE')        END ") +
           QStringLiteral("ELSE BEGIN SELECT('FALSE')  END ");
}

QString TMssqlEngine::CreateDatabaseStatement(const QString &name) const
{
    return QStringLiteral("use master;  CREATE DATABASE  ") + QuoteIdentifier(name) + QStringLiteral(" ") +
           QStringLiteral(" COLLATE Cyrillic_General_100_CI_AS ");
}

QString TMssqlEngine::AttachStatement() { return QStringLiteral("use master\r\nexec sp_attach_db :@dbname, :@filename1"); }

void TMssqlEngine::CreateDatabase(TADOConnection &connection, const QString &name) const
{
    QSqlQuery query(connection.Database());
    if (!query.exec(CreateDatabaseStatement(name)))
        raise(query.lastError());
}

void TMssqlEngine::AttachDatabase(TADOConnection &connection, const QString &name, const QString &path) const
{
    TADOQuery query(&connection);
    query.SetSQLText(AttachStatement());
    query.ParamByName(QStringLiteral("@dbname")).Value = name;
    query.ParamByName(QStringLiteral("@filename1")).Value = path;
    query.ExecSQL();
}

void TMssqlEngine::InstallProcedure(TADOConnection &connection, const QString &script) const
{
    QSqlQuery query(connection.Database());
    if (!query.exec(script))
        raise(query.lastError());
}

QStringList TMssqlEngine::ProcedureParameters(TADOConnection &connection, const QString &procedure) const
{
    const QStringList names = DbStatement::Column(
        connection.Database(),
        QStringLiteral("SELECT PARAMETER_NAME FROM INFORMATION_SCHEMA.PARAMETERS WHERE SPECIFIC_NAME = ? "
                       "ORDER BY ORDINAL_POSITION"),
        {procedure});
    if (names.isEmpty()) {
        QSqlQuery exists(connection.Database());
        exists.prepare(QStringLiteral("SELECT OBJECT_ID(?, 'P')"));
        exists.bindValue(0, procedure);
        if (!exists.exec() || !exists.next() || exists.value(0).isNull())
            throw EDatabaseError(QStringLiteral("Could not find stored procedure '%1'.").arg(procedure));
    }
    return names;
}

void TMssqlEngine::LockKeys(TADOConnection &connection, const QString &table, const QString &keyColumn,
                            const QList<int> &keys) const
{
    if (keys.isEmpty())
        return;
    QStringList marks;
    QSqlQuery query(connection.Database());
    for (int i = 0; i < keys.size(); ++i)
        marks.append(QStringLiteral("?"));
    // Update locks held to the end of the transaction: a second saver of these rows waits here.
    if (!query.prepare(QStringLiteral("SELECT %1 FROM [dbo].[%2] WITH (UPDLOCK, HOLDLOCK) WHERE %1 IN (").arg(keyColumn, table) +
                       marks.join(QLatin1Char(',')) + QStringLiteral(")")))
        raise(query.lastError());
    for (int i = 0; i < keys.size(); ++i)
        query.bindValue(i, keys.at(i));
    if (!query.exec())
        raise(query.lastError());
}

QString TMssqlEngine::ProcedureCallStatement(const QString &procedure, int parameterCount)
{
    QStringList marks;
    for (int i = 0; i < parameterCount; ++i)
        marks.append(QStringLiteral("?"));
    return QStringLiteral("{CALL ") + procedure + QLatin1Char('(') + marks.join(QLatin1Char(',')) + QStringLiteral(")}");
}

TRowSet TMssqlEngine::CallProcedure(TADOConnection &connection, const QString &procedure,
                                    const QList<TParameter> &parameters) const
{
    QSqlQuery query(connection.Database());
    if (!query.prepare(ProcedureCallStatement(procedure, int(parameters.size()))))
        raise(query.lastError());
    for (int i = 0; i < parameters.size(); ++i)
        query.bindValue(i, BindValue(parameters.at(i).Value));
    if (!query.exec())
        raise(query.lastError());
    TRowSet rows;
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i)
        rows.Fields.append(record.fieldName(i));
    while (query.isSelect() && query.next()) {
        QVector<QVariant> row(record.count());
        for (int i = 0; i < record.count(); ++i)
            row[i] = query.value(i);
        rows.Rows.append(row);
    }
    return rows;
}


void TMssqlEngine::DropProcedure(TADOConnection &connection, const QString &procedure) const
{
    DbStatement::Exec(connection.Database(), QStringLiteral("DROP PROCEDURE ") + QuoteIdentifier(procedure));
}

QStringList TMssqlEngine::TableColumns(TADOConnection &connection, const QString &table) const
{
    return DbStatement::Column(connection.Database(),
                               QStringLiteral("SELECT name FROM sys.columns WHERE object_id = OBJECT_ID(?) ORDER BY column_id"),
                               {QStringLiteral("[dbo].") + QuoteIdentifier(table)});
}

void TMssqlEngine::AddColumns(TADOConnection &connection, const TTableDef &table, const QList<TColumnDef> &missing) const
{
    for (const TColumnDef &column : missing)
        DbStatement::Exec(connection.Database(), QStringLiteral("ALTER TABLE [dbo].") + QuoteIdentifier(table.Name) + QStringLiteral(" ADD ") +
                            columnDefinition(column));
}

void TMssqlEngine::InsertWithIdentity(TADOConnection &connection, const QString &table, const QString &sql) const
{
    const QString name = QStringLiteral("[dbo].") + QuoteIdentifier(table);
    DbStatement::Exec(connection.Database(), QStringLiteral("SET IDENTITY_INSERT ") + name + QStringLiteral(" ON; ") + sql +
                        QStringLiteral("; SET IDENTITY_INSERT ") + name + QStringLiteral(" OFF"));
}

void TMssqlEngine::LockSchema(TADOConnection &connection) const
{
    DbStatement::Exec(connection.Database(), QStringLiteral("EXEC sp_getapplock @Resource = 'kalvhotel-schema', @LockMode = 'Exclusive', "
                                   "@LockOwner = 'Transaction'"));
}

QString TMssqlEngine::ReturningInsert(const QString &into, const QString &rows, const QString &identity) const
{
    return into + QStringLiteral(" OUTPUT INSERTED.") + QuoteIdentifier(identity) + QLatin1Char(' ') + rows;
}
