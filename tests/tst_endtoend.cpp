// The road of a booking on a fresh database: log in, place a room on the plan, book a guest
// in it for a period covering today, save, and see the board mark the room.

#include "TestHarness.h"
#include "admin/UDatabaseSetup.h"
#include "admin/UDemoData.h"
#include "controls/KALVDesignButton.h"
#include "data/UDM.h"
#include "startup/UConstMessagesHotel.h"
#include "windows/Hotel.h"
#include "windows/UOperReservation.h"
#include "windows/URoomBoard.h"
#include "windows/USetHotelConstruct.h"
#include "windows/UUserLogin.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTimer>
#include <QtTest>
#include <memory>

class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FillCatalogue(slBulgarian); }

    void bookingMarksTheBoard()
    {
        TestHome home;
        DeliverFiles(home);
        TDM dm;
        const TestServer server = ServerForTests(home, "HotelTest");
        StoreServerSettings(home, server);
        QCOMPARE(int(DatabaseSetup::CreateDatabase(server.Database).Outcome), int(DatabaseSetup::TOutcome::Done));
        DemoData::InstallMissingProcedures(TestHome::BuildBinFolder() + "dist/sql/");
        TADOConnection &connection = *dm.ADOLocalConnection;
        connection.Execute("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски')");
        connection.Execute("INSERT INTO Tarife (q50) VALUES ('Основна')");
        connection.Execute("INSERT INTO Valuta (q56, q1) VALUES ('BGN', 1)");
        connection.Execute("INSERT INTO Uslugi (q40, q33, q51) VALUES (70, 'Единична', 1)");
        connection.Execute("INSERT INTO Rooms (q44, q46, q1, q42) VALUES ('301', 70, 1, 1)");
        connection.Execute("INSERT INTO Operators (q1, q75, q76, q77) VALUES (1, 'rec', 'pass', ?)", {QString(50, '1')});

        // Log in.
        TFUserLogin login;
        QVERIFY(login.InitializeWindow());
        LogInWhenAsked("rec", "pass");
        QCOMPARE(login.ShowModal(), int(mrOk));
        TFHotel main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.show();
        QVERIFY(main.RoomBoard->Buttons("301").isEmpty());  // not on the plan yet

        // Place the room: new button, edit, the room from the menu, then save.
        main.Action("actAdministrationsConstructHotel")->trigger();
        auto *plan = LatestChild<TFSetHotelConstruct>(main.MdiArea);
        QVERIFY(plan);
        plan->acHotelConstructCreateNewRoom->trigger();
        plan->acHotelConstrucEditRoom->trigger();
        QVERIFY(RightClick(plan->CurrentButton));  // the plan button's menu of unplaced rooms
        QVERIFY(ChooseFromMenu(plan->UnplacedRoomsMenu, plan->UnplacedRoomsMenu->actions().first()));
        QCOMPARE(plan->CurrentButton->Caption(), QString("301"));
        plan->CurrentButton->setGeometry(40, 30, 90, 60);
        plan->acSave->trigger();
        plan->acClose->trigger();

        // The board is built again after an operator change.
        LogInWhenAsked("rec", "pass");
        main.Action("actOperChangeOperator")->trigger();
        QTRY_VERIFY(main.isVisible());
        QCOMPARE(main.RoomBoard->Buttons("301").size(), 1);
        TRoomButton *room = main.RoomBoard->Buttons("301").first();
        QCOMPARE(room->geometry(), QRect(40, 110, 90, 60));
        QCOMPARE(room->Mark, 0);

        // Book a guest from the business day to three days later.
        main.Action("actOperReserv")->trigger();
        auto *booking = LatestChild<TFOperReservation>(main.MdiArea);
        QVERIFY(booking);
        QTest::keyClicks(booking->edContragentName, "Guest One");
        QTest::keyClicks(booking->edContragentID, "9001011234");
        QVERIFY(TypeInto(booking->cbTarife, "Основна"));
        QVERIFY(TypeInto(booking->cbCurrency, "BGN"));
        QVERIFY(TypeInto(booking->cbHotel, "Морски"));
        QVERIFY(TypeInto(booking->cbRoomNumber, "301"));
        QVERIFY(TypeDate(booking->DateTimePicker1, QDate::currentDate()));
        QVERIFY(TypeDate(booking->DateTimePicker2, QDate::currentDate().addDays(3)));
        QVERIFY(ClickCommand(booking->acOperReservationPrepareContragentForReserv));
        QCOMPARE(booking->GridModel()->rowCount(), 1);
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(booking->acOperReservationSave));
            QCOMPARE(boxes.Texts().size(), 1);
            QVERIFY(IsBookingSaved(boxes.Texts().first()));
        }

        // Within the next refresh of the board the room carries the stay icon.
        QVERIFY(main.timerInitRoomStatus->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(room->Mark == 1, 12000);
        QVERIFY(!room->Glyph().isNull());
        SaveShot(&main, "EndToEndBooking");
    }
};

KALV_TEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
