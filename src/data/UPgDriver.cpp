#include "UPgDriver.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>
#include <QVariant>
#include <algorithm>
#include <libpq-fe.h>
#include <vector>

namespace {

// The server's type numbers (pg_type.oid) of the columns the program reads.
enum TPgType : Oid {
    ptBool = 16, ptBytes = 17, ptInt8 = 20, ptInt2 = 21, ptInt4 = 23, ptOid = 26, ptFloat4 = 700, ptFloat8 = 701,
    ptDate = 1082, ptTime = 1083, ptTimestamp = 1114, ptTimestampTz = 1184, ptTimeTz = 1266, ptNumeric = 1700
};

QMetaType metaTypeOf(Oid type)
{
    switch (type) {
    case ptBool:
        return QMetaType(QMetaType::Bool);
    case ptInt8:
        return QMetaType(QMetaType::LongLong);
    case ptInt2:
    case ptInt4:
    case ptOid:
        return QMetaType(QMetaType::Int);
    case ptFloat4:
    case ptFloat8:
    case ptNumeric:
        return QMetaType(QMetaType::Double);
    case ptDate:
        return QMetaType(QMetaType::QDate);
    case ptTime:
    case ptTimeTz:
        return QMetaType(QMetaType::QTime);
    case ptTimestamp:
    case ptTimestampTz:
        return QMetaType(QMetaType::QDateTime);
    case ptBytes:
        return QMetaType(QMetaType::QByteArray);
    default:
        return QMetaType(QMetaType::QString);
    }
}

// A value as the server wrote it in text, made what Qt's own driver makes of it.
QVariant decode(Oid type, const char *text, int length)
{
    const QByteArray raw = QByteArray::fromRawData(text, length);
    switch (type) {
    case ptBool:
        return QVariant(text[0] == 't');
    case ptInt8:
        return QVariant(raw.toLongLong());
    case ptInt2:
    case ptInt4:
    case ptOid:
        return QVariant(raw.toInt());
    case ptFloat4:
    case ptFloat8:
    case ptNumeric: {
        bool ok = false;
        const double value = raw.toDouble(&ok);
        return ok ? QVariant(value) : QVariant(QString::fromLatin1(raw));
    }
    case ptDate:
        return QVariant(QDate::fromString(QString::fromLatin1(raw), Qt::ISODate));
    case ptTime:
    case ptTimeTz:
        return QVariant(QTime::fromString(QString::fromLatin1(raw.left(8)), Qt::ISODate));
    case ptTimestamp:
        return QVariant(QDateTime::fromString(QString::fromLatin1(raw).replace(10, 1, QLatin1Char('T')), Qt::ISODateWithMs));
    case ptTimestampTz: {
        // The zone after the time, "+02" or "+05:30", as ISO writes it.
        QString iso = QString::fromLatin1(raw).replace(10, 1, QLatin1Char('T'));
        const qsizetype zone = std::max(iso.lastIndexOf(QLatin1Char('+')), iso.lastIndexOf(QLatin1Char('-')));
        if (zone > 10 && iso.size() - zone == 3)
            iso += QStringLiteral(":00");
        return QVariant(QDateTime::fromString(iso, Qt::ISODateWithMs).toLocalTime());
    }
    case ptBytes: {
        size_t size = 0;
        unsigned char *bytes = PQunescapeBytea(reinterpret_cast<const unsigned char *>(text), &size);
        const QByteArray value(reinterpret_cast<const char *>(bytes), qsizetype(size));
        PQfreemem(bytes);
        return QVariant(value);
    }
    default:
        return QVariant(QString::fromUtf8(raw));
    }
}

// A bound value as the server reads it; binary data goes as bytes.
struct TParameterText {
    QByteArray Text;
    bool Null = false, Binary = false;
};

// A null as Qt's drivers take one: a null variant, a null text or bytes, a date that is none.
bool isNullValue(const QVariant &value)
{
    if (value.isNull())
        return true;
    switch (value.metaType().id()) {
    case QMetaType::QString:
        return value.toString().isNull();
    case QMetaType::QByteArray:
        return value.toByteArray().isNull();
    case QMetaType::QDate:
        return !value.toDate().isValid();
    case QMetaType::QTime:
        return !value.toTime().isValid();
    case QMetaType::QDateTime:
        return !value.toDateTime().isValid();
    default:
        return false;
    }
}

TParameterText encode(const QVariant &value)
{
    if (isNullValue(value))
        return {{}, true, false};
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return {value.toBool() ? "true" : "false"};
    case QMetaType::QDate:
        return {value.toDate().toString(Qt::ISODate).toLatin1()};
    case QMetaType::QTime:
        return {value.toTime().toString(Qt::ISODateWithMs).toLatin1()};
    case QMetaType::QDateTime:
        return {value.toDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")).toLatin1()};
    case QMetaType::Double:
    case QMetaType::Float:
        return {QByteArray::number(value.toDouble(), 'g', 17)};
    case QMetaType::QByteArray:
        return {value.toByteArray(), false, true};
    default:
        return {value.toString().toUtf8()};
    }
}

// The markers "?" of a text outside its quotes, numbered $1, $2, ... as the server takes them.
QString numberedMarkers(const QString &sql)
{
    QString result;
    result.reserve(sql.size() + 16);
    QChar quote;
    int number = 0;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('?')) {
            result += QLatin1Char('$') + QString::number(++number);
            continue;
        }
        result += c;
    }
    return result;
}

