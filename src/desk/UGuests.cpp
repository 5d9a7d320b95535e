#include "UGuests.h"

#include "UCountries.h"
#include "UPersonalNumbers.h"
#include "URights.h"
#include "URows.h"
#include "data/UAdoDb.h"
#include "data/UDM.h"
#include "data/UGuestSearch.h"
#include "startup/UConstMessagesStay.h"

#include <QRegularExpression>

namespace Guests {

namespace {

const QStringList kColumns = {"q253", "q254", "q255", "q256", "q257", "q258", "q259", "q260", "q261",
                              "q262", "q28",  "q134", "q263", "q264", "q137", "q265", "q266", "q128", "q136"};

QVariant orNull(const QString &text)
{
    return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}
QVariant orNull(const QDate &day)
{
    return day.isValid() ? QVariant(QDateTime(day, QTime(0, 0))) : QVariant(QMetaType::fromType<QDateTime>());
}

QVariantList valuesOf(const TGuest &guest)
{
    const int by = Rights::CurrentOperator();
    return {guest.Name,
            orNull(guest.LatinName),
            guest.Sex,
            orNull(guest.Born),
            orNull(guest.Citizenship),
            guest.DocumentKind,
            orNull(guest.DocumentNumber),
            orNull(guest.DocumentSeries),
            orNull(guest.IssuedBy),
            orNull(guest.ValidTo),
            orNull(guest.PersonalNumber),
            orNull(guest.Address),
            orNull(guest.Phone),
            orNull(guest.Email),
            orNull(guest.Note),
            guest.KeepConsent ? 1 : 0,
            guest.MessagesConsent ? 1 : 0,
            by > 0 ? QVariant(by) : QVariant(QMetaType::fromType<int>()),
            QDateTime::currentDateTime()};
}


std::optional<TFault> checkPersonalNumber(TGuest &guest)
{
    if (guest.PersonalNumber.isEmpty())
        return std::nullopt;
    QDate born;
    bool male = false;
    if (PersonalNumbers::IsEgn(guest.PersonalNumber, &born, &male)) {
        if (guest.Born.isValid() && guest.Born != born)
            return TFault{gfBorn, msgGuestBirthDisagrees.arg(guest.PersonalNumber, born.toString(QStringLiteral("dd.MM.yyyy")))};
        guest.Born = born;
        if (guest.Sex == sxUnknown)
            guest.Sex = male ? sxMale : sxFemale;
        return std::nullopt;
    }
    if (PersonalNumbers::IsLnch(guest.PersonalNumber))
        return std::nullopt;
    return TFault{gfPersonalNumber, msgGuestPersonalNumberInvalid.arg(guest.PersonalNumber)};
}

// Guests are registered at the desk as well as in the register.
void requireDeskRight()
{
    if (!Rights::Has(Rights::rCheckIn) && !Rights::Has(Rights::rReservation))
        Rights::Require(Rights::rRegisters);
}

void hideDocument(TGuest &guest)
{
    guest.DocumentNumber.clear();
    guest.DocumentSeries.clear();
    guest.IssuedBy.clear();
    guest.ValidTo = QDate();
    guest.PersonalNumber.clear();
}

// An operator who does not see documents saves the rest of the guest; the document stays as kept.
void keepStoredDocument(TADOConnection &connection, TGuest &guest)
{
    if (const std::optional<TGuest> stored = Read(connection, guest.Id)) {
        guest.DocumentKind = stored->DocumentKind;
        guest.DocumentNumber = stored->DocumentNumber;
        guest.DocumentSeries = stored->DocumentSeries;
        guest.IssuedBy = stored->IssuedBy;
        guest.ValidTo = stored->ValidTo;
        guest.PersonalNumber = stored->PersonalNumber;
        if (!guest.PersonalNumber.isEmpty())
            guest.Born = stored->Born;  // the ЕГН's own date, which Check would compare
    }
}

} // namespace

QString CountryCode(const QString &typed)
{
    if (typed.isEmpty())
        return QString();
    if (const std::optional<Countries::TCountry> country = Countries::Find(typed))
        return country->Alpha2;
    for (const Countries::TCountry &country : Countries::All())
        for (const QString &name : {country.Bulgarian, country.English, country.Russian})
            if (name.compare(typed, Qt::CaseInsensitive) == 0)
                return country.Alpha2;
    return QString();
}

QString CountryOf(const QString &citizenship, const QString &personalNumber, const QString &nationality)
{
    if (!citizenship.isEmpty())
        return citizenship;
    if (PersonalNumbers::IsEgn(personalNumber.trimmed()))
        return QStringLiteral("BG");
    return CountryCode(nationality.trimmed());
}

std::optional<TFault> Check(TGuest &guest)
{
    for (QString *text : {&guest.Name, &guest.LatinName, &guest.Citizenship, &guest.DocumentNumber, &guest.DocumentSeries,
                          &guest.IssuedBy, &guest.PersonalNumber, &guest.Address, &guest.Phone, &guest.Email, &guest.Note})
        *text = text->simplified();
    if (guest.Name.isEmpty())
        return TFault{gfName, msgGuestNoName};
    if (guest.Born.isValid() && guest.Born > QDate::currentDate())
        return TFault{gfBorn, msgGuestBornLater};
    for (const auto &[field, code] : {std::pair<TField, QString *>{gfCitizenship, &guest.Citizenship}, {gfIssuedBy, &guest.IssuedBy}}) {
        const QString known = CountryCode(*code);
        if (!code->isEmpty() && known.isEmpty())
            return TFault{field, msgGuestCountryUnknown.arg(*code)};
        *code = known;
    }
    if (std::optional<TFault> fault = checkPersonalNumber(guest))
        return fault;
    static const QRegularExpression mail(QStringLiteral("^[^@\\s]+@[^@\\s]+\\.[^@\\s]+$"));
    if (!guest.Email.isEmpty() && !mail.match(guest.Email).hasMatch())
        return TFault{gfEmail, msgGuestEmailInvalid.arg(guest.Email)};
    if (guest.ValidTo.isValid() && guest.Born.isValid() && guest.ValidTo <= guest.Born)
        return TFault{gfValidTo, msgGuestDocumentBeforeBirth};
    return std::nullopt;
}

int Save(TGuest guest)
{
    requireDeskRight();
    if (const std::optional<TFault> fault = Check(guest))
        throw EFrontDeskRefused(fault->Message);
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection, true);
    const int id = Save(connection, guest);
    transaction.Commit();
    return id;
}

