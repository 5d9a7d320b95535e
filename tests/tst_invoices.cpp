// Invoices as the desk issues and prints them: amounts in words, ЕИК check digits, advance
// payments and their deduction, the parties kept as issued, the PDF read back, and the
// invoice window and the buyers register driven by mouse and keys.

#include "TestHarness.h"
#include "UserInput.h"

#include "data/UAdoDb.h"
#include "data/USchemaUpgrade.h"
#include "desk/UFrontDesk.h"
#include "desk/UInvoiceText.h"
#include "desk/UInvoices.h"
#include "desk/UFiscal.h"
#include "FiscalStandIn.h"
#include "desk/UReports.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesStay.h"
#include "startup/USystemWinOS.h"
#include "windows/UDokument.h"
#include "windows/UFaktura.h"
#include "windows/UFolio.h"
#include "windows/UNastroiki.h"

#include <QToolButton>
#include "windows/UNomHotels.h"
#include "windows/UNomKupuvachi.h"
#include "windows/UNomSerii.h"
#include "windows/UReport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QRandomGenerator>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace Invoices;

namespace {

// A hotel with its company, a room at accommodation's rate and breakfast at the standard one.
void hotelWithSeller(TestDatabase &db)
{
    db.Exec("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски')");
    db.Exec("INSERT INTO FirmiHoteli (q1, q198, q199, q200, q201, q202, q203, q204) VALUES (1, 'Морски Хотели ЕООД', "
            "'206123451', 'BG206123451', 'Варна, ул. Морска 1', 'Мария Иванова', 'BG80BNBG96611020345678', 'БНБ')");
    db.Exec("INSERT INTO Uslugi (q40, q33) VALUES (60, 'Единична'), (12, 'Закуска')");
    db.Exec("INSERT INTO Rooms (q44, q46, q1, q42) VALUES ('101', 60, 1, 1)");
    db.Exec("INSERT INTO Valuta (q57, q56, q86) VALUES (1, 'EUR', 1)");
    TTransaction setup(db.Connection(), true);
    SchemaUpgrade::AssignVatRates(db.Connection());
    setup.Commit();
}

// A booking with a stay of NIGHTS nights up to today at 60 and two breakfasts of 12.
struct TBookingRows {
    int Booking = 0, Stay = 0, Breakfast = 0;
};
TBookingRows bookingWithStay(TADOConnection &connection, int nights)
{
    const QDate d0 = QDate::currentDate();
    TBookingRows rows;
    rows.Booking = connection.InsertReturningIdentity("Rezervacii", {"q1", "q29", "q57", "q134"},
                                                      "VALUES (1, 'Иван Петров', 1, 'София, ул. Шипка 3')", {});
    rows.Stay = connection.InsertReturningIdentity(
        "Klients", {"q1", "q29", "q34", "q35", "q47", "q70", "q71", "q27", "q124", "q125"},
        "VALUES (1, 'Иван Петров', ?, ?, 1, 60, ?, ?, ?, 1)", {d0.addDays(-nights), d0, nights, 60 * nights, rows.Booking});
    rows.Breakfast = connection.InsertReturningIdentity("Klients", {"q1", "q33", "q70", "q71", "q27", "q124", "q125"},
                                                        "VALUES (1, 'Закуска', 12, 2, 24, ?, 0)", {rows.Booking});
    return rows;
}

TBuyer company()
{
    TBuyer buyer;
    buyer.Person = false;
    buyer.Name = "Балкан Травел ООД";
    buyer.Eik = "204987655";
    buyer.VatNumber = "BG204987655";
    buyer.Address = "София, ул. Витоша 10";
    buyer.Accountable = "Петър Петров";
    return buyer;
}

QString pdfText(const QString &file)
{
    QProcess text;
    text.start("pdftotext", {"-layout", file, "-"});
    text.waitForFinished(30000);
    return QString::fromUtf8(text.readAllStandardOutput()).simplified();
}

// The workstation's device: the stand-in service, quick to give up.
void useDevice(const FiscalStandIn &service)
{
    Fiscal::TSettings settings;
    settings.Device = true;
    settings.Address = service.Address();
    settings.Printer = "fp1";
    settings.TimeoutMs = 1500;
    Fiscal::SaveSettings(settings);
}

// A page turned with a click on its tab.
bool clickTab(QTabWidget *pages, QWidget *page)
{
    const int index = pages->indexOf(page);
    return index >= 0 && ClickOn(pages->tabBar(), pages->tabBar()->tabRect(index).center()) && pages->currentIndex() == index;
}

} // namespace

