// The captions in three languages: the delivered files agree key for key, every window opens in
// each language without an unknown caption, the personalisation window switches the language
// for the next start and keeps the panel layout, and a new user's first file follows the system.

#include "TestHarness.h"
#include "admin/UBaza.h"
#include "framework/UMainLibraryClass.h"
#include "framework/UDecimal.h"
#include "framework/UFormatSettings.h"
#include "framework/UStdCtrls.h"
#include "errors/UErrors.h"
#include "framework/UWideIniFile.h"
#include "startup/KalvCM.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesReports.h"
#include "startup/ULanguages.h"
#include "startup/USystemWinOS.h"
#include "windows/Hotel.h"
#include "windows/UAbout.h"
#include "windows/UGuide.h"
#include "windows/UNastroiki.h"
#include "windows/UUserLogin.h"

#include <QAbstractButton>
#include <QAction>
#include <QRegularExpression>
#include <QAbstractItemView>
#include <QDateEdit>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QCheckBox>
#include <QRadioButton>
#include <QToolButton>
#include <QTextDocument>
#include <QTemporaryDir>
#include <QSet>
#include <QtTest>
#include <memory>

namespace {

const QString kSection = "LANG";

QString delivered(const QString &name) { return TestHome::BuildBinFolder() + "dist/" + name; }

// The commands that open windows; the others change the session or the layout.
bool opensAWindow(const QString &action)
{
    static const QStringList others = {"actClose", "actOperChangeOperator", "actOperHotelRoomsRefresh",
                                       "actWinSortCascade", "actWinSortArrange", "actWinSortTile", "actWinCloseAll"};
    return !others.contains(action);
}

// Opens every window the main window's commands open, one at a time, hands each to the check
// (with the command's name) and closes it again.
void forEachWindow(TFHotel &main, const std::function<void(const QString &, QWidget *)> &check)
{
    for (QAction *action : main.findChildren<QAction *>()) {
        const QString name = action->objectName();
        if (!name.startsWith("act") || !action->isEnabled() || !opensAWindow(name))
            continue;
        action->trigger();
        for (QMdiSubWindow *frame : main.MdiArea->subWindowList()) {
            if (frame->widget()) {
                check(name, frame->widget());
                frame->widget()->close();
            }
        }
        QTRY_VERIFY(main.MdiArea->subWindowList().isEmpty());
    }
}

// Every text a person reads in a window: captions, titles, tabs, list and grid headers, menu
// items and tooltips, each with the name of what shows it.
QStringList readableTexts(QWidget *window)
{
    QStringList texts;
    auto add = [&texts](const QObject *owner, const QString &text) {
        if (!text.trimmed().isEmpty())
            texts.append(owner->objectName() + ": " + text);
    };
    add(window, window->windowTitle());
    for (QLabel *label : window->findChildren<QLabel *>())
        add(label, label->text());
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        add(button, button->text());
        add(button, button->toolTip());
    }
    for (QGroupBox *box : window->findChildren<QGroupBox *>())
        add(box, box->title());
    for (QTabWidget *tabs : window->findChildren<QTabWidget *>())
        for (int i = 0; i < tabs->count(); ++i)
            add(tabs, tabs->tabText(i));
    for (QAction *action : window->findChildren<QAction *>()) {
        add(action, action->text());
        add(action, action->toolTip());
        add(action, action->statusTip());
    }
    for (QAbstractItemView *view : window->findChildren<QAbstractItemView *>())
        if (view->model())
            for (int column = 0; column < view->model()->columnCount(); ++column)
                add(view, view->model()->headerData(column, Qt::Horizontal).toString());
    return texts;
}

QStringList withCyrillic(const QStringList &texts)
{
    static const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
    QStringList found;
    for (const QString &text : texts)
        if (text.section(": ", 1).contains(cyrillic) &&
            !QStringList({"Български", "Русский"}).contains(text.section(": ", 1)))  // each language by its own name
            found.append(text);
    return found;
}

