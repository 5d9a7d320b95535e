// The benchmark's driver: makes a hotel of its own and times the program's real entry points
// against the bare statements they run, on the same database file. Run by scripts/bench in a
// throw-away home.
//
//   kalv_bench hotel ROOMS STAYS    a demonstration hotel grown to ROOMS placed rooms in four
//                                   hotels and STAYS stays, back to back per room
//   kalv_bench measure RUNS         one line "operation,program ms,bare ms" per entry point,
//                                   each the median of RUNS runs, program and bare alternating
//   kalv_bench startup START-MS     the program's own entry as a user meets it: prints
//                                   "start to login", "login to main window" (ms), resident
//                                   memory after the first tick (MB) and the processor time of
//                                   the idle main window over five seconds (%)

#include "desk/URights.h"
#include "admin/UDatabaseSetup.h"
#include "admin/UDemoData.h"
#include "data/UADOComunicationControl.h"
#include "data/UDM.h"
#include "data/UBackup.h"
#include "data/UDbEngine.h"
#include "data/USchemaUpgrade.h"
#include "data/UGuestSearch.h"
#include "desk/UFrontDesk.h"
#include "errors/UExceptionLogs.h"
#include "framework/UFormatSettings.h"
#include "startup/KalvCM.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/USystemWinOS.h"
#include "windows/Hotel.h"
#include "desk/UReports.h"
#include "windows/UFolio.h"
#include "windows/UNastaniavane.h"
#include "windows/UNomStai.h"
#include "windows/UTarsene.h"
#include "windows/UOperReservation.h"
#include "windows/UShahmatka.h"
#include "windows/URoomBoard.h"
#include "windows/UUserLogin.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSqlError>
#include <QSqlRecord>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <sys/resource.h>

