// Database administration: the start-up check, the configuration window with its creation,
// attach and install commands, and kalvhotel-admin.

#include "desk/URights.h"
#include "TestHarness.h"
#include "desk/UOperators.h"
#include "admin/UBaza.h"
#include "admin/UDatabaseSetup.h"
#include "admin/UInitMSSQL.h"
#include "data/UADOComunicationControl.h"
#include "data/UDLLSafeCall.h"
#include "data/UDM.h"
#include "data/UDataLinkDialog.h"
#include "data/UDbEngine.h"
#include "data/UMssqlEngine.h"
#include "startup/UConstMessagesDesk.h"
#include "startup/USystemWinOS.h"
#include "data/URegistry.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesHotel.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlQuery>
#include <QTextStream>
#include <QToolBar>
#include <QDir>
#include <QRandomGenerator>
#include <QtTest>
#include <memory>

namespace {

void writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write " + path.toStdString());
    file.write(data);
}

// An empty SQLite database file under any name.
void writeDatabaseFile(const QString &path)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "maker");
        db.setDatabaseName(path);
        db.open();
        QSqlQuery(db).exec("CREATE TABLE t (a INT)");
        db.close();
    }
    QSqlDatabase::removeDatabase("maker");
}

QStringList registeredDatabases(TADOConnection &connection)
{
    QSqlQuery query(connection.Database());
    query.exec("SELECT name FROM sysdatabases ORDER BY rowid");
    QStringList names;
    while (query.next())
        names.append(query.value(0).toString());
    return names;
}

} // namespace

class TestAdmin : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestHome> m_home;
    std::unique_ptr<TDM> m_dm;

    TADOConnection &connection() { return *m_dm->ADOLocalConnection; }
    void createDatabase(const QString &name = "HotelTest")
    {
        QCOMPARE(int(DatabaseSetup::CreateDatabase(name).Outcome), int(DatabaseSetup::TOutcome::Done));
        connection().Close();
    }
    // A lock file a killed writer had no time to fill is cleared by the next open once it is
    // half a second old; a run started sooner would wait for it as for a live writer.
    void letAbandonedLockAge()
    {
        const QFileInfo lock(m_home->ConfigFolder() + "Oxtarne/SQL Settings.conf.lock");
        if (lock.exists() && lock.size() == 0)
            QTest::qWait(600);
    }
    bool runCheck(int *progress = nullptr)
    {
        TFInitMSSQL splash;
        const bool result = splash.InitializeWindow();
        if (progress)
            *progress = splash.ProgressBarLoader->value();
        return result;
    }
    // Opens the configuration window as the main window does.
    TFBaza *openBaza()
    {
        auto *window = new TFBaza;
        window->LoadFormCaption(window);
        window->InitializeWindow();
        return window;
    }

