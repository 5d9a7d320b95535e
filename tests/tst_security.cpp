// Who gets in and what they may do: hashed passwords, slowed guessing, password rules, operators
// deactivated rather than deleted, and the fifty rights enforced at the menus and at each operation.

#include "TestHarness.h"
#include "data/UAdoDb.h"
#include "data/UDM.h"
#include "desk/UFrontDesk.h"
#include "data/URegistry.h"
#include "desk/UOperators.h"
#include "desk/URights.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesSecurity.h"
#include "startup/UConstMessagesStay.h"
#include "windows/Hotel.h"
#include "windows/UNomOperatori.h"
#include "windows/UNomStai.h"
#include "windows/UParola.h"
#include "windows/UFolio.h"
#include "windows/UReport.h"
#include "desk/UReports.h"
#include <QTabWidget>
#include "windows/USigurnost.h"
#include "windows/UUserLogin.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QProcess>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

namespace {

QString rightsWithout(std::initializer_list<int> positions)
{
    QString rights = Rights::Full();
    for (int position : positions)
        rights[position - 1] = QLatin1Char('0');
    return rights;
}

QString rightsWith(std::initializer_list<int> positions)
{
    QString rights = Rights::None();
    for (int position : positions)
        rights[position - 1] = QLatin1Char('1');
    return rights;
}

} // namespace

class TestSecurity : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;

    TADOConnection &connection() { return m_db->Connection(); }
    void exec(const QString &sql, const QVariantList &values = {}) { m_db->Exec(sql, values); }
    QStringList rows(const QString &sql) { return m_db->Rows(sql); }
    int addOperator(const QString &user, const QString &stored, const QString &rights = Rights::Full())
    {
        exec("INSERT INTO Operators (q1, q21, q75, q76, q77) VALUES (1, ?, ?, ?, ?)", {user + " N.", user, stored, rights});
        return rows("SELECT MAX(q80) FROM Operators").first().toInt();
    }
    QString stored(int id) { return rows(QString("SELECT q76 FROM Operators WHERE q80 = %1").arg(id)).value(0); }
    // One try at the login window, typed and clicked; the message shown, if any.
    QString typeLogin(TFUserLogin &login, const QString &user, const QString &password)
    {
        login.username->clear();
        login.password->clear();
        QTest::keyClicks(login.username, user);
        QTest::keyClicks(login.password, password);
        MessageBoxRecorder boxes;
        QTest::mouseClick(login.spOK, Qt::LeftButton);
        return boxes.Texts().value(0);
    }
    // Runs the workstations at one moment; their lines of output, in the order given.
    QStringList workstations(const QList<QStringList> &commands)
    {
        const qint64 start = QDateTime::currentMSecsSinceEpoch() + 2500;  // every process is up by then
        std::vector<std::unique_ptr<QProcess>> processes;
        for (QStringList arguments : commands) {
            auto process = std::make_unique<QProcess>();
            process->setProcessEnvironment(m_db->Home().ProcessEnvironment());
            arguments.insert(1, m_db->Home().DataFolderPath());
            arguments.append(QString::number(start));
            process->start(TestHome::BuildBinFolder() + "kalv_workstation", arguments);
            processes.push_back(std::move(process));
        }
        QStringList lines;
        for (auto &process : processes) {
            if (!process->waitForFinished(60000))
                return {"hung"};
            lines.append(QString::fromUtf8(process->readAllStandardOutput()).trimmed());
        }
        return lines;
    }
    std::unique_ptr<TFHotel> mainWindow()
    {
        auto window = std::make_unique<TFHotel>();
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->InitializeWindow();
        return window;
    }

