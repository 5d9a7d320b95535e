#include "UReports.h"

#include "UCountries.h"
#include "UEsti.h"
#include "UGuests.h"
#include "UInvoiceText.h"

#include "data/UAdoDb.h"
#include "data/UDM.h"
#include "UFrontDesk.h"
#include "URows.h"
#include "framework/UDecimal.h"
#include "framework/UFormatSettings.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesReports.h"
#include "startup/UConstMessagesStay.h"

#include <QCollator>
#include <optional>
#include <QHash>
#include <QMap>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>
#include <optional>
#include <algorithm>

namespace Reports {

namespace {

using FrontDesk::HoldsNights;
using FrontDesk::TTaxRates;

// ---- amounts

QString money(const TDecimal &amount) { return amount.Cents().ToFixed(2); }

// Half away from zero, in whole units of the divisor.
qint64 divideRounded(qint64 value, qint64 by)
{
    const qint64 magnitude = (2 * qAbs(value) + by) / (2 * by);
    return value < 0 ? -magnitude : magnitude;
}

QString hundredths(qint64 value)
{
    return QStringLiteral("%1%2.%3")
        .arg(value < 0 ? QStringLiteral("-") : QString())
        .arg(qAbs(value) / 100)
        .arg(qAbs(value) % 100, 2, 10, QLatin1Char('0'));
}

// An amount divided by a count, to the cent: the average rate, the revenue per room.
QString moneyPer(const TDecimal &amount, qint64 count)
{
    return hundredths(count > 0 ? divideRounded(amount.ToCents(), count) : 0);
}

QString percent(qint64 part, qint64 whole) { return hundredths(whole > 0 ? divideRounded(part * 10000, whole) : 0); }

double percentValue(qint64 part, qint64 whole) { return whole > 0 ? 100.0 * double(part) / double(whole) : 0.0; }

// ---- what the reports read

struct TGuestKey {
    QString Identity, Name;
    QString Key() const { return Identity.isEmpty() ? QStringLiteral("\n") + Name.toCaseFolded() : Identity; }
};

// A statement's rows read forward once, each column found by its name once; every few thousand
// rows the report is asked whether to go on.

// Who a row is for: the booking's guest (columns g28, g133, g29) or the row's own (q28, q29).
struct TGuestColumns {
    int BookedNumber = -1, BookedPassport = -1, BookedName = -1, OwnNumber = -1, OwnName = -1;
    explicit TGuestColumns(const TRows &rows)
        : BookedNumber(rows.Column("g28")), BookedPassport(rows.Column("g133")), BookedName(rows.Column("g29")),
          OwnNumber(rows.Column("q28")), OwnName(rows.Column("q29"))
    {
    }
    TGuestKey Of(const TRows &rows) const
    {
        const QString bookedName = BookedName < 0 ? QString() : rows.Text(BookedName);
        if (!bookedName.isEmpty() || OwnName < 0) {
            const QString number = BookedNumber < 0 ? QString() : rows.Text(BookedNumber);
            return {number.isEmpty() && BookedPassport >= 0 ? rows.Text(BookedPassport) : number, bookedName};
        }
        return {OwnNumber < 0 ? QString() : rows.Text(OwnNumber), rows.Text(OwnName)};
    }
};

struct TStayRow {
    int Id = 0, Booking = 0, Room = 0, Status = FrontDesk::ssReserved, Nights = 0, Operator = 0;
    QVariant Hotel;
    QString HotelName, RoomNumber, Guest, Category;
    TGuestKey BookedBy;
    QDate From, To;
    TDecimal Price, Total;
    bool Moved = false;  // the part of a stay that went on in another room
    int Continues = 0;   // the stay whose move this part continues; 0: none
    // The prices of its nights within the report's period, as a rate plan priced them; empty:
    // the stay is nights × price.
    QMap<QDate, TDecimal> NightPrices;
    bool Holds() const { return Status <= FrontDesk::ssDeparted; }
    bool Stayed() const { return Status == FrontDesk::ssInHouse || Status == FrontDesk::ssDeparted; }
    bool HoldsNight(const QDate &night) const { return Holds() && From <= night && night < To; }
    // The part of the total that the nights from one day to another carry.
    TDecimal Revenue(const QDate &from, const QDate &to) const
    {
        const QDate first = std::max(from, From), end = std::min(to, To);
        if (!Holds() || first >= end)
            return {};
        if (!NightPrices.isEmpty()) {
            TDecimal sum;
            for (auto night = NightPrices.lowerBound(first); night != NightPrices.cend() && night.key() < end; ++night)
                sum += night.value();
            return sum;
        }
        return (Price * TDecimal(From.daysTo(end))).Cents() - (Price * TDecimal(From.daysTo(first))).Cents();
    }
    int NightsWithin(const QDate &from, const QDate &to) const
    {
        const QDate first = std::max(from, From), end = std::min(to, To);
        return first < end ? int(first.daysTo(end)) : 0;
    }
};

struct TRoomRow {
    int Id = 0, Rooms = 0, Beds = 0, State = FrontDesk::rsClean;
    QVariant Hotel;
    QString HotelName, Number, Type;
    TDecimal Price;
    QList<QPair<QDate, QDate>> Closures;  // first night (invalid: since ever), opens again (invalid: never)
    bool ClosedOn(const QDate &night) const
    {
        return std::any_of(Closures.begin(), Closures.end(), [&night](const QPair<QDate, QDate> &closure) {
            return (!closure.first.isValid() || closure.first <= night) &&
                   (!closure.second.isValid() || night < closure.second);
        });
    }
};

struct TTaxRow {
    int Stay = 0;
    QString Category;
    QDate First, End;
    TDecimal Rate;
};

struct TChargeRow {
    int Booking = 0, Operator = 0;
    QString Service;
    TDecimal Quantity, Total;
    QDate Date;
    TGuestKey Guest;
    bool Tax = false;  // a tourist tax's row
};

struct TPaymentRow {
    int Booking = 0, Kind = FrontDesk::pkPayment, Method = FrontDesk::pmCash, Operator = 0;
    TDecimal Amount;
    QDate Date;
    TGuestKey Guest;
};


struct TClosedRow {
    QDate Day;
    QString HotelName;
    TDayTotals Totals;
};

class TReader
{
public:
    TReader(TADOConnection &connection, const TParams &params, const TProgress &progress, int reads)
        : m_connection(connection), m_params(params), m_progress(progress), m_reads(qMax(1, reads))
    {
    }

    // Stays of rooms that match the condition (on alias k), with the booking's guest when asked.
    QList<TStayRow> Stays(const QString &condition, bool withBooker = false)
    {
        const QString booker = withBooker ? QStringLiteral(", b.q28 AS g28, b.q133 AS g133, b.q29 AS g29") : QString();
        const QString join = withBooker ? QStringLiteral(" LEFT JOIN Rezervacii b ON (b.q124 = k.q124)") : QString();
        // Read before the stays: a server may give a statement's rows only until the next one runs.
        const QHash<int, QString> &roomNumbers = RoomNumbers();
        const QHash<int, QString> &hotelNames = HotelNames();
        TRows rows = open(QStringLiteral("SELECT k.q123, k.q124, k.q47, k.q1, k.q29, k.q28, k.q31, k.q34, k.q35, k.q125, "
                                         "k.q70, k.q27, k.q128, k.q32, k.q155") +
                              booker + QStringLiteral(" FROM Klients k") + join +
                              QStringLiteral(" WHERE k.q47 IS NOT NULL") + condition + HotelFilter(QStringLiteral("k.")));
        const int id = rows.Column("q123"), booking = rows.Column("q124"), room = rows.Column("q47"),
                  hotel = rows.Column("q1"), guest = rows.Column("q29"), category = rows.Column("q31"),
                  from = rows.Column("q34"), to = rows.Column("q35"), status = rows.Column("q125"),
                  price = rows.Column("q70"), total = rows.Column("q27"), by = rows.Column("q128"),
                  moved = rows.Column("q32"), continues = rows.Column("q155");
        const TGuestColumns guests(rows);
        QList<TStayRow> stays;
        while (rows.Next()) {
            TStayRow stay;
            stay.Id = rows.Integer(id);
            stay.Booking = rows.Integer(booking);
            stay.Room = rows.Integer(room);
            const TField hotelField = rows.Field(hotel);
            stay.Hotel = hotelField.Value();
            stay.HotelName = hotelField.IsNull() ? QString() : hotelNames.value(hotelField.AsInteger());
            stay.RoomNumber = roomNumbers.value(stay.Room);
            stay.Guest = rows.Text(guest);
            stay.Category = rows.Text(category);
            stay.From = rows.Date(from);
            stay.To = rows.Date(to);
            const TField statusField = rows.Field(status);
            stay.Status = statusField.IsNull() ? FrontDesk::ssReserved : statusField.AsInteger();
            stay.Nights = int(stay.From.daysTo(stay.To));
            stay.Price = rows.Amount(price);
            stay.Total = rows.Amount(total);
            stay.Operator = rows.Integer(by);
            stay.Moved = rows.Field(moved).AsBoolean();
            stay.Continues = rows.Integer(continues);
            if (withBooker)
                stay.BookedBy = guests.Of(rows);
            stays.append(stay);
        }
        const QList<TNightRow> &nights = Nights();
        if (!nights.isEmpty()) {
            QHash<int, int> at;
            for (int i = 0; i < stays.size(); ++i)
                at.insert(stays.at(i).Id, i);
            for (const TNightRow &night : nights)
                if (const auto found = at.constFind(night.Stay); found != at.cend())
                    stays[*found].NightPrices.insert(night.Night, night.Price);
        }
        return stays;
    }

