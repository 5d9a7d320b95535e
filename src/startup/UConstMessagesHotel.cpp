#include "UConstMessagesHotel.h"
#include "UConstMessagesDesk.h"
#include "UConstMessagesStay.h"
#include "UConstMessagesReports.h"
#include "UConstMessagesSecurity.h"

#include <QCoreApplication>
#include <QMetaObject>

QString DataFolder;
QString SqlComputerName;
QString SqlInstance;
QString SqlUser;
QString SqlDataBase;
bool DatabaseSetupRequired = false;
bool StartWithNewOperator = false;
bool StartWithNewHotel = false;
TLanguage CurrentLanguage = slUnknow;
QString SelectedHotelID;
int TempTableCounter = 0;

namespace {
bool terminateRequested = false;
bool catalogueFilled = false;
} // namespace

void RequestTerminate()
{
    terminateRequested = true;
    if (QCoreApplication *app = QCoreApplication::instance())
        // exit() rather than quit(): it also ends the modal loops that run outside exec().
        QMetaObject::invokeMethod(app, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

bool IsTerminateRequested() { return terminateRequested; }

QString msgMainWindowTitle;
QString msgBugsReportTitle;
QString msgNoServerSettings;
QString msgInformationTitle;
QString msgRestartingSystem;
QString msgInitializingMainBase;
QString msgColon;
QString msgInitializingTable;
QString msgErrorOpeningSettings;
QString msgErrorTitle;
QString msgErrorCreatingDirectory;
QString msgConnectionEstablished;
QString msgConnectionFailed;
QString msgHotelInformationTitle;
QString msgWarningTitle;
QString msgUserChoiceTitle;
QString msgSuccessfulOperation;
QString msgAddNewBase;
QString msgMaxLinksReached;
QString msgDatabaseCreated;
QString msgPanelMenuInitFailed;
QString msgPanelMenuSaveError;
QString msgServerLabel;
QString msgNetLabel;
QString msgBaseLabel;
QString msgUserNameLabel;
QString msgNoFileInDirectory;
QString msgSelectProcedureFile;
QString msgProcedureInstalled;
QString msgNoDataFillIn;
QString msgOperationSucceeded;
QString msgOperationNotSucceeded;
QString msgFillControlsCorrectly;
QString msgWrongUserPassword;
QString colHotelID;
QString colHotelName;
QString colOneRoomType;
QString colTwoRooms;
QString colThreeRooms;
QString colFourRooms;
QString colFiveRoomsApartments;
QString colSixRoomsApartments;
QString colVipApartments;
QString colStudies;
QString colPersonalRooms;
QString colAllBedsCount;
QString colOperatorName;
QString colAddress;
QString colOperatorID;
QString colPhone;
QString colAvatar;
QString colPrivileges;
QString colCity;
QString colUserName;
QString colPassword;
QString colSecurity;
QString colID;
QString colRoomNumber;
QString colPrice;
QString colDiscount;
QString colTariffID;
QString colBedsTotal;
QString colRoomsTotal;
QString colServiceID;
QString colName;
QString colDateFrom;
QString colDateTo;
QString colRoundType;
QString colRoundTypeSum;
QString colCurrencyID;
QString colServiceName;
QString colDiscountID;
QString colMainCurrency;
QString colClientID;
QString colClientName;
QString colTotalSum;
QString colRoundTotalSum;
QString colTotalAfterRevaluation;
QString colYear;
QString colSex;
QString colMoveToNewRoom;
QString colAccommodationData;
QString colDateServiceDeficit;
QString colDateOfDeparture;
QString colReservationStatus;
QString colValidStayFrom;
QString colValidStayTo;
QString colDays;
QString colDealData;
QString colInvoice;
QString colRate;
QString colRoundingDigits;
QString colMainCurrencyRate;
QString colUser;
QString colUserID;
QString colUsers;
QString msgMissingOrWrongData;

const std::array<TCatalogueEntry, CatalogueEntryCount> &CatalogueEntries()
{
    static const std::array<TCatalogueEntry, CatalogueEntryCount> entries = {{
        {"msgMainWindowTitle", &msgMainWindowTitle,
         "KALV Hotel 0.1",
         "КАЛВ Хотел 0.1",
         "КАЛВ Хотел 0.1"},
        {"msgBugsReportTitle", &msgBugsReportTitle,
         "KALV Hotel: error report",
         "КАЛВ Хотел: доклад за грешка",
         "КАЛВ Хотел: отчёт об ошибке"},
        {"msgNoServerSettings", &msgNoServerSettings,
         "There are no server settings. ",
         "Не са сървър настройки. ",
         "Есть нет настроек сервера. "},
        {"msgInformationTitle", &msgInformationTitle,
         "KALV Hotel: information",
         "КАЛВ Хотел: информация",
         "КАЛВ Хотел: информация"},
        {"msgRestartingSystem", &msgRestartingSystem,
         "Reset the system. Please wait. ",
         "Рестартиране на системата. Моля, изчакайте. ",
         "Сброс системы. Пожалуйста, подождите. "},
        {"msgInitializingMainBase", &msgInitializingMainBase,
         "Initializing main base",
         "Инициализиране основната база",
         "Инициализация основной базы"},
        {"msgColon", &msgColon,
         ":",
         ":",
         ":"},
        {"msgInitializingTable", &msgInitializingTable,
         "Initializing table ",
         "Инициализиране таблица",
         "Инициализация таблицы"},
        {"msgErrorOpeningSettings", &msgErrorOpeningSettings,
         "Error opening data settings",
         "Грешка при отваряне на данни Настройки",
         "Ошибка при открытии данные настройки"},
        {"msgErrorTitle", &msgErrorTitle,
         "Oxtarne HOTEL - ERROR",
         "Окстарне HOTEL - грешка",
         "Окстарне HOTEL - ошибка"},
        {"msgErrorCreatingDirectory", &msgErrorCreatingDirectory,
         "Error creating directory:",
         "Грешка при създаване на директория:",
         "Ошибка создания каталога:"},
        {"msgConnectionEstablished", &msgConnectionEstablished,
         "Successfully established connection",
         "Успешно установена връзка ",
         "Успешно создан связи"},
        {"msgConnectionFailed", &msgConnectionFailed,
         "Failed to establish connection",
         "Неуспех да се установи връзка",
         "Не удалось установить соединение"},
        {"msgHotelInformationTitle", &msgHotelInformationTitle,
         "Hotel Information Oxtarne",
         "Хотел окстарне на информация",
         "Информация об отеле Окстарне"},
        {"msgWarningTitle", &msgWarningTitle,
         "Oxtarne Hotel warning",
         "Окстарне Hotel предупреждение",
         "Окстарне Гостиница предупреждение"},
        {"msgUserChoiceTitle", &msgUserChoiceTitle,
         "Hotel Oxtarne user choice",
         "Хотел Окстарне на избор на потребителя",
         "Гостиница Окстарне выбору пользователя"},
        {"msgSuccessfulOperation", &msgSuccessfulOperation,
         "Successful operation",
         "Успешна операция ",
         "Успешная операция"},
        {"msgAddNewBase", &msgAddNewBase,
         "Do you want to add a new base?",
         "Желаете ли да добавите нова база?",
         "Вы хотите добавить новую базу?"},
        {"msgMaxLinksReached", &msgMaxLinksReached,
         "Max number count has reached. The allowable number of physical fails / import links to a database. ",
         "Максимален брой брой е достигнал. Допустимия брой физически не успее / внос връзки към базата данни. ",
         "Максимальное число достигло кол. Допустимое количество физических Сбой / импорт ссылок в базе данных. "},
        {"msgDatabaseCreated", &msgDatabaseCreated,
         "Successfully creating a database ",
         "Успешно създаване на база данни",
         "Успешно создав базу данных"},
        {"msgPanelMenuInitFailed", &msgPanelMenuInitFailed,
         "Failed to initialize panel menu",
         "Неуспех при инициализиране панел меню",
         "Не удалось инициализировать панели меню"},
        {"msgPanelMenuSaveError", &msgPanelMenuSaveError,
         "Error recording panel menu",
         "Грешка при записването панел меню",
         "Ошибка записи панель меню"},
        {"msgServerLabel", &msgServerLabel,
         "Server:",
         "Server:",
         "Server:"},
        {"msgNetLabel", &msgNetLabel,
         "NET",
         "чист",
         "NET"},
        {"msgBaseLabel", &msgBaseLabel,
         "Base:",
         "База: ",
         "База:"},
        {"msgUserNameLabel", &msgUserNameLabel,
         "Username:",
         "Потребителско име:",
         "Имя пользователя"},
        {"msgNoFileInDirectory", &msgNoFileInDirectory,
         "Not that fail in the selected directory.",
         "Не че не успеят в избраната директория.",
         "Не, не в выбранной папке."},
        {"msgSelectProcedureFile", &msgSelectProcedureFile,
         "Please select fail, which contains a stored procedure.",
         "Моля изберете не успеят, който съдържа съхранявани процедура. ",
         "Пожалуйста, выберите Fail, которая содержит хранимую процедуру."},
        {"msgProcedureInstalled", &msgProcedureInstalled,
         "Successful operation",
         "Успешна операция ",
         "Успешная операция"},
        {"msgNoDataFillIn", &msgNoDataFillIn,
         "There are no data. Please fill out the lost data. ",
         "Няма данни. Моля попълнете на загубени данни. ",
         "Есть Нет данных. Пожалуйста, заполните утраченных данных. "},
        {"msgOperationSucceeded", &msgOperationSucceeded,
         "Successfully  operation",
         "Успешно експлоатация ",
         "Успешно операции"},
        {"msgOperationNotSucceeded", &msgOperationNotSucceeded,
         "Not successfully operation",
         "Не е успешно операция ",
         "Не успешной операции"},
        {"msgFillControlsCorrectly", &msgFillControlsCorrectly,
         "Please fill interfaise control with correct data",
         "Моля попълнете контролите с верни данни ",
         "Пожалуйста, заполните interfaise с помощью правильных данных"},
        {"msgWrongUserPassword", &msgWrongUserPassword,
         "Wrong user/password",
         "Грешен потребител/парола",
         "Неправильный пользователь / пароль "},
        {"colHotelID", &colHotelID,
         "Hotel ID",
         "Хотел ID",
         "Гостиница ID"},
        {"colHotelName", &colHotelName,
         "Hotel name",
         "Хотел име",
         "Название гостиницы"},
        {"colOneRoomType", &colOneRoomType,
         "One room type",
         "Една стая тип",
         "Одна комната типа"},
        {"colTwoRooms", &colTwoRooms,
         "Two rooms",
         "Две стаи",
         "Два номера"},
        {"colThreeRooms", &colThreeRooms,
         "Three rooms",
         "Три стаи",
         "Три комнаты"},
        {"colFourRooms", &colFourRooms,
         "Four rooms",
         "Четири стаи",
         "Четыре комнаты"},
        {"colFiveRoomsApartments", &colFiveRoomsApartments,
         "Five rooms apartments",
         "Пет квартири апартаменти",
         "Пять комнат квартиры"},
        {"colSixRoomsApartments", &colSixRoomsApartments,
         "Six rooms apartments",
         "Шест стаи Апартаменти",
         "шесть комнат квартиры"},
        {"colVipApartments", &colVipApartments,
         "VIPs apartments",
         "ВИП апартаменти",
         "лиц записей"},
        {"colStudies", &colStudies,
         "Studies",
         "проучвания",
         "исследований"},
        {"colPersonalRooms", &colPersonalRooms,
         "Personal rooms",
         "Лични стаи",
         "Личные номера"},
        {"colAllBedsCount", &colAllBedsCount,
         "All beds count",
         "Всички легла брои ",
         "Все кровати кол"},
        {"colOperatorName", &colOperatorName,
         "Operator Name",
         "Име на оператора",
         "название оператора"},
        {"colAddress", &colAddress,
         "Address",
         "Адрес",
         "Адрес"},
        {"colOperatorID", &colOperatorID,
         "Operator ID",
         "оператор ID",
         "Код оператора"},
        {"colPhone", &colPhone,
         "Phone",
         "Телефон",
         "Телефон"},
        {"colAvatar", &colAvatar,
         "Avatar",
         "Аватар",
         "Аватара"},
        {"colPrivileges", &colPrivileges,
         "Privileges",
         "привилегиите",
         "Привилегии"},
        {"colCity", &colCity,
         "City",
         "Сити",
         "Город"},
        {"colUserName", &colUserName,
         "User name",
         "Потребителско име",
         "Имя пользователя"},
        {"colPassword", &colPassword,
         "Password",
         "Парола",
         "Пароль"},
        {"colSecurity", &colSecurity,
         "Security",
         "Сигурност",
         "Безопасность"},
        {"colID", &colID,
         "ID",
         "ИД",
         "Код"},
        {"colRoomNumber", &colRoomNumber,
         "Room number",
         "Номер на стая",
         "Номер комнаты"},
        {"colPrice", &colPrice,
         "Price",
         "цена",
         "Цена"},
        {"colDiscount", &colDiscount,
         "Discount",
         "Дискаунт",
         "Скидка"},
        {"colTariffID", &colTariffID,
         "Tariff ID",
         "тарифа ID",
         "Код тарифе"},
        {"colBedsTotal", &colBedsTotal,
         "Beds total number",
         "легла общият брой ",
         "Общее количество мест"},
        {"colRoomsTotal", &colRoomsTotal,
         "Rooms total number",
         "Стаи Общият брой",
         "Общее количество номеров"},
        {"colServiceID", &colServiceID,
         "Service ID",
         "Сервиз ID",
         "Служба ID"},
        {"colName", &colName,
         "Name",
         "Име",
         "Название"},
        {"colDateFrom", &colDateFrom,
         "Data from",
         "Данни от ",
         "Данные"},
        {"colDateTo", &colDateTo,
         "Date to",
         "Дата на",
         "Дата"},
        {"colRoundType", &colRoundType,
         "Round type",
         "Кръг вид",
         "круглого типа"},
        {"colRoundTypeSum", &colRoundTypeSum,
         "Round type sum",
         "Кръг тип сума",
         "Круглый тип сумма"},
        {"colCurrencyID", &colCurrencyID,
         "Currency ID",
         "Валутни ID ",
         "Код валюты"},
        {"colServiceName", &colServiceName,
         "Service name",
         "Името на Услугата",
         "Служба имя"},
        {"colDiscountID", &colDiscountID,
         "Discount ID",
         "Дискаунт ID",
         "Скидка ID"},
        {"colMainCurrency", &colMainCurrency,
         "Main currency",
         "Основна валута",
         "Основные валюты"},
        {"colClientID", &colClientID,
         "Client ID",
         "Клиентски ID",
         "Клиент ID"},
        {"colClientName", &colClientName,
         "Client name",
         "името на клиента",
         "Клиент имя"},
        {"colTotalSum", &colTotalSum,
         "Total sum",
         "Oбщата сума ",
         "Всего"},
        {"colRoundTotalSum", &colRoundTotalSum,
         "Round total sum",
         "Кръг обща сума",
         "раунда общая сумма"},
        {"colTotalAfterRevaluation", &colTotalAfterRevaluation,
         "Total after revaluation",
         "Общо след преоценки",
         "Всего, после переоценки"},
        {"colYear", &colYear,
         "Age",
         "Възраст",
         "Возраст"},
        {"colSex", &colSex,
         "Sex",
         "Пол",
         "Пол"},
        {"colMoveToNewRoom", &colMoveToNewRoom,
         "Move to new room",
         "Преместване в нова стая",
         "Переход на новые номера"},
        {"colAccommodationData", &colAccommodationData,
         "Data to accommodation / reservation",
         "Данни за настаняване / резерви",
         "Данные для размещения / заказ"},
        {"colDateServiceDeficit", &colDateServiceDeficit,
         "Date service deficit",
         "Дата на услугата дефицит ",
         "Дата службе дефицит"},
        {"colDateOfDeparture", &colDateOfDeparture,
         "Date to departure",
         "Дата на отпътуване ",
         "Дата отъезда"},
        {"colReservationStatus", &colReservationStatus,
         "Reservation status",
         "Резервация статут",
         "Статус"},
        {"colValidStayFrom", &colValidStayFrom,
         "Date from Valid Stay",
         "Дата от Валиден Остани",
         "Дата от Действительный Оставайтесь"},
        {"colValidStayTo", &colValidStayTo,
         "Date to Valid Stay",
         "Дата на Валиден Остани ",
         "Дата Действующий Оставайтесь"},
        {"colDays", &colDays,
         "Days",
         "Дни",
         "дней"},
        {"colDealData", &colDealData,
         "Deal data",
         "Сделка данни",
         "Сделка данных"},
        {"colInvoice", &colInvoice,
         "Invoice",
         "Фактура",
         "Счет"},
        {"colRate", &colRate,
         "Curs",
         "Курс",
         "Курс"},
        {"colRoundingDigits", &colRoundingDigits,
         "Type number round",
         "Въведете броя кръгли ",
         "Введите число круглых"},
        {"colMainCurrencyRate", &colMainCurrencyRate,
         "Curs of main currency",
         "Курс на основната валута",
         "Курс основных валют"},
        {"colUser", &colUser,
         "User",
         "Потребител",
         "Пользователь"},
        {"colUserID", &colUserID,
         "User ID",
         "Потребителско име",
         "ID пользователя"},
        {"colUsers", &colUsers,
         "Users",
         "Потребители",
         "Пользователи"},
        {"msgMissingOrWrongData", &msgMissingOrWrongData,
         "Missing data or wrong data type. Please fill with correct data",
         " Липсват данни или гршно попълнени данни. Моля попълнете правилни стойности",
         "Пожалуйста входит правилная информация"},
    }};
    return entries;
}

QString CatalogueText(const TCatalogueEntry &entry, TLanguage language)
{
    switch (language) {
    case slEnglish:
        return QString::fromUtf8(entry.English);
    case slBulgarian:
        return QString::fromUtf8(entry.Bulgarian);
    case slRussian:
        return QString::fromUtf8(entry.Russian);
    case slUnknow:
        break;
    }
    return QString();
}

void ResetCatalogue() { catalogueFilled = false; }

void FillCatalogue(TLanguage language)
{
    if (catalogueFilled)
        return;
    catalogueFilled = true;
    if (language == slUnknow)
        return;
    for (const TCatalogueEntry &entry : CatalogueEntries())
        *entry.Value = CatalogueText(entry, language);
    for (const TCatalogueEntry &entry : AddedCatalogueEntries())
        *entry.Value = CatalogueText(entry, language);
    for (const TCatalogueEntry &entry : FrontDeskCatalogueEntries())
        *entry.Value = CatalogueText(entry, language);
    for (const TCatalogueEntry &entry : ReportCatalogueEntries())
        *entry.Value = CatalogueText(entry, language);
    for (const TCatalogueEntry &entry : SecurityCatalogueEntries())
        *entry.Value = CatalogueText(entry, language);
}

TLanguage LanguageFromText(const QString &text)
{
    for (TLanguage language : {slUnknow, slBulgarian, slEnglish, slRussian})
        if (text == LanguageName(language))
            return language;
    return slUnknow;
}

QString LanguageName(TLanguage language)
{
    switch (language) {
    case slBulgarian:
        return QStringLiteral("slBulgarian");
    case slEnglish:
        return QStringLiteral("slEnglish");
    case slRussian:
        return QStringLiteral("slRussian");
    case slUnknow:
        break;
    }
    return QStringLiteral("slUnknow");
}
