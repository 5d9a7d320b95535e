#pragma once
// Bringing a database of an earlier version up to the schema this program writes, by numbered
// steps, in one transaction: a database that cannot be brought up to date is left as it was.

#include <QString>
#include <functional>

class TADOConnection;

namespace SchemaUpgrade {

// The version the database says it has; 1 when it has no version row (the thirteen tables).
int StoredVersion(TADOConnection &connection);

// What an upgrade has before it: the version it starts from, the stays it goes through and
// about how long it takes.
struct TPlan {
    int From = 0;
    qint64 Stays = 0;
    int Seconds = 0;
};
TPlan Plan(TADOConnection &connection);

// Told what the upgrade does (a sentence) and how far it is (0 to 100) as it goes.
using TProgress = std::function<void(const QString &step, int percent)>;

// Runs every step after the stored version in the caller's transaction; raises on failure.
void ApplySteps(TADOConnection &connection, const TProgress &progress = {});
// In a write transaction of its own, unless the database is up to date; raises on failure,
// with the database as it was. A database newer than the program is refused.
void BringUpToDate(TADOConnection &connection, const TProgress &progress = {});
// Gives every room, and every service without one, its VAT rate: accommodation for rooms and
// the services that are room types, the standard rate for the rest.
void AssignVatRates(TADOConnection &connection);
// Where the delivered procedure scripts are, one folder per engine below it.
QString ScriptsFolder();

} // namespace SchemaUpgrade
