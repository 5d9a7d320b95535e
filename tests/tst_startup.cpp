// Start-up: the message catalogue, the language choice, the regional formats, the
// operating-system services and the bootstrap run in a process of its own.

#include "TestHarness.h"
#include "framework/UFormatSettings.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/USystemWinOS.h"
#include "data/URegistry.h"
#include "data/UDLLSafeCall.h"
#include "errors/UErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTimer>
#include <QtTest>

namespace {

const TCatalogueEntry &entry(const char *name)
{
    for (const TCatalogueEntry &e : CatalogueEntries())
        if (qstrcmp(e.Name, name) == 0)
            return e;
    throw std::runtime_error(std::string("no catalogue entry ") + name);
}

QString text(const char *name, TLanguage language) { return CatalogueText(entry(name), language); }

struct ProbeResult {
    QMap<QString, QString> Values;
    QStringList Boxes;
    QStringList ErrorLogs;
};

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

    ProbeResult runProbe(const TestHome &home, const QStringList &args = {},
                         const QString &libraries = QString())
    {
        QProcess probe;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home.Root());
        env.insert("XDG_CONFIG_HOME", home.ConfigFolder());
        env.insert("XDG_DATA_HOME", home.Root() + "share");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("KALV_PROBE_LIBRARIES", libraries);
        // A fresh account's captions follow the system's language: here none of the three.
        env.insert("LC_ALL", "C");
        env.remove("LANGUAGE");
        probe.setProcessEnvironment(env);
        probe.start(TestHome::BuildBinFolder() + "kalv_bootstrap_probe", args);
        if (!probe.waitForFinished(30000) || probe.exitCode() != 0)
            throw std::runtime_error("bootstrap probe failed: " + probe.readAllStandardError().toStdString());
        ProbeResult result;
        for (const QString &line : QString::fromUtf8(probe.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
            const int eq = int(line.indexOf('='));
            QString value = line.mid(eq + 1);
            value.replace("\\r", "\r").replace("\\n", "\n").replace("\\\\", "\\");
            const QString name = line.left(eq);
            if (name == "box")
                result.Boxes.append(value);
            else if (name == "errorlog")
                result.ErrorLogs.append(value);
            else
                result.Values.insert(name, value);
        }
        return result;
    }

    static QString dataFolderOf(const TestHome &home) { return home.Root() + "share/KALV/Hotel/"; }

