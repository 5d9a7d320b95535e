#pragma once
// The fifty rights of an operator's privilege string, which command needs which, and the
// rights of the operator logged in. The table of commands is the one place that says who may
// do what: the menus disable by it and every operation checks it again at its entry.

#include "errors/UErrors.h"

#include <QList>
#include <QString>

// The operator lacks the right the operation names; nothing was done.
KALV_ERROR_CLASS(ERightRefused, Exception)

namespace Rights {

// Positions in the privilege string, counted from 1 as the rights editor shows them.
enum TRight {
    rNone = 0,  // a command anyone logged in may run (window arrangement, help)
    rOperators = 1,
    rPrices = 2,
    rTariffs = 3,
    rRooms = 4,
    rRegisters = 5,
    rCurrency = 6,
    rDiscounts = 7,
    rServices = 8,
    rTouristTax = 9,
    rNewDatabase = 10,
    rDatabaseStructure = 11,
    rDatabaseDelete = 12,
    rBackup = 13,
    rAttachDatabase = 14,
    rDatabaseFull = 15,
    rAddProcedures = 16,
    rDeleteProcedures = 17,
    rEditProcedures = 18,
    rServerAccess = 19,
    rServerSettings = 20,
    rOperatorPasswords = 21,
    rAccessRights = 22,
    rMenu = 23,
    rChangeDate = 24,
    rSettings = 25,
    rReservation = 26,
    rCheckIn = 27,
    rCancelCheckIn = 28,
    rEditReservation = 29,
    rCharges = 30,
    rInvoices = 31,
    rCheckOut = 32,
    rChangeOperator = 33,
    rLock = 34,
    rLogIn = 35,
    rExit = 36,
    rReportArrivals = 37,
    rReportDepartures = 38,
    rReportInsurance = 39,
    rReportTouristTax = 40,
    rReportStock = 41,
    rReportFreeRooms = 42,
    rReportRoomCosts = 43,
    rReportOccupancy = 44,
    rReportTurnover = 45,
    rReportGuestTurnover = 46,
    rReportOperatorTurnover = 47,
    rReportProfit = 48,
    rInternalControl = 49,
    rRemoteControl = 50,
    // Added after the fifty: guests' identity documents and personal numbers, and a guest's
    // data given out or anonymised.
    rGuestDocuments = 51,
    // A booking against a rate plan's restrictions (minimum or maximum stay, closed days).
    rOverrideRestrictions = 52,
};

constexpr int Count = 52;
QString Full();   // fifty "1"
QString None();   // fifty "0"
// Denied wherever the stored string is short or holds anything but "1".
QString Normalised(const QString &privileges);

struct TCommandRight {
    const char *Command;  // an action's component name, or a named command of a window
    TRight Right;
};
// Every command an operator can start, with the right it needs.
const QList<TCommandRight> &CommandRights();
// The right a command needs; rNone for a command that needs none. A command missing from the
// table needs every right (a new command without its line is closed, not open).
int RightOfCommand(const QString &command);
bool IsKnownCommand(const QString &command);

// The right's caption in the rights editor, in the operator's language where known.
QString RightName(int right);

// The operator logged in: nobody (no rights) until a login sets it.
void SetCurrent(int operatorId, const QString &privileges);
void ClearCurrent();
int CurrentOperator();
QString CurrentPrivileges();
bool Has(int right);
bool HasCommand(const QString &command);
// Raises ERightRefused with the right's name when the operator lacks it.
void Require(int right);
void RequireCommand(const QString &command);
// What a refusal says, for tooltips and messages.
QString RefusalText(int right);

} // namespace Rights
