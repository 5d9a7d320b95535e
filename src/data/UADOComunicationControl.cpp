#include "UADOComunicationControl.h"

#include "UDM.h"
#include "UDLLSafeCall.h"
#include "UDataLinkDialog.h"
#include "URegistry.h"
#include "errors/UExceptionLogs.h"
#include "startup/UConstMessagesHotel.h"

namespace {

const QString kDataSource = QStringLiteral("Data Source=");

// Where each item of a connection string begins, its quoted values skipped whole.
QList<int> itemStarts(const QString &text)
{
    QList<int> starts;
    int at = 0;
    while (at < text.size()) {
        starts.append(at);
        const int equals = int(text.indexOf(QLatin1Char('='), at));
        int end = int(text.indexOf(QLatin1Char(';'), at));
        if (equals >= 0 && (end < 0 || equals < end) && equals + 1 < text.size() &&
            (text.at(equals + 1) == QLatin1Char('"') || text.at(equals + 1) == QLatin1Char('\''))) {
            const QChar quote = text.at(equals + 1);
            int close = equals + 2;
            while (close < text.size()) {
                if (text.at(close) == quote && close + 1 < text.size() && text.at(close + 1) == quote)
                    close += 2;
                else if (text.at(close) == quote)
                    break;
                else
                    ++close;
            }
            end = int(text.indexOf(QLatin1Char(';'), close));
        }
        at = end < 0 ? int(text.size()) : end + 1;
    }
    return starts;
}

// The text from the first occurrence of the key phrase; the whole text when it is missing.
// Where values are quoted, only the start of an item counts, never a phrase inside a value.
QString fromPhrase(const QString &text, const QString &phrase)
{
    if (!text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\''))) {
        const int at = int(text.indexOf(phrase));
        return at < 0 ? text : text.mid(at);
    }
    for (const int start : itemStarts(text))
        if (text.mid(start).startsWith(phrase))
            return text.mid(start);
    return text;
}

// Keeps the value of the first "key=value;" item of the text.
QString guardedCuts(QString text)
{
    if (text.contains(QLatin1Char(';')))
        text = text.left(text.indexOf(QLatin1Char(';')) + 1);
    if (text.contains(QLatin1Char('=')))
        text = text.mid(text.indexOf(QLatin1Char('=')) + 1);
    if (text.contains(QLatin1Char(';')))
        text = text.left(text.indexOf(QLatin1Char(';')));
    return text;
}

} // namespace

int TAdoParametarsTypeElements::AddParameter(const QString &name, const QVariant &value, quint8 tag1, quint8 tag2)
{
    auto element = std::make_shared<TCtrl>();
    element->Name = name;
    element->Value = value;
    element->Tag1 = tag1;
    element->Tag2 = tag2;
    element->Size = 16;
    m_items.append(element);
    return ++m_count;
}

QString TConnectionParts::Join() const
{
    QString source = Server;
    if (!Instance.trimmed().isEmpty())
        source += QLatin1Char('\\') + Instance;
    auto item = [](const char *key, const QString &value) {
        return QLatin1String(key) + TConnectionItems::QuoteValue(value) + QLatin1Char(';');
    };
    return item("Provider=", Provider) + item("Password=", Password) + QStringLiteral("Persist Security Info=True;") +
           item("User ID=", User) + item("Initial Catalog=", Database) + item("Data Source=", source) +
           QStringLiteral("Use Procedure for Prepare=1;") + QStringLiteral("Auto Translate=True;") +
           QStringLiteral("Packet Size=4096;") + item("Workstation ID=", Server) +
           QStringLiteral("Use Encryption for Data=False;") +
           QStringLiteral("Tag with column collation when possible=False;") +
           (SslMode.isEmpty() ? QString() : item("SSL Mode=", SslMode)) +
           (SslRootCert.isEmpty() ? QString() : item("SSL Root Cert=", SslRootCert));
}

TADOComunicationControl::TADOComunicationControl() = default;
TADOComunicationControl::~TADOComunicationControl() = default;

bool TADOComunicationControl::BuildFromSettings(const QString &database, QString &connectionString)
{
    TRegistry registry;
    connectionString.clear();
    if (!registry.OpenKey(SqlSettings::Key, false))
        return true;  // no parts at all
    TConnectionParts parts;
    parts.Provider = registry.ReadString(SqlSettings::Provider);
    TDLLSafeCall library;
    if (!library.LoadFunction(1, QStringLiteral("HashingKey")))
        return false;
    parts.Password = library.DecryptText(registry.ReadString(SqlSettings::Password));
    if (!library.Unload())
        return false;
    parts.User = registry.ReadString(SqlSettings::User);
    parts.Database = database;
    parts.Server = registry.ReadString(SqlSettings::ComputerName);
    parts.Instance = registry.ReadString(SqlSettings::Instance);
    parts.SslMode = registry.ReadString(SqlSettings::SslMode);
    parts.SslRootCert = registry.ReadString(SqlSettings::SslRootCert);
    connectionString = parts.Join();
    return true;
}

bool TADOComunicationControl::BuildAndOpen(TADOConnection *connection, const QString &database)
{
    try {
        QString connectionString;
        if (!BuildFromSettings(database, connectionString))
            return false;
        connection->Close();
        connection->SetDefaultDatabase(database);
        connection->SetConnectionString(connectionString);
        connection->Open();
        return true;
    } catch (const Exception &) {
        return false;
    }
}

