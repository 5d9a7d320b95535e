#include "UFiscal.h"

#include "URights.h"
#include "URows.h"
#include "UVat.h"
#include "data/UAdoDb.h"
#include "data/UDM.h"
#include "data/UDbEngine.h"
#include "data/URegistry.h"
#include "framework/UFormatSettings.h"
#include "startup/UConstMessagesStay.h"

#include <QEventLoop>
#include <numeric>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <QUrlQuery>
#include <QUuid>

namespace Fiscal {

namespace {

const QString kKey = QStringLiteral("\\Software\\Oxtarne\\Fiscal Device");

// How a receipt is sent: tries of the request, and asks after its task between them.
constexpr int kAttempts = 3, kPolls = 50, kPollPauseMs = 200;

// The states of a receipt's row: sent and not yet answered, printed, refused by the device,
// printed and taken back by a reversal because the desk refused the payment meanwhile, and
// given up on by its sender with no answer (it may have printed).
enum TState { stSent = 0, stPrinted = 1, stRefused = 2, stTakenBack = 3, stLost = 4 };
enum TKindOfReceipt { rkReceipt = 0, rkReversal = 1 };

// What a receipt's items are called, by the rate they carry: the one place to word them.
QString itemText(const QString &group)
{
    if (group == Vat::LawRates().at(1).FiscalGroup)
        return QStringLiteral("Нощувки");
    if (group == Vat::LawRates().at(2).FiscalGroup)
        return QStringLiteral("Курортна такса и такси");
    return QStringLiteral("Услуги");
}

double number(const TDecimal &amount) { return amount.Cents().ToDouble(); }

QString paymentType(int method) { return method == FrontDesk::pmCard ? QStringLiteral("card") : QStringLiteral("cash"); }

QJsonArray itemsJson(const TReceipt &receipt)
{
    QJsonArray items;
    for (const TItem &item : receipt.Items)
        items.append(QJsonObject{{QStringLiteral("text"), item.Text},
                                 {QStringLiteral("quantity"), number(item.Quantity)},
                                 {QStringLiteral("unitPrice"), number(item.UnitPrice)},
                                 {QStringLiteral("taxGroup"), item.TaxGroup}});
    return items;
}

QJsonArray paymentsJson(const TReceipt &receipt)
{
    return QJsonArray{QJsonObject{{QStringLiteral("amount"), number(receipt.Amount)},
                                  {QStringLiteral("paymentType"), paymentType(receipt.Method)}}};
}

struct TAnswer {
    bool Answered = false;
    QJsonObject Body;
};

// One request and its answer, waited for no longer than the time given; no answer (refused,
// cut, late) is not an answer.
TAnswer exchange(const QUrl &url, const QByteArray *body, int timeoutMs)
{
    QNetworkAccessManager network;
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    request.setTransferTimeout(timeoutMs);
    QNetworkReply *reply = body ? network.post(request, *body) : network.get(request);
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(timeoutMs);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    TAnswer answer;
    if (reply->isFinished() && reply->error() == QNetworkReply::NoError) {
        const QJsonDocument document = QJsonDocument::fromJson(reply->readAll());
        answer.Answered = document.isObject();
        answer.Body = document.object();
    } else {
        reply->abort();
    }
    delete reply;
    return answer;
}

void pause(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

TResult resultOf(const QJsonObject &body)
{
    TResult result;
    result.Ok = body.value(QStringLiteral("ok")).toBool();
    result.ReceiptNumber = body.value(QStringLiteral("receiptNumber")).toString();
    result.FiscalMemory = body.value(QStringLiteral("fiscalMemorySerialNumber")).toString();
    result.Printed = QDateTime::fromString(body.value(QStringLiteral("receiptDateTime")).toString(), Qt::ISODate);
    result.Amount = TDecimal::FromDouble(body.value(QStringLiteral("receiptAmount")).toDouble());
    for (const QJsonValue &message : body.value(QStringLiteral("messages")).toArray()) {
        const QJsonObject said = message.toObject();
        result.Messages.append(QStringLiteral("%1 %2").arg(said.value(QStringLiteral("code")).toString(),
                                                           said.value(QStringLiteral("text")).toString()).trimmed());
    }
    return result;
}

QString operatorCode(int operatorKey) { return QStringLiteral("%1").arg(operatorKey % 10000, 4, 10, QLatin1Char('0')); }

// The booking's latest printed receipt that still holds the amount, for a refund's reversal.
std::optional<TOriginal> originalFor(TADOConnection &connection, int booking, const TDecimal &amount, int *key)
{
    TRows rows(connection,
               QStringLiteral("SELECT f.q221, f.q222, f.q225, f.q227, f.q226, f.q228, (SELECT COALESCE(SUM(r.q228), 0) "
                              "FROM FiskalniBonove r WHERE r.q230 = f.q221 AND r.q224 = 1) AS reversed FROM FiskalniBonove f "
                              "WHERE f.q124 = :iBooking AND f.q229 = 0 AND f.q224 = 1 ORDER BY f.q221 DESC"),
               {{"iBooking", booking}});
    while (rows.Next()) {
        if (rows.Amount(5).Cents() + rows.Amount(6).Cents() < amount)
            continue;
        *key = rows.Integer(0);
        return TOriginal{rows.Text(1), rows.Text(2), rows.Text(3), TField(QString(), rows.Field(4).Value()).AsDateTime()};
    }
    return std::nullopt;
}

// A receipt of the same payment sent before and never settled (its answer lost with the
// service): taken again with its sale number and task id, so that a receipt that did print is
// found, not printed a second time. A row still "sent" is another workstation's receipt on its
// way and not ours to take, unless it is older than any send can last (its sender died).
struct TPending {
    int Row = 0, Original = 0;
    QString Sale, Task;
};
std::optional<TPending> pendingOf(TADOConnection &connection, int booking, bool refund, int method, const TDecimal &amount,
                                  const QDateTime &staleBefore)
{
    TRows rows(connection,
               QStringLiteral("SELECT q221, q222, q223, q228, q230 FROM FiskalniBonove WHERE q124 = :iBooking AND "
                              "(q224 = :iLost OR (q224 = :iSent AND q136 < :dStale)) AND q229 = :iKind AND "
                              "q231 = :iMethod ORDER BY q221"),
               {{"iBooking", booking}, {"iLost", int(stLost)}, {"iSent", int(stSent)}, {"dStale", staleBefore},
                {"iKind", refund ? int(rkReversal) : int(rkReceipt)}, {"iMethod", method}});
    const TDecimal wanted = refund ? TDecimal() - amount.Cents() : amount.Cents();
    while (rows.Next())
        if (rows.Amount(3).Cents() == wanted)
            return TPending{rows.Integer(0), rows.Integer(4), rows.Text(1), rows.Text(2)};
    return std::nullopt;
}

TOriginal originalOf(TADOConnection &connection, int key)
{
    TRows row(connection, QStringLiteral("SELECT q222, q225, q227, q226 FROM FiskalniBonove WHERE q221 = :iRow"),
              {{"iRow", key}});
    if (!row.Next())
        return {};
    return {row.Text(0), row.Text(1), row.Text(2), TField(QString(), row.Field(3).Value()).AsDateTime()};
}

void markRow(int row, TState state, const TResult &result, const QVariant &payment)
{
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection, true);
    connection.Execute(QStringLiteral("UPDATE FiskalniBonove SET q224 = ?, q225 = ?, q226 = ?, q227 = ?, q139 = ?, q232 = ? "
                                      "WHERE q221 = ?"),
                       {int(state), result.ReceiptNumber,
                        result.Printed.isValid() ? QVariant(result.Printed) : QVariant(QMetaType::fromType<QDateTime>()),
                        result.FiscalMemory, payment, result.Messages.join(QStringLiteral("; ")).left(500), row});
    transaction.Commit();
}

} // namespace

TSettings Settings()
{
    TSettings settings;
    TRegistry registry;
    if (!registry.OpenKey(kKey, false))
        return settings;
    settings.Device = registry.ReadString(QStringLiteral("Device")) == QLatin1String("1");
    settings.Address = registry.ReadString(QStringLiteral("Address")).trimmed();
    settings.Printer = registry.ReadString(QStringLiteral("Printer")).trimmed();
    const int timeout = registry.ReadString(QStringLiteral("TimeoutMs")).toInt();
    if (timeout > 0)
        settings.TimeoutMs = timeout;
    return settings;
}

void SaveSettings(const TSettings &settings)
{
    TRegistry registry;
    if (!registry.OpenKey(kKey, true))
        throw Exception(msgFiscalSettingsNotSaved);
    registry.WriteString(QStringLiteral("Device"), settings.Device ? QStringLiteral("1") : QStringLiteral("0"));
    registry.WriteString(QStringLiteral("Address"), settings.Address.trimmed());
    registry.WriteString(QStringLiteral("Printer"), settings.Printer.trimmed());
    registry.WriteString(QStringLiteral("TimeoutMs"), QString::number(settings.TimeoutMs));
}

int TaxGroupOf(const QString &letter)
{
    // Наредба № Н-18, Приложение 1: the groups А to З, printed as 1 to 8 by the protocol.
    static const QString groups = QStringLiteral("АБВГДЕЖЗ");
    const int index = groups.indexOf(letter.trimmed().toUpper());
    return index >= 0 && !letter.trimmed().isEmpty() ? index + 1 : 2;
}

QByteArray ReceiptJson(const TReceipt &receipt)
{
    return QJsonDocument(QJsonObject{{QStringLiteral("uniqueSaleNumber"), receipt.UniqueSaleNumber},
                                     {QStringLiteral("items"), itemsJson(receipt)},
                                     {QStringLiteral("payments"), paymentsJson(receipt)}})
        .toJson(QJsonDocument::Compact);
}

QByteArray ReversalJson(const TReceipt &receipt, const TOriginal &original, const QString &reason)
{
    return QJsonDocument(QJsonObject{{QStringLiteral("uniqueSaleNumber"), original.UniqueSaleNumber},
                                     {QStringLiteral("receiptNumber"), original.ReceiptNumber},
                                     {QStringLiteral("receiptDateTime"), original.Printed.toString(Qt::ISODate)},
                                     {QStringLiteral("fiscalMemorySerialNumber"), original.FiscalMemory},
                                     {QStringLiteral("reason"), reason},
                                     {QStringLiteral("items"), itemsJson(receipt)},
                                     {QStringLiteral("payments"), paymentsJson(receipt)}})
        .toJson(QJsonDocument::Compact);
}

QString TClient::DeviceSerial()
{
    const TAnswer answer = exchange(QUrl(m_settings.Address + QStringLiteral("/printers/") + m_settings.Printer), nullptr,
                                    qMin(m_settings.TimeoutMs, 10000));
    const QString serial = answer.Body.value(QStringLiteral("serialNumber")).toString().trimmed();
    if (!answer.Answered || serial.isEmpty())
        throw EFiscalFailed(msgFiscalUnreachable.arg(m_settings.Address, m_settings.Printer));
    return serial;
}

TResult TClient::PrintReceipt(const TReceipt &receipt, const QString &taskId)
{
    return Send(QStringLiteral("/receipt"), ReceiptJson(receipt), taskId);
}

TResult TClient::PrintReversal(const TReceipt &receipt, const TOriginal &original, const QString &taskId,
                               const QString &reason)
{
    return Send(QStringLiteral("/reversalreceipt"), ReversalJson(receipt, original, reason), taskId);
}

TResult TClient::PrintReport(bool z)
{
    return Send(z ? QStringLiteral("/zreport") : QStringLiteral("/xreport"), QByteArrayLiteral("{}"),
                QUuid::createUuid().toString(QUuid::WithoutBraces));
}

qint64 TClient::LongestSendMs(const TSettings &settings)
{
    const qint64 polls = kPolls * (qMin(settings.TimeoutMs, 5000) + kPollPauseMs);
    return kAttempts * (settings.TimeoutMs + 2000 + polls);
}

// The same task id on every try: the service that has the task gives its outcome and prints
// nothing again; one that never got it prints it once.
TResult TClient::Send(const QString &path, const QByteArray &body, const QString &taskId)
{
    QUrl post(m_settings.Address + QStringLiteral("/printers/") + m_settings.Printer + path);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("taskId"), taskId);
    query.addQueryItem(QStringLiteral("asyncTimeout"), QString::number(m_settings.TimeoutMs));
    post.setQuery(query);
    QUrl info(m_settings.Address + QStringLiteral("/printers/taskinfo"));
    info.setQuery(QUrlQuery{{QStringLiteral("id"), taskId}});
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const TAnswer answer = exchange(post, &body, m_settings.TimeoutMs + 2000);
        if (answer.Answered && answer.Body.contains(QStringLiteral("ok")))
            return resultOf(answer.Body);
        for (int poll = 0; poll < kPolls; ++poll) {
            const TAnswer task = exchange(info, nullptr, qMin(m_settings.TimeoutMs, 5000));
            const QString status = task.Body.value(QStringLiteral("taskStatus")).toString();
            if (!task.Answered || status == QLatin1String("unknown"))
                break;
            if (status == QLatin1String("finished"))
                return resultOf(task.Body.value(QStringLiteral("result")).toObject());
            pause(kPollPauseMs);
        }
    }
    throw EFiscalFailed(msgFiscalNoAnswer.arg(taskId));
}

