#pragma once
// What a front-desk operation is about to do, in words, with its amounts and the balance it
// leaves: shown to the operator, who says yes before anything is written. The amounts come
// from the same rules the operations use.

#include "UFrontDesk.h"

namespace OperationPreview {

QString Charge(const FrontDesk::TFolio &folio, const QString &service, const TDecimal &price, const TDecimal &quantity);
QString Payment(const FrontDesk::TFolio &folio, FrontDesk::TPaymentKind kind, FrontDesk::TPaymentMethod method,
                const TDecimal &amount);
QString Extension(const FrontDesk::TFolio &folio, const FrontDesk::TStay &stay, const QDate &departure);
QString Move(const FrontDesk::TFolio &folio, const FrontDesk::TStay &stay, const QString &room, const QDate &from);
QString CheckOut(const FrontDesk::TFolio &folio, const FrontDesk::TStay &stay);
// Every stay of the booking still in house.
QString CheckOutBooking(const FrontDesk::TFolio &folio);

} // namespace OperationPreview
