#include "UInvoices.h"

#include "URights.h"
#include "URows.h"
#include "data/UAdoDb.h"
#include "data/UDM.h"
#include "data/UDbEngine.h"
#include "startup/UConstMessagesStay.h"

#include <QRegularExpression>

namespace Invoices {

namespace {

[[noreturn]] void refuse(const QString &message) { throw EFrontDeskRefused(message); }

QString dayText(const QDate &day) { return day.toString(QStringLiteral("dd.MM.yyyy")); }

QVariant orNullInt(int value) { return value > 0 ? QVariant(value) : QVariant(QMetaType::fromType<int>()); }

QVariant operatorKey() { return orNullInt(Rights::CurrentOperator()); }

// A document's lines are written in Bulgarian, the language of tax documents here.
QString stayText(const QString &room, const QDate &from, const QDate &to)
{
    return QStringLiteral("Нощувки, стая %1, %2 – %3").arg(room, dayText(from), dayText(to));
}

QString advanceText(int booking) { return QStringLiteral("Авансово плащане по резервация № %1").arg(booking); }

QString deductionText(const QString &number, const QDate &issued)
{
    return QStringLiteral("Приспадане на аванс по фактура № %1 от %2").arg(number, dayText(issued));
}

// The rate a line carries when its room or service names none: accommodation for a room, the
// standard rate for a service; the tourist tax is outside VAT.
int fallbackBasisPoints(bool room, bool touristTax)
{
    if (touristTax)
        return Vat::LawRates().at(2).BasisPoints;
    return room ? Vat::LawRates().at(1).BasisPoints : Vat::LawRates().at(0).BasisPoints;
}

// A row is billed while it is on an invoice and its notes have not taken it off in full.
QString billedCondition(const QString &row)
{
    return QStringLiteral("(EXISTS (SELECT 1 FROM FakturiRedove f JOIN Fakturi x ON (x.q182 = f.q182) WHERE f.q123 = %1 "
                          "AND x.q183 = 0) AND (SELECT COALESCE(SUM(f.q195), 0) FROM FakturiRedove f JOIN Fakturi x ON "
                          "(x.q182 = f.q182) WHERE f.q123 = %1 AND x.q183 IN (0, 1, 2)) <> 0)")
        .arg(row);
}

QList<TLine> unbilled(TADOConnection &connection, int booking)
{
    TRows rows(
        connection,
        QStringLiteral("SELECT k.q123, k.q47, k.q33, k.q71, k.q70, k.q27, k.q160, k.q34, k.q35, r.q44, "
                       "(SELECT MIN(d.q165) FROM DDSStavki d WHERE d.q163 = r.q170) AS room_rate, "
                       "(SELECT MIN(d.q165) FROM Uslugi u JOIN DDSStavki d ON (d.q163 = u.q170) WHERE u.q33 = k.q33) "
                       "AS service_rate FROM Klients k LEFT JOIN Rooms r ON (r.q47 = k.q47) WHERE k.q124 = :iBooking "
                       "AND (k.q47 IS NULL OR ") +
            FrontDesk::HoldsNights(QStringLiteral("k.")) +
            QStringLiteral(") AND NOT ") + billedCondition(QStringLiteral("k.q123")) + QStringLiteral(" ORDER BY k.q123"),
        {{"iBooking", booking}});
    QList<TLine> lines;
    while (rows.Next()) {
        const bool room = !rows.Field(1).IsNull();
        const bool tax = !rows.Field(6).IsNull();
        TLine line;
        line.Charge = rows.Integer(0);
        line.Text = room ? stayText(rows.Text(9), rows.Date(7), rows.Date(8)) : rows.Text(2);
        line.Quantity = rows.Amount(3);
        line.Price = rows.Amount(4).Cents();
        line.Gross = rows.Amount(5).Cents();
        const QVariant rate = rows.Field(room ? 10 : 11).Value();
        line.Percent = tax || rate.isNull() ? Vat::PercentOf(fallbackBasisPoints(room, tax)) : TDecimal::FromVariant(rate);
        lines.append(line);
    }
    return lines;
}

// The next number of the series, under the lock of its row until the transaction ends.
QString takeNumber(TADOConnection &connection, int series)
{
    connection.Engine().LockKeys(connection, QStringLiteral("FakturiSerii"), QStringLiteral("q171"), {series});
    auto row = OpenQuery(connection, QStringLiteral("SELECT q172, q173, q174 FROM FakturiSerii WHERE q171 = :iSeries"),
                         {{"iSeries", series}});
    if (row->Eof())
        refuse(msgInvoiceNoSeries);
    const QString next = row->FieldByName(QStringLiteral("q174")).AsString().trimmed();
    const qint64 number = (next.isEmpty() ? row->FieldByName(QStringLiteral("q173")).AsString() : next).toLongLong();
    if (number <= 0 || number > kLastNumber)
        refuse(msgInvoiceSeriesFull.arg(row->FieldByName(QStringLiteral("q172")).AsString()));
    connection.Execute(QStringLiteral("UPDATE FakturiSerii SET q174 = ? WHERE q171 = ?"), {NumberText(number + 1), series});
    return NumberText(number);
}

void insertLines(TADOConnection &connection, int document, const QList<TLine> &lines, const Vat::TSplit &split)
{
    for (int i = 0; i < lines.size(); ++i) {
        const TLine &line = lines.at(i);
        connection.Execute(QStringLiteral("INSERT INTO FakturiRedove (q182, q123, q194, q71, q70, q195, q196, q197, q165, "
                                          "q207) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                           {document, orNullInt(line.Charge), line.Text, line.Quantity.ToVariant(), line.Price.ToVariant(),
                            line.Gross.ToVariant(), split.LineNet.at(i).ToVariant(), split.LineTax.at(i).ToVariant(),
                            line.Percent.ToVariant(), orNullInt(line.Deducts)});
    }
}

// A company buyer is kept in the register, found by its ЕИК; a person is named on the document only.
QVariant buyerKey(TADOConnection &connection, const TBuyer &buyer)
{
    if (buyer.Id > 0)
        return buyer.Id;
    if (buyer.Person || buyer.Eik.trimmed().isEmpty())
        return orNullInt(0);
    connection.Engine().LockName(connection, QStringLiteral("Kupuvachi ") + buyer.Eik.trimmed());
    const QVariant known = connection.Column(QStringLiteral("SELECT MIN(q175) FROM Kupuvachi WHERE q177 = ? AND "
                                                            "COALESCE(q181, 0) = 0"),
                                             {buyer.Eik.trimmed()})
                               .value(0);
    if (!known.isNull())
        return known;
    return connection.InsertReturningIdentity(
        QStringLiteral("Kupuvachi"), {"q176", "q177", "q178", "q179", "q180", "q181", "q28"},
        QStringLiteral("VALUES (?, ?, ?, ?, ?, ?, ?)"),
        {buyer.Name, buyer.Eik.trimmed(), buyer.VatNumber, buyer.Address, buyer.Accountable, 0, QString()});
}

// The buyer as the invoice named it, for its notes.
QVariantList partiesOf(const TADOQuery &invoice)
{
    QVariantList buyer;
    for (const char *column : {"q208", "q209", "q210", "q211", "q212", "q213"})
        buyer << invoice.FieldByName(QLatin1String(column)).AsString().trimmed();
    return buyer;
}

// The seller of the booking's hotel as it stands now, written on the document.
QVariantList sellerOf(TADOConnection &connection, int booking)
{
    auto row = OpenQuery(connection, QStringLiteral("SELECT f.q198, f.q199, f.q200, f.q201, f.q202, f.q203, f.q204, h.q10 "
                                                    "FROM Rezervacii r JOIN HotelBuild h ON (h.q1 = r.q1) LEFT JOIN "
                                                    "FirmiHoteli f ON (f.q1 = r.q1) WHERE r.q124 = :iBooking"),
                         {{"iBooking", booking}});
    QVariantList seller;
    for (const char *column : {"q198", "q199", "q200", "q201", "q202", "q203", "q204"})
        seller << (row->Eof() ? QString() : row->FieldByName(QLatin1String(column)).AsString().trimmed());
    // A hotel without company data sells under its own name.
    if (seller.at(0).toString().isEmpty() && !row->Eof())
        seller[0] = row->FieldByName(QStringLiteral("q10")).AsString().trimmed();
    return seller;
}

// A tax document names its buyer (ЗДДС, чл. 114, ал. 1, т. 4): a person by name, a company by
// name and a valid ЕИК.
void checkBuyer(const TBuyer &buyer)
{
    if (buyer.Name.trimmed().isEmpty())
        refuse(msgBuyerNoName);
    if (!buyer.Person)
        if (const std::optional<TCompanyFault> fault = CompanyNumbersFault(buyer.Eik.trimmed(), QString(), true))
            refuse(fault->Message);
}

QList<TAdvance> openAdvances(TADOConnection &connection, int booking)
{
    QList<TAdvance> advances;
    {
        TRows rows(connection,
                   QStringLiteral("SELECT x.q182, x.q184, x.q185, MIN(r.q165), SUM(r.q195) FROM Fakturi x JOIN "
                                  "FakturiRedove r ON (r.q182 = x.q182) WHERE x.q124 = :iBooking AND x.q183 = 0 AND "
                                  "x.q206 = 1 GROUP BY x.q182, x.q184, x.q185 ORDER BY x.q182"),
                   {{"iBooking", booking}});
        while (rows.Next())
            advances.append({rows.Integer(0), rows.Text(1), rows.Date(2), Vat::BasisPointsOf(rows.Amount(3).Cents()),
                             rows.Amount(4).Cents()});
    }
    for (TAdvance &advance : advances) {
        // Taken off by final invoices (negative lines) and by the advance's own notes.
        const QVariantList taken = connection.Column(
            QStringLiteral("SELECT COALESCE(SUM(r.q195), 0) FROM FakturiRedove r JOIN Fakturi x ON (x.q182 = r.q182) "
                           "WHERE (r.q207 = ? AND x.q183 = 0) OR (x.q187 = ? AND x.q183 IN (1, 2))"),
            {advance.Document, advance.Document});
        advance.Left = (advance.Left + TDecimal::FromVariant(taken.value(0))).Cents();
    }
    advances.erase(std::remove_if(advances.begin(), advances.end(),
                                  [](const TAdvance &advance) { return !advance.Left.IsPositive(); }),
                   advances.end());
    return advances;
}

// The lines that take the open advances off an invoice: each at its rate, no more than the
// invoice bills at that rate, so that no rate's sum goes below nothing.
QList<TLine> deductions(TADOConnection &connection, int booking, const QList<TLine> &billed)
{
    QHash<int, TDecimal> billedAtRate;
    for (const TLine &line : billed)
        billedAtRate[Vat::BasisPointsOf(line.Percent)] += line.Gross;
    QList<TLine> lines;
    for (const TAdvance &advance : openAdvances(connection, booking)) {
        TDecimal &room = billedAtRate[advance.BasisPoints];
        const TDecimal amount = advance.Left < room ? advance.Left : room;
        if (!amount.IsPositive())
            continue;
        room = room - amount;
        TLine line;
        line.Text = deductionText(advance.Number, advance.Issued);
        line.Quantity = TDecimal(1);
        line.Gross = TDecimal() - amount;
        line.Price = line.Gross;
        line.Percent = Vat::PercentOf(advance.BasisPoints);
        line.Deducts = advance.Document;
        lines.append(line);
    }
    return lines;
}

QVariant currencyOf(TADOConnection &connection, int booking)
{
    const QVariant currency =
        connection.Column(QStringLiteral("SELECT q57 FROM Rezervacii WHERE q124 = ?"), {booking}).value(0);
    return currency.isNull() ? orNullInt(0) : currency;
}

// What a document's row says beside its figures: its kind, booking, series, days, how it is
// paid, the note's invoice, and the buyer as named on it.
struct THead {
    TKind Kind = dkInvoice;
    int Booking = 0, Series = 0, Refers = 0;
    QDate TaxEvent;
    QVariant Method, BuyerKey, Currency;
    bool Advance = false;
    QVariantList Buyer;  // name, ЕИК, VAT number, address, accountable person, personal number
};

THead headOf(TADOConnection &connection, TKind kind, int booking, const TBuyer &buyer, int series, const QDate &taxEvent,
             int method, bool advance)
{
    THead head;
    head.Kind = kind;
    head.Booking = booking;
    head.Series = series;
    head.TaxEvent = taxEvent;
    head.Method = method >= 0 ? QVariant(method) : orNullInt(0);
    head.Advance = advance;
    head.BuyerKey = buyerKey(connection, buyer);
    head.Currency = currencyOf(connection, booking);
    head.Buyer = {buyer.Name.trimmed(), buyer.Person ? QString() : buyer.Eik.trimmed(), buyer.VatNumber.trimmed(),
                  buyer.Address.trimmed(), buyer.Accountable.trimmed(),
                  buyer.Person ? buyer.PersonalNumber.trimmed() : QString()};
    return head;
}

struct TInserted {
    int Id = 0;
    QString Number;
    TDecimal Gross;
};

// The document's row with its number (none for a proforma), the seller as now, and its lines
// with the VAT worked out once per rate.
TInserted insertDocument(TADOConnection &connection, const THead &head, const QList<TLine> &lines)
{
    QList<Vat::TLine> amounts;
    for (const TLine &line : lines)
        amounts.append({line.Gross, Vat::BasisPointsOf(line.Percent)});
    const Vat::TSplit split = Vat::Split(amounts);
    TInserted inserted;
    inserted.Number = head.Kind == dkProforma ? QString() : takeNumber(connection, head.Series);
    inserted.Gross = split.Gross;
    inserted.Id = connection.InsertReturningIdentity(
        QStringLiteral("Fakturi"),
        {"q183", "q171", "q184", "q185", "q186", "q124", "q175", "q187", "q57", "q188", "q189", "q190", "q128", "q136",
         "q205", "q206", "q208", "q209", "q210", "q211", "q212", "q213", "q214", "q215", "q216", "q217", "q218", "q219",
         "q220"},
        QStringLiteral("VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        QVariantList{int(head.Kind), orNullInt(head.Series),
                     inserted.Number.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(inserted.Number),
                     FrontDesk::Today().startOfDay(), head.TaxEvent.startOfDay(), head.Booking, head.BuyerKey,
                     orNullInt(head.Refers), head.Currency, split.Gross.ToVariant(), split.Net.ToVariant(),
                     split.Tax.ToVariant(), operatorKey(), FrontDesk::Now(), head.Method, head.Advance ? 1 : 0} +
            head.Buyer + sellerOf(connection, head.Booking));
    insertLines(connection, inserted.Id, lines, split);
    return inserted;
}

void logIssued(TADOConnection &connection, const TInserted &document, int booking)
{
    FrontDesk::WriteLog(connection, QStringLiteral("document"), document.Id, booking,
                        msgLogInvoiced.arg(document.Number.isEmpty() ? QStringLiteral("—") : document.Number,
                                           document.Gross.ToFixed(2)));
}

} // namespace

namespace {

// The weighted sum of digits modulo 11; 10 asks the second weights, and 10 again means 0.
int checkDigit(const QString &digits, int from, const QList<int> &weights, const QList<int> &second)
{
    auto sum = [&](const QList<int> &w) {
        int total = 0;
        for (int i = 0; i < w.size(); ++i)
            total += digits.at(from + i).digitValue() * w.at(i);
        return total % 11;
    };
    int digit = sum(weights);
    if (digit == 10)
        digit = sum(second) % 10;
    return digit;
}

} // namespace

bool ValidEik(const QString &eik)
{
    static const QRegularExpression digits(QStringLiteral("^(\\d{9}|\\d{13})$"));
    if (!digits.match(eik).hasMatch())
        return false;
    if (checkDigit(eik, 0, {1, 2, 3, 4, 5, 6, 7, 8}, {3, 4, 5, 6, 7, 8, 9, 10}) != eik.at(8).digitValue())
        return false;
    return eik.size() == 9 || checkDigit(eik, 8, {2, 7, 3, 5}, {4, 9, 5, 7}) == eik.at(12).digitValue();
}

bool ValidVatNumber(const QString &number)
{
    static const QRegularExpression form(QStringLiteral("^[A-Z]{2}[0-9A-Z]{2,13}$"));
    return form.match(number).hasMatch();
}

QString Compact(const QString &typed) { return typed.trimmed().toUpper().remove(QLatin1Char(' ')); }

std::optional<TCompanyFault> CompanyNumbersFault(const QString &eik, const QString &vatNumber, bool eikRequired)
{
    if ((eikRequired || !eik.isEmpty()) && !ValidEik(eik))
        return TCompanyFault{msgBuyerEikInvalid.arg(eik), true};
    if (!vatNumber.isEmpty() && !ValidVatNumber(vatNumber))
        return TCompanyFault{msgBuyerVatInvalid.arg(vatNumber), false};
    return std::nullopt;
}

std::optional<TBuyer> FindBuyer(const QString &eik)
{
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection);
    TRows row(connection,
              QStringLiteral("SELECT q175, q176, q177, q178, q179, q180 FROM Kupuvachi WHERE q177 = :sEik AND "
                             "COALESCE(q181, 0) = 0 ORDER BY q175"),
              {{"sEik", eik.trimmed()}});
    std::optional<TBuyer> buyer;
    if (row.Next()) {
        buyer = TBuyer{row.Integer(0), row.Text(1), row.Text(2), row.Text(3), row.Text(4), row.Text(5), QString(), false};
    }
    transaction.Commit();
    return buyer;
}

