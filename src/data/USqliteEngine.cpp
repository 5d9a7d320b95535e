#include "USqliteEngine.h"

#include "USqliteProcedure.h"
#include "startup/UConstMessagesDesk.h"

#include <QAtomicInt>
#include <algorithm>
#include <QDateTime>
#include <QDir>
#include <QFile>
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

// A LIKE pattern against a text, both folded: "%" any run, "_" one character, the escape
// character (when given) takes the next one as it stands.
bool likeMatches(const QString &pattern, const QString &text, QChar escape)
{
    int p = 0, t = 0, starP = -1, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern.at(p) == QLatin1Char('%')) {
            starP = p++;
            starT = t;
            continue;
        }
        if (p < pattern.size()) {
            QChar wanted = pattern.at(p);
            int step = 1;
            const bool escaped = !escape.isNull() && wanted == escape && p + 1 < pattern.size();
            if (escaped) {
                wanted = pattern.at(p + 1);
                step = 2;
            }
            if ((!escaped && wanted == QLatin1Char('_')) || wanted == text.at(t)) {
                p += step;
                ++t;
                continue;
            }
        }
        if (starP < 0)
            return false;
        p = starP + 1;
        t = ++starT;
    }
    while (p < pattern.size() && pattern.at(p) == QLatin1Char('%'))
        ++p;
    return p == pattern.size();
}

// The server's LIKE folds ASCII letters only; the program's texts are Cyrillic too.
void unicodeLike(sqlite3_context *context, int count, sqlite3_value **values)
{
    if (sqlite3_value_type(values[0]) == SQLITE_NULL || sqlite3_value_type(values[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    auto text = [](sqlite3_value *value) {
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(value)), sqlite3_value_bytes(value))
            .toCaseFolded();
    };
    QChar escape;
    if (count == 3 && sqlite3_value_type(values[2]) != SQLITE_NULL) {
        const QString given = text(values[2]);
        if (given.size() != 1) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = given.at(0);
    }
    sqlite3_result_int(context, likeMatches(text(values[0]), text(values[1]), escape) ? 1 : 0);
}

QString uniqueName()
{
    static QAtomicInt counter;
    return QStringLiteral("kalv_sqlite_aux_%1").arg(counter.fetchAndAddRelaxed(1) + 1);
}

int &busyTimeout()
{
    static int milliseconds = 5000;
    return milliseconds;
}

// The operators' passwords live in these files: they and their folder are their owner's alone.
void restrictToOwner(const QString &path, bool folder)
{
    const QFileDevice::Permissions owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           (folder ? QFileDevice::ExeOwner : QFileDevice::Permissions());
    if (QFileInfo::exists(path) && QFile::permissions(path) != owner)
        QFile::setPermissions(path, owner);
}

// Makes an empty database file for its owner alone; false when one is there already.
bool createOwnFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}

sqlite3 *handleOf(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.data());
}

// Opens a database file that must exist; the file is never created here. A workstation
// that finds the file busy waits a few seconds before it gives up.
QSqlDatabase openFile(const QString &qtName, const QString &path, bool create)
{
    if (create && !QFileInfo::exists(path))
        createOwnFile(path);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), qtName);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeout()));
    QUrl url = QUrl::fromLocalFile(path);
    url.setScheme(QStringLiteral("file"));
    db.setDatabaseName(url.toString(QUrl::FullyEncoded) + QStringLiteral("?mode=rw"));
    QSqlError error;
    if (!db.open()) {
        error = db.lastError();
    } else {
        TSqliteEngine::InstallUnicodeNoCase(db);
        // Pages kept between statements, up to 64 MB, grown only as they are read: a report
        // or a search goes back to pages it read a moment ago.
        QSqlQuery(db).exec(QStringLiteral("PRAGMA cache_size = -65536"));
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


} // namespace

void TSqliteEngine::SetBusyTimeout(int milliseconds) { busyTimeout() = milliseconds; }

int TSqliteEngine::BusyTimeout() { return busyTimeout(); }