namespace {

void say(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

void quietWindows()
{
    TSystemWinOS::SetMessageBoxHandler([](const QString &, const QString &, int) { return int(TSystemWinOS::IDOK); });
    TExceptionLogs::SetShowHandler(
        [](TExceptionLogs &window) { std::fprintf(stderr, "error log: %s\n", qPrintable(window.Text())); });
}

bool connect()
{
    LocalConnection().Close();
    return TADOComunicationControl().ConnectFromSettings();
}

// ---- the hotel

// Names as a hotel's guests have them: few first names, many family names.
QString guestName(QRandomGenerator &random)
{
    static const QStringList first = {"Иван", "Мария", "Георги", "Елена", "Димитър", "Йорданка", "Петър", "Анна",
                                      "Николай", "Виктория", "Stefan", "Anna", "Jürgen", "Ольга", "Сергей"};
    static const QStringList family = [] {
        const QStringList roots = {"Петр", "Иван", "Георги", "Димитр", "Стоян", "Тодор", "Атанас", "Христ", "Никол",
                                   "Васил", "Костадин", "Марин", "Стефан", "Ангел", "Кирил", "Методи", "Борис",
                                   "Симеон", "Калоян", "Асен"};
        const QStringList endings = {"ов", "ова", "ев", "ева", "ски", "ска", "чев", "чева", "анов", "анова"};
        QStringList names;
        for (const QString &root : roots)
            for (const QString &ending : endings)
                names.append(root + ending);
        return names;
    }();
    return first.at(random.bounded(first.size())) + QLatin1Char(' ') + family.at(random.bounded(family.size()));
}

QString timestamp(const QDate &day) { return day.startOfDay().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }

void run(QSqlQuery &query, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec())
        throw Exception(query.lastError().text());
}

// A demonstration hotel grown to ROOMS rooms in four hotels and STAYS stays back to back per
// room, the latest around today; ten stays to a booking (a guest who comes back to the same
// room), a breakfast charge for every fourth stay, one payment per booking, a few cancelled.
int makeHotel(int rooms, int stays)
{
    DemoData::WriteEmbeddedSettings();
    DemoData::Prepare(TSystemWinOS::DeliveredFolder() + QStringLiteral("sql/"));
    if (!connect())
        return 1;
    TADOConnection &connection = LocalConnection();
    QSqlDatabase db = connection.Database();
    QSqlQuery q(db);
    db.transaction();
    q.exec(QStringLiteral("DELETE FROM Klients"));
    q.exec(QStringLiteral("DELETE FROM Rooms"));
    q.exec(QStringLiteral("DELETE FROM Rezervacii"));
    q.exec(QStringLiteral("DELETE FROM Plashtania"));
    q.exec(QStringLiteral("DELETE FROM DumiImena"));
    for (int h = 2; h <= 4; ++h)
        q.exec(QStringLiteral("INSERT INTO HotelBuild (q1, q10) VALUES (%1, 'Хотел %1')").arg(h));
    QSqlQuery room(db);
    room.prepare(QStringLiteral("INSERT INTO Rooms (q44, q46, q51, q48, q79, q1, q42, q81, q82, q83, q84) "
                                "VALUES (?, 60, 1, 1, 2, ?, 1, 54, 40, ?, ?)"));
    for (int i = 0; i < rooms; ++i) {
        const int hotel = 1 + i * 4 / rooms;
        run(room, {QString::number(hotel * 1000 + i % (rooms / 4 + 1)), hotel, (i / 40) * 46, (i % 40) * 58});
    }
    int firstRoom = 1;
    if (q.exec(QStringLiteral("SELECT MIN(q47) FROM Rooms")) && q.next())
        firstRoom = q.value(0).toInt();
    // The stays back to back per room, then written in the order a hotel writes them: by day.
    struct TPlan {
        int Room, Hotel, Booking, Nights, Status;
        QDate Arrive, Leave;
    };
    QRandomGenerator random(20261209);
    const QDate today = QDate::currentDate();
    const int perRoom = qMax(1, stays / rooms);
    QList<TPlan> plans;
    plans.reserve(stays);
    for (int i = 0; i < rooms && plans.size() < stays; ++i) {
        const int hotel = 1 + i * 4 / rooms;
        QDate leave = today.addDays(random.bounded(-1, 4));
        for (int n = 0; n < perRoom && plans.size() < stays; ++n) {
            const int nights = random.bounded(1, 6);
            const QDate arrive = leave.addDays(-nights);
            const int roll = random.bounded(100);
            const int status = arrive > today    ? FrontDesk::ssReserved
                               : leave > today   ? FrontDesk::ssInHouse
                               : roll < 2        ? FrontDesk::ssCancelled
                               : roll < 3        ? FrontDesk::ssNoShow
                                                 : FrontDesk::ssDeparted;
            plans.append({firstRoom + i, hotel, int(plans.size() / 10), nights, status, arrive, leave});
            leave = arrive.addDays(-random.bounded(0, 3));
        }
    }
    // A guest who comes back to the same room ten times: one booking, entered before the first stay.
    const int count = int((plans.size() + 9) / 10);
    QList<QDate> entered(count, today);
    for (const TPlan &plan : plans)
        entered[plan.Booking] = std::min(entered.at(plan.Booking), plan.Arrive.addDays(-10));
    QSqlQuery word(db), stay(db), charge(db), payment(db);
    word.prepare(QStringLiteral("INSERT INTO DumiImena (q162, q124) VALUES (?, ?)"));
    QList<int> numbers(count);
    QStringList names(count), personal(count);
    for (int b = 0; b < count; ++b) {
        names[b] = guestName(random);
        personal[b] = QString::number(7000000000LL + (b + 1) * 7LL);
        numbers[b] = connection.InsertReturningIdentity(
            QStringLiteral("Rezervacii"), {"q1", "q29", "q28", "q133", "q57", "q128", "q136"},
            QStringLiteral("VALUES (?, ?, ?, ?, 1, 1, ?)"),
            {plans.at(b * 10).Hotel, names.at(b), personal.at(b), QStringLiteral("P%1").arg(b + 1, 7, 10, QLatin1Char('0')),
             timestamp(entered.at(b))});
        for (const QString &folded : GuestSearch::Words(names.at(b)))
            run(word, {folded, numbers.at(b)});
    }
    std::stable_sort(plans.begin(), plans.end(), [](const TPlan &a, const TPlan &b) { return a.Arrive < b.Arrive; });
    stay.prepare(QStringLiteral("INSERT INTO Klients (q1, q28, q29, q27, q30, q31, q39, q34, q35, q51, q47, q57, q70, "
                                "q71, q124, q125) VALUES (?, ?, ?, ?, 46, 'Мъж', ?, ?, ?, 1, ?, 1, 60, ?, ?, ?)"));
    charge.prepare(QStringLiteral("INSERT INTO Klients (q1, q28, q29, q33, q42, q39, q70, q71, q27, q124, q125, q57) "
                                  "VALUES (?, ?, ?, 'Закуска', '4', ?, 10, ?, ?, ?, 0, 1)"));
    QList<int> paid(count, 0);
    QList<QDate> lastDeparture(count);
    for (int i = 0; i < plans.size(); ++i) {
        const TPlan &plan = plans.at(i);
        const int b = plan.Booking;
        run(stay, {plan.Hotel, personal.at(b), names.at(b), 60 * plan.Nights, timestamp(plan.Arrive), timestamp(plan.Arrive),
                   timestamp(plan.Leave), plan.Room, plan.Nights, numbers.at(b), plan.Status});
        if (plan.Status > FrontDesk::ssDeparted)
            continue;
        paid[b] += 60 * plan.Nights;
        lastDeparture[b] = std::max(lastDeparture.at(b), plan.Leave);
        if (i % 4 == 0) {
            run(charge, {plan.Hotel, personal.at(b), names.at(b), timestamp(plan.Arrive.addDays(1)), plan.Nights,
                         10 * plan.Nights, numbers.at(b)});
            paid[b] += 10 * plan.Nights;
        }
    }
    payment.prepare(QStringLiteral("INSERT INTO Plashtania (q124, q140, q57, q141, q142, q128, q136) "
                                   "VALUES (?, ?, 1, 1, 0, 1, ?)"));
    for (int b = 0; b < count; ++b)
        if (paid.at(b) > 0)
            run(payment, {numbers.at(b), paid.at(b), timestamp(lastDeparture.at(b))});
    const int made = int(plans.size());
    db.commit();
    DatabaseSetup::EnsureIndexes();
    say(QStringLiteral("hotel: %1 rooms, %2 stays, %3 bookings").arg(rooms).arg(made).arg(count));
    return 0;
}

// ---- timing

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

double timed(const std::function<void()> &work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return double(clock.nsecsElapsed()) / 1e6;
}

QString onlyRows;  // measure only the rows whose name holds this text

// Program, bare and limit runs alternate, so that none has the warmer cache for long. The bare
// side runs the program's own statements; the limit, the best statement a hand-tuned program
// would run for the same answer, with the best index there is.
void compare(const QString &name, int runs, const std::function<void(int)> &program,
             const std::function<void(int)> &bare, const std::function<void(int)> &limit = {})
{
    if (!name.contains(onlyRows))
        return;
    QList<double> a, b, c;
    for (int run = 0; run < runs; ++run) {
        a.append(timed([&] { program(run); }));
        b.append(bare ? timed([&] { bare(run); }) : 0.0);
        c.append(limit ? timed([&] { limit(run); }) : 0.0);
    }
    say(QStringLiteral("%1,%2,%3,%4")
            .arg(name)
            .arg(median(a), 0, 'f', 3)
            .arg(bare ? median(b) : 0.0, 0, 'f', 3)
            .arg(limit ? median(c) : 0.0, 0, 'f', 3));
}

// The rows of a statement, read as a program would read them, and nothing more.
void bareRows(const QString &sql, const QVariantList &values = {})
{
    TADOConnection &connection = LocalConnection();
    QSqlQuery query(connection.Database());
    query.setForwardOnly(true);
    query.prepare(connection.Engine().TranslateStatement(sql));
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, connection.Engine().BindValue(values.at(i)));
    query.exec();
    const int columns = query.record().count();
    while (query.next())
        for (int c = 0; c < columns; ++c)
            query.value(c);
}

