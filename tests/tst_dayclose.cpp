// The business day and its close: a week at the desk closed night by night (arrivals, no-shows
// asked and automatic, a departure that waits, the night's tax), every operation refused into a
// closed day, reopening the last day and only it, and the close window driven by the mouse.
#include "TestHarness.h"
#include "UserInput.h"
#include "data/UAdoDb.h"
#include "data/USchemaUpgrade.h"
#include "desk/UDayClose.h"
#include "desk/UFrontDesk.h"
#include "desk/UReports.h"
#include "desk/URights.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesStay.h"
#include "startup/USystemWinOS.h"
#include "windows/UFolio.h"
#include "windows/UZatvaryaneDen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTabBar>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

using namespace FrontDesk;

namespace {

// A Monday at a month's end: the week's nights fall in two months.
const QDate d0(2027, 3, 29);
const TDecimal kTaxPerNight = TDecimal::FromText("1.10");

QString dayText(const QDate &day) { return day.toString("dd.MM.yyyy"); }

bool ClickTab(QTabWidget *pages, QWidget *page)
{
    const int index = pages->indexOf(page);
    return index >= 0 && ClickOn(pages->tabBar(), pages->tabBar()->tabRect(index).center()) && pages->currentIndex() == index;
}

} // namespace

class TestDayClose : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    int m_breakfast = 0;

    TADOConnection &connection() { return m_db->Connection(); }
    QStringList rows(const QString &sql) { return m_db->Rows(sql); }
    int count(const QString &sql) { return rows(sql).value(0).toInt(); }
    void setBusinessDay(const QDate &day)
    {
        m_db->Exec("UPDATE RabotenDen SET q233 = ?", {QDateTime(day, QTime(0, 0))});
        ForgetDay();
    }

    // A reserved stay of the room from the first night to the departure, at 60 a night.
    int reserve(int room, const QDate &from, const QDate &to, const QString &guest)
    {
        const int booking = connection().InsertReturningIdentity(
            "Rezervacii", {"q1", "q29", "q28", "q31", "q134", "q135"},
            "VALUES (1, ?, '7501010000', 'Мъж', 'Варна', 'България')", {guest});
        const int nights = int(from.daysTo(to));
        return connection().InsertReturningIdentity(
            "Klients", {"q1", "q29", "q31", "q34", "q35", "q47", "q70", "q71", "q27", "q124", "q125"},
            "VALUES (1, ?, 'Мъж', ?, ?, ?, 60, ?, ?, ?, 0)", {guest, from, to, room, nights, 60 * nights, booking});
    }
    int bookingOf(int stay) { return count(QString("SELECT q124 FROM Klients WHERE q123 = %1").arg(stay)); }
    TGuest registration()
    {
        TGuest guest;
        guest.PersonalNumber = "7501010000";
        guest.Nationality = "България";
        guest.Address = "Варна";
        return guest;
    }

    template <typename TWork>
    void expectRefused(TWork work, const QString &message)
    {
        const QStringList before = rows("SELECT * FROM Klients ORDER BY q123") + rows("SELECT * FROM Plashtania") +
                                   rows("SELECT * FROM ZatvoreniDni") + rows("SELECT * FROM RabotenDen");
        const int log = count("SELECT COUNT(*) FROM Dnevnik");
        try {
            work();
            QFAIL("the operation was not refused");
        } catch (const EFrontDeskRefused &refused) {
            QVERIFY2(refused.Message().startsWith(message), qPrintable(refused.Message()));
        }
        QVERIFY(!connection().InTransaction());
        QCOMPARE(count("SELECT COUNT(*) FROM Dnevnik"), log);
        QCOMPARE(rows("SELECT * FROM Klients ORDER BY q123") + rows("SELECT * FROM Plashtania") +
                     rows("SELECT * FROM ZatvoreniDni") + rows("SELECT * FROM RabotenDen"),
                 before);
    }

    // The sums a plain reading of the rows gives for the week: what the closes must have written.
    struct TPlain {
        TDecimal Rooms, Services, Tax, Cash, Card;
        int Sold = 0;
    };
    TPlain plainWeek()
    {
        TPlain plain;
        // Nights of stays that held them, each night at its price, up to the week's end.
        auto stays = OpenQuery(connection(), "SELECT q34, q35, q70 FROM Klients WHERE q47 IS NOT NULL AND q125 IN (1, 2)");
        for (stays->First(); !stays->Eof(); stays->Next()) {
            const QDate from = stays->FieldByName("q34").AsDate(), to = stays->FieldByName("q35").AsDate();
            const TDecimal price = TDecimal::FromVariant(stays->FieldByName("q70").Value());
            for (QDate night = from; night < to && night <= d0.addDays(6); night = night.addDays(1)) {
                plain.Rooms += price;
                ++plain.Sold;
            }
        }
        auto charges = OpenQuery(connection(), "SELECT q27, q160 FROM Klients WHERE q47 IS NULL");
        for (charges->First(); !charges->Eof(); charges->Next())
            (charges->FieldByName("q160").IsNull() ? plain.Services : plain.Tax) +=
                TDecimal::FromVariant(charges->FieldByName("q27").Value());
        auto payments = OpenQuery(connection(), "SELECT q140, q141, q142 FROM Plashtania");
        for (payments->First(); !payments->Eof(); payments->Next()) {
            const TDecimal amount = TDecimal::FromVariant(payments->FieldByName("q140").Value());
            const TDecimal signedAmount = payments->FieldByName("q141").AsInteger() == pkRefund ? TDecimal() - amount : amount;
            (payments->FieldByName("q142").AsInteger() == pmCard ? plain.Card : plain.Cash) += signedAmount;
        }
        return plain;
    }

    TDecimal closedSum(const QString &column)
    {
        return TDecimal::FromVariant(
            connection().Column("SELECT COALESCE(SUM(" + column + "), 0) FROM ZatvoreniDni WHERE q246 IS NULL").value(0));
    }

