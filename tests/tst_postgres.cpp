// The PostgreSQL engine on a real server the test starts itself: creation, comparisons as the
// original server made them, the start-up check, the configuration window and kalvhotel-admin.

#include "TestHarness.h"
#include "desk/UOperators.h"
#include "admin/UBaza.h"
#include "admin/UDatabaseSetup.h"
#include "admin/UInitMSSQL.h"
#include "data/UADOComunicationControl.h"
#include "data/UDM.h"
#include "data/UDbSchema.h"
#include "data/UPostgresEngine.h"
#include "data/URegistry.h"
#include "framework/UMainLibraryClass.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesDesk.h"
#include "windows/Hotel.h"
#include "windows/URoomBoard.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <unistd.h>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QToolButton>
#include <QtTest>
#include <memory>

namespace {

void openssl(const QString &folder, const QStringList &arguments)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start("openssl", arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        throw std::runtime_error(("openssl " + arguments.join(' ') + ": " + process.readAll()).toStdString());
}

// A test CA, a server certificate it signed for "localhost" only, and a self-signed one.
void makeCertificates(const QString &folder)
{
    openssl(folder, {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=Test Hotel CA",
                     "-keyout", "ca.key", "-out", "ca.crt"});
    openssl(folder, {"req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=localhost", "-keyout", "server.key",
                     "-out", "server.csr"});
    QFile extensions(folder + "/san.ext");
    extensions.open(QIODevice::WriteOnly);
    extensions.write("subjectAltName=DNS:localhost\n");
    extensions.close();
    openssl(folder, {"x509", "-req", "-in", "server.csr", "-CA", "ca.crt", "-CAkey", "ca.key", "-CAcreateserial",
                     "-days", "2", "-extfile", "san.ext", "-out", "server.crt"});
    openssl(folder, {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=localhost",
                     "-addext", "subjectAltName=DNS:localhost", "-keyout", "self.key", "-out", "self.crt"});
    openssl(folder, {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=Other CA",
                     "-keyout", "other.key", "-out", "other.crt"});
}

} // namespace

class TestPostgresEngine : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestHome> m_home;
    std::unique_ptr<TDM> m_dm;
    TestServer m_server;

    TADOConnection &connection() { return *m_dm->ADOLocalConnection; }
    QStringList rows(const QString &sql) { return QueryRows(connection(), sql); }
    QProcessEnvironment environment()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        return env;
    }
    int admin(const QStringList &arguments, const QByteArray &input = {}, QString *output = nullptr)
    {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(TestHome::BuildBinFolder() + "kalvhotel-admin", arguments);
        process.write(input);
        process.closeWriteChannel();
        process.waitForFinished(120000);
        if (output)
            *output = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
        return process.exitCode();
    }

    // Whether the program's own connection reaches the server with these settings.
    bool connects(int port, const QString &host, const QString &mode, const QString &rootCert, QString *why = nullptr)
    {
        TestServer server;
        server.Provider = "PostgreSQL";
        server.Server = QString("%1:%2").arg(host).arg(port);
        server.User = TestPostgres::User();
        server.Password = TestPostgres::Password();
        server.Database = "master";
        StoreServerSettings(*m_home, server);
        TRegistry registry;
        registry.OpenKey(SqlSettings::Key, true);
        registry.WriteString(SqlSettings::SslMode, mode);
        registry.WriteString(SqlSettings::SslRootCert, rootCert);
        connection().Close();
        TADOComunicationControl control;
        QString connectionString;
        control.BuildFromSettings("master", connectionString);
        try {
            connection().SetDefaultDatabase("master");
            connection().SetConnectionString(connectionString);
            connection().Open();
        } catch (const Exception &error) {
            if (why)
                *why = error.Message();
            return false;
        }
        const bool open = connection().Connected();
        connection().Close();
        return open;
    }

    // The program's settings pointed at a server of the test's own, and a database made there.
    bool createOn(const TestPostgres &server, const QString &database)
    {
        TestServer settings;
        settings.Provider = "PostgreSQL";
        settings.Server = QString("127.0.0.1:%1").arg(server.Port());
        settings.User = TestPostgres::User();
        settings.Password = TestPostgres::Password();
        settings.Database = database;
        StoreServerSettings(*m_home, settings);
        connection().Close();
        return DatabaseSetup::CreateDatabase(database).Outcome == DatabaseSetup::TOutcome::Done;
    }

