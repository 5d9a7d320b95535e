#include "USqliteProcedure.h"

#include "startup/UConstMessagesDesk.h"

#include <sqlite3.h>

namespace SqliteSql {

namespace {

// The embedded server's identifier characters: ASCII letters, digits, "_", "$" and every
// character beyond ASCII.
bool isIdChar(QChar c)
{
    const ushort u = c.unicode();
    return u >= 0x80 || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' ||
           u == '$';
}

bool isSpace(QChar c)
{
    const ushort u = c.unicode();
    return u == ' ' || u == '\t' || u == '\n' || u == '\f' || u == '\r';
}

// The end of a quoted run that starts at `at`, a doubled closing character standing for one.
int quotedEnd(const QString &sql, int at, QChar close, bool doubling)
{
    for (int i = at + 1; i < sql.size(); ++i) {
        if (sql.at(i) != close)
            continue;
        if (doubling && i + 1 < sql.size() && sql.at(i + 1) == close) {
            ++i;
            continue;
        }
        return i + 1;
    }
    return int(sql.size());
}

} // namespace

QList<TToken> Tokenize(const QString &sql)
{
    QList<TToken> tokens;
    int at = 0;
    const int n = int(sql.size());
    while (at < n) {
        const QChar c = sql.at(at);
        const QChar next = at + 1 < n ? sql.at(at + 1) : QChar();
        int end = at + 1;
        TToken::Kind kind = TToken::Other;
        if (isSpace(c)) {
            while (end < n && isSpace(sql.at(end)))
                ++end;
            kind = TToken::Space;
        } else if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            while (end < n && sql.at(end) != QLatin1Char('\n'))
                ++end;
            kind = TToken::Comment;
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            const int close = int(sql.indexOf(QStringLiteral("*/"), at + 2));
            end = close < 0 ? n : close + 2;
            kind = TToken::Comment;
        } else if (c == QLatin1Char('\'')) {
            end = quotedEnd(sql, at, c, true);
            kind = TToken::String;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('`')) {
            end = quotedEnd(sql, at, c, true);
            kind = TToken::Identifier;
        } else if (c == QLatin1Char('[')) {
            end = quotedEnd(sql, at, QLatin1Char(']'), false);
            kind = TToken::Identifier;
        } else if (c == QLatin1Char('?')) {
            while (end < n && sql.at(end).isDigit() && sql.at(end).unicode() < 0x80)
                ++end;
            kind = TToken::Variable;
        } else if (c == QLatin1Char('@') || c == QLatin1Char(':') || c == QLatin1Char('#') || c == QLatin1Char('$')) {
            while (end < n && isIdChar(sql.at(end)))
                ++end;
            kind = end > at + 1 ? TToken::Variable : TToken::Other;
        } else if (c.unicode() < 0x80 && c.isDigit()) {
            while (end < n && (isIdChar(sql.at(end)) || sql.at(end) == QLatin1Char('.')))
                ++end;
            kind = TToken::Number;
        } else if (isIdChar(c)) {
            while (end < n && isIdChar(sql.at(end)))
                ++end;
            kind = TToken::Word;
        }
        tokens.append({kind, at, end - at});
        at = end;
    }
    return tokens;
}

QString Unquote(const QString &identifier)
{
    if (identifier.size() >= 2) {
        const QChar first = identifier.front(), last = identifier.back();
        if (first == QLatin1Char('[') && last == QLatin1Char(']'))
            return identifier.mid(1, identifier.size() - 2);
        if ((first == QLatin1Char('"') || first == QLatin1Char('`')) && last == first)
            return identifier.mid(1, identifier.size() - 2).replace(QString(2, first), QString(first));
    }
    return identifier;
}

} // namespace SqliteSql

using SqliteSql::TToken;

