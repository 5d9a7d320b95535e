// A workstation in a process of its own, for tests that need several programs on one database
// or a program killed in the middle of its work. It drives the real windows offscreen and
// prints one line per outcome on its standard output.
//
//   kalv_workstation book DATA HOTEL ROOM BASE OFFSET NIGHTS ROUNDS START PERIOD [PLAN]
//     Books ROOM of HOTEL in every round r for NIGHTS nights from BASE + 10 r + OFFSET days
//     (for two adults by the rate plan PLAN, when given): stages the row at START + r PERIOD
//     (milliseconds since the epoch), saves it half a period later, and prints
//     "round r saved|conflict|refused|busy|failed ...".
//   kalv_workstation extend DATA HOTEL ROOM BASE NIGHTS ROUNDS START PERIOD
//     In every round r extends the stay of ROOM that begins on BASE + 10 r to NIGHTS nights, at
//     START + r PERIOD + PERIOD / 2, and prints "round r saved|refused|busy|failed ...".
//   kalv_workstation move DATA HOTEL ROOM BASE TOROOM DAY ROUNDS START PERIOD
//     In every round r moves the stay of ROOM that begins on BASE + 10 r to TOROOM from its
//     DAYth day on, at the same moments, and prints the same.
//   kalv_workstation login DATA USER PASSWORD START
//     Tries one login at START and prints "accepted", "wrong", "refused" or "failed ...".
//   kalv_workstation deactivate DATA OPERATOR TARGET START
//     As operator OPERATOR (every right), deactivates TARGET at START and prints "done",
//     "refused ..." or "failed ...".
//   kalv_workstation desk DATA OP TARGETS START PERIOD [EXTRA]
//     In every round r runs the front-desk operation OP on the r-th of the comma-separated
//     TARGETS at START + r PERIOD and prints "round r done|refused|busy|failed ...". OP is one of
//     checkout, checkin, cancel, noshow (a stay), cancelbooking, checkoutbooking, payment and refund
//     (a booking; EXTRA the amount), extend (a stay; EXTRA the new departure, yyyy-MM-dd), move (a stay; EXTRA
//     "ROOMOFFSET:yyyy-MM-dd", the target room being the stay's room plus ROOMOFFSET), walkin
//     (a room; EXTRA the departure), charge (a booking; EXTRA the service), close (a room; EXTRA
//     "yyyy-MM-dd:yyyy-MM-dd", the nights it is out of service), dates (a reserved stay; EXTRA its
//     new first night), invoice (a booking; EXTRA the series, or "SERIES:ЕИК" to that company: every
//     unbilled row), credit (a booking: its first invoice taken off in full), fiscalpay (a booking;
//     EXTRA "ADDRESS PRINTER AMOUNT": a cash payment on the fiscal-device service at ADDRESS),
//     dayclose (a number of days; EXTRA "yyyy-MM-dd[:die]": closes the business day that many days
//     after it, or dies half way through the close), reopen (anything: the last closed day opened
//     again), rules (a hotel; EXTRA "AUTO:CHARGE:LIMIT": its rules of the close), correct (a booking;
//     EXTRA the service: one of it taken back), guest (a number; EXTRA a name: a new guest of the
//     register), guestedit (a guest; EXTRA the address it is given); in the register of plans:
//     season (a plan; EXTRA "yyyy-MM-dd:yyyy-MM-dd"), planname (a number; EXTRA a name), price (a
//     plan; EXTRA "WEEKDAYMASK:AMOUNT"), restrict (a plan; EXTRA "yyyy-MM-dd:yyyy-MM-dd:NIGHTS"),
//     childband (anything; EXTRA "FROM:TO").
//   kalv_workstation chart DATA STAY ROOM DAY START
//     Opens the reservation chart from DAY, and at START drags the bar of STAY with the mouse to
//     the row of ROOM, says yes to the question and prints "done", "refused ..." or "failed ...".
//   kalv_workstation charges DATA BOOKING SERVICE MILLISECONDS PERIOD
//     Charges SERVICE to BOOKING every PERIOD milliseconds for MILLISECONDS, printing "i done",
//     "i lost" (said not done), "i unknown" (the line broke during the commit) or "i failed ...",
//     then "notices" and the connection's notices in order (down, up).
//   kalv_workstation save-settings DATA
//     Saves the configuration window again and again with the values of generation g
//     ("srv-g", "inst-g", ...), printing "saved g" after each save, until it is killed.

