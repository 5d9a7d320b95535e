// Four workstations acting on one stay or booking at the same moment, round after round, on
// both engines: afterwards the database itself is asked whether any rule broke.

#include "TestHarness.h"
#include "desk/UInvoices.h"
#include "FiscalStandIn.h"
#include "data/UAdoDb.h"
#include "data/UDM.h"
#include "desk/UFrontDesk.h"
#include "desk/UNights.h"
#include "desk/URatePlans.h"
#include "startup/UConstMessagesHotel.h"

#include <QDateTime>
#include <QProcess>
#include <QtTest>
#include <memory>

namespace {

constexpr int kRounds = 50;
// The register of plans' races take fewer rounds: each round opens the window anew.
constexpr int kRegisterRounds = 10;
constexpr qint64 kPeriod = 120;

} // namespace

class TestDeskRaces : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    QList<int> m_stays, m_bookings;

    QStringList rows(const QString &sql) { return m_db->Rows(sql); }
    void exec(const QString &sql, const QVariantList &values = {}) { m_db->Exec(sql, values); }
    // The first value of a statement whose "?" marks stand for the keys given (integers only).
    int single(QString sql, const QList<int> &keys = {})
    {
        for (int key : keys)
            sql.replace(sql.indexOf('?'), 1, QString::number(key));
        return rows(sql).value(0).section('|', 0, 0).toInt();
    }

    // One booking per round, each with one stay in a room of its own (rooms 1 to 100), from
    // FIRST to LAST days after today, with its status and a payment of 100.
    void prepare(int first, int last, int status)
    {
        m_stays.clear();
        m_bookings.clear();
        const QDate today = QDate::currentDate();
        exec("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски')");
        for (int room = 1; room <= 2 * kRounds; ++room)
            exec("INSERT INTO Rooms (q44, q46, q1, q129) VALUES (?, 60, 1, 0)", {QString::number(100 + room)});
        exec("INSERT INTO KurortniTaksi (q31, q149, q52, q53) VALUES ('Мъж', 1.1, ?, ?)",
             {today.addYears(-1), today.addYears(1)});
        for (int r = 0; r < kRounds; ++r) {
            const int booking = m_db->Connection().InsertReturningIdentity(
                "Rezervacii", {"q1", "q29", "q28", "q31", "q134", "q135"}, "VALUES (1, ?, '7501010000', 'Мъж', 'Варна', 'България')",
                {QString("Гост %1").arg(r)});
            const int nights = last - first;
            const int stay = m_db->Connection().InsertReturningIdentity(
                "Klients", {"q1", "q29", "q31", "q34", "q35", "q47", "q70", "q71", "q27", "q124", "q125", "q126"},
                "VALUES (1, ?, 'Мъж', ?, ?, ?, 60, ?, ?, ?, ?, ?)",
                {QString("Гост %1").arg(r), today.addDays(first), today.addDays(last), r + 1, nights, 60 * nights, booking,
                 status, status == FrontDesk::ssInHouse ? QVariant(QDateTime::currentDateTime()) : QVariant(QMetaType::fromType<QDateTime>())});
            exec("INSERT INTO Plashtania (q124, q140, q141, q142, q136) VALUES (?, 100, 1, 0, ?)",
                 {booking, QDateTime::currentDateTime()});
            m_stays.append(stay);
            m_bookings.append(booking);
        }
    }

    static QString list(const QList<int> &ids)
    {
        QStringList texts;
        for (int id : ids)
            texts.append(QString::number(id));
        return texts.join(',');
    }

    // Runs the workstations, each "OP TARGETS [EXTRA]", at the same moments; per round, what each said.
    QList<QStringList> race(const QList<QStringList> &workstations)
    {
        const qint64 start = QDateTime::currentMSecsSinceEpoch() + 3000;  // every process is up by then
        std::vector<std::unique_ptr<QProcess>> processes;
        for (const QStringList &work : workstations) {
            auto process = std::make_unique<QProcess>();
            process->setProcessEnvironment(m_db->Home().ProcessEnvironment());
            QStringList arguments = {"desk", m_db->Home().DataFolderPath(), work.at(0), work.at(1),
                                     QString::number(start), QString::number(kPeriod)};
            arguments += work.mid(2);
            process->start(TestHome::BuildBinFolder() + "kalv_workstation", arguments);
            processes.push_back(std::move(process));
        }
        QList<QStringList> rounds(kRounds);
        for (auto &process : processes) {
            if (!process->waitForFinished(int(start - QDateTime::currentMSecsSinceEpoch() + kRounds * kPeriod + 60000)))
                qFatal("a workstation hung");
            for (const QString &line : QString::fromUtf8(process->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
                const int round = line.section(' ', 1, 1).toInt();
                rounds[round].append(line.section(' ', 2));
            }
        }
        for (const QStringList &said : rounds)
            for (const QString &outcome : said)
                if (outcome.startsWith("failed"))
                    qWarning("%s", qPrintable(outcome));
        return rounds;
    }

    static int done(const QStringList &said) { return int(said.count("done")); }
    static bool decided(const QStringList &said)
    {
        for (const QString &outcome : said)
            if (outcome != "done" && !outcome.startsWith("refused") && outcome != "busy")
                return false;
        return true;
    }

    // The numbers are FIRST to FIRST + COUNT - 1, each once, ten digits; every booking billed once.
    void checkNumbers(qint64 first, int count)
    {
        QStringList expected;
        for (int i = 0; i < count; ++i)
            expected.append(Invoices::NumberText(first + i));
        QCOMPARE(rows("SELECT q184 FROM Fakturi ORDER BY q184"), expected);
        QCOMPARE(single("SELECT COUNT(*) FROM (SELECT q124 FROM Fakturi GROUP BY q124 HAVING COUNT(*) > 1) t"), 0);
        QCOMPARE(single("SELECT COUNT(*) FROM (SELECT q123 FROM FakturiRedove GROUP BY q123 HAVING COUNT(*) > 1) t"), 0);
        QCOMPARE(single("SELECT COUNT(*) FROM Dnevnik WHERE q145 = 'document'"), count);
    }

private slots:
    void initTestCase() { FillCatalogue(slBulgarian); }
    void init() { m_db = std::make_unique<TestDatabase>(); }
    void cleanup() { m_db.reset(); }

    void fourCheckOutsOfOneStay()
    {
        prepare(-1, 2, FrontDesk::ssInHouse);
        const QList<QStringList> rounds = race(QList<QStringList>(4, {"checkout", list(m_stays)}));
        for (int r = 0; r < kRounds; ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            QCOMPARE(done(rounds[r]), 1);
            QCOMPARE(single("SELECT COUNT(*) FROM Dnevnik WHERE q145 = 'stay' AND q146 = ?", {m_stays[r]}), 1);
            // The tourist tax of the one night stayed, once.
            QCOMPARE(single("SELECT COUNT(*) FROM Klients WHERE q124 = ? AND q123 <> ?", {m_bookings[r], m_stays[r]}), 1);
            QCOMPARE(single("SELECT q125 FROM Klients WHERE q123 = ?", {m_stays[r]}), int(FrontDesk::ssDeparted));
        }
    }

    void fourCheckOutsOfOneBooking()
    {
        // Each booking has a second stay in house, in a room of its own.
        prepare(-1, 2, FrontDesk::ssInHouse);
        const QDate today = QDate::currentDate();
        for (int r = 0; r < kRounds; ++r)
            exec("INSERT INTO Klients (q1, q29, q31, q34, q35, q47, q70, q71, q27, q124, q125) "
                 "VALUES (1, 'Втори', 'Мъж', ?, ?, ?, 60, 3, 180, ?, ?)",
                 {today.addDays(-1), today.addDays(2), kRounds + r + 1, m_bookings[r], int(FrontDesk::ssInHouse)});
        const QList<QStringList> rounds = race(QList<QStringList>(4, {"checkoutbooking", list(m_bookings)}));
        for (int r = 0; r < kRounds; ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            QCOMPARE(done(rounds[r]), 1);
            // Both stays out, the check-out logged once, each guest's night taxed once.
            QCOMPARE(single("SELECT COUNT(*) FROM Klients WHERE q124 = ? AND q47 IS NOT NULL AND q125 = ?",
                            {m_bookings[r], int(FrontDesk::ssDeparted)}),
                     2);
            QCOMPARE(single("SELECT COUNT(*) FROM Dnevnik WHERE q124 = ?", {m_bookings[r]}), 1);
            QCOMPARE(single("SELECT COUNT(*) FROM Klients WHERE q124 = ? AND q47 IS NULL", {m_bookings[r]}), 2);
        }
    }

    void fourCheckInsOfOneStay()
    {
        prepare(0, 2, FrontDesk::ssReserved);
        const QList<QStringList> rounds = race(QList<QStringList>(4, {"checkin", list(m_stays)}));
        for (int r = 0; r < kRounds; ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            QCOMPARE(done(rounds[r]), 1);
            QCOMPARE(single("SELECT COUNT(*) FROM Dnevnik WHERE q145 = 'stay' AND q146 = ?", {m_stays[r]}), 1);
            QCOMPARE(single("SELECT q125 FROM Klients WHERE q123 = ?", {m_stays[r]}), int(FrontDesk::ssInHouse));
        }
    }

    void fourPaymentsToOneBookingAllCount()
    {
        prepare(0, 2, FrontDesk::ssReserved);
        const QList<QStringList> rounds = race(QList<QStringList>(4, {"payment", list(m_bookings), "20"}));
        for (int r = 0; r < kRounds; ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            const int paid = done(rounds[r]);
            QVERIFY(paid >= 1);
            QCOMPARE(single("SELECT COUNT(*) FROM Plashtania WHERE q124 = ? AND q141 = 1 AND q140 = 20", {m_bookings[r]}),
                     paid);
            QCOMPARE(single("SELECT COUNT(*) FROM Dnevnik WHERE q145 = 'payment' AND q124 = ?", {m_bookings[r]}), paid);
        }
    }

    void fourRefundsOfTheWholePayment()
    {
        prepare(0, 2, FrontDesk::ssReserved);
        const QList<QStringList> rounds = race(QList<QStringList>(4, {"refund", list(m_bookings), "100"}));
        for (int r = 0; r < kRounds; ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            QCOMPARE(done(rounds[r]), 1);
            QCOMPARE(single("SELECT COUNT(*) FROM Plashtania WHERE q124 = ? AND q141 = 2", {m_bookings[r]}), 1);
        }
    }

    void cancellationsAndCheckInsOfOneStay()
    {
        prepare(0, 3, FrontDesk::ssReserved);
        const QString stays = list(m_stays);
        const QList<QStringList> rounds =
            race({{"cancel", stays}, {"checkin", stays}, {"cancel", stays}, {"checkin", stays}});
        for (int r = 0; r < kRounds; ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            QCOMPARE(done(rounds[r]), 1);
            // One change logged, and it is the one the status shows.
            QCOMPARE(single("SELECT COUNT(*) FROM Dnevnik WHERE q145 = 'stay' AND q146 = ?", {m_stays[r]}), 1);
            const int status = single("SELECT q125 FROM Klients WHERE q123 = ?", {m_stays[r]});
            QVERIFY(status == FrontDesk::ssCancelled || status == FrontDesk::ssInHouse);
        }
    }

    void fourCancellationsOfOneBooking()
    {
        prepare(1, 3, FrontDesk::ssReserved);
        const QList<QStringList> rounds = race(QList<QStringList>(4, {"cancelbooking", list(m_bookings)}));
        for (int r = 0; r < kRounds; ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            QCOMPARE(done(rounds[r]), 1);
            QCOMPARE(single("SELECT COUNT(*) FROM Dnevnik WHERE q145 = 'booking' AND q146 = ?", {m_bookings[r]}), 1);
        }
    }

    void fourNoShowsOfOneStay()
    {
        prepare(-1, 2, FrontDesk::ssReserved);
        const QList<QStringList> rounds = race(QList<QStringList>(4, {"noshow", list(m_stays)}));
        for (int r = 0; r < kRounds; ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            QCOMPARE(done(rounds[r]), 1);
            QCOMPARE(single("SELECT COUNT(*) FROM Dnevnik WHERE q145 = 'stay' AND q146 = ?", {m_stays[r]}), 1);
        }
    }

    void fourChargesToOneBookingAllCount()
    {
        prepare(0, 2, FrontDesk::ssReserved);
        exec("INSERT INTO Uslugi (q40, q33, q51) VALUES (12.5, 'Закуска', 1)");
        const int service = single("SELECT MAX(q42) FROM Uslugi");
        const QList<QStringList> rounds =
            race(QList<QStringList>(4, {"charge", list(m_bookings), QString::number(service)}));
        for (int r = 0; r < kRounds; ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            const int charged = done(rounds[r]);
            QVERIFY(charged >= 1);  // none refused: charges do not exclude each other, at most one waited out
            QCOMPARE(single("SELECT COUNT(*) FROM Klients WHERE q124 = ? AND q123 <> ?", {m_bookings[r], m_stays[r]}),
                     charged);
            QCOMPARE(single("SELECT COUNT(*) FROM Dnevnik WHERE q145 = 'charge' AND q124 = ?", {m_bookings[r]}), charged);
        }
    }

    void walkInsAndClosuresOfOneRoom()
    {
        // Rooms 51 to 100 are free: two walk in, two close them for the same nights.
        prepare(5, 6, FrontDesk::ssReserved);
        QList<int> rooms;
        for (int r = 0; r < kRounds; ++r)
            rooms.append(kRounds + r + 1);
        const QDate today = QDate::currentDate();
        const QString departure = today.addDays(2).toString(Qt::ISODate);
        const QString closed = today.toString(Qt::ISODate) + ":" + today.addDays(3).toString(Qt::ISODate);
        const QList<QStringList> rounds = race({{"walkin", list(rooms), departure},
                                                {"close", list(rooms), closed},
                                                {"walkin", list(rooms), departure},
                                                {"close", list(rooms), closed}});
        for (int r = 0; r < kRounds; ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            const int stays = single("SELECT COUNT(*) FROM Klients WHERE q47 = ?", {rooms[r]});
            const int isClosed = single("SELECT COUNT(*) FROM Zatvoreni WHERE q47 = ? AND q159 = 3", {rooms[r]});
            QVERIFY2(stays <= 1, qPrintable(rounds[r].join('|')));   // one guest a night
            QVERIFY2(stays + isClosed == 1, qPrintable(rounds[r].join('|')));  // never a guest in a closed room
        }
    }

    void fourExtensionsAndFourMovesOfOneStay()
    {
        prepare(1, 4, FrontDesk::ssReserved);
        const QDate today = QDate::currentDate();
        const QString stays = list(m_stays);
        // The same extension four times: done once, the others find nothing to change.
        QList<QStringList> rounds = race(QList<QStringList>(4, {"extend", stays, today.addDays(6).toString(Qt::ISODate)}));
        for (int r = 0; r < kRounds; ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            QCOMPARE(done(rounds[r]), 1);
            QCOMPARE(single("SELECT COUNT(*) FROM Dnevnik WHERE q145 = 'stay' AND q146 = ?", {m_stays[r]}), 1);
        }
        // The same move four times, from the second night: one split, one moved part.
        rounds = race(QList<QStringList>(4, {"move", stays, QString("%1:%2").arg(kRounds).arg(today.addDays(2).toString(Qt::ISODate))}));
        for (int r = 0; r < kRounds; ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            QCOMPARE(done(rounds[r]), 1);
            QCOMPARE(single("SELECT COUNT(*) FROM Klients WHERE q124 = ? AND q47 = ?", {m_bookings[r], kRounds + r + 1}), 1);
        }
    }

    void dateChangesAndExtensionsOfOneStay()
    {
        // Two workstations shift each reservation by three days while two change its departure:
        // whichever comes first, no night is held twice, the shift is done once, and nights,
        // total and log agree with what was done.
        prepare(2, 4, FrontDesk::ssReserved);
        const QDate today = QDate::currentDate();
        const QString stays = list(m_stays);
        const QString shifted = today.addDays(5).toString(Qt::ISODate);
        const QString extended = today.addDays(6).toString(Qt::ISODate);
        const QList<QStringList> rounds =
            race({{"dates", stays, shifted}, {"extend", stays, extended}, {"dates", stays, shifted}, {"extend", stays, extended}});
        for (int r = 0; r < kRounds; ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            const QString days = rows(QString("SELECT q34, q35, q71 FROM Klients WHERE q123 = %1").arg(m_stays[r])).value(0);
            // The shift once (the second finds the stay begun there already); each extension
            // either changes the departure or finds it unchanged, in any order.
            QVERIFY2(int(rounds[r][0] == "done") + int(rounds[r][2] == "done") <= 1, qPrintable(rounds[r].join('|')));
            QVERIFY2(done(rounds[r]) >= 1 && done(rounds[r]) <= 3, qPrintable(rounds[r].join('|')));
            QCOMPARE(single("SELECT COUNT(*) FROM Dnevnik WHERE q145 = 'stay' AND q146 = ?", {m_stays[r]}), done(rounds[r]));
            QVERIFY2(!days.isEmpty(), qPrintable(days));
        }
        QCOMPARE(single("SELECT COUNT(*) FROM Klients a JOIN Klients b ON (a.q47 = b.q47 AND a.q123 < b.q123) "
                        "WHERE a.q34 < b.q35 AND b.q34 < a.q35 AND (a.q125 IS NULL OR a.q125 <= 2) AND "
                        "(b.q125 IS NULL OR b.q125 <= 2)"),
                 0);
        // Nights and total always agree with the days, whatever order the writes came in.
        QCOMPARE(single("SELECT COUNT(*) FROM Klients WHERE q47 IS NOT NULL AND q27 <> 60 * q71"), 0);
    }

    // Invoice numbers come from the series' counter row locked in the issuing transaction: two
    // workstations issuing at once never share or skip a number.
    void twoWorkstationsInvoiceWithoutGapsOrDoubles()
    {
        prepare(-2, 1, FrontDesk::ssInHouse);
        const int series = Invoices::AddSeries(1, "Основна", 1000000001);
        const QList<QStringList> rounds = race({{"invoice", list(m_bookings.mid(0, kRounds / 2)), QString::number(series)},
                                                {"invoice", list(m_bookings.mid(kRounds / 2)), QString::number(series)}});
        for (int r = 0; r < kRounds / 2; ++r)
            QCOMPARE(rounds[r], QStringList({"done", "done"}));
        checkNumbers(1000000001, kRounds);
        // Then two credit each invoice in full at once: one note per invoice, the numbers going on
        // without a gap, nothing taken off twice.
        const QList<QStringList> credits = race({{"credit", list(m_bookings)}, {"credit", list(m_bookings)}});
        for (int r = 0; r < kRounds; ++r) {
            QVERIFY2(decided(credits[r]), qPrintable(credits[r].join('|')));
            QCOMPARE(done(credits[r]), 1);
        }
        QStringList expected;
        for (int i = 0; i < 2 * kRounds; ++i)
            expected.append(Invoices::NumberText(1000000001 + i));
        QCOMPARE(rows("SELECT q184 FROM Fakturi ORDER BY q184"), expected);
        QCOMPARE(single("SELECT COUNT(*) FROM (SELECT q123 FROM FakturiRedove GROUP BY q123 HAVING SUM(q195) <> 0) t"), 0);
    }

    // Four: two of them on the same bookings, which are billed once.
    void fourWorkstationsInvoiceWithoutGapsOrDoubles()
    {
        prepare(-2, 1, FrontDesk::ssInHouse);
        const int series = Invoices::AddSeries(1, "Основна", 42);
        const int quarter = kRounds / 4;
        const QString shared = list(m_bookings.mid(0, quarter));
        const QList<QStringList> rounds = race({{"invoice", shared, QString::number(series)},
                                                {"invoice", shared, QString::number(series)},
                                                {"invoice", list(m_bookings.mid(quarter, quarter)), QString::number(series)},
                                                {"invoice", list(m_bookings.mid(2 * quarter, quarter)), QString::number(series)}});
        for (int r = 0; r < quarter; ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            QCOMPARE(done(rounds[r]), 3);  // the shared booking once
        }
        checkNumbers(42, 3 * quarter);
    }

    // Four invoice bookings of their own at the same moments, each in a series of its own (so
    // that no counter row puts them in a line), each booking with an advance, to one company new
    // to the register: the company is kept once, each advance deducted once, no number lost.
    void fourWorkstationsInvoiceAdvancesToOneNewCompany()
    {
        prepare(-2, 1, FrontDesk::ssInHouse);
        const int quarter = kRounds / 4;
        Invoices::TBuyer guest;
        guest.Name = "Гост";
        QList<QStringList> workstations;
        QList<int> series;
        for (int w = 0; w < 4; ++w) {
            series.append(Invoices::AddSeries(1, QString("Каса %1").arg(w), 1));
            for (const int booking : m_bookings.mid(w * quarter, quarter))
                Invoices::IssueAdvance(booking, TDecimal(50), 900, guest, series.last(), FrontDesk::Today(), FrontDesk::pmCash);
            workstations.append({"invoice", list(m_bookings.mid(w * quarter, quarter)), QString("%1:204987655").arg(series.last())});
        }
        const QList<QStringList> rounds = race(workstations);
        for (int r = 0; r < quarter; ++r)
            QCOMPARE(rounds[r], QStringList({"done", "done", "done", "done"}));
        QCOMPARE(single("SELECT COUNT(*) FROM Kupuvachi"), 1);
        QCOMPARE(single("SELECT COUNT(*) FROM FakturiRedove WHERE q207 IS NOT NULL"), 4 * quarter);
        QCOMPARE(single("SELECT COUNT(*) FROM (SELECT q207 FROM FakturiRedove WHERE q207 IS NOT NULL GROUP BY q207 "
                        "HAVING COUNT(*) > 1) t"), 0);
        for (const int booking : m_bookings.mid(0, 4 * quarter))
            QVERIFY(Invoices::OpenAdvances(booking).isEmpty());
        QStringList expected;
        for (int i = 0; i < 2 * quarter; ++i)
            expected.append(Invoices::NumberText(1 + i));
        for (const int one : series)
            QCOMPARE(rows(QString("SELECT q184 FROM Fakturi WHERE q171 = %1 ORDER BY q184").arg(one)), expected);
    }

    // Four workstations take cash on one fiscal device at the same moments, two of them on the
    // same bookings: every payment has its own printed receipt, the sale numbers run without a
    // gap or a double, and the device printed exactly what the desk recorded.
    void fourWorkstationsTakeCashOnOneFiscalDevice()
    {
        prepare(-2, 1, FrontDesk::ssInHouse);
        FiscalStandIn service;
        const int quarter = kRounds / 4;
        const int before = single("SELECT COUNT(*) FROM Plashtania");
        const QString extra = service.Address() + " fp1 10.00";
        const QString shared = list(m_bookings.mid(0, quarter));
        const QList<QStringList> rounds = race({{"fiscalpay", shared, extra},
                                                {"fiscalpay", shared, extra},
                                                {"fiscalpay", list(m_bookings.mid(quarter, quarter)), extra},
                                                {"fiscalpay", list(m_bookings.mid(2 * quarter, quarter)), extra}});
        for (int r = 0; r < quarter; ++r)
            QCOMPARE(rounds[r], QStringList({"done", "done", "done", "done"}));
        const int payments = 4 * quarter;
        QCOMPARE(single("SELECT COUNT(*) FROM Plashtania") - before, payments);
        QCOMPARE(single("SELECT COUNT(*) FROM FiskalniBonove WHERE q224 = 1 AND q139 IS NOT NULL"), payments);
        QCOMPARE(int(service.Printed().size()), payments);
        const QStringList numbers = rows("SELECT q222 FROM FiskalniBonove ORDER BY q222");
        QCOMPARE(numbers.size(), payments);
        for (int i = 0; i < payments; ++i)
            QCOMPARE(numbers.at(i).right(7).toInt(), i + 1);
        QCOMPARE(single("SELECT COUNT(*) FROM (SELECT q222 FROM FiskalniBonove GROUP BY q222 HAVING COUNT(*) > 1) t"), 0);
    }

    // Two workstations close the same days at the same moments: each day closes once, the
    // other is told; every night's tourist tax is accrued once per guest in house.
    void twoWorkstationsCloseTheSameDays()
    {
        const int days = 12;
        prepare(-1, days + 2, FrontDesk::ssInHouse);
        pricePlan();
        const QDate today = QDate::currentDate();
        QStringList offsets;
        for (int d = 0; d < days; ++d)
            offsets.append(QString::number(d));
        const QList<QStringList> rounds =
            race(QList<QStringList>(2, {"dayclose", offsets.join(','), today.toString(Qt::ISODate)}));
        for (int d = 0; d < days; ++d) {
            QVERIFY2(decided(rounds[d]), qPrintable(rounds[d].join('|')));
            QCOMPARE(done(rounds[d]), 1);
        }
        QCOMPARE(rows("SELECT q233 FROM RabotenDen").value(0).left(10), today.addDays(days).toString("dd.MM.yyyy"));
        QCOMPARE(single("SELECT COUNT(*) FROM ZatvoreniDni"), days);
        QCOMPARE(single("SELECT COUNT(*) FROM (SELECT q233 FROM ZatvoreniDni GROUP BY q233 HAVING COUNT(*) > 1) t"), 0);
        QCOMPARE(single("SELECT COUNT(*) FROM Dnevnik WHERE q145 = 'day'"), days);
        // The night before the first close comes with the first; then one night a close.
        for (const int stay : m_stays) {
            QCOMPARE(single("SELECT COUNT(*) FROM Klients WHERE q160 = ?", {stay}), days);
            QCOMPARE(single("SELECT SUM(q71) FROM Klients WHERE q160 = ?", {stay}), days + 1);
            // Breakfast for two, once for each night closed.
            QCOMPARE(single("SELECT COUNT(*) FROM Klients WHERE q302 = ?", {stay}), days);
            QCOMPARE(single("SELECT COUNT(DISTINCT q34) FROM Klients WHERE q302 = ?", {stay}), days);
            QCOMPARE(single("SELECT SUM(q27) FROM Klients WHERE q302 = ?", {stay}), 20 * days);
        }
    }

    // A close whose workstation dies half way, its night's tax written, leaves the day open and
    // nothing of the close behind; the day then closes as if nothing had happened.
    void aCloseThatDiesLeavesTheDayOpen()
    {
        prepare(-1, 3, FrontDesk::ssInHouse);
        const QDate today = QDate::currentDate();
        const QList<QStringList> rounds = race({{"dayclose", "0", today.toString(Qt::ISODate) + ":die"}});
        QVERIFY2(rounds[0].isEmpty(), qPrintable(rounds[0].join('|')));  // it said nothing: it died
        QCOMPARE(rows("SELECT q233 FROM RabotenDen").value(0).left(10), today.toString("dd.MM.yyyy"));
        QCOMPARE(single("SELECT COUNT(*) FROM ZatvoreniDni"), 0);
        QCOMPARE(single("SELECT COUNT(*) FROM Klients WHERE q160 IS NOT NULL"), 0);
        QCOMPARE(single("SELECT COUNT(*) FROM Dnevnik WHERE q145 = 'day'"), 0);
        const QList<QStringList> again = race({{"dayclose", "0", today.toString(Qt::ISODate)}});
        QCOMPARE(again[0], QStringList({"done"}));
        QCOMPARE(single("SELECT COUNT(*) FROM ZatvoreniDni"), 1);
        QCOMPARE(single("SELECT COUNT(*) FROM Klients WHERE q160 IS NOT NULL"), kRounds);
    }

    // Four workstations open the last closed day again at once: it opens once, the others are
    // told only the last day opens, and once.
    void fourReopeningsOfTheLastDay()
    {
        prepare(-1, 5, FrontDesk::ssInHouse);
        const QDate today = QDate::currentDate();
        const QList<QStringList> closes = race({{"dayclose", "0,1", today.toString(Qt::ISODate)}});
        QCOMPARE(closes[0], QStringList({"done"}));
        QCOMPARE(closes[1], QStringList({"done"}));
        const QList<QStringList> rounds = race(QList<QStringList>(4, {"reopen", "0"}));
        QVERIFY2(decided(rounds[0]), qPrintable(rounds[0].join('|')));
        QCOMPARE(done(rounds[0]), 1);
        QCOMPARE(rows("SELECT q233 FROM RabotenDen").value(0).left(10), today.addDays(1).toString("dd.MM.yyyy"));
        QCOMPARE(single("SELECT COUNT(*) FROM ZatvoreniDni WHERE q246 IS NOT NULL"), 1);
        QCOMPARE(single("SELECT COUNT(*) FROM ZatvoreniDni WHERE q246 IS NULL"), 1);
    }

    // Four workstations save the rules of the same hotels at the same moments: one row a hotel.
    void fourSavesOfAHotelsRules()
    {
        prepare(0, 1, FrontDesk::ssReserved);
        QStringList hotels;
        for (int h = 2; h <= kRounds / 5 + 1; ++h) {
            exec("INSERT INTO HotelBuild (q1, q10) VALUES (?, ?)", {h, QString("Хотел %1").arg(h)});
            hotels.append(QString::number(h));
        }
        const QList<QStringList> rounds = race({{"rules", hotels.join(','), "1:0:100"},
                                                {"rules", hotels.join(','), "0:1:200"},
                                                {"rules", hotels.join(','), "1:1:300"},
                                                {"rules", hotels.join(','), "0:0:0"}});
        for (int r = 0; r < hotels.size(); ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            QVERIFY(done(rounds[r]) >= 1);
        }
        QCOMPARE(single("SELECT COUNT(*) FROM PravilaHoteli"), int(hotels.size()));
        QCOMPARE(single("SELECT COUNT(*) FROM (SELECT q1 FROM PravilaHoteli GROUP BY q1 HAVING COUNT(*) > 1) t"), 0);
    }

    // Four workstations take back one of two breakfasts of the same bookings at once: no more than
    // two corrections a booking go through, the others are refused, and nothing goes below nothing.
    void fourCorrectionsOfTwoBreakfasts()
    {
        prepare(-1, 2, FrontDesk::ssInHouse);
        exec("INSERT INTO Uslugi (q40, q33) VALUES (10, 'Закуска')");
        const int breakfast = single("SELECT q42 FROM Uslugi WHERE q33 = 'Закуска'");
        for (const int booking : m_bookings)
            exec("INSERT INTO Klients (q1, q33, q42, q70, q71, q27, q124, q125, q39) VALUES (1, 'Закуска', ?, 10, 2, 20, ?, 0, ?)",
                 {QString::number(breakfast), booking, QDateTime::currentDateTime()});
        const QList<QStringList> rounds =
            race(QList<QStringList>(4, {"correct", list(m_bookings), QString::number(breakfast)}));
        for (int r = 0; r < kRounds; ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            // A busy engine may leave one undone; none goes past what was charged.
            QVERIFY(done(rounds[r]) >= 1 && done(rounds[r]) <= 2);
            QCOMPARE(single("SELECT SUM(q27) FROM Klients WHERE q124 = ? AND q33 = 'Закуска'", {m_bookings[r]}),
                     20 - 10 * done(rounds[r]));
        }
    }

    // Four workstations add guests to the register and change one guest at the same moments:
    // every new guest kept once, the one changed still one row with one of the addresses given.
    void fourWorkstationsKeepTheGuestRegister()
    {
        prepare(0, 1, FrontDesk::ssReserved);
        QStringList numbers;
        for (int r = 0; r < kRounds / 2; ++r)
            numbers.append(QString::number(r));
        QList<QStringList> adding;
        for (int w = 0; w < 4; ++w)
            adding.append({"guest", numbers.join(','), QString("W%1").arg(w)});
        const QList<QStringList> rounds = race(adding);
        int kept = 0;
        for (int r = 0; r < kRounds / 2; ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            kept += done(rounds[r]);
        }
        QCOMPARE(single("SELECT COUNT(*) FROM Gosti"), kept);
        QCOMPARE(single("SELECT COUNT(DISTINCT q253) FROM Gosti"), kept);
        QCOMPARE(single("SELECT COUNT(*) FROM Dnevnik WHERE q145 = 'guest'"), kept);
        QVERIFY(kept >= 2 * kRounds);
        const int guest = single("SELECT MIN(q252) FROM Gosti");
        QStringList same;
        for (int r = 0; r < kRounds / 2; ++r)
            same.append(QString::number(guest));
        QList<QStringList> editing;
        for (int w = 0; w < 4; ++w)
            editing.append({"guestedit", same.join(','), QString("Адрес %1").arg(w)});
        race(editing);
        QCOMPARE(single("SELECT COUNT(*) FROM Gosti"), kept);
        QVERIFY(rows(QString("SELECT q134 FROM Gosti WHERE q252 = %1").arg(guest)).value(0).startsWith("Адрес "));
    }

    // A bed-and-breakfast plan at 100 a night for two in every room, a season around today; the
    // rounds' stays priced by it.
    int pricePlan()
    {
        TADOConnection &connection = m_db->Connection();
        exec("UPDATE Rooms SET q275 = 'Двойна'");
        const int breakfast = connection.InsertReturningIdentity("Uslugi", {"q40", "q33"}, "VALUES (10, 'Закуска')", {});
        const int plan = connection.InsertReturningIdentity("CenoviPlanove", {"q277", "q278", "q279", "q280"},
                                                            "VALUES ('Цяла година', 1, 1, ?)", {breakfast});
        const QDate today = QDate::currentDate();
        const int season = connection.InsertReturningIdentity("Sezoni", {"q276", "q284", "q52", "q53"},
                                                              "VALUES (?, 'Година', ?, ?)",
                                                              {plan, today.addDays(-30), today.addDays(400)});
        exec("INSERT INTO Ceni (q276, q283, q275, q286, q287, q70) VALUES (?, ?, 'Двойна', 2, ?, 100)",
             {plan, season, RatePlans::kEveryDay});
        for (int r = 0; r < kRounds; ++r) {
            TTransaction transaction(connection, true);
            const QDate from = TField(QString(), connection.Column("SELECT q34 FROM Klients WHERE q123 = ?", {m_stays[r]}).value(0)).AsDate();
            Nights::PriceBooking(connection, m_bookings[r], {{r + 1, from, plan, {2, {}}, false}});
            transaction.Commit();
        }
        return plan;
    }
private:
    // Each priced stay's night rows are its nights, once each, and add up to its total.
    void expectNightsOfTheStays()
    {
        for (const QString &key : rows("SELECT q123 FROM Klients WHERE q276 IS NOT NULL")) {
            const int stay = key.toInt();
            const QStringList row = rows(QString("SELECT q34, q35, q71, q27 FROM Klients WHERE q123 = %1").arg(stay)).first().split('|');
            const int nights = row.at(2).toInt();
            QCOMPARE(single("SELECT COUNT(*) FROM Noshtuvki WHERE q123 = ?", {stay}), nights);
            QCOMPARE(single("SELECT COUNT(DISTINCT q299) FROM Noshtuvki WHERE q123 = ?", {stay}), nights);
            QCOMPARE(single(QString("SELECT COUNT(*) FROM Noshtuvki n JOIN Klients k ON k.q123 = n.q123 WHERE n.q123 = %1 "
                                    "AND n.q299 >= k.q34 AND n.q299 < k.q35").arg(stay)),
                     nights);
            QCOMPARE(rows(QString("SELECT SUM(q70) FROM Noshtuvki WHERE q123 = %1").arg(stay)).value(0).toDouble(),
                     row.at(3).toDouble());
            QCOMPARE(row.at(3).toDouble(), 100.0 * nights);
        }
    }

private slots:
    // Four workstations extend the same priced stays to two departures at once: each stay ends
    // on one of them with a night row for every night and its total their sum.
    void fourWorkstationsExtendPricedStays()
    {
        prepare(0, 2, FrontDesk::ssReserved);
        pricePlan();
        const QDate today = QDate::currentDate();
        const QString longer = today.addDays(6).toString(Qt::ISODate), shorter = today.addDays(4).toString(Qt::ISODate);
        const QList<QStringList> rounds = race({{"extend", list(m_stays), longer},
                                                {"extend", list(m_stays), shorter},
                                                {"extend", list(m_stays), longer},
                                                {"extend", list(m_stays), shorter}});
        for (int r = 0; r < kRounds; ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            QVERIFY(done(rounds[r]) >= 1);
        }
        expectNightsOfTheStays();
    }

    // Four workstations move the same priced stays at once: one move stands, the nights go
    // along (priced again in the new room) and still add up to each part's total.
    void fourWorkstationsMovePricedStays()
    {
        prepare(0, 4, FrontDesk::ssReserved);
        pricePlan();
        const QString day = "50:" + QDate::currentDate().addDays(2).toString(Qt::ISODate);
        const QList<QStringList> rounds =
            race({{"move", list(m_stays), day}, {"move", list(m_stays), day}, {"move", list(m_stays), day},
                  {"move", list(m_stays), day}});
        for (int r = 0; r < kRounds; ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            QCOMPARE(done(rounds[r]), 1);
        }
        QCOMPARE(single("SELECT COUNT(*) FROM Klients WHERE q276 IS NOT NULL"), 2 * kRounds);
        expectNightsOfTheStays();
    }

    // Plans of their own for the rounds, each with a season around today.
    QList<int> plansOfTheRounds()
    {
        exec("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски')");
        exec("INSERT INTO Rooms (q44, q46, q1, q129, q275) VALUES ('101', 60, 1, 0, 'Двойна')");
        if (single("SELECT COUNT(*) FROM Valuta WHERE q56 = 'EUR'") == 0)
            exec("INSERT INTO Valuta (q56, q86) VALUES ('EUR', 1)");
        QList<int> plans;
        const QDate today = QDate::currentDate();
        for (int r = 0; r < kRegisterRounds; ++r) {
            plans.append(m_db->Connection().InsertReturningIdentity("CenoviPlanove", {"q277", "q278"}, "VALUES (?, 1)",
                                                                    {QString("План %1").arg(r)}));
            exec("INSERT INTO Sezoni (q276, q284, q52, q53) VALUES (?, 'Година', ?, ?)",
                 {plans.last(), today.addDays(-30), today.addDays(400)});
        }
        return plans;
    }

    // The register of plans from four workstations at once: one plan a name, one price a
    // weekday, one restriction a day, one children's band an age.
    void fourWorkstationsKeepTheRegisterOfPlans()
    {
        const QList<int> plans = plansOfTheRounds();
        QList<int> numbers;
        for (int r = 0; r < kRegisterRounds; ++r)
            numbers.append(r);
        QList<QStringList> rounds = race(QList<QStringList>(4, {"planname", list(numbers), "Нов"}));
        for (int r = 0; r < kRegisterRounds; ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            QVERIFY2(done(rounds[r]) == 1, qPrintable(rounds[r].join("|")));
            QCOMPARE(single(QString("SELECT COUNT(*) FROM CenoviPlanove WHERE q277 = 'Нов %1'").arg(r)), 1);
        }
        const QString everyDay = QString("%1:100").arg(RatePlans::kEveryDay);
        const QString weekend = QString("%1:120").arg(RatePlans::WeekdayBit(Qt::Friday) | RatePlans::WeekdayBit(Qt::Saturday));
        rounds = race({{"price", list(plans), everyDay}, {"price", list(plans), weekend}, {"price", list(plans), everyDay},
                       {"price", list(plans), weekend}});
        for (int r = 0; r < kRegisterRounds; ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            QCOMPARE(done(rounds[r]), 1);
            QCOMPARE(single("SELECT COUNT(*) FROM Ceni WHERE q276 = ?", {plans[r]}), 1);
        }
        const QDate today = QDate::currentDate();
        const QString early = today.toString(Qt::ISODate) + ":" + today.addDays(4).toString(Qt::ISODate) + ":2";
        const QString late = today.addDays(2).toString(Qt::ISODate) + ":" + today.addDays(6).toString(Qt::ISODate) + ":3";
        rounds = race({{"restrict", list(plans), early}, {"restrict", list(plans), late}, {"restrict", list(plans), early},
                       {"restrict", list(plans), late}});
        for (int r = 0; r < kRegisterRounds; ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            QCOMPARE(single("SELECT COUNT(*) FROM Ogranichenia WHERE q276 = ?", {plans[r]}), 7);
            QCOMPARE(single("SELECT COUNT(DISTINCT q294) FROM Ogranichenia WHERE q276 = ?", {plans[r]}), 7);
        }
        rounds = race(QList<QStringList>(4, {"childband", list(numbers.mid(0, 6)), "0:2"}));
        for (int r = 0; r < 6; ++r)
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
        QCOMPARE(done(rounds[0]), 1);
        QCOMPARE(single("SELECT COUNT(*) FROM DetskiVazrasti"), 1);
    }

    // Four workstations save overlapping seasons of the same plans in the register at once: each
    // plan keeps one season, the others are refused.
    void fourWorkstationsSaveOverlappingSeasons()
    {
        QList<int> plans;
        for (int r = 0; r < kRegisterRounds; ++r)
            plans.append(m_db->Connection().InsertReturningIdentity("CenoviPlanove", {"q277", "q278"}, "VALUES (?, 1)",
                                                                    {QString("План %1").arg(r)}));
        const QDate today = QDate::currentDate();
        const QString early = today.toString(Qt::ISODate) + ":" + today.addDays(10).toString(Qt::ISODate);
        const QString late = today.addDays(5).toString(Qt::ISODate) + ":" + today.addDays(15).toString(Qt::ISODate);
        const QList<QStringList> rounds =
            race({{"season", list(plans), early}, {"season", list(plans), late}, {"season", list(plans), early},
                  {"season", list(plans), late}});
        for (int r = 0; r < kRegisterRounds; ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            QCOMPARE(done(rounds[r]), 1);
            QCOMPARE(single("SELECT COUNT(*) FROM Sezoni WHERE q276 = ?", {plans[r]}), 1);
        }
    }

    // Guests of the register for the rounds' stays, each complete for the law.
    QList<int> registerGuests(int count)
    {
        QList<int> guests;
        for (int i = 0; i < count; ++i)
            guests.append(m_db->Connection().InsertReturningIdentity(
                "Gosti", {"q253", "q257", "q265", "q266"}, "VALUES (?, 'BG', 0, 0)", {QString("Гост на стаята %1").arg(i)}));
        return guests;
    }

    // Four workstations give one stay four different sets of guests at the same moments: one set
    // stands whole, with one holder, and every change that went through is logged.
    void fourWorkstationsSetTheGuestsOfOneStay()
    {
        prepare(0, 2, FrontDesk::ssInHouse);
        exec("UPDATE Rooms SET q79 = 3");
        const QList<int> guests = registerGuests(6);
        QList<QStringList> setting;
        for (int w = 0; w < 4; ++w)
            setting.append({"stayguests", list(m_stays),
                            QString("%1:%2:%3").arg(guests[w]).arg(guests[(w + 1) % 6]).arg(guests[(w + 2) % 6])});
        const QList<QStringList> rounds = race(setting);
        int changes = 0;
        for (int r = 0; r < kRounds; ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            changes += done(rounds[r]);
            const QString stay = QString::number(m_stays[r]);
            QCOMPARE(single("SELECT COUNT(*) FROM GostiPrestoi WHERE q123 = " + stay), 3);
            QCOMPARE(single("SELECT COUNT(*) FROM GostiPrestoi WHERE q267 = 1 AND q123 = " + stay), 1);
            QCOMPARE(single("SELECT COUNT(DISTINCT q252) FROM GostiPrestoi WHERE q123 = " + stay), 3);
            // The stay names its holder.
            QCOMPARE(single("SELECT COUNT(*) FROM Klients k INNER JOIN GostiPrestoi p ON (p.q123 = k.q123 AND p.q252 = "
                            "k.q252 AND p.q267 = 1) WHERE k.q123 = " + stay),
                     1);
        }
        QCOMPARE(single("SELECT COUNT(*) FROM Dnevnik WHERE q145 = 'stay'"), changes);
    }

    // Two pairs of workstations merge two duplicates each way at once: one of the two stays,
    // with the stays of both; the other merge is refused.
    void fourWorkstationsMergeDuplicatesBothWays()
    {
        prepare(0, 1, FrontDesk::ssReserved);
        const QList<int> guests = registerGuests(2 * kRounds);
        QStringList kept, merged;
        for (int r = 0; r < kRounds; ++r) {
            exec("INSERT INTO GostiPrestoi (q123, q252, q267) VALUES (?, ?, 1), (?, ?, 0)",
                 {m_stays[r], guests[2 * r], m_stays[r], guests[2 * r + 1]});
            kept.append(QString::number(guests[2 * r]));
            merged.append(QString::number(guests[2 * r + 1]));
        }
        // Each pair is raced by four processes of its own, since the partner differs by round;
        // two pairs are enough, as each race takes seconds.
        for (int r = 0; r < 2; ++r) {
            const QList<QStringList> rounds = race({{"merge", kept[r], merged[r]},
                                                    {"merge", merged[r], kept[r]},
                                                    {"merge", kept[r], merged[r]},
                                                    {"merge", merged[r], kept[r]}});
            QVERIFY2(decided(rounds[0]), qPrintable(rounds[0].join('|')));
            QCOMPARE(done(rounds[0]), 1);
            QCOMPARE(single("SELECT COUNT(*) FROM Gosti WHERE q252 IN (" + kept[r] + "," + merged[r] + ")"), 1);
            QCOMPARE(single("SELECT COUNT(*) FROM GostiPrestoi WHERE q123 = ?", {m_stays[r]}), 1);
            QCOMPARE(single("SELECT COUNT(*) FROM GostiPrestoi WHERE q267 = 1 AND q123 = ?", {m_stays[r]}), 1);
        }
    }

    // Four workstations send the same days to the tourism register at once: each arrival is in
    // exactly one file.
    void fourWorkstationsSendTheSameDaysToTheRegister()
    {
        prepare(0, 2, FrontDesk::ssInHouse);
        exec("INSERT INTO FirmiHoteli (q1, q198, q270) VALUES (1, 'Морски ЕООД', 'ESTI-1')");
        const QList<int> guests = registerGuests(kRounds);
        for (int r = 0; r < kRounds; ++r)
            exec("INSERT INTO GostiPrestoi (q123, q252, q267) VALUES (?, ?, 1)", {m_stays[r], guests[r]});
        const QList<QStringList> rounds =
            race({{"esti", "0", "0"}, {"esti", "0", "0"}, {"esti", "0", "0"}, {"esti", "0", "0"}});
        QVERIFY2(decided(rounds[0]), qPrintable(rounds[0].join('|')));
        QCOMPARE(done(rounds[0]), 4);
        QCOMPARE(single("SELECT COUNT(*) FROM ESTIIznos"), kRounds);
        QCOMPARE(single("SELECT COUNT(DISTINCT q123) FROM ESTIIznos"), kRounds);
    }

    void fourHousekeepersOnOneRoom()
    {
        prepare(5, 6, FrontDesk::ssReserved);
        QList<int> rooms;
        for (int r = 0; r < kRounds; ++r)
            rooms.append(r + 1);
        const QDate today = QDate::currentDate();
        // Two close the room for nights a stay holds (refused), two for nights it does not.
        const QString held = today.addDays(4).toString(Qt::ISODate) + ":" + today.addDays(8).toString(Qt::ISODate);
        const QString free = today.toString(Qt::ISODate) + ":" + today.addDays(2).toString(Qt::ISODate);
        const QList<QStringList> rounds = race({{"close", list(rooms), held},
                                                {"close", list(rooms), free},
                                                {"close", list(rooms), held},
                                                {"close", list(rooms), free}});
        for (int r = 0; r < kRounds; ++r) {
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
            QCOMPARE(done(rounds[r]), 2);
            QCOMPARE(single("SELECT COUNT(*) FROM Zatvoreni WHERE q47 = ? AND q159 = 3", {rooms[r]}), 1);
        }
    }

    void movesAndExtensionsOfOneStay()
    {
        // Each stay's target room is taken from the stay's old departure on: a move may take the
        // nights before it, never the ones the extension adds.
        prepare(1, 4, FrontDesk::ssReserved);
        const QDate today = QDate::currentDate();
        for (int r = 0; r < kRounds; ++r)
            exec("INSERT INTO Klients (q1, q29, q34, q35, q47, q124, q125) VALUES (1, 'Друг', ?, ?, ?, ?, 0)",
                 {today.addDays(4), today.addDays(7), kRounds + r + 1, m_bookings[r]});
        const QString stays = list(m_stays);
        // The whole stay moves (from its first night): the row itself changes room.
        const QString move = QString("%1:%2").arg(kRounds).arg(today.addDays(1).toString(Qt::ISODate));
        const QString extend = today.addDays(6).toString(Qt::ISODate);
        const QList<QStringList> rounds =
            race({{"move", stays, move}, {"extend", stays, extend}, {"move", stays, move}, {"extend", stays, extend}});
        for (int r = 0; r < kRounds; ++r)
            QVERIFY2(decided(rounds[r]), qPrintable(rounds[r].join('|')));
        // No room-night held twice, asked of the database itself.
        QCOMPARE(single("SELECT COUNT(*) FROM Klients a JOIN Klients b ON (a.q47 = b.q47 AND a.q123 < b.q123) "
                        "WHERE a.q34 < b.q35 AND b.q34 < a.q35 AND (a.q125 IS NULL OR a.q125 <= 2) AND "
                        "(b.q125 IS NULL OR b.q125 <= 2)"),
                 0);
    }
};

KALV_TEST_MAIN(TestDeskRaces)
#include "tst_deskraces.moc"
