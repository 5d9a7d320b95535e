// Guests as people: the personal numbers a register takes (ЕГН and ЛНЧ), each by its own rule;
// the countries of citizenship in three languages and the area each belongs to.
#include "desk/UCountries.h"
#include "desk/UPersonalNumbers.h"
#include "startup/UConstMessagesHotel.h"

#include <QtTest>

using namespace PersonalNumbers;

class TestGuests : public QObject
{
    Q_OBJECT

private slots:
    // Numbers whose check digits were worked out by hand from the published weights; the date of
    // birth and the sex read from them; each century's month code.
    void personalNumbersByTheirRules_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QDate>("born");
        QTest::addColumn<bool>("male");
        QTest::newRow("1975, a woman") << "7501010010" << int(pnEgn) << QDate(1975, 1, 1) << false;
        QTest::newRow("1904, a man") << "0412314569" << int(pnEgn) << QDate(1904, 12, 31) << true;
        QTest::newRow("2001, month plus 40") << "0152150000" << int(pnEgn) << QDate(2001, 12, 15) << true;
        QTest::newRow("29 February 2000") << "0042291239" << int(pnEgn) << QDate(2000, 2, 29) << false;
        QTest::newRow("a check digit one off") << "7501010011" << int(pnNone) << QDate() << false;
        QTest::newRow("the examples' old number") << "8505051234" << int(pnNone) << QDate() << false;
        QTest::newRow("its right check digit") << "8505051235" << int(pnEgn) << QDate(1985, 5, 5) << false;
        // The check digit fits, the date does not.
        QTest::newRow("30 February") << "9002301231" << int(pnNone) << QDate() << false;
        QTest::newRow("29 February 1900") << "0002291230" << int(pnNone) << QDate() << false;
        QTest::newRow("month 20: the 1800s' month 0") << "9920356715" << int(pnNone) << QDate() << false;
        // ЛНЧ: weights 21 19 17 13 11 9 7 3 1, modulo 10.
        QTest::newRow("an ЛНЧ") << "1000000001" << int(pnLnch) << QDate() << false;
        QTest::newRow("another ЛНЧ") << "1234567893" << int(pnLnch) << QDate() << false;
        QTest::newRow("an ЛНЧ one off") << "1234567890" << int(pnNone) << QDate() << false;
        QTest::newRow("blanks around") << " 7501010010 " << int(pnEgn) << QDate(1975, 1, 1) << false;
        QTest::newRow("nine digits") << "750101001" << int(pnNone) << QDate() << false;
        QTest::newRow("a letter") << "75010100I0" << int(pnNone) << QDate() << false;
        QTest::newRow("Arabic-Indic digits") << QString::fromUtf8("٧٥٠١٠١٠٠١٠") << int(pnNone) << QDate() << false;
    }
    void personalNumbersByTheirRules()
    {
        QFETCH(QString, number);
        QFETCH(int, kind);
        QFETCH(QDate, born);
        QFETCH(bool, male);
        QCOMPARE(int(KindOf(number)), kind);
        QDate birth;
        bool man = !male;
        QCOMPARE(IsEgn(number.trimmed(), &birth, &man), kind == pnEgn);
        if (kind == pnEgn) {
            QCOMPARE(birth, born);
            QCOMPARE(man, male);
        }
    }

    // The delivered list: every country once by either code, named in the operator's language.
    void countriesInThreeLanguages()
    {
        using namespace Countries;
        QCOMPARE(All().size(), 249);
        QSet<QString> codes;
        for (const TCountry &country : All()) {
            QVERIFY2(country.Alpha2.size() == 2 && country.Alpha3.size() == 3, qPrintable(country.English));
            QVERIFY(!country.Bulgarian.isEmpty() && !country.Russian.isEmpty());
            codes.insert(country.Alpha2);
        }
        QCOMPARE(codes.size(), 249);
        QCOMPARE(Find("bg")->Bulgarian, QString("България"));
        QCOMPARE(Find("DEU")->Alpha2, QString("DE"));
        QVERIFY(!Find("XX"));
        QVERIFY(!Find(""));
        const TLanguage before = CurrentLanguage;
        CurrentLanguage = slRussian;
        QCOMPARE(Find("CH")->Name(), QString("Швейцария"));
        CurrentLanguage = slEnglish;
        QCOMPARE(Find(" gr ")->Name(), QString("Greece"));
        CurrentLanguage = before;
    }

    void areasOfCitizenship()
    {
        using namespace Countries;
        QCOMPARE(AreaOf("BG"), arBulgaria);
        QCOMPARE(AreaOf("DE"), arEuropeanUnion);
        QCOMPARE(AreaOf("HRV"), arEuropeanUnion);
        QCOMPARE(AreaOf("NO"), arEuropeanEconomicArea);
        QCOMPARE(AreaOf("CH"), arSwitzerland);
        QCOMPARE(AreaOf("GB"), arOther);  // no longer of the Union
        QCOMPARE(AreaOf("TR"), arOther);
        QCOMPARE(AreaOf("ZZ"), arUnknown);
        int union_ = 0;
        for (const TCountry &country : All())
            union_ += AreaOf(country.Alpha2) == arEuropeanUnion || AreaOf(country.Alpha2) == arBulgaria ? 1 : 0;
        QCOMPARE(union_, 27);
    }
};

QTEST_GUILESS_MAIN(TestGuests)
#include "tst_guests.moc"
