#include "UDatabaseSetup.h"

#include "data/USchemaUpgrade.h"

#include "data/UADOComunicationControl.h"
#include "data/UDM.h"
#include "data/UDbEngine.h"
#include "data/UDbSchema.h"
#include "data/UDLLSafeCall.h"
#include "data/URegistry.h"

#include <QRegularExpression>

namespace DatabaseSetup {

bool WriteServerSettings(const TServerSettings &settings)
{
    TRegistry registry;
    if (!registry.OpenKey(SqlSettings::Key, true))
        throw ERegistryException(QStringLiteral("Failed to set data for '\\Software\\Oxtarne\\'"));
    bool libraryWorked = true;
    registry.BeginUpdate();
    registry.WriteString(SqlSettings::ComputerName, settings.Server);
    registry.WriteString(SqlSettings::Instance, settings.Instance);
    registry.WriteString(SqlSettings::Aliase, settings.Alias);
    registry.WriteString(SqlSettings::Authentication, settings.Authentication);
    registry.WriteString(SqlSettings::User, settings.User);
    TDLLSafeCall library;
    if (library.LoadFunction(2, QStringLiteral("HashingKey"))) {
        registry.WriteString(SqlSettings::Password, library.EncryptText(settings.Password));
        libraryWorked = library.Unload();
    } else {
        libraryWorked = false;
    }
    registry.WriteString(SqlSettings::Port, settings.Port);
    registry.WriteString(SqlSettings::Protocol, settings.Protocol);
    registry.WriteString(SqlSettings::DataBase, settings.DataBase);
    registry.WriteString(SqlSettings::Provider, settings.Provider);
    registry.WriteString(SqlSettings::SslMode, settings.SslMode);
    registry.WriteString(SqlSettings::SslRootCert, settings.SslRootCert);
    registry.WriteInteger(SqlSettings::TimeoutConnection, 30);
    registry.WriteInteger(SqlSettings::TimeoutCommand, 30);
    registry.WriteInteger(SqlSettings::IsDynamicPort, settings.DynamicPort ? 1 : 0);
    registry.EndUpdate();
    registry.CloseKey();
    return libraryWorked;
}

namespace {

TResult failed(TADOConnection &connection, const Exception &error)
{
    if (connection.Connected() && connection.InTransaction())
        connection.RollbackTrans();
    return {TOutcome::Failed, error.Message()};
}

} // namespace

void CreateTables(const QString &database)
{
    TADOConnection &connection = LocalConnection();
    TADOQuery query(&connection);
    const QList<TTableDef> &tables = DbSchema::Tables();
    for (int i = 0; i < tables.size(); ++i) {
        query.SQL.clear();
        query.SetSQLText(connection.Engine().CreateTableBatch(database, tables.at(i), i));
        query.ExecSQL();
    }
    connection.Engine().EnsureIndexes(connection);
    // A new database says its version; an old one gains what it lacks.
    SchemaUpgrade::ApplySteps(connection);
}

void EnsureIndexes()
{
    TADOConnection &connection = LocalConnection();
    try {
        TTransaction transaction(connection, false);
        connection.Engine().EnsureIndexes(connection);
        transaction.Commit();
    } catch (const Exception &) {
        // A user who may not create indexes still works, only slower.
        connection.RollbackIfOpen();
    }
}

TResult CreateDatabase(const QString &name)
{
    TADOConnection &connection = LocalConnection();
    TADOComunicationControl control;
    connection.Close();
    if (!control.ConnectToCatalog(&connection, QStringLiteral("tempdb")))
        return {TOutcome::NotConnected, {}};
    try {
        connection.Engine().CheckNewDatabaseName(name);
        connection.Engine().CreateDatabase(connection, name);
        connection.Close();
        if (!control.ConnectToDatabase(name))
            return {TOutcome::NotConnected, {}};
        connection.SetDefaultDatabase(name);
        connection.Open();
        connection.BeginTrans();
        CreateTables(name);
        connection.CommitTrans();
        return {TOutcome::Done, {}};
    } catch (const Exception &error) {
        return failed(connection, error);
    }
}

QString LogicalName(const QString &path)
{
    QString normal = path;
    normal.replace(QLatin1Char('/'), QLatin1Char('\\'));
    const int dot = int(normal.lastIndexOf(QLatin1Char('.')));
    const int slash = int(normal.lastIndexOf(QLatin1Char('\\')));
    if (dot < 0 || dot < slash)
        return {};
    return normal.mid(slash + 1, dot - slash - 1);
}

TResult AttachDatabases(const QList<QPair<QString, QString>> &entries)
{
    try {
        TADOConnection &connection = LocalConnection();
        for (int i = int(entries.size()) - 1; i >= 0; --i)
            connection.Engine().AttachDatabase(connection, entries.at(i).first, entries.at(i).second);
        return {TOutcome::Done, {}};
    } catch (const Exception &error) {
        return {TOutcome::Failed, error.Message()};
    }
}

QString ServerLineBreaks(const QString &script)
{
    // A script read for the window ends its lines with a carriage return alone; the servers end
    // a "--" comment at a line feed, so every line ends with both.
    static const QRegularExpression lone(QStringLiteral("\r(?!\n)"));
    return QString(script).replace(lone, QStringLiteral("\r\n"));
}

TResult InstallProcedure(const QString &script)
{
    try {
        TADOConnection &connection = LocalConnection();
        try {
            if (!connection.InTransaction())
                connection.BeginTrans();
            connection.Engine().InstallProcedure(connection, ServerLineBreaks(script));
            if (connection.InTransaction())
                connection.CommitTrans();
            return {TOutcome::Done, {}};
        } catch (const Exception &error) {
            return failed(connection, error);
        }
    } catch (const Exception &error) {
        return {TOutcome::Failed, error.Message()};
    }
}

} // namespace DatabaseSetup
