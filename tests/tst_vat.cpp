// VAT worked out from prices that include it: known figures, and thousands of random baskets
// checked against a separate exact computation: the lines always add up to the rates' figures,
// the rates to the document's, to the cent.

#include "TestHarness.h"

#include "desk/UVat.h"
#include "desk/UInvoices.h"
#include "data/USchemaUpgrade.h"
#include "desk/UFrontDesk.h"
#include "data/UAdoDb.h"
#include "startup/UConstMessagesStay.h"
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

// A hotel with a room (its type at accommodation's rate) and breakfast (the standard rate).
void hotelWithRates(TestDatabase &db)
{
    db.Exec("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски')");
    db.Exec("INSERT INTO Uslugi (q40, q33) VALUES (60, 'Единична'), (12, 'Закуска')");
    db.Exec("INSERT INTO Rooms (q44, q46, q1, q42) VALUES ('101', 60, 1, 1)");
    TTransaction setup(db.Connection(), true);
    SchemaUpgrade::AssignVatRates(db.Connection());
    setup.Commit();
}

int bookingOf(TADOConnection &connection)
{
    return connection.InsertReturningIdentity("Rezervacii", {"q1", "q29", "q57"}, "VALUES (1, 'Иван Петров', 1)", {});
}

// A guest in house in room 101 for the nights up to today, at 60 a night.
int stayOf(TADOConnection &connection, int booking, int nights)
{
    const QDate d0 = QDate::currentDate();
    return connection.InsertReturningIdentity(
        "Klients", {"q1", "q29", "q34", "q35", "q47", "q70", "q71", "q27", "q124", "q125"},
        "VALUES (1, 'Иван Петров', ?, ?, 1, 60, ?, ?, ?, 1)", {d0.addDays(-nights), d0, nights, 60 * nights, booking});
}

