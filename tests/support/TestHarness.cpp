#include "TestHarness.h"

#include "startup/UConstMessagesStay.h"

#include "admin/UDatabaseSetup.h"
#include "data/UAdoDb.h"
#include "data/UDM.h"
#include "data/UDLLSafeCall.h"
#include "data/UDbEngine.h"
#include "data/UDbSchema.h"
#include "desk/UFrontDesk.h"
#include "desk/UOperators.h"
#include "desk/URights.h"
#include "errors/MyClass.h"
#include "data/URegistry.h"
#include "errors/UExceptionLogs.h"
#include "framework/UMainLibraryClass.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/USystemWinOS.h"
#include "windows/UUserLogin.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <QtTest>
#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QHostAddress>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <csignal>
#include <algorithm>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QSettings>

TestHome::TestHome()
    : m_oldHome(qgetenv("HOME")), m_oldConfig(qgetenv("XDG_CONFIG_HOME")), m_oldData(qgetenv("XDG_DATA_HOME"))
{
    QDir().mkpath(ConfigFolder());
    QDir().mkpath(DataFolderPath());
    QDir().mkpath(ProgramFolderPath());
    qputenv("HOME", m_dir.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", ConfigFolder().toLocal8Bit());
    qputenv("XDG_DATA_HOME", (Root() + "share").toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, ConfigFolder());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, ConfigFolder());
    TSystemWinOS::SetProgramFolder(ProgramFolderPath());
    TDLLSafeCall::SetLibraryFolder(BuildBinFolder());
    DataFolder = DataFolderPath();
    SqlComputerName.clear();
    SqlInstance.clear();
    SqlUser.clear();
    SqlDataBase.clear();
    SelectedHotelID.clear();
    DatabaseSetupRequired = false;
    // Tests run as a workstation where an operator with every right is logged in; tests of
    // rights and logins set their own.
    Rights::SetCurrent(0, Rights::Full());
    Operators::SetNow(QDateTime());
}

TestHome::~TestHome()
{
    TSystemWinOS::SetProgramFolder(QString());
    TDLLSafeCall::SetLibraryFolder(QString());
    DataFolder.clear();
    qputenv("HOME", m_oldHome);
    qputenv("XDG_CONFIG_HOME", m_oldConfig);
    qputenv("XDG_DATA_HOME", m_oldData);
}

QProcessEnvironment TestHome::ProcessEnvironment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", Root());
    env.insert("XDG_CONFIG_HOME", ConfigFolder());
    env.insert("XDG_DATA_HOME", Root() + "share");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    return env;
}

QString TestHome::BuildBinFolder() { return QCoreApplication::applicationDirPath() + "/"; }

void TestHome::WriteSettings(const QString &text, bool withMark) const
{
    QFile file(DataFolderPath() + "Settings.ini");
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write Settings.ini");
    if (withMark)
        file.write("\xEF\xBB\xBF");
    file.write(text.toUtf8());
}

bool SharedTransactionOpen()
{
    return TDM::Instance() && TDM::Instance()->ADOLocalConnection->Connected() &&
           TDM::Instance()->ADOLocalConnection->InTransaction();
}

void InstallUnexpectedWindowGuards()
{
    // A box or error log that no test expected is reported and answered, never left to block.
    TSystemWinOS::SetMessageBoxHandler([](const QString &text, const QString &, int flags) {
        qWarning("unexpected message box: %s", qPrintable(text));
        return (flags & 0x0F) == 4 || (flags & 0x0F) == 3 ? int(TSystemWinOS::IDYES) : int(TSystemWinOS::IDOK);
    });
    TExceptionLogs::SetShowHandler(
        [](TExceptionLogs &window) { qWarning("unexpected error log: %s", qPrintable(window.Text())); });
}

MessageBoxRecorder::MessageBoxRecorder()
{
    TSystemWinOS::SetMessageBoxHandler([this](const QString &text, const QString &title, int flags) {
        m_boxes.append({text, title, flags, SharedTransactionOpen()});
        if (OnShow)
            OnShow(m_boxes.last());
        if (!m_answers.isEmpty())
            return m_answers.takeFirst();
        return (flags & 0x0F) == 4 || (flags & 0x0F) == 3 ? int(TSystemWinOS::IDYES) : int(TSystemWinOS::IDOK);
    });
}

