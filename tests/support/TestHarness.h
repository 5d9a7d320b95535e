#pragma once
// Shared test helpers: a throw-away home per test, recorders for message boxes and the
// error log window, and helpers to build and find windows' controls by name.

#include "startup/KalvCM.h"
#include "UserInput.h"

#include <QList>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QVariant>
#include <QWidget>
#include <functional>
#include <memory>
#include <stdexcept>

// A fresh home, configuration folder, data folder and program folder for one test.
// Process-wide values are reset; the run-time libraries are still found in the build.
class TestHome
{
public:
    TestHome();
    ~TestHome();

    QString Root() const { return m_dir.path() + "/"; }
    QString ConfigFolder() const { return Root() + "config/"; }
    QString DataFolderPath() const { return Root() + "data/"; }
    QString ProgramFolderPath() const { return Root() + "program/"; }
    // Writes Settings.ini of the data folder as UTF-8 with the given text.
    void WriteSettings(const QString &text, bool withMark = true) const;
    static QString BuildBinFolder();
    // The environment of a program started by a test: this home, no display.
    QProcessEnvironment ProcessEnvironment() const;

private:
    QTemporaryDir m_dir;
    QByteArray m_oldHome, m_oldConfig, m_oldData;
};

struct RecordedBox {
    QString Text;
    QString Title;
    int Flags = 0;
    bool InTransaction = false;  // the shared connection held a transaction while it was shown
};

// True while the shared connection, if there is one, holds a transaction.
bool SharedTransactionOpen();

// Outside the recorders below, message boxes and error logs are reported as warnings and
// answered, so that a test never waits on a window nobody answers.
void InstallUnexpectedWindowGuards();

// Records every message box and answers it: queued answers first, then OK or Yes.
class MessageBoxRecorder
{
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    void Answer(int buttonId) { m_answers.append(buttonId); }
    // Runs while a box is shown, as a timer tick or a click would in the box's own event loop.
    std::function<void(const RecordedBox &box)> OnShow;
    const QList<RecordedBox> &Boxes() const { return m_boxes; }
    QStringList Texts() const;
    // Boxes shown while a transaction was open: no window may leave one open across a box.
    int ShownInTransaction() const;

private:
    QList<RecordedBox> m_boxes;
    QList<int> m_answers;
};

class TExceptionLogs;

// Records the text of every error log window; an optional action runs on the window first.
class ErrorLogRecorder
{
public:
    explicit ErrorLogRecorder(std::function<void(TExceptionLogs &)> action = {});
    ~ErrorLogRecorder();
    const QStringList &Texts() const { return m_texts; }
    int ShownInTransaction() const { return m_inTransaction; }

private:
    QStringList m_texts;
    int m_inTransaction = 0;
};

// Makes a control of type T with its component name.
template <class T> T *Named(QWidget *parent, const QString &name)
{
    auto *control = new T(parent);
    control->setObjectName(name);
    return control;
}

// Finds a control by its component name; a missing control fails the test with its name.
template <class T> T *Child(QObject *root, const QString &name)
{
    T *found = root->findChild<T *>(name);
    if (!found)
        throw std::runtime_error(("no control named " + name).toStdString());
    return found;
}

// Answers the next login window, a tenth of a second from now, as an operator types.
void LogInWhenAsked(const QString &user, const QString &password);

// The child window of that kind opened last in the frame's area, or nothing.
template <class T> T *LatestChild(QMdiArea *area)
{
    const QList<QMdiSubWindow *> frames = area->subWindowList(QMdiArea::CreationOrder);
    for (int i = int(frames.size()) - 1; i >= 0; --i)
        if (auto *window = qobject_cast<T *>(frames.at(i)->widget()))
            return window;
    return nullptr;
}

// Every caption of a window (labels, group boxes, buttons, tabs, actions, its title) that
// Settings.ini did not give: the object names of the controls that show "Unknow control name".
QStringList UnknownCaptions(QWidget *window);

// Saves a picture of the window as NAME.png into $KALV_SHOT_DIR when that is set, so a
// person can look at what the test saw.
void SaveShot(QWidget *window, const QString &name);