void TSqliteEngine::InstallUnicodeNoCase(QSqlDatabase &db)
{
    if (sqlite3 *connection = handleOf(db)) {
        // In the database encoding, so that they replace the built-in ASCII-only NOCASE and LIKE.
        sqlite3_create_collation(connection, "NOCASE", SQLITE_UTF8, nullptr, compareNoCase);
        for (int arguments : {2, 3})
            sqlite3_create_function(connection, "like", arguments, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                    unicodeLike, nullptr, nullptr);
    }
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
    if (local) {
        QDir().mkpath(folder);
        restrictToOwner(folder, true);
    }
    if (!QFileInfo(folder).isDir())
        throw EDatabaseError(QStringLiteral("SQL Server does not exist or access denied. (%1)").arg(folder));
    m_folder = folder;
    withFile(folder + kCatalogueFile, true, [](QSqlDatabase &db) {
        DbStatement::Exec(db, QStringLiteral("CREATE TABLE IF NOT EXISTS sysdatabases (name TEXT COLLATE NOCASE PRIMARY KEY, "
                                "filename TEXT NOT NULL)"));
    });
    QString path = folder + kCatalogueFile;
    if (!IsCatalogue(database)) {
        path = DatabaseFile(database);
        if (path.isEmpty())
            throw EDatabaseError(
                QStringLiteral("Cannot open database \"%1\" requested by the login. The login failed.").arg(database));
    }
    if (local)
        restrictToOwner(path, false);
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

void TSqliteEngine::EnsureIndexes(TADOConnection &connection) const
{
    // Asked first: an index that is there takes no write lock to find.
    QSqlDatabase db = connection.Database();
    QSqlQuery existing(db);
    if (!existing.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'")))
        raise(existing.lastError());
    QStringList names;
    while (existing.next())
        names.append(existing.value(0).toString().toCaseFolded());
    for (const TIndexDef &index : DbSchema::Indexes()) {
        if (names.contains(index.Name.toCaseFolded()))
            continue;
        QStringList columns;
        for (const QString &column : index.Columns)
            columns.append(QuoteIdentifier(column));
        DbStatement::Exec(db, QStringLiteral("CREATE INDEX IF NOT EXISTS ") + QuoteIdentifier(index.Name) + QStringLiteral(" ON ") +
                     QuoteIdentifier(index.Table) + QStringLiteral(" (") + columns.join(QStringLiteral(", ")) +
                     QLatin1Char(')'));
    }
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

void TSqliteEngine::BeginTransaction(QSqlDatabase &db, bool write) const
{
    if (!write) {
        TDbEngine::BeginTransaction(db, write);
        return;
    }
    // The write lock at once: a reader that later wants to write could otherwise wait on a
    // writer that waits on it, and one of them would fail.
    QSqlQuery begin(db);
    if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
        raise(begin.lastError());
}

void TSqliteEngine::CheckNewDatabaseName(const QString &name) const
{
    // The name becomes a file name, so it keeps to what every system allows.
    static const QRegularExpression forbidden(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    if (name.trimmed().isEmpty() || name.size() > 123 || forbidden.match(name).hasMatch() || name != name.trimmed())
        throw EDatabaseError(msgDatabaseNameNotAllowed.arg(name));
    // The server's own catalogue names and the names of its attached schemas.
    for (const char *reserved : {"master", "tempdb", "main", "temp"})
        if (name.compare(QLatin1String(reserved), Qt::CaseInsensitive) == 0)
            throw EDatabaseError(msgDatabaseNameReserved.arg(name));
}

void TSqliteEngine::CreateDatabase(TADOConnection &, const QString &name) const
{
    CheckNewDatabaseName(name);
    if (!DatabaseFile(name).isEmpty())
        throw EDatabaseError(
            QStringLiteral("Database '%1' already exists. Choose a different database name.").arg(name));
    // A file left by a creation that never reached the catalogue is not reused: a fresh name.
    QString file = name + QStringLiteral(".sqlite");
    for (int n = 2; !createOwnFile(m_folder + file); ++n) {
        if (n > 1000)
            throw EDatabaseError(QStringLiteral("Cannot create a file for database '%1' in %2.").arg(name, m_folder));
        file = QStringLiteral("%1-%2.sqlite").arg(name).arg(n);
    }
    try {
        withFile(m_folder + file, false, [](QSqlDatabase &db) {
            DbStatement::Exec(db, QStringLiteral("CREATE TABLE sysprocedures (name TEXT COLLATE NOCASE PRIMARY KEY, "
                                    "parameters TEXT NOT NULL, body TEXT NOT NULL)"));
        });
        WithCatalogue([&](QSqlDatabase &db) {
            DbStatement::Exec(db, QStringLiteral("INSERT INTO sysdatabases (name, filename) VALUES (?, ?)"), {name, file});
        });
    } catch (const EDatabaseError &) {
        QFile::remove(m_folder + file);
        throw;
    }
}

void TSqliteEngine::AttachDatabase(TADOConnection &, const QString &name, const QString &path) const
{
    CheckNewDatabaseName(name);
    if (!DatabaseFile(name).isEmpty())
        throw EDatabaseError(
            QStringLiteral("Database '%1' already exists. Choose a different database name.").arg(name));
    const QFileInfo info(path);
    if (!info.isFile())
        throw EDatabaseError(QStringLiteral("Unable to open the physical file \"%1\".").arg(path));
    // Only a real database file is registered.
    withFile(info.absoluteFilePath(), false, [](QSqlDatabase &) {});
    WithCatalogue([&](QSqlDatabase &db) {
        DbStatement::Exec(db, QStringLiteral("INSERT INTO sysdatabases (name, filename) VALUES (?, ?)"),
             {name, info.absoluteFilePath()});
    });
}

void TSqliteEngine::ForgetDatabase(const QString &name) const
{
    WithCatalogue([&](QSqlDatabase &db) {
        DbStatement::Exec(db, QStringLiteral("DELETE FROM sysdatabases WHERE name = ?"), {name});
    });
}

void TSqliteEngine::InstallProcedure(TADOConnection &connection, const QString &script) const
{
    const TSqliteProcedure procedure = TSqliteProcedure::Parse(script);
    QSqlDatabase db = connection.Database();
    DbStatement::Exec(db, QStringLiteral("CREATE TABLE IF NOT EXISTS sysprocedures (name TEXT COLLATE NOCASE PRIMARY KEY, "
                            "parameters TEXT NOT NULL, body TEXT NOT NULL)"));
    QSqlQuery existing(db);
    existing.prepare(QStringLiteral("SELECT 1 FROM sysprocedures WHERE name = ?"));
    existing.bindValue(0, procedure.Name);
    if (!existing.exec())
        raise(existing.lastError());
    if (existing.next())
        throw EDatabaseError(QStringLiteral("There is already an object named '%1' in the database.").arg(procedure.Name));
    // What the server can check now is checked now: syntax, tables, columns.
    procedure.Check(handleOf(db));
    QStringList parameters;
    for (const auto &p : procedure.Parameters)
        parameters.append(p.first + QLatin1Char(' ') + p.second);
    DbStatement::Exec(db, QStringLiteral("INSERT INTO sysprocedures (name, parameters, body) VALUES (?, ?, ?)"),
         {procedure.Name, parameters.isEmpty() ? QStringLiteral("") : parameters.join(QStringLiteral(", ")), script});
}

TSqliteProcedure TSqliteEngine::LoadProcedure(TADOConnection &connection, const QString &name) const
{
    QString bare = name;
    const QList<SqliteSql::TToken> tokens = SqliteSql::Tokenize(name);
    if (!tokens.isEmpty())
        bare = SqliteSql::Unquote(name.mid(tokens.last().Start, tokens.last().Length));
    QSqlQuery query(connection.Database());
    query.prepare(QStringLiteral("SELECT body FROM sysprocedures WHERE name = ?"));
    query.bindValue(0, bare);
    if (!query.exec() || !query.next())
        throw EDatabaseError(QStringLiteral("Could not find stored procedure '%1'.").arg(name));
    return TSqliteProcedure::Parse(query.value(0).toString());
}

QStringList TSqliteEngine::ProcedureParameters(TADOConnection &connection, const QString &procedure) const
{
    QStringList names;
    for (const auto &parameter : LoadProcedure(connection, procedure).Parameters)
        names.append(parameter.first);
    return names;
}

TRowSet TSqliteEngine::CallProcedure(TADOConnection &connection, const QString &procedure,
                                     const QList<TParameter> &parameters) const
{
    const TSqliteProcedure definition = LoadProcedure(connection, procedure);
    QSqlDatabase db = connection.Database();
    auto valueOf = [&](const QString &name) {
        for (const TParameter &p : parameters)
            if (p.Name.compare(name, Qt::CaseInsensitive) == 0)
                return BindValue(p.Value);
        return QVariant();
    };
    // A table named by a parameter must exist; it is placed in the text quoted.
    auto tableFor = [&](const QString &name) {
        const QString table = valueOf(name).toString();
        QSqlQuery exists(db);
        exists.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE "
                                      "UNION SELECT 1 FROM sqlite_temp_master WHERE type = 'table' AND name = ?"));
        exists.bindValue(0, table);
        exists.bindValue(1, table);
        if (!exists.exec() || !exists.next())
            throw EDatabaseError(QStringLiteral("Invalid object name '%1'.").arg(table));
        return QuoteIdentifier(table);
    };
    return definition.Run(handleOf(db), valueOf, tableFor);
}

void TSqliteEngine::DropProcedure(TADOConnection &connection, const QString &procedure) const
{
    QSqlDatabase db = connection.Database();
    DbStatement::Exec(db, QStringLiteral("DELETE FROM sysprocedures WHERE name = ?"), {procedure});
}

QStringList TSqliteEngine::TableColumns(TADOConnection &connection, const QString &table) const
{
    // PRAGMA table_info gives the column's name in its second field.
    return DbStatement::Column(connection.Database(),
                               QStringLiteral("PRAGMA table_info(") + QuoteIdentifier(table) + QLatin1Char(')'), {}, 1);
}

void TSqliteEngine::AddColumns(TADOConnection &connection, const TTableDef &table, const QList<TColumnDef> &missing) const
{
    QSqlDatabase db = connection.Database();
    const bool identity = std::any_of(missing.begin(), missing.end(), [](const TColumnDef &column) {
        return column.Nullability == TColumnNull::Identity;
    });
    if (!identity) {
        for (const TColumnDef &column : missing) {
            TTableDef one{table.Name, {column}};
            const QString created = CreateTableStatement(one);
            // The column's definition as the creation writes it, between the parentheses.
            const QString definition = created.mid(created.indexOf(QLatin1Char('(')) + 1).chopped(1);
            DbStatement::Exec(db, QStringLiteral("ALTER TABLE ") + QuoteIdentifier(table.Name) + QStringLiteral(" ADD COLUMN ") +
                         definition);
        }
        return;
    }
    // A key column cannot be added to a table here: the table is built again with every row,
    // which gets its key in the order the rows were written.
    QStringList kept;
    for (const QString &column : TableColumns(connection, table.Name))
        kept.append(QuoteIdentifier(column));
    const QString rebuilt = table.Name + QStringLiteral("_upgrade");
    DbStatement::Exec(db, CreateTableStatement(table, false, rebuilt));
    DbStatement::Exec(db, QStringLiteral("INSERT INTO ") + QuoteIdentifier(rebuilt) + QStringLiteral(" (") +
                 kept.join(QStringLiteral(", ")) + QStringLiteral(") SELECT ") + kept.join(QStringLiteral(", ")) +
                 QStringLiteral(" FROM ") + QuoteIdentifier(table.Name) + QStringLiteral(" ORDER BY rowid"));
    DbStatement::Exec(db, QStringLiteral("DROP TABLE ") + QuoteIdentifier(table.Name));
    DbStatement::Exec(db, QStringLiteral("ALTER TABLE ") + QuoteIdentifier(rebuilt) + QStringLiteral(" RENAME TO ") +
                 QuoteIdentifier(table.Name));
}

void TSqliteEngine::InsertWithIdentity(TADOConnection &connection, const QString &, const QString &sql) const
{
    QSqlDatabase db = connection.Database();
    DbStatement::Exec(db, TranslateStatement(sql));
}
