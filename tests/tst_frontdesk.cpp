// The front desk's rules on a real database: bookings from the reservation window, check-in,
// check-out, cancellation, no-show, extension, room move, charges, payments, room states, the
// log, and a database of the first version brought up to date.

#include "TestHarness.h"
#include "admin/UDatabaseSetup.h"
#include "admin/UInitMSSQL.h"
#include "data/UDM.h"
#include "data/UDbEngine.h"
#include "data/UDbSchema.h"
#include "desk/UFrontDesk.h"
#include "framework/UFormatSettings.h"
#include "desk/UReports.h"
#include "desk/URights.h"
#include "data/USchemaUpgrade.h"
#include "framework/UStdCtrls.h"
#include "startup/KalvCM.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesStay.h"
#include "startup/USystemWinOS.h"
#include "windows/Hotel.h"
#include "windows/UAdresniKarti.h"
#include "windows/UFolio.h"
#include "windows/UNastaniavane.h"
#include "windows/UNomStai.h"
#include "windows/UOperReservation.h"
#include "windows/UPochistvane.h"
#include "windows/UTarsene.h"
#include "windows/URoomBoard.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QCheckBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTabWidget>
#include <QRadioButton>
#include <QtTest>
#include <memory>

using namespace FrontDesk;

class TestFrontDesk : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    const QDate today = QDate::currentDate();

    TADOConnection &connection() { return m_db->Connection(); }
    void exec(const QString &sql, const QVariantList &values = {}) { m_db->Exec(sql, values); }
    QStringList rows(const QString &sql) { return m_db->Rows(sql); }
    int count(const QString &sql) { return rows(sql).value(0).toInt(); }
    int logRows() { return count("SELECT COUNT(*) FROM Dnevnik"); }
    QString lastLog() { return rows("SELECT q147 FROM Dnevnik ORDER BY q143 DESC").value(0); }

    void hotelData()
    {
        exec("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски')");
        exec("INSERT INTO Tarife (q50) VALUES ('Основна')");
        exec("INSERT INTO Valuta (q56, q1) VALUES ('BGN', 1)");
        exec("INSERT INTO Uslugi (q40, q33, q51) VALUES (60, 'Единична', 1), (12.345, 'Закуска', 1)");
        exec("INSERT INTO Rooms (q44, q46, q1, q42, q48, q79, q129, q81, q82, q83, q84) VALUES "
             "('101', 60, 1, 1, 1, 2, 0, 60, 40, 10, 10), ('102', 80, 1, 1, 2, 3, 0, 60, 40, 10, 80), "
             "('103', 100, 1, 1, 2, 3, 0, 60, 40, 10, 150)");
        InstallDeliveredProcedures({"proc_CopyAllTablesValues"});
    }

    // The booking's guest, tariff, currency and hotel typed into the reservation window.
    static bool typeGuest(TFOperReservation &window, const QString &name, const QString &personalNumber)
    {
        return TypeInto(window.edContragentName, name) && TypeInto(window.edContragentID, personalNumber) &&
               TypeInto(window.cbTarife, "Основна") && TypeInto(window.cbCurrency, "BGN") &&
               TypeInto(window.cbHotel, "Морски");
    }

    // A booking of one room through the reservation window, as an operator makes it.
    // A booking without stays, written as the front desk writes one.
    int bookDirectly(const QString &guest)
    {
        TTransaction transaction(connection(), true);
        FrontDesk::TGuest who;
        who.Name = guest;
        const int number = FrontDesk::InsertBooking(connection(), 1, who, QVariant(), QString(), 0, 0);
        transaction.Commit();
        return number;
    }

    // A stay that began before the desk's day was booked while its first night was still open.
    int book(const QString &room, const QDate &from, const QDate &to, const QString &guest = "Иван Петров")
    {
        const QDate today = Today();
        if (from < today)
            SetToday(from);
        const int booking = bookOnToday(room, from, to, guest);
        SetToday(today);
        return booking;
    }
    int bookOnToday(const QString &room, const QDate &from, const QDate &to, const QString &guest)
    {
        TFOperReservation window;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        if (!window.InitializeWindow())
            throw std::runtime_error("no staging table");
        window.edContragentName->setText(guest);
        window.edContragentID->setText("8505051234");
        window.edContragentAddress->setText("София, ул. Шипка 1");
        window.edContragenPassportID->setText("P123456");
        window.cbTarife->setEditText("Основна");
        window.cbCurrency->setEditText("BGN");
        window.cbHotel->setEditText("Морски");
        window.cbRoomNumber->setEditText(room);
        window.DateTimePicker1->setDate(from);
        window.DateTimePicker2->setDate(to);
        MessageBoxRecorder boxes;
        window.acOperReservationPrepareContragentForReserv->trigger();
        if (window.GridModel()->rowCount() != 1)
            return 0;
        window.acOperReservationSave->trigger();
        return window.LastBooking;
    }
    int stayOf(int booking)
    {
        return rows(QString("SELECT MIN(q123) FROM Klients WHERE q47 IS NOT NULL AND q124 = %1").arg(booking))
            .value(0)
            .toInt();
    }
    int roomId(const QString &number) { return rows("SELECT q47 FROM Rooms WHERE q44 = '" + number + "'").value(0).toInt(); }
    TGuest registration()
    {
        TGuest guest;
        guest.PersonalNumber = "8505051234";
        guest.Nationality = "България";
        guest.Address = "София, ул. Шипка 1";
        return guest;
    }
    // Refused, with nothing written and no transaction left open.
    template <typename TWork>
    void expectRefused(TWork work, const QString &message)
    {
        const int log = logRows();
        const QStringList klients = rows("SELECT * FROM Klients ORDER BY q123");
        try {
            work();
            QFAIL("the operation was not refused");
        } catch (const EFrontDeskRefused &refused) {
            // The rule's words, then (when a change came before) which change that was.
            QVERIFY2(refused.Message() == message || refused.Message().startsWith(message + " "),
                     qPrintable(refused.Message()));
        }
        QVERIFY(!connection().InTransaction());
        QCOMPARE(logRows(), log);
        QCOMPARE(rows("SELECT * FROM Klients ORDER BY q123"), klients);
    }
    // Asked the question, with nothing written and no transaction left open.
    template <typename TWork>
    void expectAsked(TWork work, TQuestion question, const QString &words)
    {
        const int log = logRows();
        const QStringList klients = rows("SELECT * FROM Klients ORDER BY q123");
        try {
            work();
            QFAIL("the operation went ahead without asking");
        } catch (const EFrontDeskConfirm &asked) {
            QCOMPARE(int(asked.Question), int(question));
            QVERIFY2(asked.Message().contains(words), qPrintable(asked.Message() + " lacks " + words));
        }
        QVERIFY(!connection().InTransaction());
        QCOMPARE(logRows(), log);
        QCOMPARE(rows("SELECT * FROM Klients ORDER BY q123"), klients);
    }
    QString day(const QDate &date) { return date.toString("dd.MM.yyyy"); }
    // Done, with exactly one log row more.
    template <typename TWork>
    void expectLogged(TWork work)
    {
        const int log = logRows();
        work();
        QVERIFY(!connection().InTransaction());
        QCOMPARE(logRows(), log + 1);
    }

