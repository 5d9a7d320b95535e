#pragma once
// A small demonstration hotel on the embedded server, for a first look at the program.

#include <QString>

namespace DemoData {
// Embedded server settings for the database (the demonstration's when empty), written only
// where the user has none; true when written.
bool WriteEmbeddedSettings(const QString &database = QString());
// Takes back settings that a first start wrote before its database could be made, so that the
// next start is a first start again.
void ForgetServerSettings();
// The database of the stored settings with its tables and the delivered procedures, created
// where missing, and the demonstration hotel when the database holds no hotel yet. here: the
// database is a real one (kalvhotel-admin demo --here), which gets the demonstration operator
// only when it has no operator, with its password to be changed at the first login.
// Raises Exception with a clear message on failure.
// demoHotel false: the tables and procedures only, for a hotel of the user's own.
void Prepare(const QString &scriptsFolder, bool here = false, bool demoHotel = true);
// Installs every delivered procedure of the engine that the database does not have yet.
void InstallMissingProcedures(const QString &scriptsFolder);
} // namespace DemoData
