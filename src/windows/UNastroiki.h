#pragma once
// Personalisation: the switch "start the hotel", stored as InitRooms beside the server settings,
// and the language of the captions, stored in the user's Settings.ini for the next start.

#include "framework/UMainLibraryClass.h"

class QAction;
class QGroupBox;
class QTabWidget;
class TFormInfo;
class TKalvMenuControl;
class TRadioGroup;
class TTabSheet;

class TFNastroiki : public TMainLibraryClass
{
    Q_OBJECT
public:
    explicit TFNastroiki(QWidget *parent = nullptr);

    bool InitializeWindow() override;
    bool SaveStartSetting();
    // The stored minutes before an idle workstation locks (the default when none is stored).
    static int IdleLockMinutes();
    // Rewrites the captions when another language was chosen; true when it was.
    bool SaveLanguage();
    void acFNastroikiSaveExecute();
    void acFNastroikiCloseExecute();

    TKalvMenuControl *smcFNastroiki;
    QAction *acFNastroikiSave, *acFNastroikiClose;
    QTabWidget *pgSettingsAndPersonalisations;
    TTabSheet *tsSettingsPersonals, *tsSettingsWork, *tsSettingsNetworks;
    QGroupBox *gbSettingsWorkSystemInit, *gbSettingsLanguage;
    TRadioGroup *rgSettingsStarting, *rgSettingsLanguage;
    QGroupBox *gbSettingsIdleLock;
    class QLabel *lInfoIdleLockMinutes;
    class QSpinBox *seIdleLockMinutes;
    // The workstation's fiscal device: the service's address and printer, and its reports.
    QGroupBox *gbSettingsFiscal;
    class QCheckBox *chkFiscalDevice;
    class QLineEdit *edFiscalAddress, *edFiscalPrinter;
    class QToolButton *btnFiscalXReport, *btnFiscalZReport;
    bool SaveFiscalSettings();
    void btnFiscalReportClick(bool z);
    TFormInfo *FormInfo1;

protected:
    void closeEvent(QCloseEvent *event) override;
};