MessageBoxRecorder::~MessageBoxRecorder() { InstallUnexpectedWindowGuards(); }

int MessageBoxRecorder::ShownInTransaction() const
{
    return int(std::count_if(m_boxes.begin(), m_boxes.end(), [](const RecordedBox &box) { return box.InTransaction; }));
}

QStringList MessageBoxRecorder::Texts() const
{
    QStringList texts;
    for (const RecordedBox &box : m_boxes)
        texts.append(box.Text);
    return texts;
}

ErrorLogRecorder::ErrorLogRecorder(std::function<void(TExceptionLogs &)> action)
{
    TExceptionLogs::SetShowHandler([this, action](TExceptionLogs &window) {
        m_texts.append(window.Text());
        m_inTransaction += SharedTransactionOpen() ? 1 : 0;
        if (action)
            action(window);
    });
}

ErrorLogRecorder::~ErrorLogRecorder() { InstallUnexpectedWindowGuards(); }

void LogInWhenAsked(const QString &user, const QString &password)
{
    QTimer::singleShot(100, [user, password] {
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *login = qobject_cast<TFUserLogin *>(widget); login && login->isVisible()) {
                QTest::keyClicks(login->username, user);
                QTest::keyClicks(login->password, password);
                QTest::mouseClick(login->spOK, Qt::LeftButton);
            }
    });
}

QStringList UnknownCaptions(QWidget *window)
{
    QStringList missing;
    const QString bad = TMainLibraryClass::UnknownCaption();
    for (QWidget *w : window->findChildren<QWidget *>()) {
        auto *label = qobject_cast<QLabel *>(w);
        auto *box = qobject_cast<QGroupBox *>(w);
        auto *button = qobject_cast<QAbstractButton *>(w);
        auto *tabs = qobject_cast<QTabWidget *>(w);
        if ((label && label->text() == bad) || (box && box->title() == bad) || (button && button->text() == bad))
            missing.append(w->objectName());
        for (int i = 0; tabs && i < tabs->count(); ++i)
            if (tabs->tabText(i) == bad)
                missing.append(tabs->widget(i)->objectName());
    }
    for (QAction *action : window->findChildren<QAction *>())
        if (action->text() == bad)
            missing.append(action->objectName());
    if (window->windowTitle() == bad)
        missing.append(window->objectName());
    return missing;
}

void SaveShot(QWidget *window, const QString &name)
{
    const QString folder = qEnvironmentVariable("KALV_SHOT_DIR");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();  // queued layout work, such as a toolbar's band
    window->grab().save(folder + "/" + name + ".png");
}

// ---- PostgreSQL

bool TestThroughPgBouncer()
{
    return qEnvironmentVariable("KALV_TEST_ENGINE").compare("pgbouncer", Qt::CaseInsensitive) == 0;
}

bool TestOnPostgres()
{
    return TestThroughPgBouncer() ||
           qEnvironmentVariable("KALV_TEST_ENGINE").compare("postgresql", Qt::CaseInsensitive) == 0;
}

TestPostgres &TestPostgres::Instance()
{
    static TestPostgres server;
    return server;
}

QStringList TestPostgres::AsServerUser(const QString &program, const QStringList &arguments) const
{
    if (::geteuid() != 0)
        return QStringList{program} + arguments;
    return QStringList{"runuser", "-u", "postgres", "--", program} + arguments;
}

void TestPostgres::Run(const QString &program, const QStringList &arguments) const
{
    const QStringList command = AsServerUser(program, arguments);
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(command.first(), command.mid(1));
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw std::runtime_error(("PostgreSQL: " + command.join(' ') + ": " + QString::fromLocal8Bit(process.readAll()))
                                     .toStdString());
}

TestPostgres::TestPostgres() : TestPostgres(QStringList()) {}