class TestInvoices : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FillCatalogue(slBulgarian); }

    // Numerals agree with what they count, "и" stands before the last word of a group, and a
    // group of one word after thousands; English as written on cheques.
    void amountsInWords()
    {
        using namespace InvoiceText;
        const QList<std::tuple<qint64, TGender, QString>> bulgarian = {
            {0, gMasculine, "нула"},
            {1, gMasculine, "един"},
            {1, gNeuter, "едно"},
            {2, gFeminine, "две"},
            {12, gMasculine, "дванадесет"},
            {21, gMasculine, "двадесет и един"},
            {100, gMasculine, "сто"},
            {105, gMasculine, "сто и пет"},
            {120, gMasculine, "сто и двадесет"},
            {123, gMasculine, "сто двадесет и три"},
            {999, gMasculine, "деветстотин деветдесет и девет"},
            {1000, gMasculine, "хиляда"},
            {1005, gMasculine, "хиляда и пет"},
            {1100, gMasculine, "хиляда и сто"},
            {1120, gMasculine, "хиляда сто и двадесет"},
            {2001, gNeuter, "две хиляди и едно"},
            {21000, gMasculine, "двадесет и една хиляди"},
            {1000000, gMasculine, "един милион"},
            {2500300, gMasculine, "два милиона петстотин хиляди и триста"},
        };
        for (const auto &[number, gender, words] : bulgarian)
            QCOMPARE(NumberInWords(number, gender, lgBulgarian), words);
        QCOMPARE(NumberInWords(1234, gMasculine, lgEnglish), QString("one thousand two hundred thirty-four"));
        QCOMPARE(AmountInWords(TDecimal::FromText("324.00"), "EUR", lgBulgarian), QString("Триста двадесет и четири евро"));
        QCOMPARE(AmountInWords(TDecimal::FromText("1.01"), "EUR", lgBulgarian), QString("Едно евро и един евроцент"));
        QCOMPARE(AmountInWords(TDecimal::FromText("2.45"), "EUR", lgBulgarian),
                 QString("Две евро и четиридесет и пет евроцента"));
        QCOMPARE(AmountInWords(TDecimal::FromText("1.02"), "BGN", lgBulgarian), QString("Един лев и две стотинки"));
        QCOMPARE(AmountInWords(TDecimal::FromText("-20"), "EUR", lgBulgarian), QString("Минус двадесет евро"));
        QCOMPARE(AmountInWords(TDecimal::FromText("21.50"), "EUR", lgEnglish), QString("Twenty-one euro and fifty cents"));
        QCOMPARE(AmountInWords(TDecimal::FromText("7.05"), "USD", lgEnglish), QString("Seven USD 05/100"));
    }

    // Real companies' numbers pass; one digit changed, a wrong length or letters do not.
    void eikCheckDigits()
    {
        for (const char *valid : {"831642181", "175074752", "206123451", "204987655"})
            QVERIFY2(ValidEik(valid), valid);
        for (const char *invalid : {"831642182", "175074753", "12345678", "1234567890", "83164218a", ""})
            QVERIFY2(!ValidEik(invalid), invalid);
        // A branch: thirteen digits, the last checked on the four before it.
        QVERIFY(ValidEik("8316421810002"));
        QVERIFY(!ValidEik("8316421810003"));
        QVERIFY(ValidVatNumber("BG831642181"));
        QVERIFY(!ValidVatNumber("831642181"));
    }

    // An advance at 9 % is invoiced on its day; the final invoice deducts it once, at its rate and
    // no more than the invoice bills at that rate; a refunded advance is not deducted.
    void advancesAreDeductedOnce()
    {
        TestDatabase db;
        TADOConnection &connection = db.Connection();
        hotelWithSeller(db);
        const TBookingRows rows = bookingWithStay(connection, 3);  // 180 at 9 %, 24 at 20 %
        const int series = AddSeries(1, "Основна", 1);
        const QDate paid = QDate::currentDate().addDays(-5);
        const int advance = IssueAdvance(rows.Booking, TDecimal(100), 900, company(), series, paid, FrontDesk::pmTransfer);
        const TDocument first = *Read(advance);
        QVERIFY(first.Advance);
        QCOMPARE(first.TaxEvent, paid);
        QCOMPARE(first.Tax.ToFixed(2), QString("8.26"));  // 100 × 9 / 109
        QCOMPARE(OpenAdvances(rows.Booking).size(), 1);
        // An advance of nothing or of a part of a cent: refused, nothing written.
        QVERIFY_THROWS_EXCEPTION(EFrontDeskRefused, IssueAdvance(rows.Booking, TDecimal(), 900, company(), series, paid, 0));
        QVERIFY_THROWS_EXCEPTION(EFrontDeskRefused, IssueAdvance(rows.Booking, TDecimal::FromText("1.005"), 900, company(),
                                                                 series, paid, 0));
        // The breakfast alone bills nothing at 9 %: nothing to deduct yet.
        const TDocument breakfast = *Read(Issue(dkInvoice, rows.Booking, {rows.Breakfast}, company(), series, QDate::currentDate()));
        QCOMPARE(breakfast.Lines.size(), 1);
        QCOMPARE(breakfast.Gross.ToFixed(2), QString("24.00"));
        // The stay: 180 less the advance of 100.
        const TDocument final = *Read(Issue(dkInvoice, rows.Booking, {}, company(), series, QDate::currentDate()));
        QCOMPARE(final.Lines.size(), 2);
        QCOMPARE(final.Lines.at(1).Deducts, advance);
        QCOMPARE(final.Lines.at(1).Gross.ToFixed(2), QString("-100.00"));
        QVERIFY(final.Lines.at(1).Text.contains(first.Number));
        QCOMPARE(final.Gross.ToFixed(2), QString("80.00"));
        QCOMPARE(final.Tax.ToFixed(2), QString("6.61"));  // 80 × 9 / 109, once on the rate's sum
        QVERIFY(OpenAdvances(rows.Booking).isEmpty());
        // A later invoice of the same booking deducts nothing more; a proforma never deducts.
        const int more = connection.InsertReturningIdentity("Klients", {"q1", "q33", "q70", "q71", "q27", "q124", "q125"},
                                                            "VALUES (1, 'Единична', 60, 1, 60, ?, 0)", {rows.Booking});
        const TDocument proforma = *Read(Issue(dkProforma, rows.Booking, {more}, {}, series, QDate::currentDate()));
        QCOMPARE(proforma.Lines.size(), 1);
        const TDocument later = *Read(Issue(dkInvoice, rows.Booking, {more}, company(), series, QDate::currentDate()));
        QCOMPARE(later.Gross.ToFixed(2), QString("60.00"));

        // A second booking: an advance larger than the stay leaves the rest open; a credit note
        // refunding the rest closes it.
        const TBookingRows second = bookingWithStay(connection, 1);  // 60 at 9 %
        const int big = IssueAdvance(second.Booking, TDecimal(150), 900, company(), series, paid, FrontDesk::pmCard);
        const TDocument part = *Read(Issue(dkInvoice, second.Booking, {second.Stay}, company(), series, QDate::currentDate()));
        QCOMPARE(part.Gross.ToFixed(2), QString("0.00"));
        QCOMPARE(OpenAdvances(second.Booking).first().Left.ToFixed(2), QString("90.00"));
        IssueNote(dkCredit, big, {{0, TDecimal(90)}}, QDate::currentDate());
        QVERIFY(OpenAdvances(second.Booking).isEmpty());
        // The numbers ran on in the series without a gap (the proforma took none).
        QCOMPARE(db.Rows(QString("SELECT q174 FROM FakturiSerii WHERE q171 = %1").arg(series)), QStringList({"0000000008"}));
    }

    // An issued document keeps the seller and buyer as they were: a later change of the
    // registers leaves it as printed.
    void partiesStayAsIssued()
    {
        TestDatabase db;
        hotelWithSeller(db);
        const TBookingRows rows = bookingWithStay(db.Connection(), 2);
        const int series = AddSeries(1, "Основна", 1);
        const int document = Issue(dkInvoice, rows.Booking, {}, company(), series, QDate::currentDate(), FrontDesk::pmTransfer);
        // A second invoice to the same company finds it by its ЕИК: one row in the register.
        db.Exec("UPDATE FirmiHoteli SET q201 = 'Бургас', q199 = '831642181'");
        db.Exec("UPDATE Kupuvachi SET q179 = 'Пловдив'");
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM Kupuvachi"), QStringList({"1"}));
        const TDocument read = *Read(document);
        QCOMPARE(read.Seller.Address, QString("Варна, ул. Морска 1"));
        QCOMPARE(read.Seller.Eik, QString("206123451"));
        QCOMPARE(read.Buyer.Address, QString("София, ул. Витоша 10"));
        QCOMPARE(read.Buyer.Person, false);
        QCOMPARE(read.Method, int(FrontDesk::pmTransfer));
        QCOMPARE(read.Currency, QString("EUR"));
        // A company without a valid ЕИК, or a buyer without a name: refused, nothing written.
        TBuyer wrong = company();
        wrong.Eik = "204987656";
        const TBookingRows other = bookingWithStay(db.Connection(), 1);
        QVERIFY_THROWS_EXCEPTION(EFrontDeskRefused, Issue(dkInvoice, other.Booking, {}, wrong, series, QDate::currentDate()));
        QVERIFY_THROWS_EXCEPTION(EFrontDeskRefused, Issue(dkInvoice, other.Booking, {}, TBuyer(), series, QDate::currentDate()));
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM Fakturi"), QStringList({"1"}));
    }

    // The document as it prints, read back from its PDF: title, number, parties, the VAT by rate,
    // the total in words, the payment and the signatures; in English on request.
    void thePdfSaysWhatTheLawAsks()
    {
        TestDatabase db;
        hotelWithSeller(db);
        const TBookingRows rows = bookingWithStay(db.Connection(), 5);
        const int series = AddSeries(1, "Основна", 1);
        const int document = Issue(dkInvoice, rows.Booking, {}, company(), series, QDate::currentDate(), FrontDesk::pmTransfer);
        QTemporaryDir folder;
        TFDokument *window = TFDokument::OfInvoice(document);
        QVERIFY(window);
        window->InitializeWindow();
        const QString bulgarian = folder.filePath("invoice.pdf");
        QVERIFY(window->SaveAsPdf(bulgarian));
        const QString text = pdfText(bulgarian);
        for (const QString &expected :
             {QString("ФАКТУРА"), QString("№ 0000000001"), QString("Морски Хотели ЕООД"), QString("206123451"),
              QString("Балкан Травел ООД"), QString("BG204987655"), QString("Данъчна основа 9% 275.23 EUR"),
              QString("ДДС 9% 24.77 EUR"), QString("ДДС 20% 4.00 EUR"), QString("Сума за плащане 324.00 EUR"),
              QString("Словом: Триста двадесет и четири евро"), QString("По банков път"),
              QString("BG80BNBG96611020345678"), QString("Съставил"), QString("Получил")})
            QVERIFY2(text.contains(expected), qPrintable(expected + " not in: " + text));
        // English: the language chosen in the window's own drop-down.
        QVERIFY(ChooseFromDropDown(window->cbDokumentLanguage, "English"));
        const QString english = folder.filePath("invoice-en.pdf");
        QVERIFY(window->SaveAsPdf(english));
        const QString englishText = pdfText(english);
        for (const QString &expected : {QString("INVOICE"), QString("Amount due 324.00 EUR"),
                                        QString("Three hundred twenty-four euro"), QString("Received by")})
            QVERIFY2(englishText.contains(expected), qPrintable(expected + " not in: " + englishText));
        delete window;
    }

    // The window as a receptionist uses it: a row unticked with the mouse, the company found by
    // its ЕИК typed, "Издай" clicked; then a credit note to that invoice with its amount typed.
    void theWindowIssuesWhatIsTicked()
    {
        TestDatabase db;
        hotelWithSeller(db);
        db.Exec("INSERT INTO Kupuvachi (q176, q177, q178, q179, q180, q181) VALUES ('Балкан Травел ООД', '204987655', "
                "'BG204987655', 'София', 'Петър Петров', 0)");
        const TBookingRows rows = bookingWithStay(db.Connection(), 2);
        MessageBoxRecorder boxes;
        TFFaktura window;
        QList<int> shown;
        connect(&window, &TFFaktura::DocumentRequested, [&shown](int document) { shown.append(document); });
        window.SetBooking(rows.Booking);
        window.InitializeWindow();
        window.show();
        QCOMPARE(window.tblFakturaLines->rowCount(), 2);
        QCOMPARE(window.edFakturaName->text(), QString("Иван Петров"));  // the guest until a company is named
        // Untick the breakfast with a click on its box.
        const int breakfastRow = window.tblFakturaLines->item(0, 1)->text().contains("Закуска") ? 0 : 1;
        QTableWidget *table = window.tblFakturaLines;
        const QRect box = table->visualItemRect(table->item(breakfastRow, 0));
        QVERIFY(ClickOn(table->viewport(), QPoint(box.left() + 10, box.center().y())));
        QCOMPARE(table->item(breakfastRow, 0)->checkState(), Qt::Unchecked);
        // The company: its box ticked off "a person", the ЕИК typed and left with Tab.
        QVERIFY(clickTab(window.Pages(), window.tsFakturaBuyer));
        QVERIFY(ClickOn(window.chkFakturaPerson));
        QVERIFY(!window.chkFakturaPerson->isChecked());
        QVERIFY(TypeInto(window.cbFakturaEik, "204987655"));
        QVERIFY(PressKey(window.cbFakturaEik, Qt::Key_Tab));
        QCOMPARE(window.edFakturaName->text(), QString("Балкан Травел ООД"));
        QCOMPARE(window.edFakturaMol->text(), QString("Петър Петров"));
        QVERIFY(ClickCommand(window.acFakturaIssue));
        QCOMPARE(shown.size(), 1);
        const TDocument invoice = *Read(shown.first());
        QCOMPARE(invoice.Lines.size(), 1);
        QCOMPARE(invoice.Lines.first().Charge, rows.Stay);
        QCOMPARE(invoice.Buyer.Eik, QString("204987655"));
        QCOMPARE(window.tblFakturaLines->rowCount(), 1);  // the breakfast is left to bill
        QCOMPARE(window.GridModel()->rowCount(), 1);
        // A credit note of 20.00 to it: the invoice chosen in the list, the amount typed.
        QVERIFY(ClickOn(window.Grid()->viewport(), window.Grid()->visualRect(window.GridModel()->index(0, 1)).center()));
        QVERIFY(ClickCommand(window.acFakturaCredit));
        QVERIFY(window.lblFakturaMode->text().contains(invoice.Number));
        QCOMPARE(table->rowCount(), 1);
        const QRect tick = table->visualItemRect(table->item(0, 0));
        QVERIFY(ClickOn(table->viewport(), QPoint(tick.left() + 10, tick.center().y())));
        const QRect amount = table->visualItemRect(table->item(0, 3));
        QVERIFY(ClickOn(table->viewport(), amount.center()));
        QVERIFY(PressKey(table, Qt::Key_F2));
        QVERIFY(PressKey(table, Qt::Key_A, Qt::ControlModifier));
        QVERIFY(TypeKeys(table, "20.00"));
        QVERIFY(PressKey(table, Qt::Key_Return));  // ends the edit, issues nothing
        QCOMPARE(table->item(0, 3)->text(), QString("20.00"));
        QVERIFY(ClickCommand(window.acFakturaIssue));
        QCOMPARE(shown.size(), 2);
        const TDocument credit = *Read(shown.last());
        QCOMPARE(credit.Kind, int(dkCredit));
        QCOMPARE(credit.Refers, invoice.Id);
        QCOMPARE(credit.Gross.ToFixed(2), QString("-20.00"));
        QCOMPARE(window.GridModel()->rowCount(), 2);
        QVERIFY2(boxes.Texts().isEmpty(), qPrintable(boxes.Texts().join('|')));
    }

    // The buyers register: a company with a wrong ЕИК or one already kept is refused and nothing
    // is written; a row double-clicked comes back into the fields to edit.
    void theBuyersRegister()
    {
        TestDatabase db;
        MessageBoxRecorder boxes;
        TFNomKupuvachi window;
        window.InitializeWindow();
        window.show();
        QVERIFY(TypeInto(window.edKupuvachName, "Балкан Травел ООД"));
        QVERIFY(TypeInto(window.edKupuvachEik, "204987656"));
        QVERIFY(ClickCommand(window.acFNomKupuvachiSave));
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM Kupuvachi"), QStringList({"0"}));
        QVERIFY(boxes.Texts().join('|').contains("204987656"));
        QVERIFY(TypeInto(window.edKupuvachEik, "204987655"));
        QVERIFY(TypeInto(window.edKupuvachVat, "bg 204987655"));
        QVERIFY(ClickCommand(window.acFNomKupuvachiSave));
        QCOMPARE(db.Rows("SELECT q176, q177, q178 FROM Kupuvachi"),
                 QStringList({"Балкан Травел ООД|204987655|BG204987655"}));
        // The same ЕИК again as a new row: refused.
        QVERIFY(ClearField(window.edKupuvachId));
        QVERIFY(ClickCommand(window.acFNomKupuvachiSave));
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM Kupuvachi"), QStringList({"1"}));
        // Double-click the row, change the address, save: the same row changes.
        QVERIFY(ClearField(window.edKupuvachName));
        const QPoint row = window.Grid()->visualRect(window.GridModel()->index(0, 1)).center();
        QVERIFY2(window.GridModel()->rowCount() == 1 && row.y() > 0, qPrintable(QString::number(row.y())));
        QVERIFY(ClickOn(window.Grid()->viewport(), row));
        QTest::mouseDClick(window.Grid()->viewport(), Qt::LeftButton, {}, row);
        QCOMPARE(window.edKupuvachName->text(), QString("Балкан Травел ООД"));
        QVERIFY(TypeInto(window.edKupuvachAddress, "Пловдив"));
        QVERIFY(ClickCommand(window.acFNomKupuvachiSave));
        QCOMPARE(db.Rows("SELECT COUNT(*), MIN(q179) FROM Kupuvachi"), QStringList({"1|Пловдив"}));
    }

    // The register of issued documents over a random month of invoices, proformas and notes:
    // its rows and totals for a period, a buyer and a series, against the figures kept here as
    // each document was issued.
    void theRegisterOfDocumentsAddsUp()
    {
        TestDatabase db;
        hotelWithSeller(db);
        TADOConnection &connection = db.Connection();
        const int main = AddSeries(1, "Главна", 1), desk = AddSeries(1, "Рецепция", 5000);
        struct TIssued {
            int Id, Series;
            QDate Day;
            bool Company;
            qint64 Net, Tax, Gross;
        };
        QList<TIssued> issued;
        QRandomGenerator random(20261211);
        const QDate first = QDate::currentDate().addDays(-40);
        auto cents = [](const TDecimal &amount) { return amount.ToFixed(2).remove('.').toLongLong(); };
        for (int i = 0; i < 60; ++i) {
            const QDate day = first.addDays(int(random.bounded(30)));
            FrontDesk::SetToday(day);
            const TBookingRows rows = bookingWithStay(connection, 1 + int(random.bounded(4)));
            const bool toCompany = random.bounded(2) == 0;
            TBuyer buyer = toCompany ? company() : TBuyer();
            if (!toCompany)
                buyer.Name = QString("Гост %1").arg(i);
            const int series = random.bounded(3) == 0 ? desk : main;
            const TKind kind = random.bounded(6) == 0 ? dkProforma : dkInvoice;
            const int id = Issue(kind, rows.Booking, {}, buyer, series, day);
            const TDocument document = *Read(id);
            issued.append({id, series, day, toCompany, cents(document.Net), cents(document.Tax), cents(document.Gross)});
            if (kind == dkInvoice && random.bounded(4) == 0) {
                const int note = IssueNote(dkCredit, id, {{rows.Breakfast, TDecimal(12)}}, day);
                const TDocument credit = *Read(note);
                issued.append({note, series, day, toCompany, cents(credit.Net), cents(credit.Tax), cents(credit.Gross)});
            }
        }
        FrontDesk::SetToday(QDate());
        const QDate from = first.addDays(5), to = first.addDays(24);
        Reports::TParams params;
        params.From = from;
        params.To = to;
        params.Buyer = "травел";
        params.Series = main;
        const Reports::TTable table = Reports::Run(Reports::rpDocuments, params).Tables.first();
        QList<int> expectedIds;
        qint64 net = 0, tax = 0, gross = 0;
        for (const TIssued &one : issued)
            if (one.Day >= from && one.Day <= to && one.Company && one.Series == main) {
                expectedIds.append(one.Id);
                net += one.Net;
                tax += one.Tax;
                gross += one.Gross;
            }
        QList<int> shownIds;
        for (const QVariantList &row : table.Rows)
            shownIds.append(row.at(0).toInt());
        std::sort(expectedIds.begin(), expectedIds.end());
        std::sort(shownIds.begin(), shownIds.end());
        QVERIFY(!expectedIds.isEmpty());
        QCOMPARE(shownIds, expectedIds);
        QCOMPARE(cents(TDecimal::FromText(table.Totals.at(12).toString())), net);
        QCOMPARE(cents(TDecimal::FromText(table.Totals.at(13).toString())), tax);
        QCOMPARE(cents(TDecimal::FromText(table.Totals.at(14).toString())), gross);
        // The ЕИК's beginning finds the same company; every series and buyer: every document of the days.
        params.Buyer = "2049";
        QCOMPARE(Reports::Run(Reports::rpDocuments, params).Tables.first().Rows.size(), expectedIds.size());
        params.Buyer.clear();
        params.Series = QVariant();
        const int ofDays = int(std::count_if(issued.cbegin(), issued.cend(),
                                             [&](const TIssued &one) { return one.Day >= from && one.Day <= to; }));
        QCOMPARE(Reports::Run(Reports::rpDocuments, params).Tables.first().Rows.size(), ofDays);

        // In the window: the buyer typed, the series chosen from its list, "Покажи"; a double click
        // on a row asks for its document (a reprint); the CSV holds a line per document.
        TFReport window(*Reports::DefinitionOfAction("actReportDokumenti"));
        window.SetDefaults(from, QString());
        window.InitializeWindow();
        window.show();
        QTRY_VERIFY(!window.Running());
        QVERIFY(TypeDate(window.dtpReportTo, to));
        QVERIFY(TypeInto(window.edReportBuyer, "травел"));
        QVERIFY(TypeDate(window.dtpReportFrom, from));
        QVERIFY(ChooseFromDropDown(window.cbReportSeries, "Главна"));
        QVERIFY(ClickCommand(window.acReportShow));
        QTRY_VERIFY(!window.Running());
        QCOMPARE(window.Shown().Tables.first().Rows.size(), expectedIds.size());
        QList<int> asked;
        connect(&window, &TFReport::DocumentRequested, [&asked](int document) { asked.append(document); });
        QTableView *grid = window.Grid(0);
        const QPoint row = grid->visualRect(grid->model()->index(0, 2)).center();
        QVERIFY(ClickOn(grid->viewport(), row));
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, row);
        QCOMPARE(asked, QList<int>({window.Shown().Tables.first().Rows.first().first().toInt()}));
        QTemporaryDir folder;
        QVERIFY(window.SaveAsCsv(folder.filePath("documents.csv")));
        QFile csv(folder.filePath("documents.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(csv.readAll()).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1 + expectedIds.size() + 1);  // the header, the documents, the totals
    }

    // The series register: a series with its first number; once it has given numbers they stay,
    // and no other series may start among them.
    void theSeriesRegister()
    {
        TestDatabase db;
        hotelWithSeller(db);
        MessageBoxRecorder boxes;
        TFNomSerii window;
        window.InitializeWindow();
        window.show();
        QVERIFY(TypeInto(window.edSeriaName, "Каса 2"));
        QVERIFY(TypeInto(window.edSeriaFirst, "10000000000"));
        QVERIFY(ClickCommand(window.acFNomSeriiSave));
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM FakturiSerii WHERE q172 = 'Каса 2'"), QStringList({"0"}));
        QVERIFY(TypeInto(window.edSeriaFirst, "1000000001"));
        QVERIFY(TypeInto(window.cbSeriaHotel, "Морски"));
        QVERIFY(ClickCommand(window.acFNomSeriiSave));
        QCOMPARE(db.Rows("SELECT q1, q173, q174 FROM FakturiSerii WHERE q172 = 'Каса 2'"),
                 QStringList({"1|1000000001|1000000001"}));
        const int series = db.Rows("SELECT q171 FROM FakturiSerii WHERE q172 = 'Каса 2'").first().toInt();
        const TBookingRows rows = bookingWithStay(db.Connection(), 1);
        Issue(dkInvoice, rows.Booking, {}, company(), series, QDate::currentDate());
        // Given numbers stay; the name may change.
        QVERIFY(ClearField(window.edSeriaName));
        const QPoint row = window.Grid()->visualRect(window.GridModel()->index(1, 1)).center();
        QVERIFY(ClickOn(window.Grid()->viewport(), row));
        QTest::mouseDClick(window.Grid()->viewport(), Qt::LeftButton, {}, row);
        QCOMPARE(window.edSeriaName->text(), QString("Каса 2"));
        QVERIFY(TypeInto(window.edSeriaFirst, "2000000001"));
        const int before = boxes.Boxes().size();
        QVERIFY(ClickCommand(window.acFNomSeriiSave));
        QCOMPARE(boxes.Boxes().size(), before + 1);
        QVERIFY(TypeInto(window.edSeriaFirst, "1000000001"));
        QVERIFY(TypeInto(window.edSeriaName, "Рецепция"));
        QVERIFY(ClickCommand(window.acFNomSeriiSave));
        QCOMPARE(db.Rows(QString("SELECT q172, q174 FROM FakturiSerii WHERE q171 = %1").arg(series)),
                 QStringList({"Рецепция|1000000002"}));
        // A new series cannot start at a number already given.
        QVERIFY(ClearField(window.edSeriaId));
        QVERIFY(TypeInto(window.edSeriaName, "Нова"));
        QVERIFY(ClickCommand(window.acFNomSeriiSave));
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM FakturiSerii WHERE q172 = 'Нова'"), QStringList({"0"}));
        QVERIFY(boxes.Texts().last().contains("Рецепция"));
    }

    // A cash payment of a booking's balance: one receipt whose items carry the tax groups of the
    // rates (accommodation Г, services Б, the tourist tax А) and add up to the payment; the
    // payment recorded with the receipt; a card payment of a part shares the amount out.
    void fiscalReceiptOfAPayment()
    {
        TestDatabase db;
        hotelWithSeller(db);
        FiscalStandIn service;
        useDevice(service);
        const TBookingRows rows = bookingWithStay(db.Connection(), 3);  // 180 at 9 %, 24 at 20 %
        db.Connection().InsertReturningIdentity("Klients", {"q1", "q33", "q70", "q71", "q27", "q124", "q125", "q160"},
                                                "VALUES (1, 'Курортна такса', 1.1, 3, 3.3, ?, 0, ?)", {rows.Booking, rows.Stay});
        const int payment = Fiscal::Pay(rows.Booking, FrontDesk::pkPayment, FrontDesk::pmCash, TDecimal::FromText("207.30"), {});
        QCOMPARE(service.Printed().size(), 1);
        const QJsonObject receipt = service.Printed().first();
        QVERIFY(QRegularExpression("^DT279013-0000-0000001$").match(receipt.value("uniqueSaleNumber").toString()).hasMatch());
        QMap<int, double> byGroup;
        for (const QJsonValue &item : receipt.value("items").toArray())
            byGroup[item.toObject().value("taxGroup").toInt()] += item.toObject().value("unitPrice").toDouble() *
                                                                   item.toObject().value("quantity").toDouble();
        QCOMPARE(byGroup.keys(), QList<int>({1, 2, 4}));
        QCOMPARE(qRound(byGroup.value(4) * 100), 18000);
        QCOMPARE(qRound(byGroup.value(2) * 100), 2400);
        QCOMPARE(qRound(byGroup.value(1) * 100), 330);
        const QJsonObject paid = receipt.value("payments").toArray().first().toObject();
        QCOMPARE(paid.value("paymentType").toString(), QString("cash"));
        QCOMPARE(qRound(paid.value("amount").toDouble() * 100), 20730);
        QCOMPARE(db.Rows(QString("SELECT q224, q225, q227, q139 FROM FiskalniBonove")),
                 QStringList({QString("1|0000001|02279013|%1").arg(payment)}));
        // A part by card: the shares add up to it, the next sale number of the operator.
        Fiscal::Pay(rows.Booking, FrontDesk::pkPayment, FrontDesk::pmCard, TDecimal(10), {});
        const QJsonObject part = service.Printed().last();
        QCOMPARE(part.value("uniqueSaleNumber").toString(), QString("DT279013-0000-0000002"));
        qint64 cents = 0;
        for (const QJsonValue &item : part.value("items").toArray())
            cents += qRound64(item.toObject().value("unitPrice").toDouble() * 100);
        QCOMPARE(cents, 1000);
        QCOMPARE(part.value("payments").toArray().first().toObject().value("paymentType").toString(), QString("card"));
        // A bank transfer needs no receipt.
        Fiscal::Pay(rows.Booking, FrontDesk::pkPayment, FrontDesk::pmTransfer, TDecimal(5), {});
        QCOMPARE(service.Printed().size(), 2);
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM Plashtania"), QStringList({"3"}));
    }

    // A refused receipt records nothing; a payment the desk would refuse prints nothing; a
    // service that cannot be reached leaves no trace.
    void fiscalRefusalsRecordNothing()
    {
        TestDatabase db;
        hotelWithSeller(db);
        FiscalStandIn service;
        useDevice(service);
        const TBookingRows rows = bookingWithStay(db.Connection(), 1);
        service.SetMode(FiscalStandIn::Refuse);
        try {
            Fiscal::Pay(rows.Booking, FrontDesk::pkPayment, FrontDesk::pmCash, TDecimal(20), {});
            QFAIL("a refused receipt was taken");
        } catch (const EFrontDeskRefused &refusal) {
            QVERIFY2(refusal.Message().contains("E201"), qPrintable(refusal.Message()));
        }
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM Plashtania"), QStringList({"0"}));
        QCOMPARE(db.Rows("SELECT q224 FROM FiskalniBonove"), QStringList({"2"}));
        const int asked = int(service.Requests().size());
        QVERIFY_THROWS_EXCEPTION(EFrontDeskRefused, Fiscal::Pay(rows.Booking, FrontDesk::pkRefund, FrontDesk::pmCash,
                                                                TDecimal(5), {}));
        QCOMPARE(service.Requests().size(), asked);  // the desk refused before the device was asked
        Fiscal::TSettings away = Fiscal::Settings();
        away.Address = "http://127.0.0.1:9";
        Fiscal::SaveSettings(away);
        QVERIFY_THROWS_EXCEPTION(Fiscal::EFiscalFailed, Fiscal::Pay(rows.Booking, FrontDesk::pkPayment, FrontDesk::pmCash,
                                                                    TDecimal(20), {}));
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM FiskalniBonove"), QStringList({"1"}));
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM Plashtania"), QStringList({"0"}));
    }

    // An answer that never comes after printing is asked for by the task id: one receipt, one
    // payment. A request dropped before printing is sent again with the same task id and prints
    // once.
    void fiscalLostAnswersPrintOnce()
    {
        TestDatabase db;
        hotelWithSeller(db);
        FiscalStandIn service;
        useDevice(service);
        const TBookingRows rows = bookingWithStay(db.Connection(), 2);
        service.SetMode(FiscalStandIn::PrintButStaySilent);
        Fiscal::Pay(rows.Booking, FrontDesk::pkPayment, FrontDesk::pmCash, TDecimal(30), {});
        QCOMPARE(service.Printed().size(), 1);
        const QList<FiscalStandIn::TRequest> asked = service.Requests();
        QVERIFY(std::any_of(asked.cbegin(), asked.cend(),
                            [](const FiscalStandIn::TRequest &request) { return request.Path.endsWith("taskinfo"); }));
        service.SetMode(FiscalStandIn::LoseBeforePrint);
        Fiscal::Pay(rows.Booking, FrontDesk::pkPayment, FrontDesk::pmCash, TDecimal(40), {});
        QCOMPARE(service.Printed().size(), 2);
        QStringList tasks;
        for (const FiscalStandIn::TRequest &request : service.Requests())
            if (request.Path.endsWith("/receipt"))
                tasks.append(request.Query.queryItemValue("taskId"));
        tasks.removeDuplicates();
        QCOMPARE(tasks.size(), 2);  // each payment one task, however often it was sent
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM Plashtania"), QStringList({"2"}));
        QCOMPARE(db.Rows("SELECT q224 FROM FiskalniBonove ORDER BY q221"), QStringList({"1", "1"}));
        // The service prints and goes down before answering: nothing recorded, the row given up.
        // Taken again once it is back, the same task is found: recorded, not printed twice.
        service.SetMode(FiscalStandIn::PrintThenGoAway);
        QVERIFY_THROWS_EXCEPTION(Fiscal::EFiscalFailed, Fiscal::Pay(rows.Booking, FrontDesk::pkPayment,
                                                                    FrontDesk::pmCash, TDecimal(15), {}));
        QCOMPARE(service.Printed().size(), 3);
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM Plashtania"), QStringList({"2"}));
        QCOMPARE(db.Rows("SELECT q224 FROM FiskalniBonove ORDER BY q221"), QStringList({"1", "1", "4"}));
        service.ComeBack();
        Fiscal::Pay(rows.Booking, FrontDesk::pkPayment, FrontDesk::pmCash, TDecimal(15), {});
        QCOMPARE(service.Printed().size(), 3);
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM Plashtania"), QStringList({"3"}));
        QCOMPARE(db.Rows("SELECT q224 FROM FiskalniBonove ORDER BY q221"), QStringList({"1", "1", "1"}));
    }

    // A receipt another workstation is sending right now is its own: the same payment taken here
    // meanwhile prints its own receipt. A row left "sent" longer than any send lasts (its
    // workstation died) is taken again by its task, and prints nothing twice.
    void fiscalReceiptOnItsWayIsNotTakenOver()
    {
        TestDatabase db;
        hotelWithSeller(db);
        FiscalStandIn service;
        useDevice(service);
        const TBookingRows rows = bookingWithStay(db.Connection(), 2);
        const auto sentElsewhere = [&](const QDateTime &when, const QString &task) {
            db.Connection().Execute("INSERT INTO FiskalniBonove (q124, q222, q223, q224, q228, q229, q231, q136) "
                                    "VALUES (?, ?, ?, 0, 25, 0, ?, ?)",
                                    {rows.Booking, "ELSEWHERE-0001-0000001", task, int(FrontDesk::pmCash), when});
        };
        sentElsewhere(FrontDesk::Now(), "task-on-its-way");
        Fiscal::Pay(rows.Booking, FrontDesk::pkPayment, FrontDesk::pmCash, TDecimal(25), {});
        QCOMPARE(service.Printed().size(), 1);
        QVERIFY(service.Requests().last().Query.queryItemValue("taskId") != "task-on-its-way");
        QCOMPARE(db.Rows("SELECT q224 FROM FiskalniBonove ORDER BY q221"), QStringList({"0", "1"}));

        const qint64 longest = Fiscal::TClient::LongestSendMs(Fiscal::Settings());
        db.Connection().Execute("DELETE FROM FiskalniBonove WHERE q224 = 0");
        sentElsewhere(FrontDesk::Now().addMSecs(-longest - 120000), "task-of-a-dead-workstation");
        Fiscal::Pay(rows.Booking, FrontDesk::pkPayment, FrontDesk::pmCash, TDecimal(25), {});
        QCOMPARE(service.Requests().last().Query.queryItemValue("taskId"), QString("task-of-a-dead-workstation"));
        QCOMPARE(db.Rows("SELECT q224 FROM FiskalniBonove ORDER BY q221"), QStringList({"1", "1"}));
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM Plashtania"), QStringList({"2"}));
    }

    // A refund prints a reversal naming the receipt it takes back, with that receipt's sale
    // number; more than one receipt holds is refused and nothing prints.
    void fiscalRefundPrintsAReversal()
    {
        TestDatabase db;
        hotelWithSeller(db);
        FiscalStandIn service;
        useDevice(service);
        const TBookingRows rows = bookingWithStay(db.Connection(), 2);
        Fiscal::Pay(rows.Booking, FrontDesk::pkPayment, FrontDesk::pmCash, TDecimal(60), {});
        Fiscal::Pay(rows.Booking, FrontDesk::pkPayment, FrontDesk::pmCash, TDecimal(40), {});
        Fiscal::Pay(rows.Booking, FrontDesk::pkRefund, FrontDesk::pmCash, TDecimal(25), {});
        QCOMPARE(service.PrintedPaths(), QList<QString>({"receipt", "receipt", "reversalreceipt"}));
        const QJsonObject reversal = service.Printed().last();
        QCOMPARE(reversal.value("uniqueSaleNumber").toString(), QString("DT279013-0000-0000002"));
        QCOMPARE(reversal.value("receiptNumber").toString(), QString("0000002"));
        QCOMPARE(reversal.value("reason").toString(), QString("refund"));
        QCOMPARE(reversal.value("fiscalMemorySerialNumber").toString(), QString("02279013"));
        QCOMPARE(db.Rows("SELECT q229, q228, q224 FROM FiskalniBonove WHERE q230 IS NOT NULL").size(), 1);
        // 50: more than the second still holds (15), so it goes back on the first (60); then 20
        // fits no single receipt (10 and 15 left).
        Fiscal::Pay(rows.Booking, FrontDesk::pkRefund, FrontDesk::pmCash, TDecimal(50), {});
        QCOMPARE(service.Printed().last().value("uniqueSaleNumber").toString(), QString("DT279013-0000-0000001"));
        QVERIFY_THROWS_EXCEPTION(EFrontDeskRefused, Fiscal::Pay(rows.Booking, FrontDesk::pkRefund, FrontDesk::pmCash,
                                                                TDecimal(20), {}));
        QCOMPARE(service.Printed().size(), 4);
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM Plashtania WHERE q141 = 2"), QStringList({"2"}));
    }

    // The folio's payment goes through the device: printed, then recorded; a refusal of the
    // device is said and records nothing.
    void theFolioTakesCashOnTheDevice()
    {
        TestDatabase db;
        hotelWithSeller(db);
        FiscalStandIn service;
        useDevice(service);
        const TBookingRows rows = bookingWithStay(db.Connection(), 2);
        MessageBoxRecorder boxes;
        TFFolio folio;
        folio.SetBooking(rows.Booking);
        folio.InitializeWindow();
        folio.show();
        QVERIFY(clickTab(folio.Pages(), folio.tsFolioPayment));
        QVERIFY(TypeInto(folio.edFolioAmount, "50"));
        QVERIFY(ClickCommand(folio.acFolioPayment));
        QCOMPARE(service.Printed().size(), 1);
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM Plashtania"), QStringList({"1"}));
        service.SetMode(FiscalStandIn::Refuse);
        QVERIFY(TypeInto(folio.edFolioAmount, "20"));
        QVERIFY(ClickCommand(folio.acFolioPayment));
        QVERIFY2(boxes.Texts().join('|').contains("E201"), qPrintable(boxes.Texts().join('|')));
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM Plashtania"), QStringList({"1"}));
        QCOMPARE(service.Printed().size(), 1);
    }

    // The workstation's device set in the settings window; X and Z reports from its buttons, the Z
    // report only after a yes; without a device, none.
    void fiscalSettingsAndReports()
    {
        TestDatabase db;
        FiscalStandIn service;
        MessageBoxRecorder boxes;
        TFNastroiki window;
        window.InitializeWindow();
        window.show();
        QVERIFY(clickTab(window.pgSettingsAndPersonalisations, window.tsSettingsNetworks));
        QVERIFY(ClickOn(window.chkFiscalDevice));
        QVERIFY(ClickCommand(window.acFNastroikiSave));  // no address: said, nothing kept
        QVERIFY(boxes.Texts().contains(msgFiscalSettingsInvalid));
        QVERIFY(!Fiscal::Settings().Device);
        QVERIFY(TypeInto(window.edFiscalAddress, service.Address()));
        QVERIFY(TypeInto(window.edFiscalPrinter, "fp1"));
        QVERIFY(ClickCommand(window.acFNastroikiSave));
        QCOMPARE(Fiscal::Settings().Address, service.Address());
        QVERIFY(Fiscal::Settings().Device);
        QVERIFY(ClickOn(window.btnFiscalXReport));
        QVERIFY(boxes.Texts().contains(msgFiscalReportDone));
        boxes.Answer(TSystemWinOS::IDNO);
        QVERIFY(ClickOn(window.btnFiscalZReport));
        boxes.Answer(TSystemWinOS::IDYES);
        QVERIFY(ClickOn(window.btnFiscalZReport));
        QStringList reports;
        for (const FiscalStandIn::TRequest &request : service.Requests())
            if (request.Path.endsWith("report"))
                reports.append(request.Path.section('/', -1));
        QCOMPARE(reports, QStringList({"xreport", "zreport"}));
        QVERIFY(ClickOn(window.chkFiscalDevice));
        QVERIFY(ClickCommand(window.acFNastroikiSave));
        QVERIFY_THROWS_EXCEPTION(EFrontDeskRefused, Fiscal::Report(false));
    }

    // The hotels register keeps the hotel's company beside its rooms; a wrong ЕИК is refused.
    void theHotelsCompany()
    {
        TestDatabase db;
        ErrorLogRecorder errors;
        TFNomHotels window;
        window.InitializeWindow();
        window.show();
        QVERIFY(TypeInto(window.edNomHotesId, "1"));
        QVERIFY(TypeInto(window.edNomHotesName, "Морски"));
        QVERIFY(clickTab(window.Pages(), window.tsNomHotelFirm));
        QVERIFY(TypeInto(window.edNomHotelFirmName, "Морски Хотели ЕООД"));
        QVERIFY(TypeInto(window.edNomHotelEik, "206123452"));
        QVERIFY(ClickCommand(window.acFNomHotelsSave));
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM HotelBuild"), QStringList({"0"}));
        QCOMPARE(errors.Texts().size(), 1);
        QVERIFY(TypeInto(window.edNomHotelEik, "206123451"));
        QVERIFY(TypeInto(window.edNomHotelIban, "bg80 bnbg 9661 1020 3456 78"));
        QVERIFY(ClickCommand(window.acFNomHotelsSave));
        QCOMPARE(db.Rows("SELECT h.q10, f.q198, f.q199, f.q203 FROM HotelBuild h JOIN FirmiHoteli f ON (f.q1 = h.q1)"),
                 QStringList({"Морски|Морски Хотели ЕООД|206123451|BG80BNBG96611020345678"}));
        // Saved again: still one row of the company.
        QVERIFY(TypeInto(window.edNomHotelBank, "БНБ"));
        QVERIFY(ClickCommand(window.acFNomHotelsSave));
        QCOMPARE(db.Rows("SELECT COUNT(*), MIN(q204) FROM FirmiHoteli"), QStringList({"1|БНБ"}));
    }
};

KALV_TEST_MAIN(TestInvoices)
#include "tst_invoices.moc"
