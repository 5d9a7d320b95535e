// The reservation chart, driven with the mouse and the keys: what it shows, booking by dragging
// across free nights, moving, extending and shifting stays by dragging their bars, refusals that
// write nothing, the keyboard, the live refresh, printing, and two workstations at once.

#include "TestHarness.h"
#include "UserInput.h"

#include "data/UAdoDb.h"
#include "data/UDM.h"
#include "desk/UFrontDesk.h"
#include "startup/UConstMessagesDesk.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesStay.h"
#include "startup/USystemWinOS.h"
#include "windows/Hotel.h"
#include "windows/UOperReservation.h"
#include "windows/UShahmatka.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGraphicsLineItem>
#include <QGraphicsScene>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>

using namespace FrontDesk;

namespace {

void mouse(QWidget *area, QEvent::Type type, const QPoint &at, Qt::MouseButtons held)
{
    QMouseEvent event(type, at, area->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(area, &event);
}

// A press, the pointer carried over the way in a few steps, a release.
void drag(TFShahmatka &chart, const QPoint &from, const QPoint &to, bool release = true)
{
    QWidget *area = chart.View->viewport();
    mouse(area, QEvent::MouseButtonPress, from, Qt::LeftButton);
    for (int step = 1; step <= 4; ++step)
        mouse(area, QEvent::MouseMove, from + (to - from) * step / 4, Qt::LeftButton);
    if (release)
        mouse(area, QEvent::MouseButtonRelease, to, Qt::NoButton);
    QTest::qWait(200);  // the next press is not a double click
}

} // namespace

class TestShahmatka : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    QDate d0;
    QHash<QString, int> m_rooms;

    QStringList rows(const QString &sql) { return m_db->Rows(sql); }
    void exec(const QString &sql, const QVariantList &values = {}) { m_db->Exec(sql, values); }
    int count(const QString &sql) { return rows(sql).value(0).toInt(); }

    void hotelData()
    {
        exec("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски')");
        exec("INSERT INTO Tarife (q50) VALUES ('Основна')");
        exec("INSERT INTO Valuta (q56, q1) VALUES ('BGN', 1)");
        exec("INSERT INTO Uslugi (q40, q33, q51) VALUES (60, 'Единична', 1)");
        for (const QString &number : {"101", "102", "103", "201", "202", "203"})
            m_rooms.insert(number, m_db->Connection().InsertReturningIdentity(
                                       "Rooms", {"q44", "q46", "q1", "q42", "q48", "q79", "q129"},
                                       "VALUES (?, 60, 1, 1, 1, 2, 0)", {number}));
        InstallDeliveredProcedures({"proc_CopyAllTablesValues"});
    }
    // A booking of one stay, written as the front desk writes one; paid: its whole total.
    int stay(const QString &room, int from, int to, int status, const QString &guest, bool paid = false)
    {
        TADOConnection &connection = m_db->Connection();
        const int booking = connection.InsertReturningIdentity("Rezervacii", {"q1", "q29", "q31"}, "VALUES (1, ?, 'Мъж')",
                                                                {guest});
        const int nights = to - from;
        const int id = connection.InsertReturningIdentity(
            "Klients", {"q1", "q29", "q31", "q34", "q35", "q47", "q70", "q71", "q27", "q124", "q125", "q126"},
            "VALUES (1, ?, 'Мъж', ?, ?, ?, 60, ?, ?, ?, ?, ?)",
            {guest, d0.addDays(from), d0.addDays(to), m_rooms.value(room), nights, 60 * nights, booking, status,
             status == ssInHouse ? QVariant(QDateTime::currentDateTime()) : QVariant(QMetaType::fromType<QDateTime>())});
        if (paid)
            exec("INSERT INTO Plashtania (q124, q140, q141, q142, q136) VALUES (?, ?, 1, 0, ?)",
                 {booking, 60 * nights, QDateTime::currentDateTime()});
        return id;
    }
    int bookingOf(int stayId) { return count(QString("SELECT q124 FROM Klients WHERE q123 = %1").arg(stayId)); }
    QString daysOf(int stayId)
    {
        return rows(QString("SELECT q34, q35, q47 FROM Klients WHERE q123 = %1").arg(stayId)).value(0);
    }
    QString dateText(int offset) const { return d0.addDays(offset).toString("dd.MM.yyyy"); }
    int logRows() { return count("SELECT COUNT(*) FROM Dnevnik"); }