// The same with named values, as the program's register windows bind them.
void bareNamed(const QString &sql, const QList<TParameter> &values)
{
    TADOConnection &connection = LocalConnection();
    QSqlQuery query(connection.Database());
    query.setForwardOnly(true);
    query.prepare(connection.Engine().TranslateStatement(sql));
    for (const TParameter &value : values)
        query.bindValue(QLatin1Char(':') + value.Name, connection.Engine().BindValue(value.Value));
    query.exec();
    const int columns = query.record().count();
    while (query.next())
        for (int c = 0; c < columns; ++c)
            query.value(c);
}

void bareExec(const QString &sql, const QVariantList &values = {})
{
    TADOConnection &connection = LocalConnection();
    QSqlQuery query(connection.Database());
    query.prepare(sql);
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, connection.Engine().BindValue(values.at(i)));
    query.exec();
}

const QString kRooms = QStringLiteral("SELECT * FROM Rooms WHERE ([q83] IS NOT NULL) ");
// The statements the program runs, to the letter (the engine's own prefix aside).
// The tick's statement, to the letter.
const QString kTick = QStringLiteral(
    "SELECT 0 AS part, k.q47, CASE WHEN k.q35 = ? THEN 1 ELSE 0 END, CASE WHEN k.q34 = ? THEN 1 ELSE 0 END, "
    "k.q125, k.q29 FROM [dbo].[KLIENTS] k WHERE  k.q34 <=  ?  AND k.q35 >= ?  AND (k.q125 IS NULL OR k.q125 < 3)"
    " UNION ALL SELECT 1, q47, NULL, NULL, NULL, q29 FROM Klients WHERE q125 = 1 AND q35 < ? AND q47 IS NOT NULL"
    " UNION ALL SELECT 2, q47, NULL, NULL, q129, NULL FROM Rooms WHERE q129 IN (1, 2)"
    " UNION ALL SELECT 3, q47, NULL, NULL, NULL, NULL FROM Zatvoreni WHERE (q157 IS NULL OR q157 <= ?) AND "
    "(q158 IS NULL OR q158 > ?)");
void bareTick(const QDate &day) { bareRows(kTick, {day, day, day, day, day, day, day}); }
const QString kGuests = QStringLiteral(
    " SELECT [q28]    ,[q29]    ,[q27]    ,[q30]    ,[q31]    ,[q32]    ,[q39]    ,[q33]    ,[q34]    ,[q35]    "
    ",[q36]    ,[q37]    ,[q38]    ,[q70]    ,[q71]    ,[q72]    ,[q78]    ,[q109]   ,[q57]    ,[q110]   ,[q111]   "
    ",[q112]   ,[q113]   ,[q115]   ,[q44]  as Rooms_q44    ,[q46]  as Rooms_q46    ,[q49]  as Rooms_q49    ,[q48]  "
    "as Rooms_q48    ,[q79]  as Rooms_q79    ,[q81]  as Rooms_q81    ,[q82]  as Rooms_q82    ,[q83]  as Rooms_q83    "
    ",[q84]  as Rooms_q84  FROM [Klients] k  INNER JOIN Rooms r ON(r.q47=k.q47) WHERE  k.q34 <=  ?  AND "
    "k.q35 >= ?  AND k.q47 = ? ");