namespace {

[[noreturn]] void raiseSqlite(sqlite3 *db)
{
    const QString message = QString::fromUtf8(sqlite3_errmsg(db));
    const int code = sqlite3_errcode(db) & 0xFF;
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
        throw EDatabaseBusy(msgDatabaseBusy + QStringLiteral(" (") + message + QLatin1Char(')'));
    throw EDatabaseError(message);
}

QString text(const QString &sql, const TToken &token) { return sql.mid(token.Start, token.Length); }

bool isWord(const QString &sql, const TToken &token, const char *word)
{
    return token.Type == TToken::Word && text(sql, token).compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

// The tokens that carry meaning: no blanks, no comments.
QList<TToken> meaningful(const QList<TToken> &tokens)
{
    QList<TToken> result;
    for (const TToken &token : tokens)
        if (token.Type != TToken::Space && token.Type != TToken::Comment)
            result.append(token);
    return result;
}

EDatabaseError syntaxError(const QString &near)
{
    return EDatabaseError(QStringLiteral("Incorrect syntax near '%1': the script must create one procedure "
                                         "(CREATE PROCEDURE name @parameter type, ... AS statements).")
                              .arg(near.left(40)));
}

// The body cut into complete statements as the server would run them one after another.
QStringList splitStatements(const QString &body)
{
    QStringList statements;
    int begin = 0;
    for (const TToken &token : SqliteSql::Tokenize(body)) {
        if (token.Type != TToken::Other || body.at(token.Start) != QLatin1Char(';'))
            continue;
        const QString candidate = body.mid(begin, token.Start + 1 - begin);
        if (!sqlite3_complete16(candidate.utf16()))
            continue;  // a ";" inside a trigger body or the like
        if (!meaningful(SqliteSql::Tokenize(candidate.chopped(1))).isEmpty())
            statements.append(candidate);
        begin = token.Start + 1;
    }
    const QString rest = body.mid(begin);
    if (!meaningful(SqliteSql::Tokenize(rest)).isEmpty())
        statements.append(rest);
    return statements;
}

QVariant columnValue(sqlite3_stmt *statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement, column));
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, column)),
                                          sqlite3_column_bytes(statement, column)));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(statement, column)),
                                   sqlite3_column_bytes(statement, column)));
    default:
        return QVariant();
    }
}

