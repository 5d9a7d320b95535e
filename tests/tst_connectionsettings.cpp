// The registry store of the connection settings, the run-time library loader and the
// password protection library.

#include "TestHarness.h"
#include "data/UDLLSafeCall.h"
#include "data/URegistry.h"
#include "errors/UErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QtTest>

class TestConnectionSettings : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestHome> m_home;

    QString keyFile() const { return m_home->ConfigFolder() + "Oxtarne/HashingKey.key"; }

    static QString protect(const QString &password)
    {
        TDLLSafeCall dll;
        if (!dll.LoadFunction(2, "HashingKey"))
            throw std::runtime_error("no encrypt");
        const QString stored = dll.EncryptText(password);
        dll.Unload();
        return stored;
    }
    static QString reveal(const QString &stored)
    {
        TDLLSafeCall dll;
        if (!dll.LoadFunction(1, "HashingKey"))
            throw std::runtime_error("no decrypt");
        return dll.DecryptText(stored);
    }

private slots:
    void init() { m_home = std::make_unique<TestHome>(); }
    void cleanup() { m_home.reset(); }

    void freshAccountReadsEveryValueEmpty()
    {
        TRegistry registry;
        QVERIFY(registry.OpenKey(SqlSettings::Key, true));
        for (const QString &name : {SqlSettings::Provider, SqlSettings::ComputerName, SqlSettings::Instance,
                                    SqlSettings::Aliase, SqlSettings::User, SqlSettings::Password,
                                    SqlSettings::DataBase})
            QCOMPARE(registry.ReadString(name), QString());
        QVERIFY(!registry.ValueExists(SqlSettings::IsDynamicPort));
        QVERIFY_THROWS_EXCEPTION(ERegistryException, registry.ReadInteger(SqlSettings::IsDynamicPort));
        // The empty stored password passes through decryption as the empty text.
        QCOMPARE(reveal(registry.ReadString(SqlSettings::Password)), QString());
    }

    void valueNamesAreSpelledAsStored()
    {
        QCOMPARE(SqlSettings::Key, QString("\\Software\\Oxtarne\\SQL Settings"));
        QCOMPARE(SqlSettings::Instance, QString("SQL Inctance"));
        QCOMPARE(SqlSettings::Aliase, QString("SQL Aliase"));
        QCOMPARE(SqlSettings::User, QString("sa User"));
        QCOMPARE(SqlSettings::Password, QString("sa Password"));
        QCOMPARE(SqlSettings::ComputerName, QString("Computer Name"));
        QCOMPARE(SqlSettings::DataBase, QString("DataBase"));
        {
            TRegistry registry;
            QVERIFY(registry.OpenKey(SqlSettings::Key, true));
            registry.WriteString(SqlSettings::ComputerName, "server-1");
            registry.WriteInteger(SqlSettings::TimeoutConnection, 30);
        }
        // The key is the organisation's application "SQL Settings" of the native store.
        QSettings raw(QSettings::NativeFormat, QSettings::UserScope, "Oxtarne", "SQL Settings");
        QCOMPARE(raw.value("Computer Name").toString(), QString("server-1"));
        QVERIFY(raw.contains("TimeoutConnection"));
    }

    void textsAndIntegersKeepTheirTypes()
    {
        {
            TRegistry registry;
            QVERIFY(registry.OpenKey(SqlSettings::Key, true));
            registry.WriteString(SqlSettings::Protocol, "TCP/IP");
            registry.WriteString(SqlSettings::Port, "dword:00000001");  // a text that looks typed
            registry.WriteInteger(SqlSettings::TimeoutCommand, 30);
            registry.WriteInteger(SqlSettings::IsDynamicPort, -1);
        }
        TRegistry registry;
        QVERIFY(registry.OpenKey(SqlSettings::Key, false));
        QCOMPARE(registry.ReadString(SqlSettings::Protocol), QString("TCP/IP"));
        QCOMPARE(registry.ReadString(SqlSettings::Port), QString("dword:00000001"));
        QCOMPARE(registry.ReadInteger(SqlSettings::TimeoutCommand), 30);
        QCOMPARE(registry.ReadInteger(SqlSettings::IsDynamicPort), -1);
        QVERIFY_THROWS_EXCEPTION(ERegistryException, registry.ReadString(SqlSettings::TimeoutCommand));
        QVERIFY_THROWS_EXCEPTION(ERegistryException, registry.ReadInteger(SqlSettings::Protocol));
        QVERIFY_THROWS_EXCEPTION(ERegistryException, registry.ReadInteger(SqlSettings::Port));
        QVERIFY(registry.DeleteValue(SqlSettings::Protocol));
        QCOMPARE(registry.ReadString(SqlSettings::Protocol), QString());
    }

    void keysAreSeparateAndGroupsNestInside()
    {
        TRegistry a;
        QVERIFY(a.OpenKey("Software\\Oxtarne\\DlgPossions\\FNomHotels", true));
        a.WriteString("Left", "10");
        TRegistry b;
        QVERIFY(b.OpenKey("Software\\Oxtarne\\DlgPossions\\FNomStai", true));
        QCOMPARE(b.ReadString("Left"), QString());
        TRegistry c;
        QVERIFY(!c.OpenKey("Oxtarne", true));
        QVERIFY_THROWS_EXCEPTION(ERegistryException, c.ReadString("Left"));
    }

    void loaderFindsEachExportByKind()
    {
        TDLLSafeCall dll;
        QVERIFY(dll.LoadFunction(1, "HashingKey"));
        QVERIFY(dll.LoadFunction(2, "HashingKey"));
        QVERIFY(!dll.LoadFunction(3, "HashingKey"));  // the library has no mail export
        QVERIFY(!dll.LoadFunction(4, "HashingKey"));
        QVERIFY(dll.LoadFunction(3, "Netlbr"));
        QVERIFY(!dll.LoadFunction(1, "Netlbr"));
        QVERIFY(dll.Unload());
        QVERIFY(!dll.LoadFunction(1, "NoSuchLibrary"));
        QVERIFY_THROWS_EXCEPTION(Exception, dll.Decrypt("x"));
    }

    void missingLibraryFolderMeansNoLibrary()
    {
        const QString empty = m_home->Root() + "empty/";
        QDir().mkpath(empty);
        TDLLSafeCall::SetLibraryFolder(empty);
        TDLLSafeCall dll;
        QVERIFY(!dll.LoadFunction(1, "HashingKey"));
        QVERIFY(!dll.LoadFunction(3, "Netlbr"));
    }

    void passwordsRoundTrip()
    {
        const QStringList passwords = {"", "secret", "Парола с кирилица", QString(5000, QChar('z')),
                                       "with blanks and = ; [ ] \" '"};
        for (const QString &password : passwords) {
            const QString stored = protect(password);
            QVERIFY(!stored.isEmpty());
            QVERIFY(password.isEmpty() || !stored.contains(password));
            for (QChar c : stored)
                QVERIFY2(c.unicode() > 32 && c.unicode() < 127, "the stored form is printable");
            QCOMPARE(reveal(stored), password);
        }
        // The same password is stored differently each time.
        QVERIFY(protect("secret") != protect("secret"));
    }

    void storedFormRevealsNothingWithoutTheKey()
    {
        const QString stored = protect("secret");
        QVERIFY(QFileInfo::exists(keyFile()));
        QCOMPARE(QFileInfo(keyFile()).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther |
                                                       QFileDevice::WriteGroup | QFileDevice::WriteOther),
                 QFileDevice::Permissions());
        QVERIFY(QFile::remove(keyFile()));
        QCOMPARE(reveal(stored), QString());
        // A new key protects new passwords but cannot open the old stored form.
        const QString again = protect("secret");
        QCOMPARE(reveal(again), QString("secret"));
        QCOMPARE(reveal(stored), QString());
    }

    void damagedStoredFormDecryptsToEmpty()
    {
        const QString stored = protect("secret");
        QString flipped = stored;
        flipped[flipped.size() - 3] = flipped[flipped.size() - 3] == 'A' ? 'B' : 'A';
        for (const QString &damaged : {flipped, stored.left(stored.size() / 2), QString("HK1:"), QString("HK1:!!!"),
                                       QString("plain text"), QString(100000, 'Q'), QString("секрет")})
            QCOMPARE(reveal(damaged), QString());
    }

    void damagedKeyFileGivesEmptyAndNeverCrashes()
    {
        const QString stored = protect("secret");
        QFile key(keyFile());
        QVERIFY(key.open(QIODevice::WriteOnly | QIODevice::Truncate));
        key.write("short");
        key.close();
        QCOMPARE(reveal(stored), QString());
        // The next save replaces the key: a new password round-trips, the old one is lost and said so.
        const QString fresh = protect("fresh-1");
        QCOMPARE(reveal(fresh), QString("fresh-1"));
        QCOMPARE(QFileInfo(keyFile()).size(), 32);
        QCOMPARE(QFile::permissions(keyFile()) & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther |
                                                  QFile::WriteOther | QFile::ExeOwner),
                 QFile::Permissions());
        TDLLSafeCall dll;
        QVERIFY(dll.LoadFunction(1, "HashingKey"));
        QVERIFY(!dll.IsReadable(stored));
        QVERIFY(dll.IsReadable(fresh));
        QVERIFY(dll.IsReadable(QString()));
    }
};

QTEST_GUILESS_MAIN(TestConnectionSettings)
#include "tst_connectionsettings.moc"
