// VAT worked out from prices that include it: known figures, and thousands of random baskets
// checked against a separate exact computation: the lines always add up to the rates' figures,
// the rates to the document's, to the cent.

#include "TestHarness.h"

#include "desk/UVat.h"
#include "UserInput.h"
#include "startup/UConstMessagesReports.h"
#include "windows/UNomDDSStavki.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>

#include <QRandomGenerator>
#include <QtTest>

namespace {

// Exact cents of a two-place amount text.
qint64 cents(const TDecimal &amount)
{
    QString text = amount.ToFixed(2);
    return text.remove('.').toLongLong();
}

// The tax in a gross amount by the definition: gross × rate / (100 + rate), to the nearest cent,
// halves away from zero; in exact fractions of 128-bit integers.
qint64 expectedTax(qint64 grossCents, int basisPoints)
{
    const __int128 numerator = __int128(grossCents) * basisPoints, denominator = 10000 + basisPoints;
    const __int128 magnitude = numerator < 0 ? -numerator : numerator;
    const __int128 rounded = (2 * magnitude + denominator) / (2 * denominator);
    return qint64(numerator < 0 ? -rounded : rounded);
}

TDecimal amount(qint64 cents)
{
    return TDecimal::FromText(QString("%1%2.%3").arg(cents < 0 ? "-" : "").arg(qAbs(cents) / 100).arg(qAbs(cents) % 100, 2, 10, QChar('0')));
}

} // namespace