// What the board shows in one statement, each part on its best index, the days compared by the
// server: the stays that cover the day (leaving and arriving as flags), guests in house past
// their departure, rooms not clean, closures.
void bestTick(const QDate &day)
{
    bareRows(QStringLiteral("SELECT q47, CASE WHEN q35 = ? THEN 1 ELSE 0 END, CASE WHEN q34 = ? THEN 1 ELSE 0 END, q125, q29 "
                            "FROM Klients WHERE q35 >= ? AND q34 <= ? AND (q125 IS NULL OR q125 < 3) "
                            "UNION ALL SELECT q47, 2, 0, q125, q29 FROM Klients WHERE q125 = 1 AND q35 < ? AND q47 IS NOT NULL "
                            "UNION ALL SELECT q47, 3, 0, q129, NULL FROM Rooms WHERE q129 IN (1, 2) "
                            "UNION ALL SELECT q47, 4, 0, NULL, NULL FROM Zatvoreni WHERE (q157 IS NULL OR q157 <= ?) AND "
                            "(q158 IS NULL OR q158 > ?)"),
             {day, day, day, day, day, day, day});
}

const QString kConflict = QStringLiteral(
    " SELECT  q34,q35,q47,q1 FROM Klients  WHERE  q34 < ?  AND  q35 > ?  AND q47 = ?  AND (q125 IS NULL OR q125 < 3) ");

void fillGuest(TFOperReservation &window, const QString &room, const QDate &from, const QDate &to)
{
    window.edContragentName->setText(QStringLiteral("Гост"));
    window.edContragentID->setText(QStringLiteral("8001011234"));
    window.cbTarife->setEditText(QStringLiteral("Основна"));
    window.cbCurrency->setEditText(QStringLiteral("BGN"));
    window.cbHotel->setEditText(QStringLiteral("Хотел Калв"));
    window.cbRoomNumber->setEditText(room);
    window.cbService->setEditText(QString());
    window.DateTimePicker1->setDate(from);
    window.DateTimePicker2->setDate(to);
}

// ---- the search, the folio, the arrivals list, the reports

const QString kSearchColumns = QStringLiteral(
    "SELECT b.q124, k.q123, b.q29, b.q28, b.q133, h.q10, r.q44, k.q34, k.q35, k.q125 FROM Rezervacii b "
    "LEFT JOIN HotelBuild h ON (h.q1 = b.q1) LEFT JOIN Klients k ON (k.q124 = b.q124 AND k.q47 IS NOT NULL) "
    "LEFT JOIN Rooms r ON (r.q47 = k.q47) ");

void measureSearch(int runs)
{
    TADOConnection &connection = LocalConnection();
    const QDate today = QDate::currentDate();
    const int bookings = connection.Column(QStringLiteral("SELECT MAX(q124) FROM Rezervacii")).value(0).toInt();
    const QString room = connection.Column(QStringLiteral("SELECT MIN(q44) FROM Rooms")).value(0).toString();
    const QString someone = connection.Column(QStringLiteral("SELECT q28 FROM Rezervacii WHERE q124 = ?"), {bookings / 2}).value(0).toString();
    const QString passport = connection.Column(QStringLiteral("SELECT q133 FROM Rezervacii WHERE q124 = ?"), {bookings / 3}).value(0).toString();
    TFTarsene search;
    search.setAttribute(Qt::WA_DeleteOnClose, false);
    const QString best = kSearchColumns + QStringLiteral("WHERE ");
    struct TKind {
        QString Name, Text, Limit;
        QVariantList Values;
    };
    const QList<TKind> kinds = {
        {QStringLiteral("booking number"), QString::number(bookings / 4), best + QStringLiteral("b.q124 = ?"), {bookings / 4}},
        {QStringLiteral("room number"), room,
         connection.Engine().FirstRows(QStringLiteral("SELECT b.q124, k.q123, b.q29, b.q28, b.q133, r.q44, k.q34, k.q35, k.q125 "
                                                      "FROM Rooms r INNER JOIN Klients k ON (k.q47 = r.q47) INNER JOIN "
                                                      "Rezervacii b ON (b.q124 = k.q124) WHERE r.q44 = ? ORDER BY k.q124 DESC"),
                                       GuestSearch::PageRows + 1),
         {room}},
        {QStringLiteral("personal number"), someone, best + QStringLiteral("b.q28 = ?"), {someone}},
        {QStringLiteral("passport"), passport, best + QStringLiteral("b.q133 = ?"), {passport}},
        {QStringLiteral("name prefix"), QStringLiteral("Петро"),
         connection.Engine().FirstRows(
             best + QStringLiteral("b.q124 IN (SELECT q124 FROM (") +
                 connection.Engine().FirstRows(QStringLiteral("SELECT q124 FROM DumiImena WHERE q162 >= ? AND q162 <= ? "
                                                              "ORDER BY q124 DESC"),
                                               GuestSearch::PageRows + 1) +
                 QStringLiteral(") AS n) ORDER BY b.q124 DESC, k.q34"),
             GuestSearch::PageRows + 1),
         {QStringLiteral("петро"), QStringLiteral("петро") + QChar(0xFFFF)}}};
    for (const TKind &kind : kinds) {
        const GuestSearch::TStatement statement = GuestSearch::Statement(connection, kSearchColumns, kind.Text, GuestSearch::PageRows);
        compare(QStringLiteral("search: ") + kind.Name, runs,
                [&](int) { search.Search(TFTarsene::scText, kind.Text, today); },
                [&](int) { bareNamed(statement.Sql, statement.Parameters); },
                [&](int) { bareRows(kind.Limit, kind.Values); });
    }
}

