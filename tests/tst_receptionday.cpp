// A receptionist's day on a real X display: the program installed as a package lays it out,
// started in each language, driven only by X events (xdotool) — log in, book two rooms choosing
// from the drop-downs with the mouse, check both in, charge, pay, extend, check out, search,
// close — with the database read after each step. The program answers where its widgets stand
// through its screen probe; it is never told what to do.

#include "startup/UConstMessagesDesk.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesStay.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlError>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString lastFailure;

bool fail(const QString &why)
{
    lastFailure = why;
    qWarning().noquote() << "step failed:" << why;
    return false;
}

struct TRect {
    int X = 0, Y = 0, W = 0, H = 0;
    bool Valid = false;
    static TRect From(const QString &answer)
    {
        const QStringList n = answer.split(QLatin1Char(' '));
        TRect r;
        if (n.size() == 4) {
            r = {n[0].toInt(), n[1].toInt(), n[2].toInt(), n[3].toInt(), true};
        }
        return r;
    }
};

// The X server of one test, the program on it, its probe, and the pointer and keys of a person.
class TDesk
{
public:
    TDesk(const QString &root, const QString &home, const QByteArray &lang) : m_root(root), m_home(home), m_lang(lang) {}
    ~TDesk() { Stop(); }

    bool StartDisplay()
    {
        m_xvfb.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", "1280x900x24", "-nolisten", "tcp"});
        if (!m_xvfb.waitForStarted(5000))
            return fail("Xvfb does not start");
        QElapsedTimer waited;
        waited.start();
        while (!m_xvfb.canReadLine() && waited.elapsed() < 15000)
            m_xvfb.waitForReadyRead(500);
        m_display = QStringLiteral(":") + QString::fromLatin1(m_xvfb.readLine()).trimmed();
        if (m_display.size() < 2)
            return fail("Xvfb told no display");
        // A window manager, as on every desk: it gives the keys back to the window under a closed question.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", m_display);
        m_manager.setProcessEnvironment(env);
        m_manager.setStandardErrorFile(QProcess::nullDevice());  // it misses Debian's menu file, harmlessly
        // Only a press focuses and raises a window: with its default click and double-click
        // bindings the manager holds every click back until it knows which it was.
        const QString rc = m_home + "/openbox-rc.xml";
        QFile config(rc);
        if (!config.open(QIODevice::WriteOnly) ||
            config.write("<openbox_config xmlns=\"http://openbox.org/3.4/rc\"><mouse></mouse></openbox_config>\n") < 0)
            return fail("cannot write the window manager's settings");
        config.close();
        m_manager.start("openbox", {"--sm-disable", "--config-file", rc});
        if (!m_manager.waitForStarted(5000))
            return fail("openbox does not start");
        for (int tries = 0; tries < 50; ++tries) {
            QProcess search;
            search.setProcessEnvironment(env);
            search.setStandardErrorFile(QProcess::nullDevice());
            search.start("xdotool", {"get_num_desktops"});  // answered once the manager runs
            if (search.waitForFinished(5000) && search.exitCode() == 0)
                return true;
            QTest::qWait(100);
        }
        return fail("openbox does not manage the display");
    }

