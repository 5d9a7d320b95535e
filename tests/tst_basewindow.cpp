// The base window: input checks by rule, caption loading from Settings.ini, the hotel
// filter, the error-report text and running as a modal window.

#include "TestHarness.h"
#include "errors/UErrors.h"
#include "framework/UMainLibraryClass.h"
#include "framework/UStdCtrls.h"
#include "framework/UStrNumCtrl.h"
#include "startup/UConstMessagesHotel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace {

bool isRed(QWidget *control) { return control->palette().color(QPalette::Base) == QColor(Qt::red); }

// A label of our own: the kind tests must accept subclasses.
class TCaptionLabel : public QLabel
{
public:
    using QLabel::QLabel;
};

} // namespace

class TestBaseWindow : public QObject
{
    Q_OBJECT

private slots:
    void checkControlRulesOnEditBox_data();
    void checkControlRulesOnEditBox();
    void checkControlRewritesCommaOnlyInEditBox();
    void checkControlResetsColourAndRejectsOtherKinds();
    void strNumCtrlChecks();
    void captionsOfWindowAndContainer();
    void captionsOfRadioGroupTabSheetMenuAndToolbar();
    void componentCaptionsOfWindowReachEveryControl();
    void missingSettingsGiveUnknownCaption();
    void hotelFilter();
    void errorReportText();
    void modalResults();
};

void TestBaseWindow::checkControlRulesOnEditBox_data()
{
    QTest::addColumn<int>("rule");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("passes");

    QTest::newRow("empty fails every rule") << 3 << "" << false;
    QTest::newRow("rule 0 never") << 0 << "abc" << false;
    QTest::newRow("rule 1 digits") << 1 << "0123" << true;
    QTest::newRow("rule 1 sign") << 1 << "-1" << false;
    QTest::newRow("rule 1 long digits") << 1 << QString(150, QLatin1Char('7')) << true;
    QTest::newRow("rule 2 number") << 2 << "12.5" << true;
    QTest::newRow("rule 2 negative") << 2 << "-3" << true;
    QTest::newRow("rule 2 zero") << 2 << "0" << false;
    QTest::newRow("rule 2 two points") << 2 << "1.2.3" << false;
    QTest::newRow("rule 2 letters") << 2 << "12a" << false;
    QTest::newRow("rule 2 star") << 2 << "*" << false;
    QTest::newRow("rule 2 too large") << 2 << "1.8e308" << false;
    QTest::newRow("rule 3 blanks") << 3 << "   " << true;
    QTest::newRow("rule 4 one char") << 4 << "x" << true;
    QTest::newRow("rule 4 two chars") << 4 << "xy" << false;
    QTest::newRow("rule 5 never") << 5 << "1" << false;
    QTest::newRow("rule 6 date") << 6 << "29.02.2024" << true;
    QTest::newRow("rule 6 bad date") << 6 << "30.02.2024" << false;
    QTest::newRow("rule 6 zero date") << 6 << "30.12.1899" << false;
    QTest::newRow("rule 6 other format") << 6 << "2024-02-01" << false;
    QTest::newRow("rule 7 date time") << 7 << "01.02.2024 10:20:30" << true;
    QTest::newRow("rule 7 date only text") << 7 << "nonsense" << false;
    QTest::newRow("rule 8 time") << 8 << "10:20:30" << true;
    QTest::newRow("rule 8 midnight") << 8 << "00:00:00" << false;
    QTest::newRow("rule 8 bad time") << 8 << "25:00:00" << false;
    QTest::newRow("rule 9 anything") << 9 << "?" << true;
    QTest::newRow("rule 255 anything") << 255 << "?" << true;
}

void TestBaseWindow::checkControlRulesOnEditBox()
{
    QFETCH(int, rule);
    QFETCH(QString, text);
    QFETCH(bool, passes);

    TMainLibraryClass window;
    auto *edit = Named<QLineEdit>(&window, "Edit1");
    edit->setText(text);
    QWidget *result = window.CheckControl(edit, quint8(rule));
    QCOMPARE(result == nullptr, passes);
    QCOMPARE(isRed(edit), !passes);
    if (!passes)
        QCOMPARE(result, edit);
}

void TestBaseWindow::checkControlRewritesCommaOnlyInEditBox()
{
    TMainLibraryClass window;
    auto *edit = Named<QLineEdit>(&window, "Edit1");
    edit->setText("12,5");
    QCOMPARE(window.CheckControl(edit, 2), nullptr);
    QCOMPARE(edit->text(), QString("12.5"));

    // Only the first comma is replaced, so the rest still fails.
    edit->setText("1,2,3");
    QCOMPARE(window.CheckControl(edit, 2), edit);
    QCOMPARE(edit->text(), QString("1.2,3"));

    // Other rules leave the comma alone.
    edit->setText("1,5");
    QCOMPARE(window.CheckControl(edit, 3), nullptr);
    QCOMPARE(edit->text(), QString("1,5"));

    auto *combo = Named<QComboBox>(&window, "ComboBox1");
    combo->setEditable(true);
    combo->setEditText("12,5");
    QCOMPARE(window.CheckControl(combo, 2), combo);
    QCOMPARE(combo->currentText(), QString("12,5"));
    combo->setEditText("12.5");
    QCOMPARE(window.CheckControl(combo, 2), nullptr);
    combo->setEditText("");
    QCOMPARE(window.CheckControl(combo, 3), combo);
}

