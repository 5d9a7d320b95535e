#include "UVat.h"

#include <QHash>
#include <algorithm>

namespace Vat {

namespace {

// numerator / denominator to the nearest whole number, halves away from zero (denominator > 0).
qint64 roundedQuotient(qint64 numerator, qint64 denominator)
{
    const qint64 magnitude = (2 * (numerator < 0 ? -numerator : numerator) + denominator) / (2 * denominator);
    return numerator < 0 ? -magnitude : magnitude;
}

qint64 taxCents(qint64 grossCents, int basisPoints)
{
    // gross × p / (100 % + p), in hundredths of a percent.
    return roundedQuotient(grossCents * basisPoints, 10000 + basisPoints);
}

// The rate's tax shared over its lines: each its exact share rounded down, the cents left to
// the lines whose share lost most, so that the shares add up to the tax.
void ShareOut(const QList<TLine> &lines, int rate, qint64 rateGross, qint64 rateTax, QList<qint64> &lineTax)
{
    struct TShare {
        int Line;
        qint64 Remainder;
    };
    QList<TShare> shares;
    qint64 given = 0;
    int largest = -1;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines.at(i).BasisPoints != rate)
            continue;
        const qint64 gross = lines.at(i).Gross.ToCents();
        if (largest < 0 || std::abs(gross) > std::abs(lines.at(largest).Gross.ToCents()))
            largest = i;
        if (rateGross == 0) {
            // Lines that cancel out: each its own tax, the difference on the largest.
            lineTax[i] = taxCents(gross, rate);
            given += lineTax[i];
            continue;
        }
        qint64 numerator = gross * rateTax, denominator = rateGross;
        if (denominator < 0) {
            numerator = -numerator;
            denominator = -denominator;
        }
        qint64 quotient = numerator / denominator, remainder = numerator % denominator;
        if (remainder < 0) {
            --quotient;
            remainder += denominator;
        }
        lineTax[i] = quotient;
        given += quotient;
        shares.append({i, remainder});
    }
    if (rateGross == 0) {
        if (largest >= 0)
            lineTax[largest] += rateTax - given;
        return;
    }
    std::stable_sort(shares.begin(), shares.end(),
                     [](const TShare &a, const TShare &b) { return a.Remainder > b.Remainder; });
    for (qint64 k = 0; k < rateTax - given; ++k)
        lineTax[shares.at(int(k)).Line] += 1;
}

} // namespace

const QList<TLawRate> &LawRates()
{
    // ЗДДС (Закон за данък върху добавената стойност), чл. 66, ал. 1, т. 1: 20 на сто;
    // чл. 66, ал. 1, т. 2: 9 на сто за настаняване, предоставено от хотелиери.
    // Amounts that are no supply (the tourist tax, a local tax by ЗМДТ) carry no VAT.
    // The fiscal device's tax groups by Наредба № Н-18: "Б" 20 %, "Г" 9 %, "А" no VAT.
    static const QList<TLawRate> rates = {
        {QStringLiteral("ДДС 20%"), 2000, QStringLiteral("Б"), QStringLiteral("ЗДДС, чл. 66, ал. 1, т. 1")},
        {QStringLiteral("ДДС 9% настаняване"), 900, QStringLiteral("Г"), QStringLiteral("ЗДДС, чл. 66, ал. 1, т. 2")},
        {QStringLiteral("Без ДДС"), 0, QStringLiteral("А"), QStringLiteral("не е облагаема доставка")},
    };
    return rates;
}

QString StandardCode() { return LawRates().at(0).Code; }
QString AccommodationCode() { return LawRates().at(1).Code; }
QString OutsideCode() { return LawRates().at(2).Code; }

TDecimal PercentOf(int basisPoints) { return TDecimal::FromCents(basisPoints); }

int BasisPointsOf(const TDecimal &percent) { return int(percent.ToCents()); }

TDecimal TaxOfGross(const TDecimal &gross, int basisPoints)
{
    return TDecimal::FromCents(taxCents(gross.ToCents(), basisPoints));
}

TSplit Split(const QList<TLine> &lines)
{
    TSplit split;
    QList<int> rates;
    QHash<int, qint64> grossOfRate;
    for (const TLine &line : lines) {
        if (!grossOfRate.contains(line.BasisPoints))
            rates.append(line.BasisPoints);
        grossOfRate[line.BasisPoints] += line.Gross.ToCents();
    }
    QList<qint64> lineTax(lines.size(), 0);
    qint64 gross = 0, tax = 0;
    for (const int rate : std::as_const(rates)) {
        const qint64 rateGross = grossOfRate.value(rate), rateTax = taxCents(rateGross, rate);
        split.ByRate.append({rate, TDecimal::FromCents(rateGross), TDecimal::FromCents(rateGross - rateTax), TDecimal::FromCents(rateTax)});
        gross += rateGross;
        tax += rateTax;
        ShareOut(lines, rate, rateGross, rateTax, lineTax);
    }
    for (int i = 0; i < lines.size(); ++i) {
        split.LineTax.append(TDecimal::FromCents(lineTax.at(i)));
        split.LineNet.append(TDecimal::FromCents(lines.at(i).Gross.ToCents() - lineTax.at(i)));
    }
    split.Gross = TDecimal::FromCents(gross);
    split.Tax = TDecimal::FromCents(tax);
    split.Net = TDecimal::FromCents(gross - tax);
    return split;
}

} // namespace Vat
