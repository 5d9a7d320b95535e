#pragma once
// The operators' logins and passwords: Argon2id hashes, the shared count of failed logins
// that slows guessing, password rules, and the changes an operator may make to operators.
// Every change is one write transaction with its log row, checked against the rights of the
// operator logged in.

#include "errors/UErrors.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

// A password rule or an operator rule refused the change; nothing was written.
KALV_ERROR_CLASS(EOperatorRefused, Exception)

namespace Operators {

// New passwords: at least this many characters, and not the user name.
constexpr int MinimumPasswordLength = 10;
// Failed logins under one name before logins under it are refused for a while.
constexpr int FreeAttempts = 5;
constexpr int FirstRefusalSeconds = 30;
constexpr int LongestRefusalSeconds = 15 * 60;

// Argon2id (libsodium crypto_pwhash_str, interactive limits), as stored in Operators.q76.
QString HashPassword(const QString &password);
bool IsHashed(const QString &stored);
// A hash verifies the password; a stored text that is no hash compares exactly.
bool VerifyPassword(const QString &stored, const QString &password);
// Empty when the new password may be used, else why not.
QString PasswordProblem(const QString &userName, const QString &password, const QString &repeated);
// How long logins under a name are refused after this many failures in a row.
int RefusalSeconds(int failures);

// The clock of the refusals; tests set another (an invalid time: the computer's clock again).
QDateTime Now();
void SetNow(const QDateTime &now);

enum TLoginOutcome { loAccepted, loWrong, loRefusedForNow, loDeactivated, loNoRight };

struct TLogin {
    TLoginOutcome Outcome = loWrong;
    int Operator = 0;
    QString Privileges;
    bool MustChangePassword = false;
    int WaitSeconds = 0;  // loRefusedForNow: how long still
    QString Message;      // what the operator is told when not accepted
};

// Checks a user name and password in one write transaction: the failures of the name are
// counted for every workstation, a plain stored password is replaced by its hash, and the
// outcome is logged (never the typed text).
TLogin LogIn(const QString &userName, const QString &password);

struct TOperator {
    int Id = 0;
    QString UserName, Name, Privileges;
    bool Active = true;
    bool MustChangePassword = false;
};
std::optional<TOperator> Read(int id);

// The operator logged in changes their own password.
void ChangeOwnPassword(const QString &current, const QString &password, const QString &repeated);
// An operator with the operators register's right sets another's password.
void SetPassword(int id, const QString &password, const QString &repeated, bool changeAtNextLogin);
void SetActive(int id, bool active);
// Writes a privilege string, refusing rights the operator logged in does not hold and a change
// that leaves no active operator who may log in and change rights.
void SaveRights(int id, const QString &privileges);
// The privilege string a new operator gets from the operator who creates them.
QString RightsForNewOperator();
// What the operators register sends as the new operator's password.
QString StoredFormOfNewPassword(const QString &userName, const QString &password, const QString &repeated);

// Whether a rights string lets an operator keep the program administrable.
bool CanAdminister(const QString &privileges);

} // namespace Operators