void measureDesk(int runs, const QDate &today)
{
    TADOConnection &connection = LocalConnection();
    const int booking = connection.Column(QStringLiteral("SELECT MAX(q124) FROM Klients WHERE q125 = 1")).value(0).toInt();
    compare(QStringLiteral("folio open"), runs,
            [&](int) {
                TFFolio folio;
                folio.SetBooking(booking);
                folio.InitializeWindow();
            },
            [&](int) {
                bareRows(QStringLiteral("SELECT * FROM Rezervacii WHERE q124 = ?"), {booking});
                bareRows(QStringLiteral("SELECT * FROM Klients k LEFT JOIN Rooms r ON (r.q47 = k.q47) WHERE k.q124 = ?"), {booking});
                bareRows(QStringLiteral("SELECT * FROM Plashtania WHERE q124 = ?"), {booking});
                bareRows(QStringLiteral("SELECT * FROM Dnevnik WHERE q124 = ?"), {booking});
            });
    compare(QStringLiteral("check-in list"), runs,
            [&](int) {
                TFNastaniavane arrivals;
                arrivals.SetDay(today);
                arrivals.InitializeWindow();
            },
            [&](int) {
                bareRows(QStringLiteral("SELECT k.q123, k.q124, r.q44, k.q29, k.q34, k.q35, k.q71, k.q27 FROM Klients k "
                                        "INNER JOIN Rooms r ON (r.q47 = k.q47) WHERE k.q125 = 0 AND k.q34 <= ? "
                                        "AND k.q35 > ? ORDER BY k.q34, r.q44"),
                         {today, today});
            });
}

// Each report for the month so far and for the year to today, against the statement that
// reads its stays.
// The reservation chart of every room for a month the hotel was full (five weeks back): opened,
// scrolled a screen at a time, zoomed, and refreshed with nothing changed. The bare side reads
// what the chart reads.
void measureChart(int runs, const QDate &today)
{
    const QDate first = today.addDays(-35);
    const QDate end = first.addDays(first.daysInMonth());
    const QString touches = QStringLiteral(" k.q35 > ? AND k.q34 < ? AND k.q47 IS NOT NULL AND (k.q125 IS NULL OR k.q125 <> 3)");
    const QVariantList days = {first, end};
    auto bare = [&] {
        bareRows(QStringLiteral("SELECT r.q47, r.q1, h.q10, r.q44, r.q129 FROM Rooms r LEFT JOIN HotelBuild h ON (h.q1 = r.q1)"));
        bareRows(QStringLiteral("SELECT k.q123, k.q124, k.q47, k.q34, k.q35, k.q125, k.q155, k.q29, k.q71, k.q27 FROM "
                                "Klients k WHERE") + touches, days);
        bareRows(QStringLiteral("SELECT c.q124, SUM(c.q27) FROM Klients c WHERE c.q124 IN (SELECT k.q124 FROM Klients k "
                                "WHERE") + touches + QStringLiteral(") AND (c.q47 IS NULL OR ") +
                     FrontDesk::HoldsNights(QStringLiteral("c.")) + QStringLiteral(") GROUP BY c.q124"), days);
        bareRows(QStringLiteral("SELECT p.q124, p.q141, SUM(p.q140) FROM Plashtania p WHERE p.q124 IN (SELECT k.q124 FROM "
                                "Klients k WHERE") + touches + QStringLiteral(") GROUP BY p.q124, p.q141"), days);
        bareRows(QStringLiteral("SELECT q47, q159, q157, q158, q130 FROM Zatvoreni WHERE (q158 IS NULL OR q158 > ?) AND "
                                "(q157 IS NULL OR q157 < ?)"), days);
    };
    auto open = [&] {
        auto chart = std::make_unique<TFShahmatka>();
        chart->setAttribute(Qt::WA_DeleteOnClose, false);
        chart->resize(1400, 900);
        chart->SetDefaults(first, QString());
        chart->SetSpan(TFShahmatka::spMonth);
        chart->show();
        chart->InitializeWindow();
        chart->View->viewport()->grab();  // painted as a screen shows it
        return chart;
    };
    compare(QStringLiteral("chart: open every room for a full month"), qMax(3, runs / 3), [&](int) { open(); },
            [&](int) { bare(); });
    const QStringList later = {QStringLiteral("chart: scroll a screen down"), QStringLiteral("chart: zoom a step"),
                               QStringLiteral("chart: refresh with nothing changed")};
    if (std::none_of(later.cbegin(), later.cend(), [](const QString &name) { return name.contains(onlyRows); }))
        return;
    const std::unique_ptr<TFShahmatka> chart = open();
    QScrollBar *rows = chart->View->verticalScrollBar();
    std::fprintf(stderr, "chart: %d bars, %d rooms, %d pixels down\n", int(chart->Snapshot().Bars.size()),
                 int(chart->Snapshot().Rooms.size()), rows->maximum());
    compare(later.at(0), runs * 2,
            [&](int run) {
                rows->setValue((run % 40) * rows->pageStep());
                chart->View->viewport()->grab();
            },
            {});
    compare(later.at(1), runs * 2,
            [&](int run) {
                chart->Zoom(run % 2 ? 0.8 : 1.25);
                chart->View->viewport()->grab();
            },
            {});
    compare(later.at(2), runs, [&](int) { chart->Refresh(); },
            [&](int) { bare(); });
}

