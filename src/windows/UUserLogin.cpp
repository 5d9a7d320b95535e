#include "UUserLogin.h"

#include "UParola.h"
#include "desk/UFrontDesk.h"
#include "desk/UOperators.h"
#include "desk/URights.h"
#include "startup/UConstMessagesStay.h"

#include "data/UADOComunicationControl.h"
#include "data/UDM.h"
#include "data/UDbSchema.h"
#include "errors/UExceptionLogs.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesDesk.h"
#include "startup/UConstMessagesSecurity.h"
#include "startup/USystemWinOS.h"

#include <QAction>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QToolButton>

namespace {

// The layout's heights count the title bar and borders of the original frame.
constexpr int kFrameExtra = 34;
constexpr int kWidth = 330;

QAction *command(QWidget *owner, const QString &name, const QString &caption)
{
    auto *action = new QAction(caption, owner);
    action->setObjectName(name);
    owner->addAction(action);
    return action;
}

TClickLabel *link(QWidget *box, const QString &name, const QString &caption, int top)
{
    auto *label = new TClickLabel(caption, box);
    label->setObjectName(name);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setStyleSheet(QStringLiteral("color: red;"));
    label->setGeometry(16, top, kWidth - 32, 18);
    return label;
}

QToolButton *speedButton(QWidget *box, const QString &name, QAction *action, const QRect &place)
{
    auto *button = new QToolButton(box);
    button->setObjectName(name);
    button->setDefaultAction(action);
    button->setGeometry(place);
    return button;
}

} // namespace

