// Windows as a user meets them: first opening, placement, closing, the tab strip, the idle
// board, scrolling, the control bar at other widths and the rights editor's folding.

#include "TestHarness.h"
#include "admin/UBaza.h"
#include "controls/MDITab.h"
#include "controls/UControlBar.h"
#include "data/UDM.h"
#include "errors/MyClass.h"
#include "admin/UDatabaseSetup.h"
#include "framework/FormInfo.h"
#include "framework/UStdCtrls.h"
#include "framework/UWideIniFile.h"
#include "data/URegistry.h"
#include "startup/UConstMessagesDesk.h"
#include "startup/USystemWinOS.h"
#include "windows/Hotel.h"
#include "windows/UNastroiki.h"
#include "windows/UOperReservation.h"
#include "windows/URoomBoard.h"
#include "windows/USigurnost.h"
#include "windows/UUserLogin.h"
#include "desk/UOperators.h"
#include "desk/URights.h"
#include "startup/UConstMessagesSecurity.h"
#include "startup/UConstMessagesStay.h"

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>
#include <memory>

namespace {

// Counts the paints a widget and its children receive.
class PaintCounter : public QObject
{
public:
    int Paints = 0;
    void Watch(QWidget *widget)
    {
        widget->installEventFilter(this);
        for (QWidget *child : widget->findChildren<QWidget *>())
            child->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        Paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

// A window that stands for one of the program's: its name carries a running number.
class TNumbered : public TMainLibraryClass
{
public:
    explicit TNumbered(const QString &name) { setObjectName(name); }
};

const QStringList kChildCommands = {"actNomenHotels",   "actNomenRooms",    "actNomenTarifs",
                                    "actNomenServices", "actNomenValuta",   "actNomenOperators",
                                    "actOperSec",       "actOperReserv",    "actAdministrationsConstructHotel",
                                    "actAdministrationsConfigDB", "actSettingsPersonalise", "actHelpAboutAs",
                                    "actOperShahmatka"};

} // namespace

class TestWindows : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;

    TADOConnection &connection() { return m_db->Connection(); }
    void exec(const QString &sql, const QVariantList &values = {}) { m_db->Exec(sql, values); }
    QStringList rows(const QString &sql) { return m_db->Rows(sql); }
    std::unique_ptr<TFHotel> mainWindow(const QSize &size = QSize(1400, 900))
    {
        auto window = std::make_unique<TFHotel>();
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->resize(size);
        window->show();
        QTest::qWait(20);
        return window;
    }
    // The child window a command opened last, and its frame.
    static QWidget *lastChild(TFHotel &window)
    {
        const QList<QMdiSubWindow *> frames = window.MdiArea->subWindowList(QMdiArea::CreationOrder);
        return frames.isEmpty() ? nullptr : frames.last()->widget();
    }
    static QMdiSubWindow *frameOf(QWidget *child) { return qobject_cast<QMdiSubWindow *>(child->parentWidget()); }
    void hotelData()
    {
        exec("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски')");
        exec("INSERT INTO Tarife (q50) VALUES ('Основна')");
        exec("INSERT INTO Valuta (q56, q1) VALUES ('BGN', 1)");
        exec("INSERT INTO Uslugi (q40, q33, q51) VALUES (60, 'Единична', 1)");
        exec("INSERT INTO Rooms (q44, q46, q1, q42, q81, q82, q83, q84) VALUES ('101', 60, 1, 1, 80, 60, 10, 10)");
    }

private slots:
    void initTestCase() { FillCatalogue(slBulgarian); }
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        SelectedHotelID.clear();
    }
    void cleanup() { m_db.reset(); }

