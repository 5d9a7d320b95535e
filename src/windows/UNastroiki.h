#pragma once
// Personalisation: the one switch "start the hotel", stored as InitRooms beside the server settings.

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
    void acFNastroikiSaveExecute();
    void acFNastroikiCloseExecute();

    TKalvMenuControl *smcFNastroiki;
    QAction *acFNastroikiSave, *acFNastroikiClose;
    QTabWidget *pgSettingsAndPersonalisations;
    TTabSheet *tsSettingsPersonals, *tsSettingsWork, *tsSettingsNetworks;
    QGroupBox *gbSettingsWorkSystemInit;
    TRadioGroup *rgSettingsStarting;
    TFormInfo *FormInfo1;

protected:
    void closeEvent(QCloseEvent *event) override;
};
