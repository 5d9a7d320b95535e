#include "UFrontDesk.h"
#include "UNights.h"

#include "UGuests.h"

#include "data/UADOComunicationControl.h"
#include "data/UAdoDb.h"
#include "data/UDM.h"
#include "data/UDbEngine.h"
#include "data/UDbSchema.h"
#include "data/UGuestSearch.h"
#include "errors/UExceptionLogs.h"
#include "framework/UFormatSettings.h"
#include "desk/UDayClose.h"
#include "desk/URights.h"
#include "desk/UTouristTax.h"
#include "framework/UMainLibraryClass.h"
#include "startup/UConstMessagesReports.h"
#include "startup/UConstMessagesStay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMap>
#include <QMutex>
#include <QSysInfo>
#include <QThread>
#include <algorithm>
#include <memory>

namespace FrontDesk {

namespace {


const QString kStayColumns = QStringLiteral(
    "SELECT k.q123, k.q124, k.q47, k.q1, r.q44, k.q29, k.q34, k.q35, k.q125, k.q71, k.q70, k.q27, k.q32, "
    "k.q126, k.q127, k.q155, k.q276 FROM Klients k LEFT JOIN Rooms r ON (r.q47 = k.q47) ");

QVariant nullOf(QMetaType type) { return QVariant(type); }
QVariant nullInt() { return nullOf(QMetaType::fromType<int>()); }
QVariant nullText() { return nullOf(QMetaType::fromType<QString>()); }
QVariant nullDate() { return nullOf(QMetaType::fromType<QDateTime>()); }
QVariant orNull(const QString &text) { return text.trimmed().isEmpty() ? nullText() : QVariant(text.trimmed()); }
QVariant orNull(const QDate &day) { return day.isValid() ? QVariant(day) : nullDate(); }

QVariant operatorId()
{
    const int id = Rights::CurrentOperator();
    return id > 0 ? QVariant(id) : nullInt();
}

QString dayText(const QDate &day) { return day.toString(QStringLiteral("dd.MM.yyyy")); }

[[noreturn]] void refuse(const QString &message) { throw EFrontDeskRefused(message); }

int nightsOf(const TField &field) { return qRound(TDecimal::FromVariant(field.Value()).ToDouble()); }

TStay stayOf(const TADOQuery &query)
{
    TStay stay;
    stay.Id = query.FieldByName(QStringLiteral("q123")).AsInteger();
    stay.Booking = query.FieldByName(QStringLiteral("q124")).AsInteger();
    stay.Room = query.FieldByName(QStringLiteral("q47")).AsInteger();
    stay.Hotel = query.FieldByName(QStringLiteral("q1")).Value();
    stay.RoomNumber = query.FieldByName(QStringLiteral("q44")).AsString();
    stay.Guest = query.FieldByName(QStringLiteral("q29")).AsString();
    stay.From = query.FieldByName(QStringLiteral("q34")).AsDate();
    stay.To = query.FieldByName(QStringLiteral("q35")).AsDate();
    const TField status = query.FieldByName(QStringLiteral("q125"));
    stay.Status = status.IsNull() ? ssReserved : status.AsInteger();
    stay.Nights = nightsOf(query.FieldByName(QStringLiteral("q71")));
    stay.Price = TDecimal::FromVariant(query.FieldByName(QStringLiteral("q70")).Value());
    stay.Total = TDecimal::FromVariant(query.FieldByName(QStringLiteral("q27")).Value());
    stay.Moved = query.FieldByName(QStringLiteral("q32")).AsBoolean();
    stay.Continues = query.FieldByName(QStringLiteral("q155")).AsInteger();
    stay.Plan = query.FieldByName(QStringLiteral("q276")).AsInteger();
    if (!query.FieldByName(QStringLiteral("q126")).IsNull())
        stay.CheckedIn = query.FieldByName(QStringLiteral("q126")).AsDateTime();
    if (!query.FieldByName(QStringLiteral("q127")).IsNull())
        stay.CheckedOut = query.FieldByName(QStringLiteral("q127")).AsDateTime();
    return stay;
}

QList<TStay> staysOf(TADOQuery &query)
{
    QList<TStay> stays;
    for (query.First(); !query.Eof(); query.Next())
        stays.append(stayOf(query));
    return stays;
}

TStay requireStay(TADOConnection &connection, int id)
{
    auto query = OpenQuery(connection, kStayColumns + QStringLiteral("WHERE k.q123 = :iStay AND k.q47 IS NOT NULL"),
                           {{QStringLiteral("iStay"), id}});
    if (query->Eof())
        refuse(msgStayNotFound);
    return stayOf(*query);
}


// A closure that shares a night with the nights from :dFrom to the night before :dTo.
const QString kClosedBetween = QStringLiteral("(q157 IS NULL OR q157 < :dTo) AND (q158 IS NULL OR q158 > :dFrom)");

QString roomNumber(TADOConnection &connection, int room)
{
    auto query = OpenQuery(connection, QStringLiteral("SELECT q44 FROM Rooms WHERE q47 = :iRoom"), {{"iRoom", room}});
    return query->Eof() ? QString::number(room) : query->FieldByName(QStringLiteral("q44")).AsString();
}

int roomState(TADOConnection &connection, int room)
{
    auto query = OpenQuery(connection, QStringLiteral("SELECT q129 FROM Rooms WHERE q47 = :iRoom"), {{"iRoom", room}});
    if (query->Eof())
        refuse(msgUnknownRoom);
    const TField state = query->FieldByName(QStringLiteral("q129"));
    return state.IsNull() ? rsClean : state.AsInteger();
}

bool roomFree(TADOConnection &connection, int room, const QDate &from, const QDate &to, int exceptStay, QString *why)
{
    if (from >= to)
        return true;
    auto held = OpenQuery(connection,
                          QStringLiteral("SELECT q123 FROM Klients WHERE q47 = :iRoom AND q34 < :dTo AND q35 > :dFrom AND ") +
                              HoldsNights() + QStringLiteral(" AND q123 <> :iStay"),
                          {{"iRoom", room}, {"dTo", to}, {"dFrom", from}, {"iStay", exceptStay}});
    if (!held->Eof()) {
        if (why)
            *why = msgRoomHeld.arg(roomNumber(connection, room));
        return false;
    }
    auto closed = OpenQuery(connection, QStringLiteral("SELECT q159 FROM Zatvoreni WHERE q47 = :iRoom AND ") + kClosedBetween,
                            {{"iRoom", room}, {"dTo", to}, {"dFrom", from}});
    if (!closed->Eof()) {
        if (why)
            *why = msgRoomClosed.arg(roomNumber(connection, room),
                                     RoomStateName(closed->FieldByName(QStringLiteral("q159")).AsInteger()));
        return false;
    }
    return true;
}

void requireRoomFree(TADOConnection &connection, int room, const QDate &from, const QDate &to, int exceptStay)
{
    QString why;
    if (!roomFree(connection, room, from, to, exceptStay, &why))
        refuse(why);
}

// A dirty room or one being cleaned takes a guest only when the operator says so.
void confirmRoomReady(TADOConnection &connection, int room, TConsent consent)
{
    const int state = roomState(connection, room);
    if ((state == rsDirty || state == rsCleaning) && !consent.To(qnRoomNotReady))
        throw EFrontDeskConfirm(msgRoomNotReady.arg(roomNumber(connection, room), RoomStateName(state)), qnRoomNotReady);
}

// One guest in house per room, whatever the dates say: a departing guest who has not checked
// out, or one who stayed past the departure day, still sleeps there.
void requireNoGuestInHouse(TADOConnection &connection, int room, int exceptStay)
{
    auto guest = OpenQuery(connection,
                           QStringLiteral("SELECT q29 FROM Klients WHERE q47 = :iRoom AND q125 = 1 AND q123 <> :iStay"),
                           {{"iRoom", room}, {"iStay", exceptStay}});
    if (!guest->Eof())
        refuse(msgGuestStillInHouse.arg(roomNumber(connection, room), guest->FieldByName(QStringLiteral("q29")).AsString()));
}

void lockRooms(TADOConnection &connection, QList<int> rooms)
{
    std::sort(rooms.begin(), rooms.end());
    rooms.erase(std::unique(rooms.begin(), rooms.end()), rooms.end());
    connection.Engine().LockRooms(connection, rooms);
}

// Every operation on a booking's stays, charges or payments holds the booking first (then the
// rooms, each in key order), so that what it reads after stays true until it commits: two
// workstations acting on one booking take turns instead of both acting on a stale read.
void lockBooking(TADOConnection &connection, int booking)
{
    if (booking > 0)
        connection.Engine().LockBookings(connection, {booking});
}

// The stay, read again under its booking's lock (a stay never changes booking).
TStay lockStay(TADOConnection &connection, int id)
{
    lockBooking(connection, requireStay(connection, id).Booking);
    return requireStay(connection, id);
}

// What was done to the booking last, and by whom: the change that came first.
QString changeBefore(TADOConnection &connection, int booking)
{
    auto last = OpenQuery(connection,
                          QStringLiteral("SELECT d.q147, d.q136, o.q75 FROM Dnevnik d LEFT JOIN Operators o ON (o.q80 = "
                                         "d.q128) WHERE d.q124 = :iBooking ORDER BY d.q143 DESC"),
                          {{"iBooking", booking}});
    if (last->Eof())
        return QString();
    return msgChangedBefore.arg(last->FieldByName(QStringLiteral("q147")).AsString(),
                                last->FieldByName(QStringLiteral("q75")).AsString(),
                                last->FieldByName(QStringLiteral("q136")).AsDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")));
}

// A stay whose status forbids the operation: said with the change that made it so.
void requireStatus(TADOConnection &connection, const TStay &stay, std::initializer_list<int> allowed)
{
    if (std::find(allowed.begin(), allowed.end(), stay.Status) == allowed.end())
        refuse(msgStayStatusForbids.arg(StatusName(stay.Status)) + changeBefore(connection, stay.Booking));
}

bool registrationComplete(const TGuest &guest)
{
    const bool identified = !guest.PersonalNumber.trimmed().isEmpty() || !guest.Passport.trimmed().isEmpty();
    return identified && !guest.Nationality.trimmed().isEmpty() && !guest.Address.trimmed().isEmpty();
}

TDecimal totalOf(const TDecimal &price, int nights) { return StayTotal(price, nights); }

// What the stay costs if it ends on the day: its nights by its plan, else nights × price.
TDecimal totalUntil(TADOConnection &connection, const TStay &stay, const QDate &departure)
{
    return stay.Plan > 0 ? Nights::TotalUntil(connection, stay.Id, departure)
                         : totalOf(stay.Price, int(stay.From.daysTo(departure)));
}

// Sets the day of departure and counts nights and total again; gives the new total.
TDecimal setDeparture(TADOConnection &connection, const TStay &stay, const QDate &departure,
                      const QString &extraSets = {}, const QVariantList &extraValues = {})
{
    const int nights = int(stay.From.daysTo(departure));
    // A plan's stay drops or prices its nights (before its row says the new day: they start from the old).
    const TDecimal total = stay.Plan > 0 ? Nights::SetDeparture(connection, stay.Id, departure) : totalOf(stay.Price, nights);
    QVariantList values = {departure, nights, total.ToVariant(), operatorId()};
    values += extraValues;
    values.append(stay.Id);
    connection.Execute(QStringLiteral("UPDATE Klients SET q35 = ?, q71 = ?, q27 = ?, q128 = ?") + extraSets +
                           QStringLiteral(" WHERE q123 = ?"),
                       values);
    return total;
}

void setRoomState(TADOConnection &connection, int room, int state)
{
    connection.Execute(QStringLiteral("UPDATE Rooms SET q129 = ? WHERE q47 = ?"), {state, room});
}

// Runs one operation in one write transaction, for an operator who holds its right.
template <typename TWork>
auto operation(Rights::TRight right, TWork work)
{
    Rights::Require(right);
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection, true);
    LockDay(connection);
    auto result = work(connection);
    transaction.Commit();
    return result;
}

TFolio readFolio(TADOConnection &connection, int number);

TDecimal balanceOf(TADOConnection &connection, int booking)
{
    return readFolio(connection, booking).Balance();
}

bool anyInHouse(TADOConnection &connection, int booking)
{
    auto query = OpenQuery(connection, QStringLiteral("SELECT q123 FROM Klients WHERE q124 = :iBooking AND q125 = 1"),
                           {{"iBooking", booking}});
    return !query->Eof();
}

using TValues = QList<QPair<QString, QVariant>>;

// One row of Klients from its columns and values; gives the row's key.
int insertRow(TADOConnection &connection, const TValues &values)
{
    QStringList columns;
    QVariantList bound;
    for (const auto &[column, value] : values) {
        columns.append(column);
        bound.append(value);
    }
    return connection.InsertReturningIdentity(
        QStringLiteral("Klients"), columns,
        QStringLiteral("VALUES (") + QStringList(values.size(), QStringLiteral("?")).join(QStringLiteral(", ")) +
            QLatin1Char(')'),
        bound);
}

// The guest columns a charge copies from the row it belongs to (a booking or a stay).
void addGuestColumns(TValues &values, const TADOQuery &source)
{
    for (const char *column : {"q1", "q28", "q29", "q31", "q57"}) {
        const TField field = source.FieldByName(QLatin1String(column));
        if (!field.IsNull())
            values.append({QLatin1String(column), field.Value()});
    }
}

QDateTime chargeTime(const QDate &date) { return QDateTime(date, date == Today() ? QTime::currentTime() : QTime(12, 0)); }

// The tourist tax of the nights a guest stayed, charged when they end (check-out, or the move
// that ends a part): a row per month and rate, dated in its month, naming the stay and nights.
TDecimal chargeTaxParts(TADOConnection &connection, const TStay &stay, const QList<TouristTax::TPart> &parts,
                        const QDate &accruedOn, const TADOQuery &guest, const Guests::TStayGuest &person);

QString chargeTouristTax(TADOConnection &connection, const TStay &stay, const QDate &departure,
                         const QDate &accruedOn = QDate())
{
    // Nights the day's close has accrued already are not charged again.
    const QVariant covered =
        connection.Column(QStringLiteral("SELECT MAX(q35) FROM Klients WHERE q160 = ?"), {stay.Id}).value(0);
    const QDate from = covered.isValid() && !covered.isNull() ? std::max(stay.From, TField(QString(), covered).AsDate())
                                                              : stay.From;
    if (from >= departure)
        return QString();
    auto guest = OpenQuery(connection, QStringLiteral("SELECT q1, q28, q29, q31, q57, q161 FROM Klients WHERE q123 = :iStay"),
                           {{"iStay", stay.Id}});
    const QString category = guest->FieldByName(QStringLiteral("q31")).AsString().trimmed();
    const TTaxRates rates = TTaxRates::Read(connection);
    TDecimal total;
    // Every guest in the room is taxed (or counted exempt) on rows of their own.
    for (const Guests::TStayGuest &person : Guests::OfStay(connection, stay.Id)) {
        const QList<TouristTax::TPart> parts =
            TouristTax::Parts(from, departure, [&](const QDate &night) { return rates.Rate(stay.Hotel, category, night); },
                              !person.TaxExemption.isEmpty());
        total += chargeTaxParts(connection, stay, parts, accruedOn, *guest, person);
    }
    return total.IsZero() ? QString() : msgLogTouristTax.arg(total.ToFixed(2));
}

TDecimal chargeTaxParts(TADOConnection &connection, const TStay &stay, const QList<TouristTax::TPart> &parts,
                        const QDate &accruedOn, const TADOQuery &guest, const Guests::TStayGuest &person)
{
    TDecimal total;
    for (const TouristTax::TPart &part : parts) {
        const QDate dated = accruedOn.isValid() ? std::min(part.Dated(), accruedOn) : part.Dated();
        TValues values = {{"q33", msgTouristTax},
                          {"q39", chargeTime(dated)},
                          {"q34", part.First},
                          {"q35", part.End},
                          {"q160", stay.Id},
                          {"q70", part.Rate.ToVariant()},
                          {"q71", part.Nights()},
                          {"q27", part.Sum().ToVariant()},
                          {"q124", stay.Booking},
                          {"q125", int(ssReserved)},
                          {"q128", operatorId()}};
        addGuestColumns(values, guest);
        if (person.Guest > 0) {
            if (!person.Holder)
                values.removeIf([](const QPair<QString, QVariant> &value) { return value.first == QLatin1String("q28"); });
            values.removeIf([](const QPair<QString, QVariant> &value) { return value.first == QLatin1String("q29"); });
            values += {{"q29", person.Name}, {"q252", person.Guest}};
        }
        insertRow(connection, values);
        total += part.Sum();
    }
    return total;
}

// A meal plan's services of one night, per person, each once: a charge names its stay and night.
int postMealsOfStay(TADOConnection &connection, const TStay &stay, const Nights::TPlanInfo &plan, const QDate &night)
{
    auto row = OpenQuery(connection, QStringLiteral("SELECT q1, q28, q29, q31, q57, q300, q301 FROM Klients WHERE q123 = :iStay"),
                         {{"iStay", stay.Id}});
    Nights::TOccupancy people;
    people.Adults = std::max(1, row->FieldByName(QStringLiteral("q300")).AsInteger());
    people.ChildAges = Nights::AgesOf(row->FieldByName(QStringLiteral("q301")).AsString());
    int posted = 0;
    for (const int service : plan.MealServices()) {
        const bool charged =
            connection.Column(QStringLiteral("SELECT COUNT(*) FROM Klients WHERE q302 = ? AND q34 = ? AND q42 = ?"),
                              {stay.Id, night, QString::number(service)}).value(0).toInt() > 0;
        auto item = OpenQuery(connection, QStringLiteral("SELECT q40, q33 FROM Uslugi WHERE q42 = :iService"),
                              {{"iService", service}});
        if (charged || item->Eof())
            continue;
        const TDecimal price = TDecimal::FromVariant(item->FieldByName(QStringLiteral("q40")).Value());
        const TDecimal quantity(people.People());
        TValues values = {{"q33", item->FieldByName(QStringLiteral("q33")).AsString()},
                          {"q42", QString::number(service)},
                          {"q39", chargeTime(night)},
                          {"q34", night},
                          {"q35", night.addDays(1)},
                          {"q302", stay.Id},
                          {"q70", price.ToVariant()},
                          {"q71", quantity.ToVariant()},
                          {"q27", ChargeTotal(price, quantity).ToVariant()},
                          {"q124", stay.Booking},
                          {"q125", int(ssReserved)},
                          {"q128", operatorId()}};
        addGuestColumns(values, *row);
        insertRow(connection, values);
        ++posted;
    }
    return posted;
}

QString chargeNoShow(TADOConnection &connection, const TStay &stay)
{
    auto guest = OpenQuery(connection, QStringLiteral("SELECT q1, q28, q29, q31, q57 FROM Klients WHERE q123 = :iStay"),
                           {{"iStay", stay.Id}});
    const TDecimal night = totalUntil(connection, stay, stay.From.addDays(1));
    TValues values = {{"q33", msgNoShowCharge.arg(stay.RoomNumber)},
                      {"q39", chargeTime(Today())},
                      {"q70", night.ToVariant()},
                      {"q71", 1},
                      {"q27", night.ToVariant()},
                      {"q124", stay.Booking},
                      {"q125", int(ssReserved)},
                      {"q128", operatorId()}};
    addGuestColumns(values, *guest);
    insertRow(connection, values);
    return msgLogNoShowCharged.arg(night.ToFixed(2));
}

// A check-out before the last night gives nights up; one after the departure day adds the nights
// really stayed, when the room was free for them. Either needs the operator's yes first.
QDate checkOutDay(TADOConnection &connection, const QList<TStay> &stays, TConsent consent)
{
    const QDate today = Today();
    QStringList early, late;
    for (const TStay &stay : stays) {
        if (today < stay.To) {
            const int booked = int(stay.From.daysTo(stay.To));
            const int charged = int(stay.From.daysTo(LeavingDay(stay)));
            early.append(msgEarlyDeparture.arg(stay.RoomNumber).arg(booked).arg(charged).arg(
                AmountText(totalUntil(connection, stay, stay.To) - totalUntil(connection, stay, LeavingDay(stay)))));
        } else if (today > stay.To) {
            const int added = int(stay.To.daysTo(today));
            QString why;
            if (!roomFree(connection, stay.Room, stay.To, today, stay.Id, &why))
                refuse(msgOverstayRoomTaken.arg(stay.RoomNumber, dayText(stay.To)) + QLatin1Char(' ') + why);
            late.append(msgOverstay.arg(stay.RoomNumber, dayText(stay.To)).arg(added).arg(AmountText(
                totalUntil(connection, stay, today) - totalUntil(connection, stay, stay.To))));
        }
    }
    if (!early.isEmpty() && !consent.To(qnEarlyDeparture))
        throw EFrontDeskConfirm(early.join(QLatin1Char('\n')) + QLatin1Char('\n') + msgCheckOutEarlyQuestion, qnEarlyDeparture);
    if (!late.isEmpty() && !consent.To(qnOverstay))
        throw EFrontDeskConfirm(late.join(QLatin1Char('\n')) + QLatin1Char('\n') + msgCheckOutLateQuestion, qnOverstay);
    return today;
}

QString checkOutStay(TADOConnection &connection, const TStay &stay)
{
    const QDate today = Today();
    // An overstay was asked about and its nights found free: the stay runs to today.
    const QDate departure = std::max(today, stay.From);
    const TDecimal total = setDeparture(connection, stay, departure, QStringLiteral(", q125 = ?, q127 = ?"),
                                        {int(ssDeparted), Now()});
    setRoomState(connection, stay.Room, rsDirty);
    const int nights = int(stay.From.daysTo(departure));
    return msgLogCheckedOut.arg(stay.RoomNumber).arg(nights).arg(total.ToFixed(2)) +
           chargeTouristTax(connection, stay, departure);
}

// The last guest of a booking leaves: an open balance needs the operator's word, and is logged.
QString settleBalance(TADOConnection &connection, int booking, TConsent consent)
{
    if (anyInHouse(connection, booking))
        return {};
    const TDecimal balance = balanceOf(connection, booking);
    if (balance.IsZero())
        return {};
    // Owed by the guest, or owed to them: each said as what it is.
    if (!consent.To(qnOpenBalance))
        throw EFrontDeskConfirm(balance.IsNegative() ? msgOverpaidBalance.arg(AmountText(TDecimal() - balance))
                                                     : msgOpenBalance.arg(AmountText(balance)),
                                qnOpenBalance);
    return msgLogOpenBalance.arg(balance.ToFixed(2));
}

QString personName(const TADOQuery &query, const QString &fullName, const QString &login)
{
    const QString name = query.FieldByName(fullName).AsString().trimmed();
    return name.isEmpty() ? query.FieldByName(login).AsString() : name;
}

TFolio readFolio(TADOConnection &connection, int number)
{
    TFolio folio;
    auto booking = OpenQuery(connection,
                             QStringLiteral("SELECT b.*, h.q10, v.q56, o.q21, o.q75 FROM Rezervacii b "
                                            "LEFT JOIN HotelBuild h ON (h.q1 = b.q1) LEFT JOIN Valuta v ON (v.q57 = b.q57) "
                                            "LEFT JOIN Operators o ON (o.q80 = b.q128) WHERE b.q124 = :iBooking"),
                             {{"iBooking", number}});
    if (booking->Eof())
        refuse(msgBookingNotFound.arg(number));
    TBooking &b = folio.Booking;
    b.Number = number;
    b.Hotel = booking->FieldByName(QStringLiteral("q1")).Value();
    b.HotelName = booking->FieldByName(QStringLiteral("q10")).AsString();
    b.Guest.Name = booking->FieldByName(QStringLiteral("q29")).AsString();
    b.Guest.PersonalNumber = booking->FieldByName(QStringLiteral("q28")).AsString();
    b.Guest.Passport = booking->FieldByName(QStringLiteral("q133")).AsString();
    b.Guest.Address = booking->FieldByName(QStringLiteral("q134")).AsString();
    b.Guest.Nationality = booking->FieldByName(QStringLiteral("q135")).AsString();
    b.Guest.Category = booking->FieldByName(QStringLiteral("q31")).AsString().trimmed();
    b.Currency = booking->FieldByName(QStringLiteral("q57")).Value();
    b.CurrencyName = booking->FieldByName(QStringLiteral("q56")).AsString();
    b.Status = booking->FieldByName(QStringLiteral("q138")).AsString();
    b.Note = booking->FieldByName(QStringLiteral("q137")).AsString();
    b.Operator = personName(*booking, QStringLiteral("q21"), QStringLiteral("q75"));
    if (!booking->FieldByName(QStringLiteral("q136")).IsNull())
        b.Entered = booking->FieldByName(QStringLiteral("q136")).AsDateTime();

    auto stays = OpenQuery(connection, kStayColumns + QStringLiteral("WHERE k.q124 = :iBooking AND k.q47 IS NOT NULL "
                                                                     "ORDER BY k.q34, k.q123"),
                           {{"iBooking", number}});
    folio.Stays = staysOf(*stays);
    for (const TStay &stay : folio.Stays)
        if (stay.HoldsNights())
            folio.StaysTotal += stay.Total;

    // In the order they were made: sorted here, since an order by the charge's time would lead
    // the planner of the embedded engine to the index of every charge instead of the booking's.
    auto charges = OpenQuery(connection, QStringLiteral("SELECT q123, q33, q71, q70, q27, q39 FROM Klients "
                                                        "WHERE q124 = :iBooking AND q47 IS NULL ORDER BY q123"),
                             {{"iBooking", number}});
    QList<QPair<QDateTime, TCharge>> made;
    for (charges->First(); !charges->Eof(); charges->Next()) {
        TCharge charge;
        charge.Id = charges->FieldByName(QStringLiteral("q123")).AsInteger();
        charge.Service = charges->FieldByName(QStringLiteral("q33")).AsString();
        charge.Quantity = TDecimal::FromVariant(charges->FieldByName(QStringLiteral("q71")).Value());
        charge.Price = TDecimal::FromVariant(charges->FieldByName(QStringLiteral("q70")).Value());
        charge.Total = TDecimal::FromVariant(charges->FieldByName(QStringLiteral("q27")).Value());
        charge.Date = charges->FieldByName(QStringLiteral("q39")).AsDate();
        folio.ChargesTotal += charge.Total;
        made.append({charges->FieldByName(QStringLiteral("q39")).AsDateTime(), charge});
    }
    std::stable_sort(made.begin(), made.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (const auto &[when, charge] : made)
        folio.Charges.append(charge);

    auto payments = OpenQuery(connection,
                              QStringLiteral("SELECT p.q139, p.q140, p.q141, p.q142, p.q136, p.q137, o.q21, o.q75 "
                                             "FROM Plashtania p LEFT JOIN Operators o ON (o.q80 = p.q128) "
                                             "WHERE p.q124 = :iBooking ORDER BY p.q139"),
                              {{"iBooking", number}});
    for (payments->First(); !payments->Eof(); payments->Next()) {
        TPayment payment;
        payment.Id = payments->FieldByName(QStringLiteral("q139")).AsInteger();
        payment.Amount = TDecimal::FromVariant(payments->FieldByName(QStringLiteral("q140")).Value());
        payment.Kind = payments->FieldByName(QStringLiteral("q141")).AsInteger();
        payment.Method = payments->FieldByName(QStringLiteral("q142")).AsInteger();
        payment.When = payments->FieldByName(QStringLiteral("q136")).AsDateTime();
        payment.Note = payments->FieldByName(QStringLiteral("q137")).AsString();
        payment.Operator = personName(*payments, QStringLiteral("q21"), QStringLiteral("q75"));
        (payment.Kind == pkRefund ? folio.Refunded : folio.Paid) += payment.Amount;
        folio.Payments.append(payment);
    }

    auto history = OpenQuery(connection,
                             QStringLiteral("SELECT d.q136, d.q144, d.q145, d.q147, o.q21, o.q75 FROM Dnevnik d "
                                            "LEFT JOIN Operators o ON (o.q80 = d.q128) WHERE d.q124 = :iBooking "
                                            "ORDER BY d.q143"),
                             {{"iBooking", number}});
    for (history->First(); !history->Eof(); history->Next()) {
        TLogEntry entry;
        entry.When = history->FieldByName(QStringLiteral("q136")).AsDateTime();
        entry.Workstation = history->FieldByName(QStringLiteral("q144")).AsString();
        entry.What = history->FieldByName(QStringLiteral("q145")).AsString();
        entry.Text = history->FieldByName(QStringLiteral("q147")).AsString();
        entry.Operator = personName(*history, QStringLiteral("q21"), QStringLiteral("q75"));
        folio.History.append(entry);
    }
    return folio;
}

template <typename TRead>
auto reading(TRead read)
{
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection);
    auto result = read(connection);
    transaction.Commit();
    return result;
}


} // namespace

// ---- the day

namespace {
QDate &fixedDay()
{
    static QDate day;
    return day;
}

// The stored business day as last read, so that the windows' many questions of the day cost no
// statement; a write reads it again under its lock (LockDay).
struct TStoredDay {
    QMutex Lock;
    QDate Day;
    QElapsedTimer Read;
};
TStoredDay &storedDay()
{
    static TStoredDay stored;
    return stored;
}
constexpr qint64 kDayFreshMs = 5000;

void remember(const QDate &day)
{
    TStoredDay &stored = storedDay();
    QMutexLocker lock(&stored.Lock);
    stored.Day = day;
    stored.Read.start();
}

QDate readStoredDay(TADOConnection &connection, bool locked)
{
    const QString sql = QStringLiteral("SELECT q233 FROM RabotenDen") +
                        (locked ? connection.Engine().ShareLockSuffix() : QString());
    auto query = OpenQuery(connection, sql);
    return query->Eof() ? QDate() : query->FieldByName(QStringLiteral("q233")).AsDate();
}

QDate storedToday()
{
    TStoredDay &stored = storedDay();
    {
        QMutexLocker lock(&stored.Lock);
        const bool fresh = stored.Read.isValid() && stored.Read.elapsed() < kDayFreshMs;
        // Another thread, or a transaction a failed statement would spoil, takes the day last read.
        if (fresh || QThread::currentThread() != QCoreApplication::instance()->thread())
            return stored.Day.isValid() ? stored.Day : QDate::currentDate();
    }
    TDM *module = TDM::Instance();
    QDate day;
    if (module && module->ADOLocalConnection->Connected() && !module->ADOLocalConnection->InTransaction()) {
        TADOConnection &connection = *module->ADOLocalConnection;
        if (!connection.Engine().TableColumns(connection, QStringLiteral("RabotenDen")).isEmpty())
            day = readStoredDay(connection, false);
    }
    remember(day);
    return day.isValid() ? day : QDate::currentDate();
}
} // namespace

QDate Today()
{
    if (fixedDay().isValid())
        return fixedDay();
    return QCoreApplication::instance() ? storedToday() : QDate::currentDate();
}

void SetToday(const QDate &day) { fixedDay() = day; }

QDate StoredDay(TADOConnection &connection) { return readStoredDay(connection, false); }

QDate LockDay(TADOConnection &connection)
{
    const QDate day = readStoredDay(connection, true);
    remember(day);
    return Today();
}

void ForgetDay()
{
    TStoredDay &stored = storedDay();
    QMutexLocker lock(&stored.Lock);
    stored.Read.invalidate();
    stored.Day = QDate();
}

void RefuseBeforeToday(const QDate &day)
{
    if (day.isValid() && day < Today())
        throw EFrontDeskRefused(msgDayClosed.arg(day.toString(QStringLiteral("dd.MM.yyyy")),
                                                 Today().toString(QStringLiteral("dd.MM.yyyy"))));
}

QDateTime Now() { return QDateTime(Today(), QTime::currentTime()); }

// ---- words

QString StatusName(int status)
{
    switch (status) {
    case ssInHouse: return msgStatusInHouse;
    case ssDeparted: return msgStatusDeparted;
    case ssCancelled: return msgStatusCancelled;
    case ssNoShow: return msgStatusNoShow;
    default: return msgStatusReserved;
    }
}

QString RoomStateName(int state)
{
    switch (state) {
    case rsDirty: return msgRoomStateDirty;
    case rsCleaning: return msgRoomStateCleaning;
    case rsOutOfService: return msgRoomStateOutOfService;
    case rsLocked: return msgRoomStateLocked;
    default: return msgRoomStateClean;
    }
}

TDecimal StayTotal(const TDecimal &price, int nights) { return (price * TDecimal(nights)).Cents(); }

TDecimal ChargeTotal(const TDecimal &price, const TDecimal &quantity) { return (price * quantity).Cents(); }

QDate LeavingDay(const TStay &stay) { return std::max(Today(), stay.From); }

TDecimal StayTotalUntil(const TStay &stay, const QDate &departure)
{
    if (stay.Plan == 0)
        return StayTotal(stay.Price, int(stay.From.daysTo(departure)));
    return reading([&](TADOConnection &connection) { return totalUntil(connection, stay, departure); });
}

QString PaymentKindName(int kind)
{
    return kind == pkDeposit ? msgPaymentDeposit : kind == pkRefund ? msgPaymentRefund : msgPaymentPayment;
}

QString PaymentMethodName(int method)
{
    return method == pmCard ? msgMethodCard : method == pmTransfer ? msgMethodTransfer : msgMethodCash;
}

QString HoldsNights(const QString &alias)
{
    return QStringLiteral("(") + alias + QStringLiteral("q125 IS NULL OR ") + alias + QStringLiteral("q125 < 3)");
}

bool TFolio::HasStatus(int status) const
{
    return std::any_of(Stays.begin(), Stays.end(), [status](const TStay &stay) { return stay.Status == status; });
}

TTaxRates TTaxRates::Read(TADOConnection &connection)
{
    TTaxRates rates;
    auto query = OpenQuery(connection, QStringLiteral("SELECT q1, q31, q149, q52, q53 FROM KurortniTaksi ORDER BY q148"));
    for (query->First(); !query->Eof(); query->Next()) {
        TRate rate;
        rate.Hotel = query->FieldByName(QStringLiteral("q1")).Value();
        rate.Category = query->FieldByName(QStringLiteral("q31")).AsString().trimmed();
        rate.PerNight = TDecimal::FromVariant(query->FieldByName(QStringLiteral("q149")).Value());
        if (!query->FieldByName(QStringLiteral("q52")).IsNull())
            rate.From = query->FieldByName(QStringLiteral("q52")).AsDate();
        if (!query->FieldByName(QStringLiteral("q53")).IsNull())
            rate.To = query->FieldByName(QStringLiteral("q53")).AsDate();
        rates.m_rates.append(rate);
    }
    return rates;
}

TDecimal TTaxRates::Rate(const QVariant &hotel, const QString &category, const QDate &night) const
{
    // The most particular rate wins: 0 hotel and category, 1 hotel, 2 category, 3 neither.
    const TRate *best = nullptr;
    int bestRank = 4;
    for (const TRate &rate : m_rates) {
        if ((rate.From.isValid() && night < rate.From) || (rate.To.isValid() && night > rate.To))
            continue;
        const bool anyCategory = rate.Category.trimmed().isEmpty();
        if (!anyCategory && rate.Category.compare(category.trimmed(), Qt::CaseInsensitive) != 0)
            continue;
        const bool everyHotel = rate.Hotel.isNull() || !rate.Hotel.isValid();
        if (!everyHotel && rate.Hotel.toInt() != hotel.toInt())
            continue;
        const int rank = (everyHotel ? 2 : 0) + (anyCategory ? 1 : 0);
        if (rank < bestRank) {
            best = &rate;
            bestRank = rank;
        }
    }
    return best ? best->PerNight : TDecimal();
}

// ---- reads

std::optional<TFolio> ReadFolio(int booking)
{
    return reading([booking](TADOConnection &connection) -> std::optional<TFolio> {
        auto exists = OpenQuery(connection, QStringLiteral("SELECT q124 FROM Rezervacii WHERE q124 = :iBooking"),
                                {{"iBooking", booking}});
        if (exists->Eof())
            return std::nullopt;
        return readFolio(connection, booking);
    });
}

std::optional<TStay> ReadStay(int stay)
{
    return reading([stay](TADOConnection &connection) -> std::optional<TStay> {
        auto query = OpenQuery(connection, kStayColumns + QStringLiteral("WHERE k.q123 = :iStay"), {{"iStay", stay}});
        if (query->Eof())
            return std::nullopt;
        return stayOf(*query);
    });
}

std::optional<TStay> CurrentStayOfRoom(int room, const QDate &day)
{
    const QList<TStay> stays = reading([&](TADOConnection &connection) {
        auto query = OpenQuery(connection,
                               kStayColumns + QStringLiteral("WHERE k.q47 = :iRoom AND k.q34 <= :dDay AND k.q35 >= :dDay2 AND ") +
                                   HoldsNights(QStringLiteral("k.")),
                               {{"iRoom", room}, {"dDay", day}, {"dDay2", day}});
        return staysOf(*query);
    });
    // In house first, then the guest who arrives, then the one who leaves, then any other.
    auto rank = [&day](const TStay &stay) {
        if (stay.Status == ssInHouse)
            return 0;
        if (stay.Status == ssReserved && stay.From == day)
            return 1;
        if (stay.To == day)
            return 2;
        return 3;
    };
    const auto best = std::min_element(stays.begin(), stays.end(),
                                       [&](const TStay &a, const TStay &b) { return rank(a) < rank(b); });
    if (best == stays.end())
        return std::nullopt;
    return *best;
}

QList<TStay> Arrivals(const QDate &day)
{
    return reading([&day](TADOConnection &connection) {
        auto query = OpenQuery(connection,
                               kStayColumns + QStringLiteral("WHERE k.q47 IS NOT NULL AND k.q125 = 0 AND k.q34 <= :dDay "
                                                             "AND k.q35 > :dDay2 ORDER BY k.q34, r.q44"),
                               {{"dDay", day}, {"dDay2", day}});
        return staysOf(*query);
    });
}

QList<TStay> Overdue(const QDate &day)
{
    return reading([&day](TADOConnection &connection) {
        auto query = OpenQuery(connection,
                               kStayColumns + QStringLiteral("WHERE k.q47 IS NOT NULL AND k.q125 = 1 AND k.q35 < :dDay "
                                                             "ORDER BY k.q35, r.q44"),
                               {{"dDay", day}});
        return staysOf(*query);
    });
}

QList<TStay> StaysOf(TADOConnection &connection, const QString &condition, const TNamedValues &values)
{
    auto query = OpenQuery(connection, kStayColumns + QStringLiteral("WHERE k.q47 IS NOT NULL AND ") + condition +
                                           QStringLiteral(" ORDER BY k.q34, r.q44"),
                           values);
    return staysOf(*query);
}

TStay LockStay(TADOConnection &connection, int stay) { return lockStay(connection, stay); }

int AccrueTouristTax(TADOConnection &connection, const QDate &night)
{
    int accrued = 0;
    const QList<TStay> stays = StaysOf(connection, QStringLiteral("k.q125 = 1 AND k.q34 <= :dNight AND k.q35 > :dNight"),
                                       {{"dNight", night}});
    for (const TStay &stay : stays)
        if (!chargeTouristTax(connection, stay, night.addDays(1), night).isEmpty())
            ++accrued;
    return accrued;
}

int PostMeals(TADOConnection &connection, const QDate &night)
{
    int posted = 0;
    const QList<TStay> stays = StaysOf(connection, QStringLiteral("k.q125 = 1 AND k.q34 <= :dNight AND k.q35 > :dNight "
                                                                  "AND k.q276 IS NOT NULL"),
                                       {{"dNight", night}});
    for (const TStay &stay : stays) {
        const std::optional<Nights::TPlanInfo> plan = Nights::Plan(connection, stay.Plan);
        if (plan)
            posted += postMealsOfStay(connection, stay, *plan, night);
    }
    return posted;
}

QList<TStay> InHouse(const QDate &day)
{
    return reading([&day](TADOConnection &connection) {
        auto query = OpenQuery(connection,
                               kStayColumns + QStringLiteral("WHERE k.q47 IS NOT NULL AND k.q125 = 1 AND k.q34 <= :dDay "
                                                             "AND k.q35 >= :dDay2 ORDER BY r.q44"),
                               {{"dDay", day}, {"dDay2", day}});
        return staysOf(*query);
    });
}

bool RoomFree(int room, const QDate &from, const QDate &to, int exceptStay, QString *why)
{
    return reading([&](TADOConnection &connection) { return roomFree(connection, room, from, to, exceptStay, why); });
}

// ---- the log

void WriteLog(TADOConnection &connection, const QString &what, const QVariant &key, const QVariant &booking,
              const QString &text)
{
    WriteLogAs(connection, operatorId(), what, key, booking, text);
}

void WriteLogAs(TADOConnection &connection, const QVariant &operatorKey, const QString &what, const QVariant &key,
                const QVariant &booking, const QString &text)
{
    connection.Execute(QStringLiteral("INSERT INTO Dnevnik (q136, q128, q144, q145, q146, q124, q147) "
                                      "VALUES (?, ?, ?, ?, ?, ?, ?)"),
                       {QDateTime::currentDateTime(), operatorKey.isValid() && !operatorKey.isNull() ? operatorKey : nullInt(),
                        QSysInfo::machineHostName().left(TextColumnLength),
                        what, key.isValid() && !key.isNull() ? key : nullInt(),
                        booking.isValid() && !booking.isNull() ? booking : nullInt(), text.left(TextColumnLength)});
}

void LogEvent(const QString &what, const QVariant &key, const QString &text)
{
    TDM *module = TDM::Instance();
    if (!module || !module->ADOLocalConnection->Connected())
        return;
    TADOConnection &connection = *module->ADOLocalConnection;
    try {
        TTransaction transaction(connection, true);
        WriteLog(connection, what, key, QVariant(), text);
        transaction.Commit();
    } catch (const Exception &error) {
        connection.RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
    }
}

// ---- operations

int InsertBooking(TADOConnection &connection, const QVariant &hotel, const TGuest &guest, const QVariant &currency,
                  const QString &status, int stays, int charges)
{
    Rights::Require(Rights::rReservation);
    const int number = connection.InsertReturningIdentity(
        QStringLiteral("Rezervacii"),
        {"q1", "q29", "q28", "q133", "q134", "q135", "q31", "q57", "q128", "q136", "q138"},
        QStringLiteral("VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {hotel.isValid() && !hotel.isNull() ? hotel : nullInt(), orNull(guest.Name), orNull(guest.PersonalNumber),
         orNull(guest.Passport), orNull(guest.Address), orNull(guest.Nationality), orNull(guest.Category),
         currency.isValid() && !currency.isNull() ? currency : nullInt(), operatorId(), Now(),
         orNull(status)});
    GuestSearch::IndexName(connection, number, guest.Name);
    WriteLog(connection, QStringLiteral("booking"), number, number, msgLogBooked.arg(stays).arg(charges));
    return number;
}

void CheckIn(int id, const TGuest &registration, TConsent consent)
{
    operation(Rights::rCheckIn, [&](TADOConnection &connection) {
        const TStay stay = lockStay(connection, id);
        requireStatus(connection, stay, {ssReserved});
        const QDate today = Today();
        if (today < stay.From || today >= stay.To)
            refuse(msgCheckInNotToday.arg(dayText(stay.From)));
        if (!registrationComplete(registration))
            refuse(msgRegistrationIncomplete);
        lockRooms(connection, {stay.Room});
        requireRoomFree(connection, stay.Room, today, stay.To, stay.Id);
        requireNoGuestInHouse(connection, stay.Room, stay.Id);
        confirmRoomReady(connection, stay.Room, consent);
        const QString exemption = registration.TaxExemption.trimmed().left(TextColumnLength);
        Guests::RegisterAtCheckIn(connection, stay, registration);
        connection.Execute(QStringLiteral("UPDATE Klients SET q125 = ?, q126 = ?, q128 = ?, q161 = ? WHERE q123 = ?"),
                           {int(ssInHouse), Now(), operatorId(), orNull(exemption), stay.Id});
        // What the card leaves empty keeps what the booking already knows.
        connection.Execute(QStringLiteral("UPDATE Rezervacii SET q28 = COALESCE(?, q28), q133 = COALESCE(?, q133), "
                                          "q134 = COALESCE(?, q134), q135 = COALESCE(?, q135) WHERE q124 = ?"),
                           {orNull(registration.PersonalNumber), orNull(registration.Passport),
                            orNull(registration.Address), orNull(registration.Nationality), stay.Booking});
        WriteLog(connection, QStringLiteral("stay"), stay.Id, stay.Booking,
                 msgLogCheckedIn.arg(stay.RoomNumber) + (exemption.isEmpty() ? QString() : msgLogTaxExempt.arg(exemption)));
        return 0;
    });
}

int WalkIn(int room, const QDate &departure, const TGuest &guest, const QVariant &currency, TConsent consent)
{
    return operation(Rights::rCheckIn, [&](TADOConnection &connection) {
        const QDate today = Today();
        if (departure <= today)
            refuse(msgDepartureInvalid);
        if (guest.Name.trimmed().isEmpty() || !registrationComplete(guest))
            refuse(msgRegistrationIncomplete);
        lockRooms(connection, {room});
        auto info = OpenQuery(connection, QStringLiteral("SELECT q1, q44, q46 FROM Rooms WHERE q47 = :iRoom"), {{"iRoom", room}});
        if (info->Eof())
            refuse(msgUnknownRoom);
        requireRoomFree(connection, room, today, departure, 0);
        requireNoGuestInHouse(connection, room, 0);
        confirmRoomReady(connection, room, consent);
        const QVariant hotel = info->FieldByName(QStringLiteral("q1")).Value();
        const TDecimal price = TDecimal::FromVariant(info->FieldByName(QStringLiteral("q46")).Value());
        const int nights = int(today.daysTo(departure));
        const int booking = connection.InsertReturningIdentity(
            QStringLiteral("Rezervacii"), {"q1", "q29", "q28", "q133", "q134", "q135", "q31", "q57", "q128", "q136"},
            QStringLiteral("VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {hotel, orNull(guest.Name), orNull(guest.PersonalNumber), orNull(guest.Passport), orNull(guest.Address),
             orNull(guest.Nationality), orNull(guest.Category),
             currency.isValid() && !currency.isNull() ? currency : nullInt(), operatorId(),
             Now()});
        GuestSearch::IndexName(connection, booking, guest.Name);
        const QDateTime now = Now();
        const int stay = insertRow(connection, {{"q1", hotel},
                                {"q28", orNull(guest.PersonalNumber)},
                                {"q29", orNull(guest.Name)},
                                {"q31", orNull(guest.Category)},
                                {"q39", now},
                                {"q34", today},
                                {"q35", departure},
                                {"q47", room},
                                {"q70", price.ToVariant()},
                                {"q71", nights},
                                {"q27", totalOf(price, nights).ToVariant()},
                                {"q124", booking},
                                {"q125", int(ssInHouse)},
                                {"q126", now},
                                {"q161", orNull(guest.TaxExemption.left(TextColumnLength))},
                                {"q128", operatorId()}});
        Guests::RegisterAtCheckIn(connection, requireStay(connection, stay), guest);
        WriteLog(connection, QStringLiteral("booking"), booking, booking,
                 msgLogWalkIn.arg(info->FieldByName(QStringLiteral("q44")).AsString(), dayText(departure)));
        return booking;
    });
}

void CheckOut(int id, TConsent consent)
{
    operation(Rights::rCheckOut, [&](TADOConnection &connection) {
        const TStay stay = lockStay(connection, id);
        requireStatus(connection, stay, {ssInHouse});
        lockRooms(connection, {stay.Room});
        checkOutDay(connection, {stay}, consent);
        QString text = checkOutStay(connection, stay);
        text += settleBalance(connection, stay.Booking, consent);
        WriteLog(connection, QStringLiteral("stay"), stay.Id, stay.Booking, text);
        return 0;
    });
}

void CheckOutBooking(int booking, TConsent consent)
{
    operation(Rights::rCheckOut, [&](TADOConnection &connection) {
        lockBooking(connection, booking);
        auto query = OpenQuery(connection, kStayColumns + QStringLiteral("WHERE k.q124 = :iBooking AND k.q125 = 1 "
                                                                         "AND k.q47 IS NOT NULL ORDER BY k.q47"),
                               {{"iBooking", booking}});
        const QList<TStay> stays = staysOf(*query);
        if (stays.isEmpty())
            refuse(msgNothingToDo + changeBefore(connection, booking));
        QList<int> rooms;
        for (const TStay &stay : stays)
            rooms.append(stay.Room);
        lockRooms(connection, rooms);
        checkOutDay(connection, stays, consent);
        QStringList texts;
        for (const TStay &stay : stays)
            texts.append(checkOutStay(connection, stay));
        QString text = texts.join(QStringLiteral("; "));
        text += settleBalance(connection, booking, consent);
        WriteLog(connection, QStringLiteral("booking"), booking, booking, text);
        return 0;
    });
}

namespace {

QString endStay(TADOConnection &connection, const TStay &stay, int status)
{
    connection.Execute(QStringLiteral("UPDATE Klients SET q125 = ?, q128 = ? WHERE q123 = ?"),
                       {status, operatorId(), stay.Id});
    const QString &words = status == ssNoShow ? msgLogNoShow : msgLogCancelled;
    return words.arg(stay.RoomNumber, dayText(stay.From), dayText(stay.To));
}

} // namespace

void Cancel(int id)
{
    operation(Rights::rEditReservation, [&](TADOConnection &connection) {
        const TStay stay = lockStay(connection, id);
        requireStatus(connection, stay, {ssReserved});
        WriteLog(connection, QStringLiteral("stay"), stay.Id, stay.Booking, endStay(connection, stay, ssCancelled));
        return 0;
    });
}

void CancelBooking(int booking)
{
    operation(Rights::rEditReservation, [&](TADOConnection &connection) {
        lockBooking(connection, booking);
        auto query = OpenQuery(connection, kStayColumns + QStringLiteral("WHERE k.q124 = :iBooking AND k.q125 = 0 "
                                                                         "AND k.q47 IS NOT NULL ORDER BY k.q34"),
                               {{"iBooking", booking}});
        const QList<TStay> stays = staysOf(*query);
        if (stays.isEmpty())
            refuse(msgNothingToDo + changeBefore(connection, booking));
        QStringList texts;
        for (const TStay &stay : stays)
            texts.append(endStay(connection, stay, ssCancelled));
        WriteLog(connection, QStringLiteral("booking"), booking, booking, texts.join(QStringLiteral("; ")));
        return 0;
    });
}

void MarkNoShow(int id)
{
    operation(Rights::rEditReservation, [&](TADOConnection &connection) {
        MarkNoShow(connection, id);
        return 0;
    });
}

void MarkNoShow(TADOConnection &connection, int id)
{
    const TStay stay = lockStay(connection, id);
    requireStatus(connection, stay, {ssReserved});
    // Due on its first day: the day's close decides on the arrivals that did not come.
    if (stay.From > Today())
        refuse(msgNoShowNotDue.arg(dayText(stay.From)));
    QString text = endStay(connection, stay, ssNoShow);
    if (DayClose::RulesOf(connection, stay.Hotel).ChargeNoShow)
        text += QStringLiteral("; ") + chargeNoShow(connection, stay);
    WriteLog(connection, QStringLiteral("stay"), stay.Id, stay.Booking, text);
}

void Extend(int id, const QDate &departure)
{
    operation(Rights::rEditReservation, [&](TADOConnection &connection) {
        const TStay stay = lockStay(connection, id);
        requireStatus(connection, stay, {ssReserved, ssInHouse});
        if (departure == stay.To)
            refuse(msgDepartureUnchanged.arg(dayText(stay.To)));
        // A stay that went on in another room ends where its next part begins: that part is extended.
        auto next = OpenQuery(connection, QStringLiteral("SELECT r.q44 FROM Klients k LEFT JOIN Rooms r ON (r.q47 = k.q47) "
                                                         "WHERE k.q155 = :iStay AND ") + HoldsNights(QStringLiteral("k.")),
                              {{"iStay", stay.Id}});
        if (!next->Eof())
            refuse(msgStayContinues.arg(next->FieldByName(QStringLiteral("q44")).AsString(), dayText(stay.To)));
        const QDate earliest = stay.Status == ssInHouse ? std::max(stay.From, Today()).addDays(1)
                                                        : stay.From.addDays(1);
        if (!departure.isValid() || departure < earliest)
            refuse(msgDepartureInvalid);
        RefuseBeforeToday(departure);
        lockRooms(connection, {stay.Room});
        requireRoomFree(connection, stay.Room, stay.To, departure, stay.Id);
        const TDecimal total = setDeparture(connection, stay, departure);
        WriteLog(connection, QStringLiteral("stay"), stay.Id, stay.Booking,
                 msgLogExtended.arg(stay.RoomNumber, dayText(stay.To), dayText(departure), total.ToFixed(2)));
        return 0;
    });
}

void ChangeDates(int id, const QDate &from)
{
    operation(Rights::rEditReservation, [&](TADOConnection &connection) {
        const TStay stay = lockStay(connection, id);
        requireStatus(connection, stay, {ssReserved});
        if (from == stay.From)
            refuse(msgDatesUnchanged.arg(dayText(stay.From)));
        auto next = OpenQuery(connection, QStringLiteral("SELECT 1 FROM Klients k WHERE k.q155 = :iStay AND ") +
                                              HoldsNights(QStringLiteral("k.")),
                              {{"iStay", stay.Id}});
        if (stay.Continues != 0 || !next->Eof())
            refuse(msgDatesOfMovedStay);
        if (!from.isValid() || from < Today())
            refuse(msgDatesPast.arg(dayText(Today())));
        const QDate to = from.addDays(stay.From.daysTo(stay.To));
        lockRooms(connection, {stay.Room});
        requireRoomFree(connection, stay.Room, from, to, stay.Id);
        connection.Execute(QStringLiteral("UPDATE Klients SET q34 = ?, q35 = ?, q128 = ? WHERE q123 = ?"),
                           {from, to, operatorId(), stay.Id});
        // Other nights: the plan prices them as it stands.
        if (stay.Plan > 0)
            Nights::Reprice(connection, stay.Id);
        WriteLog(connection, QStringLiteral("stay"), stay.Id, stay.Booking,
                 msgLogDatesChanged.arg(stay.RoomNumber, dayText(stay.From), dayText(stay.To), dayText(from),
                                        dayText(to)));
        return 0;
    });
}

namespace {

// The new part of a split stay: the old row's values with the new room and period.
int insertMovedPart(TADOConnection &connection, const TStay &stay, int room, const QVariant &hotel, const QDate &day)
{
    auto old = OpenQuery(connection, QStringLiteral("SELECT * FROM Klients WHERE q123 = :iStay"), {{"iStay", stay.Id}});
    const int nights = int(day.daysTo(stay.To));
    const QDateTime now = Now();
    QHash<QString, QVariant> changed = {{"q47", room},
                                        {"q155", stay.Id},
                                        {"q1", hotel},
                                        {"q34", day},
                                        {"q35", stay.To},
                                        {"q71", nights},
                                        {"q27", totalOf(stay.Price, nights).ToVariant()},
                                        {"q32", 1},
                                        {"q126", stay.Status == ssInHouse ? QVariant(now) : nullDate()},
                                        {"q127", nullDate()},
                                        {"q128", operatorId()}};
    QStringList columns, marks;
    QVariantList values;
    for (const TColumnDef &column : DbSchema::Table(QStringLiteral("Klients")).Columns) {
        if (column.Nullability == TColumnNull::Identity)
            continue;
        QVariant value;
        if (changed.contains(column.Name)) {
            value = changed.value(column.Name);
        } else {
            const TField field = old->FieldByName(column.Name);
            if (field.IsNull())
                continue;
            // Amounts travel as exact text, whatever type the driver read them as.
            value = column.Type.startsWith(QStringLiteral("Numeric")) ? TDecimal::FromVariant(field.Value()).ToVariant()
                                                                      : field.Value();
        }
        columns.append(column.Name);
        marks.append(QStringLiteral("?"));
        values.append(value);
    }
    const int part = connection.InsertReturningIdentity(QStringLiteral("Klients"), columns,
                                                        QStringLiteral("VALUES (") + marks.join(QStringLiteral(", ")) +
                                                            QLatin1Char(')'),
                                                        values);
    // Everyone in the room moves with the stay.
    connection.Execute(QStringLiteral("INSERT INTO GostiPrestoi (q123, q252, q267, q161) SELECT ?, q252, q267, q161 FROM "
                                      "GostiPrestoi WHERE q123 = ?"),
                       {part, stay.Id});
    return part;
}

} // namespace

int Move(int id, int room, const QDate &day, TConsent consent)
{
    return operation(Rights::rEditReservation, [&](TADOConnection &connection) {
        const TStay stay = lockStay(connection, id);
        requireStatus(connection, stay, {ssReserved, ssInHouse});
        if (room == stay.Room)
            refuse(msgSameRoom);
        const bool inHouse = stay.Status == ssInHouse;
        RefuseBeforeToday(day);
        const bool dayFits = inHouse ? day == Today() : day >= stay.From;
        if (!day.isValid() || !dayFits || day >= stay.To)
            refuse(msgMoveDayInvalid);
        lockRooms(connection, {stay.Room, room});
        auto target = OpenQuery(connection, QStringLiteral("SELECT q1, q44 FROM Rooms WHERE q47 = :iRoom"), {{"iRoom", room}});
        if (target->Eof())
            refuse(msgUnknownRoom);
        requireRoomFree(connection, room, day, stay.To, stay.Id);
        if (inHouse) {
            requireNoGuestInHouse(connection, room, stay.Id);
            confirmRoomReady(connection, room, consent);
        }
        const QVariant hotel = target->FieldByName(QStringLiteral("q1")).Value();
        int moved = stay.Id;
        QString tax;
        if (day == stay.From) {
            // Nothing was spent in the old room: the whole stay changes room.
            connection.Execute(QStringLiteral("UPDATE Klients SET q47 = ?, q1 = ?, q32 = ?, q128 = ? WHERE q123 = ?"),
                               {room, hotel, 1, operatorId(), stay.Id});
        } else {
            moved = insertMovedPart(connection, stay, room, hotel, day);
            // The booked prices go along with the nights.
            if (stay.Plan > 0)
                Nights::Split(connection, stay.Id, moved, day);
            if (inHouse) {
                setDeparture(connection, stay, day, QStringLiteral(", q125 = ?, q127 = ?"),
                             {int(ssDeparted), Now()});
                setRoomState(connection, stay.Room, rsDirty);
                // The nights spent in the old room are over: their tax is due as at a check-out.
                tax = chargeTouristTax(connection, stay, day);
            } else {
                setDeparture(connection, stay, day);
            }
        }
        if (stay.Plan > 0 && consent.To(qnReprice))
            tax += QStringLiteral("; ") + msgLogRepriced.arg(Nights::Reprice(connection, moved).ToFixed(2));
        WriteLog(connection, QStringLiteral("stay"), moved, stay.Booking,
                 msgLogMoved.arg(stay.RoomNumber, target->FieldByName(QStringLiteral("q44")).AsString(), dayText(day)) +
                     tax);
        return moved;
    });
}

namespace {

// Beyond these a figure is more likely a slip of the keyboard than a sale: asked first.
const TDecimal kLargeQuantity = TDecimal(1000);
const TDecimal kLargeAmount = TDecimal(1000000);

void confirmLarge(const TDecimal &value, const TDecimal &limit, const QString &question, TConsent consent)
{
    if (limit < value && !consent.To(qnLargeAmount))
        throw EFrontDeskConfirm(question, qnLargeAmount);
}

// A booking whose every stay was cancelled or never came is closed to new charges and payments;
// what was paid can still be refunded. A booking of services alone has no stays and stays open.
void requireLiveBooking(TADOConnection &connection, int booking)
{
    auto stays = OpenQuery(connection,
                           QStringLiteral("SELECT COUNT(*) AS n, SUM(CASE WHEN q125 IN (3, 4) THEN 1 ELSE 0 END) AS ended "
                                          "FROM Klients WHERE q124 = :iBooking AND q47 IS NOT NULL"),
                           {{"iBooking", booking}});
    const int count = stays->FieldByName(QStringLiteral("n")).AsInteger();
    if (count > 0 && stays->FieldByName(QStringLiteral("ended")).AsInteger() == count)
        refuse(msgBookingEnded);
}

// A charge belongs to a day of the booking's stays (their departure day included), or to today.
void requireChargeDate(TADOConnection &connection, int booking, const QDate &date)
{
    if (!date.isValid())
        refuse(msgChargeDateInvalid);
    RefuseBeforeToday(date);
    if (date == Today())
        return;
    auto span = OpenQuery(connection, QStringLiteral("SELECT MIN(q34) AS f, MAX(q35) AS t FROM Klients WHERE q124 = :iBooking "
                                                     "AND q47 IS NOT NULL AND ") + HoldsNights(),
                          {{"iBooking", booking}});
    const QDate first = span->FieldByName(QStringLiteral("f")).AsDate();
    const QDate last = span->FieldByName(QStringLiteral("t")).AsDate();
    if (!first.isValid() || date < first || date > last)
        refuse(msgChargeDateOutside.arg(first.isValid() ? dayText(first) : QStringLiteral("—"),
                                        last.isValid() ? dayText(last) : QStringLiteral("—"), dayText(Today())));
}

// A correction takes back no more of a service than the booking was charged for it.
void requireCorrectable(TADOConnection &connection, int booking, const QString &service, const TDecimal &total)
{
    const TDecimal charged = TDecimal::FromVariant(
        connection.Column(QStringLiteral("SELECT COALESCE(SUM(q27), 0) FROM Klients WHERE q124 = ? AND q47 IS NULL AND "
                                         "q160 IS NULL AND q33 = ?"),
                          {booking, service}).value(0));
    if ((charged + total).IsNegative())
        refuse(msgCorrectionTooLarge.arg(AmountText(TDecimal() - total), AmountText(charged), service));
}

} // namespace

int Charge(int booking, int service, const TDecimal &quantity, const QDate &date, TConsent consent,
           const QString &reason)
{
    return operation(Rights::rCharges, [&](TADOConnection &connection) {
        lockBooking(connection, booking);
        const bool correction = quantity.IsNegative();
        if (quantity.IsZero() || (correction && reason.trimmed().isEmpty()))
            refuse(correction ? msgCorrectionNeedsReason : msgQuantityInvalid);
        if (correction && date != Today())
            refuse(msgCorrectionOnToday.arg(dayText(Today())));
        auto guest = OpenQuery(connection, QStringLiteral("SELECT q1, q28, q29, q31, q57 FROM Rezervacii WHERE q124 = :iBooking"),
                               {{"iBooking", booking}});
        if (guest->Eof())
            refuse(msgBookingNotFound.arg(booking));
        requireLiveBooking(connection, booking);
        requireChargeDate(connection, booking, date);
        auto item = OpenQuery(connection, QStringLiteral("SELECT q40, q33 FROM Uslugi WHERE q42 = :iService"),
                              {{"iService", service}});
        if (item->Eof())
            refuse(msgUnknownService);
        const TDecimal price = TDecimal::FromVariant(item->FieldByName(QStringLiteral("q40")).Value());
        const TDecimal total = ChargeTotal(price, quantity);
        const QString name = item->FieldByName(QStringLiteral("q33")).AsString();
        if (correction)
            requireCorrectable(connection, booking, name, total);
        else {
            confirmLarge(quantity, kLargeQuantity, msgLargeQuantity.arg(quantity.ToString()), consent);
            confirmLarge(total, kLargeAmount, msgLargeAmount.arg(AmountText(total)), consent);
        }
        TValues values = {
            {"q33", name},
            {"q42", QString::number(service)},
            {"q39", chargeTime(date)},
            {"q70", price.ToVariant()},
            {"q71", quantity.ToVariant()},
            {"q27", total.ToVariant()},
            {"q124", booking},
            {"q125", int(ssReserved)},
            {"q128", operatorId()}};
        addGuestColumns(values, *guest);
        const int id = insertRow(connection, values);
        const QString text = msgLogCharged.arg(name, quantity.ToString(), price.ToFixed(2), total.ToFixed(2));
        WriteLog(connection, QStringLiteral("charge"), id, booking,
                 correction ? text + QStringLiteral("; ") + msgLogCorrection.arg(reason.trimmed()) : text);
        return id;
    });
}

int TakePayment(int booking, TPaymentKind kind, TPaymentMethod method, const TDecimal &amount, const QString &note,
                TConsent consent)
{
    return operation(Rights::rCharges, [&](TADOConnection &connection) {
        lockBooking(connection, booking);
        if (amount.IsZero() || amount.IsNegative() || amount != amount.Cents())
            refuse(msgAmountInvalid);
        const TFolio folio = readFolio(connection, booking);
        if (kind != pkRefund)
            requireLiveBooking(connection, booking);
        confirmLarge(amount, kLargeAmount, msgLargeAmount.arg(AmountText(amount)), consent);
        if (kind == pkRefund && folio.Paid - folio.Refunded < amount)
            refuse(msgRefundTooLarge.arg(AmountText(folio.Paid - folio.Refunded)) + changeBefore(connection, booking));
        const QVariant currency = folio.Booking.Currency.isNull() ? nullInt() : folio.Booking.Currency;
        const int id = connection.InsertReturningIdentity(
            QStringLiteral("Plashtania"), {"q124", "q140", "q57", "q141", "q142", "q128", "q136", "q137"},
            QStringLiteral("VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
            {booking, amount.ToVariant(), currency, int(kind), int(method), operatorId(), Now(),
             orNull(note)});
        WriteLog(connection, QStringLiteral("payment"), id, booking,
                 msgLogPayment.arg(PaymentKindName(kind), amount.ToFixed(2), PaymentMethodName(method)));
        return id;
    });
}

namespace {

// A closure of its own, for the nights from FIRST to the night before OPENS (open-ended when
// OPENS is not given); refused over nights a stay holds. False when a closure of that kind
// already covers those nights: nothing is written.
bool closeRoom(TADOConnection &connection, int room, TRoomState kind, const QString &reason, const QDate &first,
               const QDate &opens)
{
    auto covering = OpenQuery(connection, QStringLiteral("SELECT q156 FROM Zatvoreni WHERE q47 = :iRoom AND q159 = :iKind AND "
                                                         "(q157 IS NULL OR q157 <= :dFirst) AND (q158 IS NULL OR q158 >= :dOpens)"),
                              {{"iRoom", room}, {"iKind", int(kind)}, {"dFirst", first},
                               {"dOpens", opens.isValid() ? opens : QDate(9999, 12, 31)}});
    if (!covering->Eof())
        return false;
    const QDate last = opens.isValid() ? opens : QDate(9999, 12, 31);
    auto held = OpenQuery(connection,
                          QStringLiteral("SELECT q123 FROM Klients WHERE q47 = :iRoom AND q34 < :dTo AND q35 > :dFrom AND ") +
                              HoldsNights(),
                          {{"iRoom", room}, {"dTo", last}, {"dFrom", first}});
    if (!held->Eof())
        refuse(msgRoomHasStays.arg(roomNumber(connection, room)));
    connection.Execute(QStringLiteral("INSERT INTO Zatvoreni (q47, q157, q158, q159, q130, q128, q136) "
                                      "VALUES (?, ?, ?, ?, ?, ?, ?)"),
                       {room, first, orNull(opens), int(kind), orNull(reason), operatorId(), Now()});
    return true;
}

// Ends the closures that hold a room tonight (of one kind, or of both): the room opens today.
// Closures planned for later nights stay as they are.
bool openRoom(TADOConnection &connection, int room, int kind = 0)
{
    const QString ofKind = kind ? QStringLiteral(" AND q159 = %1").arg(kind) : QString();
    auto open = OpenQuery(connection, QStringLiteral("SELECT q156 FROM Zatvoreni WHERE q47 = :iRoom AND ") + kClosedBetween + ofKind,
                          {{"iRoom", room}, {"dTo", Today().addDays(1)}, {"dFrom", Today()}});
    QList<int> closures;
    for (open->First(); !open->Eof(); open->Next())
        closures.append(open->FieldByName(QStringLiteral("q156")).AsInteger());
    for (int key : closures)
        connection.Execute(QStringLiteral("UPDATE Zatvoreni SET q158 = ? WHERE q156 = ?"), {Today(), key});
    return !closures.isEmpty();
}

bool closedToday(TADOConnection &connection, int room, int kind)
{
    auto closed = OpenQuery(connection, QStringLiteral("SELECT q156 FROM Zatvoreni WHERE q47 = :iRoom AND q159 = :iKind AND ") +
                                            kClosedBetween,
                            {{"iRoom", room}, {"iKind", kind}, {"dTo", Today().addDays(1)}, {"dFrom", Today()}});
    return !closed->Eof();
}

} // namespace

void SetRoomStates(const QList<int> &rooms, TRoomState state, const QString &reason, const QDate &from,
                   const QDate &to)
{
    const bool closing = state == rsOutOfService || state == rsLocked;
    // Housekeeping may clean rooms; closing them for nights is the rooms register's matter.
    operation(closing ? Rights::rRooms : Rights::rCheckIn, [&](TADOConnection &connection) {
        if (rooms.isEmpty())
            refuse(msgChooseRow);
        const QDate first = from.isValid() ? from : Today();
        RefuseBeforeToday(first);
        if (closing && to.isValid() && to <= first)
            refuse(msgClosurePeriodInvalid);
        lockRooms(connection, rooms);
        QStringList numbers;
        for (int room : rooms) {
            bool changed = false;
            if (closing) {
                changed = closeRoom(connection, room, state, reason, first, to);
            } else {
                if (roomState(connection, room) != state) {
                    connection.Execute(QStringLiteral("UPDATE Rooms SET q129 = ? WHERE q47 = ?"), {int(state), room});
                    changed = true;
                }
                // A clean room is ready for guests: a closure that holds it now ends today.
                if (state == rsClean)
                    changed = openRoom(connection, room) || changed;
            }
            if (changed)
                numbers.append(roomNumber(connection, room));
        }
        // A room set to the state it already has writes nothing, and nothing is logged.
        if (!numbers.isEmpty())
            WriteLog(connection, QStringLiteral("room"), rooms.size() == 1 ? QVariant(rooms.first()) : QVariant(),
                     QVariant(), msgLogRoomState.arg(numbers.join(QStringLiteral(", ")), RoomStateName(state)));
        return 0;
    });
}

void StoreRoomLock(TADOConnection &connection, int room, bool locked)
{
    if (locked && !closedToday(connection, room, rsLocked)) {
        connection.Execute(QStringLiteral("INSERT INTO Zatvoreni (q47, q157, q159, q128, q136) VALUES (?, ?, ?, ?, ?)"),
                           {room, Today(), int(rsLocked), operatorId(), Now()});
    } else if (!locked) {
        openRoom(connection, room, rsLocked);
    }
}

bool RoomLocked(int room)
{
    return reading([room](TADOConnection &connection) { return closedToday(connection, room, rsLocked); });
}

QList<TClosure> ClosuresOf(int room)
{
    return reading([room](TADOConnection &connection) {
        auto query = OpenQuery(connection, QStringLiteral("SELECT q156, q157, q158, q159, q130 FROM Zatvoreni WHERE q47 = :iRoom "
                                                          "ORDER BY q156"),
                               {{"iRoom", room}});
        QList<TClosure> closures;
        for (query->First(); !query->Eof(); query->Next()) {
            TClosure closure;
            closure.Id = query->FieldByName(QStringLiteral("q156")).AsInteger();
            if (!query->FieldByName(QStringLiteral("q157")).IsNull())
                closure.First = query->FieldByName(QStringLiteral("q157")).AsDate();
            if (!query->FieldByName(QStringLiteral("q158")).IsNull())
                closure.Opens = query->FieldByName(QStringLiteral("q158")).AsDate();
            closure.Kind = query->FieldByName(QStringLiteral("q159")).AsInteger();
            closure.Reason = query->FieldByName(QStringLiteral("q130")).AsString();
            closures.append(closure);
        }
        return closures;
    });
}

} // namespace FrontDesk
