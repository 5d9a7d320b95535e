#include "UAdoDb.h"

#include "UDbEngine.h"
#include "framework/UFormatSettings.h"
#include "startup/UConstMessagesDesk.h"

#include <QAtomicInt>
#include <algorithm>
#include <QDateTime>
#include <QHeaderView>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>

namespace {

[[noreturn]] void raise(const QSqlError &error) { RaiseDatabaseError(error); }

QString nextQtName()
{
    static QAtomicInt counter;
    return QStringLiteral("kalv_connection_%1").arg(counter.fetchAndAddRelaxed(1) + 1);
}

bool isIdentifierChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('@'); }

// Engines that store dates as text give them back as "yyyy-MM-dd HH:mm:ss".
QDateTime storedDateTime(const QVariant &value)
{
    if (value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime();
    if (value.metaType().id() == QMetaType::QDate)
        return value.toDate().startOfDay();
    static const QRegularExpression iso(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}( \\d{2}:\\d{2}:\\d{2}(\\.\\d{1,3})?)?$"));
    const QString text = value.toString();
    if (!iso.match(text).hasMatch())
        return {};
    QDateTime result = QDateTime::fromString(text.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!result.isValid())
        result = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd")).startOfDay();
    return result;
}

} // namespace

void RaiseDatabaseError(const QSqlError &error)
{
    const QString text = error.databaseText().trimmed();
    QString message = text.isEmpty() ? error.driverText().trimmed() : text;
    if (message.isEmpty())
        message = QStringLiteral("The database refused the operation.");
    // The embedded engine's words for a file that another workstation is writing.
    // The shared server's: a lock not had in time, a deadlock, a serialization failure.
    static const QStringList busyStates = {"55P03", "40P01", "40001"};
    // The server went away (restarted, stopped, the network broke): nothing of it was done.
    static const QStringList lostWords = {"server closed the connection", "no connection to the server",
                                          "terminating connection", "could not send data to server",
                                          "could not receive data from server", "connection to server", "SSL SYSCALL"};
    const QString code = error.nativeErrorCode();
    if (code.startsWith(QLatin1String("08")) || code == QLatin1String("57P01") || code == QLatin1String("57P02") ||
        code == QLatin1String("57P03") ||
        std::any_of(lostWords.begin(), lostWords.end(), [&](const QString &w) { return message.contains(w, Qt::CaseInsensitive); }))
        throw EDatabaseConnectionLost(msgConnectionLost + QStringLiteral(" (") + message + QLatin1Char(')'));
    if (message.contains(QStringLiteral("database is locked")) || message.contains(QStringLiteral("database table is locked")) ||
        busyStates.contains(error.nativeErrorCode()))
        throw EDatabaseBusy(msgDatabaseBusy + QStringLiteral(" (") + message + QLatin1Char(')'));
    throw EDatabaseError(message);
}

// ---- connection string items

