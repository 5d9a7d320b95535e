#include "USqliteEngine.h"

#include "startup/UConstMessagesHotel.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <sqlite3.h>

namespace {

const QString kCatalogueFile = QStringLiteral("master.sqlite");

[[noreturn]] void raise(const QSqlError &error) { RaiseDatabaseError(error); }

int compareNoCase(void *, int lengthA, const void *a, int lengthB, const void *b)
{
    const QString left = QString::fromUtf8(static_cast<const char *>(a), lengthA);
    const QString right = QString::fromUtf8(static_cast<const char *>(b), lengthB);
    return left.compare(right, Qt::CaseInsensitive);
}

QString uniqueName()
{
    static QAtomicInt counter;
    return QStringLiteral("kalv_sqlite_aux_%1").arg(counter.fetchAndAddRelaxed(1) + 1);
}

// Opens a database file that must exist; the file is never created here.
QSqlDatabase openFile(const QString &qtName, const QString &path, bool create)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), qtName);
    if (create) {
        db.setDatabaseName(path);
    } else {
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
        QUrl url = QUrl::fromLocalFile(path);
        url.setScheme(QStringLiteral("file"));
        db.setDatabaseName(url.toString(QUrl::FullyEncoded) + QStringLiteral("?mode=rw"));
    }
    QSqlError error;
    if (!db.open()) {
        error = db.lastError();
    } else {
        TSqliteEngine::InstallUnicodeNoCase(db);
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
            error = probe.lastError();
    }
    if (error.isValid()) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(qtName);
        raise(error);
    }
    return db;
}

// Runs work on a database file through a connection of its own.
void withFile(const QString &path, bool create, const std::function<void(QSqlDatabase &)> &work)
{
    const QString name = uniqueName();
    {
        QSqlDatabase db = openFile(name, path, create);
        try {
            work(db);
        } catch (...) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            throw;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void exec(QSqlDatabase &db, const QString &sql, const QVariantList &values = {})
{
    QSqlQuery query(db);
    if (!query.prepare(sql))
        raise(query.lastError());
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec())
        raise(query.lastError());
}

// Splits at a separator that stands outside quotes and parentheses.
QStringList splitTopLevel(const QString &text, QChar separator)
{
    QStringList parts;
    QString current;
    QChar quote;
    int depth = 0;
    for (const QChar c : text) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('[')) {
            quote = QLatin1Char(']');
        } else if (c == QLatin1Char('(')) {
            ++depth;
        } else if (c == QLatin1Char(')')) {
            --depth;
        } else if (c == separator && depth == 0) {
            parts.append(current.trimmed());
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        parts.append(current.trimmed());
    parts.removeAll(QString());
    return parts;
}

// Each "@name" outside quotes, replaced by what the callback gives.
QString replaceVariables(const QString &sql, const std::function<QString(const QString &)> &replacement)
{
    QString out;
    QChar quote;
    for (int i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (quote.isNull() && c == QLatin1Char('@') && i + 1 < sql.size() &&
            (sql.at(i + 1).isLetter() || sql.at(i + 1) == QLatin1Char('_'))) {
            int end = i + 1;
            while (end < sql.size() && (sql.at(end).isLetterOrNumber() || sql.at(end) == QLatin1Char('_')))
                ++end;
            out += replacement(sql.mid(i, end - i));
            i = end - 1;
            continue;
        }
        if (!quote.isNull() && c == quote)
            quote = QChar();
        else if (quote.isNull() && (c == QLatin1Char('\'') || c == QLatin1Char('"')))
            quote = c;
        out += c;
    }
    return out;
}

QString unbracket(QString name)
{
    static const QRegularExpression owner(QStringLiteral("^\\[?dbo\\]?\\."), QRegularExpression::CaseInsensitiveOption);
    name.remove(owner);
    if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
        name = name.mid(1, name.size() - 2);
    return name;
}

} // namespace

void TSqliteEngine::InstallUnicodeNoCase(QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return;
    sqlite3 *connection = *static_cast<sqlite3 *const *>(handle.data());
    if (connection)
        // In the database encoding, so that it replaces the built-in ASCII-only NOCASE.
        sqlite3_create_collation(connection, "NOCASE", SQLITE_UTF8, nullptr, compareNoCase);
}

QString TSqliteEngine::ServerFolder(const QString &dataSource, bool *isLocal)
{
    const int slash = int(dataSource.indexOf(QLatin1Char('\\')));
    const QString host = (slash < 0 ? dataSource : dataSource.left(slash)).trimmed();
    const QString instance = slash < 0 ? QString() : dataSource.mid(slash + 1).trimmed();
    const bool local = host.isEmpty() || host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0 ||
                       host.compare(QStringLiteral("(local)"), Qt::CaseInsensitive) == 0 || host == QLatin1String(".");
    if (isLocal)
        *isLocal = local;
    QString folder = local ? DataFolder + QStringLiteral("Databases") : host;
    if (!instance.isEmpty())
        folder += QLatin1Char('/') + instance;
    return QDir::cleanPath(folder) + QLatin1Char('/');
}