int bind(sqlite3_stmt *statement, int index, const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return sqlite3_bind_null(statement, index);
    switch (value.metaType().id()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return sqlite3_bind_int64(statement, index, value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(statement, index, value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite3_bind_blob(statement, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
    }
    default: {
        const QByteArray utf8 = value.toString().toUtf8();
        return sqlite3_bind_text(statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    }
}

// Finalises the statement on every path.
struct TStatement {
    sqlite3_stmt *Handle = nullptr;
    ~TStatement() { sqlite3_finalize(Handle); }
};

} // namespace

TSqliteProcedure TSqliteProcedure::Parse(const QString &script)
{
    const QList<TToken> tokens = meaningful(SqliteSql::Tokenize(script));
    int at = 0;
    auto current = [&]() -> const TToken * { return at < tokens.size() ? &tokens.at(at) : nullptr; };
    if (!current() || !isWord(script, *current(), "CREATE"))
        throw syntaxError(script.trimmed());
    ++at;
    if (!current() || !(isWord(script, *current(), "PROC") || isWord(script, *current(), "PROCEDURE")))
        throw syntaxError(current() ? text(script, *current()) : QString());
    ++at;
    TSqliteProcedure procedure;
    // The name, maybe with its owner: the last part counts.
    while (current() && (current()->Type == TToken::Word || current()->Type == TToken::Identifier)) {
        procedure.Name = SqliteSql::Unquote(text(script, *current()));
        ++at;
        if (!current() || text(script, *current()) != QLatin1String("."))
            break;
        ++at;
    }
    if (procedure.Name.isEmpty())
        throw syntaxError(current() ? text(script, *current()) : QString());
    // The parameters up to the word AS outside parentheses, maybe in a pair of their own.
    QList<TToken> list;
    for (int depth = 0; current(); ++at) {
        const QString piece = text(script, *current());
        if (depth == 0 && isWord(script, *current(), "AS"))
            break;
        depth += piece == QLatin1String("(") ? 1 : piece == QLatin1String(")") ? -1 : 0;
        list.append(*current());
    }
    if (!current())
        throw syntaxError(QStringLiteral("AS"));
    if (list.size() >= 2 && text(script, list.first()) == QLatin1String("(") &&
        text(script, list.last()) == QLatin1String(")")) {
        int depth = 0, closing = -1;
        for (int i = 0; i < list.size() && closing < 0; ++i) {
            const QString piece = text(script, list.at(i));
            depth += piece == QLatin1String("(") ? 1 : piece == QLatin1String(")") ? -1 : 0;
            if (depth == 0)
                closing = i;
        }
        if (closing == list.size() - 1)
            list = list.mid(1, list.size() - 2);
    }
    QList<QList<TToken>> items(1);
    for (int i = 0, depth = 0; i < list.size(); ++i) {
        const QString piece = text(script, list.at(i));
        depth += piece == QLatin1String("(") ? 1 : piece == QLatin1String(")") ? -1 : 0;
        if (depth == 0 && piece == QLatin1String(","))
            items.append(QList<TToken>());
        else
            items.last().append(list.at(i));
    }
    for (const QList<TToken> &item : items) {
        if (item.isEmpty() && items.size() == 1)
            continue;  // no parameters
        const QString name = item.isEmpty() ? QStringLiteral(",") : text(script, item.first());
        if (item.size() < 2 || item.first().Type != TToken::Variable || !name.startsWith(QLatin1Char('@')))
            throw syntaxError(name);
        const int typeStart = item.at(1).Start;
        const int typeEnd = item.last().Start + item.last().Length;
        procedure.Parameters.append({name, script.mid(typeStart, typeEnd - typeStart).simplified()});
    }
    procedure.Statements = splitStatements(script.mid(current()->Start + current()->Length));
    if (procedure.Statements.isEmpty())
        throw EDatabaseError(QStringLiteral("Incorrect syntax: the procedure '%1' has no statement.").arg(procedure.Name));
    // Every variable of the body must be a declared parameter.
    for (const QString &statement : procedure.Statements)
        for (const TToken &token : SqliteSql::Tokenize(statement))
            if (token.Type == TToken::Variable)
                procedure.Declared(text(statement, token));
    return procedure;
}

QString TSqliteProcedure::Declared(const QString &variable) const
{
    for (const auto &parameter : Parameters)
        if (parameter.first.compare(variable, Qt::CaseInsensitive) == 0)
            return parameter.first;
    throw EDatabaseError(QStringLiteral("Must declare the scalar variable \"%1\".").arg(variable));
}

bool TSqliteProcedure::NamesTable(const QString &parameter) const
{
    for (const auto &p : Parameters)
        if (p.first.compare(parameter, Qt::CaseInsensitive) == 0)
            return p.second.section(QLatin1Char(' '), 0, 0).compare(QStringLiteral("SYSNAME"), Qt::CaseInsensitive) == 0;
    return false;
}

QString TSqliteProcedure::Substituted(const QString &statement,
                                      const std::function<QString(const QString &)> &tableFor) const
{
    QString result;
    int copied = 0;
    for (const TToken &token : SqliteSql::Tokenize(statement)) {
        if (token.Type != TToken::Variable)
            continue;
        const QString parameter = Declared(text(statement, token));
        if (!NamesTable(parameter))
            continue;
        result += statement.mid(copied, token.Start - copied) + tableFor(parameter);
        copied = token.Start + token.Length;
    }
    return result + statement.mid(copied);
}

void TSqliteProcedure::Check(sqlite3 *db) const
{
    for (const QString &statement : Statements) {
        bool namesTable = false;
        for (const TToken &token : SqliteSql::Tokenize(statement))
            namesTable = namesTable || (token.Type == TToken::Variable && NamesTable(text(statement, token)));
        if (namesTable)
            continue;  // its tables are known only when it is called
        TStatement prepared;
        const QByteArray utf8 = statement.toUtf8();
        if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &prepared.Handle, nullptr) != SQLITE_OK)
            raiseSqlite(db);
    }
}

TRowSet TSqliteProcedure::Run(sqlite3 *db, const std::function<QVariant(const QString &)> &valueOf,
                              const std::function<QString(const QString &)> &tableFor) const
{
    TRowSet result;
    for (const QString &statement : Statements) {
        const QByteArray utf8 = Substituted(statement, tableFor).toUtf8();
        TStatement prepared;
        if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &prepared.Handle, nullptr) != SQLITE_OK)
            raiseSqlite(db);
        if (!prepared.Handle)
            continue;
        for (int i = 1; i <= sqlite3_bind_parameter_count(prepared.Handle); ++i) {
            const char *name = sqlite3_bind_parameter_name(prepared.Handle, i);
            if (!name)
                throw EDatabaseError(QStringLiteral("A procedure binds its parameters by name only."));
            if (bind(prepared.Handle, i, valueOf(Declared(QString::fromUtf8(name)))) != SQLITE_OK)
                raiseSqlite(db);
        }
        const int columns = sqlite3_column_count(prepared.Handle);
        TRowSet rows;
        for (int c = 0; c < columns; ++c)
            rows.Fields.append(QString::fromUtf8(sqlite3_column_name(prepared.Handle, c)));
        int step;
        while ((step = sqlite3_step(prepared.Handle)) == SQLITE_ROW) {
            QVector<QVariant> row(columns);
            for (int c = 0; c < columns; ++c)
                row[c] = columnValue(prepared.Handle, c);
            rows.Rows.append(row);
        }
        if (step != SQLITE_DONE)
            raiseSqlite(db);
        if (columns > 0)
            result = rows;
    }
    return result;
}