class TestVat : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FillCatalogue(slBulgarian); }

    // A new database has the law's rates; the register adds one for a period, edits it by its
    // number, and refuses what no rate can be, writing nothing.
    void theRatesRegisterKeepsRatesWithTheirDays()
    {
        TestDatabase db;
        QCOMPARE(db.Rows("SELECT q164, q168 FROM DDSStavki ORDER BY q163"),
                 QStringList({"ДДС 20%|Б", "ДДС 9% настаняване|Г", "Без ДДС|А"}));
        TFNomDDSStavki window;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.InitializeWindow();
        window.show();
        QCOMPARE(window.GridModel()->rowCount(), 3);
        QVERIFY(TypeInto(window.EditDDSName, "ДДС 9% ресторант"));
        QVERIFY(TypeInto(window.EditDDSPercent, "9,00"));
        QVERIFY(TypeInto(window.EditDDSGroup, "Г"));
        QVERIFY(TypeInto(window.EditDDSBasis, "временна ставка"));
        QVERIFY(ClickOn(window.chkDDSLimited));
        QVERIFY(TypeDate(window.DateDDSFrom, QDate(2027, 1, 1)));
        QVERIFY(TypeDate(window.DateDDSTo, QDate(2027, 12, 31)));
        QVERIFY(ClickCommand(window.acSave));
        QCOMPARE(window.GridModel()->rowCount(), 4);
        QCOMPARE(db.Rows("SELECT q164, q168, q169 FROM DDSStavki WHERE q163 = 4"),
                 QStringList({"ДДС 9% ресторант|Г|временна ставка"}));
        // Valid through the last day chosen: kept as the first day it no longer holds.
        QCOMPARE(db.Rows("SELECT q166, q167 FROM DDSStavki WHERE q163 = 4 AND q165 = 9"),
                 QStringList({"01.01.2027|01.01.2028"}));
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM Dnevnik WHERE q145 = 'DDSStavki'"), QStringList({"1"}));
        // Not a rate: refused, said, nothing written.
        for (const QString &bad : {"100", "-1", "9.555", "девет"}) {
            MessageBoxRecorder boxes;
            QVERIFY(TypeInto(window.EditDDSPercent, bad));
            QVERIFY(ClickCommand(window.acSave));
            QCOMPARE(boxes.Texts(), QStringList({msgRateInvalid}));
        }
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM DDSStavki"), QStringList({"4"}));
        // By its number: the same row changes.
        QVERIFY(TypeInto(window.EditDDSId, "4"));
        QVERIFY(TypeInto(window.EditDDSPercent, "10"));
        QVERIFY(ClickCommand(window.acSave));
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM DDSStavki"), QStringList({"4"}));
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM DDSStavki WHERE q163 = 4 AND q165 = 10"), QStringList({"1"}));
    }

    void knownFigures()
    {
        QCOMPARE(Vat::TaxOfGross(TDecimal::FromText("109.00"), 900).ToFixed(2), QString("9.00"));
        QCOMPARE(Vat::TaxOfGross(TDecimal::FromText("120.00"), 2000).ToFixed(2), QString("20.00"));
        QCOMPARE(Vat::TaxOfGross(TDecimal::FromText("12.00"), 2000).ToFixed(2), QString("2.00"));
        QCOMPARE(Vat::TaxOfGross(TDecimal::FromText("1.00"), 900).ToFixed(2), QString("0.08"));    // 0.0826
        QCOMPARE(Vat::TaxOfGross(TDecimal::FromText("0.06"), 2000).ToFixed(2), QString("0.01"));   // 0.01 exactly
        QCOMPARE(Vat::TaxOfGross(TDecimal::FromText("-120.00"), 2000).ToFixed(2), QString("-20.00"));
        QCOMPARE(Vat::TaxOfGross(TDecimal::FromText("55.00"), 0).ToFixed(2), QString("0.00"));
        // Rounded once on the rate's sum, not line by line: three breakfasts of 1.00 at 9 %
        // carry 0.25 of tax, where three rounded lines would say 0.24.
        const Vat::TSplit split = Vat::Split({{TDecimal::FromText("1.00"), 900}, {TDecimal::FromText("1.00"), 900},
                                              {TDecimal::FromText("1.00"), 900}});
        QCOMPARE(split.Tax.ToFixed(2), QString("0.25"));
        QCOMPARE(split.Net.ToFixed(2), QString("2.75"));
        QCOMPARE(split.LineTax.at(0) + split.LineTax.at(1) + split.LineTax.at(2), split.Tax);
        // The law's rates, each with where it stands.
        QCOMPARE(Vat::LawRates().size(), 3);
        for (const Vat::TLawRate &rate : Vat::LawRates())
            QVERIFY(!rate.Basis.isEmpty() && !rate.FiscalGroup.isEmpty());
    }

    void randomBasketsAlwaysAddUp()
    {
        QRandomGenerator random(20261210);
        const int rates[] = {0, 900, 2000};
        for (int basket = 0; basket < 5000; ++basket) {
            const int count = 1 + int(random.bounded(20));
            QList<Vat::TLine> lines;
            QHash<int, qint64> grossOfRate;
            for (int i = 0; i < count; ++i) {
                qint64 value = 1 + random.bounded(500000);
                if (basket % 7 == 0 && random.bounded(4) == 0)
                    value = -value;  // a credit line
                const int rate = rates[random.bounded(3)];
                lines.append({amount(value), rate});
                grossOfRate[rate] += value;
            }
            const Vat::TSplit split = Vat::Split(lines);
            qint64 gross = 0, tax = 0;
            for (const Vat::TRateTotal &total : split.ByRate) {
                QCOMPARE(cents(total.Gross), grossOfRate.value(total.BasisPoints));
                QCOMPARE(cents(total.Tax), expectedTax(cents(total.Gross), total.BasisPoints));
                QCOMPARE(cents(total.Net) + cents(total.Tax), cents(total.Gross));
                qint64 lineTax = 0, lineNet = 0;
                for (int i = 0; i < lines.size(); ++i)
                    if (lines.at(i).BasisPoints == total.BasisPoints) {
                        lineTax += cents(split.LineTax.at(i));
                        lineNet += cents(split.LineNet.at(i));
                        QCOMPARE(cents(split.LineNet.at(i)) + cents(split.LineTax.at(i)), cents(lines.at(i).Gross));
                        // A line's share is within a cent of its exact part of the rate's tax.
                        const double exact = double(cents(lines.at(i).Gross)) * double(cents(total.Tax)) /
                                             double(cents(total.Gross) == 0 ? 1 : cents(total.Gross));
                        if (cents(total.Gross) != 0 && std::abs(exact) < 1e12)
                            QVERIFY2(std::abs(double(cents(split.LineTax.at(i))) - exact) <= 1.0 + 1e-6,
                                     qPrintable(QString("%1 against %2").arg(cents(split.LineTax.at(i))).arg(exact)));
                    }
                QCOMPARE(lineTax, cents(total.Tax));
                QCOMPARE(lineNet, cents(total.Net));
                gross += cents(total.Gross);
                tax += cents(total.Tax);
            }
            QCOMPARE(cents(split.Gross), gross);
            QCOMPARE(cents(split.Tax), tax);
            QCOMPARE(cents(split.Net), gross - tax);
        }
    }
};

KALV_TEST_MAIN(TestVat)
#include "tst_vat.moc"
