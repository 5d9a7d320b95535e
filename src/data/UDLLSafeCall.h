#pragma once
// Loader of one export of a run-time library by kind:
// 1 HashingKey_Decrypt, 2 HashingKey_Encrypt (library "HashingKey"), 3 SendMailReportLog ("Netlbr").

#include <QByteArray>
#include <QString>
#include <memory>

class QLibrary;

class TDLLSafeCall
{
public:
    TDLLSafeCall();
    ~TDLLSafeCall();
    TDLLSafeCall(const TDLLSafeCall &) = delete;
    TDLLSafeCall &operator=(const TDLLSafeCall &) = delete;

    bool LoadFunction(quint8 kind, const QString &libraryName);
    QByteArray Decrypt(const QByteArray &input) const;
    QByteArray Encrypt(const QByteArray &input) const;
    bool SendMail(const QString &text) const;
    // The library's own answer: 1 sent, 0 not sent, -2 refused for want of an encrypted connection.
    int SendMailResult(const QString &text) const;
    bool Unload();

    // The stored password and its text, through the system's 8-bit code page.
    QString DecryptText(const QString &stored) const;
    // After a load of kind 1: false when the stored password cannot be read with the user's key.
    bool IsReadable(const QString &stored) const;
    QString EncryptText(const QString &password) const;

    // Where libraries are looked for before the system's search (the program folder).
    static void SetLibraryFolder(const QString &folder);

private:
    using TextFunction = int (*)(const char *input, char *output, int outputSize);
    using MailFunction = int (*)(const char16_t *text);
    using CheckFunction = int (*)(const char *input);

    static QByteArray CallText(TextFunction function, const QByteArray &input);

    std::unique_ptr<QLibrary> m_library;
    TextFunction m_decrypt = nullptr;
    TextFunction m_encrypt = nullptr;
    MailFunction m_mail = nullptr;
    CheckFunction m_readable = nullptr;
};
