#include "UOperationPreview.h"

#include "framework/UFormatSettings.h"
#include "startup/UConstMessagesStay.h"

#include <QStringList>

using namespace FrontDesk;

namespace OperationPreview {
namespace {

QString day(const QDate &date) { return date.toString(QStringLiteral("dd.MM.yyyy")); }

// The question's last lines: the balance the change leaves, then whether to go ahead.
QString ask(const TFolio &folio, const QString &what, const TDecimal &change)
{
    const TDecimal before = folio.Balance();
    const QString balance = change.IsZero()
                                ? msgPreviewBalanceNow.arg(AmountText(before), folio.Booking.CurrencyName)
                                : msgPreviewBalance.arg(AmountText(before), AmountText(before + change),
                                                        folio.Booking.CurrencyName);
    return what + QLatin1Char('\n') + balance + QLatin1Char('\n') + msgPreviewAsk;
}

} // namespace

QString Charge(const TFolio &folio, const QString &service, const TDecimal &price, const TDecimal &quantity)
{
    const TDecimal total = ChargeTotal(price, quantity);
    return ask(folio,
               msgPreviewCharge.arg(service, quantity.ToString(), AmountText(price), AmountText(total),
                                    folio.Booking.CurrencyName),
               total);
}

QString Payment(const TFolio &folio, TPaymentKind kind, TPaymentMethod method, const TDecimal &amount)
{
    // A refund gives money back: the balance grows by it; a payment or deposit lowers it.
    const TDecimal change = kind == pkRefund ? amount : TDecimal() - amount;
    return ask(folio,
               msgPreviewPayment.arg(PaymentKindName(kind), PaymentMethodName(method), AmountText(amount),
                                     folio.Booking.CurrencyName),
               change);
}

QString Extension(const TFolio &folio, const TStay &stay, const QDate &departure)
{
    const int nights = int(stay.From.daysTo(departure));
    const TDecimal total = StayTotalUntil(stay, departure);
    return ask(folio,
               msgPreviewExtension.arg(stay.RoomNumber, day(departure), day(stay.To), QString::number(nights),
                                       QString::number(stay.Nights), AmountText(total), folio.Booking.CurrencyName,
                                       AmountText(stay.Total)),
               total - stay.Total);
}

QString Move(const TFolio &folio, const TStay &stay, const QString &room, const QDate &from)
{
    return ask(folio,
               msgPreviewMove.arg(stay.RoomNumber, room, day(from), AmountText(stay.Price),
                                  folio.Booking.CurrencyName),
               TDecimal());
}

namespace {
// The nights a guest leaving now is charged and what that changes in the stay's total.
QString leaving(const TFolio &folio, const TStay &stay, TDecimal &change)
{
    const QDate departure = LeavingDay(stay);
    const int nights = int(stay.From.daysTo(departure));
    const TDecimal total = StayTotalUntil(stay, departure);
    change = change + (total - stay.Total);
    return msgPreviewCheckOut.arg(stay.RoomNumber, day(departure), QString::number(nights), AmountText(total),
                                  folio.Booking.CurrencyName);
}
} // namespace

QString CheckOut(const TFolio &folio, const TStay &stay)
{
    TDecimal change;
    const QString what = leaving(folio, stay, change);
    return ask(folio, what, change);
}

QString CheckOutBooking(const TFolio &folio)
{
    QStringList rooms;
    TDecimal change;
    for (const TStay &stay : folio.Stays)
        if (stay.Status == ssInHouse)
            rooms.append(leaving(folio, stay, change));
    return ask(folio, rooms.join(QLatin1Char('\n')), change);
}

} // namespace OperationPreview
