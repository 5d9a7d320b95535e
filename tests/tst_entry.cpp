// The whole entry: start-up check, login, main window and the commands the start flags ask for.

#include "TestHarness.h"
#include "admin/UBaza.h"
#include "admin/UDatabaseSetup.h"
#include "admin/UInitMSSQL.h"
#include "data/UADOComunicationControl.h"
#include "data/UDM.h"
#include "startup/UConstMessagesHotel.h"
#include "windows/Hotel.h"
#include "windows/UUserLogin.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <QToolButton>
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesDesk.h"

#include <QtTest>
#include <functional>
#include <memory>

namespace {

template <class T> T *visibleWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *window = qobject_cast<T *>(widget); window && window->isVisible())
            return window;
    return nullptr;
}

template <class T> int windowsOfKind()
{
    int count = 0;
    for (QWidget *widget : QApplication::allWidgets())
        if (qobject_cast<T *>(widget))
            ++count;
    return count;
}

// Acts once on the first visible window of kind T, polling while the entry runs its loops.
template <class T> void whenVisible(std::function<void(T *)> action)
{
    auto *timer = new QTimer(qApp);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        if (T *window = visibleWindow<T>()) {
            timer->stop();
            timer->deleteLater();
            action(window);
        }
    });
    timer->start();
}

// A stand-in for a register window, so that the test sees its command open something.
class TStandIn : public TMainLibraryClass
{
public:
    explicit TStandIn(const QString &name) { setObjectName(name); }
};

QStringList openChildren(TFHotel *window)
{
    QStringList names;
    for (QMdiSubWindow *frame : window->MdiArea->subWindowList())
        names.append(frame->widget()->objectName());
    return names;
}

} // namespace

class TestEntry : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestHome> m_home;
    QStringList m_seen;

    void prepareDatabase(bool withOperator = true)
    {
        StoreServerSettings(*m_home);
        TDM dm;
        QCOMPARE(int(DatabaseSetup::CreateDatabase("HotelTest").Outcome), int(DatabaseSetup::TOutcome::Done));
        if (withOperator)
            dm.ADOLocalConnection->Execute("INSERT INTO Operators (q1, q75, q76) VALUES (1, 'demo', 'demo')");
    }

private slots:
    void initTestCase()
    {
        FillCatalogue(slBulgarian);
        TFHotel::RegisterWindow("actNomenHotels", [] { return new TStandIn("FNomHotels"); });
        TFHotel::RegisterWindow("actNomenOperators", [] { return new TStandIn("FNomOperatori"); });
    }
    void init()
    {
        m_home = std::make_unique<TestHome>();
        DeliverFiles(*m_home);
        m_seen.clear();
    }
    void cleanup() { m_home.reset(); }

    void cancelledLoginEndsWithoutTheMainWindow()
    {
        prepareDatabase();
        whenVisible<TFUserLogin>([](TFUserLogin *login) { login->acClose->trigger(); });
        auto &app = *static_cast<TKalvApplication *>(qApp);
        QCOMPARE(KalvCM::RunEntry(app), 0);
        QCOMPARE(windowsOfKind<TFHotel>(), 0);
        QCOMPARE(windowsOfKind<TFInitMSSQL>(), 0);  // both start-up windows are freed
        QCOMPARE(windowsOfKind<TFUserLogin>(), 0);
    }

    void acceptedLoginOpensTheMainWindow()
    {
        prepareDatabase();
        whenVisible<TFUserLogin>([](TFUserLogin *login) {
            login->username->setText("demo");
            login->password->setText("demo");
            login->spOK->click();
        });
        whenVisible<TFHotel>([this](TFHotel *main) {
            m_seen = openChildren(main);
            m_seen.prepend(main->windowTitle());
            main->close();
        });
        QCOMPARE(KalvCM::RunEntry(*static_cast<TKalvApplication *>(qApp)), 0);
        QCOMPARE(m_seen, QStringList({msgMainWindowTitle}));
        QCOMPARE(KalvCLientInfo().LoginName, QString("demo"));
        QTRY_COMPARE(windowsOfKind<TFHotel>(), 0);
    }

    void registrationLinksAreRefusedOnceAnOperatorExists()
    {
        prepareDatabase();
        StartWithNewOperator = StartWithNewHotel = false;
        QStringList boxes;
        int resultAfterLinks = -1;
        whenVisible<TFUserLogin>([&](TFUserLogin *login) {
            MessageBoxRecorder recorder;
            login->acUserLoginRegisterNewUser->trigger();
            QTest::mouseClick(login->lInfoCreateNewUserAndHotel, Qt::LeftButton);
            boxes = recorder.Texts();
            resultAfterLinks = login->ModalResult();
            login->acClose->trigger();
        });
        QCOMPARE(KalvCM::RunEntry(*static_cast<TKalvApplication *>(qApp)), 0);
        QCOMPARE(boxes, QStringList({msgRegistrationClosed, msgRegistrationClosed}));
        QCOMPARE(resultAfterLinks, int(mrNone));  // nobody got in
        QVERIFY(!StartWithNewOperator && !StartWithNewHotel);
        QCOMPARE(windowsOfKind<TFHotel>(), 0);
    }

    void registrationLinksOpenTheirRegisters()
    {
        prepareDatabase(false);  // a new database: the first operator is made this way
        whenVisible<TFUserLogin>([](TFUserLogin *login) { login->acUserLoginRegisterNewHotel->trigger(); });
        whenVisible<TFHotel>([this](TFHotel *main) {
            m_seen = openChildren(main);
            main->close();
        });
        QCOMPARE(KalvCM::RunEntry(*static_cast<TKalvApplication *>(qApp)), 0);
        QCOMPARE(m_seen, QStringList({"FNomHotels"}));
        QVERIFY(StartWithNewHotel);
        QTRY_COMPARE(windowsOfKind<TFHotel>(), 0);

        // The operator link; the hotel flag, once raised, stays raised for the run.
        whenVisible<TFUserLogin>([](TFUserLogin *login) { login->acUserLoginRegisterNewUser->trigger(); });
        whenVisible<TFHotel>([this](TFHotel *main) {
            m_seen = openChildren(main);
            main->close();
        });
        QCOMPARE(KalvCM::RunEntry(*static_cast<TKalvApplication *>(qApp)), 0);
        QCOMPARE(m_seen, QStringList({"FNomOperatori", "FNomHotels"}));
        QTRY_COMPARE(windowsOfKind<TFHotel>(), 0);
    }

    // Last: closing the configuration window asks the application to terminate.
    void failedCheckOpensTheConfigurationWindowAndClosingItEnds()
    {
        StoreServerSettings(*m_home);  // settings, but no database
        DatabaseSetupRequired = false;
        bool loginSeen = false;
        whenVisible<TFUserLogin>([&](TFUserLogin *) { loginSeen = true; });
        whenVisible<TFHotel>([this](TFHotel *main) {
            m_seen = openChildren(main);
            auto *configuration = main->findChild<TFBaza *>();
            QTimer::singleShot(50, configuration, [configuration] { configuration->acFBazaClose->trigger(); });
        });
        QCOMPARE(KalvCM::RunEntry(*static_cast<TKalvApplication *>(qApp)), 0);
        QVERIFY(DatabaseSetupRequired);
        QVERIFY(!loginSeen);
        QCOMPARE(m_seen.value(0), QString("FBaza"));  // then the registers the earlier links asked for
        QVERIFY(IsTerminateRequested());
    }
};

KALV_TEST_MAIN(TestEntry)
#include "tst_entry.moc"
