#include "UOperators.h"

#include "URights.h"
#include "data/UAdoDb.h"
#include "data/UDM.h"
#include "data/UDbEngine.h"
#include "desk/UFrontDesk.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesSecurity.h"
#include "startup/UConstMessagesStay.h"

#include <sodium.h>

namespace Operators {

namespace {

const QByteArray kHashPrefix = QByteArrayLiteral("$argon2");

QDateTime &testNow()
{
    static QDateTime now;
    return now;
}

bool sodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

QVariant nullInt() { return QVariant(QMetaType::fromType<int>()); }

TOperator operatorOf(const TADOQuery &query)
{
    TOperator row;
    row.Id = query.FieldByName(QStringLiteral("q80")).AsInteger();
    row.UserName = query.FieldByName(QStringLiteral("q75")).AsString();
    row.Name = query.FieldByName(QStringLiteral("q21")).AsString();
    row.Privileges = Rights::Normalised(query.FieldByName(QStringLiteral("q77")).AsString());
    const TField inactive = query.FieldByName(QStringLiteral("q151"));
    row.Active = inactive.IsNull() || inactive.AsInteger() == 0;
    const TField change = query.FieldByName(QStringLiteral("q152"));
    row.MustChangePassword = !change.IsNull() && change.AsInteger() != 0;
    return row;
}

const QString kOperatorColumns = QStringLiteral("SELECT q80, q75, q21, q76, q77, q151, q152 FROM Operators ");

QList<TOperator> readAll(TADOConnection &connection)
{
    QList<TOperator> rows;
    auto query = OpenQuery(connection, kOperatorColumns + QStringLiteral("ORDER BY q80"));
    for (query->First(); !query->Eof(); query->Next())
        rows.append(operatorOf(*query));
    return rows;
}

TOperator requireOperator(TADOConnection &connection, int id)
{
    auto query = OpenQuery(connection, kOperatorColumns + QStringLiteral("WHERE q80 = :iOperator"), {{"iOperator", id}});
    if (query->Eof())
        throw EOperatorRefused(msgUnknownOperator);
    return operatorOf(*query);
}

// The operators register stays administrable: someone active may still log in and change rights.
void requireAdministrable(const QList<TOperator> &after)
{
    for (const TOperator &row : after)
        if (row.Active && CanAdminister(row.Privileges))
            return;
    throw EOperatorRefused(msgLastRightsEditor);
}

void requirePasswordRules(const QString &userName, const QString &password, const QString &repeated)
{
    const QString problem = PasswordProblem(userName, password, repeated);
    if (!problem.isEmpty())
        throw EOperatorRefused(problem);
}

template <typename TWork>
void writeTransaction(TWork work)
{
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection, true);
    work(connection);
    transaction.Commit();
}

// Changes to operators take turns on every engine: two administrators deactivating each other
// at once must not leave nobody who may log in and change rights.
template <typename TWork>
void operatorsChange(TWork work)
{
    writeTransaction([&](TADOConnection &connection) {
        connection.Engine().LockName(connection, QStringLiteral("Operators register"));
        work(connection);
    });
}

struct TFailures {
    bool Known = false;
    int Count = 0;
    QDateTime Until;
};

TFailures readFailures(TADOConnection &connection, const QString &userName)
{
    TFailures failures;
    auto query = OpenQuery(connection, QStringLiteral("SELECT q153, q154 FROM NeuspeshniVhodove WHERE q75 = :sName"),
                           {{"sName", userName}});
    if (query->Eof())
        return failures;
    failures.Known = true;
    failures.Count = query->FieldByName(QStringLiteral("q153")).AsInteger();
    const TField until = query->FieldByName(QStringLiteral("q154"));
    if (!until.IsNull())
        failures.Until = until.AsDateTime();
    return failures;
}

// One more failure under the name; from the sixth on, the name is refused for a while.
void countFailure(TADOConnection &connection, const QString &userName, const TFailures &before, int operatorId)
{
    const int count = before.Count + 1;
    const int wait = RefusalSeconds(count);
    const QVariant until = wait > 0 ? QVariant(Now().addSecs(wait)) : QVariant(QMetaType::fromType<QDateTime>());
    if (before.Known)
        connection.Execute(QStringLiteral("UPDATE NeuspeshniVhodove SET q153 = ?, q154 = ? WHERE q75 = ?"),
                           {count, until, userName});
    else
        connection.Execute(QStringLiteral("INSERT INTO NeuspeshniVhodove (q75, q153, q154) VALUES (?, ?, ?)"),
                           {userName.left(500), count, until});
    const QVariant key = operatorId > 0 ? QVariant(operatorId) : nullInt();
    FrontDesk::WriteLog(connection, QStringLiteral("operator"), key, QVariant(),
                        operatorId > 0 ? msgLogLoginRefused : msgLogUnknownUser);
    // One row for the whole refused burst, written when it begins.
    if (wait > 0)
        FrontDesk::WriteLog(connection, QStringLiteral("operator"), key, QVariant(),
                            msgLogLoginThrottled.arg(count).arg(wait));
}

} // namespace

