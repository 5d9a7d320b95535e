#include "ULanguages.h"
#include <memory>
#include <QTranslator>
#include <QLibraryInfo>
#include <QCoreApplication>

#include "USystemWinOS.h"
#include "errors/UErrors.h"
#include "framework/UFormatSettings.h"
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

QLocale LocaleOf(TLanguage language)
{
    switch (language) {
    case slBulgarian:
        return QLocale(QLocale::Bulgarian, QLocale::Bulgaria);
    case slRussian:
        return QLocale(QLocale::Russian, QLocale::Russia);
    default:
        return QLocale(QLocale::English, QLocale::Ireland);  // day.month order, as the desk writes dates
    }
}

bool UseInQt(TLanguage language)
{
    QLocale::setDefault(LocaleOf(language));
    // Amounts typed and read: a decimal comma and blank-grouped thousands in Bulgarian and Russian.
    const bool comma = language == slBulgarian || language == slRussian;
    AmountStyle() = comma ? TAmountStyle{QLatin1Char(','), QChar(0x00A0)} : TAmountStyle{QLatin1Char('.'), QLatin1Char(',')};
    static QTranslator *installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    if (language != slBulgarian && language != slRussian)
        return true;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(LocaleOf(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    installed = translator.release();
    QCoreApplication::installTranslator(installed);
    return true;
}

} // namespace Languages
