#pragma once
// The front desk's operations on bookings, stays, charges, payments and room states. Each
// operation is one write transaction on the shared connection that locks the rooms it
// touches, keeps the rules below and writes its log row; a refusal raises before anything is
// written and says why in the operator's language.
//
// Rules: a room-night is held by at most one stay that is reserved or in house (a departed
// stay holds the nights it was in the room; cancelled and no-show stays hold none); a closed
// room (out of service or locked) takes no stay for the nights it is closed; nothing is
// deleted; a stay's total is its nights times its price, to the cent.

#include "errors/UErrors.h"
#include "framework/UDecimal.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

class TADOConnection;

// A rule refused the operation; nothing was written.
KALV_ERROR_CLASS(EFrontDeskRefused, Exception)
namespace FrontDesk {

// The questions an operation may put to the operator before it goes ahead.
enum TQuestion : unsigned {
    qnRoomNotReady = 1,
    qnOpenBalance = 2,
    qnEarlyDeparture = 4,
    qnOverstay = 8,
    qnLargeAmount = 16,
    // Not a question that stops: a move of a stay priced by a plan prices the nights in the new
    // room again when the operator says so, and keeps the booked prices otherwise.
    qnReprice = 32,
};

// The questions the operator has said yes to. A plain true says yes to every question (what a
// caller that has asked nothing of its own means by it).
struct TConsent {
    unsigned Given = 0;
    TConsent(bool everything = false) : Given(everything ? ~0u : 0u) {}
    bool To(TQuestion question) const { return (Given & question) != 0; }
    TConsent With(TQuestion question) const
    {
        TConsent more;
        more.Given = Given | question;
        return more;
    }
};

} // namespace FrontDesk

// The operation goes ahead only when the operator says yes to the question it carries.
class EFrontDeskConfirm : public Exception
{
public:
    EFrontDeskConfirm(const QString &text, FrontDesk::TQuestion question) : Exception(text), Question(question) {}
    QString ClassName() const override { return QStringLiteral("EFrontDeskConfirm"); }
    FrontDesk::TQuestion Question;
};