QString TConnectionItems::QuoteValue(const QString &value)
{
    static const QString special = QStringLiteral(";={}\"'");
    if (std::none_of(value.begin(), value.end(), [](QChar c) { return special.contains(c); }))
        return value;
    if (!value.contains(QLatin1Char('"')))
        return QLatin1Char('"') + value + QLatin1Char('"');
    if (!value.contains(QLatin1Char('\'')))
        return QLatin1Char('\'') + value + QLatin1Char('\'');
    return QLatin1Char('"') + QString(value).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

TConnectionItems TConnectionItems::Parse(const QString &connectionString)
{
    TConnectionItems items;
    const QString &text = connectionString;
    int at = 0;
    while (at < text.size()) {
        const int equals = int(text.indexOf(QLatin1Char('='), at));
        const int semicolon = int(text.indexOf(QLatin1Char(';'), at));
        if (equals < 0 || (semicolon >= 0 && semicolon < equals)) {
            if (semicolon < 0)
                break;
            at = semicolon + 1;  // a part without a value
            continue;
        }
        const QString key = text.mid(at, equals - at).trimmed();
        at = equals + 1;
        QString value;
        const QChar quote = at < text.size() ? text.at(at) : QChar();
        if (quote == QLatin1Char('"') || quote == QLatin1Char('\'')) {
            // A quoted value ends at its closing quote; a doubled quote stands for one.
            for (++at; at < text.size(); ++at) {
                if (text.at(at) != quote) {
                    value += text.at(at);
                } else if (at + 1 < text.size() && text.at(at + 1) == quote) {
                    value += quote;
                    ++at;
                } else {
                    ++at;
                    break;
                }
            }
            const int end = int(text.indexOf(QLatin1Char(';'), at));
            at = end < 0 ? int(text.size()) : end + 1;
        } else {
            const int end = int(text.indexOf(QLatin1Char(';'), at));
            value = text.mid(at, end < 0 ? -1 : end - at);
            at = end < 0 ? int(text.size()) : end + 1;
        }
        items.m_items.append({key, value});
    }
    return items;
}

QString TConnectionItems::Value(const QString &key) const
{
    for (const auto &item : m_items)
        if (item.first.compare(key, Qt::CaseInsensitive) == 0)
            return item.second;
    return {};
}

bool TConnectionItems::Contains(const QString &key) const
{
    for (const auto &item : m_items)
        if (item.first.compare(key, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// ---- connection

TADOConnection::TADOConnection(QObject *parent) : QObject(parent), m_qtName(nextQtName()) {}

TADOConnection::~TADOConnection() { Close(); }

void TADOConnection::SetConnectionString(const QString &text)
{
    Close();
    m_connectionString = text;
}

QString TADOConnection::DatabaseName() const
{
    if (!m_defaultDatabase.isEmpty())
        return m_defaultDatabase;
    return TConnectionItems::Parse(m_connectionString).Value(QStringLiteral("Initial Catalog"));
}

void TADOConnection::Open()
{
    if (Connected())
        return;
    const TConnectionItems items = TConnectionItems::Parse(m_connectionString);
    std::unique_ptr<TDbEngine> engine = TDbEngine::ForProvider(items.Value(QStringLiteral("Provider")));
    engine->Open(m_qtName, items, DatabaseName());
    m_engine = std::move(engine);
    m_inTransaction = false;
}

void TADOConnection::Close()
{
    if (!m_engine)
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_qtName, false);
        if (m_inTransaction)
            db.rollback();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_qtName);
    m_engine.reset();
    m_inTransaction = false;
}

bool TADOConnection::Connected() const { return m_engine != nullptr; }

TDbEngine &TADOConnection::Engine() const
{
    if (!m_engine)
        throw EDatabaseError(QStringLiteral("Operation is not allowed when the object is closed."));
    return *m_engine;
}

QSqlDatabase TADOConnection::Database() const
{
    Engine();
    return QSqlDatabase::database(m_qtName, false);
}

namespace {
constexpr int kFirstRetryDelayMs = 500;
constexpr int kLongestRetryDelayMs = 4000;

std::function<void(bool)> &connectionNotice()
{
    static std::function<void(bool)> notice;
    return notice;
}
} // namespace

void TADOConnection::SetConnectionNotice(std::function<void(bool up)> notice) { connectionNotice() = std::move(notice); }

void TADOConnection::MarkLost()
{
    m_inTransaction = false;
    if (m_lost)
        return;
    m_lost = true;
    if (connectionNotice() && AnnouncesLoss)
        connectionNotice()(false);
}

void TADOConnection::Reconnect()
{
    // Every tick and every click of every window would knock at a server that is away; after a
    // failed try the next one waits a little longer, up to a few seconds.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (m_lost && now < m_nextTry)
        throw EDatabaseConnectionLost(msgConnectionLost);
    const QString connectionString = m_connectionString;
    Close();
    m_connectionString = connectionString;
    try {
        Open();
    } catch (const EDatabaseError &error) {
        MarkLost();
        m_retryDelay = qBound(kFirstRetryDelayMs, m_retryDelay * 2, kLongestRetryDelayMs);
        m_nextTry = QDateTime::currentMSecsSinceEpoch() + m_retryDelay;
        throw EDatabaseConnectionLost(msgConnectionLost + QStringLiteral(" (") + error.Message() + QLatin1Char(')'));
    }
    m_retryDelay = 0;
    m_nextTry = 0;
    if (m_lost) {
        m_lost = false;
        if (connectionNotice() && AnnouncesLoss)
            connectionNotice()(true);
    }
}

// A transaction begins on a live connection: a connection the server dropped is opened again
// first (nothing was begun on it, so nothing is done twice).
void TADOConnection::BeginWith(bool write)
{
    if (m_inTransaction)
        throw EDatabaseError(QStringLiteral("A transaction is already active."));
    if (m_lost)
        Reconnect();
    try {
        QSqlDatabase db = Database();
        Engine().BeginTransaction(db, write);
    } catch (const EDatabaseConnectionLost &) {
        MarkLost();
        Reconnect();
        QSqlDatabase db = Database();
        Engine().BeginTransaction(db, write);
    }
    m_inTransaction = true;
}

void TADOConnection::BeginTrans() { BeginWith(false); }

void TADOConnection::BeginWriteTrans() { BeginWith(true); }

void TADOConnection::CommitTrans()
{
    QSqlDatabase db = Database();
    if (!m_inTransaction)
        throw EDatabaseError(QStringLiteral("No transaction is active."));
    if (db.commit()) {
        m_inTransaction = false;
        return;
    }
    const QSqlError error = db.lastError();
    try {
        raise(error);
    } catch (const EDatabaseConnectionLost &lost) {
        // The commit may have reached the server before the line broke: nobody can say it was not done.
        MarkLost();
        throw EDatabaseCommitUnknown(msgCommitOutcomeUnknown + QStringLiteral(" (") + lost.Message() + QLatin1Char(')'));
    } catch (const EDatabaseError &) {
    }
    // The server keeps a transaction whose commit failed; left open it would hold its locks
    // against every other workstation. When even the rollback fails, a new session drops it.
    if (!db.rollback()) {
        const QString connectionString = m_connectionString;
        Close();
        m_connectionString = connectionString;
        try {
            Open();
        } catch (const EDatabaseError &) {
        }
    }
    m_inTransaction = false;
    raise(error);
}

void TADOConnection::RollbackTrans()
{
    QSqlDatabase db = Database();
    if (!m_inTransaction)
        throw EDatabaseError(QStringLiteral("No transaction is active."));
    m_inTransaction = false;
    if (db.rollback())
        return;
    // A connection that broke took its transaction with it: nothing is left to undo.
    try {
        raise(db.lastError());
    } catch (const EDatabaseConnectionLost &) {
        MarkLost();
    }
}

void TADOConnection::CommitIfOpen()
{
    if (Connected() && m_inTransaction)
        CommitTrans();
}

void TADOConnection::RollbackIfOpen()
{
    if (Connected() && m_inTransaction)
        RollbackTrans();
}

void TADOConnection::ReachDatabase(const QString &database)
{
    if (Engine().ReachesOtherDatabases()) {
        Engine().PrepareDatabaseReference(*this, database);
        return;
    }
    if (DatabaseName().compare(database, Qt::CaseSensitive) == 0)
        return;
    Close();
    SetDefaultDatabase(database);
    Open();
}

void TADOConnection::Execute(const QString &sql, const QVariantList &values)
{
    QSqlQuery query(Database());
    if (values.isEmpty()) {
        if (!query.exec(Engine().TranslateStatement(sql)))
            raise(query.lastError());
        return;
    }
    if (!query.prepare(Engine().TranslateStatement(sql)))
        raise(query.lastError());
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, Engine().BindValue(values.at(i)));
    if (!query.exec())
        raise(query.lastError());
}

int TADOConnection::InsertReturningIdentity(const QString &table, const QStringList &columns, const QString &rows,
                                            const QVariantList &values)
{
    TDbEngine &engine = Engine();
    QString identity;
    for (const TColumnDef &column : DbSchema::Table(table).Columns)
        if (column.Nullability == TColumnNull::Identity)
            identity = column.Name;
    QStringList quoted;
    for (const QString &column : columns)
        quoted.append(engine.QuoteIdentifier(column));
    const QString into = QStringLiteral("INSERT INTO ") + engine.QuoteIdentifier(table) + QStringLiteral(" (") +
                         quoted.join(QStringLiteral(", ")) + QLatin1Char(')');
    const QVariantList ids = Column(engine.ReturningInsert(into, rows, identity), values);
    if (ids.isEmpty() || ids.first().isNull())
        throw EDatabaseError(QStringLiteral("The server gave no key for the new row of %1.").arg(table));
    return ids.first().toInt();
}

QVariantList TADOConnection::Column(const QString &sql, const QVariantList &values)
{
    QSqlQuery query(Database());
    query.setForwardOnly(true);
    if (!query.prepare(Engine().TranslateStatement(sql)))
        raise(query.lastError());
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, Engine().BindValue(values.at(i)));
    if (!query.exec())
        raise(query.lastError());
    QVariantList column;
    while (query.next())
        column.append(query.value(0));
    return column;
}