    QProcessEnvironment Environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", m_home);
        env.insert("XDG_CONFIG_HOME", m_home + "/config");
        env.insert("XDG_DATA_HOME", m_home + "/share");
        env.insert("XDG_RUNTIME_DIR", m_home + "/run");
        env.insert("LANG", QString::fromLatin1(m_lang));
        env.remove("LANGUAGE");
        env.remove("LC_ALL");
        env.remove("LC_MESSAGES");
        env.insert("DISPLAY", m_display);
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("KALV_PROBE", m_home + "/probe");
        return env;
    }

    bool MakeDemoHotel()
    {
        QDir(m_home).mkpath("run");
        QFile::setPermissions(m_home + "/run", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QProcess admin;
        admin.setProcessEnvironment(Environment());
        admin.start(m_root + "/usr/bin/kalvhotel-admin", {"demo"});
        if (!admin.waitForFinished(60000) || admin.exitCode() != 0)
            return fail("kalvhotel-admin demo: " + QString::fromUtf8(admin.readAllStandardError()));
        return true;
    }

    bool StartProgram()
    {
        m_program.setProcessEnvironment(Environment());
        m_program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_program.start(m_root + "/usr/bin/kalvhotel", {});
        if (!m_program.waitForStarted(5000))
            return fail("the program does not start");
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 20000) {
            m_probe.connectToServer(m_home + "/probe");
            if (m_probe.waitForConnected(500))
                return true;
            QTest::qWait(200);
        }
        return fail("the program's probe never answered");
    }

    QString Ask(const QString &request)
    {
        if (m_probe.state() != QLocalSocket::ConnectedState)
            return QStringLiteral("gone");
        m_probe.write(request.toUtf8() + '\n');
        m_probe.flush();
        QElapsedTimer waited;
        waited.start();
        while (!m_probe.canReadLine() && waited.elapsed() < 5000)
            m_probe.waitForReadyRead(100);
        return QString::fromUtf8(m_probe.readLine()).trimmed();
    }

    // Asks until the answer suits, as a person looks until the window is there.
    QString WaitFor(const QString &request, const std::function<bool(const QString &)> &suits, int ms = 10000,
                    bool required = true)
    {
        QElapsedTimer waited;
        waited.start();
        QString answer;
        do {
            answer = Ask(request);
            if (suits(answer))
                return answer;
            QTest::qWait(100);
        } while (waited.elapsed() < ms);
        if (required)
            fail(QStringLiteral("'%1' still answers '%2'").arg(request, answer));
        return QString();
    }
    QString WaitShown(const QString &request) { return WaitFor(request, [](const QString &a) { return a != "none" && !a.isEmpty(); }); }
    // Where a thing stands once it stops moving: a window still laying itself out moves its bars.
    QString WaitSettled(const QString &request)
    {
        QString place = WaitShown(request);
        for (int look = 0; look < 20 && !place.isNull(); ++look) {
            QTest::qWait(150);
            const QString again = Ask(request);
            if (again == place)
                break;
            place = again == "none" ? WaitShown(request) : again;
        }
        return place;
    }
    bool WaitIs(const QString &request, const QString &expected)
    {
        return !WaitFor(request, [&](const QString &a) { return a == expected; }).isNull();
    }

    bool Xdo(const QStringList &arguments)
    {
        QProcess xdotool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", m_display);
        xdotool.setProcessEnvironment(env);
        xdotool.start("xdotool", arguments);
        if (!xdotool.waitForFinished(20000) || xdotool.exitCode() != 0)
            return fail("xdotool " + arguments.join(' ') + ": " + QString::fromUtf8(xdotool.readAllStandardError()));
        QTest::qWait(150);  // the program reads the events in its own time
        return true;
    }

    bool ClickAt(int x, int y, int times = 1)
    {
        return Xdo({"mousemove", "--sync", QString::number(x), QString::number(y)}) &&
               Xdo({"click", "--repeat", QString::number(times), "--delay", "80", "1"});
    }
    // Clicks the middle of what the probe names ("find edContragentName", "command acFolioCharge", …).
    bool Click(const QString &request, int times = 1)
    {
        const TRect r = TRect::From(WaitSettled(request));
        return r.Valid ? ClickAt(r.X + r.W / 2, r.Y + r.H / 2, times) : fail("nothing to click for " + request);
    }
    // Letters the keyboard map lacks (Cyrillic on Xvfb's) xdotool maps to a spare key one by
    // one; the program reads each new map in its own time, so those go slower.
    bool Type(const QString &text)
    {
        bool plain = true;
        for (const QChar c : text)
            plain = plain && c.unicode() < 128;
        return Xdo({"type", "--delay", plain ? "40" : "90", "--", text});
    }
    bool Key(const QString &keys) { return Xdo({"key", "--delay", "60", keys}); }
    bool TypeInto(const QString &field, const QString &text)
    {
        // A letter lost on a remapped key is typed again, as a person would retype the field.
        for (int attempt = 0; attempt < 3; ++attempt)
            if (Click("find " + field) && Key("ctrl+a") && Type(text) &&
                !WaitFor("text " + field, [&](const QString &a) { return a == text; }, 2000, false).isNull())
                return true;
        return fail(QStringLiteral("%1 reads '%2', not '%3'").arg(field, Ask("text " + field), text));
    }

    // Opens the drop-down by its arrow and clicks the item in its list.
    bool Choose(const QString &box, const QString &item)
    {
        const TRect r = TRect::From(WaitSettled("find " + box));
        if (!r.Valid || !ClickAt(r.X + r.W - 8, r.Y + r.H / 2))
            return fail("no drop-down " + box);
        const TRect row = TRect::From(WaitShown("item " + item));
        if (!row.Valid)
            return fail(QStringLiteral("'%1' is not in the list of %2").arg(item, box));
        return ClickAt(row.X + row.W / 2, row.Y + row.H / 2) && WaitIs("text " + box, item);
    }

    // Types a date section by section, as the field takes it.
    bool TypeDate(const QString &field, const QDate &date)
    {
        const TRect r = TRect::From(WaitSettled("find " + field));
        if (!r.Valid || !ClickAt(r.X + 10, r.Y + r.H / 2))
            return fail("no date field " + field);
        return Key("Home") && Key("shift+Right") && Key("shift+Right") && Type(date.toString("ddMMyyyy")) && Key("Tab") &&
               WaitIs("text " + field, date.toString("dd.MM.yyyy"));
    }

    // Every question the step brings: its text kept, answered yes (or OK) with the mouse.
    QStringList AcceptBoxes(int atLeast = 1)
    {
        QStringList texts;
        for (;;) {
            const QString text = texts.size() < atLeast ? WaitShown("box") : WaitFor("box", [](const QString &a) { return a != "none"; }, 1500, false);
            if (text.isEmpty() || text == "none")
                break;
            texts << text;
            m_seen << text;
            if (!Click("accept"))
                break;
            WaitFor("box", [&](const QString &a) { return a != text; }, 5000, false);
        }
        return texts;
    }

    const QStringList &Seen() const { return m_seen; }
    bool Shot(const QString &file) { return Ask("shot " + file) == "saved"; }
    bool Ended(int ms)
    {
        m_probe.abort();
        if (m_program.state() != QProcess::NotRunning && !m_program.waitForFinished(ms))
            return false;
        return m_program.exitStatus() == QProcess::NormalExit;
    }
    int ExitCode() const { return m_program.exitCode(); }

    void Stop()
    {
        m_probe.abort();
        if (m_program.state() != QProcess::NotRunning) {
            m_program.kill();
            m_program.waitForFinished(5000);
        }
        if (m_manager.state() != QProcess::NotRunning) {
            m_manager.terminate();
            m_manager.waitForFinished(5000);
        }
        if (m_xvfb.state() != QProcess::NotRunning) {
            m_xvfb.terminate();
            m_xvfb.waitForFinished(5000);
        }
    }

