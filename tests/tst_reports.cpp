// The reports on a month of a real hotel's bookings, worked out by hand: two hotels, two
// operators, a cancellation, a no-show, an early departure, a room move, services, deposits,
// a refund, the tourist tax charged at check-out, a stay across the month's start and one
// across its end; the report window driven as a user drives it, its CSV and PDF read back.

#include "TestHarness.h"
#include "data/UAdoDb.h"
#include "data/UDM.h"
#include "data/UDbEngine.h"
#include "desk/URights.h"
#include "desk/UFrontDesk.h"
#include "desk/UReports.h"
#include "desk/UReportExport.h"
#include "framework/UMainLibraryClass.h"
#include "startup/KalvCM.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesReports.h"
#include "startup/UConstMessagesStay.h"
#include "windows/Hotel.h"
#include "windows/UNomKurortniTaksi.h"
#include "windows/UReport.h"
#include "windows/USigurnost.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QProgressBar>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTabBar>
#include <QToolButton>
#include <QtTest>

using namespace FrontDesk;
using namespace Reports;

namespace {

QDate march(int day) { return QDate(2026, 3, day); }

// A table as rows of the texts a user reads, the totals row last.
QStringList texts(const TTable &table)
{
    QStringList lines;
    auto line = [](const QVariantList &cells) {
        QStringList fields;
        for (const QVariant &cell : cells)
            fields.append(CellText(cell));
        return fields.join(QLatin1Char('|'));
    };
    for (const QVariantList &row : table.Rows)
        lines.append(line(row));
    if (!table.Totals.isEmpty())
        lines.append(line(table.Totals));
    return lines;
}

} // namespace

class TestReports : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    QHash<QString, int> m_bookings;  // guest's first name: booking

    TADOConnection &connection() { return m_db->Connection(); }
    void exec(const QString &sql, const QVariantList &values = {}) { m_db->Exec(sql, values); }
    QStringList rows(const QString &sql) { return m_db->Rows(sql); }
    int number(const QString &sql, const QVariantList &values = {})
    {
        return connection().Column(sql, values).value(0).toInt();
    }
    int roomId(const QString &room) { return number("SELECT q47 FROM Rooms WHERE q44 = ?", {room}); }
    int stayOf(const QString &guest, const QString &room)
    {
        return number("SELECT q123 FROM Klients WHERE q124 = ? AND q47 = ? AND (q125 IS NULL OR q125 < 3)",
                      {m_bookings.value(guest), roomId(room)});
    }
    int serviceId(const QString &name) { return number("SELECT q42 FROM Uslugi WHERE q33 = ?", {name}); }
    void as(int operatorId, const QDate &day)
    {
        Rights::SetCurrent(operatorId, Rights::Full());
        SetToday(day);
    }

    // A booking of one room, entered as the reservation window enters it.
    void book(const QString &guest, int hotel, const QString &room, const QString &personalNumber,
              const QString &passport, const QString &category, const QDate &from, const QDate &to, int price)
    {
        TTransaction transaction(connection(), true);
        TGuest booked;
        booked.Name = guest;
        booked.PersonalNumber = personalNumber;
        booked.Passport = passport;
        booked.Category = category;
        const int booking = InsertBooking(connection(), hotel, booked, 1, QString(), 1, 0);
        const int nights = int(from.daysTo(to));
        connection().Execute("INSERT INTO Klients (q1, q28, q29, q31, q34, q35, q47, q57, q70, q71, q27, q39, q124, "
                             "q125, q128) VALUES (?, ?, ?, ?, ?, ?, ?, 1, ?, ?, ?, ?, ?, 0, ?)",
                             {hotel, personalNumber, guest, category, from, to, roomId(room), price, nights,
                              price * nights, Now(), booking, Rights::CurrentOperator()});
        transaction.Commit();
        m_bookings.insert(guest.section(' ', 0, 0), booking);
    }
    // The registration card a guest gives at check-in, with the numbers of the booking.
    TGuest card(const QString &personalNumber, const QString &passport = QString())
    {
        TGuest guest;
        guest.PersonalNumber = personalNumber;
        guest.Passport = passport;
        guest.Nationality = "България";
        guest.Address = "София";
        return guest;
    }
    void pay(const QString &guest, TPaymentKind kind, TPaymentMethod method, const QString &amount)
    {
        TakePayment(m_bookings.value(guest), kind, method, TDecimal::FromText(amount), QString());
    }

    // The month: March 2026, as the front desk lived it.
    void liveTheMonth()
    {
        const int maria = 1, petar = 2;
        as(maria, QDate(2026, 2, 20));
        book("Анна Иванова", 1, "101", "7001011234", QString(), "Жена", QDate(2026, 2, 27), march(3), 60);
        as(maria, QDate(2026, 2, 25));
        pay("Анна", pkDeposit, pmCash, "100");
        as(maria, QDate(2026, 2, 27));
        CheckIn(stayOf("Анна", "101"), card("7001011234"), false);
        as(maria, march(1));
        book("Борис Георгиев", 1, "102", "6502023456", QString(), "Мъж", march(10), march(15), 80);
        book("Галя Петрова", 1, "101", "8003034567", QString(), "Жена", march(20), march(22), 60);
        book("Дамян Колев", 2, "201", "9004045678", QString(), "Мъж", march(5), march(7), 50);
        as(petar, march(1));
        book("Елена Маринова", 2, "202", "7505056789", QString(), "Жена", march(14), march(20), 70);
        book("Виктор Ланг", 1, "103", QString(), "X9988776", "Чужденец", march(29), QDate(2026, 4, 2), 100);
        as(maria, march(3));
        pay("Анна", pkPayment, pmCard, "144");
        CheckOut(stayOf("Анна", "101"), false);  // 240 and a tax of 4 nights: paid in full
        as(maria, march(6));
        MarkNoShow(stayOf("Дамян", "201"));
        as(maria, march(10));
        CheckIn(stayOf("Борис", "102"), card("6502023456"), false);
        pay("Борис", pkDeposit, pmCash, "300");
        as(maria, march(11));
        Charge(m_bookings.value("Борис"), serviceId("Закуска"), TDecimal(2), march(11));
        as(maria, march(13));
        CheckOut(stayOf("Борис", "102"), true);  // two nights early: 240, breakfast 20, tax 3
        pay("Борис", pkRefund, pmCash, "37");
        as(petar, march(14));
        CheckIn(stayOf("Елена", "202"), card("7505056789"), false);
        as(petar, march(16));
        Move(stayOf("Елена", "202"), roomId("201"), march(16), true);
        as(petar, march(17));
        Charge(m_bookings.value("Елена"), serviceId("Минибар"), TDecimal(1), march(17));
        as(maria, march(18));
        Cancel(stayOf("Галя", "101"));
        as(petar, march(20));
        CheckOut(stayOf("Елена", "201"), true);
        pay("Елена", pkPayment, pmTransfer, "441.50");
        as(petar, march(29));
        CheckIn(stayOf("Виктор", "103"), card(QString(), "X9988776"), false);
        pay("Виктор", pkDeposit, pmCard, "150");
        as(petar, march(30));
        Charge(m_bookings.value("Виктор"), serviceId("Закуска"), TDecimal(2), march(30));
        as(petar, march(31));
        // Room 103 was out of service for one night of the month.
        exec("INSERT INTO Zatvoreni (q47, q157, q158, q159, q130) VALUES (?, ?, ?, 3, 'Ремонт')",
             {roomId("103"), march(13), march(14)});
    }

    TReport report(TReportId id, const QDate &from, const QDate &to, const QVariant &hotel = QVariant())
    {
        TReport result = Run(id, {from, to, hotel});
        [&] { QVERIFY(!connection().InTransaction()); }();
        return result;
    }
    TReport month(TReportId id) { return report(id, march(1), march(31)); }

