#pragma once
// The program's own thin ADO layer over Qt SQL: one connection class, a data set of rows read
// into memory with ADO's navigation and editing, the query and the stored procedure, and a
// read-only grid model. The engine named by the connection string's "Provider" item does
// everything that differs between database servers.

#include "errors/UErrors.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>

class TDbEngine;
class QTableView;
class QSqlQuery;

KALV_ERROR_CLASS(EDatabaseError, Exception)
// Another workstation holds the database: nothing was written, and the same work may be tried again.
KALV_ERROR_CLASS(EDatabaseBusy, EDatabaseError)
// The connection to the server broke: what was asked was not done; the next transaction
// connects again.
KALV_ERROR_CLASS(EDatabaseConnectionLost, EDatabaseError)
// The connection broke while a commit was on its way: the server may have saved the work or not.
KALV_ERROR_CLASS(EDatabaseCommitUnknown, EDatabaseConnectionLost)

class QSqlError;
// Raises EDatabaseError with the server's own message, or the driver's when the server gave none.
[[noreturn]] void RaiseDatabaseError(const QSqlError &error);

// The items of an OLE DB connection string, keys compared without case. A value that holds
// ";", "=", braces or quotes is enclosed in quotes, so it can never end early or add an item.
class TConnectionItems
{
public:
    static TConnectionItems Parse(const QString &connectionString);
    // A value as it is written into a connection string.
    static QString QuoteValue(const QString &value);
    QString Value(const QString &key) const;
    bool Contains(const QString &key) const;

private:
    QList<QPair<QString, QString>> m_items;
};

class TADOConnection : public QObject
{
    Q_OBJECT
public:
    explicit TADOConnection(QObject *parent = nullptr);
    ~TADOConnection() override;

    QString ConnectionString() const { return m_connectionString; }
    // Told once when the connection to the server breaks (false) and once when it is back (true).
    static void SetConnectionNotice(std::function<void(bool up)> notice);
    bool ConnectionLost() const { return m_lost; }
    void SetConnectionString(const QString &text);
    QString DefaultDatabase() const { return m_defaultDatabase; }
    void SetDefaultDatabase(const QString &name) { m_defaultDatabase = name; }
    bool LoginPrompt = false;
    // Whether a lost server is told to the user (a connection of a thread of its own is not).
    bool AnnouncesLoss = true;

    // Opens through the engine the provider names; raises EDatabaseError on any failure.
    void Open();
    void Close();
    bool Connected() const;
    // The database the connection is on: the default database, or the "Initial Catalog" item.
    QString DatabaseName() const;

    void BeginTrans();
    // A transaction that will write: the engine takes its write lock at once, so that two
    // workstations that both read and then write can never wait on each other.
    void BeginWriteTrans();
    // A failed commit is rolled back at once: the connection holds no transaction afterwards.
    void CommitTrans();
    void RollbackTrans();
    bool InTransaction() const { return m_inTransaction; }
    // The shared connection's convention: end a transaction only when one is open.
    void CommitIfOpen();
    void RollbackIfOpen();

    // Makes a database of the connection's server reachable by the next statements: attached
    // where the engine can, otherwise by moving the connection to it.
    void ReachDatabase(const QString &database);

    // Runs statements that return no rows; parameters bind by position.
    void Execute(const QString &sql, const QVariantList &values = {});
    // Adds one row to a table with an identity and gives the value the server gave it. rows is
    // "VALUES (?, ...)" or a SELECT, with its values bound by position.
    int InsertReturningIdentity(const QString &table, const QStringList &columns, const QString &rows,
                                const QVariantList &values = {});
    // The first column of every row a statement gives; parameters bind by position.
    QVariantList Column(const QString &sql, const QVariantList &values = {});

    TDbEngine &Engine() const;  // raises when not connected
    QSqlDatabase Database() const;

private:
    QString m_connectionString;
    QString m_defaultDatabase;
    QString m_qtName;
    std::unique_ptr<TDbEngine> m_engine;
    bool m_inTransaction = false;
    bool m_lost = false;
    // While the server stays away, tries to connect again are spaced out (a short back-off).
    qint64 m_nextTry = 0;
    int m_retryDelay = 0;
    void MarkLost();
    // Opens again with the same settings after the server went away; raises when it is still away.
    void Reconnect();
    void BeginWith(bool write);
};

// Rows handed over whole, as a procedure's result set.
struct TRowSet {
    QStringList Fields;
    QVector<QVector<QVariant>> Rows;
};

// The transaction of one operation on the shared connection: begun only when none is open and
// ended only by the operation that began it. What is neither committed nor rolled back is
// rolled back when the operation leaves, whatever way it leaves.
class TTransaction
{
public:
    explicit TTransaction(TADOConnection &connection, bool write = false);
    ~TTransaction();
    TTransaction(const TTransaction &) = delete;
    TTransaction &operator=(const TTransaction &) = delete;
    void Commit();
    void Rollback();
    bool Began() const { return m_began; }

private:
    TADOConnection &m_connection;
    bool m_began = false;
};

struct TParameter {
    QString Name;
    QVariant Value;
};

// A value of the current row.
class TField
{
public:
    TField(QString name, QVariant value) : m_name(std::move(name)), m_value(std::move(value)) {}
    const QString &FieldName() const { return m_name; }
    const QVariant &Value() const { return m_value; }
    bool IsNull() const { return m_value.isNull(); }
    // Dates and numbers in the program's fixed regional formats.
    QString AsString() const;
    int AsInteger() const;
    double AsFloat() const;
    bool AsBoolean() const;
    QDateTime AsDateTime() const;
    // The day alone, read straight from the stored text: no local time is built for it.
    QDate AsDate() const;

private:
    QString m_name;
    QVariant m_value;
};