private:
    QString m_root, m_home;
    QByteArray m_lang;
    QString m_display;
    QProcess m_xvfb, m_manager, m_program;
    QLocalSocket m_probe;
    QStringList m_seen;  // every message the program showed
};

// The demonstration database the program works on, read as a separate reader would.
class TLedger
{
public:
    explicit TLedger(const QString &home)
    {
        // The hotel's own file, not the catalogue of databases beside it.
        QDirIterator files(home, {"KalvHotel.sqlite"}, QDir::Files, QDirIterator::Subdirectories);
        if (files.hasNext())
            m_file = files.next();
    }
    ~TLedger() { QSqlDatabase::removeDatabase("ledger"); }
    const QString &File() const { return m_file; }

    QStringList Rows(const QString &sql, const QVariantList &values = {})
    {
        QStringList rows;
        {
            QSqlDatabase db = QSqlDatabase::contains("ledger") ? QSqlDatabase::database("ledger")
                                                                : QSqlDatabase::addDatabase("QSQLITE", "ledger");
            db.setDatabaseName(m_file);
            db.setConnectOptions("QSQLITE_OPEN_READONLY");
            if (!db.isOpen() && !db.open())
                return {"cannot open " + m_file};
            QSqlQuery query(db);
            query.prepare(sql);
            for (const QVariant &value : values)
                query.addBindValue(value);
            if (!query.exec())
                return {"query failed: " + query.lastError().text()};
            while (query.next()) {
                QStringList columns;
                for (int i = 0; i < query.record().count(); ++i)
                    columns << query.value(i).toString();
                rows << columns.join('|');
            }
        }
        return rows;
    }

private:
    QString m_file;
};

} // namespace


class TestReceptionDay : public QObject
{
    Q_OBJECT

    QTemporaryDir m_install;

