#include "UExceptionLogs.h"

#include "UErrors.h"
#include "data/UDLLSafeCall.h"
#include "framework/UFormatSettings.h"
#include "framework/UMainLibraryClass.h"
#include "startup/UConstMessagesDesk.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/USystemWinOS.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QFont>
#include <QPushButton>
#include <QScreen>

namespace {

TExceptionLogs::ShowHandler &showHandler()
{
    static TExceptionLogs::ShowHandler handler;
    return handler;
}

const QString kLineEnd = QStringLiteral("\r\n");

} // namespace

TExceptionLogs::TExceptionLogs(const QString &text, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_memo(new QPlainTextEdit(this)), m_save(new QPushButton(QStringLiteral("Запиши"), this)),
      m_mail(new QPushButton(QStringLiteral("Изпрати поща"), this))
{
    setObjectName(QStringLiteral("ExceptionLogs"));
    setWindowTitle(msgBugsReportTitle);
    setFixedSize(450, 300);
    m_memo->setObjectName(QStringLiteral("mmLog"));
    m_memo->setReadOnly(true);
    m_memo->setGeometry(0, 0, width() - 14, height() - 80);
    m_memo->setPlainText(QString(text).replace(kLineEnd, QStringLiteral("\n")));
    m_save->setObjectName(QStringLiteral("btnSaveLog"));
    m_save->setGeometry(width() - 200, m_memo->height() + 5, 75, 25);
    m_mail->setObjectName(QStringLiteral("btnSendMail"));
    QFont small = m_mail->font();  // the caption is wider than the fixed button
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_mail->setFont(small);
    m_mail->setGeometry(width() - 120, m_memo->height() + 5, 80, 25);
    connect(m_save, &QPushButton::clicked, this, &TExceptionLogs::SaveLogToFile);
    connect(m_mail, &QPushButton::clicked, this, &TExceptionLogs::SendLogByMail);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TExceptionLogs::SetShowHandler(ShowHandler handler) { showHandler() = std::move(handler); }

void TExceptionLogs::Show(const QString &text)
{
    auto *window = new TExceptionLogs(text);
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (showHandler()) {
        showHandler()(*window);
        delete window;
        return;
    }
    window->setModal(true);
    if (QCoreApplication::closingDown()) {
        // A modal loop can no longer run: show the window without waiting.
        window->show();
        return;
    }
    window->exec();
}

QString TExceptionLogs::Text() const { return m_memo->toPlainText().replace(QLatin1Char('\n'), kLineEnd); }

QString TExceptionLogs::LogFileName()
{
    // An installed program's folder belongs to the system: the log goes with the user's data.
    if (TSystemWinOS::Installed() && !DataFolder.isEmpty())
        return DataFolder + QStringLiteral("Log.txt");
    return TSystemWinOS::ProgramFolder() + QStringLiteral("Log.txt");
}

void TExceptionLogs::SaveLogToFile()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QString header = QStringLiteral("--- ") + DateToStr(now.date()) + QLatin1Char(' ') + TimeToStr(now.time());
    QFile file(LogFileName());
    QString entry;
    if (file.exists()) {
        if (!file.open(QIODevice::ReadWrite | QIODevice::Append))
            throw EInOutError(QStringLiteral("Cannot open %1: %2").arg(file.fileName(), file.errorString()));
        entry = kLineEnd + kLineEnd + kLineEnd + header + kLineEnd;
    } else if (!file.open(QIODevice::WriteOnly)) {
        throw EInOutError(QStringLiteral("Cannot create %1: %2").arg(file.fileName(), file.errorString()));
    }
    entry += Text();
    const QByteArray bytes = entry.toLocal8Bit();
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw EInOutError(QStringLiteral("Cannot write %1: %2").arg(file.fileName(), file.errorString()));
}

QString TExceptionLogs::OSTypeName(quint8 osType)
{
    static const char *const names[] = {"Unknown OS", "Win95  OS", "Win98 OS",   "Win98SE OS", "WinNT OS",
                                        "WinME OS",   "Win2000 OS", "WinXP OS", "WinVista OS"};
    return osType < std::size(names) ? QString::fromLatin1(names[osType]) : QString();
}

QString TExceptionLogs::MailReportText(quint8 osType, const QString &address, const QString &machine,
                                       const QString &user, const QString &version, const QString &body)
{
    const QStringList lines = {QStringLiteral("Operation System: ") + OSTypeName(osType),
                               address,
                               machine,
                               user,
                               QString(),
                               QStringLiteral("Version: ") + version,
                               body};
    return lines.join(kLineEnd);
}

void TExceptionLogs::SendLogByMail()
{
    try {
        TSystemWinOS os;
        os.DetectOSType();
        QString address, machine, user;
        os.GetLocalIPAddress(address);
        os.GetMachineName(machine);
        os.GetLoginUserName(user);
        const QString report =
            MailReportText(os.OSType, address, machine, user, KalvApplicationCtrl().VersionText, Text());
        TDLLSafeCall dll;
        if (!dll.LoadFunction(3, QStringLiteral("Netlbr"))) {
            TSystemWinOS::ShowMessage(QStringLiteral("Функцията не се инициализира."));
            return;
        }
        const int sent = dll.SendMailResult(report);
        if (sent == -2)
            m_memo->setPlainText(m_memo->toPlainText() + QLatin1Char('\n') + msgMailNeedsEncryption);
        else if (sent <= 0)
            TSystemWinOS::ShowMessage(QStringLiteral("false send"));
        if (!dll.Unload())
            RequestTerminate();
    } catch (const std::exception &error) {
        const QString message = dynamic_cast<const Exception *>(&error)
                                    ? static_cast<const Exception &>(error).Message()
                                    : QString::fromLocal8Bit(error.what());
        m_memo->setPlainText(m_memo->toPlainText() + QLatin1Char('\n') + message);
    }
}
