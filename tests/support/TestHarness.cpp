#include "TestHarness.h"

#include "admin/UDatabaseSetup.h"
#include "data/UAdoDb.h"
#include "data/UDM.h"
#include "data/UDLLSafeCall.h"
#include "data/URegistry.h"
#include "errors/UExceptionLogs.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/USystemWinOS.h"

#include <QCoreApplication>
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

void StoreServerSettings(const TestHome &home, TestServer server)
{
    if (server.Server.isEmpty())
        server.Server = home.Root() + "server";
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
    StoreServerSettings(m_home);
    const DatabaseSetup::TResult created = DatabaseSetup::CreateDatabase("HotelTest");
    if (created.Outcome != DatabaseSetup::TOutcome::Done)
        throw std::runtime_error(("the test database was not created: " + created.Message).toStdString());
}

TestDatabase::~TestDatabase() { m_dm.reset(); }

TADOConnection &TestDatabase::Connection() { return *m_dm->ADOLocalConnection; }

void TestDatabase::Exec(const QString &sql, const QVariantList &values) { Connection().Execute(sql, values); }

QStringList TestDatabase::Rows(const QString &sql) { return QueryRows(Connection(), sql); }
