#pragma once
// Stored procedures of the embedded engine: a script "CREATE PROCEDURE name @p type, ... AS
// statements" kept as text, read with the embedded server's own rules for comments, quoted
// texts, bracketed names and parameters, and run statement by statement on the server's own
// parser, so that a parameter is bound exactly where the server sees one.

#include "UAdoDb.h"

#include <QList>
#include <QPair>
#include <QString>
#include <functional>

struct sqlite3;

namespace SqliteSql {

struct TToken {
    enum Kind { Space, Comment, String, Identifier, Variable, Word, Number, Other };
    Kind Type;
    int Start;
    int Length;
};

// The tokens of a text as the embedded server reads it.
QList<TToken> Tokenize(const QString &sql);
// The text of one identifier token without its quotes or brackets.
QString Unquote(const QString &identifier);

} // namespace SqliteSql

class TSqliteProcedure
{
public:
    // Raises EDatabaseError with a clear message for a script that is not one procedure.
    static TSqliteProcedure Parse(const QString &script);

    QString Name;
    QList<QPair<QString, QString>> Parameters;  // name with "@", type as written
    QStringList Statements;                      // the body, one complete statement each

    bool NamesTable(const QString &parameter) const;  // declared as SYSNAME
    // The declared parameter a variable of the body stands for; raises when none is declared.
    QString Declared(const QString &variable) const;
    // Checks every statement that the server can check now; raises with the server's message.
    void Check(sqlite3 *db) const;
    // Runs the statements; table parameters become quoted names through tableFor, the others
    // are bound by name. The result is the rows of the last statement that returned columns.
    TRowSet Run(sqlite3 *db, const std::function<QVariant(const QString &)> &valueOf,
                const std::function<QString(const QString &)> &tableFor) const;

private:
    QString Substituted(const QString &statement, const std::function<QString(const QString &)> &tableFor) const;
};