#include "desk/UDayClose.h"
#include "desk/UGuests.h"
#include "desk/URatePlans.h"
#include "desk/UEsti.h"
#include <cstdlib>
#include "desk/UOperators.h"
#include "desk/URights.h"
#include "admin/UBaza.h"
#include "data/UADOComunicationControl.h"
#include "data/UDLLSafeCall.h"
#include "data/UDM.h"
#include "desk/UFrontDesk.h"
#include "desk/UInvoices.h"
#include "desk/UFiscal.h"
#include "errors/UExceptionLogs.h"
#include "startup/KalvCM.h"
#include "startup/UConstMessagesDesk.h"
#include "startup/UConstMessagesStay.h"
#include "startup/USystemWinOS.h"
#include "windows/UNomCenovi.h"
#include "windows/UOperReservation.h"
#include "windows/URoomBoard.h"
#include "windows/UShahmatka.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QLineEdit>
#include <QMenu>
#include <QThread>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

QStringList boxes, errorLogs;

void say(const QString &line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

void waitUntil(qint64 epochMs)
{
    const qint64 left = epochMs - QDateTime::currentMSecsSinceEpoch();
    if (left > 0)
        QThread::msleep(ulong(left));
}

QString outcome()
{
    const QString conflict = msgRoomAlreadyBooked;
    for (const QString &text : boxes) {
        if (text.startsWith(msgBookingSaved.section(QStringLiteral("%1"), 0, 0)))
            return QStringLiteral("saved");
        if (text.startsWith(conflict))
            return QStringLiteral("conflict");
    }
    for (const QString &text : errorLogs)
        if (text.contains(msgDatabaseBusy))
            return QStringLiteral("busy");
    return QStringLiteral("failed ") + (boxes + errorLogs).join(QLatin1Char('|')).simplified();
}

int roomOfHotel(const QString &hotel, const QString &room)
{
    const std::optional<TFOperReservation::TRoom> found = TFOperReservation::FindRoom(hotel, room);
    return found ? found->Id : 0;
}

int book(const QStringList &a)
{
    const QString hotel = a.at(0), room = a.at(1);
    const QDate base = QDate::fromString(a.at(2), Qt::ISODate);
    const int offset = a.at(3).toInt(), nights = a.at(4).toInt(), rounds = a.at(5).toInt();
    const qint64 start = a.at(6).toLongLong(), period = a.at(7).toLongLong();
    const QString plan = a.value(8);  // a rate plan to book by, instead of the tariff's price
    TDM dm;
    if (!TADOComunicationControl().ConnectFromSettings()) {
        say(QStringLiteral("no connection"));
        return 1;
    }
    for (int r = 0; r < rounds; ++r) {
        auto window = std::make_unique<TFOperReservation>();
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        if (!window->InitializeWindow()) {
            say(QStringLiteral("round %1 failed no staging table").arg(r));
            continue;
        }
        const QDate from = base.addDays(10 * r + offset);
        window->edContragentName->setText(QStringLiteral("Гост %1").arg(offset));
        window->edContragentID->setText(QStringLiteral("8001011234"));
        window->cbTarife->setEditText(QStringLiteral("Основна"));
        window->cbCurrency->setEditText(QStringLiteral("BGN"));
        window->cbHotel->setEditText(hotel);
        window->cbRoomNumber->setEditText(room);
        if (!plan.isEmpty()) {
            window->cbCenovPlan->setEditText(plan);
            window->edAdults->setText(QStringLiteral("2"));
        }
        window->DateTimePicker1->setDate(from);
        window->DateTimePicker2->setDate(from.addDays(nights));
        waitUntil(start + r * period);
        boxes.clear();
        errorLogs.clear();
        window->acOperReservationPrepareContragentForReserv->trigger();
        if (window->GridModel()->rowCount() != 1) {
            const QString why = outcome();
            say(QStringLiteral("round %1 %2").arg(r).arg(why == QLatin1String("conflict") ? QStringLiteral("refused") : why));
            continue;
        }
        waitUntil(start + r * period + period / 2);
        boxes.clear();
        errorLogs.clear();
        window->acOperReservationSaveExecute();
        say(QStringLiteral("round %1 %2").arg(r).arg(outcome()));
        if (LocalConnection().InTransaction())
            say(QStringLiteral("round %1 left a transaction open").arg(r));
    }
    // When all have saved, this workstation's board marks the room for every round's first night.
    waitUntil(start + rounds * period + 500);
    QWidget canvas;
    QMenu popup;
    QDate day;
    TRoomBoard board(&canvas, &popup, [&] { return day; }, [] { return QString(); });
    board.BuildRoomBoard();
    int marked = 0;
    for (int r = 0; r < rounds; ++r) {
        day = base.addDays(10 * r + 2);  // a night every booking of the round covers
        board.RefreshRoomBoard();
        for (TRoomButton *button : board.Buttons(room))
            marked += button->Mark != 0 && button->RoomID == roomOfHotel(hotel, room) ? 1 : 0;
    }
    say(QStringLiteral("board %1").arg(marked));
    return 0;
}

// The stay of a room that begins on a day, by the hotel's name and the room's number.
int stayOn(const QString &hotel, const QString &room, const QDate &day)
{
    TADOConnection &connection = LocalConnection();
    TADOQuery query(&connection);
    query.SetSQLText(QStringLiteral("SELECT q123 FROM Klients WHERE q47 = :iRoom AND q34 = :dDay"));
    query.ParamByName(QStringLiteral("iRoom")).Value = roomOfHotel(hotel, room);
    query.ParamByName(QStringLiteral("dDay")).Value = day;
    TTransaction transaction(connection);
    query.Open();
    transaction.Commit();
    return query.Eof() ? 0 : query.FieldByName(QStringLiteral("q123")).AsInteger();
}

// Runs one front-desk operation per round at its moment and says how it ended.
int deskRounds(const QStringList &a, int first, const std::function<void(int round, const QDate &day)> &operation)
{
    const QDate base = QDate::fromString(a.at(2), Qt::ISODate);
    const int rounds = a.at(first).toInt();
    const qint64 start = a.at(first + 1).toLongLong(), period = a.at(first + 2).toLongLong();
    TDM dm;
    if (!TADOComunicationControl().ConnectFromSettings()) {
        say(QStringLiteral("no connection"));
        return 1;
    }
    for (int r = 0; r < rounds; ++r) {
        waitUntil(start + r * period + period / 2);
        QString outcome = QStringLiteral("saved");
        try {
            operation(r, base.addDays(10 * r));
        } catch (const EFrontDeskRefused &) {
            outcome = QStringLiteral("refused");
        } catch (const EDatabaseBusy &) {
            outcome = QStringLiteral("busy");
        } catch (const Exception &error) {
            outcome = QStringLiteral("failed ") + error.Message().simplified();
        }
        say(QStringLiteral("round %1 %2").arg(r).arg(outcome));
        if (LocalConnection().InTransaction())
            say(QStringLiteral("round %1 left a transaction open").arg(r));
    }
    return 0;
}

int extend(const QStringList &a)
{
    const int nights = a.at(3).toInt();
    return deskRounds(a, 4, [&](int, const QDate &day) {
        FrontDesk::Extend(stayOn(a.at(0), a.at(1), day), day.addDays(nights));
    });
}

int move(const QStringList &a)
{
    const int offset = a.at(4).toInt();
    return deskRounds(a, 5, [&](int, const QDate &day) {
        FrontDesk::Move(stayOn(a.at(0), a.at(1), day), roomOfHotel(a.at(0), a.at(3)), day.addDays(offset), true);
    });
}

int saveSettings()
{
    TDM dm;
    TFBaza window;
    if (!window.InitializeWindow())
        return 1;
    for (int g = 1;; ++g) {
        const QString n = QString::number(g);
        window.edServer->setText(QStringLiteral("srv-") + n);
        window.edServerInctance->setText(QStringLiteral("inst-") + n);
        window.edServerNickName->setText(QStringLiteral("alias-") + n);
        window.username->setText(QStringLiteral("user-") + n);
        window.edPassword->setText(QStringLiteral("pw-") + n);
        window.Edit6->setText(QStringLiteral("port-") + n);
        window.Edit7->setText(QStringLiteral("db-") + n);
        window.EdProvider->setText(QStringLiteral("SQLite"));
        window.acFBazaSave->trigger();
        say(QStringLiteral("saved ") + n);
    }
}

// One front-desk operation on one target.
// The name of a rate plan by its key.
QString planName(int plan)
{
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection);
    const QString name = connection.Column(QStringLiteral("SELECT q277 FROM CenoviPlanove WHERE q276 = ?"), {plan}).value(0).toString();
    transaction.Commit();
    return name;
}