// ---- transaction of one operation

TTransaction::TTransaction(TADOConnection &connection, bool write) : m_connection(connection)
{
    if (m_connection.InTransaction())
        return;
    if (write)
        m_connection.BeginWriteTrans();
    else
        m_connection.BeginTrans();
    m_began = true;
}

TTransaction::~TTransaction()
{
    try {
        Rollback();
    } catch (const Exception &) {
        // The connection is gone; it holds no transaction either way.
    }
}

void TTransaction::Commit()
{
    if (!m_began)
        return;
    m_began = false;
    if (m_connection.Connected() && m_connection.InTransaction())
        m_connection.CommitTrans();
}

void TTransaction::Rollback()
{
    if (!m_began)
        return;
    m_began = false;
    m_connection.RollbackIfOpen();
}

// ---- field

QString TField::AsString() const
{
    if (m_value.isNull())
        return {};
    const QDateTime stamp = storedDateTime(m_value);
    if (stamp.isValid())
        return stamp.time() == QTime(0, 0) ? DateToStr(stamp.date()) : DateTimeToStr(stamp);
    switch (m_value.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return FloatToStr(m_value.toDouble());
    case QMetaType::Bool:
        return m_value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return m_value.toString();
    }
}

int TField::AsInteger() const
{
    if (m_value.isNull())
        return 0;
    bool ok = false;
    const int value = m_value.toInt(&ok);
    if (ok)
        return value;
    const double real = m_value.toString().toDouble(&ok);
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(m_value.toString()));
    return int(real);
}

