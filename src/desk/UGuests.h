#pragma once
// The guests as people: a register of everyone the hotel accommodates, each with the data the
// registration of guests asks for, checked by its rules before it is kept.

#include "UFrontDesk.h"

#include <QDate>
#include <QString>
#include <optional>

namespace Guests {

enum TSex { sxUnknown = 0, sxMale = 1, sxFemale = 2 };
enum TDocumentKind { dkIdentityCard = 0, dkPassport = 1, dkOther = 2 };

struct TGuest {
    int Id = 0;  // 0: a new guest
    QString Name, LatinName;
    int Sex = sxUnknown;
    QDate Born;
    QString Citizenship;  // ISO 3166-1 alpha-2
    int DocumentKind = dkIdentityCard;
    QString DocumentNumber, DocumentSeries, IssuedBy;  // IssuedBy: the issuing country's code
    QDate ValidTo;
    QString PersonalNumber, Address, Phone, Email, Note;
    bool KeepConsent = false, MessagesConsent = false;
};

// Which field a fault is in, for the window to mark it.
enum TField { gfName, gfBorn, gfCitizenship, gfIssuedBy, gfPersonalNumber, gfEmail, gfValidTo };
struct TFault {
    TField Field;
    QString Message;
};

// The guest's data by their rules: a name; a personal number that is an ЕГН or an ЛНЧ (an ЕГН
// fills in an unknown date of birth and sex and must agree with those given); known countries; an
// e-mail address of the usual form; a document valid after the date of birth. Trims the texts.
std::optional<TFault> Check(TGuest &guest);
// Checks and keeps the guest (new, or the one of its key) with its log row; gives the key.
// Raises EFrontDeskRefused with the fault's message.
int Save(TGuest guest);
// The same in the caller's transaction, its right checked by the caller; without its own log row
// when the caller's operation logs it.
int Save(TADOConnection &connection, TGuest guest, bool logged = true);
// The guest as kept; without the right to see documents, the document and personal number are
// left out (and a save keeps the stored ones).
std::optional<TGuest> Read(int id);
std::optional<TGuest> Read(TADOConnection &connection, int id);

// A country's ISO code from a code or a name in any of the three languages; empty when unknown.
QString CountryCode(const QString &typed);
// The guest's country as far as the data tell it: the citizenship, else Bulgaria for an ЕГН,
// else the country a nationality text names; empty when unknown.
QString CountryOf(const QString &citizenship, const QString &personalNumber, const QString &nationality);

// ---- finding a guest as the operator types

struct TFound {
    int Id = 0;
    QString Name, Citizenship, PersonalNumber, DocumentNumber;
    QDate Born;
};
// Guests whose name's words begin with the typed words, or whose personal or document number is
// the text; the newest first, at most ROWS.
QList<TFound> Find(const QString &text, int rows = 20);

// ---- what the law asks at check-in

// The names of the fields the law asks of this guest that are empty; none: the guest may be
// checked in.
QStringList MissingForCheckIn(const TGuest &guest);

// ---- the guests of a stay

struct TStayGuest {
    int Guest = 0;  // Gosti.q252; 0: the stay's one guest of before, known by name only
    QString Name;
    QDate Born;
    bool Holder = false;
    QString TaxExemption;  // empty: the tourist tax is due for the guest
};
// The stay's guests, the holder first; a stay without rows has its one guest by the stay's name.
QList<TStayGuest> OfStay(TADOConnection &connection, int stay);
QList<TStayGuest> OfStay(int stay);
// The stay's guests from now on, in one transaction: a reserved or in-house stay; every guest of
// the register, each once, one of them the holder, no more than the room's beds. The holder's
// name and personal number become the stay's and, for the booking's first stay, the booking's.
void SetStayGuests(int stay, const QList<TStayGuest> &guests);
// The same in the caller's transaction (check-in, walk-in).
void WriteStayGuests(TADOConnection &connection, const FrontDesk::TStay &stay, const QList<TStayGuest> &guests);

// At check-in or walk-in, in the caller's transaction: a stay without guests gets its holder from
// the registration card: the guest of the register with the card's personal or document number,
// else a new one; the card's tax exemption is the holder's. Then every guest of the stay must
// have what the law asks (refused, naming the guest and the missing fields).
void RegisterAtCheckIn(TADOConnection &connection, const FrontDesk::TStay &stay, const FrontDesk::TGuest &card);

// After a reservation's stays are written, in its transaction: the guest of the register who
// booked holds each of the booking's stays.
void HoldBooking(TADOConnection &connection, int booking, int guest);

// ---- duplicates and privacy

// The guest MERGED becomes KEPT: every stay of MERGED is KEPT's, KEPT's empty fields take
// MERGED's, and MERGED is gone; logged.
void Merge(int kept, int merged);
// Names, documents, personal number, birth day and contacts removed for good; stays and money
// stay for the accounts; logged. Citizenship and sex stay for the statistics.
void Anonymise(int guest, const QString &reason);
// In the caller's transaction: every guest of the hotel's rules whose last departure is more
// than the retention's months before DAY and who did not consent to be kept; gives how many.
int AnonymiseExpired(TADOConnection &connection, const QDate &day);
// Everything the hotel keeps of a guest, as text to hand to them: the person, stays, charges,
// payments and documents of their bookings. Logged.
QString ExportData(int guest);

} // namespace Guests