int Save(TADOConnection &connection, TGuest guest, bool logged)
{
    if (const std::optional<TFault> fault = Check(guest))
        throw EFrontDeskRefused(fault->Message);
    int id = guest.Id;
    if (id > 0) {
        QStringList sets;
        for (const QString &column : kColumns)
            sets.append(column + QStringLiteral(" = ?"));
        const QVariantList stored = connection.Column(QStringLiteral("SELECT q269 FROM Gosti WHERE q252 = ?"), {id});
        if (stored.isEmpty())
            throw EFrontDeskRefused(msgGuestNotFound.arg(id));
        if (!stored.value(0).isNull())
            throw EFrontDeskRefused(msgGuestAnonymisedAlready);
        if (!Rights::Has(Rights::rGuestDocuments))
            keepStoredDocument(connection, guest);
        QVariantList values = valuesOf(guest);
        values.append(id);
        connection.Execute(QStringLiteral("UPDATE Gosti SET ") + sets.join(QStringLiteral(", ")) +
                               QStringLiteral(" WHERE q252 = ?"),
                           values);
    } else {
        id = connection.InsertReturningIdentity(
            QStringLiteral("Gosti"), kColumns,
            QStringLiteral("VALUES (") + QStringList(kColumns.size(), QStringLiteral("?")).join(QStringLiteral(", ")) +
                QLatin1Char(')'),
            valuesOf(guest));
    }
    GuestSearch::IndexGuest(connection, id, guest.Name, guest.LatinName);
    if (logged)
        FrontDesk::WriteLog(connection, QStringLiteral("guest"), id, QVariant(), msgLogGuestSaved.arg(guest.Name));
    return id;
}

std::optional<TGuest> Read(int id)
{
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection);
    std::optional<TGuest> guest = Read(connection, id);
    transaction.Commit();
    if (guest && !Rights::Has(Rights::rGuestDocuments))
        hideDocument(*guest);
    return guest;
}

std::optional<TGuest> Read(TADOConnection &connection, int id)
{
    TRows row(connection, QStringLiteral("SELECT q252, ") + kColumns.join(QStringLiteral(", ")) +
                              QStringLiteral(" FROM Gosti WHERE q252 = :iGuest"),
              {{"iGuest", id}});
    std::optional<TGuest> guest;
    if (row.Next())
        guest = TGuest{row.Integer(0), row.Text(1), row.Text(2), row.Integer(3), row.Date(4), row.Text(5), row.Integer(6),
                       row.Text(7), row.Text(8), row.Text(9), row.Date(10), row.Text(11), row.Text(12), row.Text(13),
                       row.Text(14), row.Text(15), row.Integer(16) == 1, row.Integer(17) == 1};
    return guest;
}

} // namespace Guests