private slots:
    void initTestCase() { FillCatalogue(slEnglish); }
    void init() { m_db = std::make_unique<TestDatabase>(); }
    void cleanup()
    {
        m_db.reset();
        Operators::SetNow(QDateTime());
    }

    void passwordsAreStoredAsArgon2idHashes()
    {
        const QString hash = Operators::HashPassword("Тайна парола 1");
        QVERIFY(hash.startsWith("$argon2id$"));
        QVERIFY(Operators::IsHashed(hash));
        QVERIFY(Operators::VerifyPassword(hash, "Тайна парола 1"));
        QVERIFY(!Operators::VerifyPassword(hash, "тайна парола 1"));  // exactly, letter case included
        QVERIFY(hash != Operators::HashPassword("Тайна парола 1"));     // salted
        QVERIFY(Operators::VerifyPassword("plain", "plain"));
        QVERIFY(!Operators::VerifyPassword("plain", "plain "));
        QVERIFY(!Operators::VerifyPassword(QString(), QString()));  // no stored password lets nobody in
    }

    void aPlainPasswordLogsInOnceAndIsReplacedByItsHash()
    {
        const int id = addOperator("ivan", "old-plain");
        TFUserLogin login;
        QVERIFY(login.InitializeWindow());
        QCOMPARE(typeLogin(login, "ivan", "old-plain"), QString());
        QCOMPARE(login.ModalResult(), int(mrOk));
        QCOMPARE(Rights::CurrentOperator(), id);
        QVERIFY(Operators::IsHashed(stored(id)));
        QVERIFY(!stored(id).contains("old-plain"));
        // The same password logs in through its hash; nothing else changed for the user.
        TFUserLogin again;
        QVERIFY(again.InitializeWindow());
        QCOMPARE(typeLogin(again, "IVAN", "old-plain"), QString());
        QCOMPARE(again.ModalResult(), int(mrOk));
        QCOMPARE(typeLogin(again, "ivan", "Old-plain"), msgWrongUserPassword);
        QVERIFY(!connection().InTransaction());
    }

    void guessingIsRefusedForAWhileAfterFiveFailures()
    {
        const int id = addOperator("maria", Operators::HashPassword("right password"));
        QDateTime now(QDate(2026, 12, 10), QTime(9, 0));
        Operators::SetNow(now);
        TFUserLogin login;
        QVERIFY(login.InitializeWindow());
        for (int i = 0; i < 5; ++i)
            QCOMPARE(typeLogin(login, "maria", QString("guess %1").arg(i)), msgWrongUserPassword);
        // The sixth try is refused, the right password too, and the message says for how long.
        const QString refused = typeLogin(login, "MARIA", "right password");
        QCOMPARE(refused, msgLoginThrottled.arg(WaitText(30)));
        QCOMPARE(login.ModalResult(), int(mrNone));
        // The count is the database's, so every workstation sees it.
        QCOMPARE(rows("SELECT q153 FROM NeuspeshniVhodove"), QStringList({"5"}));
        // One row for the refused burst, none for each refused try.
        QCOMPARE(rows("SELECT q147 FROM Dnevnik").filter("refused for").size(), 1);
        QCOMPARE(rows(QString("SELECT COUNT(*) FROM Dnevnik WHERE q146 = %1 AND q147 = '%2'").arg(id).arg(msgLogLoginRefused)),
                 QStringList({"5"}));

        Operators::SetNow(now.addSecs(31));
        QCOMPARE(typeLogin(login, "maria", "guess 6"), msgWrongUserPassword);
        QCOMPARE(typeLogin(login, "maria", "right password"), msgLoginThrottled.arg(WaitText(60)));
        Operators::SetNow(now.addSecs(31 + 61));
        QCOMPARE(typeLogin(login, "maria", "right password"), QString());
        QCOMPARE(login.ModalResult(), int(mrOk));
        QCOMPARE(rows("SELECT COUNT(*) FROM NeuspeshniVhodove"), QStringList({"0"}));  // a success resets it
    }

    void threeHundredGuessesTakeHours()
    {
        addOperator("target", "the real one, long");  // plain: the count is what is tried here
        QDateTime now(QDate(2026, 12, 10), QTime(9, 0));
        Operators::SetNow(now);
        const QDateTime start = now;
        int guesses = 0;
        while (guesses < 300) {
            const Operators::TLogin attempt = Operators::LogIn("target", QString("guess %1").arg(guesses));
            if (attempt.Outcome == Operators::loRefusedForNow) {
                now = now.addSecs(attempt.WaitSeconds);  // the guesser waits exactly as long as told
                Operators::SetNow(now);
                continue;
            }
            QCOMPARE(int(attempt.Outcome), int(Operators::loWrong));
            ++guesses;
        }
        QVERIFY2(start.secsTo(now) > 60 * 3600, qPrintable(QString::number(start.secsTo(now))));
        QCOMPARE(Operators::RefusalSeconds(4), 0);
        QCOMPARE(Operators::RefusalSeconds(5), 30);
        QCOMPARE(Operators::RefusalSeconds(6), 60);
        QCOMPARE(Operators::RefusalSeconds(10), 900);
        QCOMPARE(Operators::RefusalSeconds(300), 900);
    }

    void aFailedLoginNeverLogsWhatWasTyped()
    {
        addOperator("ivan", Operators::HashPassword("correct horse"));
        TFUserLogin login;
        QVERIFY(login.InitializeWindow());
        // The password typed into the user-name box.
        QCOMPARE(typeLogin(login, "correct horse", ""), msgWrongUserPassword);
        QCOMPARE(typeLogin(login, "ivan", "wrong one here"), msgWrongUserPassword);
        const QStringList logged = rows("SELECT q147 FROM Dnevnik ORDER BY q143");
        QCOMPARE(logged, QStringList({msgLogUnknownUser, msgLogLoginRefused}));
        for (const QString &text : rows("SELECT q75 FROM NeuspeshniVhodove"))
            QVERIFY(text == "ivan" || text == "correct horse");  // counted per name, never logged
    }

    void workstationsGuessingAtOnceShareOneCount_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("two") << 2;
        QTest::newRow("four") << 4;
    }
    void workstationsGuessingAtOnceShareOneCount()
    {
        QFETCH(int, count);
        const int id = addOperator("maria", "the right password");
        // Four failures counted by workstations at once: none lost.
        QList<QStringList> four;
        for (int i = 0; i < 4; ++i)
            four.append({"login", "maria", QString("guess %1").arg(i)});
        QCOMPARE(count == 4 ? workstations(four) : workstations(four.mid(0, 2)) + workstations(four.mid(2)),
                 QStringList({"wrong", "wrong", "wrong", "wrong"}));
        QCOMPARE(rows("SELECT q153 FROM NeuspeshniVhodove"), QStringList({"4"}));
        // The fifth failure starts the refusal: the others at the same moment are refused, even the
        // right password, and the burst is logged once.
        QList<QStringList> burst;
        for (int i = 0; i < count; ++i)
            burst.append({"login", "maria", i == 0 ? QString("guess 5") : QString("the right password")});
        const QStringList outcomes = workstations(burst);
        for (const QString &outcome : outcomes)
            QVERIFY2(outcome == "accepted" || outcome == "wrong" || outcome == "refused", qPrintable(outcome));
        // The workstations speak Bulgarian: the burst's row in their words.
        const QStringList logged = rows(QString("SELECT q147 FROM Dnevnik WHERE q146 = %1").arg(id));
        const int bursts = int(logged.filter("забранен за").size());
        QVERIFY(bursts <= 1);
        if (outcomes.count("refused") > 0) {
            // The wrong guess came first: it began the refusal, which held every try after it.
            QCOMPARE(bursts, 1);
            QCOMPARE(outcomes.count("wrong"), 1);
            QCOMPARE(outcomes.count("refused"), count - 1);
            QCOMPARE(rows("SELECT q153 FROM NeuspeshniVhodove"), QStringList({"5"}));
        } else {
            QCOMPARE(bursts, 0);  // a right password came first and reset the count
        }
        QCOMPARE(int(logged.filter("грешна парола").size()), 4 + int(outcomes.count("wrong")));
    }

    void twoAdministratorsDeactivatingEachOtherLeaveOne()
    {
        for (int round = 0; round < 3; ++round) {
            exec("DELETE FROM Operators");
            const int a = addOperator("anna", "x"), b = addOperator("boris", "x");
            const QStringList outcomes =
                workstations({{"deactivate", QString::number(a), QString::number(b)},
                              {"deactivate", QString::number(b), QString::number(a)}});
            QCOMPARE(outcomes.count("done"), 1);
            QCOMPARE(rows("SELECT COUNT(*) FROM Operators WHERE q151 IS NULL OR q151 = 0"), QStringList({"1"}));
        }
    }

    void passwordRules()
    {
        QCOMPARE(Operators::PasswordProblem("ivan", "short", "short"), msgPasswordTooShort.arg(10));
        QCOMPARE(Operators::PasswordProblem("ivan.petrov", "IVAN.PETROV", "IVAN.PETROV"), msgPasswordIsUserName);
        QCOMPARE(Operators::PasswordProblem("ivan", "0123456789", "0123456788"), msgPasswordsDiffer);
        QCOMPARE(Operators::PasswordProblem("ivan", "0123456789", "0123456789"), QString());
    }

    void anOperatorChangesTheirOwnPassword()
    {
        const int id = addOperator("ivan", Operators::HashPassword("first password"));
        Rights::SetCurrent(id, Rights::Full());
        TFParola window(TFParola::pmOwn);
        QVERIFY(window.InitializeWindow());
        QVERIFY(window.edParolaCurrent->isVisible() || !window.isVisible());
        auto attempt = [&](const QString &current, const QString &password, const QString &repeated) {
            for (QLineEdit *box : {window.edParolaCurrent, window.edParolaNew, window.edParolaRepeat})
                box->clear();
            QTest::keyClicks(window.edParolaCurrent, current);
            QTest::keyClicks(window.edParolaNew, password);
            QTest::keyClicks(window.edParolaRepeat, repeated);
            MessageBoxRecorder boxes;
            QTest::mouseClick(window.btParolaSave, Qt::LeftButton);
            return boxes.Texts().value(0);
        };
        QCOMPARE(attempt("wrong", "a new password", "a new password"), msgCurrentPasswordWrong);
        QCOMPARE(attempt("first password", "too short", "too short"), msgPasswordTooShort.arg(10));
        QCOMPARE(attempt("first password", "a new password", "a new passwort"), msgPasswordsDiffer);
        QVERIFY(Operators::VerifyPassword(stored(id), "first password"));  // refusals changed nothing
        QCOMPARE(attempt("first password", "a new password", "a new password"), msgPasswordChanged);
        QCOMPARE(window.ModalResult(), int(mrOk));
        QVERIFY(Operators::VerifyPassword(stored(id), "a new password"));
        QVERIFY(!connection().InTransaction());
    }

    void aPasswordSetByAnotherMustBeChangedAtTheNextLogin()
    {
        const int admin = addOperator("admin", Operators::HashPassword("admin password"));
        const int clerk = addOperator("clerk", Operators::HashPassword("clerk password"), rightsWithout({1, 22}));
        // A clerk may not set another's password.
        Rights::SetCurrent(clerk, rightsWithout({1, 22}));
        QVERIFY_THROWS_EXCEPTION(ERightRefused, Operators::SetPassword(admin, "0123456789", "0123456789", false));
        Rights::SetCurrent(admin, Rights::Full());
        {
            TFParola window(TFParola::pmOther, clerk);
            QVERIFY(window.InitializeWindow());
            QVERIFY(window.cbParolaChangeAtLogin->isChecked());
            QTest::keyClicks(window.edParolaNew, "temporary pass");
            QTest::keyClicks(window.edParolaRepeat, "temporary pass");
            MessageBoxRecorder boxes;
            QTest::mouseClick(window.btParolaSave, Qt::LeftButton);
            QCOMPARE(boxes.Texts(), QStringList({msgPasswordChanged}));
        }
        QCOMPARE(rows(QString("SELECT q152 FROM Operators WHERE q80 = %1").arg(clerk)), QStringList({"1"}));
        Rights::ClearCurrent();
        // The login asks for a new password before it lets the clerk in.
        TFUserLogin login;
        QVERIFY(login.InitializeWindow());
        QTimer::singleShot(50, [] {
            for (QWidget *widget : QApplication::topLevelWidgets())
                if (auto *window = qobject_cast<TFParola *>(widget); window && window->isVisible()) {
                    QTest::keyClicks(window->edParolaNew, "clerk's own 2026");
                    QTest::keyClicks(window->edParolaRepeat, "clerk's own 2026");
                    QTest::mouseClick(window->btParolaSave, Qt::LeftButton);
                }
        });
        const QString said = typeLogin(login, "clerk", "temporary pass");
        QCOMPARE(said, msgMustChangePassword);
        QCOMPARE(login.ModalResult(), int(mrOk));
        QCOMPARE(Rights::CurrentOperator(), clerk);
        QCOMPARE(rows(QString("SELECT q152 FROM Operators WHERE q80 = %1").arg(clerk)), QStringList({"0"}));
        QVERIFY(Operators::VerifyPassword(stored(clerk), "clerk's own 2026"));
    }

    void deactivatedOperatorsStayButCannotLogIn()
    {
        const int admin = addOperator("admin", Operators::HashPassword("admin password"));
        const int clerk = addOperator("clerk", Operators::HashPassword("clerk password"), rightsWithout({22}));
        Rights::SetCurrent(admin, Rights::Full());
        Operators::SetActive(clerk, false);
        TFUserLogin login;
        QVERIFY(login.InitializeWindow());
        QCOMPARE(typeLogin(login, "clerk", "clerk password"), msgOperatorDeactivated);
        QCOMPARE(login.ModalResult(), int(mrNone));
        QCOMPARE(rows("SELECT COUNT(*) FROM Operators"), QStringList({"2"}));  // kept: the log names them
        // The last active operator who may change rights can be neither deactivated nor stripped.
        QVERIFY_THROWS_EXCEPTION(EOperatorRefused, Operators::SetActive(admin, false));
        QVERIFY_THROWS_EXCEPTION(EOperatorRefused, Operators::SaveRights(admin, rightsWithout({22})));
        QVERIFY_THROWS_EXCEPTION(EOperatorRefused, Operators::SaveRights(admin, rightsWithout({35})));
        QCOMPARE(rows(QString("SELECT q77 FROM Operators WHERE q80 = %1").arg(admin)), QStringList({Rights::Full()}));
        Operators::SetActive(clerk, true);
        QCOMPARE(typeLogin(login, "clerk", "clerk password"), QString());
        QCOMPARE(login.ModalResult(), int(mrOk));
    }

    void nobodyGrantsARightTheyDoNotHold()
    {
        // Today's hole: an operator without rights makes an operator with every right, or raises their own.
        addOperator("admin", Operators::HashPassword("admin password"));
        const int clerk = addOperator("clerk", Operators::HashPassword("clerk password"), rightsWith({1, 22, 35}));
        Rights::SetCurrent(clerk, rightsWith({1, 22, 35}));
        QVERIFY_THROWS_EXCEPTION(EOperatorRefused, Operators::SaveRights(clerk, Rights::Full()));
        QCOMPARE(Operators::RightsForNewOperator(), rightsWith({1, 22, 35}));
        // Taking away what one holds is allowed.
        Operators::SaveRights(clerk, rightsWith({1, 35}));
        QCOMPARE(rows(QString("SELECT q77 FROM Operators WHERE q80 = %1").arg(clerk)), QStringList({rightsWith({1, 35})}));

        // Through the windows: the operators register gives the creator's rights, hashed password.
        Rights::SetCurrent(clerk, rightsWith({1, 22, 35}));
        exec("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски')");
        InstallDeliveredProcedures({"proc_SaveNewOperator", "proc_OpenOperator"});
        TFNomOperatori window;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(window.InitializeWindow());
        window.show();
        QVERIFY(TypeInto(window.Edit1, "New One"));
        QVERIFY(ChooseFromDropDown(window.ComboBox1, "Морски"));
        QVERIFY(TypeInto(window.Edit7, "newone"));
        QVERIFY(TypeInto(window.Edit8, "short"));
        QVERIFY(TypeInto(window.Edit9, "short"));
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window.acFNomOperatoriSave));
            QCOMPARE(boxes.Texts(), QStringList({msgPasswordTooShort.arg(10)}));
        }
        QCOMPARE(rows("SELECT COUNT(*) FROM Operators WHERE q75 = 'newone'"), QStringList({"0"}));
        QVERIFY(TypeInto(window.Edit8, "a long enough one"));
        QVERIFY(TypeInto(window.Edit9, "a long enough one"));
        QVERIFY(ClickCommand(window.acFNomOperatoriSave));
        const QStringList made = rows("SELECT q76, q77 FROM Operators WHERE q75 = 'newone'");
        QCOMPARE(made.size(), 1);
        QVERIFY(Operators::VerifyPassword(made.first().section('|', 0, 0), "a long enough one"));
        QCOMPARE(made.first().section('|', 1), rightsWith({1, 22, 35}));
        // The same user name twice is refused.
        MessageBoxRecorder boxes;
        QVERIFY(ClickCommand(window.acFNomOperatoriSave));
        QCOMPARE(boxes.Texts().value(0), msgUserNameTaken.arg("newone"));
        QCOMPARE(rows("SELECT COUNT(*) FROM Operators WHERE q75 = 'newone'"), QStringList({"1"}));
    }

    void anOperatorIsEditedInTheRegister()
    {
        exec("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски'), (2, 'Планински')");
        InstallDeliveredProcedures({"proc_SaveNewOperator", "proc_OpenOperator"});
        const int id = addOperator("ivan", Operators::HashPassword("ivan's password"));
        addOperator("maria", Operators::HashPassword("maria's password"));
        TFNomOperatori window;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(window.InitializeWindow());
        window.show();
        QTest::mouseClick(window.Grid()->viewport(), Qt::LeftButton, {},
                          window.Grid()->visualRect(window.GridModel()->index(0, 1)).center());
        QCOMPARE(window.SelectedOperator(), id);
        QVERIFY(RightClick(window.Grid()->viewport(), window.Grid()->visualRect(window.GridModel()->index(0, 1)).center()));
        QVERIFY(ChooseFromMenu(window.PopupMenu1Operatori, window.PopupMenu1Operatori->actions().at(2)));
        QCOMPARE(window.Edit7->text(), QString("ivan"));
        QVERIFY(window.Edit8->text().isEmpty());
        QVERIFY(TypeInto(window.Edit1, "Иван Петров"));
        QVERIFY(ChooseFromDropDown(window.ComboBox1, "Планински"));
        {
            // Another operator's user name is refused; nothing changes.
            QVERIFY(TypeInto(window.Edit7, "MARIA"));
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window.acFNomOperatoriSave));
            QVERIFY(boxes.Texts().value(0).endsWith(msgUserNameTaken.arg("MARIA")));
            QCOMPARE(rows(QString("SELECT q21 FROM Operators WHERE q80 = %1").arg(id)), QStringList({"ivan N."}));
        }
        QVERIFY(TypeInto(window.Edit7, "ivan"));
        MessageBoxRecorder boxes;
        QVERIFY(ClickCommand(window.acFNomOperatoriSave));
        QCOMPARE(boxes.Texts(), QStringList({msgOperatorSaved}));
        QCOMPARE(rows(QString("SELECT q1, q21, q75 FROM Operators WHERE q80 = %1").arg(id)),
                 QStringList({"2|Иван Петров|ivan"}));
        QVERIFY(Operators::VerifyPassword(stored(id), "ivan's password"));  // an edit keeps the password
        QCOMPARE(rows("SELECT COUNT(*) FROM Operators"), QStringList({"2"}));
    }

    void everyCommandNeedsItsRight()
    {
        auto window = mainWindow();
        MessageBoxRecorder boxes;
        int checked = 0;
        for (const Rights::TCommandRight &entry : Rights::CommandRights()) {
            QAction *action = window->Action(QLatin1String(entry.Command));
            if (!action)
                continue;
            Rights::SetCurrent(1, Rights::Full());
            window->ApplyRights();
            const bool built = action->isEnabled();  // a few commands have no window yet
            if (entry.Right == Rights::rNone) {
                Rights::SetCurrent(1, Rights::None());
                window->ApplyRights();
                QCOMPARE(action->isEnabled(), built);
                continue;
            }
            // Without the right: greyed, saying why, and refused however it is reached.
            Rights::SetCurrent(1, rightsWithout({entry.Right}));
            window->ApplyRights();
            QVERIFY2(!action->isEnabled(), entry.Command);
            if (built)
                QCOMPARE(action->toolTip(), Rights::RefusalText(entry.Right));
            const int shown = boxes.Boxes().size();
            window->RunCommand(QLatin1String(entry.Command));
            QCOMPARE(boxes.Boxes().size(), shown + 1);
            QCOMPARE(boxes.Texts().last(), Rights::RefusalText(entry.Right));
            // With only that right (and the login's): enabled when the command has a window at all.
            Rights::SetCurrent(1, rightsWith({entry.Right, Rights::rLogIn}));
            window->ApplyRights();
            QCOMPARE(action->isEnabled(), built);
            QCOMPARE(window->MdiArea->subWindowList().size(), 0);  // nothing opened while refused
            // And allowed: it runs (the switch of operator and the exit are tried elsewhere).
            if (built && entry.Command != QByteArray("actOperChangeOperator")) {
                QSignalSpy ran(window.get(), &TFHotel::CommandRun);
                window->RunCommand(QLatin1String(entry.Command));
                QCOMPARE(ran.size(), 1);
                QVERIFY2(!boxes.Texts().mid(shown + 1).contains(Rights::RefusalText(entry.Right)), entry.Command);
                for (QMdiSubWindow *frame : window->MdiArea->subWindowList())
                    frame->close();
                QTRY_COMPARE(window->MdiArea->subWindowList().size(), 0);
            }
            ++checked;
        }
        QVERIFY(checked >= 35);
        // Every command of the main window is in the table.
        for (QAction *action : window->findChildren<QAction *>())
            if (action->objectName().startsWith("act"))
                QVERIFY2(Rights::IsKnownCommand(action->objectName()), qPrintable(action->objectName()));
        // The search box and the board's context menu too.
        Rights::SetCurrent(1, rightsWithout({Rights::rReservation}));
        window->ApplyRights();
        QVERIFY(!window->EditSearchMain->isEnabled());
        for (QAction *item : window->PopupMenu1Operacii->actions())
            QCOMPARE(item->isEnabled(), item->objectName() != "popupReservation");
    }

    void operationsCheckTheirRightAtTheirEntry()
    {
        exec("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски')");
        exec("INSERT INTO Rooms (q44, q1, q46, q129) VALUES ('101', 1, 50, 0)");
        FrontDesk::SetToday(QDate(2027, 3, 1));
        Rights::SetCurrent(0, rightsWithout({Rights::rCheckIn}));
        FrontDesk::TGuest guest{"Гост", "7501010000", "", "Варна", "България", ""};
        QVERIFY_THROWS_EXCEPTION(ERightRefused, FrontDesk::WalkIn(1, QDate(2027, 3, 3), guest, QVariant(), true));
        QCOMPARE(rows("SELECT COUNT(*) FROM Klients"), QStringList({"0"}));
        QVERIFY(!connection().InTransaction());
        Rights::SetCurrent(0, rightsWith({Rights::rCheckIn}));
        const int booking = FrontDesk::WalkIn(1, QDate(2027, 3, 3), guest, QVariant(), true);
        QVERIFY_THROWS_EXCEPTION(ERightRefused,
                                 FrontDesk::TakePayment(booking, FrontDesk::pkPayment, FrontDesk::pmCash, TDecimal(10), {}));
        QVERIFY_THROWS_EXCEPTION(ERightRefused, FrontDesk::CheckOutBooking(booking, true));
        QVERIFY_THROWS_EXCEPTION(ERightRefused, FrontDesk::SetRoomStates({1}, FrontDesk::rsOutOfService, "x", {}, {}));
        FrontDesk::SetRoomStates({1}, FrontDesk::rsClean, {}, {}, {});  // housekeeping is check-in's
        // The folio greys what the operator may not do, whatever the stay allows.
        for (bool allowed : {false, true}) {
            Rights::SetCurrent(0, allowed ? Rights::Full() : rightsWith({Rights::rCheckIn}));
            TFFolio folio;
            folio.setAttribute(Qt::WA_DeleteOnClose, false);
            folio.SetBooking(booking);
            QVERIFY(folio.InitializeWindow());
            QCOMPARE(folio.acFolioPayment->isEnabled(), allowed);
            QCOMPARE(folio.acFolioPayment->toolTip() == Rights::RefusalText(Rights::rCharges), !allowed);
        }
        Rights::SetCurrent(0, rightsWith({Rights::rCheckIn}));
        QCOMPARE(rows("SELECT COUNT(*) FROM Plashtania"), QStringList({"0"}));
        Rights::ClearCurrent();  // nobody logged in: nothing at all
        QVERIFY_THROWS_EXCEPTION(ERightRefused, FrontDesk::CancelBooking(booking));
        FrontDesk::SetToday(QDate());
    }

    void registerSavesCheckTheirRight()
    {
        exec("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски')");
        Rights::SetCurrent(0, rightsWithout({Rights::rRooms}));
        TFNomStai window;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(window.InitializeWindow());
        window.show();
        QVERIFY(ChooseFromDropDown(window.ComboBox3, "Морски"));
        QVERIFY(TypeInto(window.Edit1, "101"));
        MessageBoxRecorder boxes;
        QVERIFY(ClickCommand(window.acFNomStaiSave));
        QCOMPARE(boxes.Texts().value(0), Rights::RefusalText(Rights::rRooms));
        QCOMPARE(rows("SELECT COUNT(*) FROM Rooms"), QStringList({"0"}));
    }

    void reportsCheckTheirRight()
    {
        const Reports::TDefinition *arrivals = Reports::DefinitionOfAction("actReportPrisitgashti");
        QVERIFY(arrivals);
        for (bool allowed : {false, true}) {
            Rights::SetCurrent(0, allowed ? rightsWith({Rights::rReportArrivals}) : rightsWithout({Rights::rReportArrivals}));
            TFReport window(*arrivals);
            window.setAttribute(Qt::WA_DeleteOnClose, false);
            MessageBoxRecorder boxes;
            window.InitializeWindow();
            QTRY_VERIFY(!window.Running());
            QCOMPARE(boxes.Texts(), allowed ? QStringList() : QStringList({Rights::RefusalText(Rights::rReportArrivals)}));
            QCOMPARE(window.pcReport->count() > 0, allowed);  // refused: no figure shown
        }
    }

    void theRightsEditorSaysWhenChangesTakeEffect()
    {
        addOperator("admin", Operators::HashPassword("admin password"));
        TFSigurnost window;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(window.InitializeWindow());
        QCOMPARE(window.lRightsTakeEffect->text(), msgRightsTakeEffect);
    }
};

KALV_TEST_MAIN(TestSecurity)
#include "tst_security.moc"