    // The nights of the period that rate plans priced, of stays that hold them; read once.
    struct TNightRow {
        int Stay = 0;
        QDate Night;
        TDecimal Price;
        QString Plan, RoomType;
    };
    const QList<TNightRow> &Nights()
    {
        if (m_nights)
            return *m_nights;
        m_nights.emplace();
        TRows rows = open(QStringLiteral("SELECT n.q123, n.q299, n.q70, p.q277, n.q275 FROM Noshtuvki n INNER JOIN Klients k "
                                         "ON (k.q123 = n.q123) LEFT JOIN CenoviPlanove p ON (p.q276 = n.q276) WHERE "
                                         "n.q299 >= :dFrom AND n.q299 < :dEnd AND ") +
                          HoldsNights(QStringLiteral("k.")) + HotelFilter(QStringLiteral("k.")));
        while (rows.Next())
            m_nights->append({rows.Integer(0), rows.Date(1), rows.Amount(2), rows.Text(3), rows.Text(4)});
        return *m_nights;
    }

    // Stays sharing a night with the period, or touching it on either side. The departure
    // first: the index on it finds the period's stays without walking the years before it.
    static QString AroundPeriod() { return QStringLiteral(" AND k.q35 >= :dFrom AND k.q34 <= :dTo"); }
    QList<TStayRow> StaysAround(bool withBooker = false) { return Stays(AroundPeriod(), withBooker); }

    QList<TRoomRow> Rooms()
    {
        // The closures that share a night with the period, by room.
        QHash<int, QList<QPair<QDate, QDate>>> closures;
        {
            TRows closed = open(QStringLiteral("SELECT q47, q157, q158 FROM Zatvoreni WHERE (q157 IS NULL OR q157 <= :dTo) AND "
                                               "(q158 IS NULL OR q158 > :dFrom)"));
            while (closed.Next())
                closures[closed.Integer(0)].append({closed.Date(1), closed.Date(2)});
        }
        TRows query = open(QStringLiteral("SELECT r.q47, r.q44, r.q1, h.q10, r.q48, r.q79, r.q46, r.q129, r.q275 "
                                          "FROM Rooms r LEFT JOIN HotelBuild h ON (h.q1 = r.q1) WHERE (1 = 1)") +
                           HotelFilter(QStringLiteral("r.")));
        QList<TRoomRow> rooms;
        while (query.Next()) {
            TRoomRow room;
            room.Id = query.Integer(0);
            room.Number = query.Field(1).AsString();
            room.Hotel = query.Field(2).Value();
            room.HotelName = query.Field(3).AsString();
            room.Rooms = query.Integer(4);
            room.Beds = query.Integer(5);
            room.Price = query.Amount(6);
            room.State = query.Integer(7);
            room.Type = query.Text(8);
            room.Closures = closures.value(room.Id);
            rooms.append(room);
        }
        QCollator collator;
        collator.setNumericMode(true);
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::stable_sort(rooms.begin(), rooms.end(), [&collator](const TRoomRow &a, const TRoomRow &b) {
            const int hotel = collator.compare(a.HotelName, b.HotelName);
            return hotel != 0 ? hotel < 0 : collator.compare(a.Number, b.Number) < 0;
        });
        return rooms;
    }

    // Service charges (the tourist tax among them) dated in the period.
    QList<TChargeRow> Charges()
    {
        TRows rows = open(QStringLiteral("SELECT k.q124, k.q33, k.q71, k.q27, k.q39, k.q128, k.q28, k.q29, "
                                         "b.q28 AS g28, b.q133 AS g133, b.q29 AS g29, k.q160 FROM Klients k "
                                         "LEFT JOIN Rezervacii b ON (b.q124 = k.q124) WHERE k.q47 IS NULL AND "
                                         "k.q39 >= :dFrom AND k.q39 < :dEnd AND ") +
                              HoldsNights(QStringLiteral("k.")) + HotelFilter(QStringLiteral("k.")));
        const TGuestColumns guests(rows);
        QList<TChargeRow> charges;
        while (rows.Next()) {
            TChargeRow charge;
            charge.Booking = rows.Integer(0);
            charge.Service = rows.Text(1);
            charge.Quantity = rows.Amount(2);
            charge.Total = rows.Amount(3);
            charge.Date = rows.Date(4);
            charge.Operator = rows.Integer(5);
            charge.Tax = !rows.Field(11).IsNull();
            charge.Guest = guests.Of(rows);
            charges.append(charge);
        }
        return charges;
    }

    // Payments taken in the period, for bookings of the hotel.
    QList<TPaymentRow> Payments()
    {
        TRows rows = open(QStringLiteral("SELECT p.q124, p.q140, p.q141, p.q142, p.q128, p.q136, b.q28 AS g28, "
                                         "b.q133 AS g133, b.q29 AS g29 FROM Plashtania p "
                                         "LEFT JOIN Rezervacii b ON (b.q124 = p.q124) "
                                         "WHERE p.q136 >= :dFrom AND p.q136 < :dEnd") +
                              HotelFilter(QStringLiteral("b.")));
        const TGuestColumns guests(rows);
        QList<TPaymentRow> payments;
        while (rows.Next()) {
            TPaymentRow payment;
            payment.Booking = rows.Integer(0);
            payment.Amount = rows.Amount(1);
            payment.Kind = rows.Integer(2);
            payment.Method = rows.Integer(3);
            payment.Operator = rows.Integer(4);
            payment.Date = rows.Date(5);
            payment.Guest = guests.Of(rows);
            payments.append(payment);
        }
        return payments;
    }

    // Bookings entered in the period: number to operator.
    static QString EnteredInPeriod() { return QStringLiteral("b.q136 >= :dFrom AND b.q136 < :dEnd"); }
    QHash<int, int> BookingsEntered()
    {
        TRows rows = open(QStringLiteral("SELECT b.q124, b.q128 FROM Rezervacii b WHERE ") + EnteredInPeriod() +
                              HotelFilter(QStringLiteral("b.")));
        QHash<int, int> bookings;
        while (rows.Next())
            bookings.insert(rows.Integer(0), rows.Integer(1));
        return bookings;
    }

    // The room totals of the stays that hold nights of the bookings entered in the period.
    QHash<int, TDecimal> StayTotalsOfBookingsEntered()
    {
        TRows rows = open(QStringLiteral("SELECT k.q124, SUM(k.q27) FROM Klients k WHERE k.q124 IN (SELECT b.q124 FROM "
                                         "Rezervacii b WHERE ") +
                              EnteredInPeriod() + HotelFilter(QStringLiteral("b.")) +
                              QStringLiteral(") AND k.q47 IS NOT NULL AND ") + HoldsNights(QStringLiteral("k.")) +
                              QStringLiteral(" GROUP BY k.q124"));
        QHash<int, TDecimal> totals;
        while (rows.Next())
            totals.insert(rows.Integer(0), rows.Amount(1).Cents());
        return totals;
    }

    QHash<int, QString> OperatorNames()
    {
        TRows rows = open(QStringLiteral("SELECT q80, q21, q75 FROM Operators"));
        QHash<int, QString> names;
        while (rows.Next()) {
            const QString full = rows.Text(1);
            names.insert(rows.Integer(0), full.isEmpty() ? rows.Field(2).AsString() : full);
        }
        return names;
    }

