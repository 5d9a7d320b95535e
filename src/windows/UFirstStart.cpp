#include "UFirstStart.h"

#include "admin/UDemoData.h"
#include "data/UDM.h"
#include "desk/URights.h"
#include "errors/UErrors.h"
#include "startup/UConstMessagesDesk.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/USystemWinOS.h"

#include <QApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

QPushButton *choiceButton(QWidget *parent, const QString &name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setMinimumHeight(34);
    return button;
}

} // namespace

TFFirstStart::TFFirstStart(QWidget *parent) : TMainLibraryClass(parent)
{
    setObjectName(QStringLiteral("FFirstStart"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Първо стартиране"));
    gbFirstStart = new QGroupBox(QStringLiteral("Няма база данни"), this);
    gbFirstStart->setObjectName(QStringLiteral("gbFirstStart"));
    setCentralWidget(gbFirstStart);
    lInfoFirstStart = new QLabel(QStringLiteral("Програмата още няма база данни. Откъде да започнем?"), gbFirstStart);
    lInfoFirstStart->setObjectName(QStringLiteral("lInfoFirstStart"));
    lInfoFirstStart->setWordWrap(true);
    btFirstStartDemo = choiceButton(gbFirstStart, QStringLiteral("btFirstStartDemo"),
                                    QStringLiteral("Демонстрационен хотел (за да разгледате програмата)"));
    lInfoFirstStartName = new QLabel(QStringLiteral("Име на новата база"), gbFirstStart);
    lInfoFirstStartName->setObjectName(QStringLiteral("lInfoFirstStartName"));
    edFirstStartName = new QLineEdit(QStringLiteral("Hotel"), gbFirstStart);
    edFirstStartName->setObjectName(QStringLiteral("edFirstStartName"));
    edFirstStartName->setMaxLength(100);
    btFirstStartNew = choiceButton(gbFirstStart, QStringLiteral("btFirstStartNew"),
                                   QStringLiteral("Нов празен хотел на този компютър"));
    btFirstStartServer = choiceButton(gbFirstStart, QStringLiteral("btFirstStartServer"),
                                      QStringLiteral("Връзка със сървър на база данни"));
    btFirstStartExit = choiceButton(gbFirstStart, QStringLiteral("btFirstStartExit"), QStringLiteral("Изход"));
    connect(btFirstStartDemo, &QPushButton::clicked, this, &TFFirstStart::btFirstStartDemoClick);
    connect(btFirstStartNew, &QPushButton::clicked, this, &TFFirstStart::btFirstStartNewClick);
    connect(btFirstStartServer, &QPushButton::clicked, this, &TFFirstStart::btFirstStartServerClick);
    connect(btFirstStartExit, &QPushButton::clicked, this, &TFFirstStart::btFirstStartExitClick);
    auto *name = new QHBoxLayout;
    name->addWidget(lInfoFirstStartName);
    name->addWidget(edFirstStartName, 1);
    auto *column = new QVBoxLayout(gbFirstStart);
    column->addWidget(lInfoFirstStart);
    column->addSpacing(6);
    column->addWidget(btFirstStartDemo);
    column->addSpacing(6);
    column->addLayout(name);
    column->addWidget(btFirstStartNew);
    column->addSpacing(6);
    column->addWidget(btFirstStartServer);
    column->addStretch(1);
    column->addWidget(btFirstStartExit, 0, Qt::AlignRight);
    btFirstStartDemo->setDefault(true);
    resize(520, 330);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

bool TFFirstStart::InitializeWindow()
{
    TMainLibraryClass::InitializeWindow();
    LoadFormCaption(this);
    LoadContainerCaptions(gbFirstStart);
    btFirstStartDemo->setFocus();
    return true;
}

void TFFirstStart::Make(TChoice choice, const std::function<void()> &work)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString failure;
    // A database made just now has nobody to protect yet: its setting up may do everything, and
    // the login that follows decides who works in it.
    Rights::SetCurrent(0, Rights::Full());
    try {
        work();
    } catch (const Exception &error) {
        failure = error.Message();
    }
    Rights::ClearCurrent();
    LocalConnection().RollbackIfOpen();
    QApplication::restoreOverrideCursor();
    if (!failure.isEmpty()) {
        DemoData::ForgetServerSettings();  // still a first start: another choice may be made
        TSystemWinOS::ShowMessageBox(msgFirstStartFailed + failure, msgWarningTitle, 48);
        return;
    }
    m_choice = choice;
    SetModalResult(mrOk);
    close();
}

void TFFirstStart::btFirstStartDemoClick()
{
    Make(fsDemo, [] {
        DemoData::WriteEmbeddedSettings();
        DemoData::Prepare(TSystemWinOS::DeliveredFolder() + QStringLiteral("sql/"));
    });
}

void TFFirstStart::btFirstStartNewClick()
{
    const QString name = edFirstStartName->text().trimmed();
    if (name.isEmpty()) {
        MarkControlFailed(edFirstStartName);
        edFirstStartName->setFocus();
        TSystemWinOS::ShowMessageBox(msgFillControlsCorrectly, msgWarningTitle, 48);
        return;
    }
    Make(fsNewHotel, [name] {
        DemoData::WriteEmbeddedSettings(name);
        DemoData::Prepare(TSystemWinOS::DeliveredFolder() + QStringLiteral("sql/"), false, false);
    });
}

void TFFirstStart::btFirstStartServerClick()
{
    m_choice = fsServer;
    SetModalResult(mrOk);
    close();
}

void TFFirstStart::btFirstStartExitClick()
{
    m_choice = fsNone;
    SetModalResult(mrCancel);
    close();
}
