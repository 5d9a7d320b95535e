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
std::optional<TGuest> Read(int id);

} // namespace Guests