private slots:
    void initTestCase() { FillCatalogue(slBulgarian); }

    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        exec("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски'), (2, 'Планински')");
        exec("INSERT INTO Tarife (q50) VALUES ('Основна')");
        exec("INSERT INTO Valuta (q56, q1) VALUES ('BGN', 1)");
        exec("INSERT INTO Uslugi (q40, q33, q51) VALUES (10, 'Закуска', 1), (15.5, 'Минибар', 1)");
        exec("INSERT INTO Rooms (q44, q46, q1, q42, q48, q79, q129) VALUES ('101', 60, 1, 1, 1, 2, 0), "
             "('102', 80, 1, 1, 1, 2, 0), ('103', 100, 1, 1, 2, 4, 0), ('201', 50, 2, 1, 1, 1, 0), "
             "('202', 70, 2, 1, 1, 2, 0)");
        exec("INSERT INTO Operators (q1, q21, q75) VALUES (1, 'Мария Колева', 'maria'), (1, 'Петър Стоянов', 'petar')");
        // Every hotel's rates, and a rate of its own for foreigners in the first hotel.
        exec("INSERT INTO KurortniTaksi (q1, q31, q149, q52, q53) VALUES (NULL, 'Жена', 1, ?, ?), "
             "(NULL, 'Мъж', 1, ?, ?), (NULL, 'Чужденец', 1.5, ?, ?), (1, 'Чужденец', 2, ?, ?)",
             {QDate(2026, 1, 1), QDate(2026, 12, 31), QDate(2026, 1, 1), QDate(2026, 12, 31), QDate(2026, 1, 1),
              QDate(2026, 12, 31), QDate(2026, 1, 1), QDate(2026, 12, 31)});
        m_bookings.clear();
        liveTheMonth();
    }

    void cleanup()
    {
        SetToday(QDate());
        Rights::SetCurrent(0, Rights::Full());
        m_db.reset();
    }

    void checkOutAndMoveChargeTheTouristTax()
    {
        QCOMPARE(rows("SELECT q124, q71, q70, q27 FROM Klients WHERE q33 = 'Курортна такса' ORDER BY q123"),
                 QStringList({QString("%1|2|1|2").arg(m_bookings.value("Анна")),  // February's nights
                              QString("%1|2|1|2").arg(m_bookings.value("Анна")),  // March's
                              QString("%1|3|1|3").arg(m_bookings.value("Борис")),
                              QString("%1|2|1|2").arg(m_bookings.value("Елена")),
                              QString("%1|4|1|4").arg(m_bookings.value("Елена"))}));
        // A foreigner in the first hotel pays its own rate, not every hotel's.
        as(2, march(31));
        Extend(stayOf("Виктор", "103"), QDate(2026, 4, 1));
        as(2, QDate(2026, 4, 1));
        CheckOut(stayOf("Виктор", "103"), true);
        QCOMPARE(rows("SELECT q71, q70, q27 FROM Klients WHERE q33 = 'Курортна такса' AND q124 = " +
                      QString::number(m_bookings.value("Виктор"))),
                 QStringList({"3|2|6"}));
        QCOMPARE(ReadFolio(m_bookings.value("Виктор"))->Balance().ToFixed(2), QString("176.00"));
    }

    void touristTaxByTheMonthOfTheNight()
    {
        // The second hotel's settlement has a rate of its own for every guest; elsewhere the
        // categories' rates stay the general ones.
        exec("INSERT INTO KurortniTaksi (q1, q31, q149, q52, q53) VALUES (2, NULL, 0.8, ?, ?)",
             {QDate(2026, 8, 1), QDate(2026, 12, 31)});
        const TTaxRates rates = TTaxRates::Read(connection());
        QCOMPARE(rates.Rate(2, "Чужденец", QDate(2026, 9, 1)).ToFixed(2), QString("0.80"));  // the hotel's
        QCOMPARE(rates.Rate(1, "Чужденец", QDate(2026, 9, 1)).ToFixed(2), QString("2.00"));  // hotel and category
        QCOMPARE(rates.Rate(1, "Жена", QDate(2026, 9, 1)).ToFixed(2), QString("1.00"));      // the category's
        QCOMPARE(rates.Rate(2, "Жена", QDate(2026, 7, 31)).ToFixed(2), QString("1.00"));     // before the hotel's

        as(1, QDate(2026, 8, 20));
        book("Зара Аврамова", 2, "201", "8806061234", QString(), "Жена", QDate(2026, 8, 30), QDate(2026, 9, 2), 50);
        book("Иво Аврамов", 2, "202", "1546061234", QString(), "Мъж", QDate(2026, 8, 30), QDate(2026, 9, 2), 70);
        as(1, QDate(2026, 8, 30));
        CheckIn(stayOf("Зара", "201"), card("8806061234"), true);
        TGuest child = card("1546061234");
        child.TaxExemption = msgTaxExemptChild;
        CheckIn(stayOf("Иво", "202"), child, true);
        QVERIFY(ReadFolio(m_bookings.value("Иво"))->History.last().Text.contains(msgTaxExemptChild));
        as(1, QDate(2026, 9, 2));
        const int zara = stayOf("Зара", "201"), ivo = stayOf("Иво", "202");
        CheckOut(zara, true);
        CheckOut(ivo, true);
        // Two nights charged in August, one in September, each in its own month.
        QCOMPARE(rows(QString("SELECT q71, q70, q27 FROM Klients WHERE q160 = %1 ORDER BY q34").arg(zara)),
                 QStringList({"2|0.8|1.6", "1|0.8|0.8"}));
        const QVariantList dated =
            connection().Column("SELECT q39 FROM Klients WHERE q160 = ? ORDER BY q34", {zara});
        QCOMPARE(dated.value(0).toDateTime().date(), QDate(2026, 8, 31));
        QCOMPARE(dated.value(1).toDateTime().date(), QDate(2026, 9, 2));
        // The exempt guest's nights are counted, at nothing.
        QCOMPARE(rows(QString("SELECT SUM(q71), SUM(q27) FROM Klients WHERE q160 = %1").arg(ivo)).value(0).section('|', 0, 0),
                 QString("3"));
        QCOMPARE(texts(report(rpTaxes, QDate(2026, 8, 1), QDate(2026, 8, 31), 2).Tables.at(0)),
                 QStringList({"Жена|1|2|0.80|1.60", "Мъж|1|2|0.00|0.00", "Общо|2|4||1.60"}));
        QCOMPARE(texts(report(rpTaxes, QDate(2026, 9, 1), QDate(2026, 9, 30), 2).Tables.at(0)),
                 QStringList({"Жена|1|1|0.80|0.80", "Мъж|1|1|0.00|0.00", "Общо|2|2||0.80"}));
    }

    void arrivalsAndDepartures()
    {
        QCOMPARE(texts(month(rpArrivals).Tables.at(0)),
                 QStringList({"4|Дамян Колев|Планински|201|05.03.2026|07.03.2026|2|неявил се|0.00",
                              "2|Борис Георгиев|Морски|102|10.03.2026|13.03.2026|3|напуснал|0.00",
                              "5|Елена Маринова|Планински|202|14.03.2026|16.03.2026|2|напуснал|0.00",
                              "6|Виктор Ланг|Морски|103|29.03.2026|02.04.2026|4|настанен|270.00",
                              "Общо|4|||||11||270.00"}));
        // The moved stay's second room is no arrival, its first room no departure.
        QCOMPARE(texts(month(rpDepartures).Tables.at(0)),
                 QStringList({"1|Анна Иванова|Морски|101|27.02.2026|03.03.2026|4|напуснал|0.00",
                              "2|Борис Георгиев|Морски|102|10.03.2026|13.03.2026|3|напуснал|0.00",
                              "5|Елена Маринова|Планински|201|16.03.2026|20.03.2026|4|напуснал|0.00",
                              "Общо|3|||||11||0.00"}));
        // One day, one hotel: the cancelled arrival is not there.
        QCOMPARE(texts(report(rpArrivals, march(20), march(20), 1).Tables.at(0)), QStringList({"Общо|0|||||0||0.00"}));
    }

    void occupiedAndFreeRooms()
    {
        QCOMPARE(texts(report(rpOccupied, march(30), march(30)).Tables.at(0)),
                 QStringList({"Морски|103|Виктор Ланг|6|29.03.2026|02.04.2026|настанен", "Общо|1|||||"}));
        QCOMPARE(texts(report(rpOccupied, march(16), march(16)).Tables.at(0)),
                 QStringList({"Планински|201|Елена Маринова|5|16.03.2026|20.03.2026|напуснал", "Общо|1|||||"}));
        // Nights of the 12th to the 14th: 102 and 202 are held, 103 is closed on the 13th.
        QCOMPARE(texts(report(rpFree, march(12), march(14)).Tables.at(0)),
                 QStringList({"Морски|101|1|2|60.00|непочистена", "Планински|201|1|1|50.00|непочистена",
                              "Общо|2|2|3||"}));
        // The no-show and the cancelled stay hold no night.
        QCOMPARE(texts(report(rpFree, march(5), march(6), 2).Tables.at(0)),
                 QStringList({"Планински|201|1|1|50.00|непочистена", "Планински|202|1|2|70.00|непочистена",
                              "Общо|2|2|3||"}));
    }

    void turnoverCountsNightByNightInsideThePeriod()
    {
        const TReport turnover = month(rpTurnover);
        QCOMPARE(turnover.Tables.size(), 5);
        const QStringList byDay = texts(turnover.Tables.at(0));
        QCOMPARE(byDay.size(), 32);
        QCOMPARE(byDay.at(0), QString("01.03.2026|5|1|20.00|60.00|0.00|60.00"));
        QCOMPARE(byDay.at(2), QString("03.03.2026|5|0|0.00|0.00|2.00|2.00"));  // March's tax of two nights
        QCOMPARE(byDay.at(12), QString("13.03.2026|4|0|0.00|0.00|3.00|3.00"));
        QCOMPARE(byDay.at(15), QString("16.03.2026|5|1|20.00|70.00|2.00|72.00"));
        QCOMPARE(byDay.at(30), QString("31.03.2026|5|1|20.00|100.00|0.00|100.00"));
        QCOMPARE(byDay.last(), QString("Общо|154|14|9.09|1080.00|66.50|1146.50"));
        QCOMPARE(texts(turnover.Tables.at(1)),
                 QStringList({"Налични нощувки|154", "Продадени нощувки|14", "Заетост %|9.09",
                              "Приходи от нощувки|1080.00", "Услуги|66.50", "Общо приходи|1146.50",
                              "Средна цена на нощувка|77.14", "Приход на налична стая|7.01"}));
        QCOMPARE(texts(turnover.Tables.at(2)),
                 QStringList({"Закуска|4.00|40.00", "Курортна такса|11.00|11.00", "Минибар|1.00|15.50",
                              "Общо||66.50"}));
        QCOMPARE(texts(turnover.Tables.at(3)),
                 QStringList({"депозит|в брой|1|300.00", "депозит|с карта|1|150.00", "плащане|с карта|1|144.00",
                              "плащане|банков превод|1|441.50", "връщане|в брой|1|37.00",
                              "Получено (нето)||5|998.50"}));
        QCOMPARE(turnover.Chart.size(), 31);
        QCOMPARE(turnover.Chart.at(15).Revenue, 72.0);
        QCOMPARE(turnover.Chart.at(0).Occupancy, 20.0);

        // One hotel, and a period that cuts stays at both its edges.
        const TReport second = report(rpTurnover, march(1), march(31), 2);
        QCOMPARE(texts(second.Tables.at(1)).mid(0, 8),
                 QStringList({"Налични нощувки|62", "Продадени нощувки|6", "Заетост %|9.68",
                              "Приходи от нощувки|420.00", "Услуги|21.50", "Общо приходи|441.50",
                              "Средна цена на нощувка|70.00", "Приход на налична стая|6.77"}));
        const TReport edges = report(rpTurnover, march(2), march(30));
        QCOMPARE(texts(edges.Tables.at(0)).last(), QString("Общо|144|12|8.33|920.00|66.50|986.50"));
        // Across the month's end: the first of April carries the fourth night of 103.
        const TReport april = report(rpTurnover, march(31), QDate(2026, 4, 1), 1);
        QCOMPARE(texts(april.Tables.at(0)).last(), QString("Общо|6|2|33.33|200.00|0.00|200.00"));
    }

    void turnoverByOperatorAndByGuest()
    {
        QCOMPARE(texts(month(rpOperators).Tables.at(0)),
                 QStringList({"Мария Колева|3|240.00|25.00|300.00|144.00|37.00|407.00",
                              "Петър Стоянов|2|820.00|41.50|150.00|441.50|0.00|591.50",
                              "Общо|5|1060.00|66.50|450.00|585.50|37.00|998.50"}));
        QCOMPARE(texts(month(rpGuests).Tables.at(0)),
                 QStringList({"7001011234|Анна Иванова|2|120.00|2.00|122.00|144.00|-22.00",
                              "6502023456|Борис Георгиев|3|240.00|23.00|263.00|263.00|0.00",
                              "X9988776|Виктор Ланг|3|300.00|20.00|320.00|150.00|170.00",
                              "7505056789|Елена Маринова|6|420.00|21.50|441.50|441.50|0.00",
                              "Общо||14|1080.00|66.50|1146.50|998.50|148.00"}));
    }

    void roomsLiquidityAndTaxes()
    {
        QCOMPARE(texts(month(rpRooms).Tables.at(0)),
                 QStringList({"Морски|101|31|2|6.45|120.00|60.00", "Морски|102|31|3|9.68|240.00|80.00",
                              "Морски|103|30|3|10.00|300.00|100.00", "Планински|201|31|4|12.90|280.00|70.00",
                              "Планински|202|31|2|6.45|140.00|70.00", "Общо||154|14|9.09|1080.00|77.14"}));
        const TReport liquidity = month(rpLiquidity);
        QCOMPARE(texts(liquidity.Tables.at(0)),
                 QStringList({"03.03.2026|с карта|0.00|144.00|0.00|144.00",
                              "10.03.2026|в брой|300.00|0.00|0.00|300.00",
                              "13.03.2026|в брой|0.00|0.00|37.00|-37.00",
                              "20.03.2026|банков превод|0.00|441.50|0.00|441.50",
                              "29.03.2026|с карта|150.00|0.00|0.00|150.00", "Общо||450.00|585.50|37.00|998.50"}));
        QCOMPARE(texts(liquidity.Tables.at(1)),
                 QStringList({"6|Виктор Ланг|Морски|103|02.04.2026|420.00|150.00|270.00",
                              "Общо|||||420.00|150.00|270.00"}));
        // The nights stayed and the tax charged for them: the guest still in house has been charged nothing yet.
        QCOMPARE(texts(month(rpTaxes).Tables.at(0)),
                 QStringList({"Жена|3|8|1.00|8.00", "Мъж|1|3|1.00|3.00", "Общо|4|11||11.00"}));
    }

    void csvIsSafeAndCorrectInEverySpreadsheet()
    {
        TReport report;
        TTable table;
        table.Columns = {{"Гост", ckText}, {"Сума", ckMoney}, {"Нощи", ckInteger}};
        table.Rows = {{"=HYPERLINK(\"http://x\")", "-20.00", -3},
                      {"+359 88", "1.50", 2},
                      {"-x", QString("—"), 0},
                      {"@SUM(A1)", "0.00", 1},
                      {"\tтаб", "0.00", 1},
                      {"\rCR", "0.00", 1},
                      {"ред\rнов; и \"кавички\"", "0.00", 1},
                      {"обикновен, текст", "0.00", 1}};
        table.Totals = {"Общо", "-18.50", 5};
        report.Tables = {table};
        TTable second;
        second.Title = "=Втора";
        second.Columns = {{"Ден", ckDate}};
        second.Rows = {{QDate(2026, 3, 1)}};
        report.Tables.append(second);

        const QByteArray comma = Csv(report, CsvStyleOfLanguage(slBulgarian));
        QVERIFY(comma.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(QString::fromUtf8(comma.mid(3)).split("\r\n"),
                 QStringList({"Гост;Сума;Нощи", "\"'=HYPERLINK(\"\"http://x\"\")\";-20,00;-3", "'+359 88;1,50;2",
                              "'-x;—;0", "'@SUM(A1);0,00;1", "'\tтаб;0,00;1", "\"'\rCR\";0,00;1",
                              "\"ред\rнов; и \"\"кавички\"\"\";0,00;1", "обикновен, текст;0,00;1", "", "Общо;-18,50;5",
                              "", "'=Втора", "Ден", "01.03.2026", ""}));
        const QString point = QString::fromUtf8(Csv(report, CsvStyleOfLanguage(slEnglish)).mid(3));
        QVERIFY(point.contains("\r\n'+359 88,1.50,2\r\n"));
        QVERIFY(point.contains("\r\n\"обикновен, текст\",0.00,1\r\n"));
        QCOMPARE(CsvStyleOfLanguage(slRussian).Separator, QChar(';'));
        QCOMPARE(ExportFileName("Пристигащи", march(5), march(5), "csv"), QString("Пристигащи 2026-03-05.csv"));
        QCOMPARE(ExportFileName("A/B: C", march(5), march(6), "csv"), QString("A-B- C 2026-03-05 – 2026-03-06.csv"));
    }

    void everyReportRunsForEveryChoiceOfHotel()
    {
        // On days with rows: each hotel's rows name that hotel, and the hotels add up to all.
        const QStringList names = {QString(), "Морски", "Планински"};
        for (const TDefinition &definition : Definitions()) {
            // A month, but the rooms free and occupied on one day (every room is held some night of March).
            const bool oneDay = !definition.Period || definition.Id == rpFree || definition.Id == rpOccupied;
            const QDate from = oneDay ? march(16) : march(1), to = oneDay ? march(16) : march(31);
            QList<int> counted;
            int hotelColumn = -1;
            for (int hotel = 0; hotel <= 2; ++hotel) {
                TReport result;
                try {
                    result = Run(definition.Id, {from, to, hotel ? QVariant(hotel) : QVariant()});
                } catch (const Exception &error) {
                    QFAIL(qPrintable(definition.Title() + QString(" (hotel %1): ").arg(hotel) + error.Message()));
                }
                QVERIFY(!connection().InTransaction());
                const TTable &table = result.Tables.at(0);
                // The history here issues no documents and closes no day; those have histories of their own.
                if (hotel == 0 && !definition.Documents && definition.Id != rpClosedDays)
                    QVERIFY2(!table.Rows.isEmpty(), qPrintable(definition.Title()));
                hotelColumn = -1;
                for (int c = 0; c < table.Columns.size(); ++c)
                    if (table.Columns.at(c).Title == colHotel)
                        hotelColumn = c;
                if (hotelColumn >= 0 && hotel > 0)
                    for (const QVariantList &row : table.Rows)
                        QCOMPARE(row.at(hotelColumn).toString(), names.at(hotel));
                counted.append(int(table.Rows.size()));
            }
            if (hotelColumn >= 0)
                QVERIFY2(counted.at(1) + counted.at(2) == counted.at(0), qPrintable(definition.Title()));
        }
    }

    void reportsOpenFromTheirCommandsWithTheRightsOfTheEditor()
    {
        TFHotel main;
        main.InitializeWindow();
        main.dtpMainPeriodFilter->setDate(march(16));
        TFSigurnost rights;
        for (const TDefinition &definition : Definitions()) {
            QAction *action = main.Action(definition.Action);
            QVERIFY2(action->isEnabled(), qPrintable(definition.Action));
            action->trigger();
            auto *window = qobject_cast<TFReport *>(main.MdiArea->activeSubWindow()->widget());
            QVERIFY(window);
            QTRY_VERIFY(!window->Running());
            QCOMPARE(window->objectName(), definition.Name);
            QVERIFY(window->windowTitle() != TMainLibraryClass::UnknownCaption());
            QVERIFY(window->Grid(0));
            for (QLabel *label : window->findChildren<QLabel *>())
                QVERIFY2(label->text() != TMainLibraryClass::UnknownCaption(), qPrintable(label->objectName()));
            // The register of documents is the invoices' right; every other report a report's.
            QVERIFY(definition.Documents ? definition.Right == Rights::rInvoices
                                         : rights.RightCaption(definition.Right).startsWith("Справка"));
            window->close();
        }
        QVERIFY(!main.Action("actReportZastrahovki")->isEnabled());
        QCOMPARE(Definitions().size(), 14);
    }

    void reportWindowShowsExportsAndPrints()
    {
        TFHotel main;
        main.InitializeWindow();
        main.resize(1100, 720);
        main.show();  // as at the desk: the report opens in a main window on the screen
        QVERIFY(TypeDate(main.dtpMainPeriodFilter, march(16)));
        QVERIFY(ClickCommand(main.Action("actReportAllOborot")));
        auto *window = qobject_cast<TFReport *>(main.MdiArea->activeSubWindow()->widget());
        QVERIFY(window);
        QTRY_VERIFY(!window->Running());
        // The month around the board's day, every hotel.
        QCOMPARE(window->dtpReportFrom->date(), march(1));
        QCOMPARE(window->dtpReportTo->date(), march(31));
        QCOMPARE(window->cbReportHotel->currentText(), QString("Всички хотели"));
        QCOMPARE(window->pcReport->count(), 6);
        QCOMPARE(GridTexts(window->Grid(0)).last(), QString("Общо|154|14|9.09|1080.00|66.50|1146.50"));
        QCOMPARE(window->Grid(0)->model()->headerData(3, Qt::Horizontal).toString(), QString("Заетост %"));
        QVERIFY(window->Grid(0)->model()->index(0, 4).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
        QVERIFY(window->Grid(0)->editTriggers() == QAbstractItemView::NoEditTriggers);

        QVERIFY(ChooseFromDropDown(window->cbReportHotel, "Планински"));
        QVERIFY(TypeDate(window->dtpReportTo, march(15)));
        QVERIFY(ClickCommand(window->acReportShow));
        QTRY_VERIFY(!window->Running());
        QCOMPARE(GridTexts(window->Grid(0)).last(), QString("Общо|30|2|6.67|140.00|0.00|140.00"));
        {
            MessageBoxRecorder boxes;
            QVERIFY(TypeDate(window->dtpReportTo, march(1).addDays(-1)));
            QVERIFY(ClickCommand(window->acReportShow));
            QCOMPARE(boxes.Texts(), QStringList({rptPeriodInvalid}));
            QCOMPARE(GridTexts(window->Grid(0)).last(), QString("Общо|30|2|6.67|140.00|0.00|140.00"));
        }
        QVERIFY(TypeDate(window->dtpReportTo, march(31)));
        QVERIFY(ChooseFromDropDown(window->cbReportHotel, window->cbReportHotel->itemText(0)));
        QVERIFY(ClickCommand(window->acReportShow));
        QTRY_VERIFY(!window->Running());

        QTemporaryDir dir;
        QVERIFY(ClickOn(window->pcReport->tabBar(), window->pcReport->tabBar()->tabRect(2).center()));
        const QString csv = dir.filePath("services.csv");
        QVERIFY(window->SaveAsCsv(csv));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        QVERIFY(written.startsWith("\xEF\xBB\xBF"));
        // Every table of the report, each under its title; Bulgarian writes decimals with a comma.
        const QStringList lines = QString::fromUtf8(written.mid(3)).split("\r\n");
        QCOMPARE(lines.at(0), window->Report().Tables.at(0).Title);
        QString header;
        for (const TColumn &column : window->Report().Tables.at(0).Columns)
            header += (header.isEmpty() ? "" : ";") + column.Title;
        QCOMPARE(lines.at(1), header);
        QCOMPARE(lines.at(2), QString("01.03.2026;5;1;20,00;60,00;0,00;60,00"));
        const int services = int(lines.indexOf(window->Report().Tables.at(2).Title));
        QVERIFY(services > 0);
        QCOMPARE(lines.mid(services, 7),
                 QStringList({window->Report().Tables.at(2).Title, "Услуга;Количество;Сума", "Закуска;4,00;40,00",
                              "Курортна такса;11,00;11,00", "Минибар;1,00;15,50", "", "Общо;;66,50"}));
        QCOMPARE(window->SuggestedFileName("pdf"), QString("Общ оборот 2026-03-01 – 2026-03-31.pdf"));

        KalvCLientInfo().LoginName = "maria";
        const QString pdf = dir.filePath("turnover.pdf");
        QVERIFY(window->SaveAsPdf(pdf));
        QProcess text;
        text.start("pdftotext", {"-layout", pdf, "-"});
        QVERIFY(text.waitForFinished(30000));
        const QString printed = QString::fromUtf8(text.readAllStandardOutput());
        for (const QString &expected : {"Общ оборот", "Хотел: Всички хотели", "Период: 01.03.2026 – 31.03.2026",
                                        "maria", "1146.50", "Курортна такса", "998.50", "Приход на налична стая"})
            QVERIFY2(printed.contains(expected), qPrintable(expected + " not in:\n" + printed));
        QVERIFY(printed.contains(QRegularExpression("Отпечатано на \\d\\d\\.\\d\\d\\.\\d{4}")));
        QVERIFY(printed.contains(QRegularExpression("(^|\\n)\\s*1\\s*(\\n|$)")));  // the first page's number

        QVERIFY(ClickCommand(window->acReportPreview));
        QVERIFY(window->PreviewDialog);
        QVERIFY(window->PreviewDialog->isVisible());
        SaveShot(window->PreviewDialog, "FReportPreview");
        const QPointer<QPrintPreviewDialog> preview = window->PreviewDialog.data();
        window->close();
        QTRY_VERIFY(!preview);
    }

    // A report reads on a connection of its own: the window answers while it reads, shows how
    // far it is, and a cancelled report leaves what was shown.
    void reportReadsAsideAndStopsWhenCancelled()
    {
        QList<int> told;
        Run(rpTurnover, {march(1), march(31), {}}, connection(), [&told](int percent) {
            told.append(percent);
            return true;
        });
        QVERIFY(told.size() >= 4);
        QVERIFY(std::is_sorted(told.begin(), told.end()));
        QCOMPARE(told.last(), 100);
        QVERIFY_THROWS_EXCEPTION(ECancelled, Run(rpTurnover, {march(1), march(31), {}}, connection(), [](int) { return false; }));
        QVERIFY(!connection().InTransaction());

        TFHotel main;
        main.InitializeWindow();
        main.resize(1100, 720);
        main.show();
        QVERIFY(TypeDate(main.dtpMainPeriodFilter, march(16)));
        QVERIFY(ClickCommand(main.Action("actReportAllOborot")));
        auto *window = qobject_cast<TFReport *>(main.MdiArea->activeSubWindow()->widget());
        QVERIFY(window);
        QTRY_VERIFY(!window->Running());
        const QString shown = GridTexts(window->Grid(0)).last();
        QCOMPARE(shown, QString("Общо|154|14|9.09|1080.00|66.50|1146.50"));
        // Another workstation holds the rooms: the report waits for them.
        QSqlDatabase db = connection().Database();
        const bool sqlite = connection().Engine().Name() == "SQLite";
        QVERIFY(QSqlQuery(db).exec(sqlite ? "BEGIN EXCLUSIVE" : "BEGIN"));
        if (!sqlite)
            QVERIFY(QSqlQuery(db).exec("LOCK TABLE Rooms IN ACCESS EXCLUSIVE MODE"));
        QVERIFY(TypeDate(window->dtpReportTo, march(15)));
        QVERIFY(ClickCommand(window->acReportShow));
        QVERIFY(window->Running());
        QVERIFY(window->pbReport->isVisible());
        QVERIFY(!window->acReportShow->isEnabled());
        SaveShot(&main, "FReportRunning");
        QVERIFY(TypeDate(window->dtpReportFrom, march(2)));  // the window is at the user's hands
        QCOMPARE(window->dtpReportFrom->date(), march(2));
        QVERIFY(ClickOn(window->btnReportCancel));
        QVERIFY(QSqlQuery(db).exec("COMMIT"));
        QTRY_VERIFY(!window->Running());
        QVERIFY(!window->pbReport->isVisible());
        QCOMPARE(GridTexts(window->Grid(0)).last(), shown);
        // Asked again, it reads the period now chosen.
        QVERIFY(ClickCommand(window->acReportShow));
        QTRY_VERIFY(!window->Running());
        QCOMPARE(GridTexts(window->Grid(0)).last(), QString("Общо|69|6|8.70|440.00|25.00|465.00"));
        window->close();
    }

    void taxRegisterSavesAndRefusesBadRates()
    {
        TFNomKurortniTaksi window;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(window.InitializeWindow());
        QCOMPARE(window.GridModel()->rowCount(), 4);
        QVERIFY(TypeInto(window.ComboBoxHotel, "Планински"));
        QVERIFY(TypeInto(window.ComboBoxCategory, "Дете над 7 год."));
        QVERIFY(TypeInto(window.EditRate, "0,75"));
        QVERIFY(TypeDate(window.DateFrom, QDate(2026, 6, 1)));
        QVERIFY(TypeDate(window.DateTo, QDate(2026, 9, 30)));
        QVERIFY(ClickCommand(window.acSave));
        QCOMPARE(rows("SELECT q1, q31, q149 FROM KurortniTaksi WHERE q148 = 5"), QStringList({"2|Дете над 7 год.|0.75"}));
        QCOMPARE(window.GridModel()->rowCount(), 5);
        TTaxRates rates;
        {
            TTransaction transaction(connection());
            rates = TTaxRates::Read(connection());
        }
        QCOMPARE(rates.Rate(2, "Дете над 7 год.", QDate(2026, 7, 1)).ToFixed(2), QString("0.75"));
        QCOMPARE(rates.Rate(2, "Дете над 7 год.", QDate(2026, 10, 1)).ToFixed(2), QString("0.00"));
        QCOMPARE(rates.Rate(1, "Дете над 7 год.", QDate(2026, 7, 1)).ToFixed(2), QString("0.00"));

        for (const QString &bad : {"-1", "abc", "1.005"}) {
            MessageBoxRecorder boxes;
            QVERIFY(ClearField(window.EditId));
            QVERIFY(TypeInto(window.EditRate, bad));
            QVERIFY(ClickCommand(window.acSave));
            QCOMPARE(boxes.Texts(), QStringList({msgRateInvalid}));
        }
        QCOMPARE(number("SELECT COUNT(*) FROM KurortniTaksi"), 5);
        // Without a category: refused for every hotel, a hotel's rate for every guest otherwise.
        QVERIFY(TypeInto(window.EditRate, "0.80"));
        QVERIFY(ClearField(window.ComboBoxCategory));
        QVERIFY(ClearField(window.ComboBoxHotel));
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window.acSave));
            QCOMPARE(boxes.Texts(), QStringList({msgRateInvalid}));
        }
        QVERIFY(TypeInto(window.ComboBoxHotel, "Планински"));
        QVERIFY(ClickCommand(window.acSave));
        QCOMPARE(number("SELECT COUNT(*) FROM KurortniTaksi WHERE q1 = 2 AND q31 IS NULL"), 1);
        QVERIFY(!connection().InTransaction());
    }
};

KALV_TEST_MAIN(TestReports)
#include "tst_reports.moc"