// A page of the register of plans filled and saved as the operator's save command does; what
// the save said is the operation's outcome.
void savePlanRegister(int page, const std::function<void(TFNomCenovi &window)> &fill)
{
    TFNomCenovi window;
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.InitializeWindow();
    window.Pages()->setCurrentIndex(page);
    fill(window);
    const qsizetype said = boxes.size(), logged = errorLogs.size();
    window.acFNomCenoviSaveExecute();
    if (errorLogs.size() > logged)
        throw Exception(errorLogs.last());
    if (boxes.size() > said)
        throw EFrontDeskRefused(boxes.last());
}

void deskOperation(const QString &op, int target, const QString &extra)
{
    using namespace FrontDesk;
    TGuest guest;
    guest.Name = QStringLiteral("Гост");
    guest.PersonalNumber = QStringLiteral("7501010000");
    guest.Address = QStringLiteral("Варна");
    guest.Nationality = QStringLiteral("България");
    if (op == QLatin1String("checkout"))
        CheckOut(target, true);
    else if (op == QLatin1String("checkoutbooking"))
        CheckOutBooking(target, true);
    else if (op == QLatin1String("payment"))
        TakePayment(target, pkPayment, pmCash, TDecimal::FromText(extra), QString());
    else if (op == QLatin1String("checkin"))
        CheckIn(target, guest, true);
    else if (op == QLatin1String("cancel"))
        Cancel(target);
    else if (op == QLatin1String("noshow"))
        MarkNoShow(target);
    else if (op == QLatin1String("cancelbooking"))
        CancelBooking(target);
    else if (op == QLatin1String("refund"))
        TakePayment(target, pkRefund, pmCash, TDecimal::FromText(extra), QString());
    else if (op == QLatin1String("extend"))
        Extend(target, QDate::fromString(extra, Qt::ISODate));
    else if (op == QLatin1String("move")) {
        const std::optional<TStay> stay = ReadStay(target);
        Move(target, stay ? stay->Room + extra.section(QLatin1Char(':'), 0, 0).toInt() : 0,
             QDate::fromString(extra.section(QLatin1Char(':'), 1), Qt::ISODate), true);
    } else if (op == QLatin1String("invoice")) {
        // "series" to a guest, or "series:ЕИК" to that company.
        Invoices::TBuyer buyer;
        buyer.Name = QStringLiteral("Гост");
        if (extra.contains(QLatin1Char(':'))) {
            buyer.Person = false;
            buyer.Name = QStringLiteral("Фирма ООД");
            buyer.Eik = extra.section(QLatin1Char(':'), 1);
        }
        Invoices::Issue(Invoices::dkInvoice, target, {}, buyer, extra.section(QLatin1Char(':'), 0, 0).toInt(), Today());
    } else if (op == QLatin1String("fiscalpay")) {
        const QStringList said = extra.split(QLatin1Char(' '));
        Fiscal::TSettings settings;
        settings.Device = true;
        settings.Address = said.value(0);
        settings.Printer = said.value(1);
        settings.TimeoutMs = 5000;
        Fiscal::SaveSettings(settings);
        Fiscal::Pay(target, pkPayment, pmCash, TDecimal::FromText(said.value(2)), QString());
    } else if (op == QLatin1String("credit")) {
        // The booking's first invoice taken off in full.
        TADOConnection &connection = LocalConnection();
        const int invoice = connection.Column(QStringLiteral("SELECT MIN(q182) FROM Fakturi WHERE q124 = ? AND q183 = 0"),
                                              {target}).value(0).toInt();
        const std::optional<Invoices::TDocument> document = Invoices::Read(invoice);
        QList<Invoices::TNoteLine> lines;
        for (const Invoices::TLine &line : document ? document->Lines : QList<Invoices::TLine>())
            lines.append({line.Charge, line.Gross});
        Invoices::IssueNote(Invoices::dkCredit, invoice, lines, Today());
    } else if (op == QLatin1String("dates")) {
        ChangeDates(target, QDate::fromString(extra, Qt::ISODate));
    } else if (op == QLatin1String("walkin")) {
        WalkIn(target, QDate::fromString(extra, Qt::ISODate), guest, QVariant(), true);
    } else if (op == QLatin1String("charge")) {
        Charge(target, extra.toInt(), TDecimal(1), Today());
    } else if (op == QLatin1String("dayclose")) {
        // "yyyy-MM-dd" or "yyyy-MM-dd:die": the day TARGET days after that one; a dying close
        // ends the process in the middle of its transaction, after the night's tax is written.
        const QDate day = QDate::fromString(extra.section(QLatin1Char(':'), 0, 0), Qt::ISODate).addDays(target);
        const bool die = extra.section(QLatin1Char(':'), 1) == QLatin1String("die");
        DayClose::Close(day, [die](int step) {
            if (die && step == 3)
                std::_Exit(9);
        });
    } else if (op == QLatin1String("reopen")) {
        DayClose::Reopen(QStringLiteral("проверка"));
    } else if (op == QLatin1String("rules")) {
        // A hotel's rules: EXTRA "AUTO:CHARGE:LIMIT".
        DayClose::TRules rules;
        rules.AutoNoShow = extra.section(QLatin1Char(':'), 0, 0) == QLatin1String("1");
        rules.ChargeNoShow = extra.section(QLatin1Char(':'), 1, 1) == QLatin1String("1");
        rules.BalanceLimit = TDecimal::FromText(extra.section(QLatin1Char(':'), 2, 2));
        DayClose::SaveRules(target, rules);
    } else if (op == QLatin1String("correct")) {
        // One of SERVICE taken back from the booking, for a reason.
        Charge(target, extra.toInt(), TDecimal(-1), Today(), {}, QStringLiteral("корекция"));
    } else if (op == QLatin1String("guest")) {
        // A new guest of the register; EXTRA the workstation's name for it.
        Guests::TGuest guest;
        guest.Name = QStringLiteral("Гост %1 %2").arg(extra).arg(target);
        Guests::Save(guest);
    } else if (op == QLatin1String("guestedit")) {
        // The guest TARGET given the address EXTRA.
        std::optional<Guests::TGuest> guest = Guests::Read(target);
        if (!guest)
            throw EFrontDeskRefused(QStringLiteral("no guest"));
        guest->Address = extra;
        Guests::Save(*guest);
    } else if (op == QLatin1String("stayguests")) {
        // The stay TARGET's guests: the keys in EXTRA "HOLDER:OTHER:...".
        QList<Guests::TStayGuest> guests;
        for (const QString &key : extra.split(QLatin1Char(':')))
            guests.append({key.toInt(), key, QDate(), guests.isEmpty(), QString()});
        Guests::SetStayGuests(target, guests);
    } else if (op == QLatin1String("merge")) {
        // The guest EXTRA merged into TARGET.
        Guests::Merge(target, extra.toInt());
    } else if (op == QLatin1String("esti")) {
        // The tourism register's file of the days TARGET days from today to EXTRA days from today.
        const QDate today = QDate::currentDate();
        Esti::Export(today.addDays(target), today.addDays(extra.toInt()), QVariant(), QStringLiteral("esti.csv"),
                     [](const QByteArray &) { return true; });
    } else if (op == QLatin1String("season")) {
        // A season of the plan TARGET saved in the register of plans: EXTRA "yyyy-MM-dd:yyyy-MM-dd".
        const QString plan = planName(target);
        savePlanRegister(1, [&](TFNomCenovi &window) {
            window.cbSeasonPlan->setEditText(plan);
            window.edSeasonName->setText(QStringLiteral("Сезон %1").arg(QCoreApplication::applicationPid()));
            window.dtSeasonFrom->setDate(QDate::fromString(extra.section(QLatin1Char(':'), 0, 0), Qt::ISODate));
            window.dtSeasonTo->setDate(QDate::fromString(extra.section(QLatin1Char(':'), 1), Qt::ISODate));
        });
    } else if (op == QLatin1String("planname")) {
        // A new plan named EXTRA TARGET.
        savePlanRegister(0, [&](TFNomCenovi &window) {
            window.edPlanName->setText(QStringLiteral("%1 %2").arg(extra).arg(target));
            window.cbPlanCurrency->setEditText(QStringLiteral("EUR"));
        });
    } else if (op == QLatin1String("price")) {
        // A price of the plan TARGET's first season for two in a double room: EXTRA "MASK:AMOUNT".
        const QString plan = planName(target);
        savePlanRegister(2, [&](TFNomCenovi &window) {
            window.cbPricePlan->setEditText(plan);
            window.cbPriceSeason->setEditText(QStringLiteral("Година"));
            window.cbPriceRoomType->setEditText(QStringLiteral("Двойна"));
            window.cbPriceAdults->setEditText(QStringLiteral("2"));
            const int mask = extra.section(QLatin1Char(':'), 0, 0).toInt();
            for (int day = 1; day <= 7; ++day)
                window.chkPriceDays.at(day - 1)->setChecked(mask & RatePlans::WeekdayBit(day));
            window.edPriceAmount->setText(extra.section(QLatin1Char(':'), 1));
        });
    } else if (op == QLatin1String("restrict")) {
        // The plan TARGET's least nights for a range of days: EXTRA "yyyy-MM-dd:yyyy-MM-dd:NIGHTS".
        const QString plan = planName(target);
        savePlanRegister(3, [&](TFNomCenovi &window) {
            window.cbRestrictionPlan->setEditText(plan);
            window.dtRestrictionFrom->setDate(QDate::fromString(extra.section(QLatin1Char(':'), 0, 0), Qt::ISODate));
            window.dtRestrictionTo->setDate(QDate::fromString(extra.section(QLatin1Char(':'), 1, 1), Qt::ISODate));
            window.edRestrictionMin->setText(extra.section(QLatin1Char(':'), 2));
        });
    } else if (op == QLatin1String("childband")) {
        // A children's band of every hotel, ages "FROM:TO" in EXTRA, free.
        savePlanRegister(4, [&](TFNomCenovi &window) {
            window.edChildFrom->setText(extra.section(QLatin1Char(':'), 0, 0));
            window.edChildTo->setText(extra.section(QLatin1Char(':'), 1));
            window.cbChildRule->setEditText(msgChildFree);
        });
    } else if (op == QLatin1String("close")) {
        SetRoomStates({target}, rsOutOfService, QStringLiteral("ремонт"),
                      QDate::fromString(extra.section(QLatin1Char(':'), 0, 0), Qt::ISODate),
                      QDate::fromString(extra.section(QLatin1Char(':'), 1), Qt::ISODate));
    } else
        throw Exception(QStringLiteral("unknown operation ") + op);
}

