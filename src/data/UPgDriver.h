#pragma once
// The shared server's connection, spoken through libpq itself: a statement with values goes as
// one unnamed round trip (the extended protocol's parse, bind and execute together), where Qt's
// own driver prepares a named statement, executes it and deallocates it in three. An unnamed
// statement also passes a pooler in transaction mode, which knows no named ones. Values travel
// as text (binary data as bytes); rows come back as Qt's driver gives them, so that the
// program's queries read the same on either.

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlResult>

struct pg_conn;
struct pg_result;

class TPgDriver : public QSqlDriver
{
    Q_OBJECT
public:
    explicit TPgDriver(QObject *parent = nullptr);
    ~TPgDriver() override;

    // Told to the server at connection: "name=value" items as libpq's connection string takes
    // them, separated by ";" (connect_timeout, sslmode, sslrootcert).
    bool open(const QString &database, const QString &user, const QString &password, const QString &host, int port,
              const QString &options) override;
    void close() override;
    bool hasFeature(DriverFeature feature) const override;
    QSqlResult *createResult() const override;
    bool beginTransaction() override;
    bool commitTransaction() override;
    bool rollbackTransaction() override;
    QVariant handle() const override;
    QString escapeIdentifier(const QString &identifier, IdentifierType type) const override;

    pg_conn *Connection() const { return m_connection; }
    // The error of a result (or of the connection when there is none) as Qt's driver words it.
    QSqlError ErrorOf(const QString &what, const pg_result *result, QSqlError::ErrorType type) const;

private:
    bool Command(const char *sql, QSqlError::ErrorType type);
    pg_conn *m_connection = nullptr;
};

class TPgResult : public QSqlResult
{
public:
    explicit TPgResult(const TPgDriver *driver);
    ~TPgResult() override;

protected:
    QVariant data(int field) override;
    bool isNull(int field) override;
    bool reset(const QString &query) override;
    bool prepare(const QString &query) override;
    bool exec() override;
    bool fetch(int row) override;
    bool fetchFirst() override;
    bool fetchLast() override;
    int size() override;
    int numRowsAffected() override;
    QSqlRecord record() const override;
    QVariant handle() const override;

private:
    const TPgDriver *Driver() const { return static_cast<const TPgDriver *>(driver()); }
    bool Take(pg_result *result);
    void Clear();
    pg_result *m_result = nullptr;
    QString m_statement;  // the prepared text with $1, $2, ... for its values
};