QString NumberText(qint64 number) { return QStringLiteral("%1").arg(number, 10, 10, QLatin1Char('0')); }

int AddSeries(const QVariant &hotel, const QString &name, qint64 first)
{
    Rights::Require(Rights::rSettings);
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection, true);
    FrontDesk::LockDay(connection);
    const int key = connection.InsertReturningIdentity(QStringLiteral("FakturiSerii"), {"q1", "q172", "q173", "q174"},
                                                       QStringLiteral("VALUES (?, ?, ?, ?)"),
                                                       {hotel, name, NumberText(first), NumberText(first)});
    transaction.Commit();
    return key;
}

QList<TLine> Unbilled(int booking)
{
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection);
    QList<TLine> lines = unbilled(connection, booking);
    transaction.Commit();
    return lines;
}

int Issue(TKind kind, int booking, const QList<int> &charges, const TBuyer &buyer, int series, const QDate &taxEvent,
          int method)
{
    Rights::Require(Rights::rInvoices);
    if (kind != dkProforma)
        checkBuyer(buyer);
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection, true);
    FrontDesk::LockDay(connection);
    // The booking first, as every front-desk operation: what is billed is read under its lock.
    connection.Engine().LockBookings(connection, {booking});
    QList<TLine> lines = unbilled(connection, booking);
    if (!charges.isEmpty()) {
        QList<TLine> chosen;
        for (const int charge : charges) {
            const auto found = std::find_if(lines.cbegin(), lines.cend(), [charge](const TLine &line) { return line.Charge == charge; });
            if (found == lines.cend())
                refuse(msgInvoiceBilled.arg(charge));
            chosen.append(*found);
        }
        lines = chosen;
    }
    if (lines.isEmpty())
        refuse(msgInvoiceNothing.arg(booking));
    if (kind == dkInvoice)
        lines += deductions(connection, booking, lines);
    const TInserted document =
        insertDocument(connection, headOf(connection, kind, booking, buyer, series, taxEvent, method, false), lines);
    logIssued(connection, document, booking);
    transaction.Commit();
    return document.Id;
}