int desk(const QStringList &a)
{
    TDM dm;
    if (!TADOComunicationControl().ConnectFromSettings()) {
        say(QStringLiteral("no connection"));
        return 1;
    }
    const QString op = a.at(0);
    const QStringList targets = a.at(1).split(QLatin1Char(','));
    const qint64 start = a.at(2).toLongLong(), period = a.at(3).toLongLong();
    const QString extra = a.value(4);
    for (int r = 0; r < targets.size(); ++r) {
        waitUntil(start + r * period);
        QString result = QStringLiteral("done");
        try {
            deskOperation(op, targets.at(r).toInt(), extra);
        } catch (const EFrontDeskRefused &refusal) {
            result = QStringLiteral("refused ") + refusal.Message();
        } catch (const Exception &error) {
            result = error.Message().contains(msgDatabaseBusy) ? QStringLiteral("busy")
                                                               : QStringLiteral("failed ") + error.Message();
        }
        LocalConnection().RollbackIfOpen();
        say(QStringLiteral("round %1 %2").arg(r).arg(result.simplified()));
    }
    return 0;
}

// Saves on and on while the server goes away and comes back.
int charges(const QStringList &a)
{
    TDM dm;
    if (!TADOComunicationControl().ConnectFromSettings()) {
        say(QStringLiteral("no connection"));
        return 1;
    }
    QStringList notices;
    TADOConnection::SetConnectionNotice([&](bool up) { notices.append(up ? QStringLiteral("up") : QStringLiteral("down")); });
    const int booking = a.at(0).toInt(), service = a.at(1).toInt();
    const qint64 end = QDateTime::currentMSecsSinceEpoch() + a.at(2).toLongLong(), period = a.at(3).toLongLong();
    for (int i = 0; QDateTime::currentMSecsSinceEpoch() < end; ++i) {
        const qint64 next = QDateTime::currentMSecsSinceEpoch() + period;
        QString result = QStringLiteral("done");
        try {
            FrontDesk::Charge(booking, service, TDecimal(1), FrontDesk::Today());
        } catch (const EDatabaseCommitUnknown &) {
            result = QStringLiteral("unknown");
        } catch (const EDatabaseConnectionLost &) {
            result = QStringLiteral("lost");
        } catch (const Exception &error) {
            result = QStringLiteral("failed ") + error.Message();
        }
        LocalConnection().RollbackIfOpen();
        say(QStringLiteral("%1 %2").arg(i).arg(result.simplified()));
        waitUntil(next);
    }
    say(QStringLiteral("notices ") + notices.join(QLatin1Char(',')));
    TADOConnection::SetConnectionNotice({});
    return 0;
}

