#pragma once
// The administrator's window for the server connection: the stored settings in fields, a
// connection test, save, the two advanced commands, and the database-creation commands.

#include "framework/UMainLibraryClass.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TKalvMenuControl;
class TFormInfo;
class TOpenDialog;
class TStaticText;

class TFBaza : public TMainLibraryClass
{
    Q_OBJECT
public:
    explicit TFBaza(QWidget *parent = nullptr);

    bool InitializeWindow() override;

    void stNextClick();
    void stNext_2Click();
    void acFBazaConnectionExecute();
    void acFBazaSaveExecute();
    void acFBazaCloseExecute();
    void acFBazaNewDBExecute();
    void acFBazaAttachDBExecute();
    void acFBazaInsertNewSPExecute();
    void GetSPFromTextFile();

    QGroupBox *gbDBConnection, *gbDBSP;
    TStaticText *stNext, *stNext_2;
    QLineEdit *edServer, *edServerInctance, *edServerNickName, *EdProvider, *EditTimeout, *username, *edPassword,
        *Edit6, *Edit7, *Edit8;
    QComboBox *cbAuthentification, *ComboBox2;
    QCheckBox *cbDBConfigIsDynamicPort;
    QLabel *lInfoSP;
    QPushButton *SPButton = nullptr;  // the "..." inside Edit8
    TKalvMenuControl *smcFBaza;
    QAction *acFBazaConnection, *acFBazaNewDB, *acFBazaSave, *acFBazaAttachDB, *acFBazaInsertNewSP, *acFBazaClose;
    TFormInfo *fiFBaza;
    TOpenDialog *OpenDialog1;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildConnectionBox();
    void BuildProcedureBox();
    void BuildToolbar();
    bool LoadFields();
    void CreateScriptButton();
};