void measureReports(int runs, const QDate &today)
{
    const QString stays = QStringLiteral(
        "SELECT k.q123, k.q124, k.q47, k.q1, r.q44, h.q10, k.q29, k.q28, k.q31, k.q34, k.q35, k.q125, k.q70, k.q27, "
        "k.q128, k.q32, k.q155, b.q28, b.q133, b.q29 FROM Klients k LEFT JOIN Rooms r ON (r.q47 = k.q47) "
        "LEFT JOIN HotelBuild h ON (h.q1 = k.q1) LEFT JOIN Rezervacii b ON (b.q124 = k.q124) WHERE k.q47 IS NOT NULL "
        "AND k.q34 <= ? AND k.q35 >= ?");
    const QList<QPair<QString, QDate>> periods = {{QStringLiteral("month"), QDate(today.year(), today.month(), 1)},
                                                  {QStringLiteral("year"), today.addDays(-364)}};
    for (const Reports::TDefinition &definition : Reports::Definitions())
        for (const auto &[span, from] : periods) {
            if (!definition.Period && span == QLatin1String("year"))
                continue;
            const Reports::TParams params{definition.Period ? from : today, today, QVariant()};
            compare(QStringLiteral("report: ") + definition.Name + QLatin1Char(' ') + (definition.Period ? span : QStringLiteral("day")),
                    runs, [&](int) { Reports::Run(definition.Id, params); },
                    [&](int) { bareRows(stays, {params.To, params.From}); });
        }
}

// A backup, a restore of it, and the upgrade that the last schema version brought (the names'
// words and the board's index made again on the whole hotel); none has a bare statement, the
// backup and the restore are set against a copy of the file where the engine keeps one.
void measureMaintenance(int runs)
{
    TADOConnection &connection = LocalConnection();
    QTemporaryDir folder;
    const QString backup = folder.filePath(QStringLiteral("bench.backup"));
    const bool embedded = connection.Engine().Name() == QLatin1String("SQLite");
    QString databaseFile;
    if (embedded) {
        QSqlQuery list(connection.Database());
        if (list.exec(QStringLiteral("PRAGMA database_list")) && list.next())
            databaseFile = list.value(2).toString();
    }
    auto copyFile = [&](const QString &from, const QString &to) {
        QFile::remove(to);
        QFile::copy(from, to);
    };
    const std::function<void(int)> bareCopy = embedded ? std::function<void(int)>([&](int) {
        copyFile(databaseFile, folder.filePath(QStringLiteral("copy.sqlite")));
    }) : std::function<void(int)>();
    compare(QStringLiteral("backup"), runs, [&](int) {
        QFile::remove(backup);
        Backup::Take(backup);
    }, bareCopy);
    compare(QStringLiteral("restore"), runs, [&](int) {
        Backup::Restore(backup);
        connect();
    }, bareCopy);
    if (!QStringLiteral("upgrade from the last version").contains(onlyRows))
        return;
    QList<double> times;
    for (int run = 0; run < qMax(1, runs / 5); ++run) {
        connection.Execute(QStringLiteral("UPDATE VersiaBaza SET q150 = ?"), {SchemaVersion - 1});
        connection.Execute(connection.Engine().DropIndexStatement(QStringLiteral("Klients"), QStringLiteral("IX_Klients_Days")));
        connection.Execute(connection.Engine().DropIndexStatement(QStringLiteral("DumiImena"), QStringLiteral("IX_DumiImena_Word")));
        times.append(timed([&] { SchemaUpgrade::BringUpToDate(connection); }));
    }
    say(QStringLiteral("upgrade from the last version,%1,,").arg(median(times), 0, 'f', 3));
}

