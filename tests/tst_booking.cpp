// Bookings and the hotel plan: the design button, the construction window and the
// reservation window on a real database.

#include "TestHarness.h"
#include "desk/UFrontDesk.h"
#include "admin/UDatabaseSetup.h"
#include "controls/KALVDesignButton.h"
#include "data/UDM.h"
#include "errors/MyClass.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/USystemWinOS.h"
#include "windows/UOperReservation.h"
#include "windows/URoomBoard.h"
#include "windows/USetHotelConstruct.h"
#include "data/USqliteEngine.h"
#include "framework/UDecimal.h"
#include "startup/UConstMessagesDesk.h"
#include "data/UDbEngine.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>
#include <memory>
#include <sqlite3.h>

namespace {

void mouse(QWidget *target, QEvent::Type type, const QPoint &at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// A drag with the left button from one point of the button to another, in its own coordinates.
void drag(QWidget *button, const QPoint &from, const QPoint &to)
{
    mouse(button, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    mouse(button, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    mouse(button, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

} // namespace

class TestBooking : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;

    TADOConnection &connection() { return m_db->Connection(); }
    void exec(const QString &sql, const QVariantList &values = {}) { m_db->Exec(sql, values); }
    QStringList rows(const QString &sql) { return m_db->Rows(sql); }
    void hotelData()
    {
        exec("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски')");
        exec("INSERT INTO Tarife (q50) VALUES ('Основна')");
        exec("INSERT INTO Valuta (q56, q1) VALUES ('BGN', 1)");
        exec("INSERT INTO Uslugi (q40, q33, q51) VALUES (60, 'Единична', 1), (12, 'Закуска', 1)");
        exec("INSERT INTO Rooms (q44, q46, q1, q42, q48, q79) VALUES ('101', 60, 1, 1, 1, 2), ('102', 80, 1, 1, 2, 3)");
        InstallDeliveredProcedures({"proc_CopyAllTablesValues"});
    }
    sqlite3 *sqliteHandle()
    {
        const QVariant handle = connection().Database().driver()->handle();
        return *static_cast<sqlite3 *const *>(handle.data());
    }
    std::unique_ptr<TFOperReservation> reservation()
    {
        auto window = std::make_unique<TFOperReservation>();
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        if (!window->InitializeWindow())
            throw std::runtime_error("the staging table was not made");
        return window;
    }
    // The guest's fields typed and chosen as an operator does: clicks, keys and the lists' items.
    [[nodiscard]] bool fillGuest(TFOperReservation &window, const QString &room, const QDate &from, const QDate &to)
    {
        return TypeInto(window.edContragentName, "Иван Петров") && TypeInto(window.edContragentID, "8505051234") &&
               ChooseFromDropDown(window.cbTarife, "Основна") && ChooseFromDropDown(window.cbCurrency, "BGN") &&
               ChooseFromDropDown(window.cbHotel, "Морски") &&
               (!window.cbService->isEnabled() || ClearField(window.cbService)) &&
               ChooseFromDropDown(window.cbRoomNumber, room) && TypeDate(window.DateTimePicker1, from) &&
               TypeDate(window.DateTimePicker2, to);
    }

private slots:
    void initTestCase() { FillCatalogue(slBulgarian); }
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        // The desk's day of the bookings these tests make in May.
        FrontDesk::SetToday(QDate(2026, 5, 1));
    }
    void cleanup() { m_db.reset(); }

    void designButtonDefaultsSchemesAndGlyph()
    {
        TKALVDesignButton button;
        QCOMPARE(button.size(), QSize(75, 25));
        QCOMPARE(button.ColorScheme(), csVelDesert);
        QVERIFY(button.Gradient());
        QCOMPARE(button.Color(TKALVDesignButton::Face), QColor(0xFF, 0xEC, 0xC6));  // C6ECFF as BBGGRR
        QCOMPARE(button.Color(TKALVDesignButton::OverSet + TKALVDesignButton::Grad), QColor(Qt::white));
        QCOMPARE(button.Spacing(), 4);
        button.SetColorScheme(csVelSky);
        QCOMPARE(button.Color(TKALVDesignButton::Border), QColor(0x00, 0x59, 0xB3));
        const QColor dark = button.Color(TKALVDesignButton::Dark);
        button.SetColorFace(Qt::red);
        QCOMPARE(button.ColorScheme(), csCustom);
        QCOMPARE(button.Color(TKALVDesignButton::Dark), dark);
        button.SetColorScheme(csSky);  // keeps the gradient colours of the earlier scheme
        QVERIFY(!button.Gradient());
        QCOMPARE(button.Color(TKALVDesignButton::Grad), QColor(0x6C, 0xB6, 0xFF));

        // A 16-pixel glyph left of a caption 40 pixels wide, spacing 4, on a 75-pixel button.
        QPixmap glyph(16, 16);
        glyph.fill(Qt::blue);
        button.SetGlyph(glyph);
        QString caption = "W";
        while (QFontMetrics(button.font()).horizontalAdvance(caption) < 40)
            caption += "i";
        QFont font = button.font();
        for (qreal size = font.pointSizeF(); QFontMetrics(font).horizontalAdvance(caption) != 40 && size > 4; size -= 0.1)
            font.setPointSizeF(size);
        button.setFont(font);
        button.SetCaption(caption);
        if (button.Place().TextWidth == 40) {
            QCOMPARE(button.Place().TextX, 27);
            QCOMPARE(button.Place().GlyphX, 7);
        } else {
            const auto place = button.Place();  // whatever the width, the same rule holds
            QCOMPARE(place.TextX, (75 - place.TextWidth) / 2 + 8 + 2);
            QCOMPARE(place.GlyphX, (75 - place.TextWidth) / 2 - 8 - 2);
        }
        button.SetLayout(blGlyphTop);
        QCOMPARE(button.Place().GlyphX, (75 - 16) / 2);
        button.show();
        SaveShot(&button, "KALVDesignButton");
    }

    void designButtonMouseRules()
    {
        QWidget plan;
        plan.resize(400, 300);
        auto *button = new TKALVDesignButton(&plan);
        button->setGeometry(100, 100, 50, 40);
        plan.show();
        int clicks = 0;
        connect(button, &TKALVDesignButton::OnClick, this, [&] { ++clicks; });

        mouse(button, QEvent::MouseButtonPress, QPoint(25, 20), Qt::RightButton, Qt::RightButton);
        mouse(button, QEvent::MouseMove, QPoint(60, 20), Qt::NoButton, Qt::RightButton);
        mouse(button, QEvent::MouseButtonRelease, QPoint(60, 20), Qt::RightButton, Qt::NoButton);
        QCOMPARE(clicks, 0);  // a right click neither clicks nor drags
        QCOMPARE(button->pos(), QPoint(100, 100));

        mouse(button, QEvent::MouseButtonPress, QPoint(25, 20), Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(clicks, 1);  // on press, at once
        QCOMPARE(button->DragZone(), TKALVDesignButton::dzBody);
        QCOMPARE(button->DrawState(), TKALVDesignButton::dsPressed);
        mouse(button, QEvent::MouseMove, QPoint(35, 30), Qt::NoButton, Qt::LeftButton);
        mouse(button, QEvent::MouseButtonRelease, QPoint(35, 30), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(clicks, 1);  // the release fires nothing more
        QCOMPARE(button->pos(), QPoint(110, 110));
        QCOMPARE(button->DragZone(), TKALVDesignButton::dzNone);

        drag(button, QPoint(2, 20), QPoint(42, 20));  // the left edge 40 pixels right
        QCOMPARE(button->width(), 20);
        drag(button, QPoint(button->width() - 2, button->height() - 2), QPoint(60, 50));  // the bottom-right corner
        QCOMPARE(button->size(), QSize(20 + 60 - 18, 40 + 50 - 38));
        drag(button, QPoint(10, 2), QPoint(10, 100));  // the top edge below the bottom: the minimum
        QCOMPARE(button->height(), 20);

        button->setGeometry(100, 100, 50, 40);
        drag(button, QPoint(25, 20), QPoint(25 - 115, 20));  // dropped at left -15
        QCOMPARE(button->x(), 0);
        drag(button, QPoint(25, 20), QPoint(25 + 450, 20));  // beyond the right edge
        QCOMPARE(button->x(), 400 - 10);
        drag(button, QPoint(25, 20), QPoint(25, 20 - 500));
        QCOMPARE(button->y(), 0);

        // Keyboard clicks, once each.
        clicks = 0;
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Space);
        QTest::keyClick(button, Qt::Key_Return);
        QCOMPARE(clicks, 2);
        button->Cancel = true;
        QTest::keyClick(button, Qt::Key_Escape);
        QCOMPARE(clicks, 3);
    }

    void constructionWindowNamesPlacesAndSaves()
    {
        exec("INSERT INTO Rooms (q44, q83, q84, q81, q82) VALUES ('101', 10, 20, 80, 60)");
        exec("INSERT INTO Rooms (q44) VALUES ('102'), ('103')");
        auto window = std::make_unique<TFSetHotelConstruct>();
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(window->InitializeWindow());
        QCOMPARE(window->windowTitle(), QString("Конструиране на хотел"));
        QCOMPARE(window->PlanButtons().size(), 1);
        QCOMPARE(window->PlanButtons().first()->geometry(), QRect(20, 10, 80, 60));
        QCOMPARE(window->PlanButtons().first()->toolTip(), QString("0"));
        QCOMPARE(window->UnplacedRoomsMenu->actions().size(), 2);
        QCOMPARE(window->UnplacedRoomsMenu->actions().first()->text(), QString("Стая: 102"));

        QVERIFY(ClickCommand(window->acHotelConstructCreateNewRoom));
        TKALVDesignButton *fresh = window->CurrentButton;
        QCOMPARE(fresh->geometry(), QRect(70, 50, 50, 50));
        QCOMPARE(fresh->toolTip(), QString("1"));
        {
            MessageBoxRecorder boxes;  // an unnamed button refuses the save before anything is written
            QVERIFY(ClickCommand(window->acSave));
            QCOMPARE(boxes.Boxes().size(), 1);
            QVERIFY(boxes.Texts().first().startsWith("Внимание не може да бъде открита стая."));
            QVERIFY(boxes.Texts().first().contains("1"));
        }
        window->PlanButtons().first()->move(30, 40);
        QCOMPARE(rows("SELECT q83, q84 FROM Rooms WHERE q44 = '101'"), QStringList({"10|20"}));

        // A room chosen without "Редакция" is only remembered; with it, it names the last button.
        QVERIFY(RightClick(window->CurrentButton));  // the plan button's menu of unplaced rooms
        QVERIFY(ChooseFromMenu(window->UnplacedRoomsMenu, window->UnplacedRoomsMenu->actions().at(1)));
        QCOMPARE(window->ChosenRoomName, QString("103"));
        QVERIFY(!window->UnplacedRoomsMenu->actions().at(1)->isEnabled());
        QCOMPARE(fresh->Caption(), QString());
        QVERIFY(ClickCommand(window->acHotelConstrucEditRoom));
        QVERIFY(RightClick(window->CurrentButton));  // the plan button's menu of unplaced rooms
        QVERIFY(ChooseFromMenu(window->UnplacedRoomsMenu, window->UnplacedRoomsMenu->actions().at(0)));
        QCOMPARE(fresh->Caption(), QString("102"));
        QVERIFY(!window->EditMode);
        fresh->setGeometry(200, 150, 90, 70);
        QVERIFY(ClickCommand(window->acSave));
        QCOMPARE(rows("SELECT q44, q83, q84, q81, q82 FROM Rooms ORDER BY q44"),
                 QStringList({"101|40|30|80|60", "102|150|200|90|70", "103||||"}));
        QVERIFY(!connection().InTransaction());
        window->show();
        SaveShot(window.get(), "FSetHotelConstruct");

        QVERIFY(ClickCommand(window->acHotelConstructCreateNewRoom));
        QCOMPARE(window->CurrentButton->geometry(), QRect(90, 70, 50, 50));
    }

    void roomNamedWithAnAmpersandIsPlacedAsItStands()
    {
        exec("INSERT INTO Rooms (q44) VALUES ('A&B'), ('AB')");
        auto window = std::make_unique<TFSetHotelConstruct>();
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(window->InitializeWindow());
        QCOMPARE(window->UnplacedRoomsMenu->actions().first()->text(), QString("Стая: A&&B"));  // shown as "A&B"
        QVERIFY(ClickCommand(window->acHotelConstructCreateNewRoom));
        QVERIFY(ClickCommand(window->acHotelConstrucEditRoom));
        QVERIFY(RightClick(window->CurrentButton));  // the plan button's menu of unplaced rooms
        QVERIFY(ChooseFromMenu(window->UnplacedRoomsMenu, window->UnplacedRoomsMenu->actions().first()));
        QCOMPARE(window->ChosenRoomName, QString("A&B"));
        QCOMPARE(window->CurrentButton->Caption(), QString("A&&B"));
        MessageBoxRecorder boxes;
        QVERIFY(ClickCommand(window->acSave));
        QVERIFY(boxes.Texts().isEmpty());
        QCOMPARE(rows("SELECT q44, q83, q84 FROM Rooms ORDER BY q47"), QStringList({"A&B|50|70", "AB||"}));
    }

    void roomConflictRules_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<bool>("free");
        // Two stays share a night when each one's first day is before the other's departure.
        QTest::newRow("arrives on the departure day") << QDate(2026, 5, 12) << QDate(2026, 5, 14) << true;
        QTest::newRow("leaves on the arrival day") << QDate(2026, 5, 8) << QDate(2026, 5, 10) << true;
        QTest::newRow("shares the last night") << QDate(2026, 5, 11) << QDate(2026, 5, 13) << false;
        QTest::newRow("shares the first night") << QDate(2026, 5, 9) << QDate(2026, 5, 11) << false;
        QTest::newRow("the same nights") << QDate(2026, 5, 10) << QDate(2026, 5, 12) << false;
        QTest::newRow("inside") << QDate(2026, 5, 10) << QDate(2026, 5, 11) << false;
        QTest::newRow("around") << QDate(2026, 5, 9) << QDate(2026, 5, 13) << false;
        QTest::newRow("before") << QDate(2026, 5, 1) << QDate(2026, 5, 5) << true;
        QTest::newRow("after") << QDate(2026, 5, 13) << QDate(2026, 5, 15) << true;
    }

    void roomConflictRules()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(bool, free);
        hotelData();
        // The stay's hotel column says another hotel: the room's identifier alone decides.
        exec("INSERT INTO Klients (q1, q47, q34, q35) VALUES (2, 1, ?, ?)", {QDate(2026, 5, 10), QDate(2026, 5, 12)});
        exec("INSERT INTO Klients (q1, q47, q29) VALUES (1, NULL, 'a service')");
        auto window = reservation();
        QCOMPARE(window->IsRoomFree(1, from, to), free);
        QVERIFY(window->IsRoomFree(2, from, to));  // another room
        QVERIFY(!connection().InTransaction());
    }

    void agesFromPersonalNumbers()
    {
        const QDate today(2026, 12, 9);
        QCOMPARE(TFOperReservation::AgeFromPersonalNumber("0512121234", today), 21);
        QCOMPARE(TFOperReservation::AgeFromPersonalNumber("8505051234", today), 41);
        QCOMPARE(TFOperReservation::AgeFromPersonalNumber("19", today), 7);
        QCOMPARE(TFOperReservation::AgeFromPersonalNumber("20", today), 106);
        QVERIFY_THROWS_EXCEPTION(EConvertError, TFOperReservation::AgeFromPersonalNumber("A5", today));
    }

    void stagingRoomAndServiceRowsAndSave()
    {
        hotelData();
        auto window = reservation();
        QCOMPARE(window->StagingTableName.left(5), QString("#TEMP"));
        QCOMPARE(window->GridModel()->columnCount(), 28);
        QCOMPARE(window->Grid()->columnWidth(11), 200);
        QCOMPARE(window->rgContragentInformation->ItemCount(), 11);
        QCOMPARE(window->rgOperReservationReservationStatus->ItemCount(), 7);
        QCOMPARE(window->DateTimePicker1->date(), FrontDesk::Today());  // the business day

        // The checks, in both orders: a room row needs the guest fields, a service row its quantity.
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
            // Every empty field is named and marked; the first takes the keys.
            QCOMPARE(boxes.Texts(), QStringList({msgFillControlsCorrectly + "\n" +
                                                 msgFieldsToFix.arg("Име и фамилия, ЕГН на клиент, Тарифа, Тип валута, "
                                                                    "Име на хотел, Номер на помещение")}));
            QCOMPARE(window->edContragentID->palette().color(QPalette::Base), QColor(Qt::red));
            QCOMPARE(FocusedWidget(), window->edContragentName);
            QCOMPARE(boxes.Boxes().first().Title, msgWarningTitle);
            QCOMPARE(boxes.Boxes().first().Flags, 64);
            QVERIFY(TypeInto(window->cbService, "Закуска"));
            QVERIFY(TypeInto(window->edQuantity, "0"));
            QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
            QCOMPARE(boxes.Texts().size(), 2);
        }
        QVERIFY(fillGuest(*window, "101", QDate(2026, 5, 10), QDate(2026, 5, 12)));
        QCOMPARE(window->labelCharacteristic->text(), QString("Брой стаи: 1 Брой легла: 2"));
        QVERIFY(!window->edQuantity->isEnabled());
        QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
        QCOMPARE(window->GridModel()->rowCount(), 1);
        QCOMPARE(window->cbRoomNumber->currentText(), QString());
        QVERIFY(window->edQuantity->isEnabled());
        const QString staged = rows("SELECT q1, q28, q29, q30, q31, q27, q34, q35, q47, q70, q71, q51 FROM \"" +
                                    window->StagingTableName + "\"").value(0);
        QCOMPARE(staged, QString("1|8505051234|Иван Петров|%1|Мъж|120|10.05.2026|12.05.2026|1|60|2|1")
                             .arg(QDate::currentDate().year() - 1985));

        // The same room again for an overlapping period: refused, though it is only staged.
        {
            MessageBoxRecorder boxes;
            QVERIFY(fillGuest(*window, "101", QDate(2026, 5, 11), QDate(2026, 5, 13)));
            QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
            QCOMPARE(boxes.Texts(), QStringList({msgRoomAlreadyBooked}));
            QCOMPARE(boxes.Boxes().first().Title, QString("Резервационен статус"));
        }
        // Zero and negative day counts.
        for (const QDate &to : {QDate(2026, 6, 1), QDate(2026, 5, 30)}) {
            MessageBoxRecorder boxes;
            QVERIFY(fillGuest(*window, "102", QDate(2026, 6, 1), to));
            QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
            QCOMPARE(boxes.Texts(), QStringList({"Внимание! Не може почиващия да резервира нула дена престой."}));
        }
        // A service row with a comma in its quantity.
        QVERIFY(ClearField(window->cbRoomNumber));
        QVERIFY(ChooseFromDropDown(window->cbService, "Закуска"));
        QVERIFY(TypeInto(window->edQuantity, "2,5"));
        QVERIFY(ClearField(window->edContragentID));
        QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
        QCOMPARE(window->edQuantity->text(), QString("2.5"));
        QCOMPARE(rows("SELECT q70, q71, q27, q42, q30 FROM \"" + window->StagingTableName + "\" WHERE q47 IS NULL"),
                 QStringList({"12|2.5|30|2|"}));

        // A tariff that names nothing is refused before anything is staged, and marked red.
        {
            MessageBoxRecorder boxes;
            QVERIFY(TypeInto(window->cbTarife, "Няма"));
            QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
            QCOMPARE(boxes.Texts(), QStringList({msgFillControlsCorrectly + "\n" + msgFieldsToFix.arg("Тарифа")}));
            QCOMPARE(window->cbTarife->palette().color(QPalette::Base), QColor(Qt::red));
            // The fields that were right are not painted red.
            QVERIFY(window->edContragentName->palette().color(QPalette::Base) != QColor(Qt::red));
            QVERIFY(window->edContragentID->palette().color(QPalette::Base) != QColor(Qt::red));
        }
        // A fill that fails leaves nothing pending and no transaction open.
        {
            ErrorLogRecorder log;
            QVERIFY(ChooseFromDropDown(window->cbTarife, "Основна"));
            QVERIFY(fillGuest(*window, "102", QDate(2026, 6, 1), QDate(2026, 6, 3)));
            QVERIFY(TypeInto(window->edContragentID, "X1"));
            QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
            QCOMPARE(log.Texts().size(), 1);
            QVERIFY(log.Texts().first().startsWith(
                "Class name: TFOperReservation\r\nFunction name: acOperReservationAddNachislenieToKlientExecute\r\n"));
        }
        QVERIFY(!connection().InTransaction());
        QCOMPARE(window->GridModel()->rowCount(), 2);
        window->show();
        SaveShot(window.get(), "FOperReservation");

        // Save moves the staged rows into Klients once; a second save stores nothing twice.
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window->acOperReservationSave));
            QCOMPARE(boxes.Texts().size(), 1);
            QVERIFY2(IsBookingSaved(boxes.Texts().first()), qPrintable(boxes.Texts().first()));
        }
        QCOMPARE(rows("SELECT COUNT(*) FROM Klients"), QStringList({"2"}));
        QCOMPARE(window->GridModel()->rowCount(), 0);
        MessageBoxRecorder again;
        QVERIFY(ClickCommand(window->acOperReservationSave));
        QCOMPARE(again.Texts(), QStringList({msgNothingToSave}));  // said, not "succeeded"
        QCOMPARE(rows("SELECT COUNT(*) FROM Klients"), QStringList({"2"}));
        QVERIFY(!connection().InTransaction());
    }

    // A pooled connection may run each transaction on another server session: on the shared
    // server the staging table is a table of the database, this run's own, gone with its window,
    // and one a crashed run left is dropped once it is a week old.
    void stagingTableIsTheWindowsOwnAndGoesWithIt()
    {
        hotelData();
        const QString stale = "#temp7_" + QDate::currentDate().addDays(-8).toString("yyyyMMdd") + "_crashed";
        const QString recent = "#temp7_" + QDate::currentDate().addDays(-6).toString("yyyyMMdd") + "_elsewhere";
        const QString listed = TestOnPostgres()
                                   ? "SELECT tablename FROM pg_tables WHERE tablename LIKE '#temp%' ORDER BY 1"
                                   : "SELECT name FROM sqlite_temp_master WHERE name LIKE '#temp%' ORDER BY 1";
        if (TestOnPostgres())
            for (const QString &name : {stale, recent})
                exec("CREATE TABLE \"" + name + "\" (q26 integer)");
        auto first = reservation();
        auto second = reservation();
        QVERIFY(first->StagingTableName != second->StagingTableName);
        QVERIFY(fillGuest(*first, "101", QDate(2026, 5, 10), QDate(2026, 5, 12)));
        QVERIFY(ClickCommand(first->acOperReservationPrepareContragentForReserv));
        QCOMPARE(first->GridModel()->rowCount(), 1);
        QCOMPARE(second->GridModel()->rowCount(), 0);  // each window sees its own rows
        // Read on the program's connection, which alone sees its session's temporary tables.
        const auto rows = [this](const QString &sql) { return DbStatement::Column(connection().Database(), sql); };
        if (!TestOnPostgres()) {
            // Temporary tables of the session, which the session's end drops.
                QCOMPARE(rows(listed), QStringList({first->StagingTableName, second->StagingTableName}));
            return;
        }
        QStringList expected = {recent, first->StagingTableName.toLower(), second->StagingTableName.toLower()};
        expected.sort();
        QCOMPARE(rows(listed), expected);
        QVERIFY(first->StagingTableName.startsWith("#TEMP"));
        // Closed by its frame, after the question about its staged row; kept while the answer is no.
        first->show();
        for (const int answer : {TSystemWinOS::IDNO, TSystemWinOS::IDYES}) {
            MessageBoxRecorder boxes;
            boxes.Answer(answer);
            first->close();
            QCOMPARE(boxes.Texts(), QStringList({msgDiscardWindowRows}));
            QCOMPARE(first->isVisible(), answer == TSystemWinOS::IDNO);
            if (answer == TSystemWinOS::IDYES)
                expected.removeOne(first->StagingTableName.toLower());
            QCOMPARE(rows(listed), expected);
        }
        QVERIFY(!connection().InTransaction());
    }

    void conflictingSaveStoresNothing()
    {
        hotelData();
        auto window = reservation();
        QVERIFY(fillGuest(*window, "102", QDate(2026, 7, 1), QDate(2026, 7, 5)));
        QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
        QVERIFY(ClearField(window->cbRoomNumber));  // a row is a room or a service, not both
        QVERIFY(TypeInto(window->cbService, "Закуска"));
        QVERIFY(TypeInto(window->edQuantity, "1"));
        QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
        QCOMPARE(window->GridModel()->rowCount(), 2);
        // Another workstation books the room meanwhile.
        exec("INSERT INTO Klients (q1, q47, q34, q35) VALUES (1, 2, ?, ?)", {QDate(2026, 7, 3), QDate(2026, 7, 8)});
        MessageBoxRecorder boxes;
        QVERIFY(ClickCommand(window->acOperReservationSave));
        QCOMPARE(boxes.Boxes().size(), 1);
        QVERIFY(boxes.Texts().first().endsWith(": 102"));
        QCOMPARE(rows("SELECT COUNT(*) FROM Klients"), QStringList({"1"}));
        QCOMPARE(window->GridModel()->rowCount(), 2);  // still staged
        QVERIFY(!connection().InTransaction());
    }

    void sameRoomNumberInTwoHotelsBookedPlacedMarkedListed()
    {
        hotelData();
        exec("INSERT INTO HotelBuild (q1, q10) VALUES (2, 'Планински')");
        exec("INSERT INTO Rooms (q44, q46, q1, q42, q48, q79) VALUES ('101', 70, 2, 1, 1, 1)");  // room 3
        auto window = reservation();
        // The room selector lists the rooms of the chosen hotel only.
        auto listedRooms = [&](const QString &hotel) {
            if (!TypeInto(window->cbHotel, hotel))
                return QStringList({"the hotel could not be typed"});
            QFocusEvent in(QEvent::FocusIn);
            QApplication::sendEvent(window->cbRoomNumber, &in);
            QStringList items;
            for (int i = 0; i < window->cbRoomNumber->count(); ++i)
                items.append(window->cbRoomNumber->itemText(i));
            return items;
        };
        QCOMPARE(listedRooms("Планински"), QStringList({"101"}));
        QCOMPARE(listedRooms("Морски"), QStringList({"101", "102"}));
        QCOMPARE(listedRooms("Няма такъв"), QStringList());
        // "101" of both hotels for the same nights: two rooms, two stays.
        QVERIFY(fillGuest(*window, "101", QDate(2026, 5, 10), QDate(2026, 5, 12)));
        QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
        QVERIFY(fillGuest(*window, "101", QDate(2026, 5, 10), QDate(2026, 5, 12)));
        QVERIFY(TypeInto(window->cbHotel, "Планински"));
        emit window->cbRoomNumber->textActivated("101");
        QCOMPARE(window->labelCharacteristic->text(), QString("Брой стаи: 1 Брой легла: 1"));
        QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
        QCOMPARE(window->GridModel()->rowCount(), 2);
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window->acOperReservationSave));
            QCOMPARE(boxes.Texts().size(), 1);
            QVERIFY2(IsBookingSaved(boxes.Texts().first()), qPrintable(boxes.Texts().first()));
        }
        QCOMPARE(rows("SELECT q1, q47, q70, q27 FROM Klients ORDER BY q47"), QStringList({"1|1|60|120", "2|3|70|140"}));
        exec("INSERT INTO Klients (q1, q47, q29, q34, q35) VALUES (2, 3, 'Само в планината', ?, ?)",
             {QDate(2026, 5, 20), QDate(2026, 5, 22)});
        exec("INSERT INTO Klients (q1, q29, q33, q34, q35) VALUES (1, 'Закуска без стая', 'Закуска', ?, ?)",
             {QDate(2026, 5, 20), QDate(2026, 5, 22)});

        // Placed separately: the menu tells the two apart, each button writes to its own room.
        auto plan = std::make_unique<TFSetHotelConstruct>();
        plan->setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(plan->InitializeWindow());
        QStringList items;
        for (QAction *item : plan->UnplacedRoomsMenu->actions())
            items.append(item->text());
        QCOMPARE(items, QStringList({"Стая: 101 (Морски)", "Стая: 102", "Стая: 101 (Планински)"}));
        for (const auto &[item, place] : {std::pair{2, QRect(300, 40, 70, 50)}, std::pair{0, QRect(100, 40, 60, 50)}}) {
            QVERIFY(ClickCommand(plan->acHotelConstructCreateNewRoom));
            QVERIFY(ClickCommand(plan->acHotelConstrucEditRoom));
            QVERIFY(RightClick(plan->CurrentButton));  // the plan button's menu of unplaced rooms
            QVERIFY(ChooseFromMenu(plan->UnplacedRoomsMenu, plan->UnplacedRoomsMenu->actions().at(item)));
            plan->CurrentButton->setGeometry(place);
        }
        QCOMPARE(TFSetHotelConstruct::RoomOf(plan->PlanButtons().at(0)), 3);
        QCOMPARE(TFSetHotelConstruct::RoomOf(plan->PlanButtons().at(1)), 1);
        QVERIFY(ClickCommand(plan->acSave));
        QCOMPARE(rows("SELECT q47, q44, q1, q83, q84, q81, q82 FROM Rooms ORDER BY q47"),
                 QStringList({"1|101|1|40|100|60|50", "2|102|1||||", "3|101|2|40|300|70|50"}));

        // Marked and listed separately on the board.
        QWidget canvas;
        QMenu popup;
        QDate day(2026, 5, 20);
        TRoomBoard board(&canvas, &popup, [&] { return day; }, [] { return QString(); });
        QVERIFY(board.BuildRoomBoard());
        QCOMPARE(board.Buttons("101").size(), 2);
        board.RefreshRoomBoard();
        QCOMPARE(board.Button(3)->Mark, 1);
        QCOMPARE(board.Button(1)->Mark, 0);  // the service row with no room marks nothing
        MessageBoxRecorder boxes;
        board.RoomButtonClick(board.Button(3));
        board.RoomButtonClick(board.Button(1));
        QCOMPARE(boxes.Texts(), QStringList({"Само в планината\r\n20.05.2026\r\n22.05.2026\r\n\r\n"}));
        day = QDate(2026, 5, 11);
        board.RefreshRoomBoard();
        QCOMPARE(board.Button(3)->Mark, 1);
        QCOMPARE(board.Button(1)->Mark, 1);
        QVERIFY(!connection().InTransaction());
    }

    void roomRowsNeedNamesTheTablesKnow()
    {
        hotelData();
        auto window = reservation();
        MessageBoxRecorder boxes;
        auto refused = [&](QWidget *control) {
            const int staged = window->GridModel()->rowCount();
            if (!ClickCommand(window->acOperReservationPrepareContragentForReserv))
                return false;
            return window->GridModel()->rowCount() == staged && boxes.Texts().last().startsWith(msgFillControlsCorrectly) &&
                   control->palette().color(QPalette::Base) == QColor(Qt::red);
        };
        // Names are matched as the database matches them: without letter case.
        QVERIFY(fillGuest(*window, "101", QDate(2026, 5, 10), QDate(2026, 5, 12)));
        QVERIFY(TypeInto(window->cbHotel, "МОРСКИ"));
        QVERIFY(TypeInto(window->cbTarife, "основна"));
        QVERIFY(TypeInto(window->cbCurrency, "bgn"));
        QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
        QCOMPARE(window->GridModel()->rowCount(), 1);
        QVERIFY(boxes.Boxes().isEmpty());
        // A mistyped or unknown name refuses the row, its control marked red.
        QVERIFY(fillGuest(*window, "102", QDate(2026, 5, 10), QDate(2026, 5, 12)));
        QVERIFY(TypeInto(window->cbHotel, "Моркси"));
        QVERIFY(refused(window->cbHotel));
        QVERIFY(TypeInto(window->cbHotel, "Морски"));
        QVERIFY(TypeInto(window->cbCurrency, "EUR"));
        QVERIFY(refused(window->cbCurrency));
        QVERIFY(TypeInto(window->cbCurrency, "BGN"));
        QVERIFY(TypeInto(window->cbRoomNumber, "109"));
        QVERIFY(refused(window->cbRoomNumber));
        QVERIFY(TypeInto(window->cbRoomNumber, "102"));
        QVERIFY(TypeInto(window->cbTarife, "Сезонна"));
        QVERIFY(refused(window->cbTarife));
        QVERIFY(TypeInto(window->cbTarife, "Основна"));
        window->edContragentID->clear();
        QVERIFY(refused(window->edContragentID));
        QCOMPARE(boxes.ShownInTransaction(), 0);
        QCOMPARE(boxes.Boxes().size(), 5);

        // A service row staged before never lets a room row skip its checks.
        QVERIFY(ClearField(window->cbRoomNumber));
        QVERIFY(TypeInto(window->cbService, "Закуска"));
        QVERIFY(TypeInto(window->edQuantity, "1"));
        QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
        QCOMPARE(window->GridModel()->rowCount(), 2);
        QCOMPARE(window->cbService->currentText(), QString("Закуска"));  // the add keeps it
        window->edContragentName->clear();
        window->edContragentID->clear();
        QVERIFY(TypeInto(window->cbRoomNumber, "102"));
        QVERIFY(refused(window->edContragentName));
        QCOMPARE(rows("SELECT COUNT(*) FROM \"" + window->StagingTableName + "\" WHERE q47 = 2"), QStringList({"0"}));
    }

    void nightsSharedOrNotInTheWindowAndAtSave_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<bool>("free");
        QTest::newRow("12.05-14.05") << QDate(2026, 5, 12) << QDate(2026, 5, 14) << true;
        QTest::newRow("08.05-10.05") << QDate(2026, 5, 8) << QDate(2026, 5, 10) << true;
        QTest::newRow("11.05-13.05") << QDate(2026, 5, 11) << QDate(2026, 5, 13) << false;
        QTest::newRow("09.05-11.05") << QDate(2026, 5, 9) << QDate(2026, 5, 11) << false;
    }

    void nightsSharedOrNotInTheWindowAndAtSave()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(bool, free);
        hotelData();
        // In the window's own staged rows.
        auto window = reservation();
        QVERIFY(fillGuest(*window, "101", QDate(2026, 5, 10), QDate(2026, 5, 12)));
        QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
        QVERIFY(fillGuest(*window, "101", from, to));
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
            QCOMPARE(window->GridModel()->rowCount(), free ? 2 : 1);
            QCOMPARE(boxes.Boxes().size(), free ? 0 : 1);
        }
        // At the save: another window stores 10.05-12.05 after this one staged the period.
        auto late = reservation();
        QVERIFY(fillGuest(*late, "101", from, to));
        late->acOperReservationPrepareContragentForReserv->trigger();
        QCOMPARE(late->GridModel()->rowCount(), 1);
        auto first = reservation();
        QVERIFY(fillGuest(*first, "101", QDate(2026, 5, 10), QDate(2026, 5, 12)));
        first->acOperReservationPrepareContragentForReserv->trigger();
        MessageBoxRecorder boxes;
        first->acOperReservationSave->trigger();
        late->acOperReservationSave->trigger();
        QVERIFY(IsBookingSaved(boxes.Texts().value(0)));
        QVERIFY(free ? IsBookingSaved(boxes.Texts().value(1))
                     : boxes.Texts().value(1).startsWith(msgRoomAlreadyBooked));
        QCOMPARE(rows("SELECT COUNT(*) FROM Klients"), QStringList({free ? "2" : "1"}));
    }

    void amountsAreExactToTheCent()
    {
        hotelData();
        exec("INSERT INTO Uslugi (q40, q33, q51) VALUES (33.33, 'Масаж', 1), (12.345, 'Сауна', 1), "
             "(1.005, 'Вода', 1)");
        exec("INSERT INTO Rooms (q44, q46, q1, q42) VALUES ('103', 33.33, 1, 1)");
        auto window = reservation();
        QVERIFY(fillGuest(*window, "103", QDate(2026, 5, 10), QDate(2026, 5, 13)));
        QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
        for (const auto &[service, quantity] :
             {std::pair{"Масаж", "3"}, std::pair{"Сауна", "3"}, std::pair{"Вода", "1"}, std::pair{"Закуска", "0,25"}}) {
            QVERIFY(ClearField(window->cbRoomNumber));
            QVERIFY(TypeInto(window->cbService, QString::fromUtf8(service)));
            QVERIFY(TypeInto(window->edQuantity, QString::fromLatin1(quantity)));
            QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
        }
        QCOMPARE(window->GridModel()->rowCount(), 5);
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window->acOperReservationSave));
            QCOMPARE(boxes.Texts().size(), 1);
            QVERIFY2(IsBookingSaved(boxes.Texts().first()), qPrintable(boxes.Texts().first()));
        }
        // Half away from zero on the decimal value: 12.345 x 3 = 37.035 -> 37.04, 1.005 -> 1.01.
        QCOMPARE(rows("SELECT q27 FROM Klients ORDER BY q27"), QStringList({"1.01", "3", "37.04", "99.99", "99.99"}));
        TADOQuery query(&connection());
        query.SetSQLText("SELECT q27 FROM Klients ORDER BY q27 DESC");
        query.Open();
        QCOMPARE(query.FieldByName("q27").AsFloat(), 99.99);
        // Sums of many stored amounts, read as the decimals they are, are exact.
        for (int i = 0; i < 1000; ++i)
            exec("INSERT INTO Klients (q1, q27) VALUES (9, ?)", {TDecimal::FromText("0.10").ToVariant()});
        query.SetSQLText("SELECT q27 FROM Klients WHERE q1 = 9");
        query.Open();
        TDecimal sum;
        double binary = 0;
        for (query.First(); !query.Eof(); query.Next()) {
            sum += TDecimal::FromVariant(query.FieldByName("q27").Value());
            binary += query.FieldByName("q27").AsFloat();
        }
        QCOMPARE(sum.ToFixed(2), QString("100.00"));
        QVERIFY(binary != 100.0);  // what adding binary fractions would have given
    }

    void failedCommitThenTickThenRetryStoresOnce()
    {
        if (TestOnPostgres())
            QSKIP("a reader that holds the embedded engine's file; the shared server's row locks are tested by "
                  "tst_concurrency");
        hotelData();
        exec("UPDATE Rooms SET q83 = 10, q84 = 10 * q47, q81 = 50, q82 = 40");
        const int timeout = TSqliteEngine::BusyTimeout();
        TSqliteEngine::SetBusyTimeout(300);
        auto restore = qScopeGuard([timeout] { TSqliteEngine::SetBusyTimeout(timeout); });
        auto window = reservation();
        QVERIFY(fillGuest(*window, "101", QDate(2026, 5, 10), QDate(2026, 5, 12)));
        QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
        QVERIFY(ClearField(window->cbRoomNumber));
        QVERIFY(TypeInto(window->cbService, "Закуска"));
        QVERIFY(TypeInto(window->edQuantity, "2"));
        QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
        QCOMPARE(window->GridModel()->rowCount(), 2);

        // Another workstation reads the file and holds its read lock: the commit cannot finish.
        const QString file = m_db->Home().Root() + "server/HotelTest.sqlite";
        auto other = [&](const QString &name) {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
            db.setDatabaseName(file);
            db.setConnectOptions("QSQLITE_BUSY_TIMEOUT=100");
            return db.open();
        };
        QVERIFY(other("reader"));
        QVERIFY(other("writer"));
        {
            QSqlQuery read(QSqlDatabase::database("reader"));
            QVERIFY(read.exec("BEGIN"));
            QVERIFY(read.exec("SELECT COUNT(*) FROM Klients") && read.next());
        }
        QWidget canvas;
        QMenu popup;
        TRoomBoard board(&canvas, &popup, [] { return QDate(2026, 5, 10); }, [] { return QString(); });
        QVERIFY(board.BuildRoomBoard());
        QVERIFY(board.Button(1));
        int ticks = 0;
        {
            MessageBoxRecorder boxes;
            ErrorLogRecorder log;
            // The board's tick comes while the operator reads the failure.
            boxes.OnShow = [&](const RecordedBox &) {
                board.RefreshRoomBoard();
                ++ticks;
            };
            QVERIFY(ClickCommand(window->acOperReservationSave));
            QCOMPARE(boxes.Texts(), QStringList({msgOperationNotSucceeded}));
            QCOMPARE(log.Texts().size(), 1);
            QVERIFY(log.Texts().first().startsWith(msgDatabaseBusy));
            QCOMPARE(boxes.ShownInTransaction() + log.ShownInTransaction(), 0);
        }
        QCOMPARE(ticks, 1);
        QCOMPARE(board.Button(1)->Mark, 0);  // the tick saw nothing of the failed save
        QVERIFY(!connection().InTransaction());
        QCOMPARE(sqlite3_get_autocommit(sqliteHandle()), 1);  // the server holds no transaction either
        QCOMPARE(window->GridModel()->rowCount(), 2);        // the rows stay staged for a retry
        // Other workstations keep working: they take the write lock at once.
        {
            QSqlQuery write(QSqlDatabase::database("writer"));
            QVERIFY2(write.exec("BEGIN IMMEDIATE"), qPrintable(write.lastError().text()));
            QVERIFY(write.exec("ROLLBACK"));
        }
        QSqlQuery(QSqlDatabase::database("reader")).exec("COMMIT");
        QSqlDatabase::database("reader").close();
        QSqlDatabase::database("writer").close();
        QSqlDatabase::removeDatabase("reader");
        QSqlDatabase::removeDatabase("writer");
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window->acOperReservationSave));
            QCOMPARE(boxes.Texts().size(), 1);
            QVERIFY2(IsBookingSaved(boxes.Texts().first()), qPrintable(boxes.Texts().first()));
        }
        QCOMPARE(rows("SELECT q47, q42, q71 FROM Klients ORDER BY q71, q47 DESC"), QStringList({"1||2", "|2|2"}));
        board.RefreshRoomBoard();
        QCOMPARE(board.Button(1)->Mark, 1);
    }

    void missingProcedureFailsTheSaveCleanly()
    {
        hotelData();
        DropProcedure("proc_CopyAllTablesValues");
        auto window = reservation();
        QVERIFY(fillGuest(*window, "101", QDate(2026, 5, 10), QDate(2026, 5, 12)));
        QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
        QCOMPARE(window->GridModel()->rowCount(), 1);
        MessageBoxRecorder boxes;
        ErrorLogRecorder log;
        QVERIFY(ClickCommand(window->acOperReservationSave));
        QCOMPARE(boxes.Texts(), QStringList({msgOperationNotSucceeded}));
        QCOMPARE(log.Texts().size(), 1);
        QCOMPARE(boxes.ShownInTransaction() + log.ShownInTransaction(), 0);
        QVERIFY(!connection().InTransaction());
        QCOMPARE(rows("SELECT COUNT(*) FROM Klients"), QStringList({"0"}));  // no half booking
        QCOMPARE(rows("SELECT COUNT(*) FROM Rezervacii"), QStringList({"0"}));
        QCOMPARE(window->GridModel()->rowCount(), 1);  // the staged row is kept for another try
    }
};

KALV_TEST_MAIN(TestBooking)
#include "tst_booking.moc"
