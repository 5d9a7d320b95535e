#pragma once
// Value added tax as the front desk charges it: the rates the law sets, and how a document's
// tax is worked out from prices that include it. The rates live in the register DDSStavki; the
// law's rates below are what a new database starts with, and the one place to read them.

#include "framework/UDecimal.h"

#include <QDate>
#include <QList>
#include <QString>

namespace Vat {

// A rate in hundredths of a percent: 2000 is 20 %.
struct TLawRate {
    QString Code;         // the register's name for it
    int BasisPoints = 0;
    QString FiscalGroup;  // the tax group a fiscal device prints it under
    QString Basis;        // where the law says so, for the accountant
};

// The rates a Bulgarian hotel charges.
const QList<TLawRate> &LawRates();
// The codes of the three the desk uses: most services, accommodation, amounts outside VAT.
QString StandardCode();
QString AccommodationCode();
QString OutsideCode();

// A rate as the register keeps it: percent ("9.00"), and back.
TDecimal PercentOf(int basisPoints);
int BasisPointsOf(const TDecimal &percent);

// The tax within a price that includes it, to the cent (half away from zero).
TDecimal TaxOfGross(const TDecimal &gross, int basisPoints);

// One line of a document: its amount with VAT and the rate it carries.
struct TLine {
    TDecimal Gross;
    int BasisPoints = 0;
};

struct TRateTotal {
    int BasisPoints = 0;
    TDecimal Gross, Net, Tax;
};

// A document's tax: per rate, worked out once on the rate's sum and rounded once; then shared
// out over the rate's lines (largest remainders first), so that the lines add up to the rate's
// figures and the rates to the document's, to the cent.
struct TSplit {
    QList<TRateTotal> ByRate;  // in the order the rates first appear
    QList<TDecimal> LineNet, LineTax;
    TDecimal Gross, Net, Tax;
};
TSplit Split(const QList<TLine> &lines);

} // namespace Vat