bool TSqliteEngine::IsCatalogue(const QString &database)
{
    const QString name = database.trimmed();
    return name.isEmpty() || name.compare(QStringLiteral("master"), Qt::CaseInsensitive) == 0 ||
           name.compare(QStringLiteral("tempdb"), Qt::CaseInsensitive) == 0;
}

QSqlDatabase TSqliteEngine::Open(const QString &qtName, const TConnectionItems &items, const QString &database)
{
    bool local = false;
    const QString folder = ServerFolder(items.Value(QStringLiteral("Data Source")), &local);
    // The local server always runs; any other server folder must be there.
    if (local)
        QDir().mkpath(folder);
    if (!QFileInfo(folder).isDir())
        throw EDatabaseError(QStringLiteral("SQL Server does not exist or access denied. (%1)").arg(folder));
    m_folder = folder;
    withFile(folder + kCatalogueFile, true, [](QSqlDatabase &db) {
        exec(db, QStringLiteral("CREATE TABLE IF NOT EXISTS sysdatabases (name TEXT COLLATE NOCASE PRIMARY KEY, "
                                "filename TEXT NOT NULL)"));
    });
    QString path = folder + kCatalogueFile;
    if (!IsCatalogue(database)) {
        path = DatabaseFile(database);
        if (path.isEmpty())
            throw EDatabaseError(
                QStringLiteral("Cannot open database \"%1\" requested by the login. The login failed.").arg(database));
    }
    QSqlDatabase db = openFile(qtName, path, false);
    m_database = IsCatalogue(database) ? QStringLiteral("master") : database;
    return db;
}

void TSqliteEngine::WithCatalogue(const std::function<void(QSqlDatabase &)> &work) const
{
    withFile(m_folder + kCatalogueFile, false, work);
}

QString TSqliteEngine::DatabaseFile(const QString &name) const
{
    QString file;
    WithCatalogue([&](QSqlDatabase &db) {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("SELECT filename FROM sysdatabases WHERE name = ?"));
        query.bindValue(0, name);
        if (!query.exec())
            raise(query.lastError());
        if (query.next())
            file = query.value(0).toString();
    });
    if (!file.isEmpty() && QFileInfo(file).isRelative())
        file = m_folder + file;
    return file;
}

QString TSqliteEngine::QuoteIdentifier(const QString &identifier) const
{
    QString escaped = identifier;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString TSqliteEngine::TranslateStatement(const QString &sql) const
{
    // The program writes the server's owner prefix; the embedded engine has no owners.
    static const QRegularExpression owner(QStringLiteral("\\[dbo\\]\\.|\\bdbo\\."),
                                          QRegularExpression::CaseInsensitiveOption);
    QString text = sql;
    return text.remove(owner);
}

QVariant TSqliteEngine::BindValue(const QVariant &value) const
{
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        return value.toDate().startOfDay().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    default:
        return value;
    }
}

QString TSqliteEngine::CreateTableStatement(const TTableDef &table, bool temporary, const QString &name)
{
    QStringList columns;
    for (const TColumnDef &column : table.Columns) {
        QString definition = QLatin1Char('"') + column.Name + QStringLiteral("\" ");
        if (column.Nullability == TColumnNull::Identity) {
            definition += QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
        } else {
            definition += column.Type;
            if (column.Type.contains(QStringLiteral("char"), Qt::CaseInsensitive))
                definition += QStringLiteral(" COLLATE NOCASE");
            if (column.Nullability == TColumnNull::Null)
                definition += QStringLiteral(" NULL");
        }
        columns.append(definition);
    }
    QString quoted = name.isEmpty() ? table.Name : name;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QStringLiteral("CREATE ") + (temporary ? QStringLiteral("TEMP ") : QString()) +
           QStringLiteral("TABLE IF NOT EXISTS \"") + quoted + QStringLiteral("\" (") + columns.join(QStringLiteral(", ")) +
           QLatin1Char(')');
}

QString TSqliteEngine::CreateTableBatch(const QString &, const TTableDef &table, int) const
{
    return CreateTableStatement(table);
}

QString TSqliteEngine::StagingTableStatement(const QString &tableName) const
{
    return CreateTableStatement(DbSchema::Table(QStringLiteral("Klients")), true, tableName);
}

