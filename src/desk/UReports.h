#pragma once
// The reports a hotel runs its day on, worked out from its bookings, stays, charges and
// payments. A report reads in one transaction and gives tables of cells ready to show, print
// and export. Amounts are exact decimals to the cent; a stay's revenue is counted night by
// night, so that the nights of a period add up to the part of the stay's total they carry.

#include "errors/UErrors.h"
#include "framework/UDecimal.h"

#include <QDate>
#include <functional>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

class TADOConnection;

namespace Reports {

enum TReportId {
    rpArrivals,
    rpDepartures,
    rpOccupied,
    rpFree,
    rpTurnover,
    rpOperators,
    rpGuests,
    rpRooms,
    rpLiquidity,
    rpTaxes,
    rpDocuments,
    rpClosedDays,
    rpCountries,
    rpEsti
};

enum TColumnKind { ckText, ckInteger, ckMoney, ckPercent, ckDate };

struct TColumn {
    QString Title;
    TColumnKind Kind = ckText;
    bool RightAligned() const { return Kind == ckInteger || Kind == ckMoney || Kind == ckPercent; }
};

// Cells: a QString (text, or an amount or percentage already with two decimals), an int, or a QDate.
struct TTable {
    QString Title;  // empty for a report's only table
    QList<TColumn> Columns;
    QList<QVariantList> Rows;
    QVariantList Totals;  // empty: no totals row
};

struct TChartDay {
    QDate Day;
    double Occupancy = 0;  // percent
    double Revenue = 0;    // rooms and services
};

struct TReport {
    QList<TTable> Tables;
    QList<TChartDay> Chart;  // empty: the report has no chart
};

// The day or period (From to To, both included: the nights of those days) and the hotel
// (HotelBuild.q1; null: every hotel).
struct TParams {
    QDate From, To;
    QVariant Hotel;
    // The register of documents only: a buyer's name or ЕИК (a part of it) and a series
    // (FakturiSerii.q171; null: all).
    QString Buyer;
    QVariant Series;
};

struct TDefinition {
    TReportId Id;
    QString Action;  // the main window's command that opens it
    QString Name;    // the window's component name, also its placement's name
    int Right;       // its position in the privilege string
    bool Period;     // a period, or one day
    bool Documents = false;  // asks for a buyer and a series too; a row opens its document
    bool Esti = false;       // writes the tourism register's file of what it shows
    QString Title() const;
};

const QList<TDefinition> &Definitions();
// Nothing when the command opens no report.
const TDefinition *DefinitionOfAction(const QString &action);

// Told how far a report is (0 to 100) as it reads; returning false stops it with ECancelled.
using TProgress = std::function<bool(int percent)>;
class ECancelled : public Exception
{
public:
    ECancelled() : Exception(QStringLiteral("Stopped.")) {}
};

// Raises EDatabaseError when the database cannot be read. On the shared connection, or on a
// connection of the thread that runs it.
TReport Run(TReportId id, const TParams &params);
TReport Run(TReportId id, const TParams &params, TADOConnection &connection, const TProgress &progress);

// What a day's close writes of a hotel's day: the turnover report's figures of that one day, the
// tourist tax apart from the services, money taken by method net of refunds, and the day's
// arrivals, departures and no-shows.
struct TDayTotals {
    int Rooms = 0, Sold = 0, Arrivals = 0, Departures = 0, NoShows = 0;
    TDecimal RoomRevenue, Services, Tax, Cash, Card, Transfer;
    void Add(const TDayTotals &day)
    {
        Rooms += day.Rooms, Sold += day.Sold, Arrivals += day.Arrivals, Departures += day.Departures;
        NoShows += day.NoShows;
        RoomRevenue += day.RoomRevenue, Services += day.Services, Tax += day.Tax;
        Cash += day.Cash, Card += day.Card, Transfer += day.Transfer;
    }
};
// In the caller's transaction.
TDayTotals DayTotals(TADOConnection &connection, const QDate &day, const QVariant &hotel);

// The hotels a report can be asked for: name and HotelBuild.q1, by name.
QList<QPair<QString, QVariant>> Hotels();
// The series of document numbers: name and FakturiSerii.q171.
QList<QPair<QString, QVariant>> Series();

// A cell as it is shown, printed and exported.
QString CellText(const QVariant &value);

} // namespace Reports