double TField::AsFloat() const
{
    if (m_value.isNull())
        return 0;
    bool ok = false;
    const double value = m_value.toDouble(&ok);
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(m_value.toString()));
    return value;
}

bool TField::AsBoolean() const
{
    if (m_value.isNull())
        return false;
    const QString text = m_value.toString().trimmed();
    return text.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0 || (text.toDouble() != 0);
}

QDateTime TField::AsDateTime() const { return storedDateTime(m_value); }

QDate TField::AsDate() const
{
    switch (m_value.metaType().id()) {
    case QMetaType::QDate:
        return m_value.toDate();
    case QMetaType::QDateTime:
        return m_value.toDateTime().date();
    case QMetaType::QString: {
        // "yyyy-MM-dd" and whatever follows, as the engines that keep dates as text give them.
        const QString text = m_value.toString();
        if (text.size() >= 10 && text.at(4) == QLatin1Char('-') && text.at(7) == QLatin1Char('-')) {
            const QStringView view(text);
            const QDate date(view.left(4).toInt(), view.mid(5, 2).toInt(), view.mid(8, 2).toInt());
            if (date.isValid())
                return date;
        }
        break;
    }
    default:
        break;
    }
    return m_value.isNull() ? QDate() : storedDateTime(m_value).date();
}

// ---- data set

TAdoDataSet::TAdoDataSet(TADOConnection *connection, QObject *parent) : QObject(parent), m_connection(connection) {}

TADOConnection &TAdoDataSet::RequireConnection() const
{
    if (!m_connection)
        throw EDatabaseError(QStringLiteral("Missing Connection or ConnectionString"));
    return *m_connection;
}

void TAdoDataSet::Close()
{
    m_active = false;
    m_fields.clear();
    m_fieldIndex.clear();
    m_rows.clear();
    m_current = -1;
    m_state = State::Browse;
    emit DataChanged();
}

