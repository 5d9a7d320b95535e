#include "UDemoData.h"
#include "data/USchemaUpgrade.h"

#include "desk/UFrontDesk.h"
#include "desk/UNights.h"
#include "desk/UOperators.h"
#include "desk/URights.h"

#include "UDatabaseSetup.h"
#include "data/UADOComunicationControl.h"
#include "data/UDLLSafeCall.h"
#include "data/UDM.h"
#include "data/UDbEngine.h"
#include "data/URegistry.h"
#include "errors/MyClass.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

namespace DemoData {

namespace {

const QString kDemoDatabase = QStringLiteral("KalvHotel");

void insert(TADOConnection &connection, const QString &sql, const QVariantList &values)
{
    TADOQuery query(&connection);
    query.SetSQLText(sql);
    QList<TParameter> &parameters = query.Parameters();
    for (int i = 0; i < parameters.size() && i < values.size(); ++i)
        parameters[i].Value = values.at(i);
    query.ExecSQL();
}

int countRows(TADOConnection &connection, const QString &table)
{
    TADOQuery query(&connection);
    query.SetSQLText(QStringLiteral("SELECT COUNT(*) AS n FROM [dbo].[") + table + QStringLiteral("]"));
    query.Open();
    return query.FieldByName(QStringLiteral("n")).AsInteger();
}

// The demonstration operator: demo / demo on the throw-away hotel; on a real database, only
// where it has no operator yet, and then its password must be changed at the first login.
void addDemoOperator(TADOConnection &connection, bool here)
{
    if (here && countRows(connection, QStringLiteral("Operators")) > 0)
        return;
    insert(connection,
           QStringLiteral("INSERT INTO [dbo].[Operators] (q1, q21, q23, q24, q74, q75, q76, q77, q151, q152) "
                          "VALUES (:q1, :q21, :q23, :q24, :q74, :q75, :q76, :q77, :q151, :q152)"),
           {1, QStringLiteral("Демо оператор"), QStringLiteral("ул. Морска 1"), QStringLiteral("+359 52 000 000"),
            QStringLiteral("Варна"), QStringLiteral("demo"), Operators::HashPassword(QStringLiteral("demo")),
            Rights::Full(), 0, here ? 1 : 0});
}

// Bed and breakfast by season for this year and the next: the rooms' types, the prices of each
// type for one to three adults (an extra bed in the apartment), children under three free and
// up to eleven at half.
void fillRatePlan(TADOConnection &connection)
{
    const QStringList types = {QStringLiteral("Единична"), QStringLiteral("Двойна"), QStringLiteral("Апартамент")};
    for (int service = 1; service <= 3; ++service)
        connection.Execute(QStringLiteral("UPDATE Rooms SET q275 = ? WHERE q42 = ?"), {types.at(service - 1), service});
    const int plan = connection.InsertReturningIdentity(
        QStringLiteral("CenoviPlanove"), {QStringLiteral("q277"), QStringLiteral("q57"), QStringLiteral("q278"), QStringLiteral("q279"),
                                          QStringLiteral("q280")},
        QStringLiteral("VALUES (?, (SELECT MIN(q57) FROM Valuta WHERE q56 = 'EUR'), 1, ?, (SELECT MIN(q42) FROM Uslugi WHERE q33 = ?))"),
        {QStringLiteral("Нощувка и закуска"), int(Nights::mpBreakfast), QStringLiteral("Закуска")});
    // type, adults (0: extra bed), low season, high season
    const struct {
        int Type, Adults;
        int Low, High;
    } prices[] = {{0, 1, 55, 75}, {1, 1, 65, 95}, {1, 2, 80, 120}, {2, 2, 140, 190}, {2, 3, 165, 225}, {2, 0, 30, 40}};
    const int weekend = RatePlans::WeekdayBit(Qt::Friday) | RatePlans::WeekdayBit(Qt::Saturday);
    for (int year = QDate::currentDate().year(); year <= QDate::currentDate().year() + 1; ++year) {
        const QList<std::pair<QDate, QDate>> seasons = {{QDate(year, 1, 1), QDate(year, 5, 31)},
                                                        {QDate(year, 6, 1), QDate(year, 9, 30)},
                                                        {QDate(year, 10, 1), QDate(year, 12, 31)}};
        for (const auto &[first, last] : seasons) {
            const bool high = first.month() == 6;
            const int season = connection.InsertReturningIdentity(
                QStringLiteral("Sezoni"), {QStringLiteral("q276"), QStringLiteral("q284"), QStringLiteral("q52"), QStringLiteral("q53")},
                QStringLiteral("VALUES (?, ?, ?, ?)"),
                {plan, QStringLiteral("%1 %2").arg(high ? QStringLiteral("Лято") : QStringLiteral("Извън сезона")).arg(year), first, last});
            for (const auto &price : prices) {
                const int amount = high ? price.High : price.Low;
                // Out of season a double room for two costs more on Friday and Saturday nights.
                const bool byWeekday = !high && price.Type == 1 && price.Adults == 2;
                connection.Execute(QStringLiteral("INSERT INTO Ceni (q276, q283, q275, q286, q287, q70) VALUES (?, ?, ?, ?, ?, ?)"),
                                   {plan, season, types.at(price.Type), price.Adults,
                                    byWeekday ? RatePlans::kEveryDay & ~weekend : RatePlans::kEveryDay, amount});
                if (byWeekday)
                    connection.Execute(QStringLiteral("INSERT INTO Ceni (q276, q283, q275, q286, q287, q70) VALUES (?, ?, ?, ?, ?, ?)"),
                                       {plan, season, types.at(price.Type), price.Adults, weekend, amount + 15});
            }
        }
    }
    connection.Execute(QStringLiteral("INSERT INTO DetskiVazrasti (q1, q289, q290, q291, q292) VALUES (1, 0, 2, ?, 0), (1, 3, 11, ?, 50)"),
                       {int(RatePlans::crFree), int(RatePlans::crPercent)});
}

void fillHotel(TADOConnection &connection)
{
    insert(connection,
           QStringLiteral("INSERT INTO [dbo].[HotelBuild] (q1, q10, q11, q12, q13, q14, q15, q16, q17, q18, q19, q20) "
                          "VALUES (:q1, :q10, :q11, :q12, :q13, :q14, :q15, :q16, :q17, :q18, :q19, :q20)"),
           {1, QStringLiteral("Хотел Калв"), "4", "6", "2", "0", "0", "0", "0", "0", 1, "24"});
    // The hotel's company, the seller on its invoices (an invented one; the IBAN is the
    // register's example), and a company that buys from it.
    connection.Execute(QStringLiteral("INSERT INTO FirmiHoteli (q1, q198, q199, q200, q201, q202, q203, q204) "
                                      "VALUES (1, ?, ?, ?, ?, ?, ?, ?)"),
                       {QStringLiteral("Калв Хотели ЕООД"), QStringLiteral("206123451"), QStringLiteral("BG206123451"),
                        QStringLiteral("гр. Варна, бул. Приморски 1"), QStringLiteral("Мария Калева"),
                        QStringLiteral("BG80BNBG96611020345678"), QStringLiteral("Българска народна банка")});
    connection.Execute(QStringLiteral("INSERT INTO Kupuvachi (q176, q177, q178, q179, q180, q181) VALUES (?, ?, ?, ?, ?, 0)"),
                       {QStringLiteral("Балкан Травел ООД"), QStringLiteral("204987655"), QStringLiteral("BG204987655"),
                        QStringLiteral("гр. София, ул. Витоша 10"), QStringLiteral("Петър Петров")});
    insert(connection,
           QStringLiteral("INSERT INTO [dbo].[Tarife] (q50, q52, q53, q111, q112) VALUES (:q50, :q52, :q53, :q111, :q112)"),
           {QStringLiteral("Основна"), QDate(QDate::currentDate().year(), 1, 1),
            QDate(QDate::currentDate().year() + 1, 12, 31), 3, 5});
    // The euro (the hotel's) and the lev at its fixed rate come with every new database; the
    // hotel's prices are in euro.
    connection.Execute(QStringLiteral("UPDATE Valuta SET q1 = 1"));
    const QList<QPair<QString, double>> services = {{QStringLiteral("Единична стая"), 60},
                                                    {QStringLiteral("Двойна стая"), 90},
                                                    {QStringLiteral("Апартамент"), 150},
                                                    {QStringLiteral("Закуска"), 12},
                                                    {QStringLiteral("Паркинг"), 8}};
    for (const auto &service : services)
        insert(connection,
               QStringLiteral("INSERT INTO [dbo].[Uslugi] (q40, q41, q33, q51) VALUES (:q40, :q41, :q33, :q51)"),
               {service.second, 1, service.first, 1});
    // Twelve rooms on two floors of the plan.
    for (int i = 0; i < 12; ++i) {
        const int floor = i / 6;
        const int service = i % 6 < 3 ? 1 : (i % 6 < 5 ? 2 : 3);
        const double price = services.at(service - 1).second;
        insert(connection,
               QStringLiteral("INSERT INTO [dbo].[Rooms] (q44, q46, q51, q48, q79, q1, q42, q81, q82, q83, q84) "
                              "VALUES (:q44, :q46, :q51, :q48, :q79, :q1, :q42, :q81, :q82, :q83, :q84)"),
               {QString::number((floor + 1) * 100 + i % 6 + 1), price, 1, service == 3 ? 2 : 1, service, 1, service,
                80, 60, 20 + floor * 90, 20 + (i % 6) * 95});
    }
    SchemaUpgrade::AssignVatRates(connection);
    fillRatePlan(connection);
    const QDate today = QDate::currentDate();
    // Guests of every kind the board shows: in house, leaving today, arriving today, to come.
    struct TDemoStay {
        int Room;
        const char *Guest, *PersonalNumber, *Category, *Address, *Nationality;
        int From, To, Status;
    };
    const TDemoStay stays[] = {
        {1, "Иван Петров", "7503124411", "Мъж", "София, ул. Шипка 12", "България", -2, 3, FrontDesk::ssInHouse},
        {2, "Петър Иванов", "6811054432", "Мъж", "Пловдив, бул. Марица 4", "България", -3, 0, FrontDesk::ssInHouse},
        {4, "Мария Георгиева", "9002286650", "Жена", "Варна, ул. Морска 8", "България", 0, 2, FrontDesk::ssReserved},
        {8, "John Smith", "", "Чужденец", "London, 10 Baker Street", "United Kingdom", 2, 5, FrontDesk::ssReserved},
        {5, "Елена Димитрова", "8407153378", "Жена", "Русе, ул. Дунав 3", "България", -6, -2, FrontDesk::ssDeparted}};
    QList<int> bookings;
    for (const TDemoStay &stay : stays) {
        const double price = stay.Room <= 3 ? 60 : (stay.Room <= 5 ? 90 : 60);
        const int days = stay.To - stay.From;
        FrontDesk::TGuest guest;
        guest.Name = QString::fromUtf8(stay.Guest);
        guest.PersonalNumber = QString::fromUtf8(stay.PersonalNumber);
        if (guest.PersonalNumber.isEmpty())
            guest.Passport = QStringLiteral("GB5521877");
        guest.Address = QString::fromUtf8(stay.Address);
        guest.Nationality = QString::fromUtf8(stay.Nationality);
        guest.Category = QString::fromUtf8(stay.Category);
        const int booking = FrontDesk::InsertBooking(connection, 1, guest, 1, QStringLiteral("Резервира"), 1, 0);
        bookings.append(booking);
        const bool inHouse = stay.Status == FrontDesk::ssInHouse || stay.Status == FrontDesk::ssDeparted;
        insert(connection,
               QStringLiteral("INSERT INTO [dbo].[Klients] (q1, q28, q29, q27, q30, q31, q39, q34, q35, q36, q37, q38, "
                              "q70, q71, q72, q51, q47, q57, q124, q125, q126) VALUES (:q1, :q28, :q29, :q27, :q30, "
                              ":q31, :q39, :q34, :q35, :q36, :q37, :q38, :q70, :q71, :q72, :q51, :q47, :q57, :q124, "
                              ":q125, :q126)"),
               {1, guest.PersonalNumber, guest.Name, price * days, 46, guest.Category, QDateTime::currentDateTime(),
                today.addDays(stay.From), today.addDays(stay.To), stay.From > 0, today.addDays(stay.From),
                today.addDays(stay.To), price, days, price * days, 1, stay.Room, 1, booking, stay.Status,
                inHouse ? QVariant(QDateTime(today.addDays(stay.From), QTime(14, 0))) : QVariant(QMetaType::fromType<QDateTime>())});
    }
    // Breakfasts, the tourist tax of the guest who left, deposits and payments: what the reports show.
    struct TDemoCharge {
        int Booking;
        const char *Service;
        double Price, Quantity;
        int Day;
    };
    const TDemoCharge charges[] = {{0, "Закуска", 12, 2, -1}, {4, "Закуска", 12, 4, -4}, {4, "Курортна такса", 1.1, 4, -2}};
    for (const TDemoCharge &charge : charges)
        insert(connection,
               QStringLiteral("INSERT INTO [dbo].[Klients] (q1, q28, q29, q31, q33, q39, q70, q71, q27, q57, q124, q125) "
                              "SELECT q1, q28, q29, q31, :q33, :q39, :q70, :q71, :q27, q57, q124, 0 FROM [dbo].[Rezervacii] "
                              "WHERE q124 = :q124"),
               {QString::fromUtf8(charge.Service), QDateTime(today.addDays(charge.Day), QTime(9, 0)), charge.Price,
                charge.Quantity, charge.Price * charge.Quantity, bookings.at(charge.Booking)});
    struct TDemoPayment {
        int Booking, Kind, Method;
        double Amount;
        int Day;
    };
    const TDemoPayment payments[] = {{0, FrontDesk::pkDeposit, FrontDesk::pmCash, 100, -2},
                                     {1, FrontDesk::pkPayment, FrontDesk::pmCard, 180, -3},
                                     {4, FrontDesk::pkDeposit, FrontDesk::pmTransfer, 200, -6},
                                     {4, FrontDesk::pkPayment, FrontDesk::pmCard, 212.4, -2}};
    for (const TDemoPayment &payment : payments)
        insert(connection,
               QStringLiteral("INSERT INTO [dbo].[Plashtania] (q124, q140, q57, q141, q142, q128, q136) "
                              "VALUES (:q124, :q140, 1, :q141, :q142, 1, :q136)"),
               {bookings.at(payment.Booking), payment.Amount, payment.Kind, payment.Method,
                QDateTime(today.addDays(payment.Day), QTime(11, 30))});
    // The municipality's tourist tax per night, for this year.
    for (const char *category : {"Мъж", "Жена", "Чужденец"})
        insert(connection,
               QStringLiteral("INSERT INTO [dbo].[KurortniTaksi] (q31, q149, q52, q53) VALUES (:q31, :q149, :q52, :q53)"),
               {QString::fromUtf8(category), 1.1, QDate(today.year(), 1, 1), QDate(today.year(), 12, 31)});
    // A room waiting for housekeeping, one being cleaned, one closed for repairs.
    insert(connection, QStringLiteral("UPDATE [dbo].[Rooms] SET q129 = :q129 WHERE q47 = :q47"), {int(FrontDesk::rsDirty), 3});
    insert(connection, QStringLiteral("UPDATE [dbo].[Rooms] SET q129 = :q129 WHERE q47 = :q47"),
           {int(FrontDesk::rsCleaning), 9});
    insert(connection,
           QStringLiteral("INSERT INTO [dbo].[Zatvoreni] (q47, q157, q159, q130, q136) VALUES (:q47, :q157, :q159, :q130, :q136)"),
           {6, today, int(FrontDesk::rsOutOfService), QStringLiteral("Ремонт на банята"), QDateTime::currentDateTime()});
}

} // namespace

bool WriteEmbeddedSettings(const QString &database)
{
    TRegistry registry;
    if (!registry.OpenKey(SqlSettings::Key, true))
        throw Exception(QStringLiteral("The server settings cannot be written."));
    if (!registry.ReadString(SqlSettings::ComputerName).trimmed().isEmpty() ||
        !registry.ReadString(SqlSettings::Provider).trimmed().isEmpty())
        return false;
    TDLLSafeCall library;
    if (!library.LoadFunction(2, QStringLiteral("HashingKey")))
        throw Exception(QStringLiteral("The password library HashingKey cannot be loaded."));
    // All together or none: an interrupted run leaves no half settings that a later run would trust.
    registry.BeginUpdate();
    registry.WriteString(SqlSettings::ComputerName, QStringLiteral("localhost"));
    registry.WriteString(SqlSettings::Instance, QString());
    registry.WriteString(SqlSettings::Aliase, QString());
    registry.WriteString(SqlSettings::Authentication, QString());
    registry.WriteString(SqlSettings::User, QStringLiteral("sa"));
    registry.WriteString(SqlSettings::Password, library.EncryptText(QString()));
    library.Unload();
    registry.WriteString(SqlSettings::Port, QString());
    registry.WriteString(SqlSettings::Protocol, QStringLiteral("TCP/IP"));
    registry.WriteString(SqlSettings::DataBase, database.isEmpty() ? kDemoDatabase : database);
    registry.WriteString(SqlSettings::Provider, QStringLiteral("SQLite"));
    registry.WriteInteger(SqlSettings::TimeoutConnection, 30);
    registry.WriteInteger(SqlSettings::TimeoutCommand, 30);
    registry.WriteInteger(SqlSettings::IsDynamicPort, 0);
    registry.EndUpdate();
    return true;
}

void InstallMissingProcedures(const QString &scriptsFolder)
{
    TADOConnection &connection = LocalConnection();
    const QString folder = scriptsFolder + connection.Engine().ScriptFolder() + QLatin1Char('/');
    const QStringList scripts = QDir(folder).entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name);
    if (scripts.isEmpty())
        throw Exception(QStringLiteral("No procedure scripts in %1").arg(folder));
    for (const QString &file : scripts) {
        const QString name = QFileInfo(file).completeBaseName();
        try {
            connection.Engine().ProcedureParameters(connection, name);
            continue;  // installed already
        } catch (const Exception &) {
        }
        QString script;
        MClass().ReadTextFile(folder + file, script);
        const DatabaseSetup::TResult result = DatabaseSetup::InstallProcedure(script);
        if (result.Outcome != DatabaseSetup::TOutcome::Done)
            throw Exception(QStringLiteral("%1: %2").arg(file, result.Message));
    }
}

