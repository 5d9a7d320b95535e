#include "UInvoices.h"

#include "URights.h"
#include "URows.h"
#include "data/UAdoDb.h"
#include "data/UDM.h"
#include "data/UDbEngine.h"
#include "startup/UConstMessagesStay.h"

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
        connection.Execute(QStringLiteral("INSERT INTO FakturiRedove (q182, q123, q194, q71, q70, q195, q196, q197, q165) "
                                          "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                           {document, line.Charge, line.Text, line.Quantity.ToVariant(), line.Price.ToVariant(),
                            line.Gross.ToVariant(), split.LineNet.at(i).ToVariant(), split.LineTax.at(i).ToVariant(),
                            line.Percent.ToVariant()});
    }
}

int buyerKey(TADOConnection &connection, const TBuyer &buyer)
{
    if (buyer.Id > 0)
        return buyer.Id;
    return connection.InsertReturningIdentity(
        QStringLiteral("Kupuvachi"), {"q176", "q177", "q178", "q179", "q180", "q181", "q28"},
        QStringLiteral("VALUES (?, ?, ?, ?, ?, ?, ?)"),
        {buyer.Name, buyer.Eik, buyer.VatNumber, buyer.Address, buyer.Accountable, buyer.Person ? 1 : 0,
         buyer.PersonalNumber});
}

} // namespace

QString NumberText(qint64 number) { return QStringLiteral("%1").arg(number, 10, 10, QLatin1Char('0')); }

int AddSeries(const QVariant &hotel, const QString &name, qint64 first)
{
    Rights::Require(Rights::rSettings);
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection, true);
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

int Issue(TKind kind, int booking, const QList<int> &charges, const TBuyer &buyer, int series, const QDate &taxEvent)
{
    Rights::Require(Rights::rCheckOut);
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection, true);
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
    QList<Vat::TLine> amounts;
    for (const TLine &line : std::as_const(lines))
        amounts.append({line.Gross, Vat::BasisPointsOf(line.Percent)});
    const Vat::TSplit split = Vat::Split(amounts);
    const QString number = kind == dkProforma ? QString() : takeNumber(connection, series);
    const QVariant currency =
        connection.Column(QStringLiteral("SELECT q57 FROM Rezervacii WHERE q124 = ?"), {booking}).value(0);
    const int document = connection.InsertReturningIdentity(
        QStringLiteral("Fakturi"),
        {"q183", "q171", "q184", "q185", "q186", "q124", "q175", "q57", "q188", "q189", "q190", "q128", "q136"},
        QStringLiteral("VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {int(kind), orNullInt(series), number.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(number),
         FrontDesk::Today().startOfDay(), taxEvent.startOfDay(), booking, buyerKey(connection, buyer),
         currency.isNull() ? orNullInt(0) : currency, split.Gross.ToVariant(), split.Net.ToVariant(),
         split.Tax.ToVariant(), operatorKey(), FrontDesk::Now()});
    insertLines(connection, document, lines, split);
    FrontDesk::WriteLog(connection, QStringLiteral("document"), document, booking,
                        msgLogInvoiced.arg(number.isEmpty() ? QStringLiteral("—") : number, split.Gross.ToFixed(2)));
    transaction.Commit();
    return document;
}

int IssueNote(TKind kind, int invoice, const QList<TNoteLine> &lines, const QDate &taxEvent)
{
    Rights::Require(Rights::rCheckOut);
    if (kind != dkCredit && kind != dkDebit)
        refuse(msgNoteKind);
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection, true);
    auto head = OpenQuery(connection, QStringLiteral("SELECT q124, q171, q175, q57, q184 FROM Fakturi WHERE q182 = :iDocument "
                                                     "AND q183 = 0"),
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
                                            "FakturiRedove g JOIN Fakturi y ON (y.q182 = g.q182) WHERE g.q123 = f.q123 AND "
                                            "y.q187 = f.q182 AND y.q183 IN (1, 2)) AS noted FROM FakturiRedove f WHERE "
                                            "f.q182 = :iDocument AND f.q123 = :iRow"),
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
    QList<Vat::TLine> amounts;
    for (const TLine &line : std::as_const(noted))
        amounts.append({line.Gross, Vat::BasisPointsOf(line.Percent)});
    const Vat::TSplit split = Vat::Split(amounts);
    const QString number = takeNumber(connection, series);
    const int document = connection.InsertReturningIdentity(
        QStringLiteral("Fakturi"),
        {"q183", "q171", "q184", "q185", "q186", "q124", "q175", "q187", "q57", "q188", "q189", "q190", "q128", "q136"},
        QStringLiteral("VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {int(kind), series, number, FrontDesk::Today().startOfDay(), taxEvent.startOfDay(), booking,
         head->FieldByName(QStringLiteral("q175")).Value(), invoice, head->FieldByName(QStringLiteral("q57")).Value(),
         split.Gross.ToVariant(), split.Net.ToVariant(), split.Tax.ToVariant(), operatorKey(), FrontDesk::Now()});
    insertLines(connection, document, noted, split);
    FrontDesk::WriteLog(connection, QStringLiteral("document"), document, booking,
                        msgLogNoted.arg(number, head->FieldByName(QStringLiteral("q184")).AsString(), split.Gross.ToFixed(2)));
    transaction.Commit();
    return document;
}

std::optional<TDocument> Read(int id)
{
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection);
    TDocument document;
    {
        TRows head(connection,
                            QStringLiteral("SELECT x.q183, x.q171, x.q184, x.q185, x.q186, x.q124, x.q187, x.q188, x.q189, "
                                           "x.q190, b.q175, b.q176, b.q177, b.q178, b.q179, b.q180, b.q181, b.q28 FROM "
                                           "Fakturi x LEFT JOIN Kupuvachi b ON (b.q175 = x.q175) WHERE x.q182 = :iDocument"),
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
        document.Buyer = {head.Integer(10), head.Text(11), head.Text(12), head.Text(13), head.Text(14), head.Text(15),
                          head.Text(17), head.Integer(16) != 0};
    }
    TRows lines(connection,
                         QStringLiteral("SELECT q123, q194, q71, q70, q195, q196, q197, q165 FROM FakturiRedove WHERE "
                                        "q182 = :iDocument ORDER BY q193"),
                         {{"iDocument", id}});
    QList<Vat::TLine> amounts;
    while (lines.Next()) {
        document.Lines.append({lines.Integer(0), lines.Text(1), lines.Amount(2), lines.Amount(3).Cents(),
                               lines.Amount(4).Cents(), lines.Amount(5).Cents(), lines.Amount(6).Cents(),
                               lines.Amount(7).Cents()});
        amounts.append({document.Lines.constLast().Gross, Vat::BasisPointsOf(document.Lines.constLast().Percent)});
    }
    transaction.Commit();
    document.ByRate = Vat::Split(amounts).ByRate;
    return document;
}

} // namespace Invoices
