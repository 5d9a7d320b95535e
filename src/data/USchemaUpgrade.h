#pragma once
// Bringing a database of an earlier version up to the schema this program writes, by numbered
// steps, in one transaction: a database that cannot be brought up to date is left as it was.

#include <QString>

class TADOConnection;

namespace SchemaUpgrade {

// The version the database says it has; 1 when it has no version row (the thirteen tables).
int StoredVersion(TADOConnection &connection);
// Runs every step after the stored version in the caller's transaction; raises on failure.
void ApplySteps(TADOConnection &connection);
// In a write transaction of its own, unless the database is up to date; raises on failure,
// with the database as it was. A database newer than the program is refused.
void BringUpToDate(TADOConnection &connection);
// Where the delivered procedure scripts are, one folder per engine below it.
QString ScriptsFolder();

} // namespace SchemaUpgrade