// Rows read into memory, navigated and edited as ADO's data sets are. Post writes an edited
// or appended row back to the one table the rows came from.
class TAdoDataSet : public QObject
{
    Q_OBJECT
public:
    explicit TAdoDataSet(TADOConnection *connection = nullptr, QObject *parent = nullptr);

    TADOConnection *Connection() const { return m_connection; }
    void SetConnection(TADOConnection *connection) { m_connection = connection; }

    bool Active() const { return m_active; }
    virtual void Open() = 0;
    void Close();

    int RecordCount() const { return int(m_rows.size()); }
    int RecNo() const { return m_current; }  // 0-based, -1 when empty
    void First();
    void Next();
    bool Eof() const;
    bool Bof() const { return m_current <= 0; }
    QStringList FieldNames() const { return m_fields; }
    int FieldIndex(const QString &name) const;  // -1 when missing
    TField FieldByName(const QString &name) const;
    QVariant CellValue(int row, int column) const { return m_rows.at(row).at(column); }
    // Moves to the first row whose field equals the value exactly; false leaves the position.
    bool Locate(const QString &field, const QVariant &value);

    void Edit();
    void Append();
    void SetFieldValue(const QString &name, const QVariant &value);
    void Post();
    void Cancel();
    bool Editing() const { return m_state != State::Browse; }

    // The table Post writes to; taken from the statement when not set.
    void SetUpdateTable(const QString &table) { m_updateTable = table; }

signals:
    void DataChanged();

protected:
    void Load(QSqlQuery &query);
    void Load(const TRowSet &rows);
    void IndexFields();
    TADOConnection &RequireConnection() const;
    virtual QString SourceTable() const { return m_updateTable; }

private:
    enum class State { Browse, Edit, Insert };
    void RequireRow() const;
    void PostInsert(const QString &table);
    void PostUpdate(const QString &table);

    TADOConnection *m_connection;
    bool m_active = false;
    QStringList m_fields;
    QVector<QVector<QVariant>> m_rows;
    QHash<QString, int> m_fieldIndex;  // folded name -> first field of that name
    int m_current = -1;
    State m_state = State::Browse;
    QVector<QVariant> m_original;
    QVector<bool> m_changed;
    QString m_updateTable;
};

// SQL text with colon-named parameters (":name"), taken from the text in order of appearance.
class TADOQuery : public TAdoDataSet
{
    Q_OBJECT
public:
    explicit TADOQuery(TADOConnection *connection = nullptr, QObject *parent = nullptr);

    QStringList SQL;  // lines, joined by CR LF
    QString SQLText() const { return SQL.join(QStringLiteral("\r\n")); }
    void SetSQLText(const QString &text);
    void ClearParameters() { m_parameters.clear(); }

    // The parameters of the current text, in order; set by position or name before running.
    QList<TParameter> &Parameters();
    TParameter &ParamByName(const QString &name);

    void Open() override;
    void ExecSQL();
    // Runs the statement and gives its rows forward, one at a time, none kept: for reading many
    // rows once. The query must outlive the reading.
    void OpenForward(QSqlQuery &query);

    // Markers of a text, and the text with each marker replaced by "?".
    static QStringList ParameterNames(const QString &sql, QString *positional = nullptr);

protected:
    QString SourceTable() const override;

private:
    void Prepare(QSqlQuery &query);
    void Run(QSqlQuery &query);
    QList<TParameter> m_parameters;
    QString m_parsedFor;
};

// A query opened on the connection with its named parameters given; the caller owns it.
using TNamedValues = QList<QPair<QString, QVariant>>;
std::unique_ptr<TADOQuery> OpenQuery(TADOConnection &connection, const QString &sql, const TNamedValues &params = {});

class TADOStoredProc : public TAdoDataSet
{
    Q_OBJECT
public:
    explicit TADOStoredProc(TADOConnection *connection = nullptr, QObject *parent = nullptr);

    QString ProcedureName;
    // Reads the procedure's parameters from the server; their values start empty.
    void RefreshParameters();
    QList<TParameter> &Parameters() { return m_parameters; }
    TParameter &ParamByName(const QString &name);
    void ExecProc();
    void Open() override;

private:
    QList<TParameter> m_parameters;
};

struct TGridColumn {
    QString Field;
    QString Title;
    int Width = 64;
    bool Masked = false;  // secrets show as a mask, whatever they hold
    // The text shown for a value, when not the value's own (a status's word, an amount's cents).
    std::function<QString(const TField &)> Format = {};
};

// A read-only view of a data set's rows with the columns a window chooses.
class TAdoGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit TAdoGridModel(QObject *parent = nullptr);
    void SetDataSet(TAdoDataSet *dataSet);
    TAdoDataSet *DataSet() const { return m_dataSet; }
    void SetColumns(const QList<TGridColumn> &columns);
    const QList<TGridColumn> &Columns() const { return m_columns; }
    // Sets the model on the view with the columns' widths.
    void ApplyTo(QTableView *view);
    void Reload();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QPointer<TAdoDataSet> m_dataSet;
    QList<TGridColumn> m_columns;
    QVector<int> m_fieldIndex;
};
