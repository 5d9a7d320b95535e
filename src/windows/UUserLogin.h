#pragma once
// The operator login: user name and password checked against Operators, and two links that
// lead a first user straight to the operators or hotels register.

#include "framework/UMainLibraryClass.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QToolButton;
class TClickLabel;

class TFUserLogin : public TMainLibraryClass
{
    Q_OBJECT
public:
    explicit TFUserLogin(QWidget *parent = nullptr);

    bool InitializeWindow() override;

    void acEnterExecute();
    void acCloseExecute();
    // The operator's own new password before they go on; false when they gave none.
    bool AskForNewPassword(int operatorId, const QString &privileges);
    void acUserLoginShowHiddenControlExecute();
    void acUserLoginRegisterNewUserExecute();
    // True while Operators has no row; otherwise says why nobody gets in this way.
    bool RegistrationOpen();
    void acUserLoginRegisterNewHotelExecute();

    // The window's outer height, title bar included, as the layout counts it.
    int WindowHeight() const;
    void SetWindowHeight(int height);

    QGroupBox *gbUserLogin;
    QLabel *LUserName, *LUserPassword;
    QLineEdit *username, *password;
    QToolButton *spOK, *sbClose;
    TClickLabel *lInfoShowHidenAction, *lInfoCreateNewUser, *lInfoCreateNewUserAndHotel;
    QAction *acClose, *acUserLoginShowHiddenControl, *acUserLoginRegisterNewUser, *acUserLoginRegisterNewHotel,
        *acEnter;

    static constexpr int CompactHeight = 202;
    static constexpr int ExtendedHeight = 270;
};
