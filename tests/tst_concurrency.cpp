// Several workstations on one database file: each a process of its own that stages and saves
// overlapping stays of one room at the same moment, round after round.

#include "TestHarness.h"
#include "admin/UDatabaseSetup.h"
#include "data/UAdoDb.h"
#include "errors/MyClass.h"
#include "startup/UConstMessagesHotel.h"

#include <QDateTime>
#include <QProcess>
#include <QtTest>
#include <memory>

class TestConcurrency : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;

    void prepareHotel()
    {
        m_db->Exec("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски'), (2, 'Планински')");
        m_db->Exec("INSERT INTO Tarife (q50) VALUES ('Основна')");
        m_db->Exec("INSERT INTO Valuta (q56, q1) VALUES ('BGN', 1)");
        m_db->Exec("INSERT INTO Uslugi (q40, q33, q51) VALUES (60, 'Единична', 1)");
        // Room "101" in both hotels: the other hotel's room must never be touched.
        m_db->Exec("INSERT INTO Rooms (q44, q46, q1, q42, q81, q82, q83, q84) VALUES ('101', 60, 1, 1, 60, 40, 10, 10), "
                   "('101', 70, 2, 1, 60, 40, 10, 90)");
        InstallDeliveredProcedures({"proc_CopyAllTablesValues"});
    }


