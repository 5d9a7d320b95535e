#include "USetHotelConstruct.h"

#include "controls/KALVDesignButton.h"
#include "controls/KalvMenu.h"
#include "data/UAdoDb.h"
#include "data/UDM.h"
#include "errors/UExceptionLogs.h"
#include "framework/FormInfo.h"
#include "startup/USystemWinOS.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>

namespace {

const QString kRoomPrefix = QStringLiteral("Стая: ");

// The room a button names: its caption without the first "&" a menu may have put in.
QString roomName(const TKALVDesignButton *button)
{
    QString name = button->Caption();
    const int mark = int(name.indexOf(QLatin1Char('&')));
    if (mark >= 0)
        name.remove(mark, 1);
    return name;
}


} // namespace

TFSetHotelConstruct::TFSetHotelConstruct(QWidget *parent) : TMainLibraryClass(parent)
{
    setObjectName(QStringLiteral("FSetHotelConstruct"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(900, 600);
    smcHotelConstruct = new TKalvMenuControl(this);
    smcHotelConstruct->setObjectName(QStringLiteral("smcHotelConstruct"));
    auto command = [this](const char *button, const char *caption, void (TFSetHotelConstruct::*handler)()) {
        auto *action = new QAction(QString::fromUtf8(caption), this);
        action->setObjectName(QLatin1String(button));
        connect(action, &QAction::triggered, this, handler);
        return smcHotelConstruct->AddCommand(action);
    };
    acHotelConstructCreateNewRoom = command("tbHotelConstructCreateNewRoom", "Нова стая",
                                            &TFSetHotelConstruct::acHotelConstructCreateNewRoomExecute);
    acHotelConstrucEditRoom =
        command("tbHotelConstrucEditRoom", "Редакция", &TFSetHotelConstruct::acHotelConstrucEditRoomExecute);
    acSave = command("tbSave", "Съхрани", &TFSetHotelConstruct::acSaveExecute);
    acClose = command("tbClose", "Изход", &TFSetHotelConstruct::acCloseExecute);
    pHotelConstruct = new QWidget(this);
    pHotelConstruct->setObjectName(QStringLiteral("pHotelConstruct"));
    pHotelConstruct->setAutoFillBackground(true);
    QPalette plan = pHotelConstruct->palette();
    plan.setColor(QPalette::Window, QColor(0xF4, 0xF6, 0xF9));
    pHotelConstruct->setPalette(plan);
    ammbHotelConstruct = new QMenuBar(pHotelConstruct);
    ammbHotelConstruct->setObjectName(QStringLiteral("ammbHotelConstruct"));
    ammbHotelConstruct->setNativeMenuBar(false);
    ammbHotelConstruct->setGeometry(0, 0, 0, 0);
    setCentralWidget(pHotelConstruct);
    FormInfo1 = new TFormInfo(this, QStringLiteral("FSetHotelConstruct"));
}

TKALVDesignButton *TFSetHotelConstruct::AddPlanButton(const QRect &place, const QString &caption)
{
    auto *button = new TKALVDesignButton(pHotelConstruct);
    button->setGeometry(place);
    button->SetCaption(caption);
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(button, &QWidget::customContextMenuRequested, this,
            [this, button](const QPoint &at) { UnplacedRoomsMenu->popup(button->mapToGlobal(at)); });
    connect(button, &TKALVDesignButton::OnClick, this, [this, button] { PlanButtonClick(button); });
    button->setToolTip(QString::number(++CurrentButtonNumber));
    button->show();
    CurrentButton = button;
    return button;
}

QList<TKALVDesignButton *> TFSetHotelConstruct::PlanButtons() const
{
    return pHotelConstruct->findChildren<TKALVDesignButton *>(QString(), Qt::FindDirectChildrenOnly);
}

bool TFSetHotelConstruct::InitializeWindow()
{
    TMainLibraryClass::InitializeWindow();
    LoadFormCaption(this);
    LoadToolbarCaptions(smcHotelConstruct);
    NextPosition = 50;
    CurrentButtonNumber = -1;
    delete UnplacedRoomsMenu;
    UnplacedRoomsMenu = new QMenu(this);
    UnplacedRoomsMenu->setObjectName(QStringLiteral("UnplacedRoomsMenu"));
    TADOConnection &connection = LocalConnection();
    try {
        TADOQuery unplaced(&connection);
        unplaced.SetSQLText(QStringLiteral("SELECT * FROM Rooms WHERE ([q83] IS NULL) "));
        if (!connection.InTransaction())
            connection.BeginTrans();
        unplaced.Open();
        for (unplaced.First(); !unplaced.Eof(); unplaced.Next()) {
            QAction *item = UnplacedRoomsMenu->addAction(kRoomPrefix + unplaced.FieldByName(QStringLiteral("q44")).AsString());
            connect(item, &QAction::triggered, this, [this, item] { UnplacedRoomClick(item); });
        }
    } catch (const Exception &error) {
        connection.RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
        return false;
    }
    LoadPlacedRooms();
    if (connection.Connected() && connection.InTransaction())
        connection.CommitTrans();
    return true;
}

void TFSetHotelConstruct::LoadPlacedRooms()
{
    TADOConnection &connection = LocalConnection();
    try {
        TADOQuery placed(&connection);
        placed.SetSQLText(QStringLiteral("SELECT * FROM Rooms WHERE ([q83] IS NOT NULL) "));
        if (!connection.InTransaction())
            connection.BeginTrans();
        placed.Open();
        for (placed.First(); !placed.Eof(); placed.Next())
            AddPlanButton(QRect(placed.FieldByName(QStringLiteral("q84")).AsInteger(),
                                placed.FieldByName(QStringLiteral("q83")).AsInteger(),
                                placed.FieldByName(QStringLiteral("q81")).AsInteger(),
                                placed.FieldByName(QStringLiteral("q82")).AsInteger()),
                          placed.FieldByName(QStringLiteral("q44")).AsString());
    } catch (const Exception &error) {
        connection.RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
    }
}

void TFSetHotelConstruct::acHotelConstructCreateNewRoomExecute()
{
    const int top = NextPosition;
    NextPosition += 20;
    AddPlanButton(QRect(NextPosition, top, 50, 50), QString());
    EditMode = false;
}

void TFSetHotelConstruct::acHotelConstrucEditRoomExecute() { EditMode = !EditMode; }

void TFSetHotelConstruct::UnplacedRoomClick(QAction *item)
{
    ChosenRoomName = item->text().mid(kRoomPrefix.size(), 100);
    item->setEnabled(false);
    AssignRoomToCurrentButton();
}

void TFSetHotelConstruct::AssignRoomToCurrentButton()
{
    if (!EditMode || !CurrentButton)
        return;
    CurrentButtonNumber = CurrentButton->toolTip().toInt();
    for (TKALVDesignButton *button : PlanButtons())
        if (button->toolTip().toInt() == CurrentButtonNumber)
            button->SetCaption(ChosenRoomName);
    EditMode = false;
}

void TFSetHotelConstruct::PlanButtonClick(TKALVDesignButton *button)
{
    if (button == CurrentButton)
        CurrentButtonNumber = button->toolTip().toInt();
    if (CurrentButton)
        CurrentButton->lower();
}

void TFSetHotelConstruct::acSaveExecute()
{
    TADOConnection &connection = LocalConnection();
    TADOQuery rooms(&connection);
    try {
        rooms.SetSQLText(QStringLiteral("SELECT * FROM Rooms "));
        if (!connection.InTransaction())
            connection.BeginTrans();
        rooms.Open();
        // Every button must name a room before any is written; then all go in one transaction.
        QList<TKALVDesignButton *> buttons = PlanButtons();
        std::reverse(buttons.begin(), buttons.end());
        for (TKALVDesignButton *button : buttons) {
            const QString name = roomName(button);
            if (!rooms.Locate(QStringLiteral("q44"), name)) {
                connection.RollbackIfOpen();
                TSystemWinOS::ShowMessage(
                    QStringLiteral("Внимание не може да бъде открита стая. Моля първо попълнето коректно номенклатура - "
                                   "СТАИ.") +
                    QStringLiteral("\r\nБутон %1 (%2)")
                        .arg(button->toolTip(), name.isEmpty() ? QStringLiteral("без име") : QStringLiteral("\"") + name +
                                                                                                   QStringLiteral("\"")));
                return;
            }
        }
        for (TKALVDesignButton *button : buttons) {
            rooms.Locate(QStringLiteral("q44"), roomName(button));
            rooms.Edit();
            rooms.SetFieldValue(QStringLiteral("q83"), button->y());
            rooms.SetFieldValue(QStringLiteral("q84"), button->x());
            rooms.SetFieldValue(QStringLiteral("q81"), button->width());
            rooms.SetFieldValue(QStringLiteral("q82"), button->height());
            rooms.Post();
        }
        if (connection.InTransaction())
            connection.CommitTrans();
    } catch (const Exception &error) {
        connection.RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
    }
}

void TFSetHotelConstruct::acCloseExecute() { close(); }

void TFSetHotelConstruct::closeEvent(QCloseEvent *event)
{
    FormInfo1->Save();
    TMainLibraryClass::closeEvent(event);
}
