// A guest's whole road on a fresh database, through the windows as a receptionist goes it:
// book two nights from the board, check in, charge a service, take a deposit, extend by one
// night, move to another room the next day, and check out on the day of departure with the
// balance paid; the board marks the rooms and the log holds every step.

#include "TestHarness.h"
#include "admin/UDatabaseSetup.h"
#include "admin/UDemoData.h"
#include "data/UDM.h"
#include "desk/UFrontDesk.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesStay.h"
#include "startup/USystemWinOS.h"
#include "windows/Hotel.h"
#include "windows/UFolio.h"
#include "windows/UNastaniavane.h"
#include "windows/UOperReservation.h"
#include "windows/URoomBoard.h"
#include "controls/KalvMenu.h"
#include "windows/UUserLogin.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QRadioButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

using namespace FrontDesk;

class TestStay : public QObject
{
    Q_OBJECT

    TADOConnection *m_connection = nullptr;
    QStringList rows(const QString &sql) { return QueryRows(*m_connection, sql); }
    QStringList log() { return rows("SELECT q147 FROM Dnevnik WHERE q124 IS NOT NULL ORDER BY q143"); }

    // The board on the front desk's day, as its next tick shows it.
    int marksOf(TFHotel &main, int room)
    {
        main.dtpMainPeriodFilter->setDate(Today());
        main.timerInitRoomStatusTimer();
        return main.RoomBoard->Button(room)->Marks();
    }

    // A fresh database with a hotel, two rooms, a tariff, a currency, two services and an
    // operator "rec" who has logged in; the front desk's day is today.
    void openDesk(TestHome &home, TDM &dm)
    {
        DeliverFiles(home);
        m_connection = dm.ADOLocalConnection;
        const TestServer server = ServerForTests(home, "HotelTest");
        StoreServerSettings(home, server);
        QCOMPARE(int(DatabaseSetup::CreateDatabase(server.Database).Outcome), int(DatabaseSetup::TOutcome::Done));
        DemoData::InstallMissingProcedures(TestHome::BuildBinFolder() + "dist/sql/");
        TADOConnection &connection = *m_connection;
        connection.Execute("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски')");
        connection.Execute("INSERT INTO Tarife (q50) VALUES ('Основна')");
        connection.Execute("INSERT INTO Valuta (q56, q1) VALUES ('BGN', 1)");
        connection.Execute("INSERT INTO Uslugi (q40, q33, q51) VALUES (70, 'Единична', 1), (12.50, 'Закуска', 1)");
        connection.Execute("INSERT INTO Rooms (q44, q46, q1, q42, q129, q81, q82, q83, q84) VALUES "
                           "('301', 70, 1, 1, 0, 80, 60, 20, 20), ('302', 80, 1, 1, 0, 80, 60, 20, 120)");
        connection.Execute("INSERT INTO Operators (q1, q21, q75, q76, q77) VALUES (1, 'Рецепция', 'rec', 'pass', ?)",
                           {QString(50, '1')});
        room301 = rows("SELECT q47 FROM Rooms WHERE q44 = '301'").value(0).toInt();
        room302 = rows("SELECT q47 FROM Rooms WHERE q44 = '302'").value(0).toInt();
        SetToday(QDate::currentDate());
        TFUserLogin login;
        QVERIFY(login.InitializeWindow());
        LogInWhenAsked("rec", "pass");
        QCOMPARE(login.ShowModal(), int(mrOk));
    }
    int room301 = 0, room302 = 0;

    // A payment taken in the folio with the mouse and the keys: what its confirmation said.
    QStringList pay(TFFolio *folio, const QString &amount, TPaymentKind kind, TPaymentMethod method)
    {
        MessageBoxRecorder boxes;
        if (!TypeInto(folio->edFolioAmount, amount) || !ClickOn(folio->rgFolioPaymentKind->ItemButton(kind)) ||
            !ClickOn(folio->rgFolioPaymentMethod->ItemButton(method)) || !ClickCommand(folio->acFolioPayment))
            return {"input failed"};
        return boxes.Texts();
    }
    // The confirmation of a payment that takes the balance from one amount to another.
    static QString paymentPreview(const QString &kind, const QString &method, const QString &amount,
                                  const QString &before, const QString &after)
    {
        return msgPreviewPayment.arg(kind, method, amount, "BGN") + "\n" + msgPreviewBalance.arg(before, after, "BGN") +
               "\n" + msgPreviewAsk;
    }


private slots:
    void initTestCase() { FillCatalogue(slBulgarian); }
    void cleanup() { SetToday(QDate()); }

