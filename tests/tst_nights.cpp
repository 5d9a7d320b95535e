// Stays priced by a rate plan: the reservation window shows and stores each night's price from
// two seasons, the weekdays, the adults and a child; the plan's restrictions refused, or booked
// by an operator with the right (logged); a plan changed after booking leaves the stay as booked;
// extension, shortening, a move that keeps or reprices; meals charged per person at the day's
// close; the turnover report's plans and room types against a plain count of the night rows; and
// the register of plans driven by mouse and keys.
#include "TestHarness.h"
#include "UserInput.h"
#include "desk/UDayClose.h"
#include "desk/UNights.h"
#include "desk/UOperationPreview.h"
#include "framework/UFormatSettings.h"
#include "desk/UReports.h"
#include "desk/URatePlans.h"
#include "desk/URights.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesReports.h"
#include "startup/UConstMessagesStay.h"
#include "startup/USystemWinOS.h"
#include "windows/UFolio.h"
#include "windows/UNomCenovi.h"
#include "windows/UOperReservation.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

using namespace FrontDesk;

namespace {

const QDate d0(2027, 6, 28);  // a Monday, three nights before July's season
const TDecimal d(const char *text) { return TDecimal::FromText(QString::fromLatin1(text)); }

// The plan's prices written out plainly: a double room for two is 100 in June (Friday and
// Saturday 120) and 150 in July and August; one adult 80, three 190, an extra bed 40; the
// apartment for two 180 in June and 220 after. Children up to 1 sleep free, from 2 to 11 pay half
// of an adult's share.
TDecimal plainRoomPrice(const QString &type, const QDate &night, int adults)
{
    const bool june = night.month() == 6;
    if (type == "Апартамент")
        return june ? d("180") : d("220");
    if (adults == 1)
        return d("80");
    if (adults >= 3)
        return d("190") + d("40") * TDecimal(adults - 3);
    const bool weekend = night.dayOfWeek() == Qt::Friday || night.dayOfWeek() == Qt::Saturday;
    return june ? (weekend ? d("120") : d("100")) : d("150");
}

// A day as the test's rows give it.
QDate dayOf(const QString &text)
{
    const QDate day = QDate::fromString(text.left(10), "dd.MM.yyyy");
    return day.isValid() ? day : QDate::fromString(text.left(10), Qt::ISODate);
}

TDecimal plainNight(const QString &type, const QDate &night, int adults, const QList<int> &ages)
{
    const TDecimal room = plainRoomPrice(type, night, adults);
    const qint64 share = (2 * room.ToCents() + adults) / (2 * adults);
    TDecimal price = room;
    for (const int age : ages)
        if (age >= 2)
            price += TDecimal::FromCents((share + 1) / 2);
    return price;
}

} // namespace