int tryLogin(const QStringList &a)
{
    TDM dm;
    if (!TADOComunicationControl().ConnectFromSettings()) {
        say(QStringLiteral("no connection"));
        return 1;
    }
    waitUntil(a.at(2).toLongLong());
    try {
        const Operators::TLogin login = Operators::LogIn(a.at(0), a.at(1));
        say(login.Outcome == Operators::loAccepted       ? QStringLiteral("accepted")
            : login.Outcome == Operators::loRefusedForNow ? QStringLiteral("refused")
                                                          : QStringLiteral("wrong"));
    } catch (const Exception &error) {
        say(QStringLiteral("failed ") + error.Message());
    }
    return 0;
}

int deactivate(const QStringList &a)
{
    TDM dm;
    if (!TADOComunicationControl().ConnectFromSettings()) {
        say(QStringLiteral("no connection"));
        return 1;
    }
    Rights::SetCurrent(a.at(0).toInt(), Rights::Full());
    waitUntil(a.at(2).toLongLong());
    try {
        Operators::SetActive(a.at(1).toInt(), false);
        say(QStringLiteral("done"));
    } catch (const EOperatorRefused &refusal) {
        say(QStringLiteral("refused ") + refusal.Message());
    } catch (const Exception &error) {
        say(QStringLiteral("failed ") + error.Message());
    }
    return 0;
}