// The captions a window cuts short: a label, button or group box whose text needs more room
// than it has, as laid out on the screen.
QStringList clippedCaptions(QWidget *window)
{
    QStringList clipped;
    auto check = [&clipped](const QWidget *widget, const QString &text, int needed) {
        if (widget->isVisible() && !text.trimmed().isEmpty() && needed > widget->width())
            clipped.append(QStringLiteral("%1 \"%2\" needs %3, has %4")
                               .arg(widget->objectName(), text).arg(needed).arg(widget->width()));
    };
    for (QLabel *label : window->findChildren<QLabel *>())
        if (!label->wordWrap() && label->pixmap().isNull())
            check(label, label->text(), label->minimumSizeHint().width());
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        auto *tool = qobject_cast<QToolButton *>(button);
        if (tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly)
            continue;
        if (qobject_cast<QRadioButton *>(button) || qobject_cast<QCheckBox *>(button)) {
            check(button, button->text(), button->sizeHint().width());
        } else if (!button->text().isEmpty()) {
            const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
            check(button, button->text(),
                  button->fontMetrics().horizontalAdvance(QString(button->text()).remove('&')) + icon + 6);
        }
    }
    for (QGroupBox *box : window->findChildren<QGroupBox *>())
        check(box, box->title(), box->fontMetrics().horizontalAdvance(box->title()) + 16);
    return clipped;
}

} // namespace

class TestLanguages : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;

    QString userSettings() { return m_db->Home().DataFolderPath() + "Settings.ini"; }
    void useDelivered(const QString &name)
    {
        QFile::remove(userSettings());
        QVERIFY(QFile::copy(delivered(name), userSettings()));
        QFile::setPermissions(userSettings(), QFile::ReadOwner | QFile::WriteOwner);
    }