QString NextSaleNumber(TADOConnection &connection, const QString &serial, int operatorKey)
{
    const QString prefix = serial + QLatin1Char('-') + operatorCode(operatorKey) + QLatin1Char('-');
    connection.Engine().LockName(connection, QStringLiteral("FiskalniBonove ") + prefix);
    const QString last = connection.Column(QStringLiteral("SELECT MAX(q222) FROM FiskalniBonove WHERE q229 = 0 AND "
                                                          "q222 >= ? AND q222 <= ?"),
                                           {prefix + QStringLiteral("0000000"), prefix + QStringLiteral("9999999")})
                             .value(0)
                             .toString();
    const qint64 next = last.isEmpty() ? 1 : last.right(7).toLongLong() + 1;
    return prefix + QStringLiteral("%1").arg(next, 7, 10, QLatin1Char('0'));
}

QList<TItem> ItemsOf(TADOConnection &connection, int booking, const TDecimal &amount)
{
    const QList<Vat::TLawRate> &law = Vat::LawRates();
    QMap<QString, qint64> charged;  // cents by tax group
    {
        TRows rows(connection,
                   QStringLiteral("SELECT k.q27, k.q47, k.q160, (SELECT MIN(d.q168) FROM DDSStavki d WHERE d.q163 = r.q170), "
                                  "(SELECT MIN(d.q168) FROM Uslugi u JOIN DDSStavki d ON (d.q163 = u.q170) WHERE "
                                  "u.q33 = k.q33) FROM Klients k LEFT JOIN Rooms r ON (r.q47 = k.q47) WHERE "
                                  "k.q124 = :iBooking AND (k.q47 IS NULL OR ") +
                       FrontDesk::HoldsNights(QStringLiteral("k.")) + QStringLiteral(")"),
                   {{"iBooking", booking}});
        while (rows.Next()) {
            const bool room = !rows.Field(1).IsNull(), tax = !rows.Field(2).IsNull();
            QString group = tax ? law.at(2).FiscalGroup : rows.Text(room ? 3 : 4);
            if (group.isEmpty())
                group = room ? law.at(1).FiscalGroup : law.at(0).FiscalGroup;
            charged[group] += rows.Amount(0).ToCents();
        }
    }
    qint64 total = 0;
    for (auto it = charged.cbegin(); it != charged.cend(); ++it)
        total += qMax<qint64>(0, it.value());
    const qint64 paid = amount.ToCents();
    if (total <= 0)
        charged = {{law.at(1).FiscalGroup, 1}}, total = 1;
    // Each group its share rounded down, the cents left to the largest remainders.
    struct TShare {
        QString Group;
        qint64 Cents, Remainder;
    };
    QList<TShare> shares;
    qint64 given = 0;
    for (auto it = charged.cbegin(); it != charged.cend(); ++it) {
        if (it.value() <= 0)
            continue;
        const qint64 exact = paid * it.value();
        shares.append({it.key(), exact / total, exact % total});
        given += exact / total;
    }
    QList<int> order(shares.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return shares.at(a).Remainder > shares.at(b).Remainder; });
    for (qint64 k = 0; k < paid - given; ++k)
        shares[order.at(int(k % shares.size()))].Cents += 1;
    QList<TItem> items;
    for (const TShare &share : std::as_const(shares))
        if (share.Cents > 0)
            items.append({itemText(share.Group), TDecimal(1), TDecimal::FromCents(share.Cents), TaxGroupOf(share.Group)});
    return items;
}

