#pragma once
// The program entry: the bootstrap before any window, then the entry's steps.

#include <QApplication>

// The application object, whose default error display catches every error leaving an event
// handler and shows its message, so that no exception crosses the event loop.
class TKalvApplication : public QApplication
{
    Q_OBJECT
public:
    TKalvApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

    static void ShowDefaultError(const QString &message);
};

namespace KalvCM {

// Copies the delivered Settings.ini and icons into a data folder that has no Settings.ini yet.
void DeliverDefaultFiles(const QString &dataFolder);
// Steps B1 to B9: data folder, connection settings, password library, language, catalogue.
void RunBootstrap();
// Steps E1 to E12 after the bootstrap; gives the process's exit code. Nobody reaches the main
// window without a login: a database that cannot be used gets the configuration window alone,
// and once it connects the start runs again from the check.
int RunEntry(TKalvApplication &application);
enum class TStart { LoggedIn, SetUp, End };
// The start-up check and the login.
TStart CheckAndLogIn();
// The configuration window alone; true when it closed connected.
bool RunDatabaseSetup();
// No server settings at all on this computer: its first start.
bool FirstStart();
// The first-start assistant; true when a database is ready (or the server configuration
// closed connected), false when the user left.
bool RunFirstStart();
// Runs the message loop unless termination was asked for before it could start.
int RunMessageLoop(TKalvApplication &application);
// With KALV_SCREENSHOT set, saves a picture of the screen there a few seconds after start.
void ScheduleScreenshot(TKalvApplication &application);

} // namespace KalvCM
