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
    // Before anyone logged in: closing ends the start unless the window connected.
    void SetSetupMode(bool setup)
    {
        m_setupMode = setup;
        setAttribute(Qt::WA_DeleteOnClose, !setup);  // the start owns it then
    }
    bool SetupMode() const { return m_setupMode; }
    bool Connected() const { return m_connected; }

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
    QComboBox *cbAuthentification, *ComboBox2, *cbSslMode;
    QLineEdit *edSslRootCert;
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
    // The stored password is used, never shown: the field stays empty until someone types.
    QString PasswordToUse() const;
    // Whether the operator may run a command of the window; says why not.
    bool Allowed(int right) const;
    bool m_setupMode = false;
    bool m_connected = false;
    QString m_storedPassword;
    void BuildConnectionBox();
    void BuildProcedureBox();
    void BuildToolbar();
    bool LoadFields();
    void CreateScriptButton();
};