private slots:
    void initTestCase() { FillCatalogue(slBulgarian); }
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        prepareHotel();
    }
    void cleanup() { m_db.reset(); }

    void workstationsSavingOneRoomAtOnce_data()
    {
        QTest::addColumn<int>("workstations");
        QTest::addColumn<bool>("byPlan");
        QTest::newRow("two") << 2 << false;
        QTest::newRow("three") << 3 << false;
        QTest::newRow("three by a rate plan") << 3 << true;
    }

    void workstationsSavingOneRoomAtOnce()
    {
        QFETCH(int, workstations);
        QFETCH(bool, byPlan);
        const int rounds = 12;
        // By a plan: every night of March at 100 for two (Saturdays 130), which the save stores.
        QString plan;
        if (byPlan) {
            plan = "Пролет";
            m_db->Exec("UPDATE Rooms SET q275 = 'Двойна'");
            const int key = m_db->Connection().InsertReturningIdentity("CenoviPlanove", {"q277", "q278"}, "VALUES (?, 1)", {plan});
            const int season = m_db->Connection().InsertReturningIdentity(
                "Sezoni", {"q276", "q284", "q52", "q53"}, "VALUES (?, 'Пролет', ?, ?)", {key, QDate(2027, 3, 1), QDate(2027, 6, 30)});
            m_db->Exec("INSERT INTO Ceni (q276, q283, q275, q286, q287, q70) VALUES (?, ?, 'Двойна', 2, 190, 100), "
                       "(?, ?, 'Двойна', 2, 64, 130)",
                       {key, season, key, season});
        }
        const qint64 period = 400;
        const qint64 start = QDateTime::currentMSecsSinceEpoch() + 2500;  // every process is up by then
        const QStringList spellings = {"Морски", "МОРСКИ", "морски"};
        std::vector<std::unique_ptr<QProcess>> processes;
        for (int i = 0; i < workstations; ++i) {
            auto process = std::make_unique<QProcess>();
            process->setProcessEnvironment(m_db->Home().ProcessEnvironment());
            // Stays of three nights shifted by a day: every two of them share a night.
            QStringList arguments = {"book", m_db->Home().DataFolderPath(), spellings.at(i), "101", "2027-03-01",
                                     QString::number(i), "3", QString::number(rounds), QString::number(start),
                                     QString::number(period)};
            if (byPlan)
                arguments.append(plan);
            process->start(TestHome::BuildBinFolder() + "kalv_workstation", arguments);
            processes.push_back(std::move(process));
        }
        QList<QStringList> outcomes(rounds);
        int boards = 0;
        for (auto &process : processes) {
            QVERIFY2(process->waitForFinished(int(start - QDateTime::currentMSecsSinceEpoch() + rounds * period + 30000)),
                     "a workstation hung");
            QCOMPARE(process->exitCode(), 0);
            for (const QString &line : QString::fromUtf8(process->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
                const QStringList parts = line.split(' ');
                if (parts.value(0) == "board") {
                    // Each workstation's board shows every round's stay, whoever booked it.
                    QCOMPARE(parts.value(1).toInt(), rounds);
                    ++boards;
                    continue;
                }
                QVERIFY2(parts.size() >= 3 && parts.at(0) == "round", qPrintable(line));
                outcomes[parts.at(1).toInt()].append(parts.mid(2).join(' '));
            }
        }
        QCOMPARE(boards, workstations);
        int saves = 0, refusedAtSave = 0;
        for (int r = 0; r < rounds; ++r) {
            const QStringList &round = outcomes.at(r);
            QCOMPARE(round.size(), workstations);
            QVERIFY2(round.count("saved") == 1, qPrintable(QString("round %1: %2").arg(r).arg(round.join(", "))));
            for (const QString &other : round)
                QVERIFY2(other == "saved" || other == "conflict" || other == "refused",
                         qPrintable(QString("round %1: %2").arg(r).arg(other)));
            saves += int(round.count("saved"));
            refusedAtSave += int(round.count("conflict"));
        }
        qInfo("%d workstations, %d rounds: %d stays stored, %d refused at the save, %d when staging", workstations,
              rounds, saves, refusedAtSave, rounds * workstations - saves - refusedAtSave);
        // Exactly one stay per round on the database, and no room-night held twice.
        QCOMPARE(m_db->Rows("SELECT COUNT(*) FROM Klients WHERE q47 = 1"), QStringList({QString::number(rounds)}));
        // Every stay shares its nights with itself, and with no other.
        QCOMPARE(m_db->Rows("SELECT COUNT(*) FROM Klients a JOIN Klients b ON a.q47 = b.q47 "
                            "AND a.q34 < b.q35 AND b.q34 < a.q35"),
                 QStringList({QString::number(rounds)}));
        QCOMPARE(m_db->Rows("SELECT COUNT(*) FROM Klients WHERE q47 <> 1"), QStringList({"0"}));
        // A plan's stays have their three nights each, and nothing of a refused save is left.
        if (byPlan) {
            QCOMPARE(m_db->Rows("SELECT COUNT(*) FROM Noshtuvki"), QStringList({QString::number(3 * rounds)}));
            QCOMPARE(m_db->Rows("SELECT COUNT(*) FROM Noshtuvki n JOIN Klients k ON (k.q123 = n.q123) WHERE "
                                "n.q299 >= k.q34 AND n.q299 < k.q35"),
                     QStringList({QString::number(3 * rounds)}));
            for (const QString &row : m_db->Rows("SELECT k.q27, (SELECT SUM(n.q70) FROM Noshtuvki n WHERE n.q123 = k.q123) "
                                                 "FROM Klients k WHERE k.q47 = 1"))
                QCOMPARE(row.section('|', 0, 0).toDouble(), row.section('|', 1).toDouble());
        }
        // The name of each stored booking is found by its words ("Гост" and the number), and a
        // refused save left none behind.
        QCOMPARE(m_db->Rows("SELECT COUNT(*) FROM DumiImena"), QStringList({QString::number(2 * rounds)}));
        QCOMPARE(m_db->Rows("SELECT COUNT(*) FROM DumiImena w WHERE w.q124 IN (SELECT q124 FROM Klients WHERE q47 = 1) "
                            "AND w.q162 = 'гост'"),
                 QStringList({QString::number(rounds)}));
        // Through the pooler, the workstations took turns on fewer server sessions than they are.
        if (TestThroughPgBouncer())
            QVERIFY(TestPgBouncer::Instance().ServerLogins() > 0);
    }
};

KALV_TEST_MAIN(TestConcurrency)
#include "tst_concurrency.moc"