void TestBaseWindow::checkControlResetsColourAndRejectsOtherKinds()
{
    TMainLibraryClass window;
    auto *edit = Named<QLineEdit>(&window, "Edit1");
    QVERIFY(window.CheckControl(edit, 3));
    QVERIFY(isRed(edit));
    edit->setText("filled");
    QCOMPARE(window.CheckControl(edit, 3), nullptr);
    QVERIFY(!isRed(edit));
    QCOMPARE(edit->palette().color(QPalette::Base), QApplication::palette(edit).color(QPalette::Base));

    auto *button = Named<QPushButton>(&window, "Button1");
    QCOMPARE(window.CheckControl(button, 3), button);
    QVERIFY(isRed(button));
}

void TestBaseWindow::strNumCtrlChecks()
{
    const TStrNumCtrl check;
    QVERIFY(check.IsNumberText("1-2"));
    QVERIFY(check.IsNumberText("*"));
    QVERIFY(check.IsNumberText("+.5"));
    QVERIFY(!check.IsNumberText(""));
    QVERIFY(!check.IsNumberText("1 2"));
    QVERIFY(!check.IsNumberText("1e5"));
    QVERIFY(!check.IsDigitsText(""));
    QVERIFY(check.IsDigitsText(QString(250, QLatin1Char('0'))));
    QVERIFY(!check.IsDigitsText(QString(120, QLatin1Char('1')) + "x"));
    QVERIFY(!check.IsDigitsText(QString::fromUtf8("١٢")));  // other scripts' digits are no digits
    QVERIFY(check.IsDateText("01.01.2000"));
    QVERIFY(!check.IsDateText("01/01/2000"));
    QVERIFY(check.IsTimeText("23:59:59"));
    QVERIFY(!check.IsTimeText(""));
    QVERIFY(check.IsDateTimeText("31.12.1999 23:00:00"));
    QVERIFY(!check.IsDateTimeText("30.12.1899 00:00:00"));
}

void TestBaseWindow::captionsOfWindowAndContainer()
{
    TestHome home;
    home.WriteSettings("[LANG]\r\nFNomHotels=Хотели\r\nGroupBox1=Основни\r\nLabel1=Име\r\n"
                       "SpeedButton1=Бутон\r\nCheckBox1=Активен\r\nLabel9=Вътрешен\r\n");
    TMainLibraryClass window;
    window.setObjectName("FNomHotels_1");
    window.LoadFormCaption(&window);
    QCOMPARE(window.windowTitle(), QString("Хотели"));
    window.setObjectName("FNomHotels");
    window.setWindowTitle(QString());
    window.LoadFormCaption(&window);
    QCOMPARE(window.windowTitle(), QString("Хотели"));

    auto *box = Named<QGroupBox>(&window, "GroupBox1");
    auto *label = Named<TCaptionLabel>(box, "Label1");
    auto *speed = Named<QToolButton>(box, "SpeedButton1");
    auto *check = Named<QCheckBox>(box, "CheckBox1");
    auto *missing = Named<QLabel>(box, "Label2");
    auto *edit = Named<QLineEdit>(box, "Edit1");
    auto *inner = Named<QWidget>(box, "Panel1");
    auto *grandchild = Named<QLabel>(inner, "Label9");
    grandchild->setText("untouched");
    edit->setText("typed");

    QVERIFY(window.LoadContainerCaptions(box));
    QCOMPARE(box->title(), QString("Основни"));
    QCOMPARE(label->text(), QString("Име"));
    QCOMPARE(speed->text(), QString("Бутон"));
    QCOMPARE(check->text(), QString("Активен"));
    QCOMPARE(missing->text(), QString("Unknow control name"));
    QCOMPARE(edit->text(), QString("typed"));
    QCOMPARE(grandchild->text(), QString("untouched"));
}

