#include "UBackup.h"

#include "startup/USystemWinOS.h"

#include "UAdoDb.h"
#include "UDM.h"
#include "UDbEngine.h"
#include "UDbSchema.h"
#include "USchemaUpgrade.h"
#include "USqliteEngine.h"

#include <QDir>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>
#include <QHash>
#include <functional>
#include <memory>
#include <sqlite3.h>

namespace Backup {

namespace {

[[noreturn]] void fail(const QString &message) { throw EBackupError(message); }

// ---- the embedded engine

struct TSqliteCloser {
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};
using TSqlite = std::unique_ptr<sqlite3, TSqliteCloser>;

TSqlite openFile(const QString &file, int flags)
{
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(file).constData(), &db, flags, nullptr);
    TSqlite result(db);
    if (rc != SQLITE_OK)
        fail(QStringLiteral("%1: %2").arg(file, db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("cannot open")));
    sqlite3_busy_timeout(db, 10000);
    return result;
}

// Copies one database into another in one step: the source is read as one consistent
// picture and the destination written in one transaction. A busy peer is waited for.
void copyDatabase(sqlite3 *from, sqlite3 *to)
{
    for (int attempt = 0; attempt < 200; ++attempt) {
        sqlite3_backup *backup = sqlite3_backup_init(to, "main", from, "main");
        if (!backup)
            fail(QString::fromUtf8(sqlite3_errmsg(to)));
        const int step = sqlite3_backup_step(backup, -1);
        const int finish = sqlite3_backup_finish(backup);
        if (step == SQLITE_DONE && finish == SQLITE_OK)
            return;
        if (step != SQLITE_BUSY && step != SQLITE_LOCKED)
            fail(QString::fromUtf8(sqlite3_errstr(step)));
        QThread::msleep(50);
    }
    fail(QString::fromUtf8(sqlite3_errstr(SQLITE_BUSY)));
}

// A backup of this program: a sound SQLite file holding the tables the start-up check asks for.
void checkSqliteBackup(const QString &file)
{
    QFile header(file);
    if (!header.open(QIODevice::ReadOnly) || header.read(16) != QByteArray("SQLite format 3\0", 16))
        fail(QStringLiteral("%1 is not a backup of this program.").arg(file));
    header.close();
    TSqlite db = openFile(file, SQLITE_OPEN_READONLY);
    auto single = [&db, &file](const char *sql, const QString &parameter = QString()) {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(db.get(), sql, -1, &statement, nullptr) != SQLITE_OK)
            fail(QStringLiteral("%1 is not a sound backup: %2").arg(file, QString::fromUtf8(sqlite3_errmsg(db.get()))));
        const QByteArray bound = parameter.toUtf8();
        if (!parameter.isEmpty())
            sqlite3_bind_text(statement, 1, bound.constData(), int(bound.size()), SQLITE_TRANSIENT);
        QString value;
        if (sqlite3_step(statement) == SQLITE_ROW)
            value = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
        return value;
    };
    if (single("PRAGMA quick_check") != QLatin1String("ok"))
        fail(QStringLiteral("%1 is damaged.").arg(file));
    for (const QString &table : DbSchema::CheckedTables())
        if (single("SELECT name FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE", table).isEmpty())
            fail(QStringLiteral("%1 is not a backup of this program: it has no table %2.").arg(file, table));
}

