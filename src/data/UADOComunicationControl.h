#pragma once
// Builds the connection string from the stored server settings and opens the shared
// connection; runs parameterised queries on it; names staging tables; takes connection
// strings apart for display.

#include "UAdoDb.h"

#include <QList>
#include <QObject>
#include <QVariant>
#include <memory>

class TCtrl
{
public:
    quint8 Tag1 = 0;
    int Size = 16;
    QVariant Value;
    QString Name;
    quint8 Tag2 = 0;
};

// Typed query parameters in the order of the markers of the text.
class TAdoParametarsTypeElements
{
public:
    int AddParameter(const QString &name, const QVariant &value, quint8 tag1, quint8 tag2);
    int Count() const { return m_count; }
    const TCtrl &Item(int index) const { return *m_items.at(index); }

private:
    QList<std::shared_ptr<TCtrl>> m_items;
    int m_count = 0;
};

// The twelve parts of a connection string from their values.
struct TConnectionParts {
    QString Provider, Password, User, Database, Server, Instance, SslMode, SslRootCert;
    QString Join() const;
};

class TADOComunicationControl
{
public:
    TADOComunicationControl();
    virtual ~TADOComunicationControl();

    virtual bool ConnectFromSettings();
    virtual bool ConnectToDatabase(const QString &database);
    virtual bool ConnectWithSettings(TADOConnection *connection);
    virtual bool ConnectToCatalog(TADOConnection *connection, const QString &database);

    void CloseConnection();
    QString NewTempTableName();
    // The control's query, opened inside a transaction the caller commits; nothing on failure.
    TADOQuery *OpenQuery(const QString &sql, const TAdoParametarsTypeElements &parameters);

    QString GetInstanceName(const QString &connectionString) const;
    QString GetServerName(const QString &connectionString) const;
    QString GetServerAndInstance(const QString &connectionString) const;
    QString GetDatabaseName(const QString &connectionString) const;
    QString EditConnectionString();

    TAdoParametarsTypeElements &ParameterList() { return m_parameters; }

    // The connection string of the stored settings for a database; false when it cannot be built.
    static bool BuildFromSettings(const QString &database, QString &connectionString);

private:
    bool BuildAndOpen(TADOConnection *connection, const QString &database);
    static QString CurrentConnectionString();

    TADOQuery m_query;
    TAdoParametarsTypeElements m_parameters;
};