void TAdoDataSet::Load(QSqlQuery &query)
{
    Close();
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i) {
        const QString name = record.fieldName(i);
        m_fields.append(name.isEmpty() ? QStringLiteral("column%1").arg(i + 1) : name);
    }
    IndexFields();
    while (query.next()) {
        QVector<QVariant> row(m_fields.size());
        for (int i = 0; i < m_fields.size(); ++i)
            row[i] = query.value(i);
        m_rows.append(row);
    }
    m_current = m_rows.isEmpty() ? -1 : 0;
    m_active = true;
    emit DataChanged();
}

void TAdoDataSet::Load(const TRowSet &rows)
{
    Close();
    for (int i = 0; i < rows.Fields.size(); ++i)
        m_fields.append(rows.Fields.at(i).isEmpty() ? QStringLiteral("column%1").arg(i + 1) : rows.Fields.at(i));
    IndexFields();
    m_rows = rows.Rows;
    m_current = m_rows.isEmpty() ? -1 : 0;
    m_active = true;
    emit DataChanged();
}

void TAdoDataSet::First() { m_current = m_rows.isEmpty() ? -1 : 0; }

void TAdoDataSet::Next()
{
    if (m_current < m_rows.size())
        ++m_current;
}

bool TAdoDataSet::Eof() const { return m_rows.isEmpty() || m_current >= m_rows.size(); }

int TAdoDataSet::FieldIndex(const QString &name) const { return m_fieldIndex.value(name.toCaseFolded(), -1); }

void TAdoDataSet::IndexFields()
{
    m_fieldIndex.clear();
    // The first of two fields of one name is the one found, as ADO finds it.
    for (int i = int(m_fields.size()) - 1; i >= 0; --i)
        m_fieldIndex.insert(m_fields.at(i).toCaseFolded(), i);
}

void TAdoDataSet::RequireRow() const
{
    if (!m_active || m_current < 0 || m_current >= m_rows.size())
        throw EDatabaseError(QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."));
}

TField TAdoDataSet::FieldByName(const QString &name) const
{
    const int index = FieldIndex(name);
    if (index < 0)
        throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(name));
    RequireRow();
    return TField(m_fields.at(index), m_rows.at(m_current).at(index));
}

bool TAdoDataSet::Locate(const QString &field, const QVariant &value)
{
    const int index = FieldIndex(field);
    if (index < 0)
        throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(field));
    for (int row = 0; row < m_rows.size(); ++row) {
        const QVariant &cell = m_rows.at(row).at(index);
        if (!cell.isNull() && TField(field, cell).AsString() == TField(field, value).AsString()) {
            m_current = row;
            return true;
        }
    }
    return false;
}

void TAdoDataSet::Edit()
{
    RequireRow();
    m_state = State::Edit;
    m_original = m_rows.at(m_current);
    m_changed = QVector<bool>(m_fields.size(), false);
}

void TAdoDataSet::Append()
{
    if (!m_active)
        throw EDatabaseError(QStringLiteral("Operation is not allowed when the object is closed."));
    m_rows.append(QVector<QVariant>(m_fields.size()));
    m_current = int(m_rows.size()) - 1;
    m_state = State::Insert;
    m_original = m_rows.last();
    m_changed = QVector<bool>(m_fields.size(), false);
}

void TAdoDataSet::SetFieldValue(const QString &name, const QVariant &value)
{
    if (m_state == State::Browse)
        throw EDatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
    const int index = FieldIndex(name);
    if (index < 0)
        throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(name));
    m_rows[m_current][index] = value;
    m_changed[index] = true;
}

void TAdoDataSet::Cancel()
{
    if (m_state == State::Insert) {
        m_rows.removeAt(m_current);
        m_current = m_rows.isEmpty() ? -1 : int(m_rows.size()) - 1;
    } else if (m_state == State::Edit) {
        m_rows[m_current] = m_original;
    }
    m_state = State::Browse;
}

void TAdoDataSet::Post()
{
    if (m_state == State::Browse)
        return;
    const QString table = SourceTable();
    if (table.isEmpty())
        throw EDatabaseError(QStringLiteral("Insufficient base table information for updating or refreshing."));
    if (m_state == State::Insert)
        PostInsert(table);
    else
        PostUpdate(table);
    m_state = State::Browse;
    emit DataChanged();
}