int measure(int runs)
{
    if (!connect())
        return 1;
    TADOConnection &connection = LocalConnection();
    const QDate today = QDate::currentDate();
    QVariantList roomIds;
    QStringList roomNumbers;
    {
        QSqlQuery q(connection.Database());
        q.exec(QStringLiteral("SELECT q47, q44 FROM Rooms WHERE q1 = 1 ORDER BY q47 LIMIT 64"));
        while (q.next()) {
            roomIds.append(q.value(0));
            roomNumbers.append(q.value(1).toString());
        }
    }
    QWidget canvas;
    QMenu popup;
    QDate day = today;
    TRoomBoard board(&canvas, &popup, [&] { return day; }, [] { return QString(); });

    compare(QStringLiteral("board build"), runs, [&](int) { board.BuildRoomBoard(); }, [&](int) { bareRows(kRooms); });
    board.BuildRoomBoard();  // the ticks mark a board of every room, whichever rows are measured
    board.RefreshRoomBoard();
    compare(QStringLiteral("refresh tick (steady)"), runs, [&](int) { board.RefreshRoomBoard(); },
            [&](int) { bareTick(today); }, [&](int) { bestTick(today); });
    compare(QStringLiteral("refresh tick (marks changing)"), runs,
            [&](int run) {
                day = today.addDays(run % 2 ? -3 : 0);
                board.RefreshRoomBoard();
            },
            [&](int run) {
                bareTick(today.addDays(run % 2 ? -3 : 0));
            },
            [&](int run) { bestTick(today.addDays(run % 2 ? -3 : 0)); });
    day = today;
    compare(QStringLiteral("room click"), runs * 3,
            [&](int run) { board.RoomButtonClick(board.Button(roomIds.at(run % roomIds.size()).toInt())); },
            [&](int run) { bareRows(kGuests, {today, today, roomIds.at(run % roomIds.size())}); });

    auto window = std::make_unique<TFOperReservation>();
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->InitializeWindow();
    compare(QStringLiteral("availability check"), runs * 3,
            [&](int run) { window->IsRoomFree(roomIds.at(run % roomIds.size()).toInt(), today, today.addDays(3)); },
            [&](int run) {
                bareRows(kConflict, {today.addDays(3), today, roomIds.at(run % roomIds.size())});
                bareRows(QStringLiteral(" SELECT  q34,q35,q47,q1 FROM ") + connection.Engine().QuoteIdentifier(window->StagingTableName) +
                             QStringLiteral("  WHERE  q34 < ?  AND  q35 > ?  AND q47 = ?  AND (q125 IS NULL OR q125 < 3) "),
                         {today.addDays(3), today, roomIds.at(run % roomIds.size())});
            },
            [&](int run) {
                bareRows(connection.Engine().FirstRows(QStringLiteral("SELECT 1 FROM Klients WHERE q47 = ? AND q34 < ? AND "
                                                                      "q35 > ? AND (q125 IS NULL OR q125 < 3) ORDER BY q47"), 1),
                         {roomIds.at(run % roomIds.size()), today.addDays(3), today});
            });
    // Rows for later days than anything booked, one room each time, so that none is refused,
    // in a second run on the same hotel too.
    const QDate free =
        std::max(TField(QString(), connection.Column(QStringLiteral("SELECT MAX(q35) FROM Klients")).value(0)).AsDate(), today)
            .addDays(30);
    const QString staging = connection.Engine().QuoteIdentifier(window->StagingTableName);
    compare(QStringLiteral("adding a room row"), runs,
            [&](int run) {
                fillGuest(*window, roomNumbers.at(run % roomNumbers.size()), free.addDays(run * 10),
                          free.addDays(2 + run * 10));
                window->acOperReservationPrepareContragentForReservExecute();
            },
            [&](int run) {
                const QVariant room = roomIds.at(run % roomIds.size());
                bareRows(kConflict, {free.addDays(3 + run * 10), free.addDays(run * 10), room});
                bareRows(QStringLiteral("SELECT q34 FROM ") + staging + QStringLiteral(" WHERE q47 = ?"), {room});
                bareExec(QStringLiteral("INSERT INTO ") + staging + QStringLiteral(" (q1, q29, q34, q35, q47) VALUES (1, 'Гост', ?, ?, ?)"),
                         {free.addDays(10 + run * 10), free.addDays(12 + run * 10), room});
            });
    window->acOperReservationSaveExecute();  // what the last runs staged goes
    bareExec(QStringLiteral("DELETE FROM ") + staging);

    QDate period = free.addDays(20 * runs + 30);
    auto stageThree = [&] {
        for (int r = 0; r < 3; ++r) {
            fillGuest(*window, roomNumbers.at(r), period, period.addDays(2));
            window->acOperReservationPrepareContragentForReservExecute();
        }
    };
    // The bare side writes what the save writes: the booking, its three stays, the name's
    // words and the log row, after the same checks, in one write transaction.
    auto bareSave = [&] {
        connection.BeginWriteTrans();
        connection.Engine().LockRooms(connection, {roomIds.at(0).toInt(), roomIds.at(1).toInt(), roomIds.at(2).toInt()});
        for (int r = 0; r < 3; ++r)
            bareRows(kConflict + QStringLiteral(" AND (q125 IS NULL OR q125 < 3)"), {period.addDays(2), period, roomIds.at(r)});
        const int booking = connection.InsertReturningIdentity(
            QStringLiteral("Rezervacii"), {"q1", "q29", "q28", "q57", "q128", "q136"}, QStringLiteral("VALUES (1, ?, ?, 1, 0, ?)"),
            {QStringLiteral("Гост"), QStringLiteral("8001011234"), QDateTime::currentDateTime()});
        bareExec(QStringLiteral("INSERT INTO DumiImena (q162, q124) VALUES (?, ?)"), {QStringLiteral("гост"), booking});
        for (int r = 0; r < 3; ++r)
            bareExec(QStringLiteral("INSERT INTO Klients (q1, q29, q28, q34, q35, q47, q70, q71, q27, q124, q125, q57) "
                                    "VALUES (1, ?, ?, ?, ?, ?, 60, 2, 120, ?, 0, 1)"),
                     {QStringLiteral("Гост"), QStringLiteral("8001011234"), period, period.addDays(2), roomIds.at(r), booking});
        bareExec(QStringLiteral("INSERT INTO Dnevnik (q136, q128, q144, q145, q146, q124, q147) VALUES (?, 0, 'bench', "
                                "'booking', ?, ?, 'booked')"),
                 {QDateTime::currentDateTime(), booking, booking});
        connection.CommitTrans();
    };
    if (QStringLiteral("saving three staged rooms").contains(onlyRows)) {
        QList<double> program, bare;
        for (int run = 0; run < runs; ++run) {
            stageThree();
            program.append(timed([&] { window->acOperReservationSaveExecute(); }));
            period = period.addDays(5);
            bare.append(timed(bareSave));
            period = period.addDays(5);
        }
        say(QStringLiteral("saving three staged rooms,%1,%2,").arg(median(program), 0, 'f', 3).arg(median(bare), 0, 'f', 3));
    }

    compare(QStringLiteral("opening the rooms register"), runs,
            [&](int) {
                TFNomStai rooms;
                rooms.InitializeWindow();
            },
            [&](int) { bareRows(QStringLiteral("SELECT * FROM Rooms ")); });
    int tables = 0;
    compare(QStringLiteral("opening the reservation window"), runs,
            [&](int) {
                TFOperReservation reservation;
                reservation.InitializeWindow();
            },
            [&](int) {
                const QString name = QStringLiteral("\"#BENCH%1\"").arg(++tables);
                bareExec(connection.Engine().StagingTableStatement(name.mid(1, name.size() - 2)));
                bareRows(QStringLiteral("SELECT * FROM ") + name);
            });
    measureSearch(runs);
    measureDesk(runs, today);
    measureChart(runs, today);
    measureReports(runs, today);
    measureMaintenance(qMax(3, runs / 3));
    return 0;
}

