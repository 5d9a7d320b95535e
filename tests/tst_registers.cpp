// The registers on a real database, driven through their fields and commands.

#include "desk/URights.h"
#include "TestHarness.h"
#include "desk/UOperators.h"
#include "startup/UConstMessagesSecurity.h"
#include "admin/UDatabaseSetup.h"
#include "data/UDM.h"
#include "errors/MyClass.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/USystemWinOS.h"
#include "windows/Hotel.h"
#include "windows/UNomHotels.h"
#include "windows/UNomOperatori.h"
#include "windows/UNomStai.h"
#include "windows/UNomTarifi.h"
#include "windows/UNomUslugi.h"
#include "windows/USigurnost.h"
#include "windows/UOperReservation.h"
#include "windows/UUserLogin.h"
#include "windows/UValuta.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFile>
#include <QLineEdit>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QTableView>
#include <QTreeWidget>
#include "startup/UConstMessagesDesk.h"

#include <QtTest>
#include <memory>

namespace {

template <class T> std::unique_ptr<T> openWindow()
{
    auto window = std::make_unique<T>();
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->InitializeWindow();
    return window;
}

QString gridText(QTableView *grid, int row, int column)
{
    return grid->model()->index(row, column).data().toString();
}

} // namespace

class TestRegisters : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;

    TADOConnection &connection() { return m_db->Connection(); }
    void exec(const QString &sql, const QVariantList &values = {}) { m_db->Exec(sql, values); }
    QStringList rows(const QString &sql) { return m_db->Rows(sql); }
    void installProcedures()
    {
        InstallDeliveredProcedures({"proc_SaveNewOperator", "proc_OpenOperator"});
    }
    void masterData()
    {
        exec("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски'), (2, 'Планински')");
        exec("INSERT INTO Tarife (q50) VALUES ('Основна'), ('Сезонна')");
        exec("INSERT INTO Uslugi (q40, q33, q51) VALUES (60, 'Единична', 1), (90.5, 'Двойна', 1)");
    }

