#pragma once
// Backups of the configured database and their restore. The embedded engine copies its file
// through SQLite's online backup, a consistent picture even while workstations book; PostgreSQL
// uses its own dump and restore tools. A restore checks first that the file is a backup of this
// program and replaces the database whole or not at all.

#include "errors/UErrors.h"

#include <QString>

KALV_ERROR_CLASS(EBackupError, Exception)

namespace Backup {

// Both work on the database of the shared connection, which must be open; raise EBackupError.
void Take(const QString &file);
// The shared connection is closed after a restore: open it again to use the restored database.
void Restore(const QString &file);
// Removes what a backup killed in the middle left beside its file (each backup notes its part
// in the user's settings while it writes); a part whose writer still runs is left alone.
void RemoveInterruptedParts();

} // namespace Backup
