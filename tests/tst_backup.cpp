// Backups through kalvhotel-admin while another workstation books: the restored database passes
// the start-up check and holds every booking committed before the backup began; a file that is
// no backup of this program, or a damaged one, is refused and changes nothing.

#include "TestHarness.h"
#include "admin/UInitMSSQL.h"
#include "data/UAdoDb.h"
#include "data/UDM.h"
#include "data/UBackup.h"
#include "data/UDbSchema.h"
#include "data/USchemaUpgrade.h"
#include "data/UADOComunicationControl.h"
#include "startup/KalvCM.h"
#include "startup/UConstMessagesHotel.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <functional>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

class TestBackup : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    QTemporaryDir m_dir;

    // kalvhotel-admin with its exit code and what it said.
    QPair<int, QString> admin(const QStringList &arguments)
    {
        QProcess process;
        process.setProcessEnvironment(m_db->Home().ProcessEnvironment());
        process.start(TestHome::BuildBinFolder() + "kalvhotel-admin", arguments);
        if (!process.waitForFinished(120000))
            return {-1, "hung"};
        return {process.exitCode(),
                QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError()).trimmed()};
    }
    QSet<QString> bookings()
    {
        const QStringList rows = m_db->Rows("SELECT q124 FROM Klients WHERE q47 IS NOT NULL");
        return QSet<QString>(rows.begin(), rows.end());
    }
    QStringList everything()
    {
        return m_db->Rows("SELECT * FROM Klients ORDER BY q123") + m_db->Rows("SELECT * FROM Rezervacii ORDER BY q124");
    }
    // The start-up check of the program on the restored database.
    bool passesStartupCheck()
    {
        LocalConnection().Close();
        TFInitMSSQL splash;
        return splash.InitializeWindow() && !DatabaseSetupRequired;
    }

