#include "UInitMSSQL.h"

#include "data/USchemaUpgrade.h"
#include "startup/UConstMessagesStay.h"

#include "UDatabaseSetup.h"

#include "data/UADOComunicationControl.h"
#include "data/UBackup.h"
#include "data/UDM.h"
#include "data/UDbEngine.h"
#include "data/UDbSchema.h"
#include "errors/UExceptionLogs.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/USystemWinOS.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QThread>

TFInitMSSQL::TFInitMSSQL(QWidget *parent) : TMainLibraryClass(parent)
{
    setObjectName(QStringLiteral("FInitMSSQL"));
    auto *client = new QWidget(this);
    setCentralWidget(client);
    setFixedSize(389, 466);
    Image1 = new QLabel(client);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(38, 8, 313, 409);
    Image1->setPixmap(SplashPicture());
    ProgressBarLoader = new QProgressBar(client);
    ProgressBarLoader->setObjectName(QStringLiteral("ProgressBarLoader"));
    ProgressBarLoader->setGeometry(38, 422, 313, 16);
    ProgressBarLoader->setTextVisible(false);
    lInfoSplash = new QLabel(QStringLiteral("Инициализиране ..."), client);
    lInfoSplash->setObjectName(QStringLiteral("lInfoSplash"));
    lInfoSplash->setGeometry(38, 442, 313, 18);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QPixmap TFInitMSSQL::SplashPicture()
{
    QPixmap picture(313, 409);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 409);
    sky.setColorAt(0, QColor(22, 48, 92));
    sky.setColorAt(0.65, QColor(96, 140, 196));
    sky.setColorAt(1, QColor(226, 214, 182));
    p.fillRect(picture.rect(), sky);
    // A hotel front with lit windows.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(238, 232, 220));
    p.drawRect(66, 150, 180, 220);
    p.setBrush(QColor(150, 54, 44));
    p.drawPolygon(QPolygon({QPoint(56, 152), QPoint(156, 104), QPoint(256, 152)}));
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 4; ++col) {
            p.setBrush((row + col) % 3 == 0 ? QColor(255, 214, 102) : QColor(70, 96, 134));
            p.drawRect(82 + col * 42, 166 + row * 36, 22, 22);
        }
    p.setBrush(QColor(92, 62, 40));
    p.drawRect(140, 334, 32, 36);
    p.setBrush(QColor(60, 110, 60));
    p.drawRect(0, 370, 313, 39);
    p.setPen(QColor(255, 255, 255));
    QFont title = p.font();
    title.setPointSize(22);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(0, 24, 313, 40), Qt::AlignCenter, QStringLiteral("Hotel KALV"));
    title.setPointSize(10);
    title.setBold(false);
    p.setFont(title);
    p.drawText(QRect(0, 64, 313, 24), Qt::AlignCenter, QStringLiteral("Oxtarne front office"));
    return picture;
}

void TFInitMSSQL::Advance(int step)
{
    ProgressBarLoader->setValue(qMin(ProgressBarLoader->maximum(), ProgressBarLoader->value() + step));
}

void TFInitMSSQL::SetInfo(const QString &text)
{
    // A long text (a backup's path) keeps both ends; the whole stands in the tooltip.
    lInfoSplash->setText(lInfoSplash->fontMetrics().elidedText(text, Qt::ElideMiddle, lInfoSplash->width()));
    lInfoSplash->setToolTip(text);
    repaint();
}

bool TFInitMSSQL::TableExists(const QString &tableName)
{
    TADOConnection &connection = LocalConnection();
    TADOQuery query(&connection);
    try {
        connection.ReachDatabase(SqlDataBase);
        TDbEngine &engine = connection.Engine();
        query.SetSQLText(engine.TableExistsStatement(SqlDataBase));
        query.ParamByName(QStringLiteral("sTableName")).Value = tableName;
        if (!connection.InTransaction())
            connection.BeginTrans();
        query.Open();
        const bool exists = query.FieldByName(QStringLiteral("column1")).AsString() == QLatin1String("TRUE");
        connection.CommitTrans();
        return exists;
    } catch (const Exception &error) {
        // The transaction ends before the window shows: nothing stays locked while it is read.
        if (connection.Connected())
            connection.RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
        return false;
    }
}