void TAdoDataSet::PostInsert(const QString &table)
{
    TADOConnection &connection = RequireConnection();
    TDbEngine &engine = connection.Engine();
    QStringList columns, marks;
    QVariantList values;
    for (int i = 0; i < m_fields.size(); ++i) {
        if (!m_changed.at(i))
            continue;
        columns.append(engine.QuoteIdentifier(m_fields.at(i)));
        marks.append(QStringLiteral("?"));
        values.append(m_rows.at(m_current).at(i));
    }
    QString sql = QStringLiteral("INSERT INTO ") + engine.QuoteIdentifier(table);
    sql += columns.isEmpty() ? QStringLiteral(" DEFAULT VALUES")
                             : QStringLiteral(" (") + columns.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                                   marks.join(QStringLiteral(", ")) + QStringLiteral(")");
    QSqlQuery query(connection.Database());
    if (!query.prepare(sql))
        raise(query.lastError());
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, engine.BindValue(values.at(i)));
    if (!query.exec())
        raise(query.lastError());
    // The identity value the server gave goes into its field, as ADO refreshes it. Only a table
    // with an identity is asked: a server may fail the question, and the transaction with it.
    for (const TTableDef &def : DbSchema::Tables())
        if (def.Name.compare(table, Qt::CaseInsensitive) == 0)
            for (const TColumnDef &column : def.Columns)
                if (column.Nullability == TColumnNull::Identity && FieldIndex(column.Name) >= 0) {
                    const QVariant id = query.lastInsertId();
                    if (id.isValid())
                        m_rows[m_current][FieldIndex(column.Name)] = id;
                }
}

void TAdoDataSet::PostUpdate(const QString &table)
{
    TADOConnection &connection = RequireConnection();
    TDbEngine &engine = connection.Engine();
    QStringList sets, conditions;
    QVariantList values;
    for (int i = 0; i < m_fields.size(); ++i) {
        if (!m_changed.at(i))
            continue;
        sets.append(engine.QuoteIdentifier(m_fields.at(i)) + QStringLiteral(" = ?"));
        values.append(m_rows.at(m_current).at(i));
    }
    if (sets.isEmpty())
        return;
    // A table with an identity finds the row by it; without a declared key the row is found by
    // all its original values, as ADO does.
    QVariantList keys;
    int identity = -1;
    for (const TTableDef &def : DbSchema::Tables())
        if (def.Name.compare(table, Qt::CaseInsensitive) == 0)
            for (const TColumnDef &column : def.Columns)
                if (column.Nullability == TColumnNull::Identity)
                    identity = FieldIndex(column.Name);
    const bool byIdentity = identity >= 0 && !m_original.at(identity).isNull();
    if (byIdentity) {
        conditions.append(engine.QuoteIdentifier(m_fields.at(identity)) + QStringLiteral(" = ?"));
        keys.append(m_original.at(identity));
    }
    for (int i = 0; i < m_fields.size() && !byIdentity; ++i) {
        const QString column = engine.QuoteIdentifier(m_fields.at(i));
        if (m_original.at(i).isNull()) {
            conditions.append(column + QStringLiteral(" IS NULL"));
        } else {
            conditions.append(column + QStringLiteral(" = ?"));
            keys.append(m_original.at(i));
        }
    }
    const QString sql = QStringLiteral("UPDATE ") + engine.QuoteIdentifier(table) + QStringLiteral(" SET ") +
                        sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE ") +
                        conditions.join(QStringLiteral(" AND "));
    QSqlQuery query(connection.Database());
    if (!query.prepare(sql))
        raise(query.lastError());
    int position = 0;
    for (const QVariant &value : values + keys)
        query.bindValue(position++, engine.BindValue(value));
    if (!query.exec())
        raise(query.lastError());
    if (query.numRowsAffected() == 0)
        throw EDatabaseError(QStringLiteral("Row cannot be located for updating. Some values may have been changed "
                                            "since it was last read."));
}

// ---- query