    static void writeUserSettings(const TestHome &home, const QByteArray &bytes)
    {
        QDir().mkpath(dataFolderOf(home));
        QFile file(dataFolderOf(home) + "Settings.ini");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private slots:
    void catalogueHasEveryEntryInEveryLanguage()
    {
        QCOMPARE(int(CatalogueEntries().size()), 97);
        QSet<QString> names;
        for (const TCatalogueEntry &e : CatalogueEntries()) {
            names.insert(e.Name);
            for (TLanguage language : {slEnglish, slBulgarian, slRussian})
                QVERIFY2(!CatalogueText(e, language).isEmpty(), e.Name);
            QVERIFY(CatalogueText(e, slUnknow).isEmpty());
        }
        QCOMPARE(names.size(), 97);
    }

    void catalogueKeepsDelicateTexts()
    {
        QCOMPARE(text("msgMainWindowTitle", slEnglish), QString("KALV Hotel 0.1"));  // one product name
        QCOMPARE(text("msgMainWindowTitle", slBulgarian), QString("КАЛВ Хотел 0.1"));
        QCOMPARE(text("msgMainWindowTitle", slRussian), QString("КАЛВ Хотел 0.1"));  // a point, as versions are written
        QCOMPARE(text("msgOperationSucceeded", slEnglish), QString("Successfully  operation"));
        QCOMPARE(text("msgMissingOrWrongData", slBulgarian),
                 QString(" Липсват данни или гршно попълнени данни. Моля попълнете правилни стойности"));
        QCOMPARE(text("msgInformationTitle", slRussian), QString("КАЛВ Хотел: информация"));
        QCOMPARE(text("msgBugsReportTitle", slRussian), QString("КАЛВ Хотел: отчёт об ошибке"));
        QCOMPARE(text("msgInitializingTable", slEnglish), QString("Initializing table "));
        QCOMPARE(text("msgBaseLabel", slBulgarian), QString("База: "));
        QCOMPARE(text("colTotalSum", slBulgarian), QString("Oбщата сума "));
        QCOMPARE(text("colVipApartments", slRussian), QString("лиц записей"));
        for (TLanguage language : {slEnglish, slBulgarian, slRussian})
            QCOMPARE(text("msgColon", language), QString(":"));
        // Entries with the same text stay separate entries.
        QVERIFY(&entry("msgSuccessfulOperation") != &entry("msgProcedureInstalled"));
        QCOMPARE(text("msgSuccessfulOperation", slBulgarian), text("msgProcedureInstalled", slBulgarian));
    }

    void languageIsChosenByExactName()
    {
        QCOMPARE(LanguageFromText("slEnglish"), slEnglish);
        QCOMPARE(LanguageFromText("slBulgarian"), slBulgarian);
        QCOMPARE(LanguageFromText("slRussian"), slRussian);
        QCOMPARE(LanguageFromText("slUnknow"), slUnknow);
        QCOMPARE(LanguageFromText("SLENGLISH"), slUnknow);
        QCOMPARE(LanguageFromText("slenglish"), slUnknow);
        QCOMPARE(LanguageFromText(" slEnglish"), slUnknow);
        QCOMPARE(LanguageFromText("English"), slUnknow);
        QCOMPARE(int(slUnknow), 0);
        QCOMPARE(int(slBulgarian), 1);
        QCOMPARE(int(slEnglish), 2);
        QCOMPARE(int(slRussian), 3);
    }

    void catalogueIsFilledOnceOnly()
    {
        QVERIFY(msgWrongUserPassword.isEmpty());
        FillCatalogue(slRussian);
        QCOMPARE(msgWrongUserPassword, QString("Неправильный пользователь / пароль "));
        FillCatalogue(slEnglish);
        QCOMPARE(msgWrongUserPassword, QString("Неправильный пользователь / пароль "));
    }

    void regionalFormatsConvertDatesTimesAndNumbers()
    {
        ApplyFixedRegionalFormats();
        const TFormatSettings &f = FormatSettings();
        QCOMPARE(f.ShortDateFormat, QString("dd.MM.yyyy"));
        QCOMPARE(f.LongDateFormat, QString("dd.MM.yyyy.zzz"));
        QCOMPARE(f.LongTimeFormat, QString("HH:mm:ss"));
        QCOMPARE(f.ShortTimeFormat, QString("HH:mm:ss"));
        QCOMPARE(f.DecimalSeparator, QChar('.'));
        QCOMPARE(f.ThousandSeparator, QChar(0));
        QCOMPARE(f.ListSeparator, QChar(';'));
        QCOMPARE(f.CurrencyDecimals, 2);
        QCOMPARE(DateToStr(QDate(2007, 11, 22)), QString("22.11.2007"));
        QCOMPARE(TimeToStr(QTime(8, 5, 3)), QString("08:05:03"));
        QCOMPARE(FloatToStr(1234567.5), QString("1234567.5"));
        QDate d;
        QVERIFY(TryStrToDate("1.2.2007", d));
        QCOMPARE(d, QDate(2007, 2, 1));
        QVERIFY(TryStrToDate(" 29.02.2008 ", d));
        QVERIFY(!TryStrToDate("29.02.2007", d));
        QVERIFY(!TryStrToDate("2007-02-01", d));
        QVERIFY(!TryStrToDate("01/02/2007", d));
        QVERIFY(!TryStrToDate("", d));
        QTime t;
        QVERIFY(TryStrToTime("8:05", t));
        QCOMPARE(t, QTime(8, 5));
        QVERIFY(TryStrToTime("08:05:00 PM", t));
        QCOMPARE(t, QTime(20, 5));
        QVERIFY(!TryStrToTime("25:00:00", t));
        QVERIFY(!TryStrToTime("12.30", t));
        QDateTime dt;
        QVERIFY(TryStrToDateTime("22.11.2007 14:30:00", dt));
        QCOMPARE(dt, QDateTime(QDate(2007, 11, 22), QTime(14, 30)));
        double v = 0;
        QVERIFY(TryStrToFloat("-12.5", v));
        QCOMPARE(v, -12.5);
        QVERIFY(!TryStrToFloat("12,5", v));
        QVERIFY(!TryStrToFloat("1.2.3", v));
        QVERIFY(!TryStrToFloat("1 000", v));
        QVERIFY_THROWS_EXCEPTION(Exception, StrToFloat("abc"));
        // The system's locale plays no part, whatever it says.
        QLocale::setDefault(QLocale(QLocale::German));
        QCOMPARE(FloatToStr(0.25), QString("0.25"));
        QVERIFY(TryStrToFloat("0.25", v));
        QLocale::setDefault(QLocale::c());
    }

    void operatingSystemServices()
    {
        TSystemWinOS os;
        QCOMPARE(int(os.OSType), 0);
        os.DetectOSType();
        QCOMPARE(int(os.OSType), 0);  // not Windows
        QString version;
        os.GetFileVersionText(version);
        QVERIFY(QRegularExpression("^\\d+\\.\\d+\\.\\d+\\.\\d+$").match(version).hasMatch());
        QString appData = "unchanged";
        os.GetAppDataFolder(appData);
        QVERIFY(!appData.endsWith('/'));
        QVERIFY(!appData.isEmpty());
        QString machine, user, address;
        os.GetMachineName(machine);
        QVERIFY(!machine.isEmpty() && machine.size() <= 128);
        os.GetLoginUserName(user);
        QVERIFY(!user.isEmpty());
        os.GetLocalIPAddress(address);
        QVERIFY2(address.isEmpty() || QRegularExpression("^\\d+\\.\\d+\\.\\d+\\.\\d+$").match(address).hasMatch(),
                 qPrintable(address));
    }

    void messageBoxSeamRecordsAndAnswers()
    {
        MessageBoxRecorder boxes;
        boxes.Answer(TSystemWinOS::IDNO);
        QCOMPARE(TSystemWinOS::ShowMessageBox("Question?", "Title", 36), 7);
        QCOMPARE(TSystemWinOS::ShowMessageBox("Done", "Info", 64), 1);
        QCOMPARE(boxes.Boxes().size(), 2);
        QCOMPARE(boxes.Boxes()[0].Text, QString("Question?"));
        QCOMPARE(boxes.Boxes()[0].Title, QString("Title"));
        QCOMPARE(boxes.Boxes()[0].Flags, 36);
    }

    void realMessageBoxGivesThePressedButton()
    {
        TSystemWinOS::SetMessageBoxHandler({});
        auto pressLater = [](QMessageBox::StandardButton which) {
            QTimer::singleShot(50, [which] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                QVERIFY(box);
                box->button(which)->click();
            });
        };
        pressLater(QMessageBox::Yes);
        QCOMPARE(TSystemWinOS::ShowMessageBox("Save?", "Question", 36), 6);
        pressLater(QMessageBox::No);
        QCOMPARE(TSystemWinOS::ShowMessageBox("Save?", "Question", 36), 7);
        QTimer::singleShot(50, [] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            QCOMPARE(box->icon(), QMessageBox::Warning);
            QCOMPARE(box->windowTitle(), QString("Careful"));
            box->button(QMessageBox::Ok)->click();
        });
        QCOMPARE(TSystemWinOS::ShowMessageBox("Look", "Careful", 48), 1);
    }

    void bootstrapOnFreshAccountCreatesDataFolderWithDeliveredFiles()
    {
        TestHome home;
        const ProbeResult first = runProbe(home);
        const QString folder = dataFolderOf(home);
        QCOMPARE(first.Values["DataFolder"], folder);
        QVERIFY(QFileInfo(home.Root() + "share/KALV").isDir());
        QVERIFY(QFileInfo::exists(folder + "Settings.ini"));
        QVERIFY(QFileInfo::exists(folder + "Icons/bed_live_today.bmp"));
        QVERIFY(QFileInfo::exists(folder + "Icons/bed_reserve.bmp"));
        QCOMPARE(first.Values["CurrentLanguage"], QString::number(slBulgarian));
        QCOMPARE(first.Values["msgMainWindowTitle"], QString("КАЛВ Хотел 0.1"));
        QCOMPARE(first.Values["Terminate"], QString("0"));
        QCOMPARE(first.Values["Version"], QString("0.1.0.0"));
        QVERIFY(first.Boxes.isEmpty());
        QVERIFY(first.ErrorLogs.isEmpty());
        // What the program makes is its owner's alone: the folders 0700, the files 0600.
        for (const QString &made : {home.Root() + "share/KALV", folder, folder + "Settings.ini", folder + "Icons",
                                    folder + "Icons/bed_reserve.bmp"})
            QVERIFY2((QFileInfo(made).permissions() & 0x0077) == 0, qPrintable(made));

        // A second start finds everything and changes nothing, the user's own edits included.
        writeUserSettings(home, "[LANG]\r\nLANGUAGE=slEnglish\r\n");
        QFile::remove(folder + "Icons/bed_reserve.bmp");
        const ProbeResult second = runProbe(home);
        QCOMPARE(second.Values["msgMainWindowTitle"], QString("KALV Hotel 0.1"));
        QVERIFY(!QFileInfo::exists(folder + "Icons/bed_reserve.bmp"));
        QFile settings(folder + "Settings.ini");
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QCOMPARE(settings.readAll(), QByteArray("[LANG]\r\nLANGUAGE=slEnglish\r\n"));
    }

    void bootstrapLanguageComparisonIsExact()
    {
        TestHome home;
        writeUserSettings(home, "[lang]\r\nlanguage=slRussian\r\n");
        QCOMPARE(runProbe(home).Values["msgMainWindowTitle"], QString("КАЛВ Хотел 0.1"));
        writeUserSettings(home, "[LANG]\r\nLANGUAGE=SLENGLISH\r\n");
        ProbeResult result = runProbe(home);
        QCOMPARE(result.Values["CurrentLanguage"], QString("0"));
        QCOMPARE(result.Values["msgMainWindowTitle"], QString());
        QCOMPARE(result.Values["msgWrongUserPassword"], QString());
        writeUserSettings(home, "[OTHER]\r\nX=1\r\n");
        QCOMPARE(runProbe(home).Values["CurrentLanguage"], QString("0"));
    }

    void bootstrapCopiesTheFourConnectionSettings()
    {
        TestHome home;
        {
            TRegistry registry;
            QVERIFY(registry.OpenKey(SqlSettings::Key, true));
            registry.WriteString(SqlSettings::ComputerName, "db-host");
            registry.WriteString(SqlSettings::Instance, "SQLEXPRESS");
            registry.WriteString(SqlSettings::User, "sa");
            registry.WriteString(SqlSettings::DataBase, "Hotel");
            TDLLSafeCall dll;
            QVERIFY(dll.LoadFunction(2, "HashingKey"));
            registry.WriteString(SqlSettings::Password, dll.EncryptText("secret"));
        }
        const ProbeResult result = runProbe(home);
        QCOMPARE(result.Values["SqlComputerName"], QString("db-host"));
        QCOMPARE(result.Values["SqlInstance"], QString("SQLEXPRESS"));
        QCOMPARE(result.Values["SqlUser"], QString("sa"));
        QCOMPARE(result.Values["SqlDataBase"], QString("Hotel"));
        QCOMPARE(result.Values["Terminate"], QString("0"));
    }

    void bootstrapWithoutPasswordLibraryEndsTheProgram()
    {
        TestHome home;
        const QString empty = home.Root() + "nolibs/";
        QDir().mkpath(empty);
        const ProbeResult result = runProbe(home, {"loop"}, empty);
        QCOMPARE(result.Values["Terminate"], QString("1"));
        // The catalogue is still filled: the request ends the program later, not the bootstrap.
        QCOMPARE(result.Values["msgMainWindowTitle"], QString("КАЛВ Хотел 0.1"));
        QCOMPARE(result.Values["loopQuick"], QString("1"));
        QVERIFY(!result.Values.contains("loop"));
    }

    void terminateRequestAfterTheLoopStartsEndsIt()
    {
        TestHome home;
        const ProbeResult result = runProbe(home, {"loop", "late"});
        QCOMPARE(result.Values["Terminate"], QString("0"));
        QCOMPARE(result.Values["loopQuick"], QString("1"));
        QCOMPARE(result.Values["loopCode"], QString("0"));
    }

    void bootstrapStopsAtAnErrorAndShowsItInTheErrorLog()
    {
        TestHome home;
        {
            TRegistry registry;
            QVERIFY(registry.OpenKey(SqlSettings::Key, true));
            registry.WriteString(SqlSettings::ComputerName, "db-host");
            registry.WriteInteger(SqlSettings::Instance, 5);  // a value of the wrong type
        }
        const ProbeResult result = runProbe(home);
        QCOMPARE(result.ErrorLogs.size(), 1);
        QVERIFY(result.ErrorLogs[0].contains("SQL Inctance"));
        QCOMPARE(result.Values["SqlComputerName"], QString("db-host"));
        QCOMPARE(result.Values["msgMainWindowTitle"], QString());  // B8 and B9 never ran
    }

    void bootstrapReportsADataFolderThatCannotBeMade()
    {
        TestHome home;
        QDir().mkpath(home.Root() + "share");
        QFile blocker(home.Root() + "share/KALV");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const ProbeResult result = runProbe(home);
        QCOMPARE(result.Boxes.size(), 1);
        QCOMPARE(result.Boxes[0], "48|Окстарне HOTEL - грешка|Грешка при създаване на директория:" + dataFolderOf(home));
        QCOMPARE(result.Values["Terminate"], QString("1"));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