void ForgetServerSettings()
{
    TRegistry registry;
    if (!registry.OpenKey(SqlSettings::Key, true))
        return;
    registry.BeginUpdate();
    registry.WriteString(SqlSettings::ComputerName, QString());
    registry.WriteString(SqlSettings::Provider, QString());
    registry.WriteString(SqlSettings::DataBase, QString());
    registry.EndUpdate();
}

void Prepare(const QString &scriptsFolder, bool here, bool demoHotel)
{
    TRegistry registry;
    registry.OpenKey(SqlSettings::Key, false);
    const QString database = registry.ReadString(SqlSettings::DataBase);
    registry.CloseKey();
    TADOComunicationControl control;
    TADOConnection &connection = LocalConnection();
    connection.Close();
    if (!control.ConnectFromSettings()) {
        const DatabaseSetup::TResult created = DatabaseSetup::CreateDatabase(database);
        if (created.Outcome == DatabaseSetup::TOutcome::NotConnected)
            throw Exception(QStringLiteral("The server of the stored settings cannot be reached."));
        if (created.Outcome == DatabaseSetup::TOutcome::Failed)
            throw Exception(created.Message);
    }
    try {
        connection.BeginTrans();
        DatabaseSetup::CreateTables(database);
        connection.CommitTrans();
        InstallMissingProcedures(scriptsFolder);
        if (demoHotel && countRows(connection, QStringLiteral("HotelBuild")) == 0) {
            connection.BeginTrans();
            addDemoOperator(connection, here);
            fillHotel(connection);
            connection.CommitTrans();
        } else if (here && countRows(connection, QStringLiteral("Operators")) == 0) {
            connection.BeginTrans();
            addDemoOperator(connection, here);
            connection.CommitTrans();
        }
    } catch (const Exception &) {
        if (connection.Connected() && connection.InTransaction())
            connection.RollbackTrans();
        throw;
    }
}

} // namespace DemoData
