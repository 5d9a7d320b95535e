#pragma once
// The three languages of the captions: each has its delivered Settings file (Bulgarian in
// Settings.ini, English in Settings.en.ini, Russian in Settings.ru.ini). A new user's first
// Settings.ini follows the system's language; a later choice rewrites the captions and the
// LANGUAGE entry of the user's file and keeps everything else in it, the panel layout included.

#include "UConstMessagesHotel.h"

#include <QLocale>
#include <QString>

namespace Languages {

// The delivered file of a language (Bulgarian for any other), without its folder.
QString DeliveredSettingsName(TLanguage language);
// The language of the system's locale when it is one of the three, else slUnknow.
TLanguage SystemLanguage();
// Sets LANGUAGE and every caption of the user's Settings.ini from the delivered file of the
// language, in one write. Raises EIniFileException when the file cannot be written.
void Choose(const QString &userSettings, TLanguage language);
// The language the user's Settings.ini names.
TLanguage OfSettings(const QString &userSettings);
// The program speaks the language in Qt's own texts too (Yes, No, Cancel, the file, print and
// colour dialogs), from Debian's Qt translations, and takes the language's locale for numbers.
// False when Qt's translation of the language could not be loaded (English needs none).
bool UseInQt(TLanguage language);
// The locale of a language: Bulgaria's, Russia's, or English as written in the European Union.
QLocale LocaleOf(TLanguage language);

} // namespace Languages