    void childWindowsOpenAtTheirDesignedSizeThenWhereTheyWereLeft()
    {
        auto window = mainWindow();
        for (const QString &command : kChildCommands) {
            window->RunCommand(command);
            QWidget *child = lastChild(*window);
            QVERIFY2(child, qPrintable(command));
            auto *placement = child->findChild<TFormInfo *>(QString(), Qt::FindDirectChildrenOnly);
            QVERIFY(placement);
            QCOMPARE(child->size(), placement->DesignedSize());
            QVERIFY2(child->width() >= 300 && child->height() >= 200, qPrintable(command));
            // Moved and resized by the user, closed, opened again: where it was left.
            QMdiSubWindow *frame = frameOf(child);
            frame->setGeometry(37, 21, frame->width() + 31, frame->height() + 17);
            const QRect left = frame->geometry();
            frame->close();
            QTRY_VERIFY(window->MdiArea->subWindowList().isEmpty());
            window->RunCommand(command);
            QCOMPARE(frameOf(lastChild(*window))->geometry(), left);
            frameOf(lastChild(*window))->close();
            QTRY_VERIFY(window->MdiArea->subWindowList().isEmpty());
        }
        // At its first size the rights editor shows all ten switches of a group it unfolds.
        QVERIFY(TRegistry().OpenKey("\\Software\\Oxtarne\\DlgPossions", true));
        {
            TRegistry registry;
            registry.OpenKey("\\Software\\Oxtarne\\DlgPossions\\FSigurnost", true);
            for (const char *value : {"WindowState", "Left", "Top", "Width", "Height"})
                registry.DeleteValue(QLatin1String(value));
        }
        window->RunCommand("actOperSec");
        auto *rights = qobject_cast<TFSigurnost *>(lastChild(*window));
        QVERIFY(rights);
        QTest::mouseClick(rights->HeaderSwitches.at(1), Qt::LeftButton);
        QTRY_VERIFY(!rights->Folding());
        const QRect view = rights->ScrollBox1->viewport()->rect();
        int shown = 0, group = 0;
        for (TShapeSwitch *shape : rights->RightSwitches)
            if (shape->parentWidget() == rights->Panels.at(1)) {
                ++group;
                shown += view.contains(QRect(shape->mapTo(rights->ScrollBox1->viewport(), QPoint(0, 0)), shape->size()))
                             ? 1 : 0;
            }
        QCOMPARE(group, 10);
        QCOMPARE(shown, group);
        frameOf(rights)->close();
    }

    void maximisedWindowKeepsTheSizeItHadBefore()
    {
        auto window = mainWindow();
        window->RunCommand("actNomenHotels");
        QMdiSubWindow *frame = frameOf(lastChild(*window));
        frame->setGeometry(20, 30, 930, 610);
        frame->showMaximized();
        QVERIFY(frame->isMaximized());
        frame->close();
        QTRY_VERIFY(window->MdiArea->subWindowList().isEmpty());
        TRegistry registry;
        QVERIFY(registry.OpenKey("\\Software\\Oxtarne\\DlgPossions\\FNomHotels", false));
        QCOMPARE(registry.ReadString("WindowState"), QString("0"));
        QCOMPARE(registry.ReadString("Width"), QString("930"));
        QCOMPARE(registry.ReadString("Height"), QString("610"));
        window->RunCommand("actNomenHotels");
        frame = frameOf(lastChild(*window));
        QVERIFY(frame->isMaximized());
        frame->showNormal();
        QCOMPARE(frame->geometry(), QRect(20, 30, 930, 610));
    }

    void ownExitLeavesNoFrameAndATabBringsAMinimisedWindowBack()
    {
        auto window = mainWindow();
        window->RunCommand("actNomenTarifs");
        QWidget *tariffs = lastChild(*window);
        window->RunCommand("actNomenHotels");
        QWidget *hotels = lastChild(*window);
        QCOMPARE(window->MDITabControl->count(), 2);
        // A click on the tab of a minimised window, current or not, brings it back.
        frameOf(tariffs)->showMinimized();
        QTest::mouseClick(window->MDITabControl, Qt::LeftButton, {},
                          window->MDITabControl->tabRect(window->MDITabControl->IndexOf(tariffs)).center());
        QVERIFY(!frameOf(tariffs)->isMinimized());
        frameOf(tariffs)->showMinimized();
        QCOMPARE(window->MDITabControl->currentIndex(), window->MDITabControl->IndexOf(tariffs));
        QTest::mouseClick(window->MDITabControl, Qt::LeftButton, {},
                          window->MDITabControl->tabRect(window->MDITabControl->IndexOf(tariffs)).center());
        QVERIFY(!frameOf(tariffs)->isMinimized());
        // The window's own "Изход": frame and tab go together.
        Child<QAction>(hotels, "ToolButton2")->trigger();
        QTRY_COMPARE(window->MdiArea->subWindowList().size(), 1);
        QCOMPARE(window->MDITabControl->count(), 1);
        Child<QAction>(tariffs, "tbFNomTarifiClose")->trigger();
        QTRY_VERIFY(window->MdiArea->subWindowList().isEmpty());
        QCOMPARE(window->MDITabControl->count(), 0);
    }