int IssueAdvance(int booking, const TDecimal &gross, int basisPoints, const TBuyer &buyer, int series,
                 const QDate &paid, int method)
{
    Rights::Require(Rights::rInvoices);
    if (!gross.IsPositive() || gross != gross.Cents())
        refuse(msgAdvanceInvalid);
    checkBuyer(buyer);
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection, true);
    FrontDesk::LockDay(connection);
    connection.Engine().LockBookings(connection, {booking});
    if (connection.Column(QStringLiteral("SELECT COUNT(*) FROM Rezervacii WHERE q124 = ?"), {booking}).value(0).toInt() == 0)
        refuse(msgInvoiceNothing.arg(booking));
    TLine line;
    line.Text = advanceText(booking);
    line.Quantity = TDecimal(1);
    line.Price = gross;
    line.Gross = gross;
    line.Percent = Vat::PercentOf(basisPoints);
    const TInserted document =
        insertDocument(connection, headOf(connection, dkInvoice, booking, buyer, series, paid, method, true), {line});
    logIssued(connection, document, booking);
    transaction.Commit();
    return document.Id;
}

QList<TAdvance> OpenAdvances(int booking)
{
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection);
    QList<TAdvance> advances = openAdvances(connection, booking);
    transaction.Commit();
    return advances;
}

