#include "UGuestSearch.h"

#include "UDbEngine.h"

#include <QSqlError>
#include <QSqlQuery>

namespace GuestSearch {

namespace {

constexpr int kWordLength = 40;
constexpr int kWordsPerName = 8;
constexpr int kIndexBatch = 2000;

// Accents go from Latin letters only: in Cyrillic "й" is a letter of its own, not an "и".
QString folded(const QString &word)
{
    QString plain;
    for (const QChar c : word.normalized(QString::NormalizationForm_D)) {
        const bool mark = c.category() == QChar::Mark_NonSpacing;
        if (mark && !plain.isEmpty() && plain.back().script() == QChar::Script_Latin)
            continue;
        plain.append(c);
    }
    return plain.normalized(QString::NormalizationForm_C).toCaseFolded();
}

// The highest character: every text that begins with the prefix sorts below prefix + it, in
// the program's own comparison and in the server's collations alike.
QString upTo(const QString &prefix) { return prefix + QChar(0xFFFF); }

} // namespace

QStringList Words(const QString &name)
{
    QStringList words;
    QString word;
    auto flush = [&] {
        if (!word.isEmpty() && words.size() < kWordsPerName)
            words.append(folded(word).left(kWordLength));
        word.clear();
    };
    for (const QChar c : name) {
        if (c.isLetterOrNumber() || c.category() == QChar::Mark_NonSpacing)
            word.append(c);
        else
            flush();
    }
    flush();
    words.removeDuplicates();
    return words;
}

void IndexName(TADOConnection &connection, int booking, const QString &name)
{
    for (const QString &word : Words(name))
        connection.Execute(QStringLiteral("INSERT INTO DumiImena (q162, q124) VALUES (?, ?)"), {word, booking});
}

void IndexAllNames(TADOConnection &connection, const std::function<bool(int, int)> &progress)
{
    connection.Execute(QStringLiteral("DELETE FROM DumiImena"));
    const int total = connection.Column(QStringLiteral("SELECT COUNT(*) FROM Rezervacii")).value(0).toInt();
    QSqlQuery names(connection.Database());
    names.setForwardOnly(true);
    if (!names.exec(QStringLiteral("SELECT q124, q29 FROM Rezervacii WHERE q29 IS NOT NULL")))
        RaiseDatabaseError(names.lastError());
    QSqlQuery insert(connection.Database());
    insert.prepare(QStringLiteral("INSERT INTO DumiImena (q162, q124) VALUES (?, ?)"));
    int done = 0;
    while (names.next()) {
        const QVariant booking = names.value(0);
        for (const QString &word : Words(names.value(1).toString())) {
            insert.bindValue(0, word);
            insert.bindValue(1, booking);
            if (!insert.exec())
                RaiseDatabaseError(insert.lastError());
        }
        if (++done % kIndexBatch == 0 && progress && !progress(done, total))
            throw EDatabaseError(QStringLiteral("Stopped."));
    }
    if (progress)
        progress(total, total);
}

void IndexGuest(TADOConnection &connection, int guest, const QString &name, const QString &latinName)
{
    connection.Execute(QStringLiteral("DELETE FROM DumiGosti WHERE q252 = ?"), {guest});
    QStringList words = Words(name) + Words(latinName);
    words.removeDuplicates();
    for (const QString &word : words)
        connection.Execute(QStringLiteral("INSERT INTO DumiGosti (q162, q252) VALUES (?, ?)"), {word, guest});
}

void IndexAllGuests(TADOConnection &connection)
{
    connection.Execute(QStringLiteral("DELETE FROM DumiGosti"));
    QSqlQuery names(connection.Database());
    names.setForwardOnly(true);
    if (!names.exec(QStringLiteral("SELECT q252, q253, q254 FROM Gosti")))
        RaiseDatabaseError(names.lastError());
    QList<std::pair<int, QStringList>> all;
    while (names.next()) {
        QStringList words = Words(names.value(1).toString()) + Words(names.value(2).toString());
        words.removeDuplicates();
        all.append({names.value(0).toInt(), words});
    }
    QSqlQuery insert(connection.Database());
    insert.prepare(QStringLiteral("INSERT INTO DumiGosti (q162, q252) VALUES (?, ?)"));
    for (const auto &[guest, words] : all)
        for (const QString &word : words) {
            insert.bindValue(0, word);
            insert.bindValue(1, guest);
            if (!insert.exec())
                RaiseDatabaseError(insert.lastError());
        }
}

TStatement GuestsStatement(TADOConnection &connection, const QString &select, const QString &text, int rows)
{
    const TDbEngine &engine = connection.Engine();
    const QString typed = text.trimmed();
    TStatement statement;
    statement.Parameters = {{QStringLiteral("sPersonal"), typed}, {QStringLiteral("sDocument"), typed}};
    QString keys = QStringLiteral("SELECT q252 FROM Gosti WHERE q28 = :sPersonal "
                                  "UNION SELECT q252 FROM Gosti WHERE q259 = :sDocument");
    const QStringList words = Words(typed);
    if (!words.isEmpty()) {
        QString named = QStringLiteral("SELECT w.q252 FROM DumiGosti w WHERE w.q162 >= :sWord0 AND w.q162 <= :sWordTo0");
        for (int i = 1; i < words.size(); ++i)
            named += QStringLiteral(" AND w.q252 IN (SELECT q252 FROM DumiGosti WHERE q162 >= :sWord%1 AND q162 <= :sWordTo%1)")
                         .arg(i);
        for (int i = 0; i < words.size(); ++i) {
            statement.Parameters.append({QStringLiteral("sWord%1").arg(i), words.at(i)});
            statement.Parameters.append({QStringLiteral("sWordTo%1").arg(i), upTo(words.at(i))});
        }
        keys += QStringLiteral(" UNION SELECT q252 FROM (") +
                engine.FirstRows(named + QStringLiteral(" ORDER BY w.q252 DESC"), rows) + QStringLiteral(") AS n");
    }
    if (typed.isEmpty())
        keys = QStringLiteral("SELECT q252 FROM Gosti WHERE 1 = 0");
    statement.Sql = engine.FirstRows(select + QStringLiteral(" WHERE g.q252 IN (") + keys + QStringLiteral(") ORDER BY g.q252 DESC"),
                                     rows);
    return statement;
}

TStatement Statement(TADOConnection &connection, const QString &select, const QString &text, int rows)
{
    const TDbEngine &engine = connection.Engine();
    const QString typed = text.trimmed();
    bool isNumber = false;
    const int number = typed.toInt(&isNumber);
    TStatement statement;
    statement.Parameters = {{QStringLiteral("iBooking"), isNumber ? number : -1},
                            {QStringLiteral("sPersonal"), typed},
                            {QStringLiteral("sPassport"), typed},
                            {QStringLiteral("sRoom"), typed}};
    QString keys = QStringLiteral(
        "SELECT q124 FROM Rezervacii WHERE q124 = :iBooking "
        "UNION SELECT q124 FROM Rezervacii WHERE q28 = :sPersonal "
        "UNION SELECT q124 FROM Rezervacii WHERE q133 = :sPassport "
        "UNION SELECT k.q124 FROM Rooms r INNER JOIN Klients k ON (k.q47 = r.q47) WHERE r.q44 = :sRoom AND k.q124 IS NOT NULL");
    // Every typed word begins a word of the name; the newest bookings first.
    const QStringList words = Words(typed);
    if (!words.isEmpty()) {
        QString named = QStringLiteral("SELECT w.q124 FROM DumiImena w WHERE w.q162 >= :sWord0 AND w.q162 <= :sWordTo0");
        for (int i = 1; i < words.size(); ++i)
            named += QStringLiteral(" AND w.q124 IN (SELECT q124 FROM DumiImena WHERE q162 >= :sWord%1 AND q162 <= :sWordTo%1)")
                         .arg(i);
        for (int i = 0; i < words.size(); ++i) {
            statement.Parameters.append({QStringLiteral("sWord%1").arg(i), words.at(i)});
            statement.Parameters.append({QStringLiteral("sWordTo%1").arg(i), upTo(words.at(i))});
        }
        keys += QStringLiteral(" UNION SELECT q124 FROM (") +
                engine.FirstRows(named + QStringLiteral(" ORDER BY w.q124 DESC"), rows + 1) + QStringLiteral(") AS n");
    }
    if (typed.isEmpty())
        keys = QStringLiteral("SELECT q124 FROM Rezervacii WHERE 1 = 0");
    statement.Sql = engine.FirstRows(select + QStringLiteral("WHERE b.q124 IN (") + keys +
                                         QStringLiteral(") ORDER BY b.q124 DESC, k.q34"),
                                     rows + 1);
    return statement;
}

} // namespace GuestSearch
