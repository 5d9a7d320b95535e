// The price of each night by a rate plan: two seasons across one stay, weekday groups, one to
// five adults, children by the hotel's bands, a night without a price, the plan's restrictions
// and seasons that must not overlap.
#include "desk/URatePlans.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesStay.h"

#include <QtTest>

using namespace RatePlans;

namespace {

const QString kDouble = QStringLiteral("Double");  // a room type
const TDecimal d(const char *text) { return TDecimal::FromText(QString::fromLatin1(text)); }
QString dayText(const QDate &day) { return day.toString("dd.MM.yyyy"); }

// June at 100 a night for two (Friday and Saturday 120), July and August at 150; one adult 80,
// three 190, an extra bed 40, all summer.
TPlan summer()
{
    TPlan plan;
    plan.Seasons = {{1, QDate(2027, 6, 1), QDate(2027, 6, 30)}, {2, QDate(2027, 7, 1), QDate(2027, 8, 31)}};
    const int weekend = WeekdayBit(Qt::Friday) | WeekdayBit(Qt::Saturday);
    plan.Prices = {{1, kDouble, 2, kEveryDay & ~weekend, d("100")}, {1, kDouble, 2, weekend, d("120")},
                   {2, kDouble, 2, kEveryDay, d("150")}};
    for (const int season : {1, 2})
        plan.Prices += QList<TPrice>{{season, kDouble, 1, kEveryDay, d("80")}, {season, kDouble, 3, kEveryDay, d("190")},
                                     {season, kDouble, 0, kEveryDay, d("40")}};
    return plan;
}

QStringList priced(const QList<TNight> &nights)
{
    QStringList texts;
    for (const TNight &night : nights)
        texts.append(night.Night.toString("MM-dd") + "=" + night.Price.ToFixed(2));
    return texts;
}

} // namespace