private slots:
    void initTestCase() { FillCatalogue(slBulgarian); }
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        hotelData();
        SetToday(today);  // the day the test took once: a run across midnight keeps it
    }
    void cleanup()
    {
        SetToday(QDate());
        m_db.reset();
    }

    void earlyAndLateCheckOutsAskAndChargeTheNightsStayed()
    {
        const QDate d0 = QDate(2026, 5, 4);
        SetToday(d0);
        const int early = stayOf(book("101", d0, d0.addDays(3)));
        const int late = stayOf(book("102", d0, d0.addDays(2)));
        CheckIn(early, registration(), true);
        CheckIn(late, registration(), true);
        // On the arrival day: nothing stayed yet, everything given up.
        expectAsked([&] { CheckOut(early, false); }, qnEarlyDeparture, msgEarlyDeparture.arg("101").arg(3).arg(0).arg("180.00"));
        SetToday(d0.addDays(1));
        expectAsked([&] { CheckOut(early, false); }, qnEarlyDeparture, msgEarlyDeparture.arg("101").arg(3).arg(1).arg("120.00"));
        // The yes to leaving early is no yes to the balance it leaves open.
        expectAsked([&] { CheckOut(early, TConsent().With(qnEarlyDeparture)); }, qnOpenBalance, "60.00");
        expectLogged([&] { CheckOut(early, TConsent().With(qnEarlyDeparture).With(qnOpenBalance)); });
        QCOMPARE(rows(QString("SELECT q35, q71, q27 FROM Klients WHERE q123 = %1").arg(early)).value(0).section('|', 1),
                 QString("1|60"));

        // Two days past the departure: the nights really stayed, after a question naming them.
        SetToday(d0.addDays(4));
        expectAsked([&] { CheckOut(late, TConsent().With(qnOpenBalance)); }, qnOverstay,
                    msgOverstay.arg("102", day(d0.addDays(2))).arg(2).arg("160.00"));
        expectLogged([&] { CheckOut(late, TConsent().With(qnOverstay).With(qnOpenBalance)); });
        QCOMPARE(ReadStay(late)->To, d0.addDays(4));
        QCOMPARE(rows(QString("SELECT q71, q27 FROM Klients WHERE q123 = %1").arg(late)), QStringList({"4|320"}));
    }

    void anOverstayKeepsItsRoomFromTheNextGuest()
    {
        const QDate d0 = QDate(2026, 5, 4);
        SetToday(d0);
        const int staying = stayOf(book("103", d0, d0.addDays(1), "Първи Гост"));
        const int next = stayOf(book("103", d0.addDays(1), d0.addDays(3), "Втори Гост"));
        const int elsewhere = stayOf(book("101", d0, d0.addDays(8), "Трети Гост"));
        TGuest walkIn = registration();
        walkIn.Name = "Пети Гост";
        CheckIn(staying, registration(), true);
        CheckIn(elsewhere, registration(), true);
        SetToday(d0.addDays(1));
        // The same-day turnover: the next guest waits until the first has checked out.
        expectRefused([&] { CheckIn(next, registration(), true); }, msgGuestStillInHouse.arg("103", "Първи Гост"));
        expectRefused([&] { Move(elsewhere, roomId("103"), d0.addDays(1), true); },
                      msgRoomHeld.arg("103"));
        // Past the departure, the room is another stay's: the operator moves one of them first.
        SetToday(d0.addDays(2));
        expectRefused([&] { CheckOut(staying, true); }, msgOverstayRoomTaken.arg("103", day(d0.addDays(1))));
        // Nobody walks in or moves into a room whose guest has not left.
        const int free = stayOf(book("102", d0.addDays(2), d0.addDays(4), "Четвърти Гост"));
        CheckIn(free, registration(), true);
        SetToday(d0.addDays(5));
        expectRefused([&] { WalkIn(roomId("102"), d0.addDays(6), walkIn, QVariant(), true); },
                      msgGuestStillInHouse.arg("102", "Четвърти Гост"));
        expectRefused([&] { Move(elsewhere, roomId("102"), d0.addDays(5), true); },
                      msgGuestStillInHouse.arg("102", "Четвърти Гост"));
        expectLogged([&] { CheckOut(free, true); });
        expectLogged([&] { WalkIn(roomId("102"), d0.addDays(6), walkIn, QVariant(), true); });
    }

    void noNightsInThePast()
    {
        const QDate d0 = QDate(2026, 5, 4);
        SetToday(d0);
        // The days before the business day are closed, whoever books.
        Rights::SetCurrent(1, Rights::Full());
        QCOMPARE(bookOnToday("101", d0.addDays(-1), d0.addDays(1), "Иван Петров"), 0);
        QVERIFY(bookOnToday("101", d0, d0.addDays(1), "Иван Петров") > 0);
        Rights::SetCurrent(0, Rights::Full());
    }

    void guestsPastTheirDepartureAreListedAndMarked()
    {
        const QDate d0 = QDate(2026, 5, 4);
        SetToday(d0);
        const int booking = book("101", d0, d0.addDays(1), "Закъснял Гост");
        const int stay = stayOf(booking);
        CheckIn(stay, registration(), true);
        SetToday(d0.addDays(3));
        TFNastaniavane window;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.show();
        window.InitializeWindow();
        QTabWidget *pages = window.Pages();
        QCOMPARE(pages->tabText(pages->indexOf(window.tsNastaniavaneOverdue)), QString("Просрочени (1)"));
        QTableWidget *list = window.tblNastaniavaneOverdue;
        QCOMPARE(list->rowCount(), 1);
        QCOMPARE(list->item(0, 1)->text(), QString("101"));
        QCOMPARE(list->item(0, 2)->text(), QString("Закъснял Гост"));
        QCOMPARE(list->item(0, 4)->text(), QString("2"));
        // A double click on the guest opens the folio.
        QSignalSpy folio(&window, &TFNastaniavane::FolioRequested);
        pages->setCurrentWidget(window.tsNastaniavaneOverdue);
        const QPoint cell = list->visualItemRect(list->item(0, 2)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(folio.size(), 1);
        QCOMPARE(folio.first(), QVariantList({booking, stay}));
        SaveShot(&window, "FNastaniavaneOverdue");
        // The board marks the room as a guest who should have left.
        TFHotel main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.dtpMainPeriodFilter->setDate(d0.addDays(3));
        main.timerInitRoomStatusTimer();
        QCOMPARE(main.RoomBoard->Button(roomId("101"))->Marks(), int(rmInHouse | rmOverdue));
        QCOMPARE(main.RoomBoard->Button(roomId("101"))->toolTip(), QString("Закъснял Гост"));
        main.show();
        SaveShot(&main, "BoardOverdue");
        // Checked out (two nights more, asked), it is neither listed nor marked.
        CheckOut(stay, true);
        window.InitializeWindow();
        QCOMPARE(list->rowCount(), 0);
        QCOMPARE(pages->tabText(pages->indexOf(window.tsNastaniavaneOverdue)), QString("Просрочени"));
        main.timerInitRoomStatusTimer();
        QVERIFY(!(main.RoomBoard->Button(roomId("101"))->Marks() & rmOverdue));
    }

    void aMovedStayKnowsWhatItContinues()
    {
        const QDate d0 = QDate(2026, 5, 4);
        SetToday(d0);
        exec("INSERT INTO KurortniTaksi (q31, q149, q52, q53) VALUES (NULL, 1, ?, ?)", {d0, d0.addYears(1)});
        const int booking = book("101", d0, d0.addDays(4), "Преместен Гост");
        const int first = stayOf(booking);
        CheckIn(first, registration(), true);
        SetToday(d0.addDays(2));
        const int second = Move(first, roomId("102"), d0.addDays(2), true);
        QCOMPARE(ReadStay(second)->Continues, first);
        QCOMPARE(ReadStay(first)->Continues, 0);
        expectLogged([&] { Extend(second, d0.addDays(5)); });
        // A reserved stay moved from its third night: its first part ends where the next begins,
        // so only the next part is extended (else the guest held two rooms a night).
        const int ahead = stayOf(book("101", d0.addDays(20), d0.addDays(24), "Бъдещ Гост"));
        const int aheadNext = Move(ahead, roomId("102"), d0.addDays(22), true);
        expectRefused([&] { Extend(ahead, d0.addDays(23)); }, msgStayContinues.arg("102", day(d0.addDays(22))));
        expectLogged([&] { Extend(aheadNext, d0.addDays(25)); });
        // Moved on again: the third part continues the second.
        SetToday(d0.addDays(3));
        const int third = Move(second, roomId("103"), d0.addDays(3), true);
        QCOMPARE(ReadStay(third)->Continues, second);
        // The arrivals list the guest once, on the first day; the departures once, on the last.
        using namespace Reports;
        const TReport in = Run(rpArrivals, {d0, d0.addDays(6), QVariant()});
        const TReport out = Run(rpDepartures, {d0, d0.addDays(6), QVariant()});
        QCOMPARE(in.Tables.at(0).Rows.size(), 1);
        QCOMPARE(in.Tables.at(0).Rows.first().at(3).toString(), QString("101"));
        QCOMPARE(out.Tables.at(0).Rows.size(), 1);
        QCOMPARE(out.Tables.at(0).Rows.first().at(3).toString(), QString("103"));
        // Two rooms booked one after the other are two arrivals and two departures, even when
        // the second was moved whole to another room before it began.
        SetToday(d0);
        const int two = book("102", d0.addDays(8), d0.addDays(10), "Двама");
        const int later = stayOf(book("101", d0.addDays(10), d0.addDays(12), "Двама"));
        exec(QString("UPDATE Klients SET q124 = %1 WHERE q123 = %2").arg(two).arg(later));
        Move(later, roomId("103"), d0.addDays(10), true);
        QCOMPARE(Run(rpArrivals, {d0.addDays(8), d0.addDays(12), QVariant()}).Tables.at(0).Rows.size(), 2);
        QCOMPARE(Run(rpDepartures, {d0.addDays(8), d0.addDays(12), QVariant()}).Tables.at(0).Rows.size(), 2);
        // Moves made by an earlier version learn what they continue at the upgrade.
        exec("UPDATE Klients SET q155 = NULL");
        // ... the tourist tax charged at a move learns its nights and stay again ...
        QCOMPARE(rows(QString("SELECT q71 FROM Klients WHERE q160 = %1").arg(first)), QStringList({"2"}));
        exec("UPDATE Klients SET q160 = NULL, q34 = NULL, q35 = NULL WHERE q160 IS NOT NULL");
        // ... and so do closures kept in the room's row: they become rows of their own.
        exec("DELETE FROM Zatvoreni");
        exec("UPDATE Rooms SET q129 = 3, q130 = 'стар ремонт', q131 = ?, q132 = ? WHERE q44 = '103'",
             {d0.addDays(30), d0.addDays(33)});
        exec("UPDATE VersiaBaza SET q150 = 3");
        SchemaUpgrade::BringUpToDate(connection());
        QCOMPARE(rows("SELECT q129 FROM Rooms WHERE q44 = '103'"), QStringList({"0"}));
        QCOMPARE(ClosuresOf(roomId("103")).size(), 1);
        QCOMPARE(ClosuresOf(roomId("103")).first().First, d0.addDays(30));
        QCOMPARE(ClosuresOf(roomId("103")).first().Opens, d0.addDays(33));
        QCOMPARE(ClosuresOf(roomId("103")).first().Reason, QString("стар ремонт"));
        QCOMPARE(ReadStay(second)->Continues, first);
        QCOMPARE(ReadStay(third)->Continues, second);
        QCOMPARE(ReadStay(aheadNext)->Continues, ahead);
        QCOMPARE(ReadStay(later)->Continues, 0);
        QCOMPARE(connection().Column("SELECT q71 FROM Klients WHERE q160 = ? AND q34 = ? AND q35 = ?",
                                     {first, d0, d0.addDays(2)}).size(),
                 1);
    }

    void eachOperationOnlyFromTheStatusAndDaysItIsFor()
    {
        const QDate d0 = QDate(2026, 5, 4);
        SetToday(d0);
        TGuest walkIn = registration();
        walkIn.Name = "Гост от улицата";
        const int cancelled = stayOf(book("101", d0, d0.addDays(2)));
        Cancel(cancelled);
        expectRefused([&] { CheckIn(cancelled, registration(), true); }, msgStayStatusForbids.arg(msgStatusCancelled));
        // A stay that was never checked in does not check out.
        const int reserved = stayOf(book("102", d0, d0.addDays(2)));
        expectRefused([&] { CheckOut(reserved, true); }, msgStayStatusForbids.arg(msgStatusReserved));
        // Its departure day is no day to check in.
        SetToday(d0.addDays(2));
        expectRefused([&] { CheckIn(reserved, registration(), true); }, msgCheckInNotToday.arg(day(d0)));
        // A walk-in of no night, and a guest in house shortened to a day already past.
        expectRefused([&] { WalkIn(roomId("103"), d0.addDays(2), walkIn, QVariant(), true); }, msgDepartureInvalid);
        SetToday(d0);
        const int inHouse = stayOf(book("103", d0, d0.addDays(4)));
        CheckIn(inHouse, registration(), true);
        SetToday(d0.addDays(2));
        expectRefused([&] { Extend(inHouse, d0.addDays(1)); }, msgDepartureInvalid);
        expectRefused([&] { Extend(inHouse, d0.addDays(2)); }, msgDepartureInvalid);
        // A room being cleaned is taken only after the question, as a dirty one.
        expectLogged([&] { CheckOut(inHouse, true); });
        expectLogged([&] { SetRoomStates({roomId("103")}, rsCleaning, {}, {}, {}); });
        expectAsked([&] { WalkIn(roomId("103"), d0.addDays(3), walkIn, QVariant(), false); }, qnRoomNotReady,
                    msgRoomNotReady.arg("103", msgRoomStateCleaning));
    }

    void theReservationWindowCountsOnlyNightsThatAreHeld()
    {
        const QDate d0 = QDate(2026, 5, 4);
        SetToday(d0);
        // Cancelled and no-show stays hold no night: the window books over them.
        const int cancelled = stayOf(book("101", d0.addDays(1), d0.addDays(3), "Отказал се"));
        Cancel(cancelled);
        QVERIFY(book("101", d0.addDays(1), d0.addDays(3), "Следващ") > 0);
        const int noShow = stayOf(book("102", d0, d0.addDays(2), "Неявил се"));
        SetToday(d0.addDays(1));
        MarkNoShow(noShow);
        QVERIFY(book("102", d0.addDays(1), d0.addDays(2), "На мястото му") > 0);
        // A room closed after its row was staged takes it no more: nothing is saved.
        TFOperReservation window;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(window.InitializeWindow());
        QVERIFY(typeGuest(window, "Късметлия", "8505051234"));
        QVERIFY(TypeInto(window.cbRoomNumber, "103"));
        QVERIFY(TypeDate(window.DateTimePicker1, d0.addDays(5)));
        QVERIFY(TypeDate(window.DateTimePicker2, d0.addDays(7)));
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window.acOperReservationPrepareContragentForReserv));
        }
        QCOMPARE(window.GridModel()->rowCount(), 1);
        SetRoomStates({roomId("103")}, rsOutOfService, "теч", d0.addDays(6), d0.addDays(8));
        const int stays = count("SELECT COUNT(*) FROM Klients");
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window.acOperReservationSave));
            QCOMPARE(boxes.Texts().size(), 1);
            QVERIFY2(boxes.Texts().first().contains("103"), qPrintable(boxes.Texts().first()));
        }
        QCOMPARE(count("SELECT COUNT(*) FROM Klients"), stays);
        QCOMPARE(window.GridModel()->rowCount(), 1);  // still staged, for another room or days
    }

    void chargesAndPaymentsOnlyWhereTheyBelong()
    {
        const QDate d0 = QDate(2026, 5, 4);
        SetToday(d0);
        const int booking = book("101", d0.addDays(2), d0.addDays(4));
        const int breakfast = count("SELECT q42 FROM Uslugi WHERE q33 = 'Закуска'");
        expectRefused([&] { Charge(booking, breakfast, TDecimal(1), QDate()); }, msgChargeDateInvalid);
        expectRefused([&] { Charge(booking, breakfast, TDecimal(1), d0.addDays(5)); },
                      msgChargeDateOutside.arg(day(d0.addDays(2)), day(d0.addDays(4)), day(d0)));
        expectRefused([&] { Charge(booking, breakfast, TDecimal(0), d0); }, msgQuantityInvalid);
        expectRefused([&] { Charge(booking, breakfast, TDecimal(-1), d0); }, msgCorrectionNeedsReason);
        expectLogged([&] { Charge(booking, breakfast, TDecimal(1), d0); });            // today
        expectLogged([&] { Charge(booking, breakfast, TDecimal(2), d0.addDays(4)); }); // the departure day
        // A correction: on the business day, with its reason, no more than was charged.
        expectRefused([&] { Charge(booking, breakfast, TDecimal(-1), d0.addDays(4), {}, "грешка"); },
                      msgCorrectionOnToday.arg(day(d0)));
        const TDecimal price = TDecimal::FromText(rows("SELECT q40 FROM Uslugi WHERE q33 = 'Закуска'").value(0));
        expectRefused([&] { Charge(booking, breakfast, TDecimal(-4), d0, {}, "грешка"); },
                      msgCorrectionTooLarge.arg(AmountText(ChargeTotal(price, TDecimal(4))),
                                                AmountText(ChargeTotal(price, TDecimal(3))), "Закуска"));
        expectLogged([&] { Charge(booking, breakfast, TDecimal(-1), d0, {}, "сервирана по грешка"); });
        QVERIFY(lastLog().contains("сервирана по грешка"));
        expectAsked([&] { Charge(booking, breakfast, TDecimal(1001), d0); }, qnLargeAmount, "1001");
        expectAsked([&] { TakePayment(booking, pkDeposit, pmCash, TDecimal(1000001), QString()); }, qnLargeAmount,
                    "1000001.00");
        expectLogged([&] { TakePayment(booking, pkDeposit, pmCash, TDecimal(50), QString()); });
        // Cancelled: nothing more is charged or paid; what was paid can go back.
        CancelBooking(booking);
        expectRefused([&] { Charge(booking, breakfast, TDecimal(1), d0); }, msgBookingEnded);
        expectRefused([&] { TakePayment(booking, pkDeposit, pmCash, TDecimal(10), QString()); }, msgBookingEnded);
        expectLogged([&] { TakePayment(booking, pkRefund, pmCash, TDecimal(50), QString()); });
        // A second refund larger than what is left after the first.
        const int other = book("102", d0, d0.addDays(1));
        TakePayment(other, pkPayment, pmCash, TDecimal(80), QString());
        TakePayment(other, pkRefund, pmCash, TDecimal(50), QString());
        expectRefused([&] { TakePayment(other, pkRefund, pmCash, TDecimal(31), QString()); },
                      msgRefundTooLarge.arg("30.00"));
    }

    void reservationSaveCreatesOneBookingWithTheGuestsData()
    {
        TFOperReservation window;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(window.InitializeWindow());
        QVERIFY(typeGuest(window, "Мария Иванова", "9001011234"));
        QVERIFY(TypeInto(window.edContragentAddress, "Варна, бул. Приморски 5"));
        QVERIFY(TypeInto(window.edContragenPassportID, "X9876543"));
        window.rgOperReservationReservationStatus->SetItemIndex(1);
        for (const char *room : {"101", "102"}) {
            QVERIFY(TypeInto(window.cbRoomNumber, room));
            QVERIFY(TypeDate(window.DateTimePicker1, today));
            QVERIFY(TypeDate(window.DateTimePicker2, today.addDays(2)));
            QVERIFY(ClickCommand(window.acOperReservationPrepareContragentForReserv));
        }
        QVERIFY(ClearField(window.cbRoomNumber));
        QVERIFY(TypeInto(window.cbService, "Закуска"));
        QVERIFY(TypeInto(window.edQuantity, "2"));
        QVERIFY(ClickCommand(window.acOperReservationPrepareContragentForReserv));
        QCOMPARE(window.GridModel()->rowCount(), 3);
        MessageBoxRecorder boxes;
        QVERIFY(ClickCommand(window.acOperReservationSave));
        QVERIFY(window.LastBooking > 0);
        QCOMPARE(boxes.Texts(), QStringList({msgBookingSaved.arg(window.LastBooking)}));
        QCOMPARE(rows("SELECT q1, q29, q28, q133, q134, q57, q138 FROM Rezervacii"),
                 QStringList({"1|Мария Иванова|9001011234|X9876543|Варна, бул. Приморски 5|1|Заета"}));
        // Every saved row carries the booking and is reserved, in the one save.
        QCOMPARE(rows("SELECT COUNT(*) AS n, MIN(q124) AS b1, MAX(q124) AS b2, MIN(q125) AS s1, MAX(q125) AS s2 FROM Klients"),
                 QStringList({QString("3|%1|%1|0|0").arg(window.LastBooking)}));
        const std::optional<TFolio> folio = ReadFolio(window.LastBooking);
        QVERIFY(folio);
        QCOMPARE(folio->Stays.size(), 2);
        QCOMPARE(folio->Charges.size(), 1);
        QCOMPARE(folio->Balance().ToFixed(2), QString("304.69"));  // 2 x 60 + 2 x 80 + 2 x 12.345
        QCOMPARE(folio->History.size(), 1);
    }

    void noRoomNightHeldTwiceThroughAnyMixOfOperations()
    {
        const int first = book("101", today, today.addDays(2));
        const int second = book("101", today.addDays(3), today.addDays(5), "Петър Георгиев");
        QVERIFY(first > 0 && second > 0);
        // The window refuses a stay that shares a night with one of them.
        QCOMPARE(book("101", today.addDays(1), today.addDays(4)), 0);
        const int a = stayOf(first), b = stayOf(second);
        // Extension into the other stay's nights, a move onto them, a walk-in over them.
        expectRefused([&] { Extend(a, today.addDays(4)); }, msgRoomHeld.arg("101"));
        const int third = book("102", today.addDays(3), today.addDays(4), "Гост в 102");
        expectRefused([&] { Move(stayOf(third), roomId("101"), today.addDays(3), false); }, msgRoomHeld.arg("101"));
        expectRefused([&] { WalkIn(roomId("101"), today.addDays(1), registration(), {}, false); },
                      msgRegistrationIncomplete);  // a walk-in needs a name too
        TGuest walkIn = registration();
        walkIn.Name = "Случаен гост";
        expectRefused([&] { WalkIn(roomId("101"), today.addDays(1), walkIn, {}, false); }, msgRoomHeld.arg("101"));
        // Up to the other's first day is free: a guest may arrive on the day another leaves.
        expectLogged([&] { Extend(a, today.addDays(3)); });
        QCOMPARE(ReadStay(a)->Nights, 3);
        QCOMPARE(ReadStay(a)->Total.ToFixed(2), QString("180.00"));
        // A cancelled stay frees its nights at once, for the check and for the board.
        QWidget canvas;
        QMenu popup;
        QDate day = today.addDays(3);
        TRoomBoard board(&canvas, &popup, [&] { return day; }, [] { return QString(); });
        board.BuildRoomBoard();
        board.RefreshRoomBoard();
        QVERIFY(board.Button(roomId("101"))->Mark != 0);
        expectLogged([&] { CancelBooking(second); });
        QCOMPARE(ReadStay(b)->Status, int(ssCancelled));
        board.RefreshRoomBoard();
        QCOMPARE(board.Button(roomId("101"))->Mark, 2);  // the first stay alone, leaving that day
        day = today.addDays(4);
        board.RefreshRoomBoard();
        QCOMPARE(board.Button(roomId("101"))->Mark, 0);
        expectLogged([&] { Extend(a, today.addDays(5)); });
        expectLogged([&] { Move(stayOf(third), roomId("103"), today.addDays(3), false); });
        // Nothing shares a night: every pair of holding stays of one room is apart.
        QCOMPARE(count("SELECT COUNT(*) FROM Klients x JOIN Klients y ON x.q47 = y.q47 AND x.q123 < y.q123 "
                       "AND x.q34 < y.q35 AND y.q34 < x.q35 AND (x.q125 IS NULL OR x.q125 < 3) "
                       "AND (y.q125 IS NULL OR y.q125 < 3)"),
                 0);
        // A cancelled stay cannot be cancelled again, nor checked in.
        expectRefused([&] { Cancel(b); }, msgStayStatusForbids.arg(msgStatusCancelled));
    }

    void checkInRefusesClosedRoomsAndMissingCardData()
    {
        const int booking = book("101", today, today.addDays(2));
        const int stay = stayOf(booking);
        expectRefused([&] { CheckIn(stay, TGuest(), false); }, msgRegistrationIncomplete);
        TGuest partial = registration();
        partial.Address.clear();
        expectRefused([&] { CheckIn(stay, partial, false); }, msgRegistrationIncomplete);
        // A room closed for tonight takes nobody; closing it over a reserved stay is refused too.
        expectRefused([&] { SetRoomStates({roomId("101")}, rsLocked, "ремонт", today, today.addDays(1)); },
                      msgRoomHasStays.arg("101"));
        exec("INSERT INTO Zatvoreni (q47, q159) VALUES (?, 4)", {roomId("101")});  // locked, since ever
        expectRefused([&] { CheckIn(stay, registration(), false); },
                      msgRoomClosed.arg("101", msgRoomStateLocked));
        // ... and a locked room is refused by the availability check of the window.
        QCOMPARE(book("101", today.addDays(5), today.addDays(6)), 0);
        // Made clean, it opens today.
        expectLogged([&] { SetRoomStates({roomId("101")}, rsClean, {}, {}, {}); });
        QVERIFY(RoomFree(roomId("101"), today, today.addDays(1), stay, nullptr));
        // A dirty room asks first.
        expectLogged([&] { SetRoomStates({roomId("101")}, rsDirty, {}, {}, {}); });
        try {
            CheckIn(stay, registration(), false);
            QFAIL("a dirty room was taken without asking");
        } catch (const EFrontDeskConfirm &question) {
            QCOMPARE(question.Message(), msgRoomNotReady.arg("101", msgRoomStateDirty));
        }
        QVERIFY(!connection().InTransaction());
        QCOMPARE(ReadStay(stay)->Status, int(ssReserved));
        TGuest card = registration();
        card.Passport = "P555";
        expectLogged([&] { CheckIn(stay, card, true); });
        QCOMPARE(ReadStay(stay)->Status, int(ssInHouse));
        QVERIFY(ReadStay(stay)->CheckedIn.isValid());
        QCOMPARE(rows(QString("SELECT q133, q135 FROM Rezervacii WHERE q124 = %1").arg(booking)),
                 QStringList({"P555|България"}));
        expectRefused([&] { CheckIn(stay, registration(), true); }, msgStayStatusForbids.arg(msgStatusInHouse));
        // A stay that begins tomorrow is not checked in today.
        const int later = stayOf(book("102", today.addDays(1), today.addDays(2)));
        expectRefused([&] { CheckIn(later, registration(), true); }, msgCheckInNotToday.arg(today.addDays(1).toString("dd.MM.yyyy")));
    }

    void earlyDepartureFreesTheRestAndCountsAgain()
    {
        // Arrived yesterday for four nights, leaves today: one night, at 60.
        const int booking = book("101", today.addDays(-1), today.addDays(3));
        const int stay = stayOf(booking);
        expectLogged([&] { CheckIn(stay, registration(), false); });
        expectLogged([&] { TakePayment(booking, pkPayment, pmCash, TDecimal::FromText("60"), {}); });
        expectLogged([&] { CheckOut(stay, TConsent().With(qnEarlyDeparture)); });
        const TStay left = *ReadStay(stay);
        QCOMPARE(left.Status, int(ssDeparted));
        QCOMPARE(left.To, today);
        QCOMPARE(left.Nights, 1);
        QCOMPARE(left.Total.ToFixed(2), QString("60.00"));
        QVERIFY(left.CheckedOut.isValid());
        QCOMPARE(rows("SELECT q129 FROM Rooms WHERE q44 = '101'"), QStringList({"1"}));  // dirty
        QVERIFY(ReadFolio(booking)->Balance().IsZero());
        // The nights after today are free again.
        QVERIFY(book("101", today, today.addDays(3), "Следващ гост") > 0);
        // A no-show once its first day has come; then its nights are free.
        const int late = stayOf(book("102", today.addDays(-2), today.addDays(1)));
        const int future = stayOf(book("103", today.addDays(1), today.addDays(2)));
        expectRefused([&] { MarkNoShow(future); }, msgNoShowNotDue.arg(today.addDays(1).toString("dd.MM.yyyy")));
        expectLogged([&] { MarkNoShow(late); });
        QVERIFY(RoomFree(roomId("102"), today.addDays(-2), today.addDays(1), 0, nullptr));
    }

    void roomMoveSplitsTheStay()
    {
        const int booking = book("101", today.addDays(-1), today.addDays(2));
        const int stay = stayOf(booking);
        CheckIn(stay, registration(), false);
        expectRefused([&] { Move(stay, roomId("101"), today, false); }, msgSameRoom);
        expectRefused([&] { Move(stay, roomId("102"), today.addDays(1), false); }, msgMoveDayInvalid);
        int moved = 0;
        expectLogged([&] { moved = Move(stay, roomId("102"), today, false); });
        const TStay old = *ReadStay(stay), fresh = *ReadStay(moved);
        QCOMPARE(old.Room, roomId("101"));
        QCOMPARE(old.To, today);
        QCOMPARE(old.Nights, 1);
        QCOMPARE(old.Status, int(ssDeparted));
        QCOMPARE(fresh.Room, roomId("102"));
        QCOMPARE(fresh.From, today);
        QCOMPARE(fresh.To, today.addDays(2));
        QCOMPARE(fresh.Nights, 2);
        QVERIFY(fresh.Moved);
        QCOMPARE(fresh.Status, int(ssInHouse));
        QCOMPARE(fresh.Booking, booking);
        QCOMPARE(old.Nights + fresh.Nights, 3);  // the nights booked
        QCOMPARE((old.Total + fresh.Total).ToFixed(2), QString("180.00"));  // at the booked price
        QCOMPARE(rows("SELECT q129 FROM Rooms WHERE q44 = '101'"), QStringList({"1"}));
        // A reserved stay moved on its first day changes room whole.
        const int reserved = stayOf(book("103", today.addDays(4), today.addDays(6)));
        QCOMPARE(Move(reserved, roomId("101"), today.addDays(4), false), reserved);
        QCOMPARE(ReadStay(reserved)->Room, roomId("101"));
        QCOMPARE(ReadStay(reserved)->Nights, 2);
    }

    void moneyIsExactToTheCent()
    {
        const int booking = book("101", today, today.addDays(1));  // 60.00
        const int breakfast = rows("SELECT q42 FROM Uslugi WHERE q33 = 'Закуска'").value(0).toInt();
        expectLogged([&] { Charge(booking, breakfast, TDecimal::FromText("3"), today); });  // 37.035 -> 37.04
        expectRefused([&] { Charge(booking, breakfast, TDecimal::FromText("0"), today); }, msgQuantityInvalid);
        expectRefused([&] { TakePayment(booking, pkDeposit, pmCash, TDecimal::FromText("10.005"), {}); },
                      msgAmountInvalid);
        expectLogged([&] { TakePayment(booking, pkDeposit, pmCard, TDecimal::FromText("50.10"), "депозит"); });
        expectLogged([&] { TakePayment(booking, pkPayment, pmCash, TDecimal::FromText("60.05"), {}); });
        expectRefused([&] { TakePayment(booking, pkRefund, pmCash, TDecimal::FromText("110.16"), {}); },
                      msgRefundTooLarge.arg("110.15"));
        expectLogged([&] { TakePayment(booking, pkRefund, pmCash, TDecimal::FromText("13.11"), {}); });
        const TFolio folio = *ReadFolio(booking);
        QCOMPARE(folio.Owed().ToFixed(2), QString("97.04"));
        QCOMPARE(folio.Paid.ToFixed(2), QString("110.15"));
        QCOMPARE(folio.Refunded.ToFixed(2), QString("13.11"));
        QCOMPARE(folio.Balance().ToFixed(2), QString("0.00"));
        QCOMPARE(folio.Payments.size(), 3);
        // Five log rows: the booking, the charge, three payments; the history reads them back.
        QCOMPARE(folio.History.size(), 5);
    }

    void checkOutWithAnOpenBalanceOnlyAfterConfirmation()
    {
        // Arrived yesterday: the night spent is owed when the guest leaves today.
        const int booking = book("101", today.addDays(-1), today.addDays(1));
        const int stay = stayOf(booking);
        CheckIn(stay, registration(), false);
        try {
            CheckOut(stay, TConsent().With(qnEarlyDeparture));
            QFAIL("an open balance was left without asking");
        } catch (const EFrontDeskConfirm &question) {
            QCOMPARE(question.Message(), msgOpenBalance.arg("60.00"));
        }
        QVERIFY(!connection().InTransaction());
        QCOMPARE(ReadStay(stay)->Status, int(ssInHouse));
        expectLogged([&] { CheckOutBooking(booking, true); });
        QCOMPARE(ReadStay(stay)->Status, int(ssDeparted));
        const TFolio folio = *ReadFolio(booking);
        QVERIFY(folio.History.last().Text.endsWith(msgLogOpenBalance.arg("60.00")));
        expectRefused([&] { CheckOutBooking(booking, true); }, msgNothingToDo);
    }

    void databaseOfTheFirstVersionBroughtUpToDateAtStartUp()
    {
        // The thirteen tables as the first version made them, with its stays and its procedure.
        MakeFirstVersionDatabase();
        exec("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски')");
        exec("INSERT INTO Rooms (q44, q46, q1, q42, q79) VALUES ('101', 60, 1, 1, 2), ('102', 80, 1, 1, 3)");
        exec("INSERT INTO Uslugi (q40, q33) VALUES (60, 'Единична'), (12, 'Закуска')");
        // An operator who keeps the prices but not the registers, with the fifty rights of then.
        QString fifty = Rights::None().left(50);
        fifty[Rights::rPrices - 1] = '1';
        exec("INSERT INTO Operators (q75, q77) VALUES ('ценовик', ?)", {fifty});
        // One save: a guest in house since today with breakfast; then a guest who arrives tomorrow;
        // then one who left two days ago (saved at another time, by the same workstation).
        const QDateTime saved = QDateTime(today.addDays(-10), QTime(9, 30));
        exec("INSERT INTO Klients (q1, q28, q29, q31, q34, q35, q47, q70, q71, q27, q39) VALUES "
             "(1, '7001011234', 'Стар гост', 'Мъж', ?, ?, 1, 60, 2, 120, ?)",
             {today, today.addDays(2), saved});
        exec("INSERT INTO Klients (q1, q28, q29, q33, q42, q70, q71, q27, q39) VALUES "
             "(1, '7001011234', 'Стар гост', 'Закуска', '2', 12, 1, 12, ?)",
             {saved});
        exec("INSERT INTO Klients (q1, q28, q29, q31, q34, q35, q47, q70, q71, q27, q39) VALUES "
             "(1, '7101011234', 'Друг гост', 'Жена', ?, ?, 2, 80, 1, 80, ?)",
             {today.addDays(1), today.addDays(2), saved.addSecs(60)});
        exec("INSERT INTO Klients (q1, q28, q29, q31, q34, q35, q47, q70, q71, q27, q39) VALUES "
             "(1, '7201011234', 'Минал гост', 'Мъж', ?, ?, 2, 60, 3, 180, ?)",
             {today.addDays(-5), today.addDays(-2), saved.addSecs(120)});
        QCOMPARE(SchemaUpgrade::StoredVersion(connection()), 1);

        // A step that fails leaves the database as it was, and says why.
        exec("CREATE VIEW Dnevnik AS SELECT 1 AS q143");
        connection().Close();
        {
            MessageBoxRecorder boxes;
            TFInitMSSQL splash;
            QVERIFY(!splash.InitializeWindow());
            QVERIFY(DatabaseSetupRequired);
            QCOMPARE(boxes.Texts().size(), 1);
            QVERIFY(boxes.Texts().first().startsWith(msgSchemaUpgradeFailed));
        }
        DatabaseSetupRequired = false;
        QVERIFY(!connection().InTransaction());
        // The connection was opened again: its engine is a new one.
        QCOMPARE(connection().Engine().TableColumns(connection(), "Klients").size(), 28);
        QVERIFY(connection().Engine().TableColumns(connection(), "Rezervacii").isEmpty());
        exec("DROP VIEW Dnevnik");

        // The failed one was kept first. A long upgrade asks first; put off, it changes nothing
        // and takes no backup.
        const QString backups = DataFolder + "Backups";
        const QStringList before = QDir(backups).entryList(QDir::Files);
        QCOMPARE(before.size(), 1);
        TFInitMSSQL::AskAboveSeconds = 0;
        connection().Close();
        {
            MessageBoxRecorder boxes;
            boxes.Answer(TSystemWinOS::IDNO);
            TFInitMSSQL splash;
            QVERIFY(!splash.InitializeWindow());
            QCOMPARE(boxes.Texts().size(), 1);
            QVERIFY(boxes.Texts().first().startsWith(msgUpgradeQuestion.section("%1", 0, 0)));
            QVERIFY(!DatabaseSetupRequired);
        }
        QCOMPARE(SchemaUpgrade::StoredVersion(connection()), 1);
        QCOMPARE(QDir(backups).entryList(QDir::Files), before);
        // Taken up, a backup of the old database is taken first and each step shows its progress.
        connection().Close();
        {
            MessageBoxRecorder boxes;
            boxes.Answer(TSystemWinOS::IDYES);
            TFInitMSSQL splash;
            QVERIFY(splash.InitializeWindow());
            QCOMPARE(splash.ProgressBarLoader->value(), 100);
            QCOMPARE(boxes.Texts().size(), 1);
        }
        TFInitMSSQL::AskAboveSeconds = 60;
        QStringList taken = QDir(backups).entryList(QDir::Files);
        for (const QString &old : before)
            taken.removeAll(old);
        QCOMPARE(taken.size(), 1);
        QVERIFY(taken.first().endsWith(" v1.backup"));
        QVERIFY(QFileInfo(backups + "/" + taken.first()).size() > 0);
        TDbEngine &upgraded = connection().Engine();
        QCOMPARE(SchemaUpgrade::StoredVersion(connection()), SchemaVersion);
        for (const TTableDef &table : DbSchema::Tables())
            QCOMPARE(upgraded.TableColumns(connection(), table.Name).size(), table.Columns.size());
        // Every row is kept; each stay's status follows its dates (the past one in and out on its
        // dates); one save is one booking, its breakfast in the folio of its stay.
        QCOMPARE(rows("SELECT q29, q47, q27, q125 FROM Klients ORDER BY q123"),
                 QStringList({"Стар гост|1|120|1", "Стар гост||12|0", "Друг гост|2|80|0", "Минал гост|2|180|2"}));
        QCOMPARE(count("SELECT COUNT(*) FROM Klients k JOIN Rezervacii b ON b.q124 = k.q124 AND b.q29 = k.q29"), 4);
        QCOMPARE(count("SELECT COUNT(*) FROM Rezervacii"), 3);
        const int past = rows("SELECT q123 FROM Klients WHERE q29 = 'Минал гост'").value(0).toInt();
        QCOMPARE(ReadStay(past)->CheckedIn.date(), today.addDays(-5));
        QCOMPARE(ReadStay(past)->CheckedOut.date(), today.addDays(-2));
        const int inHouse = rows("SELECT q123 FROM Klients WHERE q29 = 'Стар гост' AND q47 = 1").value(0).toInt();
        QCOMPARE(ReadFolio(ReadStay(inHouse)->Booking)->Charges.size(), 1);
        QCOMPARE(ReadFolio(ReadStay(inHouse)->Booking)->Balance().ToFixed(2), QString("132.00"));
        QCOMPARE(rows("SELECT q129 FROM Rooms"), QStringList({"0", "0"}));
        // VAT: the law's three rates; the rooms and the room type at accommodation's, breakfast at
        // the standard rate. A database without currencies works in euro, the lev at its rate.
        QCOMPARE(rows("SELECT q164, q168 FROM DDSStavki ORDER BY q163"),
                 QStringList({"ДДС 20%|Б", "ДДС 9% настаняване|Г", "Без ДДС|А"}));
        QCOMPARE(count("SELECT COUNT(*) FROM DDSStavki WHERE q165 = 9 AND q169 LIKE 'ЗДДС, чл. 66%'"), 1);
        QCOMPARE(rows("SELECT r.q164 FROM Rooms m JOIN DDSStavki r ON (r.q163 = m.q170) ORDER BY m.q47"),
                 QStringList({"ДДС 9% настаняване", "ДДС 9% настаняване"}));
        QCOMPARE(rows("SELECT s.q33, r.q164 FROM Uslugi s JOIN DDSStavki r ON (r.q163 = s.q170) ORDER BY s.q42"),
                 QStringList({"Единична|ДДС 9% настаняване", "Закуска|ДДС 20%"}));
        QCOMPARE(rows("SELECT q56 FROM Valuta ORDER BY q57"), QStringList({"EUR", "BGN"}));
        // Rooms are of a type for each number of beds; no stay has nights of a plan (each reads as
        // nights × price, above); keeping the prices gives the right to book against a plan's rules.
        QCOMPARE(rows("SELECT q275 FROM Rooms ORDER BY q47"), QStringList({"Стая с 2 легла", "Стая с 3 легла"}));
        QCOMPARE(count("SELECT COUNT(*) FROM Noshtuvki") + count("SELECT COUNT(*) FROM Klients WHERE q276 IS NOT NULL"), 0);
        const QString rights = rows("SELECT q77 FROM Operators WHERE q75 = 'ценовик'").value(0);
        QCOMPARE(rights.size(), Rights::Count);
        QCOMPARE(rights.mid(Rights::rGuestDocuments - 1), QString("01"));
        QCOMPARE(count("SELECT COUNT(*) FROM KursValuta k JOIN Valuta v ON (v.q57 = k.q57) WHERE v.q56 = 'BGN' AND "
                       "k.q85 = 1.95583"),
                 1);
        const int oldStay = rows("SELECT q123 FROM Klients WHERE q29 = 'Друг гост'").value(0).toInt();
        const TFolio folio = *ReadFolio(ReadStay(oldStay)->Booking);
        QCOMPARE(folio.Balance().ToFixed(2), QString("80.00"));
        // The installed copy procedure was replaced: it names its columns, and a new booking is
        // saved beside the old ones.
        const QString installed =
            upgraded.Name() == "PostgreSQL"
                ? rows("SELECT prosrc FROM pg_proc WHERE proname = 'proc_copyalltablesvalues'").value(0)
                : rows("SELECT body FROM sysprocedures WHERE name = 'proc_CopyAllTablesValues'").value(0);
        QVERIFY2(installed.contains("q128") && !installed.contains("SELECT *"), qPrintable(installed));
        exec("INSERT INTO Tarife (q50) VALUES ('Основна')");
        exec("INSERT INTO Valuta (q56, q1) VALUES ('BGN', 1)");
        exec("INSERT INTO Uslugi (q40, q33, q51) VALUES (60, 'Единична', 1)");
        const int booking = book("101", today.addDays(3), today.addDays(4));
        QVERIFY(booking > 0);
        QVERIFY(booking > ReadStay(oldStay)->Booking);
        QCOMPARE(count("SELECT COUNT(*) FROM Klients"), 5);
        // A second start finds nothing to do.
        connection().Close();
        TFInitMSSQL again;
        QVERIFY(again.InitializeWindow());
        QCOMPARE(count("SELECT COUNT(*) FROM Rezervacii"), 4);
    }

    void aDatabaseOfANewerVersionIsRefused()
    {
        exec("UPDATE VersiaBaza SET q150 = ?", {SchemaVersion + 1});
        try {
            SchemaUpgrade::BringUpToDate(connection());
            QFAIL("a newer database was taken");
        } catch (const EDatabaseError &error) {
            QVERIFY2(error.Message().contains(QString::number(SchemaVersion + 1)), qPrintable(error.Message()));
        }
        QVERIFY(!connection().InTransaction());
        connection().Close();
        {
            MessageBoxRecorder boxes;
            TFInitMSSQL splash;
            QVERIFY(!splash.InitializeWindow());
            QCOMPARE(boxes.Texts().size(), 1);
        }
        DatabaseSetupRequired = false;
        QCOMPARE(rows("SELECT q150 FROM VersiaBaza"), QStringList({QString::number(SchemaVersion + 1)}));
    }

    void folioCommandsFollowTheRules()
    {
        SetToday(today);
        const int booking = book("101", today.addDays(-1), today.addDays(2));
        book("102", today.addDays(1), today.addDays(3));
        TFFolio folio;
        folio.setAttribute(Qt::WA_DeleteOnClose, false);
        folio.SetBooking(booking);
        folio.InitializeWindow();
        folio.SelectStay(stayOf(booking));
        // A reserved stay that began yesterday: check-in, cancellation, no-show; no check-out.
        QVERIFY(folio.acFolioCheckIn->isEnabled());
        QVERIFY(folio.acFolioCancel->isEnabled());
        QVERIFY(folio.acFolioNoShow->isEnabled());
        QVERIFY(!folio.acFolioCheckOut->isEnabled());
        QVERIFY(!folio.acFolioCheckOutAll->isEnabled());
        QCOMPARE(folio.edFolioAddress->text(), QString("София, ул. Шипка 1"));
        // Check-in asks for the card's missing nationality, then takes it, and asks about a dirty room.
        exec("UPDATE Rooms SET q129 = 1 WHERE q44 = '101'");
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(folio.acFolioCheckIn));
            QCOMPARE(boxes.Texts(), QStringList({msgRegistrationIncomplete}));
        }
        QVERIFY(TypeInto(folio.edFolioNationality, "България"));
        {
            MessageBoxRecorder boxes;
            boxes.Answer(TSystemWinOS::IDNO);
            QVERIFY(ClickCommand(folio.acFolioCheckIn));
            QCOMPARE(boxes.Texts(), QStringList({msgRoomNotReady.arg("101", msgRoomStateDirty)}));
            QCOMPARE(folio.Folio()->Stays.first().Status, int(ssReserved));
            boxes.Answer(TSystemWinOS::IDYES);
            QVERIFY(ClickCommand(folio.acFolioCheckIn));
            QCOMPARE(folio.Folio()->Stays.first().Status, int(ssInHouse));
        }
        QVERIFY(folio.acFolioCheckOut->isEnabled());
        QVERIFY(!folio.acFolioCheckIn->isEnabled());
        QVERIFY(!folio.acFolioCancel->isEnabled());
        // A payment typed wrong is refused with a message; the balance stays as it was.
        {
            MessageBoxRecorder boxes;
            QVERIFY(TypeInto(folio.edFolioAmount, "12,50"));
            QVERIFY(ClickCommand(folio.acFolioPayment));
            QCOMPARE(boxes.Texts(), QStringList({msgAmountInvalid}));
        }
        QCOMPARE(folio.edFolioBalance->text(), QString("180.00"));
        {
            MessageBoxRecorder boxes;
            QVERIFY(TypeInto(folio.edFolioAmount, "80"));
            QVERIFY(ClickCommand(folio.acFolioPayment));
            QCOMPARE(boxes.Texts(), QStringList({msgPreviewPayment.arg(msgPaymentDeposit, msgMethodCash, "80.00", "BGN") +
                                                 "\n" + msgPreviewBalance.arg("180.00", "100.00", "BGN") + "\n" +
                                                 msgPreviewAsk}));
        }
        QCOMPARE(folio.edFolioBalance->text(), QString("100.00"));
        QVERIFY(folio.edFolioAmount->text().isEmpty());
        // Checking out early asks first, then about the balance it leaves; "No" keeps the guest in house.
        {
            MessageBoxRecorder boxes;
            boxes.Answer(TSystemWinOS::IDYES);
            boxes.Answer(TSystemWinOS::IDYES);
            boxes.Answer(TSystemWinOS::IDNO);
            QVERIFY(ClickCommand(folio.acFolioCheckOut));
            QCOMPARE(boxes.Texts().size(), 3);
            // Leaving today: one night charged, and the balance that leaves, said before anything is written.
            QCOMPARE(boxes.Texts().at(0), msgPreviewCheckOut.arg("101", today.toString("dd.MM.yyyy"), "1", "60.00", "BGN") +
                                              "\n" + msgPreviewBalance.arg("100.00", "-20.00", "BGN") + "\n" + msgPreviewAsk);
            QVERIFY(boxes.Texts().at(1).startsWith(msgEarlyDeparture.arg("101").arg(3).arg(1).arg("120.00")));
            QCOMPARE(boxes.Texts().at(2), msgOverpaidBalance.arg("20.00"));  // owed to the guest, not unpaid
            QCOMPARE(folio.Folio()->Stays.first().Status, int(ssInHouse));
        }
        // An early departure counts one night: 60 owed, 80 paid, 20 to give back.
        {
            MessageBoxRecorder boxes;
            QVERIFY(TypeInto(folio.edFolioAmount, "20"));
            QVERIFY(ClickOn(folio.rgFolioPaymentKind->ItemButton(pkRefund)));
            QVERIFY(ClickCommand(folio.acFolioPayment));
            // A refund gives money back: the balance rises to what the stay owes after it.
            QCOMPARE(boxes.Texts(), QStringList({msgPreviewPayment.arg(msgPaymentRefund, msgMethodCash, "20.00", "BGN") +
                                                 "\n" + msgPreviewBalance.arg("100.00", "120.00", "BGN") + "\n" +
                                                 msgPreviewAsk}));
        }
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(folio.acFolioCheckOut));
            // The confirmation and the early departure: the balance is settled, so nothing else.
            QCOMPARE(boxes.Texts().size(), 2);
            QVERIFY(boxes.Texts().at(0).contains(msgPreviewBalance.arg("120.00", "0.00", "BGN")));
        }
        QCOMPARE(folio.Folio()->Stays.first().Status, int(ssDeparted));
        QCOMPARE(folio.edFolioBalance->text(), QString("0.00"));
        QCOMPARE(folio.tblFolioAccount->rowCount(), 3);  // the night, the payment, the refund
        QVERIFY(!connection().InTransaction());
        SaveShot(&folio, "FFolio_test");
    }

    void searchFindsBookingsByEveryKey()
    {
        const int first = book("101", today, today.addDays(2), "Иван Петров");
        const int second = book("102", today.addDays(5), today.addDays(6), "Мария Иванова");
        TFTarsene search;
        search.setAttribute(Qt::WA_DeleteOnClose, false);
        auto found = [&](const QString &text) {
            search.Search(TFTarsene::scText, text, today);
            QStringList numbers;
            for (int row = 0; row < search.GridModel()->rowCount(); ++row)
                numbers.append(search.GridModel()->index(row, 0).data().toString());
            return numbers;
        };
        // Part of a name in any letter case, Cyrillic included; whole personal number, room, number.
        QCOMPARE(found("ИВАН"), QStringList({QString::number(second), QString::number(first)}));
        QCOMPARE(found("петров"), QStringList({QString::number(first)}));
        QCOMPARE(found("P123456").size(), 2);
        QCOMPARE(found("102"), QStringList({QString::number(second)}));
        QCOMPARE(found(QString::number(first)), QStringList({QString::number(first)}));
        QVERIFY(found("'; DROP TABLE Klients; --").isEmpty());
        QVERIFY(found("").isEmpty());
        {
            MessageBoxRecorder boxes;
            QVERIFY(TypeInto(search.edTarseneText, "Никой"));
            search.acTarseneFindExecute();
            QCOMPARE(boxes.Texts(), QStringList({msgNoBookingFound.arg("Никой")}));
        }
        // The coming bookings of a day, and the one chosen opens its folio.
        search.Search(TFTarsene::scComing, QString(), today.addDays(3));
        QCOMPARE(search.GridModel()->rowCount(), 1);
        QSignalSpy asked(&search, &TFTarsene::FolioRequested);
        QVERIFY(ClickCommand(search.acTarseneFolio));
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().at(0).toInt(), second);
    }

    // Names are found by the beginnings of their words as the user types; what the user types
    // is matched as it stands, wildcards of the server included.
    void searchFollowsTypingByWordBeginnings()
    {
        const int petrov = book("101", today, today.addDays(2), "Иван Петров");
        const int mueller = bookDirectly("Jürgen Müller");
        const int yordan = bookDirectly("Йордан Асенов");
        const int percent = bookDirectly("100% Чисто ООД");
        TFTarsene search;
        search.setAttribute(Qt::WA_DeleteOnClose, false);
        search.InitializeWindow();
        search.show();
        auto shown = [&] {
            QStringList numbers;
            for (int row = 0; row < search.GridModel()->rowCount(); ++row)
                if (!search.Grid()->isRowHidden(row))
                    numbers.append(search.GridModel()->index(row, 0).data().toString());
            numbers.removeDuplicates();
            return numbers;
        };
        auto typed = [&](const QString &text) {
            if (!ClearField(search.edTarseneText) || !TypeInto(search.edTarseneText, text))
                return QStringList({"typing failed"});
            QTest::qWait(400);  // the rows follow once the typing rests
            return shown();
        };
        QCOMPARE(typed("петр"), QStringList({QString::number(petrov)}));
        QCOMPARE(typed("ПЕТР ив"), QStringList({QString::number(petrov)}));
        QCOMPARE(typed("петр мар"), QStringList());
        QCOMPARE(typed("muller"), QStringList({QString::number(mueller)}));
        QCOMPARE(typed("Jurg"), QStringList({QString::number(mueller)}));
        // "Й" is a letter of its own, not an "И" with a mark.
        QCOMPARE(typed("Иордан"), QStringList());
        QCOMPARE(typed("йорд"), QStringList({QString::number(yordan)}));
        QCOMPARE(typed("100%"), QStringList({QString::number(percent)}));
        QCOMPARE(typed("%"), QStringList());
        QCOMPARE(typed("_"), QStringList());
        QCOMPARE(typed("П_тров"), QStringList());
        QCOMPARE(typed("1_0"), QStringList());  // no word begins with "0"
        QVERIFY(!search.btnTarseneMore->isVisible());
    }

    // A name many bookings share shows the newest ones first, and more when asked.
    void searchShowsTheNewestAndMoreWhenAsked()
    {
        QList<int> numbers;
        for (int i = 0; i < 205; ++i)
            numbers.prepend(bookDirectly(QStringLiteral("Група Туристи %1").arg(i)));
        TFTarsene search;
        search.setAttribute(Qt::WA_DeleteOnClose, false);
        search.InitializeWindow();
        search.show();
        QVERIFY(TypeInto(search.edTarseneText, "тури"));
        QTest::keyClick(search.edTarseneText, Qt::Key_Return);
        auto visibleRows = [&] {
            int visible = 0;
            for (int row = 0; row < search.GridModel()->rowCount(); ++row)
                visible += search.Grid()->isRowHidden(row) ? 0 : 1;
            return visible;
        };
        QCOMPARE(visibleRows(), 200);
        QCOMPARE(search.GridModel()->index(0, 0).data().toInt(), numbers.first());
        QCOMPARE(search.GridModel()->index(199, 0).data().toInt(), numbers.at(199));
        QVERIFY(search.btnTarseneMore->isVisible());
        QVERIFY(ClickOn(search.btnTarseneMore));
        QCOMPARE(visibleRows(), 205);
        QCOMPARE(search.GridModel()->index(204, 0).data().toInt(), numbers.last());
        QVERIFY(!search.btnTarseneMore->isVisible());
    }

    // The upgrade to the search gives the names of existing bookings their words.
    void searchFindsBookingsOfAnEarlierVersion()
    {
        const int old = bookDirectly("Стефан Стамболов");
        exec("DELETE FROM DumiImena");
        exec("UPDATE VersiaBaza SET q150 = 4");
        QStringList steps;
        QList<int> percents;
        SchemaUpgrade::BringUpToDate(connection(), [&](const QString &step, int percent) {
            if (steps.isEmpty() || steps.last() != step)
                steps.append(step);
            percents.append(percent);
        });
        QStringList expected;
        for (int version = 5; version <= SchemaVersion; ++version)
            expected.append(msgUpgradeStep.arg(version).arg(version - 4).arg(SchemaVersion - 3));
        expected.append(msgUpgradeIndexes.arg(SchemaVersion - 3));
        QCOMPARE(steps, expected);
        QVERIFY(std::is_sorted(percents.begin(), percents.end()));
        QCOMPARE(percents.first(), 0);
        QCOMPARE(percents.last(), 100);
        TFTarsene search;
        search.setAttribute(Qt::WA_DeleteOnClose, false);
        search.InitializeWindow();
        search.show();
        QVERIFY(TypeInto(search.edTarseneText, "стамб"));
        QTest::keyClick(search.edTarseneText, Qt::Key_Return);
        QCOMPARE(search.GridModel()->rowCount(), 1);
        QCOMPARE(search.GridModel()->index(0, 0).data().toInt(), old);
    }

    void roomStatesChangedForManyRoomsAtOnce()
    {
        book("102", today, today.addDays(2));
        TFPochistvane states;
        states.setAttribute(Qt::WA_DeleteOnClose, false);
        states.InitializeWindow();
        QCOMPARE(states.GridModel()->rowCount(), 3);
        // Rooms are chosen as in any list: a click, then Ctrl+click for each further one.
        const auto chooseRooms = [&](const QStringList &numbers) {
            bool first = true;
            for (int row = 0; row < states.GridModel()->rowCount(); ++row) {
                const QModelIndex cell = states.GridModel()->index(row, 1);
                if (!numbers.contains(cell.data().toString()))
                    continue;
                if (first && !ClickOn(states.Grid()->viewport(), states.Grid()->visualRect(cell).center()))
                    return false;
                if (!first)
                    QTest::mouseClick(states.Grid()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                                      states.Grid()->visualRect(cell).center());
                first = false;
            }
            return true;
        };
        QVERIFY(chooseRooms({"101", "103"}));
        QCOMPARE(states.SelectedRooms().size(), 2);
        QVERIFY(ClickOn(states.rgPochistvaneState->ItemButton(rsDirty)));
        QVERIFY(!states.gbPochistvaneClosure->isEnabled());
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(states.acPochistvaneApply));
            QCOMPARE(boxes.Texts(), QStringList({msgRoomStatesSaved.arg(2)}));
        }
        QCOMPARE(rows("SELECT q44, q129 FROM Rooms ORDER BY q44"), QStringList({"101|1", "102|0", "103|1"}));
        QCOMPARE(states.SelectedRooms().size(), 2);  // the choice stays for the next change
        // Closing a room with a stay in the period is refused and changes none of the chosen.
        QVERIFY(chooseRooms({"101", "102"}));
        QVERIFY(ClickOn(states.rgPochistvaneState->ItemButton(rsOutOfService)));
        QVERIFY(states.gbPochistvaneClosure->isEnabled());
        QVERIFY(TypeInto(states.edPochistvaneReason, "Ремонт"));
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(states.acPochistvaneApply));
            QCOMPARE(boxes.Texts(), QStringList({msgRoomHasStays.arg("102")}));
        }
        QCOMPARE(rows("SELECT q44, q129 FROM Rooms ORDER BY q44"), QStringList({"101|1", "102|0", "103|1"}));
        // For a period after the stay it is taken, with its reason and its nights.
        QVERIFY(ClickOn(states.chkPochistvanePeriod));
        QVERIFY(TypeDate(states.dtpPochistvaneFrom, today.addDays(2)));
        QVERIFY(TypeDate(states.dtpPochistvaneTo, today.addDays(4)));
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(states.acPochistvaneApply));
        }
        QCOMPARE(rows("SELECT r.q44, z.q159, z.q130 FROM Zatvoreni z JOIN Rooms r ON (r.q47 = z.q47) ORDER BY r.q44"),
                 QStringList({"101|3|Ремонт", "102|3|Ремонт"}));
        QVERIFY(!RoomFree(roomId("102"), today.addDays(3), today.addDays(4), 0, nullptr));
        QVERIFY(RoomFree(roomId("102"), today.addDays(4), today.addDays(5), 0, nullptr));
        // The list shows each room's next closure with its nights and reason.
        const QStringList listed = GridTexts(states.Grid());
        QVERIFY2(listed.contains(QString("Морски|102|%1|Ремонт|%2|%3").arg(msgRoomStateClean, today.addDays(2).toString("dd.MM.yyyy"),
                                                                            today.addDays(4).toString("dd.MM.yyyy"))),
                 qPrintable(listed.join('\n')));
        states.show();
        SaveShot(&states, "FPochistvaneClosures");
        QVERIFY(chooseRooms({"101", "102", "103"}));
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(states.acPochistvaneClean));
        }
        // Clean rooms; the closures planned for later nights stay.
        QCOMPARE(rows("SELECT COUNT(*) FROM Rooms WHERE q129 = 0"), QStringList({"3"}));
        QCOMPARE(count("SELECT COUNT(*) FROM Zatvoreni"), 2);
        QVERIFY(!RoomFree(roomId("102"), today.addDays(3), today.addDays(4), 0, nullptr));
        // The rooms register keeps its lock switch as the room's locked state.
        TFNomStai rooms;
        rooms.setAttribute(Qt::WA_DeleteOnClose, false);
        rooms.InitializeWindow();
        rooms.Edit5->setText(QString::number(roomId("103")));  // the row being edited: not typed
        QVERIFY(TypeInto(rooms.Edit1, "103"));
        QVERIFY(ChooseFromDropDown(rooms.ComboBox1, "Единична"));
        QVERIFY(ChooseFromDropDown(rooms.ComboBox2, "Основна"));
        QVERIFY(ChooseFromDropDown(rooms.ComboBox3, "Морски"));
        QVERIFY(ClickOn(rooms.rgNomenclatureRoomsLock->ItemButton(1)));
        QVERIFY(ClickCommand(rooms.acFNomStaiSave));
        QVERIFY(RoomLocked(roomId("103")));
        QCOMPARE(book("103", today.addDays(10), today.addDays(11)), 0);
        QVERIFY(ClickCommand(rooms.acFNomStaiSave));  // saved locked again: still one closure
        QCOMPARE(ClosuresOf(roomId("103")).size(), 1);
        QVERIFY(ClickOn(rooms.rgNomenclatureRoomsLock->ItemButton(0)));
        QVERIFY(ClickCommand(rooms.acFNomStaiSave));
        QVERIFY(!RoomLocked(roomId("103")));
        QCOMPARE(ClosuresOf(roomId("103")).first().Opens, FrontDesk::Today());  // kept, ended today
        QVERIFY(count("SELECT COUNT(*) FROM Dnevnik WHERE q145 = 'Rooms'") >= 2);
    }

    void closuresArePeriodsOfTheirOwn()
    {
        const QDate d0 = QDate(2026, 5, 3);
        SetToday(d0);
        const int room = roomId("101");
        // A closure planned for 10 to 15 May survives the check-out of the guest before it.
        const int stay = stayOf(book("101", d0, d0.addDays(2)));
        CheckIn(stay, registration(), true);
        expectLogged([&] { SetRoomStates({room}, rsOutOfService, "боядисване", d0.addDays(7), d0.addDays(12)); });
        SetToday(d0.addDays(2));
        CheckOut(stay, true);
        QCOMPARE(rows(QString("SELECT q129 FROM Rooms WHERE q47 = %1").arg(room)), QStringList({"1"}));  // dirty
        QVERIFY(!RoomFree(room, d0.addDays(8), d0.addDays(9), 0, nullptr));
        QCOMPARE(book("101", d0.addDays(8), d0.addDays(9)), 0);
        // Cleaning it does not open the planned closure either.
        expectLogged([&] { SetRoomStates({room}, rsClean, {}, {}, {}); });
        QVERIFY(!RoomFree(room, d0.addDays(8), d0.addDays(9), 0, nullptr));
        // Clean again: nothing written, nothing logged.
        const int log = logRows();
        SetRoomStates({room}, rsClean, {}, {}, {});
        QCOMPARE(logRows(), log);
        // Empty and back-to-front periods are refused; a closure from a stay's departure day is not.
        expectRefused([&] { SetRoomStates({room}, rsLocked, {}, d0.addDays(20), d0.addDays(20)); }, msgClosurePeriodInvalid);
        expectRefused([&] { SetRoomStates({room}, rsLocked, {}, d0.addDays(20), d0.addDays(18)); }, msgClosurePeriodInvalid);
        const int next = stayOf(book("102", d0.addDays(2), d0.addDays(4)));
        expectLogged([&] { SetRoomStates({roomId("102")}, rsLocked, "стая за персонал", d0.addDays(4), {}); });
        expectLogged([&] { CheckIn(next, registration(), true); });
        // Reopened on its third night, the closure keeps its first two nights for the reports.
        SetToday(d0.addDays(9));
        expectLogged([&] { SetRoomStates({room}, rsClean, {}, {}, {}); });
        QCOMPARE(ClosuresOf(room).size(), 1);
        QCOMPARE(ClosuresOf(room).first().Opens, d0.addDays(9));
        QVERIFY(RoomFree(room, d0.addDays(9), d0.addDays(10), 0, nullptr));
        using namespace Reports;
        const TReport free = Run(rpFree, {d0.addDays(8), d0.addDays(8), 1});
        for (const QVariantList &row : free.Tables.at(0).Rows)
            QVERIFY(row.at(1).toString() != "101");  // still closed that past night
    }

    void registrationCardsOfTheGuestsInHouse()
    {
        const int first = book("101", today, today.addDays(2), "Иван Петров");
        book("102", today, today.addDays(2), "Мария Иванова");
        book("103", today, today.addDays(2), "Петър Георгиев");
        CheckIn(stayOf(first), registration(), false);
        TFAdresniKarti cards;
        cards.setAttribute(Qt::WA_DeleteOnClose, false);
        cards.SetDay(today);
        cards.InitializeWindow();
        QCOMPARE(cards.Cards().size(), 1);
        QCOMPARE(cards.Cards().first().Name, QString("Иван Петров"));
        // The holder from the register: the personal number and the document on lines of their own.
        QCOMPARE(cards.Cards().first().PersonalNumber, QString("8505051234"));
        QCOMPARE(cards.Cards().first().Document, msgDocumentPassport + " P123456");
        QCOMPARE(cards.Cards().first().Nationality, QString("България"));
        QCOMPARE(cards.Cards().first().Room, QString("101"));
        for (int stay : {stayOf(first + 1), stayOf(first + 2)})
            CheckIn(stay, registration(), false);
        cards.InitializeWindow();
        QCOMPARE(cards.Cards().size(), 3);
        QCOMPARE(cards.PageCount(), 2);  // two cards a page
        const QString pdf = m_db->Home().Root() + "cards.pdf";
        QVERIFY(cards.SaveAsPdf(pdf));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QVERIFY(content.startsWith("%PDF"));
        QCOMPARE(content.count("/Type /Page\n") + content.count("/Type /Page\r") + content.count("/Type /Page>>") +
                     content.count("/Type /Page "),
                 2);
        cards.show();
        SaveShot(&cards, "FAdresniKarti");
    }

    void arrivalsCheckInAndWalkIn()
    {
        const int booking = book("101", today, today.addDays(1));
        book("102", today.addDays(1), today.addDays(2));  // tomorrow's: not on today's list
        TFNastaniavane arrivals;
        arrivals.setAttribute(Qt::WA_DeleteOnClose, false);
        arrivals.SetDay(today);
        arrivals.InitializeWindow();
        QCOMPARE(arrivals.GridModel()->rowCount(), 1);
        QCOMPARE(arrivals.edNastaniavanePassport->text(), QString("P123456"));
        QVERIFY(TypeInto(arrivals.edNastaniavaneNationality, "Гърция"));
        // The guest shows a ground of exemption from the tourist tax, chosen from the list.
        arrivals.show();
        QVERIFY(QTest::qWaitForWindowExposed(&arrivals));
        QComboBox *tax = arrivals.cbNastaniavaneTax;
        QCOMPARE(tax->currentText(), msgTaxDue);
        QTest::mouseClick(tax, Qt::LeftButton);
        QAbstractItemView *list = tax->view();
        QTRY_VERIFY(list->isVisible());
        QTest::qWait(QApplication::doubleClickInterval() + 50);  // a release at once would be the opening click's
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(1, 0)).center());
        QTRY_VERIFY(!list->isVisible());
        QCOMPARE(tax->currentText(), msgTaxExemptChild);
        QSignalSpy folio(&arrivals, &TFNastaniavane::FolioRequested);
        QVERIFY(ClickCommand(arrivals.acNastaniavaneCheckIn));
        QCOMPARE(rows(QString("SELECT q161 FROM Klients WHERE q124 = %1 AND q47 IS NOT NULL").arg(booking)),
                 QStringList({msgTaxExemptChild}));
        QCOMPARE(folio.size(), 1);
        QCOMPARE(folio.first().at(0).toInt(), booking);
        QCOMPARE(arrivals.GridModel()->rowCount(), 0);
        QCOMPARE(rows(QString("SELECT q135 FROM Rezervacii WHERE q124 = %1").arg(booking)), QStringList({"Гърция"}));
        // A guest without a booking takes a free room from today at once.
        QVERIFY(TypeInto(arrivals.edNastaniavaneName, "Гост от улицата"));
        QVERIFY(TypeInto(arrivals.edNastaniavanePassport, "X1"));
        QVERIFY(TypeInto(arrivals.edNastaniavaneNationality, "Кипър"));
        QVERIFY(TypeInto(arrivals.edNastaniavaneAddress, "Никозия"));
        QVERIFY(TypeInto(arrivals.cbNastaniavaneHotel, "Морски"));
        QVERIFY(TypeInto(arrivals.cbNastaniavaneRoom, "101"));  // taken tonight
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(arrivals.acNastaniavaneWalkIn));
            QCOMPARE(boxes.Texts(), QStringList({msgRoomHeld.arg("101")}));
        }
        QVERIFY(TypeInto(arrivals.cbNastaniavaneRoom, "103"));
        QVERIFY(TypeDate(arrivals.dtpNastaniavaneDeparture, today.addDays(2)));
        QVERIFY(ClickCommand(arrivals.acNastaniavaneWalkIn));
        QCOMPARE(folio.size(), 2);
        const int walkIn = folio.last().at(0).toInt();
        const TFolio walked = *ReadFolio(walkIn);
        QCOMPARE(walked.Stays.size(), 1);
        QCOMPARE(walked.Stays.first().Status, int(ssInHouse));
        QCOMPARE(walked.Balance().ToFixed(2), QString("200.00"));
        arrivals.show();
        SaveShot(&arrivals, "FNastaniavane");
    }

    void boardOpensTheFolioAndActsOnTheClickedRoom()
    {
        SetToday(today);
        const int booking = book("101", today, today.addDays(2));
        CheckIn(stayOf(booking), registration(), false);
        TFHotel main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.dtpMainPeriodFilter->setDate(today);
        main.timerInitRoomStatusTimer();
        TRoomButton *room = main.RoomBoard->Button(roomId("101"));
        QVERIFY(room);
        QCOMPARE(room->Marks(), int(rmInHouse));
        QCOMPARE(room->toolTip(), QString("Иван Петров"));
        QCOMPARE(main.RoomBoard->Button(roomId("102"))->Marks(), int(rmFree));
        // A double click opens the folio of the room's booking, and lists nothing.
        {
            MessageBoxRecorder boxes;
            QTest::mouseDClick(room, Qt::LeftButton);
            QTest::qWait(QApplication::doubleClickInterval() + 100);
            QVERIFY(boxes.Texts().isEmpty());
        }
        QList<QMdiSubWindow *> frames = main.MdiArea->subWindowList();
        QCOMPARE(frames.size(), 1);
        auto *folio = qobject_cast<TFFolio *>(frames.first()->widget());
        QVERIFY(folio);
        QCOMPARE(folio->Booking(), booking);
        // The context menu's "Депозити" on the room brings that folio forward on the payment page:
        // one folio window per booking, never a second one with its own balance.
        QVERIFY(RightClick(room));
        QVERIFY(ChooseFromMenu(main.PopupMenu1Operacii, main.PopupMenu1Operacii->actions().at(3)));
        frames = main.MdiArea->subWindowList(QMdiArea::CreationOrder);
        QCOMPARE(frames.size(), 1);
        QCOMPARE(folio->Pages()->currentWidget(), static_cast<QWidget *>(folio->tsFolioPayment));
        // A page turned with the mouse hands the keys to the window, so its own keys answer.
        QTabBar *tabs = folio->Pages()->tabBar();
        QVERIFY(ClickOn(tabs, tabs->tabRect(TFFolio::pgAccount).center()));
        QTRY_VERIFY(main.focusWidget() && folio->isAncestorOf(main.focusWidget()));
        // On a free room it says so.
        TRoomButton *free = main.RoomBoard->Button(roomId("102"));
        QVERIFY(RightClick(free));
        {
            MessageBoxRecorder boxes;
            QVERIFY(ChooseFromMenu(main.PopupMenu1Operacii, main.PopupMenu1Operacii->actions().at(0)));
            QCOMPARE(boxes.Texts(), QStringList({msgNoStayOnRoom.arg("102", today.toString("dd.MM.yyyy"))}));
        }
        // F9 twice: today's arrivals once, brought forward and read again.
        QVERIFY(PressKey(&main, Qt::Key_F9));
        QVERIFY(PressKey(&main, Qt::Key_F9));
        int lists = 0;
        for (QMdiSubWindow *frame : main.MdiArea->subWindowList())
            lists += qobject_cast<TFNastaniavane *>(frame->widget()) ? 1 : 0;
        QCOMPARE(lists, 1);
        // The search box finds the guest by name.
        QVERIFY(TypeInto(main.EditSearchMain, "Петров"));
        QVERIFY(PressKey(main.EditSearchMain, Qt::Key_Return));
        auto *search = qobject_cast<TFTarsene *>(main.MdiArea->subWindowList(QMdiArea::CreationOrder).last()->widget());
        QVERIFY(search);
        QCOMPARE(search->GridModel()->rowCount(), 1);
        main.MdiArea->closeAllSubWindows();
    }

    void boardIsRightAtOnceAndWalksWithTheKeys()
    {
        SetToday(today);
        const int inHouse = book("101", today, today.addDays(2));
        CheckIn(stayOf(inHouse), registration(), false);
        book("102", today, today.addDays(1), "Мария Иванова");
        SetRoomStates({roomId("103")}, rsCleaning, {}, {}, {});
        TFHotel main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        // Shown, the board already has the rooms' marks: no tick has run.
        TRoomButton *room101 = main.RoomBoard->Button(roomId("101"));
        TRoomButton *room102 = main.RoomBoard->Button(roomId("102"));
        TRoomButton *room103 = main.RoomBoard->Button(roomId("103"));
        QCOMPARE(room101->Marks(), int(rmInHouse));
        QCOMPARE(room102->Marks(), int(rmArriving));
        QCOMPARE(room103->Marks(), int(rmFree | rmCleaning));  // being cleaned, not dirty
        SetRoomStates({roomId("103")}, rsDirty, {}, {}, {});
        QVERIFY(PressKey(&main, Qt::Key_F5));
        QCOMPARE(room103->Marks(), int(rmFree | rmDirty));
        // F6 gives the keys to the board; the arrows walk the rooms.
        QVERIFY(PressKey(&main, Qt::Key_F6));
        QCOMPARE(FocusedWidget(), room101);
        QVERIFY(PressKey(&main, Qt::Key_Right));
        QCOMPARE(FocusedWidget(), room102);
        QVERIFY(PressKey(&main, Qt::Key_Right));
        QCOMPARE(FocusedWidget(), room103);
        QVERIFY(PressKey(&main, Qt::Key_Right));  // nothing further right: it stays
        QCOMPARE(FocusedWidget(), room103);
        QVERIFY(PressKey(&main, Qt::Key_Left));
        QCOMPARE(FocusedWidget(), room102);
        // The menu key opens the room's menu; on an arriving room it offers check-in, which opens
        // the folio on the guest's card.
        QVERIFY(PressKey(&main, Qt::Key_Menu));
        QTRY_VERIFY(main.PopupMenu1Operacii->isVisible());
        QAction *checkIn = main.PopupMenu1Operacii->findChild<QAction *>("popupCheckIn");
        QVERIFY(checkIn && checkIn->isVisible());
        main.PopupMenu1Operacii->close();
        QVERIFY(PressKey(&main, Qt::Key_Left));
        QVERIFY(PressKey(&main, Qt::Key_Menu));
        QTRY_VERIFY(main.PopupMenu1Operacii->isVisible());
        QVERIFY(!checkIn->isVisible());  // 101's guest is in house already
        main.PopupMenu1Operacii->close();
        // Enter opens the folio of the room in focus.
        QVERIFY(PressKey(&main, Qt::Key_Return));
        auto *folio = LatestChild<TFFolio>(main.MdiArea);
        QVERIFY(folio);
        QCOMPARE(folio->Booking(), inHouse);
        main.MdiArea->closeAllSubWindows();
    }

    void twoWorkstationsExtendingAndMovingAtOnce()
    {
        // Per round: a stay of 101 to extend over two nights, a stay of 102 to move into 101's
        // third night, and a booking of 101's fourth and fifth: any two may clash, never all win.
        const QDate base(2027, 4, 1);
        const int rounds = 8;
        for (int r = 0; r < rounds; ++r) {
            const QDate day = base.addDays(10 * r);
            exec("INSERT INTO Rezervacii (q29) VALUES ('Кръг')");
            const int number = rows("SELECT MAX(q124) FROM Rezervacii").value(0).toInt();
            exec("INSERT INTO Klients (q1, q29, q34, q35, q47, q70, q71, q27, q124, q125) VALUES "
                 "(1, 'Удължава', ?, ?, ?, 60, 2, 120, ?, 0), (1, 'Мести се', ?, ?, ?, 80, 3, 240, ?, 0)",
                 {day, day.addDays(2), roomId("101"), number, day, day.addDays(3), roomId("102"), number});
        }
        const qint64 start = QDateTime::currentMSecsSinceEpoch() + 2500;
        const qint64 period = 400;
        const QProcessEnvironment env = m_db->Home().ProcessEnvironment();
        const QList<QStringList> commands = {
            {"extend", m_db->Home().DataFolderPath(), "Морски", "101", base.toString(Qt::ISODate), "4"},
            {"move", m_db->Home().DataFolderPath(), "Морски", "102", base.toString(Qt::ISODate), "101", "2"},
            {"book", m_db->Home().DataFolderPath(), "Морски", "101", base.toString(Qt::ISODate), "3", "2"}};
        std::vector<std::unique_ptr<QProcess>> processes;
        for (const QStringList &command : commands) {
            auto process = std::make_unique<QProcess>();
            process->setProcessEnvironment(env);
            process->start(TestHome::BuildBinFolder() + "kalv_workstation",
                           command + QStringList({QString::number(rounds), QString::number(start), QString::number(period)}));
            processes.push_back(std::move(process));
        }
        QStringList outcomes;
        for (auto &process : processes) {
            QVERIFY2(process->waitForFinished(int(start - QDateTime::currentMSecsSinceEpoch() + rounds * period + 30000)),
                     "a workstation hung");
            QCOMPARE(process->exitCode(), 0);
            for (const QString &line : QString::fromUtf8(process->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts))
                if (line.startsWith("round"))
                    outcomes.append(line);
        }
        QCOMPARE(outcomes.size(), rounds * 3);
        for (const QString &outcome : outcomes)
            QVERIFY2(outcome.endsWith(" saved") || outcome.endsWith(" refused") || outcome.endsWith(" conflict"),
                     qPrintable(outcome));
        QVERIFY(outcomes.filter(" saved").size() >= rounds);
        // No room-night of 101 is held twice, however the three interleaved.
        QCOMPARE(count("SELECT COUNT(*) FROM Klients x JOIN Klients y ON x.q47 = y.q47 AND x.q123 < y.q123 "
                       "AND x.q34 < y.q35 AND y.q34 < x.q35 AND (x.q125 IS NULL OR x.q125 < 3) "
                       "AND (y.q125 IS NULL OR y.q125 < 3)"),
                 0);
        QVERIFY(!connection().InTransaction());
    }
};

KALV_TEST_MAIN(TestFrontDesk)
#include "tst_frontdesk.moc"
