#pragma once
// The borderless start-up splash that opens the shared connection and checks that the
// configured database holds the system's tables.

#include "data/USchemaUpgrade.h"
#include "framework/UMainLibraryClass.h"

class QLabel;
class QProgressBar;

class TFInitMSSQL : public TMainLibraryClass
{
    Q_OBJECT
public:
    explicit TFInitMSSQL(QWidget *parent = nullptr);

    // Runs the whole check; false with DatabaseSetupRequired set when the database cannot be used.
    bool InitializeWindow() override;
    bool TableExists(const QString &tableName);
    // A database of an earlier version brought up to date, a backup taken first and the user
    // asked before a long one; false (and said) when it cannot be or the user puts it off.
    bool BringSchemaUpToDate();
    // An upgrade that would take longer than this asks first.
    static int AskAboveSeconds;
    // Where the backup before an upgrade from a version goes.
    static QString UpgradeBackupFile(int fromVersion);

    QLabel *Image1;
    QProgressBar *ProgressBarLoader;
    QLabel *lInfoSplash;

    // The splash picture, drawn for this program.
    static QPixmap SplashPicture();

private:
    void Advance(int step);
    bool BackUpBeforeUpgrade(const SchemaUpgrade::TPlan &plan);
    void SetInfo(const QString &text);
    enum class TPass { Continue, Leave };
    TPass RunPass(class TADOComunicationControl &control, int &pass, bool &failed, bool &result);
};