void takeSqlite(const QString &database, const QString &partial)
{
    {
        TSqlite from = openFile(database, SQLITE_OPEN_READONLY);
        TSqlite to = openFile(partial, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        copyDatabase(from.get(), to.get());
    }
    checkSqliteBackup(partial);
}

// The header fields the program relies on: versions a writer of today reads and writes, a
// page size SQLite can have, text in UTF-8. Anything else would leave every workstation
// reading a database it cannot write.
void checkSqliteHeader(const QString &file)
{
    QFile header(file);
    QByteArray bytes;
    if (header.open(QIODevice::ReadOnly))
        bytes = header.read(100);
    if (bytes.size() < 100 || !bytes.startsWith(QByteArray("SQLite format 3\0", 16)))
        fail(QStringLiteral("%1 is not a backup of this program.").arg(file));
    const int pageSize = (quint8(bytes[16]) << 8) | quint8(bytes[17]);
    const bool pageSizeSound = pageSize == 1 || (pageSize >= 512 && (pageSize & (pageSize - 1)) == 0);
    const int writeVersion = quint8(bytes[18]), readVersion = quint8(bytes[19]);
    const quint32 encoding = (quint32(quint8(bytes[56])) << 24) | (quint8(bytes[57]) << 16) | (quint8(bytes[58]) << 8) |
                             quint8(bytes[59]);
    if (!pageSizeSound || writeVersion < 1 || writeVersion > 2 || readVersion < 1 || readVersion > 2 ||
        (encoding != 0 && encoding != 1))
        fail(QStringLiteral("%1 is not a sound backup: its header is damaged.").arg(file));
}

QString single(sqlite3 *db, const QString &file, const QString &sql)
{
    sqlite3_stmt *statement = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), -1, &statement, nullptr) != SQLITE_OK)
        fail(QStringLiteral("%1 is not a sound backup: %2").arg(file, QString::fromUtf8(sqlite3_errmsg(db))));
    QString value;
    if (sqlite3_step(statement) == SQLITE_ROW)
        value = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
    const int done = sqlite3_finalize(statement);
    if (done != SQLITE_OK)
        fail(QStringLiteral("%1 is not a sound backup: %2").arg(file, QString::fromUtf8(sqlite3_errstr(done))));
    return value;
}

QStringList columnsOf(sqlite3 *db, const QString &table)
{
    QStringList columns;
    sqlite3_stmt *statement = nullptr;
    const QByteArray sql = (QStringLiteral("PRAGMA table_info(\"") + table + QStringLiteral("\")")).toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr) != SQLITE_OK)
        return columns;
    while (sqlite3_step(statement) == SQLITE_ROW)
        columns.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 1))).toLower());
    sqlite3_finalize(statement);
    return columns;
}

// Every table and column the program reads: all of today's schema for a backup of today's
// version; for an older one, the first version's thirteen tables with their columns (numbered
// below the front desk's q123), which the upgrade at start brings up to date.
void checkSchema(const QString &file, bool versioned, int version,
                 const std::function<QStringList(const QString &table)> &columnsOf)
{
    if (version > SchemaVersion || (versioned && version < 2))
        fail(QStringLiteral("%1 is of schema version %2; this program knows version %3.").arg(file).arg(version).arg(SchemaVersion));
    for (const TTableDef &table : DbSchema::Tables()) {
        const bool firstVersion = DbSchema::CheckedTables().contains(table.Name, Qt::CaseInsensitive) ||
                                  table.Name == QLatin1String("Tarife") || table.Name == QLatin1String("Otstapka");
        if (version < SchemaVersion && !firstVersion)
            continue;
        const QStringList present = columnsOf(table.Name);
        for (const TColumnDef &column : table.Columns) {
            if (version < SchemaVersion && column.Name.mid(1).toInt() >= 123)
                continue;
            if (!present.contains(column.Name.toLower()))
                fail(QStringLiteral("%1 is not a backup of this program: its table %2 lacks %3.")
                         .arg(file, table.Name, column.Name));
        }
    }
}

int sqliteVersion(sqlite3 *db, const QString &file, bool *versioned)
{
    *versioned = !columnsOf(db, QStringLiteral("VersiaBaza")).isEmpty();
    return *versioned ? single(db, file, QStringLiteral("SELECT MAX(q150) FROM VersiaBaza")).toInt() : 1;
}

void checkSqliteSchema(sqlite3 *db, const QString &file)
{
    bool versioned = false;
    const int version = sqliteVersion(db, file, &versioned);
    checkSchema(file, versioned, version, [db](const QString &table) { return columnsOf(db, table); });
}