QString HashPassword(const QString &password)
{
    if (!sodiumReady())
        throw Exception(QStringLiteral("The password library cannot be started."));
    const QByteArray utf8 = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, utf8.constData(), quint64(utf8.size()), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw Exception(QStringLiteral("The password could not be protected: out of memory."));
    return QString::fromLatin1(hash);
}

bool IsHashed(const QString &stored) { return stored.toLatin1().startsWith(kHashPrefix); }

bool VerifyPassword(const QString &stored, const QString &password)
{
    if (!IsHashed(stored))
        return !stored.isNull() && stored == password;
    if (!sodiumReady())
        return false;
    const QByteArray hash = stored.toLatin1();
    const QByteArray utf8 = password.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), utf8.constData(), quint64(utf8.size())) == 0;
}

QString PasswordProblem(const QString &userName, const QString &password, const QString &repeated)
{
    if (password != repeated)
        return msgPasswordsDiffer;
    if (password.size() < MinimumPasswordLength)
        return msgPasswordTooShort.arg(MinimumPasswordLength);
    if (password.trimmed().compare(userName.trimmed(), Qt::CaseInsensitive) == 0)
        return msgPasswordIsUserName;
    return QString();
}

int RefusalSeconds(int failures)
{
    if (failures < FreeAttempts)
        return 0;
    qint64 seconds = FirstRefusalSeconds;
    for (int i = FreeAttempts; i < failures && seconds < LongestRefusalSeconds; ++i)
        seconds *= 2;
    return int(qMin<qint64>(seconds, LongestRefusalSeconds));
}

QDateTime Now() { return testNow().isValid() ? testNow() : QDateTime::currentDateTime(); }
void SetNow(const QDateTime &now) { testNow() = now; }

TLogin LogIn(const QString &userName, const QString &password)
{
    TLogin result;
    writeTransaction([&](TADOConnection &connection) {
        // Two workstations trying one name take turns, so neither misses the other's failure.
        connection.Engine().LockName(connection, userName);
        const TFailures failures = readFailures(connection, userName);
        if (failures.Until.isValid() && failures.Until > Now()) {
            result.Outcome = loRefusedForNow;
            result.WaitSeconds = int(qMax<qint64>(1, Now().secsTo(failures.Until)));
            result.Message = msgLoginThrottled.arg(WaitText(result.WaitSeconds));
            return;
        }
        auto rows = OpenQuery(connection, kOperatorColumns + QStringLiteral("WHERE q75 = :sName ORDER BY q80"),
                              {{"sName", userName}});
        int known = 0;
        std::optional<TOperator> match;
        QString stored;
        for (rows->First(); !rows->Eof() && !match; rows->Next()) {
            const TOperator row = operatorOf(*rows);
            known = known ? known : row.Id;
            if (VerifyPassword(rows->FieldByName(QStringLiteral("q76")).AsString(), password)) {
                match = row;
                stored = rows->FieldByName(QStringLiteral("q76")).AsString();
            }
        }
        if (!match) {
            countFailure(connection, userName, failures, known);
            result.Outcome = loWrong;
            result.Message = msgWrongUserPassword;
            return;
        }
        result.Operator = match->Id;
        if (!match->Active) {
            FrontDesk::WriteLog(connection, QStringLiteral("operator"), match->Id, QVariant(), msgLogDeactivatedLogin);
            result.Outcome = loDeactivated;
            result.Message = msgOperatorDeactivated;
            return;
        }
        if (match->Privileges.at(Rights::rLogIn - 1) != QLatin1Char('1')) {
            result.Outcome = loNoRight;
            result.Message = msgLoginNoRight.arg(Rights::RightName(Rights::rLogIn));
            return;
        }
        if (!IsHashed(stored))
            connection.Execute(QStringLiteral("UPDATE Operators SET q76 = ? WHERE q80 = ?"),
                               {HashPassword(password), match->Id});
        if (failures.Known)
            connection.Execute(QStringLiteral("DELETE FROM NeuspeshniVhodove WHERE q75 = ?"), {userName});
        result.Outcome = loAccepted;
        result.Privileges = match->Privileges;
        result.MustChangePassword = match->MustChangePassword;
        FrontDesk::WriteLogAs(connection, match->Id, QStringLiteral("operator"), match->Id, QVariant(), msgLogLogin);
    });
    return result;
}