TADOQuery::TADOQuery(TADOConnection *connection, QObject *parent) : TAdoDataSet(connection, parent) {}

void TADOQuery::SetSQLText(const QString &text)
{
    SQL = text.split(QStringLiteral("\r\n"));
}

QStringList TADOQuery::ParameterNames(const QString &sql, QString *positional)
{
    QStringList names;
    QString out;
    QChar quote;
    for (int i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            out += c;
            continue;
        }
        const QChar next = i + 1 < sql.size() ? sql.at(i + 1) : QChar();
        if ((c == QLatin1Char('-') && next == QLatin1Char('-')) || (c == QLatin1Char('/') && next == QLatin1Char('*'))) {
            // A comment is copied as it stands: a colon in it marks no parameter.
            const bool line = c == QLatin1Char('-');
            int end = int(line ? sql.indexOf(QLatin1Char('\n'), i) : sql.indexOf(QStringLiteral("*/"), i + 2));
            end = end < 0 ? int(sql.size()) : end + (line ? 0 : 2);
            out += sql.mid(i, end - i);
            i = end - 1;
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('[')) {
            quote = QLatin1Char(']');
        } else if (c == QLatin1Char(':') && i + 1 < sql.size() && isIdentifierChar(sql.at(i + 1)) &&
                   (i == 0 || sql.at(i - 1) != QLatin1Char(':'))) {
            int end = i + 1;
            while (end < sql.size() && isIdentifierChar(sql.at(end)))
                ++end;
            names.append(sql.mid(i + 1, end - i - 1));
            out += QLatin1Char('?');
            i = end - 1;
            continue;
        }
        out += c;
    }
    if (positional)
        *positional = out;
    return names;
}

QList<TParameter> &TADOQuery::Parameters()
{
    const QString text = SQLText();
    if (text != m_parsedFor) {
        const QStringList names = ParameterNames(text);
        QList<TParameter> fresh;
        for (const QString &name : names) {
            TParameter parameter{name, {}};
            for (const TParameter &old : m_parameters)
                if (old.Name.compare(name, Qt::CaseInsensitive) == 0)
                    parameter.Value = old.Value;
            fresh.append(parameter);
        }
        m_parameters = fresh;
        m_parsedFor = text;
    }
    return m_parameters;
}

TParameter &TADOQuery::ParamByName(const QString &name)
{
    QList<TParameter> &all = Parameters();
    TParameter *first = nullptr;
    for (TParameter &parameter : all)
        if (parameter.Name.compare(name, Qt::CaseInsensitive) == 0 && !first)
            first = &parameter;
    if (!first)
        throw EDatabaseError(QStringLiteral("Parameter '%1' not found").arg(name));
    return *first;
}

// A statement without parameters runs as it is: a server may prepare no statement that
// creates or changes its schema.
void TADOQuery::Run(QSqlQuery &query)
{
    if (Parameters().isEmpty()) {
        if (!query.exec(RequireConnection().Engine().TranslateStatement(SQLText())))
            raise(query.lastError());
        return;
    }
    Prepare(query);
    if (!query.exec())
        raise(query.lastError());
}

void TADOQuery::Prepare(QSqlQuery &query)
{
    TADOConnection &connection = RequireConnection();
    QString positional;
    ParameterNames(SQLText(), &positional);
    QList<TParameter> &parameters = Parameters();
    // A name that stands twice takes the value given to its first appearance.
    for (TParameter &parameter : parameters)
        for (const TParameter &other : parameters)
            if (&other != &parameter && other.Name.compare(parameter.Name, Qt::CaseInsensitive) == 0 &&
                parameter.Value.isNull() && !other.Value.isNull())
                parameter.Value = other.Value;
    TDbEngine &engine = connection.Engine();
    if (!query.prepare(engine.TranslateStatement(positional)))
        raise(query.lastError());
    for (int i = 0; i < parameters.size(); ++i)
        query.bindValue(i, engine.BindValue(parameters.at(i).Value));
}

void TADOQuery::Open()
{
    QSqlQuery query(RequireConnection().Database());
    query.setForwardOnly(true);
    Run(query);
    Load(query);
}

