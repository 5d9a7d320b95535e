// The front desk's rules on a real database: bookings from the reservation window, check-in,
// check-out, cancellation, no-show, extension, room move, charges, payments, room states, the
// log, and a database of the first version brought up to date.

#include "TestHarness.h"
#include "admin/UDatabaseSetup.h"
#include "admin/UInitMSSQL.h"
#include "data/UDM.h"
#include "data/UDbEngine.h"
#include "data/UDbSchema.h"
#include "data/UFrontDesk.h"
#include "data/USchemaUpgrade.h"
#include "framework/UStdCtrls.h"
#include "startup/KalvCM.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesStay.h"
#include "windows/UOperReservation.h"
#include "windows/URoomBoard.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
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

    // A booking of one room through the reservation window, as an operator makes it.
    int book(const QString &room, const QDate &from, const QDate &to, const QString &guest = "Иван Петров")
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
            QCOMPARE(refused.Message(), message);
        }
        QVERIFY(!connection().InTransaction());
        QCOMPARE(logRows(), log);
        QCOMPARE(rows("SELECT * FROM Klients ORDER BY q123"), klients);
    }
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
    }
    void cleanup() { m_db.reset(); }

    void reservationSaveCreatesOneBookingWithTheGuestsData()
    {
        TFOperReservation window;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(window.InitializeWindow());
        window.edContragentName->setText("Мария Иванова");
        window.edContragentID->setText("9001011234");
        window.edContragentAddress->setText("Варна, бул. Приморски 5");
        window.edContragenPassportID->setText("X9876543");
        window.cbTarife->setEditText("Основна");
        window.cbCurrency->setEditText("BGN");
        window.cbHotel->setEditText("Морски");
        window.rgOperReservationReservationStatus->SetItemIndex(1);
        for (const char *room : {"101", "102"}) {
            window.cbRoomNumber->setEditText(room);
            window.DateTimePicker1->setDate(today);
            window.DateTimePicker2->setDate(today.addDays(2));
            window.acOperReservationPrepareContragentForReserv->trigger();
        }
        window.cbRoomNumber->setEditText("");
        window.cbService->setEditText("Закуска");
        window.edQuantity->setText("2");
        window.acOperReservationPrepareContragentForReserv->trigger();
        QCOMPARE(window.GridModel()->rowCount(), 3);
        MessageBoxRecorder boxes;
        window.acOperReservationSave->trigger();
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
        exec("UPDATE Rooms SET q129 = 4 WHERE q44 = '101'");
        expectRefused([&] { CheckIn(stay, registration(), false); },
                      msgRoomClosed.arg("101", msgRoomStateLocked));
        // ... and a locked room is refused by the availability check of the window.
        QCOMPARE(book("101", today.addDays(5), today.addDays(6)), 0);
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
        expectLogged([&] { CheckOut(stay, false); });
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
        // A no-show only once its first day has passed; then its nights are free.
        const int late = stayOf(book("102", today.addDays(-2), today.addDays(1)));
        const int future = stayOf(book("103", today, today.addDays(1)));
        expectRefused([&] { MarkNoShow(future); }, msgNoShowNotDue.arg(today.toString("dd.MM.yyyy")));
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
            CheckOut(stay, false);
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
        TDbEngine &engine = connection().Engine();
        for (int i = DbSchema::Tables().size() - 1; i >= 0; --i)
            exec("DROP TABLE " + engine.QuoteIdentifier(DbSchema::Tables().at(i).Name));
        DropProcedure("proc_CopyAllTablesValues");
        for (int i = 0; i < 13; ++i) {
            TTableDef table = DbSchema::Tables().at(i);
            const QString last = table.Name == "Klients" ? "q115" : table.Name == "Rooms" ? "q84" : QString();
            if (!last.isEmpty())
                while (table.Columns.last().Name != last)
                    table.Columns.removeLast();
            exec(engine.CreateTableBatch(connection().DatabaseName(), table, i));
        }
        const QString oldCopy =
            engine.Name() == "PostgreSQL"
                ? "CREATE FUNCTION proc_CopyAllTablesValues(\"tableNameToCopyValues\" text, \"tableNameToPasteValues\" "
                  "text) RETURNS void LANGUAGE plpgsql AS $$\nBEGIN\n  EXECUTE format('INSERT INTO %I SELECT * FROM %I', "
                  "lower(\"tableNameToPasteValues\"), lower(\"tableNameToCopyValues\"));\n  EXECUTE format('DELETE FROM "
                  "%I', lower(\"tableNameToCopyValues\"));\nEND\n$$"
                : "CREATE PROCEDURE proc_CopyAllTablesValues @tableNameToCopyValues SYSNAME, @tableNameToPasteValues "
                  "SYSNAME AS\nINSERT INTO @tableNameToPasteValues SELECT * FROM @tableNameToCopyValues;\nDELETE FROM "
                  "@tableNameToCopyValues";
        QVERIFY(DatabaseSetup::InstallProcedure(oldCopy).Outcome == DatabaseSetup::TOutcome::Done);
        exec("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски')");
        exec("INSERT INTO Rooms (q44, q46, q1, q42) VALUES ('101', 60, 1, 1), ('102', 80, 1, 1)");
        exec("INSERT INTO Klients (q1, q28, q29, q31, q34, q35, q47, q70, q71, q27, q39) VALUES "
             "(1, '7001011234', 'Стар гост', 'Мъж', ?, ?, 1, 60, 2, 120, ?), "
             "(1, '7101011234', 'Друг гост', 'Жена', ?, ?, 2, 80, 1, 80, ?)",
             {today, today.addDays(2), QDateTime::currentDateTime(), today.addDays(1), today.addDays(2),
              QDateTime::currentDateTime()});
        exec("INSERT INTO Klients (q1, q29, q33, q42, q70, q71, q27) VALUES (1, 'Стар гост', 'Закуска', '2', 12, 1, 12)");
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

        connection().Close();
        {
            TFInitMSSQL splash;
            QVERIFY(splash.InitializeWindow());
        }
        TDbEngine &upgraded = connection().Engine();
        QCOMPARE(SchemaUpgrade::StoredVersion(connection()), SchemaVersion);
        for (const TTableDef &table : DbSchema::Tables())
            QCOMPARE(upgraded.TableColumns(connection(), table.Name).size(), table.Columns.size());
        // Every row is kept, each old stay reserved and a booking of its own with its guest.
        QCOMPARE(rows("SELECT q29, q47, q27, q125 FROM Klients ORDER BY q123"),
                 QStringList({"Стар гост|1|120|0", "Друг гост|2|80|0", "Стар гост||12|0"}));
        QCOMPARE(count("SELECT COUNT(*) FROM Klients k JOIN Rezervacii b ON b.q124 = k.q124 AND b.q29 = k.q29"), 3);
        QCOMPARE(rows("SELECT q129 FROM Rooms"), QStringList({"0", "0"}));
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
        QCOMPARE(count("SELECT COUNT(*) FROM Klients"), 4);
        // A second start finds nothing to do.
        connection().Close();
        TFInitMSSQL again;
        QVERIFY(again.InitializeWindow());
        QCOMPARE(count("SELECT COUNT(*) FROM Rezervacii"), 4);
    }
};

KALV_TEST_MAIN(TestFrontDesk)
#include "tst_frontdesk.moc"
