#pragma once
// Cash and card payments registered on a fiscal device. The program drives no device itself: it
// talks to a fiscal-device service on the workstation's network over HTTP and JSON, as the open
// ErpNet.FP protocol describes it (receipts, reversal receipts, X and Z reports, tasks that a
// repeated request with the same task id finds again instead of printing twice). A payment is
// recorded only when its receipt is printed; a receipt whose answer was lost is asked for again,
// never printed again.

#include "UFrontDesk.h"

#include <QDateTime>
#include <QMap>
#include <optional>
#include <QList>
#include <QString>

namespace Fiscal {

// What a workstation is told of its device, kept in the workstation's settings.
struct TSettings {
    bool Device = false;     // false: no fiscal device (bank transfers need none)
    QString Address;         // the service, "http://127.0.0.1:8001"
    QString Printer;         // the printer's id at the service
    int TimeoutMs = 30000;   // how long a receipt may take to print
};
TSettings Settings();
void SaveSettings(const TSettings &settings);

// The tax group a rate's letter prints under (Наредба № Н-18: А, Б, В, Г ... as 1 to 8).
int TaxGroupOf(const QString &letter);

struct TItem {
    QString Text;
    TDecimal Quantity, UnitPrice;
    int TaxGroup = 1;
};
struct TReceipt {
    QString UniqueSaleNumber;
    QList<TItem> Items;
    TDecimal Amount;
    int Method = FrontDesk::pmCash;
};
// The receipt a reversal names.
struct TOriginal {
    QString UniqueSaleNumber, ReceiptNumber, FiscalMemory;
    QDateTime Printed;
};

// What the device said.
struct TResult {
    bool Ok = false;
    QString ReceiptNumber, FiscalMemory;
    QDateTime Printed;
    TDecimal Amount;
    QStringList Messages;
};

// The request bodies, as the protocol has them.
QByteArray ReceiptJson(const TReceipt &receipt);
QByteArray ReversalJson(const TReceipt &receipt, const TOriginal &original, const QString &reason);

// The service's client. Every call waits for its answer; a lost answer is asked for by the task id.
class TClient
{
public:
    explicit TClient(const TSettings &settings) : m_settings(settings) {}
    // The device's serial number (for the unique sale numbers); raises EFiscalFailed.
    QString DeviceSerial();
    TResult PrintReceipt(const TReceipt &receipt, const QString &taskId);
    // reason: "refund" (money given back) or "operator-error" (a receipt taken back).
    TResult PrintReversal(const TReceipt &receipt, const TOriginal &original, const QString &taskId,
                          const QString &reason = QStringLiteral("refund"));
    // The X report (the day so far) or the Z report (which closes the device's day).
    TResult PrintReport(bool z);
    // The longest a receipt's sending may last before it is given up.
    static qint64 LongestSendMs(const TSettings &settings);

private:
    TResult Send(const QString &path, const QByteArray &body, const QString &taskId);
    TSettings m_settings;
};

// The service could not be reached, or gave no answer that settles a task.
KALV_ERROR_CLASS(EFiscalFailed, Exception)

// The unique sale number: the device's serial, the operator's code and the next of that pair's
// seven-digit sequence ("DT279013-0001-0000001"); taken under a lock of its own.
QString NextSaleNumber(TADOConnection &connection, const QString &serial, int operatorCode);

// A payment at the desk: cash and card on the device when the workstation has one, then recorded
// (FrontDesk::TakePayment) with its receipt; a refund prints a reversal of the booking's receipt.
// Whatever the desk would refuse is refused before anything prints. The same payment taken
// again after its answer was lost sends the same task again: printed at most once. Its
// payment's key.
int Pay(int booking, FrontDesk::TPaymentKind kind, FrontDesk::TPaymentMethod method, const TDecimal &amount,
        const QString &note, FrontDesk::TConsent consent = {});

// The receipt's items for a payment of the booking: the amount shared over the booking's VAT
// rates as its stays and charges carry them (largest remainders, to the cent); a booking with
// nothing charged yet pays for accommodation.
QList<TItem> ItemsOf(TADOConnection &connection, int booking, const TDecimal &amount);

// X and Z reports on the workstation's device.
TResult Report(bool z);

} // namespace Fiscal