TestPostgres::TestPostgres(const QStringList &settings, bool start) : m_settings(settings)
{
    // The newest server Debian installed.
    QStringList versions = QDir("/usr/lib/postgresql").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versions.begin(), versions.end(), [](const QString &a, const QString &b) { return a.toInt() < b.toInt(); });
    if (versions.isEmpty())
        throw std::runtime_error("no PostgreSQL server is installed (scripts/test installs it)");
    m_bin = "/usr/lib/postgresql/" + versions.last() + "/bin/";
    if (::geteuid() == 0 && QProcess::execute("chown", {"postgres:postgres", m_dir.path()}) != 0)
        throw std::runtime_error("cannot give the server's folder to the postgres user");
    {
        QTcpServer probe;  // a free loopback port
        probe.listen(QHostAddress::LocalHost, 0);
        m_port = probe.serverPort();
    }
    const QString data = m_dir.path() + "/data";
    Run(m_bin + "initdb", {"-D", data, "-U", "postgres", "-N", "--auth-local=trust", "--auth-host=scram-sha-256", "-E",
                           "UTF8", "--locale=C.UTF-8"});
    if (start)
        Start();
}

void TestPostgres::Start()
{
    StartAgain();
    m_started = true;
    Psql("postgres", QString("CREATE ROLE %1 LOGIN SUPERUSER PASSWORD '%2'").arg(User(), Password()));
}

void TestPostgres::Stop() const
{
    Run(m_bin + "pg_ctl", {"-D", m_dir.path() + "/data", "-m", "immediate", "-w", "stop"});
}

void TestPostgres::StartAgain() const
{
    QString options = QString("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=60")
                          .arg(m_port)
                          .arg(m_dir.path());
    for (const QString &setting : m_settings)
        options += " -c " + setting;
    Run(m_bin + "pg_ctl", {"-D", m_dir.path() + "/data", "-l", m_dir.path() + "/server.log", "-w", "-o", options, "start"});
}

void TestPostgres::Reload() const { Run(m_bin + "pg_ctl", {"-D", m_dir.path() + "/data", "reload"}); }

TestPostgres::~TestPostgres()
{
    if (m_started)
        QProcess::execute(AsServerUser(m_bin + "pg_ctl", {}).first(),
                          AsServerUser(m_bin + "pg_ctl", {"-D", m_dir.path() + "/data", "-m", "immediate", "-w", "stop"})
                              .mid(1));
}

void TestPostgres::Psql(const QString &database, const QString &sql) const
{
    Run("psql", {"-h", m_dir.path(), "-p", QString::number(m_port), "-U", "postgres", "-d", database, "-v",
                 "ON_ERROR_STOP=1", "-q", "-c", sql});
}

// ---- pgbouncer

TestPgBouncer &TestPgBouncer::Instance()
{
    static TestPgBouncer bouncer;
    return bouncer;
}

TestPgBouncer::TestPgBouncer()
{
    const TestPostgres &server = TestPostgres::Instance();
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        m_port = probe.serverPort();
    }
    const QString dir = m_dir.path();
    auto write = [&dir](const QString &name, const QString &text) {
        QFile file(dir + "/" + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) != text.toUtf8().size())
            throw std::runtime_error(("pgbouncer: cannot write " + name).toStdString());
    };
    // The password in plain text lets it log in to the server with SCRAM as the client did to it.
    QString password = TestPostgres::Password();
    write("userlist.txt", QString("\"%1\" \"%2\"\n").arg(TestPostgres::User(), password.replace("\"", "\"\"")));
    // Every database name goes to the test server; server sessions idle for a second are closed,
    // so that the many test databases never hold more sessions than the server allows.
    write("pgbouncer.ini", QString("[databases]\n* = host=%1 port=%2\n"
                                   "[pgbouncer]\nlisten_addr = 127.0.0.1\nlisten_port = %3\nunix_socket_dir =\n"
                                   "auth_type = scram-sha-256\nauth_file = %4/userlist.txt\n"
                                   "pool_mode = transaction\ndefault_pool_size = 2\nmax_user_connections = 40\n"
                                   "max_client_conn = 400\nserver_idle_timeout = 1\nserver_lifetime = 3600\n"
                                   "logfile = %4/pgbouncer.log\npidfile = %4/pgbouncer.pid\n")
                               .arg(server.Host())
                               .arg(server.Port())
                               .arg(m_port)
                               .arg(dir));
    if (::geteuid() == 0 && QProcess::execute("chown", {"-R", "postgres:postgres", dir}) != 0)
        throw std::runtime_error("cannot give pgbouncer's folder to the postgres user");
    QStringList command{"/usr/sbin/pgbouncer", "-d", dir + "/pgbouncer.ini"};
    if (::geteuid() == 0)
        command = QStringList{"runuser", "-u", "postgres", "--"} + command;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(command.first(), command.mid(1));
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        throw std::runtime_error(("pgbouncer did not start: " + QString::fromLocal8Bit(process.readAll())).toStdString());
    WaitUntilListening();
}