    void aGuestsWholeRoad()
    {
        TestHome home;
        TDM dm;
        openDesk(home, dm);
        const QDate day0 = Today();
        TFHotel main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.show();
        QCOMPARE(marksOf(main, room301), int(rmFree));

        // Book two nights from the board's "Резервация" on room 301: room and day are filled in.
        TRoomButton *button301 = main.RoomBoard->Button(room301);
        QVERIFY(RightClick(button301));
        QVERIFY(ChooseFromMenu(main.PopupMenu1Operacii, main.PopupMenu1Operacii->actions().at(5)));
        auto *booking = LatestChild<TFOperReservation>(main.MdiArea);
        QVERIFY(booking);
        QCOMPARE(booking->cbRoomNumber->currentText(), QString("301"));
        QCOMPARE(booking->cbHotel->currentText(), QString("Морски"));
        QCOMPARE(booking->DateTimePicker1->date(), day0);
        QVERIFY(TypeInto(booking->edContragentName, "Елена Димитрова"));
        QVERIFY(TypeInto(booking->edContragentID, "8802021234"));
        QVERIFY(TypeInto(booking->edContragentAddress, "Русе, ул. Дунав 3"));
        QVERIFY(ChooseFromDropDown(booking->cbTarife, "Основна"));
        QVERIFY(ChooseFromDropDown(booking->cbCurrency, "BGN"));
        QVERIFY(TypeDate(booking->DateTimePicker2, day0.addDays(2)));
        QVERIFY(ClickCommand(booking->acOperReservationPrepareContragentForReserv));
        QCOMPARE(booking->GridModel()->rowCount(), 1);
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(booking->acOperReservationSave));
            QCOMPARE(boxes.Texts(), QStringList({msgBookingSaved.arg(booking->LastBooking)}));
        }
        const int number = booking->LastBooking;
        QVERIFY(ClickCommand(booking->acClose));
        QCOMPARE(marksOf(main, room301), int(rmArriving));
        QCOMPARE(main.RoomBoard->Button(room301)->Mark, 1);
        QCOMPARE(main.RoomBoard->Button(room301)->toolTip(), QString("Елена Димитрова"));
        QCOMPARE(log().size(), 1);

        // Check in from today's arrivals, with the registration card's data.
        QVERIFY(ClickCommand(main.Action("actOperNastaniavane")));
        auto *arrivals = LatestChild<TFNastaniavane>(main.MdiArea);
        QVERIFY(arrivals);
        QCOMPARE(arrivals->GridModel()->rowCount(), 1);
        QCOMPARE(arrivals->edNastaniavaneAddress->text(), QString("Русе, ул. Дунав 3"));
        QVERIFY(TypeInto(arrivals->edNastaniavaneNationality, "България"));
        QVERIFY(arrivals->Toolbar()->isVisible());  // its commands show at once, however it was opened
        QVERIFY(ClickCommand(arrivals->acNastaniavaneCheckIn));
        QCOMPARE(arrivals->GridModel()->rowCount(), 0);
        auto *folio = LatestChild<TFFolio>(main.MdiArea);
        QVERIFY(folio);
        QCOMPARE(folio->Booking(), number);
        QCOMPARE(marksOf(main, room301), int(rmInHouse));
        QVERIFY(log().last().contains(msgLogCheckedIn.arg("301")));

        // A service and a deposit: each says what it will post and the balance it leaves, first.
        {
            MessageBoxRecorder boxes;
            QVERIFY(ChooseFromDropDown(folio->cbFolioService, "Закуска"));
            QVERIFY(TypeInto(folio->edFolioQuantity, "2"));
            QVERIFY(ClickCommand(folio->acFolioCharge));
            QCOMPARE(boxes.Texts(), QStringList({msgPreviewCharge.arg("Закуска", "2", "12.50", "25.00", "BGN") + "\n" +
                                                 msgPreviewBalance.arg("140.00", "165.00", "BGN") + "\n" + msgPreviewAsk}));
        }
        QCOMPARE(folio->edFolioOwed->text(), QString("165.00"));  // 2 x 70 + 2 x 12.50
        QCOMPARE(pay(folio, "100", pkDeposit, pmCard),
                 QStringList({paymentPreview(msgPaymentDeposit, msgMethodCard, "100.00", "165.00", "65.00")}));
        QCOMPARE(folio->edFolioBalance->text(), QString("65.00"));
        QCOMPARE(log().size(), 4);
        // Said no to, a payment writes nothing.
        {
            MessageBoxRecorder boxes;
            boxes.Answer(TSystemWinOS::IDNO);
            QVERIFY(TypeInto(folio->edFolioAmount, "5"));
            QVERIFY(ClickCommand(folio->acFolioPayment));
            QCOMPARE(boxes.Texts().size(), 1);
        }
        QCOMPARE(log().size(), 4);
        QCOMPARE(folio->edFolioBalance->text(), QString("65.00"));

        // One night more: the date field shows the departure as it stands; a new one is typed.
        QVERIFY(ClickOn(folio->Pages()->tabBar(), folio->Pages()->tabBar()->tabRect(TFFolio::pgStay).center()));
        QVERIFY(folio->acFolioExtend->isEnabled());
        QCOMPARE(folio->dtpFolioDeparture->date(), day0.addDays(2));
        QVERIFY(TypeDate(folio->dtpFolioDeparture, day0.addDays(3)));
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(folio->acFolioExtend));
            QCOMPARE(boxes.Texts(), QStringList({msgPreviewExtension.arg("301", day0.addDays(3).toString("dd.MM.yyyy"),
                                                                         day0.addDays(2).toString("dd.MM.yyyy"), "3", "2",
                                                                         "210.00", "BGN", "140.00") +
                                                 "\n" + msgPreviewBalance.arg("65.00", "135.00", "BGN") + "\n" +
                                                 msgPreviewAsk}));
        }
        QCOMPARE(folio->edFolioOwed->text(), QString("235.00"));
        QCOMPARE(folio->dtpFolioDeparture->date(), day0.addDays(3));  // the new departure, not a day more
        main.dtpMainPeriodFilter->setDate(day0.addDays(2));
        main.timerInitRoomStatusTimer();
        QCOMPARE(main.RoomBoard->Button(room301)->Marks(), int(rmInHouse));

        // The next day the guest moves to 302: the stay is split, 301 is left dirty.
        SetToday(day0.addDays(1));
        folio->InitializeWindow();
        QVERIFY(ChooseFromDropDown(folio->cbFolioRoom, "302"));
        QCOMPARE(folio->dtpFolioMoveDay->date(), day0.addDays(1));
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(folio->acFolioMove));
            QCOMPARE(boxes.Texts(), QStringList({msgPreviewMove.arg("301", "302", day0.addDays(1).toString("dd.MM.yyyy"),
                                                                    "70.00", "BGN") +
                                                 "\n" + msgPreviewBalanceNow.arg("135.00", "BGN") + "\n" + msgPreviewAsk}));
        }
        QCOMPARE(folio->Folio()->Stays.size(), 2);
        QCOMPARE(folio->Folio()->Stays.at(0).Status, int(ssDeparted));
        QCOMPARE(folio->Folio()->Stays.at(0).Nights + folio->Folio()->Stays.at(1).Nights, 3);
        QVERIFY(folio->Folio()->Stays.at(1).Moved);
        QCOMPARE(folio->SelectedStay(), folio->Folio()->Stays.at(1).Id);
        QCOMPARE(folio->edFolioOwed->text(), QString("235.00"));  // the booked price, three nights
        QCOMPARE(marksOf(main, room301), int(rmFree | rmDirty | rmLeaving));
        QCOMPARE(marksOf(main, room302), int(rmInHouse));
        QVERIFY(log().last().contains(msgLogMoved.arg("301", "302", day0.addDays(1).toString("dd.MM.yyyy"))));

        // On the day of departure the balance is paid and the guest checks out: one confirmation,
        // no other question.
        SetToday(day0.addDays(3));
        folio->InitializeWindow();
        QCOMPARE(marksOf(main, room302), int(rmFree | rmLeaving));
        QCOMPARE(pay(folio, folio->edFolioBalance->text(), pkPayment, pmCash),
                 QStringList({paymentPreview(msgPaymentPayment, msgMethodCash, "135.00", "135.00", "0.00")}));
        QCOMPARE(folio->edFolioBalance->text(), QString("0.00"));
        {
            MessageBoxRecorder boxes;
            QVERIFY(folio->acFolioCheckOut->isEnabled());
            QVERIFY(ClickCommand(folio->acFolioCheckOut));
            QCOMPARE(boxes.Texts(), QStringList({msgPreviewCheckOut.arg("302", day0.addDays(3).toString("dd.MM.yyyy"), "2",
                                                                        "140.00", "BGN") +
                                                 "\n" + msgPreviewBalanceNow.arg("0.00", "BGN") + "\n" + msgPreviewAsk}));
        }
        QCOMPARE(folio->Folio()->Stays.at(1).Status, int(ssDeparted));
        QVERIFY(!folio->acFolioCheckOut->isEnabled());
        QCOMPARE(marksOf(main, room302), int(rmFree | rmDirty | rmLeaving));

        // The log holds every step, each once, with the operator who did it.
        const QStringList steps = log();
        QCOMPARE(steps.size(), 8);
        QCOMPARE(steps.at(0), msgLogBooked.arg(1).arg(0));
        QCOMPARE(steps.at(1), msgLogCheckedIn.arg("301"));
        QVERIFY(steps.at(2).startsWith(msgLogCharged.arg("Закуска", "2", "12.50", "25.00")));
        QCOMPARE(steps.at(3), msgLogPayment.arg(msgPaymentDeposit, "100.00", msgMethodCard));
        QVERIFY(steps.at(4).startsWith(msgLogExtended.arg("301", day0.addDays(2).toString("dd.MM.yyyy"),
                                                         day0.addDays(3).toString("dd.MM.yyyy"), "210.00")));
        QCOMPARE(steps.at(6), msgLogPayment.arg(msgPaymentPayment, "135.00", msgMethodCash));
        QCOMPARE(steps.at(7), msgLogCheckedOut.arg("302").arg(2).arg("140.00"));
        QCOMPARE(rows("SELECT DISTINCT o.q21 FROM Dnevnik d JOIN Operators o ON o.q80 = d.q128 WHERE d.q124 IS NOT NULL"),
                 QStringList({"Рецепция"}));
        QCOMPARE(folio->tblFolioHistory->rowCount(), 8);
        SaveShot(&main, "EndToEndStay");
    }

    // Booking, check-in, payment and check-out with the keyboard alone: keys from the key table,
    // Tab between fields, Ctrl+PgDown between pages, Enter for the window's default command.
    void aStayByKeyboardOnly()
    {
        TestHome home;
        TDM dm;
        openDesk(home, dm);
        const QDate day0 = Today();
        TFHotel main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.resize(1280, 900);
        QVERIFY(BringToFront(&main));

        // F2: a reservation window, the keys in its first field.
        QVERIFY(PressKey(&main, Qt::Key_F2));
        auto *booking = LatestChild<TFOperReservation>(main.MdiArea);
        QVERIFY(booking);
        QTRY_COMPARE(FocusedWidget(), booking->edContragentName);
        QVERIFY(TypeKeys(&main, "Елена Димитрова"));
        QVERIFY(PressKey(&main, Qt::Key_Tab));
        QCOMPARE(FocusedWidget(), booking->edContragentAddress);
        QVERIFY(TypeKeys(&main, "Русе"));
        QVERIFY(PressKey(&main, Qt::Key_Tab));
        QVERIFY(TypeKeys(&main, "8802021234"));
        QVERIFY(PressKey(&main, Qt::Key_Tab));
        QVERIFY(PressKey(&main, Qt::Key_Tab));  // no passport
        QVERIFY(TypeKeys(&main, "Основна"));
        QVERIFY(PressKey(&main, Qt::Key_Tab));
        QVERIFY(TypeKeys(&main, "BGN"));
        QVERIFY(PressKey(&main, Qt::Key_PageDown, Qt::ControlModifier));  // the hotel's page
        QCOMPARE(FocusedWidget(), booking->cbHotel);
        QVERIFY(TypeKeys(&main, "Морски"));
        QVERIFY(PressKey(&main, Qt::Key_PageDown, Qt::ControlModifier));  // the rooms' page
        QCOMPARE(FocusedWidget(), booking->cbRoomNumber);
        QVERIFY(TypeKeys(&main, "301"));
        QVERIFY(PressKey(&main, Qt::Key_Tab));
        QCOMPARE(FocusedWidget(), booking->DateTimePicker1);
        for (int section = 0; section < 3; ++section)  // Tab walks the day, the month and the year first
            QVERIFY(PressKey(&main, Qt::Key_Tab));
        QCOMPARE(FocusedWidget(), booking->DateTimePicker2);
        QVERIFY(PressKey(&main, Qt::Key_Up));  // one day on: two nights
        QVERIFY(PressKey(&main, Qt::Key_Up));
        QCOMPARE(booking->DateTimePicker2->date(), day0.addDays(2));
        QVERIFY(PressKey(&main, Qt::Key_Return));  // adds the guest's row
        QCOMPARE(booking->GridModel()->rowCount(), 1);
        {
            MessageBoxRecorder boxes;
            QVERIFY(PressKey(&main, Qt::Key_S, Qt::ControlModifier));
            QCOMPARE(boxes.Texts(), QStringList({msgBookingSaved.arg(booking->LastBooking)}));
        }
        const int number = booking->LastBooking;
        QCOMPARE(rows(QString("SELECT q29, q34, q35 FROM Klients WHERE q124 = %1").arg(number)),
                 QStringList({QString("Елена Димитрова|%1|%2").arg(day0.toString("dd.MM.yyyy"), day0.addDays(2).toString("dd.MM.yyyy"))}));
        QVERIFY(PressKey(&main, Qt::Key_Escape));  // closes the saved window, not the program
        QTRY_VERIFY(!LatestChild<TFOperReservation>(main.MdiArea));
        QVERIFY(main.isVisible());

        // F9: today's arrivals; Enter checks in the guest of the chosen row.
        QVERIFY(PressKey(&main, Qt::Key_F9));
        auto *arrivals = LatestChild<TFNastaniavane>(main.MdiArea);
        QVERIFY(arrivals);
        QCOMPARE(arrivals->GridModel()->rowCount(), 1);
        QTRY_VERIFY(FocusedWidget() && arrivals->isAncestorOf(FocusedWidget()));
        // The registration card lacks the nationality: Tab to it (ten keys at most) and type it.
        for (int key = 0; key < 10 && FocusedWidget() != arrivals->edNastaniavaneNationality; ++key)
            QVERIFY(PressKey(&main, Qt::Key_Tab));
        QCOMPARE(FocusedWidget(), arrivals->edNastaniavaneNationality);
        QVERIFY(TypeKeys(&main, "България"));
        QVERIFY(PressKey(&main, Qt::Key_Return));
        QCOMPARE(rows(QString("SELECT q125 FROM Klients WHERE q124 = %1").arg(number)), QStringList({QString::number(ssInHouse)}));
        auto *folio = LatestChild<TFFolio>(main.MdiArea);
        QVERIFY(folio);
        QCOMPARE(folio->Booking(), number);

        // In the folio: to the payment page, the amount, Enter pays.
        QTRY_VERIFY(FocusedWidget() && folio->isAncestorOf(FocusedWidget()));
        for (int page = 0; page < 3; ++page)
            QVERIFY(PressKey(&main, Qt::Key_PageDown, Qt::ControlModifier));
        QCOMPARE(folio->Pages()->currentWidget(), folio->tsFolioPayment);
        QCOMPARE(FocusedWidget(), folio->edFolioAmount);
        QVERIFY(TypeKeys(&main, "140"));
        {
            MessageBoxRecorder boxes;  // the confirmation: Enter in it says yes
            QVERIFY(PressKey(&main, Qt::Key_Return));
            QCOMPARE(boxes.Boxes().size(), 1);
            QVERIFY(boxes.Texts().first().startsWith(msgPreviewPayment.arg(msgPaymentDeposit, msgMethodCash, "140.00", "BGN")));
        }
        QCOMPARE(rows(QString("SELECT q140 FROM Plashtania WHERE q124 = %1").arg(number)).value(0).toDouble(), 140.0);
        QCOMPARE(folio->edFolioBalance->text(), QString("0.00"));

        // F8 checks the guest out; leaving on the day of arrival is asked first, and what was
        // paid for the nights not slept is named as owed to the guest, not as unpaid.
        {
            MessageBoxRecorder boxes;
            QVERIFY(PressKey(&main, Qt::Key_F8));
            QCOMPARE(boxes.Boxes().size(), 3);
            QCOMPARE(boxes.Texts().at(0), msgPreviewCheckOut.arg("301", day0.toString("dd.MM.yyyy"), "0", "0.00", "BGN") + "\n" +
                                              msgPreviewBalance.arg("0.00", "-140.00", "BGN") + "\n" + msgPreviewAsk);
            QCOMPARE(boxes.Texts().at(2), msgOverpaidBalance.arg("140.00"));
        }
        QCOMPARE(rows(QString("SELECT q125 FROM Klients WHERE q124 = %1").arg(number)), QStringList({QString::number(ssDeparted)}));
        SaveShot(&main, "KeyboardStay");
    }
};

KALV_TEST_MAIN(TestStay)
#include "tst_stay.moc"
