// The data layer on real SQLite databases, and the SQL Server engine's texts.

#include "TestHarness.h"
#include "startup/UConstMessagesDesk.h"
#include "admin/UDatabaseSetup.h"
#include "data/UADOComunicationControl.h"
#include "data/UDM.h"
#include "data/UDataLinkDialog.h"
#include "data/UDbEngine.h"
#include "data/UDbSchema.h"
#include "data/UMssqlEngine.h"
#include "data/URegistry.h"
#include "data/USqliteEngine.h"
#include "data/USqliteProcedure.h"
#include "errors/MyClass.h"
#include "framework/UMainLibraryClass.h"
#include "windows/UOperReservation.h"
#include "startup/UConstMessagesHotel.h"

#include "framework/UDecimal.h"

#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QFile>
#include <QLineEdit>
#include <QSqlQuery>
#include <QtTest>
#include <memory>

namespace {

// Column name, declared type, NOT NULL flag and key flag as SQLite reports them.
QStringList columnsOf(TADOConnection &connection, const QString &table)
{
    QSqlQuery query(connection.Database());
    query.exec("PRAGMA table_info(\"" + table + "\")");
    QStringList columns;
    while (query.next())
        columns.append(query.value(1).toString() + " " + query.value(2).toString() + " " +
                       query.value(3).toString() + " " + query.value(5).toString());
    return columns;
}

QStringList userTables(TADOConnection &connection)
{
    QSqlQuery query(connection.Database());
    query.exec("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' "
               "AND name <> 'sysprocedures' ORDER BY rowid");
    QStringList names;
    while (query.next())
        names.append(query.value(0).toString());
    return names;
}

QString deliveredScript(const QString &engine, const QString &name)
{
    QString script;
    MClass().ReadTextFile(TestHome::BuildBinFolder() + "dist/sql/" + engine + "/" + name + ".sql", script);
    return script;
}

} // namespace

class TestDataLayer : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestHome> m_home;
    std::unique_ptr<TDM> m_dm;

    TADOConnection &connection() { return *m_dm->ADOLocalConnection; }
    void createDatabase(const QString &name = "HotelTest")
    {
        const DatabaseSetup::TResult result = DatabaseSetup::CreateDatabase(name);
        QCOMPARE(int(result.Outcome), int(DatabaseSetup::TOutcome::Done));
    }