void TestPgBouncer::WaitUntilListening() const
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, quint16(m_port));
        if (socket.waitForConnected(200))
            return;
        QThread::msleep(50);
    }
    throw std::runtime_error("pgbouncer does not listen on its port");
}

int TestPgBouncer::ServerLogins() const
{
    QFile log(m_dir.path() + "/pgbouncer.log");
    if (!log.open(QIODevice::ReadOnly))
        return 0;
    return int(log.readAll().count("new connection to server"));
}

TestPgBouncer::~TestPgBouncer()
{
    QFile pidFile(m_dir.path() + "/pgbouncer.pid");
    if (pidFile.open(QIODevice::ReadOnly))
        if (const int pid = pidFile.readAll().trimmed().toInt(); pid > 0)
            ::kill(pid, SIGTERM);
}

TestServer ServerForTests(const TestHome &home, const QString &database)
{
    TestServer server;
    server.Database = database;
    if (!TestOnPostgres())
        return server;
    static int counter = 0;
    // A database of its own on the shared test server, whatever name the test gives.
    server.Provider = "PostgreSQL";
    server.Server = QString("%1:%2").arg(TestPostgres::Instance().Host()).arg(TestThroughPgBouncer()
                                                                                  ? TestPgBouncer::Instance().Port()
                                                                                  : TestPostgres::Instance().Port());
    server.User = TestPostgres::User();
    server.Password = TestPostgres::Password();
    server.Database = QString("%1_%2_%3").arg(database).arg(QCoreApplication::applicationPid()).arg(++counter);
    Q_UNUSED(home);
    return server;
}

void StoreServerSettings(const TestHome &home, TestServer server)
{
    if (server.Server.isEmpty())
        server.Server = home.Root() + "server";
    if (server.Provider == QLatin1String("SQLite"))
        QDir().mkpath(server.Server);
    TRegistry registry;
    if (!registry.OpenKey(SqlSettings::Key, true))
        throw std::runtime_error("cannot open the settings key");
    TDLLSafeCall library;
    if (!library.LoadFunction(2, "HashingKey"))
        throw std::runtime_error("cannot load HashingKey");
    registry.WriteString(SqlSettings::ComputerName, server.Server);
    registry.WriteString(SqlSettings::Instance, server.Instance);
    registry.WriteString(SqlSettings::User, server.User);
    registry.WriteString(SqlSettings::Password, library.EncryptText(server.Password));
    registry.WriteString(SqlSettings::DataBase, server.Database);
    registry.WriteString(SqlSettings::Provider, server.Provider);
    library.Unload();
    SqlComputerName = server.Server;
    SqlInstance = server.Instance;
    SqlUser = server.User;
    SqlDataBase = server.Database;
}

QString DeliveredScript(const QString &procedure)
{
    QString script;
    MClass().ReadTextFile(TestHome::BuildBinFolder() + "dist/sql/" + LocalConnection().Engine().ScriptFolder() + "/" +
                              procedure + ".sql",
                          script);
    return script;
}

void DropProcedure(const QString &procedure)
{
    TADOConnection &connection = LocalConnection();
    if (connection.Engine().Name() == QLatin1String("PostgreSQL"))
        connection.Execute("DROP FUNCTION " + procedure.toLower());
    else
        connection.Execute("DELETE FROM sysprocedures WHERE name = ?", {procedure});
}

void InstallDeliveredProcedures(const QStringList &procedures)
{
    for (const QString &name : procedures) {
        const DatabaseSetup::TResult result = DatabaseSetup::InstallProcedure(DeliveredScript(name));
        if (result.Outcome != DatabaseSetup::TOutcome::Done)
            throw std::runtime_error((name + ": " + result.Message).toStdString());
    }
}