// A backup of an older version is brought up to date in its copy, as the start would bring it,
// so that one the upgrade cannot take is refused before the live database is touched.
void upgradeCopy(const QString &connectionString, const QString &copy, const QString &file)
{
    TADOConnection connection;
    connection.SetConnectionString(connectionString);
    connection.SetDefaultDatabase(copy);
    try {
        connection.Open();
        SchemaUpgrade::BringUpToDate(connection);
    } catch (const EDatabaseError &error) {
        connection.Close();
        fail(QStringLiteral("%1 cannot be brought up to this program's version: %2").arg(file, error.Message()));
    }
    connection.Close();
}

// The embedded engine reaches a file through its catalogue: the copy is listed there under a
// name of its own while the upgrade works on it.
void upgradeSqliteCopy(const QString &connectionString, const QString &copy, const QString &file)
{
    const QString name = QStringLiteral("kalv_restore_check");
    TADOConnection catalogue;
    catalogue.SetConnectionString(connectionString);
    catalogue.SetDefaultDatabase(QStringLiteral("master"));
    catalogue.Open();
    auto &engine = static_cast<TSqliteEngine &>(catalogue.Engine());
    engine.ForgetDatabase(name);  // left by a check that was killed
    engine.AttachDatabase(catalogue, name, copy);
    try {
        upgradeCopy(connectionString, name, file);
    } catch (...) {
        engine.ForgetDatabase(name);
        throw;
    }
    engine.ForgetDatabase(name);
}

