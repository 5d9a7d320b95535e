#pragma once
// The error log window: shows an error text, appends it to Log.txt on request,
// or mails it with a description of the computer through the report mail library.

#include <QDialog>
#include <functional>

class QPlainTextEdit;
class QPushButton;

class TExceptionLogs : public QDialog
{
    Q_OBJECT
public:
    explicit TExceptionLogs(const QString &text, QWidget *parent = nullptr);

    // Builds the window with the text and shows it modally; the caller goes on once it is closed.
    static void Show(const QString &text);

    QString Text() const;
    QPlainTextEdit *Memo() const { return m_memo; }

    void SaveLogToFile();
    void SendLogByMail();

    // The report text handed to the mail library, line by line.
    static QString MailReportText(quint8 osType, const QString &address, const QString &machine,
                                  const QString &user, const QString &version, const QString &body);
    static QString OSTypeName(quint8 osType);
    static QString LogFileName();

    // The seam of tests: when set, it receives the built window instead of a modal loop.
    using ShowHandler = std::function<void(TExceptionLogs &window)>;
    static void SetShowHandler(ShowHandler handler);

private:
    QPlainTextEdit *m_memo;
    QPushButton *m_save;
    QPushButton *m_mail;
};
