#include "URegistry.h"

#include "errors/UErrors.h"
#include "startup/USystemWinOS.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace {

// Tags of the typed form kept where the store holds only texts.
const QString kDwordTag = QStringLiteral("dword:");
const QString kStringTag = QStringLiteral("sz:");

enum class ValueType { Missing, String, Integer };

ValueType typeOf(const QVariant &raw, QString *text, int *number)
{
    if (!raw.isValid())
        return ValueType::Missing;
    if constexpr (TSystemWinOS::SettingsStoreKeepsTypes()) {
        if (raw.typeId() == QMetaType::QString) {
            if (text)
                *text = raw.toString();
            return ValueType::String;
        }
        if (number)
            *number = raw.toInt();
        return ValueType::Integer;
    }
    const QString stored = raw.toString();
    if (stored.startsWith(kDwordTag)) {
        if (number)
            *number = int(stored.mid(kDwordTag.size()).toUInt(nullptr, 16));
        return ValueType::Integer;
    }
    if (text)
        *text = stored.startsWith(kStringTag) ? stored.mid(kStringTag.size()) : stored;
    return ValueType::String;
}

ERegistryException wrongType(const QString &name)
{
    return ERegistryException(QStringLiteral("Invalid data type for '%1'").arg(name));
}

} // namespace

TRegistry::TRegistry() = default;
TRegistry::~TRegistry() { CloseKey(); }

namespace {

// A process killed between making the store's lock file and writing its name into it leaves an
// empty lock that the next reader would wait half a minute on. A live writer fills its lock in
// the same instant it makes it, so an empty one half a second old is nobody's.
void removeAbandonedLock(const QSettings &settings)
{
    if constexpr (!TSystemWinOS::SettingsStoreKeepsTypes()) {
        const QFileInfo lock(settings.fileName() + QStringLiteral(".lock"));
        if (lock.exists() && lock.size() == 0 && lock.lastModified().msecsTo(QDateTime::currentDateTime()) >= 500)
            QFile::remove(lock.filePath());
    }
}

} // namespace

bool TRegistry::OpenKey(const QString &key, bool canCreate)
{
    CloseKey();
    const QStringList parts = key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (parts.size() < 3 || parts[0].compare(QStringLiteral("Software"), Qt::CaseInsensitive) != 0)
        return false;
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, parts[1], parts[2]);
    removeAbandonedLock(*settings);
    if (parts.size() > 3)
        settings->beginGroup(parts.mid(3).join(QLatin1Char('/')));
    if (settings->status() != QSettings::NoError || (canCreate && !settings->isWritable()))
        return false;
    m_settings = std::move(settings);
    return true;
}

void TRegistry::CloseKey()
{
    m_updating = 0;
    if (m_settings)
        m_settings->sync();
    m_settings.reset();
}

QSettings &TRegistry::Settings() const
{
    if (!m_settings)
        throw ERegistryException(QStringLiteral("No registry key is open"));
    return *m_settings;
}

QVariant TRegistry::RawValue(const QString &name) const { return Settings().value(name); }

bool TRegistry::ValueExists(const QString &name) const { return Settings().contains(name); }

QString TRegistry::ReadString(const QString &name) const
{
    QString text;
    const ValueType type = typeOf(RawValue(name), &text, nullptr);
    if (type == ValueType::Integer)
        throw wrongType(name);
    return text;
}

int TRegistry::ReadInteger(const QString &name) const
{
    int number = 0;
    if (typeOf(RawValue(name), nullptr, &number) != ValueType::Integer)
        throw wrongType(name);
    return number;
}

void TRegistry::Store(const QString &name, const QVariant &value)
{
    QSettings &settings = Settings();
    settings.setValue(name, value);
    if (m_updating > 0)
        return;
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw ERegistryException(QStringLiteral("Failed to set data for '%1'").arg(name));
}

void TRegistry::EndUpdate()
{
    if (m_updating == 0 || --m_updating > 0)
        return;
    QSettings &settings = Settings();
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw ERegistryException(QStringLiteral("Failed to set data for '%1'").arg(settings.fileName()));
}

void TRegistry::WriteString(const QString &name, const QString &value)
{
    if constexpr (TSystemWinOS::SettingsStoreKeepsTypes()) {
        Store(name, value);
    } else {
        const bool ambiguous = value.startsWith(kDwordTag) || value.startsWith(kStringTag);
        Store(name, ambiguous ? kStringTag + value : value);
    }
}

void TRegistry::WriteInteger(const QString &name, int value)
{
    if constexpr (TSystemWinOS::SettingsStoreKeepsTypes())
        Store(name, value);
    else
        Store(name, kDwordTag + QStringLiteral("%1").arg(uint(value), 8, 16, QLatin1Char('0')));
}

bool TRegistry::DeleteValue(const QString &name)
{
    QSettings &settings = Settings();
    if (!settings.contains(name))
        return false;
    settings.remove(name);
    settings.sync();
    return settings.status() == QSettings::NoError;
}