    using TAccount = ::TAccount;
    // The accounts of every booking that has a stay matching the condition (on alias k).
    QHash<int, TAccount> Accounts(const QString &stayCondition)
    {
        const QString bookings = QStringLiteral("(SELECT k.q124 FROM Klients k WHERE k.q47 IS NOT NULL") + stayCondition +
                                 HotelFilter(QStringLiteral("k.")) + QLatin1Char(')');
        return ReadAccounts([this](const QString &sql) { return open(sql); }, bookings);
    }

    // The stays that left on a day of the period for another room, of any hotel: the part that
    // goes on begins that day.
    QSet<int> ContinuedStays()
    {
        TRows rows = open(QStringLiteral("SELECT k.q155 FROM Klients k WHERE k.q35 > :dFrom AND k.q34 >= :dFrom AND "
                                         "k.q34 <= :dTo AND k.q155 IS NOT NULL AND k.q47 IS NOT NULL AND ") +
                              HoldsNights(QStringLiteral("k.")));
        QSet<int> stays;
        while (rows.Next())
            stays.insert(rows.Integer(0));
        return stays;
    }

    // The guests beside the holder of the stays around the period, by stay, in name order.
    QHash<int, QStringList> Companions()
    {
        TRows rows = open(QStringLiteral("SELECT p.q123, g.q253 FROM GostiPrestoi p INNER JOIN Klients k ON (k.q123 = "
                                         "p.q123) INNER JOIN Gosti g ON (g.q252 = p.q252) WHERE p.q267 = 0 AND "
                                         "k.q34 <= :dTo AND k.q35 >= :dFrom ORDER BY g.q253"));
        QHash<int, QStringList> names;
        while (rows.Next())
            names[rows.Integer(0)].append(rows.Text(1));
        return names;
    }

    // The closed days of the period (not reopened), of the hotel.
    QList<TClosedRow> ClosedDays()
    {
        const QHash<int, QString> &hotelNames = HotelNames();
        TRows rows = open(QStringLiteral("SELECT k.q233, k.q1, k.q235, k.q236, k.q237, k.q238, k.q239, k.q240, k.q241, "
                                         "k.q242, k.q243, k.q244, k.q245 FROM ZatvoreniDni k WHERE k.q246 IS NULL AND "
                                         "k.q233 >= :dFrom AND k.q233 < :dEnd") +
                          HotelFilter(QStringLiteral("k.")) + QStringLiteral(" ORDER BY k.q233, k.q1"));
        QList<TClosedRow> closed;
        while (rows.Next()) {
            TClosedRow row;
            row.Day = rows.Date(0);
            row.HotelName = hotelNames.value(rows.Integer(1));
            TDayTotals &t = row.Totals;
            t.Rooms = rows.Integer(2);
            t.Sold = rows.Integer(3);
            t.RoomRevenue = rows.Amount(4);
            t.Services = rows.Amount(5);
            t.Tax = rows.Amount(6);
            t.Cash = rows.Amount(7);
            t.Card = rows.Amount(8);
            t.Transfer = rows.Amount(9);
            t.Arrivals = rows.Integer(10);
            t.Departures = rows.Integer(11);
            t.NoShows = rows.Integer(12);
            closed.append(row);
        }
        return closed;
    }

    // The tourist tax's rows that cover nights of the period.
    QList<TTaxRow> TaxRows()
    {
        TRows rows = open(QStringLiteral("SELECT k.q160, k.q31, k.q34, k.q35, k.q70 FROM Klients k WHERE k.q160 IS NOT NULL "
                                         "AND k.q35 > :dFrom AND k.q34 <= :dTo") +
                              HotelFilter(QStringLiteral("k.")));
        QList<TTaxRow> taxRows;
        while (rows.Next())
            taxRows.append({rows.Integer(0), rows.Text(1), rows.Date(2), rows.Date(3), rows.Amount(4)});
        return taxRows;
    }

    // Documents issued in the period (of the hotel's bookings, of the series), in their order.
    struct TDocumentRow {
        int Id = 0, Kind = 0, Booking = 0;
        QString Series, Number, Buyer, Eik, VatNumber, Refers, Currency;
        QDate Issued, TaxEvent;
        TDecimal Net, Tax, Gross;
    };
    QList<TDocumentRow> Documents()
    {
        const bool series = m_params.Series.isValid() && !m_params.Series.isNull();
        TRows rows = open(QStringLiteral("SELECT x.q182, x.q183, x.q124, s.q172, x.q184, x.q208, x.q209, x.q210, n.q184 AS "
                                         "refers, v.q56, x.q185, x.q186, x.q189, x.q190, x.q188 FROM Fakturi x LEFT JOIN "
                                         "FakturiSerii s ON (s.q171 = x.q171) LEFT JOIN Fakturi n ON (n.q182 = x.q187) "
                                         "LEFT JOIN Valuta v ON (v.q57 = x.q57) LEFT JOIN Rezervacii b ON "
                                         "(b.q124 = x.q124) WHERE x.q185 >= :dFrom AND x.q185 < :dEnd") +
                          HotelFilter(QStringLiteral("b.")) +
                          (series ? QStringLiteral(" AND x.q171 = :iSeries") : QString()) +
                          QStringLiteral(" ORDER BY x.q185, x.q182"));
        QList<TDocumentRow> documents;
        while (rows.Next())
            documents.append({rows.Integer(0), rows.Integer(1), rows.Integer(2), rows.Text(3), rows.Text(4), rows.Text(5),
                              rows.Text(6), rows.Text(7), rows.Text(8), rows.Text(9), rows.Date(10), rows.Date(11),
                              rows.Amount(12).Cents(), rows.Amount(13).Cents(), rows.Amount(14).Cents()});
        return documents;
    }

    // Guests of the stays that held nights of the period (in house or departed), one row per
    // guest (a stay of before: its one guest), with what tells their country.
    struct TGuestStayRow {
        int Stay = 0;
        QDate From, To;
        bool Continues = false;  // a room move's later part: no arrival of its own
        QString Citizenship, PersonalNumber, Nationality;
    };
    QList<TGuestStayRow> GuestStays()
    {
        TRows rows = open(QStringLiteral("SELECT k.q123, k.q34, k.q35, k.q155, g.q257, COALESCE(g.q28, k.q28), b.q135 FROM "
                                         "Klients k LEFT JOIN GostiPrestoi p ON (p.q123 = k.q123) LEFT JOIN Gosti g ON "
                                         "(g.q252 = p.q252) LEFT JOIN Rezervacii b ON (b.q124 = k.q124) WHERE k.q47 IS NOT "
                                         "NULL AND k.q125 IN (1, 2) AND k.q34 <= :dTo AND k.q35 > :dFrom") +
                          HotelFilter(QStringLiteral("k.")));
        QList<TGuestStayRow> guests;
        while (rows.Next())
            guests.append({rows.Integer(0), rows.Date(1), rows.Date(2), !rows.Field(3).IsNull(), rows.Text(4), rows.Text(5),
                           rows.Text(6)});
        return guests;
    }

    TADOConnection &Connection() { return m_connection; }
    const TParams &Params() const { return m_params; }

private:
    std::optional<QList<TNightRow>> m_nights;
    QString HotelFilter(const QString &alias) const
    {
        return HasHotel() ? QStringLiteral(" AND ") + alias + QStringLiteral("q1 = :iHotel") : QString();
    }
    bool HasHotel() const { return m_params.Hotel.isValid() && !m_params.Hotel.isNull(); }

    // Every room's number and every hotel's name, whichever hotel the report is for: a stay
    // names its own.
    const QHash<int, QString> &RoomNumbers()
    {
        if (!m_roomNumbers) {
            m_roomNumbers.emplace();
            TRows rows = open(QStringLiteral("SELECT q47, q44 FROM Rooms"));
            while (rows.Next())
                m_roomNumbers->insert(rows.Integer(0), rows.Field(1).AsString());
        }
        return *m_roomNumbers;
    }
    const QHash<int, QString> &HotelNames()
    {
        if (!m_hotelNames) {
            m_hotelNames.emplace();
            TRows rows = open(QStringLiteral("SELECT q1, q10 FROM HotelBuild"));
            while (rows.Next())
                m_hotelNames->insert(rows.Integer(0), rows.Field(1).AsString());
        }
        return *m_hotelNames;
    }

    // Each statement is a step of the report's progress; a report asked to stop stops here.
    void Check() const
    {
        if (m_progress && !m_progress(qMin(99, 100 * m_done / m_reads)))
            throw ECancelled();
    }

