#pragma once
// Messages of logging in, passwords and rights, in the catalogue's three languages, filled by
// FillCatalogue.

#include "UConstMessagesHotel.h"

#include <QList>

extern QString msgRightMissing;
extern QString msgRightNobodyLoggedIn;
extern QString msgLoginThrottled;
extern QString msgSecondsText;
extern QString msgMinutesText;
extern QString msgOperatorDeactivated;
extern QString msgLoginNoRight;
extern QString msgPasswordTooShort;
extern QString msgPasswordIsUserName;
extern QString msgPasswordsDiffer;
extern QString msgCurrentPasswordWrong;
extern QString msgPasswordChanged;
extern QString msgMustChangePassword;
extern QString msgLastRightsEditor;
extern QString msgCannotGrantRight;
extern QString msgRightsTakeEffect;
extern QString msgUnknownOperator;
extern QString msgUserNameTaken;
extern QString msgLogUnknownUser;
extern QString msgLogLoginRefused;
extern QString msgLogLoginThrottled;
extern QString msgLogPasswordChanged;
extern QString msgLogPasswordSet;
extern QString msgLogOperatorDeactivated;
extern QString msgLogOperatorActivated;
extern QString msgLogRightsChanged;
extern QString msgLogOperatorCreated;
extern QString msgLogDeactivatedLogin;
extern QString msgLogDeskLocked;
extern QString msgConfigNeedsConnection;
extern QString msgChangePasswordTitle;
extern QString msgSetPasswordTitle;
extern QString msgOperatorSaved;

// "30 s", "2 min": how long a refusal lasts.
QString WaitText(int seconds);

const QList<TCatalogueEntry> &SecurityCatalogueEntries();