int IssueNote(TKind kind, int invoice, const QList<TNoteLine> &lines, const QDate &taxEvent)
{
    Rights::Require(Rights::rInvoices);
    if (kind != dkCredit && kind != dkDebit)
        refuse(msgNoteKind);
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection, true);
    FrontDesk::LockDay(connection);
    auto head = OpenQuery(connection, QStringLiteral("SELECT q124, q171, q175, q57, q184, q205, q208, q209, q210, q211, q212, "
                                                     "q213 FROM Fakturi WHERE q182 = :iDocument AND q183 = 0"),
                          {{"iDocument", invoice}});
    if (head->Eof())
        refuse(msgNoteNoInvoice);
    const int booking = head->FieldByName(QStringLiteral("q124")).AsInteger();
    const int series = head->FieldByName(QStringLiteral("q171")).AsInteger();
    connection.Engine().LockBookings(connection, {booking});
    if (lines.isEmpty())
        refuse(msgInvoiceNothing.arg(booking));
    QList<TLine> noted;
    for (const TNoteLine &wanted : lines) {
        // What the invoice bills of the row, and what its notes so far took off or added.
        auto row = OpenQuery(connection,
                             QStringLiteral("SELECT f.q194, f.q165, f.q195, (SELECT COALESCE(SUM(g.q195), 0) FROM "
                                            "FakturiRedove g JOIN Fakturi y ON (y.q182 = g.q182) WHERE COALESCE(g.q123, 0) "
                                            "= COALESCE(f.q123, 0) AND y.q187 = f.q182 AND y.q183 IN (1, 2)) AS noted FROM "
                                            "FakturiRedove f WHERE f.q182 = :iDocument AND COALESCE(f.q123, 0) = :iRow AND "
                                            "f.q207 IS NULL"),
                             {{"iDocument", invoice}, {"iRow", wanted.Charge}});
        if (row->Eof() || wanted.Gross.IsNegative() || wanted.Gross.IsZero() || wanted.Gross != wanted.Gross.Cents())
            refuse(msgNoteLineInvalid.arg(wanted.Charge));
        const TDecimal left = TDecimal::FromVariant(row->FieldByName(QStringLiteral("q195")).Value()) +
                              TDecimal::FromVariant(row->FieldByName(QStringLiteral("noted")).Value());
        if (kind == dkCredit && left < wanted.Gross)
            refuse(msgNoteTooMuch.arg(wanted.Charge).arg(left.Cents().ToFixed(2)));
        TLine line;
        line.Charge = wanted.Charge;
        line.Text = row->FieldByName(QStringLiteral("q194")).AsString();
        line.Quantity = TDecimal(1);
        line.Gross = kind == dkCredit ? TDecimal() - wanted.Gross : wanted.Gross;
        line.Price = line.Gross;
        line.Percent = TDecimal::FromVariant(row->FieldByName(QStringLiteral("q165")).Value());
        noted.append(line);
    }
    THead note;
    note.Kind = kind;
    note.Booking = booking;
    note.Series = series;
    note.Refers = invoice;
    note.TaxEvent = taxEvent;
    note.Method = head->FieldByName(QStringLiteral("q205")).Value();
    note.BuyerKey = head->FieldByName(QStringLiteral("q175")).Value();
    note.Currency = head->FieldByName(QStringLiteral("q57")).Value();
    note.Buyer = partiesOf(*head);
    const TInserted document = insertDocument(connection, note, noted);
    FrontDesk::WriteLog(connection, QStringLiteral("document"), document.Id, booking,
                        msgLogNoted.arg(document.Number, head->FieldByName(QStringLiteral("q184")).AsString(),
                                        document.Gross.ToFixed(2)));
    transaction.Commit();
    return document.Id;
}