private slots:
    void theProcedureReaderFollowsTheServersRules()
    {
        // A ";" inside a trigger's body ends no statement; "@" starts a parameter only where the
        // server reads one (not in texts, names in quotes or brackets, or comments), and a name
        // runs on through a non-breaking space as the server's does.
        const TSqliteProcedure procedure = TSqliteProcedure::Parse(
            "CREATE PROCEDURE proc_Trigger @iRoom INT AS\r\n"
            "CREATE TRIGGER IF NOT EXISTS t_clean AFTER INSERT ON Rooms BEGIN "
            "UPDATE Rooms SET q129 = 0 WHERE q47 = NEW.q47; SELECT 1; END;\r\n"
            "SELECT q44, '@iRoom;' AS said, [@bracketed] FROM Rooms WHERE q47 = @iRoom; -- @comment;\r\n"
            "/* @block; */ SELECT @iRoom AS again");
        QCOMPARE(procedure.Statements.size(), 3);
        QVERIFY(procedure.Statements.at(0).trimmed().endsWith("END;"));
        QVERIFY(procedure.Statements.at(1).contains("'@iRoom;'"));
        QStringList variables;
        const QString text = "SELECT '@a', [@b], \"@c\", @d -- @e\n/* @f */ :g, @h\u00a0x FROM t";
        for (const SqliteSql::TToken &token : SqliteSql::Tokenize(text))
            if (token.Type == SqliteSql::TToken::Variable)
                variables.append(text.mid(token.Start, token.Length));
        QCOMPARE(variables, QStringList({"@d", ":g", "@h\u00a0x"}));
        // A parameter the header does not declare is refused with its name.
        try {
            TSqliteProcedure::Parse("CREATE PROCEDURE proc_Bad @iRoom INT AS SELECT q44 FROM Rooms WHERE q47 = @iRoom\u00a0x")
                .Declared("@iRoom\u00a0x");
            QFAIL("an undeclared parameter was taken");
        } catch (const EDatabaseError &error) {
            QVERIFY2(error.Message().contains("@iRoom"), qPrintable(error.Message()));
        }
    }

    void init()
    {
        m_home = std::make_unique<TestHome>();
        m_dm = std::make_unique<TDM>();
        StoreServerSettings(*m_home);
    }
    void cleanup()
    {
        m_dm.reset();
        m_home.reset();
    }

    void createdDatabaseHoldsTheThirteenTablesAndTheFrontDesks()
    {
        createDatabase();
        QCOMPARE(connection().DatabaseName(), QString("HotelTest"));
        QStringList expected;
        for (const TTableDef &table : DbSchema::Tables())
            expected.append(table.Name);
        QCOMPARE(userTables(connection()), expected);
        // The thirteen of the first version in their order, then the front desk's.
        QCOMPARE(expected.mid(0, 13),
                 QStringList({"HotelBuild", "Operators", "Secyrity", "Klients", "Uslugi", "Rooms", "Tarife", "Valuta",
                              "Otstapka", "Analitichnosti", "Miarka", "Nomen", "KursValuta"}));
        QCOMPARE(expected.mid(13), QStringList({"Rezervacii", "Plashtania", "Dnevnik", "KurortniTaksi", "VersiaBaza", "NeuspeshniVhodove", "Zatvoreni", "DumiImena", "FakturiSerii", "Kupuvachi", "Fakturi",
                                               "FakturiRedove", "DDSStavki", "FirmiHoteli", "FiskalniBonove", "RabotenDen",
                                               "ZatvoreniDni", "PravilaHoteli", "Gosti", "GostiPrestoi", "DumiGosti", "ESTIIznos",
                                               "CenoviPlanove", "Sezoni", "Ceni", "DetskiVazrasti", "Ogranichenia", "Noshtuvki"}));
        // A new database works in euro, the lev kept for older amounts.
        QCOMPARE(QueryRows(connection(), "SELECT q56 FROM Valuta ORDER BY q57"), QStringList({"EUR", "BGN"}));
        QCOMPARE(QueryRows(connection(), "SELECT q150 FROM VersiaBaza"), QStringList({QString::number(SchemaVersion)}));

        QCOMPARE(columnsOf(connection(), "HotelBuild"),
                 QStringList({"q1 INT 0 0", "q10 nvarchar(500) 0 0", "q11 nvarchar(500) 0 0", "q12 nvarchar(500) 0 0",
                              "q13 nvarchar(500) 0 0", "q14 nvarchar(500) 0 0", "q15 nvarchar(500) 0 0",
                              "q16 nvarchar(500) 0 0", "q17 nvarchar(500) 0 0", "q18 nvarchar(500) 0 0",
                              "q19 INT 0 0", "q20 nvarchar(500) 0 0"}));
        const QStringList operators = columnsOf(connection(), "Operators");
        QCOMPARE(operators.first(), QString("q80 INTEGER 0 1"));
        QCOMPARE(operators.at(5), QString("q25 varbinary(8000) 0 0"));
        QCOMPARE(operators.size(), 13);  // and, at its end, deactivated and change-at-next-login
        const QStringList klients = columnsOf(connection(), "Klients");
        // Klients keeps its columns in order and gains the front desk's at its end.
        QCOMPARE(klients.size(), 42);
        QCOMPARE(klients.at(5), QString("q31 char(30) 0 0"));
        QCOMPARE(klients.at(10), QString("q35 SMALLDATETIME 0 0"));
        QCOMPARE(klients.at(27), QString("q115 nvarchar(500) 0 0"));
        QCOMPARE(klients.at(28), QString("q123 INTEGER 0 1"));
        // The identity key is the only key of each table.
        for (const TTableDef &table : DbSchema::Tables()) {
            const QStringList columns = columnsOf(connection(), table.Name);
            QCOMPARE(columns.size(), table.Columns.size());
            for (int i = 0; i < columns.size(); ++i) {
                QVERIFY(columns.at(i).startsWith(table.Columns.at(i).Name + " "));
                QCOMPARE(columns.at(i).endsWith(" 1"), table.Columns.at(i).Nullability == TColumnNull::Identity);
            }
        }
    }

    void creationLeavesAnExistingTableAloneAndTwiceFails()
    {
        createDatabase();
        connection().Execute("DROP TABLE Miarka");
        connection().Execute("CREATE TABLE Miarka (other TEXT)");
        connection().Execute("INSERT INTO HotelBuild (q1, q10) VALUES (1, 'A')");
        DatabaseSetup::CreateTables("HotelTest");
        QCOMPARE(columnsOf(connection(), "Miarka"), QStringList({"other TEXT 0 0"}));

        const DatabaseSetup::TResult again = DatabaseSetup::CreateDatabase("HotelTest");
        QCOMPARE(int(again.Outcome), int(DatabaseSetup::TOutcome::Failed));
        QVERIFY2(again.Message.contains("already exists"), qPrintable(again.Message));
        TADOComunicationControl control;
        QVERIFY(control.ConnectToDatabase("HotelTest"));
        TADOQuery query(&connection());
        query.SetSQLText("SELECT * FROM HotelBuild");
        query.Open();
        QCOMPARE(query.RecordCount(), 1);
    }

    void namesAreCaseInsensitiveAlsoForCyrillicText()
    {
        createDatabase();
        connection().Execute("INSERT INTO [dbo].[Operators] (q75, q76) VALUES (?, ?)", {"Иван", "ТайнаПарола"});
        TADOQuery query(&connection());
        query.SetSQLText("SELECT * FROM [dbo].[OPERATORS] WHERE (q75 = :psOperatorName) AND (q76 = :psOperatorPass)");
        query.ParamByName("psOperatorName").Value = "иВАН";
        query.ParamByName("psOperatorPass").Value = "тайнапарола";
        query.Open();
        QCOMPARE(query.RecordCount(), 1);
        query.ParamByName("psOperatorPass").Value = "тайнапарол";
        query.Open();
        QCOMPARE(query.RecordCount(), 0);
    }

    void databaseNamesAreQuotedOrRefused()
    {
        createDatabase("Хотел ]Морe[ 2");
        QCOMPARE(userTables(connection()).size(), DbSchema::Tables().size());
        const DatabaseSetup::TResult refused = DatabaseSetup::CreateDatabase("bad/name");
        QCOMPARE(int(refused.Outcome), int(DatabaseSetup::TOutcome::Failed));
        QCOMPARE(refused.Message, msgDatabaseNameNotAllowed.arg("bad/name"));
        QVERIFY(!QFile::exists(m_home->Root() + "server/bad/name.sqlite"));
    }

    void queryParametersNavigationAndEditing()
    {
        createDatabase();
        TADOQuery query(&connection());
        query.SetSQLText("SELECT * FROM [dbo].[Rooms] WHERE q1 = :hotel AND q44 <> ':not' /* nor :this */ AND q44 <> "
                         ":hotel_room -- nor :that\r\n");
        QCOMPARE(TADOQuery::ParameterNames(query.SQLText()), QStringList({"hotel", "hotel_room"}));
        query.Parameters()[0].Value = 1;
        query.ParamByName("hotel_room").Value = "none";
        query.Open();
        QCOMPARE(query.RecordCount(), 0);
        QVERIFY(query.Eof());

        query.SetSQLText("SELECT * FROM [dbo].[Rooms] ");
        query.Open();
        query.Append();
        query.SetFieldValue("q44", "101");
        query.SetFieldValue("q46", 55.5);
        query.SetFieldValue("q1", 1);
        query.Post();
        QCOMPARE(query.FieldByName("q47").AsInteger(), 1);  // the identity came back
        query.Append();
        query.SetFieldValue("q44", "102");
        query.Post();
        QCOMPARE(query.FieldByName("q47").AsInteger(), 2);
        QVERIFY(query.Locate("q44", "101"));
        query.Edit();
        query.SetFieldValue("q46", 60);
        query.Post();
        query.Open();
        QCOMPARE(query.RecordCount(), 2);
        QVERIFY(query.Locate("q47", 1));
        QCOMPARE(query.FieldByName("q46").AsString(), QString("60"));
        QVERIFY(!query.Locate("q44", "999"));
        QCOMPARE(query.FieldByName("q44").AsString(), QString("101"));

        // Dates are stored sortable and shown in the fixed format.
        connection().Execute("INSERT INTO Klients (q29, q34) VALUES (?, ?)", {"Гост", QDate(2024, 1, 5)});
        query.SetSQLText("SELECT * FROM Klients WHERE q34 >= :fromDate");
        query.ParamByName("fromDate").Value = QDate(2024, 1, 1);
        query.Open();
        QCOMPARE(query.RecordCount(), 1);
        QCOMPARE(query.FieldByName("q34").AsString(), QString("05.01.2024"));
        QCOMPARE(query.FieldByName("q34").AsDateTime().date(), QDate(2024, 1, 5));
        QVERIFY(query.FieldByName("q27").IsNull());

        query.SetSQLText("SELECT * FROM NoSuchTable");
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, query.Open());
    }

    void openQueryAndTransactions()
    {
        createDatabase();
        TADOComunicationControl control;
        QVERIFY(control.OpenQuery("SELECT * FROM Rooms", TAdoParametarsTypeElements()) == nullptr);
        QVERIFY(!connection().InTransaction());

        connection().Execute("INSERT INTO Rooms (q44, q1) VALUES ('7', 3)");
        TAdoParametarsTypeElements parameters;
        QCOMPARE(parameters.AddParameter("psHotel", 3, 1, 1), 1);
        QCOMPARE(parameters.Item(0).Size, 16);
        TADOQuery *query = control.OpenQuery("SELECT * FROM Rooms WHERE q1 = :psHotel", parameters);
        QVERIFY(query);
        QCOMPARE(query->FieldByName("q44").AsString(), QString("7"));
        QVERIFY(connection().InTransaction());
        connection().CommitTrans();

        ErrorLogRecorder log;
        QVERIFY(control.OpenQuery("SELECT * FROM Missing WHERE a = :a", parameters) == nullptr);
        QCOMPARE(log.Texts().size(), 1);
        QVERIFY(log.Texts().first().contains("Missing"));
        QVERIFY(!connection().InTransaction());
    }

    void fieldValuesAndLookups()
    {
        createDatabase();
        TMainLibraryClass window;
        std::unique_ptr<QStringList> empty(window.GetFieldValues("HotelBuild", "q10"));
        QVERIFY(empty);
        QVERIFY(empty->isEmpty());
        {
            MessageBoxRecorder boxes;
            QVERIFY(window.GetFieldValues("HotelBuild", "  ") == nullptr);
            QCOMPARE(boxes.Texts(), QStringList({"Внимание моля изберете база и име на поле. Програмна грешка."}));
        }
        connection().Execute("INSERT INTO HotelBuild (q1, q10) VALUES (4, 'Морски')");
        connection().Execute("INSERT INTO HotelBuild (q1, q10) VALUES (9, 'Планински')");
        std::unique_ptr<QStringList> names(window.GetFieldValues("HotelBuild", "q10"));
        QCOMPARE(*names, QStringList({"Морски", "Планински"}));
        QString id = "stale";
        window.LookupFieldValue("HotelBuild", "q10", id, "q1", "Планински");
        QCOMPARE(id, QString("9"));
        window.LookupFieldValue("HotelBuild", "q10", id, "q1", "Няма");
        QCOMPARE(id, QString());
        QVERIFY(!connection().InTransaction());

        ErrorLogRecorder log;
        id = "x";
        window.LookupFieldValue("NoTable", "q10", id, "q1", "a");
        QCOMPARE(id, QString());
        QCOMPARE(log.Texts().size(), 1);
        QVERIFY(log.Texts().first().startsWith("Class name: \r\nFunction name: \r\nDescription Error: "));
        QVERIFY(!connection().InTransaction());
    }

    void deliveredProceduresInstalledAndCalled()
    {
        createDatabase();
        for (const char *name : {"proc_CopyAllTablesValues", "proc_SaveNewOperator", "proc_OpenOperator"}) {
            const DatabaseSetup::TResult result = DatabaseSetup::InstallProcedure(deliveredScript("sqlite", name));
            QVERIFY2(result.Outcome == DatabaseSetup::TOutcome::Done, qPrintable(result.Message));
        }
        QVERIFY(!connection().InTransaction());

        TADOStoredProc save(&connection());
        save.ProcedureName = "proc_SaveNewOperator";
        save.RefreshParameters();
        QCOMPARE(save.Parameters().size(), 10);
        save.ParamByName("@OperatorAddres_q23").Value = "ул. 1";
        save.ParamByName("@OperatorUserName_q75").Value = "ivan";
        save.ParamByName("@OperatorPassword_q76").Value = "p";
        save.ParamByName("@operatorName_q21").Value = "Иван";
        save.ParamByName("@OperatorGSM_q24").Value = "088";
        save.ParamByName("@OperatorCity_q74").Value = "Варна";
        save.ParamByName("@IDHotel_q1").Value = 2;
        save.ParamByName("@OperatorDefaultDostap_q77").Value = QString(50, '1');
        save.ExecProc();

        TADOStoredProc open(&connection());
        open.ProcedureName = "proc_OpenOperator";
        open.RefreshParameters();
        QVERIFY(open.Parameters().isEmpty());
        open.Open();
        QCOMPARE(open.RecordCount(), 1);
        QCOMPARE(open.FieldByName("q21").AsString(), QString("Иван"));
        QCOMPARE(open.FieldByName("q74").AsString(), QString("Варна"));
        QCOMPARE(open.FieldByName("q1").AsInteger(), 2);
        QVERIFY(open.FieldByName("q25").IsNull());
        QCOMPARE(open.FieldNames().first(), QString("q80"));

        // The staging table's rows move into Klients; a second copy books nothing twice.
        TADOComunicationControl control;
        TempTableCounter = 0;
        const QString staging = control.NewTempTableName();
        connection().Execute(connection().Engine().StagingTableStatement(staging));
        connection().Execute("INSERT INTO \"" + staging + "\" (q29, q47) VALUES ('Гост', 5)");
        TADOStoredProc copy(&connection());
        copy.ProcedureName = "proc_CopyAllTablesValues";
        copy.RefreshParameters();
        copy.ParamByName("@tableNameToCopyValues").Value = staging;
        copy.ParamByName("@tableNameToPasteValues").Value = "Klients";
        connection().BeginTrans();
        copy.ExecProc();
        copy.ExecProc();
        connection().CommitTrans();
        TADOQuery count(&connection());
        count.SetSQLText("SELECT COUNT(*) AS n FROM KLIENTS");
        count.Open();
        QCOMPARE(count.FieldByName("n").AsInteger(), 1);

        copy.ParamByName("@tableNameToCopyValues").Value = "Klients; DROP TABLE Rooms";
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, copy.ExecProc());
        QCOMPARE(userTables(connection()).size(), DbSchema::Tables().size());

        // A second install and a script the engine refuses both fail and install nothing.
        const DatabaseSetup::TResult twice =
            DatabaseSetup::InstallProcedure(deliveredScript("sqlite", "proc_OpenOperator"));
        QCOMPARE(int(twice.Outcome), int(DatabaseSetup::TOutcome::Failed));
        const DatabaseSetup::TResult refused =
            DatabaseSetup::InstallProcedure("CREATE PROCEDURE proc_Bad AS SELEKT * FROM Rooms");
        QCOMPARE(int(refused.Outcome), int(DatabaseSetup::TOutcome::Failed));
        QVERIFY(!connection().InTransaction());
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, connection().Engine().ProcedureParameters(connection(), "proc_Bad"));
    }

    void procedureScriptsReadAsTheServerReadsThem()
    {
        createDatabase();
        connection().Execute("INSERT INTO Klients (q29, q28) VALUES ('Иван', '1'), ('Мария', '2'), ('Иван', '3')");
        QFile file(m_home->Root() + "delete.sql");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("CREATE PROCEDURE proc_DeleteGuest @name nvarchar(500) AS\r\n"
                   "DELETE FROM Klients -- only the rows of the guest named below; not @other\r\n"
                   "WHERE q29 = @name /* nor @third */ AND q29 <> '@name' AND [q29] IS NOT NULL\r\n");
        file.close();
        QString script;  // as the configuration window reads it: lines ended by a carriage return
        MClass().ReadTextFile(file.fileName(), script);
        QVERIFY(!script.contains('\n'));
        const DatabaseSetup::TResult installed = DatabaseSetup::InstallProcedure(script);
        QVERIFY2(installed.Outcome == DatabaseSetup::TOutcome::Done, qPrintable(installed.Message));
        TADOStoredProc call(&connection());
        call.ProcedureName = "proc_DeleteGuest";
        call.RefreshParameters();
        QCOMPARE(call.Parameters().size(), 1);
        call.ParamByName("@NAME").Value = "Мария";
        call.ExecProc();
        TADOQuery left(&connection());
        left.SetSQLText("SELECT q28 FROM Klients ORDER BY q28");
        left.Open();
        QCOMPARE(left.RecordCount(), 2);  // the WHERE line was read: only Мария's row went

        // A parameter used twice is one parameter; a bracketed name is a name, not a parameter.
        QVERIFY(DatabaseSetup::InstallProcedure("CREATE PROCEDURE proc_Twice (@n nvarchar(500)) AS\r"
                                                "SELECT q28 AS [@label] FROM Klients WHERE q29 = @n OR q28 = @n\r")
                    .Outcome == DatabaseSetup::TOutcome::Done);
        TADOStoredProc twice(&connection());
        twice.ProcedureName = "proc_Twice";
        twice.RefreshParameters();
        twice.ParamByName("@n").Value = "3";
        twice.Open();
        QCOMPARE(twice.RecordCount(), 1);
        QCOMPARE(twice.FieldNames(), QStringList({"@label"}));

        // Refused with a clear message: a name the server reads past a non-breaking space, a
        // parameter nobody declared, a statement the server cannot read.
        const QChar nbsp(0x00A0);
        const QList<QPair<QString, QString>> refused = {
            {"CREATE PROCEDURE proc_Nbsp @name nvarchar(500) AS DELETE FROM Klients WHERE q29 = @name" + QString(nbsp) +
                 "AND 1 = 1",
             "Must declare the scalar variable"},
            {"CREATE PROCEDURE proc_Undeclared AS DELETE FROM Klients WHERE q29 = @who", "@who"},
            {"CREATE PROCEDURE proc_Syntax @a INT AS DELETE Klients WHERE", "syntax"}};
        for (const auto &[text, says] : refused) {
            const DatabaseSetup::TResult result = DatabaseSetup::InstallProcedure(text);
            QCOMPARE(int(result.Outcome), int(DatabaseSetup::TOutcome::Failed));
            QVERIFY2(result.Message.contains(says, Qt::CaseInsensitive), qPrintable(result.Message));
        }
        QVERIFY(!connection().InTransaction());
        left.Open();
        QCOMPARE(left.RecordCount(), 2);
    }

    void noProcedureScriptCrashesTheProgram()
    {
        createDatabase();
        connection().Execute("INSERT INTO Klients (q29) VALUES ('Гост')");
        const QStringList seeds = {deliveredScript("sqlite", "proc_CopyAllTablesValues"),
                                   deliveredScript("sqlite", "proc_SaveNewOperator"),
                                   "CREATE PROCEDURE proc_T @t SYSNAME, @n nvarchar(500) AS SELECT * FROM @t WHERE q29 = @n"};
        const QStringList pieces = {"--", "/*", "*/", "'", "\"", "[", "]", "@", "@t", ";", "\r", "\n", QString(QChar(0xA0)),
                                    "(", ")", ",", "AS", " ", "?", ":x", "$", "#", "`", "SYSNAME", "ё"};
        QRandomGenerator random(20261209);
        int installed = 0, called = 0;
        for (int round = 0; round < 400; ++round) {
            QString script = seeds.at(random.bounded(int(seeds.size())));
            for (int edits = random.bounded(1, 4); edits > 0; --edits) {
                const int at = random.bounded(int(script.size()) + 1);
                if (random.bounded(3) == 0)
                    script.remove(at, random.bounded(1, 6));
                else
                    script.insert(at, pieces.at(random.bounded(int(pieces.size()))));
            }
            // Every script gets a name of its own, so that each one is installed afresh.
            script.replace(QRegularExpression("PROCEDURE\\s+\\w+"), QString("PROCEDURE proc_F%1").arg(round));
            if (DatabaseSetup::InstallProcedure(script).Outcome != DatabaseSetup::TOutcome::Done)
                continue;
            ++installed;
            try {
                TADOStoredProc call(&connection());
                call.ProcedureName = QString("proc_F%1").arg(round);
                call.RefreshParameters();
                for (TParameter &parameter : call.Parameters())
                    parameter.Value = random.bounded(2) ? QVariant("Klients") : QVariant("x\"; DROP TABLE Rooms; --");
                connection().BeginTrans();
                call.Open();
                ++called;
            } catch (const EDatabaseError &) {
            }
            connection().RollbackIfOpen();
        }
        qInfo("%d mutated scripts installed, %d called without an error", installed, called);
        QVERIFY(installed > 0);
        QCOMPARE(userTables(connection()).size(), DbSchema::Tables().size());
        QVERIFY(!connection().InTransaction());
    }

    void decimalAmounts()
    {
        QCOMPARE((TDecimal::FromText("33.33") * TDecimal(3)).ToString(), QString("99.99"));
        QCOMPARE((TDecimal::FromText("12.345") * TDecimal(3)).Cents().ToString(), QString("37.04"));
        QCOMPARE(TDecimal::FromText("-2.675").Cents().ToString(), QString("-2.68"));  // away from zero
        QCOMPARE(TDecimal::FromText("2.674999").Cents().ToString(), QString("2.67"));
        QCOMPARE(TDecimal::FromText("0.005").Cents().ToString(), QString("0.01"));
        QCOMPARE(TDecimal::FromText("0.0049").Cents().ToString(), QString("0"));
        QCOMPARE(TDecimal::FromText("99.995").Cents().ToFixed(2), QString("100.00"));
        QCOMPARE(TDecimal::FromDouble(1.005).ToString(), QString("1.005"));
        QCOMPARE(TDecimal::FromDouble(1e-5).ToString(), QString("0.00001"));
        QCOMPARE((TDecimal::FromText("10") - TDecimal::FromText("10.01")).ToString(), QString("-0.01"));
        QCOMPARE((TDecimal::FromText("-1.5") + TDecimal::FromText("1.5")).ToString(), QString("0"));
        QCOMPARE(TDecimal::FromText("  7.50 ").ToFixed(2), QString("7.50"));
        QVERIFY(TDecimal::FromText("0.1") + TDecimal::FromText("0.2") == TDecimal::FromText("0.3"));
        QVERIFY(TDecimal::FromText("-3") < TDecimal::FromText("-2.5"));
        QCOMPARE(TDecimal::FromVariant(QVariant()).ToString(), QString("0"));
        for (const char *bad : {"", "1.2.3", "abc", "1,5", "--1"})
            QVERIFY_THROWS_EXCEPTION(EConvertError, TDecimal::FromText(QLatin1String(bad)));
    }

    void connectionStringValuesCannotAddItems()
    {
        TConnectionParts parts;
        parts.Provider = "SQLite";
        parts.Password = "pa;ss}=x";
        parts.User = "x;Data Source=elsewhere";
        parts.Database = "It's \"quoted\"";
        parts.Server = m_home->Root() + "server";
        const QString text = parts.Join();
        const TConnectionItems items = TConnectionItems::Parse(text);
        QCOMPARE(items.Value("Password"), QString("pa;ss}=x"));
        QCOMPARE(items.Value("User ID"), QString("x;Data Source=elsewhere"));
        QCOMPARE(items.Value("Initial Catalog"), QString("It's \"quoted\""));
        QCOMPARE(items.Value("Data Source"), m_home->Root() + "server");
        QCOMPARE(items.Value("Workstation ID"), m_home->Root() + "server");
        TADOComunicationControl control;
        QCOMPARE(control.GetServerName(text), m_home->Root() + "server");
        QCOMPARE(control.GetDatabaseName(text), QString("It's \"quoted\""));
        // The SQL Server engine braces what it hands on, so the value stays one value there too.
        QCOMPARE(TMssqlEngine::OdbcConnectionString(items, "KalvHotel"),
                 QString("DRIVER={FreeTDS};SERVER={%1};DATABASE={KalvHotel};UID={x;Data Source=elsewhere};"
                         "PWD={pa;ss}}=x};ClientCharset=UTF-8;")
                     .arg(m_home->Root() + "server"));

        // Stored settings with such a user and password connect to the configured server only.
        TestServer server;
        server.User = "x;Data Source=elsewhere";
        server.Password = "pa;ss}=x";
        StoreServerSettings(*m_home, server);
        createDatabase();
        connection().Close();
        QVERIFY(TADOComunicationControl().ConnectFromSettings());
        QCOMPARE(TConnectionItems::Parse(connection().ConnectionString()).Value("Data Source"), m_home->Root() + "server");
        QCOMPARE(TConnectionItems::Parse(connection().ConnectionString()).Value("Password"), QString("pa;ss}=x"));
        QVERIFY(!QFileInfo::exists(m_home->Root() + "elsewhere"));
    }

    void embeddedFilesAreTheirOwnersOnly()
    {
        const auto others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                            QFile::WriteOther | QFile::ExeOther;
        createDatabase();
        for (const QString &file : {QString("server/HotelTest.sqlite"), QString("server/master.sqlite")})
            QCOMPARE(QFile::permissions(m_home->Root() + file) & others, QFile::Permissions());
        // The local server's folder, made by the program, is closed to others too.
        TestServer local;
        local.Server = "localhost";
        StoreServerSettings(*m_home, local);
        createDatabase("LocalTest");
        QCOMPARE(QFile::permissions(DataFolder + "Databases") & others, QFile::Permissions());
        QCOMPARE(QFile::permissions(DataFolder + "Databases/LocalTest.sqlite") & others, QFile::Permissions());
        QFile::setPermissions(DataFolder + "Databases/master.sqlite", QFile::ReadOwner | QFile::WriteOwner |
                                                                            QFile::ReadOther);
        connection().Close();
        QVERIFY(TADOComunicationControl().ConnectToDatabase("master"));
        QCOMPARE(QFile::permissions(DataFolder + "Databases/master.sqlite") & others, QFile::Permissions());
    }

    void failedCommitLeavesNoTransaction()
    {
        createDatabase();
        const int timeout = TSqliteEngine::BusyTimeout();
        TSqliteEngine::SetBusyTimeout(100);
        auto restore = qScopeGuard([timeout] { TSqliteEngine::SetBusyTimeout(timeout); });
        connection().Close();
        QVERIFY(TADOComunicationControl().ConnectFromSettings());  // with the short wait
        {
            QSqlDatabase reader = QSqlDatabase::addDatabase("QSQLITE", "reader");
            reader.setDatabaseName(m_home->Root() + "server/HotelTest.sqlite");
            QVERIFY(reader.open());
            QSqlQuery read(reader);
            QVERIFY(read.exec("BEGIN") && read.exec("SELECT COUNT(*) FROM Rooms") && read.next());
            connection().BeginWriteTrans();
            connection().Execute("INSERT INTO Rooms (q44) VALUES ('101')");
            QVERIFY_THROWS_EXCEPTION(EDatabaseBusy, connection().CommitTrans());
            QVERIFY(!connection().InTransaction());
            QVERIFY(read.exec("COMMIT"));
        }
        QSqlDatabase::removeDatabase("reader");
        // Nothing of the failed transaction stays, and the connection works on.
        QCOMPARE(QueryRows(connection(), "SELECT COUNT(*) FROM Rooms"), QStringList({"0"}));
        TTransaction transaction(connection(), true);
        connection().Execute("INSERT INTO Rooms (q44) VALUES ('102')");
        transaction.Commit();
        QCOMPARE(QueryRows(connection(), "SELECT q44 FROM Rooms"), QStringList({"102"}));
    }

    void tempTableNamesCount()
    {
        TADOComunicationControl control;
        TempTableCounter = 0;
        QCOMPARE(control.NewTempTableName(), QString("#TEMP1"));
        QCOMPARE(control.NewTempTableName(), QString("#TEMP2"));
        QCOMPARE(TADOComunicationControl().NewTempTableName(), QString("#TEMP3"));
    }

    void connectionStringFromTheTwelveParts()
    {
        TestServer server;
        server.Server = m_home->Root() + "srv";
        server.Instance = "   ";
        server.Password = "pa;ss";
        StoreServerSettings(*m_home, server);
        QString text;
        QVERIFY(TADOComunicationControl::BuildFromSettings("Base", text));
        const QString source = m_home->Root() + "srv";
        QCOMPARE(text, "Provider=SQLite;Password=\"pa;ss\";Persist Security Info=True;User ID=sa;Initial Catalog=Base;"
                       "Data Source=" + source + ";Use Procedure for Prepare=1;Auto Translate=True;"
                       "Packet Size=4096;Workstation ID=" + source + ";Use Encryption for Data=False;"
                       "Tag with column collation when possible=False;");
        server.Instance = " inst ";
        StoreServerSettings(*m_home, server);
        QVERIFY(TADOComunicationControl::BuildFromSettings("Base", text));
        QVERIFY(text.contains(";Data Source=" + source + "\\ inst ;"));
    }

    void connectFromSettingsPaths()
    {
        TADOComunicationControl control;
        QVERIFY(!control.ConnectFromSettings());  // the database does not exist yet
        QVERIFY(!connection().Connected());
        createDatabase();
        connection().Close();
        QVERIFY(control.ConnectFromSettings());
        // Open already: the settings are not read again.
        TRegistry registry;
        registry.OpenKey(SqlSettings::Key, false);
        registry.WriteString(SqlSettings::Provider, "");
        QVERIFY(control.ConnectFromSettings());
        control.CloseConnection();
        QVERIFY(!control.ConnectFromSettings());  // blank provider
        registry.WriteString(SqlSettings::Provider, "SQLite");
        registry.WriteString(SqlSettings::ComputerName, m_home->Root() + "no-such-folder");
        QVERIFY(!control.ConnectFromSettings());
        QVERIFY(!QDir(m_home->Root() + "no-such-folder").exists());
        // A database file that is no database.
        registry.WriteString(SqlSettings::ComputerName, m_home->Root() + "server");
        QFile garbage(m_home->Root() + "server/HotelTest.sqlite");
        QVERIFY(garbage.open(QIODevice::WriteOnly | QIODevice::Truncate));
        garbage.write(QByteArray(4096, 'x'));
        garbage.close();
        QVERIFY(!control.ConnectFromSettings());
        QVERIFY(!control.ConnectToCatalog(nullptr, "master"));
    }

    void connectionStringParsers()
    {
        TADOComunicationControl control;
        const QString full = "Provider=SQLOLEDB.1;Password=x;Persist Security Info=True;User ID=sa;"
                             "Initial Catalog= Hotel ;Data Source=SRV\\INST;Use Procedure for Prepare=1;";
        QCOMPARE(control.GetServerName(full), QString("SRV"));
        QCOMPARE(control.GetInstanceName(full), QString("INST"));
        QCOMPARE(control.GetServerAndInstance(full), QString("SRV\\INST"));
        QCOMPARE(control.GetDatabaseName(full), QString("Hotel"));
        const QString last = "Provider=SQLOLEDB.1;Initial Catalog=H;Data Source=SRV";
        QCOMPARE(control.GetServerName(last), QString());
        QCOMPARE(control.GetInstanceName(last), QString());
        QCOMPARE(control.GetServerAndInstance(last), QString("SRV"));
        const QString noInstance = "Data Source= host ;Initial Catalog=B;";
        QCOMPARE(control.GetServerName(noInstance), QString("host"));
        QCOMPARE(control.GetServerAndInstance(noInstance), QString(" host "));
        QCOMPARE(control.GetInstanceName(noInstance), QString());
        QCOMPARE(control.GetServerName("   "), QString());
        QCOMPARE(control.GetDatabaseName(""), QString());
        QCOMPARE(control.GetDatabaseName("Data Source=a;"), QString("a"));  // a missing phrase keeps the whole
    }

    void dataLinkDialogEditsTheItems()
    {
        connection().SetConnectionString("Provider=SQLite;Password=p;User ID=u;Initial Catalog=Old;Data Source=S\\I;");
        TDataLinkDialog::SetEditHandler([](TDataLinkDialog &dialog) {
            Child<QLineEdit>(&dialog, "edDatabase")->setText("New");
            Child<QLineEdit>(&dialog, "edInstance")->clear();
            return true;
        });
        TADOComunicationControl control;
        const QString edited = control.EditConnectionString();
        QCOMPARE(connection().ConnectionString(), edited);
        QCOMPARE(control.GetDatabaseName(edited), QString("New"));
        QCOMPARE(control.GetServerAndInstance(edited), QString("S"));
        QVERIFY(edited.startsWith("Provider=SQLite;Password=p;"));
        TDataLinkDialog::SetEditHandler([](TDataLinkDialog &) { return false; });
        QCOMPARE(control.EditConnectionString(), edited);
        TDataLinkDialog::SetEditHandler({});
    }

    void sqlServerStatementTexts()
    {
        const TMssqlEngine engine;
        // The availability question in the server's style: day-month-year dates as text, named
        // parameters, the room alone.
        QString positional;
        const QStringList markers = TADOQuery::ParameterNames(TFOperReservation::ConflictSql("Klients"), &positional);
        QCOMPARE(markers, QStringList({"pdDateToReserv", "pdDateFromReserv", "piIDroom"}));
        QCOMPARE(engine.TranslateStatement(positional),
                 QString("SET DATEFORMAT dmy  SELECT  q34,q35,q47,q1 FROM Klients  WHERE  q34 < ?  AND  q35 > ?  "
                         "AND q47 = ?  AND (q125 IS NULL OR q125 < 3) "));
        QCOMPARE(engine.BindValue(QDate(2026, 5, 9)).toString(), QString("09.05.2026"));
        QCOMPARE(TMssqlEngine::CreateTableStatement(DbSchema::Table("HotelBuild")),
                 QString(" IF NOT EXISTS( SELECT * FROM [dbo].[sysobjects]  WHERE NAME='HotelBuild' AND TYPE='U') "
                         "BEGIN CREATE TABLE [dbo].[HotelBuild] ([q1]  INT, [q10] nvarchar(500) null, [q11] "
                         "nvarchar(500) null, [q12] nvarchar(500) null, [q13] nvarchar(500) null, [q14] nvarchar(500) "
                         "null, [q15] nvarchar(500) null, [q16] nvarchar(500) null, [q17] nvarchar(500) null, [q18] "
                         "nvarchar(500) null, [q19] INT, [q20] nvarchar(500) null,  ) END "));
        QCOMPARE(TMssqlEngine::CreateTableStatement(DbSchema::Table("Valuta")),
                 QString(" IF NOT EXISTS( SELECT * FROM [dbo].[sysobjects]  WHERE NAME='Valuta' AND TYPE='U') BEGIN "
                         "CREATE TABLE [dbo].[Valuta] ([q56] nvarchar(500) null, [q57] INT PRIMARY KEY IDENTITY (1,1), "
                         "[q86] bit, [q1] int,  ) END "));
        QCOMPARE(engine.CreateTableBatch("Hotel", DbSchema::Table("HotelBuild"), 0).section("\r\n", 0, 0),
                 QString("USE [Hotel] "));
        QCOMPARE(engine.CreateTableBatch("Ho]tel", DbSchema::Table("Operators"), 1).section("\r\n", 0, 0),
                 QString("USE  [Ho]]tel] "));
        QCOMPARE(engine.CreateDatabaseStatement("Hotel"),
                 QString("use master;  CREATE DATABASE  [Hotel]  COLLATE Cyrillic_General_100_CI_AS "));
        QCOMPARE(engine.StagingTableStatement("#TEMP1"),
                 QString("IF NOT EXISTS( SELECT * FROM [dbo].[sysobjects]  WHERE NAME = '#TEMP1' AND TYPE='U') BEGIN "
                         "    SELECT * INTO #TEMP1 from [dbo].[KLIENTS]      WHERE (1 > 2)  END  "));
        QCOMPARE(engine.TableExistsStatement("Hotel"),
                 QString("USE [Hotel];  IF EXISTS(SELECT * FROM [dbo].[sysobjects]  WHERE [Name] = :sTableName )      "
                         "BEGIN SELECT('TRUE')        END ELSE BEGIN SELECT('FALSE')  END "));
        QCOMPARE(TMssqlEngine::AttachStatement(), QString("use master\r\nexec sp_attach_db :@dbname, :@filename1"));
        QCOMPARE(TADOQuery::ParameterNames(TMssqlEngine::AttachStatement()), QStringList({"@dbname", "@filename1"}));
        QCOMPARE(TMssqlEngine::ProcedureCallStatement("proc_OpenOperator", 0), QString("{CALL proc_OpenOperator()}"));
        QCOMPARE(engine.BindValue(QDate(2024, 3, 7)).toString(), QString("07.03.2024"));
        QVERIFY(engine.TranslateStatement("SELECT 1").startsWith("SET DATEFORMAT dmy "));
    }

    void sqlServerOdbcConnectionString()
    {
        const TConnectionItems items = TConnectionItems::Parse(
            "Provider=SQLOLEDB.1;Password=p}w;Persist Security Info=True;User ID=sa;Initial Catalog=H;"
            "Data Source=db.example\\SQLEXPRESS;Workstation ID=db.example;");
        QCOMPARE(TMssqlEngine::OdbcConnectionString(items, "Хотел"),
                 QString("DRIVER={FreeTDS};SERVER={db.example\\SQLEXPRESS};DATABASE={Хотел};UID={sa};PWD={p}}w};"
                         "ClientCharset=UTF-8;"));
        QVERIFY(dynamic_cast<TMssqlEngine *>(TDbEngine::ForProvider("SQLOLEDB.1").get()));
        QVERIFY(dynamic_cast<TMssqlEngine *>(TDbEngine::ForProvider("MSOLEDBSQL").get()));
        QVERIFY(dynamic_cast<TSqliteEngine *>(TDbEngine::ForProvider("sqlite").get()));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, TDbEngine::ForProvider("Jet.4.0"));
    }
};

KALV_TEST_MAIN(TestDataLayer)
#include "tst_datalayer.moc"