private slots:
    void initTestCase() { FillCatalogue(slBulgarian); }
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        // The delivered files of the build, as the program finds them beside itself.
        TSystemWinOS::SetProgramFolder(TestHome::BuildBinFolder());
        m_db->Exec("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'Морски')");
        m_db->Exec("INSERT INTO Rooms (q44, q46, q1, q42, q81, q82, q83, q84) VALUES ('101', 60, 1, 1, 60, 40, 10, 10)");
    }
    void cleanup() { m_db.reset(); }

    void deliveredFilesAgreeKeyForKey()
    {
        const TWideMemIniFile bulgarian(delivered("Settings.ini"));
        const QStringList keys = bulgarian.Keys(kSection);
        QVERIFY(keys.size() > 400);
        for (const auto &[name, language] : {std::pair{"Settings.ini", "slBulgarian"}, std::pair{"Settings.en.ini", "slEnglish"},
                                             std::pair{"Settings.ru.ini", "slRussian"}}) {
            const TWideMemIniFile file(delivered(name));
            QCOMPARE(file.Keys(kSection), keys);
            QCOMPARE(file.ReadString(kSection, "LANGUAGE", QString()), QString(language));
            for (const QString &key : keys)
                if (key != "mnuChangeOperator")
                    QVERIFY2(!file.ReadString(kSection, key, QString()).isEmpty(), qPrintable(name + (": " + key)));
        }
        // The translations are translations: the menus differ from the Bulgarian ones.
        QCOMPARE(TWideMemIniFile(delivered("Settings.en.ini")).ReadString(kSection, "mnuOperations", ""), QString("Operations"));
        QCOMPARE(TWideMemIniFile(delivered("Settings.ru.ini")).ReadString(kSection, "mnuOperations", ""), QString("Операции"));
        QCOMPARE(TWideMemIniFile(delivered("Settings.ru.ini")).ReadString(kSection, "mnuReports", ""), QString("Отчёты"));
    }

    // Qt's own buttons speak the language (Debian's Qt translations), and amounts are typed and
    // read as the language writes them.
    void qtTextsAndAmountsFollowTheLanguage()
    {
        struct TRestore {
            ~TRestore()
            {
                Languages::UseInQt(slEnglish);
                AmountStyle() = TAmountStyle();
                QLocale::setDefault(QLocale::c());
            }
        } restore;
        const auto yes = [] { return QCoreApplication::translate("QPlatformTheme", "&Yes"); };
        QVERIFY(Languages::UseInQt(slBulgarian));
        QCOMPARE(yes(), QString("&Да"));
        QCOMPARE(AmountText(TDecimal::FromText("1234.5")), QString("1\u00a0234,50"));
        QCOMPARE(AmountText(TDecimal::FromText("-20")), QString("-20,00"));
        QCOMPARE(AmountText(TDecimal::FromText("999.99")), QString("999,99"));
        for (const char *typed : {"100,50", "100.50", " 100,5 ", "100.5"})
            QCOMPARE(AmountFromText(QString::fromUtf8(typed)).ToFixed(2), QString("100.50"));
        QCOMPARE(AmountFromText("1 234,50").ToFixed(2), QString("1234.50"));
        QCOMPARE(AmountFromText("1.234,50").ToFixed(2), QString("1234.50"));
        QCOMPARE(AmountFromText(QString("1\u00a0234,50")).ToFixed(2), QString("1234.50"));
        QVERIFY_THROWS_EXCEPTION(Exception, AmountFromText("сто"));
        QVERIFY(Languages::UseInQt(slRussian));
        QVERIFY(yes() != QString("&Yes"));
        QCOMPARE(AmountText(TDecimal::FromText("1234567.891")), QString("1\u00a0234\u00a0567,89"));
        QVERIFY(Languages::UseInQt(slEnglish));
        QCOMPARE(yes(), QString("&Yes"));
        QCOMPARE(AmountText(TDecimal::FromText("1234.5")), QString("1,234.50"));
        QCOMPARE(AmountFromText("1,234.50").ToFixed(2), QString("1234.50"));
        QCOMPARE(AmountFromText("100.50").ToFixed(2), QString("100.50"));
        // One date format everywhere, the main window's filter included, whatever the system's locale.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        TFHotel main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        QCOMPARE(main.dtpMainPeriodFilter->displayFormat(), FormatSettings().ShortDateFormat);
        QCOMPARE(NewDatePicker(&main, "probe", QDate(2026, 12, 10))->text(), QString("10.12.2026"));
    }

    void everyWindowOpensInEveryLanguage_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("operations");
        QTest::newRow("Bulgarian") << "Settings.ini" << "Операции";
        QTest::newRow("English") << "Settings.en.ini" << "Operations";
        QTest::newRow("Russian") << "Settings.ru.ini" << "Операции";
    }

    void everyWindowOpensInEveryLanguage()
    {
        QFETCH(QString, file);
        QFETCH(QString, operations);
        useDelivered(file);
        TFHotel main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.InitializeWindow();
        QCOMPARE(main.mmKALVCM->actions().at(2)->text().remove('&'), operations);  // after the operator's two
        // Every menu, the bar's own included, has an Alt letter per item and no letter twice.
        QList<QList<QAction *>> menus = {main.mmKALVCM->actions(), main.PopupMenu1Operacii->actions()};
        for (QAction *top : main.mmKALVCM->actions())
            if (top->menu())
                menus.append(top->menu()->actions());
        for (const QList<QAction *> &items : menus) {
            QSet<QChar> letters;
            for (QAction *item : items) {
                const QString text = item->text();
                const int at = text.indexOf('&');
                QVERIFY2(at >= 0 && at + 1 < text.size(), qPrintable(item->objectName() + ": " + text));
                QVERIFY2(!letters.contains(text.at(at + 1).toLower()), qPrintable(item->objectName() + ": " + text));
                letters.insert(text.at(at + 1).toLower());
            }
        }
        QCOMPARE(UnknownCaptions(&main), QStringList());
        int opened = 0;
        forEachWindow(main, [&opened](const QString &name, QWidget *window) {
            QVERIFY2(UnknownCaptions(window).isEmpty(), qPrintable(name + ": " + UnknownCaptions(window).join(", ")));
            ++opened;
        });
        QVERIFY2(opened >= 25, qPrintable(QString::number(opened)));
        TFUserLogin login;
        login.InitializeWindow();
        QCOMPARE(UnknownCaptions(&login), QStringList());
        TFAbout about;
        about.LoadFormCaption(&about);
        QCOMPARE(UnknownCaptions(&about), QStringList());
    }

    // The English program shows no Bulgarian (nor any Cyrillic) text in its windows, the
    // messages of the catalogue included.
    void englishWindowsShowNoCyrillic()
    {
        useDelivered("Settings.en.ini");
        ResetCatalogue();
        FillCatalogue(slEnglish);
        struct TBack {
            ~TBack()
            {
                ResetCatalogue();
                FillCatalogue(slBulgarian);
            }
        } back;
        TFHotel main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.InitializeWindow();
        QStringList found = withCyrillic(readableTexts(&main));
        forEachWindow(main, [&found](const QString &, QWidget *window) { found += withCyrillic(readableTexts(window)); });
        found.removeDuplicates();
        QVERIFY2(found.isEmpty(), qPrintable(found.join("\n")));
    }

    // At 1100 pixels wide, no window cuts a caption short, in any of the three languages.
    void noCaptionIsClipped_data() { everyWindowOpensInEveryLanguage_data(); }
    void noCaptionIsClipped()
    {
        QFETCH(QString, file);
        useDelivered(file);
        TFHotel main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.InitializeWindow();
        main.resize(1100, 720);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QStringList clipped = clippedCaptions(&main);
        forEachWindow(main, [&clipped](const QString &name, QWidget *window) {
            QTest::qWait(30);
            // Each page in turn, as the person opening it sees it.
            for (QTabWidget *tabs : window->findChildren<QTabWidget *>())
                for (int page = 0; page < tabs->count(); ++page) {
                    tabs->setCurrentIndex(page);
                    QTest::qWait(5);
                    for (const QString &cut : clippedCaptions(window))
                        clipped.append(name + ": " + cut);
                }
            for (const QString &cut : clippedCaptions(window))
                clipped.append(name + ": " + cut);
        });
        clipped.removeDuplicates();
        QVERIFY2(clipped.isEmpty(), qPrintable(QString::number(clipped.size()) + "\n" + clipped.join("\n")));
    }

    void personalisationChoosesTheLanguageForTheNextStart()
    {
        useDelivered("Settings.ini");
        {
            TWideMemIniFile layout(userSettings());
            layout.WriteInteger("atbReports", "Left", 321);
            layout.WriteString("MAIL", "Server", "smtp://mail.example.org:25");
        }
        auto window = std::make_unique<TFNastroiki>();
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->InitializeWindow();
        QCOMPARE(window->rgSettingsLanguage->ItemIndex(), 0);
        QCOMPARE(window->gbSettingsLanguage->title(), QString("Език"));
        window->rgSettingsLanguage->SetItemIndex(1);
        {
            MessageBoxRecorder boxes;
            window->acFNastroikiSave->trigger();
            QVERIFY(boxes.Texts().contains(msgLanguageNextStart));
        }
        const TWideMemIniFile saved(userSettings());
        QCOMPARE(saved.ReadString(kSection, "LANGUAGE", ""), QString("slEnglish"));
        QCOMPARE(saved.ReadString(kSection, "mnuOperations", ""), QString("Operations"));
        QCOMPARE(saved.ReadString(kSection, "FReportObshtOborot", ""), QString("Total turnover"));
        QCOMPARE(saved.ReadInteger("atbReports", "Left", 0), 321);
        QCOMPARE(saved.ReadString("MAIL", "Server", ""), QString("smtp://mail.example.org:25"));
        // The running program keeps its language until the next start.
        QCOMPARE(CurrentLanguage == slEnglish, false);
        // Saving again with the same language rewrites nothing and says nothing of languages.
        {
            MessageBoxRecorder boxes;
            const int writes = TWideMemIniFile::WriteCount();
            window->acFNastroikiSave->trigger();
            QCOMPARE(TWideMemIniFile::WriteCount(), writes);
            QVERIFY(!boxes.Texts().contains(msgLanguageNextStart));
        }
        // A new window finds the language chosen.
        TFNastroiki again;
        again.setAttribute(Qt::WA_DeleteOnClose, false);
        again.InitializeWindow();
        QCOMPARE(again.rgSettingsLanguage->ItemIndex(), 1);
        QCOMPARE(again.gbSettingsLanguage->title(), QString("Language"));
        again.rgSettingsLanguage->SetItemIndex(2);
        MessageBoxRecorder boxes;
        again.acFNastroikiSave->trigger();
        QCOMPARE(TWideMemIniFile(userSettings()).ReadString(kSection, "mnuReports", ""), QString("Отчёты"));
    }

    void userGuideInBulgarianAndEnglishWithItsPictures()
    {
        useDelivered("Settings.ini");
        TFHotel main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.InitializeWindow();
        QVERIFY(main.Action("actHelpGuide")->isEnabled());
        main.Action("actHelpGuide")->trigger();
        auto *guide = qobject_cast<TFGuide *>(main.MdiArea->activeSubWindow()->widget());
        QVERIFY(guide);
        QCOMPARE(guide->ShownLanguage(), QString("bg"));  // the catalogue of this process is Bulgarian
        QVERIFY(guide->tbGuide->toPlainText().contains("Резервация на стая"));
        for (const QString &section : {"demo", "Вход в системата", "Таблото на стаите", "Настаняване", "Номенклатури",
                                       "Справки", "PostgreSQL", "kalvhotel-admin backup"})
            QVERIFY2(guide->tbGuide->toPlainText().contains(section), qPrintable(section));
        // Every picture the page shows is there.
        auto pictures = [guide] {
            int found = 0;
            const QString html = guide->tbGuide->toHtml();
            QRegularExpression image("<img src=\"([^\"]+)\"");
            for (auto it = image.globalMatch(html); it.hasNext();) {
                const QString source = it.next().captured(1);
                const QVariant picture = guide->tbGuide->loadResource(QTextDocument::ImageResource, QUrl(source));
                const QImage image = picture.metaType().id() == QMetaType::QByteArray
                                         ? QImage::fromData(picture.toByteArray())
                                         : picture.value<QImage>();
                if (image.isNull())
                    return -1;
                ++found;
            }
            return found;
        };
        QVERIFY(pictures() >= 8);
        guide->acGuideLanguage->trigger();
        QCOMPARE(guide->ShownLanguage(), QString("en"));
        QVERIFY(guide->tbGuide->toPlainText().contains("Booking a room"));
        QVERIFY(pictures() >= 8);
        // A link of the contents goes to its section, and back returns.
        guide->tbGuide->setSource(QUrl(guide->tbGuide->source().toString() + "#backups"));
        QVERIFY(guide->acGuideBack->isEnabled());
        guide->acGuideHome->trigger();
        QCOMPARE(guide->ShownLanguage(), QString("en"));
        QCOMPARE(TFGuide::GuideLanguage(slRussian), QString("en"));
        QCOMPARE(UnknownCaptions(guide), QStringList());
    }

    void aNewUsersFirstFileFollowsTheSystem_data()
    {
        QTest::addColumn<QByteArray>("variable");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("file");
        QTest::newRow("English") << QByteArray("LANG") << QByteArray("en_GB.UTF-8") << "Settings.en.ini";
        QTest::newRow("Russian") << QByteArray("LC_ALL") << QByteArray("ru_RU.UTF-8") << "Settings.ru.ini";
        QTest::newRow("Bulgarian") << QByteArray("LANG") << QByteArray("bg_BG.UTF-8") << "Settings.ini";
        QTest::newRow("another language") << QByteArray("LANG") << QByteArray("de_DE.UTF-8") << "Settings.ini";
        QTest::newRow("no language") << QByteArray("LC_ALL") << QByteArray("C.UTF-8") << "Settings.ini";
    }

    void aNewUsersFirstFileFollowsTheSystem()
    {
        QFETCH(QByteArray, variable);
        QFETCH(QByteArray, value);
        QFETCH(QString, file);
        const QByteArray saved[] = {qgetenv("LC_ALL"), qgetenv("LC_MESSAGES"), qgetenv("LANG"), qgetenv("LANGUAGE")};
        for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"})
            qunsetenv(name);
        qputenv(variable.constData(), value);
        QTemporaryDir folder;
        KalvCM::DeliverDefaultFiles(folder.path() + "/");
        int i = 0;
        for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"})
            qputenv(name, saved[i++]);
        QFile copy(folder.filePath("Settings.ini")), source(delivered(file));
        QVERIFY(copy.open(QIODevice::ReadOnly) && source.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), source.readAll());
    }
};

KALV_TEST_MAIN(TestLanguages)
#include "tst_languages.moc"