void TestBaseWindow::captionsOfRadioGroupTabSheetMenuAndToolbar()
{
    TestHome home;
    home.WriteSettings("[LANG]\r\nRadioGroup1=Заключване\r\nRadioGroup10=Не\r\nRadioGroup11=Да\r\n"
                       "TabSheet1=Общи\r\nmnuFile=Файл\r\nmnuExit=Изход\r\nmnuDeep=Дълбоко\r\n"
                       "tbSave=Запис\r\n");
    TMainLibraryClass window;
    auto *group = Named<TRadioGroup>(&window, "RadioGroup1");
    group->SetItems({"a", "b", "c"});
    QVERIFY(window.LoadRadioGroupCaptions(group));
    QCOMPARE(group->title(), QString("Заключване"));
    QCOMPARE(group->Items(), QStringList({"Не", "Да", "Unknow control name"}));

    auto *tabs = Named<QTabWidget>(&window, "PageControl1");
    auto *sheet = Named<TTabSheet>(tabs, "TabSheet1");
    tabs->addTab(sheet, "old");
    QVERIFY(window.LoadTabSheetCaption(sheet));
    QCOMPARE(tabs->tabText(0), QString("Общи"));
    QCOMPARE(sheet->Caption(), QString("Общи"));

    auto *menuBar = new QMenuBar(&window);
    QMenu *file = menuBar->addMenu("x");
    file->setObjectName("mnuFile");
    QAction *exit = file->addAction("x");
    exit->setObjectName("mnuExit");
    QMenu *sub = file->addMenu("x");
    sub->setObjectName("mnuSub");
    QAction *deep = sub->addAction("deep");
    deep->setObjectName("mnuDeep");
    QVERIFY(window.LoadMainMenuCaptions(menuBar));
    QCOMPARE(file->title(), QString("&Файл"));  // each given an Alt letter of its own
    QCOMPARE(exit->text(), QString("&Изход"));
    QCOMPARE(sub->title().remove('&'), QString("Unknow control name"));
    QCOMPARE(deep->text(), QString("deep"));

    auto *toolbar = new QToolBar(&window);
    QAction *save = toolbar->addAction("x");
    save->setObjectName("tbSave");
    toolbar->addSeparator();
    QAction *close = toolbar->addAction("x");
    close->setObjectName("tbClose");
    QVERIFY(window.LoadToolbarCaptions(toolbar));
    QCOMPARE(save->text(), QString("Запис"));
    QCOMPARE(close->text(), QString("Unknow control name"));
}

void TestBaseWindow::componentCaptionsOfWindowReachEveryControl()
{
    TestHome home;
    home.WriteSettings("[LANG]\r\nLabel1=Зареждане\r\nLabel2=Дълбок\r\nGroupBox1=Група\r\n");
    TMainLibraryClass window;
    auto *label = Named<QLabel>(&window, "Label1");
    QVERIFY(window.LoadComponentCaptions(label));
    QCOMPARE(label->text(), QString("Зареждане"));

    auto *box = Named<QGroupBox>(&window, "GroupBox1");
    auto *panel = Named<QWidget>(box, "Panel1");
    auto *deep = Named<QLabel>(panel, "Label2");
    QVERIFY(window.LoadComponentCaptions(&window));
    QCOMPARE(box->title(), QString("Група"));
    QCOMPARE(deep->text(), QString("Дълбок"));
}

void TestBaseWindow::missingSettingsGiveUnknownCaption()
{
    TestHome home;  // the data folder holds no Settings.ini
    TMainLibraryClass window;
    window.setObjectName("FAny");
    auto *label = Named<QLabel>(&window, "Label1");
    window.LoadFormCaption(&window);
    window.LoadComponentCaptions(&window);
    QCOMPARE(window.windowTitle(), QString("Unknow control name"));
    QCOMPARE(label->text(), QString("Unknow control name"));
}

void TestBaseWindow::hotelFilter()
{
    TestHome home;
    TMainLibraryClass window;
    SelectedHotelID = QString();
    QVERIFY(!window.IsHotelFilterOn());
    SelectedHotelID = "   ";
    QVERIFY(!window.IsHotelFilterOn());
    SelectedHotelID = "FILTAR OFF";
    QVERIFY(!window.IsHotelFilterOn());
    SelectedHotelID = "3";
    QVERIFY(window.IsHotelFilterOn());
    SelectedHotelID = QString();
}

void TestBaseWindow::errorReportText()
{
    QCOMPARE(TMainLibraryClass::ErrorReportText(QString(), QString(), "boom"),
             QString("Class name: \r\nFunction name: \r\nDescription Error: boom"));
    QCOMPARE(TMainLibraryClass::ErrorReportText("EDatabaseError", "Save", "m"),
             QString("Class name: EDatabaseError\r\nFunction name: Save\r\nDescription Error: m"));

    QStringList shown;
    {
        ErrorLogRecorder recorder;
        TMainLibraryClass::ReportError(EConvertError("bad value"));
        shown = recorder.Texts();
    }
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown.first().endsWith("Description Error: bad value"));
    QVERIFY(shown.first().startsWith("Class name: \r\n"));
}

void TestBaseWindow::modalResults()
{
    TestHome home;
    {
        TMainLibraryClass window;
        QTimer::singleShot(0, &window, [&] { window.SetModalResult(mrOk); });
        QCOMPARE(window.ShowModal(), int(mrOk));
        QVERIFY(!window.isVisible());
    }
    {
        TMainLibraryClass window;
        QTimer::singleShot(0, &window, [&] { window.close(); });
        QCOMPARE(window.ShowModal(), int(mrCancel));
    }
    {
        TMainLibraryClass window;
        QTimer::singleShot(0, &window, [] { RequestTerminate(); });
        QCOMPARE(window.ShowModal(), int(mrCancel));
        QCOMPARE(window.ShowModal(), int(mrCancel));  // no loop at all once terminating
    }
}

KALV_TEST_MAIN(TestBaseWindow)
#include "tst_basewindow.moc"