    struct TLanguageDay {
        QByteArray Lang;
        TLanguage Language;
        QString Guest, Address, Nationality, Amount, AmountStored;
    };
    static TLanguageDay day(const QString &tag)
    {
        // Each language types its own way: a name in its letters, an amount as it writes one.
        if (tag == "en")
            return {"en_US.UTF-8", slEnglish, "Emily Carter", "Cork, 5 Mill Lane", "Ireland", "100.50", "100.5"};
        if (tag == "ru")
            // A Russian-speaking citizen of Latvia: a citizen of a country outside the EU would be asked
            // for the document's series and the birth date first, which this day does not type.
            return {"ru_RU.UTF-8", slRussian, "Анна Смирнова", "Рига, ул. Бривибас 7", "Латвия", "100,50", "100.5"};
        return {"bg_BG.UTF-8", slBulgarian, "Елена Димитрова", "Русе, ул. Дунав 3", "България", "100,50", "100.5"};
    }

private slots:
    void initTestCase()
    {
        // The layout of the package: what `cmake --install` puts under /usr.
        QVERIFY(m_install.isValid());
        QProcess install;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DESTDIR", m_install.path());
        install.setProcessEnvironment(env);
        install.start(KALV_CMAKE, {"--install", KALV_BUILD_DIR, "--prefix", "/usr"});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());
        QVERIFY(QFile::exists(m_install.path() + "/usr/bin/kalvhotel"));
    }

    void aReceptionistsDay_data()
    {
        QTest::addColumn<QString>("tag");
        for (const char *tag : {"bg", "en", "ru"})
            QTest::newRow(tag) << QString::fromLatin1(tag);
    }

    void aReceptionistsDay()
    {
        QFETCH(QString, tag);
        const TLanguageDay lang = day(tag);
        ResetCatalogue();
        FillCatalogue(lang.Language);  // the texts the program must show in that language
        QTemporaryDir home;
        TDesk desk(m_install.path(), home.path(), lang.Lang);
        QVERIFY2(desk.StartDisplay(), qPrintable(lastFailure));
        QVERIFY2(desk.MakeDemoHotel(), qPrintable(lastFailure));
        TLedger ledger(home.path());
        QVERIFY2(!ledger.File().isEmpty(), "no database was made");
        QVERIFY2(desk.StartProgram(), qPrintable(lastFailure));
        const auto shotOnFailure = qScopeGuard([&] {
            if (QTest::currentTestFailed())
                desk.Shot(QDir::tempPath() + "/receptionday-" + tag + ".png");
        });
        const QDate day0 = QDate::currentDate();

        // Log in with the keys: the login window has them in its user-name box.
        QVERIFY2(desk.WaitIs("focus", "username"), qPrintable(lastFailure));
        QVERIFY(desk.Type("demo") && desk.Key("Tab") && desk.Type("demo") && desk.Key("Return"));
        QVERIFY2(!desk.WaitShown("find BoardCanvas").isNull(), qPrintable(lastFailure));

        // A booking of two rooms: tariff, currency, hotel and rooms chosen from the lists with the mouse.
        QVERIFY2(desk.Click("command actOperReserv"), qPrintable(lastFailure));
        QVERIFY2(desk.WaitIs("focus", "edContragentName"), qPrintable(lastFailure));
        QVERIFY2(desk.TypeInto("edContragentName", lang.Guest), qPrintable(lastFailure));
        QVERIFY2(desk.TypeInto("edContragentAddress", lang.Address), qPrintable(lastFailure));
        QVERIFY2(desk.TypeInto("edContragentID", "8802021234"), qPrintable(lastFailure));
        QVERIFY2(desk.Choose("cbTarife", "Основна"), qPrintable(lastFailure));
        QVERIFY2(desk.Choose("cbCurrency", "EUR"), qPrintable(lastFailure));
        QVERIFY2(desk.Click("tab PageControl1 1"), qPrintable(lastFailure));
        QVERIFY2(desk.Choose("cbHotel", "Хотел Калв"), qPrintable(lastFailure));
        QVERIFY2(desk.Click("tab PageControl1 2"), qPrintable(lastFailure));
        QVERIFY2(desk.Choose("cbRoomNumber", "204"), qPrintable(lastFailure));
        QVERIFY2(desk.TypeDate("DateTimePicker2", day0.addDays(2)), qPrintable(lastFailure));
        QVERIFY2(desk.Click("command acOperReservationPrepareContragentForReserv"), qPrintable(lastFailure));
        QVERIFY2(desk.WaitIs("rows DBGrid1", "1"), qPrintable(lastFailure));
        // The added row takes the window back to the guest's page, ready for the next guest.
        QVERIFY2(desk.Click("tab PageControl1 2"), qPrintable(lastFailure));
        QVERIFY2(desk.Choose("cbRoomNumber", "205"), qPrintable(lastFailure));
        QVERIFY2(desk.Click("command acOperReservationPrepareContragentForReserv"), qPrintable(lastFailure));
        QVERIFY2(desk.WaitIs("rows DBGrid1", "2"), qPrintable(lastFailure));
        QVERIFY2(desk.Click("command acOperReservationSave"), qPrintable(lastFailure));
        const QStringList saved = desk.AcceptBoxes();
        const QString number = ledger.Rows("SELECT max(q124) FROM Rezervacii WHERE q29 = ?", {lang.Guest}).value(0);
        QCOMPARE(saved, QStringList({msgBookingSaved.arg(number)}));
        const QString stays = "SELECT r.q44, k.q125, date(k.q34), date(k.q35) FROM Klients k JOIN Rooms r ON r.q47 = k.q47 "
                              "WHERE k.q124 = ? AND k.q42 IS NULL AND k.q160 IS NULL ORDER BY r.q44";
        const QString from = day0.toString(Qt::ISODate);
        QCOMPARE(ledger.Rows(stays, {number}), QStringList({QString("204|0|%1|%2").arg(from, day0.addDays(2).toString(Qt::ISODate)),
                                                           QString("205|0|%1|%2").arg(from, day0.addDays(2).toString(Qt::ISODate))}));
        QVERIFY(desk.Key("Escape"));  // closes the saved reservation window, not the program
        QVERIFY2(desk.WaitIs("window", "FHotel"), qPrintable(lastFailure));

        // Both rooms checked in from today's arrivals, each guest's row chosen with the mouse.
        for (const QString room : {"204", "205"}) {
            QVERIFY2(desk.Click("command actOperNastaniavane"), qPrintable(lastFailure));
            const QString row = desk.WaitShown("findrow DBGrid1 " + room);
            QVERIFY2(!row.isNull(), qPrintable(lastFailure));
            QVERIFY2(desk.Click(QString("cell DBGrid1 %1 0").arg(row)), qPrintable(lastFailure));
            QVERIFY2(desk.TypeInto("edNastaniavaneNationality", lang.Nationality), qPrintable(lastFailure));
            QVERIFY2(desk.Click("command acNastaniavaneCheckIn"), qPrintable(lastFailure));
            const QStringList asked = desk.AcceptBoxes(0);
            QVERIFY2(asked.isEmpty(), qPrintable(asked.join(" / ")));
            QVERIFY2(desk.WaitIs("window", "FFolio"), qPrintable(lastFailure));
        }
        QCOMPARE(ledger.Rows(stays, {number}), QStringList({QString("204|1|%1|%2").arg(from, day0.addDays(2).toString(Qt::ISODate)),
                                                           QString("205|1|%1|%2").arg(from, day0.addDays(2).toString(Qt::ISODate))}));

        // In the folio: two breakfasts charged, then a deposit typed as the language writes amounts.
        QVERIFY2(desk.Click("tab pcFolio 2"), qPrintable(lastFailure));
        QVERIFY2(desk.Choose("cbFolioService", "Закуска"), qPrintable(lastFailure));
        QVERIFY2(desk.TypeInto("edFolioQuantity", "2"), qPrintable(lastFailure));
        QVERIFY2(desk.Click("command acFolioCharge"), qPrintable(lastFailure));
        QCOMPARE(desk.AcceptBoxes().size(), 1);
        QCOMPARE(ledger.Rows("SELECT q70, q71, q27 FROM Klients WHERE q124 = ? AND q33 = ?", {number, "Закуска"}),
                 QStringList({"12|2|24"}));
        QVERIFY2(desk.Click("tab pcFolio 3"), qPrintable(lastFailure));
        QVERIFY2(desk.TypeInto("edFolioAmount", lang.Amount), qPrintable(lastFailure));
        QVERIFY2(desk.Click("command acFolioPayment"), qPrintable(lastFailure));
        QCOMPARE(desk.AcceptBoxes().size(), 1);
        QCOMPARE(ledger.Rows("SELECT q140 FROM Plashtania WHERE q124 = ?", {number}), QStringList({lang.AmountStored}));

        // One night more for the room the folio shows: its departure typed in the date field.
        QVERIFY2(desk.Click("tab pcFolio 1"), qPrintable(lastFailure));
        QVERIFY2(desk.TypeDate("dtpFolioDeparture", day0.addDays(3)), qPrintable(lastFailure));
        QVERIFY2(desk.Click("command acFolioExtend"), qPrintable(lastFailure));
        QCOMPARE(desk.AcceptBoxes().size(), 1);
        QCOMPARE(ledger.Rows("SELECT count(*) FROM Klients WHERE q124 = ? AND q125 = 1 AND date(q35) = ?",
                             {number, day0.addDays(3).toString(Qt::ISODate)}),
                 QStringList({"1"}));

        // The balance paid as the account page shows it, then F8: every question answered yes.
        QVERIFY2(desk.Click("tab pcFolio 4"), qPrintable(lastFailure));
        const QString balance = desk.WaitShown("text edFolioBalance");
        QVERIFY2(desk.Click("tab pcFolio 3"), qPrintable(lastFailure));
        QVERIFY2(desk.TypeInto("edFolioAmount", balance), qPrintable(lastFailure));
        QVERIFY2(desk.Click("command acFolioPayment"), qPrintable(lastFailure));
        QCOMPARE(desk.AcceptBoxes().size(), 1);
        QVERIFY2(desk.Click("tab pcFolio 4"), qPrintable(lastFailure));
        QVERIFY2(desk.WaitIs("text edFolioBalance", QString("0" + balance.right(3).left(1) + "00")), qPrintable(lastFailure));
        QVERIFY(desk.Key("F8"));
        QVERIFY(!desk.AcceptBoxes().isEmpty());
        QCOMPARE(ledger.Rows(stays, {number}), QStringList({QString("204|1|%1|%2").arg(from, day0.addDays(2).toString(Qt::ISODate)),
                                                           QString("205|2|%1|%1").arg(from)}));
        // The other room: its row in the folio clicked, then its own check-out command.
        const QString other = desk.WaitShown("findrow DBGrid1 204");
        QVERIFY2(!other.isNull(), qPrintable(lastFailure));
        QVERIFY2(desk.Click(QString("cell DBGrid1 %1 0").arg(other)), qPrintable(lastFailure));
        QVERIFY2(desk.Click("command acFolioCheckOut"), qPrintable(lastFailure));
        QVERIFY(!desk.AcceptBoxes().isEmpty());
        QCOMPARE(ledger.Rows(stays, {number}), QStringList({QString("204|2|%1|%1").arg(from), QString("205|2|%1|%1").arg(from)}));

        // F3 to the search box: the guest's name finds the booking.
        QVERIFY(desk.Key("F3"));
        QVERIFY2(desk.WaitIs("focus", "EditSearchMain"), qPrintable(lastFailure));
        QVERIFY2(desk.TypeInto("EditSearchMain", lang.Guest), qPrintable(lastFailure));
        QVERIFY(desk.Key("Return"));
        QVERIFY2(desk.WaitIs("window", "FTarsene"), qPrintable(lastFailure));
        QVERIFY2(!desk.WaitShown("findrow DBGrid1 " + number).isNull(), qPrintable(lastFailure));

        // Esc closes the windows one by one, then asks whether to leave the program.
        QString asked;
        for (int window = 0; window < 8 && asked.isEmpty(); ++window) {
            QVERIFY(desk.Key("Escape"));
            asked = desk.WaitFor("box", [](const QString &a) { return a != "none"; }, 800, false);
        }
        QCOMPARE(asked, msgQuitProgram);
        QVERIFY2(desk.Click("accept"), qPrintable(lastFailure));
        QVERIFY2(desk.Ended(15000), "the program did not end");
        QCOMPARE(desk.ExitCode(), 0);

        // What the day wrote: every payment, a log row per step, amounts as the language writes them.
        QCOMPARE(ledger.Rows("SELECT sum(q140) FROM Plashtania WHERE q124 = ?", {number}).value(0).toDouble(), 474.0);
        QVERIFY(ledger.Rows("SELECT count(*) FROM Dnevnik WHERE q124 = ?", {number}).value(0).toInt() >= 8);
        // (a date's "10.12.2026" and a grouped "1,234.50" are not amounts of the other kind)
        const QRegularExpression otherDecimal(tag == "en" ? R"(\d,\d\d(?!,?\d))" : R"(\d\.\d\d(?!\.?\d))");
        for (const QString &text : desk.Seen())
            QVERIFY2(!otherDecimal.match(text).hasMatch(), qPrintable(text));
    }
};

QTEST_MAIN(TestReceptionDay)
#include "tst_receptionday.moc"
