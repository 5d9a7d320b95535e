#include "UParola.h"

#include "data/UDM.h"
#include "desk/UOperators.h"
#include "desk/URights.h"
#include "errors/UExceptionLogs.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesSecurity.h"
#include "startup/USystemWinOS.h"

#include <QAction>
#include <QCheckBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QScreen>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QLineEdit *passwordBox(QWidget *parent, const QString &name)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setEchoMode(QLineEdit::Password);
    box->setMaxLength(200);
    box->setMinimumWidth(200);
    return box;
}

QLabel *label(QWidget *parent, const QString &name, const QString &caption)
{
    auto *text = new QLabel(caption, parent);
    text->setObjectName(name);
    return text;
}

} // namespace

TFParola::TFParola(TMode mode, int operatorId, QWidget *parent)
    : TMainLibraryClass(parent), m_mode(mode), m_operator(operatorId)
{
    setObjectName(mode == pmOwn ? QStringLiteral("FParola") : QStringLiteral("FParolaOperator"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(mode == pmOwn ? QStringLiteral("Смяна на парола") : QStringLiteral("Парола на оператор"));
    gbParola = new QGroupBox(QStringLiteral("Парола"), this);
    gbParola->setObjectName(QStringLiteral("gbParola"));
    setCentralWidget(gbParola);
    auto *rows = new QFormLayout;
    lInfoParolaOperator = label(gbParola, QStringLiteral("lInfoParolaOperator"), QString());
    lInfoParolaOperator->setProperty("NoCaption", true);
    lInfoParolaCurrent = label(gbParola, QStringLiteral("lInfoParolaCurrent"), QStringLiteral("Текуща парола"));
    lInfoParolaNew = label(gbParola, QStringLiteral("lInfoParolaNew"), QStringLiteral("Нова парола"));
    lInfoParolaRepeat = label(gbParola, QStringLiteral("lInfoParolaRepeat"), QStringLiteral("Нова парола (отново)"));
    edParolaCurrent = passwordBox(gbParola, QStringLiteral("edParolaCurrent"));
    edParolaNew = passwordBox(gbParola, QStringLiteral("edParolaNew"));
    edParolaRepeat = passwordBox(gbParola, QStringLiteral("edParolaRepeat"));
    cbParolaChangeAtLogin = new QCheckBox(QStringLiteral("Смяна при следващ вход"), gbParola);
    cbParolaChangeAtLogin->setObjectName(QStringLiteral("cbParolaChangeAtLogin"));
    cbParolaChangeAtLogin->setChecked(true);
    lInfoParolaRule = label(gbParola, QStringLiteral("lInfoParolaRule"),
                            QStringLiteral("Поне 10 знака, различна от потребителското име."));
    lInfoParolaRule->setWordWrap(true);
    rows->addRow(lInfoParolaOperator);
    if (mode == pmOwn)
        rows->addRow(lInfoParolaCurrent, edParolaCurrent);
    rows->addRow(lInfoParolaNew, edParolaNew);
    rows->addRow(lInfoParolaRepeat, edParolaRepeat);
    if (mode == pmOther)
        rows->addRow(cbParolaChangeAtLogin);
    rows->addRow(lInfoParolaRule);
    lInfoParolaCurrent->setVisible(mode == pmOwn);
    edParolaCurrent->setVisible(mode == pmOwn);
    cbParolaChangeAtLogin->setVisible(mode == pmOther);

    acParolaSave = new QAction(QStringLiteral("Съхрани"), this);
    acParolaSave->setObjectName(QStringLiteral("acParolaSave"));
    acParolaSave->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    acParolaClose = new QAction(QStringLiteral("Отказ"), this);
    acParolaClose->setObjectName(QStringLiteral("acParolaClose"));
    acParolaClose->setShortcut(Qt::Key_Escape);
    addAction(acParolaSave);
    addAction(acParolaClose);
    connect(acParolaSave, &QAction::triggered, this, &TFParola::acParolaSaveExecute);
    connect(acParolaClose, &QAction::triggered, this, &TFParola::acParolaCloseExecute);
    auto *buttons = new QHBoxLayout;
    btParolaSave = new QToolButton(gbParola);
    btParolaSave->setObjectName(QStringLiteral("btParolaSave"));
    btParolaSave->setDefaultAction(acParolaSave);
    btParolaClose = new QToolButton(gbParola);
    btParolaClose->setObjectName(QStringLiteral("btParolaClose"));
    btParolaClose->setDefaultAction(acParolaClose);
    buttons->addStretch();
    buttons->addWidget(btParolaSave);
    buttons->addWidget(btParolaClose);
    auto *column = new QVBoxLayout(gbParola);
    column->addLayout(rows);
    column->addLayout(buttons);
    resize(420, mode == pmOwn ? 200 : 190);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

bool TFParola::InitializeWindow()
{
    TMainLibraryClass::InitializeWindow();
    LoadFormCaption(this);
    LoadContainerCaptions(gbParola);
    const int who = m_mode == pmOwn ? Rights::CurrentOperator() : m_operator;
    try {
        const std::optional<Operators::TOperator> row = Operators::Read(who);
        if (!row)
            return false;
        lInfoParolaOperator->setText(QStringLiteral("%1 (%2)").arg(row->Name, row->UserName));
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        ReportError(error);
        return false;
    }
    (m_mode == pmOwn && edParolaCurrent->text().isEmpty() ? edParolaCurrent : edParolaNew)->setFocus();
    return true;
}

void TFParola::acParolaSaveExecute()
{
    try {
        if (m_mode == pmOwn)
            Operators::ChangeOwnPassword(edParolaCurrent->text(), edParolaNew->text(), edParolaRepeat->text());
        else
            Operators::SetPassword(m_operator, edParolaNew->text(), edParolaRepeat->text(),
                                   cbParolaChangeAtLogin->isChecked());
    } catch (const EOperatorRefused &refusal) {
        LocalConnection().RollbackIfOpen();
        edParolaNew->clear();
        edParolaRepeat->clear();
        MarkControlFailed(edParolaNew);
        edParolaNew->setFocus();
        TSystemWinOS::ShowMessageBox(refusal.Message(), msgInformationTitle, 48);
        return;
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TSystemWinOS::ShowMessageBox(error.Message(), msgInformationTitle, 48);
        return;
    }
    TSystemWinOS::ShowMessageBox(msgPasswordChanged, msgInformationTitle, 64);
    SetModalResult(mrOk);
    close();
}

void TFParola::acParolaCloseExecute()
{
    SetModalResult(mrCancel);
    close();
}