std::optional<TDocument> Read(int id)
{
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection);
    TDocument document;
    {
        TRows head(connection,
                   QStringLiteral("SELECT x.q183, x.q171, x.q184, x.q185, x.q186, x.q124, x.q187, x.q188, x.q189, "
                                  "x.q190, x.q175, x.q208, x.q209, x.q210, x.q211, x.q212, x.q213, x.q213, x.q205, x.q206, "
                                  "v.q56, o.q21, o.q75, n.q184 AS refers_number, n.q185 AS refers_issued, x.q214, x.q215, "
                                  "x.q216, x.q217, x.q218, x.q219, x.q220, h.q10 FROM Fakturi x "
                                  "LEFT JOIN Valuta v ON (v.q57 = x.q57) "
                                  "LEFT JOIN Operators o ON (o.q80 = x.q128) LEFT JOIN Fakturi n ON (n.q182 = x.q187) "
                                  "LEFT JOIN Rezervacii r ON (r.q124 = x.q124) LEFT JOIN HotelBuild h ON (h.q1 = r.q1) "
                                  "WHERE x.q182 = :iDocument"),
                   {{"iDocument", id}});
        if (!head.Next()) {
            transaction.Commit();
            return std::nullopt;
        }
        document.Id = id;
        document.Kind = head.Integer(0);
        document.Series = head.Integer(1);
        document.Number = head.Text(2);
        document.Issued = head.Date(3);
        document.TaxEvent = head.Date(4);
        document.Booking = head.Integer(5);
        document.Refers = head.Integer(6);
        document.Gross = head.Amount(7).Cents();
        document.Net = head.Amount(8).Cents();
        document.Tax = head.Amount(9).Cents();
        // A person has no ЕИК; a company no personal number.
        document.Buyer = {head.Integer(10), head.Text(11), head.Text(12), head.Text(13), head.Text(14), head.Text(15),
                          head.Text(17), head.Text(12).isEmpty()};
        document.Method = head.Field(18).IsNull() ? -1 : head.Integer(18);
        document.Advance = head.Integer(19) == 1;
        document.Currency = head.Text(20);
        document.Operator = head.Text(21).isEmpty() ? head.Text(22) : head.Text(21);
        document.RefersNumber = head.Text(23);
        document.RefersIssued = head.Date(24);
        document.Seller = {head.Text(25), head.Text(26), head.Text(27), head.Text(28), head.Text(29), head.Text(30),
                           head.Text(31), head.Text(32)};
    }
    TRows lines(connection,
                         QStringLiteral("SELECT q123, q194, q71, q70, q195, q196, q197, q165, q207 FROM FakturiRedove "
                                        "WHERE q182 = :iDocument ORDER BY q193"),
                         {{"iDocument", id}});
    QList<Vat::TLine> amounts;
    while (lines.Next()) {
        document.Lines.append({lines.Integer(0), lines.Text(1), lines.Amount(2), lines.Amount(3).Cents(),
                               lines.Amount(4).Cents(), lines.Amount(5).Cents(), lines.Amount(6).Cents(),
                               lines.Amount(7).Cents(), lines.Integer(8)});
        amounts.append({document.Lines.constLast().Gross, Vat::BasisPointsOf(document.Lines.constLast().Percent)});
    }
    document.OutsideBasis =
        connection.Column(QStringLiteral("SELECT MIN(q169) FROM DDSStavki WHERE q165 = 0")).value(0).toString().trimmed();
    transaction.Commit();
    document.ByRate = Vat::Split(amounts).ByRate;
    return document;
}

} // namespace Invoices
