// kalvhotel-admin: database set-up from the command line, through the same code as the
// database configuration window.

#include "UDatabaseSetup.h"
#include "UDemoData.h"
#include "data/UADOComunicationControl.h"
#include "data/UBackup.h"
#include "data/UDM.h"
#include "desk/URights.h"
#include "errors/MyClass.h"
#include "errors/UExceptionLogs.h"
#include "startup/KalvCM.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/USystemWinOS.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QTextStream>
#include <cstdio>

namespace {

int usage()
{
    std::fprintf(stderr,
                 "usage: kalvhotel-admin create-database NAME\n"
                 "       kalvhotel-admin install-procedure FILE\n"
                 "       kalvhotel-admin demo [--here]\n"
                 "       kalvhotel-admin set-server --provider P --server S [--instance I] --database D --user U\n"
                 "                          [--sslmode disable|prefer|require|verify-full] [--sslrootcert FILE]\n"
                 "                          (the password is read from the standard input, unechoed)\n"
                 "       kalvhotel-admin backup FILE\n"
                 "       kalvhotel-admin restore FILE\n");
    return 2;
}

void printError(const QString &text) { std::fprintf(stderr, "kalvhotel-admin: %s\n", qPrintable(text)); }

// Messages and the error log window become lines on the standard error stream.
void redirectWindows()
{
    TSystemWinOS::SetMessageBoxHandler([](const QString &text, const QString &, int) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return int(TSystemWinOS::IDOK);
    });
    TExceptionLogs::SetShowHandler([](TExceptionLogs &window) { printError(window.Text()); });
}

int createDatabase(const QString &name)
{
    const DatabaseSetup::TResult result = DatabaseSetup::CreateDatabase(name);
    if (result.Outcome == DatabaseSetup::TOutcome::NotConnected) {
        printError(QStringLiteral("the server of the stored settings cannot be reached; save the settings first"));
        return 1;
    }
    if (result.Outcome == DatabaseSetup::TOutcome::Failed) {
        printError(result.Message);
        return 1;
    }
    std::printf("%s\n", qPrintable(msgDatabaseCreated.trimmed() + QStringLiteral(": ") + name));
    return 0;
}

// A backup of the configured database, or its restore from one.
int backupOrRestore(const QString &file, bool restore)
{
    TADOComunicationControl control;
    if (!control.ConnectFromSettings()) {
        printError(QStringLiteral("the database of the stored settings cannot be opened"));
        return 1;
    }
    try {
        if (restore)
            Backup::Restore(file);
        else
            Backup::Take(file);
    } catch (const Exception &error) {
        printError(error.Message());
        return 1;
    }
    std::printf("%s\n", qPrintable(restore ? QStringLiteral("The database was restored from %1.").arg(file)
                                           : QStringLiteral("The backup was written to %1.").arg(file)));
    return 0;
}

int installProcedure(const QString &file)
{
    if (!QFileInfo(file).isFile()) {
        printError(msgNoFileInDirectory + QStringLiteral(" ") + file);
        return 1;
    }
    TADOComunicationControl control;
    if (!control.ConnectFromSettings()) {
        printError(QStringLiteral("the database of the stored settings cannot be opened"));
        return 1;
    }
    QString script;
    MClass().ReadTextFile(file, script);
    const DatabaseSetup::TResult result = DatabaseSetup::InstallProcedure(script);
    if (result.Outcome != DatabaseSetup::TOutcome::Done) {
        printError(result.Message);
        return 1;
    }
    std::printf("%s\n", qPrintable(msgProcedureInstalled));
    return 0;
}

int setServer(const QStringList &arguments)
{
    DatabaseSetup::TServerSettings settings;
    const QHash<QString, QString *> options = {{"--provider", &settings.Provider}, {"--server", &settings.Server},
                                               {"--instance", &settings.Instance}, {"--database", &settings.DataBase},
                                               {"--user", &settings.User}, {"--sslmode", &settings.SslMode},
                                               {"--sslrootcert", &settings.SslRootCert}};
    for (int i = 0; i < arguments.size(); i += 2) {
        if (!options.contains(arguments.at(i)) || i + 1 >= arguments.size())
            return usage();
        *options.value(arguments.at(i)) = arguments.at(i + 1);
    }
    if (settings.Provider.isEmpty() || settings.Server.isEmpty() || settings.DataBase.isEmpty() || settings.User.isEmpty())
        return usage();
    // Never on the command line, where every user of the machine could read it.
    settings.Password = TSystemWinOS::ReadSecretLine(QStringLiteral("Password: "));
    settings.Protocol = QStringLiteral("TCP/IP");
    try {
        if (!DatabaseSetup::WriteServerSettings(settings)) {
            printError(QStringLiteral("the password library HashingKey cannot be loaded; the password was not stored"));
            return 1;
        }
    } catch (const Exception &error) {
        printError(error.Message());
        return 1;
    }
    std::printf("server settings written: %s %s, database %s\n", qPrintable(settings.Provider),
                qPrintable(settings.Server + (settings.Instance.isEmpty() ? QString() : "\\" + settings.Instance)),
                qPrintable(settings.DataBase));
    return 0;
}

int demo(bool here)
{
    try {
        if (!here && DemoData::WriteEmbeddedSettings())
            std::printf("embedded server settings written\n");
        DemoData::Prepare(TSystemWinOS::DeliveredFolder() + QStringLiteral("sql/"), here);
        std::printf("demonstration database ready\n");
        return 0;
    } catch (const Exception &error) {
        printError(error.Message());
        return 1;
    }
}

} // namespace

int main(int argc, char *argv[])
{
    // No window of the program is shown here; the boxes go to the standard error stream.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TSystemWinOS::MakeFilesPrivate();
    TKalvApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.isEmpty())
        return usage();
    redirectWindows();
    KalvCM::RunBootstrap();
    if (IsTerminateRequested()) {
        printError(QStringLiteral("the start-up environment could not be prepared"));
        return 1;
    }
    TDM dm;
    // Whoever holds the account and its server settings administers the database.
    Rights::SetCurrent(0, Rights::Full());
    const QString command = arguments.first();
    if (command == QLatin1String("create-database") && arguments.size() == 2)
        return createDatabase(arguments.at(1));
    if (command == QLatin1String("install-procedure") && arguments.size() == 2)
        return installProcedure(arguments.at(1));
    if (command == QLatin1String("demo") && arguments.size() == 1)
        return demo(false);
    if (command == QLatin1String("demo") && arguments.size() == 2 && arguments.at(1) == QLatin1String("--here"))
        return demo(true);
    if (command == QLatin1String("set-server"))
        return setServer(arguments.mid(1));
    if ((command == QLatin1String("backup") || command == QLatin1String("restore")) && arguments.size() == 2)
        return backupOrRestore(arguments.at(1), command == QLatin1String("restore"));
    return usage();
}