// A restore is first made into a copy of its own and checked there: whole (integrity), the
// program's schema, and writable. Only a sound copy replaces the live database, in one step.
void restoreSqlite(const QString &database, const QString &file, const QString &connectionString)
{
    checkSqliteHeader(file);
    QTemporaryFile made(database + QStringLiteral(".XXXXXX.restore"));
    if (!made.open())
        fail(QStringLiteral("%1 cannot be restored: no room beside the database.").arg(file));
    made.close();
    const QString copy = made.fileName();
    try {
        TSqlite from = openFile(file, SQLITE_OPEN_READONLY);
        TSqlite to = openFile(copy, SQLITE_OPEN_READWRITE);
        copyDatabase(from.get(), to.get());
    } catch (const EBackupError &error) {
        fail(QStringLiteral("%1 is damaged: %2").arg(file, error.Message()));
    }
    checkSqliteHeader(copy);
    {
        TSqlite db = openFile(copy, SQLITE_OPEN_READWRITE);
        if (single(db.get(), file, QStringLiteral("PRAGMA integrity_check")) != QLatin1String("ok"))
            fail(QStringLiteral("%1 is damaged.").arg(file));
        checkSqliteSchema(db.get(), file);
        bool versioned = false;
        if (sqliteVersion(db.get(), file, &versioned) < SchemaVersion) {
            upgradeSqliteCopy(connectionString, copy, file);
            checkSqliteSchema(db.get(), file);  // now all of today's tables and columns
        }
        char *error = nullptr;
        const int written = sqlite3_exec(db.get(),
                                         "BEGIN IMMEDIATE; CREATE TABLE kalv_restore_probe (x INTEGER); "
                                         "INSERT INTO kalv_restore_probe VALUES (1); ROLLBACK;",
                                         nullptr, nullptr, &error);
        const QString why = error ? QString::fromUtf8(error) : QString();
        sqlite3_free(error);
        if (written != SQLITE_OK) {
            sqlite3_exec(db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
            fail(QStringLiteral("%1 cannot be written once restored: %2").arg(file, why));
        }
    }
    TSqlite from = openFile(copy, SQLITE_OPEN_READONLY);
    TSqlite to = openFile(database, SQLITE_OPEN_READWRITE);
    copyDatabase(from.get(), to.get());
}

// ---- PostgreSQL

struct TServer {
    QString Host, User, Password, Database;
    int Port = -1;
    QString SslMode, SslRootCert;  // as the program's own connection has them
};

QString tool(const QString &name)
{
    QString found = QStandardPaths::findExecutable(name);
    if (found.isEmpty()) {
        // Debian keeps each server version's tools in a folder of its own; take the newest.
        const QStringList versions = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (auto it = versions.crbegin(); it != versions.crend() && found.isEmpty(); ++it)
            found = QStandardPaths::findExecutable(name, {QStringLiteral("/usr/lib/postgresql/%1/bin").arg(*it)});
    }
    if (found.isEmpty())
        fail(QStringLiteral("%1 was not found: install the package postgresql-client.").arg(name));
    return found;
}

QString run(const TServer &server, const QString &program, QStringList arguments)
{
    arguments << QStringLiteral("--host") << server.Host << QStringLiteral("--username") << server.User
              << QStringLiteral("--no-password");
    if (server.Port > 0)
        arguments << QStringLiteral("--port") << QString::number(server.Port);
    QProcess process;
    TSystemWinOS::EndWithThisProcess(process);  // a killed backup takes its dump with it
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PGPASSWORD"), server.Password);
    environment.insert(QStringLiteral("PGCONNECT_TIMEOUT"), QStringLiteral("10"));
    // The tools trust the server exactly as the program does.
    if (!server.SslMode.isEmpty())
        environment.insert(QStringLiteral("PGSSLMODE"), server.SslMode);
    if (!server.SslRootCert.isEmpty())
        environment.insert(QStringLiteral("PGSSLROOTCERT"), server.SslRootCert);
    process.setProcessEnvironment(environment);
    process.start(tool(program), arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        fail(QStringLiteral("%1: %2").arg(program, QString::fromLocal8Bit(process.readAllStandardError()).trimmed()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

void checkPostgresBackup(const TServer &server, const QString &file)
{
    QFile header(file);
    if (!header.open(QIODevice::ReadOnly) || header.read(5) != "PGDMP")
        fail(QStringLiteral("%1 is not a backup of this program.").arg(file));
    header.close();
    QString contents;
    try {
        contents = run(server, QStringLiteral("pg_restore"), {QStringLiteral("--list"), file});
    } catch (const EBackupError &error) {
        fail(QStringLiteral("%1 is not a sound backup: %2").arg(file, error.Message()));
    }
    for (const QString &table : DbSchema::CheckedTables())
        if (!contents.contains(QStringLiteral(" TABLE public ") + table.toLower() + QLatin1Char(' ')))
            fail(QStringLiteral("%1 is not a backup of this program: it has no table %2.").arg(file, table));
}

void takePostgres(const TServer &server, const QString &partial)
{
    run(server, QStringLiteral("pg_dump"),
        {QStringLiteral("--format=custom"), QStringLiteral("--no-owner"),
         // Open reservation windows' staging tables are not the hotel's data.
         QStringLiteral("--exclude-table=#temp*"), QStringLiteral("--file"), partial, QStringLiteral("--dbname"),
         server.Database});
    checkPostgresBackup(server, partial);
}

// The backup restored into a scratch database of its own and checked there: the schema's
// tables and columns (brought up to date when older), and a test write; the checked copy is
// written to CHECKED as SQL; the scratch database goes whatever the outcome.
void checkPostgresRestore(const TServer &server, const QString &file, const QString &connectionString,
                          const QString &checked)
{
    TServer scratch = server;
    scratch.Database = server.Database.toLower() + QStringLiteral("_kalv_restore_check");
    run(scratch, QStringLiteral("dropdb"), {QStringLiteral("--if-exists"), scratch.Database});
    run(scratch, QStringLiteral("createdb"), {scratch.Database});
    try {
        try {
            run(scratch, QStringLiteral("pg_restore"),
                {QStringLiteral("--exit-on-error"), QStringLiteral("--no-owner"), QStringLiteral("--dbname"),
                 scratch.Database, file});
        } catch (const EBackupError &error) {
            fail(QStringLiteral("%1 is not a sound backup: %2").arg(file, error.Message()));
        }
        auto psql = [&](const QString &sql) {
            return run(scratch, QStringLiteral("psql"), {QStringLiteral("-At"), QStringLiteral("-v"),
                                                         QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-d"),
                                                         scratch.Database, QStringLiteral("-c"), sql});
        };
        QHash<QString, QStringList> columns;
        auto readColumns = [&] {
            columns.clear();
            for (const QString &line : psql(QStringLiteral("SELECT table_name || '|' || column_name FROM "
                                                           "information_schema.columns WHERE table_schema = 'public'"))
                                           .split(QLatin1Char('\n'), Qt::SkipEmptyParts))
                columns[line.section(QLatin1Char('|'), 0, 0)].append(line.section(QLatin1Char('|'), 1).toLower());
        };
        readColumns();
        const bool versioned = columns.contains(QStringLiteral("versiabaza"));
        const int version = versioned ? psql(QStringLiteral("SELECT MAX(q150) FROM versiabaza")).trimmed().toInt() : 1;
        auto columnsOfTable = [&columns](const QString &table) { return columns.value(table.toLower()); };
        checkSchema(file, versioned, version, columnsOfTable);
        if (version < SchemaVersion) {
            upgradeCopy(connectionString, scratch.Database, file);
            readColumns();
            checkSchema(file, true, SchemaVersion, columnsOfTable);
        }
        try {
            psql(QStringLiteral("BEGIN; CREATE TABLE kalv_restore_probe (x integer); INSERT INTO kalv_restore_probe "
                                "VALUES (1); ROLLBACK;"));
        } catch (const EBackupError &error) {
            fail(QStringLiteral("%1 cannot be written once restored: %2").arg(file, error.Message()));
        }
        // What replaces the live database is the checked copy, upgraded where it was older.
        run(scratch, QStringLiteral("pg_dump"),
            {QStringLiteral("--format=plain"), QStringLiteral("--no-owner"), QStringLiteral("--file"), checked,
             QStringLiteral("--dbname"), scratch.Database});
    } catch (...) {
        run(scratch, QStringLiteral("dropdb"), {QStringLiteral("--if-exists"), scratch.Database});
        throw;
    }
    run(scratch, QStringLiteral("dropdb"), {QStringLiteral("--if-exists"), scratch.Database});
}

void restorePostgres(const TServer &server, const QString &file, const QString &connectionString)
{
    checkPostgresBackup(server, file);
    QTemporaryFile checked(QDir::tempPath() + QStringLiteral("/kalv-restore-XXXXXX.sql"));
    if (!checked.open())
        fail(QStringLiteral("%1 cannot be restored: no room for its checked copy.").arg(file));
    checked.close();
    checkPostgresRestore(server, file, connectionString, checked.fileName());
    // One transaction: the schema emptied (tables a newer version added included) and filled
    // from the checked copy; a failure anywhere leaves the database as it was.
    run(server, QStringLiteral("psql"),
        {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
         QStringLiteral("--single-transaction"), QStringLiteral("-d"), server.Database, QStringLiteral("-c"),
         QStringLiteral("DROP SCHEMA public CASCADE; CREATE SCHEMA public;"), QStringLiteral("-f"), checked.fileName()});
}

// The embedded engine opens its files by URI ("file:///…?mode=rw"): the file itself.
QString sqliteFile(const QSqlDatabase &db)
{
    const QString name = db.databaseName();
    return name.startsWith(QLatin1String("file:")) ? QUrl(name).toLocalFile() : name;
}

// The parts being written, each with its writer's process, so that a later start can tell a
// part left by a killed backup from one still being written.
QSettings partsInProgress() { return QSettings(QStringLiteral("Oxtarne"), QStringLiteral("Backup parts")); }

// Noted before the part exists: a backup killed at any moment leaves its note behind it.
struct TPartNote {
    QString Key;
    TPartNote(const QString &file)
        : Key(QString::fromLatin1(file.toUtf8().toBase64(QByteArray::Base64UrlEncoding)) + QLatin1Char('-') +
              QString::number(QCoreApplication::applicationPid()))
    {
        QSettings parts = partsInProgress();
        parts.setValue(Key + QStringLiteral("/file"), file);
        parts.setValue(Key + QStringLiteral("/pid"), QCoreApplication::applicationPid());
        parts.sync();
    }
    ~TPartNote()
    {
        QSettings parts = partsInProgress();
        parts.remove(Key);
        parts.sync();
    }
};

// A backup is written beside its file and takes the file's name only when it is whole and
// checked, so that a failed backup never replaces a good one.
void writeWhole(const QString &file, const std::function<void(const QString &partial)> &write)
{
    // Made new under a name nobody could foresee, its owner's alone: a link planted beside the
    // backup leads nowhere.
    const TPartNote note(file);
    QTemporaryFile made(file + QStringLiteral(".XXXXXX.partial"));
    made.setAutoRemove(false);
    if (!made.open())
        fail(QStringLiteral("%1 cannot be written.").arg(file));
    const QString partial = made.fileName();
    made.close();
    try {
        write(partial);
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
    QFile::setPermissions(partial, QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(file);
    if (!QFile::rename(partial, file)) {
        QFile::remove(partial);
        fail(QStringLiteral("%1 cannot be written.").arg(file));
    }
}

TServer serverOf(const QSqlDatabase &db)
{
    TServer server{db.hostName(), db.userName(), db.password(), db.databaseName(), db.port(), {}, {}};
    for (const QString &option : db.connectOptions().split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString key = option.section(QLatin1Char('='), 0, 0).trimmed();
        QString value = option.section(QLatin1Char('='), 1).trimmed();
        if (value.size() >= 2 && value.startsWith(QLatin1Char('\'')) && value.endsWith(QLatin1Char('\'')))
            value = value.mid(1, value.size() - 2).replace(QStringLiteral("\\'"), QStringLiteral("'")).replace(
                QStringLiteral("\\\\"), QStringLiteral("\\"));
        if (key == QLatin1String("sslmode"))
            server.SslMode = value;
        else if (key == QLatin1String("sslrootcert"))
            server.SslRootCert = value;
    }
    return server;
}

} // namespace

void Take(const QString &file)
{
    TADOConnection &connection = LocalConnection();
    const QString engine = connection.Engine().Name();
    const QSqlDatabase db = connection.Database();
    if (engine == QLatin1String("SQLite"))
        writeWhole(file, [&db](const QString &partial) { takeSqlite(sqliteFile(db), partial); });
    else if (engine == QLatin1String("PostgreSQL"))
        writeWhole(file, [&db](const QString &partial) { takePostgres(serverOf(db), partial); });
    else
        fail(QStringLiteral("Backups of a SQL Server database are made with the server's own tools."));
}

void Restore(const QString &file)
{
    if (!QFileInfo(file).isFile())
        fail(QStringLiteral("%1 does not exist.").arg(file));
    TADOConnection &connection = LocalConnection();
    const QString engine = connection.Engine().Name();
    const QSqlDatabase db = connection.Database();
    const QString database = sqliteFile(db);
    const TServer server = serverOf(db);
    const QString connectionString = connection.ConnectionString();
    if (engine != QLatin1String("SQLite") && engine != QLatin1String("PostgreSQL"))
        fail(QStringLiteral("Backups of a SQL Server database are restored with the server's own tools."));
    connection.Close();
    if (engine == QLatin1String("SQLite"))
        restoreSqlite(database, file, connectionString);
    else
        restorePostgres(server, file, connectionString);
}

void RemoveInterruptedParts()
{
    QSettings parts = partsInProgress();
    for (const QString &key : parts.childGroups()) {
        const QFileInfo file(parts.value(key + QStringLiteral("/file")).toString());
        if (TSystemWinOS::ProcessRuns(parts.value(key + QStringLiteral("/pid")).toLongLong()))
            continue;
        // The parts of that backup: its file's name, six letters, ".partial".
        const QDir folder = file.absoluteDir();
        for (const QString &part : folder.entryList({file.fileName() + QStringLiteral(".??????.partial")}, QDir::Files))
            QFile::remove(folder.filePath(part));
        parts.remove(key);
    }
    parts.sync();
}

} // namespace Backup