    void escClosesWhatIsInFrontAndThenAsks()
    {
        hotelData();
        auto window = mainWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        // Nothing open: Esc asks, and Enter (the default) keeps the program.
        {
            MessageBoxRecorder boxes;
            boxes.Answer(TSystemWinOS::IDNO);
            QTest::keyClick(window.get(), Qt::Key_Escape);
            QCOMPARE(boxes.Texts(), QStringList({msgQuitProgram}));
            QCOMPARE(boxes.Boxes().first().Flags, 4 | 32 | 256);
        }
        QVERIFY(window->isVisible());
        window->RunCommand("actOperReserv");
        QWidget *reservation = lastChild(*window);
        window->RunCommand("actNomenHotels");
        QWidget *hotels = lastChild(*window);
        QCOMPARE(window->MdiArea->activeSubWindow()->widget(), hotels);
        // Typing in a field and pressing Ctrl+Tab moves to the other window; Esc closes that one only.
        QTest::keyClick(window.get(), Qt::Key_Tab, Qt::ControlModifier);
        QTRY_COMPARE(window->MdiArea->activeSubWindow()->widget(), reservation);
        {
            MessageBoxRecorder boxes;
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window.get(), Qt::Key_Escape);
            QVERIFY(boxes.Texts().isEmpty());  // nothing staged: closed without a question
        }
        QTRY_COMPARE(window->MdiArea->subWindowList().size(), 1);
        QCOMPARE(window->MdiArea->subWindowList().first()->widget(), hotels);
        QVERIFY(window->isVisible());
        // Ctrl+F4 closes the active child window.
        window->MdiArea->setActiveSubWindow(window->MdiArea->subWindowList().first());
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window.get(), Qt::Key_F4,
                        Qt::ControlModifier);
        QTRY_COMPARE(window->MdiArea->subWindowList().size(), 0);
        QVERIFY(window->isVisible());
        // And with nothing open, a yes to the question ends the program.
        MessageBoxRecorder boxes;
        boxes.Answer(TSystemWinOS::IDYES);
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(!window->isVisible());
    }

    void closingWithUnsavedStagedRowsAsksFirst()
    {
        hotelData();
        auto window = mainWindow();
        window->RunCommand("actOperReserv");
        auto *fresh = qobject_cast<TFOperReservation *>(lastChild(*window));
        QCOMPARE(fresh->labelCharacteristic->text(), QString());  // nothing until a room is chosen
        fresh->close();
        QTRY_COMPARE(window->MdiArea->subWindowList().size(), 0);
        TFOperReservation *reservation = reservationWithStagedRow(*window);
        QVERIFY(reservation->HasStagedRows());
        for (const QString &way : {"Esc", "Изход", "frame"}) {
            MessageBoxRecorder boxes;
            boxes.Answer(TSystemWinOS::IDNO);
            if (way == "Esc") {
                // Esc closes the reservation window in front, asking first about its rows.
                window->activateWindow();
                QTest::keyClick(window.get(), Qt::Key_Escape);
            } else if (way == "Изход") {
                window->Action("actClose")->trigger();
            } else {
                window->close();
            }
            QCOMPARE(boxes.Texts(), QStringList({way == "Esc" ? msgDiscardWindowRows : msgDiscardStagedRows}));
            QCOMPARE(boxes.Boxes().first().Flags, 36);
            QVERIFY2(window->isVisible(), qPrintable(way));
            QCOMPARE(window->MdiArea->subWindowList().size(), 1);
        }
        MessageBoxRecorder boxes;
        boxes.Answer(TSystemWinOS::IDYES);
        window->Action("actClose")->trigger();
        QCOMPARE(boxes.Texts(), QStringList({msgDiscardStagedRows}));
        QVERIFY(!window->isVisible());
    }

    // Stages a row in a new reservation window of the main window.
    TFOperReservation *reservationWithStagedRow(TFHotel &window)
    {
        window.RunCommand("actOperReserv");
        auto *reservation = qobject_cast<TFOperReservation *>(lastChild(window));
        reservation->edContragentName->setText("Иван");
        reservation->edContragentID->setText("8001011234");
        reservation->cbTarife->setEditText("Основна");
        reservation->cbCurrency->setEditText("BGN");
        reservation->cbHotel->setEditText("Морски");
        reservation->cbRoomNumber->setEditText("101");
        reservation->DateTimePicker2->setDate(QDate::currentDate().addDays(1));
        reservation->acOperReservationPrepareContragentForReserv->trigger();
        return reservation;
    }

    // Answers each login that shows with the next of the steps: "" cancels, else "user/password".
    void answerLogins(QStringList steps, QStringList *rightsSeen)
    {
        auto *timer = new QTimer(this);
        timer->setInterval(30);
        connect(timer, &QTimer::timeout, this, [timer, steps, rightsSeen]() mutable {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *login = qobject_cast<TFUserLogin *>(w); login && login->isVisible() && !steps.isEmpty()) {
                    rightsSeen->append(Rights::CurrentPrivileges());
                    const QString step = steps.takeFirst();
                    if (step.isEmpty()) {
                        QVERIFY(ClickCommand(login->acClose));
                    } else {
                        QTest::keyClicks(login->username, step.section('/', 0, 0));
                        QTest::keyClicks(login->password, step.section('/', 1));
                        QTest::mouseClick(login->spOK, Qt::LeftButton);
                    }
                    if (steps.isEmpty())
                        timer->deleteLater();
                    return;
                }
        });
        timer->start();
    }

    void operatorSwitchNeverLeavesThePreviousOperatorWorking()
    {
        hotelData();
        exec("INSERT INTO Operators (q1, q75, q76, q77) VALUES (1, 'maria', ?, ?), (1, 'petar', ?, ?)",
             {Operators::HashPassword("maria password"), Rights::Full(), Operators::HashPassword("petar password"),
              Rights::Full()});
        Rights::SetCurrent(1, Rights::Full());
        auto window = mainWindow();
        window->show();
        TFOperReservation *reservation = reservationWithStagedRow(*window);
        QVERIFY(reservation->HasStagedRows());
        // Cancelled, the rows kept: the login comes back, and nobody works meanwhile.
        QStringList rightsSeen;
        answerLogins({"", "petar/petar password"}, &rightsSeen);
        MessageBoxRecorder boxes;
        boxes.Answer(TSystemWinOS::IDNO);
        window->Action("actOperChangeOperator")->trigger();
        QCOMPARE(boxes.Texts(), QStringList({msgDiscardStagedRows}));
        QCOMPARE(rightsSeen, QStringList({QString(), QString()}));
        QCOMPARE(Rights::CurrentOperator(), 2);
        QVERIFY(window->isVisible());
        QVERIFY(reservation->HasStagedRows());
        // Cancelled again and the rows given up: the program ends.
        answerLogins({""}, &rightsSeen);
        boxes.Answer(TSystemWinOS::IDYES);
        window->Action("actOperChangeOperator")->trigger();
        QTRY_VERIFY(!window->isVisible());
        QCOMPARE(boxes.Texts(), QStringList({msgDiscardStagedRows, msgDiscardStagedRows}));
    }

    void anUnattendedDeskLocksAndKeepsItsInput()
    {
        hotelData();
        exec("INSERT INTO Operators (q1, q75, q76, q77) VALUES (1, 'maria', ?, ?)",
             {Operators::HashPassword("maria password"), Rights::Full()});
        Rights::SetCurrent(1, Rights::Full());
        const qint64 minute = TFHotel::IdleMinuteMs;
        TFHotel::IdleMinuteMs = 40;
        auto window = mainWindow();
        window->show();
        TFOperReservation *reservation = reservationWithStagedRow(*window);
        TRegistry registry;
        QVERIFY(registry.OpenKey(SqlSettings::Key, true));
        registry.WriteInteger(SqlSettings::IdleLockMinutes, 0);  // never
        QTest::qWait(100);
        window->CheckIdle();
        QCOMPARE(Rights::CurrentOperator(), 1);
        registry.WriteInteger(SqlSettings::IdleLockMinutes, 2);
        QTest::keyClick(reservation->edContragentName, Qt::Key_End);  // touched a moment ago
        window->CheckIdle();
        QCOMPARE(Rights::CurrentOperator(), 1);
        QTest::qWait(100);
        QStringList rightsSeen;
        answerLogins({"maria/maria password"}, &rightsSeen);
        window->CheckIdle();
        TFHotel::IdleMinuteMs = minute;
        QCOMPARE(rightsSeen, QStringList({QString()}));  // covered: nobody worked under the login
        QCOMPARE(Rights::CurrentOperator(), 1);
        QVERIFY(reservation->HasStagedRows());
        QCOMPARE(rows("SELECT q147 FROM Dnevnik"), QStringList({msgLogDeskLocked.arg(2), msgLogLogin}));
    }

    void idleBoardOfAThousandRoomsPaintsNothing()
    {
        for (int i = 0; i < 1000; ++i)
            exec("INSERT INTO Rooms (q44, q1, q81, q82, q83, q84) VALUES (?, 1, 50, 40, ?, ?)",
                 {QString::number(1000 + i), (i / 40) * 45, (i % 40) * 55});
        exec("INSERT INTO Klients (q1, q47, q34, q35) VALUES (1, 5, ?, ?)", {QDate::currentDate(), QDate::currentDate().addDays(2)});
        auto window = mainWindow();
        window->timerInitRoomStatusTimer();
        QTest::qWait(300);  // the first paints of what was shown
        PaintCounter counter;
        counter.Watch(window->BoardCanvas);
        QTest::qWait(1000);
        QCOMPARE(counter.Paints, 0);
        QCOMPARE(window->RoomBoard->Button(5)->Mark, 1);
    }

    void boardScrollsToARoomFarOut()
    {
        exec("INSERT INTO Rooms (q44, q1, q81, q82, q83, q84) VALUES ('далечна', 1, 60, 40, 920, 1500)");
        auto window = mainWindow(QSize(1024, 768));
        TRoomButton *far = window->RoomBoard->Buttons("далечна").value(0);
        QVERIFY(far);
        QCOMPARE(far->geometry(), QRect(1500, 1000, 60, 40));
        QVERIFY(window->BoardScroll->horizontalScrollBar()->maximum() > 0);
        QVERIFY(window->BoardScroll->verticalScrollBar()->maximum() > 0);
        window->BoardScroll->ensureWidgetVisible(far);
        const QRect seen(far->mapTo(window->BoardScroll->viewport(), QPoint(0, 0)), far->size());
        QVERIFY(window->BoardScroll->viewport()->rect().contains(seen));
    }

    void controlBarFollowsTheWindowWidthAndKeepsItsLayout()
    {
        auto window = mainWindow(QSize(1400, 900));
        TControlBar *bar = window->ControlBar1;
        QHash<QString, QPoint> places;
        for (QWidget *panel : bar->Panels())
            places.insert(panel->objectName(), bar->PanelPlace(panel));
        const int wideHeight = bar->height();
        auto inside = [&] {
            for (QWidget *panel : bar->Panels())
                if (panel->geometry().right() >= bar->width() || panel->geometry().bottom() >= bar->height())
                    return false;
            return true;
        };
        window->resize(640, 700);
        // The bar's width follows at once, its rows at the next layout pass: each is waited for.
        QTRY_COMPARE(bar->width(), window->centralWidget()->width());
        QTRY_VERIFY(bar->height() > wideHeight);
        QTRY_VERIFY(inside());  // the search box, the hotel selector and the date filter stay reachable
        // A click on the bar at this width saves the places the user gave, once, in one write.
        const int writes = TWideMemIniFile::WriteCount();
        window->ControlBar1MouseUp();
        QCOMPARE(TWideMemIniFile::WriteCount(), writes + 1);
        const TWideMemIniFile ini(DataFolder + "Settings.ini");
        for (QWidget *panel : bar->Panels()) {
            QCOMPARE(ini.ReadInteger(panel->objectName(), "Left", -1), places.value(panel->objectName()).x());
            QCOMPARE(ini.ReadInteger(panel->objectName(), "Top", -1), places.value(panel->objectName()).y());
        }
        window->resize(1400, 900);
        QTRY_COMPARE(bar->height(), wideHeight);
        QTRY_VERIFY(inside());
    }

    void boardAnswersADateOrHotelChangeAtOnce()
    {
        hotelData();
        exec("INSERT INTO HotelBuild (q1, q10) VALUES (2, 'Планински')");
        exec("INSERT INTO Klients (q1, q47, q34, q35) VALUES (1, 1, ?, ?)", {QDate(2026, 5, 10), QDate(2026, 5, 12)});
        auto window = mainWindow();
        QVERIFY(window->timerInitRoomStatus->isActive());
        QCOMPARE(window->timerInitRoomStatus->interval(), 10000);
        QVERIFY(TypeDate(window->dtpMainPeriodFilter, QDate(2026, 5, 11)));
        QCOMPARE(window->RoomBoard->Button(1)->Mark, 1);
        window->ComboBox1Enter();
        QVERIFY(ChooseFromDropDown(window->ComboBox1, "Планински"));
        emit window->ComboBox1->textActivated("Планински");
        QCOMPARE(window->RoomBoard->Button(1)->Mark, 0);
        window->ComboBox1->setCurrentText("FILTAR OFF");
        emit window->ComboBox1->textActivated("FILTAR OFF");
        QCOMPARE(window->RoomBoard->Button(1)->Mark, 1);
    }

    void rightsEditorClosedWhileAPanelFolds()
    {
        auto window = mainWindow();
        for (int round = 0; round < 3; ++round) {
            window->RunCommand("actOperSec");
            auto *rights = qobject_cast<TFSigurnost *>(lastChild(*window));
            QTest::mouseClick(rights->HeaderSwitches.at(1 + round), Qt::LeftButton);
            QTest::qWait(25);
            QVERIFY(rights->Folding());
            QVERIFY(ClickCommand(rights->acClose));
            QTest::qWait(100);
            QTRY_VERIFY(window->MdiArea->subWindowList().isEmpty());
        }
    }

    void smallerMatters()
    {
        // The personalisation window's choice stands in two columns.
        TFNastroiki settings;
        QCOMPARE(settings.rgSettingsStarting->Columns(), 2);
        // A child window finds its caption by its name cut before the first "_", as a top-level one does.
        auto window = mainWindow();
        window->OpenChildWindow(new TNumbered("FNomHotels_2"), false);
        QCOMPARE(lastChild(*window)->windowTitle(), QString("Хотели"));
        // The delivered captions hold each key once.
        QFile file(TestHome::BuildBinFolder() + "dist/Settings.ini");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QSet<QString> keys;
        QString section;
        for (const QString &line : QString::fromUtf8(file.readAll()).split("\r\n")) {
            if (line.startsWith('['))
                section = line;
            else if (line.contains('=')) {
                const QString key = section + line.section('=', 0, 0).trimmed().toLower();
                QVERIFY2(!keys.contains(key), qPrintable(key));
                keys.insert(key);
            }
        }
    }
};

KALV_TEST_MAIN(TestWindows)
#include "tst_windows.moc"