namespace FrontDesk {

enum TStayStatus { ssReserved = 0, ssInHouse = 1, ssDeparted = 2, ssCancelled = 3, ssNoShow = 4 };
enum TRoomState { rsClean = 0, rsDirty = 1, rsCleaning = 2, rsOutOfService = 3, rsLocked = 4 };
enum TPaymentKind { pkDeposit = 0, pkPayment = 1, pkRefund = 2 };
enum TPaymentMethod { pmCash = 0, pmCard = 1, pmTransfer = 2 };

// The front desk's day: the business day every workstation shares (stored in the database,
// moved on by the day's close; the calendar's today where a database has none), unless a test
// has fixed another (an invalid date: the stored day again).
QDate Today();
void SetToday(const QDate &day);
// In a write transaction: reads the business day again, holding it so that no day's close
// moves it before the transaction ends; gives Today().
QDate LockDay(TADOConnection &connection);
// The day the database keeps, whatever a test has fixed; invalid where it keeps none (not yet
// upgraded).
QDate StoredDay(TADOConnection &connection);
// The business day changed here (a close, a reopening, another database): read it again.
void ForgetDay();
// Nothing is dated before the business day: the days before it are closed.
void RefuseBeforeToday(const QDate &day);
// The front desk's day at the clock's time: when payments, check-ins and check-outs happen.
QDateTime Now();

// The words of the catalogue for each value, in the operator's language.
QString StatusName(int status);
QString RoomStateName(int state);
// A stay's total for its nights and a charge's total for its quantity: to the cent, as stored.
TDecimal StayTotal(const TDecimal &price, int nights);
TDecimal ChargeTotal(const TDecimal &price, const TDecimal &quantity);
QString PaymentKindName(int kind);
QString PaymentMethodName(int method);

// The condition of a stay that holds its nights (a status written by an earlier version is
// no status: reserved). alias: the table's alias with its dot, or nothing.
QString HoldsNights(const QString &alias = QString());

// The guest of a booking, as the reservation window and the check-in ask for them.
struct TGuest {
    QString Name, PersonalNumber, Passport, Address, Nationality, Category;
    QString TaxExemption;  // the reason chosen at check-in; empty: the tourist tax is due
    int RegisterId = 0;    // the guest of the register (Gosti.q252) chosen for it; 0: none
};

struct TBooking {
    int Number = 0;
    QVariant Hotel;  // HotelBuild.q1
    QString HotelName;
    TGuest Guest;
    QVariant Currency;  // Valuta.q57
    QString CurrencyName, Status, Note, Operator;
    QDateTime Entered;
};

struct TStay {
    int Id = 0, Booking = 0, Room = 0;
    QVariant Hotel;
    QString RoomNumber, Guest;
    QDate From, To;
    int Status = ssReserved;
    int Nights = 0;
    TDecimal Price, Total;
    bool Moved = false;
    int Continues = 0;  // the stay whose room move this part continues; 0: none
    int Plan = 0;       // the rate plan that priced its nights (CenoviPlanove.q276); 0: nights × price
    QDateTime CheckedIn, CheckedOut;
    bool HoldsNights() const { return Status <= ssDeparted; }
};

struct TCharge {
    int Id = 0;
    QString Service;
    TDecimal Quantity, Price, Total;
    QDate Date;
};

struct TPayment {
    int Id = 0;
    TDecimal Amount;
    int Kind = pkPayment, Method = pmCash;
    QString Operator, Note;
    QDateTime When;
};

struct TLogEntry {
    QDateTime When;
    QString Operator, Workstation, What, Text;
};

// Everything a booking owes and has paid.
struct TFolio {
    TBooking Booking;
    QList<TStay> Stays;
    QList<TCharge> Charges;
    QList<TPayment> Payments;
    QList<TLogEntry> History;
    TDecimal StaysTotal, ChargesTotal, Paid, Refunded;
    TDecimal Owed() const { return StaysTotal + ChargesTotal; }
    TDecimal Balance() const { return Owed() - Paid + Refunded; }
    bool HasStatus(int status) const;
};

// Tourist-tax rates as the register keeps them: per guest category and night, a hotel's own
// rate before the rate of every hotel.
class TTaxRates
{
public:
    static TTaxRates Read(TADOConnection &connection);
    // The rate of the hotel and category, else of the hotel for every category, else of every
    // hotel for the category, else of every hotel for every category, valid that night; none: zero.
    TDecimal Rate(const QVariant &hotel, const QString &category, const QDate &night) const;

private:
    struct TRate {
        QVariant Hotel;
        QString Category;
        TDecimal PerNight;
        QDate From, To;
    };
    QList<TRate> m_rates;
};

// ---- reads

std::optional<TFolio> ReadFolio(int booking);
std::optional<TStay> ReadStay(int stay);
// The day a guest in house who checks out now leaves on: today, or the first day when that is later.
QDate LeavingDay(const TStay &stay);
// What a stay costs if it ends on the day (its nights by its plan, or nights × price).
TDecimal StayTotalUntil(const TStay &stay, const QDate &departure);

// The stay a room's marks and commands are about on a day: the one in house, else the one
// arriving, else the one leaving, else any stay that holds the night.
std::optional<TStay> CurrentStayOfRoom(int room, const QDate &day);
// Reserved stays whose first day is the day or earlier and whose departure is later.
QList<TStay> Arrivals(const QDate &day);
// Stays in house on the day, with their bookings.
QList<TStay> InHouse(const QDate &day);
// Guests still in house after their departure day: they have neither left nor been extended.
QList<TStay> Overdue(const QDate &day);
// Whether the room takes a stay for the nights: no stay holds one of them (but the one left
// out) and the room is not closed for one of them; the message says why not.
bool RoomFree(int room, const QDate &from, const QDate &to, int exceptStay, QString *why);

// ---- the log

// Writes one log row in the caller's transaction.
void WriteLog(TADOConnection &connection, const QString &what, const QVariant &key, const QVariant &booking,
              const QString &text);
// The same, naming another operator than the one logged in (a login names who came in).
void WriteLogAs(TADOConnection &connection, const QVariant &operatorKey, const QString &what, const QVariant &key,
                const QVariant &booking, const QString &text);
// Writes one log row in a transaction of its own; a failure is reported to the error log.
void LogEvent(const QString &what, const QVariant &key, const QString &text);

// ---- operations

// The booking of a reservation save, in the caller's transaction, with its log row.
int InsertBooking(TADOConnection &connection, const QVariant &hotel, const TGuest &guest, const QVariant &currency,
                  const QString &status, int stays, int charges);
void CheckIn(int stay, const TGuest &registration, TConsent consent);
// A guest without a booking: a booking and a stay in house from today, in one transaction.
int WalkIn(int room, const QDate &departure, const TGuest &guest, const QVariant &currency, TConsent consent);
// An early departure ends the stay today and counts its nights again (after the operator's yes
// to the nights given up); a late one first extends the stay to today, through the extension's
// own checks (after the operator's yes to the nights added).
void CheckOut(int stay, TConsent consent);
void CheckOutBooking(int booking, TConsent consent);
void Cancel(int stay);
void CancelBooking(int booking);
// A reserved stay whose first day has come: no-show, charged its first night where the hotel's
// rules say so.
void MarkNoShow(int stay);
// The same in the caller's transaction, its right checked by the caller (the day's close).
void MarkNoShow(TADOConnection &connection, int stay);
void Extend(int stay, const QDate &departure);
// A reserved stay takes other days in its room, its nights as many as before: the first night
// not before the desk's day; a moved stay keeps its days.
void ChangeDates(int stay, const QDate &from);
// Gives the stay in the new room (the moved stay itself when the whole stay moves).
int Move(int stay, int room, const QDate &day, TConsent consent);
// A negative quantity is a correction: on the business day, with its reason, no more than the
// booking was charged for the service.
int Charge(int booking, int service, const TDecimal &quantity, const QDate &date, TConsent consent = {},
           const QString &reason = QString());
// The stay, read again under its booking's lock, in the caller's transaction; refused when gone.
TStay LockStay(TADOConnection &connection, int stay);
// Stays on the condition (on alias k, the stay's room r), in the caller's transaction.
QList<TStay> StaysOf(TADOConnection &connection, const QString &condition, const QList<QPair<QString, QVariant>> &values);
// The tourist tax of the night for every guest in house, in the caller's transaction, dated that
// day (nights already charged are not charged again); gives how many stays it charged.
int AccrueTouristTax(TADOConnection &connection, const QDate &night);
// The meals of the night for every guest in house on a plan with meals, in the caller's
// transaction (nights already charged are not charged again); gives how many charges it wrote.
int PostMeals(TADOConnection &connection, const QDate &night);
int TakePayment(int booking, TPaymentKind kind, TPaymentMethod method, const TDecimal &amount, const QString &note,
                TConsent consent = {});
// Clean, dirty or being cleaned: the room's cleanliness (clean also ends a closure that holds the
// room now). Out of service or locked: a closure of its own for the nights from FROM (today when
// not given) to the night before TO (until reopened when not given).
void SetRoomStates(const QList<int> &rooms, TRoomState state, const QString &reason, const QDate &from,
                   const QDate &to);

// A closure of a room, kept for the record once it ended.
struct TClosure {
    int Id = 0, Kind = rsOutOfService;
    QDate First, Opens;  // First invalid: since ever; Opens invalid: until reopened
    QString Reason;
};
QList<TClosure> ClosuresOf(int room);
// The rooms register's lock, for no limited period, in the caller's transaction: locking
// closes the room from today; unlocking opens it today.
void StoreRoomLock(TADOConnection &connection, int room, bool locked);
bool RoomLocked(int room);

} // namespace FrontDesk
