#include "URights.h"

#include "framework/UWideIniFile.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesSecurity.h"

#include <QFileInfo>
#include <QHash>
#include <memory>

namespace Rights {

namespace {

struct TRightCaption {
    const char *Label;    // the rights editor's label, whose caption Settings.ini gives
    const char *Caption;  // the layout's caption, where Settings.ini has none
};

// Position n is entry n - 1.
const TRightCaption kCaptions[Count] = {
    {"lInfoSecurityOperators", "Оператори"},
    {"lInfoSecurityPrices", "Цени"},
    {"lInfoSecurityTarifes", "Тарифи"},
    {"lInfoSecurityRooms", "Стаи"},
    {"lInfoSecurityAllNomenclatures", "Номенклатури"},
    {"lInfoSecurityCurrency", "Валута"},
    {"lInfoSecurityDiscount", "Отстъпки"},
    {"lInfoSecurityServices", "Услуги"},
    {"lInfoSecuritySpaTaxs", "Куротни такси"},
    {"lInfoSecurityNewDB", "Нова база"},
    {"lInfoSecurityChangeStructor", "Промяна структора"},
    {"lInfoSecurityDBDelete", "Изтриване"},
    {"lInfoSecurityDBArchive", "Архивиране"},
    {"lInfoSecurityDBMoveAttachDetach", "Преместване"},
    {"lInfoSecurityFullDBSecurity", "Пълен достъп до база"},
    {"lInfoSecurityAddSP", "Добавяне на съхранени процедури"},
    {"lInfoSecurityDelSP", "Изтриване на съхранени процедури"},
    {"lInfoSecurityEditSP", "Редактиране на съхранени процедури"},
    {"lInfoSecurityServerSecurity", "Достъп"},
    {"lInfoSecuritySettingsServer", "Настройки MSSQL Server"},
    {"lInfoSecurityChangePassword", "Промяна парола на оператори"},
    {"lInfoSecurityChangeSecurity", "Промяна на достъп (сигурност)"},
    {"lInfoSecurityMenu", "Меню"},
    {"lInfoSecurityChangeDate", "Промяна на дата (време)"},
    {"lInfoSecurityAllSettings", "Общо достъп до настройки"},
    {"lInfoReservation", "Резервация"},
    {"lInfoSecurityAcomodation", "Настаняване"},
    {"lInfoSecurityDeleteAcomodation", "Отмяна настаняване"},
    {"lInfoSecurityDeleteReservation", "Отмяна(редакция) резервация"},
    {"lInfoSecurityAddMoneySum", "Начисления"},
    {"lInfoSecurityFacturs", "Фактуриране"},
    {"lInfoSecurityFinishDay", "Приключване"},
    {"lInfoSecurityChangeOperator", "Смяна оператор"},
    {"lInfoSecurityLock", "Заключване"},
    {"lInfoSecurityEnterToSystemLogIn", "Вход в системата"},
    {"lInfoSecurityExitFromSystem", "Изход от системата"},
    {"lInfoSecurityReportArrive", "Справка пристигащи"},
    {"lInfoSecurityReportDeparture", "Справка отпътуващи"},
    {"lInfoSecurityReportSecurity", "Справка застраховки"},
    {"lInfoSecurityReportTaxs", "Справка курортни такси"},
    {"lInfoSecurityReportMaterialSavers", "Справка матерални запаси"},
    {"lInfoSecurityReportAvailebleRooms", "Справка свободни стаи"},
    {"lInfoSecurityReportRazhod", "Справка стаи разход"},
    {"lInfoSecurityReportZaetost", "Справка заетост"},
    {"lInfoSecurityReport", "Справка общ оборот"},
    {"lInfoSecurityReportClientSum", "Справка оборот клиент"},
    {"lInfoSecurityReportOperatorSum", "Справка оборот по оператори"},
    {"lInfoSecurityReportWining", "Справка печалба"},
    {"lInfoSecurityInnerControlAndSecurity", "Вътрешен контрол и сигурност"},
    {"lInfoSecurityRemoteControl", "Отдалечен достъп и централизирано управление"},
    {"lInfoSecurityGuestDocuments", "Лични данни и документи на гости"},
    {"lInfoSecurityRateOverride", "Резервация въпреки ограниченията на ценови план"},
};

// Who may start what. Menus, toolbars, the board's context menu, its double click, the search
// box and the named commands of windows; each operation checks its right again at its entry.
const QList<TCommandRight> kCommandRights = {
    // Операции
    {"actOperReserv", rReservation},
    {"actOperShahmatka", rReservation},
    {"actOperCleanRoom", rCheckIn},
    {"actOperNachislenie", rCharges},
    {"actOperOtmianaReserv", rEditReservation},
    {"actOperNastaniavane", rCheckIn},
    {"actOperPrikluchvane", rCheckOut},
    {"actOperAddresCards", rCheckIn},
    {"actOperZatvaryaneDen", rChangeDate},
    {"actOperSec", rAccessRights},
    {"actOperHotelRoomsRefresh", rNone},
    {"actOperChangeOperator", rChangeOperator},
    // Доклади
    {"actReportRoomZaeti", rReportOccupancy},
    {"actReportAvailebleRooms", rReportFreeRooms},
    {"actReportLikvid", rReportProfit},
    {"actReportOborotContragents", rReportGuestTurnover},
    {"actReportAllOborot", rReportTurnover},
    {"actReportOperatorsOborot", rReportOperatorTurnover},
    {"actReportZastrahovki", rReportInsurance},
    {"actReportRazhodStai", rReportRoomCosts},
    {"actReportTaxs", rReportTouristTax},
    {"actReportDokumenti", rInvoices},
    {"actReportDnevenOtchet", rReportTurnover},
    {"actReportDarzhavi", rReportOccupancy},
    {"actReportEsti", rReportArrivals},
    {"actReportPrisitgashti", rReportArrivals},
    {"actReportOtpatuvashti", rReportDepartures},
    // Администрация
    {"actAdministrationsConfigDB", rServerSettings},
    {"actAdministrationsConstructHotel", rRooms},
    // Настройки
    {"actSettingsCardSystem", rSettings},
    {"actSettingsPersonalise", rSettings},
    // Номенклатури
    {"actNomenOperators", rOperators},
    {"actNomenAll", rRegisters},
    {"actNomenRooms", rRooms},
    {"actNomenPrice", rPrices},
    {"actNomenDiscount", rDiscounts},
    {"actNomenClients", rRegisters},
    {"actNomenSeif", rRegisters},
    {"actNomenServices", rServices},
    {"actNomenZastrahovki", rRegisters},
    {"actNomenTaxs", rTouristTax},
    {"actNomenDDS", rPrices},
    {"actNomenSerii", rSettings},
    {"actNomenGosti", rRegisters},
    {"actNomenValuta", rCurrency},
    {"actNomenTarifs", rTariffs},
    {"actNomenHotels", rRegisters},
    // Прозорци, Меню, Помощ
    {"actWinSortCascade", rNone},
    {"actWinSortArrange", rNone},
    {"actWinSortTile", rNone},
    {"actWinCloseAll", rNone},
    {"actMenuReset", rMenu},
    {"actHelpAboutAs", rNone},
    {"actHelpGuide", rNone},
    {"actClose", rNone},  // leaving is never barred: a locked-in operator helps nobody
    // The board: its context menu, its double click, and the search box.
    {"popupExtend", rEditReservation},
    {"popupMove", rEditReservation},
    {"popupCharge", rCharges},
    {"popupPayment", rCharges},
    {"popupLeave", rCheckOut},
    {"popupReservation", rReservation},
    {"popupCheckIn", rCheckIn},
    {"boardOpenFolio", rReservation},
    {"EditSearchMain", rReservation},
    {"actChangeOwnPassword", rNone},
    // Commands inside windows.
    {"folioCheckIn", rCheckIn},
    {"folioCheckOut", rCheckOut},
    {"folioCancel", rEditReservation},
    {"folioNoShow", rEditReservation},
    {"folioExtend", rEditReservation},
    {"folioMove", rEditReservation},
    {"folioCharge", rCharges},
    {"folioPayment", rCharges},
    {"folioInvoice", rInvoices},
    // The day's close: the close itself, opening the last closed day again, the hotels' rules,
    // and the decisions beside what it finds open.
    {"dayClose", rChangeDate},
    {"dayReopen", rInternalControl},
    {"dayRules", rSettings},
    {"dayCheckIn", rCheckIn},
    {"dayNoShow", rEditReservation},
    {"dayTomorrow", rEditReservation},
    {"dayCheckOut", rCheckOut},
    {"dayExtend", rEditReservation},
    {"dayFolio", rReservation},
    {"roomStates", rCheckIn},
    {"roomClosures", rRooms},
    {"registerHotels", rRegisters},
    {"registerRooms", rRooms},
    {"registerTariffs", rTariffs},
    {"registerServices", rServices},
    {"registerCurrency", rCurrency},
    {"registerTouristTax", rTouristTax},
    {"registerOperators", rOperators},
    {"operatorPasswords", rOperators},
    {"accessRights", rAccessRights},
    {"hotelPlan", rRooms},
    {"databaseCreate", rNewDatabase},
    {"databaseAttach", rAttachDatabase},
    {"databaseProcedure", rAddProcedures},
    {"databaseServer", rServerSettings},
};

struct TCurrent {
    int Operator = 0;
    QString Privileges;  // empty: nobody is logged in, nothing is allowed
};

TCurrent &current()
{
    static TCurrent value;
    return value;
}

// The captions of the rights in the operator's language, read once per change of the file.
QString captionFromSettings(const char *label)
{
    static std::unique_ptr<TWideMemIniFile> cached;
    static int writes = -1;
    const QString path = DataFolder + QStringLiteral("Settings.ini");
    if (!cached || cached->FileName() != path || TWideMemIniFile::WriteCount() != writes) {
        cached = std::make_unique<TWideMemIniFile>(path);
        writes = TWideMemIniFile::WriteCount();
    }
    return cached->ReadString(QStringLiteral("LANG"), QLatin1String(label), QString());
}

} // namespace

QString Full() { return QString(Count, QLatin1Char('1')); }
QString None() { return QString(Count, QLatin1Char('0')); }

QString Normalised(const QString &privileges)
{
    QString result = None();
    for (int i = 0; i < Count && i < privileges.size(); ++i)
        if (privileges.at(i) == QLatin1Char('1'))
            result[i] = QLatin1Char('1');
    return result;
}

const QList<TCommandRight> &CommandRights() { return kCommandRights; }

bool IsKnownCommand(const QString &command)
{
    for (const TCommandRight &entry : kCommandRights)
        if (command == QLatin1String(entry.Command))
            return true;
    return false;
}

int RightOfCommand(const QString &command)
{
    for (const TCommandRight &entry : kCommandRights)
        if (command == QLatin1String(entry.Command))
            return entry.Right;
    return -1;
}

QString RightName(int right)
{
    if (right < 1 || right > Count)
        return QString();
    const TRightCaption &caption = kCaptions[right - 1];
    const QString fromSettings = captionFromSettings(caption.Label);
    return fromSettings.isEmpty() ? QString::fromUtf8(caption.Caption) : fromSettings;
}

void SetCurrent(int operatorId, const QString &privileges)
{
    current().Operator = operatorId;
    current().Privileges = Normalised(privileges);
}

void ClearCurrent() { current() = TCurrent(); }
int CurrentOperator() { return current().Operator; }
QString CurrentPrivileges() { return current().Privileges; }

bool Has(int right)
{
    const QString &privileges = current().Privileges;
    if (privileges.isEmpty())
        return false;
    if (right == rNone)
        return true;
    return right >= 1 && right <= Count && privileges.at(right - 1) == QLatin1Char('1');
}

bool HasCommand(const QString &command)
{
    const int right = RightOfCommand(command);
    return right >= 0 && Has(right);
}

QString RefusalText(int right)
{
    if (right < 1)
        return msgRightNobodyLoggedIn;
    return msgRightMissing.arg(RightName(right));
}

void Require(int right)
{
    if (!Has(right))
        throw ERightRefused(RefusalText(current().Privileges.isEmpty() ? 0 : right));
}

void RequireCommand(const QString &command)
{
    const int right = RightOfCommand(command);
    if (right < 0)
        throw ERightRefused(msgRightMissing.arg(command));
    Require(right);
}

} // namespace Rights
