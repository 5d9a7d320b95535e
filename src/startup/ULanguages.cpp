#include "ULanguages.h"

#include "USystemWinOS.h"
#include "errors/UErrors.h"
#include "framework/UWideIniFile.h"

#include <QFile>
#include <QLocale>
#include <QStringList>

namespace Languages {

namespace {

const QString kSection = QStringLiteral("LANG");
const QString kLanguageKey = QStringLiteral("LANGUAGE");

TLanguage fromLocaleName(const QString &name)
{
    const QString code = name.left(2).toLower();
    if (code == QLatin1String("bg"))
        return slBulgarian;
    if (code == QLatin1String("en"))
        return slEnglish;
    if (code == QLatin1String("ru"))
        return slRussian;
    return slUnknow;
}

} // namespace

QString DeliveredSettingsName(TLanguage language)
{
    switch (language) {
    case slEnglish:
        return QStringLiteral("Settings.en.ini");
    case slRussian:
        return QStringLiteral("Settings.ru.ini");
    default:
        return QStringLiteral("Settings.ini");
    }
}

TLanguage SystemLanguage()
{
#ifdef Q_OS_WIN
    return fromLocaleName(QLocale::system().name());
#else
    // As gettext reads them: the language list first, then the locale of messages.
    const QString list = qEnvironmentVariable("LANGUAGE");
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (value.isEmpty())
            continue;
        if (value == QLatin1String("C") || value.startsWith(QLatin1String("C.")) || value == QLatin1String("POSIX"))
            return slUnknow;
        if (!list.isEmpty())
            return fromLocaleName(list.section(QLatin1Char(':'), 0, 0));
        return fromLocaleName(value);
    }
    return slUnknow;
#endif
}

void Choose(const QString &userSettings, TLanguage language)
{
    const QString delivered = TSystemWinOS::DeliveredFolder() + DeliveredSettingsName(language);
    if (!QFile::exists(delivered))
        throw EIniFileException(delivered);
    const TWideMemIniFile captions(delivered);
    TWideMemIniFile user(userSettings);
    user.BeginUpdate();
    for (const QString &key : captions.Keys(kSection))
        user.WriteString(kSection, key, captions.ReadString(kSection, key, QString()));
    user.WriteString(kSection, kLanguageKey, LanguageName(language));
    user.EndUpdate();
}

TLanguage OfSettings(const QString &userSettings)
{
    return LanguageFromText(TWideMemIniFile(userSettings).ReadString(kSection, kLanguageKey, QString()));
}

} // namespace Languages
