#pragma once
// Rows of a statement read forward once, and what bookings owe and have paid: shared by the
// reports and the reservation chart, which read many rows at a time.

#include "UFrontDesk.h"
#include "data/UAdoDb.h"
#include "framework/UDecimal.h"

#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <functional>

// One statement's rows, none kept; check runs now and then (a report's cancel and progress).
// Of the values given, those the statement names are bound: callers pass what their
// statements may use.
class TRows
{
public:
    TRows(TADOConnection &connection, const QString &sql, const TNamedValues &values,
          const std::function<void()> &check = {})
        : m_query(connection.Database()), m_statement(&connection), m_check(check)
    {
        m_statement.SetSQLText(sql);
        for (const auto &[name, value] : values)
            if (sql.contains(QLatin1Char(':') + name))
                m_statement.ParamByName(name).Value = value;
        Check();
        m_statement.OpenForward(m_query);
    }
    bool Next()
    {
        if (++m_read % 4096 == 0)
            Check();
        return m_query.next();
    }
    int Column(const char *name) const { return m_query.record().indexOf(QLatin1String(name)); }
    TField Field(int column) const { return TField(QString(), m_query.value(column)); }
    QString Text(int column) const { return m_query.value(column).toString().trimmed(); }
    int Integer(int column) const { return Field(column).AsInteger(); }
    QDate Date(int column) const
    {
        const QVariant value = m_query.value(column);
        return value.isNull() ? QDate() : TField(QString(), value).AsDate();
    }
    TDecimal Amount(int column) const { return TDecimal::FromVariant(m_query.value(column)); }

private:
    QSqlQuery m_query;
    TADOQuery m_statement;
    void Check() const
    {
        if (m_check)
            m_check();
    }
    std::function<void()> m_check;
    qint64 m_read = 0;
};

// What a booking owes and has paid, as its folio counts it.
struct TAccount {
    TDecimal Owed, Paid;
    TDecimal Balance() const { return Owed - Paid; }
};

// The accounts of the bookings the subquery names ("(SELECT q124 ...)"), read in two statements
// summed by the server; each stay and charge is a whole number of cents. open(sql) gives the
// statement's rows with the subquery's parameters bound.
template <typename TOpen>
QHash<int, TAccount> ReadAccounts(TOpen open, const QString &bookings)
{
    QHash<int, TAccount> accounts;
    {
        TRows owed = open(QStringLiteral("SELECT c.q124, SUM(c.q27) FROM Klients c WHERE c.q124 IN ") + bookings +
                          QStringLiteral(" AND (c.q47 IS NULL OR ") + FrontDesk::HoldsNights(QStringLiteral("c.")) +
                          QStringLiteral(") GROUP BY c.q124"));
        while (owed.Next())
            accounts[owed.Integer(0)].Owed = owed.Amount(1).Cents();
    }
    TRows paid = open(QStringLiteral("SELECT p.q124, p.q141, SUM(p.q140) FROM Plashtania p WHERE p.q124 IN ") + bookings +
                      QStringLiteral(" GROUP BY p.q124, p.q141"));
    while (paid.Next()) {
        const TDecimal amount = paid.Amount(2).Cents();
        TAccount &account = accounts[paid.Integer(0)];
        account.Paid += paid.Integer(1) == FrontDesk::pkRefund ? TDecimal() - amount : amount;
    }
    return accounts;
}