// Two breakfasts of 12.
int breakfastsOf(TADOConnection &connection, int booking)
{
    return connection.InsertReturningIdentity("Klients", {"q1", "q33", "q70", "q71", "q27", "q124", "q125"},
                                              "VALUES (1, 'Закуска', 12, 2, 24, ?, 0)", {booking});
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

    // A booking's stay (accommodation), breakfasts (standard rate) and tourist tax (outside VAT)
    // on one invoice: each line at its rate, the tax per rate once, the number of its series.
    void anInvoiceBillsEachRowOnceAtItsRate()
    {
        TestDatabase db;
        TADOConnection &connection = db.Connection();
        hotelWithRates(db);
        const int booking = bookingOf(connection);
        const QDate d0 = QDate::currentDate();
        const int stay = stayOf(connection, booking, 3);
        const int breakfast = breakfastsOf(connection, booking);
        const int tax = connection.InsertReturningIdentity(
            "Klients", {"q1", "q33", "q70", "q71", "q27", "q124", "q125", "q160"},
            "VALUES (1, 'Курортна такса', 1.1, 3, 3.3, ?, 0, ?)", {booking, stay});
        QCOMPARE(Invoices::Unbilled(booking).size(), 3);
        const int series = Invoices::AddSeries(1, "Основна", 7);
        Invoices::TBuyer company;
        company.Person = false;
        company.Name = "Фирма ООД";
        company.Eik = "831642181";
        company.VatNumber = "BG831642181";
        // The room to the company; the rest stays unbilled.
        const int first = Invoices::Issue(Invoices::dkInvoice, booking, {stay}, company, series, d0);
        const Invoices::TDocument room = *Invoices::Read(first);
        QCOMPARE(room.Number, QString("0000000007"));
        QCOMPARE(room.Buyer.Eik, QString("831642181"));
        QCOMPARE(room.Lines.size(), 1);
        QCOMPARE(room.Gross.ToFixed(2), QString("180.00"));
        QCOMPARE(room.Tax.ToFixed(2), QString("14.86"));  // 180 × 9 / 109
        QCOMPARE(room.Net.ToFixed(2), QString("165.14"));
        QVERIFY(room.Lines.first().Text.contains("101"));
        // The same row again: refused, nothing written.
        QVERIFY_THROWS_EXCEPTION(EFrontDeskRefused, Invoices::Issue(Invoices::dkInvoice, booking, {stay}, company, series, d0));
        // A proforma of the rest takes no number and bills nothing.
        const int proforma = Invoices::Issue(Invoices::dkProforma, booking, {}, {}, series, d0);
        QCOMPARE(Invoices::Read(proforma)->Number, QString());
        QCOMPARE(Invoices::Unbilled(booking).size(), 2);
        // The rest to the guest: breakfast at 20 %, the tourist tax outside VAT on its own line.
        Invoices::TBuyer guest;
        guest.Name = "Иван Петров";
        const Invoices::TDocument rest = *Invoices::Read(Invoices::Issue(Invoices::dkInvoice, booking, {}, guest, series, d0));
        QCOMPARE(rest.Number, QString("0000000008"));
        QCOMPARE(rest.Lines.size(), 2);
        QCOMPARE(rest.Gross.ToFixed(2), QString("27.30"));
        QCOMPARE(rest.Tax.ToFixed(2), QString("4.00"));
        QCOMPARE(rest.ByRate.size(), 2);
        for (const Invoices::TLine &line : rest.Lines) {
            if (line.Charge == breakfast)
                QCOMPARE(line.Tax.ToFixed(2), QString("4.00"));
            else
                QVERIFY(line.Charge == tax && line.Tax.IsZero() && line.Percent.IsZero());
        }
        QVERIFY(Invoices::Unbilled(booking).isEmpty());
        QVERIFY_THROWS_EXCEPTION(EFrontDeskRefused, Invoices::Issue(Invoices::dkInvoice, booking, {}, guest, series, d0));
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM Fakturi"), QStringList({"3"}));
        QCOMPARE(db.Rows(QString("SELECT q174 FROM FakturiSerii WHERE q171 = %1").arg(series)), QStringList({"0000000009"}));
        // A series at its last number says so.
        const int full = Invoices::AddSeries(1, "Стара", Invoices::kLastNumber + 1);
        const int other = connection.InsertReturningIdentity("Klients", {"q1", "q33", "q70", "q71", "q27", "q124", "q125"},
                                                             "VALUES (1, 'Закуска', 12, 1, 12, ?, 0)", {booking});
        try {
            Invoices::Issue(Invoices::dkInvoice, booking, {other}, guest, full, d0);
            QFAIL("a full series gave a number");
        } catch (const EFrontDeskRefused &refusal) {
            QCOMPARE(refusal.Message(), msgInvoiceSeriesFull.arg("Стара"));
        }
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM Fakturi"), QStringList({"3"}));
    }

    // Credit and debit notes to an invoice: numbered in its series, at each row's rate, never
    // taking off more than a row still bills; a row credited in full can be billed again.
    void notesCorrectAnInvoiceRowByRow()
    {
        TestDatabase db;
        TADOConnection &connection = db.Connection();
        hotelWithRates(db);
        const QDate d0 = QDate::currentDate();
        const int booking = bookingOf(connection);
        const int stay = stayOf(connection, booking, 2);
        const int breakfast = breakfastsOf(connection, booking);
        const int series = Invoices::AddSeries(1, "Основна", 100);
        Invoices::TBuyer guest;
        guest.Name = "Иван Петров";
        const int invoice = Invoices::Issue(Invoices::dkInvoice, booking, {}, guest, series, d0);
        QCOMPARE(Invoices::Read(invoice)->Number, QString("0000000100"));
        // The breakfasts taken off in full: a note of its own number, the breakfast billable again.
        const Invoices::TDocument credit =
            *Invoices::Read(Invoices::IssueNote(Invoices::dkCredit, invoice, {{breakfast, TDecimal(24)}}, d0));
        QCOMPARE(credit.Number, QString("0000000101"));
        QCOMPARE(credit.Refers, invoice);
        QCOMPARE(credit.Gross.ToFixed(2), QString("-24.00"));
        QCOMPARE(credit.Tax.ToFixed(2), QString("-4.00"));
        QCOMPARE(Invoices::Unbilled(booking).size(), 1);
        QCOMPARE(Invoices::Unbilled(booking).first().Charge, breakfast);
        // Part of the stay: 50.00 off at 9 %; more than it still bills is refused, nothing written.
        const Invoices::TDocument part =
            *Invoices::Read(Invoices::IssueNote(Invoices::dkCredit, invoice, {{stay, TDecimal(50)}}, d0));
        QCOMPARE(part.Tax.ToFixed(2), QString("-4.13"));  // 50 × 9 / 109 = 4.128
        try {
            Invoices::IssueNote(Invoices::dkCredit, invoice, {{stay, TDecimal(71)}}, d0);
            QFAIL("a credit took off more than the row bills");
        } catch (const EFrontDeskRefused &refusal) {
            QCOMPARE(refusal.Message(), msgNoteTooMuch.arg(stay).arg("70.00"));
        }
        QVERIFY(Invoices::Unbilled(booking).size() == 1);  // the stay is still billed (70.00 of it)
        // A debit note adds; a row not on the invoice, a zero or negative amount, a note to a note:
        // refused.
        const Invoices::TDocument debit =
            *Invoices::Read(Invoices::IssueNote(Invoices::dkDebit, invoice, {{stay, TDecimal::FromText("10.90")}}, d0));
        QCOMPARE(debit.Gross.ToFixed(2), QString("10.90"));
        QCOMPARE(debit.Tax.ToFixed(2), QString("0.90"));
        QVERIFY_THROWS_EXCEPTION(EFrontDeskRefused, Invoices::IssueNote(Invoices::dkCredit, invoice, {{stay + 100, TDecimal(1)}}, d0));
        QVERIFY_THROWS_EXCEPTION(EFrontDeskRefused, Invoices::IssueNote(Invoices::dkCredit, invoice, {{stay, TDecimal()}}, d0));
        QVERIFY_THROWS_EXCEPTION(EFrontDeskRefused, Invoices::IssueNote(Invoices::dkCredit, invoice, {{stay, TDecimal(-1)}}, d0));
        QVERIFY_THROWS_EXCEPTION(EFrontDeskRefused, Invoices::IssueNote(Invoices::dkCredit, credit.Id, {{breakfast, TDecimal(1)}}, d0));
        QCOMPARE(db.Rows("SELECT q184 FROM Fakturi ORDER BY q184"),
                 QStringList({"0000000100", "0000000101", "0000000102", "0000000103"}));
        // The breakfasts billed again, to the same guest, on a new invoice.
        const Invoices::TDocument again = *Invoices::Read(Invoices::Issue(Invoices::dkInvoice, booking, {}, guest, series, d0));
        QCOMPARE(again.Lines.size(), 1);
        QCOMPARE(again.Gross.ToFixed(2), QString("24.00"));
        QVERIFY(Invoices::Unbilled(booking).isEmpty());
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
