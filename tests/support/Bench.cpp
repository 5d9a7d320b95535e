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
#include "data/UDbEngine.h"
#include "errors/UExceptionLogs.h"
#include "framework/UFormatSettings.h"
#include "startup/KalvCM.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/USystemWinOS.h"
#include "windows/Hotel.h"
#include "windows/UNomStai.h"
#include "windows/UOperReservation.h"
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
#include <QSqlRecord>
#include <QSqlQuery>
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

int makeHotel(int rooms, int stays)
{
    DemoData::WriteEmbeddedSettings();
    DemoData::Prepare(TSystemWinOS::DeliveredFolder() + QStringLiteral("sql/"));
    if (!connect())
        return 1;
    TADOConnection &connection = LocalConnection();
    QSqlDatabase db = connection.Database();
    QSqlQuery q(db);
    q.exec(QStringLiteral("BEGIN IMMEDIATE"));
    q.exec(QStringLiteral("DELETE FROM Klients"));
    q.exec(QStringLiteral("DELETE FROM Rooms"));
    for (int h = 2; h <= 4; ++h)
        q.exec(QStringLiteral("INSERT INTO HotelBuild (q1, q10) VALUES (%1, 'Хотел %1')").arg(h));
    QSqlQuery room(db);
    room.prepare(QStringLiteral("INSERT INTO Rooms (q44, q46, q51, q48, q79, q1, q42, q81, q82, q83, q84) "
                                "VALUES (?, 60, 1, 1, 2, ?, 1, 54, 40, ?, ?)"));
    for (int i = 0; i < rooms; ++i) {
        const int hotel = 1 + i * 4 / rooms;
        room.addBindValue(QString::number(hotel * 1000 + i % (rooms / 4 + 1)));
        room.addBindValue(hotel);
        room.addBindValue((i / 40) * 46);
        room.addBindValue((i % 40) * 58);
        room.exec();
    }
    int firstRoom = 1;
    if (q.exec(QStringLiteral("SELECT MIN(q47) FROM Rooms")) && q.next())
        firstRoom = q.value(0).toInt();
    // Stays back to back per room, the latest around today.
    QSqlQuery stay(db);
    stay.prepare(QStringLiteral("INSERT INTO Klients (q1, q28, q29, q27, q30, q31, q39, q34, q35, q51, q47, q57, q70, "
                                "q71) VALUES (?, '8001011234', ?, ?, 46, 'Мъж', ?, ?, ?, 1, ?, 1, 60, ?)"));
    QRandomGenerator random(20261209);
    const QDate today = QDate::currentDate();
    const int perRoom = qMax(1, stays / rooms);
    int made = 0;
    for (int i = 0; i < rooms && made < stays; ++i) {
        const int hotel = 1 + i * 4 / rooms;
        QDate leave = today.addDays(random.bounded(-1, 4));
        for (int n = 0; n < perRoom && made < stays; ++n, ++made) {
            const int nights = random.bounded(1, 6);
            const QDate arrive = leave.addDays(-nights);
            stay.addBindValue(hotel);
            stay.addBindValue(QStringLiteral("Гост %1").arg(made));
            stay.addBindValue(60 * nights);
            stay.addBindValue(arrive.startOfDay().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
            stay.addBindValue(arrive.startOfDay().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
            stay.addBindValue(leave.startOfDay().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
            stay.addBindValue(firstRoom + i);
            stay.addBindValue(nights);
            stay.exec();
            leave = arrive.addDays(-random.bounded(0, 3));
        }
    }
    q.exec(QStringLiteral("COMMIT"));
    DatabaseSetup::EnsureIndexes();
    say(QStringLiteral("hotel: %1 rooms, %2 stays").arg(rooms).arg(made));
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

// Program and bare runs alternate, so that neither has the warmer cache for long.
void compare(const QString &name, int runs, const std::function<void(int)> &program,
             const std::function<void(int)> &bare)
{
    QList<double> a, b;
    for (int run = 0; run < runs; ++run) {
        a.append(timed([&] { program(run); }));
        b.append(bare ? timed([&] { bare(run); }) : 0.0);
    }
    say(QStringLiteral("%1,%2,%3").arg(name).arg(median(a), 0, 'f', 3).arg(bare ? median(b) : 0.0, 0, 'f', 3));
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
const QString kStays = QStringLiteral("SELECT k.q47, k.q35 FROM [dbo].[KLIENTS] k WHERE  k.q34 <=  ?  AND k.q35 >= ? ");
const QString kGuests = QStringLiteral(
    " SELECT [q28]    ,[q29]    ,[q27]    ,[q30]    ,[q31]    ,[q32]    ,[q39]    ,[q33]    ,[q34]    ,[q35]    "
    ",[q36]    ,[q37]    ,[q38]    ,[q70]    ,[q71]    ,[q72]    ,[q78]    ,[q109]   ,[q57]    ,[q110]   ,[q111]   "
    ",[q112]   ,[q113]   ,[q115]   ,[q44]  as Rooms_q44    ,[q46]  as Rooms_q46    ,[q49]  as Rooms_q49    ,[q48]  "
    "as Rooms_q48    ,[q79]  as Rooms_q79    ,[q81]  as Rooms_q81    ,[q82]  as Rooms_q82    ,[q83]  as Rooms_q83    "
    ",[q84]  as Rooms_q84  FROM [Klients] k  INNER JOIN Rooms r ON(r.q47=k.q47) WHERE  k.q34 <=  ?  AND "
    "k.q35 >= ?  AND k.q47 = ? ");
const QString kConflict =
    QStringLiteral(" SELECT  q34,q35,q47,q1 FROM Klients  WHERE  q34 < ?  AND  q35 > ?  AND q47 = ? ");

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
    board.RefreshRoomBoard();
    compare(QStringLiteral("refresh tick (steady)"), runs, [&](int) { board.RefreshRoomBoard(); },
            [&](int) { bareRows(kStays, {today, today}); });
    compare(QStringLiteral("refresh tick (marks changing)"), runs,
            [&](int run) {
                day = today.addDays(run % 2 ? -3 : 0);
                board.RefreshRoomBoard();
            },
            [&](int run) {
                const QDate d = today.addDays(run % 2 ? -3 : 0);
                bareRows(kStays, {d, d});
            });
    day = today;
    compare(QStringLiteral("room click"), runs * 3,
            [&](int run) { board.RoomButtonClick(board.Button(roomIds.at(run % roomIds.size()).toInt())); },
            [&](int run) { bareRows(kGuests, {today, today, roomIds.at(run % roomIds.size())}); });

    auto window = std::make_unique<TFOperReservation>();
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->InitializeWindow();
    compare(QStringLiteral("availability check"), runs * 3,
            [&](int run) { window->IsRoomFree(roomIds.at(run % roomIds.size()).toInt(), today, today.addDays(3)); },
            [&](int run) { bareRows(kConflict, {today.addDays(3), today, roomIds.at(run % roomIds.size())}); });
    // Rows for later days, one room each time, so that none is refused.
    const QString staging = connection.Engine().QuoteIdentifier(window->StagingTableName);
    compare(QStringLiteral("adding a room row"), runs,
            [&](int run) {
                fillGuest(*window, roomNumbers.at(run % roomNumbers.size()), today.addDays(400 + run * 10),
                          today.addDays(402 + run * 10));
                window->acOperReservationPrepareContragentForReservExecute();
            },
            [&](int run) {
                const QVariant room = roomIds.at(run % roomIds.size());
                bareRows(kConflict, {today.addDays(403 + run * 10), today.addDays(400 + run * 10), room});
                bareRows(QStringLiteral("SELECT q34 FROM ") + staging + QStringLiteral(" WHERE q47 = ?"), {room});
                bareExec(QStringLiteral("INSERT INTO ") + staging + QStringLiteral(" (q1, q29, q34, q35, q47) VALUES (1, 'Гост', ?, ?, ?)"),
                         {today.addDays(410 + run * 10), today.addDays(412 + run * 10), room});
            });
    window->acOperReservationSaveExecute();  // what the last runs staged goes
    bareExec(QStringLiteral("DELETE FROM ") + staging);

    int period = 2000;
    auto stageThree = [&] {
        for (int r = 0; r < 3; ++r) {
            fillGuest(*window, roomNumbers.at(r), today.addDays(period), today.addDays(period + 2));
            window->acOperReservationPrepareContragentForReservExecute();
        }
        period += 5;
    };
    QList<double> program, bare;
    for (int run = 0; run < runs; ++run) {
        stageThree();
        program.append(timed([&] { window->acOperReservationSaveExecute(); }));
        bare.append(timed([&] {
            bareExec(QStringLiteral("BEGIN IMMEDIATE"));
            for (int r = 0; r < 3; ++r)
                bareRows(kConflict, {today.addDays(period + 2), today.addDays(period), roomIds.at(r)});
            bareExec(QStringLiteral("INSERT INTO Klients SELECT * FROM ") + staging);
            bareExec(QStringLiteral("DELETE FROM ") + staging);
            bareExec(QStringLiteral("COMMIT"));
        }));
    }
    say(QStringLiteral("saving three staged rooms,%1,%2").arg(median(program), 0, 'f', 3).arg(median(bare), 0, 'f', 3));

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
    if (args.value(0) == QLatin1String("measure") && args.size() == 2)
        return measure(args.at(1).toInt());
    return 2;
}
