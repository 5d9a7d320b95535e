#pragma once
// The countries of ISO 3166-1 with their names in the three languages of the program (from the
// delivered countries.csv, taken from Debian's iso-codes), and the area a citizen of each belongs
// to as far as the registration of guests tells them apart.

#include <QList>
#include <QString>
#include <optional>

namespace Countries {

struct TCountry {
    QString Alpha2, Alpha3, English, Bulgarian, Russian;
    // In the operator's language.
    QString Name() const;
};

// Every country by its two-letter code; empty when the delivered list cannot be read.
const QList<TCountry> &All();
// By its two- or three-letter code, in any case.
std::optional<TCountry> Find(const QString &code);

enum TArea { arBulgaria, arEuropeanUnion, arEuropeanEconomicArea, arSwitzerland, arOther, arUnknown };
TArea AreaOf(const QString &code);

} // namespace Countries
