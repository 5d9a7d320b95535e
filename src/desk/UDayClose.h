#pragma once
// The business day's close: what is left open on the day, each with its decision; the close that
// writes the day's totals, accrues the night's tourist tax and moves the business day on; and the
// reopening of the last closed day. Each write is one transaction on any engine: a close that dies
// half way leaves the day open.

#include "UFrontDesk.h"
#include "UReports.h"

#include <functional>

namespace DayClose {

// A hotel's rules of the close.
struct TRules {
    bool AutoNoShow = false;    // the close marks the arrivals that did not come no-show itself
    bool ChargeNoShow = false;  // a no-show is charged its first night
    TDecimal BalanceLimit;      // a guest in house owing more is pointed out (zero: never)
    // Months after a guest's last departure their personal data are kept; the close anonymises
    // them then, unless the guest consented to be kept (zero: kept until asked).
    int RetentionMonths = 0;
};
TRules Rules(const QVariant &hotel);
// The same in the caller's transaction.
TRules RulesOf(TADOConnection &connection, const QVariant &hotel);
void SaveRules(const QVariant &hotel, const TRules &rules);

enum TItemKind { ikArrival, ikDeparture, ikBalance, ikDirtyRoom, ikCard, ikReceipt };

// One thing the close finds open on the day.
struct TItem {
    TItemKind Kind = ikArrival;
    int Stay = 0, Booking = 0, Room = 0;
    QString RoomNumber, Guest, Text;
    bool Blocks = false;  // the close waits for a decision on it
};

// What is open on the business day, arrivals first.
QList<TItem> Review();
// Told of each step of a close in its transaction: 1 the day held, 2 no-shows, 3 the tax
// accrued, 4 the totals written.
using TStep = std::function<void(int step)>;
// Closes the business day DAY (refused when another workstation closed it meanwhile, or while
// something blocks); gives the new business day.
QDate Close(const QDate &day, const TStep &step = {});
// The last closed day, or an invalid date.
QDate LastClosed();
// Opens the last closed day again; the business day goes back to it.
void Reopen(const QString &reason);

} // namespace DayClose