TFUserLogin::TFUserLogin(QWidget *parent) : TMainLibraryClass(parent)
{
    setObjectName(QStringLiteral("FUserLogin"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    gbUserLogin = new QGroupBox(QStringLiteral("Автентификация "), this);
    gbUserLogin->setObjectName(QStringLiteral("gbUserLogin"));
    setCentralWidget(gbUserLogin);
    resize(kWidth, 244 - kFrameExtra);

    LUserName = new QLabel(QStringLiteral("Потребител"), gbUserLogin);
    LUserName->setObjectName(QStringLiteral("LUserName"));
    LUserName->setGeometry(16, 28, 90, 21);
    username = new QLineEdit(gbUserLogin);
    username->setObjectName(QStringLiteral("username"));
    username->setGeometry(110, 28, 200, 23);
    username->setMaxLength(TextColumnLength);
    LUserPassword = new QLabel(QStringLiteral("Парола"), gbUserLogin);
    LUserPassword->setObjectName(QStringLiteral("LUserPassword"));
    LUserPassword->setGeometry(16, 60, 90, 21);
    password = new QLineEdit(gbUserLogin);
    password->setObjectName(QStringLiteral("password"));
    password->setGeometry(110, 60, 200, 23);
    password->setMaxLength(TextColumnLength);
    password->setEchoMode(QLineEdit::Password);
    QFont bold = password->font();
    bold.setBold(true);
    password->setFont(bold);

    acClose = command(this, QStringLiteral("acClose"), QStringLiteral("Изход"));
    acClose->setShortcut(Qt::Key_Escape);
    acUserLoginShowHiddenControl =
        command(this, QStringLiteral("acUserLoginShowHiddenControl"), QStringLiteral("Желая да се регистрирам ..."));
    acUserLoginRegisterNewUser =
        command(this, QStringLiteral("acUserLoginRegisterNewUser"), QStringLiteral("Регистрирай нов потребител ..."));
    acUserLoginRegisterNewHotel =
        command(this, QStringLiteral("acUserLoginRegisterNewHotel"), QStringLiteral("Регистрирай нов хотел ..."));
    acEnter = command(this, QStringLiteral("acEnter"), QStringLiteral("Вход"));
    acEnter->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    connect(acEnter, &QAction::triggered, this, &TFUserLogin::acEnterExecute);
    connect(acClose, &QAction::triggered, this, &TFUserLogin::acCloseExecute);
    connect(acUserLoginShowHiddenControl, &QAction::triggered, this,
            &TFUserLogin::acUserLoginShowHiddenControlExecute);
    connect(acUserLoginRegisterNewUser, &QAction::triggered, this, &TFUserLogin::acUserLoginRegisterNewUserExecute);
    connect(acUserLoginRegisterNewHotel, &QAction::triggered, this, &TFUserLogin::acUserLoginRegisterNewHotelExecute);

    spOK = speedButton(gbUserLogin, QStringLiteral("spOK"), acEnter, QRect(110, 96, 96, 25));
    sbClose = speedButton(gbUserLogin, QStringLiteral("sbClose"), acClose, QRect(214, 96, 96, 25));
    lInfoShowHidenAction = link(gbUserLogin, QStringLiteral("lInfoShowHidenAction"),
                                QStringLiteral("Желая да се регистрирам ..."), 136);
    lInfoShowHidenAction->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lInfoCreateNewUser = link(gbUserLogin, QStringLiteral("lInfoCreateNewUser"),
                              QStringLiteral("Регистрирай нов потребител ..."), 173);
    lInfoCreateNewUserAndHotel = link(gbUserLogin, QStringLiteral("lInfoCreateNewUserAndHotel"),
                                      QStringLiteral("Регистрирай нов хотел ..."), 200);
    connect(lInfoShowHidenAction, &TClickLabel::clicked, acUserLoginShowHiddenControl, &QAction::trigger);
    connect(lInfoCreateNewUser, &TClickLabel::clicked, acUserLoginRegisterNewUser, &QAction::trigger);
    connect(lInfoCreateNewUserAndHotel, &TClickLabel::clicked, acUserLoginRegisterNewHotel, &QAction::trigger);

    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

int TFUserLogin::WindowHeight() const { return height() + kFrameExtra; }

void TFUserLogin::SetWindowHeight(int height) { resize(width(), height - kFrameExtra); }

bool TFUserLogin::InitializeWindow()
{
    TMainLibraryClass::InitializeWindow();
    SetWindowHeight(CompactHeight);
    try {
        TADOConnection &connection = LocalConnection();
        TADOQuery probe(&connection);
        probe.SetSQLText(QStringLiteral("SELECT *  FROM Operators "));
        if (!connection.InTransaction())
            connection.BeginTrans();
        probe.Open();
        if (connection.InTransaction())
            connection.CommitTrans();
        LoadContainerCaptions(gbUserLogin);
        LoadFormCaption(this);
        return true;
    } catch (const Exception &) {
        TADOConnection *connection = TDM::Instance() ? TDM::Instance()->ADOLocalConnection : nullptr;
        if (connection && connection->Connected() && connection->InTransaction())
            connection->RollbackTrans();
        return false;
    }
}

void TFUserLogin::acEnterExecute()
{
    KalvCLientInfo().LoginName = username->text();
    KalvCLientInfo().LoginPassword = password->text();
    Operators::TLogin login;
    try {
        login = Operators::LogIn(username->text(), password->text());
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        KalvCLientInfo().LoginName.clear();
        TExceptionLogs::Show(ErrorReportText(QString(), QString(), error.Message()));
        return;
    }
    if (login.Outcome != Operators::loAccepted) {
        KalvCLientInfo().LoginName.clear();
        KalvCLientInfo().LoginPassword.clear();
        TSystemWinOS::ShowMessageBox(login.Message, msgInformationTitle, 48);
        return;
    }
    // A password an administrator set is the operator's own only after they change it.
    if (login.MustChangePassword && !AskForNewPassword(login.Operator, login.Privileges)) {
        KalvCLientInfo().LoginName.clear();
        KalvCLientInfo().LoginPassword.clear();
        return;
    }
    Rights::SetCurrent(login.Operator, login.Privileges);
    SetModalResult(mrOk);
}

bool TFUserLogin::AskForNewPassword(int operatorId, const QString &privileges)
{
    TSystemWinOS::ShowMessageBox(msgMustChangePassword, msgInformationTitle, 64);
    // The change is the operator's own: for its length they are the one logged in.
    const int previous = Rights::CurrentOperator();
    const QString previousRights = Rights::CurrentPrivileges();
    Rights::SetCurrent(operatorId, privileges);
    TFParola dialog(TFParola::pmOwn);
    dialog.edParolaCurrent->setText(password->text());
    const bool changed = dialog.InitializeWindow() && dialog.ShowModal() == mrOk;
    if (!changed) {
        if (previous > 0)
            Rights::SetCurrent(previous, previousRights);
        else
            Rights::ClearCurrent();
    }
    return changed;
}

void TFUserLogin::acCloseExecute() { SetModalResult(mrCancel); }

void TFUserLogin::acUserLoginShowHiddenControlExecute()
{
    SetWindowHeight(WindowHeight() < ExtendedHeight ? ExtendedHeight : CompactHeight);
}

bool TFUserLogin::RegistrationOpen()
{
    TADOConnection &connection = LocalConnection();
    QString failure;
    int operators = -1;
    try {
        TADOQuery count(&connection);
        count.SetSQLText(QStringLiteral("SELECT COUNT(*) AS n FROM Operators "));
        TTransaction transaction(connection);
        count.Open();
        transaction.Commit();
        operators = count.FieldByName(QStringLiteral("n")).AsInteger();
    } catch (const Exception &error) {
        failure = error.Message();
    }
    connection.RollbackIfOpen();
    if (!failure.isEmpty()) {
        TExceptionLogs::Show(ErrorReportText(QString(), QString(), failure));
        return false;
    }
    // The links are the way in for the first operator of a new database, and for nobody else.
    if (operators > 0) {
        TSystemWinOS::ShowMessageBox(msgRegistrationClosed, msgInformationTitle, 48);
        return false;
    }
    return true;
}

void TFUserLogin::acUserLoginRegisterNewUserExecute()
{
    if (!RegistrationOpen())
        return;
    KalvCLientInfo().LoginName.clear();
    KalvCLientInfo().LoginPassword.clear();
    StartWithNewOperator = true;
    // Nobody to protect yet: whoever sets up the first operator may do everything.
    Rights::SetCurrent(0, Rights::Full());
    SetModalResult(mrOk);
}

void TFUserLogin::acUserLoginRegisterNewHotelExecute()
{
    if (!RegistrationOpen())
        return;
    KalvCLientInfo().LoginName.clear();
    KalvCLientInfo().LoginPassword.clear();
    StartWithNewHotel = true;
    Rights::SetCurrent(0, Rights::Full());
    SetModalResult(mrOk);
}