TFInitMSSQL::TPass TFInitMSSQL::RunPass(TADOComunicationControl &control, int &pass, bool &failed, bool &result)
{
    QCoreApplication::processEvents();
    Advance(5);
    repaint();
    TADOConnection &connection = LocalConnection();
    if (!connection.Connected() || failed) {
        DatabaseSetupRequired = true;
        return TPass::Leave;
    }
    if (++pass >= 3)
        return TPass::Leave;
    if (!control.ConnectToCatalog(&connection, QStringLiteral("master"))) {
        failed = true;
        return TPass::Continue;
    }
    SetInfo(msgInitializingTable + msgColon + QStringLiteral("master"));
    for (const QString &table : DbSchema::CheckedTables()) {
        if (!TableExists(table)) {
            failed = true;
            return TPass::Continue;
        }
        Advance(5);
        SetInfo(msgInitializingTable + msgColon + table);
    }
    Advance(5);
    repaint();
    control.CloseConnection();
    Advance(5);
    repaint();
    if (!control.ConnectFromSettings())
        return TPass::Leave;
    Advance(10);
    repaint();
    Advance(10);
    repaint();
    result = true;
    return TPass::Continue;
}

int TFInitMSSQL::AskAboveSeconds = 60;

bool TFInitMSSQL::BringSchemaUpToDate()
{
    TADOConnection &connection = LocalConnection();
    QString failure;
    try {
        SchemaUpgrade::TPlan plan;
        {
            TTransaction look(connection);
            plan = SchemaUpgrade::Plan(connection);
            look.Commit();
        }
        if (plan.From == SchemaVersion)
            return true;
        // A newer database is refused by the upgrade itself; an older one is kept first.
        if (plan.From < SchemaVersion && !BackUpBeforeUpgrade(plan))
            return false;
        ProgressBarLoader->setRange(0, 100);
        SchemaUpgrade::BringUpToDate(connection, [this](const QString &step, int percent) {
            ProgressBarLoader->setValue(percent);
            SetInfo(step);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
        return true;
    } catch (const Exception &error) {
        failure = error.Message();
    }
    connection.RollbackIfOpen();
    TSystemWinOS::ShowMessageBox(msgSchemaUpgradeFailed + failure, msgWarningTitle, 48);
    // The program cannot work on it: the configuration window lets another database be chosen.
    DatabaseSetupRequired = true;
    return false;
}

QString TFInitMSSQL::UpgradeBackupFile(int fromVersion)
{
    const QString folder = DataFolder + QStringLiteral("Backups/");
    QDir().mkpath(folder);
    const QString stem = folder + QStringLiteral("%1 %2")
                                      .arg(SqlDataBase.isEmpty() ? QStringLiteral("database") : SqlDataBase,
                                           QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")));
    // Never over an earlier backup, though two be taken in one second.
    QString file = stem + QStringLiteral(" v%1.backup").arg(fromVersion);
    for (int copy = 2; QFileInfo::exists(file); ++copy)
        file = stem + QStringLiteral(" (%1) v%2.backup").arg(copy).arg(fromVersion);
    return file;
}

bool TFInitMSSQL::BackUpBeforeUpgrade(const SchemaUpgrade::TPlan &plan)
{
    const QString file = UpgradeBackupFile(plan.From);
    // A long upgrade is the user's to start, and can be put off before it begins.
    if (plan.Seconds >= AskAboveSeconds &&
        TSystemWinOS::ShowMessageBox(msgUpgradeQuestion.arg(qMax(1, (plan.Seconds + 59) / 60)).arg(file),
                                     msgUserChoiceTitle, 4 | 32) != TSystemWinOS::IDYES)
        return false;
    SetInfo(msgUpgradeBackup.arg(file));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    try {
        Backup::Take(file);
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TSystemWinOS::ShowMessageBox(msgUpgradeBackupFailed + error.Message(), msgWarningTitle, 48);
        DatabaseSetupRequired = true;
        return false;
    }
    return true;
}

bool TFInitMSSQL::InitializeWindow()
{
    TMainLibraryClass::InitializeWindow();
    LoadFormCaption(this);
    LoadComponentCaptions(lInfoSplash);
    TADOComunicationControl control;
    ProgressBarLoader->setRange(0, 70);
    if (SqlComputerName.isEmpty()) {
        lInfoSplash->setText(msgNoServerSettings);
        TSystemWinOS::ShowMessageBox(msgNoServerSettings, msgInformationTitle, 48);
    }
    Advance(5);
    QCoreApplication::processEvents();
    lInfoSplash->setText(msgRestartingSystem);
    Advance(5);
    repaint();
    lInfoSplash->setText(msgInitializingMainBase + msgColon + SqlDataBase);
    Advance(5);
    repaint();
    int pass = 0;
    bool failed = false;
    bool result = false;
    while (!(control.ConnectFromSettings() && pass > 0 && !failed))
        if (RunPass(control, pass, failed, result) == TPass::Leave)
            break;
    // A database made by an earlier version is brought up to date, or left as it was.
    if (result && !BringSchemaUpToDate())
        return false;
    // ... and gains the indexes the program needs, once.
    if (result)
        DatabaseSetup::EnsureIndexes();
    return result;
}
