#include "UDbEngine.h"

#include "USqliteEngine.h"
#include "UMssqlEngine.h"

#include <QRegularExpression>

std::unique_ptr<TDbEngine> TDbEngine::ForProvider(const QString &provider)
{
    const QString name = provider.trimmed();
    if (name.compare(QStringLiteral("SQLite"), Qt::CaseInsensitive) == 0)
        return std::make_unique<TSqliteEngine>();
    for (const char *mssql : {"SQLOLEDB.1", "SQLOLEDB", "SQLNCLI11", "MSOLEDBSQL"})
        if (name.compare(QLatin1String(mssql), Qt::CaseInsensitive) == 0)
            return std::make_unique<TMssqlEngine>();
    throw EDatabaseError(QStringLiteral("Provider cannot be found. It may not be properly installed. (%1)").arg(name));
}

void CheckDatabaseName(const QString &name)
{
    // The name becomes a file name on the embedded engine, so it keeps to what every system allows.
    static const QRegularExpression forbidden(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    if (name.trimmed().isEmpty())
        throw EDatabaseError(QStringLiteral("The database name is empty."));
    if (name.size() > 123 || forbidden.match(name).hasMatch() || name != name.trimmed())
        throw EDatabaseError(QStringLiteral("The database name \"%1\" is not allowed: it may not begin or end with "
                                            "blanks, and may not hold \\ / : * ? \" < > | or control characters.")
                                 .arg(name));
}
