// Guests as people: the personal numbers a register takes (ЕГН and ЛНЧ), each by its own rule;
// the countries of citizenship in three languages and the area each belongs to; the register of
// guests kept by those rules.
#include "TestHarness.h"
#include "desk/UCountries.h"
#include "desk/UGuests.h"
#include "desk/URights.h"
#include "startup/UConstMessagesStay.h"
#include "startup/USystemWinOS.h"
#include "UserInput.h"
#include "windows/UNomGosti.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
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
    void initTestCase() { FillCatalogue(slBulgarian); }

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

    // A guest is kept only when every rule holds; nothing is written otherwise. An ЕГН fills in
    // the date of birth and the sex; countries are taken by name in any language or by code.
    void theRegisterKeepsGuestsByTheRules()
    {
        TestDatabase db;
        Rights::SetCurrent(1, Rights::Full());
        using namespace Guests;
        const auto refused = [&](TGuest guest, Guests::TField field, const QString &message) {
            TGuest checked = guest;
            const std::optional<TFault> fault = Check(checked);
            QVERIFY(fault);
            QCOMPARE(int(fault->Field), int(field));
            QCOMPARE(fault->Message, message);
            const QStringList before = db.Rows("SELECT COUNT(*) FROM Gosti") + db.Rows("SELECT COUNT(*) FROM Dnevnik");
            QVERIFY_THROWS_EXCEPTION(EFrontDeskRefused, Save(guest));
            QCOMPARE(db.Rows("SELECT COUNT(*) FROM Gosti") + db.Rows("SELECT COUNT(*) FROM Dnevnik"), before);
        };
        TGuest anna;
        anna.Name = "  Анна   Антонова ";
        anna.PersonalNumber = "7501010011";
        refused(anna, gfPersonalNumber, msgGuestPersonalNumberInvalid.arg("7501010011"));
        anna.PersonalNumber = "7501010010";
        anna.Born = QDate(1975, 1, 2);
        refused(anna, gfBorn, msgGuestBirthDisagrees.arg("7501010010", "01.01.1975"));
        anna.Born = QDate();
        anna.Citizenship = "Бразилия ";
        anna.Email = "anna@";
        refused(anna, gfEmail, msgGuestEmailInvalid.arg("anna@"));
        anna.Email = "anna@example.bg";
        anna.IssuedBy = "Атлантида";
        refused(anna, gfIssuedBy, msgGuestCountryUnknown.arg("Атлантида"));
        anna.IssuedBy = "bra";
        refused(TGuest(), gfName, msgGuestNoName);
        const int id = Save(anna);
        const TGuest kept = *Read(id);
        QCOMPARE(kept.Name, QString("Анна Антонова"));
        QCOMPARE(kept.Born, QDate(1975, 1, 1));
        QCOMPARE(kept.Sex, int(sxFemale));
        QCOMPARE(kept.Citizenship, QString("BR"));
        QCOMPARE(kept.IssuedBy, QString("BR"));
        // Saved again under its key: the same row, changed.
        TGuest moved = kept;
        moved.Address = "Пловдив";
        QCOMPARE(Save(moved), id);
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM Gosti"), QStringList({"1"}));
        QCOMPARE(Read(id)->Address, QString("Пловдив"));
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM Dnevnik WHERE q145 = 'guest'"), QStringList({"2"}));
        moved.Id = id + 100;
        QVERIFY_THROWS_EXCEPTION(EFrontDeskRefused, Save(moved));
        // An ЛНЧ is taken as it is; without the right to the registers nothing is kept.
        TGuest john;
        john.Name = "John Smith";
        john.PersonalNumber = "1234567893";
        QVERIFY(Save(john) > id);
        Rights::SetCurrent(1, Rights::None());
        QVERIFY_THROWS_EXCEPTION(ERightRefused, Save(john));
        Rights::SetCurrent(0, QString());
    }

    // The register's window by keys and mouse: a wrong personal number marked and said with
    // nothing kept; a right one fills in the birth and the sex; the citizenship chosen from its
    // list; the row brought back by a double click and changed in place.
    void theRegisterWindowByKeysAndMouse()
    {
        TestDatabase db;
        Rights::SetCurrent(1, Rights::Full());
        TFNomGosti window;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.InitializeWindow();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(TypeInto(window.edGostName, "Мария Георгиева"));
        QVERIFY(TypeInto(window.edGostPersonalNumber, "9002286650"));
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window.acFNomGostiSave));
            QCOMPARE(boxes.Texts(), QStringList({msgGuestPersonalNumberInvalid.arg("9002286650")}));
        }
        QCOMPARE(db.Rows("SELECT COUNT(*) FROM Gosti"), QStringList({"0"}));
        QVERIFY(ClearField(window.edGostPersonalNumber));
        QVERIFY(TypeInto(window.edGostPersonalNumber, "9002286651"));
        QVERIFY(ChooseFromDropDown(window.cbGostCitizenship, "Германия"));
        QVERIFY(TypeInto(window.edGostBorn, "30.02.1990"));
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window.acFNomGostiSave));
            QCOMPARE(boxes.Texts(), QStringList({msgDateInvalid.arg("30.02.1990")}));
        }
        QVERIFY(ClearField(window.edGostBorn));
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window.acFNomGostiSave));
            QVERIFY2(boxes.Texts().isEmpty(), qPrintable(boxes.Texts().join('|')));
        }
        QCOMPARE(db.Rows("SELECT q253, q256, q255, q257 FROM Gosti"),
                 QStringList({"Мария Георгиева|28.02.1990|2|DE"}));
        QCOMPARE(window.edGostBorn->text(), QString("28.02.1990"));
        QCOMPARE(window.GridModel()->rowCount(), 1);
        QVERIFY(ClickCommand(window.acFNomGostiNew));
        QVERIFY(window.edGostName->text().isEmpty());
        const QPoint row = window.Grid()->visualRect(window.GridModel()->index(0, 1)).center();
        QVERIFY(ClickOn(window.Grid()->viewport(), row));
        QTest::mouseDClick(window.Grid()->viewport(), Qt::LeftButton, {}, row);
        QCOMPARE(window.edGostName->text(), QString("Мария Георгиева"));
        QCOMPARE(window.cbGostCitizenship->currentText(), QString("Германия"));
        QVERIFY(TypeInto(window.edGostPhone, "+359 888 123 456"));
        QVERIFY(ClickCommand(window.acFNomGostiSave));
        QCOMPARE(db.Rows("SELECT COUNT(*), MAX(q263) FROM Gosti"), QStringList({"1|+359 888 123 456"}));
        Rights::SetCurrent(0, QString());
    }
};

KALV_TEST_MAIN(TestGuests)
#include "tst_guests.moc"