class TestNights : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    int m_plan = 0;

    TADOConnection &connection() { return m_db->Connection(); }
    QStringList rows(const QString &sql) { return m_db->Rows(sql); }
    int count(const QString &sql) { return rows(sql).value(0).toInt(); }
    int roomId(const QString &number) { return count("SELECT q47 FROM Rooms WHERE q44 = '" + number + "'"); }
    QString total(int stay) { return TDecimal::FromText(rows(QString("SELECT q27 FROM Klients WHERE q123 = %1").arg(stay)).value(0)).ToFixed(2); }
    QStringList nights(int stay)
    {
        QStringList texts;
        for (const QString &row : rows(QString("SELECT q299, q70 FROM Noshtuvki WHERE q123 = %1 ORDER BY q299").arg(stay)))
            texts.append(dayOf(row.section('|', 0, 0)).toString("MM-dd") + "=" +
                         TDecimal::FromText(row.section('|', 1)).ToFixed(2));
        return texts;
    }
    QStringList plainNights(const QString &type, const QDate &from, const QDate &to, int adults, const QList<int> &ages)
    {
        QStringList texts;
        for (QDate night = from; night < to; night = night.addDays(1))
            texts.append(night.toString("MM-dd") + "=" + plainNight(type, night, adults, ages).ToFixed(2));
        return texts;
    }
    QString plainTotal(const QStringList &priced)
    {
        TDecimal sum;
        for (const QString &night : priced)
            sum += TDecimal::FromText(night.section('=', 1));
        return sum.ToFixed(2);
    }

    // A reserved stay of the room priced by the plan, as the reservation window's save leaves it.
    int bookPlanned(const QString &room, const QDate &from, const QDate &to, int adults, const QString &ages)
    {
        const int booking = connection().InsertReturningIdentity("Rezervacii", {"q1", "q29"}, "VALUES (1, 'Гост')", {});
        const int stay = connection().InsertReturningIdentity(
            "Klients", {"q1", "q29", "q34", "q35", "q47", "q70", "q71", "q27", "q124", "q125"},
            "VALUES (1, 'Гост', ?, ?, ?, 0, ?, 0, ?, 0)", {from, to, roomId(room), int(from.daysTo(to)), booking});
        TTransaction transaction(connection(), true);
        Nights::PriceBooking(connection(), booking, {{roomId(room), from, m_plan, {adults, Nights::AgesOf(ages)}, false}});
        transaction.Commit();
        return stay;
    }

    TFOperReservation *openReservation()
    {
        auto *window = new TFOperReservation;
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        if (!window->InitializeWindow())
            return nullptr;
        window->show();
        return QTest::qWaitForWindowExposed(window) ? window : nullptr;
    }
    // The booking's fields as a receptionist types and chooses them, the plan instead of the tariff.
    void fillBooking(TFOperReservation &window, const QString &room, const QDate &from, const QDate &to,
                     const QString &adults, const QString &ages)
    {
        QTabBar *tabs = window.Pages()->tabBar();
        QVERIFY(ClickOn(tabs, tabs->tabRect(0).center()));
        QVERIFY(TypeInto(window.edContragentName, "Мария Иванова"));
        QVERIFY(TypeInto(window.edContragentID, "8505051234"));
        QVERIFY(TypeInto(window.edContragentAddress, "София"));
        QVERIFY(ChooseFromDropDown(window.cbCurrency, "EUR"));
        QVERIFY(ChooseFromDropDown(window.cbCenovPlan, "Лято"));
        QVERIFY(TypeInto(window.edAdults, adults));
        QVERIFY(ages.isEmpty() ? ClearField(window.edChildAges) : TypeInto(window.edChildAges, ages));
        QVERIFY(ClickOn(tabs, tabs->tabRect(1).center()));
        QVERIFY(ChooseFromDropDown(window.cbHotel, "Морски"));
        QVERIFY(ClickOn(tabs, tabs->tabRect(2).center()));
        QVERIFY(ChooseFromDropDown(window.cbRoomNumber, room));
        QVERIFY(TypeDate(window.DateTimePicker1, from));
        QVERIFY(TypeDate(window.DateTimePicker2, to));
    }

