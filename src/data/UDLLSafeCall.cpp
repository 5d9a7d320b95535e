#include "UDLLSafeCall.h"

#include "errors/UErrors.h"
#include "startup/USystemWinOS.h"

#include <QLibrary>

namespace {

QString &libraryFolderOverride()
{
    static QString folder;
    return folder;
}

// The program's own folder (as Windows searches it before the system's folders), then the
// private library folder of an installed program.
QStringList libraryFolders()
{
    if (!libraryFolderOverride().isEmpty())
        return {libraryFolderOverride()};
    return {TSystemWinOS::ProgramFolder(), TSystemWinOS::ProgramFolder() + QStringLiteral("../lib/kalvhotel/")};
}

} // namespace

TDLLSafeCall::TDLLSafeCall() = default;

TDLLSafeCall::~TDLLSafeCall() { Unload(); }

void TDLLSafeCall::SetLibraryFolder(const QString &folder)
{
    libraryFolderOverride() = folder.isEmpty() || folder.endsWith(QLatin1Char('/')) ? folder : folder + "/";
}

bool TDLLSafeCall::LoadFunction(quint8 kind, const QString &libraryName)
{
    Unload();
    auto library = std::make_unique<QLibrary>();
    bool loaded = false;
    for (const QString &folder : libraryFolders()) {
        library->setFileName(folder + libraryName);
        if ((loaded = library->load()))
            break;
    }
    if (!loaded) {
        library->setFileName(libraryName);
        if (!library->load())
            return false;
    }
    m_library = std::move(library);
    switch (kind) {
    case 1:
        m_readable = reinterpret_cast<CheckFunction>(m_library->resolve("HashingKey_IsReadable"));
        m_decrypt = reinterpret_cast<TextFunction>(m_library->resolve("HashingKey_Decrypt"));
        return m_decrypt != nullptr;
    case 2:
        m_encrypt = reinterpret_cast<TextFunction>(m_library->resolve("HashingKey_Encrypt"));
        return m_encrypt != nullptr;
    case 3:
        m_mail = reinterpret_cast<MailFunction>(m_library->resolve("SendMailReportLog"));
        return m_mail != nullptr;
    default:
        return false;
    }
}

QByteArray TDLLSafeCall::CallText(TextFunction function, const QByteArray &input)
{
    if (!function)
        throw Exception(QStringLiteral("The library function is not loaded"));
    const int length = function(input.constData(), nullptr, 0);
    if (length < 0)
        throw Exception(QStringLiteral("The password library could not process the text"));
    QByteArray output(length + 1, '\0');
    const int written = function(input.constData(), output.data(), int(output.size()));
    if (written < 0 || written > length)
        throw Exception(QStringLiteral("The password library could not process the text"));
    output.truncate(written);
    return output;
}

QByteArray TDLLSafeCall::Decrypt(const QByteArray &input) const { return CallText(m_decrypt, input); }

QByteArray TDLLSafeCall::Encrypt(const QByteArray &input) const { return CallText(m_encrypt, input); }

QString TDLLSafeCall::DecryptText(const QString &stored) const
{
    return QString::fromLocal8Bit(Decrypt(stored.toLocal8Bit()));
}

bool TDLLSafeCall::IsReadable(const QString &stored) const
{
    // A library without the check can only be taken at its word.
    return !m_readable || m_readable(stored.toLocal8Bit().constData()) != 0;
}

QString TDLLSafeCall::EncryptText(const QString &password) const
{
    return QString::fromLocal8Bit(Encrypt(password.toLocal8Bit()));
}

bool TDLLSafeCall::SendMail(const QString &text) const { return SendMailResult(text) > 0; }

int TDLLSafeCall::SendMailResult(const QString &text) const
{
    if (!m_mail)
        throw Exception(QStringLiteral("The mail function is not loaded"));
    return m_mail(reinterpret_cast<const char16_t *>(text.utf16()));
}

bool TDLLSafeCall::Unload()
{
    m_decrypt = m_encrypt = nullptr;
    m_mail = nullptr;
    m_readable = nullptr;
    if (!m_library)
        return true;
    // Released once: the handle is gone whether or not the system agreed.
    const bool released = m_library->unload();
    m_library.reset();
    return released;
}