private slots:
    void initTestCase() { FillCatalogue(slBulgarian); }
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        m_db->Exec("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски')");
        m_db->Exec("INSERT INTO Tarife (q50) VALUES ('Основна')");
        m_db->Exec("INSERT INTO Valuta (q56, q1) VALUES ('BGN', 1)");
        m_db->Exec("INSERT INTO Uslugi (q40, q33, q51) VALUES (60, 'Единична', 1)");
        m_db->Exec("INSERT INTO Rooms (q44, q46, q1, q42, q81, q82, q83, q84) VALUES ('101', 60, 1, 1, 60, 40, 10, 10)");
        InstallDeliveredProcedures({"proc_CopyAllTablesValues"});
    }
    void cleanup() { m_db.reset(); }

    // The embedded engine's own file, changed as a damaged disk or a careless hand would.
    void harmfulBackupsAreRefusedAndTheDatabaseStaysUsable()
    {
        if (TestOnPostgres())
            QSKIP("the embedded engine's file format");
        const QString good = m_dir.filePath("base.backup");
        Backup::Take(good);
        const QStringList before = everything();
        auto reopen = [] {
            LocalConnection().Close();
            return TADOComunicationControl().ConnectFromSettings();
        };
        auto usable = [&] {
            try {
                m_db->Exec("INSERT INTO Dnevnik (q147) VALUES ('probe')");
                m_db->Exec("DELETE FROM Dnevnik WHERE q147 = 'probe'");
                return passesStartupCheck() && reopen();
            } catch (const Exception &) {
                return false;
            }
        };
        auto changed = [&](const QString &name, const std::function<void(const QString &)> &change) {
            const QString file = m_dir.filePath(name);
            QFile::remove(file);
            QFile::copy(good, file);
            QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
            change(file);
            return file;
        };
        auto sql = [](const QString &file, const QString &statement) {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "changed");
            db.setDatabaseName(file);
            db.open();
            QSqlQuery(db).exec(statement);
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase("changed");
        };
        const QStringList harmful = {
            // A header whose write version no writer of today knows: read-only for every workstation.
            changed("version3.backup", [](const QString &file) {
                QFile f(file);
                f.open(QIODevice::ReadWrite);
                f.seek(18);
                f.write("\x03", 1);
            }),
            changed("nobookings.backup", [&](const QString &file) { sql(file, "DROP TABLE Rezervacii"); }),
            changed("renamed.backup", [&](const QString &file) { sql(file, "ALTER TABLE Klients RENAME COLUMN q29 TO q29x"); }),
            // An index that no longer matches its table, the file's length unchanged: passes a
            // quick check, and arrivals would be read through the wrong index.
            changed("index.backup", [&](const QString &file) {
                const qint64 length = QFileInfo(file).size();
                sql(file, "INSERT INTO Klients (q1, q29, q34, q35, q47) VALUES (1, 'Индекс', '2026-05-01', '2026-05-04', 1)");
                QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "index");
                db.setDatabaseName(file);
                db.open();
                QSqlQuery(db).exec("PRAGMA writable_schema = ON");
                QSqlQuery(db).exec("UPDATE sqlite_master SET sql = 'CREATE INDEX \"IX_Klients_RoomStay\" ON \"Klients\" "
                                   "(\"q34\", \"q47\", \"q35\")' WHERE name = 'IX_Klients_RoomStay'");
                QSqlQuery(db).exec("PRAGMA writable_schema = OFF");
                db.close();
                db.open();  // the damage is of the kind a quick check misses
                QSqlQuery quick(db), whole(db);
                QVERIFY(quick.exec("PRAGMA quick_check") && quick.next() && quick.value(0).toString() == "ok");
                QVERIFY(whole.exec("PRAGMA integrity_check") && whole.next() && whole.value(0).toString() != "ok");
                quick.finish();
                whole.finish();
                db.close();
                db = QSqlDatabase();
                QSqlDatabase::removeDatabase("index");
                QCOMPARE(QFileInfo(file).size(), length);
            }),
        };
        for (const QString &file : harmful) {
            QVERIFY_THROWS_EXCEPTION(EBackupError, Backup::Restore(file));
            QVERIFY(reopen());
            QCOMPARE(everything(), before);
            QVERIFY2(usable(), qPrintable(file));
        }
        // Random damage: refused with the database unchanged, or accepted and fully usable.
        const int rounds = qEnvironmentVariableIsSet("KALV_FUZZ_ROUNDS") ? qEnvironmentVariableIntValue("KALV_FUZZ_ROUNDS") : 200;
        QRandomGenerator random(20261210);
        const qint64 size = QFileInfo(good).size();
        int refused = 0;
        for (int round = 0; round < rounds; ++round) {
            const QString file = changed("mutated.backup", [&](const QString &name) {
                QFile f(name);
                f.open(QIODevice::ReadWrite);
                const int bytes = 1 + int(random.bounded(4));
                for (int i = 0; i < bytes; ++i) {
                    // Mostly the first pages, where the header and the schema are.
                    const qint64 at = random.bounded(2) ? random.bounded(qMin<qint64>(size, 8192)) : random.bounded(size);
                    f.seek(at);
                    const char value = char(random.bounded(256));
                    f.write(&value, 1);
                }
            });
            bool accepted = true;
            try {
                Backup::Restore(file);
            } catch (const EBackupError &) {
                accepted = false;
                ++refused;
            }
            QVERIFY(reopen());
            if (!accepted)
                QCOMPARE(everything(), before);
            QVERIFY2(usable(), qPrintable(QString("round %1 %2").arg(round).arg(accepted ? "accepted" : "refused")));
            if (accepted) {
                Backup::Restore(good);
                QVERIFY(reopen());
            }
        }
        qInfo("%d mutated backups: %d refused, %d accepted and usable", rounds, refused, rounds - refused);
    }

    void aBackupOfAnotherShapeIsRefusedOnEveryEngine()
    {
        // A sound file of the engine, but a column of the bookings renamed: refused before the
        // live database is touched (PostgreSQL checks it in a scratch database first).
        m_db->Exec("ALTER TABLE Klients RENAME COLUMN q29 TO q29x");
        const QString renamed = m_dir.filePath("renamed.backup");
        const auto taken = admin({"backup", renamed});
        m_db->Exec("ALTER TABLE Klients RENAME COLUMN q29x TO q29");
        QVERIFY2(taken.first == 0, qPrintable(taken.second));
        const QStringList before = everything();
        const auto refused = admin({"restore", renamed});
        QVERIFY2(refused.first != 0, qPrintable(refused.second));
        QVERIFY2(refused.second.contains("q29"), qPrintable(refused.second));
        QVERIFY(passesStartupCheck());
        QCOMPARE(everything(), before);
    }

    void aBackupOfAnOlderVersionIsBroughtUpToDateBeforeItReplacesAnything()
    {
        // Two backups of a first-version database: a sound one, and one the upgrade cannot take
        // (a view stands where the log table must go).
        MakeFirstVersionDatabase();
        const QDate today = QDate::currentDate();
        m_db->Exec("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски')");
        m_db->Exec("INSERT INTO Rooms (q44, q46, q1, q42) VALUES ('101', 60, 1, 1)");
        m_db->Exec("INSERT INTO Klients (q1, q28, q29, q31, q34, q35, q47, q70, q71, q27) VALUES "
                   "(1, '7001011234', 'Стар гост', 'Мъж', ?, ?, 1, 60, 2, 120)",
                   {today, today.addDays(2)});
        const QString old = m_dir.filePath("old.backup"), stuck = m_dir.filePath("stuck.backup");
        Backup::Take(old);
        m_db->Exec("CREATE VIEW Dnevnik AS SELECT 1 AS q143");
        Backup::Take(stuck);
        m_db->Exec("DROP VIEW Dnevnik");
        SchemaUpgrade::BringUpToDate(m_db->Connection());
        m_db->Exec("INSERT INTO Dnevnik (q147) VALUES ('live')");
        const QStringList before = everything();

        const auto refused = admin({"restore", stuck});
        QVERIFY2(refused.first != 0, qPrintable(refused.second));
        QVERIFY2(refused.second.contains("cannot be brought up"), qPrintable(refused.second));
        QVERIFY(passesStartupCheck());
        QCOMPARE(everything(), before);
        QCOMPARE(m_db->Rows("SELECT q147 FROM Dnevnik"), QStringList({"live"}));

        // The sound one arrives already upgraded: its stay in house, a booking of its own.
        const auto restored = admin({"restore", old});
        QVERIFY2(restored.first == 0, qPrintable(restored.second));
        m_db->Connection().Close();
        m_db->Connection().Open();
        QCOMPARE(SchemaUpgrade::StoredVersion(m_db->Connection()), SchemaVersion);
        QCOMPARE(m_db->Rows("SELECT q29, q125, CASE WHEN q124 = q123 THEN 1 ELSE 0 END FROM Klients"), QStringList({"Стар гост|1|1"}));
        QCOMPARE(m_db->Rows("SELECT COUNT(*) FROM Rezervacii"), QStringList({"1"}));
        QVERIFY(passesStartupCheck());
    }

    void aKilledBackupLeavesNoPartBehind()
    {
        // Killed at every moment of its writing, then started again: no part stays beside the file.
        for (int i = 0; i < 200; ++i)
            m_db->Exec("INSERT INTO Dnevnik (q147) VALUES (?)", {QString(400, QChar('x' + i % 3))});
        const QString file = m_dir.filePath("nightly.backup");
        for (int killAfter : {0, 5, 15, 30, 60, 120}) {
            QProcess process;
            process.setProcessEnvironment(m_db->Home().ProcessEnvironment());
            process.start(TestHome::BuildBinFolder() + "kalvhotel-admin", {"backup", file});
            QVERIFY(process.waitForStarted());
            QTest::qWait(killAfter);
            process.kill();
            process.waitForFinished(10000);
        }
        // A part whose writer was killed (as its note says) goes at the next start.
        QProcess gone;
        gone.start("sleep", {"0.1"});
        QVERIFY(gone.waitForStarted());
        const qint64 deadPid = gone.processId();
        QVERIFY(gone.waitForFinished());
        QFile killed(m_dir.filePath("nightly.backup.ZyXwVu.partial"));
        QVERIFY(killed.open(QIODevice::WriteOnly));
        killed.close();
        {
            QSettings parts("Oxtarne", "Backup parts");
            parts.setValue("killed/file", m_dir.filePath("nightly.backup"));
            parts.setValue("killed/pid", deadPid);
            parts.sync();
        }
        // A part another writer is still writing stays.
        QFile living(m_dir.filePath("other.backup.AbCdEf.partial"));
        QVERIFY(living.open(QIODevice::WriteOnly));
        living.close();
        {
            QSettings parts("Oxtarne", "Backup parts");
            parts.setValue("living/file", m_dir.filePath("other.backup"));
            parts.setValue("living/pid", QCoreApplication::applicationPid());
            parts.sync();
        }
        const auto next = admin({"backup", m_dir.filePath("another.backup")});
        QVERIFY2(next.first == 0, qPrintable(next.second));
        QCOMPARE(QDir(m_dir.path()).entryList({"*.partial"}, QDir::Files), QStringList({"other.backup.AbCdEf.partial"}));
        living.remove();
        QSettings("Oxtarne", "Backup parts").remove("living");
    }

    void backupWhileAnotherWorkstationBooks()
    {
        const int rounds = 24;
        const qint64 period = 250;
        const qint64 start = QDateTime::currentMSecsSinceEpoch() + 2500;
        QProcess workstation;
        workstation.setProcessEnvironment(m_db->Home().ProcessEnvironment());
        workstation.start(TestHome::BuildBinFolder() + "kalv_workstation",
                          {"book", m_db->Home().DataFolderPath(), "Морски", "101", "2027-03-01", "0", "3",
                           QString::number(rounds), QString::number(start), QString::number(period)});
        // Some bookings are in; the backup begins while the others are being made.
        QTRY_VERIFY_WITH_TIMEOUT(bookings().size() >= 5, 20000);
        const QSet<QString> before = bookings();
        const QString file = m_dir.filePath("hotel.backup");
        const auto taken = admin({"backup", file});
        QVERIFY2(taken.first == 0, qPrintable(taken.second));
        QVERIFY(QFileInfo(file).size() > 0);
        QCOMPARE(QDir(m_dir.path()).entryList({"*.partial"}, QDir::Files), QStringList());
        // The backup holds operators' hashes and guests' data: its owner's alone.
        QCOMPARE(int(QFileInfo(file).permissions() & 0x0077), 0);
        QVERIFY(workstation.waitForFinished(60000));
        QCOMPARE(workstation.exitCode(), 0);
        const QSet<QString> after = bookings();
        QCOMPARE(after.size(), rounds);

        const auto restored = admin({"restore", file});
        QVERIFY2(restored.first == 0, qPrintable(restored.second));
        QVERIFY(passesStartupCheck());
        const QSet<QString> back = bookings();
        QVERIFY(back.contains(before));
        QVERIFY(back.size() < after.size());
        // Whole bookings only: every booking there has its stay, every stay its booking.
        QCOMPARE(m_db->Rows("SELECT COUNT(*) FROM Rezervacii b WHERE NOT EXISTS "
                            "(SELECT 1 FROM Klients k WHERE k.q124 = b.q124)"),
                 QStringList({"0"}));
        QCOMPARE(m_db->Rows("SELECT COUNT(*) FROM Rezervacii"), QStringList({QString::number(back.size())}));
    }

    void restoreRefusesWhatIsNoBackupOfThisProgram()
    {
        const QString good = m_dir.filePath("good.backup");
        QCOMPARE(admin({"backup", good}).first, 0);
        m_db->Exec("INSERT INTO Klients (q1, q29, q47, q34, q35) VALUES (1, 'След копието', 1, ?, ?)",
                   {QDate(2027, 1, 1), QDate(2027, 1, 3)});
        const QStringList now = everything();

        QFile text(m_dir.filePath("notes.txt"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a database\n");
        text.close();
        QFile damaged(m_dir.filePath("damaged.backup"));
        QFile source(good);
        QVERIFY(source.open(QIODevice::ReadOnly) && damaged.open(QIODevice::WriteOnly));
        damaged.write(source.read(source.size() / 2));  // a copy cut off half way
        damaged.close();
        // A database, but not of this program.
        const QString foreign = m_dir.filePath("foreign.backup");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
            db.setDatabaseName(foreign);
            QVERIFY(db.open());
            QSqlQuery(db).exec("CREATE TABLE Notes (text TEXT)");
            db.close();
        }
        QSqlDatabase::removeDatabase("foreign");

        for (const QString &file : {text.fileName(), damaged.fileName(), foreign, m_dir.filePath("missing.backup")}) {
            const auto refused = admin({"restore", file});
            QVERIFY2(refused.first != 0, qPrintable(file));
            QVERIFY2(refused.second.contains(QFileInfo(file).fileName()), qPrintable(refused.second));
            QVERIFY(passesStartupCheck());
            QCOMPARE(everything(), now);
        }
        // The good one brings back the database as it was at its backup.
        QCOMPARE(admin({"restore", good}).first, 0);
        QVERIFY(passesStartupCheck());
        QCOMPARE(m_db->Rows("SELECT COUNT(*) FROM Klients WHERE q29 = 'След копието'"), QStringList({"0"}));
    }
};

KALV_TEST_MAIN(TestBackup)
#include "tst_backup.moc"