// ---- the program's own start

long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

class TStartWatch : public QObject
{
public:
    explicit TStartWatch(qint64 start) : m_start(start) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show)
            return false;
        if (auto *login = qobject_cast<TFUserLogin *>(watched); login && m_login < 0) {
            m_login = QDateTime::currentMSecsSinceEpoch();
            say(QStringLiteral("start to login window,%1").arg(m_login - m_start));
            QTimer::singleShot(0, login, [login] {
                login->username->setText(QStringLiteral("demo"));
                login->password->setText(QStringLiteral("demo"));
                login->acEnter->trigger();
            });
        } else if (auto *main = qobject_cast<TFHotel *>(watched); main && m_main < 0) {
            m_main = QDateTime::currentMSecsSinceEpoch();
            say(QStringLiteral("login to main window,%1").arg(m_main - m_login));
            QTimer::singleShot(0, main, [main] { Settled(main); });
        }
        return false;
    }

private:
    static void Settled(TFHotel *main)
    {
        main->timerInitRoomStatusTimer();  // the first tick
        QCoreApplication::processEvents();
        say(QStringLiteral("resident memory after the first tick (MB),%1").arg(double(residentKilobytes()) / 1024.0, 0, 'f', 1));
        const double before = processorSeconds();
        QElapsedTimer clock;
        clock.start();
        QTimer::singleShot(5000, main, [main, before, clock] {
            const double used = processorSeconds() - before;
            say(QStringLiteral("idle main window processor (%),%1").arg(100.0 * used / (double(clock.elapsed()) / 1000.0), 0, 'f', 2));
            main->close();
        });
    }
    qint64 m_start;
    qint64 m_login = -1, m_main = -1;
};

} // namespace

int main(int argc, char *argv[])
{
    const QStringList args = [&] {
        QStringList list;
        for (int i = 1; i < argc; ++i)
            list.append(QString::fromLocal8Bit(argv[i]));
        return list;
    }();
    if (args.value(0) == QLatin1String("startup")) {
        // The program's own entry, watched from outside its windows.
        TKalvApplication app(argc, argv);
        TStartWatch watch(args.value(1).toLongLong());
        app.installEventFilter(&watch);
        KalvCM::RunBootstrap();
        return KalvCM::RunEntry(app);
    }
    TKalvApplication app(argc, argv);
    quietWindows();
    KalvCM::RunBootstrap();
    ApplyFixedRegionalFormats();
    TDM dm;
    Rights::SetCurrent(0, Rights::Full());
    if (args.value(0) == QLatin1String("hotel") && args.size() == 3)
        return makeHotel(args.at(1).toInt(), args.at(2).toInt());
    if (args.value(0) == QLatin1String("measure") && (args.size() == 2 || args.size() == 3)) {
        onlyRows = args.value(2);
        return measure(args.at(1).toInt());
    }
    return 2;
}