    // A statement of the report: the period's days (the first, the last and the day after it)
    // and the hotel go to the statements that name them.
    TRows open(const QString &sql)
    {
        TNamedValues values = {{"dFrom", m_params.From}, {"dTo", m_params.To}, {"dEnd", m_params.To.addDays(1)}};
        if (HasHotel())
            values.append({QStringLiteral("iHotel"), m_params.Hotel});
        if (m_params.Series.isValid() && !m_params.Series.isNull())
            values.append({QStringLiteral("iSeries"), m_params.Series});
        ++m_done;
        return TRows(m_connection, sql, values, [this] { Check(); });
    }

    TADOConnection &m_connection;
    const TParams &m_params;
    TProgress m_progress;
    int m_reads, m_done = 0;
    std::optional<QHash<int, QString>> m_roomNumbers, m_hotelNames;
};

// ---- the tables

QList<TColumn> columns(std::initializer_list<std::pair<const QString *, TColumnKind>> list)
{
    QList<TColumn> result;
    for (const auto &[title, kind] : list)
        result.append({*title, kind});
    return result;
}

QString dash(const QString &text) { return text.isEmpty() ? QStringLiteral("—") : text; }

bool earlierStay(const TStayRow &a, const TStayRow &b)
{
    if (a.From != b.From)
        return a.From < b.From;
    if (a.HotelName != b.HotelName)
        return a.HotelName < b.HotelName;
    return a.RoomNumber < b.RoomNumber;
}

// Arrivals and departures: one row per stay, with its booking's balance.
// Everyone in the room named beside the holder.
QList<TStayRow> withCompanions(QList<TStayRow> stays, const QHash<int, QStringList> &companions)
{
    for (TStayRow &stay : stays)
        if (const QStringList others = companions.value(stay.Id); !others.isEmpty())
            stay.Guest += QStringLiteral(", ") + others.join(QStringLiteral(", "));
    return stays;
}

TTable stayList(const QHash<int, TReader::TAccount> &accounts, const QList<TStayRow> &stays)
{
    TTable table;
    table.Columns = columns({{&colBookingNumber, ckInteger},
                             {&colGuest, ckText},
                             {&colHotel, ckText},
                             {&colRoom, ckText},
                             {&colArrival, ckDate},
                             {&colDeparture, ckDate},
                             {&colNights, ckInteger},
                             {&colStayStatus, ckText},
                             {&colBalance, ckMoney}});
    int nights = 0;
    TDecimal balances;
    QSet<int> counted;
    for (const TStayRow &stay : stays) {
        const TDecimal balance = stay.Booking > 0 ? accounts.value(stay.Booking).Balance() : TDecimal();
        table.Rows.append({stay.Booking, stay.Guest, stay.HotelName, stay.RoomNumber, stay.From, stay.To, stay.Nights,
                           FrontDesk::StatusName(stay.Status), money(balance)});
        nights += stay.Nights;
        if (!counted.contains(stay.Booking)) {
            counted.insert(stay.Booking);
            balances += balance;
        }
    }
    table.Totals = {rptTotal, int(stays.size()), QString(), QString(), QString(), QString(), nights, QString(),
                    money(balances)};
    return table;
}


// The stays that arrive in the period.
const QString kArriving = QStringLiteral(" AND k.q35 >= :dFrom AND k.q34 >= :dFrom AND k.q34 <= :dTo");
const QString kLeaving = QStringLiteral(" AND k.q35 >= :dFrom AND k.q35 <= :dTo");

TReport arrivals(TReader &reader, const TParams &params)
{
    const QList<TStayRow> all = reader.Stays(kArriving);
    QList<TStayRow> stays;
    for (const TStayRow &stay : all)
        if (stay.From >= params.From && stay.From <= params.To && stay.Status != FrontDesk::ssCancelled &&
            stay.Continues == 0)  // a move's new part is no arrival
            stays.append(stay);
    std::sort(stays.begin(), stays.end(), earlierStay);
    return {{stayList(reader.Accounts(kArriving), withCompanions(stays, reader.Companions()))}, {}};
}

TReport departures(TReader &reader, const TParams &params)
{
    const QList<TStayRow> all = reader.Stays(kLeaving);
    const QSet<int> continued = reader.ContinuedStays();
    QList<TStayRow> stays;
    for (const TStayRow &stay : all)
        if (stay.To >= params.From && stay.To <= params.To && stay.Holds() && !continued.contains(stay.Id))
            stays.append(stay);
    std::sort(stays.begin(), stays.end(), [](const TStayRow &a, const TStayRow &b) {
        return a.To != b.To ? a.To < b.To : earlierStay(a, b);
    });
    return {{stayList(reader.Accounts(kLeaving), withCompanions(stays, reader.Companions()))}, {}};
}

TReport occupied(TReader &reader, const TParams &params)
{
    QList<TStayRow> stays;
    for (const TStayRow &stay : reader.StaysAround())
        if (stay.HoldsNight(params.From))
            stays.append(stay);
    std::sort(stays.begin(), stays.end(), [](const TStayRow &a, const TStayRow &b) {
        return a.HotelName != b.HotelName ? a.HotelName < b.HotelName : a.RoomNumber < b.RoomNumber;
    });
    TTable table;
    table.Columns = columns({{&colHotel, ckText},
                             {&colRoom, ckText},
                             {&colGuest, ckText},
                             {&colBookingNumber, ckInteger},
                             {&colArrival, ckDate},
                             {&colDeparture, ckDate},
                             {&colStayStatus, ckText}});
    for (const TStayRow &stay : withCompanions(stays, reader.Companions()))
        table.Rows.append({stay.HotelName, stay.RoomNumber, stay.Guest, stay.Booking, stay.From, stay.To,
                           FrontDesk::StatusName(stay.Status)});
    table.Totals = {rptTotal, int(stays.size()), QString(), QString(), QString(), QString(), QString()};
    return {{table}, {}};
}

TReport freeRooms(TReader &reader, const TParams &params)
{
    QSet<int> held;
    for (const TStayRow &stay : reader.StaysAround())
        if (stay.Holds() && stay.NightsWithin(params.From, params.To.addDays(1)) > 0)
            held.insert(stay.Room);
    TTable table;
    table.Columns = columns({{&colHotel, ckText},
                             {&colRoom, ckText},
                             {&colRooms, ckInteger},
                             {&colBeds, ckInteger},
                             {&colRoomPrice, ckMoney},
                             {&colRoomState, ckText}});
    int count = 0, rooms = 0, beds = 0;
    for (const TRoomRow &room : reader.Rooms()) {
        bool closed = false;
        for (QDate night = params.From; night <= params.To && !closed; night = night.addDays(1))
            closed = room.ClosedOn(night);
        if (closed || held.contains(room.Id))
            continue;
        table.Rows.append({room.HotelName, room.Number, room.Rooms, room.Beds, money(room.Price),
                           FrontDesk::RoomStateName(room.State)});
        ++count;
        rooms += room.Rooms;
        beds += room.Beds;
    }
    table.Totals = {rptTotal, count, rooms, beds, QString(), QString()};
    return {{table}, {}};
}

// Room-nights a period offers and sells, and the revenue of the rooms, day by day.
struct TDayFigures {
    int Available = 0, Sold = 0;
    TDecimal Rooms, Services;
};

// One pass over the stays, each over its own nights of the period: a night carries the part of
// the total that the stay's nights up to it add (so the nights add up to the total's cents).
QMap<QDate, TDayFigures> dayFigures(const QList<TRoomRow> &rooms, const QList<TStayRow> &stays,
                                    const QList<TChargeRow> &charges, const TParams &params)
{
    const int count = int(params.From.daysTo(params.To)) + 1;
    QList<TDayFigures> byNight(count);
    for (const TRoomRow &room : rooms) {
        for (TDayFigures &day : byNight)
            ++day.Available;
        if (room.Closures.isEmpty())
            continue;
        for (int i = 0; i < count; ++i)
            if (room.ClosedOn(params.From.addDays(i)))
                --byNight[i].Available;
    }
    const QDate end = params.To.addDays(1);
    for (const TStayRow &stay : stays) {
        const QDate first = std::max(params.From, stay.From), last = std::min(end, stay.To);
        if (!stay.Holds() || first >= last)
            continue;
        if (!stay.NightPrices.isEmpty()) {
            for (qint64 i = params.From.daysTo(first), stop = params.From.daysTo(last); i < stop; ++i) {
                ++byNight[i].Sold;
                byNight[i].Rooms += stay.NightPrices.value(params.From.addDays(i));
            }
            continue;
        }
        qint64 nights = stay.From.daysTo(first);
        TDecimal before = (stay.Price * TDecimal(nights)).Cents();
        for (qint64 i = params.From.daysTo(first), stop = params.From.daysTo(last); i < stop; ++i) {
            const TDecimal upTo = (stay.Price * TDecimal(++nights)).Cents();
            ++byNight[i].Sold;
            byNight[i].Rooms += upTo - before;
            before = upTo;
        }
    }
    QMap<QDate, TDayFigures> days;
    for (int i = 0; i < count; ++i)
        days.insert(params.From.addDays(i), byNight.at(i));
    for (const TChargeRow &charge : charges)
        days[charge.Date].Services += charge.Total;
    return days;
}

TTable servicesTable(const QList<TChargeRow> &charges)
{
    QMap<QString, QPair<TDecimal, TDecimal>> services;  // name: quantity, amount
    for (const TChargeRow &charge : charges) {
        services[charge.Service].first += charge.Quantity;
        services[charge.Service].second += charge.Total;
    }
    TTable table;
    table.Title = rptServices;
    table.Columns = columns({{&colService, ckText}, {&colQuantity, ckMoney}, {&colAmount, ckMoney}});
    TDecimal total;
    for (auto it = services.cbegin(); it != services.cend(); ++it) {
        table.Rows.append({dash(it.key()), money(it.value().first), money(it.value().second)});
        total += it.value().second;
    }
    table.Totals = {rptTotal, QString(), money(total)};
    return table;
}

TTable paymentsTable(const QList<TPaymentRow> &payments)
{
    QMap<QPair<int, int>, QPair<int, TDecimal>> sums;  // kind, method: count, amount
    TDecimal net;
    for (const TPaymentRow &payment : payments) {
        auto &sum = sums[{payment.Kind, payment.Method}];
        ++sum.first;
        sum.second += payment.Amount;
        net += payment.Kind == FrontDesk::pkRefund ? TDecimal() - payment.Amount : payment.Amount;
    }
    TTable table;
    table.Title = rptPayments;
    table.Columns = columns(
        {{&colPaymentKind, ckText}, {&colPaymentMethod, ckText}, {&colCount, ckInteger}, {&colAmount, ckMoney}});
    int count = 0;
    for (auto it = sums.cbegin(); it != sums.cend(); ++it) {
        table.Rows.append({FrontDesk::PaymentKindName(it.key().first), FrontDesk::PaymentMethodName(it.key().second),
                           it.value().first, money(it.value().second)});
        count += it.value().first;
    }
    table.Totals = {rptReceived, QString(), count, money(net)};
    return table;
}

// Room-nights sold and their revenue by rate plan and room type, with ADR and RevPAR (against
// the nights the rooms of the type offer); stays without a plan count under no plan.
TTable plansTable(const QList<TRoomRow> &rooms, const QList<TStayRow> &stays, const QList<TReader::TNightRow> &nights,
                  const TParams &params)
{
    QHash<QString, int> offered;  // room type: nights open for sale
    QHash<int, QString> typeOf;
    for (const TRoomRow &room : rooms) {
        typeOf.insert(room.Id, room.Type);
        for (QDate night = params.From; night <= params.To; night = night.addDays(1))
            offered[room.Type] += room.ClosedOn(night) ? 0 : 1;
    }
    QMap<QPair<QString, QString>, QPair<int, TDecimal>> sold;  // plan, type: nights, revenue
    QSet<int> priced;
    for (const TReader::TNightRow &night : nights) {
        auto &figure = sold[{night.Plan, night.RoomType}];
        ++figure.first;
        figure.second += night.Price;
        priced.insert(night.Stay);
    }
    const QDate end = params.To.addDays(1);
    for (const TStayRow &stay : stays) {
        const int count = stay.NightsWithin(params.From, end);
        if (!stay.Holds() || count == 0 || priced.contains(stay.Id))
            continue;
        auto &figure = sold[{QString(), typeOf.value(stay.Room)}];
        figure.first += count;
        figure.second += stay.Revenue(params.From, end);
    }
    TTable table;
    table.Title = rptByPlan;
    table.Columns = columns({{&colRatePlan, ckText},
                             {&colRoomType, ckText},
                             {&colNightsSold, ckInteger},
                             {&rptRoomRevenue, ckMoney},
                             {&rptAdr, ckMoney},
                             {&rptRevPar, ckMoney}});
    for (auto it = sold.cbegin(); it != sold.cend(); ++it)
        table.Rows.append({dash(it.key().first), dash(it.key().second), it.value().first, money(it.value().second),
                           moneyPer(it.value().second, it.value().first),
                           moneyPer(it.value().second, offered.value(it.key().second))});
    return table;
}

TReport turnover(TReader &reader, const TParams &params)
{
    const QList<TChargeRow> charges = reader.Charges();
    const QList<TRoomRow> rooms = reader.Rooms();
    const QList<TStayRow> stays = reader.StaysAround();
    const QMap<QDate, TDayFigures> days = dayFigures(rooms, stays, charges, params);
    TTable byDay;
    byDay.Title = rptByDay;
    byDay.Columns = columns({{&colDate, ckDate},
                             {&colNightsAvailable, ckInteger},
                             {&colNightsSold, ckInteger},
                             {&colOccupancy, ckPercent},
                             {&rptRoomRevenue, ckMoney},
                             {&colServiceCharges, ckMoney},
                             {&colTotal, ckMoney}});
    TReport report;
    TDayFigures all;
    for (auto it = days.cbegin(); it != days.cend(); ++it) {
        const TDayFigures &day = it.value();
        byDay.Rows.append({it.key(), day.Available, day.Sold, percent(day.Sold, day.Available), money(day.Rooms),
                           money(day.Services), money(day.Rooms + day.Services)});
        report.Chart.append({it.key(), percentValue(day.Sold, day.Available), (day.Rooms + day.Services).ToDouble()});
        all.Available += day.Available;
        all.Sold += day.Sold;
        all.Rooms += day.Rooms;
        all.Services += day.Services;
    }
    byDay.Totals = {rptTotal,        all.Available,           all.Sold, percent(all.Sold, all.Available),
                    money(all.Rooms), money(all.Services), money(all.Rooms + all.Services)};

    TTable figures;
    figures.Title = rptFigures;
    figures.Columns = columns({{&colItem, ckText}, {&colValue, ckMoney}});
    figures.Rows = {{rptNightsAvailable, QString::number(all.Available)},
                    {rptNightsSold, QString::number(all.Sold)},
                    {rptOccupancy, percent(all.Sold, all.Available)},
                    {rptRoomRevenue, money(all.Rooms)},
                    {rptServiceRevenue, money(all.Services)},
                    {rptTotalRevenue, money(all.Rooms + all.Services)},
                    {rptAdr, moneyPer(all.Rooms, all.Sold)},
                    {rptRevPar, moneyPer(all.Rooms, all.Available)}};
    report.Tables = {byDay, figures, servicesTable(charges), paymentsTable(reader.Payments()),
                     plansTable(rooms, stays, reader.Nights(), params)};
    return report;
}

TDayTotals dayTotals(TReader &reader, const TParams &params)
{
    const QList<TChargeRow> charges = reader.Charges();
    const QList<TStayRow> stays = reader.StaysAround();
    const TDayFigures day = dayFigures(reader.Rooms(), stays, charges, params).value(params.From);
    TDayTotals totals;
    totals.Rooms = day.Available;
    totals.Sold = day.Sold;
    totals.RoomRevenue = day.Rooms;
    for (const TChargeRow &charge : charges)
        (charge.Tax ? totals.Tax : totals.Services) += charge.Total;
    const QSet<int> continued = reader.ContinuedStays();
    for (const TStayRow &stay : stays) {
        totals.Arrivals += stay.From == params.From && stay.Stayed() && stay.Continues == 0 ? 1 : 0;
        totals.Departures += stay.To == params.From && stay.Status == FrontDesk::ssDeparted && !continued.contains(stay.Id) ? 1 : 0;
        totals.NoShows += stay.From == params.From && stay.Status == FrontDesk::ssNoShow ? 1 : 0;
    }
    for (const TPaymentRow &payment : reader.Payments()) {
        const TDecimal amount = payment.Kind == FrontDesk::pkRefund ? TDecimal() - payment.Amount : payment.Amount;
        (payment.Method == FrontDesk::pmCard ? totals.Card : payment.Method == FrontDesk::pmTransfer ? totals.Transfer
                                                                                                       : totals.Cash) += amount;
    }
    return totals;
}

// The closed days of the period as their closes wrote them, a row per day and hotel.
TReport closedDays(TReader &reader, const TParams &)
{
    TTable table;
    table.Columns = columns({{&colDate, ckDate},
                             {&colHotel, ckText},
                             {&colNightsAvailable, ckInteger},
                             {&colNightsSold, ckInteger},
                             {&colOccupancy, ckPercent},
                             {&rptRoomRevenue, ckMoney},
                             {&colServiceCharges, ckMoney},
                             {&rptTouristTaxAccrued, ckMoney},
                             {&rptCash, ckMoney},
                             {&rptCard, ckMoney},
                             {&rptTransfer, ckMoney},
                             {&rptArrivalsCount, ckInteger},
                             {&rptDeparturesCount, ckInteger},
                             {&rptNoShowsCount, ckInteger}});
    TDayTotals all;
    for (const TClosedRow &row : reader.ClosedDays()) {
        const TDayTotals &day = row.Totals;
        table.Rows.append({row.Day, row.HotelName, day.Rooms, day.Sold, percent(day.Sold, day.Rooms), money(day.RoomRevenue),
                           money(day.Services), money(day.Tax), money(day.Cash), money(day.Card), money(day.Transfer),
                           day.Arrivals, day.Departures, day.NoShows});
        all.Add(day);
    }
    table.Totals = {rptTotal,          QString(),         all.Rooms,       all.Sold,       percent(all.Sold, all.Rooms),
                    money(all.RoomRevenue), money(all.Services), money(all.Tax), money(all.Cash), money(all.Card),
                    money(all.Transfer), all.Arrivals,  all.Departures,  all.NoShows};
    return {{table}, {}};
}

struct TMoneyByKind {
    TDecimal Deposits, Payments, Refunds;
    void Add(const TPaymentRow &payment)
    {
        (payment.Kind == FrontDesk::pkDeposit  ? Deposits
         : payment.Kind == FrontDesk::pkRefund ? Refunds
                                               : Payments) += payment.Amount;
    }
    TDecimal Net() const { return Deposits + Payments - Refunds; }
};

TReport operators(TReader &reader, const TParams &)
{
    struct TFigures {
        int Bookings = 0;
        TDecimal Rooms, Services;
        TMoneyByKind Money;
    };
    QMap<int, TFigures> figures;
    const QHash<int, int> bookings = reader.BookingsEntered();
    const QHash<int, TDecimal> stayTotals = reader.StayTotalsOfBookingsEntered();
    for (auto it = bookings.cbegin(); it != bookings.cend(); ++it) {
        ++figures[it.value()].Bookings;
        figures[it.value()].Rooms += stayTotals.value(it.key());
    }
    for (const TChargeRow &charge : reader.Charges())
        figures[charge.Operator].Services += charge.Total;
    for (const TPaymentRow &payment : reader.Payments())
        figures[payment.Operator].Money.Add(payment);
    const QHash<int, QString> names = reader.OperatorNames();
    TTable table;
    table.Columns = columns({{&colOperator, ckText},
                             {&colBookings, ckInteger},
                             {&colRoomCharges, ckMoney},
                             {&colServiceCharges, ckMoney},
                             {&colDeposits, ckMoney},
                             {&colPaymentsTaken, ckMoney},
                             {&colRefunds, ckMoney},
                             {&colNet, ckMoney}});
    TFigures all;
    for (auto it = figures.cbegin(); it != figures.cend(); ++it) {
        const TFigures &f = it.value();
        table.Rows.append({dash(names.value(it.key())), f.Bookings, money(f.Rooms), money(f.Services),
                           money(f.Money.Deposits), money(f.Money.Payments), money(f.Money.Refunds),
                           money(f.Money.Net())});
        all.Bookings += f.Bookings;
        all.Rooms += f.Rooms;
        all.Services += f.Services;
        all.Money.Deposits += f.Money.Deposits;
        all.Money.Payments += f.Money.Payments;
        all.Money.Refunds += f.Money.Refunds;
    }
    table.Totals = {rptTotal,
                    all.Bookings,
                    money(all.Rooms),
                    money(all.Services),
                    money(all.Money.Deposits),
                    money(all.Money.Payments),
                    money(all.Money.Refunds),
                    money(all.Money.Net())};
    return {{table}, {}};
}

TReport guests(TReader &reader, const TParams &params)
{
    struct TFigures {
        TGuestKey Guest;
        int Nights = 0;
        TDecimal Rooms, Services, Paid;
    };
    QMap<QString, TFigures> figures;
    auto of = [&figures](const TGuestKey &guest) -> TFigures & {
        TFigures &f = figures[guest.Key()];
        if (f.Guest.Name.isEmpty())
            f.Guest = guest;
        return f;
    };
    const QDate end = params.To.addDays(1);
    for (const TStayRow &stay : reader.StaysAround(true)) {
        if (!stay.Holds() || stay.NightsWithin(params.From, end) == 0)
            continue;
        TFigures &f = of(stay.BookedBy.Name.isEmpty() ? TGuestKey{QString(), stay.Guest} : stay.BookedBy);
        f.Nights += stay.NightsWithin(params.From, end);
        f.Rooms += stay.Revenue(params.From, end);
    }
    for (const TChargeRow &charge : reader.Charges())
        of(charge.Guest).Services += charge.Total;
    for (const TPaymentRow &payment : reader.Payments())
        of(payment.Guest).Paid += payment.Kind == FrontDesk::pkRefund ? TDecimal() - payment.Amount : payment.Amount;
    TTable table;
    table.Columns = columns({{&colIdentity, ckText},
                             {&colName, ckText},
                             {&colNights, ckInteger},
                             {&colRoomCharges, ckMoney},
                             {&colServiceCharges, ckMoney},
                             {&colCharged, ckMoney},
                             {&colPaid, ckMoney},
                             {&colBalance, ckMoney}});
    QList<TFigures> rows = figures.values();
    QCollator collator;
    std::sort(rows.begin(), rows.end(),
              [&collator](const TFigures &a, const TFigures &b) { return collator.compare(a.Guest.Name, b.Guest.Name) < 0; });
    TFigures all;
    for (const TFigures &f : rows) {
        const TDecimal charged = f.Rooms + f.Services;
        table.Rows.append({dash(f.Guest.Identity), f.Guest.Name, f.Nights, money(f.Rooms), money(f.Services),
                           money(charged), money(f.Paid), money(charged - f.Paid)});
        all.Nights += f.Nights;
        all.Rooms += f.Rooms;
        all.Services += f.Services;
        all.Paid += f.Paid;
    }
    const TDecimal charged = all.Rooms + all.Services;
    table.Totals = {rptTotal,       QString(),     all.Nights,    money(all.Rooms),
                    money(all.Services), money(charged), money(all.Paid), money(charged - all.Paid)};
    return {{table}, {}};
}

TReport roomsUse(TReader &reader, const TParams &params)
{
    const QList<TStayRow> stays = reader.StaysAround();
    QHash<int, QList<const TStayRow *>> byRoom;
    for (const TStayRow &stay : stays)
        byRoom[stay.Room].append(&stay);
    const QDate end = params.To.addDays(1);
    TTable table;
    table.Columns = columns({{&colHotel, ckText},
                             {&colRoom, ckText},
                             {&colNightsAvailable, ckInteger},
                             {&colNightsSold, ckInteger},
                             {&colOccupancy, ckPercent},
                             {&colRevenue, ckMoney},
                             {&colAdr, ckMoney}});
    int available = 0, sold = 0;
    TDecimal revenue;
    for (const TRoomRow &room : reader.Rooms()) {
        int open = 0, nights = 0;
        TDecimal earned;
        for (QDate night = params.From; night < end; night = night.addDays(1))
            if (!room.ClosedOn(night))
                ++open;
        for (const TStayRow *stay : byRoom.value(room.Id))
            if (stay->Holds()) {
                nights += stay->NightsWithin(params.From, end);
                earned += stay->Revenue(params.From, end);
            }
        table.Rows.append({room.HotelName, room.Number, open, nights, percent(nights, open), money(earned),
                           moneyPer(earned, nights)});
        available += open;
        sold += nights;
        revenue += earned;
    }
    table.Totals = {rptTotal,       QString(),     available, sold, percent(sold, available),
                    money(revenue), moneyPer(revenue, sold)};
    return {{table}, {}};
}

TReport liquidity(TReader &reader, const TParams &)
{
    QMap<QPair<QDate, int>, TMoneyByKind> byDay;
    TMoneyByKind all;
    for (const TPaymentRow &payment : reader.Payments()) {
        byDay[{payment.Date, payment.Method}].Add(payment);
        all.Add(payment);
    }
    TTable money_;
    money_.Title = rptPayments;
    money_.Columns = columns({{&colDate, ckDate},
                              {&colPaymentMethod, ckText},
                              {&colDeposits, ckMoney},
                              {&colPaymentsTaken, ckMoney},
                              {&colRefunds, ckMoney},
                              {&colNet, ckMoney}});
    for (auto it = byDay.cbegin(); it != byDay.cend(); ++it)
        money_.Rows.append({it.key().first, FrontDesk::PaymentMethodName(it.key().second), money(it.value().Deposits),
                            money(it.value().Payments), money(it.value().Refunds), money(it.value().Net())});
    money_.Totals = {rptTotal,           QString(),          money(all.Deposits),
                     money(all.Payments), money(all.Refunds), money(all.Net())};

    // Guests in house now, whatever the period: what they still owe.
    QMap<int, QList<TStayRow>> inHouse;
    const QString inHouseNow = QStringLiteral(" AND k.q125 = 1");
    for (const TStayRow &stay : reader.Stays(inHouseNow, true))
        inHouse[stay.Booking].append(stay);
    const QHash<int, TReader::TAccount> accounts = reader.Accounts(inHouseNow);
    TTable open;
    open.Title = rptOpenBalances;
    open.Columns = columns({{&colBookingNumber, ckInteger},
                            {&colGuest, ckText},
                            {&colHotel, ckText},
                            {&colRooms, ckText},
                            {&colDeparture, ckDate},
                            {&colOwed, ckMoney},
                            {&colPaid, ckMoney},
                            {&colBalance, ckMoney}});
    TDecimal owed, paid;
    for (auto it = inHouse.cbegin(); it != inHouse.cend(); ++it) {
        const TReader::TAccount account = accounts.value(it.key());
        if (account.Balance().IsZero())
            continue;
        QStringList rooms;
        QDate departure;
        for (const TStayRow &stay : it.value()) {
            rooms.append(stay.RoomNumber);
            departure = std::max(departure, stay.To);
        }
        const TStayRow &first = it.value().first();
        open.Rows.append({it.key(), first.BookedBy.Name.isEmpty() ? first.Guest : first.BookedBy.Name, first.HotelName,
                          rooms.join(QStringLiteral(", ")), departure, money(account.Owed), money(account.Paid),
                          money(account.Balance())});
        owed += account.Owed;
        paid += account.Paid;
    }
    open.Totals = {rptTotal,    QString(),   QString(),  QString(),
                   QString(),   money(owed), money(paid), money(owed - paid)};
    return {{money_, open}, {}};
}

// The nights stayed in the period and the tax charged for them, from the tax's own rows (each
// a month's nights of one stay at one rate): what the municipality is told, not what is planned.
TReport taxes(TReader &reader, const TParams &params)
{
    struct TFigures {
        QSet<int> Stays;
        int Nights = 0;
        TDecimal Tax;
    };
    QMap<QPair<QString, QString>, TFigures> figures;  // category, rate
    for (const TTaxRow &row : reader.TaxRows()) {
        const QDate first = std::max(row.First, params.From), end = std::min(row.End, params.To.addDays(1));
        if (first >= end)
            continue;
        const int nights = int(first.daysTo(end));
        TFigures &f = figures[{row.Category, money(row.Rate)}];
        f.Stays.insert(row.Stay);
        f.Nights += nights;
        f.Tax += (row.Rate * TDecimal(nights)).Cents();
    }
    TTable table;
    table.Columns = columns({{&colCategory, ckText},
                             {&colStays, ckInteger},
                             {&colNights, ckInteger},
                             {&colTaxRate, ckMoney},
                             {&colTax, ckMoney}});
    int stays = 0, nights = 0;
    TDecimal tax;
    for (auto it = figures.cbegin(); it != figures.cend(); ++it) {
        table.Rows.append({dash(it.key().first), int(it.value().Stays.size()), it.value().Nights, it.key().second,
                           money(it.value().Tax)});
        stays += int(it.value().Stays.size());
        nights += it.value().Nights;
        tax += it.value().Tax;
    }
    table.Totals = {rptTotal, stays, nights, QString(), money(tax)};
    return {{table}, {}};
}

// The register of issued documents, for the accountant: one row each, its figures, and the
// totals where the rows share a currency. The buyer is matched on a part of the name (any case)
// or the beginning of the ЕИК.
TReport documents(TReader &reader, const TParams &params)
{
    const InvoiceText::TLanguage language = CurrentLanguage == slEnglish ? InvoiceText::lgEnglish : InvoiceText::lgBulgarian;
    const QString wanted = params.Buyer.trimmed().toCaseFolded();
    TTable table;
    table.Columns = columns({{&colID, ckInteger},           {&colDocumentKind, ckText},    {&colDocumentSeries, ckText},
                             {&colDocumentNumber, ckText},  {&colDocumentIssued, ckDate},  {&colDocumentTaxEvent, ckDate},
                             {&colBuyerName, ckText},       {&colBuyerEik, ckText},        {&colBuyerVat, ckText},
                             {&colDocumentRefers, ckText},  {&colBookingNumber, ckInteger}, {&colDocumentCurrency, ckText},
                             {&colDocumentNet, ckMoney},    {&colDocumentTax, ckMoney},    {&colDocumentTotal, ckMoney}});
    TDecimal net, tax, gross;
    QSet<QString> currencies;
    for (const TReader::TDocumentRow &row : reader.Documents()) {
        if (!wanted.isEmpty() && !row.Buyer.toCaseFolded().contains(wanted) && !row.Eik.startsWith(params.Buyer.trimmed()))
            continue;
        table.Rows.append({row.Id, InvoiceText::Title(row.Kind, language), dash(row.Series), dash(row.Number), row.Issued,
                           row.TaxEvent, dash(row.Buyer), row.Eik, row.VatNumber, row.Refers, row.Booking, row.Currency,
                           money(row.Net), money(row.Tax), money(row.Gross)});
        net += row.Net;
        tax += row.Tax;
        gross += row.Gross;
        currencies.insert(row.Currency);
    }
    if (currencies.size() <= 1)
        table.Totals = {rptTotal, QString(), QString(), QString(), QString(), QString(), QString(), QString(), QString(),
                        QString(), QString(), currencies.isEmpty() ? QString() : *currencies.cbegin(), money(net),
                        money(tax), money(gross)};
    return {{table}, {}};
}

// Arrivals and nights by citizenship (the statistics office's monthly survey of places of
// accommodation): a guest of the register by their citizenship (an ЕГН without one: Bulgarian),
// a stay of before by the booking's nationality where it names a country.
TReport countries(TReader &reader, const TParams &params)
{
    struct TFigures {
        int Arrivals = 0, Nights = 0;
    };
    QMap<QString, TFigures> byCountry;  // by the country's name; empty: not known
    QHash<QString, QString> codes;
    for (const TReader::TGuestStayRow &row : reader.GuestStays()) {
        const QString code = Guests::CountryOf(row.Citizenship, row.PersonalNumber, row.Nationality);
        const std::optional<Countries::TCountry> country = Countries::Find(code);
        const QString name = country ? country->Name() : QString();
        codes.insert(name, code);
        TFigures &figures = byCountry[name];
        const QDate first = std::max(row.From, params.From), end = std::min(row.To, params.To.addDays(1));
        figures.Nights += std::max(0, int(first.daysTo(end)));
        if (!row.Continues && row.From >= params.From && row.From <= params.To)
            ++figures.Arrivals;
    }
    TTable table;
    table.Columns = columns({{&colCitizenship, ckText}, {&colCountryCode, ckText}, {&colGuestArrivals, ckInteger},
                             {&colGuestNights, ckInteger}});
    TFigures all;
    for (auto it = byCountry.cbegin(); it != byCountry.cend(); ++it) {
        table.Rows.append({it.key().isEmpty() ? rptCountryUnknown : it.key(), codes.value(it.key()), it->Arrivals, it->Nights});
        all.Arrivals += it->Arrivals;
        all.Nights += it->Nights;
    }
    table.Totals = {rptTotal, QString(), all.Arrivals, all.Nights};
    return {{table}, {}};
}

QString countryName(const QString &code)
{
    const std::optional<Countries::TCountry> country = Countries::Find(code);
    return country ? country->Name() : code;
}

// What goes to the tourism register for the period: each guest's arrival and departure, when it
// was sent, and the guests whose data the register would refuse.
TReport esti(TReader &reader, const TParams &params)
{
    TTable movements;
    movements.Title = rptEstiMovements;
    movements.Columns = columns({{&colDate, ckDate}, {&colEstiKind, ckText}, {&colRoomNumber, ckText}, {&colGuest, ckText},
                                 {&colCitizenship, ckText}, {&colEstiSent, ckText}});
    TTable missing;
    missing.Title = rptEstiMissingTitle;
    missing.Columns = columns({{&colDate, ckDate}, {&colRoomNumber, ckText}, {&colGuest, ckText}, {&colEstiMissing, ckText}});
    for (const Esti::TMovement &movement : Esti::Movements(reader.Connection(), params.From, params.To, params.Hotel)) {
        movements.Rows.append({movement.Day, movement.Kind == Esti::mkArrival ? colArrival : colDeparture, movement.Room,
                               movement.Person.Name, countryName(movement.Person.Citizenship),
                               movement.Sent.isValid() ? movement.Sent.toString(QStringLiteral("dd.MM.yyyy HH:mm")) : QString()});
        if (!movement.Missing.isEmpty() && !movement.Sent.isValid())
            missing.Rows.append({movement.Day, movement.Room, movement.Person.Name, movement.Missing.join(QStringLiteral(", "))});
    }
    return {{movements, missing}, {}};
}

} // namespace

QString TDefinition::Title() const
{
    switch (Id) {
    case rpArrivals:
        return rptArrivals;
    case rpDepartures:
        return rptDepartures;
    case rpOccupied:
        return rptOccupied;
    case rpFree:
        return rptFree;
    case rpTurnover:
        return rptTurnover;
    case rpOperators:
        return rptOperators;
    case rpGuests:
        return rptGuests;
    case rpRooms:
        return rptRooms;
    case rpLiquidity:
        return rptLiquidity;
    case rpTaxes:
        return rptTaxes;
    case rpDocuments:
        return rptDocuments;
    case rpClosedDays:
        return rptClosedDays;
    case rpCountries:
        return rptCountries;
    case rpEsti:
        return rptEsti;
    }
    return QString();
}

const QList<TDefinition> &Definitions()
{
    static const QList<TDefinition> definitions = {
        {rpArrivals, QStringLiteral("actReportPrisitgashti"), QStringLiteral("FReportPristigashti"), 37, true},
        {rpDepartures, QStringLiteral("actReportOtpatuvashti"), QStringLiteral("FReportOtpatuvashti"), 38, true},
        {rpOccupied, QStringLiteral("actReportRoomZaeti"), QStringLiteral("FReportZaetiStai"), 44, false},
        {rpFree, QStringLiteral("actReportAvailebleRooms"), QStringLiteral("FReportSvobodniStai"), 42, true},
        {rpTurnover, QStringLiteral("actReportAllOborot"), QStringLiteral("FReportObshtOborot"), 45, true},
        {rpOperators, QStringLiteral("actReportOperatorsOborot"), QStringLiteral("FReportOborotOperatori"), 47, true},
        {rpGuests, QStringLiteral("actReportOborotContragents"), QStringLiteral("FReportOborotKlienti"), 46, true},
        {rpRooms, QStringLiteral("actReportRazhodStai"), QStringLiteral("FReportRazhodStai"), 43, true},
        {rpLiquidity, QStringLiteral("actReportLikvid"), QStringLiteral("FReportLikvidnost"), 48, true},
        {rpTaxes, QStringLiteral("actReportTaxs"), QStringLiteral("FReportKurortniTaksi"), 40, true},
        {rpDocuments, QStringLiteral("actReportDokumenti"), QStringLiteral("FReportDokumenti"), 31, true, true},
        {rpClosedDays, QStringLiteral("actReportDnevenOtchet"), QStringLiteral("FReportDnevenOtchet"), 45, true},
        {rpCountries, QStringLiteral("actReportDarzhavi"), QStringLiteral("FReportDarzhavi"), 44, true},
        {rpEsti, QStringLiteral("actReportEsti"), QStringLiteral("FReportEsti"), 37, true, false, true},
    };
    return definitions;
}

const TDefinition *DefinitionOfAction(const QString &action)
{
    for (const TDefinition &definition : Definitions())
        if (definition.Action == action)
            return &definition;
    return nullptr;
}

namespace {

// How many statements each report reads, for its progress.
int readsOf(TReportId id)
{
    switch (id) {
    case rpArrivals:
    case rpDepartures:
        return 5;
    case rpTurnover:
    case rpOperators:
        return 6;
    case rpLiquidity:
        return 6;
    case rpGuests:
        return 5;
    default:
        return 4;
    }
}

} // namespace

TReport Run(TReportId id, const TParams &given) { return Run(id, given, LocalConnection(), {}); }

TReport Run(TReportId id, const TParams &given, TADOConnection &connection, const TProgress &progress)
{
    TParams params = given;
    if (!params.To.isValid() || params.To < params.From)
        params.To = params.From;
    TTransaction transaction(connection);
    TReader reader(connection, params, progress, readsOf(id));
    TReport report;
    switch (id) {
    case rpArrivals:
        report = arrivals(reader, params);
        break;
    case rpDepartures:
        report = departures(reader, params);
        break;
    case rpOccupied:
        report = occupied(reader, params);
        break;
    case rpFree:
        report = freeRooms(reader, params);
        break;
    case rpTurnover:
        report = turnover(reader, params);
        break;
    case rpOperators:
        report = operators(reader, params);
        break;
    case rpGuests:
        report = guests(reader, params);
        break;
    case rpRooms:
        report = roomsUse(reader, params);
        break;
    case rpLiquidity:
        report = liquidity(reader, params);
        break;
    case rpTaxes:
        report = taxes(reader, params);
        break;
    case rpDocuments:
        report = documents(reader, params);
        break;
    case rpClosedDays:
        report = closedDays(reader, params);
        break;
    case rpCountries:
        report = countries(reader, params);
        break;
    case rpEsti:
        report = esti(reader, params);
        break;
    }
    // Amounts are the hotel's main currency: their titles say which (the documents name their own).
    const QString currency =
        connection.Column(QStringLiteral("SELECT MIN(q56) FROM Valuta WHERE q86 <> 0")).value(0).toString().trimmed();
    if (!currency.isEmpty() && id != rpDocuments)
        for (TTable &table : report.Tables)
            for (TColumn &column : table.Columns)
                if (column.Kind == ckMoney)
                    column.Title += QStringLiteral(" (%1)").arg(currency);
    transaction.Commit();
    if (progress)
        progress(100);
    return report;
}

TDayTotals DayTotals(TADOConnection &connection, const QDate &day, const QVariant &hotel)
{
    TParams params;
    params.From = params.To = day;
    params.Hotel = hotel;
    TReader reader(connection, params, {}, 5);
    return dayTotals(reader, params);
}

QList<QPair<QString, QVariant>> Hotels()
{
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection);
    auto query = OpenQuery(connection, QStringLiteral("SELECT q10, q1 FROM HotelBuild ORDER BY q10"));
    QList<QPair<QString, QVariant>> hotels;
    for (query->First(); !query->Eof(); query->Next())
        hotels.append({query->FieldByName(QStringLiteral("q10")).AsString(), query->FieldByName(QStringLiteral("q1")).Value()});
    transaction.Commit();
    return hotels;
}

QList<QPair<QString, QVariant>> Series()
{
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection);
    auto query = OpenQuery(connection, QStringLiteral("SELECT q172, q171 FROM FakturiSerii ORDER BY q171"));
    QList<QPair<QString, QVariant>> series;
    for (query->First(); !query->Eof(); query->Next())
        series.append({query->FieldByName(QStringLiteral("q172")).AsString().trimmed(),
                       query->FieldByName(QStringLiteral("q171")).Value()});
    transaction.Commit();
    return series;
}

QString CellText(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        return DateToStr(value.toDate());
    case QMetaType::Int:
        return QString::number(value.toInt());
    default:
        return value.toString();
    }
}

} // namespace Reports