private slots:
    void initTestCase() { FillCatalogue(slBulgarian); }
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        SetToday(QDate());  // the stored business day, as at the desk
        Rights::SetCurrent(1, Rights::Full());
        m_db->Exec("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски')");
        for (int room = 1; room <= 4; ++room)
            m_db->Exec("INSERT INTO Rooms (q44, q46, q1, q129) VALUES (?, 60, 1, 0)", {QString::number(100 + room)});
        m_db->Exec("INSERT INTO Uslugi (q40, q33) VALUES (10, 'Закуска')");
        m_breakfast = count("SELECT q42 FROM Uslugi WHERE q33 = 'Закуска'");
        m_db->Exec("INSERT INTO KurortniTaksi (q31, q149, q52, q53) VALUES ('Мъж', 1.1, ?, ?)",
                   {QDate(2027, 1, 1), QDate(2027, 12, 31)});
        setBusinessDay(d0);
    }
    void cleanup()
    {
        Rights::SetCurrent(0, QString());
        m_db.reset();
        ForgetDay();
    }

    // An upgraded or new database starts on the calendar's today.
    void aNewDatabaseStartsOnToday()
    {
        m_db->Exec("DELETE FROM RabotenDen");
        m_db->Exec("UPDATE VersiaBaza SET q150 = 7");
        SchemaUpgrade::BringUpToDate(connection(), {});
        ForgetDay();
        QCOMPARE(Today(), QDate::currentDate());
        QCOMPARE(count("SELECT COUNT(*) FROM RabotenDen"), 1);
    }

    void aWeekOfBusiness()
    {
        QCOMPARE(Today(), d0);
        const int a = reserve(1, d0, d0.addDays(3), "Анна Антонова");
        const int b = reserve(2, d0, d0.addDays(2), "Борис Борисов");
        const int c = reserve(3, d0, d0.addDays(1), "Цветан Цветков");
        const int d = reserve(4, d0.addDays(2), d0.addDays(5), "Дамян Дамянов");
        DayClose::TRules rules;
        rules.ChargeNoShow = true;
        DayClose::SaveRules(1, rules);

        // Three arrivals wait: the close says so and writes nothing.
        const QList<DayClose::TItem> open = DayClose::Review();
        QCOMPARE(std::count_if(open.cbegin(), open.cend(), [](const DayClose::TItem &i) { return i.Blocks; }), 3);
        expectRefused([] { DayClose::Close(d0); }, msgDayCloseBlocked.arg(3));

        CheckIn(a, registration(), true);
        CheckIn(b, registration(), true);
        MarkNoShow(c);  // asked: the receptionist decides, the first night charged
        Charge(bookingOf(a), m_breakfast, TDecimal(1), d0);
        TakePayment(bookingOf(a), pkPayment, pmCash, TDecimal(50), {});
        TakePayment(bookingOf(b), pkPayment, pmCard, TDecimal(30), {});
        QCOMPARE(DayClose::Close(d0), d0.addDays(1));
        QCOMPARE(Today(), d0.addDays(1));

        // The closed day takes nothing more, whatever the operation.
        const QString closed = msgDayClosed.arg(dayText(d0), dayText(d0.addDays(1)));
        expectRefused([&] { Charge(bookingOf(a), m_breakfast, TDecimal(1), d0); }, closed);
        expectRefused([&] { SetRoomStates({1}, rsOutOfService, "ремонт", d0, d0.addDays(3)); }, closed);
        expectRefused([&] { Move(a, 3, d0, true); }, closed);
        expectRefused([&] { DayClose::Close(d0); }, msgDayClosedElsewhere.arg(dayText(d0), dayText(d0.addDays(1))));
        // A correction is a new entry on the business day.
        Charge(bookingOf(a), m_breakfast, TDecimal(-1), d0.addDays(1), {}, "не е сервирана");

        DayClose::Close(d0.addDays(1));
        // Day 2: B leaves, D arrives; the hotel now lets the close mark no-shows itself.
        rules.AutoNoShow = true;
        DayClose::SaveRules(1, rules);
        expectRefused([&] { DayClose::Close(d0.addDays(2)); }, msgDayCloseBlocked.arg(1));  // B's departure
        CheckOut(b, true);
        TakePayment(bookingOf(b), pkRefund, pmCard, TDecimal(10), {});
        DayClose::Close(d0.addDays(2));
        QCOMPARE(ReadStay(d)->Status, int(ssNoShow));
        CheckOut(a, true);
        for (int day = 3; day <= 6; ++day)
            DayClose::Close(d0.addDays(day));
        QCOMPARE(Today(), d0.addDays(7));

        // The closes' totals against a plain reading of the rows.
        const TPlain plain = plainWeek();
        QCOMPARE(plain.Sold, 5);                                   // A three nights, B two
        QCOMPARE(plain.Tax.ToFixed(2), (kTaxPerNight * TDecimal(5)).ToFixed(2));
        QCOMPARE(plain.Services.ToFixed(2), QString("120.00"));    // two no-shows, a breakfast taken back
        QCOMPARE(count("SELECT SUM(q236) FROM ZatvoreniDni"), plain.Sold);
        QCOMPARE(count("SELECT SUM(q235) FROM ZatvoreniDni"), 4 * 7);
        QCOMPARE(closedSum("q237").ToFixed(2), plain.Rooms.ToFixed(2));
        QCOMPARE(closedSum("q238").ToFixed(2), plain.Services.ToFixed(2));
        QCOMPARE(closedSum("q239").ToFixed(2), plain.Tax.ToFixed(2));
        QCOMPARE(closedSum("q240").ToFixed(2), plain.Cash.ToFixed(2));
        QCOMPARE(closedSum("q241").ToFixed(2), plain.Card.ToFixed(2));
        QCOMPARE(count("SELECT SUM(q243) FROM ZatvoreniDni"), 2);
        QCOMPARE(count("SELECT SUM(q244) FROM ZatvoreniDni"), 2);
        QCOMPARE(count("SELECT SUM(q245) FROM ZatvoreniDni"), 2);
        // Each night's tax once, the month's tax report as the closes accrued it.
        QCOMPARE(count("SELECT SUM(q71) FROM Klients WHERE q160 IS NOT NULL"), 5);
        const Reports::TReport taxes = Reports::Run(Reports::rpTaxes, {d0, d0.addDays(6), QVariant()});
        QCOMPARE(taxes.Tables.at(0).Totals.last().toString(), plain.Tax.ToFixed(2));
        const Reports::TReport march = Reports::Run(Reports::rpTaxes, {d0, QDate(2027, 3, 31), QVariant()});
        QCOMPARE(march.Tables.at(0).Totals.last().toString(), (kTaxPerNight * TDecimal(5)).ToFixed(2));  // 29–31 March
        // The turnover report of the week reads what the closed days hold.
        const Reports::TReport turnover = Reports::Run(Reports::rpTurnover, {d0, d0.addDays(6), QVariant()});
        const QVariantList totals = turnover.Tables.at(0).Totals;
        QCOMPARE(totals.at(2).toInt(), count("SELECT SUM(q236) FROM ZatvoreniDni"));
        QCOMPARE(totals.at(4).toString(), closedSum("q237").ToFixed(2));
        QCOMPARE(totals.at(5).toString(), (closedSum("q238") + closedSum("q239")).ToFixed(2));
        // The daily report of the week: the same sums.
        const Reports::TReport daily = Reports::Run(Reports::rpClosedDays, {d0, d0.addDays(6), QVariant()});
        QCOMPARE(daily.Tables.at(0).Rows.size(), 7);
        QCOMPARE(daily.Tables.at(0).Totals.at(5).toString(), plain.Rooms.ToFixed(2));
        QCOMPARE(daily.Tables.at(0).Totals.at(7).toString(), plain.Tax.ToFixed(2));
    }

    // What the close points out without waiting for it: a guest owing more than the hotel's
    // limit, a registration card not printed, a room not clean, a payment with no receipt.
    void theReviewPointsOutWhatIsOpen()
    {
        const int a = reserve(1, d0, d0.addDays(3), "Анна Антонова");
        CheckIn(a, registration(), true);  // owes 180
        m_db->Exec("UPDATE Rooms SET q129 = 1 WHERE q44 = '103'");
        const auto kinds = [] {
            QStringList said;
            for (const DayClose::TItem &item : DayClose::Review())
                said.append((item.Blocks ? "blocks " : "") + QString::number(item.Kind) + ":" + item.RoomNumber);
            return said;
        };
        QCOMPARE(kinds(), QStringList({QString("%1:101").arg(DayClose::ikCard), QString("%1:103").arg(DayClose::ikDirtyRoom)}));
        DayClose::TRules rules;
        rules.BalanceLimit = TDecimal(100);
        DayClose::SaveRules(1, rules);
        m_db->Exec("INSERT INTO Dnevnik (q136, q145, q146, q124, q147) VALUES (?, 'card', ?, ?, 'printed')",
                   {QDateTime::currentDateTime(), a, bookingOf(a)});
        QCOMPARE(kinds(), QStringList({QString("%1:101").arg(DayClose::ikBalance), QString("%1:103").arg(DayClose::ikDirtyRoom)}));
        TakePayment(bookingOf(a), pkPayment, pmCash, TDecimal(100), {});
        QCOMPARE(kinds(), QStringList({QString("%1:103").arg(DayClose::ikDirtyRoom)}));  // owes 80 now
        // Unanswered receipts are listed whatever the workstation.
        m_db->Exec("INSERT INTO FiskalniBonove (q124, q222, q223, q224, q228, q229, q231, q136) "
                   "VALUES (?, 'DT1-0001-0000001', 't', 4, 20, 0, 0, ?)",
                   {bookingOf(a), QDateTime::currentDateTime()});
        QCOMPARE(kinds().last(), QString("%1:").arg(DayClose::ikReceipt));
        // None of these holds the close.
        DayClose::Close(d0);
        QCOMPARE(Today(), d0.addDays(1));
        expectRefused([&] { Extend(a, d0); }, msgDepartureInvalid);
        const int b = reserve(2, d0.addDays(2), d0.addDays(4), "Борис Борисов");
        expectRefused([&] { ChangeDates(b, d0); }, msgDatesPast.arg(dayText(d0.addDays(1))));
    }

    // The last closed day opens again, by an operator with the right and a reason, once; never an
    // earlier one.
    void reopeningTheLastDayOnly()
    {
        const int a = reserve(1, d0, d0.addDays(4), "Анна Антонова");
        CheckIn(a, registration(), true);
        DayClose::Close(d0);
        DayClose::Close(d0.addDays(1));
        expectRefused([] { DayClose::Reopen("  "); }, msgReopenNeedsReason);
        QString rights = Rights::Full();
        rights[Rights::rInternalControl - 1] = '0';
        Rights::SetCurrent(1, rights);
        QVERIFY_THROWS_EXCEPTION(ERightRefused, DayClose::Reopen("грешна такса"));
        Rights::SetCurrent(1, Rights::Full());
        DayClose::Reopen("грешна такса");
        QCOMPARE(Today(), d0.addDays(1));
        QCOMPARE(count("SELECT COUNT(*) FROM ZatvoreniDni WHERE q246 IS NOT NULL"), 1);
        QCOMPARE(rows("SELECT q248 FROM ZatvoreniDni WHERE q246 IS NOT NULL"), QStringList({"грешна такса"}));
        expectRefused([] { DayClose::Reopen("и предния"); }, msgReopenOnlyLast.arg(dayText(d0)));
        // Closed again: the night's tax is not charged twice, the day has one row that counts.
        DayClose::Close(d0.addDays(1));
        QCOMPARE(count("SELECT SUM(q71) FROM Klients WHERE q160 IS NOT NULL"), 2);
        QCOMPARE(count("SELECT COUNT(*) FROM ZatvoreniDni WHERE q246 IS NULL"), 2);
        QCOMPARE(DayClose::LastClosed(), d0.addDays(1));
    }

    // A charge of a closed day is corrected in the folio by a negative quantity with its reason,
    // dated on the business day; the closed day's row keeps what it said.
    void aCorrectionFromTheFolio()
    {
        const int a = reserve(1, d0, d0.addDays(3), "Анна Антонова");
        CheckIn(a, registration(), true);
        Charge(bookingOf(a), m_breakfast, TDecimal(2), d0);
        DayClose::Close(d0);
        const QString servicesOfDay0 = rows("SELECT q238 FROM ZatvoreniDni").value(0);
        TFFolio folio;
        folio.setAttribute(Qt::WA_DeleteOnClose, false);
        folio.SetBooking(bookingOf(a));
        folio.InitializeWindow();
        folio.show();
        QVERIFY(QTest::qWaitForWindowExposed(&folio));
        QVERIFY(ClickTab(folio.Pages(), folio.tsFolioCharge));
        QVERIFY(ChooseFromDropDown(folio.cbFolioService, "Закуска"));
        QVERIFY(ClearField(folio.edFolioQuantity));
        QVERIFY(TypeInto(folio.edFolioQuantity, "-1"));
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(folio.acFolioCharge));
            QCOMPARE(boxes.Texts(), QStringList({msgCorrectionNeedsReason}));
        }
        QVERIFY(TypeInto(folio.edFolioChargeReason, "една закуска по-малко"));
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(folio.acFolioCharge));
            QVERIFY2(boxes.Texts().isEmpty(), qPrintable(boxes.Texts().join('|')));
        }
        QCOMPARE(folio.Folio()->ChargesTotal.ToFixed(2), QString("11.10"));  // a breakfast and the first night's tax
        QCOMPARE(folio.Folio()->Charges.last().Date, d0.addDays(1));
        QVERIFY(rows("SELECT q147 FROM Dnevnik ORDER BY q143 DESC").value(0).contains("една закуска по-малко"));
        QCOMPARE(rows("SELECT q238 FROM ZatvoreniDni").value(0), servicesOfDay0);
        QVERIFY(folio.edFolioChargeReason->text().isEmpty());
    }

    // The window as the night auditor works it: the decisions beside each arrival clicked, then
    // the close said yes to.
    void theCloseWindowByMouse()
    {
        const int a = reserve(1, d0, d0.addDays(2), "Анна Антонова");
        const int b = reserve(2, d0, d0.addDays(2), "Борис Борисов");
        TFZatvaryaneDen window;
        window.InitializeWindow();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.lblZatvaryaneDenDay->text(), msgBusinessDayIs.arg(dayText(d0)));
        QCOMPARE(window.Items().size(), 2);
        {
            // Blocked: the window says so and asks nothing.
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window.acZatvaryaneDenClose));
            QCOMPARE(boxes.Texts(), QStringList({msgDayCloseBlocked.arg(2)}));
        }
        QVERIFY(ClickOn(window.DecisionButton(0, "dayNoShow")));
        QCOMPARE(ReadStay(a)->Status, int(ssNoShow));
        QCOMPARE(window.Items().size(), 1);
        QVERIFY(window.DecisionButton(0, "dayTomorrow"));
        QVERIFY(ClickOn(window.DecisionButton(0, "dayTomorrow")));
        QCOMPARE(ReadStay(b)->From, d0.addDays(1));
        QVERIFY(window.Items().isEmpty());
        {
            MessageBoxRecorder boxes;
            boxes.Answer(TSystemWinOS::IDNO);
            QVERIFY(ClickCommand(window.acZatvaryaneDenClose));
            QCOMPARE(Today(), d0);  // said no: nothing closed
            boxes.Answer(TSystemWinOS::IDYES);
            QVERIFY(ClickCommand(window.acZatvaryaneDenClose));
        }
        QCOMPARE(Today(), d0.addDays(1));
        QCOMPARE(window.lblZatvaryaneDenDay->text(), msgBusinessDayIs.arg(dayText(d0.addDays(1))));
        QCOMPARE(window.GridModel()->rowCount(), 1);  // the closed day in the list
        // The hotel's rules typed in and saved, read back when the window opens again.
        window.Pages()->setCurrentWidget(window.tsZatvaryaneDenRules);
        QVERIFY(ClickOn(window.chkZatvaryaneDenAutoNoShow));
        QVERIFY(ClearField(window.edZatvaryaneDenBalanceLimit));
        QVERIFY(TypeInto(window.edZatvaryaneDenBalanceLimit, "250"));
        QVERIFY(ClickCommand(window.acZatvaryaneDenSaveRules));
        QVERIFY(DayClose::Rules(1).AutoNoShow);
        QCOMPARE(DayClose::Rules(1).BalanceLimit.ToFixed(2), QString("250.00"));
        // Reopened from the window with a reason typed.
        window.Pages()->setCurrentWidget(window.tsZatvaryaneDenReopen);
        QVERIFY(TypeInto(window.edZatvaryaneDenReason, "пропусната сметка"));
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window.acZatvaryaneDenReopen));
        }
        QCOMPARE(Today(), d0);
        QCOMPARE(window.GridModel()->rowCount(), 0);
    }
};

KALV_TEST_MAIN(TestDayClose)
#include "tst_dayclose.moc"
