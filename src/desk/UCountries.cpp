#include "UCountries.h"

#include "startup/UConstMessagesHotel.h"
#include "startup/USystemWinOS.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QTextStream>

namespace Countries {

namespace {

QList<TCountry> read()
{
    QList<TCountry> countries;
    // The delivered folder, else the one beside the program (a program folder set elsewhere
    // that holds no delivered files).
    QFile file(TSystemWinOS::DeliveredFolder() + QStringLiteral("countries/countries.csv"));
    if (!file.exists())
        file.setFileName(QCoreApplication::applicationDirPath() + QStringLiteral("/dist/countries/countries.csv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return countries;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    in.readLine();  // the heading
    while (!in.atEnd()) {
        const QStringList cells = in.readLine().split(QLatin1Char(';'));
        if (cells.size() == 5)
            countries.append({cells.at(0), cells.at(1), cells.at(2), cells.at(3), cells.at(4)});
    }
    return countries;
}

// Citizens of the European Union, of the other states of the European Economic Area and of the
// Swiss Confederation come and stay under the Закон за влизането, пребиваването и напускането на
// Република България на гражданите на Европейския съюз и членовете на техните семейства; every
// other foreigner under the Закон за чужденците в Република България. The members as of 2026.
const QSet<QString> &europeanUnion()
{
    static const QSet<QString> members = {"AT", "BE", "BG", "CY", "CZ", "DE", "DK", "EE", "ES", "FI", "FR", "GR", "HR", "HU",
                                          "IE", "IT", "LT", "LU", "LV", "MT", "NL", "PL", "PT", "RO", "SE", "SI", "SK"};
    return members;
}
const QSet<QString> &otherEconomicArea()
{
    static const QSet<QString> members = {"IS", "LI", "NO"};
    return members;
}

} // namespace

QString TCountry::Name() const
{
    switch (CurrentLanguage) {
    case slEnglish: return English;
    case slRussian: return Russian;
    default: return Bulgarian;
    }
}

const QList<TCountry> &All()
{
    static const QList<TCountry> countries = read();
    return countries;
}

std::optional<TCountry> Find(const QString &code)
{
    static const QHash<QString, int> byCode = [] {
        QHash<QString, int> codes;
        for (int i = 0; i < All().size(); ++i) {
            codes.insert(All().at(i).Alpha2, i);
            codes.insert(All().at(i).Alpha3, i);
        }
        return codes;
    }();
    const auto found = byCode.constFind(code.trimmed().toUpper());
    if (found == byCode.cend())
        return std::nullopt;
    return All().at(found.value());
}

TArea AreaOf(const QString &code)
{
    const std::optional<TCountry> country = Find(code);
    if (!country)
        return arUnknown;
    if (country->Alpha2 == QLatin1String("BG"))
        return arBulgaria;
    if (europeanUnion().contains(country->Alpha2))
        return arEuropeanUnion;
    if (otherEconomicArea().contains(country->Alpha2))
        return arEuropeanEconomicArea;
    return country->Alpha2 == QLatin1String("CH") ? arSwitzerland : arOther;
}

} // namespace Countries