std::optional<TOperator> Read(int id)
{
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection);
    auto query = OpenQuery(connection, kOperatorColumns + QStringLiteral("WHERE q80 = :iOperator"), {{"iOperator", id}});
    std::optional<TOperator> row;
    if (!query->Eof())
        row = operatorOf(*query);
    transaction.Commit();
    return row;
}

void ChangeOwnPassword(const QString &current, const QString &password, const QString &repeated)
{
    const int id = Rights::CurrentOperator();
    if (id <= 0)
        throw ERightRefused(msgRightNobodyLoggedIn);
    writeTransaction([&](TADOConnection &connection) {
        const TOperator me = requireOperator(connection, id);
        auto stored = OpenQuery(connection, QStringLiteral("SELECT q76 FROM Operators WHERE q80 = :iOperator"),
                                {{"iOperator", id}});
        if (!VerifyPassword(stored->FieldByName(QStringLiteral("q76")).AsString(), current))
            throw EOperatorRefused(msgCurrentPasswordWrong);
        requirePasswordRules(me.UserName, password, repeated);
        connection.Execute(QStringLiteral("UPDATE Operators SET q76 = ?, q152 = 0 WHERE q80 = ?"),
                           {HashPassword(password), id});
        FrontDesk::WriteLog(connection, QStringLiteral("Operators"), id, QVariant(), msgLogPasswordChanged);
    });
}

void SetPassword(int id, const QString &password, const QString &repeated, bool changeAtNextLogin)
{
    Rights::Require(Rights::rOperators);
    writeTransaction([&](TADOConnection &connection) {
        const TOperator target = requireOperator(connection, id);
        requirePasswordRules(target.UserName, password, repeated);
        connection.Execute(QStringLiteral("UPDATE Operators SET q76 = ?, q152 = ? WHERE q80 = ?"),
                           {HashPassword(password), changeAtNextLogin ? 1 : 0, id});
        FrontDesk::WriteLog(connection, QStringLiteral("Operators"), id, QVariant(),
                            msgLogPasswordSet.arg(changeAtNextLogin ? QStringLiteral(" (*)") : QString()));
    });
}

void SetActive(int id, bool active)
{
    Rights::Require(Rights::rOperators);
    operatorsChange([&](TADOConnection &connection) {
        QList<TOperator> rows = readAll(connection);
        bool found = false;
        for (TOperator &row : rows)
            if (row.Id == id) {
                row.Active = active;
                found = true;
            }
        if (!found)
            throw EOperatorRefused(msgUnknownOperator);
        if (!active)
            requireAdministrable(rows);
        connection.Execute(QStringLiteral("UPDATE Operators SET q151 = ? WHERE q80 = ?"), {active ? 0 : 1, id});
        FrontDesk::WriteLog(connection, QStringLiteral("Operators"), id, QVariant(),
                            active ? msgLogOperatorActivated : msgLogOperatorDeactivated);
    });
}

void SaveRights(int id, const QString &privileges)
{
    Rights::Require(Rights::rAccessRights);
    const QString wanted = Rights::Normalised(privileges);
    const QString mine = Rights::CurrentPrivileges();
    operatorsChange([&](TADOConnection &connection) {
        QList<TOperator> rows = readAll(connection);
        TOperator *target = nullptr;
        for (TOperator &row : rows)
            if (row.Id == id)
                target = &row;
        if (!target)
            throw EOperatorRefused(msgUnknownOperator);
        for (int i = 0; i < Rights::Count; ++i)
            if (wanted.at(i) == QLatin1Char('1') && target->Privileges.at(i) != QLatin1Char('1') &&
                mine.at(i) != QLatin1Char('1'))
                throw EOperatorRefused(msgCannotGrantRight.arg(Rights::RightName(i + 1)));
        target->Privileges = wanted;
        requireAdministrable(rows);
        connection.Execute(QStringLiteral("UPDATE Operators SET q77 = ? WHERE q80 = ?"), {wanted, id});
        FrontDesk::WriteLog(connection, QStringLiteral("Operators"), id, QVariant(), msgLogRightsChanged.arg(wanted));
    });
}

QString RightsForNewOperator()
{
    Rights::Require(Rights::rOperators);
    return Rights::CurrentPrivileges();
}

QString StoredFormOfNewPassword(const QString &userName, const QString &password, const QString &repeated)
{
    requirePasswordRules(userName, password, repeated);
    return HashPassword(password);
}

bool CanAdminister(const QString &privileges)
{
    const QString rights = Rights::Normalised(privileges);
    return rights.at(Rights::rLogIn - 1) == QLatin1Char('1') && rights.at(Rights::rAccessRights - 1) == QLatin1Char('1');
}

} // namespace Operators
