#pragma once
// Messages the program shows beyond the specified catalogue, in the same three languages and
// filled by the same FillCatalogue call.

#include "UConstMessagesHotel.h"

#include <QList>

extern QString msgDatabaseBusy;
extern QString msgConnectionLost;
extern QString msgConnectionBack;
extern QString msgCommitOutcomeUnknown;
extern QString msgBoardStale;
extern QString msgRegistrationClosed;
extern QString msgRoomNumberExists;
extern QString msgStoredPasswordUnreadable;
extern QString msgOperatorNotSaved;
extern QString msgOperatorListNotRead;
extern QString msgDatabaseNameReserved;
extern QString msgDatabaseNameNotAllowed;
extern QString msgMailNeedsEncryption;
extern QString msgAttachNotSupported;
extern QString msgDiscardStagedRows;
extern QString msgDiscardWindowRows;
extern QString msgQuitProgram;
extern QString msgOperatorLabel;
extern QString msgDbUserLabel;
extern QString msgNobodyLoggedIn;
extern QString msgChangeOperatorHint;
extern QString msgNothingToSave;
extern QString msgRoomAlreadyBooked;
extern QString msgReservationStatusTitle;
extern QString msgFieldsToFix;
extern QString msgRoomDescription;
extern QString msgFirstStartFailed;

const QList<TCatalogueEntry> &AddedCatalogueEntries();
