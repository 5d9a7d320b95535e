#include "USystemWinOS.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QHostAddress>
#include <QHostInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QSysInfo>
#include <QProcess>
#include <QTextStream>
#include <QUrl>
#include <cstdio>

#if defined(Q_OS_WIN)
#include <windows.h>
#include <lmcons.h>
#include <shellapi.h>
#include <shlobj.h>
#else
#include <pwd.h>
#include <sys/stat.h>
#include <termios.h>
#if defined(Q_OS_LINUX)
#include <sys/prctl.h>
#endif
#include <cerrno>
#include <csignal>
#include <unistd.h>
#endif

#ifndef KALV_VERSION
#define KALV_VERSION ""
#endif

namespace {

TSystemWinOS::MessageBoxHandler &messageBoxHandler()
{
    static TSystemWinOS::MessageBoxHandler handler;
    return handler;
}

QString &programFolderOverride()
{
    static QString folder;
    return folder;
}

QMessageBox::Icon iconOf(int flags)
{
    switch (flags & 0xF0) {
    case 16:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case 48:
        return QMessageBox::Warning;
    case 64:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

struct ButtonSpec {
    QMessageBox::StandardButton button;
    int id;
};

QList<ButtonSpec> buttonsOf(int flags)
{
    switch (flags & 0x0F) {
    case 1:
        return {{QMessageBox::Ok, TSystemWinOS::IDOK}, {QMessageBox::Cancel, TSystemWinOS::IDCANCEL}};
    case 2:
        return {{QMessageBox::Abort, TSystemWinOS::IDABORT},
                {QMessageBox::Retry, TSystemWinOS::IDRETRY},
                {QMessageBox::Ignore, TSystemWinOS::IDIGNORE}};
    case 3:
        return {{QMessageBox::Yes, TSystemWinOS::IDYES},
                {QMessageBox::No, TSystemWinOS::IDNO},
                {QMessageBox::Cancel, TSystemWinOS::IDCANCEL}};
    case 4:
        return {{QMessageBox::Yes, TSystemWinOS::IDYES}, {QMessageBox::No, TSystemWinOS::IDNO}};
    case 5:
        return {{QMessageBox::Retry, TSystemWinOS::IDRETRY}, {QMessageBox::Cancel, TSystemWinOS::IDCANCEL}};
    default:
        return {{QMessageBox::Ok, TSystemWinOS::IDOK}};
    }
}

} // namespace

#if defined(Q_OS_WIN)
void TSystemWinOS::DetectOSType()
{
    OSType = 0;
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma warning(suppress : 4996)
    if (!GetVersionExA(&info))
        return;
    const DWORD major = info.dwMajorVersion, minor = info.dwMinorVersion;
    if (info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && major == 4) {
        if (minor == 0)
            OSType = 1;
        else if (minor == 10)
            OSType = info.szCSDVersion[1] == 'A' ? 3 : 2;
        else if (minor == 90)
            OSType = 5;
    } else if (info.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        if (major <= 4)
            OSType = 4;
        else if (major == 5 && minor == 0)
            OSType = 6;
        else if (major == 5 && minor == 1)
            OSType = 7;
        else if (major == 6)
            OSType = 8;
    }
}
#else
void TSystemWinOS::DetectOSType() { OSType = 0; }
#endif

void TSystemWinOS::GetAppDataFolder(QString &folder) const
{
#if defined(Q_OS_WIN)
    // The roaming application-data folder, which follows the user from computer to computer.
    QString path;
    PWSTR known = nullptr;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &known)))
        path = QDir::fromNativeSeparators(QString::fromWCharArray(known));
    CoTaskMemFree(known);
#else
    const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#endif
    if (path.isEmpty())
        return;
    QString clean = QDir::cleanPath(path);
    while (clean.size() > 1 && clean.endsWith(QLatin1Char('/')))
        clean.chop(1);
    folder = clean;
}

void TSystemWinOS::GetFileVersionText(QString &version) const
{
    // The version block of the program file is made from the build's project version.
    const QString text = QStringLiteral(KALV_VERSION);
    if (!text.isEmpty())
        version = text;
}

void TSystemWinOS::GetMachineName(QString &name) const { name = QSysInfo::machineHostName().left(128); }

void TSystemWinOS::GetLoginUserName(QString &name) const
{
#if defined(Q_OS_WIN)
    wchar_t buffer[128] = {};
    DWORD size = 128;
    name = GetUserNameW(buffer, &size) ? QString::fromWCharArray(buffer) : QString();
#else
    const passwd *entry = ::getpwuid(::geteuid());
    name = entry ? QString::fromLocal8Bit(entry->pw_name).left(128) : QString();
#endif
}