void TADOQuery::OpenForward(QSqlQuery &query)
{
    query.setForwardOnly(true);
    Run(query);
}

void TADOQuery::ExecSQL()
{
    QSqlQuery query(RequireConnection().Database());
    Run(query);
}

QString TADOQuery::SourceTable() const
{
    const QString own = TAdoDataSet::SourceTable();
    if (!own.isEmpty())
        return own;
    static const QRegularExpression from(
        QStringLiteral("^\\s*SELECT\\s+.*?\\s+FROM\\s+(?:\\[?dbo\\]?\\.)?\\[?([^\\]\\s;]+)\\]?\\s*(WHERE\\b.*)?;?\\s*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = from.match(SQLText());
    return match.hasMatch() ? match.captured(1) : QString();
}

// ---- stored procedure

TADOStoredProc::TADOStoredProc(TADOConnection *connection, QObject *parent) : TAdoDataSet(connection, parent) {}

void TADOStoredProc::RefreshParameters()
{
    m_parameters.clear();
    TADOConnection &connection = RequireConnection();
    for (const QString &name : connection.Engine().ProcedureParameters(connection, ProcedureName))
        m_parameters.append({name, {}});
}

TParameter &TADOStoredProc::ParamByName(const QString &name)
{
    for (TParameter &parameter : m_parameters)
        if (parameter.Name.compare(name, Qt::CaseInsensitive) == 0)
            return parameter;
    throw EDatabaseError(QStringLiteral("Parameter '%1' not found").arg(name));
}

void TADOStoredProc::ExecProc()
{
    TADOConnection &connection = RequireConnection();
    connection.Engine().CallProcedure(connection, ProcedureName, m_parameters);
}

void TADOStoredProc::Open()
{
    TADOConnection &connection = RequireConnection();
    Load(connection.Engine().CallProcedure(connection, ProcedureName, m_parameters));
}

// ---- grid model

TAdoGridModel::TAdoGridModel(QObject *parent) : QAbstractTableModel(parent) {}

void TAdoGridModel::SetDataSet(TAdoDataSet *dataSet)
{
    if (m_dataSet)
        disconnect(m_dataSet, nullptr, this, nullptr);
    m_dataSet = dataSet;
    if (m_dataSet)
        connect(m_dataSet, &TAdoDataSet::DataChanged, this, &TAdoGridModel::Reload);
    Reload();
}

void TAdoGridModel::SetColumns(const QList<TGridColumn> &columns)
{
    m_columns = columns;
    Reload();
}

void TAdoGridModel::Reload()
{
    beginResetModel();
    m_fieldIndex.clear();
    for (const TGridColumn &column : m_columns)
        m_fieldIndex.append(m_dataSet ? m_dataSet->FieldIndex(column.Field) : -1);
    endResetModel();
}

void TAdoGridModel::ApplyTo(QTableView *view)
{
    view->setModel(this);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int i = 0; i < m_columns.size(); ++i)
        view->setColumnWidth(i, m_columns.at(i).Width);
}

int TAdoGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_dataSet || !m_dataSet->Active() ? 0 : m_dataSet->RecordCount();
}

int TAdoGridModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_columns.size()); }

QVariant TAdoGridModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || !m_dataSet)
        return {};
    const int field = m_fieldIndex.value(index.column(), -1);
    if (field < 0 || index.row() >= m_dataSet->RecordCount())
        return {};
    const TField value(QString(), m_dataSet->CellValue(index.row(), field));
    if (m_columns.at(index.column()).Format)
        return m_columns.at(index.column()).Format(value);
    const QString text = value.AsString();
    if (m_columns.at(index.column()).Masked)
        return text.isEmpty() ? QString() : QStringLiteral("********");
    return text;
}

QVariant TAdoGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal && section < m_columns.size())
        return m_columns.at(section).Title;
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags TAdoGridModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

std::unique_ptr<TADOQuery> OpenQuery(TADOConnection &connection, const QString &sql, const TNamedValues &params)
{
    auto query = std::make_unique<TADOQuery>(&connection);
    query->SetSQLText(sql);
    for (const auto &[name, value] : params)
        query->ParamByName(name).Value = value;
    query->Open();
    return query;
}
