#pragma once
// The few questions the program asks the operating system, and its one message box.
// Everything that differs between Windows and other systems lives in this unit.

#include <QString>
#include <functional>

class TSystemWinOS
{
public:
    quint8 OSType = 0;

    void DetectOSType();
    void GetAppDataFolder(QString &folder) const;
    void GetFileVersionText(QString &version) const;
    void GetMachineName(QString &name) const;
    void GetLoginUserName(QString &name) const;
    void GetLocalIPAddress(QString &address) const;
    void GetSystemFolder(QString &folder) const;

    // Asks the shell to open a file; the show mode is the Windows shell's.
    static void OpenFile(const QString &path, int showMode);
    // The folder of the program file, with a trailing separator.
    static QString ProgramFolder();
    // Every file and folder the process makes from now on is its owner's alone (0600, 0700):
    // the settings, the log, exports and backups hold what others must not read.
    static void MakeFilesPrivate();
    // Whether a process of this machine still runs (true where that cannot be told).
    static bool ProcessRuns(qint64 pid);
    // A child that ends when this process ends, however it ends.
    static void EndWithThisProcess(class QProcess &child);
    // One line of the standard input; from a terminal, asked for on the error stream and not
    // echoed, as a password is.
    static QString ReadSecretLine(const QString &prompt);
    // The delivered files (Settings.ini, Icons, sql, the guide): beside the program in its build
    // folder, under share/kalvhotel when installed. Ends with "/".
    static QString DeliveredFolder();
    // Whether the program runs installed, its delivered files under share/.
    static bool Installed();
    static constexpr bool IsWindows()
    {
#if defined(Q_OS_WIN)
        return true;
#else
        return false;
#endif
    }
    // Whether the native settings store keeps the type of a value (the Windows registry does).
    static constexpr bool SettingsStoreKeepsTypes() { return IsWindows(); }

    // Shows a modal message box and gives the pressed button's identifier
    // (1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No).
    static int ShowMessageBox(const QString &text, const QString &title, int flags);
    // A plain message: no icon, OK, the application's title.
    static void ShowMessage(const QString &text);

    enum { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

    // The seam through which tests see and answer message boxes instead of a modal loop.
    using MessageBoxHandler = std::function<int(const QString &text, const QString &title, int flags)>;
    static void SetMessageBoxHandler(MessageBoxHandler handler);
    // Tests keep their log file and delivered files in a throw-away folder.
    static void SetProgramFolder(const QString &folder);
};
