#include "KalvCM.h"
#include "windows/UFirstStart.h"
#include "ULanguages.h"

#include "UConstMessagesHotel.h"
#include "USystemWinOS.h"
#include "admin/UBaza.h"
#include "admin/UInitMSSQL.h"
#include "desk/URights.h"
#include "framework/FormInfo.h"
#include "windows/Hotel.h"
#include "windows/UUserLogin.h"
#include "data/UBackup.h"
#include "data/UDLLSafeCall.h"
#include "data/UDM.h"
#include "data/URegistry.h"
#include "errors/UErrors.h"
#include "errors/UExceptionLogs.h"
#include "framework/UFormatSettings.h"
#include "framework/UMainLibraryClass.h"
#include "framework/UWideIniFile.h"

#include <QDir>
#include <memory>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QFile>
#include <QFileInfo>

TKalvApplication::TKalvApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("kalvhotel"));
}

void TKalvApplication::ShowDefaultError(const QString &message)
{
    TSystemWinOS::ShowMessageBox(message, applicationName(), 16);
}

bool TKalvApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const Exception &error) {
        ShowDefaultError(error.Message());
    } catch (const std::exception &error) {
        ShowDefaultError(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ShowDefaultError(QStringLiteral("Unknown error"));
    }
    return false;
}

namespace {

// The messages of the bootstrap appear before the catalogue is filled; they are shown in
// Bulgarian, the language the program is delivered with.
QString bootstrapText(const QString &entryValue, const char *entryName)
{
    if (!entryValue.isEmpty())
        return entryValue;
    for (const TCatalogueEntry &entry : CatalogueEntries())
        if (qstrcmp(entry.Name, entryName) == 0)
            return CatalogueText(entry, slBulgarian);
    return QString();
}

bool ensureFolder(const QString &path) { return QDir().mkpath(path) && QFileInfo(path).isDir(); }

// B4: the folder of Settings.ini by operating-system type.
void chooseDataFolder(TSystemWinOS &os)
{
    os.DetectOSType();
    if (os.OSType == 6 || os.OSType == 7) {
        DataFolder = TSystemWinOS::ProgramFolder();
        return;
    }
    if (os.OSType != 8 && TSystemWinOS::IsWindows())
        return;  // older Windows: Settings.ini is looked up in the current directory
    QString appData;
    os.GetAppDataFolder(appData);
    if (appData.isEmpty())
        return;
    QDir().mkpath(appData + QStringLiteral("/KALV"));  // a failure here shows up just below
    DataFolder = appData + QStringLiteral("/KALV/Hotel/");
    if (QFileInfo(DataFolder).isDir())
        return;
    if (!ensureFolder(DataFolder)) {
        TSystemWinOS::ShowMessageBox(bootstrapText(msgErrorCreatingDirectory, "msgErrorCreatingDirectory") +
                                         DataFolder,
                                     bootstrapText(msgErrorTitle, "msgErrorTitle"), 48);
        RequestTerminate();
    }
}

void copyIfMissing(const QString &from, const QString &to)
{
    // A copy takes its source's mode; the user's copy is the user's alone.
    if (!QFileInfo::exists(to) && QFile::copy(from, to))
        QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
}

// B5 to B7: the four settings and the password library's presence.
void readConnectionSettings(TRegistry &registry, TDLLSafeCall &dll)
{
    if (!registry.OpenKey(SqlSettings::Key, true)) {
        TSystemWinOS::ShowMessageBox(bootstrapText(msgErrorOpeningSettings, "msgErrorOpeningSettings"),
                                     bootstrapText(msgBugsReportTitle, "msgBugsReportTitle"), 48);
        return;
    }
    SqlComputerName = registry.ReadString(SqlSettings::ComputerName);
    SqlInstance = registry.ReadString(SqlSettings::Instance);
    SqlUser = registry.ReadString(SqlSettings::User);
    SqlDataBase = registry.ReadString(SqlSettings::DataBase);
    if (!dll.LoadFunction(1, QStringLiteral("HashingKey"))) {
        RequestTerminate();
    } else {
        dll.DecryptText(registry.ReadString(SqlSettings::Password));
        if (!dll.Unload())
            RequestTerminate();
    }
    registry.CloseKey();
}

} // namespace

void KalvCM::DeliverDefaultFiles(const QString &dataFolder)
{
    const QString source = TSystemWinOS::DeliveredFolder();
    if (dataFolder.isEmpty() || QFileInfo::exists(dataFolder + QStringLiteral("Settings.ini")) ||
        !QFileInfo::exists(source + QStringLiteral("Settings.ini")))
        return;
    // A new user reads the captions in the system's language when the program speaks it.
    QString delivered = source + Languages::DeliveredSettingsName(Languages::SystemLanguage());
    if (!QFileInfo::exists(delivered))
        delivered = source + QStringLiteral("Settings.ini");
    copyIfMissing(delivered, dataFolder + QStringLiteral("Settings.ini"));
    const QDir icons(source + QStringLiteral("Icons"));
    if (!icons.exists() || !QDir().mkpath(dataFolder + QStringLiteral("Icons")))
        return;
    for (const QString &name : icons.entryList(QDir::Files))
        copyIfMissing(icons.filePath(name), dataFolder + QStringLiteral("Icons/") + name);
}