private slots:
    void init()
    {
        m_home = std::make_unique<TestHome>();
        DeliverFiles(*m_home);
        m_dm = std::make_unique<TDM>();
        FillCatalogue(slBulgarian);
    }
    void cleanup()
    {
        TOpenDialog::SetExecuteHandler({});
        m_dm.reset();
        m_home.reset();
    }

    void splashLayout()
    {
        TFInitMSSQL splash;
        QCOMPARE(splash.size(), QSize(389, 466));
        QCOMPARE(splash.Image1->size(), QSize(313, 409));
        QCOMPARE(splash.ProgressBarLoader->width(), 313);
        QCOMPARE(splash.lInfoSplash->text(), QString("Инициализиране ..."));
        SaveShot(&splash, "FInitMSSQL");
    }

    void checkPassesWithAllTablesAndWithoutTheUncheckedOnes()
    {
        StoreServerSettings(*m_home);
        createDatabase();
        int progress = 0;
        QVERIFY(runCheck(&progress));
        QVERIFY(!DatabaseSetupRequired);
        QVERIFY(connection().Connected());
        QCOMPARE(connection().DatabaseName(), QString("HotelTest"));
        QCOMPARE(progress, 70);  // the steps add up to more and the bar stops at full
        QVERIFY(!connection().InTransaction());

        connection().Execute("DROP TABLE Analitichnosti");
        connection().Close();
        QVERIFY(runCheck());
        QVERIFY(!DatabaseSetupRequired);
    }

    void checkPassesWhenAlreadyConnected()
    {
        StoreServerSettings(*m_home);
        createDatabase();
        TADOComunicationControl().ConnectFromSettings();
        QVERIFY(connection().Connected());
        TFInitMSSQL splash;
        QVERIFY(splash.InitializeWindow());
        QCOMPARE(splash.lInfoSplash->text(), msgInitializingTable + msgColon + "Nomen");  // a pass still ran
    }

    void missingCheckedTableRaisesTheFlag()
    {
        StoreServerSettings(*m_home);
        createDatabase();
        TADOComunicationControl().ConnectFromSettings();
        connection().Execute("DROP TABLE Klients");
        connection().Close();
        TFInitMSSQL splash;
        QVERIFY(!splash.InitializeWindow());
        QVERIFY(DatabaseSetupRequired);
        QCOMPARE(splash.lInfoSplash->text(), msgInitializingTable + msgColon + "Secyrity");  // the last that passed
    }

    void noSettingsOrNoDatabaseRaiseTheFlag()
    {
        {
            MessageBoxRecorder boxes;
            QVERIFY(!runCheck());
            QVERIFY(DatabaseSetupRequired);
            QCOMPARE(boxes.Boxes().size(), 1);
            QCOMPARE(boxes.Boxes().first().Text, msgNoServerSettings);
            QVERIFY(msgNoServerSettings.endsWith(" "));
            QCOMPARE(boxes.Boxes().first().Title, msgInformationTitle);
            QCOMPARE(boxes.Boxes().first().Flags, 48);
        }
        DatabaseSetupRequired = false;
        TestServer server;
        server.Server = m_home->Root() + "missing-server";
        StoreServerSettings(*m_home, server);
        MessageBoxRecorder boxes;
        QVERIFY(!runCheck());
        QVERIFY(DatabaseSetupRequired);
        QVERIFY(boxes.Boxes().isEmpty());
    }

    void databaseNameWithBlanksIsCreatedAndChecked()
    {
        TestServer server;
        server.Database = "Хотел Морски ]1";
        StoreServerSettings(*m_home, server);
        createDatabase(server.Database);
        QVERIFY(runCheck());
        QVERIFY(!DatabaseSetupRequired);
    }

    void tableCheckErrorIsShownAndCountsAsMissing()
    {
        StoreServerSettings(*m_home);
        createDatabase();
        TADOComunicationControl().ConnectToCatalog(&connection(), "master");
        SqlDataBase = "NotThere";
        ErrorLogRecorder log;
        TFInitMSSQL splash;
        QVERIFY(!splash.TableExists("Rooms"));
        QCOMPARE(log.Texts().size(), 1);
        QVERIFY(log.Texts().first().contains("NotThere"));
        QVERIFY(!connection().InTransaction());
    }

    void configurationWindowOpensEmptyWithoutSettings()
    {
        std::unique_ptr<TFBaza> window(new TFBaza);
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        QCOMPARE(window->windowTitle(), QString("Конфигуриране на база данни."));
        QVERIFY(window->InitializeWindow());
        for (const char *name : {"edServer", "edServerInctance", "edServerNickName", "EdProvider", "EditTimeout",
                                 "username", "edPassword", "Edit6", "Edit7"})
            QCOMPARE(Child<QLineEdit>(window.get(), name)->text(), QString());
        QCOMPARE(Child<QComboBox>(window.get(), "ComboBox2")->currentText(), QString());
        QCOMPARE(Child<QComboBox>(window.get(), "cbAuthentification")->currentText(), QString());
        QVERIFY(!Child<QCheckBox>(window.get(), "cbDBConfigIsDynamicPort")->isChecked());
        QCOMPARE(Child<QLineEdit>(window.get(), "edPassword")->echoMode(), QLineEdit::Password);
        TRegistry registry;
        QVERIFY(registry.OpenKey(SqlSettings::Key, false));  // the key was created

        // Captions from Settings.ini, the toolbar in its order, the button inside Edit8.
        QCOMPARE(Child<QGroupBox>(window.get(), "gbDBConnection")->title(), QString("Комуникация"));
        QCOMPARE(Child<QLabel>(window.get(), "lInfoServer")->text(), QString("Име на сървъра[IP адрес]"));
        QStringList captions;
        for (QAction *action : Child<QToolBar>(window.get(), "smcFBaza")->actions())
            captions.append(action->text());
        QCOMPARE(captions, QStringList({"Комуникация", "Нова БД", "Съхрани", "Добави БД", "Добави процедура", "Изход"}));
        auto *edit8 = Child<QLineEdit>(window.get(), "Edit8");
        auto *button = Child<QPushButton>(edit8, "btnSPFile");
        QCOMPARE(button->text(), QString("..."));
        QCOMPARE(button->geometry(), QRect(edit8->width() - 23, 0, 23, edit8->height() - 3));
        window->show();
        SaveShot(window.get(), "FBaza");
        edit8->resize(300, edit8->height());
        QCOMPARE(button->x(), 277);
    }

    void saveWritesEveryValueAndOpeningReadsThemBack()
    {
        std::unique_ptr<TFBaza> window(openBaza());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        QTest::keyClicks(window->edServer, "db.example");
        QTest::keyClicks(window->edServerInctance, " SQLEXPRESS");
        QTest::keyClicks(window->edServerNickName, "main");
        window->cbAuthentification->setCurrentText("SQL");
        QTest::keyClicks(window->username, "sa");
        window->edPassword->setText("Тайна;1");  // typed through an input method
        QTest::keyClicks(window->Edit6, "1433");
        QVERIFY(ChooseFromDropDown(window->ComboBox2, "Sheren Memory"));
        QVERIFY(TypeInto(window->Edit7, "Хотел"));
        QTest::keyClicks(window->EdProvider, "SQLOLEDB.1");
        QTest::keyClicks(window->EditTimeout, "99");
        QVERIFY(ClickOn(window->cbDBConfigIsDynamicPort));
        MessageBoxRecorder boxes;
        QVERIFY(ClickCommand(window->acFBazaSave));
        QCOMPARE(boxes.Texts(), QStringList({msgSuccessfulOperation}));
        QCOMPARE(boxes.Boxes().first().Title, msgInformationTitle);
        QCOMPARE(boxes.Boxes().first().Flags, 64);

        TRegistry registry;
        QVERIFY(registry.OpenKey(SqlSettings::Key, false));
        QCOMPARE(registry.ReadString(SqlSettings::ComputerName), QString("db.example"));
        QCOMPARE(registry.ReadString(SqlSettings::Instance), QString(" SQLEXPRESS"));
        QCOMPARE(registry.ReadString(SqlSettings::Aliase), QString("main"));
        QCOMPARE(registry.ReadString(SqlSettings::Authentication), QString("SQL"));
        QCOMPARE(registry.ReadString(SqlSettings::Protocol), QString("Sheren Memory"));
        QCOMPARE(registry.ReadString(SqlSettings::Port), QString("1433"));
        QCOMPARE(registry.ReadString(SqlSettings::DataBase), QString("Хотел"));
        QCOMPARE(registry.ReadString(SqlSettings::Provider), QString("SQLOLEDB.1"));
        QCOMPARE(registry.ReadInteger(SqlSettings::TimeoutConnection), 30);
        QCOMPARE(registry.ReadInteger(SqlSettings::TimeoutCommand), 30);
        QCOMPARE(registry.ReadInteger(SqlSettings::IsDynamicPort), 1);
        const QString stored = registry.ReadString(SqlSettings::Password);
        QVERIFY(!stored.contains("Тайна"));
        TDLLSafeCall library;
        QVERIFY(library.LoadFunction(1, "HashingKey"));
        QCOMPARE(library.DecryptText(stored), QString("Тайна;1"));

        std::unique_ptr<TFBaza> again(openBaza());
        again->setAttribute(Qt::WA_DeleteOnClose, false);
        QCOMPARE(again->edServerInctance->text(), QString(" SQLEXPRESS"));
        // The stored password is used, never shown: the field waits for a new one.
        QCOMPARE(again->edPassword->text(), QString());
        QVERIFY(!again->edPassword->placeholderText().isEmpty());
        QCOMPARE(again->ComboBox2->currentText(), QString("Sheren Memory"));
        QCOMPARE(again->EditTimeout->text(), QString());
        QVERIFY(again->cbDBConfigIsDynamicPort->isChecked());
    }

    void connectionTestUsesTheFields()
    {
        StoreServerSettings(*m_home);
        createDatabase();
        std::unique_ptr<TFBaza> window(openBaza());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(TypeInto(window->edServerInctance, "   "));
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window->acFBazaConnection));
            QCOMPARE(boxes.Texts(), QStringList({msgConnectionEstablished}));
            QCOMPARE(boxes.Boxes().first().Title, msgHotelInformationTitle);
            QCOMPARE(boxes.Boxes().first().Flags, 64);
        }
        QVERIFY(connection().Connected());
        const QString source = TConnectionItems::Parse(connection().ConnectionString()).Value("Data Source");
        QCOMPARE(source, window->edServer->text());  // no backslash for a blank instance

        QVERIFY(TypeInto(window->Edit7, "NoSuchBase"));
        MessageBoxRecorder boxes;
        ErrorLogRecorder log;
        QVERIFY(ClickCommand(window->acFBazaConnection));
        QVERIFY(boxes.Boxes().isEmpty());
        QCOMPARE(log.Texts().size(), 1);
        QVERIFY(log.Texts().first().contains("NoSuchBase"));
    }

    void secondAdvancedCommandFillsTheFields()
    {
        std::unique_ptr<TFBaza> window(openBaza());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(TypeInto(window->username, "keep"));
        QVERIFY(TypeInto(window->edServerNickName, "alias"));
        TDataLinkDialog::SetEditHandler([](TDataLinkDialog &dialog) {
            return ChooseFromDropDown(Child<QComboBox>(&dialog, "cbProvider"), "SQLOLEDB.1") &&
                   TypeInto(Child<QLineEdit>(&dialog, "edServer"), "srv") &&
                   ClearField(Child<QLineEdit>(&dialog, "edInstance")) &&
                   TypeInto(Child<QLineEdit>(&dialog, "edDatabase"), "Base");
        });
        window->stNext_2Click();
        TDataLinkDialog::SetEditHandler({});
        QCOMPARE(window->edServer->text(), QString("srv"));
        QCOMPARE(window->edServerInctance->text(), QString());
        QCOMPARE(window->edServerNickName->text(), QString());
        QCOMPARE(window->Edit7->text(), QString("Base"));
        QCOMPARE(window->EdProvider->text(), QString("SQLOLEDB.1"));
        QCOMPARE(window->EditTimeout->text(), QString("10"));
        QCOMPARE(window->username->text(), QString("keep"));
        TRegistry registry;
        registry.OpenKey(SqlSettings::Key, false);
        QVERIFY(!registry.ValueExists(SqlSettings::DataBase));  // nothing stored until Save
    }

    void newDatabaseCommandTwice()
    {
        StoreServerSettings(*m_home);
        std::unique_ptr<TFBaza> window(openBaza());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(TypeInto(window->Edit7, "Нова база"));
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window->acFBazaNewDB));
            QCOMPARE(boxes.Texts(), QStringList({msgDatabaseCreated}));
        }
        QCOMPARE(connection().DatabaseName(), QString("Нова база"));
        TRegistry registry;
        registry.OpenKey(SqlSettings::Key, false);
        QCOMPARE(registry.ReadString(SqlSettings::DataBase), QString("HotelTest"));  // not stored
        ErrorLogRecorder log;
        MessageBoxRecorder boxes;
        QVERIFY(ClickCommand(window->acFBazaNewDB));
        QVERIFY(boxes.Boxes().isEmpty());
        QCOMPARE(log.Texts().size(), 1);
        QVERIFY(log.Texts().first().contains("already exists"));

        // Unreachable stored server: no message at all.
        TestServer gone;
        gone.Server = m_home->Root() + "gone";
        StoreServerSettings(*m_home, gone);
        QDir(m_home->Root() + "gone").removeRecursively();
        ErrorLogRecorder quiet;
        QVERIFY(ClickCommand(window->acFBazaNewDB));
        QVERIFY(quiet.Texts().isEmpty());
    }

    void attachCollectsAtMostEightAndAttachesFromLastToFirst()
    {
        StoreServerSettings(*m_home);
        createDatabase();
        TADOComunicationControl().ConnectToCatalog(&connection(), "master");
        QStringList files;
        for (int i = 1; i <= 9; ++i) {
            files.append(m_home->Root() + QString("Attached%1.mdf").arg(i));
            writeDatabaseFile(files.last());
        }
        int chosen = 0;
        QString filter;
        TOpenDialog::SetExecuteHandler([&](TOpenDialog &dialog) {
            filter = dialog.Filter;
            dialog.FileName = files.at(chosen++);
            return true;
        });
        std::unique_ptr<TFBaza> window(openBaza());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        MessageBoxRecorder boxes;  // answers Yes every time
        QVERIFY(ClickCommand(window->acFBazaAttachDB));
        QCOMPARE(filter, QString("Бази данни: |*.mdf|Линкове към бази: |*.ldf"));
        QCOMPARE(chosen, 9);
        QCOMPARE(boxes.Texts().count(msgAddNewBase), 9);
        QCOMPARE(boxes.Texts().last(), msgMaxLinksReached);
        QCOMPARE(boxes.Boxes().first().Flags, 36);
        QStringList expected{"HotelTest"};
        for (int i = 8; i >= 1; --i)
            expected.append(QString("Attached%1").arg(i));
        QCOMPARE(registeredDatabases(connection()), expected);
        QVERIFY(TADOComunicationControl().ConnectToDatabase("Attached3"));
    }

    void attachingSomethingThatIsNoDatabaseReportsAndStops()
    {
        StoreServerSettings(*m_home);
        createDatabase();
        TADOComunicationControl().ConnectToCatalog(&connection(), "master");
        writeFile(m_home->Root() + "good.mdf", {});
        writeDatabaseFile(m_home->Root() + "good.mdf");
        writeFile(m_home->Root() + "bad.mdf", QByteArray(2048, 'z'));
        writeFile(m_home->Root() + "nodot", "x");
        const QStringList answers = {m_home->Root() + "good.mdf", m_home->Root() + "nodot", m_home->Root() + "bad.mdf"};
        int chosen = 0;
        TOpenDialog::SetExecuteHandler([&](TOpenDialog &dialog) {
            dialog.FileName = answers.at(chosen++);
            return true;
        });
        std::unique_ptr<TFBaza> window(openBaza());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        MessageBoxRecorder boxes;
        for (int i = 0; i < 3; ++i)
            boxes.Answer(TSystemWinOS::IDYES);
        boxes.Answer(TSystemWinOS::IDNO);
        ErrorLogRecorder log;
        QVERIFY(ClickCommand(window->acFBazaAttachDB));
        QCOMPARE(log.Texts().size(), 1);
        // The last chosen is attached first and fails, so the good one is dropped.
        QCOMPARE(registeredDatabases(connection()), QStringList({"HotelTest"}));
        QCOMPARE(DatabaseSetup::LogicalName("C:\\DB\\a.very.long name.mdf"), QString("a.very.long name"));
        QCOMPARE(DatabaseSetup::LogicalName("C:\\D.B\\name"), QString());
    }

    void scriptChoiceAndInstall()
    {
        StoreServerSettings(*m_home);
        createDatabase();
        TADOComunicationControl().ConnectFromSettings();
        std::unique_ptr<TFBaza> window(openBaza());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window->acFBazaInsertNewSP));
            QCOMPARE(boxes.Texts(), QStringList({msgSelectProcedureFile}));
        }
        const QString script = m_home->Root() + "proc.sql";
        writeFile(script, "CREATE PROCEDURE proc_Rooms AS\r\nSELECT * FROM Rooms\r\n\r\nSELECT garbage that is never read\r\n");
        QString filter;
        TOpenDialog::SetExecuteHandler([&](TOpenDialog &dialog) {
            filter = dialog.Filter;
            dialog.FileName = script;
            return true;
        });
        QTest::mouseClick(Child<QPushButton>(window.get(), "btnSPFile"), Qt::LeftButton);
        QCOMPARE(filter, QString("*.sql|*.sql"));
        QCOMPARE(window->Edit8->text(), script + "         ");
        QCOMPARE(window->lInfoSP->text(), QString("CREATE PROCEDURE proc_Rooms AS\rSELECT * FROM Rooms\r"));
        writeFile(script, "CREATE PROCEDURE proc_Rooms AS SELECT * FROM Rooms\r\n\r\nDROP TABLE Rooms\r\n");
        QTest::mouseClick(Child<QPushButton>(window.get(), "btnSPFile"), Qt::LeftButton);
        QCOMPARE(window->lInfoSP->text(), QString("CREATE PROCEDURE proc_Rooms AS SELECT * FROM Rooms\r"));
        QFile::remove(script);
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window->acFBazaInsertNewSP));
            QCOMPARE(boxes.Texts(), QStringList({msgNoFileInDirectory}));
        }
        writeFile(script, "changed on disk");  // the shown text is what runs
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window->acFBazaInsertNewSP));
            QCOMPARE(boxes.Texts(), QStringList({msgProcedureInstalled}));
        }
        QCOMPARE(connection().Engine().ProcedureParameters(connection(), "proc_Rooms"), QStringList());
        QVERIFY(!connection().InTransaction());

        window->lInfoSP->setText("CREATE PROCEDURE proc_Broken AS\rUPDATE NoSuchTable SET a = 1\r");
        ErrorLogRecorder log;
        MessageBoxRecorder boxes;
        QVERIFY(ClickCommand(window->acFBazaInsertNewSP));
        QCOMPARE(log.Texts().size(), 1);
        QVERIFY(boxes.Boxes().isEmpty());
        QVERIFY(!connection().InTransaction());
        QVERIFY_THROWS_EXCEPTION(EDatabaseError,
                                 connection().Engine().ProcedureParameters(connection(), "proc_Broken"));
    }

    void adminDemoGivesADatabaseTheCheckAccepts()
    {
        const QString admin = TestHome::BuildBinFolder() + "kalvhotel-admin";
        for (int run = 0; run < 2; ++run) {
            QProcess process;
            process.start(admin, {"demo"});
            QVERIFY(process.waitForFinished(60000));
            QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());
        }
        QProcess refused;
        refused.start(admin, {"create-database", "KalvHotel"});
        QVERIFY(refused.waitForFinished(60000));
        QCOMPARE(refused.exitCode(), 1);
        QVERIFY(refused.readAllStandardError().contains("already exists"));
        writeFile(m_home->Root() + "p.sql", "CREATE PROCEDURE proc_Count AS SELECT COUNT(*) FROM Rooms\r\n");
        for (int expected : {0, 1}) {
            QProcess install;
            install.start(admin, {"install-procedure", m_home->Root() + "p.sql"});
            QVERIFY(install.waitForFinished(60000));
            QCOMPARE(install.exitCode(), expected);  // the second time the procedure exists
        }

        // The process-wide copies of the settings, as the bootstrap reads them.
        TRegistry registry;
        QVERIFY(registry.OpenKey(SqlSettings::Key, false));
        QCOMPARE(registry.ReadString(SqlSettings::Provider), QString("SQLite"));
        SqlComputerName = registry.ReadString(SqlSettings::ComputerName);
        SqlDataBase = registry.ReadString(SqlSettings::DataBase);
        DataFolder = m_home->Root() + "share/KALV/Hotel/";  // where the tool's bootstrap put it
        QVERIFY(QFile::exists(DataFolder + "Databases/master.sqlite"));
        QVERIFY(runCheck());
        TADOQuery query(&connection());
        query.SetSQLText("SELECT * FROM [dbo].[Rooms] WHERE q83 IS NOT NULL");
        query.Open();
        QCOMPARE(query.RecordCount(), 12);  // a second run added nothing
        query.SetSQLText("SELECT * FROM Operators WHERE q75 = :u");
        query.ParamByName("u").Value = "demo";
        query.Open();
        QCOMPARE(query.RecordCount(), 1);
        QCOMPARE(query.FieldByName("q77").AsString(), Rights::Full());
        // demo / demo, as a hash, with nothing to change on the throw-away hotel.
        QVERIFY(Operators::VerifyPassword(query.FieldByName("q76").AsString(), "demo"));
        QVERIFY(Operators::IsHashed(query.FieldByName("q76").AsString()));
        QCOMPARE(query.FieldByName("q152").AsInteger(), 0);
    }

    void reservedNamesAreRefusedNeverMisplaced()
    {
        StoreServerSettings(*m_home);
        std::unique_ptr<TFBaza> window(openBaza());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        for (const QString &name : {"main", "TEMP", "tempdb", "Master"}) {
            QVERIFY(TypeInto(window->Edit7, name));
            ErrorLogRecorder log;
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window->acFBazaNewDB));
            QCOMPARE(log.Texts(), QStringList({msgDatabaseNameReserved.arg(name)}));
            QVERIFY(boxes.Texts().isEmpty());
            QVERIFY(!QFile::exists(m_home->Root() + "server/" + name + ".sqlite"));
        }
        TADOComunicationControl().ConnectToCatalog(&connection(), "master");
        QCOMPARE(registeredDatabases(connection()), QStringList());
        QProcess admin;
        admin.start(TestHome::BuildBinFolder() + "kalvhotel-admin", {"create-database", "temp"});
        QVERIFY(admin.waitForFinished(60000));
        QCOMPARE(admin.exitCode(), 1);
        QVERIFY(QString::fromUtf8(admin.readAllStandardError()).contains(msgDatabaseNameReserved.arg("temp")));
        // Names that SQL Server takes are left to it.
        for (const char *name : {"main", "temp", "a/b", " x"})
            TMssqlEngine().CheckNewDatabaseName(QLatin1String(name));
        // A file left behind by a creation that never reached the catalogue is not reused.
        writeFile(m_home->Root() + "server/Leftover.sqlite", "not a database");
        QVERIFY(TypeInto(window->Edit7, "Leftover"));
        MessageBoxRecorder boxes;
        QVERIFY(ClickCommand(window->acFBazaNewDB));
        QCOMPARE(boxes.Texts(), QStringList({msgDatabaseCreated}));
        connection().Close();
        QVERIFY(TADOComunicationControl().ConnectToDatabase("Leftover"));
        QCOMPARE(QueryRows(connection(), "SELECT COUNT(*) FROM Rooms"), QStringList({"0"}));
    }

    void cancelledFileChoiceEndsAttachingAndKeepsTheChosen()
    {
        StoreServerSettings(*m_home);
        createDatabase();
        TADOComunicationControl().ConnectToCatalog(&connection(), "master");
        for (const char *name : {"One.mdf", "Two.mdf"})
            writeDatabaseFile(m_home->Root() + name);
        const QStringList answers = {m_home->Root() + "One.mdf", m_home->Root() + "Two.mdf"};
        int shown = 0;
        TOpenDialog::SetExecuteHandler([&](TOpenDialog &dialog) {
            if (shown == answers.size()) {
                ++shown;
                return false;  // cancelled; the dialog still holds the last file chosen
            }
            dialog.FileName = answers.at(shown++);
            return true;
        });
        std::unique_ptr<TFBaza> window(openBaza());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        MessageBoxRecorder boxes;  // Yes every time it asks
        ErrorLogRecorder log;
        QVERIFY(ClickCommand(window->acFBazaAttachDB));
        QCOMPARE(shown, 3);
        QCOMPARE(boxes.Texts(), QStringList(3, msgAddNewBase));
        QVERIFY(log.Texts().isEmpty());
        QCOMPARE(registeredDatabases(connection()), QStringList({"HotelTest", "Two", "One"}));
    }

    void savedSettingsAreAllOldOrAllNewAfterAKill()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        QRandomGenerator random(91209);
        int saves = 0;
        for (int round = 0; round < 25; ++round) {
            QProcess writer;
            writer.setProcessEnvironment(env);
            writer.start(TestHome::BuildBinFolder() + "kalv_workstation", {"save-settings", DataFolder});
            QVERIFY(writer.waitForStarted());
            // Once it saves, the writer is killed at a moment nobody chooses: in the middle of a Save or between two.
            QVERIFY2(writer.waitForReadyRead(20000),
                     qPrintable(QString("round %1: %2").arg(round).arg(QString::fromUtf8(writer.readAllStandardError()))));
            QTest::qWait(random.bounded(60));
            writer.kill();
            writer.waitForFinished();
            saves += int(writer.readAll().count("saved"));
            letAbandonedLockAge();
            TRegistry registry;
            QVERIFY(registry.OpenKey(SqlSettings::Key, false));
            TDLLSafeCall library;
            QVERIFY(library.LoadFunction(1, "HashingKey"));
            const QString generation = registry.ReadString(SqlSettings::ComputerName).section('-', 1);
            const QList<QPair<QString, QString>> values = {
                {"inst-", registry.ReadString(SqlSettings::Instance)},
                {"alias-", registry.ReadString(SqlSettings::Aliase)},
                {"user-", registry.ReadString(SqlSettings::User)},
                {"pw-", library.DecryptText(registry.ReadString(SqlSettings::Password))},
                {"port-", registry.ReadString(SqlSettings::Port)},
                {"db-", registry.ReadString(SqlSettings::DataBase)}};
            for (const auto &[prefix, value] : values)
                QVERIFY2(generation.isEmpty() ? value.isEmpty() : value == prefix + generation,
                         qPrintable(QString("round %1: %2 beside srv-%3").arg(round).arg(value, generation)));
        }
        qInfo("25 writers killed after %d saves in all", saves);
    }

    void demoFinishesWhenRunAgainAfterAnInterruption()
    {
        const QString admin = TestHome::BuildBinFolder() + "kalvhotel-admin";
        auto run = [&](int killAfter) {
            QProcess process;
            process.start(admin, {"demo"});
            if (killAfter >= 0) {
                QTest::qWait(killAfter);
                process.kill();
            }
            process.waitForFinished(60000);
            letAbandonedLockAge();
            return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        };
        const QString databases = m_home->Root() + "share/KALV/Hotel/Databases/";
        // A database file without its catalogue row, left by an earlier attempt.
        QDir().mkpath(databases);
        writeFile(databases + "KalvHotel.sqlite", QByteArray());
        for (int killAfter : {5, 20, 40, 60, 90, 130, 180})
            run(killAfter);
        QCOMPARE(run(-1), 0);
        QCOMPARE(run(-1), 0);
        TRegistry registry;
        QVERIFY(registry.OpenKey(SqlSettings::Key, false));
        SqlComputerName = registry.ReadString(SqlSettings::ComputerName);
        SqlDataBase = registry.ReadString(SqlSettings::DataBase);
        QCOMPARE(SqlDataBase, QString("KalvHotel"));
        DataFolder = m_home->Root() + "share/KALV/Hotel/";
        QVERIFY(runCheck());
        QCOMPARE(QueryRows(connection(), "SELECT COUNT(*) FROM Rooms"), QStringList({"12"}));
        QCOMPARE(QueryRows(connection(), "SELECT COUNT(*) FROM Operators"), QStringList({"1"}));
        QCOMPARE(QueryRows(connection(), "SELECT COUNT(*) FROM sysprocedures"), QStringList({"3"}));
    }

    void unreadableStoredPasswordIsSaidInTheWindow()
    {
        TestServer server;
        server.Password = "тайна";
        StoreServerSettings(*m_home, server);
        QFile key(m_home->ConfigFolder() + "Oxtarne/HashingKey.key");
        QVERIFY(key.open(QIODevice::WriteOnly | QIODevice::Truncate));
        key.write("damaged");
        key.close();
        {
            MessageBoxRecorder boxes;
            std::unique_ptr<TFBaza> window(openBaza());
            window->setAttribute(Qt::WA_DeleteOnClose, false);
            QCOMPARE(boxes.Texts(), QStringList({msgStoredPasswordUnreadable}));
            QVERIFY(window->edPassword->text().isEmpty());
            QVERIFY(TypeInto(window->edPassword, "нова"));
            QVERIFY(ClickCommand(window->acFBazaSave));  // replaces the damaged key
        }
        MessageBoxRecorder boxes;
        std::unique_ptr<TFBaza> window(openBaza());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(boxes.Texts().isEmpty());
        QCOMPARE(window->edPassword->text(), QString());
        TRegistry registry;
        QVERIFY(registry.OpenKey(SqlSettings::Key, false));
        TDLLSafeCall library;
        QVERIFY(library.LoadFunction(1, "HashingKey"));
        QCOMPARE(library.DecryptText(registry.ReadString(SqlSettings::Password)), QString("нова"));
    }

    void demoHereAddsNoOperatorToADatabaseThatHasOne()
    {
        const QString admin = TestHome::BuildBinFolder() + "kalvhotel-admin";
        auto run = [&](const QStringList &arguments) {
            QProcess process;
            process.start(admin, arguments);
            process.waitForFinished(60000);
            return process.exitCode();
        };
        QCOMPARE(run({"demo"}), 0);
        TRegistry registry;
        QVERIFY(registry.OpenKey(SqlSettings::Key, false));
        SqlComputerName = registry.ReadString(SqlSettings::ComputerName);
        SqlDataBase = registry.ReadString(SqlSettings::DataBase);
        DataFolder = m_home->Root() + "share/KALV/Hotel/";
        QVERIFY(runCheck());
        // A real database with operators of its own: no default account is added.
        connection().Execute("DELETE FROM Operators");
        connection().Execute("INSERT INTO Operators (q1, q75, q76, q77) VALUES (1, 'maria', 'x', ?)", {QString(50, '1')});
        QCOMPARE(run({"demo", "--here"}), 0);
        QCOMPARE(QueryRows(connection(), "SELECT q75 FROM Operators"), QStringList({"maria"}));
        // An empty one gets demo, whose password must be changed at the first login.
        connection().Execute("DELETE FROM Operators");
        QCOMPARE(run({"demo", "--here"}), 0);
        const QStringList demo = QueryRows(connection(), "SELECT q75, q152, q76 FROM Operators");
        QCOMPARE(demo.size(), 1);
        QVERIFY(demo.first().startsWith("demo|1|$argon2id$"));
    }

    void filesTheProgramsWriteAreTheirOwnersAlone()
    {
        const QString admin = TestHome::BuildBinFolder() + "kalvhotel-admin";
        QProcess demo;
        demo.start(admin, {"demo"});
        QVERIFY(demo.waitForFinished(60000));
        QCOMPARE(demo.exitCode(), 0);
        QProcess backup;
        backup.start(admin, {"backup", m_home->Root() + "hotel.backup"});
        QVERIFY(backup.waitForFinished(60000));
        QCOMPARE(backup.exitCode(), 0);
        int files = 0;
        QDirIterator walk(m_home->Root(), QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                          QDirIterator::Subdirectories);
        while (walk.hasNext()) {
            const QFileInfo entry(walk.next());
            // What the test made for its home is its own; the rest the programs made.
            if (entry.filePath().startsWith(m_home->DataFolderPath()) ||
                (entry.isDir() && !entry.filePath().contains("KALV") && !entry.filePath().contains("Oxtarne")))
                continue;
            if (entry.isFile())
                ++files;
            QVERIFY2((entry.permissions() & 0x0077) == 0, qPrintable(entry.filePath()));
        }
        QVERIFY(files >= 5);  // settings, key, catalogue, database, backup
    }

    void setServerReadsThePasswordUnechoedFromATerminal()
    {
        const QString admin = TestHome::BuildBinFolder() + "kalvhotel-admin";
        QProcess terminal;
        terminal.setProcessChannelMode(QProcess::MergedChannels);
        // script gives the tool a terminal and shows what that terminal shows.
        terminal.start("script", {"-qfec", admin + " set-server --provider PostgreSQL --server db.hotel.lan "
                                                  "--database KalvHotel --user kalv --sslmode verify-full",
                                  "/dev/null"});
        QVERIFY(terminal.waitForStarted());
        QTest::qWait(300);
        terminal.write("Sekret-Typed-42\n");
        QVERIFY(terminal.waitForFinished(20000));
        const QString shown = QString::fromLocal8Bit(terminal.readAll());
        QVERIFY2(shown.contains("Password:"), qPrintable(shown));
        QVERIFY2(!shown.contains("Sekret-Typed-42"), qPrintable(shown));
        TRegistry registry;
        QVERIFY(registry.OpenKey(SqlSettings::Key, false));
        QCOMPARE(registry.ReadString(SqlSettings::SslMode), QString("verify-full"));
        TDLLSafeCall library;
        QVERIFY(library.LoadFunction(1, "HashingKey"));
        QCOMPARE(library.DecryptText(registry.ReadString(SqlSettings::Password)), QString("Sekret-Typed-42"));
    }

    void closingInSetupModeSaysWhetherItConnected()
    {
        auto *window = openBaza();
        window->move(40, 30);
        window->close();  // frees itself
        TRegistry registry;
        QVERIFY(registry.OpenKey("\\Software\\Oxtarne\\DlgPossions\\FBaza", false));
        QCOMPARE(registry.ReadString("Left"), QString("40"));
        QCOMPARE(registry.ReadString("WindowState"), QString("1"));
        // Before any login the window stands alone; closed unconnected, the start ends.
        TFBaza setup;
        setup.SetSetupMode(true);
        QVERIFY(setup.InitializeWindow());
        setup.close();
        QCOMPARE(setup.ModalResult(), int(mrCancel));
        QVERIFY(!IsTerminateRequested());
    }
};

KALV_TEST_MAIN(TestAdmin)
#include "tst_admin.moc"