QString TSqliteEngine::TableExistsStatement(const QString &database) const
{
    const QString schema =
        database.compare(m_database, Qt::CaseInsensitive) == 0 ? QStringLiteral("main") : QuoteIdentifier(database);
    return QStringLiteral("SELECT CASE WHEN EXISTS(SELECT * FROM ") + schema +
           QStringLiteral(".sqlite_master WHERE type = 'table' AND name = :sTableName COLLATE NOCASE) "
                          "THEN 'TRUE' ELSE 'FALSE' END AS column1");
}

void TSqliteEngine::PrepareDatabaseReference(TADOConnection &connection, const QString &database) const
{
    if (database.compare(m_database, Qt::CaseInsensitive) == 0)
        return;
    QSqlQuery attached(connection.Database());
    if (attached.exec(QStringLiteral("PRAGMA database_list")))
        while (attached.next())
            if (attached.value(1).toString().compare(database, Qt::CaseInsensitive) == 0)
                return;
    const QString file = DatabaseFile(database);
    if (file.isEmpty() || !QFileInfo::exists(file))
        throw EDatabaseError(
            QStringLiteral("Database '%1' does not exist. Make sure that the name is entered correctly.").arg(database));
    connection.Execute(QStringLiteral("ATTACH DATABASE ? AS ") + QuoteIdentifier(database), {file});
}

void TSqliteEngine::CreateDatabase(TADOConnection &, const QString &name) const
{
    CheckDatabaseName(name);
    if (!DatabaseFile(name).isEmpty())
        throw EDatabaseError(
            QStringLiteral("Database '%1' already exists. Choose a different database name.").arg(name));
    const QString file = name + QStringLiteral(".sqlite");
    if (QFileInfo::exists(m_folder + file))
        throw EDatabaseError(QStringLiteral("Cannot create file '%1' because it already exists.").arg(m_folder + file));
    withFile(m_folder + file, true, [](QSqlDatabase &db) {
        exec(db, QStringLiteral("CREATE TABLE sysprocedures (name TEXT COLLATE NOCASE PRIMARY KEY, "
                                "parameters TEXT NOT NULL, body TEXT NOT NULL)"));
    });
    WithCatalogue([&](QSqlDatabase &db) {
        exec(db, QStringLiteral("INSERT INTO sysdatabases (name, filename) VALUES (?, ?)"), {name, file});
    });
}

void TSqliteEngine::AttachDatabase(TADOConnection &, const QString &name, const QString &path) const
{
    CheckDatabaseName(name);
    if (!DatabaseFile(name).isEmpty())
        throw EDatabaseError(
            QStringLiteral("Database '%1' already exists. Choose a different database name.").arg(name));
    const QFileInfo info(path);
    if (!info.isFile())
        throw EDatabaseError(QStringLiteral("Unable to open the physical file \"%1\".").arg(path));
    // Only a real database file is registered.
    withFile(info.absoluteFilePath(), false, [](QSqlDatabase &) {});
    WithCatalogue([&](QSqlDatabase &db) {
        exec(db, QStringLiteral("INSERT INTO sysdatabases (name, filename) VALUES (?, ?)"),
             {name, info.absoluteFilePath()});
    });
}

