#pragma once
// The front desk's messages, in the catalogue's three languages, filled by FillCatalogue.

#include "UConstMessagesHotel.h"

#include <QList>

extern QString msgSchemaUpgradeFailed;
extern QString msgBookingSaved;
extern QString msgStatusReserved;
extern QString msgStatusInHouse;
extern QString msgStatusDeparted;
extern QString msgStatusCancelled;
extern QString msgStatusNoShow;
extern QString msgRoomStateClean;
extern QString msgRoomStateDirty;
extern QString msgRoomStateCleaning;
extern QString msgRoomStateOutOfService;
extern QString msgRoomStateLocked;
extern QString msgPaymentDeposit;
extern QString msgPaymentPayment;
extern QString msgPaymentRefund;
extern QString msgMethodCash;
extern QString msgMethodCard;
extern QString msgMethodTransfer;
extern QString msgStayNotFound;
extern QString msgBookingNotFound;
extern QString msgStayStatusForbids;
extern QString msgRoomHeld;
extern QString msgRoomClosed;
extern QString msgRoomNotReady;
extern QString msgRegistrationIncomplete;
extern QString msgCheckInNotToday;
extern QString msgOpenBalance;
extern QString msgNoShowNotDue;
extern QString msgDepartureInvalid;
extern QString msgDepartureUnchanged;
extern QString msgMoveDayInvalid;
extern QString msgSameRoom;
extern QString msgNothingToDo;
extern QString msgAmountInvalid;
extern QString msgQuantityInvalid;
extern QString msgRefundTooLarge;
extern QString msgRoomHasStays;
extern QString msgNoStayOnRoom;
extern QString msgNoBookingFound;
extern QString msgUnknownService;
extern QString msgUnknownRoom;
extern QString msgChooseRow;
extern QString msgRoomStatesSaved;
extern QString msgNoGuestsInHouse;
extern QString msgPrinted;
extern QString msgLogBooked;
extern QString msgLogCheckedIn;
extern QString msgLogWalkIn;
extern QString msgLogCheckedOut;
extern QString msgLogOpenBalance;
extern QString msgLogCancelled;
extern QString msgLogNoShow;
extern QString msgLogExtended;
extern QString msgLogMoved;
extern QString msgLogCharged;
extern QString msgLogPayment;
extern QString msgLogRoomState;
extern QString msgLogLogin;
extern QString msgLogLoginFailed;
extern QString msgLogOperatorChange;
extern QString msgLogRegisterSaved;

const QList<TCatalogueEntry> &FrontDeskCatalogueEntries();