// "name=value;name='value'" items as libpq's keywords and values.
void parseOptions(const QString &options, QList<QByteArray> &keys, QList<QByteArray> &values)
{
    for (const QString &item : options.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype equals = item.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        QString value = item.mid(equals + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(QLatin1Char('\'')) && value.endsWith(QLatin1Char('\''))) {
            value = value.mid(1, value.size() - 2);
            value.replace(QStringLiteral("\\'"), QStringLiteral("'")).replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
        }
        keys.append(item.left(equals).trimmed().toUtf8());
        values.append(value.toUtf8());
    }
}

} // namespace

// ---- driver

TPgDriver::TPgDriver(QObject *parent) : QSqlDriver(parent) {}

TPgDriver::~TPgDriver() { close(); }

bool TPgDriver::open(const QString &database, const QString &user, const QString &password, const QString &host,
                     int port, const QString &options)
{
    close();
    QList<QByteArray> keys = {"host", "dbname", "user", "password", "client_encoding"};
    QList<QByteArray> values = {host.toUtf8(), database.toUtf8(), user.toUtf8(), password.toUtf8(), "UTF8"};
    if (port > 0) {
        keys.append("port");
        values.append(QByteArray::number(port));
    }
    parseOptions(options, keys, values);
    std::vector<const char *> keywords, texts;
    for (int i = 0; i < keys.size(); ++i) {
        keywords.push_back(keys.at(i).constData());
        texts.push_back(values.at(i).constData());
    }
    keywords.push_back(nullptr);
    texts.push_back(nullptr);
    m_connection = PQconnectdbParams(keywords.data(), texts.data(), 0);
    if (PQstatus(m_connection) != CONNECTION_OK) {
        setLastError(ErrorOf(QStringLiteral("Unable to connect"), nullptr, QSqlError::ConnectionError));
        setOpenError(true);
        PQfinish(m_connection);
        m_connection = nullptr;
        return false;
    }
    setOpen(true);
    setOpenError(false);
    return true;
}

void TPgDriver::close()
{
    if (m_connection) {
        PQfinish(m_connection);
        m_connection = nullptr;
    }
    setOpen(false);
    setOpenError(false);
}

bool TPgDriver::hasFeature(DriverFeature feature) const
{
    switch (feature) {
    case Transactions:
    case QuerySize:
    case BLOB:
    case Unicode:
    case PreparedQueries:
    case PositionalPlaceholders:
    case LowPrecisionNumbers:
        return true;
    default:
        return false;
    }
}

QSqlResult *TPgDriver::createResult() const { return new TPgResult(this); }

bool TPgDriver::Command(const char *sql, QSqlError::ErrorType type)
{
    PGresult *result = PQexec(m_connection, sql);
    const ExecStatusType status = PQresultStatus(result);
    // A commit of a transaction that failed ends it, but as a rollback.
    const bool committing = qstrcmp(sql, "COMMIT") == 0;
    const bool done = status == PGRES_COMMAND_OK && !(committing && qstrcmp(PQcmdStatus(result), "ROLLBACK") == 0);
    if (!done)
        setLastError(ErrorOf(QString::fromLatin1(sql), status == PGRES_COMMAND_OK ? nullptr : result, type));
    if (!done && status == PGRES_COMMAND_OK)
        setLastError(QSqlError(QStringLiteral("Could not commit transaction"),
                               QStringLiteral("The transaction failed and was rolled back."), type));
    PQclear(result);
    return done;
}

bool TPgDriver::beginTransaction() { return isOpen() && Command("BEGIN", QSqlError::TransactionError); }

bool TPgDriver::commitTransaction() { return isOpen() && Command("COMMIT", QSqlError::TransactionError); }