// A bar dragged on the chart as a person drags it: press, moves, release.
int chart(const QStringList &a)
{
    TDM dm;
    if (!TADOComunicationControl().ConnectFromSettings()) {
        say(QStringLiteral("no connection"));
        return 1;
    }
    const int stay = a.at(0).toInt(), room = a.at(1).toInt();
    const qint64 start = a.at(3).toLongLong();
    TSystemWinOS::SetMessageBoxHandler([](const QString &text, const QString &, int flags) {
        boxes.append(text);
        return int((flags & 0x0F) == 4 ? TSystemWinOS::IDYES : TSystemWinOS::IDOK);
    });
    TFShahmatka window;
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.SetDefaults(QDate::fromString(a.at(2), Qt::ISODate), QString());
    window.resize(1200, 700);
    window.show();
    window.InitializeWindow();
    QWidget *area = window.View->viewport();
    const QPoint from = window.BarRect(stay).center();
    const QPoint to(from.x(), window.CellCenter(room, window.From()).y());
    if (from.x() < 0 || to.y() < 0) {
        say(QStringLiteral("failed no bar or row"));
        return 0;
    }
    auto mouse = [area](QEvent::Type type, const QPoint &at, Qt::MouseButtons held) {
        QMouseEvent event(type, at, area->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(area, &event);
    };
    waitUntil(start);
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    mouse(QEvent::MouseMove, QPoint(from.x(), (from.y() + to.y()) / 2), Qt::LeftButton);
    mouse(QEvent::MouseMove, to, Qt::LeftButton);
    const bool allowed = window.DragAllowed();
    const QString why = window.DragReason();
    const int before = int(errorLogs.size());
    mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    LocalConnection().RollbackIfOpen();
    if (!allowed)
        say(QStringLiteral("refused before the drop ") + why.simplified());
    else if (errorLogs.size() > before && errorLogs.constLast().contains(msgDatabaseBusy))
        say(QStringLiteral("busy"));
    else if (boxes.size() >= 2)
        say(QStringLiteral("refused ") + boxes.constLast().simplified());  // the question, then the refusal
    else if (boxes.size() == 1 && errorLogs.size() == before)
        say(QStringLiteral("done"));
    else
        say(QStringLiteral("failed ") + (boxes + errorLogs).join(QLatin1Char('|')).simplified());
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    TKalvApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2)
        return 2;
    DataFolder = args.at(1);
    TDLLSafeCall::SetLibraryFolder(QCoreApplication::applicationDirPath());
    FillCatalogue(slBulgarian);
    // A workstation at work: an operator who may do everything is logged in.
    Rights::SetCurrent(0, Rights::Full());
    TSystemWinOS::SetMessageBoxHandler([](const QString &text, const QString &, int) {
        boxes.append(text);
        return int(TSystemWinOS::IDOK);
    });
    TExceptionLogs::SetShowHandler([](TExceptionLogs &window) {
        errorLogs.append(window.Text());
    });
    if (args.first() == QLatin1String("book") && (args.size() == 10 || args.size() == 11))
        return book(args.mid(2));
    if (args.first() == QLatin1String("extend") && args.size() == 9)
        return extend(args.mid(2));
    if (args.first() == QLatin1String("move") && args.size() == 10)
        return move(args.mid(2));
    if (args.first() == QLatin1String("desk") && (args.size() == 6 || args.size() == 7))
        return desk(args.mid(2));
    if (args.first() == QLatin1String("charges") && args.size() == 6)
        return charges(args.mid(2));
    if (args.first() == QLatin1String("login") && args.size() == 5)
        return tryLogin(args.mid(2));
    if (args.first() == QLatin1String("deactivate") && args.size() == 5)
        return deactivate(args.mid(2));
    if (args.first() == QLatin1String("chart") && args.size() == 6)
        return chart(args.mid(2));
    if (args.first() == QLatin1String("save-settings"))
        return saveSettings();
    return 2;
}