TSqliteEngine::TProcedure TSqliteEngine::ParseProcedure(const QString &script)
{
    static const QRegularExpression form(
        QStringLiteral("^\\s*CREATE\\s+PROC(?:EDURE)?\\s+((?:\\[?dbo\\]?\\.)?\\[?[A-Za-z_]\\w*\\]?)(.*?)\\bAS\\b(.*)$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = form.match(script);
    if (!match.hasMatch())
        throw EDatabaseError(QStringLiteral("Incorrect syntax: the script must create one procedure "
                                            "(CREATE PROCEDURE name @parameter type, ... AS statements)."));
    TProcedure procedure;
    procedure.Name = unbracket(match.captured(1));
    QString parameters = match.captured(2).trimmed();
    if (parameters.startsWith(QLatin1Char('(')) && parameters.endsWith(QLatin1Char(')')))
        parameters = parameters.mid(1, parameters.size() - 2);
    for (const QString &item : splitTopLevel(parameters, QLatin1Char(','))) {
        static const QRegularExpression parameter(QStringLiteral("^(@[A-Za-z_]\\w*)\\s+(.+)$"),
                                                  QRegularExpression::DotMatchesEverythingOption);
        const QRegularExpressionMatch p = parameter.match(item.simplified());
        if (!p.hasMatch())
            throw EDatabaseError(QStringLiteral("Incorrect syntax near '%1'.").arg(item));
        procedure.Parameters.append({p.captured(1), p.captured(2).trimmed()});
    }
    procedure.Statements = splitTopLevel(match.captured(3), QLatin1Char(';'));
    if (procedure.Statements.isEmpty())
        throw EDatabaseError(QStringLiteral("Incorrect syntax: the procedure '%1' has no statement.").arg(procedure.Name));
    return procedure;
}

void TSqliteEngine::InstallProcedure(TADOConnection &connection, const QString &script) const
{
    const TProcedure procedure = ParseProcedure(script);
    QSqlDatabase db = connection.Database();
    exec(db, QStringLiteral("CREATE TABLE IF NOT EXISTS sysprocedures (name TEXT COLLATE NOCASE PRIMARY KEY, "
                            "parameters TEXT NOT NULL, body TEXT NOT NULL)"));
    QSqlQuery existing(db);
    existing.prepare(QStringLiteral("SELECT 1 FROM sysprocedures WHERE name = ?"));
    existing.bindValue(0, procedure.Name);
    if (!existing.exec())
        raise(existing.lastError());
    if (existing.next())
        throw EDatabaseError(QStringLiteral("There is already an object named '%1' in the database.").arg(procedure.Name));
    // Statements that name no table through a parameter are checked by the engine now.
    for (const QString &statement : procedure.Statements) {
        bool namesTable = false;
        const QString text = replaceVariables(TranslateStatement(statement), [&](const QString &name) {
            for (const auto &p : procedure.Parameters)
                if (p.first.compare(name, Qt::CaseInsensitive) == 0 &&
                    p.second.compare(QStringLiteral("SYSNAME"), Qt::CaseInsensitive) == 0)
                    namesTable = true;
            return QStringLiteral("?");
        });
        if (namesTable)
            continue;
        QSqlQuery check(db);
        if (!check.prepare(text))
            raise(check.lastError());
    }
    QStringList parameters;
    for (const auto &p : procedure.Parameters)
        parameters.append(p.first + QLatin1Char(' ') + p.second);
    exec(db, QStringLiteral("INSERT INTO sysprocedures (name, parameters, body) VALUES (?, ?, ?)"),
         {procedure.Name, parameters.isEmpty() ? QStringLiteral("") : parameters.join(QStringLiteral(", ")), script});
}

TSqliteEngine::TProcedure TSqliteEngine::LoadProcedure(TADOConnection &connection, const QString &name) const
{
    QSqlQuery query(connection.Database());
    query.prepare(QStringLiteral("SELECT body FROM sysprocedures WHERE name = ?"));
    query.bindValue(0, unbracket(name));
    if (!query.exec() || !query.next())
        throw EDatabaseError(QStringLiteral("Could not find stored procedure '%1'.").arg(name));
    return ParseProcedure(query.value(0).toString());
}

QStringList TSqliteEngine::ProcedureParameters(TADOConnection &connection, const QString &procedure) const
{
    QStringList names;
    for (const auto &parameter : LoadProcedure(connection, procedure).Parameters)
        names.append(parameter.first);
    return names;
}

void TSqliteEngine::CallProcedure(TADOConnection &connection, const QString &procedure,
                                  const QList<TParameter> &parameters, QSqlQuery &query) const
{
    const TProcedure definition = LoadProcedure(connection, procedure);
    auto valueOf = [&](const QString &name) {
        for (const TParameter &p : parameters)
            if (p.Name.compare(name, Qt::CaseInsensitive) == 0)
                return p.Value;
        return QVariant();
    };
    auto typeOf = [&](const QString &name) -> QString {
        for (const auto &p : definition.Parameters)
            if (p.first.compare(name, Qt::CaseInsensitive) == 0)
                return p.second;
        throw EDatabaseError(QStringLiteral("Must declare the scalar variable \"%1\".").arg(name));
    };
    for (int i = 0; i < definition.Statements.size(); ++i) {
        QVariantList values;
        const QString text = replaceVariables(TranslateStatement(definition.Statements.at(i)), [&](const QString &name) {
            if (typeOf(name).compare(QStringLiteral("SYSNAME"), Qt::CaseInsensitive) != 0) {
                values.append(BindValue(valueOf(name)));
                return QStringLiteral("?");
            }
            // A table named by a parameter must exist; it is placed in the text quoted.
            const QString table = valueOf(name).toString();
            QSqlQuery exists(connection.Database());
            exists.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE "
                                          "UNION SELECT 1 FROM sqlite_temp_master WHERE type = 'table' AND name = ?"));
            exists.bindValue(0, table);
            exists.bindValue(1, table);
            if (!exists.exec() || !exists.next())
                throw EDatabaseError(QStringLiteral("Invalid object name '%1'.").arg(table));
            return QuoteIdentifier(table);
        });
        QSqlQuery scratch(connection.Database());
        QSqlQuery &target = i + 1 == definition.Statements.size() ? query : scratch;
        if (!target.prepare(text))
            raise(target.lastError());
        for (int v = 0; v < values.size(); ++v)
            target.bindValue(v, values.at(v));
        if (!target.exec())
            raise(target.lastError());
    }
}
