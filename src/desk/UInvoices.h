#pragma once
// Invoices, credit and debit notes and proformas of a booking's stays and charges. A number is
// taken from its series' counter row, locked in the issuing transaction, so that two
// workstations issuing at once never share or skip one; an issued document is never changed.

#include "UFrontDesk.h"
#include "UVat.h"

#include <QList>
#include <optional>

namespace Invoices {

enum TKind { dkInvoice = 0, dkCredit = 1, dkDebit = 2, dkProforma = 3 };

// Ten digits, as the numbers of tax documents are kept (ППЗДДС, чл. 78).
QString NumberText(qint64 number);
constexpr qint64 kLastNumber = 9999999999;

struct TBuyer {
    int Id = 0;  // Kupuvachi.q175; 0: a person named here only
    QString Name, Eik, VatNumber, Address, Accountable, PersonalNumber;
    bool Person = true;
};

struct TLine {
    int Charge = 0;  // Klients.q123
    QString Text;
    TDecimal Quantity, Price, Gross, Net, Tax, Percent;
};

struct TDocument {
    int Id = 0, Kind = dkInvoice, Series = 0, Booking = 0, Refers = 0;
    QString Number;
    QDate Issued, TaxEvent;
    TBuyer Buyer;
    QList<TLine> Lines;
    TDecimal Gross, Net, Tax;
    QList<Vat::TRateTotal> ByRate;
};

// A series of numbers for a hotel, beginning at FIRST; its key.
int AddSeries(const QVariant &hotel, const QString &name, qint64 first);

// What of the booking is not yet on an invoice: its stays that hold nights and its charges, each
// with its VAT rate (the room's, the service's; the tourist tax none).
QList<TLine> Unbilled(int booking);

// Issues an invoice (or a proforma) of the booking's stays and charges (all unbilled ones when
// none are named) to the buyer; the taxable event's day is given (the check-out or the payment,
// ЗДДС, чл. 25). Refuses what is billed already or not the booking's. Its key.
int Issue(TKind kind, int booking, const QList<int> &charges, const TBuyer &buyer, int series, const QDate &taxEvent);

// A credit note (amounts taken off) or a debit note (amounts added) to an invoice, for part or
// all of its rows (ЗДДС, чл. 115): each row named with its amount with VAT (positive), at the
// row's rate; a credit takes off no more than the row still bills. Numbered in the invoice's
// series. A row credited in full is unbilled again. Its key.
struct TNoteLine {
    int Charge = 0;
    TDecimal Gross;
};
int IssueNote(TKind kind, int invoice, const QList<TNoteLine> &lines, const QDate &taxEvent);

std::optional<TDocument> Read(int id);

} // namespace Invoices