// A PostgreSQL server of the test process's own: initialised into a throw-away folder, on a
// loopback port, started at its first use and stopped when the process ends. Run as the
// "postgres" user when the tests run as root, since the server refuses root.
class TestPostgres
{
public:
    static TestPostgres &Instance();
    // A server of its own with more settings ("-c name=value" each); files it needs are copied
    // into its folder by the caller through Folder() before Start().
    explicit TestPostgres(const QStringList &settings, bool start = true);
    void Start();
    QString Folder() const { return m_dir.path(); }
    // Reads its configuration files again (the TLS certificate among them).
    void Reload() const;
    // Stops at once, as a crash would, and starts again (or only stops).
    void Stop() const;
    void StartAgain() const;
    ~TestPostgres();
    int Port() const { return m_port; }
    QString Host() const { return QStringLiteral("127.0.0.1"); }
    // A role with a password that holds what connection strings must quote.
    static QString User() { return QStringLiteral("kalv"); }
    static QString Password() { return QStringLiteral("pa;ss}=x"); }
    // Runs SQL as the server's superuser through its own client; raises on failure.
    void Psql(const QString &database, const QString &sql) const;

private:
    TestPostgres();
    QStringList m_settings;
    QStringList AsServerUser(const QString &program, const QStringList &arguments) const;
    void Run(const QString &program, const QStringList &arguments) const;
    QTemporaryDir m_dir;
    QString m_bin;
    int m_port = 0;
    bool m_started = false;
};

// A pgbouncer in transaction mode in front of the test process's server, as a hotel may run one:
// each transaction may go to another session of the server. Started at its first use and
// stopped when the process ends; it refuses root as the server does.
class TestPgBouncer
{
public:
    static TestPgBouncer &Instance();
    ~TestPgBouncer();
    int Port() const { return m_port; }
    // How many sessions of the server it opened: more than one shows the pooling at work.
    int ServerLogins() const;

private:
    TestPgBouncer();
    void WaitUntilListening() const;
    QTemporaryDir m_dir;
    int m_port = 0;
};

// The engine the database tests run on: the embedded one, or PostgreSQL when the environment
// variable KALV_TEST_ENGINE is "postgresql", or PostgreSQL behind a pgbouncer in transaction mode
// when it is "pgbouncer" (CTest runs the database tests on the first two, the concurrency and
// booking tests on all three).
bool TestOnPostgres();
bool TestThroughPgBouncer();

// Stored server settings for the embedded engine; the server folder is made when missing.
struct TestServer {
    QString Provider = QStringLiteral("SQLite");
    QString Server;  // a folder; the test home's "server" folder when empty
    QString Instance;
    QString Database = QStringLiteral("HotelTest");
    QString User = QStringLiteral("sa");
    QString Password = QStringLiteral("secret");
};
// Writes the settings as the configuration window saves them and sets the process-wide copies.
void StoreServerSettings(const TestHome &home, TestServer server = {});
// The settings of the engine the tests run on, for a database of that name.
TestServer ServerForTests(const TestHome &home, const QString &database);

class TADOConnection;
class TDM;

// Copies the delivered Settings.ini (writable) and icons into the test home's data folder.
void DeliverFiles(const TestHome &home);

// A throw-away home with the delivered files, stored server settings, the data module and a
// fresh database "HotelTest" on the embedded engine, the shared connection open on it.
class TestDatabase
{
public:
    TestDatabase();
    ~TestDatabase();
    TestHome &Home() { return m_home; }
    TADOConnection &Connection();
    void Exec(const QString &sql, const QVariantList &values = {});
    QStringList Rows(const QString &sql);

private:
    TestHome m_home;
    std::unique_ptr<TDM> m_dm;
};

// A delivered procedure script for the engine of the shared connection, as the window reads it.
QString DeliveredScript(const QString &procedure);
// Removes an installed procedure, whatever the engine keeps it as.
void DropProcedure(const QString &procedure);
// Installs delivered procedures on the shared connection; raises when one is refused.
void InstallDeliveredProcedures(const QStringList &procedures);
// Turns the shared connection's database into one of the first version: its thirteen tables
// (empty) and its copy procedure, as the first program made them.
void MakeFirstVersionDatabase();

// The rows a grid shows, each as its cells' texts joined by "|".
QStringList GridTexts(class QTableView *grid);

// The rows of a statement on the connection, each as its fields' texts joined by "|".
QStringList QueryRows(TADOConnection &connection, const QString &sql);

// Whether a message is the reservation save's success, which names its booking's number.
bool IsBookingSaved(const QString &text);

// Like QTEST_MAIN, with the program's own application object and its default error display.
#define KALV_TEST_MAIN(TestClass)                                                                                  \
    int main(int argc, char *argv[])                                                                               \
    {                                                                                                              \
        TKalvApplication app(argc, argv);                                                                          \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                                   \
        QApplication::setDoubleClickInterval(150); /* lists opened by a click wait this long */                     \
        InstallUnexpectedWindowGuards();                                                                           \
        TestClass test;                                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                 \
        return QTest::qExec(&test, argc, argv);                                                                    \
    }