private slots:
    void initTestCase() { FillCatalogue(slBulgarian); }
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        SelectedHotelID.clear();
    }
    void cleanup() { m_db.reset(); }

    void hotelsInsertThenUpdateEveryRowOfTheNumber()
    {
        auto window = openWindow<TFNomHotels>();
        QCOMPARE(window->GridModel()->columnCount(), 12);
        QCOMPARE(window->Grid()->model()->headerData(0, Qt::Horizontal).toString(), colHotelID);
        QCOMPARE(window->Grid()->columnWidth(11), 200);
        QVERIFY(TypeInto(window->edNomHotesId, "7"));
        QVERIFY(TypeInto(window->edNomHotesName, "Морска звезда"));
        QVERIFY(TypeInto(window->edNomHotesOneRooms, "4"));
        QVERIFY(TypeInto(window->edNomHotesVip, "x"));  // counts are texts, sent as typed
        QVERIFY(TypeInto(window->edNomHotesPersonal, "2"));
        QVERIFY(ClickCommand(window->acFNomHotelsSave));
        QCOMPARE(rows("SELECT q1, q10, q11, q12, q17, q19 FROM HotelBuild"), QStringList({"7|Морска звезда|4||x|2"}));
        QCOMPARE(window->GridModel()->rowCount(), 1);
        QCOMPARE(gridText(window->Grid(), 0, 1), QString("Морска звезда"));

        exec("INSERT INTO HotelBuild (q1, q10) VALUES (7, 'двойник')");
        QVERIFY(TypeInto(window->edNomHotesName, "Нова"));
        QVERIFY(ClickCommand(window->acFNomHotelsSave));
        QCOMPARE(rows("SELECT q1, q10 FROM HotelBuild"), QStringList({"7|Нова", "7|Нова"}));
        QCOMPARE(window->edNomHotesName->text(), QString("Нова"));  // the fields keep their contents
        QVERIFY(!connection().InTransaction());

        ErrorLogRecorder log;
        QVERIFY(TypeInto(window->edNomHotesId, "седем"));
        QVERIFY(ClickCommand(window->acFNomHotelsSave));
        QCOMPARE(log.Texts().size(), 1);
        QVERIFY(log.Texts().first().contains("седем"));
        QVERIFY(ClearField(window->edNomHotesId));
        QVERIFY(ClickCommand(window->acFNomHotelsSave));
        QCOMPARE(log.Texts().size(), 2);
        QCOMPARE(rows("SELECT COUNT(*) FROM HotelBuild"), QStringList({"2"}));
        QVERIFY(!connection().InTransaction());
        QCOMPARE(window->GridModel()->rowCount(), 2);  // re-read after the failed save
        window->show();
        SaveShot(window.get(), "FNomHotels");
    }

    void twoRegistersSaveIndependently()
    {
        auto first = openWindow<TFNomHotels>();
        auto second = openWindow<TFNomHotels>();
        QVERIFY(TypeInto(first->edNomHotesId, "1"));
        QVERIFY(TypeInto(first->edNomHotesName, "Първи"));
        QVERIFY(TypeInto(second->edNomHotesId, "2"));
        QVERIFY(TypeInto(second->edNomHotesName, "Втори"));
        QVERIFY(ClickCommand(first->acFNomHotelsSave));
        QCOMPARE(first->GridModel()->rowCount(), 1);
        QCOMPARE(second->GridModel()->rowCount(), 0);  // each reloads only its own grid
        QVERIFY(ClickCommand(second->acFNomHotelsSave));
        QCOMPARE(rows("SELECT q1, q10 FROM HotelBuild ORDER BY q1"), QStringList({"1|Първи", "2|Втори"}));
    }

    void roomsSaveWithLookupsCountsAndFilter()
    {
        masterData();
        auto window = openWindow<TFNomStai>();
        QCOMPARE(window->windowTitle(), QString("Стаи"));
        QCOMPARE(window->Pages()->currentWidget(), window->tsNomenclatureRoomsTypes);
        QCOMPARE(window->rgNomenclatureRoomsLock->ItemIndex(), 0);
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window->acFNomStaiSave));  // no hotel and no filter
            QCOMPARE(boxes.Texts(), QStringList({msgNoDataFillIn}));
        }
        QVERIFY(TypeInto(window->Edit1, "101"));
        // Each list is refilled on entry and keeps the item the mouse chose in it.
        QVERIFY(ChooseFromDropDown(window->ComboBox1, "Двойна"));
        QVERIFY(ChooseFromDropDown(window->ComboBox2, "Сезонна"));
        QVERIFY(ChooseFromDropDown(window->ComboBox3, "Планински"));
        QCOMPARE(window->ComboBox3->count(), 2);
        QVERIFY(TypeInto(window->Edit2, "2"));  // beds without a room count: neither is written
        QCOMPARE(window->ComboBox1->currentText(), QString("Двойна"));
        QVERIFY(ClickCommand(window->acFNomStaiSave));
        QCOMPARE(rows("SELECT q47, q44, q46, q51, q79, q48, q1, q42 FROM Rooms"),
                 QStringList({"1|101|90.5|2|||2|2"}));
        exec("UPDATE Uslugi SET q40 = 95 WHERE q33 = 'Двойна'");
        QVERIFY(TypeInto(window->Edit5, "1"));
        QVERIFY(TypeInto(window->Edit3, "1"));
        QVERIFY(ClickCommand(window->acFNomStaiSave));
        QCOMPARE(rows("SELECT q47, q46, q79, q48 FROM Rooms"), QStringList({"1|95|2|1"}));
        // A room nobody typed a type for is of its number of beds, once known; a typed one stays.
        QCOMPARE(rows("SELECT q275 FROM Rooms"), QStringList({"Стая с 2 легла"}));
        QVERIFY(TypeInto(window->ComboBoxRoomType, "Двойна с изглед"));
        QVERIFY(ClickCommand(window->acFNomStaiSave));
        QCOMPARE(rows("SELECT q275 FROM Rooms"), QStringList({"Двойна с изглед"}));
        QVERIFY(ClearField(window->ComboBoxRoomType));
        QVERIFY(ClickCommand(window->acFNomStaiSave));
        QCOMPARE(rows("SELECT q275 FROM Rooms"), QStringList({"Двойна с изглед"}));
        // No VAT rate chosen: accommodation's; one chosen in the list: that one.
        QCOMPARE(rows("SELECT r.q164 FROM Rooms m JOIN DDSStavki r ON (r.q163 = m.q170)"),
                 QStringList({"ДДС 9% настаняване"}));
        QVERIFY(ChooseFromDropDown(window->ComboBoxVat, "ДДС 20%"));
        QVERIFY(ClickCommand(window->acFNomStaiSave));
        QCOMPARE(rows("SELECT r.q164 FROM Rooms m JOIN DDSStavki r ON (r.q163 = m.q170)"), QStringList({"ДДС 20%"}));
        QVERIFY(ClearField(window->ComboBoxVat));

        // The filter decides the hotel; an identifier no row has adds a room.
        SelectedHotelID = "1";
        QVERIFY(ClearField(window->ComboBox3));
        QVERIFY(TypeInto(window->Edit5, "99"));
        QVERIFY(TypeInto(window->Edit1, "102"));
        QVERIFY(ClickCommand(window->acFNomStaiSave));
        QCOMPARE(rows("SELECT q47, q44, q1 FROM Rooms WHERE q44 = '102'"), QStringList({"2|102|1"}));
        SelectedHotelID.clear();

        // A service no one has: a clear message, no half row, no open transaction.
        MessageBoxRecorder boxes;
        QVERIFY(ChooseFromDropDown(window->ComboBox3, "Морски"));
        QVERIFY(TypeInto(window->ComboBox1, "Няма"));
        QVERIFY(ClearField(window->Edit5));
        QVERIFY(ClickCommand(window->acFNomStaiSave));
        QCOMPARE(boxes.Boxes().size(), 1);
        QVERIFY(boxes.Texts().first().contains("Няма"));
        QVERIFY(boxes.Texts().first().contains("ИД услуга"));
        QCOMPARE(rows("SELECT COUNT(*) FROM Rooms"), QStringList({"2"}));
        QVERIFY(!connection().InTransaction());
        QCOMPARE(window->GridModel()->rowCount(), 2);
        SaveShot(window.get(), "FNomStai");
    }

    void lookupBoxesRefillWhenEnteredAndKeepAMouseChoice()
    {
        masterData();
        auto window = openWindow<TFNomStai>();
        QVERIFY(ChooseFromDropDown(window->ComboBox2, "Основна"));
        // A tariff added by another workstation is offered the next time the box is entered.
        exec("INSERT INTO Tarife (q50) VALUES ('Зимна')");
        QVERIFY(ClickOn(window->Edit1));
        QVERIFY(ChooseFromDropDown(window->ComboBox2, "Зимна"));
        // Choosing again from the box that already has the focus keeps the new choice.
        QVERIFY(ChooseFromDropDown(window->ComboBox2, "Сезонна"));
        QCOMPARE(window->ComboBox2->currentText(), QString("Сезонна"));
        QCOMPARE(window->ComboBox2->count(), 3);
        // Typed text that is no item survives the refill on entry.
        QVERIFY(TypeInto(window->ComboBox1, "Трой"));
        QVERIFY(ClickOn(window->Edit1));
        QVERIFY(ClickOn(window->ComboBox1->lineEdit()));
        QCOMPARE(window->ComboBox1->currentText(), QString("Трой"));
        QCOMPARE(window->ComboBox1->currentIndex(), -1);
    }

    void roomNumberIsUniqueWithinItsHotel()
    {
        masterData();
        auto window = openWindow<TFNomStai>();
        int shownInTransaction = 0;
        auto save = [&](const QString &id, const QString &number, const QString &hotel) -> QStringList {
            const bool typed = TypeInto(window->Edit5, id) && TypeInto(window->Edit1, number) &&
                               ChooseFromDropDown(window->ComboBox1, "Единична") &&
                               ChooseFromDropDown(window->ComboBox2, "Основна") &&
                               ChooseFromDropDown(window->ComboBox3, hotel);
            MessageBoxRecorder boxes;
            if (!typed || !ClickCommand(window->acFNomStaiSave))
                return {"input failed"};
            shownInTransaction += boxes.ShownInTransaction();
            return boxes.Texts();
        };
        QCOMPARE(save("", "101", "Морски"), QStringList());
        QCOMPARE(save("", "101", "Планински"), QStringList());  // the same number in another hotel
        // A second "101" in one hotel, in any letter case of a number that has letters, is refused.
        QCOMPARE(save("", "101", "Морски"), QStringList({msgRoomNumberExists.arg("101")}));
        QCOMPARE(window->Edit1->palette().color(QPalette::Base), QColor(Qt::red));
        QCOMPARE(save("", "A1", "Морски"), QStringList());
        QCOMPARE(save("", "a1", "Морски"), QStringList({msgRoomNumberExists.arg("a1")}));
        // Saving a room under its own number is an edit; taking another room's number is not.
        QCOMPARE(save("1", "101", "Морски"), QStringList());
        QCOMPARE(save("3", "101", "Морски"), QStringList({msgRoomNumberExists.arg("101")}));
        QCOMPARE(rows("SELECT q47, q44, q1 FROM Rooms ORDER BY q47"), QStringList({"1|101|1", "2|101|2", "3|A1|1"}));
        QCOMPARE(shownInTransaction, 0);
        QVERIFY(!connection().InTransaction());
    }

    void operatorSaveIsReportedAsWhatHappened()
    {
        masterData();
        installProcedures();
        exec("INSERT INTO Operators (q1, q21, q75, q76) VALUES (1, 'Стар', 'old', 'x')");
        auto window = openWindow<TFNomOperatori>();
        QVERIFY(TypeInto(window->Edit1, "Нов"));
        QVERIFY(TypeInto(window->ComboBox1, "Морски"));
        QVERIFY(TypeInto(window->Edit7, "new"));
        QVERIFY(TypeInto(window->Edit8, "a good password"));
        QVERIFY(TypeInto(window->Edit9, "a good password"));
        // Saved, but the list cannot be read again: said as it is, never "not saved".
        DropProcedure("proc_OpenOperator");
        {
            ErrorLogRecorder log;
            QVERIFY(ClickCommand(window->acFNomOperatoriSave));
            QCOMPARE(log.Texts().size(), 1);
            QVERIFY(log.Texts().first().startsWith(msgOperatorListNotRead));
            QCOMPARE(log.ShownInTransaction(), 0);
        }
        QCOMPARE(rows("SELECT q75 FROM Operators ORDER BY q80"), QStringList({"old", "new"}));
        QCOMPARE(window->GridModel()->rowCount(), 2);  // the rows the table holds
        // A save that fails: said so, and the grid still shows the table.
        DropProcedure("proc_SaveNewOperator");
        exec("INSERT INTO Operators (q1, q21, q75, q76) VALUES (1, 'Трети', 'third', 'x')");
        {
            ErrorLogRecorder log;
            QVERIFY(ClickCommand(window->acFNomOperatoriSave));
            QCOMPARE(log.Texts().size(), 1);
            QVERIFY(log.Texts().first().startsWith(msgOperatorNotSaved));
        }
        QCOMPARE(window->GridModel()->rowCount(), 3);
        QVERIFY(!connection().InTransaction());
    }

    void textBoxesTakeNoMoreThanTheirColumnHolds()
    {
        masterData();
        std::vector<std::unique_ptr<QWidget>> windows;
        windows.push_back(openWindow<TFNomHotels>());
        windows.push_back(openWindow<TFNomStai>());
        windows.push_back(openWindow<TFNomTarifi>());
        windows.push_back(openWindow<TFNomUslugi>());
        windows.push_back(openWindow<TFValuta>());
        windows.push_back(openWindow<TFNomOperatori>());
        windows.push_back(openWindow<TFSigurnost>());
        windows.push_back(openWindow<TFOperReservation>());
        windows.push_back(openWindow<TFUserLogin>());
        for (const auto &window : windows)
            for (QLineEdit *edit : window->findChildren<QLineEdit *>())
                if (!qobject_cast<QAbstractSpinBox *>(edit->parentWidget()))
                    QVERIFY2(edit->maxLength() <= 500, qPrintable(window->objectName() + "." + edit->objectName()));
        // A name typed longer than the column is cut in the box, where the user sees it.
        auto *hotels = static_cast<TFNomHotels *>(windows.front().get());
        QVERIFY(TypeInto(hotels->edNomHotesId, "3"));
        QVERIFY(TypeInto(hotels->edNomHotesName, QString(600, QChar(0x0416))));
        QVERIFY(ClickCommand(hotels->acFNomHotelsSave));
        QCOMPARE(rows("SELECT length(q10) FROM HotelBuild WHERE q1 = 3"), QStringList({"500"}));
    }

    void tariffsWithProposedValuesAndLayoutDates()
    {
        auto window = openWindow<TFNomTarifi>();
        QCOMPARE(window->Edit3->text(), QString("3"));
        QCOMPARE(window->Edit4->text(), QString("5"));
        QCOMPARE(window->DateTimePicker1->dateTime(), QDateTime(QDate(2007, 11, 22), QTime(23, 32, 40)));
        QVERIFY(TypeInto(window->Edit2, "Зимна"));
        QVERIFY(ClickCommand(window->acFNomTarifiSave));
        QCOMPARE(rows("SELECT q51, q50, q111, q112, q52, q53 FROM Tarife"),
                 QStringList({"1|Зимна|3|5|22.11.2007 23:32:40|22.11.2007 23:32:43"}));
        window->DateTimePicker2->setDate(QDate(2008, 1, 31));  // the time of day stays
        QVERIFY(TypeInto(window->Edit1, "1"));
        QVERIFY(TypeInto(window->Edit4, "10"));
        QVERIFY(ClickCommand(window->acFNomTarifiSave));
        QCOMPARE(rows("SELECT q51, q112, q53 FROM Tarife"), QStringList({"1|10|31.01.2008 23:32:43"}));
        QVERIFY(!window->cbNomeclatureTarifeIsAutomatic->isChecked());
        QVERIFY(ClickOn(window->cbNomeclatureTarifeIsAutomatic));
        MessageBoxRecorder boxes;
        QVERIFY(TypeInto(window->Edit3, "три"));
        QVERIFY(ClickCommand(window->acFNomTarifiSave));
        QCOMPARE(boxes.Boxes().size(), 1);
        QVERIFY(boxes.Texts().first().contains("три"));
        QCOMPARE(rows("SELECT q111 FROM Tarife"), QStringList({"3"}));
    }

    void servicesPriceCheckAndEmptyIdentifier()
    {
        masterData();
        auto window = openWindow<TFNomUslugi>();
        QVERIFY(TypeInto(window->Edit2, "Закуска"));
        QVERIFY(TypeInto(window->ComboBox1, "Сезонна"));
        QVERIFY(TypeInto(window->Edit3, "12,50"));
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window->acFNomUslugiSave));
            QCOMPARE(boxes.Texts(), QStringList({msgMissingOrWrongData}));
            QCOMPARE(boxes.Boxes().first().Flags, 48);
        }
        QCOMPARE(window->Edit3->text(), QString("12,50"));
        QCOMPARE(window->GridModel()->rowCount(), 2);
        QVERIFY(TypeInto(window->Edit3, "12.50"));
        QVERIFY(ClickCommand(window->acFNomUslugiSave));  // an empty identifier adds a service
        QCOMPARE(rows("SELECT q42, q40, q33, q51 FROM Uslugi WHERE q33 = 'Закуска'"), QStringList({"3|12.5|Закуска|2"}));
        // No VAT rate chosen: a service's, the standard one.
        QCOMPARE(rows("SELECT r.q164 FROM Uslugi s JOIN DDSStavki r ON (r.q163 = s.q170) WHERE s.q42 = 3"),
                 QStringList({"ДДС 20%"}));
        QVERIFY(TypeInto(window->Edit1, "3"));
        QVERIFY(TypeInto(window->Edit3, "14"));
        QVERIFY(ChooseFromDropDown(window->ComboBoxVat, "ДДС 9% настаняване"));
        QVERIFY(ClickCommand(window->acFNomUslugiSave));
        QCOMPARE(rows("SELECT q42, q40 FROM Uslugi WHERE q33 = 'Закуска'"), QStringList({"3|14"}));
        QCOMPARE(rows("SELECT r.q164 FROM Uslugi s JOIN DDSStavki r ON (r.q163 = s.q170) WHERE s.q42 = 3"),
                 QStringList({"ДДС 9% настаняване"}));
        // A rate the register does not know: refused, the row as it was.
        {
            MessageBoxRecorder unknown;
            QVERIFY(TypeInto(window->ComboBoxVat, "ДДС 7%"));
            QVERIFY(ClickCommand(window->acFNomUslugiSave));
            QCOMPARE(unknown.Boxes().size(), 1);
        }
        QCOMPARE(rows("SELECT r.q164 FROM Uslugi s JOIN DDSStavki r ON (r.q163 = s.q170) WHERE s.q42 = 3"),
                 QStringList({"ДДС 9% настаняване"}));
        QVERIFY(TypeInto(window->ComboBoxVat, "ДДС 9% настаняване"));
        MessageBoxRecorder boxes;
        QVERIFY(TypeInto(window->Edit3, "1-2"));  // allowed characters, still no number
        QVERIFY(ClickCommand(window->acFNomUslugiSave));
        QCOMPARE(boxes.Boxes().size(), 1);
        QVERIFY(boxes.Texts().first().contains("1-2"));
        QCOMPARE(rows("SELECT COUNT(*) FROM Uslugi"), QStringList({"3"}));
        QVERIFY(!connection().InTransaction());
    }

    void currencyMainFlagsAndEmptyIdentifier()
    {
        masterData();
        auto window = openWindow<TFValuta>();
        QVERIFY(TypeInto(window->EditName, "BGN"));
        QVERIFY(TypeInto(window->ComboBoxHotel, "Морски"));
        QVERIFY(!window->CheckBoxMainValuta->isChecked());
        QVERIFY(ClickOn(window->CheckBoxMainValuta));
        QVERIFY(ClickCommand(window->acSave));
        QVERIFY(TypeInto(window->EditName, "EUR"));
        QVERIFY(ClickCommand(window->acSave));
        QCOMPARE(rows("SELECT q57, q56, q86, q1 FROM Valuta"), QStringList({"1|BGN|1|1", "2|EUR|1|1"}));
        QVERIFY(TypeInto(window->EditId, "1"));
        QVERIFY(TypeInto(window->EditName, "BGN"));
        QVERIFY(window->CheckBoxMainValuta->isChecked());
        QVERIFY(ClickOn(window->CheckBoxMainValuta));
        QVERIFY(ClickCommand(window->acSave));
        QCOMPARE(rows("SELECT q57, q86 FROM Valuta ORDER BY q57"), QStringList({"1|0", "2|1"}));
        QCOMPARE(window->GridModel()->rowCount(), 2);
        QCOMPARE(window->ListDataSet(), window->ADOQueryValuta);
    }

    void operatorsCreatedWithFullRights()
    {
        masterData();
        installProcedures();
        auto window = openWindow<TFNomOperatori>();
        QVERIFY(TypeInto(window->Edit1, "Мария Иванова"));
        QVERIFY(TypeInto(window->ComboBox1, "Планински"));
        QVERIFY(TypeInto(window->Edit7, "maria"));
        QVERIFY(TypeInto(window->Edit8, " "));
        QVERIFY(TypeInto(window->Edit9, " "));
        QVERIFY(TypeInto(window->Edit2, "ул. 1"));
        QVERIFY(TypeInto(window->Edit3, "Варна"));
        QVERIFY(TypeInto(window->Edit4, "088"));
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window->acFNomOperatoriSave));  // one blank is no password
            QCOMPARE(boxes.Texts(), QStringList({"Моля попълнете коректно служебните данни."}));
        }
        QVERIFY(TypeInto(window->Edit8, "  "));
        QVERIFY(TypeInto(window->Edit9, "  x"));
        {
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window->acFNomOperatoriSave));
            QCOMPARE(boxes.Texts().size(), 1);
            QVERIFY(boxes.Texts().first().startsWith("Проверете полетата за парола."));
            QVERIFY(window->Edit8->text().isEmpty());
            QVERIFY(window->Edit9->text().isEmpty());
        }
        QVERIFY(TypeInto(window->Edit8, "  "));
        QVERIFY(TypeInto(window->Edit9, "  "));
        {
            // Two blanks are a password, but too short a one.
            MessageBoxRecorder boxes;
            QVERIFY(ClickCommand(window->acFNomOperatoriSave));
            QCOMPARE(boxes.Texts(), QStringList({msgPasswordTooShort.arg(10)}));
            QCOMPARE(rows("SELECT COUNT(*) FROM Operators"), QStringList({"0"}));
        }
        QVERIFY(TypeInto(window->Edit8, "  blanks too "));
        QVERIFY(TypeInto(window->Edit9, "  blanks too "));
        QVERIFY(ClickCommand(window->acFNomOperatoriSave));
        QCOMPARE(rows("SELECT q80, q1, q21, q23, q24, q74, q75, q77 FROM Operators"),
                 QStringList({"1|2|Мария Иванова|ул. 1|088|Варна|maria|" + Rights::Full()}));
        QVERIFY(Operators::VerifyPassword(rows("SELECT q76 FROM Operators").first(), "  blanks too "));
        QVERIFY(!connection().InTransaction());
        QCOMPARE(window->GridModel()->rowCount(), 1);
        QCOMPARE(gridText(window->Grid(), 0, 9), QString("********"));  // never the password itself
        QCOMPARE(gridText(window->Grid(), 0, 8), QString("maria"));
        window->acFNomOperatoriClearExecute();
        QVERIFY(window->Edit1->text().isEmpty());
        QCOMPARE(window->Edit7->text(), QString("maria"));
        QCOMPARE(window->Edit8->text(), QString("  blanks too "));

        ErrorLogRecorder log;
        QVERIFY(TypeInto(window->Edit1, "Друг"));
        QVERIFY(TypeInto(window->ComboBox1, "Няма такъв"));
        QVERIFY(ClickCommand(window->acFNomOperatoriSave));
        QCOMPARE(log.Texts().size(), 1);
        QVERIFY(log.Texts().first().contains("Няма такъв"));
        DropProcedure("proc_SaveNewOperator");
        QVERIFY(TypeInto(window->ComboBox1, "Морски"));
        QVERIFY(ClickCommand(window->acFNomOperatoriSave));
        QCOMPARE(log.Texts().size(), 2);
        QVERIFY(log.Texts().last().contains("proc_SaveNewOperator"));
        QVERIFY(!connection().InTransaction());
        QCOMPARE(rows("SELECT COUNT(*) FROM Operators"), QStringList({"1"}));
    }

    void accessRightsEditor()
    {
        exec("INSERT INTO Operators (q75, q77) VALUES ('ivan', ?), ('petar', '1010')", {QString(50, '1')});
        auto window = openWindow<TFSigurnost>();
        QTreeWidgetItem *root = window->TreeView1->topLevelItem(0);
        QCOMPARE(root->text(0), colUsers);
        QCOMPARE(root->childCount(), 2);
        QCOMPARE(root->child(0)->text(0), QString("1. ivan"));
        for (QFrame *panel : window->Panels)
            QCOMPARE(panel->height(), 40);
        QCOMPARE(window->RightSwitches.size(), Rights::Count);
        for (TShapeSwitch *shape : window->RightSwitches)
            QCOMPARE(shape->Colour(), TShapeSwitch::Red);

        window->TreeView1->setCurrentItem(root);  // the root changes nothing
        QCOMPARE(window->SwitchAt(1)->Colour(), TShapeSwitch::Red);
        window->TreeView1->setCurrentItem(root->child(0));
        QCOMPARE(window->SwitchAt(50)->Colour(), TShapeSwitch::Green);
        QCOMPARE(window->SwitchAt(4)->objectName(), QString("ShapeL25"));
        QTest::mouseClick(window->SwitchAt(4), Qt::LeftButton);
        QTest::mouseClick(window->SwitchAt(5), Qt::LeftButton);
        QCOMPARE(window->EditedPrivileges, QString("111001") + QString(44, '1') + "00");
        QCOMPARE(window->SwitchAt(4)->Colour(), TShapeSwitch::Red);
        QTest::mouseClick(window->SwitchAt(5), Qt::LeftButton);  // twice: back as it was
        QCOMPARE(window->EditedPrivileges.mid(3, 2), QString("01"));
        QVERIFY(ClickCommand(window->acSave));
        QCOMPARE(rows("SELECT q77 FROM Operators WHERE q80 = 1"), QStringList({"11101" + QString(45, '1') + "00"}));

        // Full access off and on, on a second operator whose stored string is short.
        window->TreeView1->setCurrentItem(root->child(1));
        QCOMPARE(window->SwitchAt(1)->Colour(), TShapeSwitch::Green);
        QCOMPARE(window->SwitchAt(2)->Colour(), TShapeSwitch::Red);
        QCOMPARE(window->SwitchAt(20)->Colour(), TShapeSwitch::Red);  // missing positions show as denied
        QTest::mouseClick(window->SwitchAt(20), Qt::LeftButton);
        QCOMPARE(window->EditedPrivileges.size(), Rights::Count);
        QCOMPARE(window->EditedPrivileges.at(19), QChar('1'));
        QTest::mouseClick(window->HeaderSwitches.first(), Qt::LeftButton);
        QCOMPARE(window->EditedPrivileges, Rights::Full());
        for (TShapeSwitch *shape : window->HeaderSwitches)
            QCOMPARE(shape->Colour(), TShapeSwitch::Green);
        QVERIFY(ClickCommand(window->acCancel));
        QCOMPARE(window->Edit1->text(), Rights::Full());
        QTest::mouseClick(window->HeaderSwitches.first(), Qt::LeftButton);
        QCOMPARE(window->EditedPrivileges, Rights::None());
        QVERIFY(ClickCommand(window->acSave));
        QCOMPARE(rows("SELECT q77 FROM Operators WHERE q80 = 2"), QStringList({Rights::None()}));

        // A saved string comes back after another operator was selected.
        window->TreeView1->setCurrentItem(root->child(0));
        window->TreeView1->setCurrentItem(root->child(1));
        QCOMPARE(window->SwitchAt(1)->Colour(), TShapeSwitch::Red);
        window->TreeView1->setCurrentItem(root);
        QVERIFY(ClickCommand(window->acSave));  // root selected: nothing happens, nothing raised
        QCOMPARE(rows("SELECT q77 FROM Operators WHERE q80 = 2"), QStringList({Rights::None()}));

        // Folding and unfolding.
        QFrame *panel = window->Panels.at(2);
        QTest::mouseClick(window->HeaderSwitches.at(2), Qt::LeftButton);
        QCOMPARE(window->HeaderSwitches.at(2)->Colour(), TShapeSwitch::MoneyGreen);
        QTRY_VERIFY(panel->height() > 40);
        QTest::qWait(300);  // the fold's steps end
        for (QLabel *label : panel->findChildren<QLabel *>())
            QVERIFY2(label->geometry().bottom() < panel->height(), qPrintable(label->objectName()));
        window->show();
        SaveShot(window.get(), "FSigurnost");
        QTest::mouseClick(window->HeaderSwitches.at(2), Qt::LeftButton);
        QCOMPARE(window->HeaderSwitches.at(2)->Colour(), TShapeSwitch::Red);
        QTRY_COMPARE(panel->height(), 40);
        // Two quick clicks: the panel goes back to where it was, never stays between.
        QTest::mouseClick(window->HeaderSwitches.at(3), Qt::LeftButton);
        QTest::qWait(35);
        QTest::mouseClick(window->HeaderSwitches.at(3), Qt::LeftButton);
        QTRY_VERIFY(!window->Folding());
        QCOMPARE(window->Panels.at(3)->height(), 40);
        QVERIFY(!connection().InTransaction());
    }

    void twoEditorsKeepTheirOwnStrings()
    {
        exec("INSERT INTO Operators (q75, q77) VALUES ('ivan', ?), ('petar', ?)", {QString(50, '1'), QString(50, '0')});
        auto first = openWindow<TFSigurnost>();
        auto second = openWindow<TFSigurnost>();
        first->TreeView1->setCurrentItem(first->TreeView1->topLevelItem(0)->child(0));
        second->TreeView1->setCurrentItem(second->TreeView1->topLevelItem(0)->child(1));
        QVERIFY(ClickCommand(first->acSave));
        QVERIFY(ClickCommand(second->acSave));
        // Strings of fifty read with the positions added since as denied.
        QCOMPARE(rows("SELECT q77 FROM Operators ORDER BY q80"), QStringList({QString(50, '1') + "00", Rights::None()}));
    }

    void registersOpenFromTheMainWindow()
    {
        TFHotel main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        for (const char *command : {"actNomenHotels", "actNomenRooms", "actNomenTarifs", "actNomenServices",
                                    "actNomenValuta", "actNomenOperators", "actOperSec"})
            main.Action(command)->trigger();
        QStringList names;
        for (QMdiSubWindow *frame : main.MdiArea->subWindowList())
            names.append(frame->widget()->objectName() + ":" + frame->widget()->windowTitle());
        QCOMPARE(names, QStringList({"FNomHotels:Хотели", "FNomStai:Стаи", "FNomTarifi:Тарифи", "FNomUslugi:Услуги",
                                     "FValuta:Валута", "FNomOperatori:Оператори", "FSigurnost:Сигурност"}));
        for (QMdiSubWindow *frame : main.MdiArea->subWindowList()) {
            for (QWidget *w : frame->widget()->findChildren<QWidget *>()) {
                const QString bad = TMainLibraryClass::UnknownCaption();
                if (auto *label = qobject_cast<QLabel *>(w))
                    QVERIFY2(label->text() != bad, qPrintable(w->objectName()));
                if (auto *box = qobject_cast<QGroupBox *>(w))
                    QVERIFY2(box->title() != bad, qPrintable(w->objectName()));
            }
            for (QAction *action : frame->widget()->findChildren<QAction *>())
                QVERIFY2(action->text() != TMainLibraryClass::UnknownCaption(), qPrintable(action->objectName()));
        }
    }
};

KALV_TEST_MAIN(TestRegisters)
#include "tst_registers.moc"