namespace {

// A receipt ready to send: its row (written and committed, so that a lost answer leaves a trace),
// its task, what it prints and, for a reversal, the receipt it names.
struct TPrepared {
    int Row = 0;
    QString Task;
    TReceipt Receipt;
    TOriginal Original;
};

int operatorKey() { return Rights::CurrentOperator(); }

TPrepared prepare(TADOConnection &connection, int booking, bool refund, int method, const TDecimal &amount,
                  const QString &serial, const TSettings &settings)
{
    TPrepared prepared;
    prepared.Receipt.Amount = amount.Cents();
    prepared.Receipt.Method = method;
    TTransaction transaction(connection, true);
    connection.Engine().LockBookings(connection, {booking});
    prepared.Receipt.Items = ItemsOf(connection, booking, amount);
    const QDateTime staleBefore = FrontDesk::Now().addMSecs(-TClient::LongestSendMs(settings) - 60000);
    if (const std::optional<TPending> pending = pendingOf(connection, booking, refund, method, amount, staleBefore)) {
        prepared.Row = pending->Row;
        prepared.Task = pending->Task;
        prepared.Receipt.UniqueSaleNumber = pending->Sale;
        if (refund)
            prepared.Original = originalOf(connection, pending->Original);
        transaction.Commit();
        return prepared;
    }
    int originalKey = 0;
    if (refund) {
        const std::optional<TOriginal> found = originalFor(connection, booking, amount, &originalKey);
        if (!found)
            throw EFrontDeskRefused(msgFiscalNoOriginal.arg(AmountText(amount)));
        prepared.Original = *found;
    }
    prepared.Task = QUuid::createUuid().toString(QUuid::WithoutBraces);
    prepared.Receipt.UniqueSaleNumber =
        refund ? prepared.Original.UniqueSaleNumber : NextSaleNumber(connection, serial, operatorKey());
    const QVariant none(QMetaType::fromType<int>());
    prepared.Row = connection.InsertReturningIdentity(
        QStringLiteral("FiskalniBonove"), {"q124", "q222", "q223", "q224", "q228", "q229", "q230", "q231", "q128", "q136"},
        QStringLiteral("VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {booking, prepared.Receipt.UniqueSaleNumber, prepared.Task, int(stSent),
         (refund ? TDecimal() - amount : amount).ToVariant(), refund ? int(rkReversal) : int(rkReceipt),
         originalKey > 0 ? QVariant(originalKey) : none, method, operatorKey() > 0 ? QVariant(operatorKey()) : none,
         FrontDesk::Now()});
    transaction.Commit();
    return prepared;
}

} // namespace

