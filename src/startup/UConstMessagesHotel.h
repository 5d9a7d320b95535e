#pragma once
// Process-wide values and the message catalogue.

#include <QString>
#include <array>

enum TLanguage { slUnknow = 0, slBulgarian = 1, slEnglish = 2, slRussian = 3 };

// Process-wide values: plain values, one user-interface thread, no locking.
extern QString DataFolder;  // ends with a separator when set
extern QString SqlComputerName;
extern QString SqlInstance;
extern QString SqlUser;
extern QString SqlDataBase;
extern bool DatabaseSetupRequired;
extern bool StartWithNewOperator;
extern bool StartWithNewHotel;
extern TLanguage CurrentLanguage;
extern QString SelectedHotelID;
extern int TempTableCounter;  // numbering of staging-table names

// Asking the application to terminate: the flag is checked by modal loops and the entry,
// since a quit posted before the main loop runs would otherwise be lost.
void RequestTerminate();
bool IsTerminateRequested();

// The catalogue: every entry starts empty and is filled once, in one language.
extern QString msgMainWindowTitle;
extern QString msgBugsReportTitle;
extern QString msgNoServerSettings;
extern QString msgInformationTitle;
extern QString msgRestartingSystem;
extern QString msgInitializingMainBase;
extern QString msgColon;
extern QString msgInitializingTable;
extern QString msgErrorOpeningSettings;
extern QString msgErrorTitle;
extern QString msgErrorCreatingDirectory;
extern QString msgConnectionEstablished;
extern QString msgConnectionFailed;
extern QString msgHotelInformationTitle;
extern QString msgWarningTitle;
extern QString msgUserChoiceTitle;
extern QString msgSuccessfulOperation;
extern QString msgAddNewBase;
extern QString msgMaxLinksReached;
extern QString msgDatabaseCreated;
extern QString msgPanelMenuInitFailed;
extern QString msgPanelMenuSaveError;
extern QString msgServerLabel;
extern QString msgNetLabel;
extern QString msgBaseLabel;
extern QString msgUserNameLabel;
extern QString msgNoFileInDirectory;
extern QString msgSelectProcedureFile;
extern QString msgProcedureInstalled;
extern QString msgNoDataFillIn;
extern QString msgOperationSucceeded;
extern QString msgOperationNotSucceeded;
extern QString msgFillControlsCorrectly;
extern QString msgWrongUserPassword;
extern QString colHotelID;
extern QString colHotelName;
extern QString colOneRoomType;
extern QString colTwoRooms;
extern QString colThreeRooms;
extern QString colFourRooms;
extern QString colFiveRoomsApartments;
extern QString colSixRoomsApartments;
extern QString colVipApartments;
extern QString colStudies;
extern QString colPersonalRooms;
extern QString colAllBedsCount;
extern QString colOperatorName;
extern QString colAddress;
extern QString colOperatorID;
extern QString colPhone;
extern QString colAvatar;
extern QString colPrivileges;
extern QString colCity;
extern QString colUserName;
extern QString colPassword;
extern QString colSecurity;
extern QString colID;
extern QString colRoomNumber;
extern QString colPrice;
extern QString colDiscount;
extern QString colTariffID;
extern QString colBedsTotal;
extern QString colRoomsTotal;
extern QString colServiceID;
extern QString colName;
extern QString colDateFrom;
extern QString colDateTo;
extern QString colRoundType;
extern QString colRoundTypeSum;
extern QString colCurrencyID;
extern QString colServiceName;
extern QString colDiscountID;
extern QString colMainCurrency;
extern QString colClientID;
extern QString colClientName;
extern QString colTotalSum;
extern QString colRoundTotalSum;
extern QString colTotalAfterRevaluation;
extern QString colYear;
extern QString colSex;
extern QString colMoveToNewRoom;
extern QString colAccommodationData;
extern QString colDateServiceDeficit;
extern QString colDateOfDeparture;
extern QString colReservationStatus;
extern QString colValidStayFrom;
extern QString colValidStayTo;
extern QString colDays;
extern QString colDealData;
extern QString colInvoice;
extern QString colRate;
extern QString colRoundingDigits;
extern QString colMainCurrencyRate;
extern QString colUser;
extern QString colUserID;
extern QString colUsers;
extern QString msgMissingOrWrongData;

struct TCatalogueEntry {
    const char *Name;
    QString *Value;
    const char *English;
    const char *Bulgarian;
    const char *Russian;
};

constexpr int CatalogueEntryCount = 97;
const std::array<TCatalogueEntry, CatalogueEntryCount> &CatalogueEntries();
// The text of one entry in one language; empty for slUnknow.
QString CatalogueText(const TCatalogueEntry &entry, TLanguage language);
// Fills every entry with the texts of the language; slUnknow leaves them empty.
// Only the first call fills: the catalogue never changes afterwards.
void FillCatalogue(TLanguage language);
// Lets the next FillCatalogue fill the messages again, in another language.
void ResetCatalogue();

// The language named by a Settings.ini text; the comparison is exact.
TLanguage LanguageFromText(const QString &text);
QString LanguageName(TLanguage language);