bool TPgDriver::rollbackTransaction() { return isOpen() && Command("ROLLBACK", QSqlError::TransactionError); }

QVariant TPgDriver::handle() const { return QVariant::fromValue(static_cast<void *>(m_connection)); }

QString TPgDriver::escapeIdentifier(const QString &identifier, IdentifierType) const
{
    if (identifier.startsWith(QLatin1Char('"')) && identifier.endsWith(QLatin1Char('"')))
        return identifier;
    QString escaped = identifier;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QSqlError TPgDriver::ErrorOf(const QString &what, const pg_result *result, QSqlError::ErrorType type) const
{
    const char *message = result ? PQresultErrorMessage(result) : nullptr;
    if (!message || !*message)
        message = m_connection ? PQerrorMessage(m_connection) : "no connection to the server";
    const char *state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    return QSqlError(what, QString::fromUtf8(message).trimmed(), type, QString::fromLatin1(state ? state : ""));
}

// ---- result

TPgResult::TPgResult(const TPgDriver *driver) : QSqlResult(driver) {}

TPgResult::~TPgResult() { Clear(); }

void TPgResult::Clear()
{
    if (m_result) {
        PQclear(m_result);
        m_result = nullptr;
    }
    setAt(QSql::BeforeFirstRow);
    setActive(false);
}

bool TPgResult::Take(pg_result *result)
{
    Clear();
    m_result = result;
    const ExecStatusType status = PQresultStatus(result);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        setLastError(Driver()->ErrorOf(QStringLiteral("Unable to run the statement"), result, QSqlError::StatementError));
        PQclear(m_result);
        m_result = nullptr;
        return false;
    }
    setSelect(status == PGRES_TUPLES_OK);
    setActive(true);
    return true;
}

bool TPgResult::reset(const QString &query)
{
    if (!driver() || !driver()->isOpen())
        return false;
    return Take(PQexec(Driver()->Connection(), query.toUtf8().constData()));
}

bool TPgResult::prepare(const QString &query)
{
    // Nothing goes to the server yet: the text travels with its values in one round trip.
    Clear();
    m_statement = numberedMarkers(query);
    return true;
}

bool TPgResult::exec()
{
    if (!driver() || !driver()->isOpen())
        return false;
    const QVariantList bound = boundValues();
    std::vector<TParameterText> texts;
    texts.reserve(size_t(bound.size()));
    for (const QVariant &value : bound)
        texts.push_back(encode(value));
    std::vector<const char *> values;
    std::vector<int> lengths, formats;
    for (const TParameterText &text : texts) {
        values.push_back(text.Null ? nullptr : text.Text.constData());
        lengths.push_back(int(text.Text.size()));
        formats.push_back(text.Binary ? 1 : 0);
    }
    const QByteArray sql = m_statement.toUtf8();
    return Take(PQexecParams(Driver()->Connection(), sql.constData(), int(values.size()), nullptr, values.data(),
                             lengths.data(), formats.data(), 0));
}

QVariant TPgResult::data(int field)
{
    if (!m_result || at() < 0 || field < 0 || field >= PQnfields(m_result))
        return {};
    const Oid type = PQftype(m_result, field);
    if (PQgetisnull(m_result, at(), field))
        return QVariant(metaTypeOf(type));
    return decode(type, PQgetvalue(m_result, at(), field), PQgetlength(m_result, at(), field));
}

bool TPgResult::isNull(int field) { return !m_result || at() < 0 || PQgetisnull(m_result, at(), field); }

bool TPgResult::fetch(int row)
{
    if (!isActive() || !m_result || row < 0 || row >= PQntuples(m_result))
        return false;
    setAt(row);
    return true;
}

bool TPgResult::fetchFirst() { return fetch(0); }

bool TPgResult::fetchLast() { return m_result && fetch(PQntuples(m_result) - 1); }

int TPgResult::size() { return m_result && isSelect() ? PQntuples(m_result) : -1; }

int TPgResult::numRowsAffected() { return m_result ? QByteArray(PQcmdTuples(m_result)).toInt() : -1; }

QSqlRecord TPgResult::record() const
{
    QSqlRecord fields;
    if (!m_result || !isSelect())
        return fields;
    for (int i = 0; i < PQnfields(m_result); ++i)
        fields.append(QSqlField(QString::fromUtf8(PQfname(m_result, i)), metaTypeOf(PQftype(m_result, i))));
    return fields;
}

QVariant TPgResult::handle() const { return QVariant::fromValue(static_cast<void *>(m_result)); }
