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

// The hotel's company, which issues the documents.
struct TSeller {
    QString Name, Eik, VatNumber, Address, Accountable, Iban, Bank, Hotel;
};

struct TLine {
    int Charge = 0;  // Klients.q123; 0 for an advance and its deduction
    QString Text;
    TDecimal Quantity, Price, Gross, Net, Tax, Percent;
    int Deducts = 0;  // the advance's invoice a deducting line takes off
};

struct TDocument {
    int Id = 0, Kind = dkInvoice, Series = 0, Booking = 0, Refers = 0;
    int Method = -1;  // FrontDesk::TPaymentMethod; -1 when not said
    bool Advance = false;
    QString Number, Currency, Operator;
    QDate Issued, TaxEvent;
    QString OutsideBasis;  // why the lines outside VAT carry none, from the rates' register
    QString RefersNumber;  // a note's invoice
    QDate RefersIssued;
    TSeller Seller;
    TBuyer Buyer;
    QList<TLine> Lines;
    TDecimal Gross, Net, Tax;
    QList<Vat::TRateTotal> ByRate;
};

// A company's ЕИК: nine digits, or thirteen for a branch, whose check digits hold (the БУЛСТАТ
// register's rule, Закон за регистър БУЛСТАТ and its Наредба, Приложение 2).
bool ValidEik(const QString &eik);
// A VAT number: a country's two letters and its digits or letters ("BG123456789").
bool ValidVatNumber(const QString &number);

// A VAT number or an IBAN as kept: capitals, no blanks.
QString Compact(const QString &typed);
// What is wrong with a company's ЕИК and VAT number (an empty one of them is not checked unless
// the ЕИК is required): the message, and whether it is the ЕИК's.
struct TCompanyFault {
    QString Message;
    bool OfEik = false;
};
std::optional<TCompanyFault> CompanyNumbersFault(const QString &eik, const QString &vatNumber, bool eikRequired);

// The company buyer of the register with that ЕИК.
std::optional<TBuyer> FindBuyer(const QString &eik);

// A series of numbers for a hotel, beginning at FIRST; its key.
int AddSeries(const QVariant &hotel, const QString &name, qint64 first);

// What of the booking is not yet on an invoice: its stays that hold nights and its charges, each
// with its VAT rate (the room's, the service's; the tourist tax none).
QList<TLine> Unbilled(int booking);

// Issues an invoice (or a proforma) of the booking's stays and charges (all unbilled ones when
// none are named) to the buyer; the taxable event's day is given (the check-out or the payment,
// ЗДДС, чл. 25). Refuses what is billed already or not the booking's. An invoice deducts the
// booking's advances still open, each at its rate, as far as the invoice bills at that rate.
// Its key.
int Issue(TKind kind, int booking, const QList<int> &charges, const TBuyer &buyer, int series, const QDate &taxEvent,
          int method = -1);

// An invoice of an advance payment (a deposit) of the booking at the rate of what it pays for;
// its taxable event is the day of the payment (ЗДДС, чл. 25, ал. 7). Its key.
int IssueAdvance(int booking, const TDecimal &gross, int basisPoints, const TBuyer &buyer, int series,
                 const QDate &paid, int method);

// The booking's advance invoices with what a final invoice may still deduct of them.
struct TAdvance {
    int Document = 0;
    QString Number;
    QDate Issued;
    int BasisPoints = 0;
    TDecimal Left;
};
QList<TAdvance> OpenAdvances(int booking);

// A credit note (amounts taken off) or a debit note (amounts added) to an invoice, for part or
// all of its rows (ЗДДС, чл. 115): each row named with its amount with VAT (positive), at the
// row's rate; a credit takes off no more than the row still bills. Numbered in the invoice's
// series. A row credited in full is unbilled again; an advance's row (charge 0) credited is no
// longer there to deduct. Its key.
struct TNoteLine {
    int Charge = 0;
    TDecimal Gross;
};
int IssueNote(TKind kind, int invoice, const QList<TNoteLine> &lines, const QDate &taxEvent);

std::optional<TDocument> Read(int id);

} // namespace Invoices
