#pragma once
// Preparing a server for the system: a new database with every table, attaching database
// files and installing a stored procedure. The configuration window and kalvhotel-admin
// both run these, and show the outcome each in its own way.

#include <QList>
#include <QPair>
#include <QString>

namespace DatabaseSetup {

// The server settings as the configuration window's Save stores them.
struct TServerSettings {
    QString Server, Instance, Alias, Authentication, User, Password, Port, Protocol, DataBase, Provider;
    QString SslMode, SslRootCert;
    bool DynamicPort = false;
};
// Writes every value in one write of the store; false when the password library failed (the
// other values are written all the same). Raises ERegistryException when nothing could be.
bool WriteServerSettings(const TServerSettings &settings);

enum class TOutcome { NotConnected, Failed, Done };

struct TResult {
    TOutcome Outcome = TOutcome::Done;
    QString Message;  // the server's message when Failed
};

// Creates the database on the stored server and its tables in one transaction; the shared
// connection stays on the new database.
TResult CreateDatabase(const QString &name);
// The logical name of a database file: its name without folder and extension; empty without a dot.
QString LogicalName(const QString &path);
// Attaches from the last entry to the first on the shared connection; stops at the first error.
TResult AttachDatabases(const QList<QPair<QString, QString>> &entries);
// The script with every line ended as the servers read lines (a lone carriage return widened).
QString ServerLineBreaks(const QString &script);
// Runs a procedure script as one batch on the shared connection.
TResult InstallProcedure(const QString &script);
// The tables on the current connection, each unless it exists, their indexes and the
// version row; a database of an earlier version is brought up to date (in the caller's transaction).
void CreateTables(const QString &database);
// Adds the indexes a database of an earlier version lacks; a refusal is no failure.
void EnsureIndexes();

} // namespace DatabaseSetup