int Pay(int booking, FrontDesk::TPaymentKind kind, FrontDesk::TPaymentMethod method, const TDecimal &amount,
        const QString &note, FrontDesk::TConsent consent)
{
    const TSettings settings = Settings();
    if (!settings.Device || method == FrontDesk::pmTransfer)
        return FrontDesk::TakePayment(booking, kind, method, amount, note, consent);
    TADOConnection &connection = LocalConnection();
    {
        // What the desk would refuse is refused before anything prints: the payment is tried
        // and undone.
        TTransaction trial(connection, true);
        FrontDesk::TakePayment(booking, kind, method, amount, note, consent);
    }
    TClient client(settings);
    const bool refund = kind == FrontDesk::pkRefund;
    const TPrepared prepared = prepare(connection, booking, refund, method, amount, client.DeviceSerial(), settings);
    const QVariant none(QMetaType::fromType<int>());
    TResult result;
    try {
        result = refund ? client.PrintReversal(prepared.Receipt, prepared.Original, prepared.Task)
                        : client.PrintReceipt(prepared.Receipt, prepared.Task);
    } catch (const EFiscalFailed &) {
        // No answer: the row is given up, and the same payment taken again sends the same task.
        markRow(prepared.Row, stLost, {}, none);
        throw;
    }
    if (!result.Ok) {
        markRow(prepared.Row, stRefused, result, none);
        throw EFrontDeskRefused(msgFiscalRefused.arg(result.Messages.join(QStringLiteral("; "))));
    }
    try {
        TTransaction transaction(connection, true);
        const int payment = FrontDesk::TakePayment(booking, kind, method, amount, note, consent);
        markRow(prepared.Row, stPrinted, result, payment);
        transaction.Commit();
        return payment;
    } catch (const EFrontDeskRefused &) {
        // Another workstation changed the booking between the trial and now: a receipt just
        // printed is taken back, so that the device holds no payment the desk has not.
        connection.RollbackIfOpen();
        markRow(prepared.Row, stTakenBack, result, none);
        if (!refund)
            client.PrintReversal(prepared.Receipt,
                                 {prepared.Receipt.UniqueSaleNumber, result.ReceiptNumber, result.FiscalMemory, result.Printed},
                                 QUuid::createUuid().toString(QUuid::WithoutBraces), QStringLiteral("operator-error"));
        throw;
    }
}

TResult Report(bool z)
{
    Rights::Require(Rights::rCharges);
    const TSettings settings = Settings();
    if (!settings.Device)
        throw EFrontDeskRefused(msgFiscalNoDevice);
    return TClient(settings).PrintReport(z);
}

} // namespace Fiscal
