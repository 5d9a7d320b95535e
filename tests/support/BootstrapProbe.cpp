// Runs the bootstrap once in a process of its own, with message boxes and error log windows
// recorded instead of shown, then prints the resulting state one "name=value" per line.
// With the argument "loop" it also runs the message loop and reports how it ended.

#include "data/UDLLSafeCall.h"
#include "errors/UExceptionLogs.h"
#include "framework/UMainLibraryClass.h"
#include "startup/KalvCM.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/USystemWinOS.h"

#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

namespace {
void print(const QString &name, const QString &value)
{
    QString escaped = value;
    escaped.replace("\\", "\\\\").replace("\n", "\\n").replace("\r", "\\r");
    std::printf("%s=%s\n", name.toUtf8().constData(), escaped.toUtf8().constData());
}
} // namespace

int main(int argc, char *argv[])
{
    TKalvApplication app(argc, argv);
    const QByteArray libraries = qgetenv("KALV_PROBE_LIBRARIES");
    if (!libraries.isEmpty())
        TDLLSafeCall::SetLibraryFolder(QString::fromLocal8Bit(libraries));
    TSystemWinOS::SetMessageBoxHandler([](const QString &text, const QString &title, int flags) {
        print("box", QString::number(flags) + "|" + title + "|" + text);
        return 1;
    });
    TExceptionLogs::SetShowHandler([](TExceptionLogs &window) { print("errorlog", window.Text()); });

    KalvCM::RunBootstrap();

    print("DataFolder", DataFolder);
    print("CurrentLanguage", QString::number(CurrentLanguage));
    print("msgMainWindowTitle", msgMainWindowTitle);
    print("msgWrongUserPassword", msgWrongUserPassword);
    print("SqlComputerName", SqlComputerName);
    print("SqlInstance", SqlInstance);
    print("SqlUser", SqlUser);
    print("SqlDataBase", SqlDataBase);
    print("Version", KalvApplicationCtrl().VersionText);
    print("Terminate", IsTerminateRequested() ? "1" : "0");
    if (argc > 1 && qstrcmp(argv[1], "loop") == 0) {
        // A loop that nobody ends runs until the safety timer: 2 seconds.
        QTimer::singleShot(2000, &app, [] { print("loop", "timeout"); QCoreApplication::exit(3); });
        if (argc > 2 && qstrcmp(argv[2], "late") == 0)
            QTimer::singleShot(100, &app, [] { RequestTerminate(); });
        QElapsedTimer clock;
        clock.start();
        const int code = KalvCM::RunMessageLoop(app);
        print("loopCode", QString::number(code));
        print("loopQuick", clock.elapsed() < 1500 ? "1" : "0");
    }
    std::fflush(stdout);
    return 0;
}