class TestRatePlans : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FillCatalogue(slBulgarian); }

    void nightsFromTwoSeasonsAndTheWeekdays()
    {
        // Thursday 24 June to Saturday 3 July: June's weekday and weekend prices, then July's.
        const QList<TNight> nights = NightPrices(summer(), {}, kDouble, 2, {}, QDate(2027, 6, 24), QDate(2027, 7, 3));
        QCOMPARE(priced(nights), QStringList({"06-24=100.00", "06-25=120.00", "06-26=120.00", "06-27=100.00", "06-28=100.00",
                                              "06-29=100.00", "06-30=100.00", "07-01=150.00", "07-02=150.00"}));
        QCOMPARE(Total(nights), d("1040"));
        QVERIFY(NightPrices(summer(), {}, kDouble, 2, {}, QDate(2027, 7, 1), QDate(2027, 7, 1)).isEmpty());
    }

    void adultsAndExtraBeds()
    {
        const QDate night(2027, 7, 10), next(2027, 7, 11);
        const auto price = [&](int adults) { return NightPrices(summer(), {}, kDouble, adults, {}, night, next).first().Price; };
        QCOMPARE(price(1), d("80"));
        QCOMPARE(price(2), d("150"));
        QCOMPARE(price(3), d("190"));
        QCOMPARE(price(5), d("270"));  // three, and two extra beds
    }

    // Bands of the hotel: under three free, up to eleven half an adult's share, up to seventeen
    // 30 a night; older children pay an adult's share.
    void childrenByTheirBands()
    {
        const QList<TChildBand> bands = {{0, 2, crFree, TDecimal()}, {3, 11, crPercent, d("50")}, {12, 17, crFixed, d("30")}};
        const QDate night(2027, 7, 10), next(2027, 7, 11);
        const auto price = [&](int adults, const QList<int> &ages) {
            return NightPrices(summer(), bands, kDouble, adults, ages, night, next).first().Price;
        };
        QCOMPARE(price(2, {1}), d("150"));
        QCOMPARE(price(2, {5}), d("187.50"));         // 150 + half of 75
        QCOMPARE(price(2, {14}), d("180"));
        QCOMPARE(price(2, {18}), d("225"));           // an adult's share
        QCOMPARE(price(2, {1, 5, 14}), d("217.50"));  // a family of five
        QCOMPARE(price(3, {7}), d("221.67"));         // 190 + half of 63.33, to the cent
    }

    void aNightWithoutAPriceIsNamed()
    {
        const auto refused = [](const std::function<void()> &work, const QString &message) {
            try {
                work();
                return false;
            } catch (const EPriceMissing &missing) {
                return missing.Message() == message;
            }
        };
        QVERIFY(refused([] { NightPrices(summer(), {}, kDouble, 2, {}, QDate(2027, 8, 30), QDate(2027, 9, 2)); },
                        msgRateNoPrice.arg(dayText(QDate(2027, 9, 1)))));
        QVERIFY(refused([] { NightPrices(summer(), {}, QStringLiteral("Single"), 2, {}, QDate(2027, 7, 1), QDate(2027, 7, 2)); },
                        msgRateNoPrice.arg(dayText(QDate(2027, 7, 1)))));
        TPlan noExtraBed = summer();
        noExtraBed.Prices.removeIf([](const TPrice &price) { return price.Adults == 0; });
        QVERIFY(refused([&] { NightPrices(noExtraBed, {}, kDouble, 4, {}, QDate(2027, 7, 1), QDate(2027, 7, 2)); },
                        msgRateNoPrice.arg(dayText(QDate(2027, 7, 1)))));
    }

    void restrictionsOfTheArrivalAndDepartureDays()
    {
        TPlan plan = summer();
        const QDate saturday(2027, 7, 3);
        plan.Restrictions = {{saturday, 3, 7, false, false},
                             {QDate(2027, 7, 4), 0, 0, true, false},
                             {QDate(2027, 7, 8), 0, 0, false, true}};
        QCOMPARE(Violations(plan, saturday, saturday.addDays(2)),
                 QStringList({msgRateMinStay.arg(dayText(saturday)).arg(3)}));
        QVERIFY(Violations(plan, saturday, saturday.addDays(3)).isEmpty());
        QCOMPARE(Violations(plan, saturday, saturday.addDays(8)),
                 QStringList({msgRateMaxStay.arg(dayText(saturday)).arg(7)}));
        QCOMPARE(Violations(plan, QDate(2027, 7, 4), QDate(2027, 7, 8)),
                 QStringList({msgRateClosedToArrival.arg(dayText(QDate(2027, 7, 4))),
                              msgRateClosedToDeparture.arg(dayText(QDate(2027, 7, 8)))}));
        // A stay passing the closed days neither arrives nor leaves on them.
        QVERIFY(Violations(plan, QDate(2027, 7, 2), QDate(2027, 7, 10)).isEmpty());
    }

    void pricesWithoutVatGetTheRoomsRate()
    {
        TPlan plan = summer();
        plan.VatIncluded = false;
        plan.VatBasisPoints = 900;
        // 150 + 9 % = 163.50; one adult 80 + 7.20; a child at half of 75 adds 37.50 before the tax.
        QCOMPARE(NightPrices(plan, {}, kDouble, 2, {}, QDate(2027, 7, 1), QDate(2027, 7, 2)).first().Price, d("163.50"));
        QCOMPARE(NightPrices(plan, {}, kDouble, 1, {}, QDate(2027, 7, 1), QDate(2027, 7, 2)).first().Price, d("87.20"));
        const QList<TChildBand> half = {{0, 11, crPercent, d("50")}};
        QCOMPARE(NightPrices(plan, half, kDouble, 2, {5}, QDate(2027, 7, 1), QDate(2027, 7, 2)).first().Price,
                 d("204.38"));
    }

    void seasonsMustNotOverlap()
    {
        QVERIFY(!Overlap(summer().Seasons));
        const QList<TSeason> touching = {{1, QDate(2027, 6, 1), QDate(2027, 6, 30)}, {2, QDate(2027, 6, 30), QDate(2027, 7, 5)}};
        const auto overlap = Overlap(touching);
        QVERIFY(overlap);
        QCOMPARE(overlap->first.Id, 1);
        QCOMPARE(overlap->second.Id, 2);
        QVERIFY(!Overlap({{1, QDate(2027, 7, 6), QDate(2027, 7, 9)}, {2, QDate(2027, 7, 1), QDate(2027, 7, 5)}}));
    }
};

QTEST_MAIN(TestRatePlans)
#include "tst_rateplans.moc"