private slots:
    void anotherMachineIsTrustedOnlyWhenItProvesItsName()
    {
        QCOMPARE(TPostgresEngine::EffectiveSslMode("db.hotel.lan", ""), QString("verify-full"));
        QCOMPARE(TPostgresEngine::EffectiveSslMode("192.168.1.20", ""), QString("verify-full"));
        QCOMPARE(TPostgresEngine::EffectiveSslMode("localhost", ""), QString("prefer"));
        QCOMPARE(TPostgresEngine::EffectiveSslMode("127.0.0.1", ""), QString("prefer"));
        QCOMPARE(TPostgresEngine::EffectiveSslMode("/var/run/postgresql", ""), QString("prefer"));
        QCOMPARE(TPostgresEngine::EffectiveSslMode("db.hotel.lan", "require"), QString("require"));
        QVERIFY(TPostgresEngine::ConnectOptions("h", "", "/etc/ca's.crt").endsWith("sslrootcert='/etc/ca\\'s.crt'"));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, TPostgresEngine::ConnectOptions("h", "sometimes", ""));
    }

    void verifiedTlsToAServerWithATestCertificate()
    {
        TestPostgres tls({"ssl=on", "ssl_cert_file=server.crt", "ssl_key_file=server.key"}, false);
        const QString certificates = m_home->Root() + "certificates";
        QDir().mkpath(certificates);
        makeCertificates(certificates);
        const QString data = tls.Folder() + "/data/";
        for (const char *file : {"server.crt", "server.key"}) {
            QFile::copy(certificates + "/" + file, data + file);
            QFile::setPermissions(data + file, QFile::ReadOwner | QFile::WriteOwner);
        }
        if (::geteuid() == 0)
            QCOMPARE(QProcess::execute("chown", {"postgres:postgres", data + "server.crt", data + "server.key"}), 0);
        tls.Start();
        const QString ca = certificates + "/ca.crt";
        QString why;
        QVERIFY2(connects(tls.Port(), "localhost", "verify-full", ca, &why), qPrintable(why));
        QVERIFY(!connects(tls.Port(), "127.0.0.1", "verify-full", ca, &why));  // not the name it proves
        QVERIFY(!connects(tls.Port(), "localhost", "verify-full", certificates + "/other.crt"));
        QVERIFY(connects(tls.Port(), "localhost", "require", ""));
        // The same server with a certificate nobody vouches for.
        for (const QString &file : {QString("server.crt"), QString("server.key")}) {
            QFile::remove(data + file);
            QFile::copy(certificates + "/self" + file.mid(6), data + file);
            QFile::setPermissions(data + file, QFile::ReadOwner | QFile::WriteOwner);
        }
        if (::geteuid() == 0)
            QCOMPARE(QProcess::execute("chown", {"postgres:postgres", data + "server.crt", data + "server.key"}), 0);
        tls.Reload();
        QTest::qWait(500);
        QVERIFY(!connects(tls.Port(), "localhost", "verify-full", ca));

        // A server without TLS: refused unless the mode allows a plain connection.
        const int plain = TestPostgres::Instance().Port();
        QVERIFY(!connects(plain, "localhost", "require", ""));
        QVERIFY(!connects(plain, "localhost", "verify-full", ca));
        QVERIFY(connects(plain, "localhost", "prefer", ""));
        QVERIFY(connects(plain, "127.0.0.1", "disable", ""));
        QVERIFY(connects(plain, "127.0.0.1", "", ""));  // this machine: prefer
    }

    void aWorkstationSurvivesTheServerRestartingAndStopping()
    {
        TestPostgres server(QStringList{});
        QVERIFY(createOn(server, "survivor"));
        QList<bool> notices;
        TADOConnection::SetConnectionNotice([&](bool up) { notices.append(up); });
        int saved = 0;
        // One save; true when it was done, false when it was said not done.
        auto save = [&] {
            try {
                TTransaction transaction(connection(), true);
                connection().Execute("INSERT INTO Dnevnik (q147) VALUES ('a save')");
                transaction.Commit();
                ++saved;
                return true;
            } catch (const EDatabaseConnectionLost &) {
                connection().RollbackIfOpen();
                return false;
            }
        };
        QVERIFY(save());
        server.Stop();
        server.StartAgain();  // restarted at once: the next save connects again by itself
        QVERIFY(save());
        QCOMPARE(notices, QList<bool>({false, true}));
        server.Stop();  // away for a while: said not done, never done
        QVERIFY(!save());
        QVERIFY(!save());
        server.StartAgain();
        // The failed tries spaced the next one out by a few seconds at most.
        QElapsedTimer backOff;
        backOff.start();
        while (!save() && backOff.elapsed() < 6000)
            QTest::qWait(100);
        QVERIFY(backOff.elapsed() < 5000);
        QCOMPARE(notices, QList<bool>({false, true, false, true}));  // once each way
        TTransaction look(connection());
        QCOMPARE(rows("SELECT COUNT(*) FROM Dnevnik WHERE q147 = 'a save'"), QStringList({QString::number(saved)}));
        look.Commit();
        QCOMPARE(saved, 3);
        TADOConnection::SetConnectionNotice({});
        connection().Close();
    }

    void twoWorkstationsThroughATenSecondOutage()
    {
        // One workstation charges on and on in a process of its own; this one idles on the board.
        TestPostgres server(QStringList{});
        QVERIFY(createOn(server, "outage"));
        const QDate today = QDate::currentDate();
        connection().Execute("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски')");
        connection().Execute("INSERT INTO Rooms (q44, q1, q81, q82, q83, q84) VALUES ('101', 1, 80, 60, 30, 10)");
        connection().Execute("INSERT INTO Uslugi (q40, q33, q51) VALUES (2.5, 'Вода', 1)");
        const int booking = connection().InsertReturningIdentity("Rezervacii", {"q1", "q29"}, "VALUES (1, 'Гост')");
        connection().Execute("INSERT INTO Klients (q1, q29, q34, q35, q47, q124, q125) VALUES (1, 'Гост', ?, ?, 1, ?, 1)",
                             {today.addDays(-1), today.addDays(2), booking});
        const QString service = connection().Column("SELECT MAX(q42) FROM Uslugi").value(0).toString();

        MessageBoxRecorder boxes;
        ErrorLogRecorder errorLogs;
        TFHotel main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.show();
        main.timerInitRoomStatus->setInterval(250);
        main.timerInitRoomStatus->start();
        QTRY_COMPARE(main.RoomBoard->Buttons("101").value(0)->Mark, 1);

        QProcess saver;
        saver.setProcessEnvironment(m_home->ProcessEnvironment());
        saver.start(TestHome::BuildBinFolder() + "kalv_workstation",
                    {"charges", m_home->DataFolderPath(), QString::number(booking), service, "24000", "200"});
        QVERIFY(saver.waitForStarted());
        QTest::qWait(4000);
        QVERIFY(main.BoardCanvas->isEnabled());
        server.Stop();
        QTRY_VERIFY_WITH_TIMEOUT(!main.BoardCanvas->isEnabled(), 5000);  // the tick found out
        QVERIFY(main.lbConnectionLost->isVisible());
        SaveShot(&main, "ConnectionLost");
        QTest::qWait(10000);
        QVERIFY(!main.BoardCanvas->isEnabled());
        server.StartAgain();
        QTRY_VERIFY_WITH_TIMEOUT(main.BoardCanvas->isEnabled(), 10000);  // back by itself, no click
        QVERIFY(!main.lbConnectionLost->isVisible());
        QCOMPARE(main.RoomBoard->Buttons("101").value(0)->Mark, 1);
        QVERIFY(saver.waitForFinished(30000));

        const QStringList lines = QString::fromUtf8(saver.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.last(), QString("notices down,up"));  // once each way
        int done = 0, lost = 0, unknown = 0, doneAfterLost = 0;
        for (const QString &line : lines.mid(0, lines.size() - 1)) {
            const QString outcome = line.section(' ', 1);
            QVERIFY2(outcome == "done" || outcome == "lost" || outcome == "unknown", qPrintable(line));
            done += outcome == "done";
            lost += outcome == "lost";
            unknown += outcome == "unknown";
            doneAfterLost += outcome == "done" && lost > 0;
        }
        QVERIFY2(lost >= 5, qPrintable(lines.join('|')));
        QVERIFY2(doneAfterLost >= 5, qPrintable(lines.join('|')));
        // What was said done is there once; what was said not done is not.
        const int charged = connection().Column("SELECT COUNT(*) FROM Klients WHERE q124 = ? AND q42 = ?",
                                                {booking, service}).value(0).toInt();
        QVERIFY2(charged >= done && charged <= done + unknown, qPrintable(QString("%1 %2 %3").arg(charged).arg(done).arg(unknown)));
        QCOMPARE(connection().Column("SELECT COUNT(*) FROM Dnevnik WHERE q145 = 'charge'").value(0).toInt(), charged);
        // Neither desk was stopped by a box or an error log on the way.
        QCOMPARE(boxes.Texts(), QStringList());
        QCOMPARE(errorLogs.Texts(), QStringList());
        connection().Close();
    }

    void initTestCase()
    {
        qputenv("KALV_TEST_ENGINE", "postgresql");
        FillCatalogue(slBulgarian);
    }
    void init()
    {
        m_home = std::make_unique<TestHome>();
        DeliverFiles(*m_home);
        m_dm = std::make_unique<TDM>();
        m_server = ServerForTests(*m_home, "Хотел");
        StoreServerSettings(*m_home, m_server);
    }
    void cleanup()
    {
        m_dm.reset();
        m_home.reset();
    }

    void createdDatabaseHoldsTheTablesInOrderWithTheirIndexes()
    {
        QCOMPARE(int(DatabaseSetup::CreateDatabase(m_server.Database).Outcome), int(DatabaseSetup::TOutcome::Done));
        for (const TTableDef &table : DbSchema::Tables()) {
            QStringList expected;
            for (const TColumnDef &column : table.Columns)
                expected.append(column.Name.toLower() + "|" +
                                (column.Nullability == TColumnNull::Identity ? "YES" : "NO"));
            QCOMPARE(rows("SELECT column_name, is_identity FROM information_schema.columns WHERE table_name = '" +
                          table.Name.toLower() + "' ORDER BY ordinal_position"),
                     expected);
        }
        QCOMPARE(rows("SELECT data_type, collation_name, numeric_precision, numeric_scale FROM information_schema.columns "
                      "WHERE table_name = 'klients' AND column_name IN ('q29', 'q27', 'q34', 'q36') ORDER BY column_name"),
                 QStringList({"numeric||20|8", "character varying|kalv_ci||", "timestamp without time zone|||",
                              "smallint||16|0"}));
        QCOMPARE(rows("SELECT indexname FROM pg_indexes WHERE tablename = 'klients' ORDER BY indexname"),
                 QStringList({"ix_klients_booking", "ix_klients_charge", "ix_klients_days", "ix_klients_guest", "ix_klients_meals", "ix_klients_roomstay",
                              "ix_klients_status", "klients_pkey"}));
        // Creating again leaves every table as it is and says what the server said.
        const DatabaseSetup::TResult twice = DatabaseSetup::CreateDatabase(m_server.Database);
        QCOMPARE(int(twice.Outcome), int(DatabaseSetup::TOutcome::Failed));
        QVERIFY(twice.Message.contains("already exists"));
    }

    void namesCompareAsTheOriginalServerComparedThem()
    {
        QCOMPARE(int(DatabaseSetup::CreateDatabase(m_server.Database).Outcome), int(DatabaseSetup::TOutcome::Done));
        connection().Execute("INSERT INTO [dbo].[HotelBuild] (q1, q10) VALUES (1, 'Морски бряг'), (2, 'Café')");
        QString id;
        TMainLibraryClass window;
        window.LookupFieldValue("HotelBuild", "q10", id, "q1", "МОРСКИ БРЯГ");
        QCOMPARE(id, QString("1"));  // letter case does not count, Cyrillic included
        window.LookupFieldValue("HotelBuild", "q10", id, "q1", "Mорски бряг");  // a Latin M
        QCOMPARE(id, QString());
        window.LookupFieldValue("HotelBuild", "q10", id, "q1", "CAFÉ");
        QCOMPARE(id, QString("2"));
        window.LookupFieldValue("HotelBuild", "q10", id, "q1", "Cafe");  // accents do count
        QCOMPARE(id, QString());
        // Table names in any letter case find their table.
        QCOMPARE(rows("SELECT COUNT(*) FROM [dbo].[HOTELBUILD]"), QStringList({"2"}));
        QCOMPARE(rows("SELECT COUNT(*) FROM hotelbuild"), QStringList({"2"}));
        QCOMPARE(rows("SELECT COUNT(*) FROM [HotelBuild] WHERE [q10] = 'морски бряг'"), QStringList({"1"}));
    }

    void startUpCheckPassesAndAddsTheIndexesAnOlderDatabaseLacks()
    {
        QCOMPARE(int(DatabaseSetup::CreateDatabase(m_server.Database).Outcome), int(DatabaseSetup::TOutcome::Done));
        connection().Execute("DROP INDEX ix_klients_roomstay");
        connection().Close();
        TFInitMSSQL splash;
        QVERIFY(splash.InitializeWindow());
        QVERIFY(!DatabaseSetupRequired);
        QCOMPARE(connection().DatabaseName(), m_server.Database);
        QCOMPARE(rows("SELECT COUNT(*) FROM pg_indexes WHERE tablename = 'klients'"), QStringList({"8"}));
        // A database that lacks a checked table sends the administrator to the configuration window.
        connection().Execute("DROP TABLE nomen");
        connection().Close();
        TFInitMSSQL again;
        QVERIFY(!again.InitializeWindow());
        QVERIFY(DatabaseSetupRequired);
        DatabaseSetupRequired = false;
    }

    void configurationWindowTestsEachProviderAndAttachesNothing()
    {
        TFBaza window;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.InitializeWindow();
        QStringList offered;
        for (QAction *item : Child<QToolButton>(&window, "btnProvider")->menu()->actions())
            offered.append(item->text());
        QCOMPARE(offered, QStringList({"SQLite", "PostgreSQL", "SQLOLEDB.1"}));
        QCOMPARE(window.EdProvider->text(), QString("PostgreSQL"));
        QCOMPARE(window.edPassword->text(), QString());  // stored and used, never shown
        window.Edit7->setText("postgres");
        {
            MessageBoxRecorder boxes;
            ErrorLogRecorder log;
            window.acFBazaConnection->trigger();
            QVERIFY2(log.Texts().isEmpty(), qPrintable(log.Texts().join("|")));
            QCOMPARE(boxes.Texts(), QStringList({msgConnectionEstablished}));
        }
        {
            ErrorLogRecorder log;
            window.edPassword->setText("pa;ss}=y");
            window.acFBazaConnection->trigger();
            QCOMPARE(log.Texts().size(), 1);
            QVERIFY(log.Texts().first().contains("password authentication failed"));
        }
        // The embedded engine through the same command.
        Child<QToolButton>(&window, "btnProvider")->menu()->actions().at(0)->trigger();
        window.edServer->setText("localhost");
        window.edServerInctance->clear();
        window.Edit7->setText("master");
        {
            MessageBoxRecorder boxes;
            window.acFBazaConnection->trigger();
            QCOMPARE(boxes.Texts(), QStringList({msgConnectionEstablished}));
        }
        // Attaching files is SQL Server's: said at once, no file asked for, nothing changed.
        Child<QToolButton>(&window, "btnProvider")->menu()->actions().at(1)->trigger();
        int asked = 0;
        TOpenDialog::SetExecuteHandler([&](TOpenDialog &) { return ++asked, false; });
        MessageBoxRecorder boxes;
        window.acFBazaAttachDB->trigger();
        TOpenDialog::SetExecuteHandler({});
        QCOMPARE(boxes.Texts(), QStringList({msgAttachNotSupported}));
        QCOMPARE(asked, 0);
    }

    void adminToolSetsUpAWorkstationOnTheSharedServer()
    {
        const QString database = m_server.Database + "_admin";
        QString output;
        QCOMPARE(admin({"set-server", "--provider", "PostgreSQL", "--server", TestPostgres::Instance().Host(),
                        "--instance", QString::number(TestPostgres::Instance().Port()), "--database", database,
                        "--user", TestPostgres::User()},
                       TestPostgres::Password().toUtf8() + "\n", &output),
                 0);
        QVERIFY(!output.contains(TestPostgres::Password()));
        TRegistry registry;
        QVERIFY(registry.OpenKey(SqlSettings::Key, false));
        QCOMPARE(registry.ReadString(SqlSettings::Provider), QString("PostgreSQL"));
        QCOMPARE(registry.ReadString(SqlSettings::Instance), QString::number(TestPostgres::Instance().Port()));
        QCOMPARE(registry.ReadString(SqlSettings::DataBase), database);
        QCOMPARE(registry.ReadInteger(SqlSettings::TimeoutCommand), 30);
        QVERIFY(registry.ReadString(SqlSettings::Password) != TestPostgres::Password());
        QCOMPARE(admin({"create-database", database}, {}, &output), 0);
        QCOMPARE(admin({"demo", "--here"}, {}, &output), 0);
        QCOMPARE(admin({"demo", "--here"}, {}, &output), 0);  // a second run adds nothing
        QCOMPARE(admin({"create-database", database}, {}, &output), 1);
        SqlDataBase = database;
        connection().Close();
        QVERIFY(TADOComunicationControl().ConnectFromSettings());
        QCOMPARE(rows("SELECT COUNT(*) FROM Rooms WHERE q83 IS NOT NULL"), QStringList({"12"}));
        // A real database gets demo / demo only while it has no operator, to be changed at once.
        QCOMPARE(rows("SELECT q75, q152 FROM Operators"), QStringList({"demo|1"}));
        QVERIFY(Operators::VerifyPassword(rows("SELECT q76 FROM Operators").first(), "demo"));
        QCOMPARE(rows("SELECT proname FROM pg_proc WHERE proname LIKE 'proc_%' ORDER BY proname"),
                 QStringList({"proc_copyalltablesvalues", "proc_openoperator", "proc_savenewoperator"}));
        // A script of the administrator's own through the same command.
        QFile script(m_home->Root() + "count.sql");
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("CREATE FUNCTION proc_CountRooms() RETURNS bigint LANGUAGE sql AS $$\r\n"
                     "SELECT COUNT(*) FROM rooms -- every room of every hotel\r\n"
                     "$$\r\n");
        script.close();
        QCOMPARE(admin({"install-procedure", script.fileName()}, {}, &output), 0);
        TADOStoredProc count(&connection());
        count.ProcedureName = "proc_CountRooms";
        count.RefreshParameters();
        count.Open();
        QCOMPARE(count.FieldByName("proc_countrooms").AsInteger(), 12);
    }
};

KALV_TEST_MAIN(TestPostgresEngine)
#include "tst_postgres.moc"