bool TADOComunicationControl::ConnectFromSettings()
{
    if (!TDM::Instance())
        return false;
    TADOConnection *connection = TDM::Instance()->ADOLocalConnection;
    if (connection->Connected())
        return true;
    QString database;
    try {
        TRegistry registry;
        if (!registry.OpenKey(SqlSettings::Key, false))
            return false;
        for (const QString &required :
             {SqlSettings::Provider, SqlSettings::User, SqlSettings::DataBase, SqlSettings::ComputerName})
            if (registry.ReadString(required).trimmed().isEmpty())
                return false;
        database = registry.ReadString(SqlSettings::DataBase);
    } catch (const Exception &) {
        return false;
    }
    return BuildAndOpen(connection, database);
}

bool TADOComunicationControl::ConnectToDatabase(const QString &database)
{
    return TDM::Instance() && BuildAndOpen(TDM::Instance()->ADOLocalConnection, database);
}

bool TADOComunicationControl::ConnectWithSettings(TADOConnection *connection)
{
    try {
        TRegistry registry;
        const QString database =
            registry.OpenKey(SqlSettings::Key, false) ? registry.ReadString(SqlSettings::DataBase) : QString();
        return BuildAndOpen(connection, database);
    } catch (const Exception &) {
        return false;
    }
}

bool TADOComunicationControl::ConnectToCatalog(TADOConnection *connection, const QString &database)
{
    return connection && BuildAndOpen(connection, database);
}

void TADOComunicationControl::CloseConnection()
{
    if (TDM::Instance())
        TDM::Instance()->ADOLocalConnection->Close();
}

QString TADOComunicationControl::NewTempTableName()
{
    try {
        ++TempTableCounter;
        return QStringLiteral("#TEMP") + QString::number(TempTableCounter);
    } catch (const std::exception &error) {
        TExceptionLogs::Show(QString::fromUtf8(error.what()));
        return QStringLiteral("#TEMP1000");
    }
}

TADOQuery *TADOComunicationControl::OpenQuery(const QString &sql, const TAdoParametarsTypeElements &parameters)
{
    if (parameters.Count() == 0)
        return nullptr;
    TADOConnection *connection = TDM::Instance() ? TDM::Instance()->ADOLocalConnection : nullptr;
    try {
        m_query.Close();
        m_query.SQL.clear();
        m_query.ClearParameters();
        m_query.SetConnection(&LocalConnection());
        m_query.SetSQLText(sql);
        QList<TParameter> &markers = m_query.Parameters();
        for (int i = 0; i < parameters.Count() && i < markers.size(); ++i)
            markers[i].Value = parameters.Item(i).Value;
        if (!connection->InTransaction())
            connection->BeginTrans();
        m_query.Open();
        return &m_query;
    } catch (const Exception &error) {
        if (connection && connection->Connected() && connection->InTransaction())
            connection->RollbackTrans();
        TExceptionLogs::Show(error.Message());
        return nullptr;
    }
}

QString TADOComunicationControl::CurrentConnectionString()
{
    return TDM::Instance() ? TDM::Instance()->ADOLocalConnection->ConnectionString() : QString();
}

namespace {

// The value of an item that the builder had to quote, taken apart by the quoting rules; empty
// for an item written plainly, which the cuts below take apart as they always have.
bool quotedValue(const QString &connectionString, const QString &phrase, QString &value)
{
    const QString from = fromPhrase(connectionString, phrase);
    if (!from.startsWith(phrase + QLatin1Char('"')) && !from.startsWith(phrase + QLatin1Char('\'')))
        return false;
    value = TConnectionItems::Parse(from).Value(phrase.left(phrase.size() - 1));
    return true;
}

} // namespace

QString TADOComunicationControl::GetInstanceName(const QString &connectionString) const
{
    if (connectionString.trimmed().isEmpty())
        return {};
    QString value;
    if (!quotedValue(connectionString, kDataSource, value))
        value = guardedCuts(fromPhrase(connectionString, kDataSource));
    const int slash = int(value.indexOf(QLatin1Char('\\')));
    return slash < 0 ? QString() : value.mid(slash + 1).trimmed();
}

QString TADOComunicationControl::GetServerName(const QString &connectionString) const
{
    if (connectionString.trimmed().isEmpty())
        return {};
    QString text;
    if (!quotedValue(connectionString, kDataSource, text)) {
        text = fromPhrase(connectionString, kDataSource);
        const int semicolon = int(text.indexOf(QLatin1Char(';')));
        text = semicolon < 0 ? QString() : text.left(semicolon + 1);
        text = guardedCuts(text);
    }
    const int slash = int(text.indexOf(QLatin1Char('\\')));
    if (slash >= 0)
        text = text.left(slash);
    return text.trimmed();
}

QString TADOComunicationControl::GetServerAndInstance(const QString &connectionString) const
{
    if (connectionString.trimmed().isEmpty())
        return {};
    QString value;
    if (quotedValue(connectionString, kDataSource, value))
        return value;
    return guardedCuts(fromPhrase(connectionString, kDataSource));
}

QString TADOComunicationControl::GetDatabaseName(const QString &connectionString) const
{
    if (connectionString.trimmed().isEmpty())
        return {};
    const QString phrase = QStringLiteral("Initial Catalog=");
    QString value;
    if (quotedValue(connectionString, phrase, value))
        return value.trimmed();
    return guardedCuts(fromPhrase(connectionString, phrase)).trimmed();
}

QString TADOComunicationControl::EditConnectionString()
{
    TADOConnection &connection = LocalConnection();
    connection.Close();
    const QString initial = connection.ConnectionString();
    const QString result = TDataLinkDialog::Edit(initial);
    connection.SetConnectionString(result);
    return result;
}
