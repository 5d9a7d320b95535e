#pragma once
// The current user's registry: one key at a time, named values of text or 32-bit integer.
// On Windows it is the registry itself; elsewhere QSettings keeps it in the user's
// configuration folder, and this class keeps the value types that an ini file would lose.

#include <QSettings>
#include <QString>
#include <memory>

class TRegistry
{
public:
    TRegistry();
    ~TRegistry();

    // "\Software\<organisation>\<application>[\group...]"; false when the store refuses access.
    bool OpenKey(const QString &key, bool canCreate);
    void CloseKey();
    bool IsOpen() const { return m_settings != nullptr; }

    bool ValueExists(const QString &name) const;
    // A missing value reads as empty text; a value of another type raises ERegistryException.
    QString ReadString(const QString &name) const;
    // A missing value or a value of another type raises ERegistryException.
    int ReadInteger(const QString &name) const;
    void WriteString(const QString &name, const QString &value);
    void WriteInteger(const QString &name, int value);
    bool DeleteValue(const QString &name);

    // Values written between the two reach the store together in one write: after a crash at
    // any moment the store holds all the old values or all the new ones.
    void BeginUpdate() { ++m_updating; }
    void EndUpdate();

private:
    QVariant RawValue(const QString &name) const;
    void Store(const QString &name, const QVariant &value);
    QSettings &Settings() const;

    std::unique_ptr<QSettings> m_settings;
    int m_updating = 0;
};

// The connection settings key and its value names, spelled as stored.
namespace SqlSettings {
inline const QString Key = QStringLiteral("\\Software\\Oxtarne\\SQL Settings");
inline const QString Provider = QStringLiteral("Provider");
inline const QString ComputerName = QStringLiteral("Computer Name");
inline const QString Instance = QStringLiteral("SQL Inctance");
inline const QString Aliase = QStringLiteral("SQL Aliase");
inline const QString Authentication = QStringLiteral("Authentication");
inline const QString User = QStringLiteral("sa User");
inline const QString Password = QStringLiteral("sa Password");
inline const QString Port = QStringLiteral("Port");
inline const QString Protocol = QStringLiteral("Protocol");
inline const QString DataBase = QStringLiteral("DataBase");
inline const QString TimeoutConnection = QStringLiteral("TimeoutConnection");
inline const QString TimeoutCommand = QStringLiteral("TimeoutCommand");
inline const QString IsDynamicPort = QStringLiteral("IsDynamicPort");
inline const QString InitRooms = QStringLiteral("InitRooms");
// How a shared server's connection is encrypted (disable, prefer, require, verify-full; empty:
// verify-full for another machine, prefer for this one) and the CA file that vouches for it.
inline const QString SslMode = QStringLiteral("SSL Mode");
// Minutes without input after which the login covers the main window; 0: never.
inline const QString IdleLockMinutes = QStringLiteral("IdleLockMinutes");
constexpr int DefaultIdleLockMinutes = 15;
inline const QString SslRootCert = QStringLiteral("SSL Root Cert");
} // namespace SqlSettings
