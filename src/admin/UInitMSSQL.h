#pragma once
// The borderless start-up splash that opens the shared connection and checks that the
// configured database holds the system's tables.

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
    // A database of an earlier version brought up to date; false (and said) when it cannot be.
    bool BringSchemaUpToDate();

    QLabel *Image1;
    QProgressBar *ProgressBarLoader;
    QLabel *lInfoSplash;

    // The splash picture, drawn for this program.
    static QPixmap SplashPicture();

private:
    void Advance(int step);
    void SetInfo(const QString &text);
    enum class TPass { Continue, Leave };
    TPass RunPass(class TADOComunicationControl &control, int &pass, bool &failed, bool &result);
};