void MakeFirstVersionDatabase()
{
    TADOConnection &connection = LocalConnection();
    TDbEngine &engine = connection.Engine();
    for (int i = DbSchema::Tables().size() - 1; i >= 0; --i)
        connection.Execute("DROP TABLE " + engine.QuoteIdentifier(DbSchema::Tables().at(i).Name));
    DropProcedure("proc_CopyAllTablesValues");
    for (int i = 0; i < 13; ++i) {
        TTableDef table = DbSchema::Tables().at(i);
        const QString last = table.Name == "Klients" ? "q115" : table.Name == "Rooms" ? "q84" : QString();
        if (!last.isEmpty())
            while (table.Columns.last().Name != last)
                table.Columns.removeLast();
        connection.Execute(engine.CreateTableBatch(connection.DatabaseName(), table, i));
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
    const DatabaseSetup::TResult installed = DatabaseSetup::InstallProcedure(oldCopy);
    if (installed.Outcome != DatabaseSetup::TOutcome::Done)
        throw std::runtime_error(installed.Message.toStdString());
}

QStringList GridTexts(QTableView *grid)
{
    QStringList lines;
    for (int r = 0; r < grid->model()->rowCount(); ++r) {
        QStringList fields;
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            fields.append(grid->model()->index(r, c).data().toString());
        lines.append(fields.join(QLatin1Char('|')));
    }
    return lines;
}

QStringList QueryRows(TADOConnection &connection, const QString &sql)
{
    TADOQuery query(&connection);
    query.SetSQLText(sql);
    query.Open();
    QStringList result;
    for (query.First(); !query.Eof(); query.Next()) {
        QStringList fields;
        for (const QString &name : query.FieldNames())
            fields.append(query.FieldByName(name).AsString());
        result.append(fields.join('|'));
    }
    return result;
}

void DeliverFiles(const TestHome &home)
{
    const QString from = TestHome::BuildBinFolder() + "dist/";
    const QString to = home.DataFolderPath();
    QFile::remove(to + "Settings.ini");
    QFile::copy(from + "Settings.ini", to + "Settings.ini");
    QFile(to + "Settings.ini").setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    QDir().mkpath(to + "Icons");
    for (const char *icon : {"bed_reserve.bmp", "bed_live_today.bmp"})
        QFile::copy(from + "Icons/" + icon, to + "Icons/" + icon);
}

TestDatabase::TestDatabase() : m_dm(std::make_unique<TDM>())
{
    DeliverFiles(m_home);
    const TestServer server = ServerForTests(m_home, "HotelTest");
    StoreServerSettings(m_home, server);
    const DatabaseSetup::TResult created = DatabaseSetup::CreateDatabase(server.Database);
    if (created.Outcome != DatabaseSetup::TOutcome::Done)
        throw std::runtime_error(("the test database was not created: " + created.Message).toStdString());
    // The tests bring their own currencies: the euro and the lev a new database starts with go,
    // their numbers free again.
    if (TestOnPostgres())
        Exec(QStringLiteral("TRUNCATE kursvaluta, valuta RESTART IDENTITY"));
    else
        for (const char *sql : {"DELETE FROM KursValuta", "DELETE FROM Valuta", "DELETE FROM sqlite_sequence WHERE name = 'Valuta'"})
            Exec(QString::fromLatin1(sql));
    // The front desk's day is the one the test began on, whatever the clock says later.
    FrontDesk::SetToday(QDate::currentDate());
}

TestDatabase::~TestDatabase()
{
    FrontDesk::SetToday(QDate());
    m_dm.reset();
}

TADOConnection &TestDatabase::Connection() { return *m_dm->ADOLocalConnection; }

void TestDatabase::Exec(const QString &sql, const QVariantList &values) { Connection().Execute(sql, values); }

QStringList TestDatabase::Rows(const QString &sql) { return QueryRows(Connection(), sql); }

bool IsBookingSaved(const QString &text)
{
    const QStringList parts = msgBookingSaved.split(QStringLiteral("%1"));
    if (parts.size() != 2 || !text.startsWith(parts.first()) || !text.endsWith(parts.last()))
        return false;
    bool number = false;
    text.mid(parts.first().size(), text.size() - parts.first().size() - parts.last().size()).toInt(&number);
    return number;
}