private slots:
    void initTestCase() { FillCatalogue(slBulgarian); }
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        SetToday(d0);
        Rights::SetCurrent(1, Rights::Full());
        InstallDeliveredProcedures({"proc_CopyAllTablesValues"});
        m_db->Exec("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски')");
        m_db->Exec("INSERT INTO Rooms (q44, q46, q1, q129, q79, q275) VALUES ('201', 60, 1, 0, 3, 'Двойна'), "
                   "('202', 60, 1, 0, 4, 'Апартамент'), ('203', 70, 1, 0, 2, 'Двойна')");
        m_db->Exec("INSERT INTO Tarife (q50) VALUES ('Основна')");
        m_db->Exec("INSERT INTO Uslugi (q40, q33) VALUES (10, 'Закуска')");
        const int breakfast = count("SELECT q42 FROM Uslugi WHERE q33 = 'Закуска'");
        if (count("SELECT COUNT(*) FROM Valuta WHERE q56 = 'EUR'") == 0)
            m_db->Exec("INSERT INTO Valuta (q56, q86) VALUES ('EUR', 1)");
        const int euro = count("SELECT q57 FROM Valuta WHERE q56 = 'EUR'");
        m_plan = connection().InsertReturningIdentity("CenoviPlanove", {"q277", "q57", "q278", "q279", "q280"},
                                                      "VALUES ('Лято', ?, 1, ?, ?)", {euro, int(Nights::mpBreakfast), breakfast});
        const int june = connection().InsertReturningIdentity("Sezoni", {"q276", "q284", "q52", "q53"}, "VALUES (?, 'Юни', ?, ?)",
                                                              {m_plan, QDate(2027, 6, 1), QDate(2027, 6, 30)});
        const int july = connection().InsertReturningIdentity("Sezoni", {"q276", "q284", "q52", "q53"}, "VALUES (?, 'Лято', ?, ?)",
                                                              {m_plan, QDate(2027, 7, 1), QDate(2027, 8, 31)});
        const int weekend = RatePlans::WeekdayBit(Qt::Friday) | RatePlans::WeekdayBit(Qt::Saturday);
        const auto price = [&](int season, const QString &type, int adults, int days, const char *amount) {
            m_db->Exec("INSERT INTO Ceni (q276, q283, q275, q286, q287, q70) VALUES (?, ?, ?, ?, ?, ?)",
                       {m_plan, season, type, adults, days, QString(amount)});
        };
        price(june, "Двойна", 2, RatePlans::kEveryDay & ~weekend, "100");
        price(june, "Двойна", 2, weekend, "120");
        price(july, "Двойна", 2, RatePlans::kEveryDay, "150");
        for (const int season : {june, july}) {
            price(season, "Двойна", 1, RatePlans::kEveryDay, "80");
            price(season, "Двойна", 3, RatePlans::kEveryDay, "190");
            price(season, "Двойна", 0, RatePlans::kEveryDay, "40");
        }
        price(june, "Апартамент", 2, RatePlans::kEveryDay, "180");
        price(july, "Апартамент", 2, RatePlans::kEveryDay, "220");
        m_db->Exec("INSERT INTO DetskiVazrasti (q1, q289, q290, q291, q292) VALUES (1, 0, 1, 0, 0), (1, 2, 11, 1, 50)");
    }
    void cleanup()
    {
        Rights::SetCurrent(0, QString());
        m_db.reset();
        SetToday(QDate());
    }

    // Five nights across June and July for two adults and a child of five: each night's price is
    // shown before saving and stored; the stay's total is their sum; no tariff is asked for.
    void theReservationWindowPricesEachNightByThePlan()
    {
        ErrorLogRecorder errors;
        MessageBoxRecorder boxes;
        std::unique_ptr<TFOperReservation> window(openReservation());
        QVERIFY(window);
        const QDate to = d0.addDays(5);
        fillBooking(*window, "201", d0, to, "2", "5");
        if (QTest::currentTestFailed())
            return;
        const QStringList expected = plainNights("Двойна", d0, to, 2, {5});
        QCOMPARE(expected.first(), QString("06-28=125.00"));
        QTRY_VERIFY2(window->labelNightPrices->text().contains(msgNightPricesTotal.arg(plainTotal(expected))),
                     qPrintable(window->labelNightPrices->text()));
        QCOMPARE(window->labelNightPrices->text().count('\n'), 5);
        SaveShot(window.get(), "FOperReservation_plan");
        QVERIFY2(boxes.Texts().isEmpty() && errors.Texts().isEmpty(), qPrintable((boxes.Texts() + errors.Texts()).join(" / ")));
        QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
        QCOMPARE(window->GridModel()->rowCount(), 1);
        QVERIFY(ClickCommand(window->acOperReservationSave));
        QVERIFY2(window->LastBooking > 0, qPrintable((boxes.Texts() + errors.Texts()).join(" / ")));
        const int stay = count(QString("SELECT q123 FROM Klients WHERE q124 = %1").arg(window->LastBooking));
        QCOMPARE(nights(stay), expected);
        QCOMPARE(total(stay), plainTotal(expected));
        QCOMPARE(rows(QString("SELECT q276, q300, q301, q51 FROM Klients WHERE q123 = %1").arg(stay)),
                 QStringList({QString("%1|2|5|").arg(m_plan)}));
        QCOMPARE(ReadFolio(window->LastBooking)->StaysTotal.ToFixed(2), plainTotal(expected));

        // Three adults and a child under two on a July weekend; a night past the seasons is named.
        fillBooking(*window, "203", QDate(2027, 7, 2), QDate(2027, 7, 4), "3", "1");
        if (QTest::currentTestFailed())
            return;
        QTRY_VERIFY(window->labelNightPrices->text().contains(msgNightPricesTotal.arg("380.00")));
        fillBooking(*window, "203", QDate(2027, 8, 30), QDate(2027, 9, 2), "2", "");
        if (QTest::currentTestFailed())
            return;
        QTRY_VERIFY2(window->labelNightPrices->text().startsWith(msgRateNoPrice.arg("01.09.2027")),
                     qPrintable(window->labelNightPrices->text()));
        const QStringList before = rows("SELECT * FROM Klients ORDER BY q123");
        QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
        QCOMPARE(window->GridModel()->rowCount(), 0);
        QVERIFY(boxes.Texts().last().startsWith(msgRateNoPrice.arg("01.09.2027")));
        QCOMPARE(rows("SELECT * FROM Klients ORDER BY q123"), before);
    }

    // A stay shorter than the arrival day's least nights: refused without the right; with it, a
    // question, and the booking's log says the restrictions were overridden.
    void restrictionsRefusedOrOverriddenWithTheRight()
    {
        const QDate monday(2027, 7, 5);
        m_db->Exec("INSERT INTO Ogranichenia (q276, q294, q295, q296, q297, q298) VALUES (?, ?, 3, 0, 0, 0)", {m_plan, monday});
        QString without = Rights::Full();
        without[Rights::rOverrideRestrictions - 1] = '0';
        Rights::SetCurrent(1, without);
        std::unique_ptr<TFOperReservation> window(openReservation());
        QVERIFY(window);
        fillBooking(*window, "201", monday, monday.addDays(2), "2", "");
        if (QTest::currentTestFailed())
            return;
        QTRY_VERIFY(window->labelNightPrices->text().contains(msgRateMinStay.arg("05.07.2027").arg(3)));
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
            QCOMPARE(window->GridModel()->rowCount(), 0);
            QCOMPARE(boxes.Texts().size(), 1);
            QVERIFY(boxes.Texts().first().endsWith(msgRateNoOverrideRight));
        }
        // The desk refuses it too, whatever a window does.
        const int stay = connection().InsertReturningIdentity(
            "Klients", {"q1", "q34", "q35", "q47", "q124", "q125"}, "VALUES (1, ?, ?, ?, 0, 0)",
            {monday, monday.addDays(2), roomId("203")});
        {
            TTransaction transaction(connection(), true);
            try {
                Nights::PriceStay(connection(), stay, m_plan, {}, true);
                QFAIL("booked against the restrictions without the right");
            } catch (const ERightRefused &) {
            }
        }
        m_db->Exec(QString("DELETE FROM Klients WHERE q123 = %1").arg(stay));
        Rights::SetCurrent(1, Rights::Full());
        {
            MessageBoxRecorder boxes;
            boxes.Answer(TSystemWinOS::IDNO);
            QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
            QCOMPARE(window->GridModel()->rowCount(), 0);
            QVERIFY(boxes.Texts().first().endsWith(msgRateOverrideQuestion));
        }
        MessageBoxRecorder boxes;
        fillBooking(*window, "201", monday, monday.addDays(2), "2", "");
        if (QTest::currentTestFailed())
            return;
        QVERIFY(ClickCommand(window->acOperReservationPrepareContragentForReserv));
        QCOMPARE(window->GridModel()->rowCount(), 1);
        QVERIFY(ClickCommand(window->acOperReservationSave));
        QVERIFY(window->LastBooking > 0);
        QCOMPARE(count(QString("SELECT COUNT(*) FROM Dnevnik WHERE q124 = %1 AND q147 = '%2'")
                           .arg(window->LastBooking)
                           .arg(msgLogRestrictionsOverridden.arg(msgRateMinStay.arg("05.07.2027").arg(3)))),
                 1);
        const int booked = count(QString("SELECT q123 FROM Klients WHERE q124 = %1").arg(window->LastBooking));
        QCOMPARE(nights(booked), QStringList({"07-05=150.00", "07-06=150.00"}));
    }

    // The plan's price changed after booking: the stay reads as booked; an extension prices the
    // new nights at today's price; an early departure gives up nights; a no-show pays its first.
    void aBookedStayKeepsItsPricesWhileExtensionAndShorteningFollowThePlan()
    {
        const QDate to = d0.addDays(5);
        const int stay = bookPlanned("201", d0, to, 2, "5");
        const QStringList booked = plainNights("Двойна", d0, to, 2, {5});
        QCOMPARE(nights(stay), booked);
        m_db->Exec("UPDATE Ceni SET q70 = 200 WHERE q70 = 150");
        QCOMPARE(nights(stay), booked);
        QCOMPARE(total(stay), plainTotal(booked));
        QCOMPARE(ReadStay(stay)->Total.ToFixed(2), plainTotal(booked));

        const TFolio folio = *ReadFolio(ReadStay(stay)->Booking);
        QVERIFY(OperationPreview::Extension(folio, *ReadStay(stay), to.addDays(2)).contains(AmountText(d("1250"))));
        Extend(stay, to.addDays(2));
        const QStringList extended = booked + QStringList({"07-03=250.00", "07-04=250.00"});
        QCOMPARE(nights(stay), extended);
        QCOMPARE(total(stay), "1250.00");
        QCOMPARE(rows(QString("SELECT q71 FROM Klients WHERE q123 = %1").arg(stay)), QStringList({"7"}));

        // In house, leaving on the second of July: the nights from that day on are given up.
        m_db->Exec(QString("UPDATE Klients SET q125 = 1 WHERE q123 = %1").arg(stay));
        SetToday(QDate(2027, 7, 2));
        try {
            CheckOut(stay, {});
            QFAIL("no question about the nights given up");
        } catch (const EFrontDeskConfirm &asked) {
            QVERIFY2(asked.Message().contains("687.50"), qPrintable(asked.Message()));  // 187.50 + 250 + 250
        }
        CheckOut(stay, TConsent(true));
        QCOMPARE(nights(stay), booked.mid(0, 4));
        QCOMPARE(total(stay), plainTotal(booked.mid(0, 4)));

        // A no-show pays its first night as booked.
        SetToday(QDate(2027, 7, 10));
        m_db->Exec("INSERT INTO PravilaHoteli (q1, q249, q250) VALUES (1, 0, 1)");
        const int late = bookPlanned("203", QDate(2027, 7, 10), QDate(2027, 7, 12), 1, "");
        MarkNoShow(late);
        QCOMPARE(rows(QString("SELECT q27 FROM Klients WHERE q124 = %1 AND q47 IS NULL").arg(ReadStay(late)->Booking))
                     .value(0)
                     .toDouble(),
                 80.0);
    }

    // A move in the middle of a stay takes the booked prices along, unless the operator asks for
    // the new room's; a change of dates prices the new nights.
    void aMoveKeepsOrRepricesTheNights()
    {
        const QDate to = d0.addDays(5);
        const int stay = bookPlanned("201", d0, to, 2, "5");
        m_db->Exec(QString("UPDATE Klients SET q125 = 1 WHERE q123 = %1").arg(stay));
        SetToday(d0.addDays(2));
        TConsent keep(true);
        keep.Given &= ~unsigned(qnReprice);
        const int kept = Move(stay, roomId("203"), d0.addDays(2), keep);
        const QStringList booked = plainNights("Двойна", d0, to, 2, {5});
        QCOMPARE(nights(stay), booked.mid(0, 2));
        QCOMPARE(nights(kept), booked.mid(2));
        QCOMPARE(total(stay), "250.00");
        QCOMPARE(total(kept), plainTotal(booked.mid(2)));

        // Moved again the next day, into the apartment, priced as the apartment.
        SetToday(d0.addDays(3));
        m_db->Exec("UPDATE Rooms SET q129 = 0");
        const int repriced = Move(kept, roomId("202"), d0.addDays(3), TConsent(true));
        QCOMPARE(nights(repriced), plainNights("Апартамент", d0.addDays(3), to, 2, {5}));
        QCOMPARE(nights(repriced), QStringList({"07-01=275.00", "07-02=275.00"}));
        QCOMPARE(total(kept), "125.00");
        QCOMPARE(total(repriced), "550.00");
        QVERIFY(ReadFolio(ReadStay(stay)->Booking)->History.last().Text.contains(msgLogRepriced.arg("550.00")));
        // Everything the booking owes is the sum of its nights.
        QCOMPARE(ReadFolio(ReadStay(stay)->Booking)->StaysTotal.ToFixed(2),
                 TDecimal::FromText(rows("SELECT SUM(q70) FROM Noshtuvki").value(0)).ToFixed(2));

        // A reserved stay moved to other days is priced for them.
        const int later = bookPlanned("203", QDate(2027, 7, 20), QDate(2027, 7, 22), 1, "");
        ChangeDates(later, QDate(2027, 7, 1));
        QCOMPARE(nights(later), plainNights("Двойна", QDate(2027, 7, 1), QDate(2027, 7, 3), 1, {}));
    }

    // The folio's move asks whether to price the nights again in the new room: yes prices them as
    // the apartment, no keeps what was booked.
    void theFolioAsksWhetherToReprice()
    {
        const QDate to = d0.addDays(5);
        const int stay = bookPlanned("201", d0, to, 2, "5");
        m_db->Exec(QString("UPDATE Klients SET q125 = 1 WHERE q123 = %1").arg(stay));
        SetToday(d0.addDays(3));
        TFFolio folio;
        folio.setAttribute(Qt::WA_DeleteOnClose, false);
        folio.SetBooking(ReadStay(stay)->Booking);
        QVERIFY(folio.InitializeWindow());
        folio.show();
        QVERIFY(QTest::qWaitForWindowExposed(&folio));
        {
            MessageBoxRecorder boxes;
            QVERIFY(ChooseFromDropDown(folio.cbFolioRoom, "202"));
            QVERIFY(ClickCommand(folio.acFolioMove));  // the preview, then the question: yes to both
            QCOMPARE(boxes.Texts().size(), 2);
            QCOMPARE(boxes.Texts().last(), msgRepriceQuestion.arg("202"));
        }
        const int apartment = count(QString("SELECT q123 FROM Klients WHERE q155 = %1").arg(stay));
        QCOMPARE(nights(apartment), plainNights("Апартамент", d0.addDays(3), to, 2, {5}));
        SetToday(d0.addDays(4));
        m_db->Exec("UPDATE Rooms SET q129 = 0");
        QVERIFY(folio.InitializeWindow());
        {
            MessageBoxRecorder boxes;
            boxes.Answer(TSystemWinOS::IDYES);
            boxes.Answer(TSystemWinOS::IDNO);
            QVERIFY(ChooseFromDropDown(folio.cbFolioRoom, "203"));
            QVERIFY(ClickCommand(folio.acFolioMove));
            QCOMPARE(boxes.Texts().last(), msgRepriceQuestion.arg("203"));
        }
        const int kept = count(QString("SELECT q123 FROM Klients WHERE q155 = %1").arg(apartment));
        QCOMPARE(nights(kept), plainNights("Апартамент", d0.addDays(4), to, 2, {5}));
    }

    // Bed and breakfast: the day's close charges breakfast for everyone in the room, once.
    void mealsChargedPerPersonAtTheDaysClose()
    {
        const int stay = bookPlanned("201", d0, d0.addDays(3), 2, "5");
        m_db->Exec(QString("UPDATE Klients SET q125 = 1 WHERE q123 = %1").arg(stay));
        m_db->Exec("UPDATE RabotenDen SET q233 = ?", {d0});
        SetToday(QDate());
        QCOMPARE(DayClose::Close(d0), d0.addDays(1));
        QCOMPARE(rows(QString("SELECT q33, q71, q27, q34 FROM Klients WHERE q302 = %1").arg(stay)).size(), 1);
        const QStringList charge = rows(QString("SELECT q33, q71, q27 FROM Klients WHERE q302 = %1").arg(stay)).first().split('|');
        QCOMPARE(charge.at(0), QString("Закуска"));
        QCOMPARE(TDecimal::FromText(charge.at(1)).ToFixed(0), QString("3"));
        QCOMPARE(TDecimal::FromText(charge.at(2)).ToFixed(2), QString("30.00"));
        {
            TTransaction transaction(connection(), true);
            QCOMPARE(PostMeals(connection(), d0), 0);
            QCOMPARE(PostMeals(connection(), d0.addDays(1)), 1);
            transaction.Rollback();
        }
        // The services of the day's figures carry it.
        QCOMPARE(Reports::Run(Reports::rpTurnover, {d0, d0, 1}).Tables.at(2).Totals.last().toString(), QString("30.00"));
    }

    // The register of plans by mouse and keys: a plan, its seasons (an overlapping one refused),
    // its prices (two for one weekday refused), restrictions of a range of days, children's bands.
    void theRegisterOfPlansKeepsItsRules()
    {
        MessageBoxRecorder boxes;
        TFNomCenovi window;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(window.InitializeWindow());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTabBar *tabs = window.Pages()->tabBar();
        QVERIFY(TypeInto(window.edPlanName, "Зима"));
        QVERIFY(ChooseFromDropDown(window.cbPlanCurrency, "EUR"));
        QVERIFY(ClickOn(window.chkPlanVatIncluded));
        QVERIFY(ChooseFromDropDown(window.cbPlanMeals, msgMealHalfBoard));
        QVERIFY(ChooseFromDropDown(window.cbPlanBreakfast, "Закуска"));
        QVERIFY(ClickCommand(window.acFNomCenoviSave));
        QCOMPARE(rows("SELECT q277, q278, q279 FROM CenoviPlanove WHERE q277 = 'Зима'"), QStringList({"Зима|0|2"}));
        const int plan = count("SELECT q276 FROM CenoviPlanove WHERE q277 = 'Зима'");
        QCOMPARE(count(QString("SELECT q280 FROM CenoviPlanove WHERE q276 = %1").arg(plan)),
                 count("SELECT q42 FROM Uslugi WHERE q33 = 'Закуска'"));
        QCOMPARE(GridTexts(window.Grid()).size(), 2);
        QVERIFY(ClickCommand(window.acFNomCenoviSave));  // the same name again, not an edit
        QCOMPARE(boxes.Texts().last(), msgRatePlanNameTaken.arg("Зима"));
        QCOMPARE(count("SELECT COUNT(*) FROM CenoviPlanove"), 2);

        QVERIFY(ClickOn(tabs, tabs->tabRect(1).center()));
        QCOMPARE(GridTexts(window.Grid()).size(), 2);  // the seasons of the plans
        QVERIFY(ChooseFromDropDown(window.cbSeasonPlan, "Зима"));
        QVERIFY(TypeInto(window.edSeasonName, "Декември"));
        QVERIFY(TypeDate(window.dtSeasonFrom, QDate(2027, 12, 1)));
        QVERIFY(TypeDate(window.dtSeasonTo, QDate(2027, 12, 31)));
        QVERIFY(ClickCommand(window.acFNomCenoviSave));
        QVERIFY(TypeInto(window.edSeasonName, "Коледа"));
        QVERIFY(TypeDate(window.dtSeasonFrom, QDate(2027, 12, 20)));
        QVERIFY(TypeDate(window.dtSeasonTo, QDate(2028, 1, 5)));
        QVERIFY(ClickCommand(window.acFNomCenoviSave));
        QCOMPARE(boxes.Texts().last(), msgRateSeasonsOverlap.arg("01.12.2027", "31.12.2027"));
        QCOMPARE(count(QString("SELECT COUNT(*) FROM Sezoni WHERE q276 = %1").arg(plan)), 1);

        QVERIFY(ClickOn(tabs, tabs->tabRect(2).center()));
        QVERIFY(ChooseFromDropDown(window.cbPricePlan, "Зима"));
        QVERIFY(ChooseFromDropDown(window.cbPriceSeason, "Декември"));
        QVERIFY(ChooseFromDropDown(window.cbPriceRoomType, "Двойна"));
        QVERIFY(ChooseFromDropDown(window.cbPriceAdults, "2"));
        QVERIFY(ClickOn(window.chkPriceDays.at(4)));  // no Friday
        QVERIFY(ClickOn(window.chkPriceDays.at(5)));  // nor Saturday
        QVERIFY(TypeInto(window.edPriceAmount, "90"));
        QVERIFY(ClickCommand(window.acFNomCenoviSave));
        QVERIFY(ClickOn(window.chkPriceDays.at(4)));  // Friday too: it has its price
        QVERIFY(ClickCommand(window.acFNomCenoviSave));
        QCOMPARE(boxes.Texts().last(), msgRatePriceTwice.arg(window.chkPriceDays.at(0)->text() + " " +
                                                              window.chkPriceDays.at(1)->text() + " " +
                                                              window.chkPriceDays.at(2)->text() + " " +
                                                              window.chkPriceDays.at(3)->text() + " " +
                                                              window.chkPriceDays.at(6)->text()));
        for (const int day : {0, 1, 2, 3, 6})
            QVERIFY(ClickOn(window.chkPriceDays.at(day)));
        QVERIFY(ClickOn(window.chkPriceDays.at(5)));  // Friday and Saturday
        QVERIFY(TypeInto(window.edPriceAmount, "110.50"));
        QVERIFY(ClickCommand(window.acFNomCenoviSave));
        QVERIFY2(count(QString("SELECT COUNT(*) FROM Ceni WHERE q276 = %1").arg(plan)) == 2, qPrintable(boxes.Texts().join(" / ")));
        {
            // Prices without VAT: the room's rate is added (none here).
            TTransaction transaction(connection());
            const QList<RatePlans::TNight> priced = Nights::Quote(connection(), plan, roomId("201"), {2, {}},
                                                                  QDate(2027, 12, 2), QDate(2027, 12, 4));
            QCOMPARE(RatePlans::Total(priced).ToFixed(2), QString("200.50"));
        }

        QVERIFY(ClickOn(tabs, tabs->tabRect(3).center()));
        QVERIFY(ChooseFromDropDown(window.cbRestrictionPlan, "Зима"));
        QVERIFY(TypeDate(window.dtRestrictionFrom, QDate(2027, 12, 24)));
        QVERIFY(TypeDate(window.dtRestrictionTo, QDate(2027, 12, 26)));
        QVERIFY(TypeInto(window.edRestrictionMin, "3"));
        QVERIFY(ClickOn(window.chkRestrictionDeparture));
        QVERIFY(ClickCommand(window.acFNomCenoviSave));
        QCOMPARE(rows(QString("SELECT q295, q296, q297, q298 FROM Ogranichenia WHERE q276 = %1").arg(plan)),
                 QStringList({"3|0|0|1", "3|0|0|1", "3|0|0|1"}));
        // A row chosen in the grid comes back into the fields.
        window.edRestrictionMin->clear();
        const QRect first = window.Grid()->visualRect(window.Grid()->model()->index(0, 0));
        QVERIFY(ClickOn(window.Grid()->viewport(), first.center()));
        QTest::mouseDClick(window.Grid()->viewport(), Qt::LeftButton, {}, first.center());
        QTRY_COMPARE(window.edRestrictionMin->text(), QString("3"));

        QVERIFY(ClickOn(tabs, tabs->tabRect(4).center()));
        QVERIFY(ChooseFromDropDown(window.cbChildHotel, "Морски"));
        QVERIFY(TypeInto(window.edChildFrom, "10"));
        QVERIFY(TypeInto(window.edChildTo, "13"));
        QVERIFY(ChooseFromDropDown(window.cbChildRule, msgChildFixed));
        QVERIFY(TypeInto(window.edChildValue, "15"));
        QVERIFY(ClickCommand(window.acFNomCenoviSave));
        QCOMPARE(boxes.Texts().last(), msgChildBandsOverlap.arg(2).arg(11));
        QVERIFY(TypeInto(window.edChildFrom, "12"));
        QVERIFY(ClickCommand(window.acFNomCenoviSave));
        QCOMPARE(rows("SELECT q289, q290, q291 FROM DetskiVazrasti ORDER BY q289"),
                 QStringList({"0|1|0", "2|11|1", "12|13|2"}));
        QCOMPARE(boxes.ShownInTransaction(), 0);
        SaveShot(&window, "FNomCenovi");
    }

    // A random history of stays with and without the plan, some cancelled: the turnover report's
    // rooms revenue and its table by plan and room type against a plain count of the rows.
    void turnoverByPlanAndRoomTypeMatchesTheNightRows()
    {
        QRandomGenerator random(28);
        const QStringList rooms = {"201", "202", "203"};
        QHash<QString, QDate> free = {{"201", QDate(2027, 6, 1)}, {"202", QDate(2027, 6, 1)}, {"203", QDate(2027, 6, 1)}};
        for (int i = 0; i < 30; ++i) {
            const QString room = rooms.at(random.bounded(3));
            const QDate from = free.value(room).addDays(random.bounded(3));
            const QDate to = from.addDays(1 + random.bounded(6));
            free[room] = to;
            if (random.bounded(2) == 0 && to <= QDate(2027, 8, 31)) {
                const int adults = room == "202" ? 2 : 1 + random.bounded(3);  // the apartment is priced for two
                const int stay = bookPlanned(room, from, to, adults, random.bounded(2) ? "7" : "");
                if (random.bounded(5) == 0)
                    m_db->Exec(QString("UPDATE Klients SET q125 = 3 WHERE q123 = %1").arg(stay));
            } else {
                const int price = 50 + random.bounded(100);
                const int nights = int(from.daysTo(to));
                m_db->Exec("INSERT INTO Klients (q1, q34, q35, q47, q70, q71, q27, q125) VALUES (1, ?, ?, ?, ?, ?, ?, 2)",
                           {from, to, roomId(room), QString("%1.33").arg(price), nights,
                            StayTotal(TDecimal::FromText(QString("%1.33").arg(price)), nights).ToVariant()});
            }
        }
        const QDate first(2027, 6, 15), last(2027, 7, 15);
        // Plainly: the night rows of stays that hold them; the others night by night by their price.
        QMap<QPair<QString, QString>, QPair<int, TDecimal>> expected;
        TDecimal rooms_;
        for (const QString &row : rows("SELECT n.q299, n.q70, n.q275 FROM Noshtuvki n JOIN Klients k ON k.q123 = n.q123 "
                                       "WHERE k.q125 <> 3")) {
            const QDate night = dayOf(row.section('|', 0, 0));
            if (night < first || night > last)
                continue;
            auto &cell = expected[{QString("Лято"), row.section('|', 2)}];
            ++cell.first;
            cell.second += TDecimal::FromText(row.section('|', 1, 1));
            rooms_ += TDecimal::FromText(row.section('|', 1, 1));
        }
        for (const QString &row : rows("SELECT k.q34, k.q35, k.q70, r.q275 FROM Klients k JOIN Rooms r ON r.q47 = k.q47 "
                                       "WHERE k.q276 IS NULL")) {
            const QDate from = dayOf(row.section('|', 0, 0)), to = dayOf(row.section('|', 1, 1));
            const TDecimal price = TDecimal::FromText(row.section('|', 2, 2));
            for (QDate night = from; night < to; night = night.addDays(1)) {
                if (night < first || night > last)
                    continue;
                const TDecimal part = StayTotal(price, int(from.daysTo(night)) + 1) - StayTotal(price, int(from.daysTo(night)));
                auto &cell = expected[{QString("—"), row.section('|', 3)}];
                ++cell.first;
                cell.second += part;
                rooms_ += part;
            }
        }
        const Reports::TReport report = Reports::Run(Reports::rpTurnover, {first, last, 1});
        QCOMPARE(report.Tables.at(0).Totals.at(4).toString(), rooms_.ToFixed(2));
        const Reports::TTable &byPlan = report.Tables.last();
        QCOMPARE(byPlan.Title, rptByPlan);
        QCOMPARE(byPlan.Rows.size(), expected.size());
        const int days = int(first.daysTo(last)) + 1;
        const QHash<QString, int> offered = {{"Двойна", 2 * days}, {"Апартамент", days}};
        for (const QVariantList &row : byPlan.Rows) {
            const auto cell = expected.value({row.at(0).toString(), row.at(1).toString()});
            QCOMPARE(row.at(2).toInt(), cell.first);
            QCOMPARE(row.at(3).toString(), cell.second.ToFixed(2));
            QCOMPARE(row.at(4).toString(),
                     TDecimal::FromCents((2 * cell.second.ToCents() + cell.first) / (2 * cell.first)).ToFixed(2));
            const int available = offered.value(row.at(1).toString());
            QCOMPARE(row.at(5).toString(), TDecimal::FromCents((2 * cell.second.ToCents() + available) / (2 * available)).ToFixed(2));
        }
    }
};

QTEST_MAIN(TestNights)
#include "tst_nights.moc"