void KalvCM::RunBootstrap()
{
    TSystemWinOS::MakeFilesPrivate();
    TSystemWinOS os;
    TRegistry registry;
    TDLLSafeCall dll;
    try {
        TempTableCounter = 0;
        DatabaseSetupRequired = false;
        os.GetFileVersionText(KalvApplicationCtrl().VersionText);
        chooseDataFolder(os);
        DeliverDefaultFiles(DataFolder);
        Backup::RemoveInterruptedParts();
        readConnectionSettings(registry, dll);
        const TWideMemIniFile settings(DataFolder + QStringLiteral("Settings.ini"));
        CurrentLanguage = LanguageFromText(
            settings.ReadString(QStringLiteral("LANG"), QStringLiteral("LANGUAGE"), QStringLiteral("slUnknow")));
        FillCatalogue(CurrentLanguage);
        Languages::UseInQt(CurrentLanguage);  // without Qt's translation its own buttons stay in English
    } catch (const Exception &error) {
        TExceptionLogs::Show(error.Message());
    }
}

int KalvCM::RunMessageLoop(TKalvApplication &application)
{
    if (IsTerminateRequested())
        return 0;
    return application.exec();
}

void KalvCM::ScheduleScreenshot(TKalvApplication &application)
{
    // Message boxes run loops of their own, so the timer fires whatever window stands then.
    const QString shot = qEnvironmentVariable("KALV_SCREENSHOT");
    bool ok = false;
    int delay = qEnvironmentVariableIntValue("KALV_SCREENSHOT_DELAY", &ok);
    if (!ok || delay <= 0)
        delay = 4000;
    if (!shot.isEmpty())
        QTimer::singleShot(delay, &application, [shot] {
            if (QScreen *screen = QGuiApplication::primaryScreen())
                screen->grabWindow(0).save(shot);
        });
}

KalvCM::TStart KalvCM::CheckAndLogIn()
{
    // The two start-up windows live only until the main window is created.
    auto splash = std::make_unique<TFInitMSSQL>();
    auto login = std::make_unique<TFUserLogin>();
    splash->setWindowFlag(Qt::FramelessWindowHint, true);
    splash->setWindowState(Qt::WindowNoState);
    splash->show();
    const bool checked = splash->InitializeWindow();
    if (checked)
        splash->hide();
    if (!checked)
        return DatabaseSetupRequired ? TStart::SetUp : TStart::End;
    splash.reset();
    return login->InitializeWindow() && login->ShowModal() != mrCancel ? TStart::LoggedIn : TStart::End;
}

bool KalvCM::RunDatabaseSetup()
{
    // Nobody is logged in: the configuration stands alone, and nothing else of the program opens.
    TFBaza configuration;
    configuration.SetSetupMode(true);
    if (!configuration.InitializeWindow())
        return false;
    return configuration.ShowModal() == mrOk;
}

bool KalvCM::FirstStart()
{
    TRegistry registry;
    if (!registry.OpenKey(SqlSettings::Key, false))
        return true;
    return registry.ReadString(SqlSettings::ComputerName).trimmed().isEmpty() &&
           registry.ReadString(SqlSettings::Provider).trimmed().isEmpty();
}

bool KalvCM::RunFirstStart()
{
    TFFirstStart assistant;
    if (!assistant.InitializeWindow() || assistant.ShowModal() != mrOk)
        return false;
    if (assistant.Choice() == TFFirstStart::fsServer)
        return RunDatabaseSetup();
    // The settings it wrote are the ones the start goes on with.
    TRegistry registry;
    TDLLSafeCall dll;
    readConnectionSettings(registry, dll);
    return true;
}

int KalvCM::RunEntry(TKalvApplication &application)
{
    ApplyFixedRegionalFormats();
    TDM dm(&application);
    Rights::ClearCurrent();
    for (;;) {
        // Nothing configured on this computer yet: the assistant, not an error and a raw form.
        if (FirstStart()) {
            if (!RunFirstStart() || IsTerminateRequested())
                return 0;
            DatabaseSetupRequired = false;
        }
        const TStart start = CheckAndLogIn();
        if (start == TStart::End || IsTerminateRequested())
            return 0;
        if (start == TStart::LoggedIn)
            break;
        // Connected at last: the whole start again, from the check, login included.
        if (!RunDatabaseSetup() || IsTerminateRequested())
            return 0;
        DatabaseSetupRequired = false;
    }
    auto *main = new TFHotel;
    // The first run uses the whole screen; later runs come back as the user left the window.
    if (main->FormInfo1->HasStoredPlacement()) {
        main->show();
    } else {
        if (QScreen *screen = QGuiApplication::primaryScreen())
            main->setGeometry(screen->availableGeometry());
        main->showMaximized();
    }
    if (StartWithNewOperator)
        main->RunCommand(QStringLiteral("actNomenOperators"));
    if (StartWithNewHotel)
        main->RunCommand(QStringLiteral("actNomenHotels"));
    return RunMessageLoop(application);
}