    std::unique_ptr<TFShahmatka> chart(int firstDay = 0)
    {
        auto window = std::make_unique<TFShahmatka>();
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->SetDefaults(d0.addDays(firstDay), QString());
        window->resize(1200, 600);
        window->show();
        window->InitializeWindow();
        QTest::qWait(20);
        return window;
    }
    QPoint cell(TFShahmatka &window, const QString &room, int day)
    {
        return window.CellCenter(m_rooms.value(room), d0.addDays(day));
    }

private slots:
    void initTestCase() { FillCatalogue(slBulgarian); }
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        d0 = QDate::currentDate();
        SetToday(d0);
        m_rooms.clear();
        hotelData();
    }
    void cleanup()
    {
        SetToday(QDate());
        m_db.reset();
    }

    void barsStandOnHalfDaysWithTheirMarks()
    {
        const int leaving = stay("101", -3, 2, ssInHouse, "Иван Петров");
        const int arriving = stay("101", 2, 4, ssReserved, "Мария Иванова", true);
        const int noShow = stay("102", -1, 1, ssNoShow, "Петър Петров");
        stay("102", -10, -5, ssDeparted, "Стар Гост");  // before the period: not drawn
        const int moving = stay("201", -1, 3, ssInHouse, "Гост На Ход");
        exec("UPDATE Rooms SET q129 = 1 WHERE q47 = ?", {m_rooms.value("202")});
        exec("INSERT INTO Zatvoreni (q47, q157, q158, q159, q130) VALUES (?, ?, ?, 3, 'ремонт')",
             {m_rooms.value("103"), d0.addDays(1), d0.addDays(3)});
        // The guest of 201 moves to 203 today: two parts, joined.
        QVERIFY(Move(moving, m_rooms.value("203"), d0, true) > 0);
        auto window = chart(-2);  // from the day before the move's first part
        QCOMPARE(window->From(), d0.addDays(-2));
        QCOMPARE(window->Days(), 14);
        // A same-day turnover: the departing bar ends in the middle of the day, the arriving one
        // begins there; they do not overlap.
        const QRect out = window->BarRect(leaving), in = window->BarRect(arriving);
        const int middle = cell(*window, "101", 2).x();
        QVERIFY2(qAbs(out.right() - middle) <= 2 && qAbs(in.left() - middle) <= 2,
                 qPrintable(QString("%1 %2 %3").arg(out.right()).arg(in.left()).arg(middle)));
        QVERIFY(out.right() <= in.left() + 1);
        // A stay begun before the period starts at the chart's left edge.
        QVERIFY(out.left() <= 1);
        QVERIFY(window->BarRect(noShow).isValid());
        QCOMPARE(window->Snapshot().Bars.size(), 5);  // the old departed stay is out of the period
        // Marks: the open balance, the status, the closure, the dirty room.
        for (const Chart::TBar &bar : window->Snapshot().Bars) {
            if (bar.Stay == leaving)
                QVERIFY(bar.OpenBalance());
            if (bar.Stay == arriving)
                QVERIFY(!bar.OpenBalance());
        }
        for (const Chart::TBar &bar : window->Snapshot().Bars)
            if (bar.Stay == leaving) {
                QCOMPARE(Chart::KindOf(bar, d0), Chart::bkInHouse);
                QCOMPARE(Chart::KindOf(bar, d0.addDays(2)), Chart::bkLeavingToday);
            } else if (bar.Stay == noShow) {
                QCOMPARE(Chart::KindOf(bar, d0), Chart::bkNoShow);
            } else if (bar.Stay == moving) {
                QCOMPARE(Chart::KindOf(bar, d0), Chart::bkDeparted);
            }
        QCOMPARE(window->Snapshot().Closures.size(), 1);
        // The moved stay's parts, joined by a line from the end of one to the start of the next.
        int links = 0;
        for (QGraphicsItem *item : window->View->scene()->items())
            if (auto *line = dynamic_cast<QGraphicsLineItem *>(item)) {
                ++links;
                const QRect first = window->BarRect(moving);
                QVERIFY(qAbs(window->View->mapFromScene(line->line().p1()).x() - first.right()) <= 2);
                QVERIFY(qAbs(window->View->mapFromScene(line->line().p2()).y() - cell(*window, "203", 0).y()) <= 2);
            }
        QCOMPARE(links, 1);
        // The tooltip names the booking, the guest, the days and the money.
        QHelpEvent help(QEvent::ToolTip, out.center(), window->View->viewport()->mapToGlobal(out.center()));
        QApplication::sendEvent(window->View->viewport(), &help);
        QTRY_VERIFY(QToolTip::isVisible());
        QVERIFY2(QToolTip::text().contains(QString("Резервация № %1").arg(bookingOf(leaving))), qPrintable(QToolTip::text()));
        QVERIFY(QToolTip::text().contains("Иван Петров"));
        QVERIFY(QToolTip::text().contains("салдо 300.00"));
        QToolTip::hideText();
        SaveShot(window.get(), "chart");
    }

    void dragAcrossFreeNightsOpensAPrefilledReservation()
    {
        stay("103", 0, 2, ssReserved, "Зает");
        TFHotel main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.resize(1400, 900);
        main.show();
        QTest::qWait(20);
        main.RunCommand("actOperShahmatka");
        auto *window = qobject_cast<TFShahmatka *>(main.MdiArea->activeSubWindow()->widget());
        QVERIFY(window);
        main.MdiArea->activeSubWindow()->resize(1200, 600);
        QTest::qWait(20);
        // Over a taken night: red, with the reason, and nothing opens.
        drag(*window, cell(*window, "102", 1), cell(*window, "103", 1), false);
        QVERIFY(window->Dragging());
        QVERIFY(!window->DragAllowed());
        QCOMPARE(window->DragReason(), msgRoomHeld.arg("103"));
        QCOMPARE(window->lblShahmatkaHint->text(), window->DragReason());
        mouse(window->View->viewport(), QEvent::MouseButtonRelease, cell(*window, "103", 1), Qt::NoButton);
        QCOMPARE(main.MdiArea->subWindowList().size(), 1);
        // Two free rooms, three nights: the reservation opens with them.
        QTest::qWait(200);
        drag(*window, cell(*window, "101", 3), cell(*window, "102", 5));
        QCOMPARE(main.MdiArea->subWindowList().size(), 2);
        auto *reservation = qobject_cast<TFOperReservation *>(main.MdiArea->activeSubWindow()->widget());
        QVERIFY(reservation);
        QCOMPARE(reservation->cbHotel->currentText(), QString("Морски"));
        QCOMPARE(reservation->cbRoomNumber->currentText(), QString("101"));
        QCOMPARE(reservation->DateTimePicker1->date(), d0.addDays(3));
        QCOMPARE(reservation->DateTimePicker2->date(), d0.addDays(6));
        QCOMPARE(reservation->PendingRooms(), QStringList({"102"}));
        // The guest typed, the row added: the next room comes with the same nights.
        QVERIFY(TypeInto(reservation->edContragentName, "Нов Гост"));
        QVERIFY(TypeInto(reservation->edContragentID, "8505051234"));
        QVERIFY(ChooseFromDropDown(reservation->cbTarife, "Основна"));
        QVERIFY(ChooseFromDropDown(reservation->cbCurrency, "BGN"));
        MessageBoxRecorder boxes;
        QVERIFY(ClickCommand(reservation->acOperReservationPrepareContragentForReserv));
        QCOMPARE(boxes.Texts(), QStringList());
        QCOMPARE(reservation->GridModel()->rowCount(), 1);
        QCOMPARE(reservation->cbRoomNumber->currentText(), QString("102"));
        QCOMPARE(reservation->DateTimePicker1->date(), d0.addDays(3));
        QVERIFY(reservation->PendingRooms().isEmpty());
        QVERIFY(TypeInto(reservation->edContragentName, "Нов Гост"));
        QVERIFY(ClickCommand(reservation->acOperReservationPrepareContragentForReserv));
        QCOMPARE(reservation->GridModel()->rowCount(), 2);
        reservation->DiscardAgreed = true;
        main.MdiArea->closeAllSubWindows();
    }

    void draggedToAFreeRoomTheGuestMovesAndToATakenOneNothingIsWritten()
    {
        const int inHouse = stay("101", -1, 3, ssInHouse, "Иван Петров");
        const int reserved = stay("102", 2, 4, ssReserved, "Мария Иванова");
        stay("202", 0, 8, ssReserved, "Зает");
        auto window = chart();
        // In house: moved from today, the stay split in two, the log says so.
        {
            MessageBoxRecorder boxes;
            boxes.Answer(TSystemWinOS::IDYES);
            drag(*window, window->BarRect(inHouse).center(), cell(*window, "201", 1));
            QCOMPARE(boxes.Texts().size(), 1);
            QVERIFY2(boxes.Texts().first().contains("201"), qPrintable(boxes.Texts().first()));
        }
        QCOMPARE(rows(QString("SELECT q34, q35, q47 FROM Klients WHERE q123 = %1 OR q155 = %1 ORDER BY q34").arg(inHouse)),
                 QStringList({QString("%1|%2|%3").arg(dateText(-1), dateText(0)).arg(m_rooms.value("101")),
                              QString("%1|%2|%3").arg(dateText(0), dateText(3)).arg(m_rooms.value("201"))}));
        QCOMPARE(count("SELECT COUNT(*) FROM Dnevnik WHERE q147 LIKE '%201%'"), 1);
        // The chart shows it at once: the first part up to today in 101, the moved one in 201.
        const int movedPart = count(QString("SELECT q123 FROM Klients WHERE q155 = %1").arg(inHouse));
        QVERIFY(!window->BarRect(inHouse).isValid());  // it ended where the chart begins
        QCOMPARE(window->BarRect(movedPart).center().y(), cell(*window, "201", 0).y());
        // A reservation onto a taken room: red with the reason; let go, nothing is asked or written.
        const QString before = daysOf(reserved);
        const int logged = logRows();
        MessageBoxRecorder boxes;
        drag(*window, window->BarRect(reserved).center(), cell(*window, "202", 2), false);
        QVERIFY(!window->DragAllowed());
        QCOMPARE(window->DragReason(), msgRoomHeld.arg("202"));
        mouse(window->View->viewport(), QEvent::MouseButtonRelease, cell(*window, "202", 2), Qt::NoButton);
        QCOMPARE(boxes.Texts(), QStringList());
        QCOMPARE(daysOf(reserved), before);
        QCOMPARE(logRows(), logged);
        QVERIFY(window->lblShahmatkaHint->text().contains("202"));
        // The same bar to a free room: the whole stay changes room.
        boxes.Answer(TSystemWinOS::IDYES);
        drag(*window, window->BarRect(reserved).center(), cell(*window, "203", 2));
        QCOMPARE(daysOf(reserved), QString("%1|%2|%3").arg(dateText(2), dateText(4)).arg(m_rooms.value("203")));
        QCOMPARE(logRows(), logged + 1);
    }

    void theRightEndChangesTheDepartureUnlessAnotherStayIsThere()
    {
        const int first = stay("101", 1, 3, ssReserved, "Иван Петров");
        stay("101", 5, 7, ssReserved, "Следващ");
        auto window = chart();
        {
            MessageBoxRecorder boxes;
            boxes.Answer(TSystemWinOS::IDYES);
            drag(*window, window->BarRightEnd(first), cell(*window, "101", 4));
            QCOMPARE(boxes.Texts().size(), 1);
            QVERIFY2(boxes.Texts().first().contains(dateText(4)), qPrintable(boxes.Texts().first()));
        }
        QCOMPARE(daysOf(first), QString("%1|%2|%3").arg(dateText(1), dateText(4)).arg(m_rooms.value("101")));
        QCOMPARE(count(QString("SELECT q71 FROM Klients WHERE q123 = %1").arg(first)), 3);
        // Over the next stay: refused while dragging, nothing written when let go.
        const int logged = logRows();
        MessageBoxRecorder boxes;
        drag(*window, window->BarRightEnd(first), cell(*window, "101", 6), false);
        QVERIFY(!window->DragAllowed());
        QVERIFY(!window->DragReason().isEmpty());
        mouse(window->View->viewport(), QEvent::MouseButtonRelease, cell(*window, "101", 6), Qt::NoButton);
        QCOMPARE(boxes.Texts(), QStringList());
        QCOMPARE(daysOf(first), QString("%1|%2|%3").arg(dateText(1), dateText(4)).arg(m_rooms.value("101")));
        QCOMPARE(logRows(), logged);
        // Answered no, nothing either.
        boxes.Answer(TSystemWinOS::IDNO);
        drag(*window, window->BarRightEnd(first), cell(*window, "101", 2));
        QCOMPARE(boxes.Texts().size(), 1);
        QCOMPARE(daysOf(first), QString("%1|%2|%3").arg(dateText(1), dateText(4)).arg(m_rooms.value("101")));
    }

    void aReservationDraggedSidewaysTakesOtherDays()
    {
        const int reserved = stay("102", 2, 4, ssReserved, "Мария Иванова");
        const int inHouse = stay("101", -1, 2, ssInHouse, "Иван Петров");
        stay("102", 8, 9, ssReserved, "По-късно");
        auto window = chart();
        {
            MessageBoxRecorder boxes;
            boxes.Answer(TSystemWinOS::IDYES);
            drag(*window, cell(*window, "102", 2), cell(*window, "102", 5));
            QCOMPARE(boxes.Texts(), QStringList({msgChartDatesQuestion.arg("102", dateText(2), dateText(4), dateText(5),
                                                                           dateText(7))}));
        }
        QCOMPARE(daysOf(reserved), QString("%1|%2|%3").arg(dateText(5), dateText(7)).arg(m_rooms.value("102")));
        QCOMPARE(count(QString("SELECT COUNT(*) FROM Dnevnik WHERE q145 = 'stay' AND q146 = %1").arg(reserved)), 1);
        // Onto the later stay, into the past, or a guest in house: refused with the reason.
        MessageBoxRecorder boxes;
        drag(*window, cell(*window, "102", 5), cell(*window, "102", 7), false);
        QVERIFY(!window->DragAllowed());
        QTest::keyClick(window->View, Qt::Key_Escape);
        QVERIFY(!window->Dragging());
        drag(*window, cell(*window, "101", 0), cell(*window, "101", 1), false);
        QCOMPARE(window->DragReason(), msgChartInHouseDates);
        QTest::keyClick(window->View, Qt::Key_Escape);
        QCOMPARE(boxes.Texts(), QStringList());
        QCOMPARE(daysOf(inHouse), QString("%1|%2|%3").arg(dateText(-1), dateText(2)).arg(m_rooms.value("101")));
        // The rule itself, whoever calls it.
        QVERIFY_THROWS_EXCEPTION(EFrontDeskRefused, ChangeDates(reserved, d0.addDays(-1)));
        QVERIFY_THROWS_EXCEPTION(EFrontDeskRefused, ChangeDates(reserved, d0.addDays(5)));
        QVERIFY_THROWS_EXCEPTION(EFrontDeskRefused, ChangeDates(inHouse, d0.addDays(3)));
        QVERIFY_THROWS_EXCEPTION(EFrontDeskRefused, ChangeDates(reserved, d0.addDays(7)));  // onto the later stay
        QCOMPARE(daysOf(reserved), QString("%1|%2|%3").arg(dateText(5), dateText(7)).arg(m_rooms.value("102")));
    }

    void escPutsTheBarBack()
    {
        const int reserved = stay("102", 2, 4, ssReserved, "Мария Иванова");
        auto window = chart();
        MessageBoxRecorder boxes;
        drag(*window, window->BarRect(reserved).center(), cell(*window, "201", 2), false);
        QVERIFY(window->Dragging());
        QVERIFY(window->DragAllowed());
        QTest::keyClick(window->View, Qt::Key_Escape);
        QVERIFY(!window->Dragging());
        QVERIFY(window->isVisible());  // Esc was the gesture's, not the window's
        mouse(window->View->viewport(), QEvent::MouseButtonRelease, cell(*window, "201", 2), Qt::NoButton);
        QCOMPARE(boxes.Texts(), QStringList());
        QCOMPARE(daysOf(reserved), QString("%1|%2|%3").arg(dateText(2), dateText(4)).arg(m_rooms.value("102")));
    }

    void theKeyboardAloneMovesAStayAndOpensItsMenu()
    {
        const int reserved = stay("102", 2, 4, ssReserved, "Мария Иванова");
        auto window = chart();
        window->View->setFocus();
        // The cursor starts on the first room today; to 102 and the stay's first night.
        QCOMPARE(window->CursorRoom(), m_rooms.value("101"));
        QCOMPARE(window->CursorDay(), d0);
        QVERIFY(PressKey(window->View, Qt::Key_Down));
        QVERIFY(PressKey(window->View, Qt::Key_Right));
        QVERIFY(PressKey(window->View, Qt::Key_Right));
        QCOMPARE(window->CursorRoom(), m_rooms.value("102"));
        QCOMPARE(window->CursorDay(), d0.addDays(2));
        // Shift and Down carry it a row down (over the heading of the second floor), Enter puts it there.
        QVERIFY(PressKey(window->View, Qt::Key_Down, Qt::ShiftModifier));
        QVERIFY(window->Dragging());
        QVERIFY(PressKey(window->View, Qt::Key_Down, Qt::ShiftModifier));
        QVERIFY(window->DragAllowed());
        {
            MessageBoxRecorder boxes;
            boxes.Answer(TSystemWinOS::IDYES);
            QVERIFY(PressKey(window->View, Qt::Key_Return));
            QCOMPARE(boxes.Texts().size(), 1);
        }
        QCOMPARE(daysOf(reserved), QString("%1|%2|%3").arg(dateText(2), dateText(4)).arg(m_rooms.value("201")));
        // Shift and Right on the stay: one night more, by the keys again.
        QVERIFY(PressKey(window->View, Qt::Key_Down));
        QVERIFY(PressKey(window->View, Qt::Key_Down));
        QCOMPARE(window->CursorRoom(), m_rooms.value("201"));
        QVERIFY(PressKey(window->View, Qt::Key_Right, Qt::ShiftModifier));
        {
            MessageBoxRecorder boxes;
            boxes.Answer(TSystemWinOS::IDYES);
            QVERIFY(PressKey(window->View, Qt::Key_Enter));
        }
        QCOMPARE(daysOf(reserved), QString("%1|%2|%3").arg(dateText(2), dateText(5)).arg(m_rooms.value("201")));
        // The menu key: the stay's commands; "Отмяна на резервация" asks, then cancels.
        QVERIFY(PressKey(window->View, Qt::Key_Menu));
        QTRY_VERIFY(window->pmShahmatka->isVisible());
        QVERIFY(window->pmShahmatkaCancel->isEnabled());
        QVERIFY(!window->pmShahmatkaCheckOut->isEnabled());
        MessageBoxRecorder boxes;
        boxes.Answer(TSystemWinOS::IDYES);
        QVERIFY(ChooseFromMenu(window->pmShahmatka, window->pmShahmatkaCancel));
        QCOMPARE(boxes.Texts().size(), 1);
        QCOMPARE(count(QString("SELECT q125 FROM Klients WHERE q123 = %1").arg(reserved)), int(ssCancelled));
        QVERIFY(!window->BarRect(reserved).isValid());  // a cancelled stay holds no night
    }

    void anotherWorkstationsChangeRedrawsOnlyItsBar()
    {
        QList<int> stays;
        for (const QString &room : {"101", "102", "103", "201", "202"})
            stays.append(stay(room, 1, 3, ssReserved, "Гост " + room));
        auto window = chart();
        QCOMPARE(window->RedrawnBars(), 5);
        window->Refresh();
        QCOMPARE(window->RedrawnBars(), 0);
        const int width = window->BarRect(stays.at(2)).width();
        // Elsewhere: one stay extended by two nights, another room's new booking.
        Extend(stays.at(2), d0.addDays(5));
        stay("203", 0, 1, ssReserved, "Нов");
        window->Refresh();
        QCOMPARE(window->RedrawnBars(), 2);
        QVERIFY(window->BarRect(stays.at(2)).width() > width);
        // The main window's board refresh carries the chart's.
        TFHotel main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.RunCommand("actOperShahmatka");
        auto *opened = qobject_cast<TFShahmatka *>(main.MdiArea->activeSubWindow()->widget());
        QVERIFY(opened);
        Cancel(stays.at(0));
        main.timerInitRoomStatusTimer();
        QCOMPARE(opened->RedrawnBars(), 1);
        QVERIFY(!opened->BarRect(stays.at(0)).isValid());
    }

    void printsPagesAcrossAndDownWithTheRoomsOnEach()
    {
        for (int i = 0; i < 60; ++i)
            m_rooms.insert(QString::number(300 + i), m_db->Connection().InsertReturningIdentity(
                                                        "Rooms", {"q44", "q46", "q1", "q129"}, "VALUES (?, 60, 1, 0)",
                                                        {QString::number(300 + i)}));
        const int guest = stay("310", 1, 4, ssReserved, "Печатан Гост");
        auto window = chart();
        QVERIFY(ChooseFromDropDown(window->cbShahmatkaSpan, msgChartMonth));
        QCOMPARE(window->Days(), d0.daysInMonth());
        QTemporaryDir dir;
        const QString file = dir.filePath("chart.pdf");
        QVERIFY(window->SaveAsPdf(file));
        QProcess info;
        info.start("pdfinfo", {file});
        QVERIFY(info.waitForFinished(20000));
        const QString text = QString::fromUtf8(info.readAllStandardOutput());
        const int pages = text.section("Pages:", 1).section('\n', 0, 0).trimmed().toInt();
        QCOMPARE(pages, window->PrintedPages());
        QVERIFY2(pages >= 2, qPrintable(text));  // 66 rooms do not fit one page down
        // Landscape, whatever paper the locale prefers.
        const QRegularExpressionMatch size = QRegularExpression("Page size:\\s+([0-9.]+) x ([0-9.]+)").match(text);
        QVERIFY2(size.hasMatch() && size.captured(1).toDouble() > size.captured(2).toDouble(), qPrintable(text));
        // Wider days: pages across too; the rooms' numbers on every page.
        window->View->setFocus();
        const int narrow = window->BarRect(guest).width();
        for (int i = 0; i < 4; ++i)
            QVERIFY(PressKey(window->View, Qt::Key_Plus, Qt::ControlModifier));
        // The bars widened with the days and still stand on their half days.
        QVERIFY(window->BarRect(guest).width() > 2 * narrow);
        window->View->ensureVisible(QRectF(window->View->mapToScene(window->BarRect(guest).topLeft()), QSizeF(1, 1)));
        QVERIFY(qAbs(window->BarRect(guest).left() - cell(*window, "310", 1).x()) <= 2);
        QVERIFY(window->SaveAsPdf(file));
        QVERIFY(window->PrintedPages() > pages);
        QProcess textOf;
        textOf.start("pdftotext", {"-layout", file, "-"});
        QVERIFY(textOf.waitForFinished(20000));
        const QStringList printed = QString::fromUtf8(textOf.readAllStandardOutput()).split('\f', Qt::SkipEmptyParts);
        QCOMPARE(printed.size(), window->PrintedPages());
        for (const QString &page : printed)
            QVERIFY2(page.contains(QRegularExpression("\\b(10[1-3]|20[1-3]|3[0-5][0-9])\\b")), qPrintable(page.left(200)));
    }

    // Two workstations drag two reservations into the same free nights of one room at once.
    void twoWorkstationsDraggingIntoOneRoomNightEndWithOneWinner()
    {
        const int first = stay("101", 2, 5, ssReserved, "Първи");
        const int second = stay("102", 3, 6, ssReserved, "Втори");
        const qint64 start = QDateTime::currentMSecsSinceEpoch() + 4000;
        std::vector<std::unique_ptr<QProcess>> processes;
        for (const int target : {first, second}) {
            auto process = std::make_unique<QProcess>();
            QProcessEnvironment environment = m_db->Home().ProcessEnvironment();
            environment.insert("QT_QPA_PLATFORM", "offscreen");
            process->setProcessEnvironment(environment);
            process->start(TestHome::BuildBinFolder() + "kalv_workstation",
                           {"chart", m_db->Home().DataFolderPath(), QString::number(target),
                            QString::number(m_rooms.value("203")), d0.toString(Qt::ISODate), QString::number(start)});
            processes.push_back(std::move(process));
        }
        QStringList said;
        for (auto &process : processes) {
            QVERIFY2(process->waitForFinished(60000), "a workstation hung");
            said.append(QString::fromUtf8(process->readAllStandardOutput()).trimmed());
        }
        QVERIFY2(said.count("done") == 1, qPrintable(said.join(" / ")));
        for (const QString &other : said)
            QVERIFY2(other == "done" || other.startsWith("refused") || other == "busy", qPrintable(other));
        QCOMPARE(count(QString("SELECT COUNT(*) FROM Klients WHERE q47 = %1").arg(m_rooms.value("203"))), 1);
        QCOMPARE(count("SELECT COUNT(*) FROM Klients a JOIN Klients b ON a.q47 = b.q47 AND a.q34 < b.q35 AND "
                       "b.q34 < a.q35"),
                 count("SELECT COUNT(*) FROM Klients"));
    }
};

KALV_TEST_MAIN(TestShahmatka)
#include "tst_shahmatka.moc"
