// Settings.ini reader and writer.

#include "TestHarness.h"
#include "errors/UErrors.h"
#include "framework/UWideIniFile.h"

#include <QFile>
#include <QDir>
#include <QtTest>

class TestSettingsFile : public QObject
{
    Q_OBJECT

    QString m_file;
    std::unique_ptr<TestHome> m_home;

    void write(const QByteArray &bytes)
    {
        QFile f(m_file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read() const
    {
        QFile f(m_file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void init()
    {
        m_home = std::make_unique<TestHome>();
        m_file = m_home->DataFolderPath() + "Settings.ini";
    }
    void cleanup() { m_home.reset(); }

    void missingFileReadsEmpty()
    {
        TWideMemIniFile ini(m_file);
        QCOMPARE(ini.ReadString("LANG", "LANGUAGE", "slUnknow"), QString("slUnknow"));
        QCOMPARE(ini.ReadInteger("PanelMenu1", "Left", 7), 7);
        QVERIFY(!ini.SectionExists("LANG"));
    }

    void markIsOptionalAndLinesAreTrimmed()
    {
        const QByteArray body = "  [ LANG ]  \r\n  Left = 5 \r\nFCaption=Заглавие\r\n";
        write("\xEF\xBB\xBF" + body);
        TWideMemIniFile withMark(m_file);
        write(body);
        TWideMemIniFile without(m_file);
        for (TWideMemIniFile *ini : {&withMark, &without}) {
            QCOMPARE(ini->ReadString("LANG", "Left", "?"), QString("5"));
            QCOMPARE(ini->ReadString("LANG", "FCaption", "?"), QString("Заглавие"));
        }
    }

    void commentsEntriesBeforeSectionsAndLinesWithoutEqualsAreIgnored()
    {
        write("Orphan=1\r\n; comment=2\r\n[A]\r\n;Hidden=3\r\nNoEquals\r\n\r\nKey=4\n[B]\nKey=5\n");
        TWideMemIniFile ini(m_file);
        QCOMPARE(ini.ReadString("A", "Orphan", "-"), QString("-"));
        QCOMPARE(ini.ReadString("A", "Hidden", "-"), QString("-"));
        QCOMPARE(ini.ReadString("A", ";Hidden", "-"), QString("-"));
        QCOMPARE(ini.ReadString("A", "NoEquals", "-"), QString("-"));
        QCOMPARE(ini.ReadString("A", "Key", "-"), QString("4"));
        QCOMPARE(ini.ReadString("B", "Key", "-"), QString("5"));  // bare line feeds end lines too
    }

    void valueIsEverythingAfterTheFirstEquals()
    {
        write("[LANG]\r\nlLabel = a = b == c\r\nEmpty=\r\n");
        TWideMemIniFile ini(m_file);
        QCOMPARE(ini.ReadString("LANG", "lLabel", "?"), QString("a = b == c"));
        QCOMPARE(ini.ReadString("LANG", "Empty", "?"), QString());
    }

    void sectionsAndKeysIgnoreCaseAndTheFirstEntryWins()
    {
        write("[lang]\r\nlanguage=slEnglish\r\nLANGUAGE=slRussian\r\nИме=първо\r\n[LANG]\r\nLanguage=slBulgarian\r\n");
        TWideMemIniFile ini(m_file);
        QCOMPARE(ini.ReadString("LANG", "LANGUAGE", "?"), QString("slEnglish"));
        QCOMPARE(ini.ReadString("Lang", "ИМЕ", "?"), QString("първо"));
    }

    void otherEncodingsLongLinesAndNoSectionsNeverCrash()
    {
        QByteArray latin1 = "[LANG]\r\nCaption=\xE4\xF6\xFC\xFF\xFE\r\n";  // not UTF-8
        write(latin1);
        TWideMemIniFile a(m_file);
        QVERIFY(!a.ReadString("LANG", "Caption", QString()).isEmpty());
        QByteArray utf16 = QByteArray("\xFF\xFE") + QByteArray("[\0L\0]\0\r\0\n\0", 12);
        write(utf16);
        TWideMemIniFile b(m_file);
        QCOMPARE(b.ReadString("L", "x", "d"), QString("d"));
        const QByteArray longValue(200000, 'x');
        write("[S]\r\nK=" + longValue + "\r\n");
        TWideMemIniFile c(m_file);
        QCOMPARE(c.ReadString("S", "K", QString()).size(), longValue.size());
        write("Key=1\r\nOther=2\r\n");
        TWideMemIniFile d(m_file);
        QCOMPARE(d.ReadString("", "Key", "none"), QString("none"));
    }

    void readIntegerAcceptsDecimalAndHexadecimal()
    {
        write("[P]\r\nA=42\r\nB=-7\r\nC=0x1F\r\nD=0X10\r\nE=0x\r\nF=12abc\r\nG=\r\nH=99999999999\r\nI=0xFFFFFFFF\r\n");
        TWideMemIniFile ini(m_file);
        QCOMPARE(ini.ReadInteger("P", "A", 0), 42);
        QCOMPARE(ini.ReadInteger("P", "B", 0), -7);
        QCOMPARE(ini.ReadInteger("P", "C", 0), 31);
        QCOMPARE(ini.ReadInteger("P", "D", 0), 16);
        QCOMPARE(ini.ReadInteger("P", "E", 3), 3);
        QCOMPARE(ini.ReadInteger("P", "F", 3), 3);
        QCOMPARE(ini.ReadInteger("P", "G", 3), 3);
        QCOMPARE(ini.ReadInteger("P", "H", 3), 3);
        QCOMPARE(ini.ReadInteger("P", "I", 3), -1);
        QCOMPARE(ini.ReadInteger("P", "Missing", 3), 3);
    }

    void writeRegeneratesTheWholeFileAndDropsComments()
    {
        write("; delivered file\r\n[LANG]\r\nLANGUAGE=slBulgarian\r\n; caption notes\r\nFHotel=Хотел\r\n"
              "[PanelMenu1]\r\nLeft=1\r\nleft=2\r\n");
        TWideMemIniFile ini(m_file);
        ini.WriteInteger("panelmenu1", "LEFT", 15);
        ini.WriteInteger("atbMenu", "Width", 120);
        QCOMPARE(read(), QByteArray("\xEF\xBB\xBF[LANG]\r\nLANGUAGE=slBulgarian\r\nFHotel=Хотел\r\n\r\n"
                                    "[PanelMenu1]\r\nLeft=15\r\nleft=2\r\n\r\n"
                                    "[atbMenu]\r\nWidth=120\r\n\r\n"));
        // A round trip reads back what was written.
        TWideMemIniFile again(m_file);
        QCOMPARE(again.ReadInteger("PanelMenu1", "Left", 0), 15);
        QCOMPARE(again.ReadInteger("atbMenu", "Width", 0), 120);
        QCOMPARE(again.ReadString("LANG", "FHotel", "?"), QString("Хотел"));
    }

    void failedWriteRaisesAndKeepsTheFile()
    {
        write("[A]\r\nK=1\r\n");
        TWideMemIniFile ini(m_file);
        // A folder in the file's place cannot be replaced by a file.
        TWideMemIniFile blocked(m_home->DataFolderPath());
        QVERIFY_THROWS_EXCEPTION(EIniFileException, blocked.WriteInteger("A", "K", 2));
        QCOMPARE(blocked.ReadInteger("A", "K", 0), 0);
        QCOMPARE(read(), QByteArray("[A]\r\nK=1\r\n"));
        // Writes gathered into one that failed are undone too: none reaches the file with the next write.
        ini.BeginUpdate();
        ini.WriteInteger("A", "K", 3);
        ini.WriteString("B", "New", "x");
        QVERIFY(QFile::remove(m_file));
        QVERIFY(QDir().mkdir(m_file));  // a folder in its place for the moment of the write
        QVERIFY_THROWS_EXCEPTION(EIniFileException, ini.EndUpdate());
        QVERIFY(QDir().rmdir(m_file));
        write("[A]\r\nK=1\r\n");
        QCOMPARE(ini.ReadInteger("A", "K", 0), 1);
        QVERIFY(!ini.ValueExists("B", "New"));
        ini.WriteInteger("A", "L", 4);
        QCOMPARE(read(), QByteArray("\xEF\xBB\xBF[A]\r\nK=1\r\nL=4\r\n\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