void TSystemWinOS::GetLocalIPAddress(QString &address) const
{
    address.clear();
    const QHostInfo info = QHostInfo::fromName(QHostInfo::localHostName());
    for (const QHostAddress &candidate : info.addresses()) {
        if (candidate.protocol() == QAbstractSocket::IPv4Protocol) {
            const quint32 ip = candidate.toIPv4Address();
            address = QString::asprintf("%d.%d.%d.%d", (ip >> 24) & 0xFF, (ip >> 16) & 0xFF, (ip >> 8) & 0xFF,
                                        ip & 0xFF);
            return;
        }
    }
}

void TSystemWinOS::GetSystemFolder(QString &folder) const
{
#if defined(Q_OS_WIN)
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
    folder = QString::fromWCharArray(buffer, int(length));
#else
    folder = QStringLiteral("/usr/bin");
#endif
}

void TSystemWinOS::OpenFile(const QString &path, int showMode)
{
#if defined(Q_OS_WIN)
    ShellExecuteW(nullptr, L"open", reinterpret_cast<LPCWSTR>(path.utf16()), nullptr, nullptr, showMode);
#else
    Q_UNUSED(showMode);
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
#endif
}

QString TSystemWinOS::ProgramFolder()
{
    QString folder = programFolderOverride();
    if (folder.isEmpty())
        folder = QCoreApplication::applicationDirPath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString TSystemWinOS::DeliveredFolder()
{
    const QString beside = ProgramFolder() + QStringLiteral("dist/");
    if (QDir(beside).exists())
        return beside;
    return QDir::cleanPath(ProgramFolder() + QStringLiteral("../share/kalvhotel")) + QLatin1Char('/');
}

bool TSystemWinOS::Installed()
{
    return !QDir(ProgramFolder() + QStringLiteral("dist")).exists() &&
           QDir(ProgramFolder() + QStringLiteral("../share/kalvhotel")).exists();
}

void TSystemWinOS::SetProgramFolder(const QString &folder) { programFolderOverride() = folder; }

void TSystemWinOS::SetMessageBoxHandler(MessageBoxHandler handler) { messageBoxHandler() = std::move(handler); }

int TSystemWinOS::ShowMessageBox(const QString &text, const QString &title, int flags)
{
    if (messageBoxHandler())
        return messageBoxHandler()(text, title, flags);
    QMessageBox box(iconOf(flags), title, text);
    const QList<ButtonSpec> buttons = buttonsOf(flags);
    for (const ButtonSpec &spec : buttons)
        box.addButton(spec.button);
    // MB_DEFBUTTON2 and MB_DEFBUTTON3 name another button as the one Enter presses.
    box.setDefaultButton(buttons.value((flags >> 8) & 3, buttons.first()).button);
    box.exec();
    const auto pressed = box.standardButton(box.clickedButton());
    for (const ButtonSpec &spec : buttons)
        if (spec.button == pressed)
            return spec.id;
    // Closed without a button: the box's escape answer.
    for (const ButtonSpec &spec : buttons)
        if (spec.id == IDCANCEL)
            return IDCANCEL;
    return buttons.last().id;
}

void TSystemWinOS::ShowMessage(const QString &text)
{
    ShowMessageBox(text, QCoreApplication::applicationName(), 0);
}

void TSystemWinOS::MakeFilesPrivate()
{
#if !defined(Q_OS_WIN)
    ::umask(077);
#endif
}

QString TSystemWinOS::ReadSecretLine(const QString &prompt)
{
    QTextStream input(stdin);
#if !defined(Q_OS_WIN)
    if (::isatty(STDIN_FILENO)) {
        termios saved{};
        ::tcgetattr(STDIN_FILENO, &saved);
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        quiet.c_lflag |= ECHONL;
        std::fprintf(stderr, "%s", qPrintable(prompt));
        std::fflush(stderr);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
        const QString line = input.readLine();
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        return line;
    }
#else
    Q_UNUSED(prompt);
#endif
    return input.readLine();
}

bool TSystemWinOS::ProcessRuns(qint64 pid)
{
#if defined(Q_OS_WIN)
    Q_UNUSED(pid);
    return true;
#else
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
#endif
}

void TSystemWinOS::EndWithThisProcess(QProcess &child)
{
#if defined(Q_OS_LINUX)
    child.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
#else
    Q_UNUSED(child);
#endif
}
