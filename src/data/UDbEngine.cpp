#include "UDbEngine.h"

#include "USqliteEngine.h"
#include "UMssqlEngine.h"
#include "UPostgresEngine.h"

#include <QSqlError>
#include <QSqlQuery>

std::unique_ptr<TDbEngine> TDbEngine::ForProvider(const QString &provider)
{
    const QString name = provider.trimmed();
    if (name.compare(QStringLiteral("SQLite"), Qt::CaseInsensitive) == 0)
        return std::make_unique<TSqliteEngine>();
    for (const char *postgres : {"PostgreSQL", "PostgreSQL.1", "QPSQL"})
        if (name.compare(QLatin1String(postgres), Qt::CaseInsensitive) == 0)
            return std::make_unique<TPostgresEngine>();
    for (const char *mssql : {"SQLOLEDB.1", "SQLOLEDB", "SQLNCLI11", "MSOLEDBSQL"})
        if (name.compare(QLatin1String(mssql), Qt::CaseInsensitive) == 0)
            return std::make_unique<TMssqlEngine>();
    throw EDatabaseError(QStringLiteral("Provider cannot be found. It may not be properly installed. (%1)").arg(name));
}

void TDbEngine::BeginTransaction(QSqlDatabase &db, bool) const
{
    if (!db.transaction())
        RaiseDatabaseError(db.lastError());
}

namespace DbStatement {

namespace {

QSqlQuery run(QSqlDatabase db, const QString &sql, const QVariantList &values)
{
    QSqlQuery query(db);
    if (values.isEmpty()) {
        if (!query.exec(sql))
            RaiseDatabaseError(query.lastError());
        return query;
    }
    if (!query.prepare(sql))
        RaiseDatabaseError(query.lastError());
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec())
        RaiseDatabaseError(query.lastError());
    return query;
}

} // namespace

void Exec(QSqlDatabase db, const QString &sql, const QVariantList &values) { run(db, sql, values); }

QStringList Column(QSqlDatabase db, const QString &sql, const QVariantList &values, int column)
{
    QSqlQuery query = run(db, sql, values);
    QStringList texts;
    while (query.next())
        texts.append(query.value(column).toString());
    return texts;
}

} // namespace DbStatement
